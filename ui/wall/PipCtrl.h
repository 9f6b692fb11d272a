#pragma once

#include "WallCtrl.h"

#include "platform/os/Rect.h"

#include <functional>

class CLcdWallLayout;

// The wall view's controller of the PIP window: opens, moves, closes and re-sources it on the wall. The wall view
// works out the window's place in its client pixels with the rules below and hands the controller that place in
// the wall's output pixels, with the whole wall's range.
class CPipCtrl : public CWallCtrl {
public:
    // Built by the wall view it works on, which hands itself over.
    using CWallCtrl::CWallCtrl;

    // Each shows its result and returns it. A move has the view place its window after the result first, so a
    // refusal is never shown beside a window that still stands where the wall refused it.
    int OpenWindow(const RECT& pixel, const RECT& wall);
    int MoveWindow(const RECT& pixel, const RECT& wall, const std::function<void(int result)>& place);
    int CloseWindow(const RECT& wall);
    // Sends the rectangle as the PIP window's new place; the wall's result, not shown.
    int SendMove(const RECT& pixel, const RECT& wall);
    // Sent for the whole wall, PIP window or not; the result is neither shown nor returned.
    int SetSourceDvi(const RECT& wall);
    int SetSourceHdmi(const RECT& wall);
    int SetSourceVga(const RECT& wall);
    int SetSourceVideo1(const RECT& wall);
    int SetSourceVideo2(const RECT& wall);

    // The rectangle n kept within the grid g's size and above the least PIP size, holding the edge that did not
    // move from the stored rectangle.
    static RECT ClampRect(RECT newRect, RECT gridRect, SIZE least, RECT stored);
    // The rectangle moved, keeping its size, so that no edge lies outside the grid's.
    static RECT ShiftIntoRect(RECT r, RECT gridRect);
    // The rectangle no larger than the grid and no smaller than the least PIP size, its top-left kept, then
    // shifted into the grid: what may go to the wall.
    static RECT FitIntoGrid(RECT r, RECT gridRect, SIZE least);

    // The same on the wall view it was handed: the view reads its rectangles, calls the forms above, and places
    // or closes its window after the result.
    int OpenWindow();
    int MoveWindow();
    int ResizeWindow();
    int CloseWindow();
    int SetSourceDvi();
    int SetSourceHdmi();
    int SetSourceVga();
    int SetSourceVideo1();
    int SetSourceVideo2();
    RECT ClampRect(RECT newRect, RECT gridRect) const;
    RECT FitIntoGrid(RECT r, RECT gridRect) const;
    int SendMove(RECT r);

private:
    int SetSource(int (CLcdWallLayout::*send)(const RECT*), const RECT& wall);
    static CLcdWallLayout* Layout();
};
