#include "ToolTipCtrl.h"

#include "platform/gui/base/GbkString.h"
#include "platform/gui/window/Cursor.h"
#include "platform/gui/window/WindowClass.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QStringList>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {

LPCTSTR ToolTipClass() {
    static const LPCTSTR name = RegisterButtonFaceClass("tooltips_class32");
    return name;
}

bool IsRelayedMouse(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return true;
    default: return false;
    }
}

// Greedy wrapping at spaces; a word wider than the width keeps a line of its own rather than being cut.
QString Wrapped(const QString& text, int width) {
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (width < 0)
        return normalised;
    const QFontMetrics metrics(QToolTip::font());
    QStringList lines;
    for (const QString& paragraph : normalised.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
                lines << line;
                line = word;
            } else {
                line = candidate;
            }
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

CToolTipCtrl::CToolTipCtrl() : m_showTimer(std::make_unique<QTimer>()), m_watchTimer(std::make_unique<QTimer>()) {
    m_showTimer->setSingleShot(true);
    QObject::connect(m_showTimer.get(), &QTimer::timeout, [this]() { Show(); });
    // Relayed moves stop when the cursor leaves the owner's window, so leaving is watched here.
    m_watchTimer->setInterval(100);
    QObject::connect(m_watchTimer.get(), &QTimer::timeout, [this]() {
        if (m_current >= 0 && CursorOnTool(m_current))
            return;
        Hide();
        m_showTimer->stop();
        m_watchTimer->stop();
        m_current = -1;
        m_pressed = false;
    });
}

CToolTipCtrl::~CToolTipCtrl() {
    Hide();
    if (m_hWnd)
        DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, ToolTipClass(), nullptr, WS_POPUP | (dwStyle & 0xFFFF),
                    CRect(0, 0, 0, 0), pParentWnd, 0);
}

void CToolTipCtrl::Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate ? TRUE : FALSE, 0); }

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    TOOLINFO ti{sizeof(TOOLINFO), 0, pWnd, nIDTool, RECT{0, 0, 0, 0}, nullptr, const_cast<LPTSTR>(lpszText), 0};
    if (lpRectTool)
        ti.rect = *lpRectTool;
    else if (nIDTool == 0) {
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(pWnd);
        ti.hwnd = pWnd ? pWnd->GetParent() : nullptr;
    }
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFO ti{sizeof(TOOLINFO), 0, pWnd, nIDTool, RECT{0, 0, 0, 0}, nullptr, nullptr, 0};
    if (nIDTool == 0 && !FindTool(pWnd, 0)) {
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(pWnd);
    }
    SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFO ti{sizeof(TOOLINFO), 0, pWnd, nIDTool, RECT{0, 0, 0, 0}, nullptr, const_cast<LPTSTR>(lpszText), 0};
    if (nIDTool == 0 && !FindTool(pWnd, 0)) {
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(pWnd);
    }
    SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
    const Tool* tool = FindTool(pWnd, nIDTool);
    if (!tool && nIDTool == 0)
        tool = FindTool(nullptr, reinterpret_cast<UINT_PTR>(pWnd));
    str = tool ? tool->text : CString();
}

int CToolTipCtrl::GetToolCount() const { return static_cast<int>(m_tools.size()); }

void CToolTipCtrl::RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }

int CToolTipCtrl::SetMaxTipWidth(int iWidth) {
    return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, static_cast<LPARAM>(iWidth)));
}

void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime) {
    SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(static_cast<WORD>(iTime), 0));
}

void CToolTipCtrl::Pop() { SendMessage(TTM_POP, 0, 0); }

BOOL CToolTipCtrl::IsTipShown() const {
    return (!m_shownText.IsEmpty() && QToolTip::isVisible() && QToolTip::text() == GbkToQString(m_shownText.Str()))
               ? TRUE
               : FALSE;
}

CToolTipCtrl::Tool* CToolTipCtrl::FindTool(HWND hwnd, UINT_PTR uId) {
    for (Tool& tool : m_tools) {
        const bool byWindow = (tool.uFlags & TTF_IDISHWND) != 0;
        if (tool.uId == uId && (byWindow || tool.hwnd == hwnd))
            return &tool;
    }
    return nullptr;
}

const CToolTipCtrl::Tool* CToolTipCtrl::FindTool(HWND hwnd, UINT_PTR uId) const {
    return const_cast<CToolTipCtrl*>(this)->FindTool(hwnd, uId);
}

int CToolTipCtrl::ToolAt(HWND hwnd, POINT client) const {
    for (size_t i = 0; i < m_tools.size(); ++i) {
        const Tool& tool = m_tools[i];
        if (tool.uFlags & TTF_IDISHWND) {
            if (reinterpret_cast<HWND>(tool.uId) == hwnd)
                return static_cast<int>(i);
        } else if (tool.hwnd == hwnd && CRect(tool.rect).PtInRect(client)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CToolTipCtrl::CursorOnTool(int index) const {
    if (index < 0 || index >= GetToolCount())
        return false;
    const Tool& tool = m_tools[static_cast<size_t>(index)];
    HWND window = (tool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.uId) : tool.hwnd;
    if (!IsWindow(window) || !window->IsWindowVisible())
        return false;
    CRect area;
    if (tool.uFlags & TTF_IDISHWND)
        window->GetClientRect(&area);
    else
        area = tool.rect;
    POINT cursor;
    GetCursorPos(&cursor);
    window->ScreenToClient(&cursor);
    return area.PtInRect(cursor) != FALSE;
}

void CToolTipCtrl::OnRelayedMouse(const MSG& msg) {
    if (!IsWindow(msg.hwnd))
        return;
    const POINT point{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    const int index = ToolAt(msg.hwnd, point);
    if (msg.message != WM_MOUSEMOVE) {
        // A click puts the tip away until the cursor moves on to another tool.
        Hide();
        m_showTimer->stop();
        m_current = index;
        m_pressed = index >= 0;
    } else if (index != m_current) {
        const bool wasShown = IsTipShown() != FALSE;
        Hide();
        m_showTimer->stop();
        m_current = index;
        m_pressed = false;
        if (index >= 0 && m_active)
            m_showTimer->start(wasShown ? m_reshow : m_initial);
    }
    if (m_current >= 0)
        m_watchTimer->start();
    else
        m_watchTimer->stop();
}

void CToolTipCtrl::Show() {
    if (!m_active || m_pressed || m_current < 0 || m_current >= GetToolCount() || !CursorOnTool(m_current))
        return;
    const Tool& tool = m_tools[static_cast<size_t>(m_current)];
    if (tool.text.IsEmpty())
        return;
    const QString text = Wrapped(GbkToQString(tool.text.Str()), m_maxTipWidth);
    HWND window = (tool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.uId) : tool.hwnd;
    POINT cursor;
    GetCursorPos(&cursor);
    m_shownText = QStringToGbk(text).value_or(std::string());
    QToolTip::showText(QPoint(cursor.x, cursor.y), text, window->GetHostWidget(), QRect(), m_autoPop);
}

void CToolTipCtrl::Hide() {
    if (QCoreApplication::instance() && IsTipShown())
        QToolTip::hideText();
    m_shownText.Empty();
}

LRESULT CToolTipCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case TTM_ACTIVATE:
        m_active = wParam != 0;
        if (!m_active) {
            Hide();
            m_showTimer->stop();
        }
        return 0;
    case TTM_SETMAXTIPWIDTH: {
        const int previous = m_maxTipWidth;
        m_maxTipWidth = static_cast<int>(lParam);
        return previous;
    }
    case TTM_GETMAXTIPWIDTH: return m_maxTipWidth;
    case TTM_RELAYEVENT:
        if (auto* msg = reinterpret_cast<const MSG*>(lParam); msg && IsRelayedMouse(msg->message))
            OnRelayedMouse(*msg);
        return 0;
    case TTM_ADDTOOL: {
        const auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
        if (!ti || (!(ti->uFlags & TTF_IDISHWND) && !IsWindow(ti->hwnd)) ||
            ((ti->uFlags & TTF_IDISHWND) && !IsWindow(reinterpret_cast<HWND>(ti->uId))))
            return FALSE;
        Tool tool{ti->uFlags, ti->hwnd, ti->uId, ti->rect, CString(ti->lpszText)};
        if (Tool* existing = FindTool(ti->hwnd, ti->uId))
            *existing = tool;
        else
            m_tools.push_back(tool);
        return TRUE;
    }
    case TTM_DELTOOL:
        if (const auto* ti = reinterpret_cast<const TOOLINFO*>(lParam)) {
            if (Tool* tool = FindTool(ti->hwnd, ti->uId)) {
                Hide();
                m_showTimer->stop();
                m_current = -1;
                m_tools.erase(m_tools.begin() + (tool - m_tools.data()));
            }
        }
        return 0;
    case TTM_UPDATETIPTEXT:
        if (const auto* ti = reinterpret_cast<const TOOLINFO*>(lParam)) {
            if (Tool* tool = FindTool(ti->hwnd, ti->uId)) {
                tool->text = CString(ti->lpszText);
                // A tip on screen shows the new text at once.
                if (!m_shownText.IsEmpty() && m_current >= 0 && tool == &m_tools[static_cast<size_t>(m_current)]) {
                    Hide();
                    Show();
                }
            }
        }
        return 0;
    case TTM_GETTOOLCOUNT: return GetToolCount();
    case TTM_SETDELAYTIME: {
        const int time = static_cast<short>(LOWORD(static_cast<uint32_t>(lParam)));
        switch (wParam) {
        case TTDT_AUTOMATIC: {
            const int base = time < 0 ? 500 : time;
            m_initial = base;
            m_autoPop = base * 10;
            m_reshow = base / 5;
            break;
        }
        case TTDT_INITIAL: m_initial = time < 0 ? 500 : time; break;
        case TTDT_AUTOPOP: m_autoPop = time < 0 ? 5000 : time; break;
        case TTDT_RESHOW: m_reshow = time < 0 ? 100 : time; break;
        default: break;
        }
        return 0;
    }
    case TTM_POP:
        Hide();
        m_showTimer->stop();
        return 0;
    default: return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

void CToolTipCtrl::OnDestroy() {
    Hide();
    m_showTimer->stop();
    m_watchTimer->stop();
    m_tools.clear();
    m_current = -1;
    CWnd::OnDestroy();
}
