#include "PaintDC.h"

#include "WindowSurface.h"
#include "Wnd.h"
#include "platform/gui/draw/DcHandle.h"

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)

CPaintDC::CPaintDC(CWnd* wnd) : m_pWnd(wnd) {
    if (!IsWindow(wnd) || !wnd->GetHostWidget())
        return;
    const CRect paint = wnd->GetPaintRect();
    // Only the invalid region is drawn on: after a resize, the old part of the image keeps what it showed.
    const QRegion region = wnd->GetPaintRegion();
    m_hDC = m_hAttribDC = NewWindowDC(wnd, WindowSurfaceOf(wnd), &region);
    m_ps.hdc = m_hDC;
    m_ps.fErase = FALSE;
    m_ps.rcPaint = paint;
}

CPaintDC::~CPaintDC() {
    if (m_hDC && IsWindow(m_pWnd))
        m_pWnd->UpdateScreen(&m_ps.rcPaint);
    DeleteDC();
}
