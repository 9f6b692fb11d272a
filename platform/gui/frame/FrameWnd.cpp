#include "FrameWnd.h"

#include "ControlBar.h"
#include "Document.h"
#include "MenuBarWidget.h"
#include "MenuStyle.h"
#include "ResourceTable.h"
#include "View.h"
#include "WinApp.h"
#include "platform/gui/base/RuntimeClass.h"
#include "platform/gui/controls/ControlFactory.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/Keys.h"
#include "platform/gui/window/WindowClass.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>

#include <algorithm>
#include <functional>
#include <utility>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

namespace {

LPCTSTR FrameClass() {
    static const LPCTSTR name = RegisterButtonFaceClass("AfxFrameOrView");
    return name;
}

// The Qt key of a virtual-key code of an accelerator table; 0 for keys the tables never use.
int QtKeyOf(WORD vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return vk;
    if (vk >= VK_F1 && vk <= VK_F24)
        return Qt::Key_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_RETURN: return Qt::Key_Return;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    default: return 0;
    }
}

} // namespace

CFrameWnd::CFrameWnd() {
    // The lock-key indicators of a status bar are lit while their key is on.
    for (const auto& [id, key] : {std::pair{ID_INDICATOR_CAPS, VK_CAPITAL}, std::pair{ID_INDICATOR_NUM, VK_NUMLOCK},
                                  std::pair{ID_INDICATOR_SCRL, VK_SCROLL}})
        OnUpdateCommandUI(
            id, [key = key](CCmdUI* pCmdUI) { pCmdUI->Enable((GetKeyState(static_cast<int>(key)) & 1) != 0); });
}

CFrameWnd::~CFrameWnd() {
    if (m_hWnd) {
        m_bAutoDelete = FALSE;
        DestroyWindow();
    }
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    CString title;
    if (AfxLoadString(nIDResource, title)) {
        const int end = title.Find('\n');
        if (end >= 0)
            title = title.Left(end);
    }
    if (CResourceTable::FindMenu(nIDResource)) {
        m_loadedMenu = std::make_unique<CMenu>();
        m_loadedMenu->LoadMenu(nIDResource);
    }
    m_pCreateContext = pContext;
    const DWORD style = dwDefaultStyle & ~(FWS_ADDTOTITLE | WS_VISIBLE);
    // A top-level frame gets Qt's own window frame; its style keeps no frame bits of its own.
    const DWORD windowStyle = style & ~(WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME | WS_POPUP);
    const BOOL created = CreateEx(0, FrameClass(), title, windowStyle, CRect(0, 0, 640, 480), pParentWnd, 0, pContext);
    // A frame whose window failed has deleted itself with the window: nothing of it may be touched then.
    if (!created)
        return FALSE;
    m_pCreateContext = nullptr;
    LoadAccelTable(nIDResource);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    AfxInstallIdleHook();
    if (m_loadedMenu)
        SetMenu(m_loadedMenu.get());
    auto* context = static_cast<CCreateContext*>(lpCreateStruct ? lpCreateStruct->lpCreateParams : nullptr);
    if (!OnCreateClient(lpCreateStruct, context))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT /*lpcs*/, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) ? TRUE : FALSE;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    if (!pContext || !pContext->m_pNewViewClass)
        return nullptr;
    CObject* object = pContext->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (!view) {
        delete object;
        return nullptr;
    }
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID, pContext)) {
        // A view whose window was made and failed has deleted itself with it; one that never had a window has not.
        if (WndObjectExists(view))
            delete view;
        return nullptr;
    }
    return view;
}

void CFrameWnd::RecalcLayout(BOOL /*bNotify*/) {
    QWidget* host = GetHostWidget();
    if (!host)
        return;
    CRect client;
    GetClientRect(&client);
    if (m_menuBar) {
        // The bar lies in the client area's top, where the platform keeps it outside the client area.
        const int height = m_menuBar->sizeHint().height();
        const QPoint origin = CControlFactory::ClientOrigin(host);
        m_menuBar->setGeometry(origin.x() + client.left, origin.y() + client.top, client.Width(), height);
        client.top += height;
    }
    for (CControlBar* bar : m_controlBars) {
        // A hidden bar takes no room; a visible one in a frame not yet shown does.
        if (!IsWindow(bar) || bar->GetHostWidget()->isHidden())
            continue;
        const CSize size = bar->CalcFixedLayout(TRUE, TRUE);
        const int height = std::min<int>(size.cy, std::max<LONG>(0, client.Height()));
        if (bar->GetBarStyle() & CBRS_ALIGN_TOP) {
            bar->MoveWindow(client.left, client.top, client.Width(), height);
            client.top += height;
        } else {
            bar->MoveWindow(client.left, client.bottom - height, client.Width(), height);
            client.bottom -= height;
        }
    }
    if (CWnd* pane = GetDlgItem(AFX_IDW_PANE_FIRST))
        pane->MoveWindow(client.left, client.top, std::max<LONG>(0, client.Width()),
                         std::max<LONG>(0, client.Height()));
}

void CFrameWnd::InitialUpdateFrame(CDocument* /*pDoc*/, BOOL bMakeVisible) {
    // Every view below the frame, in the order its window was made.
    QWidget* host = GetHostWidget();
    if (host) {
        std::vector<QPointer<QWidget>> widgets;
        for (QWidget* w : host->findChildren<QWidget*>())
            widgets.emplace_back(w);
        for (const QPointer<QWidget>& w : widgets) {
            if (!w)
                continue;
            auto* view = dynamic_cast<CView*>(CWnd::FromWidgetPermanent(w));
            if (view && view->GetHostWidget() == w)
                view->OnInitialUpdate();
        }
    }
    // The first pane becomes the active view: the frame's own pane, or the first pane of its splitter.
    if (!m_pViewActive && host) {
        for (QWidget* w : host->findChildren<QWidget*>()) {
            auto* view = dynamic_cast<CView*>(CWnd::FromWidgetPermanent(w));
            if (view && view->GetDlgCtrlID() == static_cast<int>(AFX_IDW_PANE_FIRST)) {
                SetActiveView(view, FALSE);
                break;
            }
        }
    }
    if (bMakeVisible)
        ActivateFrame();
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    RecalcLayout();
}

CView* CFrameWnd::GetActiveView() const { return IsWindow(m_pViewActive) ? m_pViewActive : nullptr; }

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL /*bNotify*/) { m_pViewActive = pViewNew; }

CDocument* CFrameWnd::GetActiveDocument() const {
    CView* view = GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

CMenu* CFrameWnd::GetMenu() const { return m_pMenu && m_pMenu->m_hMenu ? m_pMenu : nullptr; }

BOOL CFrameWnd::SetMenu(CMenu* pMenu) {
    m_pMenu = pMenu;
    BuildMenuBar();
    RecalcLayout();
    return TRUE;
}

void CFrameWnd::DrawMenuBar() {
    BuildMenuBar();
    RecalcLayout();
}

void CFrameWnd::BuildMenuBar() {
    QWidget* host = GetHostWidget();
    if (!host)
        return;
    delete m_menuBar;
    m_menuBar = nullptr;
    CMenu* menu = GetMenu();
    if (!menu)
        return;
    m_menuBar = new CMenuBarWidget(host);
    // The frame measures and draws the owner-drawn items of its bar and of the pop-ups below it.
    CMenuStyle::SetMenuOwner(m_menuBar, this);
    CMenuStyle::SetMenuOwner(menu->m_hMenu, this);
    m_menuBar->setNativeMenuBar(false);
    int index = 0;
    for (QAction* action : menu->m_hMenu->actions()) {
        m_menuBar->addAction(action);
        if (QMenu* popup = action->menu()) {
            QObject::connect(popup, &QMenu::aboutToShow, m_menuBar, [this, popup, index]() {
                SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                            MAKELPARAM(static_cast<WORD>(index), FALSE));
            });
        }
        ++index;
    }
    // A chosen item's command arrives once the menu has closed, as the platform posts it.
    std::function<void(QMenu*)> connectItems = [&](QMenu* popup) {
        for (QAction* action : popup->actions()) {
            if (QMenu* sub = action->menu()) {
                connectItems(sub);
                continue;
            }
            QObject::connect(action, &QAction::triggered, m_menuBar, [this, action]() {
                const UINT id = CMenu::ActionCommandId(action);
                if (id)
                    PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
            });
        }
    };
    connectItems(menu->m_hMenu);
    m_menuBar->show();
}

BOOL CFrameWnd::LoadAccelTable(UINT nIDResource) {
    const AccelTemplate* table = CResourceTable::FindAccelerators(nIDResource);
    QWidget* host = GetHostWidget();
    if (!table || !host)
        return FALSE;
    for (QShortcut* shortcut : m_shortcuts)
        delete shortcut;
    m_shortcuts.clear();
    for (const AccelEntry& entry : table->entries) {
        const int key = QtKeyOf(entry.key);
        if (!key || !(entry.fVirt & FVIRTKEY))
            continue;
        int modifiers = 0;
        if (entry.fVirt & FCONTROL)
            modifiers |= Qt::CTRL;
        if (entry.fVirt & FSHIFT)
            modifiers |= Qt::SHIFT;
        if (entry.fVirt & FALT)
            modifiers |= Qt::ALT;
        auto* shortcut = new QShortcut(QKeySequence(key | modifiers), host);
        shortcut->setContext(Qt::WindowShortcut);
        const WORD cmd = entry.cmd;
        QObject::connect(shortcut, &QShortcut::activated, host,
                         [this, cmd]() { SendMessage(WM_COMMAND, MAKEWPARAM(cmd, 1), 0); });
        m_shortcuts.push_back(shortcut);
    }
    return TRUE;
}

void CFrameWnd::AddControlBar(CControlBar* pBar) {
    if (pBar && std::find(m_controlBars.begin(), m_controlBars.end(), pBar) == m_controlBars.end())
        m_controlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
    m_controlBars.erase(std::remove(m_controlBars.begin(), m_controlBars.end(), pBar), m_controlBars.end());
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT /*nIndex*/, BOOL bSysMenu) {
    if (bSysMenu || !pPopupMenu)
        return;
    const UINT count = pPopupMenu->GetMenuItemCount();
    for (UINT i = 0; i < count && pPopupMenu->m_hMenu; ++i) {
        const UINT id = pPopupMenu->GetMenuItemID(static_cast<int>(i));
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;
        CCmdUI ui;
        ui.m_nID = id;
        ui.m_nIndex = i;
        ui.m_nIndexMax = count;
        ui.m_pMenu = pPopupMenu;
        ui.DoUpdate(this, m_bAutoMenuEnable);
    }
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

void CFrameWnd::OnClose() { DestroyWindow(); }

void CFrameWnd::PostNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        QCoreApplication::exit(0);
    }
    if (m_bAutoDelete)
        delete this;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_IDLEUPDATECMDUI) {
        // Copied: an update may add or remove a bar.
        const std::vector<CControlBar*> bars = m_controlBars;
        for (CControlBar* bar : bars)
            if (IsWindow(bar))
                bar->OnUpdateCmdUI(this, static_cast<BOOL>(wParam));
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, BOOL queryOnly) {
    if (CView* view = GetActiveView(); view && view->OnCmdMsg(nID, nCode, pExtra, queryOnly))
        return TRUE;
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, queryOnly))
        return TRUE;
    if (CWinApp* app = AfxGetApp(); app && app->OnCmdMsg(nID, nCode, pExtra, queryOnly))
        return TRUE;
    return FALSE;
}
