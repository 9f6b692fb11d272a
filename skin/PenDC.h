#pragma once

#include "platform/gui/draw/Pen.h"

// Selects a solid one-pixel pen of a colour into a DC for the length of a drawing block, and the previous
// pen back when the block ends.
class CPenDC : public CPen {
public:
    CPenDC(HDC hDC, COLORREF crColor);
    ~CPenDC() override;
    CPenDC(const CPenDC&) = delete;
    CPenDC& operator=(const CPenDC&) = delete;

    void SetColor(COLORREF crColor);
    COLORREF GetColor() const;

private:
    HDC m_hDC;
    HGDIOBJ m_hOldPen = nullptr;
};
