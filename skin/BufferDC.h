#pragma once

#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/DC.h"

// Collects the drawing of one item off screen, in the target's own coordinates, and copies the rectangle to
// the target in one step when it ends. An empty rectangle buffers the target's whole clip box.
class CBufferDC : public CDC {
public:
    CBufferDC(HDC hDestDC, LPCRECT lpRect = nullptr);
    ~CBufferDC() override;
    CBufferDC(const CBufferDC&) = delete;
    CBufferDC& operator=(const CBufferDC&) = delete;

private:
    HDC m_hDestDC;
    CBitmap m_bitmap;
    CRect m_rect;
    HGDIOBJ m_hOldBitmap = nullptr;
};
