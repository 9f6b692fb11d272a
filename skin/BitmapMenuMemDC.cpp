#include "BitmapMenuMemDC.h"

CBitmapMenuMemDC::CBitmapMenuMemDC(CDC* pDC, const RECT* pRect) : m_pDC(pDC), m_rect(*pRect) {
    m_memDC = !pDC->IsPrinting();
    if (!m_memDC) {
        m_bPrinting = pDC->m_bPrinting;
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
        return;
    }
    CreateCompatibleDC(pDC);
    m_bitmap.CreateCompatibleBitmap(pDC, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top);
    m_oldBitmap = SelectObject(&m_bitmap);
    SetWindowOrg(m_rect.left, m_rect.top);
}

CBitmapMenuMemDC::~CBitmapMenuMemDC() {
    if (!m_memDC) {
        m_hDC = nullptr;
        m_hAttribDC = nullptr;
        return;
    }
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, this, m_rect.left,
                  m_rect.top, SRCCOPY);
    SelectObject(m_oldBitmap);
}
