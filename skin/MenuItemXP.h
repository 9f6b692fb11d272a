#pragma once

#include "platform/gui/frame/Menu.h"

class CDC;

// The image of a menu item, found on one of the frame's tool bars.
struct CImgDesc {
    HIMAGELIST m_hImgList = nullptr;
    int m_nIndex = -1; // -1: no image
};

// A snapshot of one converted menu item: its type, state, id, sub-menu and item data, and the text and image
// remembered when it was converted (by sub-menu for an item that opens one, else by command id).
class CMenuItemXP {
public:
    CMenuItemXP(HMENU hMenu, UINT nItem, BOOL bByPosition);

    BOOL IsSeparator() const { return (m_info.fType & MFT_SEPARATOR) ? TRUE : FALSE; }
    // The text before the first tab (all of it without one), and the text after it.
    CString GetCaption() const;
    CString GetShortCut() const;
    // Widths in the DC's font, bold for the menu's default item; the caption without its first "&".
    int GetTextWidth(CDC* pDC) const;
    int GetAccelWidth(CDC* pDC) const;

    // Paints the item; TRUE only for an opened menu-bar item, whose rectangle is then the one remembered
    // for the pop-up below it.
    BOOL Draw(CDC* pDC, LPCRECT lpRect, bool bSelected, bool bMenuBar, bool bHotLight, bool bInactive, bool bNoAccel);

private:
    bool FindSeparator(HMENU hMenu, UINT nItem, BOOL bByPosition);
    bool IsGrayed() const { return (m_info.fState & MFS_GRAYED) == MFS_GRAYED; }
    bool IsDefault() const { return (m_info.fState & MFS_DEFAULT) != 0; }
    bool IsChecked() const { return (m_info.fState & MFS_CHECKED) != 0; }
    bool HasImage() const { return m_imgDesc.m_hImgList && m_imgDesc.m_nIndex >= 0; }
    int TextWidth(CDC* pDC, const CString& text) const;
    void DrawBackground(CDC* pDC, const CRect& rect, bool bSelected, bool bMenuBar, bool bHotLight, bool bInactive);
    void DrawCheck(CDC* pDC, const CRect& rect, COLORREF crBox);
    void DrawImage(CDC* pDC, const CRect& rect, bool bSelected);

    MENUITEMINFO m_info{};
    CString m_sCaption;
    CImgDesc m_imgDesc;
};
