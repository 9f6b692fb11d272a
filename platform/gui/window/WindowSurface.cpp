#include "WindowSurface.h"

#include "WndBridge.h"
#include "platform/gui/draw/DcHandle.h"

WindowSurface WindowSurfaceOf(CWnd* wnd) {
    WindowSurface surface;
    surface.size = [wnd]() { return IsWindow(wnd) ? wnd->m_bridge->ClientSize() : QSize(); };
    surface.screen = [wnd]() { return IsWindow(wnd) ? wnd->m_bridge->LentScreen() : nullptr; };
    surface.image = [wnd]() { return IsWindow(wnd) ? wnd->m_bridge->ImageToDrawOn() : nullptr; };
    return surface;
}
