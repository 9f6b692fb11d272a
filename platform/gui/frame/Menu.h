#pragma once

#include "platform/gui/base/Handles.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/window/OwnerDraw.h"

#include "platform/os/Object.h"
#include "platform/os/Point.h"
#include "platform/os/Rect.h"
#include "platform/os/String.h"
#include "platform/os/Types.h"

#include <functional>

class QMenu;
class QAction;
class CMenu;

// A menu handle is its QMenu; a loaded menu resource is a QMenu whose items are the pop-ups of a menu bar.
typedef QMenu* HMENU;

// Menu flags, item types and states, item-info masks and tracking flags with the platform's values.
constexpr UINT MF_INSERT = 0x0000;
constexpr UINT MF_CHANGE = 0x0080;
constexpr UINT MF_APPEND = 0x0100;
constexpr UINT MF_DELETE = 0x0200;
constexpr UINT MF_REMOVE = 0x1000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_HELP = 0x4000;
constexpr UINT MF_MOUSESELECT = 0x8000;

constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_BITMAP = MF_BITMAP;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTJUSTIFY = 0x4000;

constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;

constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

constexpr UINT MNC_IGNORE = 0;
constexpr UINT MNC_CLOSE = 1;
constexpr UINT MNC_EXECUTE = 2;
constexpr UINT MNC_SELECT = 3;

struct MENUITEMINFO {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    void* hbmpChecked;
    void* hbmpUnchecked;
    UINT_PTR dwItemData;
    LPTSTR dwTypeData; // GBK
    UINT cch;
    void* hbmpItem;
};
typedef MENUITEMINFO* LPMENUITEMINFO;
// Item texts are narrow (GBK) throughout the layer.
typedef MENUITEMINFO MENUITEMINFOA;
typedef MENUITEMINFO* LPMENUITEMINFOA;

// Runs a pop-up menu and returns the chosen command id (0 when none was chosen). The program shows the QMenu;
// tests install a handler that picks an item instead.
using PopupMenuHandler = std::function<UINT(CMenu& menu, UINT flags, CPoint point, CWnd* owner)>;

// A menu over a QMenu: items carry their command id, type, state and item data as the platform's menus do.
// Item texts are GBK; "&" marks the mnemonic and a tab separates the shortcut text.
class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() = default;
    ~CMenu() override;

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; } // NOLINT: the framework converts implicitly
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // The object attached to the menu, or a lasting wrapper that owns nothing (null for a null menu).
    static CMenu* FromHandle(HMENU hMenu);
    // Only an attached object; null otherwise.
    static CMenu* FromHandlePermanent(HMENU hMenu);

    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // From the menu tables; FALSE when no table holds the id.
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();

    UINT GetMenuItemCount() const;
    // 0 for a separator, (UINT)-1 for a pop-up or a position outside the menu.
    UINT GetMenuItemID(int nPos) const;
    CMenu* GetSubMenu(int nPos) const;
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE) const;
    BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    // The previous state (MF_GRAYED, MF_DISABLED), or (UINT)-1 when there is no such item.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);

    // Shows the pop-up with its top-left corner at a screen point. The owner gets WM_INITMENUPOPUP before it opens
    // and, unless TPM_RETURNCMD or TPM_NONOTIFY is given, the chosen command as a posted WM_COMMAND after it
    // closed. With TPM_RETURNCMD the result is the chosen command id (0 for none), else TRUE. Either mouse button
    // chooses, as with TPM_RIGHTBUTTON. The other alignments (TPM_CENTERALIGN, TPM_RIGHTALIGN, TPM_VCENTERALIGN,
    // TPM_BOTTOMALIGN) are not supported: the call fails with ERROR_INVALID_FLAGS and shows nothing.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

    // Installs a pop-up handler (an empty one restores the real menu) and returns the previous one.
    static PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler);

    // The item at a position, or found by command id (also in sub-menus); null when there is none.
    QAction* ItemAction(UINT nItem, UINT nFlags, CMenu** ppOwner = nullptr) const;
    // The command id of an action made by this layer (0 for separators and pop-ups).
    static UINT ActionCommandId(const QAction* action);
    // The item's id as MIIM_ID reports it: the command id, or for a pop-up item an id standing for its sub-menu
    // (above 0xFFFF) that finds the item by command as the sub-menu's handle does on the platform.
    static UINT ActionItemId(const QAction* action);
    static UINT_PTR ActionItemData(const QAction* action);
    // The MF_ type and state bits of an item; MF_DEFAULT only when the menu holding it is given.
    static UINT ActionState(const QAction* action, const QMenu* menu);

    // Owner-drawn items of a menu this object is attached to; the owner window's default handlers call them.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

private:
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    bool m_lasting = false; // a wrapper made by FromHandle: owns nothing
};

BOOL IsMenu(HMENU hMenu);
// The handle forms of the menu operations; FALSE, 0 or (UINT)-1 as CMenu's for a handle that is not a menu.
int GetMenuItemCount(HMENU hMenu);
UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
BOOL GetMenuItemInfo(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFO lpmii);
BOOL SetMenuItemInfo(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFO lpmii);
BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem);
BOOL ModifyMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem);
inline BOOL GetMenuItemInfoA(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFOA lpmii) {
    return GetMenuItemInfo(hMenu, uItem, fByPosition, lpmii);
}
inline BOOL SetMenuItemInfoA(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFOA lpmii) {
    return SetMenuItemInfo(hMenu, uItem, fByPosition, lpmii);
}
inline BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    return AppendMenu(hMenu, uFlags, uIDNewItem, lpNewItem);
}
inline BOOL ModifyMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    return ModifyMenu(hMenu, uPosition, uFlags, uIDNewItem, lpNewItem);
}
// The screen rectangle of a menu item while it is shown: an item of a pop-up that is open, or an item of the
// menu bar of the window given. FALSE when the item is not on the screen.
BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem);
