#include "FlatSplitterWnd.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/DeferWindowPos.h"
#include "platform/os/RuntimeClass.h"

#include <algorithm>
#include <climits>

namespace {

// A pane that gives up its room also gives back the border the pane before it already kept.
constexpr int kBorderPair = 2;

} // namespace

CFlatSplitterWnd::CFlatSplitterWnd() {
    m_cxSplitter = m_cySplitter = 5;
    m_cxBorderShare = m_cyBorderShare = 0;
    m_cxSplitterGap = m_cySplitterGap = 5;
    m_cxBorder = m_cyBorder = 1;
}

CFlatSplitterWnd::~CFlatSplitterWnd() = default;

void CFlatSplitterWnd::LayoutPaneSizes(CRowColInfo* pInfoArray, int nMax, int nSize, int nSizeSplitter) {
    if (!pInfoArray || nMax <= 0)
        return;
    nSize = std::max(nSize, 0);
    for (int i = 0; i < nMax - 1; ++i) {
        CRowColInfo& info = pInfoArray[i];
        if (info.nIdealSize < info.nMinSize)
            info.nIdealSize = 0;
        info.nCurSize = info.nIdealSize;
    }
    pInfoArray[nMax - 1].nCurSize = INT_MAX;

    for (int i = 0; i < nMax; ++i) {
        CRowColInfo& info = pInfoArray[i];
        if (nSize == 0) {
            info.nCurSize = 0;
            continue;
        }
        if (nSize < info.nMinSize && i != 0) {
            info.nCurSize = 0;
            pInfoArray[i - 1].nCurSize += nSize + kBorderPair;
            nSize = 0;
        } else if (info.nCurSize != 0) {
            if (info.nCurSize > nSize) {
                info.nCurSize = nSize;
                nSize = 0;
            } else {
                nSize -= info.nCurSize;
            }
        }
        if (i != nMax - 1) {
            if (nSize > nSizeSplitter) {
                nSize -= nSizeSplitter;
            } else {
                info.nCurSize += nSize;
                if (info.nCurSize > nSizeSplitter - kBorderPair)
                    info.nCurSize -= nSizeSplitter - kBorderPair;
                nSize = 0;
            }
        }
    }
}

void CFlatSplitterWnd::RecalcLayout() {
    if (!m_hWnd || m_nRows <= 0 || m_nCols <= 0)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    rectClient.DeflateRect(m_cxBorder, m_cyBorder);
    CRect rectInside;
    GetInsideRect(rectInside);

    LayoutPaneSizes(m_pColInfo, m_nCols, rectInside.Width(), m_cxSplitterGap);
    LayoutPaneSizes(m_pRowInfo, m_nRows, rectInside.Height(), m_cySplitterGap);

    HDWP hDwp = BeginDeferWindowPos((m_nCols + 1) * (m_nRows + 1) + 1);
    const bool batched = hDwp != nullptr;
    int x = rectClient.left;
    for (int col = 0; col < m_nCols; ++col) {
        const int cx = m_pColInfo[col].nCurSize;
        int y = rectClient.top;
        for (int row = 0; row < m_nRows; ++row) {
            const int cy = m_pRowInfo[row].nCurSize;
            if (CWnd* pane = GetPane(row, col)) {
                CRect rect(x, y, x + cx, y + cy);
                // A pane with its own sunken edge, or a nested splitter, lies over the border around it.
                if ((pane->GetExStyle() & WS_EX_CLIENTEDGE) || pane->IsKindOf(RUNTIME_CLASS(CSplitterWnd)))
                    rect.InflateRect(1, 1);
                CRect present;
                pane->GetWindowRect(&present);
                ScreenToClient(&present);
                if (rect != present && hDwp)
                    hDwp = DeferWindowPos(hDwp, pane, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                          SWP_NOACTIVATE | SWP_NOZORDER);
            }
            y += cy + m_cySplitterGap;
        }
        x += cx + m_cxSplitterGap;
    }
    if (batched && hDwp)
        EndDeferWindowPos(hDwp);
    DrawAllSplitBars(nullptr, rectInside.right, rectInside.bottom);
}

void CFlatSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) {
    // Without a DC there is nothing to draw, and the bars need no repainting after a layout.
    if (!pDC)
        return;
    if (nType == splitBorder) {
        const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
        pDC->Draw3dRect(&rect, light, light);
        return;
    }
    CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
}

void CFlatSplitterWnd::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bLocked)
        return;
    CSplitterWnd::OnLButtonDown(nFlags, point);
}

void CFlatSplitterWnd::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_bLocked) {
        Default();
        return;
    }
    CSplitterWnd::OnMouseMove(nFlags, point);
}
