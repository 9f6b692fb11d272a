#include "MenuStyle.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/OwnerDraw.h"
#include "platform/gui/window/SystemParameters.h"
#include "platform/gui/window/Wnd.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionMenuItem>

#include <algorithm>
#include <map>

namespace {

// A size no menu item can sensibly need; larger answers would make windows the screen cannot hold.
constexpr int kMaxItemExtent = 4096;

struct NotedItem {
    const QStyleOption* option = nullptr;
    const QAction* action = nullptr;
};

NotedItem& Noted() {
    static NotedItem noted;
    return noted;
}

std::map<const QObject*, QPointer<QWidget>>& Owners() {
    static auto* owners = new std::map<const QObject*, QPointer<QWidget>>;
    return *owners;
}

HMENU& Measuring() {
    static HMENU menu = nullptr;
    return menu;
}

// The item an option stands for: the one its widget named last, checked against the widget's items.
const QAction* ActionOf(const QStyleOption* option, const QWidget* widget) {
    if (!widget)
        return nullptr;
    const NotedItem& noted = Noted();
    if (noted.option == option && noted.action && widget->actions().contains(const_cast<QAction*>(noted.action)))
        return noted.action;
    const QPoint centre = option->rect.center();
    if (auto* menu = qobject_cast<const QMenu*>(widget))
        return menu->actionAt(centre);
    if (auto* bar = qobject_cast<const QMenuBar*>(widget))
        return bar->actionAt(centre);
    return nullptr;
}

bool IsOwnerDrawn(const QAction* action) { return action && (CMenu::ActionState(action, nullptr) & MF_OWNERDRAW) != 0; }

// The menu holding an item: the pop-up shown, or for a bar item the menu the bar shows.
HMENU MenuOf(const QAction* action, const QWidget* widget) {
    if (auto* menu = qobject_cast<const QMenu*>(widget))
        return const_cast<QMenu*>(menu);
    return qobject_cast<QMenu*>(action->parent());
}

// Where the client area of a pop-up starts inside its window: past Qt's frame, margins and contents margins.
QPoint ClientOrigin(const QWidget* widget) {
    auto* menu = qobject_cast<const QMenu*>(widget);
    if (!menu)
        return QPoint(0, 0);
    QStyle* style = menu->style();
    const int frame = style->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, menu);
    const QMargins margins = menu->contentsMargins();
    return QPoint(frame + style->pixelMetric(QStyle::PM_MenuHMargin, nullptr, menu) + margins.left(),
                  frame + style->pixelMetric(QStyle::PM_MenuVMargin, nullptr, menu) + margins.top());
}

UINT ItemState(const QAction* action, const QStyleOption* option, const QWidget* widget, bool bar) {
    const UINT flags = CMenu::ActionState(action, qobject_cast<const QMenu*>(widget));
    UINT state = 0;
    if (option->state & QStyle::State_Selected) {
        // An open bar item is selected; one the mouse is only over is hot.
        state |= (!bar || (option->state & QStyle::State_Sunken)) ? ODS_SELECTED : ODS_HOTLIGHT;
    }
    if (flags & MF_GRAYED)
        state |= ODS_GRAYED;
    if (flags & MF_DISABLED)
        state |= ODS_DISABLED;
    if (flags & MF_CHECKED)
        state |= ODS_CHECKED;
    if (flags & MF_DEFAULT)
        state |= ODS_DEFAULT;
    if (bar && !widget->isActiveWindow())
        state |= ODS_INACTIVE;
    BOOL cues = TRUE;
    if (SystemParametersInfo(SPI_GETKEYBOARDCUES, 0, &cues, 0) && !cues)
        state |= ODS_NOACCEL;
    return state;
}

} // namespace

CMenuStyle::CMenuStyle() = default;

CMenuStyle* CMenuStyle::Instance() {
    // Kept to the end of the process: menus may outlive any owner of the style.
    static auto* style = new CMenuStyle;
    return style;
}

void CMenuStyle::NoteItem(const QStyleOption* option, const QAction* action) { Noted() = NotedItem{option, action}; }

void CMenuStyle::SetMenuOwner(QObject* menuOrBar, CWnd* owner) {
    if (!menuOrBar)
        return;
    auto& owners = Owners();
    QWidget* host = owner ? owner->GetHostWidget() : nullptr;
    if (!host) {
        owners.erase(menuOrBar);
        return;
    }
    if (!owners.count(menuOrBar))
        QObject::connect(menuOrBar, &QObject::destroyed, [menuOrBar]() { Owners().erase(menuOrBar); });
    owners[menuOrBar] = host;
}

CWnd* CMenuStyle::GetMenuOwner(const QObject* menuOrBar) {
    for (const QObject* object = menuOrBar; object; object = object->parent()) {
        if (auto it = Owners().find(object); it != Owners().end() && it->second)
            return CWnd::FromWidgetPermanent(it->second);
        if (!qobject_cast<const QMenu*>(object->parent()))
            break;
    }
    return nullptr;
}

HMENU CMenuStyle::GetMeasuringMenu() { return Measuring(); }

QSize CMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                   const QWidget* widget) const {
    const QSize base = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type != CT_MenuItem && type != CT_MenuBarItem)
        return base;
    const QAction* action = ActionOf(option, widget);
    CWnd* owner = IsOwnerDrawn(action) ? GetMenuOwner(widget) : nullptr;
    if (!owner)
        return base;
    MEASUREITEMSTRUCT item{ODT_MENU, 0, CMenu::ActionItemId(action), 0, 0, CMenu::ActionItemData(action)};
    HMENU previous = Measuring();
    Measuring() = MenuOf(action, widget);
    owner->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item));
    Measuring() = previous;
    const int width = static_cast<int>(std::min<UINT>(item.itemWidth, kMaxItemExtent));
    const int height = static_cast<int>(std::min<UINT>(item.itemHeight, kMaxItemExtent));
    // Bar items take the bar's height whatever they answer.
    return QSize(width, type == CT_MenuBarItem ? base.height() : height);
}

void CMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
    const bool item = element == CE_MenuItem || element == CE_MenuBarItem;
    const QAction* action = item ? ActionOf(option, widget) : nullptr;
    CWnd* owner = IsOwnerDrawn(action) ? GetMenuOwner(widget) : nullptr;
    if (!owner) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const QRect area = option->rect;
    if (area.isEmpty())
        return;
    // The owner draws on an image of the item that starts as the menu's background, as the platform's DC
    // holds it, and may read back what it drew.
    QImage image(area.size(), QImage::Format_RGB32);
    const COLORREF background = GetSysColor(COLOR_MENU);
    image.fill(QColor(GetRValue(background), GetGValue(background), GetBValue(background)));
    const QRect client = area.translated(-ClientOrigin(widget));
    CDC dc;
    if (!dc.AttachImage(&image))
        return;
    dc.SetViewportOrg(-client.left(), -client.top());
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = CMenu::ActionItemId(action);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = ItemState(action, option, widget, element == CE_MenuBarItem);
    draw.hwndItem = reinterpret_cast<HWND>(MenuOf(action, widget));
    draw.hDC = dc.m_hDC;
    draw.rcItem = RECT{client.left(), client.top(), client.left() + client.width(), client.top() + client.height()};
    draw.itemData = CMenu::ActionItemData(action);
    owner->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    dc.DetachImage();
    painter->drawImage(area.topLeft(), image);
}
