#include "PipCtrl.h"

#include "LcdGridCtrl.h"

#include "core/ErrorMessage.h"
#include "core/LcdWallLayout.h"
#include "core/WallModel.h"
#include "platform/gui/window/Cursor.h"

#include <algorithm>

namespace {

const char kPipWindowName[] = "PIP";

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

} // namespace

CLcdWallLayout* CPipCtrl::Layout() { return CWallModel::GetInstance()->GetLcdWallLayout(); }

RECT CPipCtrl::ShiftIntoRect(RECT r, RECT g) {
    // Every test looks at the rectangle as it came, so a window larger than the grid ends on the far edges.
    const RECT old = r;
    if (old.left < g.left) {
        r.left = g.left;
        r.right = old.right - old.left + g.left;
    }
    if (old.top < g.top) {
        r.top = g.top;
        r.bottom = old.bottom - old.top + g.top;
    }
    if (old.right > g.right) {
        r.right = g.right;
        r.left = g.right - old.right + old.left;
    }
    if (old.bottom > g.bottom) {
        r.bottom = g.bottom;
        r.top = g.bottom - old.bottom + old.top;
    }
    return r;
}

RECT CPipCtrl::ClampRect(RECT n, RECT g) const {
    const CRect cell = m_wallView->GetFirstCellRect();
    const CRect stored = m_wallView->GetPipRect();
    const LONG minWidth = cell.Width() / 5;
    const LONG minHeight = cell.Height() / 4;
    RECT out = n;
    if (Width(n) > Width(g)) {
        out.left = std::max(n.left, g.left);
        out.right = std::min(n.right, g.right);
    }
    if (Height(n) > Height(g)) {
        out.top = std::max(n.top, g.top);
        out.bottom = std::min(n.bottom, g.bottom);
    }
    if (Width(n) < minWidth) {
        if (n.left == stored.left) {
            out.left = stored.left;
            out.right = stored.left + minWidth;
        } else {
            out.right = stored.right;
            out.left = stored.right - minWidth;
        }
    }
    if (Height(n) < minHeight) {
        if (n.top == stored.top) {
            out.top = stored.top;
            out.bottom = stored.top + minHeight;
        } else {
            out.bottom = stored.bottom;
            out.top = stored.bottom - minHeight;
        }
    }
    return out;
}

RECT CPipCtrl::FitIntoGrid(RECT r, RECT g) const {
    const CRect cell = m_wallView->GetFirstCellRect();
    r.right = r.left + std::min(std::max(Width(r), cell.Width() / 5), Width(g));
    r.bottom = r.top + std::min(std::max(Height(r), cell.Height() / 4), Height(g));
    return ShiftIntoRect(r, g);
}

int CPipCtrl::SendMove(RECT r) {
    const CRect pixel = m_wallView->ToWallRect(r);
    const RECT wall = m_wallView->GetWallRange();
    return Layout()->MoveWindow(&pixel, &wall);
}

int CPipCtrl::OpenWindow() {
    if (m_wallView->HasPipWindow())
        return kResultOk;
    const CRect cell = m_wallView->GetFirstCellRect();
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    RECT r{cursor.x, cursor.y, cursor.x + cell.Width() / 2, cursor.y + cell.Height() / 2};
    m_wallView->ScreenToClientRect(r);
    r = ShiftIntoRect(r, m_wallView->GetGridRect());
    const CRect pixel = m_wallView->ToWallRect(r);
    const RECT wall = m_wallView->GetWallRange();
    const int result = Layout()->OpenWindow(&pixel, &wall);
    if (result == kResultOk)
        m_wallView->CreatePipWindow(r, kPipWindowName);
    return ShowErrorMessage(result, "");
}

int CPipCtrl::PlaceWindow(RECT r) {
    const int result = SendMove(r);
    m_wallView->MovePipWindow(result == kResultOk ? r : RECT(m_wallView->GetPipRect()));
    return ShowErrorMessage(result, "");
}

// The wall view may have shrunk under the window since it was placed, so the window's size is fitted as well.
int CPipCtrl::MoveWindow() {
    return PlaceWindow(FitIntoGrid(m_wallView->GetPipWindowRect(), m_wallView->GetGridRect()));
}

int CPipCtrl::ResizeWindow() {
    const RECT grid = m_wallView->GetGridRect();
    RECT r = ClampRect(m_wallView->GetPipWindowRect(), grid);
    // An edge dragged past the grid's stops at it; the edges the operator did not drag stay where they were.
    r.left = std::max(r.left, grid.left);
    r.top = std::max(r.top, grid.top);
    r.right = std::min(r.right, grid.right);
    r.bottom = std::min(r.bottom, grid.bottom);
    // Little or nothing may be left of a window that lay outside a shrunk wall view: it gets the least size inside.
    return PlaceWindow(FitIntoGrid(r, grid));
}

int CPipCtrl::CloseWindow() {
    const RECT wall = m_wallView->GetWallRange();
    const int result = Layout()->CloseWindow(&wall);
    if (result == kResultOk)
        m_wallView->ClosePipWindow();
    return ShowErrorMessage(result, "");
}

int CPipCtrl::SetSource(int (CLcdWallLayout::*send)(const RECT*)) {
    const RECT wall = m_wallView->GetWallRange();
    (Layout()->*send)(&wall);
    return kResultOk;
}

int CPipCtrl::SetSourceDvi() { return SetSource(&CLcdWallLayout::SetPipSourceDvi); }
int CPipCtrl::SetSourceHdmi() { return SetSource(&CLcdWallLayout::SetPipSourceHdmi); }
int CPipCtrl::SetSourceVga() { return SetSource(&CLcdWallLayout::SetPipSourceVga); }
int CPipCtrl::SetSourceVideo1() { return SetSource(&CLcdWallLayout::SetPipSourceVideo1); }
int CPipCtrl::SetSourceVideo2() { return SetSource(&CLcdWallLayout::SetPipSourceVideo2); }
