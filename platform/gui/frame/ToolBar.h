#pragma once

#include "ControlBar.h"
#include "platform/gui/draw/ImageList.h"

#include <vector>

// Tool-bar messages, records and flags with the platform's values.
constexpr UINT TB_HIDEBUTTON = WM_USER + 4;
constexpr UINT TB_SETSTATE = WM_USER + 17;
constexpr UINT TB_GETSTATE = WM_USER + 18;
constexpr UINT TB_GETBUTTON = WM_USER + 23;
constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
constexpr UINT TB_COMMANDTOINDEX = WM_USER + 25;
constexpr UINT TB_GETITEMRECT = WM_USER + 29;
constexpr UINT TB_GETIMAGELIST = WM_USER + 49;
constexpr UINT TB_GETBUTTONINFOA = WM_USER + 65;
constexpr UINT TB_SETBUTTONINFOA = WM_USER + 66;
constexpr UINT TB_GETHOTITEM = WM_USER + 71;
constexpr UINT TB_GETBUTTONINFO = TB_GETBUTTONINFOA;
constexpr UINT TB_SETBUTTONINFO = TB_SETBUTTONINFOA;

constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN = 0x08;
constexpr BYTE TBSTATE_INDETERMINATE = 0x10;
constexpr BYTE TBSTATE_WRAP = 0x20;

constexpr BYTE TBSTYLE_BUTTON = 0x00;
constexpr BYTE TBSTYLE_SEP = 0x01;
constexpr BYTE TBSTYLE_CHECK = 0x02;
constexpr BYTE TBSTYLE_DROPDOWN = 0x08;
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_FLAT = 0x0800;

constexpr DWORD TBIF_IMAGE = 0x00000001;
constexpr DWORD TBIF_TEXT = 0x00000002;
constexpr DWORD TBIF_STATE = 0x00000004;
constexpr DWORD TBIF_STYLE = 0x00000008;
constexpr DWORD TBIF_LPARAM = 0x00000010;
constexpr DWORD TBIF_COMMAND = 0x00000020;
constexpr DWORD TBIF_SIZE = 0x00000040;
constexpr DWORD TBIF_BYINDEX = 0x80000000;

constexpr UINT TBN_FIRST = 0u - 700u;
constexpr UINT TBN_DROPDOWN = TBN_FIRST - 10;
constexpr LRESULT TBDDRET_DEFAULT = 0;
constexpr LRESULT TBDDRET_NODEFAULT = 1;
constexpr LRESULT TBDDRET_TREATPRESSED = 2;

// Layout modes of CalcDynamicLayout.
constexpr DWORD LM_STRETCH = 0x01;
constexpr DWORD LM_HORZ = 0x02;
constexpr DWORD LM_MRUWIDTH = 0x04;
constexpr DWORD LM_HORZDOCK = 0x08;
constexpr DWORD LM_VERTDOCK = 0x10;
constexpr DWORD LM_LENGTHY = 0x20;
constexpr DWORD LM_COMMIT = 0x40;

// One button. A separator's iBitmap is its width (0: the default width).
struct TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    BYTE bReserved[2];
    DWORD_PTR dwData;
    INT_PTR iString;
};
typedef TBBUTTON* LPTBBUTTON;

// TB_GETBUTTONINFO/TB_SETBUTTONINFO: the fields dwMask names; the button is found by command id, or by index
// with TBIF_BYINDEX. cbSize must be the record's size.
struct TBBUTTONINFO {
    UINT cbSize;
    DWORD dwMask;
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    DWORD_PTR lParam;
    LPTSTR pszText;
    int cchText;
};
typedef TBBUTTONINFO TBBUTTONINFOA;
typedef TBBUTTONINFO* LPTBBUTTONINFO;

// TBN_DROPDOWN: iItem is the button's command id.
struct NMTOOLBAR {
    NMHDR hdr;
    int iItem;
    TBBUTTON tbButton;
    int cchText;
    LPTSTR pszText;
    RECT rcButton;
};
typedef NMTOOLBAR* LPNMTOOLBAR;

// A bar of image buttons along the top of its frame. Buttons come from a tool-bar table (command ids, 0 for a
// separator) and the picture of the same id, a strip of images in which light grey (192, 192, 192) is
// transparent. A click sends WM_COMMAND with the button's id to the owner (the frame); a press on the arrow part
// of a TBSTYLE_DROPDOWN button sends TBN_DROPDOWN instead. Buttons are laid out by CalcDynamicLayout, which reads
// them through TB_BUTTONCOUNT/TB_GETBUTTON so that a derived DefWindowProc can change what the layout sees.
// The buttons are painted by the default handling of WM_PAINT: a derived bar's OnPaint draws them itself.
class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    // FALSE (and the bar unchanged) without a table or a picture of that id.
    BOOL LoadToolBar(UINT nIDResource);
    // One button per id, ID_SEPARATOR for a separator; images are numbered in order over the buttons.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    void SetSizes(SIZE sizeButton, SIZE sizeImage);

    int GetCount() const { return static_cast<int>(m_buttons.size()); }
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    // nStyle is the button's TBSTYLE_ byte; for a separator iImage is its width.
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);

    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    void OnPaint() override { Default(); }
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnCaptureChanged(CWnd* pWnd) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    static constexpr int kBorder = 2;
    static constexpr int kSeparatorWidth = 8;
    static constexpr int kDropDownWidth = 14; // added to a drop-down button; its arrow part is the last 13 pixels

protected:
    // Runs the layout that a change of the buttons left pending.
    void Layout();
    BOOL m_bDelayedButtonLayout = TRUE;

private:
    // Places the visible buttons in one row (or one column) and returns the bar's size.
    CSize Arrange(std::vector<TBBUTTON>& buttons, bool vertical, std::vector<CRect>& rects) const;
    void Rearrange();
    int HitButton(CPoint point) const;
    void PaintButtons();
    void InvalidateButton(int index);
    LRESULT GetButtonInfoMessage(WPARAM wParam, TBBUTTONINFO* info) const;
    LRESULT SetButtonInfoMessage(WPARAM wParam, const TBBUTTONINFO* info);

    std::vector<TBBUTTON> m_buttons;
    std::vector<CRect> m_rects;
    CImageList m_imageList;
    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};
    bool m_vertical = false;
    int m_hotItem = -1;
    int m_pressedItem = -1; // the button the left button went down on, while it is held
};
