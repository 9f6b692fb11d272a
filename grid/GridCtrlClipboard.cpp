// Cell text on the clipboard and in drags: copy, cut and paste of tab-separated text, the edit commands, and the
// grid as drag source and drop target.

#include "GridCtrl.h"

#include "platform/gui/controls/Edit.h"
#include "platform/gui/data/OleDataObject.h"
#include "platform/gui/data/OleDataSource.h"
#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/ImageList.h"
#include "platform/gui/frame/FrameworkIds.h"
#include "platform/gui/window/CmdTarget.h"
#include "platform/os/SharedFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr UINT kTextBlockFlags = GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT;

} // namespace

void CGridCtrl::RegisterEditCommands() {
    // Through the virtual operations, so that a derived grid's own handling is reached.
    OnCommandId(ID_EDIT_CUT, [this] { OnEditCut(); });
    OnCommandId(ID_EDIT_COPY, [this] { OnEditCopy(); });
    OnCommandId(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    OnCommandId(ID_EDIT_SELECT_ALL, [this] { OnEditSelectAll(); });
    OnUpdateCommandUI(ID_EDIT_CUT, [this](CCmdUI* pCmdUI) { OnUpdateEditCut(pCmdUI); });
    OnUpdateCommandUI(ID_EDIT_COPY, [this](CCmdUI* pCmdUI) { OnUpdateEditCopy(pCmdUI); });
    OnUpdateCommandUI(ID_EDIT_PASTE, [this](CCmdUI* pCmdUI) { OnUpdateEditPaste(pCmdUI); });
    OnUpdateCommandUI(ID_EDIT_SELECT_ALL, [this](CCmdUI* pCmdUI) { OnUpdateEditSelectAll(pCmdUI); });
}

// ---- Copy, cut and paste ---------------------------------------------------------------------------------------

std::vector<CCellID> CGridCtrl::CopiedCells() const {
    std::vector<CCellID> cells;
    m_selection.ForEach([&](int row, int col) {
        if (IsValid(row, col) && GetRowHeight(row) > 0 && GetColumnWidth(col) > 0)
            cells.emplace_back(row, col);
    });
    std::sort(cells.begin(), cells.end(),
              [](const CCellID& a, const CCellID& b) { return a.row != b.row ? a.row < b.row : a.col < b.col; });
    return cells;
}

COleDataSource* CGridCtrl::CopyTextFromGrid() {
    const CCellRange selection = GetSelectedCellRange();
    if (!selection.IsValid() || selection.GetMaxRow() >= m_rowCount || selection.GetMaxCol() >= m_columnCount)
        return nullptr;

    // Hidden rows and columns are left out, and so are their separators: every row written has the same number
    // of fields, and no separator follows the last field or the last row.
    CSharedFile file(kTextBlockFlags);
    bool firstRow = true;
    for (int row = selection.GetMinRow(); row <= selection.GetMaxRow(); row++) {
        if (GetRowHeight(row) == 0)
            continue;
        CString line;
        if (!firstRow)
            line += "\r\n";
        firstRow = false;
        bool firstCol = true;
        for (int col = selection.GetMinCol(); col <= selection.GetMaxCol(); col++) {
            if (GetColumnWidth(col) == 0)
                continue;
            if (!firstCol)
                line += "\t";
            firstCol = false;
            // An unselected cell inside the block gives an empty field, so the block stays rectangular.
            const CGridCellBase* cell = GetCell(row, col);
            if (cell && (cell->GetState() & GCS_SELECTED))
                line += cell->GetText();
        }
        file.Write(static_cast<LPCTSTR>(line), static_cast<UINT>(line.GetLength()));
    }
    const char end = '\0';
    file.Write(&end, 1);

    const size_t length = file.GetLength();
    HGLOBAL mem = file.Detach();
    if (!mem)
        return nullptr;
    // The file grows in steps; the block is cut to what was written.
    HGLOBAL block = GlobalReAlloc(mem, length, kTextBlockFlags);
    if (!block) {
        GlobalFree(mem);
        return nullptr;
    }
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_TEXT, block);
    return source;
}

void CGridCtrl::EmptyCells(const std::vector<CCellID>& cells) {
    for (const CCellID& cell : cells)
        ValidateAndModifyCellContents(cell.row, cell.col, "");
}

void CGridCtrl::CutSelectedText() {
    if (IsEditable())
        EmptyCells(CopiedCells());
}

BOOL CGridCtrl::PasteTextToGrid(int nRow, int nCol, COleDataObject* pDataObject, BOOL bSelectPastedCells) {
    if (!IsValid(nRow, nCol) || !IsCellEditable(CCellID(nRow, nCol)) || !pDataObject ||
        !pDataObject->IsDataAvailable(CF_TEXT))
        return FALSE;
    HGLOBAL mem = pDataObject->GetGlobalData(CF_TEXT);
    if (!mem)
        return FALSE;
    // The text ends at its first zero byte, and never beyond the block, however the block was written.
    std::string text;
    const size_t size = GlobalSize(mem);
    if (const auto* bytes = static_cast<const char*>(GlobalLock(mem))) {
        const auto* end = static_cast<const char*>(std::memchr(bytes, 0, size));
        text.assign(bytes, end ? end : bytes + size);
        GlobalUnlock(mem);
    }
    GlobalFree(mem);

    int maxRow = -1;
    int maxCol = -1;
    int rowOffset = 0;
    size_t lineStart = 0;
    for (bool more = true; more; rowOffset++) {
        const size_t lineEnd = text.find('\n', lineStart);
        more = lineEnd != std::string::npos;
        std::string line = text.substr(lineStart, more ? lineEnd - lineStart : std::string::npos);
        lineStart = more ? lineEnd + 1 : text.size();

        // Hidden rows are passed over, and the lines after them move down with them.
        while (nRow + rowOffset < m_rowCount && GetRowHeight(nRow + rowOffset) == 0)
            rowOffset++;
        const int row = nRow + rowOffset;
        if (row >= m_rowCount)
            break; // lines beyond the last row are dropped

        int colOffset = 0;
        size_t fieldStart = 0;
        while (fieldStart < line.size()) {
            const size_t fieldEnd = line.find_first_of("\t,", fieldStart);
            CString field(
                line.substr(fieldStart, fieldEnd == std::string::npos ? std::string::npos : fieldEnd - fieldStart));
            fieldStart = fieldEnd == std::string::npos ? line.size() : fieldEnd + 1;
            // Hidden columns likewise: a field never lands in one, nor on a cell an earlier field took.
            while (nCol + colOffset < m_columnCount && GetColumnWidth(nCol + colOffset) == 0)
                colOffset++;
            const int col = nCol + colOffset;
            if (IsValid(row, col)) {
                field.TrimLeft(); // so a "\r" before the "\n" goes too
                field.TrimRight();
                ValidateAndModifyCellContents(row, col, field);
                SetItemState(row, col, GetItemState(row, col) & ~GCS_SELECTED);
                maxRow = std::max(maxRow, row);
                maxCol = std::max(maxCol, col);
            }
            colOffset++;
        }
    }

    m_lastPastedRange = CCellRange(nRow, nCol, maxRow, maxCol);
    if (bSelectPastedCells) {
        SetSelectedRange(nRow, nCol, maxRow, maxCol, TRUE, TRUE);
    } else {
        ResetSelectedRange();
        Refresh();
    }
    return TRUE;
}

// ---- The edit commands -----------------------------------------------------------------------------------------

void CGridCtrl::OnEditCopy() {
    if (COleDataSource* source = CopyTextFromGrid())
        source->SetClipboard(); // the clipboard owns it now
}

void CGridCtrl::OnEditCut() {
    if (!IsEditable())
        return;
    COleDataSource* source = CopyTextFromGrid();
    if (!source)
        return;
    source->SetClipboard();
    CutSelectedText();
}

void CGridCtrl::OnEditPaste() {
    if (!IsEditable())
        return;
    const CCellRange selection = GetSelectedCellRange();
    CCellID cell;
    if (selection.IsValid() && IsValid(selection.GetMinRow(), selection.GetMinCol()))
        cell = CCellID(selection.GetMinRow(), selection.GetMinCol());
    else if (IsValid(m_focusCell))
        cell = m_focusCell;
    else
        cell = GetTopleftNonFixedCell();
    if (!IsValid(cell))
        return;

    // A cell being edited takes the text into its editor.
    CGridCellBase* object = GetCell(cell.row, cell.col);
    if (object && object->IsEditing()) {
        if (auto* editor = dynamic_cast<CEdit*>(object->GetEditWnd())) {
            editor->SendMessage(WM_PASTE);
            return;
        }
    }
    COleDataObject data;
    if (data.AttachClipboard())
        PasteTextToGrid(cell.row, cell.col, &data, TRUE);
}

void CGridCtrl::OnEditSelectAll() {
    SendMessageToParent(m_leftClickDownCell.row, m_leftClickDownCell.col, GN_SELCHANGING);
    SelectAllCells();
    SendMessageToParent(m_focusCell.row, m_focusCell.col, GN_SELCHANGED);
}

void CGridCtrl::OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(m_selection.IsEmpty() ? FALSE : TRUE); }

void CGridCtrl::OnUpdateEditCut(CCmdUI* pCmdUI) {
    pCmdUI->Enable((IsEditable() && !m_selection.IsEmpty()) ? TRUE : FALSE);
}

void CGridCtrl::OnUpdateEditPaste(CCmdUI* pCmdUI) {
    // A position without a cell object counts as not read-only.
    const bool enable = IsValid(m_focusCell) && IsEditable() &&
                        !(GetItemState(m_focusCell.row, m_focusCell.col) & GCS_READONLY) &&
                        IsClipboardFormatAvailable(CF_TEXT);
    pCmdUI->Enable(enable ? TRUE : FALSE);
}

void CGridCtrl::OnUpdateEditSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(m_enableSelection); }

// ---- Drag and drop ---------------------------------------------------------------------------------------------

void CGridCtrl::OnBeginDrag() {
    if (!m_allowDragAndDrop)
        return;
    std::unique_ptr<COleDataSource> source(CopyTextFromGrid());
    if (!source)
        return;
    const CCellRange selection = GetSelectedCellRange();
    SendMessageToParent(selection.GetMinRow(), selection.GetMinCol(), GN_BEGINDRAG);

    m_mouseMode = GMS_DRAGGING;
    m_lButtonDown = FALSE;
    // What a move empties is what was copied, decided now: a drop into this grid changes the selection.
    const std::vector<CCellID> copied = CopiedCells();
    m_lastPastedRange = CCellRange();
    const DROPEFFECT effect = source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    // The drag loop took the button's release, so no button up ends the drag here.
    if (m_mouseMode == GMS_DRAGGING)
        m_mouseMode = GMS_IDLE;
    if (effect & DROPEFFECT_MOVE) {
        // Text that a drop into this grid wrote over its own source cells stays.
        std::vector<CCellID> moved;
        for (const CCellID& cell : copied)
            if (!m_lastPastedRange.IsValid() || !m_lastPastedRange.InRange(cell))
                moved.push_back(cell);
        if (IsEditable())
            EmptyCells(moved);
    }
    m_lastPastedRange = CCellRange();
}

DROPEFFECT CGridCtrl::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    if (!m_allowDragAndDrop || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    m_dropHighlightedCell = GetCellFromPt(point, FALSE);
    if (!IsValid(m_dropHighlightedCell) || !IsCellEditable(m_dropHighlightedCell))
        return DROPEFFECT_NONE;
    const CCellID& cell = m_dropHighlightedCell;
    SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GCS_DROPHILITED);
    RedrawCell(cell);
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CGridCtrl::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    if (!m_allowDragAndDrop || !IsEditable() || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    const CCellID cell = GetCellFromPt(point, FALSE);
    if (!IsValid(cell)) {
        OnDragLeave();
        m_dropHighlightedCell = CCellID();
        return DROPEFFECT_NONE;
    }
    if (!IsCellEditable(cell))
        return DROPEFFECT_NONE;
    const DROPEFFECT effect = (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    if (cell == m_dropHighlightedCell)
        return effect;
    if (IsValid(m_dropHighlightedCell)) {
        const CCellID& old = m_dropHighlightedCell;
        SetItemState(old.row, old.col, GetItemState(old.row, old.col) & ~GCS_DROPHILITED);
        RedrawCell(old);
    }
    m_dropHighlightedCell = cell;
    SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GCS_DROPHILITED);
    RedrawCell(cell);
    return effect;
}

void CGridCtrl::OnDragLeave() {
    if (!IsValid(m_dropHighlightedCell))
        return;
    const CCellID& cell = m_dropHighlightedCell;
    SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~GCS_DROPHILITED);
    RedrawCell(cell);
}

BOOL CGridCtrl::OnDrop(COleDataObject* pDataObject, DROPEFFECT /*dropEffect*/, CPoint /*point*/) {
    m_mouseMode = GMS_IDLE;
    if (!m_allowDragAndDrop || !IsEditable())
        return FALSE;
    if (GetItemState(m_dropHighlightedCell.row, m_dropHighlightedCell.col) & GCS_READONLY)
        return FALSE;
    OnDragLeave();
    return PasteTextToGrid(m_dropHighlightedCell.row, m_dropHighlightedCell.col, pDataObject, FALSE);
}

CImageList* CGridCtrl::CreateDragImage(CPoint* pHotSpot) {
    CDC* pDC = GetDC();
    if (!pDC)
        return nullptr;
    CRect rect;
    const CCellID cell = m_focusCell;
    if (!GetCellRect(cell.row, cell.col, &rect)) {
        ReleaseDC(pDC);
        return nullptr;
    }
    rect.OffsetRect(-rect.left, -rect.top);
    if (pHotSpot)
        *pHotSpot = CPoint(rect.Width(), rect.Height());

    auto list = std::make_unique<CImageList>();
    if (!list->Create(rect.Width(), rect.Height(), ILC_MASK, 1, 1)) {
        ReleaseDC(pDC);
        return nullptr;
    }
    CDC memDC;
    CBitmap bitmap;
    memDC.CreateCompatibleDC(pDC);
    bitmap.CreateCompatibleBitmap(pDC, rect.Width(), rect.Height());
    CBitmap* oldBitmap = memDC.SelectObject(&bitmap);
    if (CGridCellBase* object = GetCell(cell.row, cell.col))
        object->Draw(&memDC, cell.row, cell.col, rect, FALSE);
    memDC.SelectObject(oldBitmap);
    list->Add(&bitmap, m_defaultCell.GetBackClr());
    bitmap.DeleteObject();
    ReleaseDC(pDC);
    return list.release();
}
