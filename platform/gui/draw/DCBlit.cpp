#include "DC.h"
#include "DcPainter.h"

#include "Bitmap.h"
#include "Brush.h"
#include "DcHandle.h"
#include "Icon.h"
#include "SysColor.h"

#include <QGuiApplication>
#include <QScreen>

using namespace dcimpl;

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
    const QImage* raster = src->kind != HDC__::Kind::Screen ? src->Raster() : nullptr;
    if (!flipX && !flipY && src->kind != HDC__::Kind::Screen && destRect.size() == srcRect.size()) {
        // Copy only what the source has: pixels beyond its edges leave the destination alone.
        if (!raster)
            return FALSE;
        const QRect inside = srcRect.intersected(raster->rect());
        if (inside.isEmpty())
            return TRUE;
        target = QRect(destRect.topLeft() + (inside.topLeft() - srcRect.topLeft()), inside.size());
        srcRect = inside;
    }
    // A colour picture onto another image is drawn, stretched or not, from where it lies: no copy of it first. (A
    // picture copied onto itself is, as the two areas may overlap; monochrome ends convert colours.)
    const bool srcMono = src->kind == HDC__::Kind::Memory && src->state.bitmap && src->state.bitmap->mono;
    const bool destMono = dest->kind == HDC__::Kind::Memory && dest->state.bitmap && dest->state.bitmap->mono;
    if (!flipX && !flipY && raster && raster->rect().contains(srcRect) && rop != MERGECOPY && !srcMono && !destMono &&
        raster->format() == QImage::Format_RGB32 && dest->Raster() != raster) {
        Scope s(dest);
        if (!s)
            return TRUE;
        s.SetMode(mode);
        s->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
        s->drawImage(target, *raster, srcRect);
        return TRUE;
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
