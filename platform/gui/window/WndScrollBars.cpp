#include "WndBridge.h"

#include "HostWidget.h"
#include "WindowRecord.h"

#include <QScrollBar>

using namespace wndimpl;

// ---------------------------------------------------------------------------------------------------------------
// Scroll bars

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
    CHostWidget* host = GetHost();
    if (!host || !lpScrollInfo || (nBar != SB_HORZ && nBar != SB_VERT))
        return FALSE;
    // The mask argument decides what is read, whatever the record held before, as in the framework.
    const UINT mask = nMask;
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    const SCROLLINFO& si = host->ScrollInfo(nBar);
    if (mask & SIF_RANGE) {
        lpScrollInfo->nMin = si.nMin;
        lpScrollInfo->nMax = si.nMax;
    }
    if (mask & SIF_PAGE)
        lpScrollInfo->nPage = si.nPage;
    if (mask & SIF_POS)
        lpScrollInfo->nPos = si.nPos;
    if (mask & SIF_TRACKPOS) {
        const QScrollBar* sb = host->ExistingScrollBar(nBar);
        lpScrollInfo->nTrackPos = sb && sb->isSliderDown() ? sb->sliderPosition() : si.nTrackPos;
    }
    return (mask & SIF_ALL) ? TRUE : FALSE;
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    CHostWidget* host = GetHost();
    if (!host || !lpScrollInfo || (nBar != SB_HORZ && nBar != SB_VERT))
        return FALSE;
    SCROLLINFO& si = host->ScrollInfo(nBar);
    const UINT mask = lpScrollInfo->fMask;
    if (mask & SIF_RANGE) {
        si.nMin = lpScrollInfo->nMin;
        si.nMax = lpScrollInfo->nMax;
    }
    if (mask & SIF_PAGE)
        si.nPage = lpScrollInfo->nPage;
    if (mask & SIF_POS)
        si.nPos = lpScrollInfo->nPos;
    ClampScrollInfo(si);

    const bool scrollable = ScrollInfoCanScroll(si);
    if (mask & (SIF_RANGE | SIF_PAGE)) {
        const bool shown = host->IsScrollBarShown(nBar);
        if (scrollable && !shown)
            ShowScrollBar(static_cast<UINT>(nBar), TRUE);
        else if (!scrollable && shown && !(mask & SIF_DISABLENOSCROLL))
            ShowScrollBar(static_cast<UINT>(nBar), FALSE);
        if (!IsLive(this) || !m_hWnd)
            return TRUE;
    }
    // A bar not made yet takes all this when it is first shown.
    host->SyncScrollBar(nBar);
    host->SetScrollBarEnabled(nBar, scrollable);
    if (QScrollBar* sb = host->ExistingScrollBar(nBar); sb && bRedraw)
        sb->update();
    return TRUE;
}

int CWnd::GetScrollPos(int nBar) const {
    CHostWidget* host = GetHost();
    if (!host || (nBar != SB_HORZ && nBar != SB_VERT))
        return 0;
    return host->ScrollInfo(nBar).nPos;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
    const int previous = GetScrollPos(nBar);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(nBar, &si, bRedraw);
    return previous;
}

void CWnd::GetScrollRange(int nBar, int* lpMinPos, int* lpMaxPos) const {
    CHostWidget* host = GetHost();
    int lo = 0, hi = 0;
    if (host && (nBar == SB_HORZ || nBar == SB_VERT)) {
        lo = host->ScrollInfo(nBar).nMin;
        hi = host->ScrollInfo(nBar).nMax;
    }
    if (lpMinPos)
        *lpMinPos = lo;
    if (lpMaxPos)
        *lpMaxPos = hi;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(nBar, &si, bRedraw);
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) {
    CHostWidget* host = GetHost();
    if (!host)
        return;
    DWORD style = WidgetStyle(host);
    const DWORD before = style;
    const DWORD bits = nBar == SB_HORZ   ? WS_HSCROLL
                       : nBar == SB_VERT ? WS_VSCROLL
                       : nBar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL)
                                         : 0;
    if (bShow)
        style |= bits;
    else
        style &= ~bits;
    if (style == before)
        return;
    SetWidgetStyle(host, style);
    m_bridge->SyncGeometry();
    if (IsLive(this) && m_hWnd)
        host->update();
}

BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags) {
    CHostWidget* host = GetHost();
    if (!host)
        return FALSE;
    for (int bar : {SB_HORZ, SB_VERT})
        if (nSBFlags == bar || nSBFlags == SB_BOTH)
            host->SetScrollBarEnabled(bar, nArrowFlags != ESB_DISABLE_BOTH);
    return TRUE;
}

int CWnd::GetScrollLimit(int nBar) {
    CHostWidget* host = GetHost();
    if (!host || (nBar != SB_HORZ && nBar != SB_VERT))
        return 0;
    return ScrollInfoMaxPos(host->ScrollInfo(nBar));
}
