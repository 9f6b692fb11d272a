#include "SystemMetrics.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

namespace {

ScreenMetricsHandler& Handler() {
    static ScreenMetricsHandler handler;
    return handler;
}

// The classic look at 96 dots per inch.
constexpr int kCaption = 18;
constexpr int kFrame = 4;

} // namespace

ScreenMetrics GetScreenMetrics() {
    if (Handler())
        return Handler()();
    QScreen* screen =
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return ScreenMetrics{CRect(0, 0, 1024, 768), CRect(0, 0, 1024, 768)};
    const QRect g = screen->geometry();
    const QRect a = screen->availableGeometry();
    return ScreenMetrics{CRect(g.left(), g.top(), g.right() + 1, g.bottom() + 1),
                         CRect(a.left(), a.top(), a.right() + 1, a.bottom() + 1)};
}

ScreenMetricsHandler SetScreenMetricsHandler(ScreenMetricsHandler handler) {
    ScreenMetricsHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

UINT GetDoubleClickTime() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return static_cast<UINT>(QApplication::doubleClickInterval());
    return 500;
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXSCREEN: return GetScreenMetrics().screen.Width();
    case SM_CYSCREEN: return GetScreenMetrics().screen.Height();
    case SM_CXVIRTUALSCREEN: return GetScreenMetrics().screen.Width();
    case SM_CYVIRTUALSCREEN: return GetScreenMetrics().screen.Height();
    case SM_CXFULLSCREEN: return GetScreenMetrics().workArea.Width();
    case SM_CYFULLSCREEN: return GetScreenMetrics().workArea.Height() - kCaption;
    case SM_CXMAXIMIZED: return GetScreenMetrics().workArea.Width() + 2 * kFrame;
    case SM_CYMAXIMIZED: return GetScreenMetrics().workArea.Height() + 2 * kFrame;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return kCaption;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return kFrame;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CYSMCAPTION: return 15;
    case SM_CXMIN:
    case SM_CXMINTRACK: return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_DBCSENABLED:
    case SM_CMONITORS: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_SWAPBUTTON: return 0;
    default: return 0;
    }
}
