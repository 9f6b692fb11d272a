#pragma once

#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/DC.h"

// Paints flicker-free: drawing goes to a bitmap covering the target's clip box, filled first with the
// target's background colour, and is copied to the target in one piece when the object ends. On a printer it
// draws straight to the target.
class CMemDC2 : public CDC {
public:
    explicit CMemDC2(CDC* pDC);
    ~CMemDC2() override;
    CMemDC2(const CMemDC2&) = delete;
    CMemDC2& operator=(const CMemDC2&) = delete;

    CMemDC2* operator->() { return this; }

private:
    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = nullptr;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC;
};
