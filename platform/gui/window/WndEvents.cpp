#include "WndBridge.h"

#include "Cursor.h"
#include "HostWidget.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>
#include <vector>

using namespace wndimpl;

// ---------------------------------------------------------------------------------------------------------------
// Keys and buttons as the platform reports them.

namespace {

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

} // namespace

namespace wndimpl {

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

void EnsureKeyStateTracker() {
    static KeyStateTracker* tracker = nullptr;
    if (!tracker && QCoreApplication::instance()) {
        tracker = new KeyStateTracker;
        tracker->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(tracker);
    }
}

} // namespace wndimpl

// ---------------------------------------------------------------------------------------------------------------
// Event translation.

bool CWndBridge::eventFilter(QObject* object, QEvent* event) {
    if (object != m_qt.widget || !m_wnd->m_hWnd)
        return false;
    // Qt is delivering this event to the widget: whatever a handler destroys, the widget waits for the delivery
    // to end. The guard lives outside this bridge, which a handler may free.
    DepthGuard delivering(m_qt.widget);
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
        LastFocus() = m_qt.widget;
        Dispatch(m_wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous ? CWnd::FromWidget(previous) : nullptr), 0);
        return false;
    }
    case QEvent::FocusOut: {
        LastFocus() = m_qt.widget;
        Dispatch(m_wnd, WM_KILLFOCUS, reinterpret_cast<WPARAM>(CWnd::GetFocus()), 0);
        return false;
    }
    case QEvent::Resize:
    case QEvent::Move: SyncGeometry(); return false;
    case QEvent::Show:
        if (m_qt.host)
            m_wnd->Invalidate(TRUE);
        return false;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (!m_reported.inShowWindow)
            Dispatch(m_wnd, WM_SHOWWINDOW, event->type() == QEvent::ShowToParent ? TRUE : FALSE, 0);
        return false;
    case QEvent::EnabledChange: {
        const bool own = !m_qt.widget->testAttribute(Qt::WA_ForceDisabled);
        if (own != m_reported.ownEnabled) {
            m_reported.ownEnabled = own;
            Dispatch(m_wnd, WM_ENABLE, own ? TRUE : FALSE, 0);
        }
        return false;
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (m_qt.widget->isWindow())
            Dispatch(m_wnd, WM_ACTIVATE, event->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE, 0);
        return false;
    case QEvent::Leave:
        if (m_input.trackLeave) {
            m_input.trackLeave = false;
            QueuedDispatch(m_wnd, WM_MOUSELEAVE, 0, 0);
        }
        return false;
    case QEvent::Close:
        if (m_qt.host) {
            event->ignore();
            QueuedDispatch(m_wnd, WM_CLOSE, 0, 0);
            return true;
        }
        return false;
    case QEvent::ContextMenu: return m_qt.host != nullptr;
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
        looping->m_bridge->m_sizeMove.hit != HTNOWHERE)
        return looping->m_bridge->SizeMoveStep(me);

    CWnd* target = m_wnd;
    const bool captured = IsLive(Capture()) && Capture()->m_hWnd;
    if (captured)
        target = Capture();
    else if (!m_qt.widget->isEnabled())
        return m_qt.host != nullptr; // a disabled window takes no input

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
        UINT classStyle = target->m_bridge->m_identity.classStyle;
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
    m_input.event = target == m_wnd ? me : nullptr;
    m_input.forwarded = false;
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
            QueuedDispatch(target, ncMessage, static_cast<WPARAM>(hit), screenParam, m_input.event);
            if (alive)
                m_input.event = nullptr;
            return true;
        }
    }
    QueuedDispatch(target, message, flags, MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)),
                   m_input.event);
    if (alive)
        m_input.event = nullptr;
    return true;
}

bool CWndBridge::HandleWheel(QWheelEvent* we) {
    if (!m_qt.widget->isEnabled())
        return m_qt.host != nullptr;
    const int delta = we->angleDelta().y();
    if (delta == 0)
        return true;
    const QPoint global = we->globalPosition().toPoint();
    Keys().messagePos = MAKELONG(static_cast<WORD>(global.x()), static_cast<WORD>(global.y()));
    CWnd* target = IsLive(Capture()) && Capture()->m_hWnd ? Capture() : m_wnd;
    const UINT flags = MouseKeyFlags(we->buttons(), we->modifiers());
    const QPointer<CWndBridge> alive(this);
    m_input.event = target == m_wnd ? we : nullptr;
    m_input.forwarded = false;
    QueuedDispatch(target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(flags), static_cast<WORD>(delta)),
                   MAKELPARAM(static_cast<WORD>(global.x()), static_cast<WORD>(global.y())), m_input.event);
    if (alive)
        m_input.event = nullptr;
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
    m_input.event = ke;
    m_input.forwarded = false;
    m_input.keyHasChars = !chars.empty();
    if (vk) {
        MSG msg{target, message, vk, lParam, TickNow(), POINT{0, 0}};
        if (PreTranslate(msg)) {
            if (IsLive(target))
                m_input.event = nullptr;
            return true;
        }
        if (IsLive(msg.hwnd) && msg.hwnd->m_hWnd)
            Dispatch(msg.hwnd, msg.message, msg.wParam, msg.lParam, ke);
    }
    if (IsLive(target) && target->m_hWnd)
        SendChars(chars, lParam);
    if (IsLive(target))
        m_input.event = nullptr;
    return true;
}

// In a dialog, Tab, Enter and Escape belong to the dialog unless the control's dialog code asks for them; the
// dialog then moves the focus or runs its default or cancel button.
bool CWndBridge::DialogTakesKey(QKeyEvent* ke, UINT message, UINT vk, LPARAM lParam) {
    if (!InDialogManager(m_qt.widget) || (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
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
        QueuedDispatch(target, c.message, c.code, lParam, m_input.event);
    }
}

bool CWndBridge::HandleKeyUp(QKeyEvent* ke) {
    const UINT vk = VirtualKeyOf(ke);
    if (!vk)
        return false;
    const bool alt = (ke->modifiers() & Qt::AltModifier) != 0;
    if (DialogTakesKey(ke, alt ? WM_SYSKEYUP : WM_KEYUP, vk, KeyLParam(ke, vk, true, alt)))
        return false;
    m_input.event = ke;
    m_input.forwarded = false;
    m_input.keyHasChars = false;
    CWnd* target = m_wnd;
    QueuedDispatch(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, KeyLParam(ke, vk, true, alt), ke);
    if (IsLive(target))
        m_input.event = nullptr;
    return true;
}

bool CWndBridge::HandleInputMethod(QInputMethodEvent* ie) {
    if (ie->commitString().isEmpty())
        return m_qt.host != nullptr;
    const std::vector<CharMessage> chars = CharMessagesOf(ie->commitString(), 0, Qt::NoModifier);
    CWnd* target = m_wnd;
    m_input.event = ie;
    m_input.forwarded = false;
    SendChars(chars, 1);
    if (IsLive(target))
        m_input.event = nullptr;
    return true;
}

void CWndBridge::RecalcNonClient() {
    if (!m_qt.host || !m_qt.widget)
        return;
    const QRect g = m_qt.widget->geometry();
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = RECT{g.left(), g.top(), g.right() + 1, g.bottom() + 1};
    params.rgrc[1] = params.rgrc[0];
    params.rgrc[2] = params.rgrc[0];
    Dispatch(m_wnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    if (!m_qt.host)
        return;
    const RECT& c = params.rgrc[0];
    m_qt.host->SetClientMargins(
        QMargins(c.left - g.left(), c.top - g.top(), g.right() + 1 - c.right, g.bottom() + 1 - c.bottom));
}

// After a change of position, size, frame or bars: WM_MOVE and WM_SIZE for what changed, in the platform's
// order (creation reports the size first).
void CWndBridge::SyncGeometry(bool sizeFirst) {
    if (!m_qt.widget)
        return;
    RecalcNonClient();
    if (!IsLive(m_wnd) || !m_qt.widget)
        return;
    if (m_qt.host)
        m_qt.host->Relayout();
    m_retained.NoteSize(ClientSize());
    if (!sizeFirst && !SyncPosition())
        return;
    CRect client;
    m_wnd->GetClientRect(&client);
    const QSize size(client.Width(), client.Height());
    CWnd* wnd = m_wnd;
    if (!m_reported.sizeKnown || size != m_reported.client) {
        const QSize old = m_reported.client;
        const bool known = m_reported.sizeKnown;
        m_reported.sizeKnown = true;
        m_reported.client = size;
        if (m_qt.host) {
            if (!known || (m_identity.classStyle & (CS_HREDRAW | CS_VREDRAW))) {
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
    if (!m_qt.widget)
        return false;
    CWnd* wnd = m_wnd;
    QPoint pos;
    if (m_qt.widget->isWindow())
        pos = m_qt.widget->mapToGlobal(ClientOriginOf(m_qt.widget));
    else
        pos = m_qt.widget->pos() + ClientOriginOf(m_qt.widget) - ClientOriginOf(m_qt.widget->parentWidget());
    if (!m_reported.posKnown || pos != m_reported.pos) {
        m_reported.posKnown = true;
        m_reported.pos = pos;
        Dispatch(wnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(pos.x()), static_cast<WORD>(pos.y())));
    }
    return IsLive(wnd) && wnd->m_hWnd != nullptr;
}

// The default processing of an attached widget's input is Qt's own handling of the event.
void CWndBridge::ForwardInput() {
    if (!m_input.event || m_input.forwarded || !m_qt.widget || m_qt.host)
        return;
    m_input.forwarded = true;
    // Qt's own paint opens a painter on the widget: the one a paint of ours opened ends first.
    EndOwnPainter();
    static_cast<QObject*>(m_qt.widget.data())->event(m_input.event);
}

bool CWndBridge::SizeMoveStep(QMouseEvent* me) {
    const QPoint global = me->globalPosition().toPoint();
    if (me->type() == QEvent::MouseMove) {
        const QPoint d = global - m_sizeMove.start;
        QRect g = m_sizeMove.geometry;
        switch (m_sizeMove.hit) {
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
        const QPoint offset = m_qt.widget->isWindow() ? QPoint(0, 0) : ClientOriginOf(m_qt.widget->parentWidget());
        m_wnd->MoveWindow(g.left() - offset.x(), g.top() - offset.y(), g.width(), g.height(), TRUE);
        return true;
    }
    if (me->type() == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton) {
        m_sizeMove.hit = HTNOWHERE;
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
    for (const QMetaObject::Connection& c : m_qt.barConnections)
        QObject::disconnect(c);
    m_qt.barConnections.clear();
    if (!m_qt.host)
        return;
    for (int bar : {SB_HORZ, SB_VERT})
        if (m_qt.host->ExistingScrollBar(bar))
            ConnectScrollBar(bar);
}

void CWndBridge::ConnectScrollBar(int bar) {
    QScrollBar* sb = m_qt.host ? m_qt.host->ExistingScrollBar(bar) : nullptr;
    if (!sb)
        return;
    const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    // Only the program moves a bar: every action is restored at once and reported as a scroll code.
    m_qt.barConnections.push_back(
        QObject::connect(sb, &QAbstractSlider::actionTriggered, this, [this, sb, bar, message](int action) {
            SCROLLINFO& si = m_qt.host->ScrollInfo(bar);
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
    m_qt.barConnections.push_back(
        QObject::connect(sb, &QAbstractSlider::sliderMoved, this, [this, bar, message](int position) {
            m_qt.host->ScrollInfo(bar).nTrackPos = position;
            QueuedDispatch(m_wnd, message, MAKEWPARAM(static_cast<WORD>(SB_THUMBTRACK), static_cast<WORD>(position)),
                           0);
        }));
    m_qt.barConnections.push_back(
        QObject::connect(sb, &QAbstractSlider::sliderReleased, this, [this, sb, bar, message]() {
            const int position = sb->sliderPosition();
            m_qt.host->ScrollInfo(bar).nTrackPos = position;
            CWnd* wnd = m_wnd;
            QueuedDispatch(wnd, message, MAKEWPARAM(static_cast<WORD>(SB_THUMBPOSITION), static_cast<WORD>(position)),
                           0);
            if (IsLive(wnd) && wnd->m_hWnd)
                QueuedDispatch(wnd, message, MAKEWPARAM(static_cast<WORD>(SB_ENDSCROLL), 0), 0);
        }));
}
