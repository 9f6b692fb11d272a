#pragma once

struct WindowSurface;
class CWnd;

// What a DC on the window draws on: the painter of the window's paint while it draws straight on the screen, else
// its retained image; asked afresh on every drawing call, and nothing once the window is gone.
WindowSurface WindowSurfaceOf(CWnd* wnd);
