#pragma once

#include "platform/gui/draw/Gdi.h"

// The 4-pixel shadow drawn inside the right and bottom edges of a pop-up menu, blended pixel by pixel from
// what lies behind it. The row and column nearest the menu are darkened most (78 percent), the outermost
// least (93 percent), and the first three pixels of each band taper the corners.

// The darkening step (0..3) of a pixel at a position along its band and a depth into it.
int ShadowStep(int position, int depth);
// The source pixel, each channel times 93 - 5 * step percent, written to the same place of the destination.
void DarkenShadowPixel(HDC hSrcDC, HDC hDestDC, int x, int y, int step);
// The shadow in the last 4 columns and rows of a rectangle that starts at the origin; only its right and bottom
// are used.
void DrawMenuShadow(HDC hSrcDC, HDC hDestDC, LPCRECT lpRect);
// A copy of a rectangle of the screen, or null when the screen cannot be read.
HBITMAP CaptureScreenRect(LPCRECT lpRect);
