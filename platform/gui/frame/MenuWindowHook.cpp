#include "MenuWindowHook.h"

#include "platform/gui/draw/DC.h"

#include <QActionEvent>
#include <QApplication>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

// The application-wide event filter behind the hooks.
class CMenuWindowFilter : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override { return CMenuWindowHook::HandleEvent(object, event); }
};

namespace {

// A window larger than this is a hook's mistake, not a menu.
constexpr int kMaxWindowExtent = 16384;

std::vector<CMenuWindowHook*>& Hooks() {
    static auto* hooks = new std::vector<CMenuWindowHook*>;
    return *hooks;
}

std::map<const QObject*, std::unique_ptr<CMenuWindow>>& Windows() {
    static auto* windows = new std::map<const QObject*, std::unique_ptr<CMenuWindow>>;
    return *windows;
}

std::unique_ptr<CMenuWindowFilter>& TheFilter() {
    static auto* filter = new std::unique_ptr<CMenuWindowFilter>;
    return *filter;
}

CMenuWindow* Find(const QObject* menu) {
    auto it = Windows().find(menu);
    return it != Windows().end() ? it->second.get() : nullptr;
}

// A hook may uninstall hooks from inside a handler: walk a copy, skipping those gone meanwhile.
template <typename Call> void ForEachHook(Call call) {
    const std::vector<CMenuWindowHook*> hooks = Hooks();
    for (CMenuWindowHook* hook : hooks)
        if (std::find(Hooks().begin(), Hooks().end(), hook) != Hooks().end())
            call(hook);
}

bool painting = false;

// A menu keeps its items' places from its last layout, margins included, until an item changes: after new
// margins it lays them out again (and, while shown, takes the size that goes with them).
void SetMargins(QMenu* menu, const QMargins& margins) {
    if (menu->contentsMargins() == margins)
        return;
    menu->setContentsMargins(margins);
    const QList<QAction*> items = menu->actions();
    if (items.isEmpty())
        return;
    QActionEvent relayout(QEvent::ActionChanged, items.first());
    QCoreApplication::sendEvent(menu, &relayout);
}

} // namespace

void CMenuWindow::GetWindowRect(LPRECT lpRect) const {
    if (!lpRect)
        return;
    const QRect g = m_menu ? m_menu->geometry() : QRect();
    *lpRect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void CMenuWindow::GetClientRect(LPRECT lpRect) const {
    if (lpRect)
        *lpRect = RECT{0, 0, m_client.right - m_client.left, m_client.bottom - m_client.top};
}

CMenuWindowHook::~CMenuWindowHook() { Uninstall(this); }

void CMenuWindowHook::OnCreate(CMenuWindow* /*pWnd*/) {}
void CMenuWindowHook::OnWindowPosChanging(CMenuWindow* /*pWnd*/, WINDOWPOS* /*lpwndpos*/) {}
void CMenuWindowHook::OnNcCalcSize(CMenuWindow* /*pWnd*/, LPRECT /*lpClientRect*/) {}
void CMenuWindowHook::OnEraseBkgnd(CMenuWindow* /*pWnd*/) {}
void CMenuWindowHook::OnShowWindow(CMenuWindow* /*pWnd*/, BOOL /*bShow*/) {}
void CMenuWindowHook::OnPrint(CMenuWindow* /*pWnd*/, CDC* /*pDC*/, BOOL /*bItemsDrawn*/) {}
void CMenuWindowHook::OnNcDestroy(CMenuWindow* /*pWnd*/) {}

BOOL CMenuWindowHook::Install(CMenuWindowHook* hook) {
    auto& hooks = Hooks();
    if (!hook || std::find(hooks.begin(), hooks.end(), hook) != hooks.end() || !qApp)
        return FALSE;
    hooks.push_back(hook);
    if (!TheFilter()) {
        TheFilter() = std::make_unique<CMenuWindowFilter>();
        qApp->installEventFilter(TheFilter().get());
    }
    return TRUE;
}

BOOL CMenuWindowHook::Uninstall(CMenuWindowHook* hook) {
    auto& hooks = Hooks();
    auto it = std::find(hooks.begin(), hooks.end(), hook);
    if (it == hooks.end())
        return FALSE;
    hooks.erase(it);
    if (hooks.empty()) {
        for (auto& [object, window] : Windows())
            if (window->m_menu)
                SetMargins(window->m_menu, window->m_oldMargins);
        Windows().clear();
        TheFilter().reset();
    }
    return TRUE;
}

bool CMenuWindowHook::HandleEvent(QObject* object, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::Paint)
        return false;
    auto* menu = qobject_cast<QMenu*>(object);
    if (!menu || !menu->isWindow())
        return false;
    switch (type) {
    case QEvent::Show: Shown(menu); return false;
    case QEvent::Hide: Hidden(menu); return false;
    default: return Painted(menu, event);
    }
}

void CMenuWindowHook::Shown(QMenu* menu) {
    if (Find(menu))
        return;
    auto& slot = Windows()[menu];
    slot.reset(new CMenuWindow(menu));
    CMenuWindow* window = slot.get();
    window->m_oldMargins = menu->contentsMargins();
    window->m_watch = QObject::connect(menu, &QObject::destroyed, TheFilter().get(), [menu]() { Destroyed(menu); });

    ForEachHook([&](CMenuWindowHook* hook) { hook->OnCreate(window); });
    const QRect natural = menu->geometry();
    WINDOWPOS pos{nullptr, nullptr, natural.x(), natural.y(), natural.width(), natural.height(), 0};
    ForEachHook([&](CMenuWindowHook* hook) { hook->OnWindowPosChanging(window, &pos); });
    pos.cx = std::clamp(pos.cx, 1, kMaxWindowExtent);
    pos.cy = std::clamp(pos.cy, 1, kMaxWindowExtent);
    RECT client{0, 0, pos.cx, pos.cy};
    ForEachHook([&](CMenuWindowHook* hook) { hook->OnNcCalcSize(window, &client); });
    // The client stays inside the window; what the hooks took from it becomes margins Qt leaves unpainted.
    client.left = std::clamp<LONG>(client.left, 0, pos.cx);
    client.top = std::clamp<LONG>(client.top, 0, pos.cy);
    client.right = std::clamp<LONG>(client.right, client.left, pos.cx);
    client.bottom = std::clamp<LONG>(client.bottom, client.top, pos.cy);
    window->m_client = client;
    if (!Find(menu) || !window->m_menu)
        return;
    SetMargins(menu,
               window->m_oldMargins + QMargins(client.left, client.top, pos.cx - client.right, pos.cy - client.bottom));
    if (QRect(pos.x, pos.y, pos.cx, pos.cy) != menu->geometry())
        menu->setGeometry(pos.x, pos.y, pos.cx, pos.cy);

    ForEachHook([&](CMenuWindowHook* hook) {
        if (Find(menu))
            hook->OnShowWindow(window, TRUE);
    });
    ForEachHook([&](CMenuWindowHook* hook) {
        if (Find(menu))
            hook->OnEraseBkgnd(window);
    });
    if (Find(menu))
        window->m_visible = true;
}

void CMenuWindowHook::Hidden(QMenu* menu) {
    CMenuWindow* window = Find(menu);
    if (!window)
        return;
    window->m_visible = false;
    ForEachHook([&](CMenuWindowHook* hook) {
        if (Find(menu))
            hook->OnShowWindow(window, FALSE);
    });
    if (!Find(menu))
        return;
    SetMargins(menu, window->m_oldMargins);
    Windows().erase(menu);
}

bool CMenuWindowHook::Painted(QMenu* menu, QEvent* event) {
    CMenuWindow* window = Find(menu);
    if (!window || painting)
        return false;
    // The menu paints itself first (past this filter), then the hooks draw over it within the same paint.
    painting = true;
    static_cast<QObject*>(menu)->event(event);
    painting = false;
    const QRegion region = static_cast<QPaintEvent*>(event)->region();
    bool items = false;
    for (QAction* action : menu->actions())
        items = items || region.intersects(menu->actionGeometry(action));
    QPainter painter(menu);
    CDC dc;
    if (dc.AttachPainter(&painter)) {
        ForEachHook([&](CMenuWindowHook* hook) {
            if (Find(menu))
                hook->OnPrint(window, &dc, items ? TRUE : FALSE);
        });
        dc.DetachPainter();
    }
    return true;
}

void CMenuWindowHook::Destroyed(QObject* menu) {
    CMenuWindow* window = Find(menu);
    if (!window)
        return;
    ForEachHook([&](CMenuWindowHook* hook) {
        if (Find(menu))
            hook->OnNcDestroy(window);
    });
    Windows().erase(menu);
}
