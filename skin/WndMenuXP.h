#pragma once

#include "platform/gui/draw/Gdi.h"
#include "platform/gui/frame/MenuWindowHook.h"
#include "platform/os/Rect.h"

class CDC;

// One pop-up menu window in the flat look, from the moment it opens (while a frame with the flat menus is
// active) until it hides or goes: where it stands, and the screen behind it, from which its shadow is made.
class CWndMenuXP {
public:
    explicit CWndMenuXP(CMenuWindow* hWnd);
    ~CWndMenuXP();
    CWndMenuXP(const CWndMenuXP&) = delete;
    CWndMenuXP& operator=(const CWndMenuXP&) = delete;

    // The window's record; unless bExistingOnly, a new one when it has none.
    static CWndMenuXP* FromHandle(CMenuWindow* hWnd, bool bExistingOnly);

    void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    void OnNcCalcSize(LPRECT lpClientRect);
    void OnEraseBkgnd();
    void OnPrint(CDC* pDC);

    HBITMAP GetCapture() const { return m_hBitmap; }

private:
    void DrawFrame(CDC* pDC, const CRect& rcWindow);

    CMenuWindow* m_hWnd;
    int m_x = -65535;
    int m_y = -65535;
    HBITMAP m_hBitmap = nullptr;
};
