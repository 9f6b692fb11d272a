#pragma once

#include "platform/gui/base/Handles.h"
#include "platform/gui/draw/Gdi.h"

#include "platform/os/Types.h"

// Owner-drawn controls and menu items: the records passed to DrawItem and MeasureItem, with the platform's
// values.

constexpr UINT ODT_MENU = 1;
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODT_STATIC = 5;

constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;

constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;
constexpr UINT ODS_HOTLIGHT = 0x0040;
constexpr UINT ODS_INACTIVE = 0x0080;
constexpr UINT ODS_NOACCEL = 0x0100;
constexpr UINT ODS_NOFOCUSRECT = 0x0200;

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem; // the control; for a menu item the menu, cast as the platform does
    HDC hDC;
    RECT rcItem;
    UINT_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

class QMenu;

// A menu item's id in a measure record: a command id, or for a pop-up item the id that stands for its sub-menu,
// which casts to the sub-menu's handle as the platform's does (to null for a command id).
class MenuItemId {
public:
    MenuItemId(UINT id = 0) : m_value(id) {}  // NOLINT: used as the plain UINT it is on the platform
    operator UINT() const { return m_value; } // NOLINT
    explicit operator QMenu*() const;

private:
    UINT m_value;
};

struct MEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    MenuItemId itemID;
    UINT itemWidth;
    UINT itemHeight;
    UINT_PTR itemData;
};
typedef MEASUREITEMSTRUCT* LPMEASUREITEMSTRUCT;
