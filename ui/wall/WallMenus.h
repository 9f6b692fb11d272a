#pragma once

#include "platform/os/Types.h"

class CWnd;

// What the PIP window tells the wall view once the operator lets go of it, and its own "CLOSE".
constexpr UINT WM_PIP_MOVED = 0x164C;
constexpr UINT WM_PIP_RESIZED = 0x164D;
constexpr UINT WM_PIP_CLOSE = 0x164E;

// The context menus of the wall view (sub-menu 0) and of the PIP window (sub-menu 1).
constexpr UINT IDR_WALL_MENUS = 157;
constexpr UINT ID_PIP_OPEN = 32793;
constexpr UINT ID_PIP_CLOSE = 32794;
constexpr UINT ID_PIPWND_CLOSE = 32795;
constexpr UINT ID_PIP_SOURCE_VIDEO1 = 32809;
constexpr UINT ID_PIP_SOURCE_VIDEO2 = 32810;
constexpr UINT ID_PIP_SOURCE_VGA = 32811;
constexpr UINT ID_PIP_SOURCE_HDMI = 32812;
constexpr UINT ID_PIP_SOURCE_DVI = 32813;

// Tracks sub-menu 0 (the wall view's) or 1 (the PIP window's) of the context menus at the pointer, or at the
// screen point given, for the owner.
void TrackWallMenu(int subMenu, CWnd* owner, const POINT* at = nullptr);
