#include "SystemParameters.h"

#include "SystemMetrics.h"
#include "platform/gui/draw/Font.h"

#include <QApplication>
#include <QFont>

namespace {

// The application font as a LOGFONT, found once for each application font; the bold one (the captions') is that
// font's bold weight, described without loading a font of its own.
LOGFONT ApplicationLogFont(bool bold) {
    static auto* described = new QFont; // never freed: fonts must not outlive the application's font cache
    static LOGFONT regular{};
    static bool known = false;
    const QFont font = QGuiApplication::font();
    if (!known || !(font == *described)) {
        regular = LogFontFromQFont(font);
        *described = font;
        known = true;
    }
    LOGFONT log = regular;
    if (bold)
        log.lfWeight = QFont::Bold;
    return log;
}

} // namespace

BOOL SystemParametersInfo(UINT uiAction, UINT /*uiParam*/, void* pvParam, UINT /*fWinIni*/) {
    if (!pvParam)
        return FALSE;
    switch (uiAction) {
    case SPI_GETNONCLIENTMETRICS: {
        auto* metrics = static_cast<NONCLIENTMETRICS*>(pvParam);
        if (metrics->cbSize != sizeof(NONCLIENTMETRICS))
            return FALSE;
        metrics->iBorderWidth = 1;
        metrics->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
        metrics->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
        metrics->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
        metrics->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
        metrics->lfCaptionFont = ApplicationLogFont(true);
        metrics->iSmCaptionWidth = 12;
        metrics->iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
        metrics->lfSmCaptionFont = ApplicationLogFont(true);
        metrics->iMenuWidth = GetSystemMetrics(SM_CXSIZE);
        metrics->iMenuHeight = GetSystemMetrics(SM_CYMENU);
        metrics->lfMenuFont = ApplicationLogFont(false);
        metrics->lfStatusFont = ApplicationLogFont(false);
        metrics->lfMessageFont = ApplicationLogFont(false);
        return TRUE;
    }
    case SPI_GETWORKAREA: {
        *static_cast<RECT*>(pvParam) = GetScreenMetrics().workArea;
        return TRUE;
    }
    case SPI_GETWHEELSCROLLLINES: {
        const int lines =
            qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::wheelScrollLines() : 3;
        *static_cast<UINT*>(pvParam) = static_cast<UINT>(lines);
        return TRUE;
    }
    case SPI_GETKEYBOARDCUES: *static_cast<BOOL*>(pvParam) = TRUE; return TRUE;
    case SPI_GETMENUANIMATION:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW: *static_cast<BOOL*>(pvParam) = FALSE; return TRUE;
    default: return FALSE;
    }
}
static_assert(sizeof(NONCLIENTMETRICS) == 340, "the record the platform defines");
