#include "Icon.h"

#include "Bitmap.h"
#include "DC.h"
#include "GdiHandle.h"
#include "platform/os/RegularFile.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QImageReader>

#include <unistd.h>
#include <unordered_set>

struct HICON__ {
    QImage image; // Format_ARGB32_Premultiplied
    QPoint hotSpot;
    bool shared = false;
};

namespace {

std::unordered_set<const void*>& LiveIcons() {
    static std::unordered_set<const void*> live;
    return live;
}

QHash<UINT, QImage>& Resources() {
    static QHash<UINT, QImage> resources;
    return resources;
}

HICON__* Live(HICON icon) { return (icon && LiveIcons().count(icon)) ? icon : nullptr; }

HICON NewIcon(const QImage& image, bool shared) {
    if (image.isNull())
        return nullptr;
    auto* icon = new HICON__;
    icon->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    icon->hotSpot = QPoint(image.width() / 2, image.height() / 2);
    icon->shared = shared;
    LiveIcons().insert(icon);
    return icon;
}

QImage Sized(const QImage& image, int cx, int cy) {
    if ((cx <= 0 && cy <= 0) || (cx == image.width() && cy == image.height()))
        return image;
    return image.scaled(cx > 0 ? cx : image.width(), cy > 0 ? cy : image.height(), Qt::IgnoreAspectRatio,
                        Qt::SmoothTransformation);
}

} // namespace

void RegisterIconResource(UINT id, const QImage& image) { Resources().insert(id, image); }

HICON LoadIcon(UINT id) {
    // One shared icon per resource, as the platform shares loaded icons.
    // Kept for the whole run (never freed), like the icons it shares.
    static auto& loaded = *new QHash<UINT, HICON>;
    if (auto it = loaded.find(id); it != loaded.end() && Live(it.value()))
        return it.value();
    const auto res = Resources().find(id);
    if (res == Resources().end())
        return nullptr;
    HICON icon = NewIcon(res.value(), true);
    loaded.insert(id, icon);
    return icon;
}

HANDLE LoadImage(UINT id, UINT type, int cx, int cy, UINT /*flags*/) {
    if (type == IMAGE_BITMAP) {
        const QImage bitmap = FindBitmapResource(id);
        if (!bitmap.isNull())
            return static_cast<GdiHandle*>(NewBitmap(Sized(bitmap, cx, cy), false));
    }
    const auto res = Resources().find(id);
    if (res == Resources().end())
        return nullptr;
    const QImage image = Sized(res.value(), cx, cy);
    if (type == IMAGE_ICON)
        return NewIcon(image, false);
    if (type == IMAGE_BITMAP)
        return static_cast<GdiHandle*>(NewBitmap(image, false));
    return nullptr;
}

namespace {

// A picture file; anything but an ordinary file (a pipe would block the start for good) is no picture.
QImage ReadPicture(const char* name) {
    const RegularFile found = OpenRegularFile(name);
    if (found.fault != RegularFile::Fault::kNone)
        return QImage();
    QFile file;
    if (!file.open(found.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(found.fd);
        return QImage();
    }
    QImageReader reader(&file);
    return reader.read();
}

// The picture as it shows over black, without painting it there: what may be translucent is premultiplied (over
// black, the colour is its premultiplied value) and made opaque.
QImage OverBlack(QImage image) {
    if (image.hasAlphaChannel()) {
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        image.reinterpretAsFormat(QImage::Format_ARGB32);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

HANDLE LoadImage(const char* name, UINT type, int cx, int cy, UINT flags) {
    if (!name || !(flags & LR_LOADFROMFILE))
        return nullptr;
    QImage image = ReadPicture(name);
    if (image.isNull())
        return nullptr;
    image = Sized(image, cx, cy);
    if (type == IMAGE_ICON)
        return NewIcon(image, false);
    if (type != IMAGE_BITMAP)
        return nullptr;
    return static_cast<GdiHandle*>(NewBitmap(OverBlack(std::move(image)), flags & LR_MONOCHROME));
}

HANDLE LoadImage(HINSTANCE /*instance*/, LPCTSTR name, UINT type, int cx, int cy, UINT flags) {
    if (!name)
        return nullptr;
    if (flags & LR_LOADFROMFILE)
        return IS_INTRESOURCE(name) ? nullptr : LoadImage(name, type, cx, cy, flags);
    if (!IS_INTRESOURCE(name))
        return nullptr;
    return LoadImage(static_cast<UINT>(reinterpret_cast<uintptr_t>(name)), type, cx, cy, flags);
}

HICON CreateIconFromImage(const QImage& image) { return NewIcon(image, false); }

HICON CreateIconIndirect(const ICONINFO* info) {
    if (!info)
        return nullptr;
    auto* color = GdiHandle::Checked<HBITMAP__>(info->hbmColor, OBJ_BITMAP);
    auto* mask = GdiHandle::Checked<HBITMAP__>(info->hbmMask, OBJ_BITMAP);
    if (!mask)
        return nullptr;
    SyncImageFromDib(color);
    SyncImageFromDib(mask);
    // Without a colour bitmap the mask holds the AND half over the XOR half; only the AND half is kept.
    const QSize size = color ? color->image.size() : QSize(mask->image.width(), mask->image.height() / 2);
    if (size.isEmpty())
        return nullptr;
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const bool transparent =
                x < mask->image.width() && y < mask->image.height() &&
                (qRed(mask->image.pixel(x, y)) | qGreen(mask->image.pixel(x, y)) | qBlue(mask->image.pixel(x, y))) != 0;
            const QRgb c = color ? color->image.pixel(x, y) : qRgb(0, 0, 0);
            image.setPixel(x, y, transparent ? qRgba(0, 0, 0, 0) : (c | 0xFF000000));
        }
    HICON icon = NewIcon(image, false);
    if (icon && info->fIcon == FALSE)
        icon->hotSpot = QPoint(static_cast<int>(info->xHotspot), static_cast<int>(info->yHotspot));
    return icon;
}

HICON CopyIcon(HICON icon) {
    HICON__* i = Live(icon);
    if (!i)
        return nullptr;
    HICON copy = NewIcon(i->image, false);
    copy->hotSpot = i->hotSpot;
    return copy;
}

BOOL DestroyIcon(HICON icon) {
    HICON__* i = Live(icon);
    if (!i)
        return FALSE;
    if (i->shared)
        return TRUE;
    LiveIcons().erase(i);
    delete i;
    return TRUE;
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
    HICON__* i = Live(icon);
    if (!i || !info)
        return FALSE;
    const QImage argb = i->image.convertToFormat(QImage::Format_ARGB32);
    QImage color(argb.size(), QImage::Format_RGB32);
    QImage mask(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = argb.pixel(x, y);
            const bool opaque = qAlpha(p) >= 128;
            color.setPixel(x, y, opaque ? (p | 0xFF000000) : qRgb(0, 0, 0));
            mask.setPixel(x, y, opaque ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    info->fIcon = TRUE;
    info->xHotspot = static_cast<DWORD>(i->hotSpot.x());
    info->yHotspot = static_cast<DWORD>(i->hotSpot.y());
    info->hbmColor = NewBitmap(color, false);
    info->hbmMask = NewBitmap(mask, true);
    return TRUE;
}

QImage IconImage(HICON icon) {
    HICON__* i = Live(icon);
    return i ? i->image : QImage();
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    CDC* w = CDC::FromHandle(dc);
    return w ? w->DrawIcon(x, y, icon) : FALSE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT /*step*/, HBRUSH /*flickerFree*/, UINT flags) {
    CDC* w = CDC::FromHandle(dc);
    HICON__* i = Live(icon);
    if (!w || !i)
        return FALSE;
    if ((flags & DI_DEFAULTSIZE) || (cx <= 0 && cy <= 0) || QSize(cx, cy) == i->image.size())
        return w->DrawIcon(x, y, icon);
    HICON scaled = NewIcon(Sized(i->image, cx, cy), false);
    const BOOL ok = w->DrawIcon(x, y, scaled);
    DestroyIcon(scaled);
    return ok;
}
