#include "StatusBar.h"

#include "FrameWnd.h"
#include "ResourceTable.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/PaintDC.h"
#include "platform/gui/window/WindowClass.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

// The user interface of one pane while its update handler runs: its text, and whether it shows.
class CStatusCmdUI : public CCmdUI {
public:
    explicit CStatusCmdUI(CStatusBar* bar) : m_bar(bar) {}

    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        const int index = static_cast<int>(m_nIndex);
        const UINT style = m_bar->GetPaneStyle(index);
        const UINT wanted = bOn ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
        if (wanted != style)
            m_bar->SetPaneStyle(index, wanted);
    }
    void SetCheck(int nCheck) override {
        const int index = static_cast<int>(m_nIndex);
        const UINT style = m_bar->GetPaneStyle(index);
        const UINT wanted = nCheck ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT);
        if (wanted != style)
            m_bar->SetPaneStyle(index, wanted);
    }
    void SetText(LPCTSTR lpszText) override {
        const int index = static_cast<int>(m_nIndex);
        if (m_bar->GetPaneText(index) != CString(lpszText ? lpszText : ""))
            m_bar->SetPaneText(index, lpszText);
    }

private:
    CStatusBar* m_bar;
};

LPCTSTR StatusBarClass() {
    static const LPCTSTR name = RegisterButtonFaceClass("msctls_statusbar32");
    return name;
}

} // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateBar(dwStyle, pParentWnd, nID, StatusBarClass());
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0 || (nIDCount > 0 && !lpIDArray))
        return FALSE;
    QWidget* widget = GetHostWidget();
    const QFontMetrics metrics(widget ? widget->font() : QFont());
    std::vector<Pane> panes;
    bool stretchGiven = false;
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane{lpIDArray[i], SBPS_NORMAL, 0, CString()};
        if (pane.nID != ID_SEPARATOR) {
            CString text;
            if (!AfxLoadString(pane.nID, text))
                return FALSE;
            pane.cxText = metrics.horizontalAdvance(QString::fromUtf8(CResourceTable::FindString(pane.nID)));
            pane.strText = text;
            // Dark until the idle update finds the key locked.
            if (pane.nID == ID_INDICATOR_CAPS || pane.nID == ID_INDICATOR_NUM || pane.nID == ID_INDICATOR_SCRL)
                pane.nStyle |= SBPS_DISABLED;
        } else if (!stretchGiven) {
            pane.nStyle = SBPS_STRETCH | SBPS_NOBORDERS;
            stretchGiven = true;
            AfxLoadString(AFX_IDS_IDLEMESSAGE, pane.strText);
        }
        panes.push_back(pane);
    }
    m_panes = std::move(panes);
    Invalidate();
    return TRUE;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    return (nIndex >= 0 && nIndex < GetCount()) ? m_panes[static_cast<size_t>(nIndex)].nID : ID_SEPARATOR;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_panes[static_cast<size_t>(i)].nID == nIDFind)
            return i;
    return -1;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (!lpRect)
        return;
    *lpRect = RECT{0, 0, 0, 0};
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    CRect client;
    GetClientRect(&client);
    const int top = kTopBorder;
    const int bottom = std::max(top, static_cast<int>(client.bottom) - kBottomBorder);
    // Fixed panes take their text width plus margins; the stretchy pane takes the rest.
    int fixed = 0;
    int stretchy = 0;
    for (const Pane& pane : m_panes) {
        if (pane.nStyle & SBPS_STRETCH)
            ++stretchy;
        else
            fixed += pane.cxText + 2 * kPaneMargin;
    }
    const int gaps = std::max(0, GetCount() - 1) * kGap;
    const int spare = std::max(0, static_cast<int>(client.Width()) - fixed - gaps);
    int left = 0;
    for (int i = 0; i < GetCount(); ++i) {
        const Pane& pane = m_panes[static_cast<size_t>(i)];
        const int width = (pane.nStyle & SBPS_STRETCH) ? spare / std::max(1, stretchy) : pane.cxText + 2 * kPaneMargin;
        if (i == nIndex) {
            *lpRect = RECT{left, top, left + width, bottom};
            return;
        }
        left += width + kGap;
    }
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
        nID = nStyle = 0;
        cxWidth = 0;
        return;
    }
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = std::max(0, cxWidth);
    Invalidate();
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
    return (nIndex >= 0 && nIndex < GetCount()) ? m_panes[static_cast<size_t>(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    if (nIndex >= 0 && nIndex < GetCount()) {
        m_panes[static_cast<size_t>(nIndex)].nStyle = nStyle;
        Invalidate();
    }
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    m_panes[static_cast<size_t>(nIndex)].strText = lpszNewText ? lpszNewText : "";
    if (bUpdate) {
        CRect rect;
        GetItemRect(nIndex, &rect);
        InvalidateRect(&rect);
    }
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const {
    return (nIndex >= 0 && nIndex < GetCount()) ? m_panes[static_cast<size_t>(nIndex)].strText : CString();
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL /*bDisableIfNoHandler*/) {
    CStatusCmdUI state(this);
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = GetItemID(static_cast<int>(state.m_nIndex));
        // A pane nobody updates keeps its state.
        state.DoUpdate(pTarget, FALSE);
    }
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    QWidget* widget = GetHostWidget();
    const int text = QFontMetrics(widget ? widget->font() : QFont()).height();
    const int height = std::max(m_minHeight, text + kTopBorder + kBottomBorder + 4);
    if (bStretch && bHorz)
        return CSize(32767, height);
    CRect rect;
    GetWindowRect(&rect);
    return CSize(rect.Width(), height);
}

void CStatusBar::PaintPanes() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    for (int i = 0; i < GetCount(); ++i) {
        const Pane& pane = m_panes[static_cast<size_t>(i)];
        CRect rect;
        GetItemRect(i, &rect);
        if (!(pane.nStyle & SBPS_NOBORDERS))
            dc.Draw3dRect(&rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        if (pane.nStyle & SBPS_DISABLED)
            continue;
        CRect text = rect;
        text.DeflateRect(kPaneMargin, 1);
        dc.DrawText(pane.strText, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
    CControlBar::OnSize(nType, cx, cy);
    Invalidate();
}

LRESULT CStatusBar::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case SB_SETMINHEIGHT:
        m_minHeight = static_cast<int>(wParam);
        if (auto* frame = dynamic_cast<CFrameWnd*>(GetParent()))
            frame->RecalcLayout();
        return TRUE;
    case WM_PAINT: PaintPanes(); return 0;
    case SB_GETRECT: GetItemRect(static_cast<int>(wParam), reinterpret_cast<LPRECT>(lParam)); return TRUE;
    default: return CControlBar::DefWindowProc(message, wParam, lParam);
    }
}
