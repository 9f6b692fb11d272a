// In-place editing: opening the editor on a cell, taking its text back with the owner's consent, and moving on to
// the next cell after Tab and the navigation keys.

#include "GridCtrl.h"

#include "grid/InPlaceEdit.h"

#include "platform/gui/window/Keys.h"

void CGridCtrl::OnEditCell(int nRow, int nCol, CPoint point, UINT nChar) {
    m_titleTip.Hide();
    // OnChar passes the focus cell, which may be none.
    const CCellID cell(nRow, nCol);
    if (!IsValid(cell) || !IsCellEditable(cell))
        return;
    EnsureVisible(nRow, nCol);
    CRect rect;
    if (!IsCellVisible(nRow, nCol) || !GetCellRect(nRow, nCol, &rect))
        return;
    if (SendMessageToParent(nRow, nCol, GN_BEGINLABELEDIT) < 0)
        return;
    if (CGridCellBase* object = GetCell(nRow, nCol))
        object->Edit(nRow, nCol, rect, point, IDC_INPLACE_CONTROL, nChar);
}

void CGridCtrl::OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (!IsWindow(GetSafeHwnd()))
        return;
    const GridItem& item = reinterpret_cast<GridDispInfo*>(pNMHDR)->item;
    OnEndEditCell(item.row, item.col, item.text);

    // Tab and the navigation keys move the focus as they do in the grid, and editing goes on there.
    const auto key = static_cast<UINT>(item.lParam);
    if (key == VK_TAB || (key >= VK_PRIOR && key <= VK_DOWN)) {
        OnKeyDown(key, 0, 0);
        OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), key);
    }
}

void CGridCtrl::OnEndEditCell(int nRow, int nCol, CString str) {
    const CString oldText = GetItemText(nRow, nCol);
    if (oldText != str)
        CommitCellText(nRow, nCol, str, oldText);
    if (CGridCellBase* cell = GetCell(nRow, nCol))
        cell->OnEndEdit();
}

BOOL CGridCtrl::ValidateEdit(int nRow, int nCol, LPCTSTR str) {
    CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->ValidateEdit(str) : TRUE;
}

void CGridCtrl::ValidateAndModifyCellContents(int nRow, int nCol, LPCTSTR strText) {
    if (!IsCellEditable(CCellID(nRow, nCol)))
        return;
    if (SendMessageToParent(nRow, nCol, GN_BEGINLABELEDIT) < 0)
        return;
    const CString oldText = GetItemText(nRow, nCol);
    if (oldText != (strText ? strText : ""))
        CommitCellText(nRow, nCol, strText, oldText);
}

BOOL CGridCtrl::CommitCellText(int nRow, int nCol, LPCTSTR newText, const CString& oldText) {
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    const BOOL gridModified = m_modified;
    const UINT cellModified = cell->GetState() & GCS_MODIFIED;
    const int sortColumn = m_sortColumn;

    // The owner reads the new text from the grid while it decides.
    SetItemText(nRow, nCol, newText);
    if (ValidateEdit(nRow, nCol, newText) && SendMessageToParent(nRow, nCol, GN_ENDLABELEDIT) >= 0) {
        SetModified(TRUE, nRow, nCol);
        RedrawCell(nRow, nCol);
        return TRUE;
    }

    // Refused: nothing about the cell or the grid has changed.
    if ((cell = GetCell(nRow, nCol)) == nullptr)
        return FALSE;
    cell->SetText(oldText);
    SetItemState(nRow, nCol, (cell->GetState() & ~GCS_MODIFIED) | cellModified);
    m_modified = gridModified;
    if (sortColumn >= 0 && m_sortColumn < 0 && sortColumn < m_columnCount) {
        m_sortColumn = sortColumn;
        InvalidateCellRect(0, sortColumn);
    }
    return FALSE;
}
