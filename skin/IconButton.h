#pragma once

#include "BitmapMenu.h"

#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ToolTipCtrl.h"
#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/DC.h"

// A push button that paints its whole face: background, border, an icon or bitmap beside the caption, the
// caption and the focus rectangle, each in the look of its state (normal, mouse over, pressed, focused,
// disabled). A flat button shows no border until the mouse is over it. Subclass a dialog's push button with it;
// it makes the button owner-drawn.
class CIconButton : public CButton {
    DECLARE_DYNAMIC(CIconButton)
public:
    // The six colours: background and text while the mouse is over the button or it is pressed (in), while it
    // has the focus, and otherwise (out).
    enum { kBackIn, kTextIn, kBackOut, kTextOut, kBackFocus, kTextFocus, kColorCount };
    // Where the image goes with respect to the caption.
    enum : BYTE { kImageLeft, kImageAbove, kImageRight };
    // Ask for a copy of the first icon as the second one.
    static constexpr int kGreyIcon = -2;
    static constexpr int kDarkerIcon = -3;

    CIconButton();
    ~CIconButton() override;

    // A new button of class T subclassing a dialog's control, owned by the control's window: it is deleted
    // when the window goes (a dialog opened again and again makes new ones each time). Null when the dialog
    // has no such control.
    template <class T> static T* SubclassOwned(UINT nID, CWnd* pParent) {
        T* button = new T;
        if (!button->SubclassDlgItem(nID, pParent)) {
            delete button;
            return nullptr;
        }
        button->m_deleteWithWindow = TRUE;
        return button;
    }

    DWORD SetFlat(BOOL bFlat, BOOL bRepaint = TRUE);
    // A flat button draws its focus rectangle too.
    DWORD SetFlatFocus(BOOL bDrawFlatFocus, BOOL bRepaint = TRUE);
    // Icons by resource id: 0 as the second icon uses the first for every state, kDarkerIcon and
    // kGreyIcon make it from the first. 0 done, 1 when an icon cannot be used (the button then has none).
    DWORD SetIcon(int nIconIn, int nIconOut = 0);
    // Sizes of 0 take the resource's own size.
    DWORD SetIconEx(int nIconIn, int cxIn, int cyIn, int nIconOut, int cxOut, int cyOut);
    // The button takes over the handles.
    DWORD SetIconHandles(HICON hIconIn, HICON hIconOut);

    // Each channel c becomes c - c * factor, for 0 < factor <= 1.
    static COLORREF DarkenColor(COLORREF crColor, double dFactor);
    // New icons (the caller owns them), or null when the icon cannot be read.
    static HICON CreateDarkerIcon(HICON hIcon);
    static HICON CreateGrayscaleIcon(HICON hIcon);

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnMouseLeave() override;
    void OnSysColorChange() override;
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) override;
    void OnEnable(BOOL bEnable) override;
    void OnCancelMode() override;
    UINT OnGetDlgCode() override;
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) override;
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) override;
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    // May shrink the rectangle it was given; the rest of the face is drawn inside what is left.
    virtual DWORD PaintBackground(CDC* pDC, CRect* pRect);
    virtual DWORD PaintBorder(CDC* pDC, CRect* pRect);
    virtual void DrawIconImage(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                               BOOL bIsDisabled);
    virtual void DrawBitmapImage(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                                 BOOL bIsDisabled);
    virtual void DrawCaption(CDC* pDC, const char* lpszCaption, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                             BOOL bIsDisabled);

    // Places an image of the given size by the alignment, and makes room for it in the caption rectangle.
    void PrepareImageRect(BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed, DWORD dwWidth,
                          DWORD dwHeight, CRect* rpImage);
    void PaintParentBackground(CDC* pDC);
    BOOL ShowsInImage(BOOL bIsPressed) const;
    void FreeResources(BOOL bCheckForNull = TRUE);
    void SetDefaultColors(BOOL bRepaint = TRUE);
    // Leaves the hover state of a flat button.
    void CancelHover();
    // The reflected click; FALSE lets the parent see it too.
    BOOL OnClicked();

    struct IconEntry {
        HICON hIcon = nullptr;
        DWORD dwWidth = 0;
        DWORD dwHeight = 0;
    };
    struct BitmapEntry {
        HBITMAP hBitmap = nullptr;
        DWORD dwWidth = 0;
        DWORD dwHeight = 0;
        HBITMAP hMask = nullptr;
    };
    struct MenuCallback {
        HWND hWnd = nullptr;
        UINT nMessage = 0;
        LPARAM lParam = 0;
    };
    struct Sound {
        LPCSTR lpszSound = nullptr;
        HMODULE hMod = nullptr;
        DWORD dwFlags = 0;
    };

    BOOL m_showDisabledBitmap = TRUE;
    CPoint m_imageOrigin{3, 3};
    CPoint m_pressedOffset{1, 1};
    BOOL m_flat = TRUE;
    BOOL m_mouseOver = FALSE;
    BOOL m_drawTransparent = FALSE;
    BOOL m_pressed = FALSE;
    BOOL m_focused = FALSE;
    BOOL m_disabled = FALSE;
    BOOL m_defaultButton = FALSE;
    BOOL m_checkBox = FALSE;
    BYTE m_alignment = kImageLeft;
    BOOL m_drawBorder = TRUE;
    BOOL m_drawFlatFocus = FALSE;
    COLORREF m_colors[kColorCount]{};
    HWND m_menuOwner = nullptr;
    BOOL m_menuShown = FALSE;
    CBitmapMenu m_menu;
    HCURSOR m_cursor = nullptr;
    CToolTipCtrl m_toolTip;
    CDC m_backgroundDC;
    CBitmap m_backgroundBitmap;
    CBitmap* m_oldBackgroundBitmap = nullptr;
    BOOL m_alwaysTrack = TRUE;
    int m_checkState = 0;
    DWORD m_toolTipStyle = 0;
    char m_url[MAX_PATH]{};
    IconEntry m_icons[2];
    BitmapEntry m_bitmaps[2];
    MenuCallback m_menuCallback;
    Sound m_hoverSound;
    Sound m_clickSound;

private:
    BOOL m_deleteWithWindow = FALSE;
    // The focus left because the button was being disabled; it moves on once the disabling is told.
    BOOL m_focusLostToDisable = FALSE;
};
