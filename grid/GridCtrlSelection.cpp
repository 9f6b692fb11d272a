// The selection: which cells are selected, kept in step with the GCS_SELECTED bits of the cells.

#include "GridCtrl.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/window/WaitCursor.h"

#include <algorithm>
#include <optional>
#include <vector>

void CGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint,
                                 BOOL bSelectCells) {
    if (!m_enableSelection)
        return;
    // Clearing an empty selection is frequent (every insertion and deletion does it) and needs no wait cursor.
    std::optional<CWaitCursor> wait;
    if (!m_selection.IsEmpty() || nMinRow >= 0)
        wait.emplace();

    if (nMinRow >= 0 && nMinRow < m_fixedRowCount)
        nMinRow = m_fixedRowCount;
    if (nMaxRow >= 0 && nMaxRow < m_fixedRowCount)
        nMaxRow = m_fixedRowCount;
    if (nMinCol >= 0 && nMinCol < m_fixedColumnCount)
        nMinCol = m_fixedColumnCount;
    if (nMaxCol >= 0 && nMaxCol < m_fixedColumnCount)
        nMaxCol = m_fixedColumnCount;
    const CCellRange range(nMinRow, nMinCol, nMaxRow, nMaxCol);
    // The previous selection comes back only with four bounds; the block applies only inside the grid.
    const bool withPrevious = bSelectCells && nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= 0 && nMaxCol >= 0;
    const bool withBlock = nMinRow >= 0 && range.IsValid() && nMaxRow < m_rowCount && nMaxCol < m_columnCount;

    // Only cells in view are repainted, so only their look before the change is needed.
    const bool repaints = m_allowDraw && IsWindow(GetSafeHwnd());
    const CCellRange visible = repaints ? GetVisibleNonFixedCellRange() : CCellRange();
    std::vector<char> wasSelected;
    if (visible.IsValid()) {
        wasSelected.reserve(static_cast<size_t>(visible.GetMaxRow() - visible.GetMinRow() + 1) *
                            static_cast<size_t>(visible.GetMaxCol() - visible.GetMinCol() + 1));
        for (int row = visible.GetMinRow(); row <= visible.GetMaxRow(); row++)
            for (int col = visible.GetMinCol(); col <= visible.GetMaxCol(); col++)
                wasSelected.push_back(m_selection.Contains(row, col) ? 1 : 0);
    }

    // Selecting replaces the selection by the previous one plus the block; deselecting takes the block out.
    CCellSelection before;
    if (!m_selection.IsEmpty() || withPrevious || withBlock)
        m_selectionAhead = true;
    if (bSelectCells) {
        before = std::move(m_selection);
        m_selection = CCellSelection();
        if (withPrevious) {
            m_selection = m_previousSelection;
            m_selection.ClipTo(m_rowCount, m_columnCount);
        }
        if (withBlock)
            m_selection.AddBlock(range);
        if (m_irregularCells)
            AskCellsAbout(before);
    } else if (withBlock) {
        if (m_irregularCells)
            before = m_selection;
        m_selection.RemoveBlock(range);
        if (m_irregularCells)
            AskCellsAbout(before);
    }

    if (!visible.IsValid())
        return;
    // Cells whose look changed are repainted, and those of the previous selection with them: at once on the DC
    // when forced, else when the window next paints.
    CDC* pDC = bForceRepaint ? GetDC() : nullptr;
    size_t at = 0;
    for (int row = visible.GetMinRow(); row <= visible.GetMaxRow(); row++) {
        for (int col = visible.GetMinCol(); col <= visible.GetMaxCol(); col++) {
            const bool changed = (wasSelected[at++] != 0) != m_selection.Contains(row, col);
            if (!changed && !(withPrevious && m_previousSelection.Contains(row, col)))
                continue;
            if (pDC)
                RedrawCell(row, col, pDC);
            else
                InvalidateCellRect(row, col);
        }
    }
    if (pDC)
        ReleaseDC(pDC);
}

void CGridCtrl::AskCellsAbout(const CCellSelection& before) {
    std::vector<CCellID> touched;
    before.ForEach([&touched](int row, int col) { touched.emplace_back(row, col); });
    m_selection.ForEach([&touched](int row, int col) { touched.emplace_back(row, col); });
    for (const CCellID& cell : touched) {
        if (!IsValid(cell))
            continue;
        const bool wanted = m_selection.Contains(cell.row, cell.col);
        CGridCellBase* object = CellAt(cell.row, cell.col);
        const DWORD state = object ? object->GetState() : 0;
        if (object)
            object->SetState(wanted ? (state | GCS_SELECTED) : (state & ~GCS_SELECTED));
        const bool holds = object && (object->GetState() & GCS_SELECTED) != 0;
        if (holds != wanted)
            m_selection.Set(cell.row, cell.col, holds);
    }
}

void CGridCtrl::ResetSelectedRange() {
    m_previousSelection.Clear();
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
