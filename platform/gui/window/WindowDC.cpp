#include "WindowDC.h"

#include "WindowSurface.h"
#include "Wnd.h"
#include "platform/gui/draw/DcHandle.h"

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CWindowDC::CWindowDC(CWnd* wnd) : m_pWnd(wnd) {
    if (!wnd) {
        m_hDC = m_hAttribDC = NewScreenDC();
        return;
    }
    if (IsWindow(wnd) && wnd->GetHostWidget())
        m_hDC = m_hAttribDC = NewWindowDC(wnd, WindowSurfaceOf(wnd), nullptr);
}

CWindowDC::~CWindowDC() {
    if (m_hDC && m_pWnd && IsWindow(m_pWnd))
        m_pWnd->UpdateScreen(nullptr);
    DeleteDC();
}
