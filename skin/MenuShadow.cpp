#include "MenuShadow.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/window/Wnd.h"

#include <algorithm>

int ShadowStep(int position, int depth) {
    switch (position) {
    case 0: return 0;
    case 1: return depth >= 2 ? 1 : 0;
    case 2: return std::min(depth, 2);
    default: return depth;
    }
}

void DarkenShadowPixel(HDC hSrcDC, HDC hDestDC, int x, int y, int step) {
    const int factor = 93 - 5 * step;
    const COLORREF color = GetPixel(hSrcDC, x, y);
    const auto darken = [factor](BYTE channel) { return static_cast<BYTE>(channel * factor / 100); };
    SetPixel(hDestDC, x, y, RGB(darken(GetRValue(color)), darken(GetGValue(color)), darken(GetBValue(color))));
}

void DrawMenuShadow(HDC hSrcDC, HDC hDestDC, LPCRECT lpRect) {
    if (!lpRect)
        return;
    const int right = lpRect->right;
    const int bottom = lpRect->bottom;
    // Along the bottom: positions from the left, depths upwards from the bottom row.
    for (int x = 0; x <= right - 2; ++x) {
        const int start = x < 2 ? 2 - x : (x > right - 7 ? x - right + 7 : 0);
        const int end = x > right - 8 ? right - x - 4 : 4;
        for (int k = start; k < end; ++k)
            DarkenShadowPixel(hSrcDC, hDestDC, x + 4, bottom - k - 1, ShadowStep(x, k));
    }
    // Along the right: depths leftwards from the last column, positions from the top.
    for (int i = 0; i <= 3; ++i) {
        const int start = i < 2 ? 2 - i : 0;
        const int end = i == 0 ? bottom - 2 - i - 4 : bottom - 1 - i - 4;
        for (int k = start; k < end; ++k)
            DarkenShadowPixel(hSrcDC, hDestDC, right - i - 1, k + 4, ShadowStep(k, i));
    }
}

HBITMAP CaptureScreenRect(LPCRECT lpRect) {
    if (!lpRect)
        return nullptr;
    const CRect rect(*lpRect);
    HDC screen = GetDC(nullptr);
    if (!screen)
        return nullptr;
    HBITMAP bitmap = nullptr;
    if (HDC memory = CreateCompatibleDC(screen)) {
        bitmap = CreateCompatibleBitmap(screen, rect.Width(), rect.Height());
        if (bitmap) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(memory, 0, 0, rect.Width(), rect.Height(), screen, rect.left, rect.top, SRCCOPY);
            SelectObject(memory, old);
        }
        DeleteDC(memory);
    }
    ReleaseDC(nullptr, screen);
    return bitmap;
}
