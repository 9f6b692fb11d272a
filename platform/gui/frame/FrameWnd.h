#pragma once

#include "CreateContext.h"
#include "FrameworkIds.h"
#include "Menu.h"
#include "platform/gui/base/RuntimeClass.h"
#include "platform/gui/window/CmdTarget.h"
#include "platform/gui/window/OwnerDraw.h"
#include "platform/gui/window/Wnd.h"

#include <memory>
#include <vector>

class CControlBar;
class CDocument;
class CView;
class QMenuBar;
class QShortcut;

// A main window: its menu bar (from the menu table of its resource id) along the top, its control bars along
// the edges and one pane (a view or a splitter, id AFX_IDW_PANE_FIRST) in the rest. Menu items and
// accelerators send their command ids as WM_COMMAND; commands go to the active view (and its document), then
// to the frame's own handlers, then to the application. Pop-ups announce themselves with WM_INITMENUPOPUP,
// whose default handling greys the items that nothing handles.
class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame as a top-level window: title from the resource string's first part, then menu and
    // accelerators of that id (each optional). Building the panes happens in OnCreate through OnCreateClient.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    // Places the menu bar, the control bars and the pane.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);

    CView* GetActiveView() const;
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    CDocument* GetActiveDocument() const;

    CMenu* GetMenu() const;
    // The frame shows the menu (it is not copied: changes show after DrawMenuBar); null removes the bar.
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    QMenuBar* GetMenuBarWidget() const { return m_menuBar; }
    BOOL LoadAccelTable(UINT nIDResource);

    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);

    // The bars added to the frame, in the order they were added.
    const std::vector<CControlBar*>& GetControlBars() const { return m_controlBars; }

    // Greys the items of a pop-up that nothing handles.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnClose() override;
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, BOOL queryOnly = FALSE) override;

    BOOL m_bAutoMenuEnable = TRUE;
    // Frames made by a document template delete themselves when their window is gone.
    BOOL m_bAutoDelete = TRUE;

private:
    void BuildMenuBar();

    std::unique_ptr<CMenu> m_loadedMenu;
    CMenu* m_pMenu = nullptr;
    QMenuBar* m_menuBar = nullptr;
    std::vector<QShortcut*> m_shortcuts;
    std::vector<CControlBar*> m_controlBars;
    CView* m_pViewActive = nullptr;
    CCreateContext* m_pCreateContext = nullptr;
};
