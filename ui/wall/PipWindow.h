#pragma once

#include "WallWindow.h"

// The PIP window over the wall view: reports to the wall view, once the operator lets go, whether it was moved
// or resized, and offers "CLOSE" on a right click.
class CPipWindow : public CWallWindow {
public:
    CPipWindow(COLORREF colour, CString name);

    // 0 until the window first moves, 1 after a move, 2 after a resize; never reset.
    int GetMoveSizeState() const { return m_moveSizeState; }

    void OnMove(int x, int y) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnRButtonUp(UINT nFlags, CPoint point) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int m_moveSizeState = 0;
};
