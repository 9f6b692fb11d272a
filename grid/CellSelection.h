#pragma once

#include "grid/CellRange.h"

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

// A set of cell positions that holds a block in the same room whatever its size: a few disjoint blocks, less the
// positions inside them that were taken out one at a time, plus single positions outside every block. Selecting
// or clearing every cell of a grid costs the same for a hundred cells as for five million; single positions cost
// what an entry of a hash set costs.
class CCellSelection {
public:
    bool IsEmpty() const { return Count() == 0; }
    std::size_t Count() const { return m_blockArea - m_out.size() + m_singles.size(); }
    bool Contains(int row, int col) const {
        if (m_blocks.empty() && m_singles.empty())
            return false;
        return ContainsSlow(row, col);
    }
    // The smallest block that holds every position; {rows, cols, -1, -1} when there is none.
    CCellRange Bounds(int rows, int cols) const;

    void Clear();
    // Puts one position in or takes it out.
    void Set(int row, int col, bool in);
    // Puts every position of a block (bounds included) in, or takes them all out. An invalid block does nothing.
    void AddBlock(const CCellRange& block);
    void RemoveBlock(const CCellRange& block);
    // Drops the positions outside rows 0 to rows - 1 and columns 0 to cols - 1.
    void ClipTo(int rows, int cols);
    // Rows row1 and row2 trade their positions, columns 0 to cols - 1.
    void SwapRows(int row1, int row2, int cols);

    // Calls visit(row, col) for every position: the blocks row by row, then the single positions in no order.
    template <class Visit> void ForEach(Visit visit) const {
        for (const CCellRange& block : m_blocks)
            for (int row = block.GetMinRow(); row <= block.GetMaxRow(); row++)
                for (int col = block.GetMinCol(); col <= block.GetMaxCol(); col++)
                    if (m_out.empty() || m_out.count(Key(row, col)) == 0)
                        visit(row, col);
        for (std::uint64_t key : m_singles)
            visit(RowOf(key), ColOf(key));
    }

    // The blocks and how many positions are held apart from them, for tests that check the room a set takes.
    std::size_t BlockCount() const { return m_blocks.size(); }
    std::size_t LoosePositions() const { return m_out.size() + m_singles.size(); }

private:
    using KeySet = std::unordered_set<std::uint64_t>;

    static std::uint64_t Key(int row, int col) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 32) | static_cast<std::uint32_t>(row);
    }
    static int RowOf(std::uint64_t key) { return static_cast<int>(static_cast<std::uint32_t>(key)); }
    static int ColOf(std::uint64_t key) { return static_cast<int>(static_cast<std::uint32_t>(key >> 32)); }

    bool ContainsSlow(int row, int col) const;
    // The block that holds a position, or null.
    const CCellRange* BlockOf(int row, int col) const;
    // The same block without the positions taken out of it: its bounds, or an invalid range when none is left.
    CCellRange BoundsWithoutOut(const CCellRange& block) const;
    // Takes out of a set every key that lies inside a block.
    static void EraseInside(KeySet& keys, const CCellRange& block);

    std::vector<CCellRange> m_blocks; // pairwise disjoint
    KeySet m_out;                     // positions inside a block that are not in the set
    KeySet m_singles;                 // positions outside every block that are in the set
    std::size_t m_blockArea = 0;      // positions the blocks cover, those taken out included
};
