#include "ImageList.h"

#include "Bitmap.h"
#include "DC.h"
#include "GdiHandle.h"
#include "Icon.h"

#include <QImage>
#include <QPainter>

#include <unordered_set>
#include <vector>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

struct HIMAGELIST__ {
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    std::vector<QImage> images; // Format_ARGB32_Premultiplied, cx x cy each
};

namespace {

std::unordered_set<const void*>& LiveLists() {
    static std::unordered_set<const void*> live;
    return live;
}

HIMAGELIST__* Live(HIMAGELIST list) { return (list && LiveLists().count(list)) ? list : nullptr; }

// Transparent where the mask is white (a mask bitmap) or where the picture has the mask colour.
QImage Masked(const QImage& picture, const QImage* mask, const COLORREF* maskColor) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = maskColor ? ToQRgb(*maskColor) & 0x00FFFFFF : 0;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            bool transparent = false;
            if (mask && x < mask->width() && y < mask->height())
                transparent = (mask->pixel(x, y) & 0x00FFFFFF) != 0;
            else if (maskColor)
                transparent = (out.pixel(x, y) & 0x00FFFFFF) == key;
            if (transparent)
                out.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Fitted(const QImage& image, int cx, int cy) {
    if (image.width() == cx && image.height() == cy)
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(cx, cy, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.drawImage(QRect(0, 0, cx, cy), image);
    return out;
}

// A strip as wide as several images gives one image per width.
int AddStrip(HIMAGELIST__* list, const QImage& strip) {
    if (!list || strip.isNull() || list->cx <= 0 || list->cy <= 0)
        return -1;
    const int first = static_cast<int>(list->images.size());
    const int count = std::max(1, strip.width() / list->cx);
    for (int i = 0; i < count; ++i)
        list->images.push_back(Fitted(strip.copy(i * list->cx, 0, list->cx, list->cy), list->cx, list->cy));
    return first;
}

QImage BitmapImage(CBitmap* bitmap) { return bitmap ? bitmap->GetImage() : QImage(); }

} // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int /*initial*/, int /*grow*/) {
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096)
        return nullptr;
    auto* list = new HIMAGELIST__;
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    LiveLists().insert(list);
    return list;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    HIMAGELIST__* l = Live(list);
    if (!l)
        return FALSE;
    LiveLists().erase(l);
    delete l;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    HIMAGELIST__* l = Live(list);
    return l ? static_cast<int>(l->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    HIMAGELIST__* l = Live(list);
    if (!l || !cx || !cy)
        return FALSE;
    *cx = l->cx;
    *cy = l->cy;
    return TRUE;
}

int ImageList_AddIcon(HIMAGELIST list, HICON icon) {
    HIMAGELIST__* l = Live(list);
    const QImage image = IconImage(icon);
    if (!l || image.isNull())
        return -1;
    l->images.push_back(Fitted(image, l->cx, l->cy));
    return static_cast<int>(l->images.size()) - 1;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT /*flags*/) {
    HIMAGELIST__* l = Live(list);
    if (!l || index < 0 || index >= static_cast<int>(l->images.size()))
        return nullptr;
    return CreateIconFromImage(l->images[static_cast<size_t>(index)]);
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
    HIMAGELIST__* l = Live(list);
    CDC* target = CDC::FromHandle(dc);
    if (!l || !target || index < 0 || index >= static_cast<int>(l->images.size()))
        return FALSE;
    HICON icon = CreateIconFromImage(l->images[static_cast<size_t>(index)]);
    BOOL ok;
    if (style & ILD_MASK) {
        // The mask alone: black where the image is, white elsewhere.
        ok = target->DrawState(CPoint(x, y), CSize(0, 0), icon, DSS_MONO,
                               static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    } else {
        ok = target->DrawIcon(x, y, icon);
    }
    DestroyIcon(icon);
    return ok;
}

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    if (m_hImageList)
        return FALSE;
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList ? TRUE : FALSE;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList)
        return FALSE;
    const BOOL ok = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return ok;
}

BOOL CImageList::Attach(HIMAGELIST list) {
    if (m_hImageList || !Live(list))
        return FALSE;
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }

BOOL CImageList::GetIconSize(int* cx, int* cy) const {
    HIMAGELIST__* l = Live(m_hImageList);
    if (!l || !cx || !cy)
        return FALSE;
    *cx = l->cx;
    *cy = l->cy;
    return TRUE;
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask) {
    const QImage maskImage = BitmapImage(mask);
    return AddStrip(Live(m_hImageList), Masked(BitmapImage(bitmap), mask ? &maskImage : nullptr, nullptr));
}

int CImageList::Add(CBitmap* bitmap, COLORREF maskColor) {
    return AddStrip(Live(m_hImageList), Masked(BitmapImage(bitmap), nullptr, &maskColor));
}

int CImageList::Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }

BOOL CImageList::Replace(int index, CBitmap* bitmap, CBitmap* mask) {
    HIMAGELIST__* l = Live(m_hImageList);
    if (!l || index < 0 || index >= static_cast<int>(l->images.size()) || !bitmap)
        return FALSE;
    const QImage maskImage = BitmapImage(mask);
    const QImage image = Masked(BitmapImage(bitmap), mask ? &maskImage : nullptr, nullptr);
    if (image.isNull())
        return FALSE;
    l->images[static_cast<size_t>(index)] = Fitted(image.copy(0, 0, l->cx, l->cy), l->cx, l->cy);
    return TRUE;
}

int CImageList::Replace(int index, HICON icon) {
    HIMAGELIST__* l = Live(m_hImageList);
    const QImage image = IconImage(icon);
    if (!l || image.isNull())
        return -1;
    if (index == -1)
        return ImageList_AddIcon(m_hImageList, icon);
    if (index < 0 || index >= static_cast<int>(l->images.size()))
        return -1;
    l->images[static_cast<size_t>(index)] = Fitted(image, l->cx, l->cy);
    return index;
}

BOOL CImageList::Remove(int index) {
    HIMAGELIST__* l = Live(m_hImageList);
    if (!l)
        return FALSE;
    if (index == -1) {
        l->images.clear();
        return TRUE;
    }
    if (index < 0 || index >= static_cast<int>(l->images.size()))
        return FALSE;
    l->images.erase(l->images.begin() + index);
    return TRUE;
}

BOOL CImageList::Draw(CDC* dc, int index, POINT point, UINT style) {
    return dc ? ImageList_Draw(m_hImageList, index, dc->m_hDC, point.x, point.y, style) : FALSE;
}

HICON CImageList::ExtractIcon(int index) { return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL); }

BOOL CImageList::GetImageInfo(int index, IMAGEINFO* info) const {
    HIMAGELIST__* l = Live(m_hImageList);
    if (!l || !info || index < 0 || index >= static_cast<int>(l->images.size()))
        return FALSE;
    // The list keeps no bitmaps of its own; only the rectangle is told.
    *info = IMAGEINFO{nullptr, nullptr, 0, 0, RECT{0, 0, l->cx, l->cy}};
    return TRUE;
}
