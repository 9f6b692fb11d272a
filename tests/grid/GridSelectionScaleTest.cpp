#include "GridTestSupport.h"

#include "platform/gui/draw/SysColor.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

// The selection as the grid kept it cell by cell: every selected cell marked, and the previous selection of a
// Ctrl-click a copy of those marks. It takes the calls the grid takes and answers as the grid did. One byte a
// cell, each row padded to 64 bytes, so that whole rows are counted and merged a word at a time.
class PerCellSelection {
public:
    static constexpr int kStride = 64;

    PerCellSelection(int rows, int cols, int fixedRows, int fixedCols)
        : m_rows(rows), m_cols(cols), m_fixedRows(fixedRows), m_fixedCols(fixedCols),
          m_current(static_cast<size_t>(rows) * kStride / 8), m_previous(m_current.size()) {}

    void SetSelectedRange(int r1, int c1, int r2, int c2, bool select) {
        if (r1 >= 0 && r1 < m_fixedRows)
            r1 = m_fixedRows;
        if (r2 >= 0 && r2 < m_fixedRows)
            r2 = m_fixedRows;
        if (c1 >= 0 && c1 < m_fixedCols)
            c1 = m_fixedCols;
        if (c2 >= 0 && c2 < m_fixedCols)
            c2 = m_fixedCols;
        if (select) {
            // Every selected cell loses its mark; with four bounds the previous selection gets its marks back.
            const bool fourBounds = r1 >= 0 && c1 >= 0 && r2 >= 0 && c2 >= 0;
            if (fourBounds)
                m_current = m_previous;
            else
                std::fill(m_current.begin(), m_current.end(), 0);
        }
        if (r1 < 0 || c1 < 0 || r1 > r2 || c1 > c2 || r2 >= m_rows || c2 >= m_cols)
            return;
        for (int row = r1; row <= r2; row++)
            std::memset(Bytes() + Index(row, c1), select ? 1 : 0, static_cast<size_t>(c2 - c1 + 1));
    }
    void SetSelected(int row, int col, bool selected) { Bytes()[Index(row, col)] = selected ? 1 : 0; }
    void KeepForCtrl() { m_previous = m_current; }
    void Reset() {
        std::fill(m_current.begin(), m_current.end(), 0);
        std::fill(m_previous.begin(), m_previous.end(), 0);
    }

    bool Selected(int row, int col) const {
        return reinterpret_cast<const std::uint8_t*>(m_current.data())[Index(row, col)] != 0;
    }
    size_t Count() const {
        size_t count = 0;
        for (std::uint64_t word : m_current)
            count += static_cast<size_t>((word * 0x0101010101010101ull) >> 56); // bytes are 0 or 1
        return count;
    }
    CCellRange Bounds() const {
        const std::uint64_t* words = m_current.data();
        constexpr int kWords = kStride / 8;
        int top = 0;
        while (top < m_rows && RowEmpty(words + static_cast<size_t>(top) * kWords))
            ++top;
        if (top == m_rows)
            return CCellRange(m_rows, m_cols, -1, -1);
        int bottom = m_rows - 1;
        while (RowEmpty(words + static_cast<size_t>(bottom) * kWords))
            --bottom;
        std::uint64_t any[kWords] = {};
        for (int row = top; row <= bottom; row++)
            for (int i = 0; i < kWords; i++)
                any[i] |= words[static_cast<size_t>(row) * kWords + static_cast<size_t>(i)];
        const auto* columns = reinterpret_cast<const std::uint8_t*>(any);
        int left = 0;
        while (!columns[left])
            ++left;
        int right = m_cols - 1;
        while (!columns[right])
            --right;
        return CCellRange(top, left, bottom, right);
    }

private:
    static bool RowEmpty(const std::uint64_t* row) {
        for (int i = 0; i < kStride / 8; i++)
            if (row[i])
                return false;
        return true;
    }
    std::uint8_t* Bytes() { return reinterpret_cast<std::uint8_t*>(m_current.data()); }
    static size_t Index(int row, int col) { return static_cast<size_t>(row) * kStride + static_cast<size_t>(col); }

    int m_rows, m_cols, m_fixedRows, m_fixedCols;
    std::vector<std::uint64_t> m_current;
    std::vector<std::uint64_t> m_previous;
};

constexpr int kRows = 100001; // 100,000 rows and 50 columns of cells under one fixed row and one fixed column
constexpr int kCols = 51;

// The grid's answers for a cell against the per-cell selection: IsCellSelected and the state's GCS_SELECTED.
::testing::AssertionResult AnswersAgree(const TestGrid& grid, const PerCellSelection& cells, int row, int col) {
    const bool expected = cells.Selected(row, col);
    const bool selected = grid.IsCellSelected(row, col) != FALSE;
    const bool marked = (grid.GetItemState(row, col) & GCS_SELECTED) != 0;
    if (selected == expected && marked == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "cell " << row << "," << col << ": selected " << selected << ", marked "
                                         << marked << ", expected " << expected;
}

} // namespace

TEST(GridSelectionAtScale, RandomSelectionsOf100000RowsAnswerAsTheCellByCellSelectionDid) {
    TestGrid grid(kRows, kCols, 1, 1);
    PerCellSelection cells(kRows, kCols, 1, 1);
    std::mt19937 random(7);
    auto any = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };

    std::vector<CCellID> lately; // corners of recent blocks, where off-by-one faults show
    for (int step = 0; step < 30; step++) {
        const int what = any(0, 9);
        if (what <= 2) {
            // A block anywhere, also reaching into the fixed cells or beyond the grid, selected or deselected.
            const int r1 = any(-1, kRows), r2 = any(-1, kRows), c1 = any(-1, kCols), c2 = any(-1, kCols);
            const bool select = what != 2;
            grid.SetSelectedRange(std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2), FALSE,
                                  select ? TRUE : FALSE);
            cells.SetSelectedRange(std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2), select);
            lately.insert(lately.end(),
                          {CCellID(std::min(r1, r2), std::min(c1, c2)), CCellID(std::max(r1, r2), std::max(c1, c2))});
        } else if (what == 3) {
            grid.SelectAllCells();
            cells.SetSelectedRange(1, 1, kRows - 1, kCols - 1, true);
        } else if (what == 4) {
            // Whole rows, or whole columns, as a click on a heading selects them.
            const int a = any(1, kRows - 1), b = any(1, kRows - 1), c = any(1, kCols - 1), d = any(1, kCols - 1);
            if (any(0, 1)) {
                grid.SetSelectedRange(std::min(a, b), 1, std::max(a, b), kCols - 1);
                cells.SetSelectedRange(std::min(a, b), 1, std::max(a, b), kCols - 1, true);
            } else {
                grid.SetSelectedRange(1, std::min(c, d), kRows - 1, std::max(c, d));
                cells.SetSelectedRange(1, std::min(c, d), kRows - 1, std::max(c, d), true);
            }
        } else if (what <= 6) {
            // Single cells marked or unmarked through their state, as paste and owners do.
            for (int i = 0; i < 200; i++) {
                const int row = any(0, kRows - 1), col = any(0, kCols - 1);
                const bool select = any(0, 2) != 0;
                const UINT state = grid.GetItemState(row, col);
                grid.SetItemState(row, col, select ? (state | GCS_SELECTED) : (state & ~GCS_SELECTED));
                cells.SetSelected(row, col, select);
                lately.emplace_back(row, col);
            }
        } else if (what == 7) {
            // A Ctrl-click keeps the selection, and the small block a drag adds goes on top of it.
            grid.KeepSelectionForCtrl();
            cells.KeepForCtrl();
            const int row = any(1, kRows - 6), col = any(1, kCols - 6);
            const int rows = any(0, 5), cols = any(0, 5);
            grid.SetSelectedRange(row, col, row + rows, col + cols);
            cells.SetSelectedRange(row, col, row + rows, col + cols, true);
            lately.emplace_back(row, col);
        } else if (what == 8) {
            // A Ctrl-click on a selected cell deselects just that cell.
            const int row = any(1, kRows - 1), col = any(1, kCols - 1);
            grid.SetSelectedRange(row, col, row, col, FALSE, FALSE);
            cells.SetSelectedRange(row, col, row, col, false);
            lately.emplace_back(row, col);
        } else {
            grid.ResetSelectedRange();
            cells.Reset();
        }

        ASSERT_EQ(grid.GetSelectedCount(), cells.Count()) << "step " << step << " (kind " << what << ")";
        ASSERT_EQ(grid.GetSelectedCellRange(), cells.Bounds()) << "step " << step << " (kind " << what << ")";
        for (int i = 0; i < 2000; i++)
            ASSERT_TRUE(AnswersAgree(grid, cells, any(0, kRows - 1), any(0, kCols - 1))) << "step " << step;
        for (const CCellID& corner : lately) {
            for (int dr = -1; dr <= 1; dr++) {
                for (int dc = -1; dc <= 1; dc++) {
                    if (grid.IsValid(corner.row + dr, corner.col + dc)) {
                        ASSERT_TRUE(AnswersAgree(grid, cells, corner.row + dr, corner.col + dc)) << "step " << step;
                    }
                }
            }
        }
        if (lately.size() > 400)
            lately.erase(lately.begin(), lately.end() - 400);

        if (step == 29) {
            for (int row = 0; row < kRows; row++)
                for (int col = 0; col < kCols; col++)
                    ASSERT_TRUE(AnswersAgree(grid, cells, row, col)) << "step " << step;
        }
    }
}

TEST(GridSelectionAtScale, SelectingEverythingAndClearingItNeedNoRoomPerCell) {
    TestGrid grid(kRows, kCols, 1, 1);
    SizeAll(grid, 40, 20);
    ASSERT_TRUE(CreateGridWindow(grid, 400, 300));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.GetHostWidget()));

    StartCountingBytes();
    grid.SelectAllCells();
    const AllocationCount selecting = StopCountingBytes();
    EXPECT_EQ(grid.GetSelectedCount(), size_t{100000} * 50);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, kRows - 1, kCols - 1));
    EXPECT_LT(selecting.bytes, 64u * 1024); // what the cells in view need, not what every cell would
    EXPECT_EQ(grid.Selection().LoosePositions(), 0u);

    // Everything in view shows selected once painted, and the last cell reads selected without being shown.
    grid.UpdateWindow();
    EXPECT_EQ(PixelAt(grid, 45, 25), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(PixelAt(grid, 365, 265), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_TRUE(grid.GetCell(kRows - 1, kCols - 1)->IsSelected());

    // A Ctrl-click on a selected cell takes out that cell alone.
    grid.SetSelectedRange(2, 2, 2, 2, TRUE, FALSE);
    EXPECT_FALSE(grid.IsCellSelected(2, 2));
    EXPECT_NE(PixelAt(grid, 85, 45), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(grid.GetSelectedCount(), size_t{100000} * 50 - 1);

    StartCountingBytes();
    grid.ResetSelectedRange();
    const AllocationCount clearing = StopCountingBytes();
    EXPECT_EQ(grid.GetSelectedCount(), 0u);
    EXPECT_LT(clearing.bytes, 64u * 1024);
    grid.UpdateWindow();
    EXPECT_EQ(PixelAt(grid, 45, 25), GetSysColor(COLOR_WINDOW));
    // A cell drawn selected before, and one never drawn, both read unselected through the grid and their own state.
    EXPECT_FALSE(grid.GetCell(1, 1)->IsSelected());
    EXPECT_FALSE(grid.GetCell(kRows - 1, kCols - 1)->IsSelected());
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
}
