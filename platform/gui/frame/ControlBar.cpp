#include "ControlBar.h"

#include "FrameWnd.h"

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

CControlBar::~CControlBar() = default;

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CRect rect;
    GetWindowRect(&rect);
    if (bStretch)
        return bHorz ? CSize(32767, rect.Height()) : CSize(rect.Width(), 32767);
    return rect.Size();
}

void CControlBar::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHandler*/) {}

BOOL CControlBar::CreateBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID, LPCTSTR lpszClassName) {
    if (!IsWindow(pParentWnd))
        return FALSE;
    m_dwStyle = dwStyle & 0xFFFF;
    const DWORD windowStyle = (dwStyle & ~0xFFFFu) | WS_CHILD;
    if (!Create(lpszClassName, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    if (auto* frame = dynamic_cast<CFrameWnd*>(pParentWnd)) {
        frame->AddControlBar(this);
        frame->RecalcLayout();
    }
    return TRUE;
}

void CControlBar::OnDestroy() {
    if (auto* frame = dynamic_cast<CFrameWnd*>(GetParent()))
        frame->RemoveControlBar(this);
    CWnd::OnDestroy();
}
