#include "Wnd.h"
#include "WndBridge.h"

#include "HostWidget.h"
#include "PaintDC.h"
#include "SystemMetrics.h"
#include "TopLevelFrame.h"
#include "WindowClass.h"
#include "WindowRecord.h"
#include "WindowSurface.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/DcHandle.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/frame/Menu.h"
#include "platform/gui/frame/MenuStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include <algorithm>
#include <vector>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

using namespace wndimpl;

// ---------------------------------------------------------------------------------------------------------------
// CWnd

const CWnd CWnd::wndTop(0);
const CWnd CWnd::wndBottom(1);
const CWnd CWnd::wndTopMost(-1);
const CWnd CWnd::wndNoTopMost(-2);

CWnd::CWnd() : m_hWnd(nullptr), m_bridge(std::make_unique<CWndBridge>(this)) { Live().insert(this); }

CWnd::CWnd(intptr_t marker) : m_hWnd(reinterpret_cast<HWND>(marker)) {}

CWnd::~CWnd() {
    if (!m_bridge)
        return; // an insert-after marker
    // A window this object created goes with it; a widget it only attached to belongs to whoever made it.
    if (m_hWnd && IsLive(this)) {
        if (m_bridge->m_qt.owned)
            DestroyWindow();
        else
            DetachWidget();
    }
    if (m_bridge && m_bridge->m_qt.widget)
        DetachWidget();
    Live().erase(this);
    if (Capture() == this)
        Capture() = nullptr;
    for (auto& entry : Wrappers()) {
        auto& list = entry.second;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

BOOL CWnd::AttachWidget(QWidget* widget, bool owned, bool subclass, bool wrapper) {
    if (!m_bridge || !widget || m_hWnd)
        return FALSE;
    auto existing = Attached().find(widget);
    if (existing != Attached().end()) {
        if (!IsWrapper(existing->second))
            return FALSE;
        existing->second->DetachWidget();
    }
    EnsureKeyStateTracker();
    CWndBridge& b = *m_bridge;
    b.m_qt.widget = widget;
    b.m_qt.host = dynamic_cast<CHostWidget*>(widget);
    b.m_qt.owned = owned;
    b.m_reported.sizeKnown = false;
    b.m_reported.posKnown = false;
    b.m_invalid.region = QRegion();
    b.m_reported.ownEnabled = !widget->testAttribute(Qt::WA_ForceDisabled);
    if (b.m_qt.host) {
        b.m_qt.host->m_wnd = this;
        b.m_identity.windowClass = FindWindowClass(b.m_qt.host->ClassName());
        b.m_identity.classStyle = b.m_identity.windowClass.style;
        b.m_identity.classCursor = b.m_identity.windowClass.hCursor;
        b.m_qt.host->setAttribute(Qt::WA_InputMethodEnabled, true);
        b.ConnectScrollBars();
    } else {
        b.m_identity.windowClass = WNDCLASS{};
        b.m_identity.classStyle = CS_DBLCLKS;
        b.m_identity.classCursor = nullptr;
    }
    m_hWnd = this;
    Attached()[widget] = this;
    // A plain object handed out for a widget is only a handle: the widget's events stay Qt's alone.
    if (!wrapper) {
        widget->setMouseTracking(true);
        widget->installEventFilter(m_bridge.get());
    }
    CWndBridge* bridge = m_bridge.get();
    b.m_qt.destroyed = QObject::connect(widget, &QObject::destroyed, bridge, [this]() { NotifyDestroyed(true); });
    if (subclass)
        PreSubclassWindow();
    return TRUE;
}

void CWnd::DetachWidget() {
    if (!m_bridge)
        return;
    CWndBridge& b = *m_bridge;
    for (auto& [id, timer] : b.m_timers)
        b.killTimer(timer.qtId);
    b.m_timers.clear();
    for (const QMetaObject::Connection& c : b.m_qt.barConnections)
        QObject::disconnect(c);
    b.m_qt.barConnections.clear();
    QObject::disconnect(b.m_qt.destroyed);
    QCoreApplication::removePostedEvents(&b, PostedMessageType());
    if (Capture() == this) {
        Capture() = nullptr;
        if (b.m_qt.widget && QWidget::mouseGrabber() == b.m_qt.widget)
            b.m_qt.widget->releaseMouse();
    }
    if (b.m_qt.widget) {
        b.m_qt.widget->removeEventFilter(&b);
        Attached().erase(b.m_qt.widget.data());
        if (b.m_qt.host && b.m_qt.host->m_wnd == this)
            b.m_qt.host->m_wnd = nullptr;
    } else {
        for (auto it = Attached().begin(); it != Attached().end();)
            it = it->second == this ? Attached().erase(it) : std::next(it);
    }
    b.m_qt.widget = nullptr;
    b.m_qt.host = nullptr;
    b.m_qt.owned = false;
    b.DropImage();
    b.m_invalid.region = QRegion();
    b.m_input.trackLeave = false;
    b.m_sizeMove.hit = HTNOWHERE;
    m_hWnd = nullptr;
}

// The widget went away under this object (its parent deleted it): the window's last messages, then detach.
void CWnd::NotifyDestroyed(bool /*widgetGone*/) {
    if (!m_hWnd)
        return;
    Dispatch(this, WM_DESTROY, 0, 0);
    if (!IsLive(this) || !m_hWnd)
        return;
    Dispatch(this, WM_NCDESTROY, 0, 0);
    if (IsLive(this) && m_hWnd) {
        DetachWidget();
        PostNcDestroy();
    }
}

BOOL CWnd::Attach(QWidget* widget) { return AttachWidget(widget, false, false); }

QWidget* CWnd::Detach() {
    QWidget* widget = GetHostWidget();
    DetachWidget();
    return widget;
}

BOOL CWnd::SubclassWindow(QWidget* widget) { return AttachWidget(widget, false, true); }

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!IsWindow(hWnd))
        return FALSE;
    return SubclassWindow(hWnd->GetHostWidget());
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (!pParent || !pParent->GetHostWidget())
        return FALSE;
    return SubclassWindow(FindChildByCtrlId(pParent->GetHostWidget(), static_cast<int>(nID)));
}

QWidget* CWnd::UnsubclassWindow() { return Detach(); }

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

CWnd* CWnd::FromHandle(HWND hWnd) { return hWnd; }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return IsLive(hWnd) && !IsWrapper(hWnd) ? hWnd : nullptr; }

CWnd* CWnd::FromWidget(QWidget* widget) {
    if (!widget || IsGoneWidget(widget))
        return nullptr;
    auto it = Attached().find(widget);
    if (it != Attached().end())
        return it->second;
    CWnd* wrapper = NewControlObject(widget);
    Wrappers()[widget].push_back(wrapper);
    QObject::connect(widget, &QObject::destroyed, [widget]() {
        auto found = Wrappers().find(widget);
        if (found == Wrappers().end())
            return;
        std::vector<CWnd*> list = std::move(found->second);
        Wrappers().erase(found);
        for (CWnd* w : list) {
            if (w->m_bridge)
                w->DetachWidget();
            delete w;
        }
    });
    wrapper->AttachWidget(widget, false, false, true);
    return wrapper;
}

CWnd* CWnd::FromWidgetPermanent(const QWidget* widget) {
    if (!widget)
        return nullptr;
    auto it = Attached().find(widget);
    return it != Attached().end() && !IsWrapper(it->second) ? it->second : nullptr;
}

HWND CWnd::SafeHwndOf(const CWnd* pWnd) {
    return pWnd && pWnd->m_hWnd && pWnd->m_bridge ? const_cast<CWnd*>(pWnd) : nullptr;
}

QWidget* CWnd::GetHostWidget() const { return m_bridge && m_hWnd ? m_bridge->m_qt.widget.data() : nullptr; }

CHostWidget* CWnd::GetHost() const { return GetHostWidget() ? m_bridge->m_qt.host : nullptr; }

// ---------------------------------------------------------------------------------------------------------------
// Creation and destruction

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void* /*pContext*/) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, nullptr);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, void* lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    WrappedExtent(rect.left, rect.right), WrappedExtent(rect.top, rect.bottom), SafeHwndOf(pParentWnd),
                    nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, MenuOrId nIDorHMenu, void* lpParam) {
    if (m_hWnd || !m_bridge)
        return FALSE;
    // A window under the desktop is a top-level window.
    if (IsDesktop(hWndParent)) {
        hWndParent = nullptr;
        dwStyle &= ~WS_CHILD;
    }
    const bool child = (dwStyle & WS_CHILD) != 0;
    QWidget* parentWidget = IsWindow(hWndParent) ? hWndParent->GetHostWidget() : nullptr;
    if (child && !parentWidget)
        return FALSE;
    if (!child && parentWidget)
        parentWidget = parentWidget->window();

    Qt::WindowFlags flags;
    if (!child) {
        if ((dwStyle & WS_POPUP) && (dwExStyle & WS_EX_TOOLWINDOW) && (dwExStyle & WS_EX_TOPMOST))
            flags = Qt::ToolTip | Qt::FramelessWindowHint;
        else if ((dwStyle & WS_POPUP) && !(dwStyle & WS_CAPTION))
            flags = Qt::Window | Qt::FramelessWindowHint;
        else if (dwExStyle & WS_EX_TOOLWINDOW)
            flags = Qt::Tool;
        else
            flags = Qt::Window;
        if (dwExStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
    }
    const std::string className = lpszClassName && !IS_INTRESOURCE(lpszClassName) ? lpszClassName : "";
    auto* host = new CHostWidget(parentWidget, flags);
    host->SetClassName(className);
    if (!child && (dwExStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)))
        host->setAttribute(Qt::WA_ShowWithoutActivating, true);
    // On a window of its own the bit of WS_TABSTOP is the maximise box: only a child is a tab stop.
    host->setFocusPolicy(child && (dwStyle & WS_TABSTOP) ? Qt::TabFocus : Qt::NoFocus);
    SetWidgetStyle(host, dwStyle & ~(WS_VISIBLE | WS_DISABLED));
    SetWidgetExStyle(host, dwExStyle);
    if (child)
        SetWidgetCtrlId(host, static_cast<int>(nIDorHMenu.Value()));
    host->setVisible(false);
    if (dwStyle & WS_DISABLED)
        host->setEnabled(false);

    if (x == CW_USEDEFAULT)
        x = y = 0;
    if (nWidth == CW_USEDEFAULT)
        nWidth = nHeight = 0;
    const QPoint origin = child ? ClientOriginOf(parentWidget) : QPoint(0, 0);
    host->setGeometry(Coordinate(int64_t{x} + origin.x()), Coordinate(int64_t{y} + origin.y()), Extent(nWidth),
                      Extent(nHeight));
    host->Relayout();

    AttachWidget(host, true, true);
    if (!m_hWnd) {
        delete host;
        return FALSE;
    }
    if (lpszWindowName)
        m_bridge->m_identity.text = lpszWindowName;
    if (!child)
        CTopLevelFrame::SetTitle(host, lpszWindowName ? lpszWindowName : "");
    if (!child && IsWindow(hWndParent))
        m_bridge->m_identity.owner = hWndParent;

    CREATESTRUCT cs{
        lpParam,        nullptr,       nullptr,  hWndParent, nHeight, nWidth, y, x, static_cast<LONG>(dwStyle),
        lpszWindowName, lpszClassName, dwExStyle};
    const LRESULT created = Dispatch(this, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
    if (!IsLive(this))
        return FALSE;
    if (created == -1) {
        DestroyWindow();
        return FALSE;
    }
    if (!m_hWnd)
        return FALSE;
    m_bridge->SyncGeometry(true);
    if (m_hWnd && (dwStyle & WS_VISIBLE))
        ShowWindow((dwExStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) ? SW_SHOWNA : SW_SHOW);
    return m_hWnd ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd || !m_bridge || IsDesktop(this))
        return FALSE;
    QPointer<QWidget> widget = m_bridge->m_qt.widget;
    // An attached top-level widget may live on its creator's stack: it is hidden and let go, not deleted.
    const bool owned = m_bridge->m_qt.owned || (widget && !widget->isWindow());
    if (widget && !widget->isHidden()) {
        m_bridge->m_reported.inShowWindow = true;
        widget->hide();
        if (IsLive(this) && m_bridge)
            m_bridge->m_reported.inShowWindow = false;
    }
    if (Capture() == this)
        ReleaseCapture();

    // Children first learn of the destruction after their parent, and are detached before it.
    std::vector<CWnd*> descendants;
    if (widget) {
        for (QWidget* w : widget->findChildren<QWidget*>()) {
            CWnd* wnd = FromWidgetPermanent(w);
            if (wnd && wnd != this)
                descendants.push_back(wnd);
        }
    }
    std::vector<CWnd*> all{this};
    all.insert(all.end(), descendants.begin(), descendants.end());
    for (CWnd* wnd : all)
        if (IsLive(wnd) && wnd->m_hWnd)
            Dispatch(wnd, WM_DESTROY, 0, 0);
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        CWnd* wnd = *it;
        if (!IsLive(wnd) || !wnd->m_hWnd)
            continue;
        Dispatch(wnd, WM_NCDESTROY, 0, 0);
        if (IsLive(wnd) && wnd->m_hWnd) {
            wnd->DetachWidget();
            wnd->PostNcDestroy();
        }
    }
    if (widget && owned) {
        if (InDelivery(widget)) {
            MarkGoneWidget(widget);
            SetWidgetCtrlId(widget, 0);
            widget->deleteLater();
        } else
            delete widget.data();
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------------------
// Identity, relations, style, text

int CWnd::GetDlgCtrlID() const { return WidgetCtrlId(GetHostWidget()); }

int CWnd::SetDlgCtrlID(int nID) {
    const int previous = GetDlgCtrlID();
    SetWidgetCtrlId(GetHostWidget(), nID);
    return previous;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    QWidget* child = FindChildByCtrlId(GetHostWidget(), nID);
    return child ? FromWidget(child) : nullptr;
}

CWnd* CWnd::GetParent() const {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return nullptr;
    if (widget->isWindow())
        return IsWindow(m_bridge->m_identity.owner)
                   ? m_bridge->m_identity.owner
                   : (widget->parentWidget() ? FromWidget(widget->parentWidget()) : nullptr);
    QWidget* parent = widget->parentWidget();
    return parent ? FromWidget(parent) : nullptr;
}

CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return nullptr;
    CWnd* previous = GetParent();
    QWidget* parent = pWndNewParent ? pWndNewParent->GetHostWidget() : nullptr;
    const bool visible = !widget->isHidden();
    const QRect geometry = widget->geometry();
    widget->setParent(parent, parent ? Qt::Widget : Qt::Window);
    widget->setGeometry(geometry);
    if (visible)
        widget->show();
    return previous;
}

CWnd* CWnd::GetOwner() const {
    if (IsWindow(m_bridge ? m_bridge->m_identity.owner : nullptr))
        return m_bridge->m_identity.owner;
    return GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd) {
    if (m_bridge)
        m_bridge->m_identity.owner = pOwnerWnd;
}

CWnd* CWnd::GetTopLevelParent() const {
    QWidget* widget = GetHostWidget();
    return widget ? FromWidget(widget->window()) : nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (CWnd* parent = GetParent(); parent; parent = parent->GetParent())
        if (auto* frame = dynamic_cast<CFrameWnd*>(parent))
            return frame;
    return nullptr;
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const {
    QWidget* dialog = GetHostWidget();
    if (!dialog)
        return nullptr;
    QWidget* start = IsWindow(pWndCtl) ? pWndCtl->GetHostWidget() : nullptr;
    if (!start || !dialog->isAncestorOf(start))
        start = dialog;
    // Qt's focus chain is the tab order; only controls of this dialog (with an id, not parts of a control) count.
    for (QWidget* w = bPrevious ? start->previousInFocusChain() : start->nextInFocusChain(); w && w != start;
         w = bPrevious ? w->previousInFocusChain() : w->nextInFocusChain()) {
        if (dialog->isAncestorOf(w) && w->window() == dialog->window() && WidgetCtrlId(w) != 0 && w->isVisible() &&
            w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
            return FromWidget(w);
    }
    return nullptr;
}

BOOL CWnd::IsChild(const CWnd* pWnd) const {
    QWidget* widget = GetHostWidget();
    QWidget* other = IsWindow(const_cast<CWnd*>(pWnd)) ? pWnd->GetHostWidget() : nullptr;
    if (!widget || !other || other == widget)
        return FALSE;
    for (QWidget* w = other->parentWidget(); w; w = w->parentWidget()) {
        if (w == widget)
            return TRUE;
        if (w->isWindow())
            break;
    }
    return FALSE;
}

DWORD CWnd::GetStyle() const {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return 0;
    DWORD style = WidgetStyle(widget) & ~(WS_VISIBLE | WS_DISABLED);
    const bool hidden = widget->isWindow() ? !widget->isVisible()
                                           : (widget->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
                                              widget->testAttribute(Qt::WA_WState_Hidden));
    if (!hidden)
        style |= WS_VISIBLE;
    if (widget->testAttribute(Qt::WA_ForceDisabled))
        style |= WS_DISABLED;
    return style;
}

DWORD CWnd::GetExStyle() const { return WidgetExStyle(GetHostWidget()); }

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return FALSE;
    const DWORD old = GetStyle();
    const DWORD now = (old & ~dwRemove) | dwAdd;
    if (now == old)
        return FALSE;
    SetWidgetStyle(widget, now & ~(WS_VISIBLE | WS_DISABLED));
    if ((now ^ old) & WS_DISABLED)
        widget->setEnabled(!(now & WS_DISABLED));
    if ((now ^ old) & WS_VISIBLE)
        widget->setVisible((now & WS_VISIBLE) != 0);
    if (m_bridge->m_qt.host) {
        m_bridge->SyncGeometry();
        widget->update();
    }
    (void)nFlags;
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return FALSE;
    const DWORD old = GetExStyle();
    const DWORD now = (old & ~dwRemove) | dwAdd;
    if (now == old)
        return FALSE;
    SetWidgetExStyle(widget, now);
    if (m_bridge->m_qt.host) {
        m_bridge->SyncGeometry();
        widget->update();
    }
    (void)nFlags;
    return TRUE;
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString ? lpszString : ""));
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    if (!lpszStringBuf || nMaxCount <= 0)
        return 0;
    return static_cast<int>(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                                                 reinterpret_cast<LPARAM>(lpszStringBuf)));
}

void CWnd::GetWindowText(CString& rString) const {
    const int length = GetWindowTextLength();
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowText(buffer.data(), length + 1);
    rString = CString(buffer.data(), copied);
}

int CWnd::GetWindowTextLength() const {
    return static_cast<int>(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXTLENGTH, 0, 0));
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    return AfxMessageBoxWithCaption(lpszText ? lpszText : "", lpszCaption ? lpszCaption : "", nType);
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(const_cast<CWnd*>(this)->SendMessage(WM_GETFONT, 0, 0)));
}

// ---------------------------------------------------------------------------------------------------------------
// State

BOOL CWnd::ShowWindow(int nCmdShow) {
    QWidget* widget = GetHostWidget();
    if (!widget || IsDesktop(this))
        return FALSE;
    const BOOL wasVisible = (GetStyle() & WS_VISIBLE) ? TRUE : FALSE;
    const bool show = nCmdShow != SW_HIDE;
    if (show != static_cast<bool>(wasVisible)) {
        Dispatch(this, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (!IsLive(this) || !m_hWnd)
            return wasVisible;
    }
    m_bridge->m_reported.inShowWindow = true;
    switch (nCmdShow) {
    case SW_HIDE: widget->hide(); break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
    case SW_SHOWMINNOACTIVE:
        widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
        widget->show();
        break;
    case SW_SHOWMAXIMIZED: widget->showMaximized(); break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED: widget->showMinimized(); break;
    default:
        widget->show();
        if (widget->isWindow() && !widget->testAttribute(Qt::WA_ShowWithoutActivating)) {
            RaiseWidget(widget);
            widget->activateWindow();
            // Active at once, as the platform makes a window it shows: its first paint shows it active, with the
            // focus where activation puts it, instead of a second paint once the window system confirms it.
            QApplication::setActiveWindow(widget);
        }
        break;
    }
    if (IsLive(this) && m_bridge)
        m_bridge->m_reported.inShowWindow = false;
    if (show && !wasVisible && IsLive(this) && m_hWnd && m_bridge->m_qt.host) {
        m_bridge->SyncGeometry();
        Invalidate(TRUE);
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    QWidget* widget = GetHostWidget();
    return widget && widget->isVisible() ? TRUE : FALSE;
}

BOOL CWnd::IsWindowEnabled() const {
    QWidget* widget = GetHostWidget();
    return widget && !widget->testAttribute(Qt::WA_ForceDisabled) ? TRUE : FALSE;
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return FALSE;
    const BOOL wasDisabled = IsWindowEnabled() ? FALSE : TRUE;
    widget->setEnabled(bEnable != FALSE);
    return wasDisabled;
}

// ---------------------------------------------------------------------------------------------------------------
// Focus, capture, activation

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    QWidget* widget = GetHostWidget();
    if (!widget)
        return previous;
    if (!widget->window()->isActiveWindow() && widget->window()->isVisible())
        widget->window()->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return nullptr;
    // A composite control's inner widget stands for the control that carries the window object or the id.
    for (QWidget* w = focus; w; w = w->parentWidget()) {
        if (FromWidgetPermanent(w) || WidgetCtrlId(w) != 0)
            return FromWidget(w);
        if (w->isWindow())
            break;
    }
    return FromWidget(focus);
}

CWnd* CWnd::SetCapture() {
    CWnd* previous = IsLive(Capture()) ? Capture() : nullptr;
    QWidget* widget = GetHostWidget();
    if (!widget)
        return previous;
    if (previous == this)
        return previous;
    Capture() = this;
    if (previous && previous->GetHostWidget() && QWidget::mouseGrabber() == previous->GetHostWidget())
        previous->GetHostWidget()->releaseMouse();
    if (widget->isVisible() && QGuiApplication::platformName() != QLatin1String("offscreen"))
        widget->grabMouse();
    if (previous && previous->m_hWnd)
        Dispatch(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(this));
    return previous;
}

CWnd* CWnd::GetCapture() { return IsLive(Capture()) && Capture()->m_hWnd ? Capture() : nullptr; }

CWnd* CWnd::GetActiveWindow() {
    QWidget* active = QApplication::activeWindow();
    return active ? FromWidget(active) : nullptr;
}

CWnd* CWnd::GetForegroundWindow() { return GetActiveWindow(); }

CWnd* CWnd::GetDesktopWindow() {
    // Made on first use and kept for the run; an unshown widget the size of the screen.
    CWnd*& desktop = DesktopWnd();
    if (!desktop) {
        auto* widget = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint);
        widget->setAttribute(Qt::WA_DontShowOnScreen, true);
        desktop = new CWnd;
        desktop->Attach(widget);
    }
    if (QWidget* widget = desktop->GetHostWidget())
        widget->setGeometry(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return desktop;
}

CWnd* CWnd::SetActiveWindow() {
    CWnd* previous = GetActiveWindow();
    if (QWidget* widget = GetHostWidget())
        widget->window()->activateWindow();
    return previous;
}

BOOL CWnd::SetForegroundWindow() {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return FALSE;
    RaiseWidget(widget->window());
    widget->window()->activateWindow();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------------------
// Timers

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    if (!GetHostWidget())
        return 0;
    KillTimer(nIDEvent);
    // The platform raises intervals below 10 ms to 10 ms.
    const int interval = static_cast<int>(std::clamp<UINT>(nElapse, 10, 0x7FFFFFFF));
    const int qtId = m_bridge->startTimer(interval, Qt::PreciseTimer);
    if (!qtId)
        return 0;
    m_bridge->m_timers[nIDEvent] = CWndBridge::Timer{qtId, lpfnTimer};
    return nIDEvent ? nIDEvent : 1;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    if (!m_bridge)
        return FALSE;
    auto it = m_bridge->m_timers.find(nIDEvent);
    if (it == m_bridge->m_timers.end())
        return FALSE;
    m_bridge->killTimer(it->second.qtId);
    m_bridge->m_timers.erase(it);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------------------
// Default handlers

int CWnd::OnCreate(LPCREATESTRUCT /*lpCreateStruct*/) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() {
    Default();
    if (!m_hWnd)
        return;
    DetachWidget();
    PostNcDestroy();
}
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() {
    if (GetHost())
        CPaintDC dc(this); // validates; draws nothing
    else
        Default();
}
BOOL CWnd::OnEraseBkgnd(CDC* /*pDC*/) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/) { Default(); }
void CWnd::OnMove(int /*x*/, int /*y*/) { Default(); }
void CWnd::OnShowWindow(BOOL /*bShow*/, UINT /*nStatus*/) { Default(); }
void CWnd::OnEnable(BOOL /*bEnable*/) { Default(); }
void CWnd::OnActivate(UINT /*nState*/, CWnd* /*pWndOther*/, BOOL /*bMinimized*/) { Default(); }
void CWnd::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
void CWnd::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
void CWnd::OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
void CWnd::OnRButtonDown(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
void CWnd::OnRButtonUp(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
void CWnd::OnRButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
void CWnd::OnMButtonDown(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
void CWnd::OnMButtonUp(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
void CWnd::OnMButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
void CWnd::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
BOOL CWnd::OnMouseWheel(UINT /*nFlags*/, short /*zDelta*/, CPoint /*pt*/) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseLeave() { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint /*point*/) { return Default(); }
void CWnd::OnNcCalcSize(BOOL /*bCalcValidRects*/, NCCALCSIZE_PARAMS* /*lpncsp*/) { Default(); }
BOOL CWnd::OnSetCursor(CWnd* /*pWnd*/, UINT /*nHitTest*/, UINT /*message*/) { return static_cast<BOOL>(Default()); }
void CWnd::OnCaptureChanged(CWnd* /*pWnd*/) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnKeyDown(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/) { Default(); }
void CWnd::OnKeyUp(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/) { Default(); }
void CWnd::OnSysKeyDown(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/) { Default(); }
void CWnd::OnSysKeyUp(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/) { Default(); }
void CWnd::OnChar(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/) { Default(); }
void CWnd::OnSysChar(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnSetFocus(CWnd* /*pOldWnd*/) { Default(); }
void CWnd::OnKillFocus(CWnd* /*pNewWnd*/) { Default(); }
void CWnd::OnTimer(UINT_PTR /*nIDEvent*/) { Default(); }
void CWnd::OnHScroll(UINT /*nSBCode*/, UINT /*nPos*/, CScrollBar* /*pScrollBar*/) { Default(); }
void CWnd::OnVScroll(UINT /*nSBCode*/, UINT /*nPos*/, CScrollBar* /*pScrollBar*/) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnContextMenu(CWnd* /*pWnd*/, CPoint /*pos*/) { Default(); }
void CWnd::OnInitMenuPopup(CMenu* /*pPopupMenu*/, UINT /*nIndex*/, BOOL /*bSysMenu*/) { Default(); }

void CWnd::OnMeasureItem(int /*nIDCtl*/, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct && lpMeasureItemStruct->CtlType == ODT_MENU)
        if (CMenu* menu = CMenu::FromHandlePermanent(CMenuStyle::GetMeasuringMenu())) {
            menu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    Default();
}

void CWnd::OnDrawItem(int /*nIDCtl*/, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct && lpDrawItemStruct->CtlType == ODT_MENU)
        if (CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem))) {
            menu->DrawItem(lpDrawItemStruct);
            return;
        }
    // A control's drawing goes back to the control (reflection).
    if (lpDrawItemStruct && lpDrawItemStruct->CtlType != ODT_MENU) {
        CWnd* control = FromHandlePermanent(lpDrawItemStruct->hwndItem);
        LRESULT result = 0;
        if (control && control != this &&
            control->OnChildNotify(WM_DRAWITEM, static_cast<WPARAM>(lpDrawItemStruct->CtlID),
                                   reinterpret_cast<LPARAM>(lpDrawItemStruct), &result))
            return;
    }
    Default();
}

LRESULT CWnd::OnMenuChar(UINT /*nChar*/, UINT /*nFlags*/, CMenu* /*pMenu*/) { return Default(); }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // A control's notification goes back to the control first (reflection).
    auto* control = reinterpret_cast<CWnd*>(lParam);
    if (control && control != this && FromHandlePermanent(control)) {
        LRESULT result = 0;
        if (control->OnChildNotify(WM_COMMAND, wParam, lParam, &result))
            return TRUE;
    }
    const auto id = LOWORD(static_cast<uint32_t>(wParam));
    // Menus and accelerators carry no control; their code counts as a plain command.
    const int code = lParam ? HIWORD(static_cast<uint32_t>(wParam)) : CN_COMMAND;
    return OnCmdMsg(id, code, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header)
        return FALSE;
    if (header->hwndFrom && header->hwndFrom != this && FromHandlePermanent(header->hwndFrom) &&
        header->hwndFrom->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    NotifyInfo info{header, pResult};
    return OnCmdMsg(static_cast<UINT>(header->idFrom), CN_NOTIFY, &info);
}

BOOL CWnd::OnChildNotify(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT* /*pResult*/) { return FALSE; }

HBRUSH CWnd::CtlColor(CDC* /*pDC*/, UINT /*nCtlColor*/) { return nullptr; }

// ---------------------------------------------------------------------------------------------------------------
// Background and synthesised keys

// WM_ERASEBKGND gets a DC on what the paint draws on, clipped to the rectangle being painted.
void CWnd::SendEraseBackground(CWnd* wnd) {
    const CRect paint = wnd->GetPaintRect();
    if (paint.IsRectEmpty())
        return;
    CDC dc;
    if (!dc.Attach(NewWindowDC(wnd, WindowSurfaceOf(wnd), nullptr)))
        return;
    dc.IntersectClipRect(&paint);
    const bool erased = Dispatch(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0) != 0;
    if (IsLive(wnd))
        wnd->m_bridge->m_paint.erased = erased;
}

LRESULT CWnd::EraseWithClassBackground(WPARAM dc) {
    auto* pDC = reinterpret_cast<CDC*>(dc);
    COLORREF color = 0;
    if (!pDC || !GetHost() || !WindowClassBackground(m_bridge->m_identity.windowClass, &color))
        return FALSE;
    const CRect paint = GetPaintRect();
    pDC->FillSolidRect(&paint, color);
    return TRUE;
}

void CWnd::SynthesizeKey(UINT vk, bool down) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return;
    static const std::pair<UINT, int> kKeys[] = {
        {VK_LEFT, Qt::Key_Left},     {VK_RIGHT, Qt::Key_Right},    {VK_UP, Qt::Key_Up},
        {VK_DOWN, Qt::Key_Down},     {VK_HOME, Qt::Key_Home},      {VK_END, Qt::Key_End},
        {VK_PRIOR, Qt::Key_PageUp},  {VK_NEXT, Qt::Key_PageDown},  {VK_DELETE, Qt::Key_Delete},
        {VK_INSERT, Qt::Key_Insert}, {VK_BACK, Qt::Key_Backspace}, {VK_RETURN, Qt::Key_Return},
        {VK_ESCAPE, Qt::Key_Escape}, {VK_TAB, Qt::Key_Tab},
    };
    for (const auto& [code, key] : kKeys) {
        if (code != vk)
            continue;
        QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier);
        static_cast<QObject*>(widget)->event(&event);
        return;
    }
}
