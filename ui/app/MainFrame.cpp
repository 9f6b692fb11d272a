#include "MainFrame.h"
#include "platform/gui/base/RuntimeClass.h"

#include "VeltranoView.h"
#include "ui/banner/CtrlBanner.h"
#include "ui/setup/AdvancedSetting.h"
#include "ui/setup/DlgCommSetting.h"
#include "ui/setup/DlgMatrixSetting.h"
#include "ui/setup/DlgMonitorCtrl.h"
#include "ui/setup/DlgWallSetting.h"
#include "ui/wall/LcdGridCtrl.h"

#include "skin/MenuXP.h"

#include "platform/gui/window/SystemMetrics.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

namespace {

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

} // namespace

CMainFrame::CMainFrame() {
    OnCommandId(ID_COMM_SETTING, [this]() { OnCommSetting(); });
    OnCommandId(ID_WALL_SETTING, [this]() { OnWallSetting(); });
    OnCommandId(ID_MATRIX_SETTING, [this]() { OnMatrixSetting(); });
    OnCommandId(ID_MONITOR_CONTROL, [this]() { OnMonitorControl(); });
    OnCommandId(ID_ADVANCED_SETTING, [this]() { OnAdvancedSetting(); });
}

CMainFrame::~CMainFrame() = default;

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(sizeof(kIndicators) / sizeof(UINT))))
        return -1;
    EnableMenuXP(this, TRUE);
    UpdateFrameMenuXP(this);
    return 0;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT /*lpcs*/, CCreateContext* pContext) {
    const int cy = GetSystemMetrics(SM_CYFULLSCREEN);
    // The main view goes first: it builds the wall view, which the banner's controllers take on.
    if (!m_wndSplitter.CreateStatic(this, 2, 1, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST) ||
        !m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CVeltranoView), CSize(400, cy - 290), pContext) ||
        !m_wndSplitter.CreateView(1, 0, RUNTIME_CLASS(CCtrlBanner), CSize(200, 160), pContext))
        return FALSE;
    SetWindowText("Veltrano");
    return TRUE;
}

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    ConvertMenuXP(this, pPopupMenu->m_hMenu, IsMenuXPEnabled(this), FALSE);
}

void CMainFrame::OnMeasureItem(int /*nIDCtl*/, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    MeasureMenuItemXP(lpMeasureItemStruct);
}

void CMainFrame::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (!DrawMenuItemXP(lpDrawItemStruct, this))
        CFrameWnd::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

LRESULT CMainFrame::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
    if (pMenu && IsOwnerDrawMenu(pMenu->m_hMenu))
        return MenuCharXP(pMenu->m_hMenu, nChar, nFlags);
    return CFrameWnd::OnMenuChar(nChar, nFlags, pMenu);
}

void CMainFrame::OnCommSetting() {
    CDlgCommSetting dialog(this);
    dialog.DoModal();
}

void CMainFrame::OnWallSetting() {
    CDlgWallSetting dialog(this, TheWallView());
    dialog.DoModal();
}

void CMainFrame::OnMatrixSetting() {
    CDlgMatrixSetting dialog(this);
    dialog.DoModal();
}

// The monitor remote and the advanced control have no parent: they belong to the program, not to the frame.
void CMainFrame::OnMonitorControl() {
    CDlgMonitorCtrl dialog;
    dialog.DoModal();
}

void CMainFrame::OnAdvancedSetting() {
    AdvancedSetting dialog(TheWallView());
    dialog.DoModal();
}
