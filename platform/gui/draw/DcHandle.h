#pragma once

// The record behind a device context handle; only the device contexts' own sources include this (in draw/, and the
// DCs on a window in window/).

#include "GdiHandle.h"

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QTransform>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CDC;
class CWnd;
class QPaintDevice;

// What SaveDC keeps. The selected objects stay alive while any saved state holds them.
struct DcState {
    HPEN__* pen = nullptr;
    HBRUSH__* brush = nullptr;
    HFONT__* font = nullptr;
    HBITMAP__* bitmap = nullptr; // memory DCs only
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    UINT textAlign = TA_TOP | TA_LEFT;
    int mapMode = MM_TEXT;
    QPoint windowOrg, viewportOrg;
    QSize windowExt{1, 1}, viewportExt{1, 1};
    QPoint brushOrg;
    QPoint position;
    bool hasClip = false;
    QRegion clip; // device coordinates

    void RetainObjects() const;
    void ReleaseObjects() const;
};

// What a painter that lives across drawing calls was last given, so that the same is not given again.
struct PainterCache {
    bool clipKnown = false;
    QRect clip;
    bool fontKnown = false;
    QFont font;
};

// The painter a window's paint lends its DCs while it draws straight on the screen: theirs alone for the paint, so
// each call sets what it needs without saving and restoring the painter.
struct LentPainter {
    QPainter* painter = nullptr;
    QTransform origin; // of the client area on the painter
    PainterCache cache;
};

// What a window's DC draws on, asked afresh for every call: the window may begin or end a paint, change size or go
// away while the DC lives. A paint that draws straight on the screen lends its painter; otherwise the DC draws on
// the window's retained image, which the window makes when it keeps none.
struct WindowSurface {
    std::function<QSize()> size;          // the client area's size
    std::function<LentPainter*()> screen; // null but while such a paint lasts
    std::function<QImage*()> image;       // the retained image; null once the window is gone
};

struct HDC__ {
    enum class Kind { Memory, Window, Image, Device, Screen };

    explicit HDC__(Kind k);
    ~HDC__();
    HDC__(const HDC__&) = delete;
    HDC__& operator=(const HDC__&) = delete;

    Kind kind;
    DcState state;
    std::vector<DcState> saved;

    CWnd* wnd = nullptr;
    WindowSurface window;              // Kind::Window
    QImage* image = nullptr;           // Kind::Image
    mutable QImage scratch;            // drawn on instead of a stock bitmap, which all memory DCs share
    QPaintDevice* device = nullptr;    // Kind::Device
    std::unique_ptr<QPainter> painter; // open while a paint device is attached
    QPainter* external = nullptr;      // a painter someone else opened (AttachPainter)
    QTransform base;                   // the external painter's own transform when attached
    bool keepPainter = false;          // a memory DC draws on its bitmap through one painter (KeepPainterOpen)

    QPainter* DevicePainter() const { return external ? external : painter.get(); }

    bool hasMetaClip = false; // the rectangle being painted, device coordinates
    QRegion metaClip;

    std::map<int, int> capsOverrides;

    CDC* lasting = nullptr; // the wrapper CDC::FromHandle made; belongs to the handle

    // The raster image drawn on, or null for a paint device (or a window painting straight on the screen).
    QImage* Raster() const;
    // The painter a window's paint that draws straight on the screen lends; else null.
    LentPainter* Lent() const;
    QSize DeviceSize() const;
    int DpiX() const;
    int DpiY() const;
    QTransform Transform() const; // logical to device
    // Device bounds with the paint rectangle and the clip region applied.
    QRegion VisibleRegion() const;

    static bool IsLive(const void* dc);
};

// The new DCs the window DC classes make.
HDC__* NewWindowDC(CWnd* wnd, WindowSurface surface, const QRegion* paintRegion);
HDC__* NewScreenDC();
