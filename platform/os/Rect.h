#pragma once

#include "Point.h"
#include "Types.h"

#include <algorithm>
#include <cstdint>

// A RECT with the framework's conveniences. Right and bottom are exclusive wherever a device draws it.
class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {} // NOLINT: the framework converts implicitly
    // A null pointer gives the empty rectangle rather than a crash.
    CRect(const RECT* r) : RECT(r ? *r : RECT{0, 0, 0, 0}) {} // NOLINT
    CRect(POINT topLeft, SIZE size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    // Wrapping as the platform's 32-bit arithmetic does, where C++'s signed arithmetic would be undefined.
    LONG Width() const { return static_cast<LONG>(static_cast<uint32_t>(right) - static_cast<uint32_t>(left)); }
    LONG Height() const { return static_cast<LONG>(static_cast<uint32_t>(bottom) - static_cast<uint32_t>(top)); }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    BOOL IsRectEmpty() const { return (right <= left || bottom <= top) ? TRUE : FALSE; }
    BOOL IsRectNull() const { return (left == 0 && top == 0 && right == 0 && bottom == 0) ? TRUE : FALSE; }
    void SetRect(LONG l, LONG t, LONG r, LONG b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(const RECT* r) { *static_cast<RECT*>(this) = *r; }
    void OffsetRect(LONG dx, LONG dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void InflateRect(LONG dx, LONG dy) {
        left -= dx;
        top -= dy;
        right += dx;
        bottom += dy;
    }
    void InflateRect(LONG l, LONG t, LONG r, LONG b) {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(LONG dx, LONG dy) { InflateRect(-dx, -dy); }
    void DeflateRect(LONG l, LONG t, LONG r, LONG b) { InflateRect(-l, -t, -r, -b); }
    void NormalizeRect() {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    // As the platform does it: an empty intersection gives the null rectangle and FALSE.
    BOOL IntersectRect(const RECT* a, const RECT* b) {
        const CRect r(std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                      std::min(a->bottom, b->bottom));
        if (r.IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        *this = r;
        return TRUE;
    }
    // Empty rectangles take no part in a union.
    BOOL UnionRect(const RECT* a, const RECT* b) {
        const bool aEmpty = CRect(*a).IsRectEmpty(), bEmpty = CRect(*b).IsRectEmpty();
        if (aEmpty && bEmpty) {
            SetRectEmpty();
            return FALSE;
        }
        if (aEmpty)
            *this = *b;
        else if (bEmpty)
            *this = *a;
        else
            SetRect(std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                    std::max(a->bottom, b->bottom));
        return TRUE;
    }
    BOOL PtInRect(POINT p) const { return (p.x >= left && p.x < right && p.y >= top && p.y < bottom) ? TRUE : FALSE; }

    operator RECT*() { return this; }             // NOLINT: the framework converts implicitly
    operator const RECT*() const { return this; } // NOLINT
    bool operator==(const RECT& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const RECT& o) const { return !(*this == o); }
    CRect& operator=(const RECT& o) {
        SetRect(o.left, o.top, o.right, o.bottom);
        return *this;
    }
    CRect& operator=(const RECT* o) { return *this = CRect(o); }
};

// The platform's free rectangle functions, with its answers: FALSE for a null pointer, nothing written.
inline BOOL IsRectEmpty(const RECT* r) { return r ? CRect(*r).IsRectEmpty() : TRUE; }
inline BOOL SetRect(RECT* r, int l, int t, int rt, int b) {
    if (!r)
        return FALSE;
    *r = RECT{l, t, rt, b};
    return TRUE;
}
inline BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }
inline BOOL CopyRect(RECT* dst, const RECT* src) {
    if (!dst || !src)
        return FALSE;
    *dst = *src;
    return TRUE;
}
inline BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && CRect(*a) == *b ? TRUE : FALSE; }
inline BOOL PtInRect(const RECT* r, POINT p) { return r ? CRect(*r).PtInRect(p) : FALSE; }
inline BOOL OffsetRect(RECT* r, int dx, int dy) {
    if (!r)
        return FALSE;
    *r = RECT{r->left + dx, r->top + dy, r->right + dx, r->bottom + dy};
    return TRUE;
}
inline BOOL InflateRect(RECT* r, int dx, int dy) {
    if (!r)
        return FALSE;
    *r = RECT{r->left - dx, r->top - dy, r->right + dx, r->bottom + dy};
    return TRUE;
}
inline BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    CRect r;
    const BOOL any = r.IntersectRect(a, b);
    *dst = r;
    return any;
}
inline BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    CRect r;
    const BOOL any = r.UnionRect(a, b);
    *dst = r;
    return any;
}
