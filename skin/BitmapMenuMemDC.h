#pragma once

#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/DC.h"

// The off-screen DC of the flat look: drawing goes to a bitmap in the target's coordinates and is copied to
// the target when it ends. When the target is printing it draws on the target directly.
class CBitmapMenuMemDC : public CDC {
public:
    CBitmapMenuMemDC(CDC* pDC, const RECT* pRect);
    ~CBitmapMenuMemDC() override;
    CBitmapMenuMemDC(const CBitmapMenuMemDC&) = delete;
    CBitmapMenuMemDC& operator=(const CBitmapMenuMemDC&) = delete;

private:
    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = nullptr;
    CDC* m_pDC;
    RECT m_rect;
    BOOL m_memDC;
};
