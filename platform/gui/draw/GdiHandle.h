#pragma once

// The records behind the drawing handles. Gdi.h includes this; callers use the handles, not the fields.

#include "Gdi.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRegion>

#include <memory>
#include <vector>

class CGdiObject;

// A handle lives while it is not deleted or while a device context still holds it selected, so deleting an
// object that is still selected never leaves a device context drawing with freed memory.
struct GdiHandle {
    explicit GdiHandle(DWORD objectType) : type(objectType) {}
    virtual ~GdiHandle();
    GdiHandle(const GdiHandle&) = delete;
    GdiHandle& operator=(const GdiHandle&) = delete;

    DWORD type;
    bool stock = false;
    bool deleted = false;
    int selections = 0;
    CGdiObject* owner = nullptr;   // the wrapper that deletes it
    CGdiObject* lasting = nullptr; // the wrapper FromHandle made; belongs to the handle

    // Registers a new handle so later calls can tell live handles from stale ones.
    static void Register(GdiHandle* handle);
    static bool IsLive(const void* handle);
    template <class T> static T* Checked(HGDIOBJ object, DWORD objectType) {
        if (!object || !IsLive(object) || object->type != objectType)
            return nullptr;
        return static_cast<T*>(object);
    }
    static void Select(GdiHandle* handle);
    static void Deselect(GdiHandle* handle);
    static BOOL Delete(GdiHandle* handle);

private:
    void FreeIfUnused();
};

struct HPEN__ : GdiHandle {
    HPEN__() : GdiHandle(OBJ_PEN) {}
    LOGPEN log{};
};

struct HBRUSH__ : GdiHandle {
    HBRUSH__() : GdiHandle(OBJ_BRUSH) {}
    LOGBRUSH log{};
    QImage pattern;           // for BS_PATTERN
    bool patternMono = false; // a monochrome pattern takes the DC's text and background colours
    int sysColorIndex = -1;   // a system colour brush follows its table entry
};

struct HFONT__ : GdiHandle {
    HFONT__() : GdiHandle(OBJ_FONT) {}
    LOGFONT log{};
    QFont font;
};

// The caller-written pixel memory of a DIB section. The bitmap's image is what the DCs draw on and read;
// it is brought up to date from the memory before each use, and the memory from the image after drawing.
struct DibBits {
    BITMAPINFOHEADER header{};
    std::vector<QRgb> palette;
    size_t lineWidth = 0;
    std::vector<unsigned char> bits; // never resized, so the caller's pointer stays valid
    std::vector<unsigned char> seen; // the memory as the image last showed it
};

struct HBITMAP__ : GdiHandle {
    HBITMAP__() : GdiHandle(OBJ_BITMAP) {}
    QImage image; // Format_RGB32; a monochrome bitmap holds only black (0) and white (1)
    bool mono = false;
    std::unique_ptr<DibBits> dib; // DIB sections only
};

struct HRGN__ : GdiHandle {
    HRGN__() : GdiHandle(OBJ_REGION) {}
    QRegion region;
};

HPEN__* NewPen(const LOGPEN& log);
HBRUSH__* NewBrush(const LOGBRUSH& log);
HFONT__* NewFont(const LOGFONT& log);
HBITMAP__* NewBitmap(const QImage& image, bool mono);
HRGN__* NewRegion(const QRegion& region);

// A DIB section's image after the caller has written its memory (does nothing for other bitmaps), and its
// memory after a DC has drawn on the area of its image.
void SyncImageFromDib(HBITMAP__* bitmap);
void SyncDibFromImage(HBITMAP__* bitmap, const QRect& area);

inline QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF FromQRgb(QRgb rgb) {
    return RGB(static_cast<BYTE>(qRed(rgb)), static_cast<BYTE>(qGreen(rgb)), static_cast<BYTE>(qBlue(rgb)));
}
inline QRgb ToQRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The effective colour of a brush (a system colour brush follows its table entry).
COLORREF BrushColor(const HBRUSH__* brush);
// The stock 1 x 1 monochrome bitmap a new memory DC holds.
HBITMAP__* StockBitmap();
// The font a DC starts with.
HFONT__* DefaultFont();
