#include "Wnd.h"

#include "Button.h"
#include "ClientDC.h"
#include "ComboBox.h"
#include "Cursor.h"
#include "DC.h"
#include "Edit.h"
#include "Font.h"
#include "FrameWnd.h"
#include "GbkString.h"
#include "HostWidget.h"
#include "ListCtrl.h"
#include "ListViewWidget.h"
#include "Menu.h"
#include "MenuStyle.h"
#include "PaintDC.h"
#include "Static.h"
#include "SystemMetrics.h"
#include "TopLevelFrame.h"
#include "WindowClass.h"
#include "WindowDC.h"
#include "WindowRecord.h"

#include "platform/os/LastError.h"
#include "platform/os/System.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QFocusEvent>
#include <QFont>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

// ---------------------------------------------------------------------------------------------------------------
// Process-wide state of the window layer.

namespace {

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

struct MessageContext {
    CWnd* wnd;
    MSG msg;
    QEvent* event;
};

std::vector<MessageContext>& Contexts() {
    static auto* contexts = new std::vector<MessageContext>;
    return *contexts;
}

// How deep each widget is inside its own dispatch, so that a window destroyed from one of its own handlers
// deletes its widget only after Qt has finished delivering the event.
struct Delivery {
    QPointer<QWidget> widget; // null once Qt deleted the widget regardless
    int depth = 0;
};
std::unordered_map<const QWidget*, Delivery>& DispatchDepth() {
    static auto* depth = new std::unordered_map<const QWidget*, Delivery>;
    return *depth;
}

struct KeyState {
    std::array<bool, 256> down{};
    Qt::KeyboardModifiers modifiers;
    Qt::MouseButtons buttons;
    DWORD messagePos = 0;
    DWORD messageTime = 0;
};

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

class PostedMessage : public QEvent {
public:
    PostedMessage(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(PostedMessageType()), m_message(message), m_wParam(wParam), m_lParam(lParam) {}
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

constexpr const char* kDialogManagerProperty = "dialogManager";
// Set on a widget whose window was destroyed while Qt still delivers an event to it.
constexpr const char* kDestroyedProperty = "wndDestroyed";

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

UINT VirtualKeyOf(const QKeyEvent* ke) {
    const int key = ke->key();
    const bool keypad = (ke->modifiers() & Qt::KeypadModifier) != 0;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? VK_NUMPAD0 + static_cast<UINT>(key - Qt::Key_0) : static_cast<UINT>(key);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<UINT>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Select: return VK_SELECT;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Meta:
    case Qt::Key_Super_L: return VK_LWIN;
    case Qt::Key_Super_R: return VK_RWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Asterisk: return keypad ? VK_MULTIPLY : '8';
    case Qt::Key_Plus: return keypad ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus: return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Period: return keypad ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Slash: return keypad ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Comma:
    case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return VK_OEM_7;
    default: return 0;
    }
}

bool IsExtendedKey(UINT vk, bool keypad) {
    switch (vk) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE: return !keypad;
    case VK_DIVIDE:
    case VK_NUMLOCK: return true;
    default: return false;
    }
}

// Builds the lParam of a key message: repeat count, scan code and the KF_ flags in the high word.
LPARAM KeyLParam(const QKeyEvent* ke, UINT vk, bool up, bool alt) {
    UINT flags = ke->nativeScanCode() & 0xFF;
    if (IsExtendedKey(vk, (ke->modifiers() & Qt::KeypadModifier) != 0) ||
        (ke->key() == Qt::Key_Enter && (ke->modifiers() & Qt::KeypadModifier)))
        flags |= KF_EXTENDED;
    if (alt)
        flags |= KF_ALTDOWN;
    if (up)
        flags |= KF_REPEAT | KF_UP;
    else if (ke->isAutoRepeat())
        flags |= KF_REPEAT;
    const WORD repeat = static_cast<WORD>(std::max(1, ke->count()));
    return MAKELPARAM(repeat, static_cast<WORD>(flags));
}

struct CharMessage {
    UINT message;
    WPARAM code;
};

// The character messages a key press or a committed input text gives, in GBK: single bytes as WM_CHAR (or
// WM_SYSCHAR with Alt), double-byte characters as WM_IME_CHAR with the lead byte in the high byte.
std::vector<CharMessage> CharMessagesOf(const QString& text, int key, Qt::KeyboardModifiers mods) {
    std::vector<CharMessage> out;
    const bool ctrl = (mods & Qt::ControlModifier) != 0;
    const bool alt = (mods & Qt::AltModifier) != 0;
    if (key == Qt::Key_Delete)
        return out;
    for (const QChar ch : text) {
        const ushort u = ch.unicode();
        if (u < 0x80) {
            UINT c = u;
            if (ctrl && !alt) {
                if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                    c &= 0x1F;
                else if (c == '[' || c == '\\' || c == ']')
                    c = c - '[' + 27;
                else if (c == '\r')
                    c = '\n';
                else if (c == '\b')
                    c = 0x7F;
                else if (c >= 0x20 && c != ' ')
                    continue;
            }
            if (c == 0x7F && !ctrl)
                continue;
            out.push_back({alt ? WM_SYSCHAR : WM_CHAR, c});
            continue;
        }
        const std::string gbk = QStringToGbkLossy(QString(ch));
        if (gbk.size() == 2)
            out.push_back({WM_IME_CHAR, (static_cast<WPARAM>(static_cast<unsigned char>(gbk[0])) << 8) |
                                            static_cast<unsigned char>(gbk[1])});
        else if (gbk.size() == 1)
            out.push_back({WM_CHAR, static_cast<unsigned char>(gbk[0])});
    }
    return out;
}

UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

// Keeps the state that GetKeyState reports, from every input event the application sees.
class KeyStateTracker : public QObject {
public:
    bool eventFilter(QObject* /*object*/, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* ke = static_cast<QKeyEvent*>(event);
            Keys().modifiers = ke->modifiers();
            if (const UINT vk = VirtualKeyOf(ke); vk && vk < 256)
                Keys().down[vk] = event->type() == QEvent::KeyPress;
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(event);
            Keys().modifiers = me->modifiers();
            Keys().buttons = me->buttons();
            break;
        }
        case QEvent::Wheel: Keys().modifiers = static_cast<QWheelEvent*>(event)->modifiers(); break;
        default: break;
        }
        return false;
    }
};

void EnsureKeyStateTracker() {
    static KeyStateTracker* tracker = nullptr;
    if (!tracker && QCoreApplication::instance()) {
        tracker = new KeyStateTracker;
        tracker->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(tracker);
    }
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

class DepthGuard {
public:
    explicit DepthGuard(QWidget* widget) : m_widget(widget) {
        if (m_widget) {
            Delivery& delivery = DispatchDepth()[m_widget];
            delivery.widget = m_widget;
            ++delivery.depth;
        }
    }
    ~DepthGuard() {
        if (!m_key)
            return;
        auto it = DispatchDepth().find(m_key);
        if (it != DispatchDepth().end() && --it->second.depth <= 0)
            DispatchDepth().erase(it);
    }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    QPointer<QWidget> m_widget;
    const QWidget* m_key = m_widget.data();
};

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// The per-window part that lives on the Qt side: event filter, posted messages, timers, painting state.

class CWndBridge : public QObject {
public:
    explicit CWndBridge(CWnd* wnd) : m_wnd(wnd) {}

    CWnd* m_wnd;
    QPointer<QWidget> m_widget;
    CHostWidget* m_host = nullptr;
    bool m_owned = false;
    QMetaObject::Connection m_destroyed;
    std::vector<QMetaObject::Connection> m_barConnections;

    CWnd* m_owner = nullptr;
    HFONT m_font = nullptr;
    std::string m_text; // host windows keep their text in GBK as given

    QRegion m_invalid; // client coordinates
    bool m_erase = false;
    bool m_inPaint = false;
    bool m_inQtPaint = false;
    QRect m_paintRect;
    QRegion m_paintRegion;
    QImage m_image; // attached widgets only

    bool m_sizeKnown = false;
    QSize m_lastClient;
    bool m_posKnown = false;
    QPoint m_lastPos;
    bool m_inShowWindow = false;
    bool m_ownEnabled = true;

    struct Timer {
        int qtId;
        TIMERPROC proc;
    };
    std::map<UINT_PTR, Timer> m_timers;

    bool m_trackLeave = false;
    QEvent* m_inputEvent = nullptr; // the Qt input event being translated
    bool m_inputForwarded = false;
    bool m_keyHasChars = false;
    int m_pendingLead = -1;

    UINT m_classStyle = CS_DBLCLKS;
    HCURSOR m_classCursor = nullptr;
    WNDCLASS m_class{};

    // The move and size loop that a press on a caption or frame hit code starts.
    int m_sizeMoveHit = HTNOWHERE;
    QPoint m_sizeMoveStart;
    QRect m_sizeMoveGeometry;

    bool eventFilter(QObject* object, QEvent* event) override;
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

    bool HandleMouse(QMouseEvent* me);
    bool HandleWheel(QWheelEvent* we);
    bool HandleKey(QKeyEvent* ke);
    bool HandleKeyUp(QKeyEvent* ke);
    bool DialogTakesKey(QKeyEvent* ke, UINT message, UINT vk, LPARAM lParam);
    bool HandleInputMethod(QInputMethodEvent* ie);
    bool HandlePaint(QPaintEvent* pe);
    void SendChars(const std::vector<CharMessage>& chars, LPARAM lParam);
    void DispatchPaint();
    void SyncGeometry(bool sizeFirst = false);
    bool SyncPosition();
    void RecalcNonClient();
    void ForwardInput();
    bool SizeMoveStep(QMouseEvent* me);
    void ConnectScrollBars();
};

namespace {

LRESULT Dispatch(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, QEvent* event = nullptr) {
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
void QueuedDispatch(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, QEvent* event = nullptr) {
    MSG msg{wnd, message, wParam, lParam, TickNow(), POINT{0, 0}};
    Keys().messageTime = msg.time;
    if (PreTranslate(msg))
        return;
    if (IsLive(msg.hwnd) && msg.hwnd->m_hWnd)
        Dispatch(msg.hwnd, msg.message, msg.wParam, msg.lParam, msg.hwnd == wnd ? event : nullptr);
}

void SetQtText(QWidget* widget, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* textEdit = qobject_cast<QTextEdit*>(widget))
        textEdit->setPlainText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        plain->setPlainText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(text);
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(text);
    } else
        widget->setWindowTitle(text);
}

QString QtText(const QWidget* widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* textEdit = qobject_cast<const QTextEdit*>(widget))
        return textEdit->toPlainText();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return plain->toPlainText();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText();
    return widget->windowTitle();
}

HCURSOR FrameCursor(int hit) {
    switch (hit) {
    case HTLEFT:
    case HTRIGHT: return LoadCursor(nullptr, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM: return LoadCursor(nullptr, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return LoadCursor(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return LoadCursor(nullptr, IDC_SIZENESW);
    default: return LoadCursor(nullptr, IDC_ARROW);
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// Event translation.

bool CWndBridge::eventFilter(QObject* object, QEvent* event) {
    if (object != m_widget || !m_wnd->m_hWnd)
        return false;
    // Qt is delivering this event to the widget: whatever a handler destroys, the widget waits for the delivery
    // to end. The guard lives outside this bridge, which a handler may free.
    DepthGuard delivering(m_widget);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return HandleMouse(static_cast<QMouseEvent*>(event));
    case QEvent::Wheel: return HandleWheel(static_cast<QWheelEvent*>(event));
    case QEvent::KeyPress: return HandleKey(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease: return HandleKeyUp(static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod: return HandleInputMethod(static_cast<QInputMethodEvent*>(event));
    case QEvent::Paint: return HandlePaint(static_cast<QPaintEvent*>(event));
    case QEvent::FocusIn: {
        QWidget* previous = LastFocus();
        LastFocus() = m_widget;
        Dispatch(m_wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous ? CWnd::FromWidget(previous) : nullptr), 0);
        return false;
    }
    case QEvent::FocusOut: {
        LastFocus() = m_widget;
        Dispatch(m_wnd, WM_KILLFOCUS, reinterpret_cast<WPARAM>(CWnd::GetFocus()), 0);
        return false;
    }
    case QEvent::Resize:
    case QEvent::Move: SyncGeometry(); return false;
    case QEvent::Show:
        if (m_host)
            m_wnd->Invalidate(TRUE);
        return false;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (!m_inShowWindow)
            Dispatch(m_wnd, WM_SHOWWINDOW, event->type() == QEvent::ShowToParent ? TRUE : FALSE, 0);
        return false;
    case QEvent::EnabledChange: {
        const bool own = !m_widget->testAttribute(Qt::WA_ForceDisabled);
        if (own != m_ownEnabled) {
            m_ownEnabled = own;
            Dispatch(m_wnd, WM_ENABLE, own ? TRUE : FALSE, 0);
        }
        return false;
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (m_widget->isWindow())
            Dispatch(m_wnd, WM_ACTIVATE, event->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE, 0);
        return false;
    case QEvent::Leave:
        if (m_trackLeave) {
            m_trackLeave = false;
            QueuedDispatch(m_wnd, WM_MOUSELEAVE, 0, 0);
        }
        return false;
    case QEvent::Close:
        if (m_host) {
            event->ignore();
            QueuedDispatch(m_wnd, WM_CLOSE, 0, 0);
            return true;
        }
        return false;
    case QEvent::ContextMenu: return m_host != nullptr;
    default: return false;
    }
}

bool CWndBridge::event(QEvent* event) {
    if (event->type() == PostedMessageType()) {
        auto* posted = static_cast<PostedMessage*>(event);
        if (m_wnd->m_hWnd)
            QueuedDispatch(m_wnd, posted->m_message, posted->m_wParam, posted->m_lParam);
        return true;
    }
    return QObject::event(event);
}

void CWndBridge::timerEvent(QTimerEvent* event) {
    for (const auto& [id, timer] : m_timers) {
        if (timer.qtId != event->timerId())
            continue;
        if (timer.proc)
            timer.proc(m_wnd, WM_TIMER, id, TickNow());
        else
            QueuedDispatch(m_wnd, WM_TIMER, id, 0);
        return;
    }
}

bool CWndBridge::HandleMouse(QMouseEvent* me) {
    const QPoint global = me->globalPosition().toPoint();
    const POINT screen = ClampToCursorClip(POINT{global.x(), global.y()});
    Keys().messagePos = MAKELONG(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));

    // A move or size loop holds the capture and takes every pointer event until the button goes up.
    if (CWnd* looping = IsLive(Capture()) && Capture()->m_hWnd ? Capture() : m_wnd;
        looping->m_bridge->m_sizeMoveHit != HTNOWHERE)
        return looping->m_bridge->SizeMoveStep(me);

    CWnd* target = m_wnd;
    const bool captured = IsLive(Capture()) && Capture()->m_hWnd;
    if (captured)
        target = Capture();
    else if (!m_widget->isEnabled())
        return m_host != nullptr; // a disabled window takes no input

    UINT message = 0;
    const Qt::MouseButton button = me->button();
    const UINT base = button == Qt::LeftButton     ? WM_LBUTTONDOWN
                      : button == Qt::RightButton  ? WM_RBUTTONDOWN
                      : button == Qt::MiddleButton ? WM_MBUTTONDOWN
                                                   : 0;
    switch (me->type()) {
    case QEvent::MouseMove: message = WM_MOUSEMOVE; break;
    case QEvent::MouseButtonPress: message = base; break;
    case QEvent::MouseButtonRelease: message = base ? base + 1 : 0; break;
    case QEvent::MouseButtonDblClick: {
        UINT classStyle = target->m_bridge->m_classStyle;
        message = base ? ((classStyle & CS_DBLCLKS) ? base + 2 : base) : 0;
        break;
    }
    default: break;
    }
    if (!message)
        return true;

    CPoint client(screen.x, screen.y);
    target->ScreenToClient(&client);
    const UINT flags = MouseKeyFlags(me->buttons(), me->modifiers());
    QPointer<QWidget> targetWidget = target->GetHostWidget();
    SetCursorTarget(targetWidget);

    // Any handler may destroy this window, or its parent with it, and so free this bridge: after each dispatch
    // only the guard tells whether the members are still there.
    const QPointer<CWndBridge> alive(this);
    m_inputEvent = target == m_wnd ? me : nullptr;
    m_inputForwarded = false;
    if (!captured) {
        const LPARAM screenParam = MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
        const auto hit = static_cast<int>(Dispatch(target, WM_NCHITTEST, 0, screenParam));
        if (!alive || !IsLive(target) || !target->m_hWnd)
            return true;
        Dispatch(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                 MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
        if (!alive || !IsLive(target) || !target->m_hWnd)
            return true;
        if (hit != HTCLIENT) {
            const UINT ncMessage = message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
            QueuedDispatch(target, ncMessage, static_cast<WPARAM>(hit), screenParam, m_inputEvent);
            if (alive)
                m_inputEvent = nullptr;
            return true;
        }
    }
    QueuedDispatch(target, message, flags, MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)),
                   m_inputEvent);
    if (alive)
        m_inputEvent = nullptr;
    return true;
}

bool CWndBridge::HandleWheel(QWheelEvent* we) {
    if (!m_widget->isEnabled())
        return m_host != nullptr;
    const int delta = we->angleDelta().y();
    if (delta == 0)
        return true;
    const QPoint global = we->globalPosition().toPoint();
    Keys().messagePos = MAKELONG(static_cast<WORD>(global.x()), static_cast<WORD>(global.y()));
    CWnd* target = IsLive(Capture()) && Capture()->m_hWnd ? Capture() : m_wnd;
    const UINT flags = MouseKeyFlags(we->buttons(), we->modifiers());
    const QPointer<CWndBridge> alive(this);
    m_inputEvent = target == m_wnd ? we : nullptr;
    m_inputForwarded = false;
    QueuedDispatch(target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(flags), static_cast<WORD>(delta)),
                   MAKELPARAM(static_cast<WORD>(global.x()), static_cast<WORD>(global.y())), m_inputEvent);
    if (alive)
        m_inputEvent = nullptr;
    return true;
}

bool CWndBridge::HandleKey(QKeyEvent* ke) {
    const UINT vk = VirtualKeyOf(ke);
    const bool alt = (ke->modifiers() & Qt::AltModifier) != 0;
    const UINT message = (alt || vk == VK_F10) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const LPARAM lParam = KeyLParam(ke, vk, false, alt);
    const std::vector<CharMessage> chars = CharMessagesOf(ke->text(), ke->key(), ke->modifiers());

    if (DialogTakesKey(ke, message, vk, lParam))
        return false;

    CWnd* target = m_wnd;
    m_inputEvent = ke;
    m_inputForwarded = false;
    m_keyHasChars = !chars.empty();
    if (vk) {
        MSG msg{target, message, vk, lParam, TickNow(), POINT{0, 0}};
        if (PreTranslate(msg)) {
            if (IsLive(target))
                m_inputEvent = nullptr;
            return true;
        }
        if (IsLive(msg.hwnd) && msg.hwnd->m_hWnd)
            Dispatch(msg.hwnd, msg.message, msg.wParam, msg.lParam, ke);
    }
    if (IsLive(target) && target->m_hWnd)
        SendChars(chars, lParam);
    if (IsLive(target))
        m_inputEvent = nullptr;
    return true;
}

// In a dialog, Tab, Enter and Escape belong to the dialog unless the control's dialog code asks for them; the
// dialog then moves the focus or runs its default or cancel button.
bool CWndBridge::DialogTakesKey(QKeyEvent* ke, UINT message, UINT vk, LPARAM lParam) {
    if (!InDialogManager(m_widget) || (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const int key = ke->key();
    const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
    const bool enterEscape = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
    if (!tab && !enterEscape)
        return false;
    MSG probe{m_wnd, message, vk, lParam, TickNow(), POINT{0, 0}};
    const auto code = static_cast<UINT>(Dispatch(m_wnd, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(&probe)));
    if (tab)
        return !(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS));
    return !(code & DLGC_WANTALLKEYS);
}

void CWndBridge::SendChars(const std::vector<CharMessage>& chars, LPARAM lParam) {
    CWnd* target = m_wnd;
    for (const CharMessage& c : chars) {
        if (!IsLive(target) || !target->m_hWnd)
            return;
        QueuedDispatch(target, c.message, c.code, lParam, m_inputEvent);
    }
}

bool CWndBridge::HandleKeyUp(QKeyEvent* ke) {
    const UINT vk = VirtualKeyOf(ke);
    if (!vk)
        return false;
    const bool alt = (ke->modifiers() & Qt::AltModifier) != 0;
    if (DialogTakesKey(ke, alt ? WM_SYSKEYUP : WM_KEYUP, vk, KeyLParam(ke, vk, true, alt)))
        return false;
    m_inputEvent = ke;
    m_inputForwarded = false;
    m_keyHasChars = false;
    CWnd* target = m_wnd;
    QueuedDispatch(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, KeyLParam(ke, vk, true, alt), ke);
    if (IsLive(target))
        m_inputEvent = nullptr;
    return true;
}

bool CWndBridge::HandleInputMethod(QInputMethodEvent* ie) {
    if (ie->commitString().isEmpty())
        return m_host != nullptr;
    const std::vector<CharMessage> chars = CharMessagesOf(ie->commitString(), 0, Qt::NoModifier);
    CWnd* target = m_wnd;
    m_inputEvent = ie;
    m_inputForwarded = false;
    SendChars(chars, 1);
    if (IsLive(target))
        m_inputEvent = nullptr;
    return true;
}

bool CWndBridge::HandlePaint(QPaintEvent* pe) {
    if (m_host) {
        m_inQtPaint = true;
        DispatchPaint();
        m_inQtPaint = false;
        return false;
    }
    m_paintRect = pe->rect();
    m_paintRegion = pe->region();
    m_inPaint = true;
    m_inputEvent = pe;
    m_inputForwarded = false;
    CWnd* wnd = m_wnd;
    Dispatch(wnd, WM_PAINT, 0, 0, pe);
    if (!IsLive(wnd))
        return true;
    m_inPaint = false;
    m_inputEvent = nullptr;
    if (!m_inputForwarded && m_widget && !m_image.isNull()) {
        QPainter painter(m_widget);
        painter.setClipRegion(pe->region());
        painter.drawImage(0, 0, m_image);
    }
    return true;
}

void CWndBridge::DispatchPaint() {
    if (!m_host)
        return;
    const QRect client(QPoint(0, 0), m_host->ClientRectInWidget().size());
    const QRegion region = m_invalid & client;
    if (region.isEmpty()) {
        m_invalid = QRegion();
        m_erase = false;
        return;
    }
    m_paintRect = region.boundingRect();
    m_paintRegion = region;
    const bool erase = m_erase;
    m_invalid = QRegion();
    m_erase = false;
    m_inPaint = true;
    CWnd* wnd = m_wnd;
    if (erase)
        CWnd::SendEraseBackground(wnd);
    if (IsLive(wnd) && wnd->m_hWnd)
        Dispatch(wnd, WM_PAINT, 0, 0);
    if (!IsLive(wnd))
        return;
    m_inPaint = false;
    if (!m_inQtPaint) {
        const CRect painted(m_paintRect.left(), m_paintRect.top(), m_paintRect.right() + 1, m_paintRect.bottom() + 1);
        wnd->UpdateScreen(&painted);
    }
}

void CWndBridge::RecalcNonClient() {
    if (!m_host || !m_widget)
        return;
    const QRect g = m_widget->geometry();
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = RECT{g.left(), g.top(), g.right() + 1, g.bottom() + 1};
    params.rgrc[1] = params.rgrc[0];
    params.rgrc[2] = params.rgrc[0];
    Dispatch(m_wnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    if (!m_host)
        return;
    const RECT& c = params.rgrc[0];
    m_host->SetClientMargins(
        QMargins(c.left - g.left(), c.top - g.top(), g.right() + 1 - c.right, g.bottom() + 1 - c.bottom));
}

// After a change of position, size, frame or bars: WM_MOVE and WM_SIZE for what changed, in the platform's
// order (creation reports the size first).
void CWndBridge::SyncGeometry(bool sizeFirst) {
    if (!m_widget)
        return;
    RecalcNonClient();
    if (!IsLive(m_wnd) || !m_widget)
        return;
    if (m_host)
        m_host->Relayout();
    if (!sizeFirst && !SyncPosition())
        return;
    CRect client;
    m_wnd->GetClientRect(&client);
    const QSize size(client.Width(), client.Height());
    CWnd* wnd = m_wnd;
    if (!m_sizeKnown || size != m_lastClient) {
        const QSize old = m_lastClient;
        const bool known = m_sizeKnown;
        m_sizeKnown = true;
        m_lastClient = size;
        if (m_host) {
            if (!known || (m_classStyle & (CS_HREDRAW | CS_VREDRAW))) {
                m_wnd->Invalidate(TRUE);
            } else {
                QRegion fresh(QRect(QPoint(0, 0), size));
                fresh -= QRect(QPoint(0, 0), old);
                for (const QRect& r : fresh) {
                    CRect cr(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
                    m_wnd->InvalidateRect(&cr, TRUE);
                }
            }
        }
        Dispatch(wnd, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(size.width()), static_cast<WORD>(size.height())));
        if (!IsLive(wnd) || !wnd->m_hWnd)
            return;
    }
    if (sizeFirst)
        SyncPosition();
}

bool CWndBridge::SyncPosition() {
    if (!m_widget)
        return false;
    CWnd* wnd = m_wnd;
    QPoint pos;
    if (m_widget->isWindow())
        pos = m_widget->mapToGlobal(ClientOriginOf(m_widget));
    else
        pos = m_widget->pos() + ClientOriginOf(m_widget) - ClientOriginOf(m_widget->parentWidget());
    if (!m_posKnown || pos != m_lastPos) {
        m_posKnown = true;
        m_lastPos = pos;
        Dispatch(wnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(pos.x()), static_cast<WORD>(pos.y())));
    }
    return IsLive(wnd) && wnd->m_hWnd != nullptr;
}

// The default processing of an attached widget's input is Qt's own handling of the event.
void CWndBridge::ForwardInput() {
    if (!m_inputEvent || m_inputForwarded || !m_widget || m_host)
        return;
    m_inputForwarded = true;
    static_cast<QObject*>(m_widget.data())->event(m_inputEvent);
}

bool CWndBridge::SizeMoveStep(QMouseEvent* me) {
    const QPoint global = me->globalPosition().toPoint();
    if (me->type() == QEvent::MouseMove) {
        const QPoint d = global - m_sizeMoveStart;
        QRect g = m_sizeMoveGeometry;
        switch (m_sizeMoveHit) {
        case HTCAPTION: g.translate(d); break;
        case HTLEFT: g.setLeft(g.left() + d.x()); break;
        case HTRIGHT: g.setRight(g.right() + d.x()); break;
        case HTTOP: g.setTop(g.top() + d.y()); break;
        case HTBOTTOM: g.setBottom(g.bottom() + d.y()); break;
        case HTTOPLEFT: g.setTopLeft(g.topLeft() + d); break;
        case HTTOPRIGHT:
            g.setTop(g.top() + d.y());
            g.setRight(g.right() + d.x());
            break;
        case HTBOTTOMLEFT:
            g.setBottom(g.bottom() + d.y());
            g.setLeft(g.left() + d.x());
            break;
        case HTBOTTOMRIGHT: g.setBottomRight(g.bottomRight() + d); break;
        default: break;
        }
        if (g.width() < 1)
            g.setWidth(1);
        if (g.height() < 1)
            g.setHeight(1);
        const QPoint offset = m_widget->isWindow() ? QPoint(0, 0) : ClientOriginOf(m_widget->parentWidget());
        m_wnd->MoveWindow(g.left() - offset.x(), g.top() - offset.y(), g.width(), g.height(), TRUE);
        return true;
    }
    if (me->type() == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton) {
        m_sizeMoveHit = HTNOWHERE;
        CWnd* wnd = m_wnd;
        if (CWnd::GetCapture() == wnd)
            ReleaseCapture();
        if (IsLive(wnd) && wnd->m_hWnd)
            Dispatch(wnd, WM_EXITSIZEMOVE, 0, 0);
        return true;
    }
    return true;
}

void CWndBridge::ConnectScrollBars() {
    for (const QMetaObject::Connection& c : m_barConnections)
        QObject::disconnect(c);
    m_barConnections.clear();
    if (!m_host)
        return;
    for (int bar : {SB_HORZ, SB_VERT}) {
        QScrollBar* sb = m_host->ScrollBar(bar);
        const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
        // Only the program moves a bar: every action is restored at once and reported as a scroll code.
        m_barConnections.push_back(
            QObject::connect(sb, &QAbstractSlider::actionTriggered, this, [this, sb, bar, message](int action) {
                SCROLLINFO& si = m_host->ScrollInfo(bar);
                UINT code = SB_ENDSCROLL;
                switch (action) {
                case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
                case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
                case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
                case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
                case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
                case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
                default: break;
                }
                sb->setSliderPosition(si.nPos);
                if (code == SB_ENDSCROLL)
                    return;
                QueuedDispatch(m_wnd, message, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(si.nPos)), 0);
            }));
        m_barConnections.push_back(
            QObject::connect(sb, &QAbstractSlider::sliderMoved, this, [this, bar, message](int position) {
                m_host->ScrollInfo(bar).nTrackPos = position;
                QueuedDispatch(m_wnd, message,
                               MAKEWPARAM(static_cast<WORD>(SB_THUMBTRACK), static_cast<WORD>(position)), 0);
            }));
        m_barConnections.push_back(
            QObject::connect(sb, &QAbstractSlider::sliderReleased, this, [this, sb, bar, message]() {
                const int position = sb->sliderPosition();
                m_host->ScrollInfo(bar).nTrackPos = position;
                CWnd* wnd = m_wnd;
                QueuedDispatch(wnd, message,
                               MAKEWPARAM(static_cast<WORD>(SB_THUMBPOSITION), static_cast<WORD>(position)), 0);
                if (IsLive(wnd) && wnd->m_hWnd)
                    QueuedDispatch(wnd, message, MAKEWPARAM(static_cast<WORD>(SB_ENDSCROLL), 0), 0);
            }));
    }
}

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
        if (m_bridge->m_owned)
            DestroyWindow();
        else
            DetachWidget();
    }
    if (m_bridge && m_bridge->m_widget)
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
    b.m_widget = widget;
    b.m_host = dynamic_cast<CHostWidget*>(widget);
    b.m_owned = owned;
    b.m_sizeKnown = false;
    b.m_posKnown = false;
    b.m_invalid = QRegion();
    b.m_ownEnabled = !widget->testAttribute(Qt::WA_ForceDisabled);
    if (b.m_host) {
        b.m_host->m_wnd = this;
        b.m_class = FindWindowClass(b.m_host->ClassName());
        b.m_classStyle = b.m_class.style;
        b.m_classCursor = b.m_class.hCursor;
        b.m_host->setAttribute(Qt::WA_InputMethodEnabled, true);
        b.ConnectScrollBars();
    } else {
        b.m_class = WNDCLASS{};
        b.m_classStyle = CS_DBLCLKS;
        b.m_classCursor = nullptr;
    }
    m_hWnd = this;
    Attached()[widget] = this;
    // A plain object handed out for a widget is only a handle: the widget's events stay Qt's alone.
    if (!wrapper) {
        widget->setMouseTracking(true);
        widget->installEventFilter(m_bridge.get());
    }
    CWndBridge* bridge = m_bridge.get();
    b.m_destroyed = QObject::connect(widget, &QObject::destroyed, bridge, [this]() { NotifyDestroyed(true); });
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
    for (const QMetaObject::Connection& c : b.m_barConnections)
        QObject::disconnect(c);
    b.m_barConnections.clear();
    QObject::disconnect(b.m_destroyed);
    QCoreApplication::removePostedEvents(&b, PostedMessageType());
    if (Capture() == this) {
        Capture() = nullptr;
        if (b.m_widget && QWidget::mouseGrabber() == b.m_widget)
            b.m_widget->releaseMouse();
    }
    if (b.m_widget) {
        b.m_widget->removeEventFilter(&b);
        Attached().erase(b.m_widget.data());
        if (b.m_host && b.m_host->m_wnd == this)
            b.m_host->m_wnd = nullptr;
    } else {
        for (auto it = Attached().begin(); it != Attached().end();)
            it = it->second == this ? Attached().erase(it) : std::next(it);
    }
    b.m_widget = nullptr;
    b.m_host = nullptr;
    b.m_owned = false;
    b.m_image = QImage();
    b.m_invalid = QRegion();
    b.m_trackLeave = false;
    b.m_sizeMoveHit = HTNOWHERE;
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
    if (!widget || widget->property(kDestroyedProperty).toBool())
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

QWidget* CWnd::GetHostWidget() const { return m_bridge && m_hWnd ? m_bridge->m_widget.data() : nullptr; }

CHostWidget* CWnd::GetHost() const { return GetHostWidget() ? m_bridge->m_host : nullptr; }

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
    host->setFocusPolicy((dwStyle & WS_TABSTOP) ? Qt::TabFocus : Qt::NoFocus);
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
    host->setGeometry(Coordinate(int64_t{x} + origin.x()), Coordinate(int64_t{y} + origin.y()),
                      Coordinate(std::max(0, nWidth)), Coordinate(std::max(0, nHeight)));
    host->Relayout();

    AttachWidget(host, true, true);
    if (!m_hWnd) {
        delete host;
        return FALSE;
    }
    if (lpszWindowName) {
        m_bridge->m_text = lpszWindowName;
        if (!child)
            host->setWindowTitle(GbkToQString(lpszWindowName));
    }
    if (!child && IsWindow(hWndParent))
        m_bridge->m_owner = hWndParent;

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
    QPointer<QWidget> widget = m_bridge->m_widget;
    // An attached top-level widget may live on its creator's stack: it is hidden and let go, not deleted.
    const bool owned = m_bridge->m_owned || (widget && !widget->isWindow());
    if (widget && !widget->isHidden()) {
        m_bridge->m_inShowWindow = true;
        widget->hide();
        if (IsLive(this) && m_bridge)
            m_bridge->m_inShowWindow = false;
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
            widget->setProperty(kDestroyedProperty, true);
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
        return IsWindow(m_bridge->m_owner) ? m_bridge->m_owner
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
    if (IsWindow(m_bridge ? m_bridge->m_owner : nullptr))
        return m_bridge->m_owner;
    return GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd) {
    if (m_bridge)
        m_bridge->m_owner = pOwnerWnd;
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
    if (m_bridge->m_host) {
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
    if (m_bridge->m_host) {
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
// Geometry

void CWnd::GetClientRect(LPRECT lpRect) const {
    if (!lpRect)
        return;
    QWidget* widget = GetHostWidget();
    if (!widget) {
        *lpRect = RECT{0, 0, 0, 0};
        return;
    }
    const QSize size = m_bridge->m_host ? m_bridge->m_host->ClientRectInWidget().size() : widget->size();
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
        CTopLevelFrame::Of(widget)->Place(
            QRect(Coordinate(x), Coordinate(y), Coordinate(std::max(0, nWidth)), Coordinate(std::max(0, nHeight))),
            true);
    } else {
        const QPoint origin = ClientOriginOf(widget->parentWidget());
        widget->setGeometry(Coordinate(int64_t{x} + origin.x()), Coordinate(int64_t{y} + origin.y()),
                            Coordinate(std::max(0, nWidth)), Coordinate(std::max(0, nHeight)));
    }
    m_bridge->SyncGeometry();
    if (bRepaint && IsLive(this) && m_hWnd && !m_bridge->m_host)
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
            CTopLevelFrame::Of(widget)->Place(QRect(Coordinate(x), Coordinate(y), cx, cy), false);
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
    m_bridge->m_inShowWindow = true;
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
        }
        break;
    }
    if (IsLive(this) && m_bridge)
        m_bridge->m_inShowWindow = false;
    if (show && !wasVisible && IsLive(this) && m_hWnd && m_bridge->m_host) {
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
// Painting

void CWnd::Invalidate(BOOL bErase) { InvalidateRect(nullptr, bErase); }

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return;
    CRect client;
    GetClientRect(&client);
    QRect r(client.left, client.top, client.Width(), client.Height());
    if (lpRect)
        r = r.intersected(ToQRect(*lpRect));
    if (r.isEmpty())
        return;
    if (m_bridge->m_host) {
        m_bridge->m_invalid += r;
        if (bErase)
            m_bridge->m_erase = true;
        widget->update(r.translated(ClientOriginOf(widget)));
    } else {
        widget->update(r);
    }
}

void CWnd::ValidateRect(LPCRECT lpRect) {
    if (!GetHostWidget())
        return;
    if (!lpRect) {
        m_bridge->m_invalid = QRegion();
        m_bridge->m_erase = false;
        return;
    }
    m_bridge->m_invalid -= ToQRect(*lpRect);
}

void CWnd::UpdateWindow() {
    QWidget* widget = GetHostWidget();
    if (!widget || !widget->isVisible())
        return;
    if (m_bridge->m_host)
        m_bridge->DispatchPaint();
    else
        widget->repaint();
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, void* prgnUpdate, UINT flags) {
    if (!GetHostWidget() || prgnUpdate)
        return FALSE;
    if (flags & RDW_INVALIDATE)
        InvalidateRect(lpRectUpdate, (flags & RDW_ERASE) ? TRUE : FALSE);
    if (flags & RDW_VALIDATE)
        ValidateRect(lpRectUpdate);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        UpdateWindow();
    return TRUE;
}

BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL /*bErase*/) {
    const QRect r = GetHostWidget() ? m_bridge->m_invalid.boundingRect() : QRect();
    if (lpRect)
        *lpRect = r.isEmpty() ? RECT{0, 0, 0, 0} : RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return r.isEmpty() ? FALSE : TRUE;
}

QImage* CWnd::GetClientImage() {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return nullptr;
    if (m_bridge->m_host)
        return m_bridge->m_host->ClientImage();
    QImage& image = m_bridge->m_image;
    if (image.size() != widget->size()) {
        if (widget->size().isEmpty()) {
            image = QImage();
        } else {
            QImage resized(widget->size(), QImage::Format_RGB32);
            resized.fill(Qt::white);
            if (!image.isNull()) {
                QPainter p(&resized);
                p.drawImage(0, 0, image);
            }
            image = resized;
        }
    }
    return &image;
}

QRegion CWnd::GetPaintRegion() const {
    if (GetHostWidget() && m_bridge->m_inPaint)
        return m_bridge->m_paintRegion;
    CRect client;
    GetClientRect(&client);
    return QRegion(client.left, client.top, client.Width(), client.Height());
}

CRect CWnd::GetPaintRect() const {
    if (GetHostWidget() && m_bridge->m_inPaint) {
        const QRect& r = m_bridge->m_paintRect;
        return CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }
    CRect client;
    GetClientRect(&client);
    return client;
}

void CWnd::UpdateScreen(const RECT* rect) {
    QWidget* widget = GetHostWidget();
    // Inside Qt's paint event the whole painted region is copied anyway: a control's own paint (it has no host) is
    // always one, and asking for another from there would paint it for ever.
    if (!widget || m_bridge->m_inQtPaint || (m_bridge->m_inPaint && !m_bridge->m_host))
        return;
    const QPoint origin = ClientOriginOf(widget);
    if (!rect) {
        CRect client;
        GetClientRect(&client);
        widget->update(QRect(origin, QSize(client.Width(), client.Height())));
        return;
    }
    widget->update(ToQRect(*rect).translated(origin));
}

CDC* CWnd::GetDC() {
    if (IsDesktop(this)) {
        auto* dc = new CDC;
        dc->Attach(GetScreenDC());
        return dc;
    }
    return GetHostWidget() ? new CClientDC(this) : nullptr;
}

CDC* CWnd::GetWindowDC() { return IsDesktop(this) ? GetDC() : GetHostWidget() ? new CWindowDC(this) : nullptr; }

int CWnd::ReleaseDC(CDC* pDC) {
    if (!pDC)
        return 0;
    delete pDC;
    return 1;
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
// Messages

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd || !IsLive(this))
        return 0;
    return Dispatch(this, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd || !m_bridge)
        return FALSE;
    QCoreApplication::postEvent(m_bridge.get(), new PostedMessage(message, wParam, lParam));
    return TRUE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return;
    std::vector<QPointer<QWidget>> targets;
    const auto options = bDeep ? Qt::FindChildrenRecursively : Qt::FindDirectChildrenOnly;
    for (QWidget* child : widget->findChildren<QWidget*>(QString(), options))
        targets.emplace_back(child);
    for (const QPointer<QWidget>& child : targets)
        if (child)
            if (CWnd* wnd = FromWidgetPermanent(child))
                wnd->SendMessage(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::Default() {
    const MSG* msg = GetCurrentMessage();
    return DefWindowProc(msg->message, msg->wParam, msg->lParam);
}

const MSG* CWnd::GetCurrentMessage() {
    static const MSG none{nullptr, WM_NULL, 0, 0, 0, POINT{0, 0}};
    return Contexts().empty() ? &none : &Contexts().back().msg;
}

BOOL CWnd::PreTranslateMessage(MSG* /*pMsg*/) { return FALSE; }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const UINT flags = static_cast<UINT>(wParam);
    const UINT repeat = LOWORD(static_cast<uint32_t>(lParam));
    const UINT keyFlags = HIWORD(static_cast<uint32_t>(lParam));
    switch (message) {
    case WM_CREATE: result = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)); break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_NCDESTROY: OnNcDestroy(); break;
    case WM_CLOSE: OnClose(); break;
    case WM_PAINT: OnPaint(); break;
    case WM_ERASEBKGND: result = OnEraseBkgnd(reinterpret_cast<CDC*>(wParam)); break;
    case WM_SIZE: OnSize(flags, LOWORD(static_cast<uint32_t>(lParam)), HIWORD(static_cast<uint32_t>(lParam))); break;
    case WM_MOVE: OnMove(point.x, point.y); break;
    case WM_SHOWWINDOW: OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); break;
    case WM_ENABLE: OnEnable(static_cast<BOOL>(wParam)); break;
    case WM_ACTIVATE:
        OnActivate(LOWORD(static_cast<uint32_t>(wParam)), reinterpret_cast<CWnd*>(lParam),
                   HIWORD(static_cast<uint32_t>(wParam)));
        break;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, point); break;
    case WM_LBUTTONUP: OnLButtonUp(flags, point); break;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, point); break;
    case WM_RBUTTONDOWN: OnRButtonDown(flags, point); break;
    case WM_RBUTTONUP: OnRButtonUp(flags, point); break;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(flags, point); break;
    case WM_MBUTTONDOWN: OnMButtonDown(flags, point); break;
    case WM_MBUTTONUP: OnMButtonUp(flags, point); break;
    case WM_MBUTTONDBLCLK: OnMButtonDblClk(flags, point); break;
    case WM_MOUSEMOVE: OnMouseMove(flags, point); break;
    case WM_MOUSEWHEEL:
        result = OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), point);
        break;
    case WM_MOUSELEAVE: OnMouseLeave(); break;
    case WM_NCHITTEST: result = OnNcHitTest(point); break;
    case WM_NCCALCSIZE: OnNcCalcSize(static_cast<BOOL>(wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)); break;
    case WM_SETCURSOR:
        result = OnSetCursor(reinterpret_cast<CWnd*>(wParam), LOWORD(static_cast<uint32_t>(lParam)),
                             HIWORD(static_cast<uint32_t>(lParam)));
        break;
    case WM_CAPTURECHANGED: OnCaptureChanged(reinterpret_cast<CWnd*>(lParam)); break;
    case WM_CANCELMODE: OnCancelMode(); break;
    case WM_KEYDOWN: OnKeyDown(flags, repeat, keyFlags); break;
    case WM_KEYUP: OnKeyUp(flags, repeat, keyFlags); break;
    case WM_SYSKEYDOWN: OnSysKeyDown(flags, repeat, keyFlags); break;
    case WM_SYSKEYUP: OnSysKeyUp(flags, repeat, keyFlags); break;
    case WM_CHAR: OnChar(flags, repeat, keyFlags); break;
    case WM_SYSCHAR: OnSysChar(flags, repeat, keyFlags); break;
    case WM_GETDLGCODE: result = OnGetDlgCode(); break;
    case WM_SETFOCUS: OnSetFocus(reinterpret_cast<CWnd*>(wParam)); break;
    case WM_KILLFOCUS: OnKillFocus(reinterpret_cast<CWnd*>(wParam)); break;
    case WM_TIMER: OnTimer(static_cast<UINT_PTR>(wParam)); break;
    case WM_HSCROLL:
        OnHScroll(LOWORD(static_cast<uint32_t>(wParam)), static_cast<short>(HIWORD(static_cast<uint32_t>(wParam))),
                  reinterpret_cast<CScrollBar*>(lParam));
        break;
    case WM_VSCROLL:
        OnVScroll(LOWORD(static_cast<uint32_t>(wParam)), static_cast<short>(HIWORD(static_cast<uint32_t>(wParam))),
                  reinterpret_cast<CScrollBar*>(lParam));
        break;
    case WM_SYSCOLORCHANGE: OnSysColorChange(); break;
    case WM_CONTEXTMENU: OnContextMenu(reinterpret_cast<CWnd*>(wParam), point); break;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(static_cast<uint32_t>(lParam)),
                        HIWORD(static_cast<uint32_t>(lParam)));
        break;
    case WM_MEASUREITEM:
        OnMeasureItem(static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        result = TRUE;
        break;
    case WM_DRAWITEM:
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        result = TRUE;
        break;
    case WM_MENUCHAR:
        result = OnMenuChar(LOWORD(static_cast<uint32_t>(wParam)), HIWORD(static_cast<uint32_t>(wParam)),
                            CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
        break;
    case WM_COMMAND:
        if (!OnCommand(wParam, lParam))
            return FALSE;
        result = 1;
        break;
    case WM_NOTIFY: {
        LRESULT notifyResult = 0;
        if (!OnNotify(wParam, lParam, &notifyResult))
            return FALSE;
        result = notifyResult;
        break;
    }
    default: return FALSE;
    }
    if (pResult)
        *pResult = result;
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return 0;
    CWndBridge& b = *m_bridge;
    const bool host = b.m_host != nullptr;
    const MessageContext* ctx = Contexts().empty() ? nullptr : &Contexts().back();
    const bool fromEvent =
        ctx && ctx->wnd == this && ctx->msg.message == message && ctx->event && ctx->event == b.m_inputEvent;

    switch (message) {
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        const std::string gbk = text ? text : "";
        if (host) {
            b.m_text = gbk;
            if (widget->isWindow())
                widget->setWindowTitle(GbkToQString(gbk));
            widget->update();
        } else {
            SetQtText(widget, GbkToQString(gbk));
        }
        return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        const std::string text = host ? b.m_text : QStringToGbkLossy(QtText(widget));
        if (message == WM_GETTEXTLENGTH)
            return static_cast<LRESULT>(text.size());
        char* buffer = reinterpret_cast<char*>(lParam);
        const auto max = static_cast<size_t>(wParam);
        if (!buffer || max == 0)
            return 0;
        size_t n = std::min(text.size(), max - 1);
        // Never leave half of a double-byte character at the end.
        size_t i = 0;
        while (i < n) {
            const auto c = static_cast<unsigned char>(text[i]);
            const size_t width = (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) ? 2 : 1;
            if (i + width > n)
                break;
            i += width;
        }
        n = i;
        std::copy_n(text.data(), n, buffer);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETFONT:
        b.m_font = reinterpret_cast<HFONT>(wParam);
        // A control Qt draws shows the font itself; a window the program draws reads it back with WM_GETFONT.
        if (!host && widget) {
            LOGFONT logFont{};
            CFont* font = CFont::FromHandle(b.m_font);
            widget->setFont(font && font->GetLogFont(&logFont) ? QFontFromLogFont(logFont) : QFont());
        }
        if (LOWORD(static_cast<uint32_t>(lParam)))
            Invalidate(TRUE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(b.m_font);
    case WM_CLOSE:
        if (fromEvent && !host) {
            b.ForwardInput();
            return 0;
        }
        DestroyWindow();
        return 0;
    case WM_ERASEBKGND: return host ? EraseWithClassBackground(wParam) : 0;
    case WM_NCCALCSIZE: {
        RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        if (!host || !r)
            return 0;
        const QMargins m = b.m_host->FrameMargins();
        r->left += m.left();
        r->top += m.top();
        r->right -= m.right() + (b.m_host->IsScrollBarShown(SB_VERT) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
        r->bottom -= m.bottom() + (b.m_host->IsScrollBarShown(SB_HORZ) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
        r->right = std::max(r->right, r->left);
        r->bottom = std::max(r->bottom, r->top);
        return 0;
    }
    case WM_NCHITTEST: {
        if (!host)
            return HTCLIENT;
        CPoint p(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        const QPoint local = widget->mapFromGlobal(QPoint(p.x, p.y));
        if (!widget->rect().contains(local))
            return HTNOWHERE;
        const QRect client = b.m_host->ClientRectInWidget();
        // The sizing edges of a thick frame work even where the window has made them part of its client area.
        if (GetStyle() & WS_THICKFRAME) {
            constexpr int kGrip = 4;
            const bool left = local.x() < kGrip, right = local.x() >= widget->width() - kGrip;
            const bool top = local.y() < kGrip, bottom = local.y() >= widget->height() - kGrip;
            if (top && left)
                return HTTOPLEFT;
            if (top && right)
                return HTTOPRIGHT;
            if (bottom && left)
                return HTBOTTOMLEFT;
            if (bottom && right)
                return HTBOTTOMRIGHT;
            if (left)
                return HTLEFT;
            if (right)
                return HTRIGHT;
            if (top)
                return HTTOP;
            if (bottom)
                return HTBOTTOM;
        }
        if (client.contains(local))
            return HTCLIENT;
        if (b.m_host->IsScrollBarShown(SB_VERT) && local.x() > client.right() && local.y() <= client.bottom())
            return HTVSCROLL;
        if (b.m_host->IsScrollBarShown(SB_HORZ) && local.y() > client.bottom() && local.x() <= client.right())
            return HTHSCROLL;
        return HTBORDER;
    }
    case WM_SETCURSOR: {
        if (!widget->isWindow())
            if (CWnd* parent = GetParent(); parent && parent->m_hWnd && FromHandlePermanent(parent))
                if (parent->SendMessage(WM_SETCURSOR, wParam, lParam))
                    return TRUE;
        if (!IsLive(this) || !m_hWnd)
            return TRUE;
        const auto hit = static_cast<short>(LOWORD(static_cast<uint32_t>(lParam)));
        if (reinterpret_cast<CWnd*>(wParam) != this || !host)
            return FALSE;
        if (hit == HTCLIENT) {
            if (b.m_classCursor)
                ::SetCursor(b.m_classCursor);
        } else {
            ::SetCursor(FrameCursor(hit));
        }
        return FALSE;
    }
    case WM_MOUSEWHEEL:
        if (!host) {
            if (fromEvent)
                b.ForwardInput();
            return 0;
        }
        if (!widget->isWindow())
            if (CWnd* parent = GetParent(); parent && FromHandlePermanent(parent))
                return parent->SendMessage(message, wParam, lParam);
        return 0;
    case WM_CONTEXTMENU:
        if (!widget->isWindow())
            if (CWnd* parent = GetParent(); parent && FromHandlePermanent(parent))
                return parent->SendMessage(message, wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        if (!host) {
            if (fromEvent)
                b.ForwardInput();
            return 0;
        }
        {
            CPoint p(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            ClientToScreen(&p);
            SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(this),
                        MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
        }
        return 0;
    case WM_NCLBUTTONDOWN: {
        const auto hit = static_cast<int>(wParam);
        const bool frame = hit == HTCAPTION || ((GetStyle() & WS_THICKFRAME) && hit >= HTLEFT && hit <= HTBOTTOMRIGHT);
        if (!host || !frame)
            return 0;
        // The loop starts where the pointer is: callers may send a hit code with any lParam.
        const auto start = static_cast<LPARAM>(GetMessagePos());
        b.m_sizeMoveStart = QPoint(GET_X_LPARAM(start), GET_Y_LPARAM(start));
        b.m_sizeMoveGeometry = widget->isWindow() ? CTopLevelFrame::OuterRect(widget) : widget->geometry();
        SetCapture();
        b.m_sizeMoveHit = hit;
        SendMessage(WM_ENTERSIZEMOVE, 0, 0);
        return 0;
    }
    case WM_IME_CHAR:
        if (wParam > 0xFF) {
            SendMessage(WM_CHAR, (wParam >> 8) & 0xFF, lParam);
            if (IsLive(this) && m_hWnd)
                SendMessage(WM_CHAR, wParam & 0xFF, lParam);
        } else {
            SendMessage(WM_CHAR, wParam, lParam);
        }
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR: {
        if (host)
            return 0;
        const auto byte = static_cast<unsigned>(wParam & 0xFF);
        std::string gbk;
        if (b.m_pendingLead >= 0) {
            gbk = {static_cast<char>(b.m_pendingLead), static_cast<char>(byte)};
            b.m_pendingLead = -1;
        } else if (byte >= 0x81 && byte <= 0xFE) {
            b.m_pendingLead = static_cast<int>(byte);
            return 0;
        } else {
            gbk = std::string(1, static_cast<char>(byte));
        }
        if (b.m_inputEvent) {
            b.ForwardInput();
            return 0;
        }
        // A character that did not come from a key (a posted one): type it through a key event of its own.
        const QString text = GbkToQString(gbk);
        int key = 0;
        QString keyText = text;
        switch (byte) {
        case 8: key = Qt::Key_Backspace; break;
        case 9: key = Qt::Key_Tab; break;
        case 13: key = Qt::Key_Return; break;
        case 27: key = Qt::Key_Escape; break;
        default: break;
        }
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, keyText);
        static_cast<QObject*>(widget)->event(&press);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (fromEvent && !host && !b.m_keyHasChars)
            b.ForwardInput();
        else if (!fromEvent && !host && ctx && ctx->event == nullptr)
            SynthesizeKey(static_cast<UINT>(wParam), true);
        return 0;
    default:
        if (fromEvent && !host)
            b.ForwardInput();
        return 0;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Scroll bars

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
    CHostWidget* host = GetHost();
    if (!host || !lpScrollInfo || (nBar != SB_HORZ && nBar != SB_VERT))
        return FALSE;
    // The mask argument decides what is read, whatever the record held before, as in the framework.
    const UINT mask = nMask;
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    const SCROLLINFO& si = host->ScrollInfo(nBar);
    if (mask & SIF_RANGE) {
        lpScrollInfo->nMin = si.nMin;
        lpScrollInfo->nMax = si.nMax;
    }
    if (mask & SIF_PAGE)
        lpScrollInfo->nPage = si.nPage;
    if (mask & SIF_POS)
        lpScrollInfo->nPos = si.nPos;
    if (mask & SIF_TRACKPOS) {
        QScrollBar* sb = host->ScrollBar(nBar);
        lpScrollInfo->nTrackPos = sb->isSliderDown() ? sb->sliderPosition() : si.nTrackPos;
    }
    return (mask & SIF_ALL) ? TRUE : FALSE;
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    CHostWidget* host = GetHost();
    if (!host || !lpScrollInfo || (nBar != SB_HORZ && nBar != SB_VERT))
        return FALSE;
    SCROLLINFO& si = host->ScrollInfo(nBar);
    const UINT mask = lpScrollInfo->fMask;
    if (mask & SIF_RANGE) {
        si.nMin = lpScrollInfo->nMin;
        si.nMax = lpScrollInfo->nMax;
    }
    if (mask & SIF_PAGE)
        si.nPage = lpScrollInfo->nPage;
    if (mask & SIF_POS)
        si.nPos = lpScrollInfo->nPos;
    ClampScrollInfo(si);

    const bool scrollable = ScrollInfoCanScroll(si);
    if (mask & (SIF_RANGE | SIF_PAGE)) {
        const bool shown = host->IsScrollBarShown(nBar);
        if (scrollable && !shown)
            ShowScrollBar(static_cast<UINT>(nBar), TRUE);
        else if (!scrollable && shown && !(mask & SIF_DISABLENOSCROLL))
            ShowScrollBar(static_cast<UINT>(nBar), FALSE);
        if (!IsLive(this) || !m_hWnd)
            return TRUE;
    }
    QScrollBar* sb = host->ScrollBar(nBar);
    const QSignalBlocker block(sb);
    sb->setRange(si.nMin, ScrollInfoMaxPos(si));
    sb->setPageStep(static_cast<int>(std::min<UINT>(si.nPage, 0x7FFFFFFF)));
    sb->setSingleStep(1);
    sb->setValue(si.nPos);
    sb->setSliderPosition(si.nPos);
    sb->setEnabled(scrollable);
    if (bRedraw)
        sb->update();
    return TRUE;
}

int CWnd::GetScrollPos(int nBar) const {
    CHostWidget* host = GetHost();
    if (!host || (nBar != SB_HORZ && nBar != SB_VERT))
        return 0;
    return host->ScrollInfo(nBar).nPos;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
    const int previous = GetScrollPos(nBar);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(nBar, &si, bRedraw);
    return previous;
}

void CWnd::GetScrollRange(int nBar, int* lpMinPos, int* lpMaxPos) const {
    CHostWidget* host = GetHost();
    int lo = 0, hi = 0;
    if (host && (nBar == SB_HORZ || nBar == SB_VERT)) {
        lo = host->ScrollInfo(nBar).nMin;
        hi = host->ScrollInfo(nBar).nMax;
    }
    if (lpMinPos)
        *lpMinPos = lo;
    if (lpMaxPos)
        *lpMaxPos = hi;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(nBar, &si, bRedraw);
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) {
    CHostWidget* host = GetHost();
    if (!host)
        return;
    DWORD style = WidgetStyle(host);
    const DWORD before = style;
    const DWORD bits = nBar == SB_HORZ   ? WS_HSCROLL
                       : nBar == SB_VERT ? WS_VSCROLL
                       : nBar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL)
                                         : 0;
    if (bShow)
        style |= bits;
    else
        style &= ~bits;
    if (style == before)
        return;
    SetWidgetStyle(host, style);
    m_bridge->SyncGeometry();
    if (IsLive(this) && m_hWnd)
        host->update();
}

BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags) {
    CHostWidget* host = GetHost();
    if (!host)
        return FALSE;
    for (int bar : {SB_HORZ, SB_VERT})
        if (nSBFlags == bar || nSBFlags == SB_BOTH)
            host->ScrollBar(bar)->setEnabled(nArrowFlags != ESB_DISABLE_BOTH);
    return TRUE;
}

int CWnd::GetScrollLimit(int nBar) {
    CHostWidget* host = GetHost();
    if (!host || (nBar != SB_HORZ && nBar != SB_VERT))
        return 0;
    return ScrollInfoMaxPos(host->ScrollInfo(nBar));
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

// WM_ERASEBKGND gets a DC on the retained image clipped to the rectangle being painted.
void CWnd::SendEraseBackground(CWnd* wnd) {
    QImage* image = wnd->GetClientImage();
    if (!image || image->isNull())
        return;
    CDC dc;
    if (!dc.AttachImage(image))
        return;
    const CRect paint = wnd->GetPaintRect();
    dc.IntersectClipRect(&paint);
    Dispatch(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
}

LRESULT CWnd::EraseWithClassBackground(WPARAM dc) {
    auto* pDC = reinterpret_cast<CDC*>(dc);
    COLORREF color = 0;
    if (!pDC || !GetHost() || !WindowClassBackground(m_bridge->m_class, &color))
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

// ---------------------------------------------------------------------------------------------------------------
// Free functions on handles

BOOL IsWindow(HWND hWnd) { return IsLive(hWnd) && hWnd->m_hWnd ? TRUE : FALSE; }

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
    // The high bit tells a key that is down, as the platform reports it.
    return down ? static_cast<short>(0xFF80) : 0;
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
        lpEventTrack->dwFlags = wnd->m_bridge->m_trackLeave ? TME_LEAVE : 0;
        return TRUE;
    }
    if (lpEventTrack->dwFlags & TME_LEAVE)
        wnd->m_bridge->m_trackLeave = !(lpEventTrack->dwFlags & TME_CANCEL);
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
