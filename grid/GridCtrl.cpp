#include "GridCtrl.h"

#include "grid/InPlaceEdit.h"

#include "platform/gui/data/OleDataSource.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/WindowClass.h"
#include "platform/os/MessageBox.h"

#include <typeinfo>

IMPLEMENT_DYNAMIC(CGridCtrl, CWnd)

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols) : m_cellClass(RUNTIME_CLASS(CGridCell)) {
    RegisterWindowClass();

    if (!AfxGetThreadState()->m_bNeedTerm && !AfxOleInit())
        AfxMessageBox("OLE initialization failed. Make sure that the OLE libraries are the correct version");

    m_windowTextColour = GetSysColor(COLOR_WINDOWTEXT);
    m_windowColour = GetSysColor(COLOR_WINDOW);
    m_faceColour = GetSysColor(COLOR_BTNFACE);
    m_shadowColour = GetSysColor(COLOR_BTNSHADOW);
    m_wheelScrollLines = GetMouseScrollLines();

    SetupDefaultCells();
    m_backgroundColour = m_shadowColour;

    SetRowCount(nRows);
    SetColumnCount(nCols);
    SetFixedRowCount(nFixedRows);
    SetFixedColumnCount(nFixedCols);

    m_titleTip.SetParentWnd(this);
    RegisterEditCommands();
}

CGridCtrl::~CGridCtrl() {
    DeleteAllItems();
    if (m_titleTips && IsWindow(m_titleTip.GetSafeHwnd()))
        m_titleTip.DestroyWindow();
    DestroyWindow();
    if (COleDataSource::GetClipboardOwner())
        COleDataSource::FlushClipboard();
}

BOOL CGridCtrl::RegisterWindowClass() {
    RegisterWindowClassOnce(kGridWindowClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, COLOR_3DFACE);
    return TRUE;
}

void CGridCtrl::PreSubclassWindow() {
    CWnd::PreSubclassWindow();
    Initialise();
}

void CGridCtrl::Initialise() {
    // Moving the window below re-enters through the size handlers; once at a time is enough.
    static bool busy = false;
    if (busy)
        return;
    busy = true;
    m_titleTip.SetParentWnd(this);
    if (IsWindow(GetSafeHwnd())) {
        ModifyStyleEx(0, WS_EX_CLIENTEDGE);
        // A size change makes the new frame show: one pixel larger on every side, and back.
        CRect rect;
        GetWindowRect(&rect);
        if (CWnd* parent = GetParent())
            parent->ScreenToClient(&rect);
        rect.InflateRect(1, 1);
        MoveWindow(&rect, TRUE);
        rect.DeflateRect(1, 1);
        MoveWindow(&rect, TRUE);
    }
    busy = false;
}

// Messages the window layer has no handler of its own for.
BOOL CGridCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    switch (message) {
    case WM_SETFONT: result = OnSetFont(wParam, lParam); break;
    case WM_GETFONT: result = OnGetFont(wParam, lParam); break;
    case WM_IME_CHAR: result = OnImeChar(wParam, lParam); break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (!header || header->idFrom != IDC_INPLACE_CONTROL || header->code != GN_ENDLABELEDIT)
            return CWnd::OnWndMsg(message, wParam, lParam, pResult);
        OnEndInPlaceEdit(header, &result);
        break;
    }
    default: return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
    if (pResult)
        *pResult = result;
    return TRUE;
}

// ---- Cells -----------------------------------------------------------------------------------------------------

void CGridCtrl::ShowSelection(CGridCellBase* cell, int nRow, int nCol) const {
    // Until the selection changes without telling the cells, every cell's bit is what the selection says.
    if (!m_selectionAhead)
        return;
    const DWORD state = cell->GetState();
    if (((state & GCS_SELECTED) != 0) != m_selection.Contains(nRow, nCol))
        cell->SetState(state ^ GCS_SELECTED);
}

void CGridCtrl::NoteOtherCell(CGridCellBase* cell) {
    m_onlyOwnCells = false;
    if (!cell) {
        m_irregularCells = true;
        return;
    }
    CRuntimeClass* cellClass = cell->GetRuntimeClass();
    if (cellClass == m_regularCellClass)
        return;
    // One cell of each class is tried: given the bit and then without it, it must read back as given.
    const DWORD state = cell->GetState();
    cell->SetState(state | GCS_SELECTED);
    const bool takesIt = (cell->GetState() & GCS_SELECTED) != 0;
    cell->SetState(state & ~GCS_SELECTED);
    const bool dropsIt = (cell->GetState() & GCS_SELECTED) == 0;
    cell->SetState(state);
    if (takesIt && dropsIt)
        m_regularCellClass = cellClass;
    else
        m_irregularCells = true;
}

CGridCellBase* CGridCtrl::CreateCell(int nRow, int nCol) {
    if (!m_cellClass)
        return nullptr;
    if (m_cellClass != m_cellClassChecked) {
        if (!m_cellClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase)))
            return nullptr;
        m_cellClassChecked = m_cellClass;
    }
    DWORD fixed = 0;
    if (nCol < m_fixedColumnCount)
        fixed |= GCS_FIXED | GCS_FIXEDCOL;
    if (nRow < m_fixedRowCount)
        fixed |= GCS_FIXED | GCS_FIXEDROW;
    if (m_cellClass == RUNTIME_CLASS(CGridCell)) {
        // The grid's own class, which is made by the hundred thousand: the steps below, with the operations this
        // class has called directly rather than through the cell's table of virtual operations.
        auto* cell = new CGridCell;
        cell->CGridCell::SetGrid(this);
        cell->CGridCell::SetCoords(nRow, nCol);
        cell->CGridCellBase::SetState(cell->CGridCellBase::GetState() | fixed);
        // The default cell the cell's own GetDefaultCell picks by its fixed-row and fixed-column bits.
        const CGridDefaultCell* defaultCell = GetDefaultCell(nRow < m_fixedRowCount, nCol < m_fixedColumnCount);
        cell->CGridCell::SetFormat(defaultCell->GetFormat());
        return cell;
    }
    auto* cell = static_cast<CGridCellBase*>(m_cellClass->CreateObject());
    if (!cell)
        return nullptr;
    cell->SetGrid(this);
    cell->SetCoords(nRow, nCol);
    cell->SetState(cell->GetState() | fixed);
    if (CGridCellBase* defaultCell = cell->GetDefaultCell())
        cell->SetFormat(defaultCell->GetFormat());
    return cell;
}

void CGridCtrl::DestroyCell(int nRow, int nCol) {
    CGridCellBase* cell = CellAt(nRow, nCol);
    if (!cell)
        return;
    SetItemState(nRow, nCol, 0);
    m_rows[static_cast<size_t>(nRow)][static_cast<size_t>(nCol)] = nullptr;
    delete cell;
    // The position stays empty unless the caller removes it (as the grid's own row and column changes do).
    m_irregularCells = true;
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) {
    if (bFixedRow && bFixedCol)
        return &m_defaultCornerCell;
    if (bFixedRow)
        return &m_defaultFixedRowCell;
    if (bFixedCol)
        return &m_defaultFixedColumnCell;
    return &m_defaultCell;
}

void CGridCtrl::SetupDefaultCells() {
    for (CGridDefaultCell* cell :
         {&m_defaultCell, &m_defaultFixedColumnCell, &m_defaultFixedRowCell, &m_defaultCornerCell}) {
        cell->SetGrid(this);
        cell->SetTextClr(m_windowTextColour);
        cell->SetBackClr(cell == &m_defaultCell ? m_windowColour : m_faceColour);
    }
}

// ---- Items -----------------------------------------------------------------------------------------------------

BOOL CGridCtrl::IsValid(int nRow, int nCol) const {
    return (nRow >= 0 && nRow < m_rowCount && nCol >= 0 && nCol < m_columnCount) ? TRUE : FALSE;
}

BOOL CGridCtrl::SetItem(const GridItem* pItem) {
    if (!pItem)
        return FALSE;
    CGridCellBase* cell = GetCell(pItem->row, pItem->col);
    if (!cell)
        return FALSE;
    SetModified(TRUE, pItem->row, pItem->col);
    if (pItem->mask & GIF_TEXT)
        cell->SetText(pItem->text);
    if (pItem->mask & GIF_PARAM)
        cell->SetData(pItem->lParam);
    if (pItem->mask & GIF_IMAGE)
        cell->SetImage(pItem->image);
    if (pItem->mask & GIF_STATE)
        SetItemState(pItem->row, pItem->col, pItem->state);
    if (pItem->mask & GIF_FORMAT)
        cell->SetFormat(pItem->format);
    if (pItem->mask & GIF_BKCLR)
        cell->SetBackClr(pItem->backColour);
    if (pItem->mask & GIF_FGCLR)
        cell->SetTextClr(pItem->textColour);
    if (pItem->mask & GIF_FONT)
        cell->SetFont(&pItem->font);
    if (pItem->mask & GIF_MARGIN)
        cell->SetMargin(pItem->margin);
    return TRUE;
}

BOOL CGridCtrl::SetItemText(int nRow, int nCol, LPCTSTR str) {
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    if (typeid(*cell) == typeid(CGridCell)) {
        // The grid's own cells, filled by the million: the same steps with their operations called directly. Such
        // a cell keeps the state it is given, and its selected bit agrees with the selection already (GetCell),
        // so marking it modified changes nothing else.
        auto* own = static_cast<CGridCell*>(cell);
        own->CGridCell::SetText(str);
        if (nCol == m_sortColumn)
            ForgetSortColumn();
        own->CGridCellBase::SetState(own->CGridCellBase::GetState() | GCS_MODIFIED);
        m_modified = TRUE;
        return TRUE;
    }
    cell->SetText(str);
    MarkModified(cell, nRow, nCol);
    return TRUE;
}

BOOL CGridCtrl::SetItemData(int nRow, int nCol, LPARAM lParam) {
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    cell->SetData(lParam);
    MarkModified(cell, nRow, nCol);
    return TRUE;
}

BOOL CGridCtrl::SetItemState(int nRow, int nCol, UINT state) {
    CGridCellBase* cell = CellAt(nRow, nCol);
    if (!cell)
        return FALSE;
    SetCellState(cell, nRow, nCol, state);
    return TRUE;
}

void CGridCtrl::SetCellState(CGridCellBase* cell, int nRow, int nCol, UINT state) {
    // The selection follows what the cell really holds afterwards (a cell class may ignore a state), whatever
    // the selection setting, so selection and state bits never disagree.
    cell->SetState(state);
    const bool isSelected = (cell->GetState() & GCS_SELECTED) != 0;
    if (isSelected != m_selection.Contains(nRow, nCol))
        m_selection.Set(nRow, nCol, isSelected);
}

void CGridCtrl::MarkModified(CGridCellBase* cell, int nRow, int nCol) {
    // SetModified(TRUE, nRow, nCol) for a cell in hand, without looking it up again: a grid is filled this way.
    if (nCol == m_sortColumn)
        ForgetSortColumn();
    SetCellState(cell, nRow, nCol, cell->GetState() | GCS_MODIFIED);
    m_modified = TRUE;
}

CString CGridCtrl::GetItemText(int nRow, int nCol) const {
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? CString(cell->GetText()) : CString();
}

LPARAM CGridCtrl::GetItemData(int nRow, int nCol) const {
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->GetData() : 0;
}

UINT CGridCtrl::GetItemState(int nRow, int nCol) const {
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->GetState() : 0;
}

BOOL CGridCtrl::IsCellEditable(const CCellID& cell) const {
    const CGridCellBase* object = GetCell(cell.row, cell.col);
    return (object && m_editable && !(object->GetState() & GCS_READONLY)) ? TRUE : FALSE;
}

BOOL CGridCtrl::IsCellSelected(int nRow, int nCol) const {
    return (m_enableSelection && (GetItemState(nRow, nCol) & GCS_SELECTED)) ? TRUE : FALSE;
}

// ---- Modified flags --------------------------------------------------------------------------------------------

void CGridCtrl::SetModified(BOOL bModified, int nRow, int nCol) {
    if (nCol < 0 || nCol == m_sortColumn)
        ForgetSortColumn();
    if (nRow >= 0 && nCol >= 0) {
        const UINT state = GetItemState(nRow, nCol);
        if (bModified) {
            SetItemState(nRow, nCol, state | GCS_MODIFIED);
            m_modified = TRUE;
        } else {
            SetItemState(nRow, nCol, state & ~GCS_MODIFIED);
        }
    } else {
        m_modified = bModified;
    }
    if (!m_modified) {
        for (int row = 0; row < m_rowCount; row++)
            for (int col = 0; col < m_columnCount; col++)
                if (const CGridCellBase* cell = GetCell(row, col); cell && (cell->GetState() & GCS_MODIFIED))
                    SetItemState(row, col, cell->GetState() & ~GCS_MODIFIED);
    }
}

void CGridCtrl::ForgetSortColumn() {
    if (m_sortColumn < 0)
        return;
    const int column = m_sortColumn;
    m_sortColumn = -1;
    InvalidateCellRect(0, column);
}

// ---- Focus -----------------------------------------------------------------------------------------------------

CCellID CGridCtrl::SetFocusCell(int nRow, int nCol) {
    CCellID cell(nRow, nCol);
    if (cell == m_focusCell)
        return m_focusCell;
    const CCellID previous = m_focusCell;
    if (cell.row != -1 && cell.row < m_fixedRowCount)
        cell.row = m_fixedRowCount;
    if (cell.col != -1 && cell.col < m_fixedColumnCount)
        cell.col = m_fixedColumnCount;
    // The focus is a cell of the grid or none: a position outside the grid would name a cell without its focus
    // mark once the grid grows.
    if (!IsValid(cell))
        cell = CCellID();
    m_focusCell = cell;

    if (IsValid(previous)) {
        SetItemState(previous.row, previous.col, GetItemState(previous.row, previous.col) & ~GCS_FOCUSED);
        RedrawCell(previous);
        RedrawFocusHeadings(previous, cell);
    }
    if (IsValid(cell)) {
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GCS_FOCUSED);
        RedrawCell(cell);
        RedrawFocusHeadings(cell, previous);
    }
    return previous;
}

void CGridCtrl::RedrawFocusHeadings(const CCellID& cell, const CCellID& other) {
    if (cell.col != other.col)
        for (int row = 0; row < m_fixedRowCount; row++)
            RedrawCell(row, cell.col);
    if (cell.row != other.row)
        for (int col = 0; col < m_fixedColumnCount; col++)
            RedrawCell(cell.row, col);
}

CCellRange CGridCtrl::GetSelectedCellRange() const { return m_selection.Bounds(m_rowCount, m_columnCount); }

// ---- Notifications ---------------------------------------------------------------------------------------------

LRESULT CGridCtrl::SendMessageToParent(int nRow, int nCol, UINT nMessage) {
    if (!IsWindow(GetSafeHwnd()))
        return 0;
    GridNotifyInfo info{};
    info.hdr.hwndFrom = GetSafeHwnd();
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    info.hdr.code = nMessage;
    info.row = nRow;
    info.col = nCol;
    CWnd* receiver = GetOwner(); // the owner when one is set, else the parent
    if (!receiver || !IsWindow(receiver->GetSafeHwnd()))
        return 0;
    return receiver->SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
}

// ---- Editing ---------------------------------------------------------------------------------------------------

void CGridCtrl::EndEditing() {
    if (CGridCellBase* cell = IsValid(m_focusCell) ? GetCell(m_focusCell.row, m_focusCell.col) : nullptr)
        cell->EndEdit();
}
