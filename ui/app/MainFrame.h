#pragma once

#include "skin/BitmapMenu.h"
#include "skin/FlatSplitterWnd.h"
#include "skin/StatusBarXP.h"
#include "skin/ToolBarXP.h"

#include "platform/gui/frame/FrameWnd.h"

// The main window: the flat menus and status bar, and a locked splitter with the main view above the banner.
class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    // Also fits the splitter's rows to the window: the wall gives way before the banner.
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) override;
    void OnAdvancedSetting();

    // The Config menu's set-up dialogs, each built, run modally and destroyed; the result is not used.
    void OnCommSetting();
    void OnWallSetting();
    void OnMatrixSetting();
    void OnMonitorControl();

    CStatusBarXP& GetStatusBar() { return m_wndStatusBar; }
    CFlatSplitterWnd& GetSplitter() { return m_wndSplitter; }

private:
    // The wall's row as high as the window allows, up to its start-up height, leaving the banner the height
    // its controls need; FALSE before the banner stands.
    BOOL FitWallRow();

    CStatusBarXP m_wndStatusBar;
    // Made with the frame and never shown.
    CToolBarXP m_wndToolBar;
    CFlatSplitterWnd m_wndSplitter;
    // Made with the frame and never used.
    CBitmapMenu m_menu;
    // The wall's row at start-up, from the screen's height.
    int m_wallHeight = 0;
};

// The Config menu's commands: the dialogs that set the wall up.
constexpr UINT ID_COMM_SETTING = 1032;
constexpr UINT ID_WALL_SETTING = 1033;
constexpr UINT ID_MATRIX_SETTING = 32787;
constexpr UINT ID_MONITOR_CONTROL = 32803;
constexpr UINT ID_ADVANCED_SETTING = 32815;
