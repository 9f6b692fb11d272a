#include "WndBridge.h"

#include "Cursor.h"
#include "HostWidget.h"
#include "LockKeyState.h"
#include "platform/gui/draw/DC.h"

#include "platform/os/LastError.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextEdit>

#include <algorithm>
#include <map>
#include <vector>

using namespace wndimpl;

// ---------------------------------------------------------------------------------------------------------------
// Free functions on handles

BOOL IsWindow(HWND hWnd) { return IsLive(hWnd) && hWnd->m_hWnd ? TRUE : FALSE; }

bool WndObjectExists(const CWnd* wnd) { return IsLive(wnd); }

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindow(hWnd) ? hWnd->SendMessage(message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindow(hWnd) ? hWnd->PostMessage(message, wParam, lParam) : FALSE;
}

LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindow(hWnd) ? hWnd->CWnd::DefWindowProc(message, wParam, lParam) : 0;
}

HWND GetFocus() { return CWnd::GetFocus(); }

HWND SetFocus(HWND hWnd) {
    if (!IsWindow(hWnd)) {
        HWND previous = CWnd::GetFocus();
        if (QWidget* focus = QApplication::focusWidget())
            focus->clearFocus();
        return previous;
    }
    return hWnd->SetFocus();
}

HWND GetCapture() { return CWnd::GetCapture(); }

HWND SetCapture(HWND hWnd) { return IsWindow(hWnd) ? hWnd->SetCapture() : CWnd::GetCapture(); }

// After the capture goes, the window under the pointer hears of the pointer again, as a move where it stands, so
// that it shows its own cursor and state at once (a grid over a divider, a hot button), as on the platform.
static void PostMoveUnderPointer() {
    const auto pos = static_cast<LPARAM>(GetMessagePos());
    CPoint point(GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
    CWnd* target = WindowFromPoint(point);
    if (!IsWindow(target) || !target->GetHost())
        return;
    target->ScreenToClient(&point);
    target->PostMessage(WM_MOUSEMOVE, MouseKeyFlags(Keys().buttons, Keys().modifiers),
                        MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

BOOL ReleaseCapture() {
    CWnd* previous = IsLive(Capture()) ? Capture() : nullptr;
    Capture() = nullptr;
    if (previous && previous->GetHostWidget() && QWidget::mouseGrabber() == previous->GetHostWidget())
        previous->GetHostWidget()->releaseMouse();
    if (previous && previous->m_hWnd) {
        Dispatch(previous, WM_CAPTURECHANGED, 0, 0);
        PostMoveUnderPointer();
    }
    return TRUE;
}

HWND GetActiveWindow() { return CWnd::GetActiveWindow(); }

HWND GetParent(HWND hWnd) { return IsWindow(hWnd) ? hWnd->GetParent() : nullptr; }

BOOL IsWindowVisible(HWND hWnd) { return IsWindow(hWnd) ? hWnd->IsWindowVisible() : FALSE; }

BOOL IsWindowEnabled(HWND hWnd) { return IsWindow(hWnd) ? hWnd->IsWindowEnabled() : FALSE; }

BOOL EnableWindow(HWND hWnd, BOOL bEnable) { return IsWindow(hWnd) ? hWnd->EnableWindow(bEnable) : FALSE; }

BOOL ShowWindow(HWND hWnd, int nCmdShow) { return IsWindow(hWnd) ? hWnd->ShowWindow(nCmdShow) : FALSE; }

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    if (!IsWindow(hWnd) || !lpRect)
        return FALSE;
    hWnd->GetClientRect(lpRect);
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    if (!IsWindow(hWnd) || !lpRect)
        return FALSE;
    hWnd->GetWindowRect(lpRect);
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    if (!IsWindow(hWnd) || !lpPoint)
        return FALSE;
    hWnd->ScreenToClient(lpPoint);
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    if (!IsWindow(hWnd) || !lpPoint)
        return FALSE;
    hWnd->ClientToScreen(lpPoint);
    return TRUE;
}

BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase) {
    if (!IsWindow(hWnd))
        return FALSE;
    hWnd->InvalidateRect(lpRect, bErase);
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags) {
    if (!IsWindow(hWnd))
        return FALSE;
    const CWnd* after = hWndInsertAfter;
    if (hWndInsertAfter == HWND_TOP)
        after = &CWnd::wndTop;
    else if (hWndInsertAfter == HWND_BOTTOM)
        after = &CWnd::wndBottom;
    else if (hWndInsertAfter == HWND_TOPMOST)
        after = &CWnd::wndTopMost;
    else if (hWndInsertAfter == HWND_NOTOPMOST)
        after = &CWnd::wndNoTopMost;
    return hWnd->SetWindowPos(after, x, y, cx, cy, uFlags);
}

LONG GetWindowLong(HWND hWnd, int nIndex) {
    if (!IsWindow(hWnd))
        return 0;
    switch (nIndex) {
    case GWL_STYLE: return static_cast<LONG>(hWnd->GetStyle());
    case GWL_EXSTYLE: return static_cast<LONG>(hWnd->GetExStyle());
    case GWL_ID: return hWnd->GetDlgCtrlID();
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}

LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong) {
    if (!IsWindow(hWnd))
        return 0;
    const LONG previous = GetWindowLong(hWnd, nIndex);
    switch (nIndex) {
    case GWL_STYLE: {
        const auto now = static_cast<DWORD>(dwNewLong);
        hWnd->ModifyStyle(~now, now);
        break;
    }
    case GWL_EXSTYLE: {
        const auto now = static_cast<DWORD>(dwNewLong);
        hWnd->ModifyStyleEx(~now, now);
        break;
    }
    case GWL_ID: hWnd->SetDlgCtrlID(dwNewLong); break;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
    return previous;
}

HWND WindowFromPoint(POINT point) {
    QWidget* widget = QApplication::widgetAt(QPoint(point.x, point.y));
    if (!widget)
        return nullptr;
    // The standard scroll bars belong to their window, as on the platform.
    if (dynamic_cast<CHostWidget*>(widget->parentWidget()) && qobject_cast<QScrollBar*>(widget))
        widget = widget->parentWidget();
    return CWnd::FromWidget(widget);
}

short GetKeyState(int nVirtKey) {
    if (nVirtKey < 0 || nVirtKey > 255)
        return 0;
    const KeyState& keys = Keys();
    bool down = keys.down[static_cast<size_t>(nVirtKey)];
    switch (static_cast<UINT>(nVirtKey)) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT: down = (keys.modifiers & Qt::ShiftModifier) != 0; break;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL: down = (keys.modifiers & Qt::ControlModifier) != 0; break;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU: down = (keys.modifiers & Qt::AltModifier) != 0; break;
    case VK_LBUTTON: down = (keys.buttons & Qt::LeftButton) != 0; break;
    case VK_RBUTTON: down = (keys.buttons & Qt::RightButton) != 0; break;
    case VK_MBUTTON: down = (keys.buttons & Qt::MiddleButton) != 0; break;
    default: break;
    }
    // The high bit tells a key that is down, the low bit a lock key that is on, as the platform reports them.
    const short toggled = CLockKeyState::IsOn(static_cast<UINT>(nVirtKey)) ? 1 : 0;
    return static_cast<short>((down ? static_cast<short>(0xFF80) : 0) | toggled);
}

short GetAsyncKeyState(int vKey) { return GetKeyState(vKey) < 0 ? static_cast<short>(0x8000) : 0; }

DWORD GetMessagePos() {
    if (Keys().messagePos == 0) {
        POINT p{0, 0};
        GetCursorPos(&p);
        return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    return Keys().messagePos;
}

DWORD GetMessageTime() { return Keys().messageTime; }

HWND GetForegroundWindow() { return CWnd::GetForegroundWindow(); }

HWND GetDesktopWindow() { return CWnd::GetDesktopWindow(); }

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    return IsWindow(hDlg) ? hDlg->GetNextDlgTabItem(hCtl, bPrevious) : nullptr;
}

namespace {

// A window property may not name one of Qt's own properties, which would change the widget.
QWidget* PropertyWidget(HWND hWnd, LPCTSTR name) {
    if (!IsWindow(hWnd) || !name || IS_INTRESOURCE(name) || !*name)
        return nullptr;
    QWidget* widget = hWnd->GetHostWidget();
    return widget && widget->metaObject()->indexOfProperty(name) < 0 ? widget : nullptr;
}

} // namespace

BOOL SetProp(HWND hWnd, LPCTSTR lpString, HANDLE hData) {
    QWidget* widget = PropertyWidget(hWnd, lpString);
    if (!widget)
        return FALSE;
    widget->setProperty(lpString, QVariant::fromValue(reinterpret_cast<quintptr>(hData)));
    return TRUE;
}

HANDLE GetProp(HWND hWnd, LPCTSTR lpString) {
    QWidget* widget = PropertyWidget(hWnd, lpString);
    const QVariant value = widget ? widget->property(lpString) : QVariant();
    return value.isValid() ? reinterpret_cast<HANDLE>(static_cast<quintptr>(value.toULongLong())) : nullptr;
}

HANDLE RemoveProp(HWND hWnd, LPCTSTR lpString) {
    HANDLE previous = GetProp(hWnd, lpString);
    if (QWidget* widget = PropertyWidget(hWnd, lpString))
        widget->setProperty(lpString, QVariant());
    return previous;
}

int GetClassName(HWND hWnd, LPTSTR lpClassName, int nMaxCount) {
    if (!IsWindow(hWnd) || !lpClassName || nMaxCount <= 0)
        return 0;
    const QWidget* widget = hWnd->GetHostWidget();
    std::string name;
    if (IsDesktop(hWnd))
        name = "#32769";
    else if (const CHostWidget* host = hWnd->GetHost())
        name = host->ClassName().empty() ? "AfxWnd" : host->ClassName();
    else if (widget->inherits("QMenu"))
        name = "#32768";
    else if (widget->inherits("QDialog"))
        name = "#32770";
    else if (widget->inherits("QAbstractButton") || widget->inherits("QGroupBox"))
        name = "Button";
    else if (widget->inherits("QLineEdit") || widget->inherits("QTextEdit") || widget->inherits("QPlainTextEdit"))
        name = "Edit";
    else if (widget->inherits("QComboBox"))
        name = "ComboBox";
    else if (widget->inherits("QLabel"))
        name = "Static";
    else if (widget->inherits("QScrollBar"))
        name = "ScrollBar";
    else if (widget->inherits("CListViewWidget"))
        name = "SysListView32";
    else if (widget->inherits("QListWidget"))
        name = "ListBox";
    else if (widget->inherits("QTabWidget"))
        name = "SysTabControl32";
    else
        name = widget->metaObject()->className();
    const size_t n = std::min(name.size(), static_cast<size_t>(nMaxCount - 1));
    std::copy_n(name.data(), n, lpClassName);
    lpClassName[n] = '\0';
    return static_cast<int>(n);
}

namespace {
std::map<HDC, CDC*>& HandleDCs() {
    static std::map<HDC, CDC*> dcs;
    return dcs;
}
} // namespace

HDC GetDC(HWND hWnd) {
    if (!hWnd || IsDesktop(hWnd))
        return GetScreenDC();
    CDC* dc = IsWindow(hWnd) ? hWnd->GetDC() : nullptr;
    if (!dc)
        return nullptr;
    HandleDCs()[dc->GetSafeHdc()] = dc;
    return dc->GetSafeHdc();
}

int ReleaseDC(HWND hWnd, HDC hDC) {
    if (!hDC)
        return 0;
    auto it = HandleDCs().find(hDC);
    if (it != HandleDCs().end()) {
        CDC* dc = it->second;
        HandleDCs().erase(it);
        delete dc;
        return 1;
    }
    if (!hWnd || IsDesktop(hWnd))
        return ReleaseScreenDC(hDC) ? 1 : 0;
    return 0;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) {
    if (!lpEventTrack || !IsWindow(lpEventTrack->hwndTrack))
        return FALSE;
    CWnd* wnd = lpEventTrack->hwndTrack;
    if (lpEventTrack->dwFlags & (TME_HOVER | TME_NONCLIENT)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return FALSE;
    }
    if (lpEventTrack->dwFlags & TME_QUERY) {
        lpEventTrack->dwFlags = wnd->m_bridge->m_input.trackLeave ? TME_LEAVE : 0;
        return TRUE;
    }
    if (lpEventTrack->dwFlags & TME_LEAVE)
        wnd->m_bridge->m_input.trackLeave = !(lpEventTrack->dwFlags & TME_CANCEL);
    return TRUE;
}

void BroadcastSysColorChange() {
    std::vector<QPointer<QWidget>> widgets;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        widgets.emplace_back(top);
        for (QWidget* child : top->findChildren<QWidget*>())
            widgets.emplace_back(child);
    }
    for (const QPointer<QWidget>& widget : widgets)
        if (widget)
            if (CWnd* wnd = CWnd::FromWidgetPermanent(widget))
                wnd->SendMessage(WM_SYSCOLORCHANGE, 0, 0);
}

void SetDialogManager(QWidget* widget, bool on) {
    if (widget)
        widget->setProperty(kDialogManagerProperty, on);
}
