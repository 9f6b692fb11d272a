#include "WndBridge.h"

#include "HostWidget.h"
#include "SystemMetrics.h"
#include "TopLevelFrame.h"
#include "WindowRecord.h"

#include <algorithm>

using namespace wndimpl;

// ---------------------------------------------------------------------------------------------------------------
// Geometry

void CWnd::GetClientRect(LPRECT lpRect) const {
    if (!lpRect)
        return;
    QWidget* widget = GetHostWidget();
    if (!widget) {
        *lpRect = RECT{0, 0, 0, 0};
        return;
    }
    const QSize size = m_bridge->m_qt.host ? m_bridge->m_qt.host->ClientRectInWidget().size() : widget->size();
    *lpRect = RECT{0, 0, size.width(), size.height()};
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    if (!lpRect)
        return;
    QWidget* widget = GetHostWidget();
    if (!widget) {
        *lpRect = RECT{0, 0, 0, 0};
        return;
    }
    // A top-level window's rectangle holds the frame the window manager draws around it.
    if (widget->isWindow()) {
        const QRect outer = CTopLevelFrame::OuterRect(widget);
        *lpRect = RECT{outer.left(), outer.top(), outer.left() + outer.width(), outer.top() + outer.height()};
        return;
    }
    const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
    *lpRect = RECT{topLeft.x(), topLeft.y(), topLeft.x() + widget->width(), topLeft.y() + widget->height()};
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    QWidget* widget = GetHostWidget();
    if (!widget || !lpPoint)
        return;
    const QPoint p = widget->mapToGlobal(ClientOriginOf(widget) + QPoint(lpPoint->x, lpPoint->y));
    *lpPoint = POINT{p.x(), p.y()};
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    if (!lpRect)
        return;
    ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->left));
    ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    QWidget* widget = GetHostWidget();
    if (!widget || !lpPoint)
        return;
    const QPoint p = widget->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y)) - ClientOriginOf(widget);
    *lpPoint = POINT{p.x(), p.y()};
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    if (!lpRect)
        return;
    ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->left));
    ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    for (UINT i = 0; lpPoint && i < nCount; ++i) {
        ClientToScreen(&lpPoint[i]);
        if (pwndTo)
            pwndTo->ScreenToClient(&lpPoint[i]);
    }
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
    if (lpRect)
        MapWindowPoints(pwndTo, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return;
    if (widget->isWindow()) {
        CTopLevelFrame::Of(widget)->Place(QRect(Coordinate(x), Coordinate(y), Extent(nWidth), Extent(nHeight)), true);
    } else {
        const QPoint origin = ClientOriginOf(widget->parentWidget());
        widget->setGeometry(Coordinate(int64_t{x} + origin.x()), Coordinate(int64_t{y} + origin.y()), Extent(nWidth),
                            Extent(nHeight));
    }
    m_bridge->SyncGeometry();
    if (bRepaint && IsLive(this) && m_hWnd && !m_bridge->m_qt.host)
        widget->update();
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    if (lpRect)
        MoveWindow(lpRect->left, lpRect->top, WrappedExtent(lpRect->left, lpRect->right),
                   WrappedExtent(lpRect->top, lpRect->bottom), bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return FALSE;
    if (!(nFlags & SWP_NOZORDER) && pWndInsertAfter) {
        const HWND after = pWndInsertAfter->m_hWnd;
        if (widget->isWindow() && (after == HWND_TOPMOST || after == HWND_NOTOPMOST)) {
            const bool top = after == HWND_TOPMOST;
            SetWidgetExStyle(widget, top ? (GetExStyle() | WS_EX_TOPMOST) : (GetExStyle() & ~WS_EX_TOPMOST));
            if (widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != top &&
                widget->windowType() != Qt::ToolTip) {
                const bool visible = widget->isVisible();
                widget->setWindowFlag(Qt::WindowStaysOnTopHint, top);
                if (visible)
                    widget->show();
            }
            RaiseWidget(widget);
        } else if (after == HWND_BOTTOM) {
            widget->lower();
        } else if (after == HWND_TOP || after == HWND_TOPMOST) {
            RaiseWidget(widget);
        } else if (IsWindow(after) && after->GetHostWidget() &&
                   after->GetHostWidget()->parentWidget() == widget->parentWidget()) {
            widget->stackUnder(after->GetHostWidget());
        }
    }
    if (!(nFlags & (SWP_NOMOVE | SWP_NOSIZE)) || !(nFlags & SWP_NOMOVE) || !(nFlags & SWP_NOSIZE)) {
        CRect r;
        GetWindowRect(&r);
        if (CWnd* parent = widget->isWindow() ? nullptr : GetParent())
            parent->ScreenToClient(&r);
        if (nFlags & SWP_NOMOVE)
            x = r.left, y = r.top;
        if (nFlags & SWP_NOSIZE)
            cx = r.Width(), cy = r.Height();
        if (widget->isWindow() && (nFlags & SWP_NOSIZE)) {
            // The client area keeps its size, whatever frame the window manager turns out to draw.
            CTopLevelFrame::Of(widget)->Place(QRect(Coordinate(x), Coordinate(y), Extent(cx), Extent(cy)), false);
            m_bridge->SyncGeometry();
        } else {
            MoveWindow(x, y, cx, cy, !(nFlags & SWP_NOREDRAW));
        }
    } else if (nFlags & SWP_FRAMECHANGED) {
        m_bridge->SyncGeometry();
        widget->update();
    }
    if (!IsLive(this) || !m_hWnd)
        return TRUE;
    if (nFlags & SWP_SHOWWINDOW)
        ShowWindow((nFlags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    else if (nFlags & SWP_HIDEWINDOW)
        ShowWindow(SW_HIDE);
    return TRUE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return;
    CRect area;
    CWnd* around = pAlternateOwner ? pAlternateOwner : GetParent();
    if (around && around->GetHostWidget() && (!widget->isWindow() || around->GetHostWidget()->isVisible())) {
        if (widget->isWindow()) {
            around->GetWindowRect(&area);
        } else {
            around->GetClientRect(&area);
        }
    } else {
        area = GetScreenMetrics().workArea;
    }
    if (widget->isWindow()) {
        // Centred again once the window manager tells the frame's size.
        CTopLevelFrame::Of(widget)->Centre(QRect(area.left, area.top, area.Width(), area.Height()));
        m_bridge->SyncGeometry();
        return;
    }
    CRect r;
    GetWindowRect(&r);
    const int x = area.left + (area.Width() - r.Width()) / 2;
    const int y = area.top + (area.Height() - r.Height()) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::BringWindowToTop() {
    if (QWidget* widget = GetHostWidget())
        RaiseWidget(widget);
}
