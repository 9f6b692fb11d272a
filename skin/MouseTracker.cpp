#include "MouseTracker.h"

void CMouseTracker::Init(HWND hWnd, WORD wFlags) {
    m_hWnd = hWnd;
    m_wFlags = wFlags;
}

void CMouseTracker::TrackLeave(HWND hWnd, DWORD dwFlags) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), dwFlags, hWnd, 0};
    TrackMouseEvent(&track);
}

void CMouseTracker::StateChanged() {
    if (!IsWindow(m_hWnd))
        return;
    if (m_wFlags & kRepaint)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    if (m_wFlags & kFrameChanged)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

bool CMouseTracker::OnMouseMove(HWND hTrack) {
    HWND target = hTrack ? hTrack : m_hWnd;
    if (m_hovering) {
        if (target == m_hTracked)
            return false;
        if (IsWindow(m_hTracked))
            TrackLeave(m_hTracked, TME_LEAVE | TME_CANCEL);
        TrackLeave(target, TME_LEAVE);
        m_hTracked = target;
        return false;
    }
    m_hovering = true;
    StateChanged();
    TrackLeave(target, TME_LEAVE);
    m_hTracked = target;
    return true;
}

bool CMouseTracker::OnMouseLeave(HWND hTrack) {
    HWND target = hTrack ? hTrack : m_hWnd;
    if (target != m_hTracked)
        return false;
    m_hovering = false;
    StateChanged();
    return true;
}
