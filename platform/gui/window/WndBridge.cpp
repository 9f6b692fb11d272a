#include "WndBridge.h"

#include "HostWidget.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/controls/Edit.h"
#include "platform/gui/controls/ListCtrl.h"
#include "platform/gui/controls/ListViewWidget.h"
#include "platform/gui/controls/Static.h"

#include "platform/os/System.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// ---------------------------------------------------------------------------------------------------------------
// Process-wide state of the window layer.

namespace wndimpl {

// The registries live until the process ends, so window objects with static storage may still use them
// while statics are destroyed.
std::unordered_set<const CWnd*>& Live() {
    static auto* live = new std::unordered_set<const CWnd*>;
    return *live;
}

std::unordered_map<const QWidget*, CWnd*>& Attached() {
    static auto* attached = new std::unordered_map<const QWidget*, CWnd*>;
    return *attached;
}

// Plain window objects handed out for widgets without one; freed with their widget.
std::unordered_map<const QWidget*, std::vector<CWnd*>>& Wrappers() {
    static auto* wrappers = new std::unordered_map<const QWidget*, std::vector<CWnd*>>;
    return *wrappers;
}

// The object handed out for a widget no object is bound to: of the control's own class, so that casting it to
// that class, as dialog code does with GetDlgItem, is sound.
CWnd* NewControlObject(QWidget* widget) {
    if (qobject_cast<QComboBox*>(widget))
        return new CComboBox;
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QGroupBox*>(widget))
        return new CButton;
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QTextEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget))
        return new CEdit;
    if (qobject_cast<QLabel*>(widget))
        return new CStatic;
    if (dynamic_cast<CListViewWidget*>(widget))
        return new CListCtrl;
    return new CWnd;
}

bool IsWrapper(const CWnd* wnd) {
    for (const auto& entry : Wrappers())
        if (std::find(entry.second.begin(), entry.second.end(), wnd) != entry.second.end())
            return true;
    return false;
}

CWnd*& Capture() {
    static CWnd* capture = nullptr;
    return capture;
}

QPointer<QWidget>& LastFocus() {
    static QPointer<QWidget> widget;
    return widget;
}

std::vector<MessageContext>& Contexts() {
    static auto* contexts = new std::vector<MessageContext>;
    return *contexts;
}

// How deep each widget is inside its own dispatch, so that a window destroyed from one of its own handlers
// deletes its widget only after Qt has finished delivering the event.
std::unordered_map<const QWidget*, Delivery>& DispatchDepth() {
    static auto* depth = new std::unordered_map<const QWidget*, Delivery>;
    return *depth;
}

KeyState& Keys() {
    static KeyState state;
    return state;
}

// Message times share GetTickCount's clock, so the two compare as on the platform.
DWORD TickNow() { return GetTickCount(); }

// The desktop window, once asked for.
CWnd*& DesktopWnd() {
    static CWnd* desktop = nullptr;
    return desktop;
}

bool IsDesktop(const CWnd* wnd) { return wnd && wnd == DesktopWnd(); }

QEvent::Type PostedMessageType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
// Offscreen windows cannot be raised; asking only prints a warning.
void RaiseWidget(QWidget* widget) {
    if (!widget->isWindow() || QGuiApplication::platformName() != QLatin1String("offscreen"))
        widget->raise();
}

bool InDialogManager(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<const QDialog*>(w) || w->property(kDialogManagerProperty).toBool())
            return true;
        if (w->isWindow())
            break;
    }
    return false;
}

bool IsLive(const CWnd* wnd) { return wnd && Live().count(wnd) != 0; }

namespace {

std::unordered_set<const QWidget*>& GoneWidgets() {
    static auto* gone = new std::unordered_set<const QWidget*>; // never freed: widgets may go after statics
    return *gone;
}

} // namespace

bool IsGoneWidget(const QWidget* widget) { return !GoneWidgets().empty() && GoneWidgets().count(widget) != 0; }

void MarkGoneWidget(QWidget* widget) {
    if (GoneWidgets().insert(widget).second)
        QObject::connect(widget, &QObject::destroyed, [widget] { GoneWidgets().erase(widget); });
}

QPoint ClientOriginOf(const QWidget* widget) {
    if (auto* host = dynamic_cast<const CHostWidget*>(widget))
        return host->ClientOrigin();
    return QPoint(0, 0);
}

// Coordinates a window may take. Qt's geometry is plain int arithmetic, so anything the program hands over is
// kept well inside that range first; no screen or client area comes near the limit.
constexpr int64_t kCoordinateLimit = 1 << 24;

int Coordinate(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, -kCoordinateLimit, kCoordinateLimit));
}

int Extent(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, 0, 32767)); }

// A program rectangle (right and bottom exclusive, either way round) as a Qt rectangle within that range.
QRect ToQRect(const RECT& r) {
    const int left = Coordinate(std::min(r.left, r.right));
    const int right = Coordinate(std::max(r.left, r.right));
    const int top = Coordinate(std::min(r.top, r.bottom));
    const int bottom = Coordinate(std::max(r.top, r.bottom));
    return QRect(left, top, right - left, bottom - top);
}

// The extent from one edge to the other as the platform's 32-bit arithmetic gives it, wrapping where C++'s
// signed arithmetic would be undefined (0 - CW_USEDEFAULT is CW_USEDEFAULT again).
int WrappedExtent(LONG from, LONG to) {
    return static_cast<int>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
}

std::string QStringToGbkLossy(const QString& text) {
    if (auto gbk = QStringToGbk(text))
        return *gbk;
    // Characters GBK cannot carry become '?', as the platform's conversion does.
    std::string out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            length = 2;
        auto one = QStringToGbk(text.mid(i, length));
        out += one ? *one : std::string("?");
        i += length - 1;
    }
    return out;
}

// Whether Qt is delivering an event to the widget or to one of its descendants, which deleting it would delete.
bool InDelivery(const QWidget* widget) {
    for (const auto& entry : DispatchDepth()) {
        const QWidget* receiver = entry.second.widget.data();
        if (receiver && (receiver == widget || widget->isAncestorOf(receiver)))
            return true;
    }
    return false;
}

} // namespace wndimpl

// ---------------------------------------------------------------------------------------------------------------
// Delivery: a message reaches WindowProc as SendMessage and the message loop hand it over.

namespace wndimpl {

LRESULT Dispatch(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, QEvent* event) {
    MSG msg{wnd, message, wParam, lParam, TickNow(), POINT{0, 0}};
    const DWORD pos = Keys().messagePos;
    msg.pt = POINT{GET_X_LPARAM(static_cast<LPARAM>(pos)), GET_Y_LPARAM(static_cast<LPARAM>(pos))};
    Contexts().push_back({wnd, msg, event});
    LRESULT result = 0;
    {
        DepthGuard guard(wnd->GetHostWidget());
        result = wnd->WindowProc(message, wParam, lParam);
    }
    Contexts().pop_back();
    return result;
}

// Walks PreTranslateMessage from the target up to its top-level window, as the message loop does.
bool PreTranslate(MSG& msg) {
    std::vector<QPointer<QWidget>> chain;
    if (!IsLive(msg.hwnd) || !msg.hwnd->GetHostWidget())
        return false;
    for (QWidget* w = msg.hwnd->GetHostWidget(); w; w = w->parentWidget()) {
        chain.emplace_back(w);
        if (w->isWindow())
            break;
    }
    for (const QPointer<QWidget>& w : chain) {
        if (!w)
            break;
        CWnd* wnd = CWnd::FromWidgetPermanent(w);
        if (wnd && wnd->PreTranslateMessage(&msg))
            return true;
    }
    return false;
}

// Delivers a message the way the message loop does: PreTranslateMessage first, then WindowProc.
void QueuedDispatch(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, QEvent* event) {
    MSG msg{wnd, message, wParam, lParam, TickNow(), POINT{0, 0}};
    Keys().messageTime = msg.time;
    if (PreTranslate(msg))
        return;
    if (IsLive(msg.hwnd) && msg.hwnd->m_hWnd)
        Dispatch(msg.hwnd, msg.message, msg.wParam, msg.lParam, msg.hwnd == wnd ? event : nullptr);
}

} // namespace wndimpl
