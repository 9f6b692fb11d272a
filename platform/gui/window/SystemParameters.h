#pragma once

#include "platform/gui/draw/Gdi.h"
#include "platform/os/Types.h"

// The system settings the program reads, with the platform's action codes and records.
constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr UINT SPI_GETMENUANIMATION = 0x1002;
constexpr UINT SPI_GETKEYBOARDCUES = 0x100A;
constexpr UINT SPI_GETFLATMENU = 0x1022;
constexpr UINT SPI_GETDROPSHADOW = 0x1024;

struct NONCLIENTMETRICS {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONT lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONT lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONT lfMenuFont;
    LOGFONT lfStatusFont;
    LOGFONT lfMessageFont;
};
typedef NONCLIENTMETRICS NONCLIENTMETRICSA;

// SPI_GETNONCLIENTMETRICS fills the record when cbSize is its size (the fonts are the application's default
// font, the captions' in bold); SPI_GETWHEELSCROLLLINES gives the application's wheel lines; keyboard cues are
// on; menu animation, flat menus and the system's menu shadow are off. Other actions fail.
BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni);
inline BOOL SystemParametersInfoA(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni) {
    return SystemParametersInfo(uiAction, uiParam, pvParam, fWinIni);
}
