#pragma once

#include "Types.h"

// POINT and SIZE with the framework's conveniences.
class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(LONG x0, LONG y0) : POINT{x0, y0} {}
    CPoint(const POINT& p) : POINT(p) {} // NOLINT: the framework converts implicitly
    // A packed message position: low word x, high word y, each signed (multi-monitor positions go negative).
    explicit CPoint(DWORD packed) : POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))} {}

    void Offset(LONG dx, LONG dy) {
        x += dx;
        y += dy;
    }
    void SetPoint(LONG x0, LONG y0) {
        x = x0;
        y = y0;
    }
    bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
    bool operator!=(const POINT& o) const { return !(*this == o); }
    CPoint operator+(const POINT& o) const { return CPoint(x + o.x, y + o.y); }
    CPoint operator-(const POINT& o) const { return CPoint(x - o.x, y - o.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint& operator+=(const POINT& o) {
        Offset(o.x, o.y);
        return *this;
    }
    CPoint& operator-=(const POINT& o) {
        Offset(-o.x, -o.y);
        return *this;
    }
};

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(LONG cx0, LONG cy0) : SIZE{cx0, cy0} {}
    CSize(const SIZE& s) : SIZE(s) {} // NOLINT: the framework converts implicitly

    bool operator==(const SIZE& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const SIZE& o) const { return !(*this == o); }
    CSize operator+(const SIZE& o) const { return CSize(cx + o.cx, cy + o.cy); }
    CSize operator-(const SIZE& o) const { return CSize(cx - o.cx, cy - o.cy); }
};
