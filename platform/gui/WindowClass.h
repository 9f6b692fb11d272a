#pragma once

#include "platform/gui/Handles.h"
#include "platform/os/Types.h"

#include <string>

// What a window takes from its registered class: the class style (double clicks, redraw on resize), the cursor
// its default WM_SETCURSOR shows, and the background its default WM_ERASEBKGND paints.
struct WindowClassInfo {
    UINT style;
    HCURSOR cursor;
    bool hasBackground;
    int backgroundSysColor; // a system colour index, or -1 for the fixed colour below
    COLORREF backgroundColor;
};

// Registers (or replaces) a class by name. FALSE for an empty name.
BOOL RegisterWindowClass(const std::string& name, const WindowClassInfo& info);
BOOL IsWindowClassRegistered(const std::string& name);
// The class of that name; unknown names give a plain class with double clicks, the arrow and no background.
WindowClassInfo FindWindowClass(const std::string& name);
