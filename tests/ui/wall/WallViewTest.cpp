#include "tests/ui/WallFixture.h"

#include "ui/wall/LcdGridCtrl.h"
#include "ui/wall/PipCtrl.h"
#include "ui/wall/PipWindow.h"
#include "ui/wall/WallCtrl.h"

#include "core/LcdWallLayout.h"
#include "core/MatrixMgr.h"
#include "core/WallModel.h"
#include "platform/gui/frame/Menu.h"
#include "platform/gui/window/Cursor.h"

#include <QTest>

namespace {

class WallViewTest : public WallFixture {
protected:
    void TearDown() override {
        CMenu::SetPopupMenuHandler(nullptr);
        WallFixture::TearDown();
    }
    // Right-clicks the wall view and answers what menu (its item ids) it was offered, if any.
    std::vector<UINT> RightClickMenu() {
        std::vector<UINT> offered;
        CMenu::SetPopupMenuHandler([&](CMenu& menu, UINT flags, CPoint, CWnd* owner) -> UINT {
            EXPECT_EQ(owner, view);
            EXPECT_TRUE(flags & TPM_RIGHTBUTTON);
            for (UINT i = 0; i < menu.GetMenuItemCount(); ++i)
                offered.push_back(menu.GetMenuItemID(static_cast<int>(i)));
            return 0;
        });
        QTest::mouseClick(view->GetHostWidget(), Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
        Settle();
        return offered;
    }
};

} // namespace

TEST_F(WallViewTest, ASourceLabelsTheSelectedCellsWithTheInputEachWasSwitchedTo) {
    BuildWall();
    OpenPort();
    view->SetItemData(0, 0, 3);
    Select(0, 0, 0, 1);
    CWallCtrl ctrl(CWallModel::GetInstance(), view);
    EXPECT_EQ(ctrl.Execute("UNITSHOW", 0, TRUE), 0);
    EXPECT_EQ(Label(0, 0), "UNITSHOW[3]");
    EXPECT_EQ(Label(0, 1), "UNITSHOW");
    EXPECT_EQ(Label(1, 0), "");
    // A failed send raises nothing, so nothing is relabelled.
    wall.pty.CloseMaster();
    EXPECT_EQ(ctrl.Execute("VGA", 0, TRUE), 16);
    EXPECT_EQ(Label(0, 0), "UNITSHOW[3]");
}

TEST_F(WallViewTest, AMatrixSwitchMarksTheCellOfItsOutputRowByRowWhateverTheMap) {
    BuildWall(3, 3);
    OpenPort();
    CLcdWallLayout* layout = CWallModel::GetInstance()->GetLcdWallLayout();
    layout->SetOutput(3, 1, 1); // the map sends output 1 to the unit that output 7 stands for by number
    CMatrixMgr* matrices = CWallModel::GetInstance()->GetMatrixMgr();
    EXPECT_EQ(matrices->SetMatrix("M1", "SW", 4, 7), 0);
    EXPECT_EQ(view->GetItemData(2, 0), 4);
    // Outputs beyond the wall are ignored.
    EXPECT_EQ(matrices->SetMatrix("M1", "SW", 9, 10), 0);
    EXPECT_EQ(matrices->SetMatrix("M1", "SW", 9, 0), 0);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(view->GetItemData(row, col), row == 2 && col == 0 ? 4 : 0);
}

TEST_F(WallViewTest, RangesFollowTheSelectionAndTheWall) {
    BuildWall(4, 4);
    EXPECT_EQ(view->GetSelectedRange(), CRect(5, 5, 0, 0));
    EXPECT_EQ(view->GetWallRange(), CRect(1, 1, 4, 4));
    Select(1, 2, 3, 3);
    EXPECT_EQ(view->GetSelectedRange(), CRect(2, 3, 4, 4));
    // A click selects the cell under it, through the grid.
    view->ResetSelectedRange();
    QTest::mouseClick(view->GetHostWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(view->GetSelectedRange(), CRect(1, 1, 1, 1));
}

TEST_F(WallViewTest, GridLinesComeOffEachCoordinateByTheCellPitch) {
    BuildWall(); // cells 100 pixels wide and high, 101 with their grid line
    EXPECT_EQ(view->GetFirstCellRect(), CRect(0, 0, 100, 100));
    EXPECT_EQ(view->GetGridRect(), CRect(0, 0, 302, 201));
    EXPECT_EQ(view->RemoveGridLines(RECT{203, 102, 0, 1}), CRect(201, 101, 0, 1));

    // A wall view squeezed narrower than its columns leaves them no width: there are no lines to take off across,
    // and opening the PIP window there must not bring the program down.
    view->SetColumnWidth(0, 0);
    EXPECT_EQ(view->RemoveGridLines(RECT{203, 102, 5, 1}), CRect(203, 101, 5, 1));
    OpenPort();
    view->MoveWindow(100, 100, 6, 206, TRUE);
    view->FitToClient();
    CPoint pointer(1, 50);
    view->ClientToScreen(&pointer);
    SetCursorPosHandler([pointer]() { return POINT{pointer.x, pointer.y}; });
    EXPECT_EQ(view->GetPipCtrl()->OpenWindow(), 0);
    SetCursorPosHandler(nullptr);
    EXPECT_EQ(Sent().size(), 15u);
}

TEST_F(WallViewTest, ANewWallSizeRefitsTheCells) {
    BuildWall();
    EXPECT_EQ(CWallModel::GetInstance()->GetLcdWallLayout()->SetRowCol(3, 1), 0);
    EXPECT_EQ(view->GetRowCount(), 3);
    EXPECT_EQ(view->GetColumnCount(), 1);
    EXPECT_EQ(view->GetColumnWidth(0), 303);
    EXPECT_EQ(view->GetRowHeight(2), 67);
}

TEST_F(WallViewTest, ThePipMenuIsOfferedWhenThePipComponentIsEnabled) {
    BuildWall();
    EXPECT_EQ(RightClickMenu(),
              (std::vector<UINT>{ID_PIP_OPEN, ID_PIP_CLOSE, static_cast<UINT>(-1)})); // the source pop-up last
}

TEST_F(WallViewTest, ThePipMenuIsNotOfferedUnlessThePipComponentIsExactlyTrue) {
    BuildWall(2, 3, "TRUE");
    EXPECT_TRUE(RightClickMenu().empty());
}

TEST_F(WallViewTest, ThePipWindowShowsItsColourToTheEdgesAndItsName) {
    BuildWall();
    view->CreatePipWindow(CRect(20, 20, 120, 80), "PIP");
    QWidget* pip = view->GetPipWindow()->GetHostWidget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pip));
    const QImage shown = pip->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(100, 60));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(219, 230, 11));
    EXPECT_EQ(shown.pixel(99, 59), qRgb(219, 230, 11));
    int text = 0;
    for (int y = 6; y < 24; ++y)
        for (int x = 6; x < 40; ++x)
            text += shown.pixel(x, y) != qRgb(219, 230, 11);
    EXPECT_GT(text, 10);

    // Resized, it still shows its colour to the edges: the frame stays inside the client area.
    view->MovePipWindow(CRect(30, 20, 70, 110));
    QTest::qWait(50);
    const QImage resized = pip->grab().toImage();
    ASSERT_EQ(resized.size(), QSize(40, 90));
    EXPECT_EQ(resized.pixel(0, 89), qRgb(219, 230, 11));
    EXPECT_EQ(resized.pixel(39, 0), qRgb(219, 230, 11));
    EXPECT_EQ(resized.pixel(39, 89), qRgb(219, 230, 11));
}

TEST_F(WallViewTest, ASizeAtWhichTheOldCellsCallForAScrollBarIsFittedWithoutOne) {
    // 4 x 4 cells of 75 x 50 in 303 x 202; in 263 x 201 the old rows are too high while the columns are refitted,
    // and the scroll bar that comes for them would go again with the new rows, and so on without end.
    BuildWall(4, 4);
    CRect window, client;
    view->GetWindowRect(&window);
    view->GetClientRect(&client);
    const CSize frame(window.Width() - client.Width(), window.Height() - client.Height());
    view->MoveWindow(100, 100, 263 + frame.cx, 201 + frame.cy);
    view->GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 263, 201));
    EXPECT_EQ(view->GetColumnWidth(3), 65);
    EXPECT_EQ(view->GetRowHeight(3), 50);
    // Every size around it as well, shrinking and growing.
    for (int width = 240; width <= 330; ++width)
        for (int height = 180; height <= 230; height += 7) {
            view->MoveWindow(100, 100, width + frame.cx, height + frame.cy);
            view->GetClientRect(&client);
            EXPECT_EQ(client, CRect(0, 0, width, height));
            EXPECT_EQ(view->GetColumnWidth(0), width / 4);
            EXPECT_EQ(view->GetRowHeight(0), height / 4);
        }
}
