#pragma once

#include "platform/gui/frame/Menu.h"
#include "platform/gui/window/OwnerDraw.h"
#include "platform/os/Types.h"

// The flat look of a frame's menus. A frame that enables it has its menu-bar items, and the items of each
// pop-up it opens, turned into owner-drawn items that these functions measure and draw; while such a frame
// is active, every pop-up menu window that opens gets a flat three-line frame and, where the system draws
// none, a 4-pixel shadow blended from the screen behind it.
//
// The frame calls, in this order: InstallMenuXPHook before it exists; EnableMenuXP and UpdateFrameMenuXP
// once created; ConvertMenuXP after the default handling of WM_INITMENUPOPUP; DrawMenuItemXP and
// MeasureMenuItemXP for WM_DRAWITEM and WM_MEASUREITEM; MenuCharXP for WM_MENUCHAR on its own menus; and
// UninstallMenuXPHook at exit.

// Counted: the hook stays until as many removals as installations.
void InstallMenuXPHook();
void UninstallMenuXPHook();

void EnableMenuXP(HWND hWnd, BOOL bEnable);
BOOL IsMenuXPEnabled(HWND hWnd);
// Converts the menu bar of a frame that uses the flat look.
void UpdateFrameMenuXP(HWND hFrame);
void ConvertMenuXP(HWND hWnd, HMENU hMenu, BOOL bXPMode, BOOL bMenuBar);

// FALSE for anything but a menu item, which the caller then hands to its default handling.
BOOL DrawMenuItemXP(LPDRAWITEMSTRUCT lpDrawItemStruct, HWND hFrame);
void MeasureMenuItemXP(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
// MNC_EXECUTE with the position of the first item whose caption has the character after a single "&", in
// either case; 0 when none has, and for the system menu.
LRESULT MenuCharXP(HMENU hMenu, UINT nChar, UINT nFlags);
BOOL IsOwnerDrawMenu(HMENU hMenu);
