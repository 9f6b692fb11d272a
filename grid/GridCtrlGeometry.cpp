// Shape (counts, fixed counts, insertion and deletion), sizes and cell geometry of the grid.

#include "GridCtrl.h"

#include "platform/gui/draw/DC.h"
#include "platform/os/MessageBox.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

size_t At(int index) { return static_cast<size_t>(index); }

// Rows and columns are measured the same way along their axis, from a list of sizes: the fixed ones first, then
// the scrolled ones from the first in view.

// The sum of sizes[first, end).
int SumOf(const std::vector<UINT>& sizes, int first, int end) {
    int sum = 0;
    for (int i = std::max(first, 0); i < end && At(i) < sizes.size(); i++)
        sum += static_cast<int>(sizes[At(i)]);
    return sum;
}

// The leading edge of an entry: after the fixed entries before it, or after all fixed entries and the scrolled
// ones from the first in view.
int EdgeOf(const std::vector<UINT>& sizes, int index, int fixedCount, int firstInView) {
    if (index < fixedCount)
        return SumOf(sizes, 0, index);
    return SumOf(sizes, 0, fixedCount) + SumOf(sizes, firstInView, index);
}

// The entry under a coordinate, or -1. Entries of size 0 are never hit.
int IndexAt(const std::vector<UINT>& sizes, int pos, int fixedCount, int firstInView, bool allowFixed) {
    const int count = static_cast<int>(sizes.size());
    const int fixedExtent = SumOf(sizes, 0, fixedCount);
    if (pos < 0 || (!allowFixed && pos < fixedExtent))
        return -1;
    int index = pos < fixedExtent ? 0 : firstInView;
    for (int edge = pos < fixedExtent ? 0 : fixedExtent; index < count; index++) {
        edge += static_cast<int>(sizes[At(index)]);
        if (edge > pos)
            break;
    }
    return index < count ? index : -1;
}

// The last entry that reaches into [start, limit) from the first in view, and how far the entries reach
// (at most to limit).
int LastInView(const std::vector<UINT>& sizes, int firstInView, int start, int limit, int* reach) {
    const int count = static_cast<int>(sizes.size());
    int edge = start;
    int index = firstInView;
    for (; index < count; index++) {
        edge += static_cast<int>(sizes[At(index)]);
        if (edge >= limit) {
            edge = limit;
            break;
        }
    }
    *reach = edge;
    return std::min(index, count - 1);
}

} // namespace

// ---- Shape -----------------------------------------------------------------------------------------------------

BOOL CGridCtrl::SetRowCount(int nRows) {
    if (nRows < 0)
        return FALSE;
    if (nRows == m_rowCount)
        return TRUE;
    BOOL result = TRUE;
    m_topLeftCell = CCellID();
    m_virtualHeight = -1;
    if (nRows < m_fixedRowCount)
        m_fixedRowCount = nRows;
    if (m_focusCell.row >= nRows)
        SetFocusCell(-1, -1);

    if (nRows < m_rowCount) {
        // The selection leaves the rows as a whole rather than cell by cell; their positions go with them.
        m_selection.ClipTo(nRows, m_columnCount);
        const bool irregular = m_irregularCells;
        for (int row = nRows; row < m_rowCount; row++)
            for (int col = 0; col < m_columnCount; col++)
                DestroyCell(row, col);
        m_irregularCells = irregular;
        m_rows.resize(At(nRows));
        m_rowHeights.resize(At(nRows));
        m_rowCount = nRows;
        m_virtualHeight = -1;
    }
    try {
        m_rowHeights.resize(At(nRows));
        m_rows.resize(At(nRows));
        const UINT height = static_cast<UINT>(m_defaultCell.GetHeight());
        while (m_rowCount < nRows) {
            const int row = m_rowCount;
            m_rowHeights[At(row)] = height;
            CellRow& cells = m_rows[At(row)];
            cells.resize(At(m_columnCount));
            for (int col = 0; col < m_columnCount; col++)
                NoteStoredCell(cells[At(col)] = CreateCell(row, col));
            m_rowCount++;
        }
        m_virtualHeight = -1;
    } catch (const std::bad_alloc&) {
        // The completed rows stay; the half-made one goes.
        m_virtualHeight = -1;
        if (At(m_rowCount) < m_rows.size())
            for (CGridCellBase* cell : m_rows[At(m_rowCount)])
                delete cell;
        m_rows.resize(At(m_rowCount));
        m_rowHeights.resize(At(m_rowCount));
        AfxReportOutOfMemory();
        result = FALSE;
    }

    SetModified(TRUE);
    ResetScrollBars();
    Refresh();
    return result;
}

BOOL CGridCtrl::SetColumnCount(int nCols) {
    if (nCols < 0)
        return FALSE;
    if (nCols == m_columnCount)
        return TRUE;
    BOOL result = TRUE;
    m_topLeftCell = CCellID();
    if (nCols < m_fixedColumnCount)
        m_fixedColumnCount = nCols;
    if (m_focusCell.col >= nCols)
        SetFocusCell(-1, -1);

    const int oldCount = m_columnCount;
    if (nCols < oldCount) {
        m_selection.ClipTo(m_rowCount, nCols);
        const bool irregular = m_irregularCells;
        for (int row = 0; row < m_rowCount; row++)
            for (int col = nCols; col < oldCount; col++)
                DestroyCell(row, col);
        DropColumnsFrom(nCols);
        m_irregularCells = irregular;
        m_columnCount = nCols;
    } else {
        try {
            m_columnWidths.resize(At(nCols), static_cast<UINT>(m_defaultFixedColumnCell.GetWidth()));
            for (int row = 0; row < m_rowCount; row++) {
                CellRow& cells = m_rows[At(row)];
                cells.resize(At(nCols));
                for (int col = oldCount; col < nCols; col++)
                    NoteStoredCell(cells[At(col)] = CreateCell(row, col));
            }
            m_columnCount = nCols;
        } catch (const std::bad_alloc&) {
            // All or nothing: the grid keeps its old columns and no row is left longer than the others.
            DropColumnsFrom(oldCount);
            AfxReportOutOfMemory();
            result = FALSE;
        }
    }
    ForgetSortColumn();

    SetModified(TRUE);
    ResetScrollBars();
    Refresh();
    return result;
}

void CGridCtrl::DropColumnsFrom(int nCol) {
    for (CellRow& cells : m_rows) {
        // Positions still holding a cell here were never handed out (a growth that failed half-way).
        for (size_t col = At(nCol); col < cells.size(); col++)
            delete cells[col];
        if (cells.size() > At(nCol))
            cells.resize(At(nCol));
    }
    if (m_columnWidths.size() > At(nCol))
        m_columnWidths.resize(At(nCol));
}

BOOL CGridCtrl::SetFixedRowCount(int nFixedRows) {
    if (nFixedRows < 0)
        return FALSE;
    if (nFixedRows == m_fixedRowCount)
        return TRUE;
    ResetSelectedRange();
    m_topLeftCell = CCellID();
    if (nFixedRows > m_rowCount && !SetRowCount(nFixedRows))
        return FALSE;
    if (m_focusCell.row < nFixedRows)
        SetFocusCell(-1, -1);

    const int oldCount = m_fixedRowCount;
    ChangeFixedArea(std::min(oldCount, nFixedRows), std::max(oldCount, nFixedRows), 0, m_columnCount, GCS_FIXEDROW,
                    nFixedRows > oldCount);
    m_fixedRowCount = nFixedRows;
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int nFixedCols) {
    if (nFixedCols < 0)
        return FALSE;
    if (nFixedCols == m_fixedColumnCount)
        return TRUE;
    if (nFixedCols > m_columnCount && !SetColumnCount(nFixedCols))
        return FALSE;
    if (m_focusCell.col < nFixedCols)
        SetFocusCell(-1, -1);
    ResetSelectedRange();
    m_topLeftCell = CCellID();

    const int oldCount = m_fixedColumnCount;
    ChangeFixedArea(0, m_rowCount, std::min(oldCount, nFixedCols), std::max(oldCount, nFixedCols), GCS_FIXEDCOL,
                    nFixedCols > oldCount);
    m_fixedColumnCount = nFixedCols;
    Refresh();
    return TRUE;
}

void CGridCtrl::ChangeFixedArea(int firstRow, int endRow, int firstCol, int endCol, DWORD areaBit, bool entering) {
    for (int row = firstRow; row < endRow; row++) {
        for (int col = firstCol; col < endCol; col++) {
            CGridCellBase* cell = GetCell(row, col);
            if (!cell)
                continue;
            const UINT state = cell->GetState();
            const bool inOtherArea = areaBit == GCS_FIXEDROW ? col < m_fixedColumnCount : row < m_fixedRowCount;
            if (entering) {
                SetItemState(row, col, state | GCS_FIXED | areaBit);
            } else if (inOtherArea) {
                SetItemState(row, col, state & ~areaBit); // still a heading of the other kind
                continue;
            } else {
                SetItemState(row, col, state & ~(GCS_FIXED | areaBit));
            }
            cell->SetBackClr(CLR_DEFAULT);
            cell->SetTextClr(CLR_DEFAULT);
        }
    }
}

int CGridCtrl::InsertRow(LPCTSTR strHeading, int nRow) {
    if (nRow >= 0 && (nRow < m_fixedRowCount || nRow >= m_rowCount))
        return -1;
    m_topLeftCell = CCellID();
    ResetSelectedRange();
    if (m_columnCount == 0 && !SetColumnCount(1))
        return -1;

    if (nRow < 0)
        nRow = m_rowCount;
    CellRow cells;
    try {
        cells.reserve(At(m_columnCount));
        for (int col = 0; col < m_columnCount; col++)
            cells.push_back(CreateCell(nRow, col));
        for (CGridCellBase* cell : cells)
            NoteStoredCell(cell);
        m_rowHeights.insert(m_rowHeights.begin() + nRow, 0);
        try {
            m_rows.insert(m_rows.begin() + nRow, std::move(cells));
        } catch (...) {
            m_rowHeights.erase(m_rowHeights.begin() + nRow);
            throw;
        }
    } catch (const std::bad_alloc&) {
        for (CGridCellBase* cell : cells)
            delete cell;
        AfxReportOutOfMemory();
        return -1;
    }
    m_rowCount++;
    SetItemText(nRow, 0, strHeading);

    CGridCellBase* heading = GetCell(nRow, 0);
    if (!strHeading || !*strHeading || !heading)
        m_rowHeights[At(nRow)] = static_cast<UINT>(m_defaultFixedRowCell.GetHeight());
    else
        m_rowHeights[At(nRow)] = static_cast<UINT>(heading->GetTextExtent(strHeading).cy);
    // The sum grows by the new row alone: summing every row again at each insertion makes filling a grid quadratic.
    if (m_virtualHeight >= 0)
        m_virtualHeight += static_cast<int>(m_rowHeights[At(nRow)]);

    ResetScrollBars();
    SetModified(TRUE);
    return nRow;
}

int CGridCtrl::InsertColumn(LPCTSTR strHeading, UINT nFormat, int nColumn) {
    if (nColumn >= 0 && (nColumn < m_fixedColumnCount || nColumn > m_columnCount))
        return -1;
    m_topLeftCell = CCellID();
    ResetSelectedRange();
    if (m_rowCount == 0 && !SetRowCount(1))
        return -1;

    if (nColumn < 0)
        nColumn = m_columnCount;
    int rowsDone = 0;
    try {
        m_columnWidths.insert(m_columnWidths.begin() + nColumn, 0);
        for (; rowsDone < m_rowCount; rowsDone++) {
            CGridCellBase* cell = CreateCell(rowsDone, nColumn);
            NoteStoredCell(cell);
            CellRow& cells = m_rows[At(rowsDone)];
            try {
                cells.insert(cells.begin() + nColumn, cell);
            } catch (...) {
                delete cell;
                throw;
            }
        }
    } catch (const std::bad_alloc&) {
        // Take the column out of the rows that got it, so every row keeps the grid's width.
        for (int row = 0; row < rowsDone; row++) {
            CellRow& cells = m_rows[At(row)];
            delete cells[At(nColumn)];
            cells.erase(cells.begin() + nColumn);
        }
        if (m_columnWidths.size() > At(m_columnCount))
            m_columnWidths.erase(m_columnWidths.begin() + nColumn);
        AfxReportOutOfMemory();
        return -1;
    }
    m_columnCount++;
    SetItemText(0, nColumn, strHeading);
    for (int row = 0; row < m_rowCount; row++)
        if (CGridCellBase* cell = GetCell(row, nColumn))
            cell->SetFormat(nFormat);

    CGridCellBase* heading = GetCell(0, nColumn);
    m_columnWidths[At(nColumn)] =
        static_cast<UINT>(heading ? heading->GetTextExtent(strHeading).cx : m_defaultCell.GetWidth());

    ResetScrollBars();
    SetModified(TRUE);
    return nColumn;
}

BOOL CGridCtrl::DeleteRow(int nRow) {
    if (nRow < 0 || nRow >= m_rowCount)
        return FALSE;
    ResetSelectedRange();
    const bool irregular = m_irregularCells;
    for (int col = 0; col < m_columnCount; col++)
        DestroyCell(nRow, col);
    m_irregularCells = irregular;
    m_rows.erase(m_rows.begin() + nRow);
    if (m_virtualHeight >= 0)
        m_virtualHeight -= static_cast<int>(m_rowHeights[At(nRow)]);
    m_rowHeights.erase(m_rowHeights.begin() + nRow);
    m_rowCount--;
    if (nRow < m_fixedRowCount)
        m_fixedRowCount--;
    ResetScrollBars();
    SetModified(TRUE);
    return TRUE;
}

BOOL CGridCtrl::DeleteNonFixedRows() {
    ResetSelectedRange();
    for (int row = m_rowCount - 1; row >= m_fixedRowCount; row--)
        DeleteRow(row);
    return TRUE;
}

BOOL CGridCtrl::DeleteAllItems() {
    ResetSelectedRange();
    m_columnWidths.clear();
    m_rowHeights.clear();
    m_virtualHeight = -1;
    for (int row = 0; row < m_rowCount; row++)
        for (int col = 0; col < m_columnCount; col++)
            DestroyCell(row, col);
    m_rows.clear();
    m_irregularCells = false;
    m_onlyOwnCells = true;
    m_selectionAhead = false;
    m_focusCell = CCellID();
    m_rowCount = m_fixedRowCount = m_columnCount = m_fixedColumnCount = 0;
    ResetScrollBars();
    SetModified(TRUE);
    return TRUE;
}

// ---- Sizes -----------------------------------------------------------------------------------------------------

int CGridCtrl::GetRowHeight(int nRow) const {
    return (nRow >= 0 && nRow < m_rowCount) ? static_cast<int>(m_rowHeights[At(nRow)]) : -1;
}

int CGridCtrl::GetColumnWidth(int nCol) const {
    return (nCol >= 0 && nCol < m_columnCount) ? static_cast<int>(m_columnWidths[At(nCol)]) : -1;
}

BOOL CGridCtrl::SetRowHeight(int nRow, int height) {
    if (nRow < 0 || nRow >= m_rowCount || height < 0)
        return FALSE;
    m_rowHeights[At(nRow)] = static_cast<UINT>(height);
    m_virtualHeight = -1;
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::SetColumnWidth(int nCol, int width) {
    if (nCol < 0 || nCol >= m_columnCount || width < 0)
        return FALSE;
    m_columnWidths[At(nCol)] = static_cast<UINT>(width);
    ResetScrollBars();
    return TRUE;
}

int CGridCtrl::GetFixedRowHeight() const { return SumOf(m_rowHeights, 0, m_fixedRowCount); }

int CGridCtrl::GetFixedColumnWidth() const { return SumOf(m_columnWidths, 0, m_fixedColumnCount); }

int CGridCtrl::GetVirtualHeight() const {
    // Every scroll-bar update asks for it; summing 100,000 rows each time would cost more than the update.
    if (m_virtualHeight < 0)
        m_virtualHeight = SumOf(m_rowHeights, 0, m_rowCount);
    return m_virtualHeight;
}

int CGridCtrl::GetVirtualWidth() const { return SumOf(m_columnWidths, 0, m_columnCount); }

BOOL CGridCtrl::AutoSizeColumn(int nCol, UINT nAutoSizeStyle, BOOL bResetScroll) {
    if (GetColumnWidth(nCol) <= 0) // a bad or hidden column
        return FALSE;
    CDC* pDC = GetDC();
    if (!pDC)
        return FALSE;
    if (nAutoSizeStyle == 0)
        nAutoSizeStyle = m_autoSizeStyle;
    const int startRow = (nAutoSizeStyle & 1) ? 0 : m_fixedRowCount;
    const int endRow = (nAutoSizeStyle & 2) ? m_rowCount - 1 : m_fixedRowCount - 1;
    int width = 0;
    for (int row = startRow; row <= endRow; row++)
        if (CGridCellBase* cell = GetCell(row, nCol))
            width = std::max<int>(width, cell->GetCellExtent(pDC).cx);
    m_columnWidths[At(nCol)] = static_cast<UINT>(width);
    ReleaseDC(pDC);
    if (bResetScroll)
        ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::AutoSizeRow(int nRow, BOOL bResetScroll) {
    if (GetRowHeight(nRow) <= 0) // a bad or hidden row
        return FALSE;
    CDC* pDC = GetDC();
    if (!pDC)
        return FALSE;
    int height = 0;
    for (int col = 0; col < m_columnCount; col++)
        if (CGridCellBase* cell = GetCell(nRow, col))
            height = std::max<int>(height, cell->GetCellExtent(pDC).cy);
    m_rowHeights[At(nRow)] = static_cast<UINT>(height);
    m_virtualHeight = -1;
    ReleaseDC(pDC);
    if (bResetScroll)
        ResetScrollBars();
    return TRUE;
}

// ---- Cell geometry ---------------------------------------------------------------------------------------------

CCellID CGridCtrl::GetTopleftNonFixedCell(BOOL bForceRecalculation) {
    if (m_topLeftCell.row >= 0 && m_topLeftCell.col >= 0 && !bForceRecalculation)
        return m_topLeftCell;
    const int horzScroll = GetScrollPos32(SB_HORZ);
    const int vertScroll = GetScrollPos32(SB_VERT);
    int col = m_fixedColumnCount;
    for (int right = 0; right < horzScroll && col < m_columnCount - 1; col++)
        right += GetColumnWidth(col);
    int row = m_fixedRowCount;
    for (int bottom = 0; bottom < vertScroll && row < m_rowCount - 1; row++)
        bottom += GetRowHeight(row);
    m_topLeftCell = CCellID(row, col);
    return m_topLeftCell;
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange(LPRECT pRect, BOOL bForceRecalculation) {
    CRect client;
    GetClientRect(&client);
    const CCellID topLeft = GetTopleftNonFixedCell(bForceRecalculation);
    int bottom = 0, right = 0;
    const int maxRow = LastInView(m_rowHeights, topLeft.row, GetFixedRowHeight(), client.bottom, &bottom);
    const int maxCol = LastInView(m_columnWidths, topLeft.col, GetFixedColumnWidth(), client.right, &right);
    if (pRect)
        *pRect = CRect(0, 0, right, bottom);
    return CCellRange(topLeft.row, topLeft.col, maxRow, maxCol);
}

bool CGridCtrl::IsScrolledOut(int nRow, int nCol, const CCellID& topLeft) const {
    return (nRow >= m_fixedRowCount && nRow < topLeft.row) || (nCol >= m_fixedColumnCount && nCol < topLeft.col);
}

int CGridCtrl::ColumnLeft(int nCol, const CCellID& topLeft) const {
    return EdgeOf(m_columnWidths, nCol, m_fixedColumnCount, topLeft.col);
}

int CGridCtrl::RowTop(int nRow, const CCellID& topLeft) const {
    return EdgeOf(m_rowHeights, nRow, m_fixedRowCount, topLeft.row);
}

BOOL CGridCtrl::GetCellOrigin(int nRow, int nCol, LPPOINT p) {
    if (!IsValid(nRow, nCol) || !p)
        return FALSE;
    CCellID topLeft;
    if (nRow >= m_fixedRowCount || nCol >= m_fixedColumnCount) {
        topLeft = GetTopleftNonFixedCell();
        if (IsScrolledOut(nRow, nCol, topLeft))
            return FALSE;
    }
    p->x = ColumnLeft(nCol, topLeft);
    p->y = RowTop(nRow, topLeft);
    return TRUE;
}

BOOL CGridCtrl::GetCellRect(int nRow, int nCol, LPRECT pRect) {
    CPoint origin;
    if (!pRect || !GetCellOrigin(nRow, nCol, &origin))
        return FALSE;
    pRect->left = origin.x;
    pRect->top = origin.y;
    pRect->right = origin.x + GetColumnWidth(nCol) - 1;
    pRect->bottom = origin.y + GetRowHeight(nRow) - 1;
    return TRUE;
}

CCellID CGridCtrl::GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck) {
    const CCellID topLeft = GetTopleftNonFixedCell();
    if (!bAllowFixedCellCheck && !IsValid(topLeft))
        return CCellID();
    return CCellID(IndexAt(m_rowHeights, point.y, m_fixedRowCount, topLeft.row, bAllowFixedCellCheck != FALSE),
                   IndexAt(m_columnWidths, point.x, m_fixedColumnCount, topLeft.col, bAllowFixedCellCheck != FALSE));
}

CPoint CGridCtrl::GetPointClicked(int nRow, int nCol, const CPoint& point) {
    CPoint origin;
    if (!GetCellOrigin(nRow, nCol, &origin))
        return CPoint(0, 0);
    return CPoint(point.x - origin.x, point.y - origin.y);
}

BOOL CGridCtrl::IsCellVisible(int nRow, int nCol) {
    if (!IsWindow(GetSafeHwnd()) || !IsValid(nRow, nCol))
        return FALSE;
    CCellID topLeft;
    if (nRow >= m_fixedRowCount || nCol >= m_fixedColumnCount) {
        topLeft = GetTopleftNonFixedCell();
        if (IsScrolledOut(nRow, nCol, topLeft))
            return FALSE;
    }
    CRect client;
    GetClientRect(&client);
    return (ColumnLeft(nCol, topLeft) < client.right && RowTop(nRow, topLeft) < client.bottom) ? TRUE : FALSE;
}

BOOL CGridCtrl::InvalidateCellRect(int nRow, int nCol) {
    if (!IsWindow(GetSafeHwnd()) || !m_allowDraw || !IsValid(nRow, nCol) || !IsCellVisible(nRow, nCol))
        return FALSE;
    CRect rect;
    if (!GetCellRect(nRow, nCol, &rect))
        return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(&rect, TRUE);
    return TRUE;
}
