#include "CellSelection.h"

#include <algorithm>
#include <unordered_map>

namespace {

// Blocks up to this size go position by position: a drag selection starts with blocks of a few cells, and a
// single cell is cheaper as a hash entry than as a block every lookup must pass.
constexpr std::size_t kCellByCell = 64;

std::size_t Area(const CCellRange& block) {
    return static_cast<std::size_t>(block.GetMaxRow() - block.GetMinRow() + 1) *
           static_cast<std::size_t>(block.GetMaxCol() - block.GetMinCol() + 1);
}

bool Overlaps(const CCellRange& a, const CCellRange& b) {
    return a.GetMinRow() <= b.GetMaxRow() && b.GetMinRow() <= a.GetMaxRow() && a.GetMinCol() <= b.GetMaxCol() &&
           b.GetMinCol() <= a.GetMaxCol();
}

bool Inside(const CCellRange& inner, const CCellRange& outer) {
    return inner.GetMinRow() >= outer.GetMinRow() && inner.GetMaxRow() <= outer.GetMaxRow() &&
           inner.GetMinCol() >= outer.GetMinCol() && inner.GetMaxCol() <= outer.GetMaxCol();
}

// The part of a that b does not cover, as up to four blocks: the rows above and below b across a's width, and
// the columns left and right of b beside it.
void Subtract(const CCellRange& a, const CCellRange& b, std::vector<CCellRange>& pieces) {
    if (!Overlaps(a, b)) {
        pieces.push_back(a);
        return;
    }
    const int top = std::max(a.GetMinRow(), b.GetMinRow());
    const int bottom = std::min(a.GetMaxRow(), b.GetMaxRow());
    if (a.GetMinRow() < top)
        pieces.emplace_back(a.GetMinRow(), a.GetMinCol(), top - 1, a.GetMaxCol());
    if (bottom < a.GetMaxRow())
        pieces.emplace_back(bottom + 1, a.GetMinCol(), a.GetMaxRow(), a.GetMaxCol());
    if (a.GetMinCol() < b.GetMinCol())
        pieces.emplace_back(top, a.GetMinCol(), bottom, b.GetMinCol() - 1);
    if (b.GetMaxCol() < a.GetMaxCol())
        pieces.emplace_back(top, b.GetMaxCol() + 1, bottom, a.GetMaxCol());
}

} // namespace

bool CCellSelection::ContainsSlow(int row, int col) const {
    if (BlockOf(row, col))
        return m_out.empty() || m_out.count(Key(row, col)) == 0;
    return !m_singles.empty() && m_singles.count(Key(row, col)) != 0;
}

const CCellRange* CCellSelection::BlockOf(int row, int col) const {
    for (const CCellRange& block : m_blocks)
        if (block.InRange(row, col))
            return &block;
    return nullptr;
}

void CCellSelection::Clear() {
    m_blocks.clear();
    m_out.clear();
    m_singles.clear();
    m_blockArea = 0;
}

void CCellSelection::Set(int row, int col, bool in) {
    const std::uint64_t key = Key(row, col);
    if (BlockOf(row, col)) {
        if (in)
            m_out.erase(key);
        else
            m_out.insert(key);
    } else if (in) {
        m_singles.insert(key);
    } else {
        m_singles.erase(key);
    }
}

void CCellSelection::EraseInside(KeySet& keys, const CCellRange& block) {
    for (auto it = keys.begin(); it != keys.end();) {
        if (block.InRange(RowOf(*it), ColOf(*it)))
            it = keys.erase(it);
        else
            ++it;
    }
}

void CCellSelection::AddBlock(const CCellRange& block) {
    if (!block.IsValid())
        return;
    if (Area(block) <= kCellByCell) {
        for (int row = block.GetMinRow(); row <= block.GetMaxRow(); row++)
            for (int col = block.GetMinCol(); col <= block.GetMaxCol(); col++)
                Set(row, col, true);
        return;
    }
    // Whatever the block covers is in from now on: single positions inside it, and positions taken out of older
    // blocks where it overlaps them.
    EraseInside(m_singles, block);
    EraseInside(m_out, block);
    // Older blocks inside it give way to it; it fills in around the others.
    std::vector<CCellRange> kept;
    kept.reserve(m_blocks.size());
    for (const CCellRange& older : m_blocks) {
        if (Inside(older, block))
            m_blockArea -= Area(older);
        else
            kept.push_back(older);
    }
    std::vector<CCellRange> pieces{block};
    for (const CCellRange& older : kept) {
        std::vector<CCellRange> rest;
        for (const CCellRange& piece : pieces)
            Subtract(piece, older, rest);
        pieces.swap(rest);
    }
    for (const CCellRange& piece : pieces)
        m_blockArea += Area(piece);
    kept.insert(kept.end(), pieces.begin(), pieces.end());
    m_blocks.swap(kept);
}

void CCellSelection::RemoveBlock(const CCellRange& block) {
    if (!block.IsValid())
        return;
    if (Area(block) <= kCellByCell) {
        for (int row = block.GetMinRow(); row <= block.GetMaxRow(); row++)
            for (int col = block.GetMinCol(); col <= block.GetMaxCol(); col++)
                Set(row, col, false);
        return;
    }
    // No block covers the removed positions afterwards, so nothing needs to be remembered about them.
    EraseInside(m_singles, block);
    EraseInside(m_out, block);
    std::vector<CCellRange> kept;
    kept.reserve(m_blocks.size());
    for (const CCellRange& older : m_blocks) {
        if (!Overlaps(older, block)) {
            kept.push_back(older);
            continue;
        }
        m_blockArea -= Area(older);
        const std::size_t first = kept.size();
        Subtract(older, block, kept);
        for (std::size_t i = first; i < kept.size(); i++)
            m_blockArea += Area(kept[i]);
    }
    m_blocks.swap(kept);
}

void CCellSelection::ClipTo(int rows, int cols) {
    const CCellRange grid(0, 0, rows - 1, cols - 1);
    if (!grid.IsValid()) {
        Clear();
        return;
    }
    // Positions outside the grid go, those taken out of blocks with the blocks' parts they lay in.
    for (KeySet* keys : {&m_singles, &m_out}) {
        for (auto it = keys->begin(); it != keys->end();) {
            if (grid.InRange(RowOf(*it), ColOf(*it)))
                ++it;
            else
                it = keys->erase(it);
        }
    }
    std::vector<CCellRange> kept;
    m_blockArea = 0;
    for (const CCellRange& block : m_blocks) {
        if (!Overlaps(block, grid))
            continue;
        const CCellRange inside(std::max(block.GetMinRow(), 0), std::max(block.GetMinCol(), 0),
                                std::min(block.GetMaxRow(), rows - 1), std::min(block.GetMaxCol(), cols - 1));
        m_blockArea += Area(inside);
        kept.push_back(inside);
    }
    m_blocks.swap(kept);
}

void CCellSelection::SwapRows(int row1, int row2, int cols) {
    if (row1 == row2 || (m_blocks.empty() && m_singles.empty()))
        return;
    const bool sameCover = std::all_of(m_blocks.begin(), m_blocks.end(), [&](const CCellRange& block) {
        const bool in1 = row1 >= block.GetMinRow() && row1 <= block.GetMaxRow();
        const bool in2 = row2 >= block.GetMinRow() && row2 <= block.GetMaxRow();
        return in1 == in2;
    });
    if (sameCover) {
        // The blocks cover both rows alike: only what is held apart from them changes rows.
        for (KeySet* keys : {&m_singles, &m_out}) {
            if (keys->empty())
                continue;
            for (int col = 0; col < cols; col++) {
                const bool in1 = keys->erase(Key(row1, col)) != 0;
                const bool in2 = keys->erase(Key(row2, col)) != 0;
                if (in1)
                    keys->insert(Key(row2, col));
                if (in2)
                    keys->insert(Key(row1, col));
            }
        }
        return;
    }
    std::vector<char> first(static_cast<std::size_t>(std::max(cols, 0)));
    std::vector<char> second(first.size());
    for (int col = 0; col < cols; col++) {
        first[static_cast<std::size_t>(col)] = Contains(row1, col) ? 1 : 0;
        second[static_cast<std::size_t>(col)] = Contains(row2, col) ? 1 : 0;
    }
    for (int col = 0; col < cols; col++) {
        Set(row1, col, second[static_cast<std::size_t>(col)] != 0);
        Set(row2, col, first[static_cast<std::size_t>(col)] != 0);
    }
}

CCellRange CCellSelection::BoundsWithoutOut(const CCellRange& block) const {
    if (m_out.empty())
        return block;
    // A row (column) of the block still has a position when fewer of its positions are out than it has.
    std::unordered_map<int, int> outInRow;
    std::unordered_map<int, int> outInCol;
    for (std::uint64_t key : m_out) {
        const int row = RowOf(key);
        const int col = ColOf(key);
        if (block.InRange(row, col)) {
            ++outInRow[row];
            ++outInCol[col];
        }
    }
    if (outInRow.empty())
        return block;
    const int width = block.GetMaxCol() - block.GetMinCol() + 1;
    const int height = block.GetMaxRow() - block.GetMinRow() + 1;
    auto full = [](const std::unordered_map<int, int>& counts, int at, int size) {
        const auto it = counts.find(at);
        return it != counts.end() && it->second >= size;
    };
    int top = block.GetMinRow();
    while (top <= block.GetMaxRow() && full(outInRow, top, width))
        ++top;
    if (top > block.GetMaxRow())
        return CCellRange();
    int bottom = block.GetMaxRow();
    while (full(outInRow, bottom, width))
        --bottom;
    int left = block.GetMinCol();
    while (full(outInCol, left, height))
        ++left;
    int right = block.GetMaxCol();
    while (full(outInCol, right, height))
        --right;
    return CCellRange(top, left, bottom, right);
}

CCellRange CCellSelection::Bounds(int rows, int cols) const {
    CCellRange bounds(rows, cols, -1, -1);
    auto extend = [&bounds](int top, int left, int bottom, int right) {
        bounds.SetMinRow(std::min(bounds.GetMinRow(), top));
        bounds.SetMinCol(std::min(bounds.GetMinCol(), left));
        bounds.SetMaxRow(std::max(bounds.GetMaxRow(), bottom));
        bounds.SetMaxCol(std::max(bounds.GetMaxCol(), right));
    };
    for (std::uint64_t key : m_singles)
        extend(RowOf(key), ColOf(key), RowOf(key), ColOf(key));
    for (const CCellRange& block : m_blocks) {
        const CCellRange left = BoundsWithoutOut(block);
        if (left.IsValid())
            extend(left.GetMinRow(), left.GetMinCol(), left.GetMaxRow(), left.GetMaxCol());
    }
    return bounds;
}
