// Scroll bars and scrolling: ranges in pixels of the non-fixed area, the scroll handlers, the wheel, bringing a
// cell into view and the reaction to a new size.

#include "GridCtrl.h"

#include "platform/gui/frame/Registry.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/gui/window/SystemParameters.h"
#include "platform/os/Version.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// Bits of the shown-bars record.
constexpr UINT kHorzBarShown = 1;
constexpr UINT kVertBarShown = 2;

} // namespace

void CGridCtrl::ResetScrollBars() {
    m_topLeftCell = CCellID();
    if (!m_allowDraw || !IsWindow(GetSafeHwnd()))
        return;
    CRect rect;
    GetClientRect(&rect);
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;

    // The client area as it would be without bars.
    if (m_shownBars & kVertBarShown)
        rect.right += GetSystemMetrics(SM_CXVSCROLL) + GetSystemMetrics(SM_CXBORDER);
    if (m_shownBars & kHorzBarShown)
        rect.bottom += GetSystemMetrics(SM_CYHSCROLL) + GetSystemMetrics(SM_CYBORDER);

    const int fixedColWidth = GetFixedColumnWidth();
    const int fixedRowHeight = GetFixedRowHeight();
    if (rect.left + fixedColWidth >= rect.right || rect.top + fixedRowHeight >= rect.bottom) {
        // Nothing scrolls into so small a window. The record follows the bars, so that a later layout neither
        // widens the client for bars that are gone nor takes a needed bar for shown.
        m_shownBars = 0;
        m_hScrollMax = m_vScrollMax = 0;
        ShowScrollBar(SB_BOTH, FALSE);
        return;
    }

    CRect visible(fixedColWidth, fixedRowHeight, rect.right, rect.bottom);
    const int virtualWidth = GetVirtualWidth() - fixedColWidth;
    const int virtualHeight = GetVirtualHeight() - fixedRowHeight;
    if (visible.Height() < virtualHeight)
        visible.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (visible.Width() < virtualWidth)
        visible.bottom -= GetSystemMetrics(SM_CYHSCROLL);

    // The record changes before the bar does: showing or hiding a bar resizes the client, which comes back here.
    auto follow = [this](int nBar, UINT bit, int visibleExtent, int virtualExtent, int& maximum) {
        const bool needed = visibleExtent < virtualExtent;
        maximum = needed ? virtualExtent - 1 : 0;
        if (needed == ((m_shownBars & bit) != 0))
            return;
        m_shownBars = needed ? (m_shownBars | bit) : (m_shownBars & ~bit);
        ShowScrollBar(static_cast<UINT>(nBar), needed ? TRUE : FALSE);
    };
    follow(SB_VERT, kVertBarShown, visible.Height(), virtualHeight, m_vScrollMax);
    follow(SB_HORZ, kHorzBarShown, visible.Width(), virtualWidth, m_hScrollMax);

    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 0;
    si.nMax = m_hScrollMax;
    si.nPage = m_hScrollMax > 0 ? static_cast<UINT>(std::max(0, visible.Width())) : 0;
    SetScrollInfo(SB_HORZ, &si, TRUE);
    si.fMask |= SIF_DISABLENOSCROLL;
    si.nMax = m_vScrollMax;
    si.nPage = m_vScrollMax > 0 ? static_cast<UINT>(std::max(0, visible.Height())) : 0;
    SetScrollInfo(SB_VERT, &si, TRUE);
    // The ranges may have moved a position.
    m_topLeftCell = CCellID();
}

void CGridCtrl::EnableScrollBars(int nBar, BOOL bEnable) {
    auto follow = [&](int bar, UINT bit) {
        if (((m_shownBars & bit) != 0) == (bEnable != FALSE))
            return;
        m_shownBars = bEnable ? (m_shownBars | bit) : (m_shownBars & ~bit);
        ShowScrollBar(static_cast<UINT>(bar), bEnable);
    };
    if (nBar == SB_HORZ || nBar == SB_BOTH)
        follow(SB_HORZ, kHorzBarShown);
    if (nBar == SB_VERT || nBar == SB_BOTH)
        follow(SB_VERT, kVertBarShown);
}

BOOL CGridCtrl::SetScrollPos32(int nBar, int nPos, BOOL bRedraw) {
    m_topLeftCell = CCellID();
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = nPos;
    return IsWindow(GetSafeHwnd()) && SetScrollInfo(nBar, &si, bRedraw) ? TRUE : FALSE;
}

int CGridCtrl::GetScrollPos32(int nBar, BOOL bGetTrackPos) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    const UINT mask = bGetTrackPos ? SIF_TRACKPOS : SIF_POS;
    if (!IsWindow(GetSafeHwnd()) || !GetScrollInfo(nBar, &info, mask))
        return 0;
    return bGetTrackPos ? info.nTrackPos : info.nPos;
}

void CGridCtrl::OnHScroll(UINT nSBCode, UINT /*nPos*/, CScrollBar* /*pScrollBar*/) { Scroll(SB_HORZ, nSBCode); }

void CGridCtrl::OnVScroll(UINT nSBCode, UINT /*nPos*/, CScrollBar* /*pScrollBar*/) { Scroll(SB_VERT, nSBCode); }

void CGridCtrl::Scroll(int nBar, UINT nSBCode) {
    EndEditing();
    m_titleTip.Hide();

    const bool horz = nBar == SB_HORZ;
    const std::vector<UINT>& sizes = horz ? m_columnWidths : m_rowHeights;
    const int count = static_cast<int>(sizes.size());
    const int fixedCount = horz ? m_fixedColumnCount : m_fixedRowCount;
    const int fixedExtent = horz ? GetFixedColumnWidth() : GetFixedRowHeight();
    const int maximum = horz ? m_hScrollMax : m_vScrollMax;
    const int scrollPos = GetScrollPos32(nBar);
    const CCellID topLeftCell = GetTopleftNonFixedCell();
    const int topLeft = horz ? topLeftCell.col : topLeftCell.row;
    CRect client;
    GetClientRect(&client);
    const int page = (horz ? client.right : client.bottom) - fixedExtent;
    // Every move repaints the scrolled part; the fixed rows or columns stay as they are.
    CRect scrolled = client;
    (horz ? scrolled.left : scrolled.top) = fixedExtent;
    auto sizeOf = [&](int i) { return i >= 0 && i < count ? static_cast<int>(sizes[static_cast<size_t>(i)]) : 0; };

    switch (nSBCode) {
    case SB_LINEDOWN: // SB_LINERIGHT
        if (scrollPos < maximum) {
            int step = 0;
            for (int i = std::max(topLeft, 0); i < count && step == 0; i++)
                step = sizeOf(i);
            SetScrollPos32(nBar, scrollPos + step);
            if (GetScrollPos32(nBar) != scrollPos)
                InvalidateRect(&scrolled, TRUE);
        }
        break;
    case SB_LINEUP: // SB_LINELEFT
        if (scrollPos > 0 && topLeft > fixedCount) {
            int step = 0;
            for (int i = topLeft - 1; i >= fixedCount && step == 0; i--)
                step = sizeOf(i);
            SetScrollPos32(nBar, std::max(0, scrollPos - step));
            InvalidateRect(&scrolled, TRUE);
        }
        break;
    case SB_PAGEDOWN: // SB_PAGERIGHT
        if (scrollPos < maximum) {
            SetScrollPos32(nBar, std::min(maximum, scrollPos + page));
            InvalidateRect(&scrolled, TRUE);
        }
        break;
    case SB_PAGEUP: // SB_PAGELEFT
        if (scrollPos > 0) {
            SetScrollPos32(nBar, std::max(0, scrollPos - page));
            InvalidateRect(&scrolled, TRUE);
        }
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetScrollPos32(nBar, GetScrollPos32(nBar, TRUE));
        if (GetTopleftNonFixedCell() != topLeftCell)
            InvalidateRect(&scrolled, TRUE);
        break;
    case SB_TOP: // SB_LEFT
        if (scrollPos > 0) {
            SetScrollPos32(nBar, 0);
            Invalidate();
        }
        break;
    case SB_BOTTOM: // SB_RIGHT
        if (scrollPos < maximum) {
            SetScrollPos32(nBar, maximum);
            Invalidate();
        }
        break;
    default: break;
    }
}

BOOL CGridCtrl::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    // Posted, not sent: the lines scroll after the wheel message returns. The wheel never scrolls sideways.
    const bool pages = m_wheelScrollLines == -1;
    const int64_t steps = pages ? zDelta / 120 : int64_t{zDelta} * m_wheelScrollLines / 120;
    const UINT up = pages ? SB_PAGEUP : SB_LINEUP;
    const UINT down = pages ? SB_PAGEDOWN : SB_LINEDOWN;
    for (int64_t i = 0; i < std::abs(steps); i++)
        PostMessage(WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(steps > 0 ? up : down), 0), 0);
    return CWnd::OnMouseWheel(nFlags, zDelta, pt);
}

int CGridCtrl::GetMouseScrollLines() {
    int lines = 3;
    OSVERSIONINFO version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionEx(&version) &&
        !(version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMinorVersion == 0)) {
        UINT value = 3;
        if (SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &value, 0))
            lines = static_cast<int>(value); // WHEEL_PAGESCROLL reads as -1: a page per notch
        return lines;
    }
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) == 0) {
        char text[128] = {};
        DWORD size = sizeof(text) - 1;
        if (RegQueryValueEx(key, "WheelScrollLines", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) == 0)
            lines = static_cast<int>(std::strtol(text, nullptr, 10));
        RegCloseKey(key);
    }
    return lines;
}

void CGridCtrl::EnsureVisible(int nRow, int nCol) {
    if (!m_allowDraw)
        return;
    CWnd* focusWnd = GetFocus();

    const CCellRange visible = GetVisibleNonFixedCellRange();
    // One line scroll for every row or column of non-zero size between the view and the cell.
    auto stepTowards = [this](UINT message, UINT code, int distance, int first, int direction) {
        for (int i = first; distance > 0; distance--, i += direction)
            if ((message == WM_HSCROLL ? GetColumnWidth(i) : GetRowHeight(i)) > 0)
                SendMessage(message, code, 0);
    };
    stepTowards(WM_HSCROLL, SB_LINERIGHT, nCol - visible.GetMaxCol(), visible.GetMaxCol() + 1, 1);
    stepTowards(WM_HSCROLL, SB_LINELEFT, visible.GetMinCol() - nCol, visible.GetMinCol() - 1, -1);
    stepTowards(WM_VSCROLL, SB_LINEDOWN, nRow - visible.GetMaxRow(), visible.GetMaxRow() + 1, 1);
    stepTowards(WM_VSCROLL, SB_LINEUP, visible.GetMinRow() - nRow, visible.GetMinRow() - 1, -1);

    // A cell that still sticks out past the right or bottom edge scrolls on by lines. A line that no longer
    // moves the view ends the loop too, so a cell wider than the view cannot hold it here.
    CRect cellRect;
    CRect client;
    GetClientRect(&client);
    auto stepUntilInside = [&](UINT message, UINT code, LONG CRect::*trailing, LONG CRect::*leading, int fixed,
                               UINT bit) {
        while (GetCellRect(nRow, nCol, &cellRect) && cellRect.*trailing > client.*trailing &&
               cellRect.*leading > fixed && (m_shownBars & bit)) {
            const CRect before = cellRect;
            SendMessage(message, code, 0);
            if (GetCellRect(nRow, nCol, &cellRect) && cellRect == before)
                break;
        }
    };
    stepUntilInside(WM_HSCROLL, SB_LINERIGHT, &CRect::right, &CRect::left, GetFixedColumnWidth(), kHorzBarShown);
    stepUntilInside(WM_VSCROLL, SB_LINEDOWN, &CRect::bottom, &CRect::top, GetFixedRowHeight(), kVertBarShown);

    if (focusWnd && IsWindow(focusWnd->GetSafeHwnd()))
        focusWnd->SetFocus();
}

void CGridCtrl::OnSize(UINT nType, int cx, int cy) {
    // Showing or hiding a bar resizes the window again while this runs; that size is already accounted for.
    static bool sizing = false;
    if (sizing)
        return;
    sizing = true;
    if (GetSafeHwnd()) {
        m_dropTarget.Register(this); // once: a registered grid is refused
        EndEditing();
        CWnd::OnSize(nType, cx, cy);
        ResetScrollBars();
    }
    sizing = false;
}
