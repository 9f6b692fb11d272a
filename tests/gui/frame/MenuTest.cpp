#include "platform/gui/frame/Menu.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/Wnd.h"
#include "platform/os/LastError.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

const MenuTemplate kMenus[] = {
    {9301,
     {
         {"WALL",
          0,
          MF_POPUP,
          {
              {"Open PIP window", 32793, 0},
              {"Close PIP window", 32794, MF_GRAYED},
              {nullptr, 0, MF_SEPARATOR},
              {"PIP source", 0, MF_POPUP, {{"VIDEO1", 32809, 0}, {"VGA", 32811, MF_CHECKED}}},
          }},
         {"PIP WINDOW", 0, MF_POPUP, {{"CLOSE", 32795, 0}}},
     }},
};

// A window that records the commands and pop-up announcements it gets.
class Owner : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(LOWORD(static_cast<uint32_t>(wParam)));
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITMENUPOPUP)
            popups.push_back(reinterpret_cast<HMENU>(wParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> commands;
    std::vector<HMENU> popups;
};

class MenuTest : public testing::Test {
protected:
    void SetUp() override {
        CResourceTable::AddMenus(kMenus);
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPED, CRect(0, 0, 200, 200), nullptr, 0));
    }
    void TearDown() override { CMenu::SetPopupMenuHandler(nullptr); }

    Owner m_owner;
};

} // namespace

TEST_F(MenuTest, ALoadedMenuKeepsItsItemsIdsAndStates) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(9301));
    EXPECT_FALSE(CMenu().LoadMenu(4711));
    ASSERT_EQ(menu.GetMenuItemCount(), 2u);
    CMenu* wall = menu.GetSubMenu(0);
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->GetMenuItemCount(), 4u);
    EXPECT_EQ(wall->GetMenuItemID(0), 32793u);
    EXPECT_EQ(wall->GetMenuItemID(2), 0u);                    // separator
    EXPECT_EQ(wall->GetMenuItemID(3), static_cast<UINT>(-1)); // pop-up
    EXPECT_EQ(wall->GetMenuItemID(9), static_cast<UINT>(-1)); // outside
    EXPECT_EQ(menu.GetMenuState(32794, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(menu.GetMenuState(32811, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED); // found in a pop-up's pop-up
    EXPECT_EQ(menu.GetMenuState(4711, MF_BYCOMMAND), static_cast<UINT>(-1));

    CString text;
    wall->GetMenuString(3, text, MF_BYPOSITION);
    EXPECT_EQ(text, "PIP source");
    EXPECT_EQ(menu.EnableMenuItem(32794, MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(menu.EnableMenuItem(32794, MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(menu.CheckMenuItem(32811, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(menu.EnableMenuItem(4711, MF_GRAYED), static_cast<UINT>(-1));

    // Item data and owner-drawn types survive, as the skinned menus keep their measurements there.
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE | MIIM_DATA;
    info.fType = MFT_OWNERDRAW;
    info.dwItemData = 0x00450014;
    ASSERT_TRUE(wall->SetMenuItemInfo(0, &info, TRUE));
    MENUITEMINFO back{};
    back.cbSize = sizeof back;
    back.fMask = MIIM_TYPE | MIIM_DATA | MIIM_ID;
    ASSERT_TRUE(wall->GetMenuItemInfo(32793, &back));
    EXPECT_EQ(back.fType & MFT_OWNERDRAW, MFT_OWNERDRAW);
    EXPECT_EQ(back.dwItemData, 0x00450014u);
    EXPECT_EQ(back.wID, 32793u);
}

TEST_F(MenuTest, DestroyingAMenuDestroysItsPopupsAndTheirHandlesGoBad) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(9301));
    HMENU popup = menu.GetSubMenu(0)->m_hMenu;
    EXPECT_TRUE(IsMenu(popup));
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(IsMenu(popup));
    EXPECT_EQ(menu.m_hMenu, nullptr);
}

TEST_F(MenuTest, APopupPostsTheChosenCommandToItsOwnerAfterAnnouncingItself) {
    CMenu menu;
    menu.LoadMenu(9301);
    CMenu* wall = menu.GetSubMenu(0);
    CPoint shownAt;
    CMenu::SetPopupMenuHandler([&](CMenu& shown, UINT, CPoint point, CWnd*) -> UINT {
        shownAt = point;
        return shown.GetSubMenu(3)->GetMenuItemID(1);
    });
    EXPECT_TRUE(wall->TrackPopupMenu(TPM_RIGHTBUTTON, 40, 50, &m_owner));
    ASSERT_EQ(m_owner.popups.size(), 1u);
    EXPECT_EQ(m_owner.popups[0], wall->m_hMenu);
    EXPECT_EQ(shownAt, CPoint(40, 50));
    EXPECT_TRUE(m_owner.commands.empty()); // posted, not sent
    QApplication::processEvents();
    EXPECT_EQ(m_owner.commands, std::vector<UINT>{32811});
}

// The real pop-up: Qt's menu opens at the point and the operator chooses with the keys, through a sub-menu.
TEST_F(MenuTest, ThePopupOpensAtThePointAndKeysChooseThroughASubMenu) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(9301));
    CMenu* wall = menu.GetSubMenu(0);
    m_owner.ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_owner.GetHostWidget()));

    // Down twice passes over the grayed item and the separator to "PIP source"; Right opens it on "VIDEO1".
    const std::vector<Qt::Key> keys{Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Return};
    size_t next = 0;
    QPoint openedAt;
    QTimer hand;
    QObject::connect(&hand, &QTimer::timeout, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup || next >= keys.size())
            return;
        if (next == 0)
            openedAt = popup->geometry().topLeft();
        QTest::keyClick(popup->windowHandle(), keys[next++]);
    });
    hand.start(100);
    QTimer::singleShot(8000, &hand, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    EXPECT_TRUE(wall->TrackPopupMenu(TPM_RIGHTBUTTON, 40, 50, &m_owner));
    hand.stop();
    EXPECT_EQ(next, keys.size());
    EXPECT_EQ(openedAt, QPoint(40, 50));
    EXPECT_EQ(m_owner.popups, (std::vector<HMENU>{wall->m_hMenu, wall->GetSubMenu(3)->m_hMenu}));
    QApplication::processEvents();
    EXPECT_EQ(m_owner.commands, std::vector<UINT>{32811});

    // Alignments other than the top-left corner are refused rather than ignored.
    EXPECT_FALSE(wall->TrackPopupMenu(TPM_RIGHTALIGN, 40, 50, &m_owner));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

TEST_F(MenuTest, ReturnCmdGivesTheIdAndDismissingChoosesNothing) {
    CMenu menu;
    menu.LoadMenu(9301);
    UINT answer = 32795;
    CMenu::SetPopupMenuHandler([&](CMenu&, UINT, CPoint, CWnd*) { return answer; });
    EXPECT_EQ(menu.GetSubMenu(1)->TrackPopupMenu(TPM_RETURNCMD, 0, 0, &m_owner), 32795);
    answer = 0;
    EXPECT_TRUE(menu.GetSubMenu(1)->TrackPopupMenu(TPM_RIGHTBUTTON, 0, 0, &m_owner));
    QApplication::processEvents();
    EXPECT_TRUE(m_owner.commands.empty());
    EXPECT_FALSE(menu.GetSubMenu(1)->TrackPopupMenu(0, 0, 0, nullptr));
}
