#include "tests/ui/WallFixture.h"

#include "ui/setup/LcdWallCtrl.h"
#include "ui/wall/LcdGridCtrl.h"
#include "ui/wall/PipCtrl.h"
#include "ui/wall/PipWindow.h"

#include "core/ErrorMessage.h"
#include "core/LcdWallLayout.h"
#include "core/WallModel.h"
#include "platform/gui/frame/Menu.h"
#include "platform/gui/window/Cursor.h"
#include "tests/support/PaintLog.h"

#include <QTest>

namespace {

// The wall of 2 x 3 cells of 101 pixels (100 wide and high, grid lines apart) at 1920 x 1080 a unit: a cell's
// pixel is 19.2 output pixels across and 10.8 down.
class PipTest : public WallFixture {
protected:
    void SetUp() override {
        WallFixture::SetUp();
        BuildWall();
        OpenPort();
    }
    void TearDown() override {
        SetCursorPosHandler(nullptr);
        CMenu::SetPopupMenuHandler(nullptr);
        WallFixture::TearDown();
    }
    // The pointer rests on a point of the wall view's client area.
    void PointerAt(int x, int y) {
        CPoint p(x, y);
        view->ClientToScreen(&p);
        SetCursorPosHandler([p]() { return POINT{p.x, p.y}; });
    }
    // The operator drags the PIP window with the left button from one of its client points by an offset.
    void Drag(QPoint from, QPoint by) {
        QWidget* w = view->GetPipWindow()->GetHostWidget();
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(w, from + by);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, from + by);
        Settle();
    }
    int Open(int x, int y) {
        PointerAt(x, y);
        return view->GetPipCtrl()->OpenWindow();
    }
    CPipCtrl* pip() { return view->GetPipCtrl(); }
};

} // namespace

TEST_F(PipTest, OpeningSendsTheWindowUnderThePointerAndASecondOpenSendsNothing) {
    EXPECT_EQ(Open(150, 50), 0);
    EXPECT_EQ(Sent(), PipFrame(kCodePipOpen, 2860, 540, 960, 540));
    ASSERT_TRUE(view->HasPipWindow());
    EXPECT_EQ(view->GetPipWindowRect(), CRect(150, 50, 200, 100));
    EXPECT_EQ(view->GetPipRect(), CRect(150, 50, 200, 100));
    EXPECT_EQ(Open(10, 10), 0);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(view->GetPipWindowRect(), CRect(150, 50, 200, 100));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(PipTest, OpeningNearTheEdgeShiftsTheWindowInsideAndAFailedOpenMakesNoWindow) {
    EXPECT_EQ(Open(290, 190), 0);
    EXPECT_EQ(view->GetPipWindowRect(), CRect(252, 151, 302, 201));
    EXPECT_EQ(Sent(), PipFrame(kCodePipOpen, 4800, 1620, 960, 540));
    EXPECT_EQ(pip()->CloseWindow(), 0);
    Sent();
    wall.pty.CloseMaster();
    EXPECT_EQ(Open(150, 50), 16);
    EXPECT_FALSE(view->HasPipWindow());
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(PipTest, ADragSendsTheNewPlaceAndAFailedOneSendsTheWindowBack) {
    ASSERT_EQ(Open(150, 50), 0);
    Sent();
    Drag(QPoint(25, 25), QPoint(100, 100));
    EXPECT_EQ(Sent(), PipFrame(kCodePipMove, 0x1299, 0x649, 960, 540));
    EXPECT_EQ(view->GetPipWindowRect(), CRect(250, 150, 300, 200));
    EXPECT_EQ(view->GetPipRect(), CRect(250, 150, 300, 200));
    EXPECT_EQ(view->GetPipWindow()->GetMoveSizeState(), 1);

    // Dragged past the grid's corner: it goes back inside, keeping its size.
    Drag(QPoint(25, 25), QPoint(50, 50));
    EXPECT_EQ(Sent(), PipFrame(kCodePipMove, 4800, 1620, 960, 540));
    EXPECT_EQ(view->GetPipWindowRect(), CRect(252, 151, 302, 201));

    // Refused: the window is back before the box shows.
    wall.pty.CloseMaster();
    CRect atBox;
    boxes.whenShown = [&] { atBox = view->GetPipWindowRect(); };
    Drag(QPoint(25, 25), QPoint(-200, -100));
    EXPECT_EQ(view->GetPipWindowRect(), CRect(252, 151, 302, 201));
    EXPECT_EQ(atBox, CRect(252, 151, 302, 201));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(PipTest, AResizeBelowAFifthOfACellKeepsTheEdgeThatStayedAndAFrameOutsideIsBroughtBack) {
    ASSERT_EQ(Open(150, 50), 0);
    Sent();
    // The right edge dragged to 5 pixels from the left one: the left edge stays, the width is 100 / 5.
    Drag(QPoint(48, 25), QPoint(-45, 0));
    EXPECT_EQ(view->GetPipWindow()->GetMoveSizeState(), 2);
    EXPECT_EQ(view->GetPipWindowRect(), CRect(150, 50, 170, 100));
    EXPECT_EQ(Sent(), PipFrame(kCodePipMove, 2860, 540, 384, 540));
    // A press and release that moves nothing repeats the last report: the window's state stays.
    Drag(QPoint(10, 25), QPoint(0, 0));
    EXPECT_EQ(Sent(), PipFrame(kCodePipMove, 2860, 540, 384, 540));
    EXPECT_EQ(view->GetPipWindow()->GetMoveSizeState(), 2);
    // The left edge dragged towards the right one: the right edge stays.
    Drag(QPoint(1, 25), QPoint(17, 0));
    EXPECT_EQ(view->GetPipWindowRect(), CRect(150, 50, 170, 100));
    Sent();

    // The left edge dragged past the grid's: it stops at the grid's edge with no negative pixel, and the right
    // edge, which the operator did not drag, stays.
    Drag(QPoint(1, 25), QPoint(-170, 0));
    EXPECT_EQ(view->GetPipWindowRect(), CRect(0, 50, 170, 100));
    EXPECT_EQ(Sent(), PipFrame(kCodePipMove, 0, 540, 3244, 540));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(PipTest, AResizePastTheGridsRightOrBottomEdgeStopsThereAndKeepsTheOppositeEdge) {
    ASSERT_EQ(Open(150, 50), 0);
    Sent();
    // The right edge 150 pixels out, past the grid's right edge at 302: the left edge stays at 150.
    Drag(QPoint(48, 25), QPoint(150, 0));
    EXPECT_EQ(view->GetPipWindowRect(), CRect(150, 50, 302, 100));
    EXPECT_EQ(view->GetPipRect(), CRect(150, 50, 302, 100));
    EXPECT_EQ(Sent(), PipFrame(kCodePipMove, 2860, 540, 2900, 540));
    // The bottom edge past the grid's bottom at 201: the top stays at 50.
    Drag(QPoint(25, 48), QPoint(0, 200));
    EXPECT_EQ(view->GetPipWindowRect(), CRect(150, 50, 302, 201));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(PipTest, AfterTheWallViewShrankAndGrewTheWindowStandsOnTheSamePartOfTheWallAndADragThereStaysOnTheWall) {
    ASSERT_EQ(Open(150, 50), 0);
    Sent();
    // The main window shrinks: the wall view's client is now 45 x 30, cells of 15 pixels (14 and a line). The
    // window covers (2860, 540) to (3820, 1080) of the wall there too: the nearest pixels of the smaller cells.
    view->MoveWindow(100, 100, 49, 34, TRUE);
    Settle();
    EXPECT_EQ(view->GetPipWindowRect(), CRect(22, 7, 29, 14));
    EXPECT_EQ(view->GetPipRect(), CRect(22, 7, 29, 14));
    // Grown back, it stands where it was opened: the wall's rectangle, not the small one, is what it follows.
    view->MoveWindow(100, 100, 307, 206, TRUE);
    Settle();
    EXPECT_EQ(view->GetPipWindowRect(), CRect(150, 50, 200, 100));
    EXPECT_TRUE(Sent().empty());

    // Shrunk to half and dragged far past the grid's corner: it goes to the far corner of the 3 x 2 screens,
    // 4819 + 941 = 3 x 1920 across and 1631 + 529 = 2 x 1080 down.
    view->MoveWindow(100, 100, 155, 105, TRUE);
    Settle();
    Drag(QPoint(12, 12), QPoint(200, 200));
    EXPECT_EQ(Sent(), PipFrame(kCodePipMove, 4819, 1631, 941, 529));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(PipTest, AWallMadeSmallerThatCannotBeToldWhereTheWindowGoesClosesItBeforeTheFailureShows) {
    // Opened on unit (2, 3), which a wall of one unit does not have.
    ASSERT_EQ(Open(250, 150), 0);
    wall.pty.CloseMaster();
    bool windowAtBox = true;
    boxes.whenShown = [&] { windowAtBox = view->HasPipWindow(); };
    ASSERT_EQ(CWallModel::GetInstance()->GetLcdWallLayout()->SetRowCol(1, 1), 0);
    EXPECT_FALSE(view->HasPipWindow());
    EXPECT_FALSE(windowAtBox);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(PipTest, TheWindowsOwnCloseAndTheSourceCommandsGoToTheWholeWall) {
    // A source change with no PIP window still goes out.
    view->SendMessage(WM_COMMAND, ID_PIP_SOURCE_VGA, 0);
    EXPECT_EQ(Sent(), PipFrame(kCodePipSourceVga, 0, 0, 0, 0));

    ASSERT_EQ(Open(150, 50), 0);
    Sent();
    std::vector<UINT> offered;
    CMenu::SetPopupMenuHandler([&](CMenu& menu, UINT, CPoint, CWnd* owner) -> UINT {
        for (UINT i = 0; i < menu.GetMenuItemCount(); ++i)
            offered.push_back(menu.GetMenuItemID(static_cast<int>(i)));
        EXPECT_EQ(owner, view->GetPipWindow());
        return ID_PIPWND_CLOSE;
    });
    QTest::mouseClick(view->GetPipWindow()->GetHostWidget(), Qt::RightButton, Qt::NoModifier, QPoint(25, 25));
    Settle();
    EXPECT_EQ(offered, std::vector<UINT>{ID_PIPWND_CLOSE});
    EXPECT_EQ(Sent(), PipFrame(kCodePipClose, 0, 0, 0, 0));
    EXPECT_FALSE(view->HasPipWindow());

    // Closing without a window still tells the wall; a failed close keeps the window.
    EXPECT_EQ(pip()->CloseWindow(), 0);
    EXPECT_EQ(Sent(), PipFrame(kCodePipClose, 0, 0, 0, 0));
    ASSERT_EQ(Open(150, 50), 0);
    wall.pty.CloseMaster();
    EXPECT_EQ(pip()->CloseWindow(), 16);
    EXPECT_TRUE(view->HasPipWindow());
}

TEST_F(PipTest, TheClampKeepsAWindowWithinTheGridsSize) {
    ASSERT_EQ(Open(150, 50), 0);
    const RECT grid{0, 0, 302, 201};
    EXPECT_EQ(CRect(pip()->ClampRect(RECT{-50, 20, 400, 80}, grid)), CRect(0, 20, 302, 80));
    EXPECT_EQ(CRect(pip()->ClampRect(RECT{10, -30, 60, 260}, grid)), CRect(10, 0, 60, 201));
    // Within the sizes a window partly outside is left where it is: moving it in is the caller's.
    EXPECT_EQ(CRect(pip()->ClampRect(RECT{-10, 20, 40, 80}, grid)), CRect(-10, 20, 40, 80));
    // Shorter than a quarter of a cell, with the top edge moved: the bottom stays.
    EXPECT_EQ(CRect(pip()->ClampRect(RECT{150, 95, 200, 100}, grid)), CRect(150, 75, 200, 100));
    // Every edge is tested on the rectangle as it came: one wider than the grid ends on its far edge.
    EXPECT_EQ(CRect(CPipCtrl::ShiftIntoRect(RECT{-400, -5, 400, 30}, grid)), CRect(-498, 0, 302, 35));
}

TEST_F(PipTest, AResolutionThatLeavesTheWindowOffTheWallMovesItOntoTheWallAndTellsTheWall) {
    // Opened on unit (2, 3) at 1920 x 1080 a unit; at 1024 x 768 the wall is only 3072 x 1536 pixels.
    ASSERT_EQ(Open(250, 150), 0);
    Sent();
    CLcdWallCtrl ctrl(CWallModel::GetInstance(), view);
    ASSERT_NE(ctrl.SetResolution(0), kResultInvalidParam);
    const std::vector<unsigned char> frame = Sent();
    ASSERT_EQ(frame.size(), 15u);
    EXPECT_EQ(frame[3], kCodePipMove);
    const auto value = [&](int i) { return frame[6 + 2 * i] << 8 | frame[7 + 2 * i]; };
    EXPECT_LE(value(0) + value(2), 3 * 1024);
    EXPECT_LE(value(1) + value(3), 2 * 768);
    const CRect grid = view->GetGridRect();
    const CRect window = view->GetPipWindowRect();
    EXPECT_TRUE(window.left >= grid.left && window.top >= grid.top && window.right <= grid.right &&
                window.bottom <= grid.bottom)
        << window << " on " << grid;
}

// The focus shows in the dotted frame alone: taking and losing it repaints the frame's lines, not the face.
TEST_F(PipTest, TheFocusComingAndGoingRepaintsOnlyTheFocusFrame) {
    ASSERT_EQ(Open(150, 50), 0);
    CWnd* window = view->GetPipWindow();
    Settle();
    PaintLog log;
    window->SetFocus();
    Settle();
    view->SetFocus();
    Settle();
    EXPECT_FALSE(log.All(window->GetHostWidget()).isEmpty());
    EXPECT_TRUE(OnlyLines(log.All(window->GetHostWidget())));
}
