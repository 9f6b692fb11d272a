#include "StatusBarXP.h"

#include "BrushDC.h"
#include "PenDC.h"

#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CStatusBarXP, CStatusBar)

namespace {

constexpr int kMinHeight = 20;

} // namespace

CStatusBarXP::~CStatusBarXP() = default;

BOOL CStatusBarXP::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (!CStatusBar::SetIndicators(lpIDArray, nIDCount))
        return FALSE;
    SendMessage(SB_SETMINHEIGHT, kMinHeight);
    for (int i = 0; i < GetCount(); ++i) {
        UINT nID = 0;
        UINT nStyle = 0;
        int cxWidth = 0;
        GetPaneInfo(i, nID, nStyle, cxWidth);
        SetPaneInfo(i, nID, nStyle | SBPS_NOBORDERS, cxWidth);
    }
    return TRUE;
}

void CStatusBarXP::OnPaint() {
    Default();
    CClientDC dc(this);
    CPenDC pen(dc.m_hDC, GetSysColor(COLOR_BTNSHADOW));
    CBrushDC brush(dc.m_hDC, CLR_NONE);
    for (int i = 0; i < GetCount(); ++i) {
        CRect rect;
        GetItemRect(i, &rect);
        dc.Rectangle(&rect);
    }
}
