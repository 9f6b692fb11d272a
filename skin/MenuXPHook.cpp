#include "MenuXPHook.h"

#include "MenuXP.h"
#include "MenuXPState.h"
#include "WndMenuXP.h"

#include "platform/gui/window/Wnd.h"

// Only pop-up menu windows reach the hook, so the window's class needs no check.
void CMenuXPHook::OnCreate(CMenuWindow* pWnd) {
    if (IsMenuXPEnabled(GetForegroundWindow()))
        CWndMenuXP::FromHandle(pWnd, false);
}

void CMenuXPHook::OnWindowPosChanging(CMenuWindow* pWnd, WINDOWPOS* lpwndpos) {
    if (CWndMenuXP* record = CWndMenuXP::FromHandle(pWnd, true))
        record->OnWindowPosChanging(lpwndpos);
}

void CMenuXPHook::OnNcCalcSize(CMenuWindow* pWnd, LPRECT lpClientRect) {
    if (CWndMenuXP* record = CWndMenuXP::FromHandle(pWnd, true))
        record->OnNcCalcSize(lpClientRect);
}

void CMenuXPHook::OnEraseBkgnd(CMenuWindow* pWnd) {
    if (CWndMenuXP* record = CWndMenuXP::FromHandle(pWnd, true))
        record->OnEraseBkgnd();
}

void CMenuXPHook::OnShowWindow(CMenuWindow* pWnd, BOOL bShow) {
    if (!bShow)
        TheMenuXPState().menuWindows.erase(pWnd);
}

// The frame, its join with an open bar item and the shadow are drawn after every paint: the window repaints
// its frame band with its items, so the join does not wait for items to be drawn.
void CMenuXPHook::OnPrint(CMenuWindow* pWnd, CDC* pDC, BOOL /*bItemsDrawn*/) {
    if (CWndMenuXP* record = CWndMenuXP::FromHandle(pWnd, true))
        record->OnPrint(pDC);
}

void CMenuXPHook::OnNcDestroy(CMenuWindow* pWnd) { TheMenuXPState().menuWindows.erase(pWnd); }
