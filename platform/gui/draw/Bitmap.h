#pragma once

#include "GdiObject.h"
#include "platform/gui/base/Handles.h"

class CDC;
class QImage;

// Bitmap resources are pictures the program registers by id, as icons are; every load makes a new bitmap
// that the caller owns. Only numbered resources exist (MAKEINTRESOURCE); the instance is not used.
void RegisterBitmapResource(UINT id, const QImage& image);
QImage FindBitmapResource(UINT id); // null when not registered
HBITMAP LoadBitmap(HINSTANCE instance, LPCTSTR name);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
// A bitmap resource with the classic button colours replaced by the current system colours: black, dark grey,
// light grey and white become the button text, shadow, face and highlight. Takes the resource by name (the
// framework takes a found resource handle).
HBITMAP AfxLoadSysColorBitmap(HINSTANCE instance, LPCTSTR name);

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* FromHandle(HBITMAP bitmap);
    operator HBITMAP() const { return reinterpret_cast<HBITMAP>(m_hObject); } // NOLINT

    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateBitmapIndirect(const BITMAP* bitmap);
    // Always a colour bitmap, black at first, whatever bitmap the DC holds.
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL LoadOEMBitmap(UINT id);
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(LPCTSTR name);
    int GetBitmap(BITMAP* bitmap) const;

    // The pixels, for code that hands bitmaps to Qt or reads them back (tests, pictures loaded from files).
    BOOL CreateFromImage(const QImage& image);
    QImage GetImage() const;
};
