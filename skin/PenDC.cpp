#include "PenDC.h"

#include "platform/gui/draw/DC.h"

CPenDC::CPenDC(HDC hDC, COLORREF crColor) : m_hDC(hDC) {
    CreatePen(PS_SOLID, 1, crColor);
    m_hOldPen = ::SelectObject(m_hDC, m_hObject);
}

CPenDC::~CPenDC() {
    if (m_hOldPen)
        ::SelectObject(m_hDC, m_hOldPen);
}

void CPenDC::SetColor(COLORREF crColor) {
    if (m_hOldPen)
        ::SelectObject(m_hDC, m_hOldPen);
    DeleteObject();
    CreatePen(PS_SOLID, 1, crColor);
    m_hOldPen = ::SelectObject(m_hDC, m_hObject);
}

COLORREF CPenDC::GetColor() const {
    LOGPEN logPen{};
    return GetLogPen(&logPen) ? logPen.lopnColor : CLR_INVALID;
}
