#include "Menu.h"

#include "FrameWnd.h"
#include "MenuStyle.h"
#include "PopupMenuWidget.h"
#include "ResourceTable.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/window/Wnd.h"

#include "platform/os/Gbk.h"
#include "platform/os/LastError.h"

#include <QAction>
#include <QActionEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

// The registries live to the end of the process: menus may go after static destructors have run.
constexpr const char* kCmdId = "menuCmdId";
constexpr const char* kType = "menuType";
constexpr const char* kDisabledBits = "menuDisabledBits";
constexpr const char* kItemData = "menuItemData";
constexpr const char* kGbkText = "menuGbkText";
constexpr const char* kSubMenuId = "menuSubMenuId";

std::map<QMenu*, CMenu*>& Permanent() {
    static auto* menus = new std::map<QMenu*, CMenu*>;
    return *menus;
}

std::map<QMenu*, std::unique_ptr<CMenu>>& Lasting() {
    static auto* menus = new std::map<QMenu*, std::unique_ptr<CMenu>>;
    return *menus;
}

std::set<const QMenu*>& LiveMenus() {
    static auto* menus = new std::set<const QMenu*>;
    return *menus;
}

PopupMenuHandler& CurrentPopupHandler() {
    static PopupMenuHandler handler;
    return handler;
}

// Forget wrappers when Qt destroys the menu (a parent menu deleting its pop-ups, for instance).
void WatchMenu(QMenu* menu) {
    if (LiveMenus().count(menu))
        return;
    LiveMenus().insert(menu);
    QObject::connect(menu, &QObject::destroyed, [menu]() {
        LiveMenus().erase(menu);
        if (auto it = Permanent().find(menu); it != Permanent().end()) {
            it->second->m_hMenu = nullptr;
            Permanent().erase(it);
        }
        if (auto it = Lasting().find(menu); it != Lasting().end()) {
            it->second->m_hMenu = nullptr;
            Lasting().erase(it);
        }
    });
}

QMenu* NewMenu(QWidget* parent = nullptr) {
    QMenu* menu = new CPopupMenuWidget(parent);
    WatchMenu(menu);
    return menu;
}

std::string GbkOf(LPCTSTR text) { return text ? std::string(text) : std::string(); }

void SetActionText(QAction* action, const std::string& gbk) {
    action->setProperty(kGbkText, QByteArray(gbk.data(), static_cast<qsizetype>(gbk.size())));
    QString text = GbkToQString(gbk);
    // Qt widens the whole menu for text after a tab; an owner-drawn item is as wide as its owner measures it.
    if (action->property(kType).toUInt() & MF_OWNERDRAW)
        text.truncate(text.indexOf('\t') < 0 ? text.size() : text.indexOf('\t'));
    action->setText(text);
    if (QMenu* sub = action->menu())
        sub->setTitle(action->text());
}

std::string ActionText(const QAction* action) {
    const QVariant bytes = action->property(kGbkText);
    if (bytes.isValid())
        return bytes.toByteArray().toStdString();
    return QStringToGbk(action->text()).value_or(std::string());
}

UINT DisabledBits(const QAction* action) {
    if (action->isEnabled())
        return 0;
    const QVariant bits = action->property(kDisabledBits);
    return bits.isValid() ? bits.toUInt() : MF_GRAYED;
}

// A 32-bit id for a pop-up item, as the platform uses the sub-menu's handle; above the range of command ids.
UINT SubMenuId(QMenu* sub) {
    static UINT next = 0x10000;
    QVariant id = sub->property(kSubMenuId);
    if (!id.isValid()) {
        id = next++;
        sub->setProperty(kSubMenuId, id);
    }
    return id.toUInt();
}

// Type and item data are not Qt's: tell the menus showing the item to measure it again.
void Remeasure(QAction* action) {
    QActionEvent event(QEvent::ActionChanged, action);
    for (QObject* shown : action->associatedObjects())
        QCoreApplication::sendEvent(shown, &event);
}

void ApplyState(QAction* action, UINT flags) {
    const UINT disabled = flags & (MF_GRAYED | MF_DISABLED);
    action->setProperty(kDisabledBits, disabled);
    action->setEnabled(disabled == 0);
    if (flags & MF_CHECKED) {
        action->setCheckable(true);
        action->setChecked(true);
    } else if (action->isCheckable()) {
        action->setChecked(false);
    }
}

// Fills an item from the flags of AppendMenu, InsertMenu and ModifyMenu.
void DefineItem(QMenu* menu, QAction* action, UINT flags, UINT_PTR idOrMenu, LPCTSTR text) {
    action->setProperty(kType, flags & (MF_OWNERDRAW | MF_BITMAP | MF_MENUBREAK | MF_MENUBARBREAK | MFT_RADIOCHECK));
    if (flags & MF_SEPARATOR) {
        action->setSeparator(true);
        action->setProperty(kCmdId, 0u);
        // An owner-drawn separator keeps its item data, so its owner can tell how to draw it.
        if (flags & MF_OWNERDRAW) {
            action->setProperty(kItemData, static_cast<qulonglong>(reinterpret_cast<UINT_PTR>(text)));
            Remeasure(action);
        }
        return;
    }
    action->setSeparator(false);
    if (flags & MF_POPUP) {
        auto* sub = reinterpret_cast<QMenu*>(idOrMenu);
        if (sub) {
            // The parent menu owns its pop-ups, as destroying a menu destroys them.
            sub->setParent(menu, sub->windowFlags());
            WatchMenu(sub);
            action->setMenu(sub);
        }
        action->setProperty(kCmdId, 0u);
    } else {
        action->setProperty(kCmdId, static_cast<UINT>(idOrMenu));
    }
    if (flags & MF_OWNERDRAW) {
        // The last argument is the owner's item data; such an item has no text.
        action->setProperty(kItemData, static_cast<qulonglong>(reinterpret_cast<UINT_PTR>(text)));
        SetActionText(action, std::string());
    } else if (!(flags & MF_BITMAP) || text) {
        SetActionText(action, GbkOf(text));
    }
    ApplyState(action, flags);
    Remeasure(action);
}

QAction* FindByCommand(QMenu* menu, UINT id, QMenu** owner) {
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu()) {
            if (id == SubMenuId(sub)) {
                if (owner)
                    *owner = menu;
                return action;
            }
            if (QAction* found = FindByCommand(sub, id, owner))
                return found;
        } else if (!action->isSeparator() && CMenu::ActionCommandId(action) == id) {
            if (owner)
                *owner = menu;
            return action;
        }
    }
    return nullptr;
}

void BuildFromTemplate(QMenu* menu, const std::vector<MenuItemTemplate>& items) {
    for (const MenuItemTemplate& item : items) {
        auto* action = new QAction(menu);
        const std::string gbk = item.text ? Utf8ToGbk(item.text).value_or(std::string("?")) : std::string();
        if (item.flags & MF_POPUP) {
            QMenu* sub = NewMenu(menu);
            BuildFromTemplate(sub, item.items);
            DefineItem(menu, action, item.flags, reinterpret_cast<UINT_PTR>(sub), gbk.c_str());
        } else {
            DefineItem(menu, action, item.flags, item.id, item.text ? gbk.c_str() : nullptr);
        }
        menu->addAction(action);
    }
}

UINT StateOf(const QAction* action, const QMenu* menu) {
    UINT state = DisabledBits(action);
    state |= action->property(kType).toUInt();
    if (action->isSeparator())
        state |= MF_SEPARATOR;
    if (action->isChecked())
        state |= MF_CHECKED;
    if (menu && menu->defaultAction() == action)
        state |= MF_DEFAULT;
    return state;
}

} // namespace

CMenu::~CMenu() {
    if (!m_lasting)
        DestroyMenu();
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu) {
    auto it = Permanent().find(hMenu);
    return it != Permanent().end() ? it->second : nullptr;
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (!hMenu)
        return nullptr;
    if (auto it = Permanent().find(hMenu); it != Permanent().end())
        return it->second;
    auto& lasting = Lasting()[hMenu];
    if (!lasting) {
        lasting = std::make_unique<CMenu>();
        lasting->m_hMenu = hMenu;
        lasting->m_lasting = true;
        WatchMenu(hMenu);
    }
    return lasting.get();
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (m_hMenu || !hMenu || Permanent().count(hMenu))
        return FALSE;
    m_hMenu = hMenu;
    Permanent()[hMenu] = this;
    WatchMenu(hMenu);
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    if (menu && !m_lasting)
        Permanent().erase(menu);
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::CreateMenu() { return Attach(NewMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(NewMenu()); }

BOOL CMenu::LoadMenu(UINT nIDResource) {
    const MenuTemplate* table = CResourceTable::FindMenu(nIDResource);
    if (!table || m_hMenu)
        return FALSE;
    QMenu* menu = NewMenu();
    BuildFromTemplate(menu, table->items);
    return Attach(menu);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT /*lpDrawItemStruct*/) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT /*lpMeasureItemStruct*/) {}

BOOL CMenu::DestroyMenu() {
    HMENU menu = Detach();
    if (!menu)
        return FALSE;
    delete menu;
    return TRUE;
}

UINT CMenu::GetMenuItemCount() const {
    return m_hMenu ? static_cast<UINT>(m_hMenu->actions().size()) : static_cast<UINT>(-1);
}

QAction* CMenu::ItemAction(UINT nItem, UINT nFlags, CMenu** ppOwner) const {
    if (!m_hMenu)
        return nullptr;
    if (nFlags & MF_BYPOSITION) {
        const QList<QAction*> actions = m_hMenu->actions();
        if (nItem >= static_cast<UINT>(actions.size()))
            return nullptr;
        if (ppOwner)
            *ppOwner = const_cast<CMenu*>(this);
        return actions.at(static_cast<qsizetype>(nItem));
    }
    QMenu* owner = nullptr;
    QAction* action = FindByCommand(m_hMenu, nItem, &owner);
    if (action && ppOwner)
        *ppOwner = FromHandle(owner);
    return action;
}

UINT CMenu::ActionCommandId(const QAction* action) {
    if (!action || action->isSeparator() || action->menu())
        return 0;
    return action->property(kCmdId).toUInt();
}

UINT CMenu::ActionItemId(const QAction* action) {
    if (action && action->menu())
        return SubMenuId(action->menu());
    return ActionCommandId(action);
}

UINT_PTR CMenu::ActionItemData(const QAction* action) {
    return action ? static_cast<UINT_PTR>(action->property(kItemData).toULongLong()) : 0;
}

UINT CMenu::ActionState(const QAction* action, const QMenu* menu) { return action ? StateOf(action, menu) : 0; }

UINT CMenu::GetMenuItemID(int nPos) const {
    QAction* action = nPos >= 0 ? ItemAction(static_cast<UINT>(nPos), MF_BYPOSITION) : nullptr;
    if (!action || action->menu())
        return static_cast<UINT>(-1);
    return ActionCommandId(action);
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    QAction* action = nPos >= 0 ? ItemAction(static_cast<UINT>(nPos), MF_BYPOSITION) : nullptr;
    return action ? FromHandle(action->menu()) : nullptr;
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    CMenu* owner = nullptr;
    QAction* action = ItemAction(nID, nFlags, &owner);
    if (!action)
        return static_cast<UINT>(-1);
    UINT state = StateOf(action, owner ? owner->m_hMenu : nullptr);
    if (QMenu* sub = action->menu())
        state = (state & 0xFF) | MF_POPUP | (static_cast<UINT>(sub->actions().size()) << 8);
    return state;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    QAction* action = ItemAction(nIDItem, nFlags);
    rString = action ? ActionText(action) : std::string();
    return rString.GetLength();
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO info, BOOL fByPos) const {
    CMenu* owner = nullptr;
    QAction* action = info ? ItemAction(uItem, fByPos ? MF_BYPOSITION : MF_BYCOMMAND, &owner) : nullptr;
    if (!action)
        return FALSE;
    const UINT state = StateOf(action, owner ? owner->m_hMenu : nullptr);
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE))
        info->fType =
            state & (MFT_OWNERDRAW | MFT_BITMAP | MFT_MENUBREAK | MFT_MENUBARBREAK | MFT_RADIOCHECK | MFT_SEPARATOR);
    if (info->fMask & MIIM_STATE)
        info->fState = ((state & (MF_GRAYED | MF_DISABLED)) ? MFS_GRAYED : 0) | (state & (MFS_CHECKED | MFS_DEFAULT));
    if (info->fMask & MIIM_ID)
        info->wID = ActionItemId(action);
    if (info->fMask & MIIM_SUBMENU)
        info->hSubMenu = action->menu();
    if (info->fMask & MIIM_DATA)
        info->dwItemData = static_cast<UINT_PTR>(action->property(kItemData).toULongLong());
    if ((info->fMask & (MIIM_TYPE | MIIM_STRING)) && !action->isSeparator()) {
        const std::string text = ActionText(action);
        if (info->dwTypeData && info->cch > 0) {
            const size_t n = std::min<size_t>(text.size(), info->cch - 1);
            std::memcpy(info->dwTypeData, text.data(), n);
            info->dwTypeData[n] = '\0';
            info->cch = static_cast<UINT>(n);
        } else {
            info->cch = static_cast<UINT>(text.size());
        }
    }
    return TRUE;
}

BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO info, BOOL fByPos) {
    CMenu* owner = nullptr;
    QAction* action = info ? ItemAction(uItem, fByPos ? MF_BYPOSITION : MF_BYCOMMAND, &owner) : nullptr;
    if (!action)
        return FALSE;
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) {
        action->setProperty(
            kType, info->fType & (MFT_OWNERDRAW | MFT_BITMAP | MFT_MENUBREAK | MFT_MENUBARBREAK | MFT_RADIOCHECK));
        action->setSeparator((info->fType & MFT_SEPARATOR) != 0);
        SetActionText(action, ActionText(action));
    }
    if ((info->fMask & MIIM_STRING) || ((info->fMask & MIIM_TYPE) && !(info->fType & (MFT_BITMAP | MFT_SEPARATOR)) &&
                                        !(info->fType & MFT_OWNERDRAW) && info->dwTypeData))
        SetActionText(action, GbkOf(info->dwTypeData));
    if (info->fMask & MIIM_STATE) {
        ApplyState(action, info->fState & (MF_GRAYED | MF_DISABLED | MF_CHECKED));
        if (owner && owner->m_hMenu) {
            if (info->fState & MFS_DEFAULT)
                owner->m_hMenu->setDefaultAction(action);
            else if (owner->m_hMenu->defaultAction() == action)
                owner->m_hMenu->setDefaultAction(nullptr);
        }
    }
    if (info->fMask & MIIM_ID && !action->menu())
        action->setProperty(kCmdId, info->wID);
    if (info->fMask & MIIM_DATA)
        action->setProperty(kItemData, static_cast<qulonglong>(info->dwItemData));
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE | MIIM_DATA))
        Remeasure(action);
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    if (!m_hMenu)
        return FALSE;
    auto* action = new QAction(m_hMenu);
    DefineItem(m_hMenu, action, nFlags, nIDNewItem, lpszNewItem);
    m_hMenu->addAction(action);
    return TRUE;
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    if (!m_hMenu)
        return FALSE;
    CMenu* owner = this;
    QAction* before = ItemAction(nPosition, nFlags, &owner);
    // A position past the end appends; a command that is not there fails.
    if (!before && !(nFlags & MF_BYPOSITION))
        return FALSE;
    QMenu* menu = owner && owner->m_hMenu ? owner->m_hMenu : m_hMenu;
    auto* action = new QAction(menu);
    DefineItem(menu, action, nFlags, nIDNewItem, lpszNewItem);
    menu->insertAction(before, action);
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    CMenu* owner = nullptr;
    QAction* action = ItemAction(nPosition, nFlags, &owner);
    if (!action)
        return FALSE;
    QMenu* menu = owner && owner->m_hMenu ? owner->m_hMenu : m_hMenu;
    // A pop-up that is replaced goes with its item, as the platform destroys it.
    QMenu* oldSub = action->menu();
    if (oldSub && (!(nFlags & MF_POPUP) || reinterpret_cast<QMenu*>(nIDNewItem) != oldSub)) {
        action->setMenu(nullptr);
        delete oldSub;
    }
    DefineItem(menu, action, nFlags, nIDNewItem, lpszNewItem);
    return TRUE;
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    QAction* action = ItemAction(nPosition, nFlags);
    if (!action)
        return FALSE;
    // The pop-up survives its item; its new owner is whoever holds its handle.
    if (QMenu* sub = action->menu()) {
        action->setMenu(nullptr);
        sub->setParent(nullptr, sub->windowFlags());
    }
    delete action;
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    QAction* action = ItemAction(nPosition, nFlags);
    if (!action)
        return FALSE;
    QMenu* sub = action->menu();
    delete action;
    delete sub;
    return TRUE;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    QAction* action = ItemAction(nIDEnableItem, nEnable);
    if (!action)
        return static_cast<UINT>(-1);
    const UINT previous = DisabledBits(action);
    const UINT disabled = nEnable & (MF_GRAYED | MF_DISABLED);
    action->setProperty(kDisabledBits, disabled);
    action->setEnabled(disabled == 0);
    return previous;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    QAction* action = ItemAction(nIDCheckItem, nCheck);
    if (!action)
        return static_cast<UINT>(-1);
    const UINT previous = action->isChecked() ? MF_CHECKED : MF_UNCHECKED;
    action->setCheckable(true);
    action->setChecked((nCheck & MF_CHECKED) != 0);
    return previous;
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) {
    if (!m_hMenu)
        return FALSE;
    if (uItem == static_cast<UINT>(-1)) {
        m_hMenu->setDefaultAction(nullptr);
        return TRUE;
    }
    QAction* action = ItemAction(uItem, fByPos ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!action || !m_hMenu->actions().contains(action))
        return FALSE;
    m_hMenu->setDefaultAction(action);
    return TRUE;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT /*lpRect*/) {
    if (!m_hMenu || !pWnd)
        return FALSE;
    if (nFlags & (TPM_CENTERALIGN | TPM_RIGHTALIGN | TPM_VCENTERALIGN | TPM_BOTTOMALIGN)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return FALSE;
    }
    const bool notify = !(nFlags & TPM_NONOTIFY);
    QPointer<QMenu> menu = m_hMenu;
    // Owner-drawn items of this menu and its pop-ups are measured and drawn by the window named here.
    CMenuStyle::SetMenuOwner(m_hMenu, pWnd);
    if (notify)
        pWnd->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m_hMenu), MAKELPARAM(0, FALSE));
    if (!menu)
        return FALSE;

    UINT chosen = 0;
    if (CurrentPopupHandler()) {
        chosen = CurrentPopupHandler()(*this, nFlags, CPoint(x, y), pWnd);
    } else {
        // Pop-ups inside announce themselves to the owner as they open.
        std::vector<QMetaObject::Connection> connections;
        if (notify) {
            const std::vector<QMenu*> subs = [&] {
                std::vector<QMenu*> found;
                for (QMenu* sub : m_hMenu->findChildren<QMenu*>())
                    found.push_back(sub);
                return found;
            }();
            for (QMenu* sub : subs) {
                connections.push_back(QObject::connect(sub, &QMenu::aboutToShow, [sub, pWnd]() {
                    int index = 0;
                    if (auto* parent = qobject_cast<QMenu*>(sub->parent()))
                        index = static_cast<int>(parent->actions().indexOf(sub->menuAction()));
                    if (IsWindow(pWnd))
                        pWnd->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub),
                                          MAKELPARAM(static_cast<WORD>(index), FALSE));
                }));
            }
        }
        QAction* action = m_hMenu->exec(QPoint(x, y));
        for (const auto& c : connections)
            QObject::disconnect(c);
        chosen = ActionCommandId(action);
    }

    if (nFlags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (chosen && notify && IsWindow(pWnd))
        pWnd->PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    return TRUE;
}

PopupMenuHandler CMenu::SetPopupMenuHandler(PopupMenuHandler handler) {
    PopupMenuHandler previous = std::move(CurrentPopupHandler());
    CurrentPopupHandler() = std::move(handler);
    return previous;
}

BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem) {
    if (!lprcItem || !IsMenu(hMenu) || uItem >= static_cast<UINT>(hMenu->actions().size()))
        return FALSE;
    QAction* action = hMenu->actions().at(static_cast<qsizetype>(uItem));
    QRect rect;
    if (hMenu->isVisible()) {
        rect = hMenu->actionGeometry(action);
        rect.moveTopLeft(hMenu->mapToGlobal(rect.topLeft()));
    } else if (auto* frame = dynamic_cast<CFrameWnd*>(hWnd); frame && IsWindow(frame) && frame->GetMenuBarWidget()) {
        QMenuBar* bar = frame->GetMenuBarWidget();
        if (!bar->actions().contains(action) || !bar->isVisible())
            return FALSE;
        rect = bar->actionGeometry(action);
        rect.moveTopLeft(bar->mapToGlobal(rect.topLeft()));
    }
    if (rect.isEmpty())
        return FALSE;
    *lprcItem = RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    return TRUE;
}

BOOL IsMenu(HMENU hMenu) { return LiveMenus().count(hMenu) ? TRUE : FALSE; }

MenuItemId::operator QMenu*() const {
    if (m_value <= 0xFFFF)
        return nullptr;
    for (const QMenu* menu : LiveMenus())
        if (menu->property(kSubMenuId).toUInt() == m_value)
            return const_cast<QMenu*>(menu);
    return nullptr;
}

int GetMenuItemCount(HMENU hMenu) {
    return IsMenu(hMenu) ? static_cast<int>(CMenu::FromHandle(hMenu)->GetMenuItemCount()) : -1;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
    return IsMenu(hMenu) ? CMenu::FromHandle(hMenu)->GetMenuState(uId, uFlags) : static_cast<UINT>(-1);
}

BOOL GetMenuItemInfo(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFO lpmii) {
    return IsMenu(hMenu) ? CMenu::FromHandle(hMenu)->GetMenuItemInfo(uItem, lpmii, fByPosition) : FALSE;
}

BOOL SetMenuItemInfo(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFO lpmii) {
    return IsMenu(hMenu) ? CMenu::FromHandle(hMenu)->SetMenuItemInfo(uItem, lpmii, fByPosition) : FALSE;
}

BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem) {
    return IsMenu(hMenu) ? CMenu::FromHandle(hMenu)->AppendMenu(uFlags, uIDNewItem, lpNewItem) : FALSE;
}

BOOL ModifyMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem) {
    return IsMenu(hMenu) ? CMenu::FromHandle(hMenu)->ModifyMenu(uPosition, uFlags, uIDNewItem, lpNewItem) : FALSE;
}
