#include "TitleTip.h"

#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/gui/window/WindowClass.h"
#include "platform/os/RuntimeClass.h"
#include "platform/os/System.h"

IMPLEMENT_DYNAMIC(CTitleTip, CWnd)

namespace {

constexpr DWORD kNoPress = 0xFFFFFFFF;

LPARAM PointParam(const CPoint& point) { return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)); }

} // namespace

CTitleTip::CTitleTip() : m_dblClickTime(GetDoubleClickTime()) {
    RegisterWindowClassOnce(kTitleTipWindowClass, CS_SAVEBITS, COLOR_INFOBK);
}

CTitleTip::~CTitleTip() = default;

BOOL CTitleTip::Create(CWnd* pParentWnd) {
    // A window someone else destroyed is made again.
    if (m_created && IsWindow(GetSafeHwnd()))
        return TRUE;
    m_parentWnd = pParentWnd;
    m_created = CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTitleTipWindowClass, nullptr, WS_BORDER | WS_POPUP,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, 0u, nullptr);
    return m_created;
}

BOOL CTitleTip::DestroyWindow() {
    m_created = FALSE;
    return CWnd::DestroyWindow();
}

void CTitleTip::Show(CRect rectTitle, LPCTSTR lpszTitleText, int xoffset, LPRECT lpHoverRect, const LOGFONT* lpLogFont,
                     COLORREF crTextClr, COLORREF crBackClr) {
    if (!IsWindow(GetSafeHwnd()))
        Create(m_parentWnd);
    if (!IsWindow(GetSafeHwnd()) || !IsWindow(CWnd::SafeHwndOf(m_parentWnd)))
        return;
    if (rectTitle.IsRectEmpty() || IsWindowVisible() || !GetFocus())
        return;

    m_rectHover = lpHoverRect ? CRect(*lpHoverRect) : rectTitle;
    m_rectHover.right++;
    m_rectHover.bottom++;
    m_parentWnd->ClientToScreen(&m_rectHover);
    m_parentWnd->ClientToScreen(&rectTitle);

    CString title(" ");
    title += lpszTitleText ? lpszTitleText : "";
    title += " ";
    CFont font;
    CFont* tipFont = m_parentWnd->GetFont();
    if (lpLogFont && font.CreateFontIndirect(lpLogFont))
        tipFont = &font;

    CSize size;
    {
        // Measured on the grid's DC: the tip may not have a client area yet, and both are on the same screen.
        CClientDC dc(m_parentWnd);
        CFont* oldFont = tipFont ? dc.SelectObject(tipFont) : nullptr;
        size = dc.GetTextExtent(title);
        TEXTMETRIC tm{};
        dc.GetTextMetrics(&tm);
        size.cx += tm.tmOverhang;
        if (oldFont)
            dc.SelectObject(oldFont);
    }

    CRect rectDisplay = rectTitle;
    rectDisplay.left += xoffset;
    rectDisplay.right = rectDisplay.left + size.cx + xoffset;
    // Only a text that does not fit gets a tip.
    if (rectDisplay.right <= rectTitle.right - xoffset)
        return;

    SetWindowPos(&wndTop, rectDisplay.left, rectDisplay.top, rectDisplay.Width(), rectDisplay.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    // Showing erases the window; that must be over before the text goes on it.
    UpdateWindow();
    CClientDC dc(this);
    CFont* oldFont = tipFont ? dc.SelectObject(tipFont) : nullptr;
    if (crBackClr != CLR_DEFAULT) {
        CBrush backBrush(crBackClr);
        CBrush* oldBrush = dc.SelectObject(&backBrush);
        CRect rect;
        dc.GetClipBox(&rect);
        dc.PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATCOPY);
        dc.SelectObject(oldBrush);
    }
    if (crTextClr != CLR_DEFAULT)
        dc.SetTextColor(crTextClr);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(0, 0, title);
    if (oldFont)
        dc.SelectObject(oldFont);
    SetCapture();
}

void CTitleTip::Hide() {
    if (!IsWindow(GetSafeHwnd()))
        return;
    if (GetCapture() == this)
        ReleaseCapture();
    ShowWindow(SW_HIDE);
}

CWnd* CTitleTip::WindowUnder(CPoint screenPoint) {
    CWnd* wnd = WindowFromPoint(screenPoint);
    if (wnd == this)
        wnd = m_parentWnd;
    return IsWindow(CWnd::SafeHwndOf(wnd)) ? wnd : nullptr;
}

void CTitleTip::OnMouseMove(UINT nFlags, CPoint point) {
    ClientToScreen(&point);
    if (m_rectHover.PtInRect(point))
        return;
    // The move goes on to the window under the pointer. It is posted before the capture goes, so that it
    // arrives ahead of the move the window hears when the capture is released.
    ShowWindow(SW_HIDE);
    if (CWnd* wnd = WindowUnder(point)) {
        const auto hitTest = static_cast<int>(wnd->SendMessage(WM_NCHITTEST, 0, PointParam(point)));
        if (hitTest == HTCLIENT) {
            wnd->ScreenToClient(&point);
            wnd->PostMessage(WM_MOUSEMOVE, nFlags, PointParam(point));
        } else {
            wnd->PostMessage(WM_NCMOUSEMOVE, static_cast<WPARAM>(hitTest), PointParam(point));
        }
    }
    Hide();
}

BOOL CTitleTip::PreTranslateMessage(MSG* pMsg) {
    switch (pMsg->message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        UINT message = pMsg->message;
        if (message == WM_LBUTTONDOWN) {
            // Each click of a double click lands on a tip: the tip tells it from two single clicks itself.
            const DWORD now = GetTickCount();
            if (m_lastLButtonDown != kNoPress && now - m_lastLButtonDown <= m_dblClickTime)
                message = WM_LBUTTONDBLCLK;
            m_lastLButtonDown = now;
        }
        const POINTS pts = MAKEPOINTS(pMsg->lParam);
        CPoint point(pts.x, pts.y);
        ClientToScreen(&point);
        ShowWindow(SW_HIDE);
        CWnd* wnd = WindowUnder(point);
        if (!wnd) {
            Hide();
            return CWnd::PreTranslateMessage(pMsg);
        }
        const auto hitTest = static_cast<int>(wnd->SendMessage(WM_NCHITTEST, 0, PointParam(point)));
        WPARAM wParam = pMsg->wParam;
        if (hitTest == HTCLIENT) {
            wnd->ScreenToClient(&point);
        } else {
            message = pMsg->message == WM_LBUTTONDOWN   ? WM_NCLBUTTONDOWN
                      : pMsg->message == WM_RBUTTONDOWN ? WM_NCRBUTTONDOWN
                                                        : WM_NCMBUTTONDOWN;
            wParam = static_cast<WPARAM>(hitTest);
        }
        // Posted before the capture goes, as a move is (see OnMouseMove).
        wnd->PostMessage(message, wParam, PointParam(point));
        Hide();
        return TRUE;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Hide();
        if (IsWindow(CWnd::SafeHwndOf(m_parentWnd)))
            m_parentWnd->PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;
    default: break;
    }
    if (!GetFocus()) {
        Hide();
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}
