#pragma once

#include "platform/gui/base/Handles.h"

#include "platform/os/Types.h"

// Moving several windows as one batch, as a splitter places its panes: the moves are collected and made
// together when the batch ends.
struct DeferredPositions;
typedef DeferredPositions* HDWP;

// nullptr when the batch cannot be had.
HDWP BeginDeferWindowPos(int nNumWindows);
// The batch with the move added (nullptr, and the batch given up, when the window is not one).
HDWP DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
// Makes the moves in the order they were added and frees the batch.
BOOL EndDeferWindowPos(HDWP hWinPosInfo);
