#pragma once

#include "platform/gui/draw/Gdi.h"
#include "platform/gui/window/Wnd.h"
#include "platform/os/String.h"

class CDC;

// A coloured child window with its name in the top-left corner, dragged by its client area and sized by its
// frame. The frame's edges stay where the client area is drawn, so the window shows as one flat colour.
class CWallWindow : public CWnd {
public:
    CWallWindow(COLORREF colour, CString name);
    ~CWallWindow() override;

    static BOOL RegisterWindowClass();
    BOOL Create(RECT r, CWnd* parent, UINT id);

    virtual void DrawContent(CDC* pDC);

    // The content, and a dotted frame inside it while the window has the keyboard's focus (Tab reaches it).
    void OnPaint() override;
    // The face is drawn to the window's size: all of it again on every new size.
    void OnSize(UINT nType, int cx, int cy) override;
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    int GetBorderWidth() const { return m_borderWidth; }

protected:
    // The dotted frame inside the client area, and its lines alone repainted.
    CRect FocusRect() const;
    void InvalidateFocusRect();

    COLORREF m_colour;
    CString m_name;
    int m_borderWidth;
};
