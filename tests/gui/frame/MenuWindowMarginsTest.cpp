#include "platform/gui/frame/Menu.h"
#include "platform/gui/frame/MenuWindowHook.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Keeps a band of 3 pixels around the items, as a hook that frames its menus does.
class BandHook : public CMenuWindowHook {
public:
    void OnWindowPosChanging(CMenuWindow*, WINDOWPOS* pos) override {
        pos->cx += 6;
        pos->cy += 6;
    }
    void OnNcCalcSize(CMenuWindow*, LPRECT client) override { InflateRect(client, -3, -3); }
};

class MenuWindowMarginsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_menu.CreatePopupMenu());
        m_menu.AppendMenu(MF_STRING, 100, "first item");
        m_menu.AppendMenu(MF_STRING, 101, "second");
    }
    QRect ShowFirstItem() {
        QMenu* menu = m_menu.m_hMenu;
        menu->popup(QPoint(40, 40));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
        const QRect item = menu->actionGeometry(menu->actions().at(0));
        m_size = menu->size();
        menu->hide();
        return item;
    }

    CMenu m_menu;
    QSize m_size;
};

// A menu that can tell how many connections watch for its destruction.
class WatchedMenu : public QMenu {
public:
    int DestroyWatchers() const { return receivers(SIGNAL(destroyed(QObject*))); }
};

TEST_F(MenuWindowMarginsTest, ItemsMoveWithTheBandAHookKeepsAndBackWhenItGoes) {
    const QRect plain = ShowFirstItem();
    const QSize natural = m_size;
    BandHook hook;
    ASSERT_TRUE(CMenuWindowHook::Install(&hook));
    EXPECT_EQ(plain.translated(3, 3), ShowFirstItem());
    EXPECT_EQ(natural + QSize(6, 6), m_size);
    // Shown again with the band, and once more without it.
    EXPECT_EQ(plain.translated(3, 3), ShowFirstItem());
    ASSERT_TRUE(CMenuWindowHook::Uninstall(&hook));
    EXPECT_EQ(plain, ShowFirstItem());
    EXPECT_EQ(natural, m_size);
}

TEST_F(MenuWindowMarginsTest, AMenuShownAgainAndAgainIsWatchedForItsEndOnlyOnce) {
    WatchedMenu menu;
    menu.addAction("item");
    // Qt keeps watches of its own once the menu has been on the screen.
    menu.popup(QPoint(40, 40));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    menu.hide();
    const int own = menu.DestroyWatchers();
    BandHook hook;
    ASSERT_TRUE(CMenuWindowHook::Install(&hook));
    for (int i = 1; i <= 5; ++i) {
        menu.popup(QPoint(40, 40));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
        const int shown = menu.DestroyWatchers();
        menu.hide();
        EXPECT_EQ(own + 1, shown) << i;
        EXPECT_EQ(own, menu.DestroyWatchers()) << i;
    }
    ASSERT_TRUE(CMenuWindowHook::Uninstall(&hook));
}

} // namespace
