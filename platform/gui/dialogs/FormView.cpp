#include "FormView.h"

#include "Dialog.h"
#include "DialogItems.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/HostWidget.h"
#include "platform/gui/window/SystemMetrics.h"

#include "platform/os/RuntimeClass.h"

#include <QScrollBar>

#include <algorithm>

IMPLEMENT_DYNAMIC(CFormView, CView)

CFormView::CFormView(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

CFormView::~CFormView() = default;

BOOL CFormView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, void* pContext) {
    const DlgTemplate* dlgTemplate = CResourceTable::FindDialog(m_nIDTemplate);
    if (!dlgTemplate)
        return FALSE;
    if (!CView::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext))
        return FALSE;
    m_totalSize = CSize(dlgTemplate->cx, dlgTemplate->cy);
    CDialog::BuildControls(*dlgTemplate, this);
    UpdateBars();
    return TRUE;
}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CDialog::ApplyCtlColors(this);
    CView::OnInitialUpdate();
}

BOOL CFormView::UpdateData(BOOL bSaveAndValidate) {
    if (!m_hWnd)
        return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CFormView::DoDataExchange(CDataExchange* /*pDX*/) {}

void CFormView::ResizeParentToFit(BOOL bShrinkOnly) {
    const DlgTemplate* dlgTemplate = CResourceTable::FindDialog(m_nIDTemplate);
    CFrameWnd* frame = GetParentFrame();
    if (!dlgTemplate || !frame)
        return;
    CRect frameRect, viewClient;
    frame->GetWindowRect(&frameRect);
    GetClientRect(&viewClient);
    int width = frameRect.Width() - viewClient.Width() + dlgTemplate->cx;
    int height = frameRect.Height() - viewClient.Height() + dlgTemplate->cy;
    if (bShrinkOnly) {
        width = std::min<int>(width, frameRect.Width());
        height = std::min<int>(height, frameRect.Height());
    }
    frame->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The control answers first through its reflected CtlColor, as the framework's default does.
HBRUSH CFormView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return pWnd && pWnd != this ? pWnd->CtlColor(pDC, nCtlColor) : nullptr;
}

void CFormView::SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemText(this, nID, lpszString); }
int CFormView::GetDlgItemText(int nID, CString& rString) const {
    return ::GetDlgItemText(const_cast<CFormView*>(this), nID, rString);
}
void CFormView::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(this, nIDButton, nCheck); }
UINT CFormView::IsDlgButtonChecked(int nIDButton) const {
    return ::IsDlgButtonChecked(const_cast<CFormView*>(this), nIDButton);
}

LRESULT CFormView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return reinterpret_cast<LRESULT>(OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                    reinterpret_cast<CWnd*>(lParam), message - WM_CTLCOLORMSGBOX));
    return CView::WindowProc(message, wParam, lParam);
}

void CFormView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

void CFormView::OnHScroll(UINT nSBCode, UINT /*nPos*/, CScrollBar* pScrollBar) {
    if (!pScrollBar)
        OnScroll(SB_HORZ, nSBCode);
}

void CFormView::OnVScroll(UINT nSBCode, UINT /*nPos*/, CScrollBar* pScrollBar) {
    if (!pScrollBar)
        OnScroll(SB_VERT, nSBCode);
}

void CFormView::UpdateBars() {
    CHostWidget* host = GetHost();
    if (m_updatingBars || !host)
        return;
    m_updatingBars = true;
    // The bars are chosen for the room the view has without them: bars that showed before would otherwise keep
    // the view just as large as its form from ever losing them.
    const int extent = GetSystemMetrics(SM_CXVSCROLL);
    CRect client;
    GetClientRect(&client);
    const int width = client.Width() + (host->IsScrollBarShown(SB_VERT) ? extent : 0);
    const int height = client.Height() + (host->IsScrollBarShown(SB_HORZ) ? extent : 0);
    // One bar takes room from the other direction, which may then need its bar too.
    bool horz = m_totalSize.cx > width;
    const bool vert = m_totalSize.cy > height || (horz && m_totalSize.cy > height - extent);
    horz = horz || (vert && m_totalSize.cx > width - extent);
    const int totals[2] = {static_cast<int>(m_totalSize.cx), static_cast<int>(m_totalSize.cy)};
    const int pages[2] = {width - (vert ? extent : 0), height - (horz ? extent : 0)};
    for (int bar : {SB_HORZ, SB_VERT}) {
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        si.nPos = bar == SB_HORZ ? m_scrollPos.x : m_scrollPos.y;
        if (totals[bar] > pages[bar] && pages[bar] > 0) {
            si.nMax = totals[bar] - 1;
            si.nPage = static_cast<UINT>(pages[bar]);
        } else {
            si.nPos = 0;
        }
        SetScrollInfo(bar, &si);
    }
    ScrollToPosition(CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT)));
    m_updatingBars = false;
}

void CFormView::OnScroll(int nBar, UINT nSBCode) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(nBar, &si))
        return;
    // Steps as the scrolling view takes them when given only the total size: a tenth, and a tenth of that.
    const int total = nBar == SB_HORZ ? m_totalSize.cx : m_totalSize.cy;
    const int page = std::max(1, total / 10);
    const int line = std::max(1, page / 10);
    int pos = si.nPos;
    switch (nSBCode) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    pos = std::clamp(pos, si.nMin, std::max(si.nMin, ScrollInfoMaxPos(si)));
    SetScrollPos(nBar, pos);
    CPoint target = m_scrollPos;
    (nBar == SB_HORZ ? target.x : target.y) = GetScrollPos(nBar);
    ScrollToPosition(target);
}

void CFormView::ScrollToPosition(CPoint pos) {
    CHostWidget* host = GetHost();
    if (!host || pos == m_scrollPos)
        return;
    const QPoint delta(m_scrollPos.x - pos.x, m_scrollPos.y - pos.y);
    m_scrollPos = pos;
    const QScrollBar* bars[2] = {host->ExistingScrollBar(SB_HORZ), host->ExistingScrollBar(SB_VERT)};
    for (QObject* child : host->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget != bars[0] && widget != bars[1])
            widget->move(widget->pos() + delta);
    }
    Invalidate();
}
