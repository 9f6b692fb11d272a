#include "BufferDC.h"

CBufferDC::CBufferDC(HDC hDestDC, LPCRECT lpRect) : m_hDestDC(hDestDC) {
    if (!lpRect || IsRectEmpty(lpRect))
        ::GetClipBox(m_hDestDC, &m_rect);
    else
        m_rect = *lpRect;
    CDC* dest = CDC::FromHandle(m_hDestDC);
    if (!dest || !CreateCompatibleDC(dest))
        return;
    // The bitmap reaches from the origin to the far corner, so drawing needs no change of coordinates.
    if (m_bitmap.CreateCompatibleBitmap(dest, m_rect.right, m_rect.bottom))
        m_hOldBitmap = CDC::SelectObject(m_bitmap.m_hObject);
    if (m_rect.top > 0)
        ExcludeClipRect(0, 0, m_rect.right, m_rect.top);
    if (m_rect.left >= 1)
        ExcludeClipRect(0, m_rect.top, m_rect.left, m_rect.bottom);
}

CBufferDC::~CBufferDC() {
    if (!m_hDC)
        return;
    ::BitBlt(m_hDestDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left, m_rect.top,
             SRCCOPY);
    if (m_hOldBitmap)
        CDC::SelectObject(m_hOldBitmap);
    m_bitmap.DeleteObject();
    DeleteDC();
}
