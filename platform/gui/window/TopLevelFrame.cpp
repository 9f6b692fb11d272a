#include "TopLevelFrame.h"

#include "XConnection.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/frame/WinApp.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>

namespace {

QSize Grown(const QSize& client, const QMargins& m) {
    return QSize(client.width() + m.left() + m.right(), client.height() + m.top() + m.bottom());
}

bool Framed(const QWidget* window) {
    // The offscreen platform makes up a thin frame for every framed window; no window manager draws it.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return false;
    const Qt::WindowType type = window->windowType();
    return type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen &&
           !window->windowFlags().testFlag(Qt::FramelessWindowHint);
}

// Where the window manager's title bar is not known yet: about as high as common themes draw it.
constexpr int kTitleBarHeight = 24;

} // namespace

CTopLevelFrame::CTopLevelFrame(QWidget* window) : QObject(window), m_window(window) {
    setObjectName(QStringLiteral("topLevelFrame"));
    window->installEventFilter(this);
}

CTopLevelFrame* CTopLevelFrame::Of(QWidget* window) {
    if (auto* frame = window->findChild<CTopLevelFrame*>(QStringLiteral("topLevelFrame"), Qt::FindDirectChildrenOnly))
        return frame;
    return new CTopLevelFrame(window);
}

QMargins CTopLevelFrame::KnownMargins(const QWidget* window) {
    if (!window->isWindow() || !Framed(window))
        return {};
    const QRect f = window->frameGeometry();
    const QRect g = window->geometry();
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
}

void CTopLevelFrame::SetTitle(QWidget* window, std::string_view gbk) {
    if (gbk.empty())
        gbk = AfxGetAppName();
    const QString title = ShownText(gbk, kMaxTitleChars);
    // Qt gives an empty title the executable's name.
    window->setWindowTitle(title.isEmpty() ? QStringLiteral(" ") : title);
}

QRect CTopLevelFrame::OuterRect(const QWidget* window) {
    QMargins m = KnownMargins(window);
    if (m.isNull())
        if (auto* frame =
                window->findChild<CTopLevelFrame*>(QStringLiteral("topLevelFrame"), Qt::FindDirectChildrenOnly))
            m = frame->m_applied;
    return window->geometry().marginsAdded(m);
}

// What the window manager will draw: the frame it reported, else that of the window's owner or of another shown
// window of the program, which the same window manager decorates alike.
QMargins CTopLevelFrame::Margins() const {
    if (!Framed(m_window))
        return {};
    const QMargins known = KnownMargins(m_window);
    if (!known.isNull())
        return known;
    if (QWidget* owner = m_window->parentWidget()) {
        const QMargins m = KnownMargins(owner->window());
        if (owner->window()->isVisible() && !m.isNull())
            return m;
    }
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == m_window || !other->isVisible() || !Framed(other))
            continue;
        const QMargins m = KnownMargins(other);
        if (!m.isNull())
            return m;
    }
    return {};
}

void CTopLevelFrame::Place(const QRect& outer, bool sizeGiven) {
    Request request{outer.topLeft(), std::nullopt, std::nullopt};
    if (sizeGiven)
        request.outerSize = outer.size();
    m_request = request;
    Apply();
}

void CTopLevelFrame::Centre(const QRect& area) {
    Request request = m_request.value_or(Request{OuterRect(m_window).topLeft(), std::nullopt, std::nullopt});
    request.centreIn = area;
    m_request = request;
    Apply();
}

void CTopLevelFrame::SetResizable(bool resizable) {
    m_resizable = resizable;
    if (resizable) {
        m_window->setMinimumSize(0, 0);
        m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        m_window->setFixedSize(m_window->size());
    }
}

void CTopLevelFrame::SetMinimizable(bool minimizable) { m_minimizable = minimizable; }

int CTopLevelFrame::WidthForTitle() const {
    // The window manager's font is its own: measured in the fonts Qt takes for a title, the wider wins.
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QString title = m_window->windowTitle();
    const int text = std::max(QFontMetrics(bold).horizontalAdvance(title),
                              QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(title));
    const QMargins m = Margins();
    const int bar = std::max(m.top(), kTitleBarHeight);
    // Room for an icon, minimise, maximise and close, each about as wide as the bar is high, and the title's ends.
    return text + 5 * bar + m.left() + m.right();
}

// Qt's motif hints already ask for no minimising where a window has no minimise button. Openbox offers minimising
// whatever those hints say to every window but a toolbar or a menu, and minimises a modal window together with its
// owner: under it, a window that must not be minimised says it is a toolbar.
void CTopLevelFrame::WithholdMinimize() {
    xcb_connection_t* c = XConnection();
    if (!c || !m_window->isWindow() || XWindowManagerName() != "Openbox")
        return;
    const uint32_t toolbar = XAtom("_NET_WM_WINDOW_TYPE_TOOLBAR");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(m_window->winId()),
                        XAtom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &toolbar);
    xcb_flush(c);
}

void CTopLevelFrame::Apply() {
    if (!m_request)
        return;
    const QMargins m = Margins();
    QSize client = m_window->size();
    if (m_request->outerSize)
        client = QSize(std::max(0, m_request->outerSize->width() - m.left() - m.right()),
                       std::max(0, m_request->outerSize->height() - m.top() - m.bottom()));
    const QSize outer = Grown(client, m);
    QPoint topLeft = m_request->topLeft;
    if (m_request->centreIn) {
        const QRect& area = *m_request->centreIn;
        topLeft =
            QPoint(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
    }
    m_applied = m;
    if (!m_resizable && m_window->size() != client)
        m_window->setFixedSize(client);
    m_window->setGeometry(QRect(topLeft + QPoint(m.left(), m.top()), client));
}

// Once the window manager has reported the frame, the placement asked for is made again with it, and then
// forgotten: later moves are the operator's, or the program's own.
void CTopLevelFrame::Check() {
    m_checkQueued = false;
    const QMargins known = KnownMargins(m_window);
    if (known.isNull())
        return;
    if (known != m_applied && m_request)
        Apply();
    m_applied = known;
    m_request.reset();
}

bool CTopLevelFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window)
        return false;
    // Before the window is mapped: the window manager reads the hints once it takes the window.
    if (event->type() == QEvent::Show && !m_minimizable)
        WithholdMinimize();
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Paint:
    case QEvent::WindowActivate:
        // Not while Qt delivers the event: the window may be painting.
        if (!m_checkQueued && m_window->isVisible()) {
            m_checkQueued = true;
            QMetaObject::invokeMethod(
                this, [this]() { Check(); }, Qt::QueuedConnection);
        }
        break;
    default: break;
    }
    return false;
}
