// Sorting the non-fixed rows by one column: by a click on a heading or by the owner, with the cells' texts or
// the owner's own comparison.

#include "GridCtrl.h"

#include "platform/gui/window/WaitCursor.h"
#include "platform/os/CodePage.h"

#include <algorithm>
#include <cstdint>
#include <typeinfo>
#include <utility>
#include <vector>

BOOL CGridCtrl::SortItems(int nCol, BOOL bAscending, LPARAM data) {
    return SortItemsWith(m_compareFunction ? m_compareFunction : CompareCellText, nCol, bAscending, data);
}

BOOL CGridCtrl::SortItemsWith(GridCompareFunction pfnCompare, int nCol, BOOL bAscending, LPARAM data) {
    if (m_sortColumn >= 0)
        InvalidateCellRect(0, m_sortColumn);
    m_sortColumn = nCol;
    if (nCol >= 0)
        InvalidateCellRect(0, nCol);
    m_sortAscending = bAscending;
    ResetSelectedRange();
    return SortRange(pfnCompare, nCol, bAscending, data, m_fixedRowCount, -1);
}

namespace {

// Compares ASCII beginnings of two texts (count bytes of each at hand, no terminating zero among them):
// single-byte characters are their own codes, so the first ASCII characters that differ decide. Gives the
// comparison's result, or 2 when the bytes at hand do not decide; then *same is how many bytes both share, all
// of them single-byte characters.
int CompareAsciiBeginning(const unsigned char* text1, size_t count1, const unsigned char* text2, size_t count2,
                          size_t* same) {
    size_t i = 0;
    const size_t count = std::min(count1, count2);
    while (i < count && text1[i] == text2[i] && text1[i] != 0 && text1[i] < 0x80)
        ++i;
    *same = i;
    if (i < count && text1[i] < 0x80 && text2[i] < 0x80)
        return text1[i] == text2[i] ? 0 : (text1[i] < text2[i] ? -1 : 1); // equal only where both texts end
    return 2;
}

} // namespace

namespace {

// The sort of rows nLow to nHigh: a quicksort on the middle row's value, exchanging rows that compare unequal, whose
// order for rows that compare equal is part of what the grid shows. Rows is what it sorts: Pivot(row) gives a
// value that compares as the row did when the sort of that range began, Compare(row, pivot) and Compare(row1,
// row2) the comparison of the ascending order, Swap(row1, row2) exchanges two rows.
int Sign(int value) { return (value > 0) - (value < 0); }

template <class Rows> void QuickSort(Rows& rows, int nLow, int nHigh, bool ascending) {
    const auto pivot = rows.Pivot((nLow + nHigh) / 2);
    const int sign = ascending ? 1 : -1;
    int lo = nLow;
    int hi = nHigh;
    for (;;) {
        while (lo < nHigh && sign * Sign(rows.Compare(lo, pivot)) < 0)
            ++lo;
        while (hi > nLow && sign * Sign(rows.Compare(hi, pivot)) > 0)
            --hi;
        if (lo > hi)
            break;
        if (rows.Compare(lo, hi) != 0)
            rows.Swap(lo, hi);
        ++lo;
        --hi;
        if (lo > hi)
            break;
    }
    if (nLow < hi)
        QuickSort(rows, nLow, hi, ascending);
    if (lo < nHigh)
        QuickSort(rows, lo, nHigh, ascending);
}

} // namespace

// The grid's rows themselves, compared with any comparison of the owner's.
struct CGridCtrl::SortedRows {
    CGridCtrl& grid;
    GridCompareFunction compare;
    int col;
    LPARAM data;

    CGridCellBase* Cell(int row) const { return grid.GetCell(row, col); }
    CGridCellBase* Pivot(int row) const { return Cell(row); } // a cell object keeps its value when it moves
    int Compare(int row, CGridCellBase* pivot) const { return compare(Cell(row), pivot, data); }
    int Compare(int row1, int row2) const { return compare(Cell(row1), Cell(row2), data); }
    void Swap(int row1, int row2) const { grid.SwapRows(row1, row2); }
};

// The first bytes of a row's text in the sorted column beside the row, so that most comparisons of a sort by the
// grid's own cells' texts read neither the rows nor the cells.
struct CGridCtrl::SortedTexts {
    struct Key {
        unsigned char head[8];
        std::uint8_t headLength;
        int row; // where the row was when the sort began
        CGridCellBase* cell;
    };
    std::vector<Key> keys;
    int first;

    SortedTexts(const CGridCtrl& grid, int col, int nLow, int nHigh) : first(nLow) {
        keys.reserve(static_cast<size_t>(nHigh - nLow + 1));
        for (int row = nLow; row <= nHigh; row++) {
            Key key{};
            key.row = row;
            key.cell = grid.CellAt(row, col);
            const char* text = key.cell ? key.cell->GetText() : "";
            while (key.headLength < sizeof key.head && text && text[key.headLength])
                key.head[key.headLength] = static_cast<unsigned char>(text[key.headLength]), ++key.headLength;
            keys.push_back(key);
        }
    }
    static int Compare(const Key& key1, const Key& key2) {
        if (key1.cell == key2.cell) // the pivot met again: a text is equal to itself
            return 0;
        size_t same = 0;
        const int decided = CompareAsciiBeginning(key1.head, key1.headLength, key2.head, key2.headLength, &same);
        return decided != 2 ? decided : CGridCtrl::CompareCellText(key1.cell, key2.cell, 0);
    }
    Key Pivot(int row) const { return keys[static_cast<size_t>(row - first)]; }
    int Compare(int row, const Key& pivot) const { return Compare(keys[static_cast<size_t>(row - first)], pivot); }
    int Compare(int row1, int row2) const {
        return Compare(keys[static_cast<size_t>(row1 - first)], keys[static_cast<size_t>(row2 - first)]);
    }
    void Swap(int row1, int row2) {
        std::swap(keys[static_cast<size_t>(row1 - first)], keys[static_cast<size_t>(row2 - first)]);
    }
};

BOOL CGridCtrl::SortRange(GridCompareFunction pfnCompare, int nCol, BOOL bAscending, LPARAM data, int nLow, int nHigh) {
    if (nCol >= m_columnCount || !pfnCompare)
        return FALSE;
    if (nHigh == -1)
        nHigh = m_rowCount - 1;
    // Rows outside the grid have no place to move to.
    if (nHigh <= nLow || nLow < 0 || nHigh >= m_rowCount)
        return FALSE;

    if (pfnCompare != CompareCellText || nCol < 0 || !m_onlyOwnCells) {
        SortedRows rows{*this, pfnCompare, nCol, data};
        QuickSort(rows, nLow, nHigh, bAscending != FALSE);
        return TRUE;
    }
    // The grid's own comparison of its own cells, which heed neither their selected bits nor their places while a
    // sort runs: sorted beside the rows, which then take the order found, as the exchanges would have left them.
    SortedTexts texts(*this, nCol, nLow, nHigh);
    QuickSort(texts, nLow, nHigh, bAscending != FALSE);
    const size_t count = texts.keys.size();
    std::vector<int> at(count);    // where each row that was at nLow + i is now, from nLow
    std::vector<int> holds(count); // which row (by where it was) is now at nLow + i
    for (size_t i = 0; i < count; i++)
        at[i] = holds[i] = static_cast<int>(i);
    for (size_t i = 0; i < count; i++) {
        const int wanted = texts.keys[i].row - nLow;
        const int from = at[static_cast<size_t>(wanted)];
        if (from == static_cast<int>(i))
            continue;
        SwapRows(nLow + static_cast<int>(i), nLow + from);
        const int displaced = holds[i];
        holds[i] = wanted;
        holds[static_cast<size_t>(from)] = displaced;
        at[static_cast<size_t>(wanted)] = static_cast<int>(i);
        at[static_cast<size_t>(displaced)] = from;
    }
    return TRUE;
}

void CGridCtrl::SwapRows(int nRow1, int nRow2) {
    // Whole rows change places, their headings and heights with them; every row holds a cell place for every
    // column. Each cell is told its new place, unless all are the grid's own, which ignore it.
    CellRow& upper = m_rows[static_cast<size_t>(nRow1)];
    CellRow& lower = m_rows[static_cast<size_t>(nRow2)];
    upper.swap(lower);
    if (!m_onlyOwnCells) {
        for (size_t col = 0; col < upper.size(); col++)
            if (upper[col])
                upper[col]->SetCoords(nRow1, static_cast<int>(col));
        for (size_t col = 0; col < lower.size(); col++)
            if (lower[col])
                lower[col]->SetCoords(nRow2, static_cast<int>(col));
    }
    std::swap(m_rowHeights[static_cast<size_t>(nRow1)], m_rowHeights[static_cast<size_t>(nRow2)]);
    FollowSwappedRows(nRow1, nRow2);
}

void CGridCtrl::FollowSwappedRows(int nRow1, int nRow2) {
    // The cells took their selected and focused marks with them; the selection and the focus go where the marks
    // went.
    if (!m_selection.IsEmpty())
        m_selectionAhead = true;
    m_selection.SwapRows(nRow1, nRow2, m_columnCount);
    if (m_focusCell.row == nRow1)
        m_focusCell.row = nRow2;
    else if (m_focusCell.row == nRow2)
        m_focusCell.row = nRow1;
}

int CGridCtrl::CompareCellText(CGridCellBase* pCell1, CGridCellBase* pCell2, LPARAM /*data*/) {
    if (!pCell1 || !pCell2)
        return 0;
    size_t same = 0;
    if (typeid(*pCell1) == typeid(CGridCell) && typeid(*pCell2) == typeid(CGridCell)) {
        // The grid's own cells hold the first bytes of their texts themselves: most comparisons end there.
        size_t count1 = 0;
        size_t count2 = 0;
        const auto* head1 = reinterpret_cast<const unsigned char*>(
            static_cast<const CGridCell*>(pCell1)->GetTextObject().Head(&count1));
        const auto* head2 = reinterpret_cast<const unsigned char*>(
            static_cast<const CGridCell*>(pCell2)->GetTextObject().Head(&count2));
        const int decided = CompareAsciiBeginning(head1, count1, head2, count2, &same);
        if (decided != 2)
            return decided;
    }
    const auto* text1 = reinterpret_cast<const unsigned char*>(pCell1->GetText());
    const auto* text2 = reinterpret_cast<const unsigned char*>(pCell2->GetText());
    if (!text1 || !text2)
        return _mbscmp(text1, text2);
    // Past an ASCII beginning the two texts share, only a double-byte character where they first differ needs the
    // full comparison.
    text1 += same;
    text2 += same;
    while (*text1 && *text1 == *text2 && *text1 < 0x80) {
        ++text1;
        ++text2;
    }
    if (*text1 < 0x80 && *text2 < 0x80)
        return *text1 == *text2 ? 0 : (*text1 < *text2 ? -1 : 1);
    return _mbscmp(text1, text2);
}

BOOL CGridCtrl::SetCell(int nRow, int nCol, CGridCellBase* pCell) {
    if (!IsValid(nRow, nCol) || !pCell)
        return FALSE;
    CellRow& row = m_rows[static_cast<size_t>(nRow)];
    if (static_cast<size_t>(nCol) >= row.size())
        return FALSE;
    pCell->SetCoords(nRow, nCol);
    row[static_cast<size_t>(nCol)] = pCell;
    NoteStoredCell(pCell);
    // The position takes the selected mark the cell brings, as a sort moving cells about expects.
    const bool marked = (pCell->GetState() & GCS_SELECTED) != 0;
    if (marked != m_selection.Contains(nRow, nCol))
        m_selection.Set(nRow, nCol, marked);
    return TRUE;
}
