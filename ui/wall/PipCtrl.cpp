#include "PipCtrl.h"

#include "core/ErrorMessage.h"
#include "core/LcdWallLayout.h"
#include "core/WallModel.h"

#include <algorithm>

namespace {

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

RECT CPipCtrl::ClampRect(RECT n, RECT g, SIZE least, RECT stored) {
    RECT out = n;
    if (Width(n) > Width(g)) {
        out.left = std::max(n.left, g.left);
        out.right = std::min(n.right, g.right);
    }
    if (Height(n) > Height(g)) {
        out.top = std::max(n.top, g.top);
        out.bottom = std::min(n.bottom, g.bottom);
    }
    if (Width(n) < least.cx) {
        if (n.left == stored.left) {
            out.left = stored.left;
            out.right = stored.left + least.cx;
        } else {
            out.right = stored.right;
            out.left = stored.right - least.cx;
        }
    }
    if (Height(n) < least.cy) {
        if (n.top == stored.top) {
            out.top = stored.top;
            out.bottom = stored.top + least.cy;
        } else {
            out.bottom = stored.bottom;
            out.top = stored.bottom - least.cy;
        }
    }
    return out;
}

RECT CPipCtrl::FitIntoGrid(RECT r, RECT g, SIZE least) {
    r.right = r.left + std::min(std::max(Width(r), least.cx), Width(g));
    r.bottom = r.top + std::min(std::max(Height(r), least.cy), Height(g));
    return ShiftIntoRect(r, g);
}

int CPipCtrl::OpenWindow(const RECT& pixel, const RECT& wall) {
    return ShowErrorMessage(Layout()->OpenWindow(&pixel, &wall), "");
}

int CPipCtrl::SendMove(const RECT& pixel, const RECT& wall) { return Layout()->MoveWindow(&pixel, &wall); }

int CPipCtrl::MoveWindow(const RECT& pixel, const RECT& wall, const std::function<void(int result)>& place) {
    const int result = SendMove(pixel, wall);
    place(result);
    return ShowErrorMessage(result, "");
}

int CPipCtrl::CloseWindow(const RECT& wall) { return ShowErrorMessage(Layout()->CloseWindow(&wall), ""); }

int CPipCtrl::SetSource(int (CLcdWallLayout::*send)(const RECT*), const RECT& wall) {
    (Layout()->*send)(&wall);
    return kResultOk;
}

int CPipCtrl::SetSourceDvi(const RECT& wall) { return SetSource(&CLcdWallLayout::SetPipSourceDvi, wall); }
int CPipCtrl::SetSourceHdmi(const RECT& wall) { return SetSource(&CLcdWallLayout::SetPipSourceHdmi, wall); }
int CPipCtrl::SetSourceVga(const RECT& wall) { return SetSource(&CLcdWallLayout::SetPipSourceVga, wall); }
int CPipCtrl::SetSourceVideo1(const RECT& wall) { return SetSource(&CLcdWallLayout::SetPipSourceVideo1, wall); }
int CPipCtrl::SetSourceVideo2(const RECT& wall) { return SetSource(&CLcdWallLayout::SetPipSourceVideo2, wall); }
