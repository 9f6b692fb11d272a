#include "PipWindow.h"

#include "WallMenus.h"

CPipWindow::CPipWindow(COLORREF colour, CString name) : CWallWindow(colour, std::move(name)) {
    OnCommandId(ID_PIPWND_CLOSE, [this]() {
        if (CWnd* parent = GetParent())
            parent->PostMessage(WM_PIP_CLOSE, 0, 0);
    });
}

void CPipWindow::OnMove(int x, int y) {
    CWallWindow::OnMove(x, y);
    m_moveSizeState = 1;
}

void CPipWindow::OnSize(UINT nType, int cx, int cy) {
    CWallWindow::OnSize(nType, cx, cy);
    m_moveSizeState = 2;
}

void CPipWindow::OnRButtonUp(UINT /*nFlags*/, CPoint /*point*/) { TrackWallMenu(1, this); }

LRESULT CPipWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_EXITSIZEMOVE) {
        CWnd* parent = GetParent();
        if (parent && m_moveSizeState == 1)
            parent->PostMessage(WM_PIP_MOVED, wParam, lParam);
        else if (parent && m_moveSizeState == 2)
            parent->PostMessage(WM_PIP_RESIZED, wParam, lParam);
        return 0;
    }
    return CWallWindow::WindowProc(message, wParam, lParam);
}
