#pragma once

// What the sources of CDC share: the painter one drawing call paints with, in device coordinates and clipped to
// what the DC may touch, and the conversions from the caller's coordinates. Only those sources include this.

#include "DcHandle.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace dcimpl {

inline HDC__* Live(HDC dc) { return HDC__::IsLive(dc) ? dc : nullptr; }

bool Paintable(const QImage* image);

// A rectangle from two corners, either way round; right and bottom exclusive. Corners far outside any
// device are brought in, so that no size overflows.
QRect Span(int x0, int y0, int x1, int y1);

// A sum of caller coordinates that cannot overflow; results beyond LONG stay at its ends.
inline LONG Sum(int64_t a, int64_t b) { return static_cast<LONG>(std::clamp<int64_t>(a + b, INT32_MIN, INT32_MAX)); }
inline LONG Diff(int64_t a, int64_t b) { return Sum(a, -b); }

// A painter a memory DC keeps open on its bitmap while it draws a whole paint (CDC::KeepPainterOpen). Every call
// that draws on that image, from any DC, goes through it instead of opening a painter of its own: opening one
// sets up a paint engine, and a paint makes thousands of calls.
struct HeldPainter {
    HDC__* owner = nullptr;
    const QImage* image = nullptr;
    const uchar* bits = nullptr; // the pixels the painter draws on; an image given new ones is drawn afresh
    std::unique_ptr<QPainter> painter;
    PainterCache cache;
};

// The painter held on an image, begun now when the DC keeps one and none is held yet; null otherwise.
HeldPainter* HeldPainterFor(HDC__* dc, QImage* image);

// Ends the painters a DC holds: before its bitmap changes or goes, and when it stops keeping one.
void ReleaseHeldPainters(const HDC__* owner);

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
        else if (m_painter && !m_cache)
            m_local.end();
        // A DIB section's caller reads the memory, not the image.
        if (m_dib)
            SyncDibFromImage(m_dib, m_area);
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

    explicit operator bool() const { return m_painter != nullptr; }
    // Whether the painter draws on a raster device, where raster operations hold.
    bool Raster() const { return m_raster; }
    QPainter* operator->() const { return m_painter; }
    QPainter* get() const { return m_painter; }
    // Raster operations exist only on raster devices; others paint plainly.
    void SetMode(QPainter::CompositionMode mode) {
        m_painter->setCompositionMode(m_raster ? mode : QPainter::CompositionMode_SourceOver);
    }
    // Logical or device coordinates, on top of an external painter's own transform.
    void SetTransform(const QTransform& t) { m_painter->setTransform(t * m_base); }
    // The font for text; a held or lent painter that has it already is not given it again.
    void SetFont(const QFont& font) {
        if (m_cache && m_cache->fontKnown && m_cache->font == font)
            return;
        m_painter->setFont(font);
        if (m_cache) {
            m_cache->font = font;
            m_cache->fontKnown = true;
        }
    }

private:
    void Begin(HDC__* dc, const QRegion* extraRegion, const QRect* extraRect) {
        if (!dc)
            return;
        LentPainter* lent = dc->Lent();
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
        if (lent) {
            if (!lent->painter || !lent->painter->isActive())
                return;
            m_painter = lent->painter;
            m_cache = &lent->cache;
            m_base = lent->origin;
            m_raster = m_painter->paintEngine() && m_painter->paintEngine()->type() == QPaintEngine::Raster;
        } else if (dc->kind == HDC__::Kind::Device) {
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
            if (HeldPainter* held = HeldPainterFor(dc, image)) {
                m_painter = held->painter.get();
                m_cache = &held->cache;
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
            if (!m_cache || !m_cache->clipKnown || m_cache->clip != clipRect)
                m_painter->setClipRect(clipRect, Qt::ReplaceClip);
            if (m_cache) {
                m_cache->clipKnown = true;
                m_cache->clip = clipRect;
            }
        } else {
            m_painter->setClipRegion(clipRegion, dc->external ? Qt::IntersectClip : Qt::ReplaceClip);
            if (m_cache)
                m_cache->clipKnown = false;
        }
        m_painter->setPen(Qt::NoPen);
        m_painter->setBrush(Qt::NoBrush);
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (!m_persistent && !lent)
            m_raster = true;
    }

    QTransform m_base;
    QPainter m_local;
    QPainter* m_painter = nullptr;
    PainterCache* m_cache = nullptr; // of a held or lent painter, which stays open
    bool m_persistent = false;
    bool m_raster = false;
    HBITMAP__* m_dib = nullptr;
    QRect m_area;
};

QImage Recolored(const QImage& mono, COLORREF zeroColor, COLORREF oneColor);
// The Qt brush that paints a brush handle on this DC; none for a null brush.
bool QtBrush(HDC__* dc, const HBRUSH__* brush, QBrush* out);
// Fills a device rectangle with a brush in a composition mode; hatches show the background colour between
// their lines when the background mode is opaque.
void FillDevice(Scope& s, HDC__* dc, const QRect& rect, const QBrush& brush, QPainter::CompositionMode mode);

// Device coordinates stay well inside int, whatever the caller passed; nothing that far out is visible.
constexpr double kFar = 1 << 24;
QRect DeviceRect(const HDC__* dc, int left, int top, int right, int bottom);
QPoint DevicePoint(const HDC__* dc, int x, int y);

QFont FontOf(const HDC__* dc);

// A field of the DC's state, or the fallback without a DC.
template <class T> T Read(HDC handle, T DcState::*field, T fallback) {
    HDC__* dc = Live(handle);
    return dc ? dc->state.*field : fallback;
}

inline CPoint ToCPoint(QPoint p) { return CPoint(p.x(), p.y()); }

} // namespace dcimpl
