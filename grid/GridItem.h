#pragma once

#include "platform/gui/draw/Gdi.h"
#include "platform/gui/window/Messages.h"
#include "platform/os/String.h"
#include "platform/os/Types.h"

// Which fields of a GridItem are meant.
constexpr UINT GIF_TEXT = 0x001;
constexpr UINT GIF_IMAGE = 0x002;
constexpr UINT GIF_PARAM = 0x004;
constexpr UINT GIF_STATE = 0x008;
constexpr UINT GIF_BKCLR = 0x010;
constexpr UINT GIF_FGCLR = 0x020;
constexpr UINT GIF_FORMAT = 0x040;
constexpr UINT GIF_FONT = 0x080;
constexpr UINT GIF_MARGIN = 0x100;

// One cell's values, as CGridCtrl::SetItem takes them and the in-place editor reports them.
struct GridItem {
    int row = 0;
    int col = 0;
    UINT mask = 0;
    UINT state = 0;
    UINT format = 0;
    int image = 0;
    COLORREF backColour = CLR_DEFAULT;
    COLORREF textColour = CLR_DEFAULT;
    LPARAM lParam = 0;
    LOGFONT font{};
    UINT margin = 0;
    CString text;
};

// The notifications a grid sends its owner (WM_NOTIFY), with the platform's code values.
constexpr UINT GN_SELCHANGING = 0u - 100u;
constexpr UINT GN_SELCHANGED = 0u - 101u;
constexpr UINT GN_BEGINLABELEDIT = 0u - 105u;
constexpr UINT GN_ENDLABELEDIT = 0u - 106u;

// The record of every notification a grid sends: the cell involved.
struct GridNotifyInfo {
    NMHDR hdr;
    int row;
    int col;
};

// The record of an edit's end: the whole item.
struct GridDispInfo {
    NMHDR hdr;
    GridItem item;
};
