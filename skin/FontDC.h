#pragma once

#include "platform/gui/draw/Gdi.h"

// Selects a stock font, and optionally a text colour, into a DC for the length of a drawing block; both
// are put back when the block ends. CLR_DEFAULT keeps the DC's text colour.
class CFontDC {
public:
    CFontDC(HDC hDC, int nStockFont, COLORREF crTextColor = CLR_DEFAULT);
    ~CFontDC();
    CFontDC(const CFontDC&) = delete;
    CFontDC& operator=(const CFontDC&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hFont = nullptr;
    HGDIOBJ m_hDefFont = nullptr;
    COLORREF m_crDefTextColor = CLR_INVALID;
};
