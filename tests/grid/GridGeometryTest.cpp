#include "GridTestSupport.h"

#include "tests/support/MessageBoxRecorder.h"

#include "platform/gui/draw/Font.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <functional>

TEST(GridShape, FixedCountsFollowTheCounts) {
    TestGrid grid(4, 4, 2, 2);
    EXPECT_TRUE(grid.SetRowCount(0));
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    EXPECT_TRUE(grid.SetColumnCount(1));
    EXPECT_EQ(grid.GetFixedColumnCount(), 1);

    TestGrid small(2, 2);
    EXPECT_TRUE(small.SetFixedRowCount(3)); // grows the grid first
    EXPECT_EQ(small.GetRowCount(), 3);
    EXPECT_EQ(small.GetFixedRowCount(), 3);
    EXPECT_EQ(small.GetItemState(2, 1), GCS_FIXED | GCS_FIXEDROW);
    EXPECT_TRUE(small.SetFixedColumnCount(4));
    EXPECT_EQ(small.GetColumnCount(), 4);
    EXPECT_TRUE(small.EveryPositionHasACell());

    EXPECT_FALSE(small.SetRowCount(-1));
    EXPECT_FALSE(small.SetColumnCount(-2));
    EXPECT_FALSE(small.SetFixedRowCount(-1));
    EXPECT_EQ(small.GetRowCount(), 3);
}

TEST(GridShape, CellsLeavingTheFixedAreaTakeTheNormalColoursAgain) {
    TestGrid grid(4, 4, 2, 2);
    for (int row = 0; row < 4; row++) {
        for (int col = 0; col < 4; col++) {
            grid.GetCell(row, col)->SetBackClr(RGB(1, 2, 3));
            grid.GetCell(row, col)->SetTextClr(RGB(4, 5, 6));
        }
    }
    ASSERT_TRUE(grid.SetFixedRowCount(1));
    // Row 1 is normal now, except where a fixed column crosses it.
    EXPECT_EQ(grid.GetItemState(1, 3) & ~GCS_MODIFIED, 0u);
    EXPECT_EQ(grid.GetCell(1, 3)->GetBackClr(), CLR_DEFAULT);
    EXPECT_EQ(grid.GetCell(1, 3)->GetTextClr(), CLR_DEFAULT);
    EXPECT_EQ(grid.GetItemState(1, 0) & ~GCS_MODIFIED, GCS_FIXED | GCS_FIXEDCOL);
    EXPECT_EQ(grid.GetCell(1, 0)->GetBackClr(), RGB(1, 2, 3));
    EXPECT_EQ(grid.GetCell(2, 3)->GetBackClr(), RGB(1, 2, 3)); // untouched

    ASSERT_TRUE(grid.SetFixedColumnCount(3)); // column 2 joins the headings with default colours
    EXPECT_EQ(grid.GetItemState(3, 2) & ~GCS_MODIFIED, GCS_FIXED | GCS_FIXEDCOL);
    EXPECT_EQ(grid.GetItemState(0, 2) & ~GCS_MODIFIED, GCS_FIXED | GCS_FIXEDROW | GCS_FIXEDCOL);
    EXPECT_EQ(grid.GetCell(3, 2)->GetBackClr(), CLR_DEFAULT);
}

TEST(GridShape, InsertRowTakesOnlyNonFixedPositionsOrAppends) {
    TestGrid grid(3, 2, 1, 1);
    grid.SetItemText(1, 1, "first");
    grid.SetItemText(2, 1, "second");
    grid.SetModified(FALSE);

    EXPECT_EQ(grid.InsertRow("x", 3), -1); // the row count itself is refused
    EXPECT_EQ(grid.InsertRow("x", 0), -1); // inside the fixed rows
    EXPECT_EQ(grid.GetRowCount(), 3);

    EXPECT_EQ(grid.InsertRow("middle", 2), 2);
    EXPECT_EQ(grid.GetItemText(2, 0), CString("middle"));
    EXPECT_TRUE(grid.GetItemState(2, 0) & GCS_MODIFIED);
    EXPECT_EQ(grid.GetItemState(2, 0) & ~GCS_MODIFIED, GCS_FIXED | GCS_FIXEDCOL);
    EXPECT_EQ(grid.GetItemText(3, 1), CString("second"));
    EXPECT_TRUE(grid.GetModified());

    EXPECT_EQ(grid.InsertRow(nullptr), 4);
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetRowHeight(4), grid.GetDefaultCell(TRUE, FALSE)->GetHeight());
    EXPECT_TRUE(grid.EveryPositionHasACell());
}

TEST(GridShape, InsertRowIntoAGridWithoutColumnsMakesOne) {
    TestGrid grid;
    EXPECT_EQ(grid.InsertRow("only"), 0);
    EXPECT_EQ(grid.GetColumnCount(), 1);
    EXPECT_EQ(grid.GetItemText(0, 0), CString("only"));
}

TEST(GridShape, InsertColumnAppendsAtTheColumnCount) {
    TestGrid grid(2, 2, 1, 1);
    EXPECT_EQ(grid.InsertColumn("x", DT_LEFT, 3), -1);
    EXPECT_EQ(grid.InsertColumn("x", DT_LEFT, 0), -1);
    EXPECT_EQ(grid.InsertColumn("end", DT_RIGHT, 2), 2);
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_EQ(grid.GetItemText(0, 2), CString("end"));
    EXPECT_EQ(grid.GetCell(0, 2)->GetFormat(), static_cast<DWORD>(DT_RIGHT));
    EXPECT_EQ(grid.GetCell(1, 2)->GetFormat(), static_cast<DWORD>(DT_RIGHT));

    grid.SetItemText(1, 1, "kept");
    EXPECT_EQ(grid.InsertColumn("between", DT_CENTER, 1), 1);
    EXPECT_EQ(grid.GetItemText(1, 2), CString("kept"));
    EXPECT_EQ(grid.GetItemText(0, 3), CString("end"));
    EXPECT_TRUE(grid.EveryPositionHasACell());
}

TEST(GridShape, InsertColumnIntoAnEmptyGridMakesARowForItsHeading) {
    TestGrid grid;
    ASSERT_TRUE(CreateGridWindow(grid, 200, 100));
    EXPECT_EQ(grid.InsertColumn("NAME"), 0);
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(grid.GetItemText(0, 0), CString("NAME"));
    EXPECT_EQ(grid.GetColumnWidth(0), grid.GetCell(0, 0)->GetTextExtent("NAME").cx);

    EXPECT_EQ(grid.InsertColumn(nullptr), 1); // no heading: the default cell's width
    EXPECT_EQ(grid.GetColumnWidth(1), grid.GetDefaultCell(FALSE, FALSE)->GetWidth());
}

TEST(GridShape, DeletingRowsKeepsTheFixedCountInStep) {
    TestGrid grid(5, 2, 2, 0);
    grid.SetItemText(1, 0, "heading");
    EXPECT_TRUE(grid.DeleteRow(0));
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_EQ(grid.GetItemText(0, 0), CString("heading"));
    EXPECT_FALSE(grid.DeleteRow(4));
    EXPECT_FALSE(grid.DeleteRow(-1));

    EXPECT_TRUE(grid.DeleteNonFixedRows());
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(grid.GetItemText(0, 0), CString("heading"));

    grid.SetModified(FALSE);
    EXPECT_TRUE(grid.DeleteAllItems());
    EXPECT_EQ(grid.GetRowCount() + grid.GetColumnCount() + grid.GetFixedRowCount() + grid.GetFixedColumnCount(), 0);
    EXPECT_TRUE(grid.GetModified());
    EXPECT_TRUE(grid.EveryPositionHasACell());
}

TEST(GridShape, ChangesOfShapeForgetTheSortColumn) {
    TestGrid grid(4, 4, 1, 0);
    grid.SetSortColumn(2);
    grid.SetItemText(2, 1, "other column");
    EXPECT_EQ(grid.GetSortColumn(), 2);
    grid.SetItemText(2, 2, "sorted column");
    EXPECT_EQ(grid.GetSortColumn(), -1);
    grid.SetSortColumn(2);
    grid.SetColumnCount(5);
    EXPECT_EQ(grid.GetSortColumn(), -1);
}

TEST(GridSizes, NewRowsAndColumnsTakeTheDefaultSizesAndBadIndexesGiveMinusOne) {
    TestGrid grid(2, 3, 1, 1);
    EXPECT_EQ(grid.GetRowHeight(1), grid.GetDefaultCell(FALSE, FALSE)->GetHeight());
    EXPECT_EQ(grid.GetColumnWidth(2), grid.GetDefaultCell(FALSE, TRUE)->GetWidth());
    EXPECT_EQ(grid.GetRowHeight(-1), -1);
    EXPECT_EQ(grid.GetRowHeight(2), -1);
    EXPECT_EQ(grid.GetColumnWidth(3), -1);
    EXPECT_FALSE(grid.SetRowHeight(0, -1));
    EXPECT_FALSE(grid.SetColumnWidth(3, 10));

    EXPECT_TRUE(grid.SetRowHeight(0, 22));
    EXPECT_TRUE(grid.SetRowHeight(1, 0));
    EXPECT_TRUE(grid.SetColumnWidth(0, 50));
    EXPECT_TRUE(grid.SetColumnWidth(1, 30));
    EXPECT_TRUE(grid.SetColumnWidth(2, 0));
    EXPECT_EQ(grid.GetFixedRowHeight(), 22);
    EXPECT_EQ(grid.GetVirtualHeight(), 22);
    EXPECT_EQ(grid.GetFixedColumnWidth(), 50);
    EXPECT_EQ(grid.GetVirtualWidth(), 80);
}

TEST(GridSizes, AutoSizeTakesTheWidestCellOfTheChosenRows) {
    TestGrid grid(3, 2, 1, 0);
    EXPECT_FALSE(grid.AutoSizeColumn(1)); // no window to measure on
    ASSERT_TRUE(CreateGridWindow(grid, 300, 200));
    grid.SetItemText(0, 1, "a much longer heading");
    grid.SetItemText(2, 1, "short");
    CDC* dc = grid.GetDC();
    const int heading = grid.GetCell(0, 1)->GetCellExtent(dc).cx;
    const int body = grid.GetCell(2, 1)->GetCellExtent(dc).cx;
    const int tall = grid.GetCell(2, 1)->GetCellExtent(dc).cy;
    grid.ReleaseDC(dc);
    ASSERT_GT(heading, body);

    EXPECT_TRUE(grid.AutoSizeColumn(1));
    EXPECT_EQ(grid.GetColumnWidth(1), heading);
    EXPECT_TRUE(grid.AutoSizeColumn(1, 2)); // the non-fixed rows only
    EXPECT_EQ(grid.GetColumnWidth(1), body);
    EXPECT_TRUE(grid.AutoSizeRow(2));
    EXPECT_EQ(grid.GetRowHeight(2), tall);

    grid.SetColumnWidth(0, 0); // a hidden column stays hidden
    EXPECT_FALSE(grid.AutoSizeColumn(0));
    EXPECT_EQ(grid.GetColumnWidth(0), 0);
    grid.SetRowHeight(1, 0);
    EXPECT_FALSE(grid.AutoSizeRow(1));
    EXPECT_FALSE(grid.AutoSizeColumn(5));
}

TEST(GridGeometry, ACellRectangleIsInclusive) {
    TestGrid grid(2, 2);
    SizeAll(grid, 30, 10);
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(0, 0, &rect));
    EXPECT_EQ(rect, CRect(0, 0, 29, 9));
    ASSERT_TRUE(grid.GetCellRect(1, 1, &rect));
    EXPECT_EQ(rect, CRect(30, 10, 59, 19));
    EXPECT_FALSE(grid.GetCellRect(2, 0, &rect));
    EXPECT_EQ(grid.GetPointClicked(1, 1, CPoint(35, 12)), CPoint(5, 2));
    EXPECT_EQ(grid.GetPointClicked(5, 1, CPoint(35, 12)), CPoint(0, 0));
}

TEST(GridGeometry, EveryShownCellIsHitInsideItsRectangleAndHiddenOnesNever) {
    TestGrid grid(6, 6, 1, 2);
    const int widths[] = {20, 0, 30, 0, 25, 15}, heights[] = {12, 10, 0, 14, 0, 9};
    for (int i = 0; i < 6; i++) {
        grid.SetColumnWidth(i, widths[i]);
        grid.SetRowHeight(i, heights[i]);
    }
    for (int row = 0; row < 6; row++) {
        for (int col = 0; col < 6; col++) {
            CRect rect;
            ASSERT_TRUE(grid.GetCellRect(row, col, &rect));
            if (widths[col] == 0 || heights[row] == 0) {
                // Takes no room: the rectangle is empty and its neighbour starts where it would.
                EXPECT_TRUE(rect.right < rect.left || rect.bottom < rect.top);
                continue;
            }
            for (const CPoint& corner : {CPoint(rect.left, rect.top), CPoint(rect.right, rect.top),
                                         CPoint(rect.left, rect.bottom), CPoint(rect.right, rect.bottom)})
                EXPECT_EQ(grid.GetCellFromPt(corner), CCellID(row, col)) << corner.x << "," << corner.y;
        }
    }
    // Right of the last column and below the last row nothing is hit; nor left of or above the grid.
    EXPECT_EQ(grid.GetCellFromPt(CPoint(90, 5)).col, -1);
    EXPECT_EQ(grid.GetCellFromPt(CPoint(5, 45)).row, -1);
    EXPECT_EQ(grid.GetCellFromPt(CPoint(-1, 5)), CCellID(0, -1));
    // Without fixed cells allowed, a point over a heading hits nothing in that direction.
    EXPECT_EQ(grid.GetCellFromPt(CPoint(5, 5), FALSE), CCellID());
    EXPECT_EQ(grid.GetCellFromPt(CPoint(60, 15), FALSE), CCellID(1, 4));
}

TEST(GridGeometry, CellsScrolledOutOfViewHaveNoRectangle) {
    TestGrid grid(20, 3, 1, 1);
    ASSERT_TRUE(CreateGridWindow(grid, 200, 100));
    SizeAll(grid, 40, 10);
    grid.ShowScrollBar(SB_VERT, TRUE);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 189, 80, 25, 0};
    grid.SetScrollInfo(SB_VERT, &info);

    EXPECT_EQ(grid.GetTopleftNonFixedCell(TRUE), CCellID(4, 1)); // three rows of 10 pass 25 pixels
    CRect rect;
    EXPECT_FALSE(grid.GetCellRect(3, 1, &rect));
    EXPECT_FALSE(grid.IsCellVisible(3, 1));
    ASSERT_TRUE(grid.GetCellRect(4, 1, &rect));
    EXPECT_EQ(rect, CRect(40, 10, 79, 19)); // right under the fixed row
    ASSERT_TRUE(grid.GetCellRect(3, 0, &rect) == FALSE);
    ASSERT_TRUE(grid.GetCellRect(0, 0, &rect)); // the corner never scrolls
    EXPECT_EQ(grid.GetCellFromPt(CPoint(45, 15)), CCellID(4, 1));
}

TEST(GridGeometry, TheVisibleRangeEndsAtTheClientArea) {
    TestGrid grid(30, 10, 1, 1);
    EXPECT_FALSE(grid.IsCellVisible(1, 1)); // no window
    ASSERT_TRUE(CreateGridWindow(grid, 200, 100));
    SizeAll(grid, 30, 20);

    CRect visible;
    const CCellRange range = grid.GetVisibleNonFixedCellRange(&visible, TRUE);
    // Both bars take 17 pixels: 20 + 4 * 20 passes the bottom (83) at row 4; 30 + 6 * 30 passes the right edge
    // (183) at column 6.
    EXPECT_EQ(range, CCellRange(1, 1, 4, 6));
    EXPECT_EQ(visible, CRect(0, 0, 183, 83));
    EXPECT_TRUE(grid.IsCellVisible(4, 6));
    EXPECT_FALSE(grid.IsCellVisible(5, 1));
    EXPECT_FALSE(grid.IsCellVisible(1, 7));

    grid.SetRowCount(3); // a grid shorter than the window ends at its last row
    EXPECT_EQ(grid.GetVisibleNonFixedCellRange(&visible).GetMaxRow(), 2);
    EXPECT_EQ(visible.bottom, 60);
}

TEST(GridGeometry, InvalidatingACellCoversItsGridLines) {
    TestGrid grid(3, 3);
    EXPECT_FALSE(grid.InvalidateCellRect(1, 1)); // no window
    ASSERT_TRUE(CreateGridWindow(grid, 200, 100));
    SizeAll(grid, 30, 10);
    grid.ValidateRect(nullptr);
    EXPECT_TRUE(grid.InvalidateCellRect(1, 1));
    CRect update;
    grid.GetUpdateRect(&update);
    EXPECT_EQ(update, CRect(30, 10, 60, 20));
    EXPECT_FALSE(grid.InvalidateCellRect(3, 0));
}

TEST(GridOutOfMemory, GrowingRowsKeepsTheRowsMadeAndReportsOnce) {
    MessageBoxRecorder boxes;
    TestGrid grid(0, 4);
    grid.m_cellsBeforeFailure = 10; // two rows and half of the third
    EXPECT_FALSE(grid.SetRowCount(5));
    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_TRUE(grid.EveryPositionHasACell());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].type & MB_ICONERROR);

    grid.m_cellsBeforeFailure = -1;
    EXPECT_TRUE(grid.SetRowCount(5));
    EXPECT_TRUE(grid.EveryPositionHasACell());
}

TEST(GridOutOfMemory, GrowingColumnsLeavesTheColumnsAsTheyWere) {
    MessageBoxRecorder boxes;
    TestGrid grid(3, 2);
    grid.SetItemText(2, 1, "kept");
    grid.m_cellsBeforeFailure = 4;
    EXPECT_FALSE(grid.SetColumnCount(4));
    EXPECT_EQ(grid.GetColumnCount(), 2);
    EXPECT_TRUE(grid.EveryPositionHasACell());
    EXPECT_EQ(grid.GetItemText(2, 1), CString("kept"));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST(GridOutOfMemory, InsertsGiveMinusOneAndChangeNothing) {
    MessageBoxRecorder boxes;
    TestGrid grid(3, 3, 1, 1);
    grid.m_cellsBeforeFailure = 2;
    EXPECT_EQ(grid.InsertRow("new", 1), -1);
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_TRUE(grid.EveryPositionHasACell());
    grid.m_cellsBeforeFailure = 1;
    EXPECT_EQ(grid.InsertColumn("new", DT_LEFT, 1), -1);
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_TRUE(grid.EveryPositionHasACell());
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST(GridSizes, TheHeightOfAllRowsFollowsEveryChangeOfRowsOrHeights) {
    TestGrid grid(4, 2, 1, 0);
    SizeAll(grid, 30, 10);
    ASSERT_TRUE(CreateGridWindow(grid, 200, 100));
    auto sum = [&grid] {
        int total = 0;
        for (int row = 0; row < grid.GetRowCount(); row++)
            total += grid.GetRowHeight(row);
        return total;
    };
    const struct {
        const char* what;
        std::function<void()> change;
    } changes[] = {
        {"a row taller", [&] { grid.SetRowHeight(2, 25); }},
        {"more rows", [&] { grid.SetRowCount(7); }},
        {"fewer rows", [&] { grid.SetRowCount(5); }},
        {"a row inserted", [&] { grid.InsertRow("new", 1); }},
        {"a row inserted without a heading", [&] { grid.InsertRow(nullptr, 2); }},
        {"a row deleted", [&] { grid.DeleteRow(3); }},
        {"a row fitted to its text", [&] { grid.AutoSizeRow(1); }},
        {"rows sorted", [&] { grid.SortItems(1, FALSE); }},
        {"the non-fixed rows deleted", [&] { grid.DeleteNonFixedRows(); }},
        {"everything deleted", [&] { grid.DeleteAllItems(); }},
        {"rows again", [&] { grid.SetColumnCount(2), grid.SetRowCount(3); }},
    };
    for (const auto& step : changes) {
        grid.GetVirtualHeight(); // asked for before each change, as every scroll-bar update does
        step.change();
        EXPECT_EQ(grid.GetVirtualHeight(), sum()) << step.what;
    }
}
