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

#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/SystemMetrics.h"

#include <algorithm>

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
    m_wallHeight = GetSystemMetrics(SM_CYFULLSCREEN) - 290;
    // The main view goes first: it builds the wall view, which the banner's controllers take on.
    if (!m_wndSplitter.CreateStatic(this, 2, 1, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST) ||
        !m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CVeltranoView), CSize(400, m_wallHeight), pContext) ||
        !m_wndSplitter.CreateView(1, 0, RUNTIME_CLASS(CCtrlBanner), CSize(200, 160), pContext))
        return FALSE;
    SetWindowText("Veltrano");
    return TRUE;
}

// The frame's layout sized the splitter with the rows as they were; the splitter places its panes again only where
// the fitted rows moved them.
void CMainFrame::RecalcLayout(BOOL bNotify) {
    CFrameWnd::RecalcLayout(bNotify);
    if (FitWallRow())
        m_wndSplitter.RecalcLayout();
}

BOOL CMainFrame::FitWallRow() {
    auto* banner = dynamic_cast<CFormView*>(m_wndSplitter.GetPane(1, 0));
    const DlgTemplate* form = banner ? CResourceTable::FindDialog(banner->GetTemplateId()) : nullptr;
    if (!form)
        return FALSE;
    CRect inside;
    m_wndSplitter.GetInsideRect(inside);
    // A banner narrower than its form shows a scroll bar along its bottom, under the controls. Its sunken edge
    // takes room too, less the pixel on each side that the splitter lays it over its border.
    int bannerHeight = form->cy;
    if (inside.Width() < form->cx)
        bannerHeight += GetSystemMetrics(SM_CYHSCROLL);
    if (banner->GetExStyle() & WS_EX_CLIENTEDGE)
        bannerHeight += 2 * (GetSystemMetrics(SM_CYEDGE) - 1);
    const int room = inside.Height() - m_wndSplitter.GetRowGap() - bannerHeight;
    m_wndSplitter.SetRowInfo(0, std::clamp(room, 0, m_wallHeight), 0);
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
