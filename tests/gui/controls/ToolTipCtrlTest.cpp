#include "platform/gui/controls/ToolTipCtrl.h"
#include "platform/gui/window/Cursor.h"
#include "tests/support/PointerMove.h"

#include <QTest>
#include <QToolTip>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A window that hands its messages to its tool tip before handling them, as the skinned buttons do.
class TipOwner : public CWnd {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (m_tip.m_hWnd)
            m_tip.RelayEvent(pMsg);
        return CWnd::PreTranslateMessage(pMsg);
    }
    CToolTipCtrl m_tip;
};

class ToolTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = SetCursorPosHandler([this]() { return m_cursor; });
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "tips", WS_POPUP | WS_VISIBLE, CRect(100, 100, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), &m_frame, 1));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame.GetHostWidget()));
        ASSERT_TRUE(m_owner.m_tip.Create(&m_owner));
        m_owner.m_tip.SetDelayTime(TTDT_INITIAL, 20);
    }
    void TearDown() override {
        QToolTip::hideText();
        SetCursorPosHandler(m_previous);
    }

    // Moves the cursor to a client point of the owner and lets the owner see the move.
    void MoveTo(int x, int y) {
        POINT screen{x, y};
        m_owner.ClientToScreen(&screen);
        m_cursor = screen;
        EXPECT_TRUE(MovePointer(m_owner.GetHostWidget(), QPoint(x, y)));
    }
    bool TipShows(const QString& text, int timeout = 1000) {
        return QTest::qWaitFor([&]() { return QToolTip::isVisible() && QToolTip::text() == text; }, timeout);
    }

    CWnd m_frame;
    TipOwner m_owner;
    POINT m_cursor{0, 0};
    CursorPosHandler m_previous;
};

TEST_F(ToolTipTest, RestingOnAToolShowsItsTextAndAClickPutsItAway) {
    ASSERT_TRUE(m_owner.m_tip.AddTool(&m_owner, "Switch the wall"));
    EXPECT_EQ(m_owner.m_tip.GetToolCount(), 1);
    MoveTo(20, 10);
    ASSERT_TRUE(TipShows("Switch the wall"));
    EXPECT_TRUE(m_owner.m_tip.IsTipShown());

    QTest::mousePress(m_owner.GetHostWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QTest::mouseRelease(m_owner.GetHostWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_FALSE(m_owner.m_tip.IsTipShown());
    // Moving on within the same tool after a click brings no tip back.
    MoveTo(25, 12);
    QTest::qWait(150);
    EXPECT_FALSE(m_owner.m_tip.IsTipShown());
}

TEST_F(ToolTipTest, ADeactivatedTipNeverShowsAndDeactivatingHidesIt) {
    ASSERT_TRUE(m_owner.m_tip.AddTool(&m_owner, "Scene"));
    m_owner.m_tip.Activate(FALSE);
    MoveTo(20, 10);
    QTest::qWait(150);
    EXPECT_FALSE(m_owner.m_tip.IsTipShown());

    m_owner.m_tip.SendMessage(TTM_ACTIVATE, TRUE, 0);
    // Activation alone shows nothing; the next visit to the tool does.
    m_cursor = POINT{0, 0};
    QTest::qWait(400);
    MoveTo(30, 15);
    ASSERT_TRUE(TipShows("Scene"));
    m_owner.m_tip.Activate(FALSE);
    EXPECT_FALSE(m_owner.m_tip.IsTipShown());
}

TEST_F(ToolTipTest, RectangleToolsShowOnlyInsideTheirRectangleAndHideWhenTheCursorLeaves) {
    const CRect left(0, 0, 50, 30);
    const CRect right(50, 0, 100, 30);
    ASSERT_TRUE(m_owner.m_tip.AddTool(&m_owner, "Left", &left, 1));
    ASSERT_TRUE(m_owner.m_tip.AddTool(&m_owner, "Right", &right, 2));
    MoveTo(70, 10);
    ASSERT_TRUE(TipShows("Right"));
    MoveTo(10, 10);
    ASSERT_TRUE(TipShows("Left"));

    // The cursor leaves the window without a relayed move: the tip goes anyway.
    m_cursor = POINT{0, 0};
    EXPECT_TRUE(QTest::qWaitFor([&]() { return !m_owner.m_tip.IsTipShown(); }, 1000));
}

TEST_F(ToolTipTest, MaximumWidthWrapsAtSpacesAndNewTextShowsAtOnce) {
    EXPECT_EQ(m_owner.m_tip.SetMaxTipWidth(400), -1);
    EXPECT_EQ(m_owner.m_tip.SendMessage(TTM_SETMAXTIPWIDTH, 0, 1), 400);
    ASSERT_TRUE(m_owner.m_tip.AddTool(&m_owner, "one two  three"));
    MoveTo(20, 10);
    // Each word is wider than one pixel: one word a line, never cut inside a word.
    ASSERT_TRUE(TipShows("one\ntwo\nthree"));

    m_owner.m_tip.SetMaxTipWidth(-1);
    m_owner.m_tip.UpdateTipText("\xC6\xB4\xBD\xD3 wall", &m_owner); // GBK text
    EXPECT_TRUE(TipShows(QString::fromUtf8("拼接 wall"), 200));
    CString text;
    m_owner.m_tip.GetText(text, &m_owner);
    EXPECT_STREQ(text, "\xC6\xB4\xBD\xD3 wall");
}

TEST_F(ToolTipTest, BadArgumentsAreRefusedQuietly) {
    EXPECT_FALSE(m_owner.m_tip.AddTool(nullptr, "x"));
    EXPECT_EQ(m_owner.m_tip.SendMessage(TTM_ADDTOOL, 0, 0), FALSE);
    m_owner.m_tip.SendMessage(TTM_RELAYEVENT, 0, 0);
    m_owner.m_tip.SendMessage(TTM_UPDATETIPTEXT, 0, 0);
    m_owner.m_tip.UpdateTipText("no tool", &m_frame);
    EXPECT_EQ(m_owner.m_tip.GetToolCount(), 0);

    // A tool whose window is gone shows nothing.
    CWnd gone;
    ASSERT_TRUE(gone.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &m_frame, 2));
    ASSERT_TRUE(m_owner.m_tip.AddTool(&gone, "gone"));
    MSG msg{&gone, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2), 0, POINT{0, 0}};
    gone.DestroyWindow();
    m_owner.m_tip.RelayEvent(&msg);
    QTest::qWait(100);
    EXPECT_FALSE(m_owner.m_tip.IsTipShown());
}

} // namespace
