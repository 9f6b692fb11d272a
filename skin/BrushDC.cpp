#include "BrushDC.h"

#include "platform/gui/draw/DC.h"

CBrushDC::CBrushDC(HDC hDC, COLORREF crColor) : m_hDC(hDC) { Select(crColor); }

CBrushDC::~CBrushDC() {
    if (m_hOldBrush)
        ::SelectObject(m_hDC, m_hOldBrush);
}

void CBrushDC::SetColor(COLORREF crColor) {
    if (m_hOldBrush)
        ::SelectObject(m_hDC, m_hOldBrush);
    DeleteObject();
    Select(crColor);
}

void CBrushDC::Select(COLORREF crColor) {
    if (crColor == CLR_NONE)
        CreateStockObject(NULL_BRUSH);
    else
        CreateSolidBrush(crColor);
    m_hOldBrush = ::SelectObject(m_hDC, m_hObject);
}
