#pragma once

#include "Gdi.h"

#include "platform/os/Object.h"

class CBitmap;
class CDC;

// Images of one size, kept with their transparency; an icon, a bitmap with a mask bitmap, or a bitmap with
// a mask colour each become one image.
class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; } // NOLINT
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL DeleteImageList();
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();

    int GetImageCount() const;
    BOOL GetIconSize(int* cx, int* cy) const;
    // Index of the new image, -1 when it cannot be added. A wider bitmap adds one image per image width.
    int Add(CBitmap* bitmap, CBitmap* mask);
    int Add(CBitmap* bitmap, COLORREF maskColor);
    int Add(HICON icon);
    BOOL Replace(int index, CBitmap* bitmap, CBitmap* mask);
    int Replace(int index, HICON icon);
    BOOL Remove(int index);
    BOOL Draw(CDC* dc, int index, POINT point, UINT style);
    HICON ExtractIcon(int index);
    BOOL GetImageInfo(int index, IMAGEINFO* info) const;
};

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
int ImageList_AddIcon(HIMAGELIST list, HICON icon);
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
