#include "MenuXP.h"

#include "BufferDC.h"
#include "FontDC.h"
#include "MenuItemXP.h"
#include "MenuXPHook.h"
#include "MenuXPState.h"
#include "WndMenuXP.h"

#include "platform/gui/frame/ControlBar.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/frame/ToolBar.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/Wnd.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr const char* kPropMenuXP = "XPWndProp_MenuXP";
// Room a bar item keeps for its shadow, and a pop-up item for its image band, gaps and the arrow of a sub-menu.
constexpr UINT kBarItemExtra = 4;
constexpr UINT kPopupItemExtra = 42;

template <typename Map> void PurgeDeadMenus(Map& map) {
    for (auto it = map.begin(); it != map.end();)
        it = IsMenu(it->first) ? std::next(it) : map.erase(it);
}

// The bars that may hold item images: the frame's own, else those of the frame it sits in.
const std::vector<CControlBar*>* ImageBars(HWND hWnd) {
    if (auto* frame = dynamic_cast<CFrameWnd*>(hWnd); frame && !frame->GetControlBars().empty())
        return &frame->GetControlBars();
    if (CFrameWnd* parent = hWnd->GetParentFrame())
        return &parent->GetControlBars();
    return nullptr;
}

CImgDesc FindImage(const std::vector<CControlBar*>& bars, UINT nID) {
    for (CControlBar* bar : bars) {
        char className[32] = {};
        if (!IsWindow(bar) || !GetClassName(bar, className, sizeof(className)) ||
            std::strcmp(className, "ToolbarWindow32") != 0)
            continue;
        TBBUTTONINFOA info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_IMAGE | TBIF_COMMAND;
        if (bar->SendMessage(TB_GETBUTTONINFOA, nID, reinterpret_cast<LPARAM>(&info)) == -1)
            continue;
        if (static_cast<UINT>(info.idCommand) == nID && info.iImage != -1)
            return CImgDesc{reinterpret_cast<HIMAGELIST>(bar->SendMessage(TB_GETIMAGELIST)), info.iImage};
    }
    return CImgDesc{};
}

char UpperAscii(UINT ch) { return static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch); }

} // namespace

void InstallMenuXPHook() {
    MenuXPState& state = TheMenuXPState();
    ++state.hookUseCount;
    if (!state.hook) {
        state.hook = new CMenuXPHook;
        CMenuWindowHook::Install(state.hook);
    }
}

void UninstallMenuXPHook() {
    MenuXPState& state = TheMenuXPState();
    if (state.hookUseCount <= 0 || --state.hookUseCount > 0)
        return;
    state.menuWindows.clear();
    delete state.hook; // uninstalls itself
    state.hook = nullptr;
}

void EnableMenuXP(HWND hWnd, BOOL bEnable) {
    if (bEnable)
        SetProp(hWnd, kPropMenuXP, reinterpret_cast<HANDLE>(1));
    else
        RemoveProp(hWnd, kPropMenuXP);
}

BOOL IsMenuXPEnabled(HWND hWnd) { return IsWindow(hWnd) && GetProp(hWnd, kPropMenuXP) ? TRUE : FALSE; }

void UpdateFrameMenuXP(HWND hFrame) {
    auto* frame = dynamic_cast<CFrameWnd*>(hFrame);
    if (IsMenuXPEnabled(hFrame) && frame && frame->GetMenu())
        ConvertMenuXP(hFrame, frame->GetMenu()->m_hMenu, TRUE, TRUE);
}

void ConvertMenuXP(HWND hWnd, HMENU hMenu, BOOL bXPMode, BOOL bMenuBar) {
    if (!bXPMode || !IsMenu(hMenu))
        return;
    MenuXPState& state = TheMenuXPState();
    PurgeDeadMenus(state.textsBySubMenu);
    PurgeDeadMenus(state.imagesBySubMenu);

    CClientDC dc(AfxGetMainWnd());
    CFontDC font(dc.m_hDC, DEFAULT_GUI_FONT);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    const UINT itemHeight = static_cast<UINT>(std::max<LONG>(tm.tmHeight + 2, 16) + 4);
    const UINT separatorHeight = static_cast<UINT>(tm.tmHeight / 2 + 2);

    const std::vector<CControlBar*>* bars = (!bMenuBar && hWnd) ? ImageBars(hWnd) : nullptr;
    const int count = GetMenuItemCount(hMenu);
    UINT widestText = 0;
    UINT widestAccel = 0;
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        if (!GetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        const bool skip = (info.fType & MFT_OWNERDRAW) || (bMenuBar && (info.fType & MFT_BITMAP));
        if (!skip) {
            info.fType |= MFT_OWNERDRAW;
            if (bMenuBar) {
                CRect measured(0, 0, 1000, 0);
                dc.DrawText(text, -1, &measured, DT_SINGLELINE | DT_CALCRECT);
                MenuXPItemData data;
                data.textWidth = static_cast<UINT>(std::max<LONG>(0, measured.Width()));
                info.fMask |= MIIM_DATA;
                info.dwItemData = data.Pack();
            }
            SetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &info);
            if (!(info.fType & MFT_SEPARATOR)) {
                if (info.hSubMenu)
                    state.textsBySubMenu[info.hSubMenu] = text;
                else
                    state.textsById[info.wID] = text;
                if (bars) {
                    const CImgDesc image = FindImage(*bars, info.wID);
                    if (image.m_nIndex != -1) {
                        if (info.hSubMenu)
                            state.imagesBySubMenu[info.hSubMenu] = image;
                        else
                            state.imagesById[info.wID] = image;
                    }
                }
            }
        }
        if (!bMenuBar) {
            const CMenuItemXP item(hMenu, static_cast<UINT>(i), TRUE);
            widestText = std::max(widestText, static_cast<UINT>(std::max(0, item.GetTextWidth(&dc))));
            widestAccel = std::max(widestAccel, static_cast<UINT>(std::max(0, item.GetAccelWidth(&dc))));
        }
    }
    if (bMenuBar || count <= 0)
        return;
    // The sizes are packed again at every opening: an item added since shows in the widths.
    MenuXPItemData popup{widestText, widestAccel, itemHeight};
    for (int i = 0; i < count; ++i) {
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_TYPE;
        if (!GetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        info.fMask = MIIM_DATA;
        info.dwItemData = (info.fType & MFT_SEPARATOR) ? MenuXPItemData{0, 0, separatorHeight}.Pack() : popup.Pack();
        SetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &info);
    }
}

BOOL DrawMenuItemXP(LPDRAWITEMSTRUCT lpDrawItemStruct, HWND hFrame) {
    if (!lpDrawItemStruct || lpDrawItemStruct->CtlType != ODT_MENU)
        return FALSE;
    const DRAWITEMSTRUCT& item = *lpDrawItemStruct;
    auto hMenu = reinterpret_cast<HMENU>(item.hwndItem);
    const UINT state = item.itemState;
    bool openBarItem = false;
    {
        CBufferDC dc(item.hDC, &item.rcItem);
        CMenuItemXP menuItem(hMenu, item.itemID, FALSE);
        CFontDC font(dc.m_hDC, DEFAULT_GUI_FONT);
        openBarItem = menuItem.Draw(&dc, &item.rcItem, (state & ODS_SELECTED) != 0,
                                    MenuXPItemData::Unpack(item.itemData).IsMenuBarItem(), (state & ODS_HOTLIGHT) != 0,
                                    (state & ODS_INACTIVE) != 0, (state & ODS_NOACCEL) != 0);
    }
    if (openBarItem && IsWindow(hFrame)) {
        CRect& bar = TheMenuXPState().barItemRect;
        hFrame->ClientToScreen(&bar);
        CRect first;
        if (GetMenuItemRect(hFrame, hMenu, 0, &first)) {
            bar.top = first.top;
            bar.bottom = first.bottom;
        }
    }
    return TRUE;
}

void MeasureMenuItemXP(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (!lpMeasureItemStruct || lpMeasureItemStruct->CtlType != ODT_MENU)
        return;
    const MenuXPItemData data = MenuXPItemData::Unpack(lpMeasureItemStruct->itemData);
    lpMeasureItemStruct->itemHeight = data.height;
    lpMeasureItemStruct->itemWidth =
        data.IsMenuBarItem() ? data.textWidth + kBarItemExtra : data.textWidth + kPopupItemExtra + data.accelWidth;
}

LRESULT MenuCharXP(HMENU hMenu, UINT nChar, UINT nFlags) {
    if ((nFlags & (MF_POPUP | MF_SYSMENU)) != MF_POPUP && nFlags != 0)
        return 0;
    // A double-byte character is no single-byte mnemonic.
    if (nChar > 0xFF)
        return 0;
    const char wanted = UpperAscii(nChar);
    const int count = GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        const CString caption = CMenuItemXP(hMenu, static_cast<UINT>(i), TRUE).GetCaption();
        for (int p = caption.GetLength() - 2; p >= 0; --p) {
            if (caption[p] == '&' && UpperAscii(static_cast<BYTE>(caption[p + 1])) == wanted &&
                (p == 0 || caption[p - 1] != '&'))
                return MAKELRESULT(static_cast<WORD>(i & 0xFFFF), MNC_EXECUTE);
        }
    }
    return 0;
}

BOOL IsOwnerDrawMenu(HMENU hMenu) {
    MENUITEMINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_TYPE;
    return GetMenuItemInfo(hMenu, 0, TRUE, &info) && (info.fType & MFT_OWNERDRAW) ? TRUE : FALSE;
}
