#include "PaintDC.h"

#include "DcHandle.h"
#include "WindowImage.h"
#include "Wnd.h"

CPaintDC::CPaintDC(CWnd* wnd) : m_pWnd(wnd) {
    if (!IsWindow(wnd) || !wnd->GetHostWidget())
        return;
    const CRect paint = wnd->GetPaintRect();
    const QRect rect(paint.left, paint.top, paint.Width(), paint.Height());
    m_hDC = m_hAttribDC = NewWindowDC(wnd, WindowImageSource(wnd), &rect);
    m_ps.hdc = m_hDC;
    m_ps.fErase = FALSE;
    m_ps.rcPaint = paint;
}

CPaintDC::~CPaintDC() {
    if (m_hDC && IsWindow(m_pWnd))
        m_pWnd->UpdateScreen(&m_ps.rcPaint);
    DeleteDC();
}
