// The keyboard: moving the focus and the selection, the clipboard keys, typing into a cell, and the keys a
// dialog leaves to the grid.

#include "GridCtrl.h"

#include <algorithm>

namespace {

bool IsShiftPressed() { return GetKeyState(VK_SHIFT) < 0; }
bool IsCtrlPressed() { return GetKeyState(VK_CONTROL) < 0; }

// The first index from `from` on, stepping by `step` and not past `bound`, whose size is not 0; -1 for none.
int FirstShown(const std::vector<UINT>& sizes, int from, int step, int bound) {
    for (int i = from; step > 0 ? i <= bound : i >= bound; i += step)
        if (i >= 0 && static_cast<size_t>(i) < sizes.size() && sizes[static_cast<size_t>(i)] > 0)
            return i;
    return -1;
}

} // namespace

void CGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (!IsValid(m_focusCell)) {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    const bool shift = IsShiftPressed();
    const bool ctrl = IsCtrlPressed();
    const int lastRow = m_rowCount - 1;
    const int lastCol = m_columnCount - 1;
    CCellID next = m_focusCell;
    bool changedLine = false;
    bool horzScrolled = false;
    bool vertScrolled = false;

    if (ctrl) {
        switch (nChar) {
        case VK_INSERT:
        case 'C': OnEditCopy(); break;
        case 'A': OnEditSelectAll(); break;
        case 'V': OnEditPaste(); break;
        case 'X': OnEditCut(); break;
        default: break;
        }
    }
    if (shift && nChar == VK_INSERT) {
        OnEditPaste();
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }

    // The move in one direction along rows or columns, passing over hidden ones.
    auto moveTo = [](int found, int& coordinate) {
        if (found >= 0)
            coordinate = found;
        return found >= 0;
    };
    auto pageMove = [&](UINT code, int towards, int limit) {
        const int before = GetTopleftNonFixedCell().row;
        SendMessage(WM_VSCROLL, code, 0);
        vertScrolled = true;
        const int moved = GetTopleftNonFixedCell().row - before;
        next.row =
            moved == 0 ? limit : (towards > 0 ? std::min(limit, next.row + moved) : std::max(limit, next.row + moved));
    };

    switch (nChar) {
    case VK_DELETE: CutSelectedText(); break;
    case VK_DOWN: moveTo(FirstShown(m_rowHeights, next.row + 1, 1, lastRow), next.row); break;
    case VK_UP: moveTo(FirstShown(m_rowHeights, next.row - 1, -1, m_fixedRowCount), next.row); break;
    case VK_RIGHT:
    case VK_TAB: {
        // Tab goes on from the last shown cell of a row to the first of the next shown row, Shift+Tab back from
        // the first to the last of the row above; at the ends of the grid nothing moves.
        auto wrapTo = [&](int row, int col) {
            if (row >= 0 && col >= 0) {
                next = CCellID(row, col);
                changedLine = true;
            }
        };
        if (nChar == VK_TAB && shift) {
            if (!moveTo(FirstShown(m_columnWidths, next.col - 1, -1, m_fixedColumnCount), next.col))
                wrapTo(FirstShown(m_rowHeights, next.row - 1, -1, m_fixedRowCount),
                       FirstShown(m_columnWidths, lastCol, -1, m_fixedColumnCount));
        } else if (!moveTo(FirstShown(m_columnWidths, next.col + 1, 1, lastCol), next.col) && nChar == VK_TAB) {
            wrapTo(FirstShown(m_rowHeights, next.row + 1, 1, lastRow),
                   FirstShown(m_columnWidths, m_fixedColumnCount, 1, lastCol));
        }
        if (nChar == VK_TAB && !changedLine)
            CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        break;
    }
    case VK_LEFT: moveTo(FirstShown(m_columnWidths, next.col - 1, -1, m_fixedColumnCount), next.col); break;
    case VK_NEXT: pageMove(SB_PAGEDOWN, 1, lastRow); break;
    case VK_PRIOR: pageMove(SB_PAGEUP, -1, m_fixedRowCount); break;
    case VK_HOME:
    case VK_END: {
        // To the first (last) shown column, and from the row on to the next shown one; with Ctrl to the first
        // (last) row. Where nothing is shown, the search ends at its bound.
        const bool toEnd = nChar == VK_END;
        if (ctrl) {
            SendMessage(WM_VSCROLL, toEnd ? SB_BOTTOM : SB_TOP, 0);
            vertScrolled = true;
            next.row = toEnd ? lastRow : m_fixedRowCount;
        }
        SendMessage(WM_HSCROLL, toEnd ? SB_RIGHT : SB_LEFT, 0);
        horzScrolled = true;
        const int step = toEnd ? -1 : 1;
        const int colBound = toEnd ? m_fixedColumnCount : lastCol;
        const int rowBound = toEnd ? m_fixedRowCount : lastRow;
        if (!moveTo(FirstShown(m_columnWidths, toEnd ? lastCol : m_fixedColumnCount, step, colBound), next.col))
            next.col = colBound;
        if (!moveTo(FirstShown(m_rowHeights, next.row, step, rowBound), next.row))
            next.row = rowBound;
        break;
    }
    case VK_F2: OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), VK_LBUTTON); break;
    default: CWnd::OnKeyDown(nChar, nRepCnt, nFlags); break;
    }

    if (next == m_focusCell)
        return;

    if (m_mouseMode == GMS_IDLE) {
        // A plain move selects the new cell alone; Shift with a move extends the block from the anchor.
        m_previousSelection.Clear();
        m_mouseMode = GMS_SELECT_CELLS;
        if (!shift || nChar == VK_TAB)
            m_selectionStartCell = next;
        SendMessageToParent(next.row, next.col, GN_SELCHANGING);
        OnSelecting(next);
        SendMessageToParent(next.row, next.col, GN_SELCHANGED);
        m_mouseMode = GMS_IDLE;
    }

    SetFocusCell(next);
    if (!IsCellVisible(next.row, next.col)) {
        switch (nChar) {
        case VK_RIGHT:
            SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
            horzScrolled = true;
            break;
        case VK_LEFT:
            SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
            horzScrolled = true;
            break;
        case VK_DOWN:
            SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
            vertScrolled = true;
            break;
        case VK_UP:
            SendMessage(WM_VSCROLL, SB_LINEUP, 0);
            vertScrolled = true;
            break;
        case VK_TAB:
            if (changedLine) {
                // A new line starts at the left (Tab) or ends at the right (Shift+Tab).
                SendMessage(WM_VSCROLL, shift ? SB_LINEUP : SB_LINEDOWN, 0);
                vertScrolled = true;
                SetScrollPos32(SB_HORZ, shift ? m_hScrollMax : 0);
            } else {
                SendMessage(WM_HSCROLL, shift ? SB_LINELEFT : SB_LINERIGHT, 0);
                horzScrolled = true;
            }
            break;
        default: break;
        }
        EnsureVisible(next);
        Invalidate();
    }
    EnsureVisible(next);
    if (horzScrolled)
        SendMessage(WM_HSCROLL, SB_ENDSCROLL, 0);
    if (vertScrolled)
        SendMessage(WM_VSCROLL, SB_ENDSCROLL, 0);
}

void CGridCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    // A typed character opens the editor on the focus cell with that character.
    if (!IsCtrlPressed() && m_mouseMode == GMS_IDLE && nChar != VK_ESCAPE && !(m_handleTab && nChar == VK_TAB))
        OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), nChar);
    CWnd::OnChar(nChar, nRepCnt, nFlags);
}

LRESULT CGridCtrl::OnImeChar(WPARAM wCharCode, LPARAM /*lParam*/) {
    if (!IsCtrlPressed() && m_mouseMode == GMS_IDLE && wCharCode != VK_ESCAPE)
        OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), static_cast<UINT>(wCharCode));
    return 0;
}

UINT CGridCtrl::OnGetDlgCode() {
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_handleTab && !IsCtrlPressed())
        code |= DLGC_WANTTAB;
    return code;
}
