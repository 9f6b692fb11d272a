// Sorting the non-fixed rows by one column: by a click on a heading or by the owner, with the cells' texts or
// the owner's own comparison.

#include "GridCtrl.h"

#include "platform/gui/WaitCursor.h"
#include "platform/os/CodePage.h"

#include <algorithm>
#include <typeinfo>
#include <utility>

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

BOOL CGridCtrl::SortRange(GridCompareFunction pfnCompare, int nCol, BOOL bAscending, LPARAM data, int nLow, int nHigh) {
    if (nCol >= m_columnCount || !pfnCompare)
        return FALSE;
    if (nHigh == -1)
        nHigh = m_rowCount - 1;
    // Rows outside the grid have no place to move to.
    if (nHigh <= nLow || nLow < 0 || nHigh >= m_rowCount)
        return FALSE;

    // The pivot is a cell object, not a row: it keeps its value when a swap moves it. The grid's own comparison
    // reads texts only, so the cells it gets need no selected bit brought in line.
    const bool textsOnly = pfnCompare == CompareCellText;
    auto cell = [&](int row) { return textsOnly ? CellAt(row, nCol) : GetCell(row, nCol); };
    CGridCellBase* pivot = cell((nLow + nHigh) / 2);
    int lo = nLow;
    int hi = nHigh;
    for (;;) {
        if (bAscending) {
            while (lo < nHigh && pfnCompare(cell(lo), pivot, data) < 0)
                ++lo;
            while (hi > nLow && pfnCompare(cell(hi), pivot, data) > 0)
                --hi;
        } else {
            while (lo < nHigh && pfnCompare(cell(lo), pivot, data) > 0)
                ++lo;
            while (hi > nLow && pfnCompare(cell(hi), pivot, data) < 0)
                --hi;
        }
        if (lo > hi)
            break;
        if (pfnCompare(cell(lo), cell(hi), data) != 0) {
            // Whole rows change places, their headings and heights with them; every row holds a cell place for
            // every column. Each cell is told its new place, unless all are the grid's own, which ignore it.
            CellRow& upper = m_rows[static_cast<size_t>(lo)];
            CellRow& lower = m_rows[static_cast<size_t>(hi)];
            upper.swap(lower);
            if (!m_onlyOwnCells) {
                for (size_t col = 0; col < upper.size(); col++)
                    if (upper[col])
                        upper[col]->SetCoords(lo, static_cast<int>(col));
                for (size_t col = 0; col < lower.size(); col++)
                    if (lower[col])
                        lower[col]->SetCoords(hi, static_cast<int>(col));
            }
            std::swap(m_rowHeights[static_cast<size_t>(lo)], m_rowHeights[static_cast<size_t>(hi)]);
            FollowSwappedRows(lo, hi);
        }
        ++lo;
        --hi;
        if (lo > hi)
            break;
    }
    if (nLow < hi)
        SortRange(pfnCompare, nCol, bAscending, data, nLow, hi);
    if (lo < nHigh)
        SortRange(pfnCompare, nCol, bAscending, data, lo, nHigh);
    return TRUE;
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
