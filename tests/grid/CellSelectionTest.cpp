#include "grid/CellSelection.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr int kRows = 20;
constexpr int kCols = 15;

// The same set kept position by position.
struct Board {
    std::vector<std::vector<bool>> in = std::vector<std::vector<bool>>(kRows, std::vector<bool>(kCols, false));

    void Fill(const CCellRange& block, bool value) {
        for (int row = block.GetMinRow(); row <= block.GetMaxRow(); row++)
            for (int col = block.GetMinCol(); col <= block.GetMaxCol(); col++)
                in[row][col] = value;
    }
};

// Everything the set answers, against the board: membership, count, bounds and the positions it visits.
::testing::AssertionResult SameAs(const CCellSelection& set, const Board& board) {
    size_t count = 0;
    CCellRange bounds(kRows, kCols, -1, -1);
    std::set<std::pair<int, int>> expected;
    for (int row = 0; row < kRows; row++) {
        for (int col = 0; col < kCols; col++) {
            if (set.Contains(row, col) != board.in[row][col])
                return ::testing::AssertionFailure() << "position " << row << "," << col;
            if (!board.in[row][col])
                continue;
            ++count;
            expected.emplace(row, col);
            bounds = CCellRange(std::min(bounds.GetMinRow(), row), std::min(bounds.GetMinCol(), col),
                                std::max(bounds.GetMaxRow(), row), std::max(bounds.GetMaxCol(), col));
        }
    }
    if (set.Count() != count)
        return ::testing::AssertionFailure() << "count " << set.Count() << " instead of " << count;
    if (set.Bounds(kRows, kCols) != bounds)
        return ::testing::AssertionFailure() << "bounds";
    std::multiset<std::pair<int, int>> visited;
    set.ForEach([&visited](int row, int col) { visited.emplace(row, col); });
    if (visited != std::multiset<std::pair<int, int>>(expected.begin(), expected.end()))
        return ::testing::AssertionFailure() << "visited positions";
    return ::testing::AssertionSuccess();
}

CCellRange RandomBlock(std::mt19937& random) {
    std::uniform_int_distribution<int> row(0, kRows - 1);
    std::uniform_int_distribution<int> col(0, kCols - 1);
    const int r1 = row(random), r2 = row(random), c1 = col(random), c2 = col(random);
    return CCellRange(std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2));
}

} // namespace

TEST(CellSelection, AnyMixOfBlocksAndSinglePositionsAnswersAsAPositionByPositionSet) {
    std::mt19937 random(20240611);
    CCellSelection set;
    Board board;
    for (int step = 0; step < 4000; step++) {
        const int what = std::uniform_int_distribution<int>(0, 9)(random);
        if (what <= 2) {
            const CCellRange block = RandomBlock(random);
            set.AddBlock(block);
            board.Fill(block, true);
        } else if (what <= 4) {
            const CCellRange block = RandomBlock(random);
            set.RemoveBlock(block);
            board.Fill(block, false);
        } else if (what <= 7) {
            const int row = std::uniform_int_distribution<int>(0, kRows - 1)(random);
            const int col = std::uniform_int_distribution<int>(0, kCols - 1)(random);
            const bool in = (random() & 1) != 0;
            set.Set(row, col, in);
            board.in[row][col] = in;
        } else if (what == 8) {
            const int row1 = std::uniform_int_distribution<int>(0, kRows - 1)(random);
            const int row2 = std::uniform_int_distribution<int>(0, kRows - 1)(random);
            set.SwapRows(row1, row2, kCols);
            std::swap(board.in[row1], board.in[row2]);
        } else {
            // Clipping to a smaller grid drops the rest, as if those rows and columns were deleted.
            const int rows = std::uniform_int_distribution<int>(kRows / 2, kRows)(random);
            const int cols = std::uniform_int_distribution<int>(kCols / 2, kCols)(random);
            set.ClipTo(rows, cols);
            for (int row = 0; row < kRows; row++)
                for (int col = 0; col < kCols; col++)
                    if (row >= rows || col >= cols)
                        board.in[row][col] = false;
        }
        ASSERT_TRUE(SameAs(set, board)) << "after step " << step << " (kind " << what << ")";
        if (step % 500 == 499) {
            set.Clear();
            board = Board();
        }
    }
}

TEST(CellSelection, AWholeGridIsOneBlockWhateverItsSize) {
    CCellSelection set;
    set.AddBlock(CCellRange(1, 1, 100000, 50));
    EXPECT_EQ(set.Count(), 5000000u);
    EXPECT_EQ(set.BlockCount(), 1u);
    EXPECT_EQ(set.LoosePositions(), 0u);
    EXPECT_TRUE(set.Contains(100000, 50));
    EXPECT_FALSE(set.Contains(0, 1));
    EXPECT_EQ(set.Bounds(100001, 51), CCellRange(1, 1, 100000, 50));

    // Single positions taken out cost an entry each; the bounds move only once a whole edge row has gone.
    for (int col = 1; col <= 50; col++)
        set.Set(1, col, false);
    set.Set(2, 1, false);
    EXPECT_EQ(set.Count(), 5000000u - 51u);
    EXPECT_EQ(set.Bounds(100001, 51), CCellRange(2, 1, 100000, 50));

    // A block over everything takes them back in and leaves a single block.
    set.AddBlock(CCellRange(1, 1, 100000, 50));
    EXPECT_EQ(set.BlockCount(), 1u);
    EXPECT_EQ(set.LoosePositions(), 0u);

    // Taking out a band of rows splits the block; the rest stays whole.
    set.RemoveBlock(CCellRange(40000, 1, 59999, 50));
    EXPECT_EQ(set.Count(), 4000000u);
    EXPECT_EQ(set.LoosePositions(), 0u);
    EXPECT_FALSE(set.Contains(50000, 25));
    EXPECT_TRUE(set.Contains(60000, 25));

    set.Clear();
    EXPECT_TRUE(set.IsEmpty());
    EXPECT_EQ(set.Bounds(100001, 51), CCellRange(100001, 51, -1, -1));
}
