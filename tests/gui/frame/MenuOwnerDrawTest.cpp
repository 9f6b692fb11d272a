#include "platform/gui/draw/DC.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/frame/Menu.h"
#include "platform/gui/frame/MenuStyle.h"
#include "platform/gui/frame/MenuWindowHook.h"
#include "platform/gui/window/Wnd.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Drawn {
    UINT itemID;
    UINT itemState;
    HWND hwndItem;
    RECT rcItem;
    UINT_PTR itemData;
};

// Measures every item 60 x 18 (or from its item data when that is set) and paints it in one colour per state.
class Owner : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_MEASUREITEM) {
            auto* item = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
            measured.push_back(item->itemData);
            item->itemWidth = item->itemData ? LOWORD(item->itemData) : 60;
            item->itemHeight = item->itemData ? HIWORD(item->itemData) : 18;
            return TRUE;
        }
        if (message == WM_DRAWITEM) {
            auto* item = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
            drawn.push_back({item->itemID, item->itemState, item->hwndItem, item->rcItem, item->itemData});
            CDC* dc = CDC::FromHandle(item->hDC);
            dc->FillSolidRect(&item->rcItem, (item->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 0, 255));
            return TRUE;
        }
        if (message == WM_MENUCHAR) {
            menuChars.push_back(wParam);
            return menuCharAnswer;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT_PTR> measured;
    std::vector<Drawn> drawn;
    std::vector<WPARAM> menuChars;
    LRESULT menuCharAnswer = 0;
};

class MenuOwnerDrawTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPED, CRect(0, 0, 200, 200), nullptr, 0));
        ASSERT_TRUE(m_menu.CreatePopupMenu());
        CMenuStyle::SetMenuOwner(m_menu.m_hMenu, &m_owner);
    }
    void Open() {
        m_menu.m_hMenu->popup(QPoint(50, 60));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_menu.m_hMenu));
    }
    void TearDown() override {
        if (m_menu.m_hMenu)
            m_menu.m_hMenu->hide();
    }

    Owner m_owner;
    CMenu m_menu;
};

TEST_F(MenuOwnerDrawTest, OwnerDrawnItemsCarryItemDataNotTextThroughAppendInsertAndModify) {
    int record = 0;
    ASSERT_TRUE(m_menu.AppendMenu(MF_OWNERDRAW, 100, reinterpret_cast<LPCTSTR>(&record)));
    ASSERT_TRUE(m_menu.InsertMenu(0, MF_BYPOSITION | MF_OWNERDRAW, 101, reinterpret_cast<LPCTSTR>(0x1234)));
    ASSERT_TRUE(m_menu.AppendMenu(MF_STRING, 102, "&Text"));
    ASSERT_TRUE(m_menu.ModifyMenu(102, MF_BYCOMMAND | MF_OWNERDRAW, 102, reinterpret_cast<LPCTSTR>(0x5678)));

    MENUITEMINFO info{};
    info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_ID;
    ASSERT_TRUE(m_menu.GetMenuItemInfo(100, &info));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(&record), info.dwItemData);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    ASSERT_TRUE(m_menu.GetMenuItemInfo(0, &info, TRUE));
    EXPECT_EQ(101u, info.wID);
    EXPECT_EQ(0x1234u, info.dwItemData);
    ASSERT_TRUE(m_menu.GetMenuItemInfo(102, &info));
    EXPECT_EQ(0x5678u, info.dwItemData);
    CString text;
    EXPECT_EQ(0, m_menu.GetMenuString(102, text, MF_BYCOMMAND));

    info.fMask = MIIM_DATA;
    info.dwItemData = 77;
    ASSERT_TRUE(m_menu.SetMenuItemInfo(101, &info));
    info.dwItemData = 0;
    ASSERT_TRUE(m_menu.GetMenuItemInfo(101, &info));
    EXPECT_EQ(77u, info.dwItemData);
}

TEST_F(MenuOwnerDrawTest, APopupItemIsFoundByCommandThroughTheIdItsInfoReports) {
    CMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    HMENU subHandle = sub.Detach();
    ASSERT_TRUE(m_menu.AppendMenu(MF_POPUP | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(subHandle),
                                  reinterpret_cast<LPCTSTR>(9)));
    MENUITEMINFO info{};
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    ASSERT_TRUE(m_menu.GetMenuItemInfo(0, &info, TRUE));
    EXPECT_EQ(subHandle, info.hSubMenu);
    EXPECT_GT(info.wID, 0xFFFFu); // never taken for a command
    MENUITEMINFO again{};
    again.fMask = MIIM_SUBMENU | MIIM_DATA;
    ASSERT_TRUE(m_menu.GetMenuItemInfo(info.wID, &again, FALSE));
    EXPECT_EQ(subHandle, again.hSubMenu);
    EXPECT_EQ(9u, again.dwItemData);
    EXPECT_EQ(static_cast<UINT>(-1), m_menu.GetMenuItemID(0));
}

TEST_F(MenuOwnerDrawTest, TheOwnerMeasuresAndDrawsItsItemsInClientCoordinatesWithTheirStates) {
    ASSERT_TRUE(m_menu.AppendMenu(MF_OWNERDRAW, 200, reinterpret_cast<LPCTSTR>(MAKELONG(80, 20))));
    ASSERT_TRUE(m_menu.AppendMenu(MF_OWNERDRAW | MF_GRAYED | MF_CHECKED, 201, reinterpret_cast<LPCTSTR>(0)));
    ASSERT_TRUE(m_menu.AppendMenu(MF_STRING, 202, "plain"));
    Open();
    QMenu* menu = m_menu.m_hMenu;
    // Items take the widest item's width, as the platform's do.
    EXPECT_EQ(20, menu->actionGeometry(menu->actions().at(0)).height());
    EXPECT_GE(menu->actionGeometry(menu->actions().at(0)).width(), 80);
    EXPECT_EQ(18, menu->actionGeometry(menu->actions().at(1)).height());

    ASSERT_TRUE(QTest::qWaitFor([&] { return m_owner.drawn.size() >= 2; }));
    const Drawn first = m_owner.drawn.at(0);
    EXPECT_EQ(200u, first.itemID);
    EXPECT_EQ(reinterpret_cast<HWND>(menu), first.hwndItem);
    EXPECT_EQ(0, first.rcItem.left);
    EXPECT_EQ(0, first.rcItem.top);
    EXPECT_EQ(20, first.rcItem.bottom);
    EXPECT_EQ(static_cast<UINT_PTR>(MAKELONG(80, 20)), first.itemData);
    const Drawn second = m_owner.drawn.at(1);
    EXPECT_EQ(ODS_GRAYED | ODS_CHECKED, second.itemState & (ODS_GRAYED | ODS_CHECKED | ODS_SELECTED));
    EXPECT_EQ(20, second.rcItem.top);
    for (const Drawn& d : m_owner.drawn)
        EXPECT_NE(202u, d.itemID); // a plain item stays Qt's

    // What the owner drew is what the menu shows; selection reaches it as ODS_SELECTED.
    const QRect geometry = menu->actionGeometry(menu->actions().at(0));
    EXPECT_EQ(QColor(0, 0, 255), menu->grab().toImage().pixelColor(geometry.center()));
    m_owner.drawn.clear();
    menu->setActiveAction(menu->actions().at(0));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return menu->grab().toImage().pixelColor(geometry.center()) == QColor(255, 0, 0); }));
    bool selected = false;
    for (const Drawn& d : m_owner.drawn)
        selected = selected || (d.itemID == 200 && (d.itemState & ODS_SELECTED));
    EXPECT_TRUE(selected);
}

TEST_F(MenuOwnerDrawTest, AnOwnerDrawnSeparatorKeepsItsItemDataForItsOwner) {
    ASSERT_TRUE(m_menu.AppendMenu(MF_OWNERDRAW, 300, reinterpret_cast<LPCTSTR>(MAKELONG(70, 20))));
    ASSERT_TRUE(m_menu.AppendMenu(MF_SEPARATOR | MF_OWNERDRAW, 0, reinterpret_cast<LPCTSTR>(MAKELONG(70, 6))));
    ASSERT_TRUE(m_menu.AppendMenu(MF_OWNERDRAW, 301, reinterpret_cast<LPCTSTR>(MAKELONG(70, 20))));
    ASSERT_TRUE(m_menu.AppendMenu(MF_SEPARATOR));
    ASSERT_TRUE(m_menu.AppendMenu(MF_STRING, 302, "plain"));
    MENUITEMINFO info{};
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    ASSERT_TRUE(m_menu.GetMenuItemInfo(1, &info, TRUE));
    EXPECT_EQ(MFT_SEPARATOR | MFT_OWNERDRAW, info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW));
    EXPECT_EQ(static_cast<UINT_PTR>(MAKELONG(70, 6)), info.dwItemData);
    ASSERT_TRUE(m_menu.GetMenuItemInfo(3, &info, TRUE));
    EXPECT_EQ(0u, info.dwItemData);

    // Its owner measures and draws it from that data.
    Open();
    QMenu* menu = m_menu.m_hMenu;
    EXPECT_EQ(6, menu->actionGeometry(menu->actions().at(1)).height());
    ASSERT_TRUE(QTest::qWaitFor([&] {
        for (const Drawn& d : m_owner.drawn)
            if (d.itemData == static_cast<UINT_PTR>(MAKELONG(70, 6)))
                return true;
        return false;
    }));
}

TEST_F(MenuOwnerDrawTest, AnItemWithoutOwnerOrWithAnAbsurdSizeNeverBreaksTheMenu) {
    ASSERT_TRUE(m_menu.AppendMenu(MF_OWNERDRAW, 300, reinterpret_cast<LPCTSTR>(MAKELONG(0xFFFF, 0xFFFF))));
    Open();
    EXPECT_LE(m_menu.m_hMenu->width(), 4200);
    m_menu.m_hMenu->hide();
    CMenuStyle::SetMenuOwner(m_menu.m_hMenu, nullptr);
    m_owner.measured.clear();
    Open();
    EXPECT_TRUE(m_owner.measured.empty());
}

TEST_F(MenuOwnerDrawTest, AKeyNoMnemonicTakesAsksTheOwnerAndItsAnswerIsObeyed) {
    ASSERT_TRUE(m_menu.AppendMenu(MF_STRING, 400, "&Open"));
    ASSERT_TRUE(m_menu.AppendMenu(MF_OWNERDRAW, 401, nullptr));
    ASSERT_TRUE(m_menu.AppendMenu(MF_OWNERDRAW, 402, nullptr));
    Open();
    QMenu* menu = m_menu.m_hMenu;
    std::vector<QAction*> triggered;
    QObject::connect(menu, &QMenu::triggered, [&](QAction* a) { triggered.push_back(a); });

    // Qt's own mnemonic: the owner is not asked.
    QTest::keyClick(menu, Qt::Key_O);
    EXPECT_TRUE(m_owner.menuChars.empty());
    ASSERT_EQ(1u, triggered.size());
    EXPECT_EQ(400u, CMenu::ActionCommandId(triggered.at(0)));

    triggered.clear();
    Open();
    m_owner.menuCharAnswer = MAKELONG(1, MNC_SELECT);
    QTest::keyClick(menu, Qt::Key_Z);
    ASSERT_EQ(1u, m_owner.menuChars.size());
    EXPECT_EQ(static_cast<WPARAM>(MAKEWPARAM('z', MF_POPUP)), m_owner.menuChars.at(0));
    EXPECT_EQ(menu->actions().at(1), menu->activeAction());
    EXPECT_TRUE(triggered.empty());

    m_owner.menuCharAnswer = MAKELONG(2, MNC_EXECUTE);
    QTest::keyClick(menu, 'Z', Qt::ShiftModifier);
    EXPECT_EQ(static_cast<WPARAM>(MAKEWPARAM('Z', MF_POPUP)), m_owner.menuChars.back());
    ASSERT_EQ(1u, triggered.size());
    EXPECT_EQ(402u, CMenu::ActionCommandId(triggered.at(0)));

    // An answer naming no item does nothing; MNC_CLOSE closes the menu.
    Open();
    m_owner.menuCharAnswer = MAKELONG(57, MNC_EXECUTE);
    QTest::keyClick(menu, Qt::Key_Q);
    EXPECT_TRUE(menu->isVisible());
    m_owner.menuCharAnswer = MAKELONG(0, MNC_CLOSE);
    QTest::keyClick(menu, Qt::Key_Q);
    EXPECT_FALSE(menu->isVisible());
}

// Grows a menu by 4 pixels for a shadow, moves it up 1 and marks its bottom right corner; records the calls.
class ShadowHook : public CMenuWindowHook {
public:
    void OnCreate(CMenuWindow* w) override { calls.push_back("create"), windows.push_back(w); }
    void OnWindowPosChanging(CMenuWindow*, WINDOWPOS* pos) override {
        calls.push_back("pos");
        natural = QRect(pos->x, pos->y, pos->cx, pos->cy);
        pos->cx += 4;
        pos->cy += 4;
        pos->y -= 1;
    }
    void OnNcCalcSize(CMenuWindow*, LPRECT client) override {
        calls.push_back("calc");
        client->right -= 4;
        client->bottom -= 4;
    }
    void OnEraseBkgnd(CMenuWindow* w) override {
        calls.push_back("erase");
        visibleAtErase = w->IsWindowVisible();
    }
    void OnShowWindow(CMenuWindow*, BOOL show) override { calls.push_back(show ? "show" : "hide"); }
    void OnPrint(CMenuWindow* w, CDC* dc, BOOL) override {
        RECT r;
        w->GetWindowRect(&r);
        dc->SetPixel(r.right - r.left - 1, r.bottom - r.top - 1, RGB(0, 255, 0));
        ++prints;
    }
    void OnNcDestroy(CMenuWindow*) override { calls.push_back("destroy"); }

    std::vector<std::string> calls;
    std::vector<CMenuWindow*> windows;
    QRect natural;
    BOOL visibleAtErase = TRUE;
    int prints = 0;
};

TEST_F(MenuOwnerDrawTest, TheHookGrowsMovesAndPaintsEveryPopupAndHearsItClose) {
    ASSERT_TRUE(m_menu.AppendMenu(MF_STRING, 500, "first item"));
    ASSERT_TRUE(m_menu.AppendMenu(MF_STRING, 501, "second"));
    QMenu* menu = m_menu.m_hMenu;
    const QSize plain = menu->sizeHint();
    const int itemWidth = [&] {
        menu->popup(QPoint(50, 60));
        const int w = menu->actionGeometry(menu->actions().at(0)).width();
        menu->hide();
        return w;
    }();

    ShadowHook hook;
    ASSERT_TRUE(CMenuWindowHook::Install(&hook));
    EXPECT_FALSE(CMenuWindowHook::Install(&hook));
    Open();
    EXPECT_EQ((std::vector<std::string>{"create", "pos", "calc", "show", "erase"}), hook.calls);
    EXPECT_FALSE(hook.visibleAtErase);
    EXPECT_EQ(plain, hook.natural.size());
    // A real display confirms each geometry the window went through; wait for the last one.
    const QRect grown(hook.natural.x(), hook.natural.y() - 1, plain.width() + 4, plain.height() + 4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->geometry() == grown; }, 2000)) << menu->geometry().width();
    EXPECT_EQ(itemWidth, menu->actionGeometry(menu->actions().at(0)).width());
    RECT client;
    hook.windows.at(0)->GetClientRect(&client);
    EXPECT_EQ(plain.width(), client.right);

    ASSERT_TRUE(QTest::qWaitFor([&] { return hook.prints > 0; }));
    const QImage shown = menu->grab().toImage();
    EXPECT_EQ(QColor(0, 255, 0), shown.pixelColor(shown.width() - 1, shown.height() - 1));

    hook.calls.clear();
    menu->hide();
    EXPECT_EQ((std::vector<std::string>{"hide"}), hook.calls);
    // The next showing is a new window of the natural size again, grown once.
    Open();
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->size() == plain + QSize(4, 4); }, 2000));

    hook.calls.clear();
    m_menu.DestroyMenu();
    EXPECT_EQ((std::vector<std::string>{"destroy"}), hook.calls);
    EXPECT_TRUE(CMenuWindowHook::Uninstall(&hook));
    EXPECT_FALSE(CMenuWindowHook::Uninstall(&hook));
}

// A frame that converts its bar's first item to owner-drawn and measures it from its item data.
class OwnerFrame : public CFrameWnd {
public:
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT item) override {
        ids.push_back(item->itemID);
        item->itemWidth = 70;
        item->itemHeight = 0;
    }
    std::vector<UINT> ids;
};

TEST_F(MenuOwnerDrawTest, AFramesOwnerDrawnBarItemReachesTheFrameWithAnIdThatFindsIt) {
    auto* frame = new OwnerFrame;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0));
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, 600, "item");
    ASSERT_TRUE(bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), "&File"));
    MENUITEMINFO info{};
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_OWNERDRAW;
    ASSERT_TRUE(bar.SetMenuItemInfo(0, &info, TRUE));
    frame->SetMenu(&bar);
    frame->ShowWindow(SW_SHOW);
    QMenuBar* menuBar = frame->GetMenuBarWidget();
    ASSERT_TRUE(menuBar);
    EXPECT_EQ(70, menuBar->actionGeometry(menuBar->actions().at(0)).width());
    ASSERT_FALSE(frame->ids.empty());
    info.fMask = MIIM_SUBMENU;
    ASSERT_TRUE(bar.GetMenuItemInfo(frame->ids.at(0), &info, FALSE));
    EXPECT_EQ(bar.GetSubMenu(0)->m_hMenu, info.hSubMenu);
    frame->SetMenu(nullptr);
    frame->DestroyWindow();
}

} // namespace
