#pragma once

#include "platform/gui/window/Wnd.h"
#include "platform/os/Rect.h"

struct LOGFONT;

// The window class of title tips.
constexpr const char* kTitleTipWindowClass = "TitleTipWnd";

// A borderless top-most popup that shows the whole text of a cell too narrow for it, laid over the cell. While
// shown it holds the mouse capture: a move off the cell hides it, and every click or key hides it and goes on to
// the window underneath, so the tip never stands between the user and the grid.
class CTitleTip : public CWnd {
    DECLARE_DYNAMIC(CTitleTip)
public:
    // The first tip registers the window class; a failure throws CResourceException.
    CTitleTip();
    ~CTitleTip() override;

    using CWnd::Create;
    // Makes the popup once; TRUE when it exists.
    virtual BOOL Create(CWnd* pParentWnd);
    BOOL DestroyWindow() override;
    // The grid the tip serves, until Create is called.
    void SetParentWnd(CWnd* pParentWnd) { m_parentWnd = pParentWnd; }
    CWnd* GetParentWnd() const { return m_parentWnd; }

    // Shows the text over rectTitle (in the parent's client coordinates) when it is wider than rectTitle less
    // xoffset; the tip stays while the pointer is in lpHoverRect (rectTitle when null). A null font takes the
    // parent's; CLR_DEFAULT colours keep the tip's own.
    void Show(CRect rectTitle, LPCTSTR lpszTitleText, int xoffset = 0, LPRECT lpHoverRect = nullptr,
              const LOGFONT* lpLogFont = nullptr, COLORREF crTextClr = CLR_DEFAULT, COLORREF crBackClr = CLR_DEFAULT);
    void Hide();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void OnMouseMove(UINT nFlags, CPoint point) override;

private:
    // The window under a screen point that a click or move on the tip belongs to: the parent where that is the
    // tip itself; null for none.
    CWnd* WindowUnder(CPoint screenPoint);

    CWnd* m_parentWnd = nullptr;
    // In screen coordinates, so that it stays right wherever the tip moves.
    CRect m_rectHover;
    DWORD m_lastLButtonDown = 0xFFFFFFFF;
    DWORD m_dblClickTime;
    BOOL m_created = FALSE;
};
