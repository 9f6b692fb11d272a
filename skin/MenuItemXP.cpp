#include "MenuItemXP.h"

#include "BoldDC.h"
#include "BrushDC.h"
#include "Hls.h"
#include "MenuShadow.h"
#include "MenuXPState.h"
#include "PenDC.h"

#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/ImageList.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/SystemParameters.h"

namespace {

// Where the parts of a pop-up item sit, from its left edge: the image band ends at 22, the caption starts at
// 30, the check box spans 1..20 and the accelerator ends 12 pixels before the right edge.
constexpr int kBandRight = 22;
constexpr int kTextLeft = 30;
constexpr int kAccelMargin = 12;
constexpr int kShadow = 4;
constexpr int kIconSize = 16;

} // namespace

CMenuItemXP::CMenuItemXP(HMENU hMenu, UINT nItem, BOOL bByPosition) {
    m_info.cbSize = sizeof(m_info);
    m_info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
    if (!GetMenuItemInfo(hMenu, nItem, bByPosition, &m_info) && !FindSeparator(hMenu, nItem, bByPosition)) {
        m_info = MENUITEMINFO{};
        return;
    }
    if (IsSeparator())
        return;
    const MenuXPState& state = TheMenuXPState();
    if (m_info.hSubMenu) {
        if (auto it = state.textsBySubMenu.find(m_info.hSubMenu); it != state.textsBySubMenu.end())
            m_sCaption = it->second;
        if (auto it = state.imagesBySubMenu.find(m_info.hSubMenu); it != state.imagesBySubMenu.end())
            m_imgDesc = it->second;
    } else {
        if (auto it = state.textsById.find(m_info.wID); it != state.textsById.end())
            m_sCaption = it->second;
        if (auto it = state.imagesById.find(m_info.wID); it != state.imagesById.end())
            m_imgDesc = it->second;
    }
}

// Separators carry command id 0, by which the platform finds a menu's first separator; the menus here find
// no separator by command, so it is looked for by position.
bool CMenuItemXP::FindSeparator(HMENU hMenu, UINT nItem, BOOL bByPosition) {
    if (bByPosition || nItem != 0)
        return false;
    const int count = GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFO info = m_info;
        if (GetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &info) && (info.fType & MFT_SEPARATOR)) {
            m_info = info;
            return true;
        }
    }
    return false;
}

CString CMenuItemXP::GetCaption() const {
    const int tab = m_sCaption.Find('\t');
    return tab < 0 ? m_sCaption : m_sCaption.Left(tab);
}

CString CMenuItemXP::GetShortCut() const {
    const int tab = m_sCaption.Find('\t');
    return tab < 0 ? CString() : m_sCaption.Mid(tab + 1);
}

int CMenuItemXP::TextWidth(CDC* pDC, const CString& text) const {
    if (IsSeparator() || text.IsEmpty() || !pDC)
        return 0;
    CBoldDC bold(pDC->m_hDC, IsDefault());
    SIZE size{0, 0};
    GetTextExtentPoint32A(pDC->m_hDC, text, text.GetLength(), &size);
    return size.cx;
}

int CMenuItemXP::GetTextWidth(CDC* pDC) const {
    CString caption = GetCaption();
    const int amp = caption.Find('&');
    if (amp >= 0)
        caption.Delete(amp);
    return TextWidth(pDC, caption);
}

int CMenuItemXP::GetAccelWidth(CDC* pDC) const { return TextWidth(pDC, GetShortCut()); }

BOOL CMenuItemXP::Draw(CDC* pDC, LPCRECT lpRect, bool bSelected, bool bMenuBar, bool bHotLight, bool bInactive,
                       bool bNoAccel) {
    if (!pDC || !lpRect)
        return FALSE;
    const CRect rect(*lpRect);
    const bool openBarItem = bMenuBar && bSelected;
    DrawBackground(pDC, rect, bSelected, bMenuBar, bHotLight, bInactive);

    if (IsSeparator()) {
        CPenDC pen(pDC->m_hDC, HlsSysColor(COLOR_3DFACE, -18, 0));
        const int y = (rect.top + rect.bottom) / 2;
        pDC->MoveTo(rect.left + kTextLeft, y);
        pDC->LineTo(rect.right - 1, y);
        return FALSE;
    }
    const CString caption = GetCaption();
    if (caption.IsEmpty())
        return openBarItem ? TRUE : FALSE;

    const bool grayed = IsGrayed();
    pDC->SetTextColor(bInactive ? GetSysColor(COLOR_BTNSHADOW)
                                : (grayed ? HlsSysColor(COLOR_3DFACE, -18, 0) : GetSysColor(COLOR_MENUTEXT)));
    pDC->SetBkMode(TRANSPARENT);
    UINT hidePrefix = 0;
    BOOL cues = TRUE;
    if (bNoAccel && SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0) && !cues)
        hidePrefix = DT_HIDEPREFIX;

    if (bMenuBar) {
        CRect text(rect.left, rect.top, rect.right - kShadow, rect.bottom);
        pDC->DrawText(caption, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | hidePrefix);
        return openBarItem ? TRUE : FALSE;
    }

    {
        CBoldDC bold(pDC->m_hDC, IsDefault());
        CRect text(kTextLeft, rect.top, rect.right, rect.bottom);
        pDC->DrawText(caption, &text, DT_VCENTER | DT_SINGLELINE | hidePrefix);
        const CString accel = GetShortCut();
        if (!accel.IsEmpty()) {
            text.right -= kAccelMargin;
            pDC->DrawText(accel, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        }
    }

    if (IsChecked()) {
        const COLORREF box = grayed      ? HlsSysColor(COLOR_3DFACE, +73, 0)
                             : bSelected ? HlsSysColor(COLOR_HIGHLIGHT, +50, -50)
                                         : HlsSysColor(COLOR_HIGHLIGHT, +70, -57);
        CPenDC pen(pDC->m_hDC, GetSysColor(COLOR_HIGHLIGHT));
        CBrushDC brush(pDC->m_hDC, box);
        pDC->Rectangle(rect.left + 1, rect.top + 1, rect.left + 20, rect.bottom - 1);
        if (!HasImage())
            DrawCheck(pDC, rect, box);
    }
    if (HasImage())
        DrawImage(pDC, rect, bSelected);
    return FALSE;
}

void CMenuItemXP::DrawBackground(CDC* pDC, const CRect& rect, bool bSelected, bool bMenuBar, bool bHotLight,
                                 bool bInactive) {
    const int shadowLeft = rect.right - kShadow;
    if (bMenuBar && bSelected) {
        // The open bar item: a dark frame whose last 4 columns show a shadow onto the bar.
        {
            CPenDC pen(pDC->m_hDC, GetSysColor(COLOR_3DDKSHADOW));
            CBrushDC brush(pDC->m_hDC, HlsSysColor(COLOR_3DFACE, +20, 0));
            TheMenuXPState().barItemRect = CRect(rect.left, rect.top, shadowLeft, rect.bottom);
            pDC->Rectangle(rect.left, rect.top, shadowLeft, rect.bottom);
        }
        pDC->FillSolidRect(shadowLeft, rect.top, kShadow, rect.Height(), GetSysColor(COLOR_3DFACE));
        const int height = rect.Height();
        for (int i = 0; i < kShadow; ++i) {
            const int end = i == 0 ? height - 2 - i : height - 1 - i;
            for (int k = i < 2 ? 2 - i : 0; k < end; ++k)
                DarkenShadowPixel(pDC->m_hDC, pDC->m_hDC, rect.right - 1 - i, rect.top + 4 + k, ShadowStep(k, i));
        }
    } else if (bSelected || (bHotLight && !bInactive)) {
        CPenDC pen(pDC->m_hDC, GetSysColor(COLOR_HIGHLIGHT));
        CBrushDC brush(pDC->m_hDC,
                       IsGrayed() ? HlsSysColor(COLOR_3DFACE, +73, 0) : HlsSysColor(COLOR_HIGHLIGHT, +70, -57));
        if (bMenuBar) {
            pDC->Rectangle(rect.left, rect.top, shadowLeft, rect.bottom);
            pDC->FillSolidRect(shadowLeft, rect.top, kShadow, rect.Height(), GetSysColor(COLOR_3DFACE));
        } else {
            pDC->Rectangle(&rect);
        }
    } else if (!bMenuBar) {
        pDC->FillSolidRect(rect.left, rect.top, kBandRight - rect.left, rect.Height(),
                           HlsSysColor(COLOR_3DFACE, +20, 0));
        pDC->FillSolidRect(kBandRight, rect.top, rect.right - kBandRight, rect.Height(),
                           HlsSysColor(COLOR_3DFACE, +75, 0));
    } else {
        pDC->FillSolidRect(&rect, GetSysColor(COLOR_3DFACE));
    }
}

void CMenuItemXP::DrawCheck(CDC* pDC, const CRect& rect, COLORREF crBox) {
    const int left = rect.left + 5;
    if (!(m_info.fType & MFT_RADIOCHECK)) {
        pDC->SetBkColor(crBox);
        HBITMAP check = LoadOEMBitmap(OBM_CHECK);
        DrawStateA(pDC->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(check), 0, left, rect.top + 3, 15,
                   rect.Height(), DST_BITMAP);
        DeleteObject(check);
        return;
    }
    const int cx = (2 * left + 15) / 2;
    const int cy = (rect.top + rect.bottom) / 2;
    const COLORREF dot = IsGrayed() ? HlsSysColor(COLOR_3DFACE, -27, 0) : GetSysColor(COLOR_MENUTEXT);
    CPenDC pen(pDC->m_hDC, dot);
    CBrushDC brush(pDC->m_hDC, dot);
    pDC->Ellipse(cx - 4, cy - 3, cx + 3, cy + 4);
    pDC->SetPixel(cx + 1, cy + 2, crBox);
}

void CMenuItemXP::DrawImage(CDC* pDC, const CRect& rect, bool bSelected) {
    const bool grayed = IsGrayed();
    const bool lifted = bSelected && !IsChecked();
    if (grayed || lifted) {
        // A flat shadow of the icon under where the image goes.
        const bool hot = bSelected && !grayed;
        const int offset = hot ? 4 : 3;
        CBrush brush(hot ? HlsSysColor(COLOR_HIGHLIGHT, +50, -66) : HlsSysColor(COLOR_3DFACE, -27, 0));
        if (HICON icon = ImageList_GetIcon(m_imgDesc.m_hImgList, m_imgDesc.m_nIndex, ILD_NORMAL)) {
            DrawStateA(pDC->m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, rect.left + offset,
                       rect.top + offset, kIconSize, kIconSize, DST_ICON | DSS_MONO);
            DestroyIcon(icon);
        }
    }
    if (!grayed) {
        const int offset = lifted ? 2 : 3;
        ImageList_Draw(m_imgDesc.m_hImgList, m_imgDesc.m_nIndex, pDC->m_hDC, rect.left + offset, rect.top + offset,
                       ILD_TRANSPARENT);
    }
}
