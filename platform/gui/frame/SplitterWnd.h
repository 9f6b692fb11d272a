#pragma once

#include "FrameworkIds.h"
#include "platform/gui/base/RuntimeClass.h"
#include "platform/gui/window/Wnd.h"

#include <vector>

class CDC;
struct CCreateContext;
struct CRuntimeClass;

// A static splitter: a grid of panes (views made from their classes) separated by bars. Each row and column
// keeps a minimum, an ideal and a current size; RecalcLayout places the panes from them and OnDrawSplitter
// draws the border and the bars. Derived splitters change the metrics in their constructors and override the
// two. The operator drags a bar to change the ideal size of the pane before it.
class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    enum ESplitType { splitBox, splitBar, splitIntersection, splitBorder };

    struct CRowColInfo {
        int nMinSize;
        int nIdealSize;
        int nCurSize;
    };

    CSplitterWnd();
    ~CSplitterWnd() override;

    // 1 to 16 rows and columns. FALSE when the counts are out of range or the window cannot be made.
    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // Makes the pane's view; its ideal size becomes sizeInit.
    virtual BOOL CreateView(int row, int col, const CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const;
    // The pane that holds the focus, else the frame's active view when it is a pane here; null otherwise.
    CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr) const;
    // A view pane becomes the frame's active view; any pane takes the focus.
    virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);
    // The next (or previous) pane in row order, wrapping around, becomes the active one.
    virtual void ActivateNext(BOOL bPrev = FALSE);
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    // The room a bar takes between two rows.
    int GetRowGap() const { return m_cySplitterGap; }

    virtual void RecalcLayout();
    virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);
    // The border around the panes and every bar between them; a null DC invalidates them instead.
    void DrawAllSplitBars(CDC* pDC, int cxInside, int cyInside);
    // The client area inside the outer border.
    void GetInsideRect(CRect& rect) const;

    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    // The bar under a client point: the row (>= 0) or column index before it, else -1 in both.
    void HitBar(CPoint point, int& row, int& col) const;

    int m_cxSplitter = 7;
    int m_cySplitter = 7;
    int m_cxBorderShare = 1;
    int m_cyBorderShare = 1;
    int m_cxSplitterGap = 7;
    int m_cySplitterGap = 7;
    int m_cxBorder = 2;
    int m_cyBorder = 2;

    int m_nMaxRows = 16;
    int m_nMaxCols = 16;
    int m_nRows = 0;
    int m_nCols = 0;
    CRowColInfo* m_pRowInfo = nullptr;
    CRowColInfo* m_pColInfo = nullptr;
    BOOL m_bHasHScroll = FALSE;
    BOOL m_bHasVScroll = FALSE;

private:
    std::vector<CRowColInfo> m_rows;
    std::vector<CRowColInfo> m_cols;
    int m_trackRow = -1;
    int m_trackCol = -1;
};
