#include "FontDC.h"

#include "platform/gui/draw/DC.h"

CFontDC::CFontDC(HDC hDC, int nStockFont, COLORREF crTextColor) : m_hDC(hDC) {
    m_hFont = GetStockObject(nStockFont);
    if (m_hFont)
        m_hDefFont = ::SelectObject(m_hDC, m_hFont);
    if (crTextColor != CLR_DEFAULT) {
        m_crDefTextColor = GetTextColor(m_hDC);
        SetTextColor(m_hDC, crTextColor);
    }
}

CFontDC::~CFontDC() {
    if (m_hDefFont)
        ::SelectObject(m_hDC, m_hDefFont);
    if (m_crDefTextColor != CLR_INVALID)
        SetTextColor(m_hDC, m_crDefTextColor);
}
