#include "GridTestSupport.h"

#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/ClientDC.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kMarker = RGB(1, 200, 3); // what the window held before a cell drew
constexpr COLORREF kGridLine = RGB(0xC0, 0xC0, 0xC0);

// Three rows and three columns of 40 x 20 pixels, the first row and column fixed, over a marked client area.
// Cell (1, 1) is (40, 20)-(79, 39) inclusive, cell (0, 1) is (40, 0)-(79, 19).
class CellDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateGridWindow(grid, 300, 200));
        grid.SetRowCount(3);
        grid.SetColumnCount(3);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        for (int i = 0; i < 3; i++) {
            grid.SetRowHeight(i, 20);
            grid.SetColumnWidth(i, 40);
        }
        CClientDC dc(&grid);
        dc.FillSolidRect(0, 0, 300, 200, kMarker);
    }
    void TearDown() override { ResetSysColorsForTest(); }

    COLORREF At(int x, int y) { return PixelAt(grid, x, y); }

    TestGrid grid;
};

} // namespace

TEST_F(CellDrawing, ASelectedCellIsFilledWithTheHighlightUpToItsGridLines) {
    grid.SetItemState(1, 1, GCS_SELECTED);
    ASSERT_TRUE(grid.RedrawCell(1, 1));
    EXPECT_EQ(At(40, 20), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(At(78, 38), GetSysColor(COLOR_HIGHLIGHT));
    // Its last column and row carry the grid lines, drawn again over the fill.
    EXPECT_EQ(At(79, 30), kGridLine);
    EXPECT_EQ(At(60, 39), kGridLine);
    // Nothing outside the cell.
    EXPECT_EQ(At(80, 30), kMarker);
    EXPECT_EQ(At(60, 40), kMarker);
    EXPECT_EQ(At(39, 30), kMarker);
}

TEST_F(CellDrawing, TheFocusCellIsFramedInItsTextColour) {
    grid.SetFocusCell(1, 1); // redraws the cell at once
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_EQ(At(40, 30), text);
    EXPECT_EQ(At(60, 20), text);
    EXPECT_EQ(At(78, 30), text);
    EXPECT_EQ(At(60, 38), text);
    EXPECT_EQ(At(60, 30), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(At(79, 30), kGridLine);

    // Focused and selected: the highlight fill, framed in the highlight's text colour.
    grid.SetItemState(1, 1, grid.GetItemState(1, 1) | GCS_SELECTED);
    ASSERT_TRUE(grid.RedrawCell(1, 1));
    EXPECT_EQ(At(40, 30), GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(At(60, 30), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(CellDrawing, FixedCellsAreRaisedUnlessTheFocusCellIsInTheirRowOrColumn) {
    SetSysColorForTest(COLOR_3DLIGHT, RGB(250, 0, 250)); // set apart from the face the cell is filled with
    const COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT), dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);

    ASSERT_TRUE(grid.RedrawCell(0, 1));
    EXPECT_EQ(At(41, 0), light);
    EXPECT_EQ(At(40, 10), light);
    EXPECT_EQ(At(79, 10), dark);
    EXPECT_EQ(At(60, 19), dark);
    EXPECT_EQ(At(40, 19), face); // the lines leave out their end points
    EXPECT_EQ(At(60, 10), face);

    grid.SetFocusCell(1, 1); // redraws the headings of its row and column
    for (const CPoint& p : {CPoint(60, 0), CPoint(40, 10), CPoint(10, 20), CPoint(0, 30)})
        EXPECT_EQ(At(p.x, p.y), dark) << p.x << "," << p.y;
    for (const CPoint& p : {CPoint(79, 10), CPoint(60, 19), CPoint(39, 30), CPoint(10, 39)})
        EXPECT_EQ(At(p.x, p.y), GetSysColor(COLOR_3DLIGHT)) << p.x << "," << p.y;
    ASSERT_TRUE(grid.RedrawCell(0, 2)); // another column's heading stays raised
    EXPECT_EQ(At(81, 0), light);

    grid.SetFocusCell(-1, -1); // with no focus cell every heading is raised again
    EXPECT_EQ(At(41, 0), light);
    EXPECT_EQ(At(79, 10), dark);
}

TEST_F(CellDrawing, DefaultColoursComeFromTheDefaultCellOfTheCellsKind) {
    ASSERT_TRUE(grid.RedrawCell(2, 2));
    EXPECT_EQ(At(100, 50), GetSysColor(COLOR_WINDOW));
    ASSERT_TRUE(grid.RedrawCell(2, 0));
    EXPECT_EQ(At(20, 50), GetSysColor(COLOR_BTNFACE));

    grid.GetDefaultCell(FALSE, FALSE)->SetBackClr(RGB(0, 0, 200));
    ASSERT_TRUE(grid.RedrawCell(2, 2));
    EXPECT_EQ(At(100, 50), RGB(0, 0, 200));

    grid.GetCell(2, 2)->SetBackClr(RGB(200, 0, 0)); // its own colour wins
    ASSERT_TRUE(grid.RedrawCell(2, 2));
    EXPECT_EQ(At(100, 50), RGB(200, 0, 0));

    // The text colour shows in the focus frame: the default cell's, until the cell has its own.
    grid.GetDefaultCell(FALSE, FALSE)->SetTextClr(RGB(0, 150, 0));
    grid.SetFocusCell(2, 2);
    EXPECT_EQ(At(80, 50), RGB(0, 150, 0));
    grid.GetCell(2, 2)->SetTextClr(RGB(150, 0, 150));
    ASSERT_TRUE(grid.RedrawCell(2, 2));
    EXPECT_EQ(At(80, 50), RGB(150, 0, 150));
}

TEST_F(CellDrawing, AnOwnBackColourIsPaintedEvenWhenTheCallerAsksForNoErase) {
    CGridCellBase* plain = grid.GetCell(2, 1);
    CGridCellBase* coloured = grid.GetCell(2, 2);
    coloured->SetBackClr(RGB(200, 0, 0));
    CClientDC dc(&grid);
    EXPECT_TRUE(plain->Draw(&dc, 2, 1, CRect(40, 40, 79, 59), FALSE));
    EXPECT_TRUE(coloured->Draw(&dc, 2, 2, CRect(80, 40, 119, 59), FALSE));
    EXPECT_EQ(At(60, 50), kMarker);
    EXPECT_EQ(At(100, 50), RGB(200, 0, 0));
    EXPECT_EQ(At(119, 59), RGB(200, 0, 0)); // the fill reaches the inclusive corner
}

TEST_F(CellDrawing, EmptyRectanglesAndHiddenCellsDrawNothing) {
    CGridCellBase* cell = grid.GetCell(2, 2);
    cell->SetBackClr(RGB(200, 0, 0));
    CClientDC dc(&grid);
    EXPECT_FALSE(cell->Draw(&dc, 2, 2, CRect(80, 40, 79, 59)));  // width 0
    EXPECT_FALSE(cell->Draw(&dc, 2, 2, CRect(80, 40, 119, 39))); // height 0
    EXPECT_FALSE(cell->Draw(nullptr, 2, 2, CRect(80, 40, 119, 59)));
    EXPECT_EQ(At(80, 40), kMarker);

    grid.SetRowHeight(2, 0);
    EXPECT_FALSE(grid.RedrawCell(2, 2));
    EXPECT_EQ(At(80, 40), kMarker);
}
