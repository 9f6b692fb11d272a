#include "IconButton.h"

#include "platform/gui/data/ShellExecute.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/Pen.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/Cursor.h"
#include "platform/os/RuntimeClass.h"
#include "platform/os/System.h"

IMPLEMENT_DYNAMIC(CIconButton, CButton)

namespace {

constexpr DWORD kTypeBits = 0x1F;
constexpr int kFocusInset = 3;
constexpr int kMaxTipWidth = 400;

// The size an icon reports: twice its hot spot, which sits at its centre. FALSE when the icon cannot be read.
BOOL MeasureIcon(HICON hIcon, DWORD& dwWidth, DWORD& dwHeight) {
    ICONINFO info{};
    if (!GetIconInfo(hIcon, &info))
        return FALSE;
    dwWidth = info.xHotspot * 2;
    dwHeight = info.yHotspot * 2;
    if (info.hbmMask)
        DeleteObject(reinterpret_cast<HGDIOBJ>(info.hbmMask));
    if (info.hbmColor)
        DeleteObject(reinterpret_cast<HGDIOBJ>(info.hbmColor));
    return TRUE;
}

// The second-icon values that ask for a copy of the first rather than name an icon.
HICON CopyRequest(int nCode) { return reinterpret_cast<HICON>(static_cast<intptr_t>(nCode)); }

HICON LoadIconResource(int nIcon, int cx, int cy) {
    return static_cast<HICON>(
        LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCE(nIcon), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
}

// A copy of the icon whose non-black pixels went through the function; null on any failure.
template <class Recolour> HICON RecolouredIcon(HICON hIcon, Recolour recolour) {
    ICONINFO info{};
    if (!hIcon || !GetIconInfo(hIcon, &info))
        return nullptr;
    HICON result = nullptr;
    BITMAP bm{};
    HDC screen = GetScreenDC();
    HDC srcDC = CreateCompatibleDC(screen);
    HDC dstDC = CreateCompatibleDC(screen);
    if (srcDC && dstDC && GetObjectA(reinterpret_cast<HGDIOBJ>(info.hbmColor), sizeof(bm), &bm)) {
        const int width = static_cast<int>(info.xHotspot * 2);
        const int height = static_cast<int>(info.yHotspot * 2);
        HBITMAP copy = CreateBitmap(width, height, bm.bmPlanes, bm.bmBitsPixel, nullptr);
        if (copy) {
            HGDIOBJ oldSrc = SelectObject(srcDC, reinterpret_cast<HGDIOBJ>(info.hbmColor));
            HGDIOBJ oldDst = SelectObject(dstDC, reinterpret_cast<HGDIOBJ>(copy));
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const COLORREF pixel = GetPixel(srcDC, x, y);
                    SetPixel(dstDC, x, y, pixel == 0 ? 0 : recolour(pixel));
                }
            SelectObject(srcDC, oldSrc);
            SelectObject(dstDC, oldDst);
            ICONINFO made{TRUE, 0, 0, info.hbmMask, copy};
            result = CreateIconIndirect(&made);
            DeleteObject(reinterpret_cast<HGDIOBJ>(copy));
        }
    }
    if (srcDC)
        DeleteDC(srcDC);
    if (dstDC)
        DeleteDC(dstDC);
    ReleaseScreenDC(screen);
    DeleteObject(reinterpret_cast<HGDIOBJ>(info.hbmMask));
    DeleteObject(reinterpret_cast<HGDIOBJ>(info.hbmColor));
    return result;
}

void Line(CDC* pDC, COLORREF colour, POINT from, POINT via, POINT to) {
    CPen pen(PS_SOLID, 1, colour);
    CPen* old = pDC->SelectObject(&pen);
    pDC->MoveTo(from);
    pDC->LineTo(via);
    pDC->LineTo(to);
    pDC->SelectObject(old);
}

} // namespace

CIconButton::CIconButton() { SetDefaultColors(FALSE); }

CIconButton::~CIconButton() {
    if (m_oldBackgroundBitmap && m_backgroundDC.m_hDC)
        m_backgroundDC.SelectObject(m_oldBackgroundBitmap);
    FreeResources();
    if (m_cursor)
        DestroyCursor(m_cursor);
    if (m_menu.m_hMenu)
        m_menu.DestroyMenu();
}

DWORD CIconButton::SetFlat(BOOL bFlat, BOOL bRepaint) {
    m_flat = bFlat;
    if (bRepaint)
        Invalidate();
    return 0;
}

DWORD CIconButton::SetFlatFocus(BOOL bDrawFlatFocus, BOOL bRepaint) {
    m_drawFlatFocus = bDrawFlatFocus;
    if (bRepaint)
        Invalidate();
    return 0;
}

DWORD CIconButton::SetIcon(int nIconIn, int nIconOut) { return SetIconEx(nIconIn, 0, 0, nIconOut, 0, 0); }

DWORD CIconButton::SetIconEx(int nIconIn, int cxIn, int cyIn, int nIconOut, int cxOut, int cyOut) {
    HICON hIconIn = LoadIconResource(nIconIn, cxIn, cyIn);
    HICON hIconOut = nullptr;
    switch (nIconOut) {
    case 0: break;
    case kDarkerIcon:
    case kGreyIcon: hIconOut = CopyRequest(nIconOut); break;
    default: hIconOut = LoadIconResource(nIconOut, cxOut, cyOut); break;
    }
    return SetIconHandles(hIconIn, hIconOut);
}

DWORD CIconButton::SetIconHandles(HICON hIconIn, HICON hIconOut) {
    // A handle the button holds already is handed over again, not destroyed.
    for (IconEntry& entry : m_icons)
        if (entry.hIcon && (entry.hIcon == hIconIn || entry.hIcon == hIconOut))
            entry.hIcon = nullptr;
    FreeResources();
    const bool copyAsked = hIconOut == CopyRequest(kDarkerIcon) || hIconOut == CopyRequest(kGreyIcon);
    if (!hIconIn) {
        // The button took the second icon over but has no use for it without a first.
        if (hIconOut && !copyAsked)
            DestroyIcon(hIconOut);
        Invalidate();
        return 0;
    }
    m_icons[0].hIcon = hIconIn;
    BOOL measured = MeasureIcon(hIconIn, m_icons[0].dwWidth, m_icons[0].dwHeight);
    if (hIconOut) {
        if (hIconOut == CopyRequest(kDarkerIcon))
            hIconOut = CreateDarkerIcon(hIconIn);
        else if (hIconOut == CopyRequest(kGreyIcon))
            hIconOut = CreateGrayscaleIcon(hIconIn);
        m_icons[1].hIcon = hIconOut;
        measured = measured && MeasureIcon(hIconOut, m_icons[1].dwWidth, m_icons[1].dwHeight);
    }
    if (!measured) {
        FreeResources();
        return 1;
    }
    Invalidate();
    return 0;
}

void CIconButton::FreeResources(BOOL bCheckForNull) {
    if (bCheckForNull) {
        for (IconEntry& entry : m_icons)
            if (entry.hIcon)
                DestroyIcon(entry.hIcon);
        for (BitmapEntry& entry : m_bitmaps) {
            if (entry.hBitmap)
                DeleteObject(reinterpret_cast<HGDIOBJ>(entry.hBitmap));
            if (entry.hMask)
                DeleteObject(reinterpret_cast<HGDIOBJ>(entry.hMask));
        }
    }
    for (IconEntry& entry : m_icons)
        entry = IconEntry{};
    for (BitmapEntry& entry : m_bitmaps)
        entry = BitmapEntry{};
}

COLORREF CIconButton::DarkenColor(COLORREF crColor, double dFactor) {
    if (dFactor <= 0.0 || dFactor > 1.0)
        return crColor;
    auto darken = [dFactor](BYTE c) { return static_cast<BYTE>(c - c * dFactor); };
    return RGB(darken(GetRValue(crColor)), darken(GetGValue(crColor)), darken(GetBValue(crColor)));
}

HICON CIconButton::CreateDarkerIcon(HICON hIcon) {
    return RecolouredIcon(hIcon, [](COLORREF pixel) { return DarkenColor(pixel, 0.25); });
}

HICON CIconButton::CreateGrayscaleIcon(HICON hIcon) {
    return RecolouredIcon(hIcon, [](COLORREF pixel) {
        const auto grey =
            static_cast<BYTE>(GetRValue(pixel) * 0.299 + GetGValue(pixel) * 0.587 + GetBValue(pixel) * 0.114);
        return RGB(grey, grey, grey);
    });
}

void CIconButton::SetDefaultColors(BOOL bRepaint) {
    m_colors[kBackIn] = m_colors[kBackOut] = m_colors[kBackFocus] = GetSysColor(COLOR_BTNFACE);
    m_colors[kTextIn] = m_colors[kTextOut] = m_colors[kTextFocus] = GetSysColor(COLOR_BTNTEXT);
    if (bRepaint && m_hWnd)
        Invalidate();
}

void CIconButton::PreSubclassWindow() {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(this, GWL_STYLE)) & 0xFFFF;
    const DWORD type = style & kTypeBits;
    // A button made owner-drawn by an earlier subclassing keeps the mode it had; BS_OWNERDRAW shares the bit.
    if ((style & BS_CHECKBOX) && type != BS_OWNERDRAW)
        m_checkBox = TRUE;
    if (type == BS_DEFPUSHBUTTON)
        m_defaultButton = TRUE;
    ModifyStyle(kTypeBits, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CIconButton::PreTranslateMessage(MSG* pMsg) {
    if (!m_toolTip.m_hWnd && m_toolTip.Create(this, m_toolTipStyle)) {
        m_toolTip.Activate(FALSE);
        m_toolTip.SetMaxTipWidth(kMaxTipWidth);
    }
    if (m_toolTip.m_hWnd)
        m_toolTip.RelayEvent(pMsg);
    // A double click is a second press.
    if (pMsg->message == WM_LBUTTONDBLCLK)
        pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

void CIconButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC)
        return;
    const UINT state = lpDrawItemStruct->itemState;
    if (m_checkBox)
        m_pressed = (state & ODS_SELECTED) || m_checkState != 0;
    else
        m_pressed = (state & ODS_SELECTED) || (m_menu.m_hMenu && m_menuShown);
    m_focused = (state & ODS_FOCUS) != 0;
    m_disabled = (state & ODS_DISABLED) != 0;

    pDC->SetBkMode(TRANSPARENT);
    CRect itemRect = lpDrawItemStruct->rcItem;
    if (m_drawTransparent)
        PaintParentBackground(pDC);
    else
        PaintBackground(pDC, &itemRect);
    PaintBorder(pDC, &itemRect);

    CString title;
    GetWindowText(title);
    CRect captionRect = lpDrawItemStruct->rcItem;
    const BOOL hasTitle = !title.IsEmpty();
    if (m_icons[0].hIcon)
        DrawIconImage(pDC, hasTitle, &lpDrawItemStruct->rcItem, &captionRect, m_pressed, m_disabled);
    if (m_bitmaps[0].hBitmap) {
        pDC->SetBkColor(RGB(255, 255, 255));
        DrawBitmapImage(pDC, hasTitle, &lpDrawItemStruct->rcItem, &captionRect, m_pressed, m_disabled);
    }
    if (hasTitle)
        DrawCaption(pDC, title, &lpDrawItemStruct->rcItem, &captionRect, m_pressed, m_disabled);

    if ((!m_flat || m_drawFlatFocus) && m_focused) {
        CRect focusRect = itemRect;
        focusRect.DeflateRect(kFocusInset, kFocusInset);
        pDC->DrawFocusRect(&focusRect);
    }
}

DWORD CIconButton::PaintBackground(CDC* pDC, CRect* pRect) {
    if (!m_flat && (m_focused || m_defaultButton)) {
        CBrush black(RGB(0, 0, 0));
        pDC->FrameRect(pRect, &black);
        pRect->DeflateRect(1, 1);
    }
    COLORREF colour = m_colors[kBackOut];
    if (m_mouseOver || m_pressed)
        colour = m_colors[kBackIn];
    else if (m_focused)
        colour = m_colors[kBackFocus];
    CBrush brush(colour);
    pDC->FillRect(pRect, &brush);
    return 0;
}

DWORD CIconButton::PaintBorder(CDC* pDC, CRect* pRect) {
    const LONG l = pRect->left;
    const LONG t = pRect->top;
    const LONG r = pRect->right;
    const LONG b = pRect->bottom;
    if (m_pressed) {
        if (m_flat) {
            if (m_drawBorder)
                pDC->Draw3dRect(pRect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHILIGHT));
        } else {
            CBrush shadow(GetSysColor(COLOR_BTNSHADOW));
            pDC->FrameRect(pRect, &shadow);
        }
        return 0;
    }
    if (m_flat) {
        if (m_mouseOver && m_drawBorder)
            pDC->Draw3dRect(pRect, GetSysColor(COLOR_BTNHILIGHT), GetSysColor(COLOR_BTNSHADOW));
        return 0;
    }
    Line(pDC, GetSysColor(COLOR_BTNHILIGHT), {l, b - 1}, {l, t}, {r, t});
    Line(pDC, GetSysColor(COLOR_3DLIGHT), {l + 1, b - 1}, {l + 1, t + 1}, {r, t + 1});
    Line(pDC, GetSysColor(COLOR_3DDKSHADOW), {l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1});
    Line(pDC, GetSysColor(COLOR_BTNSHADOW), {l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t});
    return 0;
}

void CIconButton::PrepareImageRect(BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed, DWORD dwWidth,
                                   DWORD dwHeight, CRect* rpImage) {
    const auto width = static_cast<LONG>(dwWidth);
    const auto height = static_cast<LONG>(dwHeight);
    rpImage->CopyRect(rpItem);
    auto centreHorizontally = [&] { rpImage->left += (rpImage->Width() - width) / 2; };
    auto centreVertically = [&] { rpImage->top += (rpImage->Height() - height) / 2; };
    switch (m_alignment) {
    case kImageLeft:
        if (bHasTitle) {
            rpImage->left += m_imageOrigin.x;
            rpCaption->left += m_imageOrigin.x + width;
        } else {
            centreHorizontally();
        }
        centreVertically();
        break;
    case kImageAbove:
        centreHorizontally();
        if (bHasTitle) {
            rpImage->top = m_imageOrigin.y;
            rpCaption->top += height;
        } else {
            centreVertically();
        }
        break;
    case kImageRight:
        if (bHasTitle) {
            CRect client;
            GetClientRect(&client);
            rpCaption->right -= m_imageOrigin.x + rpCaption->left + width;
            rpCaption->left = m_imageOrigin.x;
            rpImage->left = client.Width() - m_imageOrigin.x - width;
            centreVertically();
        } else {
            centreHorizontally();
        }
        break;
    default: break;
    }
    if (bIsPressed && !m_checkBox)
        rpImage->OffsetRect(m_pressedOffset.x, m_pressedOffset.y);
}

// The in image shows while pressed and, outside check-box mode, while the mouse is over the button.
BOOL CIconButton::ShowsInImage(BOOL bIsPressed) const { return bIsPressed || (!m_checkBox && m_mouseOver); }

void CIconButton::DrawIconImage(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                                BOOL bIsDisabled) {
    const IconEntry& icon = (!ShowsInImage(bIsPressed) && m_icons[1].hIcon) ? m_icons[1] : m_icons[0];
    CRect imageRect;
    PrepareImageRect(bHasTitle, rpItem, rpCaption, bIsPressed, icon.dwWidth, icon.dwHeight, &imageRect);
    pDC->DrawState(imageRect.TopLeft(), imageRect.Size(), icon.hIcon,
                   DST_ICON | (bIsDisabled ? DSS_DISABLED : DSS_NORMAL), static_cast<HBRUSH>(nullptr));
}

void CIconButton::DrawBitmapImage(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                                  BOOL bIsDisabled) {
    const BitmapEntry& bitmap = (!ShowsInImage(bIsPressed) && m_bitmaps[1].hBitmap) ? m_bitmaps[1] : m_bitmaps[0];
    CRect imageRect;
    PrepareImageRect(bHasTitle, rpItem, rpCaption, bIsPressed, bitmap.dwWidth, bitmap.dwHeight, &imageRect);
    const auto width = static_cast<int>(bitmap.dwWidth);
    const auto height = static_cast<int>(bitmap.dwHeight);

    CDC bitmapDC;
    CDC maskDC;
    if (!bitmapDC.CreateCompatibleDC(pDC) || !maskDC.CreateCompatibleDC(pDC))
        return;
    HGDIOBJ oldBitmap = bitmapDC.SelectObject(reinterpret_cast<HGDIOBJ>(bitmap.hBitmap));
    HGDIOBJ oldMask = maskDC.SelectObject(reinterpret_cast<HGDIOBJ>(bitmap.hMask));
    if (bIsDisabled && m_showDisabledBitmap) {
        CDC scratchDC;
        CBitmap scratch;
        if (scratchDC.CreateCompatibleDC(pDC) && scratch.CreateCompatibleBitmap(pDC, width, height)) {
            CBitmap* oldScratch = scratchDC.SelectObject(&scratch);
            scratchDC.PatBlt(0, 0, width, height, WHITENESS);
            scratchDC.BitBlt(0, 0, width, height, &maskDC, 0, 0, SRCAND);
            scratchDC.BitBlt(0, 0, width, height, &bitmapDC, 0, 0, SRCPAINT);
            scratchDC.SelectObject(oldScratch);
            pDC->DrawState(imageRect.TopLeft(), imageRect.Size(), &scratch, DST_BITMAP | DSS_DISABLED);
            scratch.DeleteObject();
        }
    } else {
        pDC->BitBlt(imageRect.left, imageRect.top, width, height, &maskDC, 0, 0, SRCAND);
        pDC->BitBlt(imageRect.left, imageRect.top, width, height, &bitmapDC, 0, 0, SRCPAINT);
    }
    bitmapDC.SelectObject(oldBitmap);
    maskDC.SelectObject(oldMask);
}

void CIconButton::DrawCaption(CDC* pDC, const char* lpszCaption, RECT* /*rpItem*/, CRect* rpCaption, BOOL bIsPressed,
                              BOOL bIsDisabled) {
    if (bIsPressed && !m_checkBox)
        rpCaption->OffsetRect(m_pressedOffset.x, m_pressedOffset.y);
    CRect centred = *rpCaption;
    pDC->DrawText(lpszCaption, -1, &centred, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    centred.OffsetRect((rpCaption->Width() - centred.Width()) / 2, (rpCaption->Height() - centred.Height()) / 2);
    pDC->SetBkMode(TRANSPARENT);
    if (bIsDisabled) {
        centred.OffsetRect(1, 1);
        pDC->SetTextColor(GetSysColor(COLOR_3DHILIGHT));
        pDC->DrawText(lpszCaption, -1, &centred, DT_WORDBREAK | DT_CENTER);
        centred.OffsetRect(-1, -1);
        pDC->SetTextColor(GetSysColor(COLOR_3DSHADOW));
        pDC->DrawText(lpszCaption, -1, &centred, DT_WORDBREAK | DT_CENTER);
        return;
    }
    int text = kTextOut;
    int back = kBackOut;
    if (m_mouseOver || bIsPressed) {
        text = kTextIn;
        back = kBackIn;
    } else if (m_focused) {
        text = kTextFocus;
        back = kBackFocus;
    }
    pDC->SetTextColor(m_colors[text]);
    pDC->SetBkColor(m_colors[back]);
    pDC->DrawText(lpszCaption, -1, &centred, DT_WORDBREAK | DT_CENTER);
}

void CIconButton::PaintParentBackground(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    CWnd* parent = GetParent();
    if (!m_backgroundDC.m_hDC && parent) {
        CRect window;
        GetWindowRect(&window);
        parent->ScreenToClient(&window);
        CClientDC parentDC(parent);
        if (m_backgroundDC.CreateCompatibleDC(&parentDC) &&
            m_backgroundBitmap.CreateCompatibleBitmap(&parentDC, client.Width(), client.Height())) {
            m_oldBackgroundBitmap = m_backgroundDC.SelectObject(&m_backgroundBitmap);
            m_backgroundDC.BitBlt(0, 0, client.Width(), client.Height(), &parentDC, window.left, window.top, SRCCOPY);
        }
    }
    if (m_backgroundDC.m_hDC)
        pDC->BitBlt(0, 0, client.Width(), client.Height(), &m_backgroundDC, 0, 0, SRCCOPY);
}

void CIconButton::CancelHover() {
    if (m_flat && m_mouseOver) {
        m_mouseOver = FALSE;
        Invalidate();
    }
}

LRESULT CIconButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BM_SETSTYLE: {
        const DWORD type = static_cast<DWORD>(wParam) & kTypeBits;
        if (type == BS_DEFPUSHBUTTON)
            m_defaultButton = TRUE;
        else if (type == BS_PUSHBUTTON)
            m_defaultButton = FALSE;
        // The button never gives up drawing itself.
        return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(kTypeBits)) | BS_OWNERDRAW, lParam);
    }
    case BM_SETCHECK:
        if (m_checkBox) {
            m_checkState = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? 1 : 0;
            Invalidate();
        }
        return 0;
    case BM_GETCHECK: return m_checkState;
    default: return CButton::WindowProc(message, wParam, lParam);
    }
}

void CIconButton::PostNcDestroy() {
    CButton::PostNcDestroy();
    if (m_deleteWithWindow)
        delete this;
}

BOOL CIconButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_cursor) {
        ::SetCursor(m_cursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CIconButton::OnSetFocus(CWnd* pOldWnd) {
    m_focusLostToDisable = FALSE;
    CButton::OnSetFocus(pOldWnd);
}

void CIconButton::OnKillFocus(CWnd* pNewWnd) {
    // The window system takes the focus from a control as it disables it, before the control hears of it.
    m_focusLostToDisable = !IsWindowEnabled();
    CButton::OnKillFocus(pNewWnd);
    CancelHover();
}

void CIconButton::OnMouseMove(UINT nFlags, CPoint point) {
    CButton::OnMouseMove(nFlags, point);
    ClientToScreen(&point);
    CWnd* under = WindowFromPoint(point);
    if (!m_flat || ((nFlags & MK_LBUTTON) && !m_mouseOver))
        return;
    const BOOL active = m_alwaysTrack || ::GetActiveWindow() != nullptr;
    if (under == this && active) {
        if (!m_mouseOver) {
            m_mouseOver = TRUE;
            Invalidate();
            if (m_hoverSound.lpszSound)
                PlaySoundA(m_hoverSound.lpszSound, m_hoverSound.hMod, m_hoverSound.dwFlags);
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, this, 0};
            _TrackMouseEvent(&track);
        }
        return;
    }
    CancelHover();
}

void CIconButton::OnMouseLeave() { CancelHover(); }

void CIconButton::OnSysColorChange() {
    CButton::OnSysColorChange();
    if (m_oldBackgroundBitmap && m_backgroundDC.m_hDC)
        m_backgroundDC.SelectObject(m_oldBackgroundBitmap);
    m_oldBackgroundBitmap = nullptr;
    m_backgroundDC.DeleteDC();
    m_backgroundBitmap.DeleteObject();
    SetDefaultColors();
}

void CIconButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        CancelHover();
}

void CIconButton::OnEnable(BOOL bEnable) {
    CButton::OnEnable(bEnable);
    if (!bEnable) {
        // Only a button that held the focus passes it on; disabling any other leaves the focus where it is.
        if (m_focusLostToDisable || GetFocus() == this) {
            m_focusLostToDisable = FALSE;
            if (CWnd* parent = GetParent()) {
                if (CWnd* next = parent->GetNextDlgTabItem(this))
                    next->SetFocus();
                else
                    parent->SetFocus();
            }
        }
    }
    CancelHover();
}

void CIconButton::OnCancelMode() {
    CButton::OnCancelMode();
    CancelHover();
}

UINT CIconButton::OnGetDlgCode() {
    const UINT code = CButton::OnGetDlgCode();
    return code | (m_defaultButton ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

HBRUSH CIconButton::CtlColor(CDC* /*pDC*/, UINT /*nCtlColor*/) {
    return reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

LRESULT CIconButton::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
    if (CBitmapMenu::IsMenuObject(pMenu))
        return CBitmapMenu::FindKeyboardShortcut(nChar, nFlags, pMenu);
    return CButton::OnMenuChar(nChar, nFlags, pMenu);
}

void CIconButton::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct && lpMeasureItemStruct->CtlType == ODT_MENU) {
        auto* hMenu = static_cast<HMENU>(lpMeasureItemStruct->itemID);
        if (IsMenu(hMenu) && CBitmapMenu::IsMenuHandle(hMenu)) {
            m_menu.MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    CButton::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

BOOL CIconButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND && HIWORD(static_cast<uint32_t>(wParam)) == BN_CLICKED)
        return OnClicked();
    return CButton::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CIconButton::OnClicked() {
    SetFocus();
    if (m_clickSound.lpszSound)
        PlaySoundA(m_clickSound.lpszSound, m_clickSound.hMod, m_clickSound.dwFlags);
    if (m_checkBox) {
        m_checkState = m_checkState ? 0 : 1;
        Invalidate();
    } else if (m_menu.m_hMenu) {
        CRect window;
        GetWindowRect(&window);
        m_menuShown = TRUE;
        Invalidate();
        CMenu* popup = m_menu.GetSubMenu(0);
        if (m_menuCallback.hWnd && popup)
            ::SendMessageA(m_menuCallback.hWnd, m_menuCallback.nMessage, reinterpret_cast<WPARAM>(popup->m_hMenu),
                           m_menuCallback.lParam);
        const UINT command =
            popup
                ? static_cast<UINT>(popup->TrackPopupMenu(
                      TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, window.left, window.bottom, this))
                : 0;
        m_menuShown = FALSE;
        Invalidate();
        if (command && m_menuOwner)
            ::PostMessage(m_menuOwner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
    } else if (m_url[0]) {
        SHELLEXECUTEINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.lpVerb = "open";
        info.lpFile = m_url;
        info.nShow = SW_SHOWMAXIMIZED;
        ShellExecuteExA(&info);
    }
    return FALSE;
}
