#include "Bitmap.h"

#include "DC.h"
#include "GdiHandle.h"

#include <QPainter>

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

int CBitmap::GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }

BOOL CBitmap::CreateFromImage(const QImage& image) {
    if (image.isNull())
        return FALSE;
    // Alpha is dropped onto black, as a bitmap without transparency shows such pixels.
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::black);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    return Attach(NewBitmap(opaque, false));
}

QImage CBitmap::GetImage() const {
    auto* b = GdiHandle::Checked<HBITMAP__>(m_hObject, OBJ_BITMAP);
    return b ? b->image : QImage();
}
