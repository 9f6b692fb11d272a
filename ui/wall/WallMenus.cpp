#include "WallMenus.h"

#include "platform/gui/frame/Menu.h"
#include "platform/gui/window/Cursor.h"

void TrackWallMenu(int subMenu, CWnd* owner, const POINT* at) {
    CMenu menu;
    if (!menu.LoadMenu(IDR_WALL_MENUS))
        return;
    POINT where{0, 0};
    if (at)
        where = *at;
    else
        GetCursorPos(&where);
    if (CMenu* popup = menu.GetSubMenu(subMenu))
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, where.x, where.y, owner);
    menu.DestroyMenu();
}
