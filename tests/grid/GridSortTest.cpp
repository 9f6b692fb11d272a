#include "GridTestSupport.h"

#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/ClientDC.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Six rows and three columns of 60 x 20 pixels, one fixed row and column: the row headings "h1" to "h5" in
// column 0, the values to sort in column 1 and the row's data in every cell's item data.
class GridSorting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.Create());
        SizeAll(grid, 60, 20);
        ASSERT_TRUE(CreateGridWindow(grid, 300, 200));
        grid.SetOwner(&owner);
    }
    void TearDown() override { ResetSysColorsForTest(); }

    void Values(const Strings& values) {
        for (int row = 1; row < grid.GetRowCount(); row++) {
            grid.SetItemText(row, 0, ("h" + std::to_string(row)).c_str());
            grid.SetItemText(row, 1, values[static_cast<size_t>(row - 1)].c_str());
            for (int col = 0; col < grid.GetColumnCount(); col++)
                grid.SetItemData(row, col, row);
        }
        grid.SetModified(FALSE);
    }
    Strings Column(int col) {
        Strings texts;
        for (int row = 1; row < grid.GetRowCount(); row++)
            texts.push_back(grid.GetItemText(row, col).Str());
        return texts;
    }
    void ClickHeading(int col) {
        QTest::mouseClick(grid.GetHostWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(2 + 60 * col + 30, 2 + 10));
    }

    GridOwner owner;
    TestGrid grid{6, 3, 1, 1};
};

} // namespace

TEST_F(GridSorting, NumbersSortAsTextAndWholeRowsMoveWithTheirHeadingsHeightsAndStates) {
    Values({"10", "9", "", "100", "2"});
    grid.SetRowHeight(2, 33);                                        // the row of "9"
    grid.SetItemState(4, 1, grid.GetItemState(4, 1) | GCS_READONLY); // the row of "100"

    EXPECT_TRUE(grid.SortItems(1, TRUE));
    EXPECT_EQ(Column(1), (Strings{"", "10", "100", "2", "9"}));
    EXPECT_EQ(Column(0), (Strings{"h3", "h1", "h4", "h5", "h2"}));
    EXPECT_EQ(grid.GetRowHeight(5), 33);
    EXPECT_TRUE(grid.GetItemState(3, 1) & GCS_READONLY);
    EXPECT_EQ(grid.GetItemData(3, 2), 4);
    EXPECT_EQ(grid.GetItemText(0, 1), ""); // the fixed row stays
    EXPECT_FALSE(grid.GetModified());
    EXPECT_EQ(CountCellsWith(grid, GCS_MODIFIED), 0);
    EXPECT_EQ(grid.GetSortColumn(), 1);

    EXPECT_TRUE(grid.SortItems(1, FALSE));
    EXPECT_EQ(Column(1), (Strings{"9", "2", "100", "10", ""}));
    EXPECT_EQ(grid.GetRowHeight(1), 33);
    EXPECT_FALSE(grid.GetSortAscending());
}

TEST_F(GridSorting, GbkTextSortsByItsCodesAsTheMultibyteComparisonDoes) {
    // In GBK "啊" (B0 A1) comes before "中" (D6 D0), the reverse of their Unicode order.
    Values({"\xD6\xD0", "z", "\xB0\xA1", "Z", "\xB0\xA1\xB0\xA2"});
    EXPECT_TRUE(grid.SortItems(1, TRUE));
    EXPECT_EQ(Column(1), (Strings{"Z", "z", "\xB0\xA1", "\xB0\xA1\xB0\xA2", "\xD6\xD0"}));

    // A lead byte at the very end of a text counts as its end; cells that are missing compare equal.
    CGridCell plain, cut;
    plain.SetText("\xB0\xA1");
    cut.SetText("\xB0\xA1\xB0");
    EXPECT_EQ(CGridCtrl::CompareCellText(&cut, &plain, 0), 0);
    EXPECT_EQ(CGridCtrl::CompareCellText(nullptr, &plain, 0), 0);
    EXPECT_LT(CGridCtrl::CompareCellText(&plain, grid.GetCell(5, 1), 0), 0);
}

namespace {

int g_compared = 0;
LPARAM g_data = 0;

int NeverDecides(CGridCellBase*, CGridCellBase*, LPARAM data) {
    ++g_compared;
    g_data = data;
    return 0;
}

// Orders by item data, highest first, so an ascending sort reverses the rows.
int ByDataDescending(CGridCellBase* a, CGridCellBase* b, LPARAM) {
    return static_cast<int>(b->GetData() - a->GetData());
}

} // namespace

TEST_F(GridSorting, RowsThatCompareEqualStayWhereTheyAreAndTheOwnersComparisonDecides) {
    Values({"b", "a", "d", "c", "e"});
    EXPECT_TRUE(grid.SortItemsWith(NeverDecides, 1, TRUE, 77));
    EXPECT_GT(g_compared, 0);
    EXPECT_EQ(g_data, 77);
    EXPECT_EQ(Column(1), (Strings{"b", "a", "d", "c", "e"}));

    grid.SetCompareFunction(ByDataDescending);
    EXPECT_TRUE(grid.SortItems(1, TRUE));
    EXPECT_EQ(Column(1), (Strings{"e", "c", "d", "a", "b"}));

    // Too few rows, or a column beyond the grid: nothing moves, yet the column is marked and the selection goes.
    grid.SetCompareFunction(nullptr);
    grid.SetFocusCell(2, 1);
    grid.SetSelectedRange(2, 1, 2, 1);
    EXPECT_FALSE(grid.SortItems(5, TRUE));
    EXPECT_EQ(grid.GetSortColumn(), 5);
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_EQ(CountCellsWith(grid, GCS_SELECTED), 0);
    grid.SetRowCount(2);
    EXPECT_FALSE(grid.SortItems(1, FALSE));
    EXPECT_EQ(grid.GetSortColumn(), 1);
}

TEST_F(GridSorting, AHeadingClickSortsItsColumnAndASecondClickTurnsTheOrderRound) {
    Values({"b", "a", "d", "c", "e"});
    grid.SetHeaderSort(TRUE);
    ClickHeading(1);
    EXPECT_EQ(Column(1), (Strings{"a", "b", "c", "d", "e"}));
    // The column is selected, and no cell has the focus.
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, 5, 1));
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    ClickHeading(1);
    EXPECT_EQ(Column(1), (Strings{"e", "d", "c", "b", "a"}));

    // Changing a cell of the sorted column forgets the sort: the next click sorts ascending again. A change
    // elsewhere keeps it.
    grid.SetItemText(1, 2, "x");
    EXPECT_EQ(grid.GetSortColumn(), 1);
    grid.SetItemText(1, 1, "f");
    EXPECT_EQ(grid.GetSortColumn(), -1);
    ClickHeading(1);
    EXPECT_EQ(Column(1), (Strings{"a", "b", "c", "d", "f"}));

    // The corner sorts by the row headings and selects everything.
    ClickHeading(0);
    EXPECT_EQ(Column(0).front(), "h1");
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, 5, 2));

    // Without the option a heading click only selects.
    grid.SetHeaderSort(FALSE);
    ClickHeading(1);
    EXPECT_EQ(grid.GetSortColumn(), 0);
}

TEST_F(GridSorting, TheSortedColumnsHeadingShowsARaisedTriangleAtItsRight) {
    SetSysColorForTest(COLOR_BTNSHADOW, RGB(10, 20, 30));
    SetSysColorForTest(COLOR_BTNHIGHLIGHT, RGB(250, 240, 230));
    const COLORREF shadow = RGB(10, 20, 30), highlight = RGB(250, 240, 230);
    Values({"b", "a", "d", "c", "e"});
    grid.SetColumnWidth(2, 100);
    grid.SortItems(2, TRUE);
    grid.Invalidate();
    grid.UpdateWindow();

    // Heading cell (0, 2): (120, 0)-(219, 19); inside its raised edge and margin the mark sits at the right.
    CGridCellBase* heading = grid.GetCell(0, 2);
    const int margin = static_cast<int>(heading->GetMargin());
    CClientDC dc(&grid);
    CFont* old = dc.SelectObject(heading->GetFontObject());
    int size = dc.GetTextExtent("M", 1).cy - 4;
    dc.SelectObject(old);
    const int bottom = 19 - margin;
    if (size >= bottom - (1 + margin))
        size = bottom - (1 + margin) - 4;
    ASSERT_GT(size, 2);
    const int x = 219 - margin - size, y = bottom - size - 2, half = size / 2;
    EXPECT_EQ(PixelAt(grid, x + half, y), shadow); // the apex
    EXPECT_EQ(PixelAt(grid, x, y + size), shadow); // the base ...
    EXPECT_EQ(PixelAt(grid, x + size, y + size), shadow);
    EXPECT_EQ(PixelAt(grid, x + half, y + size + 1), highlight);  // ... lit from below
    EXPECT_NE(PixelAt(grid, x + half, y + size / 2 + 1), shadow); // hollow

    grid.SortItems(2, FALSE);
    grid.Invalidate();
    grid.UpdateWindow();
    EXPECT_EQ(PixelAt(grid, x + half, y + size), shadow); // pointing down
    EXPECT_EQ(PixelAt(grid, x, y), shadow);
    EXPECT_EQ(PixelAt(grid, x + size, y), shadow);

    // A heading too narrow for the mark shows none.
    grid.SetColumnWidth(2, size + 2 * margin + 2);
    grid.Invalidate();
    grid.UpdateWindow();
    for (int px = 120; px < 120 + size + 2 * margin + 2; px++)
        for (int py = 0; py < 20; py++)
            ASSERT_NE(PixelAt(grid, px, py), shadow) << px << "," << py;
}

namespace {

// Puts cells that are missing last, as an owner's comparison that looks at positions outside the grid might.
int MissingLast(CGridCellBase* a, CGridCellBase* b, LPARAM) {
    if (!a || !b)
        return a ? -1 : (b ? 1 : 0);
    return CGridCtrl::CompareCellText(a, b, 0);
}

} // namespace

TEST_F(GridSorting, ARangeReachingOutsideTheGridIsRefusedAndNoRowMoves) {
    Values({"b", "a", "d", "c", "e"});
    EXPECT_FALSE(grid.SortRange(MissingLast, 1, TRUE, 0, -2, 5));
    EXPECT_FALSE(grid.SortRange(MissingLast, 1, TRUE, 0, 1, 8));
    EXPECT_FALSE(grid.SortRange(MissingLast, 1, TRUE, 0, -5, -2));
    EXPECT_EQ(Column(1), (Strings{"b", "a", "d", "c", "e"}));
    EXPECT_EQ(grid.GetRowCount(), 6);

    // Inside the grid the same comparison sorts, the fixed row included when the owner asks for it.
    EXPECT_TRUE(grid.SortRange(MissingLast, 1, TRUE, 0, 0, -1));
    EXPECT_EQ(Column(1), (Strings{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(grid.GetItemText(0, 1), "");
}

TEST_F(GridSorting, AnOwnersSortOfARangeCarriesTheSelectionAndTheFocusWithTheirCells) {
    Values({"e", "d", "c", "b", "a"});
    grid.SetFocusCell(1, 2);
    grid.SetSelectedRange(1, 1, 2, 2); // the rows of "e" and "d"
    EXPECT_TRUE(grid.SortRange(CGridCtrl::CompareCellText, 1, TRUE, 0, 1, -1));
    EXPECT_EQ(Column(1), (Strings{"a", "b", "c", "d", "e"}));
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(4, 1, 5, 2));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(5, 2));
    EXPECT_TRUE(grid.GetItemState(5, 2) & GCS_FOCUSED);

    // Clearing the selection then clears it everywhere.
    grid.SetSelectedRange(-1, -1, -1, -1);
    EXPECT_EQ(CountCellsWith(grid, GCS_SELECTED), 0);
}

TEST(GridCompare, PastASharedBeginningTheFirstDifferentCharactersDecideByTheirCodes) {
    auto compare = [](const char* a, const char* b) {
        CGridCell first, second;
        first.SetText(a);
        second.SetText(b);
        return CGridCtrl::CompareCellText(&first, &second, 0);
    };
    EXPECT_LT(compare("abc", "abd"), 0);
    EXPECT_GT(compare("abd", "abc"), 0);
    EXPECT_EQ(compare("abc", "abc"), 0);
    EXPECT_LT(compare("ab", "abc"), 0); // a text that ends first comes first
    // A single byte of 0xFF is one character with a code below any double-byte character's, though its byte is
    // above every lead byte.
    EXPECT_LT(compare("ab\xFF", "ab\xB0\xA1"), 0);
    EXPECT_GT(compare("ab\xB0\xA1", "ab\xFF"), 0);
    // Within a double-byte character the trail byte decides; an ASCII letter comes before any such character.
    EXPECT_LT(compare("x\xB0\xA1", "x\xB0\xA2"), 0);
    EXPECT_LT(compare("xz", "x\xB0\xA1"), 0);
}

namespace {

// A cell that remembers the last place the grid told it.
class CPlacedCell : public CGridCell {
    DECLARE_DYNCREATE(CPlacedCell)
public:
    void SetCoords(int nRow, int nCol) override {
        row = nRow;
        col = nCol;
    }
    int row = -1;
    int col = -1;
};
IMPLEMENT_DYNCREATE(CPlacedCell, CGridCell)

} // namespace

TEST(GridCompare, ASortTellsCellsOfAnotherClassTheirNewPlaces) {
    TestGrid grid;
    grid.SetCellClass(RUNTIME_CLASS(CPlacedCell));
    grid.SetRowCount(30);
    grid.SetColumnCount(3);
    grid.SetFixedRowCount(1);
    for (int row = 1; row < 30; row++)
        grid.SetItemText(row, 1, std::to_string((row * 7919) % 30).c_str());
    ASSERT_TRUE(grid.SortItems(1, TRUE));
    for (int row = 0; row < 30; row++) {
        for (int col = 0; col < 3; col++) {
            const auto* cell = static_cast<const CPlacedCell*>(grid.GetCell(row, col));
            EXPECT_EQ(cell->row, row);
            EXPECT_EQ(cell->col, col);
        }
    }
}

namespace {

// The grid's own comparison, passed as an owner's: the grid cannot tell it is its own.
int TextsAsAnOwnerCompares(CGridCellBase* a, CGridCellBase* b, LPARAM data) {
    return CGridCtrl::CompareCellText(a, b, data);
}

} // namespace

TEST(GridCompare, SortingByTheGridsOwnComparisonOrdersRowsExactlyAsAnyComparisonDoes) {
    // Texts with many equal ones (whose order the exchanges decide), shared beginnings, GBK characters and bytes
    // of 0xFF; rows tagged by their first place; a selection and a focus that follow their rows.
    const char* words[] = {"",
                           "a",
                           "ab",
                           "abc",
                           "abd",
                           "b",
                           "B",
                           "\xB0\xA1",
                           "\xB0\xA2",
                           "a\xFF",
                           "a\xB0\xA1",
                           "a long text that sits in a block",
                           "a long text that sits in a block too",
                           "zz"};
    TestGrid own(300, 3, 1, 1);
    TestGrid other(300, 3, 1, 1);
    for (TestGrid* grid : {&own, &other}) {
        unsigned seed = 12345;
        for (int row = 1; row < 300; row++) {
            seed = seed * 1103515245 + 12345;
            grid->SetItemText(row, 1, words[(seed >> 16) % (sizeof words / sizeof words[0])]);
            grid->SetItemData(row, 2, row);
        }
        grid->SetItemState(17, 2, grid->GetItemState(17, 2) | GCS_SELECTED);
        grid->SetFocusCell(40, 1);
    }
    auto order = [](TestGrid& grid) {
        std::vector<LPARAM> tags;
        for (int row = 1; row < grid.GetRowCount(); row++)
            tags.push_back(grid.GetItemData(row, 2));
        return tags;
    };
    const struct {
        BOOL ascending;
        int low;
        int high;
    } sorts[] = {{TRUE, 1, -1}, {FALSE, 1, -1}, {TRUE, 50, 120}, {FALSE, 2, 299}, {TRUE, 1, 2}};
    for (const auto& sort : sorts) {
        ASSERT_TRUE(own.SortRange(CGridCtrl::CompareCellText, 1, sort.ascending, 0, sort.low, sort.high));
        ASSERT_TRUE(other.SortRange(TextsAsAnOwnerCompares, 1, sort.ascending, 0, sort.low, sort.high));
        EXPECT_EQ(order(own), order(other)) << sort.ascending << " " << sort.low << " " << sort.high;
        EXPECT_EQ(own.GetSelectedCellRange(), other.GetSelectedCellRange());
        EXPECT_EQ(own.GetFocusCell(), other.GetFocusCell());
        EXPECT_TRUE(own.SelectionAgreesWithStates());
    }
    // And the order is the comparison's: no row goes before one that compares below it.
    ASSERT_TRUE(own.SortItems(1, TRUE));
    for (int row = 2; row < 300; row++)
        EXPECT_LE(CGridCtrl::CompareCellText(own.GetCell(row - 1, 1), own.GetCell(row, 1), 0), 0) << row;
}
