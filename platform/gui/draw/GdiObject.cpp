#include "GdiObject.h"

#include "Bitmap.h"
#include "Brush.h"
#include "Font.h"
#include "GdiHandle.h"
#include "Pen.h"
#include "Rgn.h"
#include "SysColor.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMetaObject>

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

namespace {

std::unordered_set<const void*>& LiveHandles() {
    static std::unordered_set<const void*> live;
    return live;
}

// Wrappers handed out by FromHandle may still be held by the drawing code that asked for them (an "old"
// object to select back); they are freed once control returns to the event loop, as the framework frees its
// temporary wrappers at idle time.
std::vector<CGdiObject*>& Graveyard() {
    // Never freed, so wrappers still waiting at exit stay reachable rather than lost with the vector.
    static auto* graveyard = new std::vector<CGdiObject*>;
    return *graveyard;
}

void BuryWrapper(CGdiObject* wrapper) {
    wrapper->m_hObject = nullptr;
    auto& graveyard = Graveyard();
    graveyard.push_back(wrapper);
    if (graveyard.size() == 1 && QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                auto dead = std::move(Graveyard());
                Graveyard().clear();
                for (CGdiObject* w : dead)
                    delete w;
            },
            Qt::QueuedConnection);
    }
}

CGdiObject* NewWrapperFor(DWORD type) {
    switch (type) {
    case OBJ_PEN: return new CPen;
    case OBJ_BRUSH: return new CBrush;
    case OBJ_FONT: return new CFont;
    case OBJ_BITMAP: return new CBitmap;
    case OBJ_REGION: return new CRgn;
    default: return new CGdiObject;
    }
}

bool WrapperFits(CGdiObject* wrapper, DWORD type) {
    switch (type) {
    case OBJ_PEN: return dynamic_cast<CPen*>(wrapper) != nullptr;
    case OBJ_BRUSH: return dynamic_cast<CBrush*>(wrapper) != nullptr;
    case OBJ_FONT: return dynamic_cast<CFont*>(wrapper) != nullptr;
    case OBJ_BITMAP: return dynamic_cast<CBitmap*>(wrapper) != nullptr;
    case OBJ_REGION: return dynamic_cast<CRgn*>(wrapper) != nullptr;
    default: return true;
    }
}

template <class T> T* Stock(T* handle) {
    handle->stock = true;
    return handle;
}

} // namespace

GdiHandle::~GdiHandle() {
    LiveHandles().erase(this);
    if (owner)
        owner->m_hObject = nullptr;
    if (lasting)
        BuryWrapper(lasting);
}

void GdiHandle::Register(GdiHandle* handle) { LiveHandles().insert(handle); }
bool GdiHandle::IsLive(const void* handle) { return handle && LiveHandles().count(handle) != 0; }

void GdiHandle::Select(GdiHandle* handle) {
    if (handle)
        ++handle->selections;
}

void GdiHandle::Deselect(GdiHandle* handle) {
    if (!handle)
        return;
    --handle->selections;
    handle->FreeIfUnused();
}

BOOL GdiHandle::Delete(GdiHandle* handle) {
    if (!handle || !IsLive(handle) || handle->deleted)
        return FALSE;
    if (handle->stock)
        return TRUE;
    handle->deleted = true;
    if (handle->owner) {
        handle->owner->m_hObject = nullptr;
        handle->owner = nullptr;
    }
    handle->FreeIfUnused();
    return TRUE;
}

void GdiHandle::FreeIfUnused() {
    if (deleted && selections <= 0)
        delete this;
}

template <class T> static T* Registered(T* handle) {
    GdiHandle::Register(handle);
    return handle;
}

HPEN__* NewPen(const LOGPEN& log) {
    auto* pen = Registered(new HPEN__);
    pen->log = log;
    return pen;
}

HBRUSH__* NewBrush(const LOGBRUSH& log) {
    auto* brush = Registered(new HBRUSH__);
    brush->log = log;
    return brush;
}

HFONT__* NewFont(const LOGFONT& log) {
    auto* font = Registered(new HFONT__);
    font->log = log;
    font->log.lfFaceName[LF_FACESIZE - 1] = '\0';
    font->font = QFontFromLogFont(font->log);
    return font;
}

HBITMAP__* NewBitmap(const QImage& image, bool mono) {
    auto* bitmap = Registered(new HBITMAP__);
    bitmap->image = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    bitmap->mono = mono;
    return bitmap;
}

HRGN__* NewRegion(const QRegion& region) {
    auto* rgn = Registered(new HRGN__);
    rgn->region = region;
    return rgn;
}

COLORREF BrushColor(const HBRUSH__* brush) {
    if (!brush)
        return 0;
    return brush->sysColorIndex >= 0 ? GetSysColor(brush->sysColorIndex) : brush->log.lbColor;
}

HBITMAP__* StockBitmap() {
    static HBITMAP__* bitmap = [] {
        QImage one(1, 1, QImage::Format_RGB32);
        one.fill(Qt::black);
        return Stock(NewBitmap(one, true));
    }();
    return bitmap;
}

HFONT__* DefaultFont() {
    static HFONT__* font = Stock(NewFont(LogFontFromQFont(QGuiApplication::font())));
    return font;
}

HGDIOBJ GetStockObject(int index) {
    static HBRUSH__* brushes[6] = {};
    static HPEN__* pens[3] = {};
    static const BYTE greys[5] = {255, 192, 128, 64, 0};
    if (index >= WHITE_BRUSH && index <= BLACK_BRUSH) {
        if (!brushes[index]) {
            const BYTE g = greys[index];
            brushes[index] = Stock(NewBrush(LOGBRUSH{BS_SOLID, RGB(g, g, g), 0}));
        }
        return brushes[index];
    }
    if (index == NULL_BRUSH) {
        if (!brushes[NULL_BRUSH])
            brushes[NULL_BRUSH] = Stock(NewBrush(LOGBRUSH{BS_NULL, 0, 0}));
        return brushes[NULL_BRUSH];
    }
    if (index >= WHITE_PEN && index <= NULL_PEN) {
        const int i = index - WHITE_PEN;
        if (!pens[i]) {
            const UINT style = index == NULL_PEN ? PS_NULL : PS_SOLID;
            const COLORREF color = index == WHITE_PEN ? RGB(255, 255, 255) : RGB(0, 0, 0);
            pens[i] = Stock(NewPen(LOGPEN{style, POINT{0, 0}, color}));
        }
        return pens[i];
    }
    if (index == DEFAULT_GUI_FONT || index == SYSTEM_FONT || index == ANSI_VAR_FONT || index == DEVICE_DEFAULT_FONT)
        return DefaultFont();
    if (index == OEM_FIXED_FONT || index == ANSI_FIXED_FONT || index == SYSTEM_FIXED_FONT) {
        static HFONT__* fixed = [] {
            QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            font.setPixelSize(-DefaultFont()->log.lfHeight);
            return Stock(NewFont(LogFontFromQFont(font)));
        }();
        return fixed;
    }
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) { return GdiHandle::Delete(object); }

DWORD GetObjectType(HGDIOBJ object) { return GdiHandle::IsLive(object) ? object->type : 0; }

int GetObject(HGDIOBJ object, int size, void* buffer) {
    if (!GdiHandle::IsLive(object) || size < 0)
        return 0;
    const void* record = nullptr;
    int needed = 0;
    BITMAP bm{};
    LOGBRUSH lb{};
    switch (object->type) {
    case OBJ_PEN:
        record = &static_cast<HPEN__*>(object)->log;
        needed = sizeof(LOGPEN);
        break;
    case OBJ_BRUSH:
        lb = static_cast<HBRUSH__*>(object)->log;
        lb.lbColor = BrushColor(static_cast<HBRUSH__*>(object));
        record = &lb;
        needed = sizeof(LOGBRUSH);
        break;
    case OBJ_FONT:
        record = &static_cast<HFONT__*>(object)->log;
        needed = sizeof(LOGFONT);
        break;
    case OBJ_BITMAP: {
        const auto* b = static_cast<HBITMAP__*>(object);
        bm.bmWidth = b->image.width();
        bm.bmHeight = b->image.height();
        bm.bmPlanes = 1;
        bm.bmBitsPixel = b->mono ? 1 : 32;
        bm.bmWidthBytes = ((bm.bmWidth * bm.bmBitsPixel + 15) / 16) * 2;
        if (b->dib) {
            bm.bmBitsPixel = b->dib->header.biBitCount;
            bm.bmWidthBytes = static_cast<LONG>(b->dib->lineWidth);
            bm.bmBits = b->dib->bits.data();
        }
        record = &bm;
        needed = sizeof(BITMAP);
        break;
    }
    default: return 0;
    }
    if (!buffer)
        return needed;
    // A font record may be read short (without its face name), as the platform allows.
    const int n = std::min(size, needed);
    if (n <= 0)
        return 0;
    std::memcpy(buffer, record, static_cast<size_t>(n));
    return n;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME)
        return nullptr;
    return NewPen(LOGPEN{static_cast<UINT>(style), POINT{std::max(0, width), 0}, color & 0x00FFFFFF});
}

HBRUSH CreateSolidBrush(COLORREF color) { return NewBrush(LOGBRUSH{BS_SOLID, color & 0x00FFFFFF, 0}); }

HFONT CreateFontIndirect(const LOGFONT* logFont) { return logFont ? NewFont(*logFont) : nullptr; }

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    // Limits on a side and on the area keep bad sizes from asking for gigabytes.
    constexpr int kMaxSide = 32767;
    constexpr int64_t kMaxPixels = 64 << 20;
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide || planes != 1 ||
        int64_t(width) * height > kMaxPixels)
        return nullptr;
    if (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return nullptr;
    if (width == 0 || height == 0) {
        // The platform answers an empty size with a 1 x 1 monochrome bitmap.
        QImage one(1, 1, QImage::Format_RGB32);
        one.fill(Qt::black);
        return NewBitmap(one, true);
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return nullptr;
    image.fill(Qt::black);
    if (bits) {
        const auto* src = static_cast<const unsigned char*>(bits);
        const int stride = ((width * static_cast<int>(bitsPerPixel) + 15) / 16) * 2;
        for (int y = 0; y < height; ++y) {
            const unsigned char* row = src + static_cast<size_t>(y) * static_cast<size_t>(stride);
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                if (bitsPerPixel == 1)
                    out[x] = (row[x / 8] & (0x80 >> (x % 8))) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                else if (bitsPerPixel == 24)
                    out[x] = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                else
                    out[x] = qRgb(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
            }
        }
    }
    return NewBitmap(image, bitsPerPixel == 1);
}

// A tick of our own: black marks on white, 13 x 13 like the platform's check bitmap.
HBITMAP LoadOEMBitmap(int id) {
    if (id != OBM_CHECK)
        return nullptr;
    static HBITMAP__* check = [] {
        QImage image(13, 13, QImage::Format_RGB32);
        image.fill(Qt::white);
        static const int ys[] = {6, 7, 8, 7, 6, 5, 4};
        for (int i = 0; i < 7; ++i)
            for (int k = 0; k < 3; ++k)
                image.setPixel(3 + i, ys[i] + k, qRgb(0, 0, 0));
        return Stock(NewBitmap(image, true));
    }();
    return check;
}

CGdiObject::~CGdiObject() {
    if (m_hObject && GdiHandle::IsLive(m_hObject) && m_hObject->owner == this)
        GdiHandle::Delete(m_hObject);
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) {
    if (!GdiHandle::IsLive(object))
        return nullptr;
    if (object->owner && WrapperFits(object->owner, object->type))
        return object->owner;
    if (!object->lasting) {
        object->lasting = NewWrapperFor(object->type);
        object->lasting->m_hObject = object;
    }
    return object->lasting;
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (!GdiHandle::IsLive(object) || m_hObject)
        return FALSE;
    m_hObject = object;
    if (!object->stock && !object->owner)
        object->owner = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    if (object && GdiHandle::IsLive(object) && object->owner == this)
        object->owner = nullptr;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    HGDIOBJ object = Detach();
    return ::DeleteObject(object);
}

BOOL CGdiObject::CreateStockObject(int index) {
    HGDIOBJ object = ::GetStockObject(index);
    if (!object || m_hObject)
        return FALSE;
    m_hObject = object;
    return TRUE;
}

int CGdiObject::GetObject(int size, void* buffer) const { return ::GetObject(m_hObject, size, buffer); }

UINT CGdiObject::GetObjectType() const { return ::GetObjectType(m_hObject); }
