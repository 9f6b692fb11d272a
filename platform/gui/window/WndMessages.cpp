#include "WndBridge.h"

#include "Cursor.h"
#include "HostWidget.h"
#include "SystemMetrics.h"
#include "TopLevelFrame.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/frame/Menu.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

#include <algorithm>
#include <vector>

using namespace wndimpl;

namespace {

// Labels, buttons and frames show a file's name cut to what a window can lay out; edits keep their text whole.
void SetQtText(QWidget* widget, const std::string& gbk) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(ShownText(gbk, kMaxLabelChars));
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(ShownText(gbk, kMaxLabelChars));
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(GbkToQString(gbk));
    else if (auto* textEdit = qobject_cast<QTextEdit*>(widget))
        textEdit->setPlainText(GbkToQString(gbk));
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        plain->setPlainText(GbkToQString(gbk));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(ShownText(gbk, kMaxLabelChars));
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(GbkToQString(gbk));
    } else if (widget->isWindow())
        CTopLevelFrame::SetTitle(widget, gbk);
    else
        widget->setWindowTitle(GbkToQString(gbk));
}

// A context menu asked for from the keyboard (Shift+F10, the menu key) has no point: (-1, -1). The window shows
// it where its selection is. The controls Qt draws keep Qt's own menus.
LRESULT SendKeyboardContextMenu(CWnd* wnd) {
    wnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(0xFFFF, 0xFFFF));
    return 0;
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

// A combo box's text is its chosen entry's, whole even where the list shows it cut, until the operator edits it.
std::string QtTextGbk(const QWidget* widget) {
    if (auto* combo = qobject_cast<const QComboBox*>(widget)) {
        const int chosen = combo->currentIndex();
        const QVariant bytes = chosen >= 0 ? combo->itemData(chosen, Qt::UserRole) : QVariant();
        if (bytes.isValid() && (!combo->isEditable() || combo->currentText() == combo->itemText(chosen)))
            return bytes.toByteArray().toStdString();
    }
    return QStringToGbkLossy(QtText(widget));
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
    const bool host = b.m_qt.host != nullptr;
    const MessageContext* ctx = Contexts().empty() ? nullptr : &Contexts().back();
    const bool fromEvent =
        ctx && ctx->wnd == this && ctx->msg.message == message && ctx->event && ctx->event == b.m_input.event;

    switch (message) {
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        const std::string gbk = text ? text : "";
        if (host) {
            b.m_identity.text = gbk;
            if (widget->isWindow())
                CTopLevelFrame::SetTitle(widget, gbk);
            widget->update();
        } else {
            SetQtText(widget, gbk);
        }
        return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        const std::string text = host ? b.m_identity.text : QtTextGbk(widget);
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
        b.m_identity.font = reinterpret_cast<HFONT>(wParam);
        // A control Qt draws shows the font itself; a window the program draws reads it back with WM_GETFONT.
        if (!host && widget) {
            LOGFONT logFont{};
            CFont* font = CFont::FromHandle(b.m_identity.font);
            widget->setFont(font && font->GetLogFont(&logFont) ? QFontFromLogFont(logFont) : QFont());
        }
        if (LOWORD(static_cast<uint32_t>(lParam)))
            Invalidate(TRUE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(b.m_identity.font);
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
        const QMargins m = b.m_qt.host->FrameMargins();
        r->left += m.left();
        r->top += m.top();
        r->right -= m.right() + (b.m_qt.host->IsScrollBarShown(SB_VERT) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
        r->bottom -= m.bottom() + (b.m_qt.host->IsScrollBarShown(SB_HORZ) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
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
        const QRect client = b.m_qt.host->ClientRectInWidget();
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
        if (b.m_qt.host->IsScrollBarShown(SB_VERT) && local.x() > client.right() && local.y() <= client.bottom())
            return HTVSCROLL;
        if (b.m_qt.host->IsScrollBarShown(SB_HORZ) && local.y() > client.bottom() && local.x() <= client.right())
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
            if (b.m_identity.classCursor)
                ::SetCursor(b.m_identity.classCursor);
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
        b.m_sizeMove.start = QPoint(GET_X_LPARAM(start), GET_Y_LPARAM(start));
        b.m_sizeMove.geometry = widget->isWindow() ? CTopLevelFrame::OuterRect(widget) : widget->geometry();
        SetCapture();
        b.m_sizeMove.hit = hit;
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
        if (b.m_input.pendingLead >= 0) {
            gbk = {static_cast<char>(b.m_input.pendingLead), static_cast<char>(byte)};
            b.m_input.pendingLead = -1;
        } else if (byte >= 0x81 && byte <= 0xFE) {
            b.m_input.pendingLead = static_cast<int>(byte);
            return 0;
        } else {
            gbk = std::string(1, static_cast<char>(byte));
        }
        if (b.m_input.event) {
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
        if (host && message == WM_SYSKEYDOWN && wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0)
            return SendKeyboardContextMenu(this);
        if (fromEvent && !host && !b.m_input.keyHasChars)
            b.ForwardInput();
        else if (!fromEvent && !host && ctx && ctx->event == nullptr)
            SynthesizeKey(static_cast<UINT>(wParam), true);
        return 0;
    case WM_KEYUP:
        if (host && wParam == VK_APPS)
            return SendKeyboardContextMenu(this);
        if (fromEvent && !host)
            b.ForwardInput();
        return 0;
    default:
        if (fromEvent && !host)
            b.ForwardInput();
        return 0;
    }
}
