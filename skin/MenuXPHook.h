#pragma once

#include "platform/gui/frame/MenuWindowHook.h"

// Hears every pop-up menu window of the application and gives those that open while a frame with the flat
// menus is active their record (CWndMenuXP), which sizes, frames and shadows them until they close.
class CMenuXPHook : public CMenuWindowHook {
public:
    void OnCreate(CMenuWindow* pWnd) override;
    void OnWindowPosChanging(CMenuWindow* pWnd, WINDOWPOS* lpwndpos) override;
    void OnNcCalcSize(CMenuWindow* pWnd, LPRECT lpClientRect) override;
    void OnEraseBkgnd(CMenuWindow* pWnd) override;
    void OnShowWindow(CMenuWindow* pWnd, BOOL bShow) override;
    void OnPrint(CMenuWindow* pWnd, CDC* pDC, BOOL bItemsDrawn) override;
    void OnNcDestroy(CMenuWindow* pWnd) override;
};
