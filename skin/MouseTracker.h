#pragma once

#include "platform/gui/window/Wnd.h"

// Follows the mouse into and out of a window, so the window can draw a hover look: the first move over it starts
// hovering, the leave notification ends it, and each change can repaint the window or recompute its frame.
class CMouseTracker {
public:
    enum : WORD { kRepaint = 0x0001, kFrameChanged = 0x0002 };

    void Init(HWND hWnd, WORD wFlags);
    bool IsHovering() const { return m_hovering; }
    // Null means the window served. TRUE when hovering started.
    bool OnMouseMove(HWND hTrack = nullptr);
    // TRUE when hovering ended: the window is the one whose leave was being tracked.
    bool OnMouseLeave(HWND hTrack = nullptr);

private:
    void StateChanged();
    void TrackLeave(HWND hWnd, DWORD dwFlags);

    HWND m_hWnd = nullptr;
    HWND m_hTracked = nullptr;
    WORD m_wFlags = 0;
    bool m_hovering = false;
};
