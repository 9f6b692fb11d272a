#pragma once

#include "WallCtrl.h"

class CLcdWallLayout;

// The wall view's controller of the PIP window: opens, moves, resizes, closes and re-sources it on the wall, in
// the wall view's client pixels converted to output pixels.
class CPipCtrl : public CWallCtrl {
public:
    // Built by the wall view it works on, which hands itself over.
    using CWallCtrl::CWallCtrl;

    // Each shows its result and returns it.
    int OpenWindow();
    int MoveWindow();
    int ResizeWindow();
    int CloseWindow();
    // Sent for the whole wall, PIP window or not; the result is neither shown nor returned.
    int SetSourceDvi();
    int SetSourceHdmi();
    int SetSourceVga();
    int SetSourceVideo1();
    int SetSourceVideo2();

    // The rectangle n kept within the grid g's size and above the smallest PIP size, a fifth of a cell wide
    // and a quarter high, holding the edge that did not move.
    RECT ClampRect(RECT newRect, RECT gridRect) const;
    // Sends the rectangle as the PIP window's new place; the wall's result.
    int SendMove(RECT r);
    // The rectangle moved, keeping its size, so that no edge lies outside the grid's.
    static RECT ShiftIntoRect(RECT r, RECT gridRect);
    // The rectangle no larger than the grid and no smaller than the least PIP size, its top-left kept, then
    // shifted into the grid: what may go to the wall.
    RECT FitIntoGrid(RECT r, RECT gridRect) const;

private:
    // Sends r, then moves the window there, or back to the place the wall accepted last.
    int PlaceWindow(RECT r);
    int SetSource(int (CLcdWallLayout::*send)(const RECT*));
    static CLcdWallLayout* Layout();
};
