#include "MemDC2.h"

CMemDC2::CMemDC2(CDC* pDC) : m_pDC(pDC), m_bMemDC(pDC && !pDC->IsPrinting() ? TRUE : FALSE) {
    if (!pDC)
        return;
    if (m_bMemDC) {
        pDC->GetClipBox(&m_rect);
        CreateCompatibleDC(pDC);
        m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
        m_oldBitmap = SelectObject(&m_bitmap);
        SetWindowOrg(m_rect.left, m_rect.top);
        FillSolidRect(&m_rect, pDC->GetBkColor());
    } else {
        // Printing: share the target's handles and draw straight to it.
        m_bPrinting = pDC->m_bPrinting;
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
    }
}

CMemDC2::~CMemDC2() {
    if (!m_pDC)
        return;
    if (m_bMemDC) {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
        SelectObject(m_oldBitmap);
    } else {
        // The handles belong to the target.
        m_hDC = m_hAttribDC = nullptr;
    }
}
