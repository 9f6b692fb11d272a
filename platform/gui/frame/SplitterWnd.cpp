#include "SplitterWnd.h"

#include "FrameWnd.h"
#include "View.h"
#include "platform/gui/base/RuntimeClass.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/Cursor.h"
#include "platform/gui/window/PaintDC.h"

#include <algorithm>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

namespace {

// Sizes along one direction: every pane but the last gets its ideal size (none when that is below its
// minimum); the last takes the rest. A pane that does not fit gets what is left.
void LayoutSizes(std::vector<CSplitterWnd::CRowColInfo>& infos, int available, int gap) {
    int left = std::max(0, available);
    for (size_t i = 0; i < infos.size(); ++i) {
        CSplitterWnd::CRowColInfo& info = infos[i];
        const bool last = i + 1 == infos.size();
        int size = last ? left : (info.nIdealSize < info.nMinSize ? 0 : info.nIdealSize);
        size = std::min(size, left);
        info.nCurSize = size;
        left -= size;
        if (!last)
            left = std::max(0, left - gap);
    }
}

} // namespace

CSplitterWnd::CSplitterWnd() = default;
CSplitterWnd::~CSplitterWnd() = default;

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
    if (m_hWnd || !IsWindow(pParentWnd) || nRows < 1 || nCols < 1 || nRows > m_nMaxRows || nCols > m_nMaxCols)
        return FALSE;
    m_rows.assign(static_cast<size_t>(nRows), CRowColInfo{0, 0, 0});
    m_cols.assign(static_cast<size_t>(nCols), CRowColInfo{0, 0, 0});
    m_pRowInfo = m_rows.data();
    m_pColInfo = m_cols.data();
    m_nRows = nRows;
    m_nCols = nCols;
    if (!Create(nullptr, nullptr, dwStyle | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, const CRuntimeClass* pViewClass, SIZE sizeInit,
                              CCreateContext* pContext) {
    if (!m_hWnd || row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || !pViewClass || GetPane(row, col))
        return FALSE;
    m_pColInfo[col].nIdealSize = sizeInit.cx;
    m_pRowInfo[row].nIdealSize = sizeInit.cy;
    CObject* object = pViewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (!view) {
        delete object;
        return FALSE;
    }
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, sizeInit.cx, sizeInit.cy), this,
                      static_cast<UINT>(IdFromRowCol(row, col)), pContext)) {
        // A view whose window was made and failed has deleted itself with it; one that never had a window has not.
        if (WndObjectExists(view))
            delete view;
        return FALSE;
    }
    return TRUE;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols)
        return nullptr;
    return GetDlgItem(IdFromRowCol(row, col));
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) const {
    CWnd* active = nullptr;
    CWnd* focus = CWnd::GetFocus();
    CFrameWnd* frame = GetParentFrame();
    for (int pass = 0; pass < 2 && !active; ++pass) {
        CWnd* candidate = pass == 0 ? focus : (frame ? frame->GetActiveView() : nullptr);
        for (int row = 0; row < m_nRows && !active; ++row)
            for (int col = 0; col < m_nCols && !active; ++col) {
                CWnd* pane = GetPane(row, col);
                if (pane && candidate && (pane == candidate || pane->IsChild(candidate))) {
                    active = pane;
                    if (pRow)
                        *pRow = row;
                    if (pCol)
                        *pCol = col;
                }
            }
    }
    return active;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd) {
    CWnd* pane = pWnd ? pWnd : GetPane(row, col);
    if (!pane)
        return;
    CFrameWnd* frame = GetParentFrame();
    if (auto* view = dynamic_cast<CView*>(pane); view && frame)
        frame->SetActiveView(view);
    pane->SetFocus();
}

void CSplitterWnd::ActivateNext(BOOL bPrev) {
    const int count = m_nRows * m_nCols;
    if (count <= 0)
        return;
    int row = 0;
    int col = 0;
    int index = GetActivePane(&row, &col) ? row * m_nCols + col : (bPrev ? 0 : count - 1);
    for (int step = 0; step < count; ++step) {
        index = (index + (bPrev ? count - 1 : 1)) % count;
        if (GetPane(index / m_nCols, index % m_nCols)) {
            SetActivePane(index / m_nCols, index % m_nCols);
            return;
        }
    }
}

int CSplitterWnd::IdFromRowCol(int row, int col) const { return static_cast<int>(AFX_IDW_PANE_FIRST) + row * 16 + col; }

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
    cyCur = cyMin = 0;
    if (row >= 0 && row < m_nRows) {
        cyCur = m_pRowInfo[row].nCurSize;
        cyMin = m_pRowInfo[row].nMinSize;
    }
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
    if (row >= 0 && row < m_nRows) {
        m_pRowInfo[row].nIdealSize = cyIdeal;
        m_pRowInfo[row].nMinSize = cyMin;
    }
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
    cxCur = cxMin = 0;
    if (col >= 0 && col < m_nCols) {
        cxCur = m_pColInfo[col].nCurSize;
        cxMin = m_pColInfo[col].nMinSize;
    }
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
    if (col >= 0 && col < m_nCols) {
        m_pColInfo[col].nIdealSize = cxIdeal;
        m_pColInfo[col].nMinSize = cxMin;
    }
}

void CSplitterWnd::GetInsideRect(CRect& rect) const {
    GetClientRect(&rect);
    rect.DeflateRect(m_cxBorder, m_cyBorder);
    rect.NormalizeRect();
}

void CSplitterWnd::RecalcLayout() {
    if (!m_hWnd || m_nRows == 0 || m_nCols == 0)
        return;
    CRect inside;
    GetInsideRect(inside);
    LayoutSizes(m_rows, inside.Height(), m_cySplitterGap);
    LayoutSizes(m_cols, inside.Width(), m_cxSplitterGap);
    int x = inside.left;
    for (int col = 0; col < m_nCols; ++col) {
        int y = inside.top;
        for (int row = 0; row < m_nRows; ++row) {
            if (CWnd* pane = GetPane(row, col))
                pane->MoveWindow(x, y, m_pColInfo[col].nCurSize, m_pRowInfo[row].nCurSize);
            y += m_pRowInfo[row].nCurSize + m_cySplitterGap;
        }
        x += m_pColInfo[col].nCurSize + m_cxSplitterGap;
    }
    DrawAllSplitBars(nullptr, inside.right, inside.bottom);
}

void CSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) {
    if (!pDC) {
        InvalidateRect(&rect);
        return;
    }
    switch (nType) {
    case splitBorder: pDC->Draw3dRect(&rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT)); break;
    case splitBar:
    case splitBox: {
        pDC->FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE));
        pDC->Draw3dRect(&rect, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        break;
    }
    case splitIntersection: pDC->FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE)); break;
    }
}

void CSplitterWnd::DrawAllSplitBars(CDC* pDC, int cxInside, int cyInside) {
    CRect client;
    GetClientRect(&client);
    if (m_cxBorder > 0 || m_cyBorder > 0)
        OnDrawSplitter(pDC, splitBorder, client);
    CRect inside;
    GetInsideRect(inside);
    int y = inside.top;
    for (int row = 0; row + 1 < m_nRows; ++row) {
        y += m_pRowInfo[row].nCurSize;
        OnDrawSplitter(pDC, splitBar, CRect(inside.left, y, cxInside, y + m_cySplitterGap));
        y += m_cySplitterGap;
    }
    int x = inside.left;
    for (int col = 0; col + 1 < m_nCols; ++col) {
        x += m_pColInfo[col].nCurSize;
        OnDrawSplitter(pDC, splitBar, CRect(x, inside.top, x + m_cxSplitterGap, cyInside));
        x += m_cxSplitterGap;
    }
}

void CSplitterWnd::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CRect inside;
    GetInsideRect(inside);
    DrawAllSplitBars(&dc, inside.right, inside.bottom);
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

void CSplitterWnd::HitBar(CPoint point, int& row, int& col) const {
    row = col = -1;
    CRect inside;
    GetInsideRect(inside);
    int y = inside.top;
    for (int r = 0; r + 1 < m_nRows; ++r) {
        y += m_pRowInfo[r].nCurSize;
        if (point.y >= y && point.y < y + m_cySplitterGap) {
            row = r;
            return;
        }
        y += m_cySplitterGap;
    }
    int x = inside.left;
    for (int c = 0; c + 1 < m_nCols; ++c) {
        x += m_pColInfo[c].nCurSize;
        if (point.x >= x && point.x < x + m_cxSplitterGap) {
            col = c;
            return;
        }
        x += m_cxSplitterGap;
    }
}

void CSplitterWnd::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    HitBar(point, m_trackRow, m_trackCol);
    if (m_trackRow >= 0 || m_trackCol >= 0)
        SetCapture();
}

void CSplitterWnd::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {}

void CSplitterWnd::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
    if (m_trackRow < 0 && m_trackCol < 0)
        return;
    ReleaseCapture();
    CRect inside;
    GetInsideRect(inside);
    // The pane before the bar ends where the bar was dropped.
    if (m_trackRow >= 0) {
        int top = inside.top;
        for (int r = 0; r < m_trackRow; ++r)
            top += m_pRowInfo[r].nCurSize + m_cySplitterGap;
        m_pRowInfo[m_trackRow].nIdealSize = std::max(0, static_cast<int>(point.y) - top);
    } else {
        int left = inside.left;
        for (int c = 0; c < m_trackCol; ++c)
            left += m_pColInfo[c].nCurSize + m_cxSplitterGap;
        m_pColInfo[m_trackCol].nIdealSize = std::max(0, static_cast<int>(point.x) - left);
    }
    m_trackRow = m_trackCol = -1;
    RecalcLayout();
}

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (pWnd == this && nHitTest == HTCLIENT) {
        CPoint point;
        GetCursorPos(&point);
        ScreenToClient(&point);
        int row = -1, col = -1;
        HitBar(point, row, col);
        if (row >= 0 || col >= 0) {
            ::SetCursor(LoadCursor(nullptr, row >= 0 ? IDC_SIZENS : IDC_SIZEWE));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

// Panes' commands and notifications go on to the frame, as the splitter is no owner of its own.
BOOL CSplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    CWnd* parent = GetParent();
    return parent ? static_cast<BOOL>(parent->SendMessage(WM_COMMAND, wParam, lParam)) : FALSE;
}

BOOL CSplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (CWnd::OnNotify(wParam, lParam, pResult))
        return TRUE;
    CWnd* parent = GetParent();
    if (!parent)
        return FALSE;
    const LRESULT result = parent->SendMessage(WM_NOTIFY, wParam, lParam);
    if (pResult)
        *pResult = result;
    return TRUE;
}
