#include "DC.h"
#include "DcPainter.h"

#include "Bitmap.h"
#include "Brush.h"
#include "DcHandle.h"
#include "Font.h"
#include "Pen.h"
#include "Rgn.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPagedPaintDevice>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_set>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

using namespace dcimpl;

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

QImage& ScreenScratch() {
    static QImage scratch(1, 1, QImage::Format_RGB32);
    return scratch;
}

QSize ScreenSize() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry().size();
    return QSize(800, 600);
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
    case Kind::Window: return Lent() || !window.image ? nullptr : window.image();
    case Kind::Image: return image;
    case Kind::Screen: return &ScreenScratch();
    case Kind::Device: return nullptr;
    }
    return nullptr;
}

LentPainter* HDC__::Lent() const { return kind == Kind::Window && window.screen ? window.screen() : nullptr; }

QSize HDC__::DeviceSize() const {
    if (kind == Kind::Screen)
        return ScreenSize();
    if (kind == Kind::Window)
        return window.size ? window.size() : QSize();
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

HDC__* NewWindowDC(CWnd* wnd, WindowSurface surface, const QRegion* paintRegion) {
    auto* dc = new HDC__(HDC__::Kind::Window);
    dc->wnd = wnd;
    dc->window = std::move(surface);
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
    if (dc->kind == HDC__::Kind::Device || dc->Lent()) {
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
