// The selection: the map of selected cells kept in step with their GCS_SELECTED bits.

#include "GridCtrl.h"

#include "platform/gui/DC.h"
#include "platform/gui/WaitCursor.h"

#include <algorithm>
#include <optional>
#include <vector>

void CGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint,
                                 BOOL bSelectCells) {
    if (!m_enableSelection)
        return;
    // Clearing an empty selection is frequent (every insertion and deletion does it) and needs no wait cursor.
    std::optional<CWaitCursor> wait;
    if (!m_selectedCells.empty() || nMinRow >= 0)
        wait.emplace();
    CDC* pDC = bForceRepaint ? GetDC() : nullptr;

    if (nMinRow >= 0 && nMinRow < m_fixedRowCount)
        nMinRow = m_fixedRowCount;
    if (nMaxRow >= 0 && nMaxRow < m_fixedRowCount)
        nMaxRow = m_fixedRowCount;
    if (nMinCol >= 0 && nMinCol < m_fixedColumnCount)
        nMinCol = m_fixedColumnCount;
    if (nMaxCol >= 0 && nMaxCol < m_fixedColumnCount)
        nMaxCol = m_fixedColumnCount;
    const CCellRange range(nMinRow, nMinCol, nMaxRow, nMaxCol);

    // Only cells in view are repainted: at once on the DC when forced, else when the window next paints.
    const CCellRange visible = GetVisibleNonFixedCellRange();
    auto repaint = [&](int row, int col) {
        if (!visible.InRange(row, col))
            return;
        if (pDC)
            RedrawCell(row, col, pDC);
        else
            InvalidateCellRect(row, col);
    };

    if (bSelectCells) {
        // Deselecting changes the map, so walk a copy of it.
        std::vector<CCellID> selected;
        selected.reserve(m_selectedCells.size());
        for (const auto& entry : m_selectedCells)
            selected.push_back(entry.second);
        for (const CCellID& cell : selected) {
            if (!IsValid(cell)) {
                m_selectedCells.erase(CellKey(cell.row, cell.col));
                continue;
            }
            SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~GCS_SELECTED);
            if (!range.InRange(cell))
                repaint(cell.row, cell.col);
        }
        if (nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= 0 && nMaxCol >= 0) {
            for (const auto& entry : m_previousSelectedCells) {
                const CCellID& cell = entry.second;
                if (!IsValid(cell))
                    continue;
                SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GCS_SELECTED);
                repaint(cell.row, cell.col);
            }
        }
    }

    if (nMinRow >= 0 && range.IsValid() && nMaxRow < m_rowCount && nMaxCol < m_columnCount) {
        for (int row = nMinRow; row <= nMaxRow; row++) {
            for (int col = nMinCol; col <= nMaxCol; col++) {
                const bool selected = IsCellSelected(row, col) != FALSE;
                if (selected == (bSelectCells != FALSE))
                    continue;
                const UINT state = GetItemState(row, col);
                SetItemState(row, col, bSelectCells ? (state | GCS_SELECTED) : (state & ~GCS_SELECTED));
                repaint(row, col);
            }
        }
    }
    if (pDC)
        ReleaseDC(pDC);
}

void CGridCtrl::ResetSelectedRange() {
    m_previousSelectedCells.clear();
    SetSelectedRange(-1, -1, -1, -1, FALSE, TRUE);
    SetFocusCell(-1, -1);
}

void CGridCtrl::SelectCells(CCellID currentCell, BOOL bForceRedraw, BOOL bSelectCells) {
    if (!m_enableSelection || !IsValid(currentCell) || currentCell.row < m_fixedRowCount ||
        currentCell.col < m_fixedColumnCount)
        return;
    SetSelectedRange(std::min(m_selectionStartCell.row, currentCell.row),
                     std::min(m_selectionStartCell.col, currentCell.col),
                     std::max(m_selectionStartCell.row, currentCell.row),
                     std::max(m_selectionStartCell.col, currentCell.col), bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectRows(CCellID currentCell, BOOL bForceRedraw, BOOL bSelectCells) {
    if (!m_enableSelection || !IsValid(currentCell) || currentCell.row < m_fixedRowCount)
        return;
    SetSelectedRange(std::min(m_selectionStartCell.row, currentCell.row), m_fixedColumnCount,
                     std::max(m_selectionStartCell.row, currentCell.row), m_columnCount - 1, bForceRedraw,
                     bSelectCells);
}

void CGridCtrl::SelectColumns(CCellID currentCell, BOOL bForceRedraw, BOOL bSelectCells) {
    if (!m_enableSelection || !IsValid(currentCell) || currentCell.col < m_fixedColumnCount)
        return;
    SetSelectedRange(m_fixedRowCount, std::min(m_selectionStartCell.col, currentCell.col), m_rowCount - 1,
                     std::max(m_selectionStartCell.col, currentCell.col), bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectAllCells() {
    if (m_enableSelection)
        SetSelectedRange(m_fixedRowCount, m_fixedColumnCount, m_rowCount - 1, m_columnCount - 1);
}

void CGridCtrl::OnSelecting(const CCellID& currentCell) {
    if (!m_enableSelection)
        return;
    switch (m_mouseMode) {
    case GMS_SELECT_ALL: SelectAllCells(); break;
    case GMS_SELECT_COLUMNS: SelectColumns(currentCell, FALSE); break;
    case GMS_SELECT_ROWS: SelectRows(currentCell, FALSE); break;
    case GMS_SELECT_CELLS: SelectCells(currentCell, FALSE); break;
    default: break;
    }
}

void CGridCtrl::OnFixedRowClick(CCellID& cell) {
    if (!IsValid(cell))
        return;
    if (m_sortOnFixedRowClick) {
        CWaitCursor waiting;
        // A second click on the sorted column turns the order round; another column starts ascending.
        const BOOL ascending = cell.col == m_sortColumn ? !m_sortAscending : TRUE;
        SortItems(cell.col, ascending, 0);
        Invalidate();
    }
    if (!m_fixedRowSelection)
        return;
    m_mouseMode = cell.col < m_fixedColumnCount ? GMS_SELECT_ALL : GMS_SELECT_COLUMNS;
    OnSelecting(cell);
}

void CGridCtrl::OnFixedColumnClick(CCellID& cell) {
    if (!IsValid(cell) || !m_fixedColumnSelection)
        return;
    m_mouseMode = cell.row < m_fixedRowCount ? GMS_SELECT_ALL : GMS_SELECT_ROWS;
    OnSelecting(cell);
}
