#include "Bitmap.h"

#include "DC.h"
#include "GdiHandle.h"

#include "SysColor.h"

#include <QHash>
#include <QPainter>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

namespace {

QHash<UINT, QImage>& BitmapResources() {
    static QHash<UINT, QImage> resources;
    return resources;
}

QImage Opaque(const QImage& image) {
    // Alpha is dropped onto black, as a bitmap without transparency shows such pixels.
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::black);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    return opaque;
}

} // namespace

void RegisterBitmapResource(UINT id, const QImage& image) {
    if (!image.isNull())
        BitmapResources().insert(id, Opaque(image));
}

QImage FindBitmapResource(UINT id) { return BitmapResources().value(id); }

HBITMAP LoadBitmap(HINSTANCE instance, LPCTSTR name) {
    if (!name || !IS_INTRESOURCE(name))
        return nullptr;
    // Without a module the platform's own bitmaps are meant; the layer's callers also pass none for the program's.
    if (!instance && reinterpret_cast<uintptr_t>(name) == OBM_CHECK)
        return LoadOEMBitmap(OBM_CHECK);
    const QImage image = FindBitmapResource(static_cast<UINT>(reinterpret_cast<uintptr_t>(name)));
    return image.isNull() ? nullptr : NewBitmap(image, false);
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    const auto id = reinterpret_cast<uintptr_t>(name);
    return (id >> 16) == 0 ? LoadBitmap(instance, MAKEINTRESOURCE(id)) : nullptr;
}

HBITMAP AfxLoadSysColorBitmap(HINSTANCE instance, LPCTSTR name) {
    HBITMAP bitmap = LoadBitmap(instance, name);
    if (!bitmap)
        return nullptr;
    static const struct {
        QRgb from;
        int to;
    } kMap[] = {{qRgb(0, 0, 0), COLOR_BTNTEXT},
                {qRgb(128, 128, 128), COLOR_BTNSHADOW},
                {qRgb(192, 192, 192), COLOR_BTNFACE},
                {qRgb(255, 255, 255), COLOR_BTNHIGHLIGHT}};
    QImage& image = bitmap->image;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            for (const auto& m : kMap)
                if ((line[x] | 0xFF000000) == m.from) {
                    line[x] = ToQRgb(GetSysColor(m.to)) | 0xFF000000;
                    break;
                }
    }
    return bitmap;
}

CBitmap* CBitmap::FromHandle(HBITMAP bitmap) {
    return static_cast<CBitmap*>(CGdiObject::FromHandle(GdiHandle::Checked<HBITMAP__>(bitmap, OBJ_BITMAP)));
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateBitmapIndirect(const BITMAP* bitmap) {
    if (!bitmap)
        return FALSE;
    return CreateBitmap(bitmap->bmWidth, bitmap->bmHeight, bitmap->bmPlanes, bitmap->bmBitsPixel, bitmap->bmBits);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* /*dc*/, int width, int height) {
    return Attach(::CreateBitmap(width, height, 1, 32, nullptr));
}

BOOL CBitmap::LoadOEMBitmap(UINT id) { return Attach(::LoadOEMBitmap(static_cast<int>(id))); }

BOOL CBitmap::LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCE(id)); }
BOOL CBitmap::LoadBitmap(LPCTSTR name) {
    // A wrapper that already holds a bitmap keeps it, as the framework refuses to attach a second.
    if (m_hObject)
        return FALSE;
    return Attach(::LoadBitmap(nullptr, name));
}

int CBitmap::GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }

BOOL CBitmap::CreateFromImage(const QImage& image) {
    if (image.isNull())
        return FALSE;
    return Attach(NewBitmap(Opaque(image), false));
}

QImage CBitmap::GetImage() const {
    auto* b = GdiHandle::Checked<HBITMAP__>(m_hObject, OBJ_BITMAP);
    SyncImageFromDib(b);
    return b ? b->image : QImage();
}
