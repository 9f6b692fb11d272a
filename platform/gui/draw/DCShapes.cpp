#include "DC.h"
#include "DcPainter.h"

#include "Brush.h"
#include "DcHandle.h"
#include "Rgn.h"
#include "SysColor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace dcimpl;

namespace {

// How a mix mode (SetROP2) paints. Black and white take the source mode with a fixed colour.
struct Mix {
    bool skip = false;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    bool fixed = false;
    QColor color;
};

Mix MixFor(int rop2) {
    Mix m;
    switch (rop2) {
    case R2_BLACK:
        m.mode = QPainter::CompositionMode_Source;
        m.fixed = true;
        m.color = Qt::black;
        break;
    case R2_WHITE:
        m.mode = QPainter::CompositionMode_Source;
        m.fixed = true;
        m.color = Qt::white;
        break;
    case R2_NOP: m.skip = true; break;
    case R2_NOT: m.mode = QPainter::RasterOp_NotDestination; break;
    case R2_NOTCOPYPEN: m.mode = QPainter::RasterOp_NotSource; break;
    case R2_XORPEN: m.mode = QPainter::RasterOp_SourceXorDestination; break;
    case R2_NOTXORPEN: m.mode = QPainter::RasterOp_NotSourceXorDestination; break;
    case R2_MASKPEN: m.mode = QPainter::RasterOp_SourceAndDestination; break;
    case R2_MERGEPEN: m.mode = QPainter::RasterOp_SourceOrDestination; break;
    case R2_MASKNOTPEN: m.mode = QPainter::RasterOp_NotSourceAndDestination; break;
    case R2_MASKPENNOT: m.mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case R2_MERGENOTPEN: m.mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case R2_MERGEPENNOT: m.mode = QPainter::RasterOp_SourceOrNotDestination; break;
    case R2_NOTMERGEPEN: m.mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case R2_NOTMASKPEN: m.mode = QPainter::RasterOp_NotSourceOrNotDestination; break;
    default: m.mode = QPainter::CompositionMode_SourceOver; break;
    }
    return m;
}

bool PixelExact(const HDC__* dc) {
    const QTransform t = dc->Transform();
    return t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy());
}

// The pixels of a one-pixel line from a to b, leaving out b.
std::vector<QPoint> LinePixels(QPoint a, QPoint b) {
    std::vector<QPoint> points;
    const int dx = std::abs(b.x() - a.x()), dy = std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
    const int steps = std::max(dx, dy);
    points.reserve(static_cast<size_t>(steps));
    int x = a.x(), y = a.y();
    int err = dx - dy;
    for (int i = 0; i < steps; ++i) {
        points.emplace_back(x, y);
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            y += sy;
        }
    }
    return points;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Lines and shapes.

namespace {

// Draws the pixels of a one-pixel pen (or a thin pen on a scaled device) from a to b, leaving out b.
void PenLine(Scope& s, HDC__* dc, QPoint a, QPoint b) {
    const HPEN__* pen = dc->state.pen;
    if (!pen || pen->log.lopnStyle == PS_NULL || a == b)
        return;
    const Mix mix = MixFor(dc->state.rop2);
    if (mix.skip)
        return;
    const QColor color = mix.fixed ? mix.color : ToQColor(pen->log.lopnColor);
    s.SetMode(mix.mode);
    const QTransform t = dc->Transform();
    const int width = pen->log.lopnWidth.x;
    const bool styled = pen->log.lopnStyle != PS_SOLID && pen->log.lopnStyle != PS_INSIDEFRAME;
    if (PixelExact(dc) && width <= 1 && !styled) {
        const QPoint da = DevicePoint(dc, a.x(), a.y()), db = DevicePoint(dc, b.x(), b.y());
        // Straight lines as one band: from a up to, but not including, b.
        if (da.y() == db.y()) {
            const int x0 = db.x() > da.x() ? da.x() : db.x() + 1, x1 = db.x() > da.x() ? db.x() : da.x() + 1;
            s->fillRect(QRect(x0, da.y(), x1 - x0, 1), color);
            return;
        }
        if (da.x() == db.x()) {
            const int y0 = db.y() > da.y() ? da.y() : db.y() + 1, y1 = db.y() > da.y() ? db.y() : da.y() + 1;
            s->fillRect(QRect(da.x(), y0, 1, y1 - y0), color);
            return;
        }
        // Pixel by pixel only while the line is not much longer than the device is wide and high; Qt clips
        // longer ones (which only bad input makes) before it draws.
        const QSize size = dc->DeviceSize();
        const int steps = std::max(std::abs(db.x() - da.x()), std::abs(db.y() - da.y()));
        s->setPen(QPen(color, 0, Qt::SolidLine, Qt::FlatCap));
        if (steps <= 2 * (size.width() + size.height()) + 16) {
            const std::vector<QPoint> points = LinePixels(da, db);
            s->drawPoints(points.data(), static_cast<int>(points.size()));
        } else {
            s->drawLine(da, db);
        }
        return;
    }
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    QPen qpen(color, width <= 0 ? 0 : width, styles[std::min<UINT>(pen->log.lopnStyle, 6)], Qt::FlatCap);
    s.SetTransform(t);
    s->setPen(qpen);
    auto near = [](int v) { return std::clamp(v, -(1 << 24), 1 << 24); };
    s->drawLine(QPoint(near(a.x()), near(a.y())), QPoint(near(b.x()), near(b.y())));
    s.SetTransform(QTransform());
}

} // namespace

CPoint CDC::GetCurrentPosition() const { return ToCPoint(Read(m_hDC, &DcState::position, QPoint())); }
CPoint CDC::MoveTo(int x, int y) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return CPoint();
    const QPoint old = dc->state.position;
    dc->state.position = QPoint(x, y);
    return ToCPoint(old);
}

BOOL CDC::LineTo(int x, int y) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return FALSE;
    const QPoint from = dc->state.position, to(x, y);
    dc->state.position = to;
    Scope s(dc);
    if (s)
        PenLine(s, dc, from, to);
    return TRUE;
}

BOOL CDC::Polyline(const POINT* points, int count) {
    HDC__* dc = Live(m_hDC);
    if (!dc || !points || count < 2)
        return FALSE;
    Scope s(dc);
    if (s)
        for (int i = 1; i < count; ++i)
            PenLine(s, dc, QPoint(points[i - 1].x, points[i - 1].y), QPoint(points[i].x, points[i].y));
    return TRUE;
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return FALSE;
    const QRect r = Span(left, top, right, bottom);
    Scope s(dc);
    if (!s)
        return TRUE;
    const Mix mix = MixFor(dc->state.rop2);
    if (mix.skip)
        return TRUE;
    const HPEN__* pen = dc->state.pen;
    const bool outline = pen && pen->log.lopnStyle != PS_NULL;
    QBrush brush;
    const bool filled = QtBrush(dc, dc->state.brush, &brush);
    if (mix.fixed)
        brush = QBrush(mix.color);
    if (!outline) {
        // Without a pen the platform fills one pixel less to the right and below.
        if (filled)
            FillDevice(s, dc, DeviceRect(dc, r.left(), r.top(), r.right(), r.bottom()), brush, mix.mode);
        return TRUE;
    }
    const int w = std::max<LONG>(1, pen->log.lopnWidth.x);
    if (filled)
        FillDevice(s, dc, DeviceRect(dc, r.left() + w, r.top() + w, r.left() + r.width() - w, r.top() + r.height() - w),
                   brush, mix.mode);
    // The frame as four bands that never overlap, so XOR drawing inverts each pixel once.
    const QColor color = mix.fixed ? mix.color : ToQColor(pen->log.lopnColor);
    const int l = r.left(), t = r.top(), rr = l + r.width(), b = t + r.height();
    const int tw = std::min(w, r.height()), lw = std::min(w, r.width());
    s.SetMode(mix.mode);
    s->fillRect(DeviceRect(dc, l, t, rr, t + tw), color);
    if (b - tw > t + tw)
        s->fillRect(DeviceRect(dc, l, b - tw, rr, b), color);
    if (b - tw > t + tw) {
        s->fillRect(DeviceRect(dc, l, t + tw, l + lw, b - tw), color);
        if (rr - lw > l + lw)
            s->fillRect(DeviceRect(dc, rr - lw, t + tw, rr, b - tw), color);
    }
    return TRUE;
}
BOOL CDC::Rectangle(LPCRECT rect) { return rect ? Rectangle(rect->left, rect->top, rect->right, rect->bottom) : FALSE; }

namespace {

// Ellipses, polygons and rounded rectangles: shapes whose edge pixels Qt decides.
template <class Draw> BOOL Shape(HDC__* dc, Draw draw) {
    if (!dc)
        return FALSE;
    Scope s(dc);
    if (!s)
        return TRUE;
    const Mix mix = MixFor(dc->state.rop2);
    if (mix.skip)
        return TRUE;
    const HPEN__* pen = dc->state.pen;
    QBrush brush;
    if (!QtBrush(dc, dc->state.brush, &brush))
        brush = QBrush(Qt::NoBrush);
    else if (mix.fixed)
        brush = QBrush(mix.color);
    QPen qpen(Qt::NoPen);
    if (pen && pen->log.lopnStyle != PS_NULL)
        qpen = QPen(mix.fixed ? mix.color : ToQColor(pen->log.lopnColor),
                    pen->log.lopnWidth.x <= 1 ? 0 : pen->log.lopnWidth.x);
    s.SetMode(mix.mode);
    s.SetTransform(dc->Transform());
    s->setPen(qpen);
    s->setBrush(brush);
    s->setBrushOrigin(dc->state.brushOrg);
    draw(s.get());
    return TRUE;
}

} // namespace

BOOL CDC::Ellipse(int left, int top, int right, int bottom) {
    const QRect r = Span(left, top, right, bottom);
    if (r.width() < 1 || r.height() < 1)
        return Live(m_hDC) ? TRUE : FALSE;
    // A one-pixel outline of QRect(x, y, w, h) covers w + 1 pixels: one less keeps the right edge out.
    return Shape(Live(m_hDC),
                 [&](QPainter* p) { p->drawEllipse(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1)); });
}
BOOL CDC::Ellipse(LPCRECT rect) { return rect ? Ellipse(rect->left, rect->top, rect->right, rect->bottom) : FALSE; }

BOOL CDC::Polygon(const POINT* points, int count) {
    if (!points || count < 2)
        return FALSE;
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << QPoint(points[i].x, points[i].y);
    return Shape(Live(m_hDC), [&](QPainter* p) { p->drawPolygon(polygon, Qt::OddEvenFill); });
}

BOOL CDC::RoundRect(int left, int top, int right, int bottom, int width, int height) {
    const QRect r = Span(left, top, right, bottom);
    if (r.width() < 1 || r.height() < 1)
        return Live(m_hDC) ? TRUE : FALSE;
    return Shape(Live(m_hDC), [&](QPainter* p) {
        p->drawRoundedRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1), width / 2.0, height / 2.0);
    });
}

// ---------------------------------------------------------------------------------------------------------
// Fills and frames.

void CDC::FillRect(LPCRECT rect, HBRUSH brush) {
    HDC__* dc = Live(m_hDC);
    auto* b = GdiHandle::Checked<HBRUSH__>(brush, OBJ_BRUSH);
    if (!dc || !rect || !b || rect->right <= rect->left || rect->bottom <= rect->top)
        return;
    QBrush qbrush;
    if (!QtBrush(dc, b, &qbrush))
        return;
    Scope s(dc);
    if (s)
        FillDevice(s, dc, DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom), qbrush,
                   QPainter::CompositionMode_Source);
}
void CDC::FillRect(LPCRECT rect, CBrush* brush) {
    if (brush)
        FillRect(rect, reinterpret_cast<HBRUSH>(brush->m_hObject));
}

// Leaves the background colour set to the fill colour, as the framework's own fill does.
void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    HDC__* dc = Live(m_hDC);
    if (!dc || !rect)
        return;
    SetBkColor(color);
    Scope s(dc);
    if (s)
        FillDevice(s, dc, DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom), QBrush(ToQColor(color)),
                   QPainter::CompositionMode_Source);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const RECT r{x, y, Sum(x, cx), Sum(y, cy)};
    FillSolidRect(&r, color);
}

void CDC::FrameRect(LPCRECT rect, HBRUSH brush) {
    HDC__* dc = Live(m_hDC);
    auto* b = GdiHandle::Checked<HBRUSH__>(brush, OBJ_BRUSH);
    if (!dc || !rect || !b || rect->right <= rect->left || rect->bottom <= rect->top)
        return;
    QBrush qbrush;
    if (!QtBrush(dc, b, &qbrush))
        return;
    Scope s(dc);
    if (!s)
        return;
    const LONG l = rect->left, t = rect->top, r = rect->right, bt = rect->bottom;
    const auto mode = QPainter::CompositionMode_Source;
    FillDevice(s, dc, DeviceRect(dc, l, t, r, t + 1), qbrush, mode);
    FillDevice(s, dc, DeviceRect(dc, l, bt - 1, r, bt), qbrush, mode);
    FillDevice(s, dc, DeviceRect(dc, l, t, l + 1, bt), qbrush, mode);
    FillDevice(s, dc, DeviceRect(dc, r - 1, t, r, bt), qbrush, mode);
}
void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
    if (brush)
        FrameRect(rect, reinterpret_cast<HBRUSH>(brush->m_hObject));
}

void CDC::InvertRect(LPCRECT rect) {
    if (rect)
        PatBlt(rect->left, rect->top, Diff(rect->right, rect->left), Diff(rect->bottom, rect->top), DSTINVERT);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
    if (rect)
        Draw3dRect(rect->left, rect->top, Diff(rect->right, rect->left), Diff(rect->bottom, rect->top), topLeft,
                   bottomRight);
}

// The top-left colour takes the top row and left column; the bottom-right colour the right column and the
// bottom row, both corners where the colours meet included.
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(x, y, Sum(cx, -1), 1, topLeft);
    FillSolidRect(x, y, 1, Sum(cy, -1), topLeft);
    FillSolidRect(Sum(x, cx), y, -1, cy, bottomRight);
    FillSolidRect(x, Sum(y, cy), cx, -1, bottomRight);
}

BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) {
    HDC__* dc = Live(m_hDC);
    if (!dc || !rect)
        return FALSE;
    if (flags & BF_DIAGONAL)
        return FALSE;
    struct Border {
        UINT raised, sunken;
        COLORREF raisedTL, raisedBR, sunkenTL, sunkenBR;
    };
    // Outer then inner: light edges face up and left on a raised border, dark ones on a sunken border.
    const Border borders[2] = {
        {BDR_RAISEDOUTER, BDR_SUNKENOUTER, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW),
         GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHIGHLIGHT)},
        {BDR_RAISEDINNER, BDR_SUNKENINNER, GetSysColor(COLOR_3DHIGHLIGHT), GetSysColor(COLOR_3DSHADOW),
         GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT)},
    };
    CRect r(*rect);
    const COLORREF savedBk = GetBkColor();
    for (int i = 0; i < 2; ++i) {
        const Border& b = borders[i];
        COLORREF tl, br;
        if (edge & b.raised) {
            tl = b.raisedTL;
            br = b.raisedBR;
        } else if (edge & b.sunken) {
            tl = b.sunkenTL;
            br = b.sunkenBR;
        } else {
            continue;
        }
        if (flags & BF_MONO) {
            tl = br = GetSysColor(i == 0 ? COLOR_WINDOWFRAME : COLOR_WINDOW);
        } else if (flags & BF_FLAT) {
            tl = br = GetSysColor(i == 0 ? COLOR_3DSHADOW : COLOR_3DFACE);
        }
        if (r.IsRectEmpty())
            break;
        if (flags & BF_TOP)
            FillSolidRect(r.left, r.top, r.Width() - ((flags & BF_RIGHT) ? 1 : 0), 1, tl);
        if (flags & BF_LEFT)
            FillSolidRect(r.left, r.top, 1, r.Height() - ((flags & BF_BOTTOM) ? 1 : 0), tl);
        if (flags & BF_RIGHT)
            FillSolidRect(r.right - 1, r.top, 1, r.Height(), br);
        if (flags & BF_BOTTOM)
            FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, br);
        r.DeflateRect((flags & BF_LEFT) ? 1 : 0, (flags & BF_TOP) ? 1 : 0, (flags & BF_RIGHT) ? 1 : 0,
                      (flags & BF_BOTTOM) ? 1 : 0);
    }
    if ((flags & BF_MIDDLE) && !r.IsRectEmpty())
        FillSolidRect(&r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE));
    SetBkColor(savedBk);
    if (flags & BF_ADJUST)
        *rect = r;
    return TRUE;
}

void CDC::DrawFocusRect(LPCRECT rect) {
    HDC__* dc = Live(m_hDC);
    if (!dc || !rect)
        return;
    const QRect r = DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom);
    if (r.isEmpty())
        return;
    Scope s(dc);
    if (!s)
        return;
    // Every other pixel of the frame, each once, inverted.
    std::vector<QPoint> points;
    auto add = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            points.emplace_back(x, y);
    };
    const int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom();
    for (int x = l; x <= rr; ++x) {
        add(x, t);
        if (b != t)
            add(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        add(l, y);
        if (rr != l)
            add(rr, y);
    }
    s.SetMode(QPainter::RasterOp_SourceXorDestination);
    s->setPen(QPen(Qt::white, 0));
    s->drawPoints(points.data(), static_cast<int>(points.size()));
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush) {
    HDC__* dc = Live(m_hDC);
    auto* rgn = region ? GdiHandle::Checked<HRGN__>(region->m_hObject, OBJ_REGION) : nullptr;
    auto* b = brush ? GdiHandle::Checked<HBRUSH__>(brush->m_hObject, OBJ_BRUSH) : nullptr;
    if (!dc || !rgn || !b)
        return FALSE;
    QBrush qbrush;
    if (!QtBrush(dc, b, &qbrush))
        return TRUE;
    Scope s(dc, &rgn->region);
    if (s)
        FillDevice(s, dc, rgn->region.boundingRect(), qbrush, QPainter::CompositionMode_Source);
    return TRUE;
}

BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height) {
    auto* rgn = region ? GdiHandle::Checked<HRGN__>(region->m_hObject, OBJ_REGION) : nullptr;
    if (!rgn || width < 1 || height < 1)
        return FALSE;
    QRegion inner;
    for (const QRect& r : rgn->region)
        inner |= r.adjusted(width, height, -width, -height);
    CRgn frame;
    frame.Attach(NewRegion(rgn->region.subtracted(inner)));
    return FillRgn(&frame, brush);
}
