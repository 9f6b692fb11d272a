#pragma once

#include "MenuItemXP.h"

#include "platform/os/Rect.h"
#include "platform/os/String.h"

#include <map>
#include <memory>

class CMenuWindow;
class CMenuXPHook;
class CWndMenuXP;

// What the flat menus remember for the whole run.
struct MenuXPState {
    // Item texts (caption, tab, accelerator) and images, by command id or by the sub-menu an item opens.
    std::map<UINT, CString> textsById;
    std::map<HMENU, CString> textsBySubMenu;
    std::map<UINT, CImgDesc> imagesById;
    std::map<HMENU, CImgDesc> imagesBySubMenu;
    // One record per restyled pop-up window while it is shown.
    std::map<const CMenuWindow*, std::unique_ptr<CWndMenuXP>> menuWindows;
    int hookUseCount = 0;
    CMenuXPHook* hook = nullptr;
    // The menu-bar item drawn open most recently, in screen coordinates, without its shadow.
    CRect barItemRect;
};

MenuXPState& TheMenuXPState();

// Item data of a converted item. A pop-up item holds the widest caption and accelerator of its menu and its
// height; a separator its height; a menu-bar item its caption width and no height. Every value keeps 16
// bits, so a wide accelerator is never measured too narrow.
struct MenuXPItemData {
    UINT textWidth = 0;
    UINT accelWidth = 0;
    UINT height = 0;

    static MenuXPItemData Unpack(UINT_PTR data);
    UINT_PTR Pack() const;
    bool IsMenuBarItem() const { return height == 0; }
};
