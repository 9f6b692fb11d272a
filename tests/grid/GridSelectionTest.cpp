#include "GridTestSupport.h"

#include "platform/gui/data/OleDataSource.h"
#include "platform/gui/draw/SysColor.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A cell that never takes the selected mark.
class CUnselectableCell : public CGridCell {
    DECLARE_DYNCREATE(CUnselectableCell)
public:
    void SetState(DWORD nState) override { CGridCell::SetState(nState & ~GCS_SELECTED); }
};
IMPLEMENT_DYNCREATE(CUnselectableCell, CGridCell)

// A grid whose owner gave one position no cell.
class GridWithAHole : public TestGrid {
public:
    using TestGrid::TestGrid;

protected:
    CGridCellBase* CreateCell(int nRow, int nCol) override {
        return (nRow == 5 && nCol == 5) ? nullptr : TestGrid::CreateCell(nRow, nCol);
    }
};

} // namespace

TEST(GridSelection, CellsThatRefuseTheMarkOrPositionsWithoutACellStayOutOfEveryBlock) {
    TestGrid grid(12, 12, 1, 1);
    const std::unique_ptr<CGridCellBase> replaced(grid.GetCell(3, 3)); // SetCell leaves the old object alone
    grid.SetCell(3, 3, new CUnselectableCell);
    grid.SelectAllCells();
    EXPECT_FALSE(grid.IsCellSelected(3, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 11u * 11u - 1u);
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
    grid.SetSelectedRange(3, 1, 3, 11); // the row alone, without the cell that refuses
    EXPECT_EQ(grid.GetSelectedCount(), 10u);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(3, 1, 3, 11));

    GridWithAHole holed; // its cells are made once its own CreateCell is in place
    holed.SetRowCount(12);
    holed.SetColumnCount(12);
    holed.SetFixedRowCount(1);
    holed.SetFixedColumnCount(1);
    ASSERT_EQ(holed.GetCell(5, 5), nullptr);
    holed.SelectAllCells();
    EXPECT_FALSE(holed.IsCellSelected(5, 5));
    EXPECT_EQ(holed.GetSelectedCount(), 11u * 11u - 1u);
    holed.SetSelectedRange(5, 5, 5, 11);
    EXPECT_EQ(holed.GetSelectedCount(), 6u);
    EXPECT_EQ(holed.GetSelectedCellRange(), CCellRange(5, 6, 5, 11));
}

TEST(GridSelection, ACellPutInPlaceBringsItsSelectedMarkWithIt) {
    TestGrid grid(10, 10, 1, 1);
    grid.SelectAllCells();
    grid.SetItemState(7, 7, 0);
    // An owner swaps a selected and an unselected cell, as a sort of its own would: the marks move with them.
    CGridCellBase* selected = grid.GetCell(2, 2);
    CGridCellBase* unselected = grid.GetCell(7, 7);
    grid.SetCell(2, 2, unselected);
    grid.SetCell(7, 7, selected);
    EXPECT_FALSE(grid.IsCellSelected(2, 2));
    EXPECT_TRUE(grid.IsCellSelected(7, 7));
    EXPECT_EQ(grid.GetSelectedCount(), 80u);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, 9, 9));
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
}

TEST(GridSelection, ABlockThatEndsBeyondTheGridClearsTheOldSelectionOnTheScreenToo) {
    TestGrid grid(6, 6, 1, 1);
    SizeAll(grid, 40, 20);
    ASSERT_TRUE(CreateGridWindow(grid, 300, 200));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.GetHostWidget()));
    grid.SetSelectedRange(3, 3, 4, 4);
    grid.UpdateWindow();
    ASSERT_EQ(PixelAt(grid, 125, 65), GetSysColor(COLOR_HIGHLIGHT));

    // The block selects nothing, and the cells it clears inside its bounds must not stay drawn selected.
    grid.SetSelectedRange(3, 3, 9, 9);
    grid.UpdateWindow();
    EXPECT_EQ(grid.GetSelectedCount(), 0u);
    EXPECT_EQ(PixelAt(grid, 125, 65), GetSysColor(COLOR_WINDOW));
}

TEST(GridSelection, ACopyOfEverythingLessOneCellLeavesThatFieldEmpty) {
    TestGrid grid(4, 30, 1, 1); // 3 rows of 29 cells: more than a handful, so the block is kept whole
    for (int row = 1; row < 4; row++)
        for (int col = 1; col < 30; col++)
            grid.SetItemText(row, col, (std::to_string(row) + "." + std::to_string(col)).c_str());
    grid.SelectAllCells();
    grid.SetSelectedRange(2, 3, 2, 3, FALSE, FALSE);
    const std::unique_ptr<COleDataSource> source(grid.CopyTextFromGrid());
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(source->HasText());
    const std::string text = source->TextBlock().c_str();
    std::string expected;
    for (int row = 1; row < 4; row++) {
        for (int col = 1; col < 30; col++) {
            if (col > 1)
                expected += "\t";
            if (row != 2 || col != 3)
                expected += std::to_string(row) + "." + std::to_string(col);
        }
        if (row < 3)
            expected += "\r\n";
    }
    EXPECT_EQ(text, expected);
}

TEST(GridSelection, TextsWrittenIntoASelectedBlockLeaveItSelectedAndMarkTheCellsModified) {
    TestGrid grid(10, 10, 1, 1);
    grid.SetModified(FALSE);
    grid.SelectAllCells();
    grid.SetItemText(3, 3, "written");
    grid.SetItemData(4, 4, 7);
    EXPECT_EQ(grid.GetItemState(3, 3), GCS_SELECTED | GCS_MODIFIED);
    EXPECT_EQ(grid.GetItemState(4, 4), GCS_SELECTED | GCS_MODIFIED);
    EXPECT_EQ(grid.GetItemState(5, 5), GCS_SELECTED);
    EXPECT_EQ(grid.GetSelectedCount(), 81u);
    grid.SetSelectedRange(-1, -1, -1, -1);
    EXPECT_EQ(grid.GetItemState(3, 3), GCS_MODIFIED);
    EXPECT_TRUE(grid.GetModified());
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
}
