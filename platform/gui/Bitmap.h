#pragma once

#include "GdiObject.h"

class CDC;
class QImage;

class CBitmap : public CGdiObject {
public:
    static CBitmap* FromHandle(HBITMAP bitmap);
    operator HBITMAP() const { return reinterpret_cast<HBITMAP>(m_hObject); } // NOLINT

    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateBitmapIndirect(const BITMAP* bitmap);
    // Always a colour bitmap, black at first, whatever bitmap the DC holds.
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL LoadOEMBitmap(UINT id);
    int GetBitmap(BITMAP* bitmap) const;

    // The pixels, for code that hands bitmaps to Qt or reads them back (tests, pictures loaded from files).
    BOOL CreateFromImage(const QImage& image);
    QImage GetImage() const;
};
