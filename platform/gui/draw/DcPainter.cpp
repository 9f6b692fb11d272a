#include "DcPainter.h"

#include "DcHandle.h"

#include <algorithm>
#include <cmath>

namespace dcimpl {

bool Paintable(const QImage* image) {
    if (!image || image->isNull())
        return false;
    switch (image->format()) {
    case QImage::Format_Invalid:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
    case QImage::Format_Alpha8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16: return false;
    default: return true;
    }
}

// A rectangle from two corners, either way round; right and bottom exclusive. Corners far outside any
// device are brought in, so that no size overflows.
QRect Span(int x0, int y0, int x1, int y1) {
    constexpr int kEdge = 1 << 24;
    x0 = std::clamp(x0, -kEdge, kEdge);
    y0 = std::clamp(y0, -kEdge, kEdge);
    x1 = std::clamp(x1, -kEdge, kEdge);
    y1 = std::clamp(y1, -kEdge, kEdge);
    if (x1 < x0)
        std::swap(x0, x1);
    if (y1 < y0)
        std::swap(y0, y1);
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

// Each entry on the heap of its own, so that a scope's pointer to it stays good while others come and go.
std::vector<std::unique_ptr<HeldPainter>>& HeldPainters() {
    static auto* held = new std::vector<std::unique_ptr<HeldPainter>>; // never freed: DCs may end after statics
    return *held;
}

// The painter held on an image, begun now when the DC keeps one and none is held yet; null otherwise.
HeldPainter* HeldPainterFor(HDC__* dc, QImage* image) {
    std::vector<std::unique_ptr<HeldPainter>>& held = HeldPainters();
    for (auto it = held.begin(); it != held.end(); ++it) {
        if ((*it)->image != image)
            continue;
        if ((*it)->bits == image->constBits())
            return it->get();
        (*it)->painter->end();
        held.erase(it);
        break;
    }
    const HBITMAP__* bitmap = dc->state.bitmap;
    if (!dc->keepPainter || dc->kind != HDC__::Kind::Memory || !bitmap || bitmap->stock || bitmap->dib)
        return nullptr;
    auto entry = std::make_unique<HeldPainter>();
    entry->owner = dc;
    entry->image = image;
    entry->painter = std::make_unique<QPainter>();
    if (!entry->painter->begin(image))
        return nullptr;
    entry->bits = image->constBits();
    held.push_back(std::move(entry));
    return held.back().get();
}

// Ends the painters a DC holds: before its bitmap changes or goes, and when it stops keeping one.
void ReleaseHeldPainters(const HDC__* owner) {
    std::vector<std::unique_ptr<HeldPainter>>& held = HeldPainters();
    for (auto it = held.begin(); it != held.end();) {
        if ((*it)->owner == owner) {
            (*it)->painter->end();
            it = held.erase(it);
        } else {
            ++it;
        }
    }
}

QImage Recolored(const QImage& mono, COLORREF zeroColor, COLORREF oneColor) {
    QImage out = mono.convertToFormat(QImage::Format_RGB32);
    const QRgb zero = ToQRgb(zeroColor), one = ToQRgb(oneColor);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = (qRed(line[x]) | qGreen(line[x]) | qBlue(line[x])) ? one : zero;
    }
    return out;
}

// The Qt brush that paints a brush handle on this DC; none for a null brush.
bool QtBrush(HDC__* dc, const HBRUSH__* brush, QBrush* out) {
    if (!brush || brush->log.lbStyle == BS_NULL)
        return false;
    if (brush->log.lbStyle == BS_PATTERN) {
        if (brush->pattern.isNull())
            return false;
        *out = QBrush(brush->patternMono ? Recolored(brush->pattern, dc->state.textColor, dc->state.bkColor)
                                         : brush->pattern);
        return true;
    }
    if (brush->log.lbStyle == BS_HATCHED) {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        *out = QBrush(ToQColor(brush->log.lbColor), hatches[std::min<uintptr_t>(brush->log.lbHatch, 5)]);
        return true;
    }
    *out = QBrush(ToQColor(BrushColor(brush)));
    return true;
}

// Fills a device rectangle with a brush in a composition mode; hatches show the background colour between
// their lines when the background mode is opaque.
void FillDevice(Scope& s, HDC__* dc, const QRect& rect, const QBrush& brush, QPainter::CompositionMode mode) {
    if (rect.isEmpty())
        return;
    s.SetMode(mode);
    if (brush.style() >= Qt::HorPattern && brush.style() <= Qt::DiagCrossPattern && dc->state.bkMode == OPAQUE)
        s->fillRect(rect, ToQColor(dc->state.bkColor));
    s->setBrushOrigin(dc->Transform().map(dc->state.brushOrg));
    s->fillRect(rect, brush);
}

int Near(double v) { return static_cast<int>(std::lround(std::clamp(v, -kFar, kFar))); }

QRect DeviceRect(const HDC__* dc, int left, int top, int right, int bottom) {
    const QTransform t = dc->Transform();
    const QPointF a = t.map(QPointF(left, top)), b = t.map(QPointF(right, bottom));
    return Span(Near(a.x()), Near(a.y()), Near(b.x()), Near(b.y()));
}

QPoint DevicePoint(const HDC__* dc, int x, int y) {
    const QPointF p = dc->Transform().map(QPointF(x, y));
    return QPoint(Near(p.x()), Near(p.y()));
}

QFont FontOf(const HDC__* dc) { return dc->state.font ? dc->state.font->font : DefaultFont()->font; }

} // namespace dcimpl
