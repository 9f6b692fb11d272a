#include "PipWindow.h"

#include "LcdGridCtrl.h"

#include "platform/gui/Cursor.h"
#include "platform/gui/Menu.h"

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

void CPipWindow::OnRButtonUp(UINT /*nFlags*/, CPoint /*point*/) {
    CMenu menu;
    if (!menu.LoadMenu(IDR_WALL_MENUS))
        return;
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    if (CMenu* popup = menu.GetSubMenu(1))
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
    menu.DestroyMenu();
}

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
