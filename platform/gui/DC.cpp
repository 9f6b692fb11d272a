#include "DC.h"

#include "Bitmap.h"
#include "Brush.h"
#include "DcHandle.h"
#include "Font.h"
#include "GbkString.h"
#include "Icon.h"
#include "Pen.h"
#include "Rgn.h"
#include "SysColor.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QMetaObject>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPair>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

namespace {

std::unordered_set<const void*>& LiveDCs() {
    static std::unordered_set<const void*> live;
    return live;
}

// Lasting CDC wrappers outlive their handle until control returns to the event loop (see GdiObject.cpp).
void BuryDC(CDC* wrapper) {
    // Never freed, so wrappers still waiting at exit stay reachable rather than lost with the vector.
    static auto& graveyard = *new std::vector<CDC*>;
    wrapper->m_hDC = nullptr;
    wrapper->m_hAttribDC = nullptr;
    graveyard.push_back(wrapper);
    if (graveyard.size() == 1 && QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                auto dead = std::move(graveyard);
                graveyard.clear();
                for (CDC* w : dead)
                    delete w;
            },
            Qt::QueuedConnection);
    }
}

HDC__* Live(HDC dc) { return HDC__::IsLive(dc) ? dc : nullptr; }

QImage& ScreenScratch() {
    static QImage scratch(1, 1, QImage::Format_RGB32);
    return scratch;
}

QSize ScreenSize() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry().size();
    return QSize(800, 600);
}

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

// A sum of caller coordinates that cannot overflow; results beyond LONG stay at its ends.
LONG Sum(int64_t a, int64_t b) { return static_cast<LONG>(std::clamp<int64_t>(a + b, INT32_MIN, INT32_MAX)); }
LONG Diff(int64_t a, int64_t b) { return Sum(a, -b); }

// A painter a memory DC keeps open on its bitmap while it draws a whole paint (CDC::KeepPainterOpen). Every call
// that draws on that image, from any DC, goes through it instead of opening a painter of its own: opening one
// sets up a paint engine, and a paint makes thousands of calls.
struct HeldPainter {
    HDC__* owner = nullptr;
    const QImage* image = nullptr;
    const uchar* bits = nullptr; // the pixels the painter draws on; an image given new ones is drawn afresh
    std::unique_ptr<QPainter> painter;
    // What the painter was last given, so that the same is not set again.
    bool clipKnown = false;
    QRect clip;
    bool fontKnown = false;
    QFont font;
};

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

// The painter for one call, in device coordinates, clipped to what the DC may touch. Images get a new painter
// each time (so any number of DCs can share one image), or the one a memory DC holds on its bitmap; a paint
// device keeps its painter open.
class Scope {
public:
    explicit Scope(HDC__* dc, const QRegion* extraClip = nullptr) { Begin(dc, extraClip, nullptr); }
    // Clipped to a device rectangle as well, when one is given.
    Scope(HDC__* dc, const QRegion* extraClip, const QRect* extraRect) { Begin(dc, extraClip, extraRect); }
    ~Scope() {
        if (m_persistent)
            m_painter->restore();
        else if (m_painter && !m_held)
            m_local.end();
        // A DIB section's caller reads the memory, not the image.
        if (m_dib)
            SyncDibFromImage(m_dib, m_area);
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

    explicit operator bool() const { return m_painter != nullptr; }
    QPainter* operator->() const { return m_painter; }
    QPainter* get() const { return m_painter; }
    // Raster operations exist only on raster devices; others paint plainly.
    void SetMode(QPainter::CompositionMode mode) {
        m_painter->setCompositionMode(m_raster ? mode : QPainter::CompositionMode_SourceOver);
    }
    // Logical or device coordinates, on top of an external painter's own transform.
    void SetTransform(const QTransform& t) { m_painter->setTransform(t * m_base); }
    // The font for text; a held painter that has it already is not given it again.
    void SetFont(const QFont& font) {
        if (m_held && m_held->fontKnown && m_held->font == font)
            return;
        m_painter->setFont(font);
        if (m_held) {
            m_held->font = font;
            m_held->fontKnown = true;
        }
    }

private:
    void Begin(HDC__* dc, const QRegion* extraRegion, const QRect* extraRect) {
        if (!dc)
            return;
        // Mostly what may be touched is one rectangle; a region is made only when it is not.
        QRect clipRect;
        QRegion clipRegion;
        const bool rectangular = dc->kind != HDC__::Kind::Device && !dc->state.hasClip &&
                                 (!dc->hasMetaClip || dc->metaClip.rectCount() == 1) &&
                                 (!extraRegion || extraRegion->rectCount() <= 1);
        if (rectangular) {
            clipRect = QRect(QPoint(0, 0), dc->DeviceSize());
            if (dc->hasMetaClip)
                clipRect &= dc->metaClip.boundingRect();
            if (extraRegion)
                clipRect &= extraRegion->boundingRect();
            if (extraRect)
                clipRect &= *extraRect;
            if (clipRect.isEmpty())
                return;
        } else {
            clipRegion = dc->VisibleRegion();
            if (extraRegion)
                clipRegion &= *extraRegion;
            if (extraRect)
                clipRegion &= *extraRect;
            if (clipRegion.isEmpty())
                return;
        }
        if (dc->kind == HDC__::Kind::Device) {
            QPainter* painter = dc->DevicePainter();
            if (!painter || !painter->isActive())
                return;
            m_painter = painter;
            m_painter->save();
            m_persistent = true;
            m_base = dc->base;
            m_raster = painter->paintEngine() && painter->paintEngine()->type() == QPaintEngine::Raster;
        } else {
            QImage* image = dc->Raster();
            if (!Paintable(image))
                return;
            if ((m_held = HeldPainterFor(dc, image)) != nullptr) {
                m_painter = m_held->painter.get();
            } else {
                if (!m_local.begin(image))
                    return;
                m_painter = &m_local;
                if (dc->kind == HDC__::Kind::Memory && dc->state.bitmap && dc->state.bitmap->dib) {
                    m_dib = dc->state.bitmap;
                    m_area = rectangular ? clipRect : clipRegion.boundingRect();
                }
            }
        }
        m_painter->setTransform(m_base);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (rectangular) {
            if (!m_held || !m_held->clipKnown || m_held->clip != clipRect)
                m_painter->setClipRect(clipRect, Qt::ReplaceClip);
            if (m_held) {
                m_held->clipKnown = true;
                m_held->clip = clipRect;
            }
        } else {
            m_painter->setClipRegion(clipRegion, dc->external ? Qt::IntersectClip : Qt::ReplaceClip);
            if (m_held)
                m_held->clipKnown = false;
        }
        m_painter->setPen(Qt::NoPen);
        m_painter->setBrush(Qt::NoBrush);
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (!m_persistent)
            m_raster = true;
    }

    QTransform m_base;
    QPainter m_local;
    QPainter* m_painter = nullptr;
    HeldPainter* m_held = nullptr;
    bool m_persistent = false;
    bool m_raster = false;
    HBITMAP__* m_dib = nullptr;
    QRect m_area;
};

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

// Device coordinates stay well inside int, whatever the caller passed; nothing that far out is visible.
constexpr double kFar = 1 << 24;
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

std::string Bytes(LPCTSTR text, int count) {
    if (!text)
        return std::string();
    const size_t length = std::strlen(text);
    const size_t n = count < 0 ? length : std::min(length, static_cast<size_t>(count));
    return std::string(text, n);
}

QFont FontOf(const HDC__* dc) { return dc->state.font ? dc->state.font->font : DefaultFont()->font; }

// A line of text with the positions of the characters its prefixes underline.
struct TextLine {
    QString text;
    std::vector<int> underlines;
};

TextLine StripPrefixes(const QString& text) {
    TextLine line;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                line.text += QLatin1Char('&');
                ++i;
                continue;
            }
            if (i + 1 < text.size())
                line.underlines.push_back(static_cast<int>(line.text.size()));
            continue;
        }
        line.text += text[i];
    }
    return line;
}

bool IsWide(QChar c) { return c.unicode() >= 0x2E80; }

// Breaks a line into lines no wider than width at spaces and between wide characters; a word wider than the
// width stands alone on its line.
std::vector<TextLine> WordBreak(const TextLine& para, int width, const QFontMetrics& fm) {
    std::vector<TextLine> lines;
    const QString& s = para.text;
    // Token ends: after a run of spaces, or around a wide character.
    std::vector<int> ends;
    for (int i = 0; i < s.size();) {
        int j = i;
        if (IsWide(s[j]))
            ++j;
        else
            while (j < s.size() && !IsWide(s[j]) && s[j] != QLatin1Char(' '))
                ++j;
        while (j < s.size() && s[j] == QLatin1Char(' '))
            ++j;
        if (j == i)
            ++j;
        ends.push_back(j);
        i = j;
    }
    auto trimmedWidth = [&](int from, int to) {
        int end = to;
        while (end > from && s[end - 1] == QLatin1Char(' '))
            --end;
        return fm.horizontalAdvance(s.mid(from, end - from));
    };
    int start = 0;
    size_t t = 0;
    while (t < ends.size()) {
        size_t last = t; // at least one token per line
        while (last + 1 < ends.size() && trimmedWidth(start, ends[last + 1]) <= width)
            ++last;
        int end = ends[last];
        int shown = end;
        while (shown > start && s[shown - 1] == QLatin1Char(' '))
            --shown;
        TextLine line;
        line.text = s.mid(start, shown - start);
        for (int u : para.underlines)
            if (u >= start && u < shown)
                line.underlines.push_back(u - start);
        lines.push_back(line);
        start = end;
        t = last + 1;
    }
    if (lines.empty())
        lines.push_back(TextLine{});
    return lines;
}

// What is known of a font's text widths without shaping the text, the costly part of drawing it: the advance
// of each printable ASCII character, measured once, and the lines already measured for an ellipsis.
struct FontMeasures {
    QFont font;
    std::array<int, 95> ceiled{};  // rounded up
    std::array<qreal, 95> exact{}; // as shaping places them, kerning aside
    // A line measured in a width: how much of it stays before "..." (-1: all of it, without dots) and its
    // advance then. A window repainting its cells asks about the same lines again and again.
    struct Fit {
        int keep;
        int advance;
    };
    QHash<QPair<QString, int>, Fit> fits;
};

// Kept for a few fonts; each keeps a few thousand lines before it starts over.
constexpr size_t kMeasuredFonts = 16;
constexpr qsizetype kMeasuredLines = 4096;

FontMeasures& MeasuresOf(const QFont& font) {
    static auto* fonts = new std::vector<std::unique_ptr<FontMeasures>>; // never freed, as fonts are
    for (const auto& entry : *fonts)
        if (entry->font == font)
            return *entry;
    auto entry = std::make_unique<FontMeasures>();
    entry->font = font;
    const QFontMetricsF fm(font);
    for (int c = 0x20; c <= 0x7E; ++c) {
        const qreal advance = fm.horizontalAdvance(QChar(static_cast<char16_t>(c)));
        entry->exact[static_cast<size_t>(c - 0x20)] = advance;
        entry->ceiled[static_cast<size_t>(c - 0x20)] = static_cast<int>(std::ceil(advance));
    }
    if (fonts->size() >= kMeasuredFonts)
        fonts->erase(fonts->begin());
    fonts->push_back(std::move(entry));
    return *fonts->back();
}

// The width of a text of printable ASCII characters, rounded up per character, with a pixel to spare for each
// (kerning and hinting move glyphs by less), or -1 for other text. Never below what shaping measures.
int AsciiBound(const QString& text, const FontMeasures& measures) {
    int bound = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7E)
            return -1;
        bound += measures.ceiled[static_cast<size_t>(u - 0x20)] + 1;
    }
    return bound;
}

bool IsPrintableAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; });
}

// Whether a line may be wider than width, so that it has to be measured.
bool MayOverflow(const QString& text, int width, const QFont& font) {
    if (!IsPrintableAscii(text))
        return true;
    return AsciiBound(text, MeasuresOf(font)) > width;
}

// How much of a line wider than width stays before "...": the most characters that fit with the dots, as trying
// them from the longest down finds it (a text with a character more never draws narrower), found in a few
// measurements: from an estimate, steps doubling until the answer is bracketed, then halving.
FontMeasures::Fit ShortenedFit(const QString& text, int width, const QFontMetrics& fm, const FontMeasures& measures) {
    const QString dots = QStringLiteral("...");
    // The lengths that may be kept, shortest first: one character less each time, never cutting a surrogate pair.
    std::vector<int> cuts;
    for (int keep = static_cast<int>(text.size());;) {
        cuts.push_back(keep);
        if (keep == 0)
            break;
        --keep;
        if (keep > 0 && text[keep - 1].isHighSurrogate())
            --keep;
    }
    std::reverse(cuts.begin(), cuts.end());
    std::vector<int> advances(cuts.size(), -1);
    auto fits = [&](size_t i) {
        if (cuts[i] == 0)
            return true;
        if (advances[i] < 0)
            advances[i] = fm.horizontalAdvance(text.left(cuts[i]) + dots);
        return advances[i] <= width;
    };
    // The whole line does not fit (the caller measured it), and with the dots it is wider still.
    size_t lo = 0;               // fits
    size_t hi = cuts.size() - 1; // does not fit
    {
        size_t guess = hi / 2;
        if (IsPrintableAscii(text) && cuts.size() == static_cast<size_t>(text.size()) + 1) {
            // ASCII: one cut per character, and the characters' own advances say about where it falls.
            qreal used = 3 * measures.exact[static_cast<size_t>('.' - 0x20)];
            guess = 0;
            while (guess + 1 < hi) {
                used += measures.exact[static_cast<size_t>(text[static_cast<int>(guess)].unicode() - 0x20)];
                if (used > width)
                    break;
                ++guess;
            }
        }
        guess = std::clamp<size_t>(guess, 1, hi > 1 ? hi - 1 : 1);
        if (guess < hi) {
            size_t step = 1;
            if (fits(guess)) {
                lo = guess;
                while (lo + step < hi && fits(lo + step)) {
                    lo += step;
                    step *= 2;
                }
                hi = std::min(hi, lo + step);
            } else {
                hi = guess;
                while (hi > lo + step && !fits(hi - step)) {
                    hi -= step;
                    step *= 2;
                }
                lo = hi > lo + step ? hi - step : lo;
            }
        }
        while (hi - lo > 1) {
            const size_t mid = lo + (hi - lo) / 2;
            if (fits(mid))
                lo = mid;
            else
                hi = mid;
        }
    }
    const int keep = cuts[lo];
    return {keep, advances[lo] >= 0 ? advances[lo] : fm.horizontalAdvance(text.left(keep) + dots)};
}

// Shortens a line that is wider than width to what fits before "..."; returns the line's advance afterwards.
// Measuring shapes the text, the costly part of drawing it, so the caller keeps the advance.
int EndEllipsis(TextLine& line, int width, const QFontMetrics& fm, const QFont& font) {
    const QString dots = QStringLiteral("...");
    FontMeasures& measures = MeasuresOf(font);
    const QPair<QString, int> key(line.text, width);
    FontMeasures::Fit fit{-1, 0};
    if (const auto known = measures.fits.constFind(key); known != measures.fits.constEnd()) {
        fit = known.value();
    } else {
        fit.advance = fm.horizontalAdvance(line.text);
        if (fit.advance > width)
            fit = ShortenedFit(line.text, width, fm, measures);
        if (measures.fits.size() >= kMeasuredLines)
            measures.fits.clear();
        measures.fits.insert(key, fit);
    }
    if (fit.keep < 0)
        return fit.advance;
    const int keep = fit.keep;
    line.text = line.text.left(keep) + dots;
    line.underlines.erase(
        std::remove_if(line.underlines.begin(), line.underlines.end(), [keep](int u) { return u >= keep; }),
        line.underlines.end());
    return fit.advance;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// The handle record.

void DcState::RetainObjects() const {
    GdiHandle::Select(pen);
    GdiHandle::Select(brush);
    GdiHandle::Select(font);
    GdiHandle::Select(bitmap);
}

void DcState::ReleaseObjects() const {
    GdiHandle::Deselect(pen);
    GdiHandle::Deselect(brush);
    GdiHandle::Deselect(font);
    GdiHandle::Deselect(bitmap);
}

HDC__::HDC__(Kind k) : kind(k) {
    LiveDCs().insert(this);
    state.pen = static_cast<HPEN__*>(GetStockObject(BLACK_PEN));
    state.brush = static_cast<HBRUSH__*>(GetStockObject(WHITE_BRUSH));
    state.font = DefaultFont();
    if (kind == Kind::Memory)
        state.bitmap = StockBitmap();
    state.RetainObjects();
}

HDC__::~HDC__() {
    LiveDCs().erase(this);
    ReleaseHeldPainters(this);
    if (painter && painter->isActive())
        painter->end();
    for (const DcState& s : saved)
        s.ReleaseObjects();
    state.ReleaseObjects();
    if (lasting)
        BuryDC(lasting);
}

bool HDC__::IsLive(const void* dc) { return dc && LiveDCs().count(dc) != 0; }

QImage* HDC__::Raster() const {
    switch (kind) {
    case Kind::Memory:
        if (state.bitmap && state.bitmap->stock) {
            if (scratch.size() != state.bitmap->image.size())
                scratch = state.bitmap->image.copy();
            return &scratch;
        }
        SyncImageFromDib(state.bitmap);
        return state.bitmap ? &state.bitmap->image : nullptr;
    case Kind::Window: return windowImage ? windowImage() : nullptr;
    case Kind::Image: return image;
    case Kind::Screen: return &ScreenScratch();
    case Kind::Device: return nullptr;
    }
    return nullptr;
}

QSize HDC__::DeviceSize() const {
    if (kind == Kind::Screen)
        return ScreenSize();
    if (kind == Kind::Device)
        return device ? QSize(device->width(), device->height()) : QSize();
    const QImage* r = Raster();
    return r ? r->size() : QSize();
}

int HDC__::DpiX() const { return (kind == Kind::Device && device) ? device->logicalDpiX() : 96; }
int HDC__::DpiY() const { return (kind == Kind::Device && device) ? device->logicalDpiY() : 96; }

QTransform HDC__::Transform() const {
    const DcState& s = state;
    double sx = 1, sy = 1;
    switch (s.mapMode) {
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
        sx = s.windowExt.width() ? double(s.viewportExt.width()) / s.windowExt.width() : 1;
        sy = s.windowExt.height() ? double(s.viewportExt.height()) / s.windowExt.height() : 1;
        if (s.mapMode == MM_ISOTROPIC) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = sx < 0 ? -m : m;
            sy = sy < 0 ? -m : m;
        }
        break;
    case MM_LOMETRIC: sx = DpiX() / 254.0, sy = -DpiY() / 254.0; break;
    case MM_HIMETRIC: sx = DpiX() / 2540.0, sy = -DpiY() / 2540.0; break;
    case MM_LOENGLISH: sx = DpiX() / 100.0, sy = -DpiY() / 100.0; break;
    case MM_HIENGLISH: sx = DpiX() / 1000.0, sy = -DpiY() / 1000.0; break;
    case MM_TWIPS: sx = DpiX() / 1440.0, sy = -DpiY() / 1440.0; break;
    default: break;
    }
    return QTransform(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx, s.viewportOrg.y() - s.windowOrg.y() * sy);
}

QRegion HDC__::VisibleRegion() const {
    QRegion visible(QRect(QPoint(0, 0), DeviceSize()));
    if (hasMetaClip)
        visible &= metaClip;
    if (state.hasClip)
        visible &= state.clip;
    return visible;
}

HDC__* NewWindowDC(CWnd* wnd, std::function<QImage*()> image, const QRegion* paintRegion) {
    auto* dc = new HDC__(HDC__::Kind::Window);
    dc->wnd = wnd;
    dc->windowImage = std::move(image);
    if (paintRegion) {
        dc->hasMetaClip = true;
        dc->metaClip = *paintRegion;
    }
    return dc;
}

HDC__* NewScreenDC() { return new HDC__(HDC__::Kind::Screen); }

// ---------------------------------------------------------------------------------------------------------
// Creation and lifetime.

CDC::~CDC() {
    if (HDC__* dc = Live(m_hDC); dc && dc->lasting != this)
        delete dc;
}

CDC* CDC::FromHandle(HDC dc) {
    HDC__* d = Live(dc);
    if (!d)
        return nullptr;
    if (!d->lasting) {
        d->lasting = new CDC;
        d->lasting->m_hDC = d->lasting->m_hAttribDC = d;
        d->lasting->m_bPrinting =
            (d->kind == HDC__::Kind::Device && d->device && dynamic_cast<QPagedPaintDevice*>(d->device) != nullptr)
                ? TRUE
                : FALSE;
    }
    return d->lasting;
}

BOOL CDC::Attach(HDC dc) {
    if (m_hDC || !Live(dc))
        return FALSE;
    m_hDC = m_hAttribDC = dc;
    return TRUE;
}

HDC CDC::Detach() {
    HDC dc = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return dc;
}

BOOL CDC::DeleteDC() {
    HDC__* dc = Live(m_hDC);
    Detach();
    m_bPrinting = FALSE;
    if (!dc)
        return FALSE;
    if (dc->lasting == this)
        return FALSE;
    delete dc;
    return TRUE;
}

BOOL CDC::CreateCompatibleDC(CDC* /*dc*/) {
    if (m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = new HDC__(HDC__::Kind::Memory);
    return TRUE;
}

BOOL CDC::AttachImage(QImage* image) {
    if (!Paintable(image))
        return FALSE;
    if (HDC__* dc = Live(m_hDC)) {
        if (dc->kind != HDC__::Kind::Image)
            return FALSE;
        dc->image = image;
        return TRUE;
    }
    auto* dc = new HDC__(HDC__::Kind::Image);
    dc->image = image;
    m_hDC = m_hAttribDC = dc;
    return TRUE;
}

void CDC::DetachImage() {
    if (HDC__* dc = Live(m_hDC); dc && dc->kind == HDC__::Kind::Image)
        DeleteDC();
}

BOOL CDC::AttachPaintDevice(QPaintDevice* device) {
    if (!device || m_hDC)
        return FALSE;
    if (device->devType() == QInternal::Image)
        return AttachImage(static_cast<QImage*>(device));
    auto dc = std::make_unique<HDC__>(HDC__::Kind::Device);
    dc->device = device;
    dc->painter = std::make_unique<QPainter>();
    if (!dc->painter->begin(device))
        return FALSE;
    m_bPrinting = dynamic_cast<QPagedPaintDevice*>(device) != nullptr ? TRUE : FALSE;
    m_hDC = m_hAttribDC = dc.release();
    return TRUE;
}

void CDC::DetachPaintDevice() {
    if (HDC__* dc = Live(m_hDC); dc && dc->kind == HDC__::Kind::Device)
        DeleteDC();
}

QPainter* CDC::GetPainter() const {
    HDC__* dc = Live(m_hDC);
    return (dc && dc->kind == HDC__::Kind::Device) ? dc->DevicePainter() : nullptr;
}

BOOL CDC::AttachPainter(QPainter* painter) {
    if (!painter || !painter->isActive() || m_hDC)
        return FALSE;
    auto* dc = new HDC__(HDC__::Kind::Device);
    dc->device = painter->device();
    dc->external = painter;
    dc->base = painter->transform();
    m_hDC = m_hAttribDC = dc;
    return TRUE;
}

void CDC::DetachPainter() {
    if (HDC__* dc = Live(m_hDC); dc && dc->external)
        DeleteDC();
}

void CDC::KeepPainterOpen(BOOL keep) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return;
    dc->keepPainter = keep != FALSE;
    if (!keep)
        ReleaseHeldPainters(dc);
}

CWnd* CDC::GetWindow() const {
    HDC__* dc = Live(m_hDC);
    return dc ? dc->wnd : nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// State.

int CDC::SaveDC() {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return 0;
    dc->state.RetainObjects();
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL CDC::RestoreDC(int savedDC) {
    HDC__* dc = Live(m_hDC);
    if (!dc || savedDC == 0)
        return FALSE;
    const int depth = static_cast<int>(dc->saved.size());
    const int level = savedDC < 0 ? depth + 1 + savedDC : savedDC;
    if (level < 1 || level > depth)
        return FALSE;
    DcState restored = dc->saved[static_cast<size_t>(level - 1)];
    if (restored.bitmap != dc->state.bitmap)
        ReleaseHeldPainters(dc);
    // The restored state takes over the hold its saved copy had on the objects.
    for (int i = depth - 1; i >= level; --i)
        dc->saved[static_cast<size_t>(i)].ReleaseObjects();
    dc->saved.resize(static_cast<size_t>(level - 1));
    DcState old = dc->state;
    dc->state = restored;
    old.ReleaseObjects();
    return TRUE;
}

int CDC::GetDeviceCaps(int index) const {
    HDC__* dc = Live(m_hAttribDC ? m_hAttribDC : m_hDC);
    if (!dc)
        return 0;
    if (auto it = dc->capsOverrides.find(index); it != dc->capsOverrides.end())
        return it->second;
    const QSize size = dc->DeviceSize();
    const bool mono = dc->kind == HDC__::Kind::Memory && dc->state.bitmap && dc->state.bitmap->mono;
    const bool device = dc->kind == HDC__::Kind::Device;
    auto* paged = device ? dynamic_cast<QPagedPaintDevice*>(dc->device) : nullptr;
    switch (index) {
    case DRIVERVERSION: return 0x400;
    case TECHNOLOGY: return paged ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZRES: return size.width();
    case VERTRES: return size.height();
    case HORZSIZE: return static_cast<int>(std::lround(size.width() * 25.4 / dc->DpiX()));
    case VERTSIZE: return static_cast<int>(std::lround(size.height() * 25.4 / dc->DpiY()));
    case LOGPIXELSX: return dc->DpiX();
    case LOGPIXELSY: return dc->DpiY();
    case BITSPIXEL: return mono ? 1 : (paged ? 24 : 32);
    case PLANES: return 1;
    case NUMCOLORS: return mono ? 2 : -1;
    case NUMBRUSHES:
    case NUMPENS: return -1;
    case NUMFONTS: return 0;
    case SIZEPALETTE: return 0;
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case PHYSICALWIDTH:
    case PHYSICALHEIGHT:
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY: {
        if (!paged)
            return 0;
        const int dpi = dc->DpiX();
        const QRect full = paged->pageLayout().fullRectPixels(dpi);
        const QRect paint = paged->pageLayout().paintRectPixels(dpi);
        if (index == PHYSICALWIDTH)
            return full.width();
        if (index == PHYSICALHEIGHT)
            return full.height();
        return index == PHYSICALOFFSETX ? paint.left() : paint.top();
    }
    default: return 0;
    }
}

void CDC::OverrideDeviceCaps(int index, int value) {
    if (HDC__* dc = Live(m_hAttribDC ? m_hAttribDC : m_hDC))
        dc->capsOverrides[index] = value;
}

// ---------------------------------------------------------------------------------------------------------
// Objects.

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    HDC__* dc = Live(m_hDC);
    if (!dc || !GdiHandle::IsLive(object) || object->deleted)
        return nullptr;
    GdiHandle** slot = nullptr;
    switch (object->type) {
    case OBJ_PEN: slot = reinterpret_cast<GdiHandle**>(&dc->state.pen); break;
    case OBJ_BRUSH: slot = reinterpret_cast<GdiHandle**>(&dc->state.brush); break;
    case OBJ_FONT: slot = reinterpret_cast<GdiHandle**>(&dc->state.font); break;
    case OBJ_BITMAP:
        if (dc->kind != HDC__::Kind::Memory)
            return nullptr;
        if (object != dc->state.bitmap)
            ReleaseHeldPainters(dc);
        slot = reinterpret_cast<GdiHandle**>(&dc->state.bitmap);
        break;
    case OBJ_REGION: {
        const int kind = SelectClipRgn(static_cast<CRgn*>(CGdiObject::FromHandle(object)));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(kind));
    }
    default: return nullptr;
    }
    GdiHandle* old = *slot;
    GdiHandle::Select(object);
    *slot = object;
    // An old object deleted while selected is freed now; it cannot be handed back.
    const bool freed = old && old->deleted && old->selections == 1;
    GdiHandle::Deselect(old);
    return freed ? nullptr : old;
}

CPen* CDC::SelectObject(CPen* pen) {
    return pen ? CPen::FromHandle(reinterpret_cast<HPEN>(SelectObject(pen->m_hObject))) : nullptr;
}
CBrush* CDC::SelectObject(CBrush* brush) {
    return brush ? CBrush::FromHandle(reinterpret_cast<HBRUSH>(SelectObject(brush->m_hObject))) : nullptr;
}
CFont* CDC::SelectObject(CFont* font) {
    return font ? CFont::FromHandle(reinterpret_cast<HFONT>(SelectObject(font->m_hObject))) : nullptr;
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return bitmap ? CBitmap::FromHandle(reinterpret_cast<HBITMAP>(SelectObject(bitmap->m_hObject))) : nullptr;
}
int CDC::SelectObject(CRgn* region) { return SelectClipRgn(region); }
CGdiObject* CDC::SelectObject(CGdiObject* object) {
    return object ? CGdiObject::FromHandle(SelectObject(object->m_hObject)) : nullptr;
}
CGdiObject* CDC::SelectStockObject(int index) { return CGdiObject::FromHandle(SelectObject(GetStockObject(index))); }

CPen* CDC::GetCurrentPen() const {
    HDC__* dc = Live(m_hDC);
    return dc ? CPen::FromHandle(dc->state.pen) : nullptr;
}
CBrush* CDC::GetCurrentBrush() const {
    HDC__* dc = Live(m_hDC);
    return dc ? CBrush::FromHandle(dc->state.brush) : nullptr;
}
CFont* CDC::GetCurrentFont() const {
    HDC__* dc = Live(m_hDC);
    return dc ? CFont::FromHandle(dc->state.font) : nullptr;
}
CBitmap* CDC::GetCurrentBitmap() const {
    HDC__* dc = Live(m_hDC);
    return dc ? CBitmap::FromHandle(dc->state.bitmap) : nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Colours and modes.

namespace {

// A field of the DC's state, or the fallback without a DC.
template <class T> T Read(HDC handle, T DcState::*field, T fallback) {
    HDC__* dc = Live(handle);
    return dc ? dc->state.*field : fallback;
}

// Sets a field of the DC's state and gives its old value, or the fallback without a DC.
template <class T> T Swap(HDC handle, T DcState::*field, T value, T fallback) {
    HDC__* dc = Live(handle);
    if (!dc)
        return fallback;
    const T old = dc->state.*field;
    dc->state.*field = value;
    return old;
}

} // namespace

COLORREF CDC::GetBkColor() const { return Read(m_hDC, &DcState::bkColor, CLR_INVALID); }
COLORREF CDC::SetBkColor(COLORREF color) { return Swap(m_hDC, &DcState::bkColor, color & 0x00FFFFFF, CLR_INVALID); }
int CDC::GetBkMode() const { return Read(m_hDC, &DcState::bkMode, 0); }
int CDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return Swap(m_hDC, &DcState::bkMode, mode, 0);
}
COLORREF CDC::GetTextColor() const { return Read(m_hDC, &DcState::textColor, CLR_INVALID); }
COLORREF CDC::SetTextColor(COLORREF color) { return Swap(m_hDC, &DcState::textColor, color & 0x00FFFFFF, CLR_INVALID); }
int CDC::GetROP2() const { return Read(m_hDC, &DcState::rop2, 0); }
int CDC::SetROP2(int mode) {
    if (mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    return Swap(m_hDC, &DcState::rop2, mode, 0);
}
int CDC::GetStretchBltMode() const { return Read(m_hDC, &DcState::stretchMode, 0); }
int CDC::SetStretchBltMode(int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return Swap(m_hDC, &DcState::stretchMode, mode, 0);
}
UINT CDC::GetTextAlign() const { return Read(m_hDC, &DcState::textAlign, 0u); }
UINT CDC::SetTextAlign(UINT flags) { return Swap(m_hDC, &DcState::textAlign, flags, 0u); }
CPoint CDC::SetBrushOrg(int x, int y) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return CPoint();
    const QPoint old = dc->state.brushOrg;
    dc->state.brushOrg = QPoint(x, y);
    return CPoint(old.x(), old.y());
}
CPoint CDC::GetBrushOrg() const {
    HDC__* dc = Live(m_hDC);
    return dc ? CPoint(dc->state.brushOrg.x(), dc->state.brushOrg.y()) : CPoint();
}

// ---------------------------------------------------------------------------------------------------------
// Mapping.

int CDC::GetMapMode() const { return Read(m_hDC, &DcState::mapMode, 0); }

int CDC::SetMapMode(int mode) {
    HDC__* dc = Live(m_hDC);
    if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return 0;
    const int old = dc->state.mapMode;
    dc->state.mapMode = mode;
    if (mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC) {
        dc->state.windowExt = QSize(1, 1);
        dc->state.viewportExt = QSize(1, 1);
    }
    return old;
}

static CPoint ToCPoint(QPoint p) { return CPoint(p.x(), p.y()); }
static CSize ToCSize(QSize s) { return CSize(s.width(), s.height()); }

CPoint CDC::GetWindowOrg() const { return ToCPoint(Read(m_hDC, &DcState::windowOrg, QPoint())); }
CPoint CDC::SetWindowOrg(int x, int y) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return CPoint();
    const QPoint old = dc->state.windowOrg;
    dc->state.windowOrg = QPoint(x, y);
    return ToCPoint(old);
}
CPoint CDC::OffsetWindowOrg(int dx, int dy) {
    const CPoint old = GetWindowOrg();
    SetWindowOrg(Sum(old.x, dx), Sum(old.y, dy));
    return old;
}
CPoint CDC::GetViewportOrg() const { return ToCPoint(Read(m_hDC, &DcState::viewportOrg, QPoint())); }
CPoint CDC::SetViewportOrg(int x, int y) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return CPoint();
    const QPoint old = dc->state.viewportOrg;
    dc->state.viewportOrg = QPoint(x, y);
    return ToCPoint(old);
}
CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    const CPoint old = GetViewportOrg();
    SetViewportOrg(Sum(old.x, dx), Sum(old.y, dy));
    return old;
}
CSize CDC::GetWindowExt() const { return ToCSize(Read(m_hDC, &DcState::windowExt, QSize())); }
CSize CDC::SetWindowExt(int cx, int cy) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return CSize();
    const QSize old = dc->state.windowExt;
    // Extents count only in the scalable modes, and never zero.
    if ((dc->state.mapMode == MM_ISOTROPIC || dc->state.mapMode == MM_ANISOTROPIC) && cx != 0 && cy != 0)
        dc->state.windowExt = QSize(cx, cy);
    return ToCSize(old);
}
CSize CDC::GetViewportExt() const { return ToCSize(Read(m_hDC, &DcState::viewportExt, QSize())); }
CSize CDC::SetViewportExt(int cx, int cy) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return CSize();
    const QSize old = dc->state.viewportExt;
    if ((dc->state.mapMode == MM_ISOTROPIC || dc->state.mapMode == MM_ANISOTROPIC) && cx != 0 && cy != 0)
        dc->state.viewportExt = QSize(cx, cy);
    return ToCSize(old);
}

void CDC::DPtoLP(LPPOINT points, int count) const {
    HDC__* dc = Live(m_hDC);
    if (!dc || !points)
        return;
    const QTransform inverse = dc->Transform().inverted();
    for (int i = 0; i < count; ++i) {
        const QPointF p = inverse.map(QPointF(points[i].x, points[i].y));
        points[i] = POINT{static_cast<LONG>(std::lround(p.x())), static_cast<LONG>(std::lround(p.y()))};
    }
}
void CDC::DPtoLP(LPRECT rect) const { DPtoLP(reinterpret_cast<LPPOINT>(rect), 2); }
void CDC::DPtoLP(LPSIZE size) const {
    HDC__* dc = Live(m_hDC);
    if (!dc || !size)
        return;
    const QTransform t = dc->Transform();
    size->cx = static_cast<LONG>(std::lround(size->cx / std::abs(t.m11())));
    size->cy = static_cast<LONG>(std::lround(size->cy / std::abs(t.m22())));
}
void CDC::LPtoDP(LPPOINT points, int count) const {
    HDC__* dc = Live(m_hDC);
    if (!dc || !points)
        return;
    for (int i = 0; i < count; ++i) {
        const QPoint p = DevicePoint(dc, points[i].x, points[i].y);
        points[i] = POINT{p.x(), p.y()};
    }
}
void CDC::LPtoDP(LPRECT rect) const { LPtoDP(reinterpret_cast<LPPOINT>(rect), 2); }
void CDC::LPtoDP(LPSIZE size) const {
    HDC__* dc = Live(m_hDC);
    if (!dc || !size)
        return;
    const QTransform t = dc->Transform();
    size->cx = static_cast<LONG>(std::lround(size->cx * std::abs(t.m11())));
    size->cy = static_cast<LONG>(std::lround(size->cy * std::abs(t.m22())));
}

// ---------------------------------------------------------------------------------------------------------
// Clipping.

static int RegionKind(const QRegion& region) {
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int CDC::GetClipBox(LPRECT rect) const {
    HDC__* dc = Live(m_hDC);
    if (!dc || !rect)
        return ERROR;
    const QRegion visible = dc->VisibleRegion();
    if (visible.isEmpty()) {
        *rect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    const QRect box = visible.boundingRect();
    const QRectF logical = dc->Transform().inverted().mapRect(QRectF(box));
    *rect = RECT{static_cast<LONG>(std::lround(logical.left())), static_cast<LONG>(std::lround(logical.top())),
                 static_cast<LONG>(std::lround(logical.right())), static_cast<LONG>(std::lround(logical.bottom()))};
    return RegionKind(visible);
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return ERROR;
    const QRect r = DeviceRect(dc, left, top, right, bottom);
    dc->state.clip = dc->state.hasClip ? dc->state.clip.intersected(r) : QRegion(r);
    dc->state.hasClip = true;
    return RegionKind(dc->VisibleRegion());
}
int CDC::IntersectClipRect(LPCRECT rect) {
    return rect ? IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom) : ERROR;
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return ERROR;
    const QRect r = DeviceRect(dc, left, top, right, bottom);
    const QRegion base = dc->state.hasClip ? dc->state.clip : QRegion(QRect(QPoint(0, 0), dc->DeviceSize()));
    dc->state.clip = base.subtracted(r);
    dc->state.hasClip = true;
    return RegionKind(dc->VisibleRegion());
}
int CDC::ExcludeClipRect(LPCRECT rect) {
    return rect ? ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom) : ERROR;
}

int CDC::SelectClipRgn(CRgn* region) { return SelectClipRgn(region, RGN_COPY); }

int CDC::SelectClipRgn(CRgn* region, int mode) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return ERROR;
    auto* rgn = region ? GdiHandle::Checked<HRGN__>(region->m_hObject, OBJ_REGION) : nullptr;
    if (!rgn) {
        if (mode != RGN_COPY)
            return ERROR;
        dc->state.hasClip = false;
        dc->state.clip = QRegion();
        return RegionKind(dc->VisibleRegion());
    }
    // Clip regions are in device units.
    const QRegion whole(QRect(QPoint(0, 0), dc->DeviceSize()));
    const QRegion current = dc->state.hasClip ? dc->state.clip : whole;
    switch (mode) {
    case RGN_COPY: dc->state.clip = rgn->region; break;
    case RGN_AND: dc->state.clip = current.intersected(rgn->region); break;
    case RGN_OR: dc->state.clip = current.united(rgn->region); break;
    case RGN_XOR: dc->state.clip = current.xored(rgn->region); break;
    case RGN_DIFF: dc->state.clip = current.subtracted(rgn->region); break;
    default: return ERROR;
    }
    dc->state.hasClip = true;
    return RegionKind(dc->VisibleRegion());
}

int CDC::OffsetClipRgn(int dx, int dy) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return ERROR;
    if (dc->state.hasClip) {
        const QTransform t = dc->Transform();
        dc->state.clip.translate(static_cast<int>(std::lround(dx * t.m11())),
                                 static_cast<int>(std::lround(dy * t.m22())));
    }
    return RegionKind(dc->VisibleRegion());
}

BOOL CDC::PtVisible(int x, int y) const {
    HDC__* dc = Live(m_hDC);
    return (dc && dc->VisibleRegion().contains(DevicePoint(dc, x, y))) ? TRUE : FALSE;
}

BOOL CDC::RectVisible(LPCRECT rect) const {
    HDC__* dc = Live(m_hDC);
    if (!dc || !rect)
        return FALSE;
    return dc->VisibleRegion().intersects(DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom)) ? TRUE
                                                                                                            : FALSE;
}

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

// ---------------------------------------------------------------------------------------------------------
// Pixels.

COLORREF CDC::GetPixel(int x, int y) const {
    HDC__* dc = Live(m_hDC);
    if (!dc || dc->kind == HDC__::Kind::Device)
        return CLR_INVALID;
    const QPoint p = DevicePoint(dc, x, y);
    if (dc->kind == HDC__::Kind::Screen) {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen)
            return CLR_INVALID;
        const QImage grab = screen->grabWindow(0, p.x(), p.y(), 1, 1).toImage();
        return grab.isNull() ? CLR_INVALID : FromQRgb(grab.pixel(0, 0));
    }
    const QImage* image = dc->Raster();
    if (!image || !image->rect().contains(p) || !dc->VisibleRegion().contains(p))
        return CLR_INVALID;
    return FromQRgb(image->pixel(p));
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return CLR_INVALID;
    color &= 0x00FFFFFF;
    if (dc->kind == HDC__::Kind::Device) {
        Scope s(dc);
        if (s)
            s->fillRect(DeviceRect(dc, x, y, Sum(x, 1), Sum(y, 1)), ToQColor(color));
        return color;
    }
    const QPoint p = DevicePoint(dc, x, y);
    QImage* image = dc->Raster();
    if (!Paintable(image) || !image->rect().contains(p) || !dc->VisibleRegion().contains(p))
        return CLR_INVALID;
    if (dc->kind == HDC__::Kind::Memory && dc->state.bitmap && dc->state.bitmap->mono) {
        const int grey = (GetRValue(color) * 299 + GetGValue(color) * 587 + GetBValue(color) * 114) / 1000;
        color = grey >= 128 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    }
    image->setPixel(p, ToQRgb(color));
    if (dc->kind == HDC__::Kind::Memory && dc->state.bitmap && dc->state.bitmap->dib) {
        SyncDibFromImage(dc->state.bitmap, QRect(p, QSize(1, 1)));
        color = FromQRgb(image->pixel(p)); // what the memory could hold
    }
    return color;
}

BOOL CDC::SetPixelV(int x, int y, COLORREF color) { return SetPixel(x, y, color) != CLR_INVALID ? TRUE : FALSE; }

// ---------------------------------------------------------------------------------------------------------
// Block transfers.

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return FALSE;
    const QRect r = DeviceRect(dc, x, y, Sum(x, width), Sum(y, height));
    QBrush brush;
    QPainter::CompositionMode mode = QPainter::CompositionMode_Source;
    switch (rop) {
    case PATCOPY:
        if (!QtBrush(dc, dc->state.brush, &brush))
            return TRUE;
        break;
    case PATINVERT:
        if (!QtBrush(dc, dc->state.brush, &brush))
            return TRUE;
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case DSTINVERT:
        brush = QBrush(Qt::black);
        mode = QPainter::RasterOp_NotDestination;
        break;
    case BLACKNESS: brush = QBrush(Qt::black); break;
    case WHITENESS: brush = QBrush(Qt::white); break;
    default: return FALSE;
    }
    Scope s(dc);
    if (s)
        FillDevice(s, dc, r, brush, mode);
    return TRUE;
}

namespace {

bool NeedsSource(DWORD rop) {
    switch (rop) {
    case PATCOPY:
    case PATINVERT:
    case DSTINVERT:
    case BLACKNESS:
    case WHITENESS: return false;
    default: return true;
    }
}

bool SourceMode(DWORD rop, QPainter::CompositionMode* mode) {
    switch (rop) {
    case SRCCOPY:
    case MERGECOPY: *mode = QPainter::CompositionMode_Source; return true;
    case SRCPAINT: *mode = QPainter::RasterOp_SourceOrDestination; return true;
    case SRCAND: *mode = QPainter::RasterOp_SourceAndDestination; return true;
    case SRCINVERT: *mode = QPainter::RasterOp_SourceXorDestination; return true;
    case SRCERASE: *mode = QPainter::RasterOp_SourceAndNotDestination; return true;
    case NOTSRCCOPY: *mode = QPainter::RasterOp_NotSource; return true;
    case NOTSRCERASE: *mode = QPainter::RasterOp_NotSourceAndNotDestination; return true;
    case MERGEPAINT: *mode = QPainter::RasterOp_NotSourceOrDestination; return true;
    default: return false;
    }
}

// The source pixels of a device rectangle, converted for the destination: a monochrome source takes the
// destination's text colour for black and its background colour for white; a colour source going to a
// monochrome bitmap becomes white where it has the source's background colour and black elsewhere.
QImage SourcePixels(HDC__* src, const QRect& rect, HDC__* dest) {
    QImage pixels;
    bool srcMono = false;
    if (src->kind == HDC__::Kind::Screen) {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen)
            return QImage();
        pixels = screen->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height())
                     .toImage()
                     .convertToFormat(QImage::Format_RGB32);
    } else {
        const QImage* raster = src->Raster();
        if (!raster || raster->isNull())
            return QImage();
        pixels = raster->copy(rect).convertToFormat(QImage::Format_RGB32);
        srcMono = src->kind == HDC__::Kind::Memory && src->state.bitmap && src->state.bitmap->mono;
    }
    const bool destMono = dest->kind == HDC__::Kind::Memory && dest->state.bitmap && dest->state.bitmap->mono;
    if (srcMono && !destMono)
        return Recolored(pixels, dest->state.textColor, dest->state.bkColor);
    if (!srcMono && destMono) {
        const QRgb background = ToQRgb(src->state.bkColor) & 0x00FFFFFF;
        for (int y = 0; y < pixels.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
            for (int x = 0; x < pixels.width(); ++x)
                line[x] = (line[x] & 0x00FFFFFF) == background ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        }
    }
    return pixels;
}

BOOL Blit(HDC__* dest, const QRect& destRect, HDC__* src, QRect srcRect, DWORD rop, bool smooth, bool flipX,
          bool flipY) {
    QPainter::CompositionMode mode;
    if (!SourceMode(rop, &mode))
        return FALSE;
    QRect target = destRect;
    if (!flipX && !flipY && src->kind != HDC__::Kind::Screen && destRect.size() == srcRect.size()) {
        // Copy only what the source has: pixels beyond its edges leave the destination alone.
        const QImage* raster = src->Raster();
        if (!raster)
            return FALSE;
        const QRect inside = srcRect.intersected(raster->rect());
        if (inside.isEmpty())
            return TRUE;
        target = QRect(destRect.topLeft() + (inside.topLeft() - srcRect.topLeft()), inside.size());
        srcRect = inside;
        // A colour picture onto another image is drawn from where it lies: no copy of it first. (A picture
        // copied onto itself is, as the two areas may overlap; monochrome ends convert colours.)
        const bool srcMono = src->kind == HDC__::Kind::Memory && src->state.bitmap && src->state.bitmap->mono;
        const bool destMono = dest->kind == HDC__::Kind::Memory && dest->state.bitmap && dest->state.bitmap->mono;
        if (rop != MERGECOPY && !srcMono && !destMono && raster->format() == QImage::Format_RGB32 &&
            dest->Raster() != raster) {
            Scope s(dest);
            if (!s)
                return TRUE;
            s.SetMode(mode);
            s->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
            s->drawImage(target, *raster, srcRect);
            return TRUE;
        }
    }
    QImage pixels = SourcePixels(src, srcRect, dest);
    if (pixels.isNull())
        return FALSE;
    if (flipX || flipY)
        pixels = pixels.mirrored(flipX, flipY);
    if (rop == MERGECOPY) {
        QBrush brush;
        const QRgb pattern = QtBrush(dest, dest->state.brush, &brush) ? brush.color().rgb() : qRgb(0, 0, 0);
        for (int y = 0; y < pixels.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
            for (int x = 0; x < pixels.width(); ++x)
                line[x] = (line[x] & pattern) | 0xFF000000;
        }
    }
    Scope s(dest);
    if (!s)
        return TRUE;
    s.SetMode(mode);
    s->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    s->drawImage(target, pixels);
    return TRUE;
}

} // namespace

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return FALSE;
    if (!NeedsSource(rop))
        return PatBlt(x, y, width, height, rop);
    HDC__* src = source ? Live(source->m_hDC) : nullptr;
    if (!src || width < 0 || height < 0)
        return FALSE;
    const QRect destRect = DeviceRect(dc, x, y, Sum(x, width), Sum(y, height));
    const QRect srcRect = DeviceRect(src, xSrc, ySrc, Sum(xSrc, width), Sum(ySrc, height));
    if (destRect.isEmpty() || srcRect.isEmpty())
        return TRUE;
    return Blit(dc, destRect, src, srcRect, rop, false, false, false);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth, int srcHeight,
                     DWORD rop) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return FALSE;
    if (!NeedsSource(rop))
        return PatBlt(x, y, width, height, rop);
    HDC__* src = source ? Live(source->m_hDC) : nullptr;
    if (!src)
        return FALSE;
    const QRect destRect = DeviceRect(dc, x, y, Sum(x, width), Sum(y, height));
    const QRect srcRect = DeviceRect(src, xSrc, ySrc, Sum(xSrc, srcWidth), Sum(ySrc, srcHeight));
    if (destRect.isEmpty() || srcRect.isEmpty())
        return TRUE;
    // Opposite signs of the two widths (or heights) mirror the picture.
    const bool flipX = (width < 0) != (srcWidth < 0);
    const bool flipY = (height < 0) != (srcHeight < 0);
    return Blit(dc, destRect, src, srcRect, rop, dc->state.stretchMode == HALFTONE, flipX, flipY);
}

// ---------------------------------------------------------------------------------------------------------
// Text.

namespace {

// Draws lines of text at logical positions in the DC's text colour, with the background filled behind each
// line when the mode is opaque; clipped to a device rectangle when one is given. The advances are the lines'
// own where known, -1 where not.
void DrawLines(HDC__* dc, const TextLine* lines, const QPoint* origins, const int* advances, size_t count,
               const QFontMetrics& fm, const QRect* clip, bool textToo, bool underlines) {
    Scope s(dc, nullptr, clip);
    if (!s)
        return;
    s.SetTransform(dc->Transform());
    s.SetFont(FontOf(dc));
    const QColor text = ToQColor(dc->state.textColor);
    for (size_t i = 0; i < count; ++i) {
        const TextLine& line = lines[i];
        const QPoint at = origins[i];
        if (dc->state.bkMode == OPAQUE && textToo) {
            const int advance = advances && advances[i] >= 0 ? advances[i] : fm.horizontalAdvance(line.text);
            s->fillRect(QRect(at.x(), at.y(), advance, fm.height()), ToQColor(dc->state.bkColor));
        }
        s->setPen(text);
        if (textToo)
            s->drawText(QPoint(at.x(), at.y() + fm.ascent()), line.text);
        if (underlines)
            for (int u : line.underlines) {
                const int x0 = at.x() + fm.horizontalAdvance(line.text.left(u));
                const int w = fm.horizontalAdvance(line.text.mid(u, 1));
                s->fillRect(QRect(x0, at.y() + fm.ascent() + 1, w, std::max(1, fm.lineWidth())), text);
            }
    }
}

std::string_view BytesView(LPCTSTR text, int count) {
    if (!text)
        return std::string_view();
    const size_t length = std::strlen(text);
    return std::string_view(text, count < 0 ? length : std::min(length, static_cast<size_t>(count)));
}

bool Elides(UINT format) { return (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0; }

// One line without prefixes, as a cell draws its text: what the general path below does for it, with nothing
// measured that the line's place and look do not need.
int DrawOneLine(HDC__* dc, std::string_view bytes, LPRECT rect, UINT format) {
    TextLine line{GbkToQString(bytes), {}};
    const QFont& font = FontOf(dc);
    const QFontMetrics fm(font);
    const int lineHeight = fm.height() + ((format & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);
    const int width = static_cast<int>(std::clamp<int64_t>(int64_t(rect->right) - rect->left, -kFar, kFar));
    int advance = -1;
    if (Elides(format) && MayOverflow(line.text, width, font))
        advance = EndEllipsis(line, width, fm, font);
    if (advance < 0 && (format & (DT_CENTER | DT_RIGHT)))
        advance = fm.horizontalAdvance(line.text);

    int top = rect->top;
    int result = lineHeight;
    if (format & (DT_VCENTER | DT_BOTTOM)) {
        const int height = static_cast<int>(std::clamp<int64_t>(int64_t(rect->bottom) - rect->top, -kFar, kFar));
        const int offset = (format & DT_BOTTOM) ? height - lineHeight : (height - lineHeight) / 2;
        top = Sum(top, offset);
        result = offset + lineHeight;
    }
    int64_t x = rect->left;
    if (format & DT_CENTER)
        x += (width - advance) / 2;
    else if (format & DT_RIGHT)
        x += width - advance;
    const QPoint origin(Sum(x, 0), Sum(top, 0));
    const QRect clip = DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom);
    DrawLines(dc, &line, &origin, &advance, 1, fm, (format & DT_NOCLIP) ? nullptr : &clip, true, false);
    return result;
}

} // namespace

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format) {
    HDC__* dc = Live(m_hDC);
    if (!dc || !rect)
        return 0;
    if ((format & DT_SINGLELINE) && (format & DT_NOPREFIX) && !(format & DT_CALCRECT))
        return DrawOneLine(dc, BytesView(text, count), rect, format);
    const QString all = GbkToQString(BytesView(text, count));
    const QFont& font = FontOf(dc);
    const QFontMetrics fm(font);
    const int lineHeight = fm.height() + ((format & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);
    const int width = static_cast<int>(std::clamp<int64_t>(int64_t(rect->right) - rect->left, -kFar, kFar));
    const bool single = format & DT_SINGLELINE;
    const bool calc = format & DT_CALCRECT;

    // Paragraphs, then lines.
    std::vector<QString> paragraphs;
    if (single) {
        paragraphs.push_back(all);
    } else {
        QString current;
        for (int i = 0; i < all.size(); ++i) {
            if (all[i] == QLatin1Char('\r') || all[i] == QLatin1Char('\n')) {
                if (all[i] == QLatin1Char('\r') && i + 1 < all.size() && all[i + 1] == QLatin1Char('\n'))
                    ++i;
                paragraphs.push_back(current);
                current.clear();
            } else {
                current += all[i];
            }
        }
        paragraphs.push_back(current);
    }
    std::vector<TextLine> lines;
    for (const QString& p : paragraphs) {
        const TextLine para = (format & DT_NOPREFIX) ? TextLine{p, {}} : StripPrefixes(p);
        if ((format & DT_WORDBREAK) && !single) {
            for (TextLine& l : WordBreak(para, width, fm))
                lines.push_back(std::move(l));
        } else {
            lines.push_back(para);
        }
    }
    // Each line is measured at most once, and only where its advance is needed: for the widest line, the
    // alignment, or a line that may not fit before its ellipsis.
    std::vector<int> advances(lines.size(), -1);
    if (!calc && Elides(format))
        for (size_t i = 0; i < lines.size(); ++i)
            if (MayOverflow(lines[i].text, width, font))
                advances[i] = EndEllipsis(lines[i], width, fm, font);
    const int total = lineHeight * static_cast<int>(lines.size());

    if (calc) {
        int widest = 0;
        for (size_t i = 0; i < lines.size(); ++i)
            widest = std::max(widest, fm.horizontalAdvance(lines[i].text));
        rect->right = Sum(rect->left, widest);
        rect->bottom = Sum(rect->top, total);
        return total;
    }

    int top = rect->top;
    int result = total;
    if (single && (format & (DT_VCENTER | DT_BOTTOM))) {
        const int height = static_cast<int>(std::clamp<int64_t>(int64_t(rect->bottom) - rect->top, -kFar, kFar));
        const int offset = (format & DT_BOTTOM) ? height - lineHeight : (height - lineHeight) / 2;
        top = Sum(top, offset);
        result = offset + lineHeight;
    }
    std::vector<QPoint> origins;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (advances[i] < 0 && (format & (DT_CENTER | DT_RIGHT)))
            advances[i] = fm.horizontalAdvance(lines[i].text);
        const int w = advances[i];
        int64_t x = rect->left;
        if (format & DT_CENTER)
            x += (width - w) / 2;
        else if (format & DT_RIGHT)
            x += width - w;
        origins.emplace_back(Sum(x, 0), Sum(top, int64_t(i) * lineHeight));
    }
    const QRect clip = DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom);
    const bool prefixOnly = (format & DT_PREFIXONLY) && !(format & DT_NOPREFIX);
    const bool underline = !(format & DT_NOPREFIX) && !(format & DT_HIDEPREFIX);
    DrawLines(dc, lines.data(), origins.data(), advances.data(), lines.size(), fm,
              (format & DT_NOCLIP) ? nullptr : &clip, !prefixOnly, underline);
    return result;
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return DrawText(text.Str().c_str(), text.GetLength(), rect, format);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return FALSE;
    return ExtTextOut(x, y, 0, nullptr, text, count < 0 ? 0 : static_cast<UINT>(count), nullptr);
}

BOOL CDC::TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, const int* widths) {
    HDC__* dc = Live(m_hDC);
    if (!dc || (widths && text && count > 0))
        return FALSE;
    if (rect && (options & ETO_OPAQUE)) {
        Scope s(dc);
        if (s)
            s->fillRect(DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom), ToQColor(dc->state.bkColor));
    }
    const std::string bytes = Bytes(text, static_cast<int>(std::min<UINT>(count, INT32_MAX)));
    if (bytes.empty())
        return TRUE;
    const QFontMetrics fm(FontOf(dc));
    TextLine line{GbkToQString(bytes), {}};
    const int w = fm.horizontalAdvance(line.text);
    const UINT align = dc->state.textAlign;
    QPoint at = (align & TA_UPDATECP) ? dc->state.position : QPoint(x, y);
    if ((align & TA_CENTER) == TA_CENTER)
        at.rx() -= w / 2;
    else if (align & TA_RIGHT)
        at.rx() -= w;
    if ((align & TA_BASELINE) == TA_BASELINE)
        at.ry() -= fm.ascent();
    else if (align & TA_BOTTOM)
        at.ry() -= fm.height();
    if (align & TA_UPDATECP)
        dc->state.position.rx() += ((align & TA_CENTER) == TA_CENTER || !(align & TA_RIGHT)) ? w : -w;
    QRect clip;
    if (rect && (options & ETO_CLIPPED))
        clip = DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom);
    DrawLines(dc, &line, &at, &w, 1, fm, (rect && (options & ETO_CLIPPED)) ? &clip : nullptr, true, false);
    return TRUE;
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, const int* widths) {
    return ExtTextOut(x, y, options, rect, text, static_cast<UINT>(text.GetLength()), widths);
}

CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
    HDC__* dc = Live(m_hAttribDC ? m_hAttribDC : m_hDC);
    if (!dc)
        return CSize();
    const QFontMetrics fm(FontOf(dc));
    return CSize(fm.horizontalAdvance(GbkToQString(Bytes(text, count))), fm.height());
}

CSize CDC::GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }

BOOL CDC::GetTextMetrics(LPTEXTMETRIC metrics) const {
    HDC__* dc = Live(m_hAttribDC ? m_hAttribDC : m_hDC);
    if (!dc || !metrics)
        return FALSE;
    const HFONT__* font = dc->state.font ? dc->state.font : DefaultFont();
    const QFontMetrics fm(font->font);
    TEXTMETRIC tm{};
    tm.tmHeight = fm.height();
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmInternalLeading = std::max(0, fm.height() - QFontInfo(font->font).pixelSize());
    tm.tmExternalLeading = std::max(0, fm.leading());
    tm.tmAveCharWidth = fm.averageCharWidth();
    tm.tmMaxCharWidth = fm.maxWidth();
    tm.tmWeight = font->log.lfWeight ? font->log.lfWeight : FW_NORMAL;
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = dc->DpiX();
    tm.tmDigitizedAspectY = dc->DpiY();
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = '?';
    tm.tmBreakChar = ' ';
    tm.tmItalic = font->log.lfItalic;
    tm.tmUnderlined = font->log.lfUnderline;
    tm.tmStruckOut = font->log.lfStrikeOut;
    // The platform sets the low bit for a variable pitch font; 0x06 adds vector and TrueType.
    tm.tmPitchAndFamily = static_cast<BYTE>((QFontInfo(font->font).fixedPitch() ? 0 : 1) | 0x06 | FF_SWISS);
    tm.tmCharSet = font->log.lfCharSet;
    *metrics = tm;
    return TRUE;
}

int CDC::GetTextFace(int count, LPTSTR faceName) const {
    HDC__* dc = Live(m_hAttribDC ? m_hAttribDC : m_hDC);
    if (!dc || !faceName || count <= 0)
        return 0;
    const HFONT__* font = dc->state.font ? dc->state.font : DefaultFont();
    const size_t n = std::min(strnlen(font->log.lfFaceName, LF_FACESIZE), static_cast<size_t>(count - 1));
    std::memcpy(faceName, font->log.lfFaceName, n);
    faceName[n] = '\0';
    return static_cast<int>(n);
}

// ---------------------------------------------------------------------------------------------------------
// Icons and states.

namespace {

// Opaque pixels that are not light: the shape a disabled or one-colour picture keeps.
bool InShape(QRgb p) {
    if (qAlpha(p) < 128)
        return false;
    return (qRed(p) * 299 + qGreen(p) * 587 + qBlue(p) * 114) / 1000 < 192;
}

QImage Silhouette(const QImage& picture, COLORREF color) {
    QImage out(picture.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const QRgb c = ToQRgb(color);
    const QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x)
            if (InShape(in[x]))
                line[x] = c;
    }
    return out;
}

// Draws a picture at its own size at a logical point, cut to cx x cy when those are given.
void DrawPicture(HDC__* dc, const QImage& picture, QPoint at, QSize cut) {
    const QRect area(at, cut.isEmpty() ? picture.size() : cut);
    const QRegion clip(DeviceRect(dc, area.left(), area.top(), area.left() + area.width(), area.top() + area.height()));
    Scope s(dc, &clip);
    if (!s)
        return;
    s.SetTransform(dc->Transform());
    s->drawImage(at, picture);
}

} // namespace

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    HDC__* dc = Live(m_hDC);
    const QImage picture = IconImage(icon);
    if (!dc || picture.isNull())
        return FALSE;
    DrawPicture(dc, picture, QPoint(x, y), QSize());
    return TRUE;
}

namespace {

BOOL DrawPictureState(HDC__* dc, const QImage& picture, CPoint point, CSize size, UINT flags, HBRUSH brush) {
    if (!dc || picture.isNull())
        return FALSE;
    const QPoint at(point.x, point.y);
    const QSize cut(size.cx, size.cy);
    if (flags & DSS_DISABLED) {
        DrawPicture(dc, Silhouette(picture, GetSysColor(COLOR_3DHILIGHT)), at + QPoint(1, 1), cut);
        DrawPicture(dc, Silhouette(picture, GetSysColor(COLOR_3DSHADOW)), at, cut);
    } else if (flags & DSS_MONO) {
        auto* b = GdiHandle::Checked<HBRUSH__>(brush, OBJ_BRUSH);
        const COLORREF color = b ? BrushColor(b) : dc->state.textColor;
        QImage shape(picture.size(), QImage::Format_ARGB32_Premultiplied);
        shape.fill(Qt::transparent);
        const QImage src = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x)
                if (qAlpha(src.pixel(x, y)) >= 128)
                    shape.setPixel(x, y, ToQRgb(color));
        DrawPicture(dc, shape, at, cut);
    } else {
        DrawPicture(dc, picture, at, cut);
    }
    return TRUE;
}

QImage BitmapPicture(HDC__* dc, HBITMAP bitmap) {
    auto* b = GdiHandle::Checked<HBITMAP__>(bitmap, OBJ_BITMAP);
    if (!b)
        return QImage();
    SyncImageFromDib(b);
    return b->mono ? Recolored(b->image, dc->state.textColor, dc->state.bkColor) : b->image;
}

} // namespace

BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush) {
    return DrawPictureState(Live(m_hDC), IconImage(icon), point, size, flags, brush);
}
BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, CBrush* brush) {
    return DrawState(point, size, icon, flags, brush ? reinterpret_cast<HBRUSH>(brush->m_hObject) : nullptr);
}
BOOL CDC::DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush) {
    HDC__* dc = Live(m_hDC);
    return dc ? DrawPictureState(dc, BitmapPicture(dc, bitmap), point, size, flags, brush) : FALSE;
}
BOOL CDC::DrawState(CPoint point, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush) {
    return DrawState(point, size, bitmap ? reinterpret_cast<HBITMAP>(bitmap->m_hObject) : nullptr, flags,
                     brush ? reinterpret_cast<HBRUSH>(brush->m_hObject) : nullptr);
}

BOOL CDC::DrawState(CPoint point, CSize size, LPCTSTR text, UINT flags, BOOL prefixText, int textLength, HBRUSH brush) {
    HDC__* dc = Live(m_hDC);
    if (!dc || !text)
        return FALSE;
    RECT r{point.x, point.y, Sum(point.x, size.cx), Sum(point.y, size.cy)};
    UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE;
    if (!prefixText)
        format |= DT_NOPREFIX;
    if (flags & DSS_HIDEPREFIX)
        format |= DT_HIDEPREFIX;
    if (size.cx == 0 || size.cy == 0)
        format |= DT_NOCLIP;
    const int count = textLength > 0 ? textLength : -1;
    const COLORREF savedText = GetTextColor();
    const int savedMode = SetBkMode(TRANSPARENT);
    if (flags & DSS_DISABLED) {
        RECT shifted{Sum(r.left, 1), Sum(r.top, 1), Sum(r.right, 1), Sum(r.bottom, 1)};
        SetTextColor(GetSysColor(COLOR_3DHILIGHT));
        DrawText(text, count, &shifted, format);
        SetTextColor(GetSysColor(COLOR_3DSHADOW));
        DrawText(text, count, &r, format);
    } else {
        if (flags & DSS_MONO) {
            auto* b = GdiHandle::Checked<HBRUSH__>(brush, OBJ_BRUSH);
            if (b)
                SetTextColor(BrushColor(b));
        }
        DrawText(text, count, &r, format);
    }
    SetTextColor(savedText);
    SetBkMode(savedMode);
    return TRUE;
}

BOOL CDC::DrawState(CPoint point, CSize size, LPCTSTR text, UINT flags, BOOL prefixText, int textLength,
                    CBrush* brush) {
    return DrawState(point, size, text, flags, prefixText, textLength,
                     brush ? reinterpret_cast<HBRUSH>(brush->m_hObject) : nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// By handle.

HDC CreateCompatibleDC(HDC /*dc*/) { return new HDC__(HDC__::Kind::Memory); }

BOOL DeleteDC(HDC dc) {
    HDC__* d = Live(dc);
    if (!d)
        return FALSE;
    delete d;
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    return Live(dc) ? ::CreateBitmap(width, height, 1, 32, nullptr) : nullptr;
}

int GetClipBox(HDC dc, LPRECT rect) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->GetClipBox(rect) : ERROR;
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->ExcludeClipRect(left, top, right, bottom) : ERROR;
}

HDC GetScreenDC() { return NewScreenDC(); }
int ReleaseScreenDC(HDC dc) { return DeleteDC(dc); }

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    CDC* wrapper = CDC::FromHandle(dc);
    return wrapper ? wrapper->SelectObject(object) : nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    HDC__* d = Live(dc);
    if (!d)
        return nullptr;
    switch (type) {
    case OBJ_PEN: return d->state.pen;
    case OBJ_BRUSH: return d->state.brush;
    case OBJ_FONT: return d->state.font;
    case OBJ_BITMAP: return d->state.bitmap;
    default: return nullptr;
    }
}

COLORREF GetTextColor(HDC dc) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->GetTextColor() : CLR_INVALID;
}
COLORREF SetTextColor(HDC dc, COLORREF color) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->SetTextColor(color) : CLR_INVALID;
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->SetBkColor(color) : CLR_INVALID;
}
int SetBkMode(HDC dc, int mode) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->SetBkMode(mode) : 0;
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    CDC* w = CDC::FromHandle(dc);
    if (!w || !w->GetSafeHdc())
        return FALSE;
    const CPoint old = w->SetBrushOrg(x, y);
    if (previous)
        *previous = old;
    return TRUE;
}
int GetDeviceCaps(HDC dc, int index) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->GetDeviceCaps(index) : 0;
}

BOOL DrawState(HDC dc, HBRUSH brush, void* /*callback*/, LPARAM data, WPARAM dataSize, int x, int y, int cx, int cy,
               UINT flags) {
    CDC* w = CDC::FromHandle(dc);
    if (!w)
        return FALSE;
    const CPoint at(x, y);
    const CSize size(cx, cy);
    switch (flags & 0x000F) {
    case DST_ICON: return w->DrawState(at, size, reinterpret_cast<HICON>(data), flags, brush);
    case DST_BITMAP: return w->DrawState(at, size, reinterpret_cast<HBITMAP>(data), flags, brush);
    case DST_TEXT:
    case DST_PREFIXTEXT:
        return w->DrawState(at, size, reinterpret_cast<LPCTSTR>(data), flags,
                            (flags & 0x000F) == DST_PREFIXTEXT ? TRUE : FALSE, static_cast<int>(dataSize), brush);
    default: return FALSE;
    }
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, DWORD rop) {
    CDC* w = CDC::FromHandle(dest);
    return w ? w->BitBlt(x, y, width, height, CDC::FromHandle(source), xSrc, ySrc, rop) : FALSE;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->GetPixel(x, y) : CLR_INVALID;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->SetPixel(x, y, color) : CLR_INVALID;
}

int DrawText(HDC dc, LPCTSTR text, int count, LPRECT rect, UINT format) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->DrawText(text, count, rect, format) : 0;
}

BOOL GetTextExtentPoint32(HDC dc, LPCTSTR text, int count, LPSIZE size) {
    CDC* w = CDC::FromHandle(dc);
    if (!w || !size)
        return FALSE;
    *size = w->GetTextExtent(text, count);
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size) {
    CDC* w = CDC::FromHandle(dc);
    HDC__* d = w ? Live(w->m_hAttribDC ? w->m_hAttribDC : w->m_hDC) : nullptr;
    if (!d || !size || count < 0 || (!text && count > 0))
        return FALSE;
    const QFontMetrics fm(FontOf(d));
    *size = SIZE{fm.horizontalAdvance(QString::fromUtf16(text, count)), fm.height()};
    return TRUE;
}

BOOL GetTextMetrics(HDC dc, LPTEXTMETRIC metrics) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->GetTextMetrics(metrics) : FALSE;
}
