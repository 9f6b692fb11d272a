#pragma once

#include "ControlBar.h"

#include <vector>

constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_OWNERDRAW = 0x1000;
constexpr UINT SBPS_DISABLED = 0x04000000;
constexpr UINT SBPS_STRETCH = 0x08000000;

constexpr UINT SB_SETMINHEIGHT = WM_USER + 8;
constexpr UINT SB_GETRECT = WM_USER + 10;

// A status bar that draws its panes itself: each pane has an id, a style, a text width and a text. Panes are
// laid out from the left, one gap apart; the stretchy pane takes what the others leave. A pane without
// SBPS_NOBORDERS gets a sunken frame. The panes are painted by the bar's default handling of WM_PAINT, so a
// derived bar's OnPaint paints them with Default() and draws over them afterwards. A disabled pane shows no text:
// the lock-key indicators start so, and the idle update shows "CAP", "NUM" and "SCRL" while their key is on.
class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar() = default;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id; ID_SEPARATOR is a pane without a string, the first one stretchy. FALSE (and nothing
    // changed) when an id other than ID_SEPARATOR has no string.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    int GetMinHeight() const { return m_minHeight; }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Each pane asks the frame for its command's state: enabled shows its text, disabled hides it.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;
    void OnPaint() override { Default(); }
    void OnSize(UINT nType, int cx, int cy) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Borders of the bar and the gap between panes, in pixels.
    static constexpr int kTopBorder = 2;
    static constexpr int kBottomBorder = 1;
    static constexpr int kGap = 2;
    static constexpr int kPaneMargin = 3;

private:
    void PaintPanes();

    struct Pane {
        UINT nID;
        UINT nStyle;
        int cxText;
        CString strText;
    };

    std::vector<Pane> m_panes;
    int m_minHeight = 0;
};
