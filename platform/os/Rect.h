#pragma once

#include "Types.h"

// A RECT with the framework's conveniences. Right and bottom are exclusive wherever a device draws it.
class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {} // NOLINT: the framework converts implicitly

    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
    BOOL IsRectEmpty() const { return (right <= left || bottom <= top) ? TRUE : FALSE; }
    BOOL IsRectNull() const { return (left == 0 && top == 0 && right == 0 && bottom == 0) ? TRUE : FALSE; }
    void SetRect(LONG l, LONG t, LONG r, LONG b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(LONG dx, LONG dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    BOOL PtInRect(POINT p) const { return (p.x >= left && p.x < right && p.y >= top && p.y < bottom) ? TRUE : FALSE; }

    bool operator==(const RECT& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const RECT& o) const { return !(*this == o); }
};
