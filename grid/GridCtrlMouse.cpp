// The mouse: selection by dragging, clicks on fixed cells, resizing rows and columns by their dividers, the
// auto-scroll timer of a drag selection, cursors, and the owner's WM_COMMAND after a click on a cell.

#include "GridCtrl.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/window/Cursor.h"

#include <algorithm>
#include <cstdlib>

namespace {

void ShowCursor(LPCTSTR name) { ::SetCursor(LoadCursor(nullptr, name)); }

bool IsNonFixed(const CCellID& cell, int fixedRows, int fixedCols) {
    return cell.row >= fixedRows && cell.col >= fixedCols;
}

} // namespace

BOOL CGridCtrl::IsPointInCellText(const CCellID& cell, CPoint point) {
    CGridCellBase* object = GetCell(cell.row, cell.col);
    CRect rect;
    if (!object || !GetCellRect(cell.row, cell.col, &rect) || !object->GetTextRect(&rect))
        return FALSE;
    return rect.PtInRect(point);
}

BOOL CGridCtrl::MouseOverColumnResizeArea(const CPoint& point) { return MouseOverResizeArea(SB_HORZ, point); }

BOOL CGridCtrl::MouseOverRowResizeArea(const CPoint& point) { return MouseOverResizeArea(SB_VERT, point); }

BOOL CGridCtrl::MouseOverResizeArea(int nBar, const CPoint& point) {
    const bool columns = nBar == SB_HORZ;
    // Column dividers are taken in the fixed rows, row dividers in the fixed columns.
    if ((columns ? point.y >= GetFixedRowHeight() : point.x >= GetFixedColumnWidth()))
        return FALSE;
    const CCellID cell = GetCellFromPt(point);
    CPoint start;
    if (!GetCellOrigin(cell.row, cell.col, &start))
        return FALSE;
    const int index = columns ? cell.col : cell.row;
    const int offset = columns ? point.x - start.x : point.y - start.y;
    const int size = columns ? GetColumnWidth(cell.col) : GetRowHeight(cell.row);
    // The leading edge of the first column or row is no divider.
    return ((offset < m_resizeCaptureRange && index != 0) || size - offset < m_resizeCaptureRange) ? TRUE : FALSE;
}

// ---- Left button -----------------------------------------------------------------------------------------------

void CGridCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
    SetFocus();
    m_leftClickDownPoint = point;
    m_lButtonDown = TRUE;
    m_leftClickDownCell = GetCellFromPt(point);
    const CCellID clicked = m_leftClickDownCell;
    if (!IsValid(clicked))
        return;

    if (!(nFlags & MK_SHIFT))
        m_selectionStartCell = clicked;
    else if (!IsValid(m_selectionStartCell))
        m_selectionStartCell = m_focusCell;

    EndEditing();
    if (CGridCellBase* cell = GetCell(clicked.row, clicked.col))
        cell->OnClickDown(GetPointClicked(clicked.row, clicked.col, point));
    const BOOL inText = IsPointInCellText(clicked, point);

    if (clicked == m_focusCell && !(nFlags & MK_CONTROL) && inText && IsCellEditable(clicked)) {
        m_mouseMode = GMS_PENDING_EDIT;
        return;
    }

    if (IsCellSelected(clicked)) {
        SetFocusCell(clicked);
        if (nFlags & MK_CONTROL) {
            SelectCells(clicked, TRUE, FALSE);
            return;
        }
    } else if (m_mouseMode != GMS_OVER_COLUMN_DIVIDER && m_mouseMode != GMS_OVER_ROW_DIVIDER) {
        if (IsNonFixed(clicked, m_fixedRowCount, m_fixedColumnCount))
            SetFocusCell(clicked);
        else
            SetFocusCell(-1, -1);
    }

    SetCapture();

    if (m_mouseMode == GMS_IDLE) {
        if (m_allowColumnResize && MouseOverColumnResizeArea(point)) {
            ShowCursor(IDC_SIZEWE);
            m_mouseMode = GMS_OVER_COLUMN_DIVIDER;
        } else if (m_allowRowResize && MouseOverRowResizeArea(point)) {
            ShowCursor(IDC_SIZENS);
            m_mouseMode = GMS_OVER_ROW_DIVIDER;
        }
    }
    if (m_mouseMode == GMS_OVER_COLUMN_DIVIDER || m_mouseMode == GMS_OVER_ROW_DIVIDER) {
        BeginResize(m_mouseMode == GMS_OVER_COLUMN_DIVIDER ? SB_HORZ : SB_VERT, point);
        return;
    }

    SendMessageToParent(clicked.row, clicked.col, GN_SELCHANGING);
    // A Ctrl-click adds to what is selected: the new block is laid over a copy of the selection.
    m_previousSelection.Clear();
    if (nFlags & MK_CONTROL)
        m_previousSelection = m_selection;
    if (clicked.row < m_fixedRowCount) {
        OnFixedRowClick(m_leftClickDownCell);
    } else if (clicked.col >= m_fixedColumnCount) {
        m_mouseMode = GMS_SELECT_CELLS;
        OnSelecting(clicked);
        m_timerId = SetTimer(IDT_GRID_AUTOSCROLL, m_timerPeriod);
    } else {
        OnFixedColumnClick(m_leftClickDownCell);
    }
    m_lastMousePoint = point;
}

void CGridCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
    CWnd::OnLButtonUp(nFlags, point);
    m_lButtonDown = FALSE;
    ClipCursor(nullptr);
    if (GetCapture() == this) {
        ReleaseCapture();
        KillTimer(m_timerId);
        m_timerId = 0;
    }

    const CCellID clicked = m_leftClickDownCell;
    const CPoint relative = GetPointClicked(m_focusCell.row, m_focusCell.col, point);
    CGridCellBase* focusCell = GetCell(m_focusCell.row, m_focusCell.col);
    switch (m_mouseMode) {
    case GMS_PENDING_EDIT: OnEditCell(m_focusCell.row, m_focusCell.col, relative, VK_LBUTTON); break;
    case GMS_PENDING_DRAG:
        // The button went down on the focus cell's text and moved, but no drag took over: a click that clears.
        if (focusCell)
            focusCell->OnClick(relative);
        SendMessageToParent(clicked.row, clicked.col, NM_CLICK);
        SendMessageToParent(clicked.row, clicked.col, GN_SELCHANGING);
        ResetSelectedRange();
        SendMessageToParent(m_focusCell.row, m_focusCell.col, GN_SELCHANGED);
        break;
    case GMS_SIZING_COLUMN:
    case GMS_SIZING_ROW:
        if (!EndResize(m_mouseMode == GMS_SIZING_COLUMN ? SB_HORZ : SB_VERT, point)) {
            m_mouseMode = GMS_IDLE;
            ShowCursor(IDC_ARROW);
            return;
        }
        break;
    default:
        SendMessageToParent(m_focusCell.row, m_focusCell.col, GN_SELCHANGED);
        if (focusCell)
            focusCell->OnClick(relative);
        SendMessageToParent(clicked.row, clicked.col, NM_CLICK);
        break;
    }

    m_mouseMode = GMS_IDLE;
    ShowCursor(IDC_ARROW);
    if (IsValid(clicked)) {
        CWnd* owner = GetOwner(); // else the parent
        if (owner && IsWindow(owner->GetSafeHwnd()))
            owner->PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), 0),
                               reinterpret_cast<LPARAM>(GetSafeHwnd()));
    }
}

void CGridCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
    const CCellID cell = GetCellFromPt(point);
    if (!IsValid(cell))
        return;
    if (m_mouseMode == GMS_OVER_COLUMN_DIVIDER || m_mouseMode == GMS_OVER_ROW_DIVIDER) {
        if (!AutoSizeAtDivider(m_mouseMode == GMS_OVER_COLUMN_DIVIDER ? SB_HORZ : SB_VERT, cell, point))
            return;
    } else if (m_mouseMode == GMS_IDLE) {
        const CPoint relative = GetPointClicked(cell.row, cell.col, point);
        if (IsNonFixed(cell, m_fixedRowCount, m_fixedColumnCount) && IsValid(m_leftClickDownCell) &&
            IsPointInCellText(cell, point))
            OnEditCell(cell.row, cell.col, relative, VK_LBUTTON);
        if (CGridCellBase* object = GetCell(cell.row, cell.col))
            object->OnDblClick(relative);
        SendMessageToParent(cell.row, cell.col, NM_DBLCLK);
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}

// ---- Dividers --------------------------------------------------------------------------------------------------

void CGridCtrl::InvertTrackingLine(int nBar, int at) {
    CRect client;
    GetClientRect(&client);
    const CRect line =
        nBar == SB_HORZ ? CRect(at, client.top, at + 2, client.bottom) : CRect(client.left, at, client.right, at + 2);
    if (CDC* pDC = GetDC()) {
        pDC->InvertRect(&line);
        ReleaseDC(pDC);
    }
}

void CGridCtrl::BeginResize(int nBar, CPoint point) {
    const bool columns = nBar == SB_HORZ;
    m_mouseMode = columns ? GMS_SIZING_COLUMN : GMS_SIZING_ROW;
    int& index = columns ? m_leftClickDownCell.col : m_leftClickDownCell.row;
    const int last = (columns ? m_columnCount : m_rowCount) - 1;
    const bool narrowLast = (columns ? GetColumnWidth(last) : GetRowHeight(last)) < m_resizeCaptureRange;
    const LONG CPoint::*axis = columns ? &CPoint::x : &CPoint::y;

    // A last row or column too narrow to grab inside is taken at the edge of the cells.
    CRect visible;
    GetVisibleNonFixedCellRange(&visible);
    if (narrowLast && std::abs(point.*axis - (columns ? visible.right : visible.bottom)) < m_resizeCaptureRange)
        index = last;

    // Rows are measured in the first column, columns in the first row: both are fixed.
    auto origin = [&](CPoint* start) {
        return columns ? GetCellOrigin(0, index, start) : GetCellOrigin(index, 0, start);
    };
    CPoint start;
    if (!origin(&start)) {
        // No line was drawn, so the button up must not invert one.
        m_mouseMode = GMS_IDLE;
        return;
    }
    InvertTrackingLine(nBar, point.*axis);

    // Just right of (below) a divider the pointer lies in the next column (row): the one before it is sized. The
    // first has nothing before it, however narrow it is.
    if (point.*axis - start.*axis < m_resizeCaptureRange && !(index == last && narrowLast) && index > 0) {
        index--;
        if (!origin(&start))
            return;
    }

    // The divider cannot pass the first pixel of its row or column, nor make it larger than the scrolling area.
    CRect clip;
    GetClientRect(&clip);
    if (columns) {
        const int width = clip.Width();
        clip.left = start.x + 1;
        clip.right = clip.left + width - GetFixedColumnWidth();
    } else {
        const int height = clip.Height();
        clip.top = start.y + 1;
        clip.bottom = clip.top + height - GetFixedRowHeight();
    }
    ClientToScreen(&clip);
    ClipCursor(&clip);
    m_lastMousePoint = point;
}

BOOL CGridCtrl::EndResize(int nBar, CPoint point) {
    const bool columns = nBar == SB_HORZ;
    InvertTrackingLine(nBar, columns ? m_lastMousePoint.x : m_lastMousePoint.y);
    // Put back where it started, or released on the client's corner: nothing changes.
    if (point == m_leftClickDownPoint || (point.x == 0 && point.y == 0))
        return TRUE;
    CPoint start;
    if (!GetCellOrigin(m_leftClickDownCell.row, m_leftClickDownCell.col, &start))
        return FALSE;
    if (columns)
        SetColumnWidth(m_leftClickDownCell.col, std::max<int>(point.x - start.x, 0));
    else
        SetRowHeight(m_leftClickDownCell.row, std::max<int>(point.y - start.y, 0));
    ResetScrollBars();
    Invalidate();
    return TRUE;
}

BOOL CGridCtrl::AutoSizeAtDivider(int nBar, const CCellID& cell, CPoint point) {
    const bool columns = nBar == SB_HORZ;
    CPoint start;
    if (!(columns ? GetCellOrigin(0, cell.col, &start) : GetCellOrigin(cell.row, 0, &start)))
        return FALSE;
    int index = columns ? cell.col : cell.row;
    if ((columns ? point.x - start.x : point.y - start.y) < m_resizeCaptureRange)
        index--;
    while (index >= 0 && (columns ? GetColumnWidth(index) : GetRowHeight(index)) == 0)
        index--;
    if (index < 0)
        return FALSE;
    if (columns)
        AutoSizeColumn(index, m_autoSizeStyle, TRUE);
    else
        AutoSizeRow(index, TRUE);
    Invalidate();
    return TRUE;
}

// ---- Moves -----------------------------------------------------------------------------------------------------

void CGridCtrl::OnMouseMove(UINT /*nFlags*/, CPoint point) {
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point) && m_mouseMode != GMS_DRAGGING)
        return;

    if (m_lButtonDown && m_mouseMode != GMS_IDLE) {
        if (IsValid(m_leftClickDownCell)) {
            switch (m_mouseMode) {
            case GMS_SELECT_COLUMNS:
            case GMS_SELECT_ROWS:
            case GMS_SELECT_CELLS: {
                const CCellID cell = GetCellFromPt(point);
                if (!IsValid(cell))
                    return;
                if (cell != m_focusCell) {
                    OnSelecting(cell);
                    if (m_mouseMode != GMS_SELECT_CELLS || IsNonFixed(cell, m_fixedRowCount, m_fixedColumnCount))
                        SetFocusCell(cell);
                }
                break;
            }
            case GMS_SIZING_COLUMN:
                InvertTrackingLine(SB_HORZ, m_lastMousePoint.x);
                InvertTrackingLine(SB_HORZ, point.x);
                break;
            case GMS_SIZING_ROW:
                InvertTrackingLine(SB_VERT, m_lastMousePoint.y);
                InvertTrackingLine(SB_VERT, point.y);
                break;
            case GMS_PENDING_EDIT:
            case GMS_PENDING_DRAG:
                m_mouseMode = GMS_PENDING_DRAG;
                OnBeginDrag();
                break;
            default: break;
            }
        }
        m_lastMousePoint = point;
        return;
    }

    if (m_allowColumnResize && MouseOverColumnResizeArea(point)) {
        if (m_mouseMode != GMS_OVER_COLUMN_DIVIDER) {
            ShowCursor(IDC_SIZEWE);
            m_mouseMode = GMS_OVER_COLUMN_DIVIDER;
        }
    } else if (m_allowRowResize && MouseOverRowResizeArea(point)) {
        if (m_mouseMode != GMS_OVER_ROW_DIVIDER) {
            ShowCursor(IDC_SIZENS);
            m_mouseMode = GMS_OVER_ROW_DIVIDER;
        }
    } else if (m_mouseMode != GMS_IDLE) {
        ShowCursor(IDC_ARROW);
        m_mouseMode = GMS_IDLE;
    }
    if (m_mouseMode != GMS_IDLE) {
        m_lastMousePoint = point;
        return;
    }

    const CCellID cell = GetCellFromPt(point);
    CGridCellBase* object = GetCell(cell.row, cell.col);
    if (object)
        object->OnMouseOver();

    // A text too long for its cell shows whole in a title tip (which decides whether it is too long).
    if (m_titleTips && object && !object->IsEditing()) {
        LPCTSTR tipText = object->GetTipText();
        CRect cellRect;
        if (tipText && *tipText && GetCellRect(cell.row, cell.col, &cellRect)) {
            CRect textRect = cellRect;
            if (object->GetTipTextRect(&textRect))
                m_titleTip.Show(textRect, tipText, 0, &cellRect, object->GetFont(), m_titleTipTextColour,
                                m_titleTipBackColour);
        }
    }
    m_lastMousePoint = point;
}

// ---- Right button, timer, capture, cursor ----------------------------------------------------------------------

void CGridCtrl::OnRButtonUp(UINT nFlags, CPoint point) {
    CWnd::OnRButtonUp(nFlags, point);
    EndEditing();
    const CCellID cell = GetCellFromPt(point);
    if (!IsValid(cell)) {
        SendMessageToParent(-1, -1, NM_RCLICK);
        return;
    }
    SetFocusCell(-1, -1);
    SetFocusCell(std::max(cell.row, m_fixedRowCount), std::max(cell.col, m_fixedColumnCount));
    if (CGridCellBase* object = GetCell(cell.row, cell.col))
        object->OnRClick(GetPointClicked(cell.row, cell.col, point));
    SendMessageToParent(cell.row, cell.col, NM_RCLICK);
}

void CGridCtrl::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != IDT_GRID_AUTOSCROLL)
        return;
    CPoint pt;
    GetCursorPos(&pt);
    ScreenToClient(&pt);
    CRect client;
    GetClientRect(&client);
    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColWidth = GetFixedColumnWidth();
    // The cell at a point of the edge, looked up once the key has scrolled. The cells need not reach the client's
    // edge: past the last row or column shown the point is taken in it, so the selection reaches the focus cell.
    const auto edgeCell = [&](LONG x, LONG y) {
        CRect cells;
        GetVisibleNonFixedCellRange(&cells);
        const LONG right = std::max(client.left, std::min(client.right, cells.right - 1));
        const LONG bottom = std::max(client.top, std::min(client.bottom, cells.bottom - 1));
        return GetCellFromPt(CPoint(std::clamp(x, client.left, right), std::clamp(y, client.top, bottom)));
    };

    // The arrow keys move the focus and scroll; the selection follows to the cell at the edge.
    if (pt.y > client.bottom) {
        SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        OnSelecting(edgeCell(pt.x, client.bottom));
    } else if (pt.y < fixedRowHeight) {
        SendMessage(WM_KEYDOWN, VK_UP, 0);
        OnSelecting(edgeCell(pt.x, fixedRowHeight + 1));
    }
    if (pt.x > client.right) {
        SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        OnSelecting(edgeCell(client.right, pt.y));
    } else if (pt.x < fixedColWidth) {
        SendMessage(WM_KEYDOWN, VK_LEFT, 0);
        OnSelecting(edgeCell(fixedColWidth + 1, pt.y));
    }
}

void CGridCtrl::OnCaptureChanged(CWnd* pWnd) {
    if (pWnd == this)
        return;
    if (m_timerId) {
        KillTimer(m_timerId);
        m_timerId = 0;
    }
    if (m_mouseMode == GMS_DRAGGING)
        m_mouseMode = GMS_IDLE;
    if (!m_lButtonDown)
        return;
    switch (m_mouseMode) {
    case GMS_SIZING_COLUMN:
    case GMS_SIZING_ROW: {
        // A resize whose button never comes up here ends now: its line goes, and the pointer is free again.
        const bool columns = m_mouseMode == GMS_SIZING_COLUMN;
        InvertTrackingLine(columns ? SB_HORZ : SB_VERT, columns ? m_lastMousePoint.x : m_lastMousePoint.y);
        ClipCursor(nullptr);
        m_lButtonDown = FALSE;
        m_mouseMode = GMS_IDLE;
        break;
    }
    case GMS_SELECT_ALL:
    case GMS_SELECT_COLUMNS:
    case GMS_SELECT_ROWS:
    case GMS_SELECT_CELLS:
        // Likewise a drag selection: it keeps what it selected, and later moves without the button add nothing.
        m_lButtonDown = FALSE;
        m_mouseMode = GMS_IDLE;
        SendMessageToParent(m_focusCell.row, m_focusCell.col, GN_SELCHANGED);
        break;
    default: break;
    }
}

BOOL CGridCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (nHitTest != HTCLIENT)
        return CWnd::OnSetCursor(pWnd, nHitTest, message);
    switch (m_mouseMode) {
    case GMS_OVER_COLUMN_DIVIDER: ShowCursor(IDC_SIZEWE); break;
    case GMS_OVER_ROW_DIVIDER: ShowCursor(IDC_SIZENS); break;
    case GMS_DRAGGING: break;
    default: {
        CPoint point(GetMessagePos());
        ScreenToClient(&point);
        const CCellID cell = GetCellFromPt(point);
        if (CGridCellBase* object = IsValid(cell) ? GetCell(cell.row, cell.col) : nullptr)
            return object->OnSetCursor();
        ShowCursor(IDC_ARROW);
        break;
    }
    }
    return TRUE;
}
