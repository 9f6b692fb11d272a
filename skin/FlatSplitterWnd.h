#pragma once

#include "platform/gui/frame/SplitterWnd.h"

// The main window's splitter in the flat look: thin bars, a one-pixel light border, and bars the operator
// cannot drag.
class CFlatSplitterWnd : public CSplitterWnd {
public:
    CFlatSplitterWnd();
    ~CFlatSplitterWnd() override;

    // Sizes along one direction from the records' minimum and ideal sizes: the last pane takes what is left;
    // a pane that cannot have its minimum vanishes and gives its room to the pane before it; when what is left
    // after a pane does not exceed the gap, the pane takes it and the bar after it goes away.
    static void LayoutPaneSizes(CRowColInfo* pInfoArray, int nMax, int nSize, int nSizeSplitter);

    void RecalcLayout() override;
    void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;

protected:
    BOOL m_bLocked = TRUE;
};
