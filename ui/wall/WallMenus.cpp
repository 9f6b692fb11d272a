#include "WallMenus.h"

#include "platform/gui/frame/Menu.h"
#include "platform/gui/window/Cursor.h"

void TrackWallMenu(int subMenu, CWnd* owner) {
    CMenu menu;
    if (!menu.LoadMenu(IDR_WALL_MENUS))
        return;
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    if (CMenu* popup = menu.GetSubMenu(subMenu))
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, cursor.x, cursor.y, owner);
    menu.DestroyMenu();
}
