#pragma once

#include "grid/CellRange.h"
#include "grid/CellSelection.h"
#include "grid/GridCell.h"
#include "grid/GridCellBase.h"
#include "grid/GridDefaultCell.h"
#include "grid/GridDropTarget.h"
#include "grid/GridItem.h"
#include "grid/TitleTip.h"

#include "platform/gui/data/Clipboard.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/window/Wnd.h"
#include "platform/os/RuntimeClass.h"

#include <typeinfo>
#include <vector>

class CCmdUI;
class CDC;
class CImageList;
class COleDataObject;
class COleDataSource;
class CPrintInfo;

// Sent to the owner when a drag of cell text starts, with the first row and column of the selection.
constexpr UINT GN_BEGINDRAG = 0u - 109u;

// Orders two cells for a sort: negative when the first cell's row goes first in ascending order, positive when
// it goes after, 0 when neither goes first. A cell is null where the grid holds no cell object; data is what
// the caller of the sort passed.
using GridCompareFunction = int (*)(CGridCellBase* pCell1, CGridCellBase* pCell2, LPARAM data);

// Which grid lines are drawn.
enum : int { kGridLinesNone = 0, kGridLinesHorizontal = 1, kGridLinesVertical = 2, kGridLinesBoth = 3 };

// What the mouse is doing in a grid (there is no mode 5).
constexpr int GMS_IDLE = 0;
constexpr int GMS_SELECT_ALL = 1;          // a click in the fixed corner selects everything
constexpr int GMS_SELECT_COLUMNS = 2;      // dragging over the fixed rows selects whole columns
constexpr int GMS_SELECT_ROWS = 3;         // dragging over the fixed columns selects whole rows
constexpr int GMS_SELECT_CELLS = 4;        // dragging over cells selects a block
constexpr int GMS_OVER_ROW_DIVIDER = 6;    // resting on a row divider
constexpr int GMS_SIZING_ROW = 7;          // dragging a row divider
constexpr int GMS_OVER_COLUMN_DIVIDER = 8; // resting on a column divider
constexpr int GMS_SIZING_COLUMN = 9;       // dragging a column divider
constexpr int GMS_PENDING_EDIT = 10;       // pressed on the focus cell's text: releasing opens the editor
constexpr int GMS_PENDING_DRAG = 11;       // moved after that: a drag was offered
constexpr int GMS_DRAGGING = 12;           // a drag of cell text runs

// The timer that scrolls while a selection is dragged beyond the cells.
constexpr UINT_PTR IDT_GRID_AUTOSCROLL = 513;

// The grid's window class; a dialog control of this class becomes a grid when a CGridCtrl subclasses it.
constexpr const char* kGridWindowClass = "GridCtrlWnd";

// A window of rows and columns of cell objects. The first rows and columns may be fixed: headings that do not
// scroll. The grid owns its cells, creates them through its cell class and reports changes to its owner (else
// its parent) with WM_NOTIFY. Geometry is in client pixels; cell rectangles are inclusive, and rows and columns
// of size 0 are hidden and take no room.
//
// The implementation is split by concern: GridCtrl.cpp (construction, cells, items, focus, notifications),
// GridCtrlGeometry.cpp (shape, sizes, cell geometry), GridCtrlSelection.cpp (the selection), GridCtrlDraw.cpp
// (drawing), GridCtrlScroll.cpp (scroll bars and scrolling), GridCtrlMouse.cpp (the mouse, resizing),
// GridCtrlKeys.cpp (the keyboard), GridCtrlEdit.cpp (in-place editing), GridCtrlClipboard.cpp (the clipboard and
// drag and drop), GridCtrlSort.cpp (sorting) and GridCtrlPrint.cpp (printing).
class CGridCtrl : public CWnd {
    DECLARE_DYNAMIC(CGridCtrl)
public:
    CGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    ~CGridCtrl() override;

    // Registers the window class once per process; throws CResourceException when it cannot.
    static BOOL RegisterWindowClass();
    void PreSubclassWindow() override;

    // ---- Shape -----------------------------------------------------------------------------------------------
    int GetRowCount() const { return m_rowCount; }
    int GetColumnCount() const { return m_columnCount; }
    int GetFixedRowCount() const { return m_fixedRowCount; }
    int GetFixedColumnCount() const { return m_fixedColumnCount; }
    // FALSE when memory ran out (after the standard report); the rows made so far stay.
    BOOL SetRowCount(int nRows = 10);
    // FALSE when memory ran out (after the standard report); the column count is then left as it was.
    BOOL SetColumnCount(int nCols = 10);
    BOOL SetFixedRowCount(int nFixedRows = 1);
    BOOL SetFixedColumnCount(int nFixedCols = 1);
    // The index of the new row or column, or -1. A row is inserted among the non-fixed rows or appended (-1);
    // a column among the non-fixed columns or appended (-1 or the column count).
    int InsertRow(LPCTSTR strHeading, int nRow = -1);
    int InsertColumn(LPCTSTR strHeading, UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int nColumn = -1);
    BOOL DeleteRow(int nRow);
    BOOL DeleteNonFixedRows();
    BOOL DeleteAllItems();

    // ---- Sizes -----------------------------------------------------------------------------------------------
    int GetRowHeight(int nRow) const;
    int GetColumnWidth(int nCol) const;
    BOOL SetRowHeight(int nRow, int height);
    BOOL SetColumnWidth(int nCol, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int GetVirtualHeight() const;
    int GetVirtualWidth() const;
    // nAutoSizeStyle 0 takes the grid's style: bit 1 measures the fixed rows, bit 2 the others.
    BOOL AutoSizeColumn(int nCol, UINT nAutoSizeStyle = 0, BOOL bResetScroll = TRUE);
    BOOL AutoSizeRow(int nRow, BOOL bResetScroll = TRUE);

    // ---- Cell geometry ---------------------------------------------------------------------------------------
    CCellID GetTopleftNonFixedCell(BOOL bForceRecalculation = FALSE);
    CCellRange GetVisibleNonFixedCellRange(LPRECT pRect = nullptr, BOOL bForceRecalculation = FALSE);
    BOOL GetCellOrigin(int nRow, int nCol, LPPOINT p);
    BOOL GetCellRect(int nRow, int nCol, LPRECT pRect);
    CCellID GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck = TRUE);
    CPoint GetPointClicked(int nRow, int nCol, const CPoint& point);
    BOOL IsCellVisible(int nRow, int nCol);
    BOOL InvalidateCellRect(int nRow, int nCol);

    // ---- Cells and items -------------------------------------------------------------------------------------
    // The cell object at a position, null outside the grid or where there is none. Its GCS_SELECTED bit is set
    // to what the grid's selection says before it is handed out.
    CGridCellBase* GetCell(int nRow, int nCol) const {
        CGridCellBase* cell = CellAt(nRow, nCol);
        if (cell && m_selectionAhead)
            ShowSelection(cell, nRow, nCol);
        return cell;
    }
    BOOL IsValid(int nRow, int nCol) const;
    BOOL IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    BOOL SetItem(const GridItem* pItem);
    BOOL SetItemText(int nRow, int nCol, LPCTSTR str);
    BOOL SetItemData(int nRow, int nCol, LPARAM lParam);
    BOOL SetItemState(int nRow, int nCol, UINT state);
    CString GetItemText(int nRow, int nCol) const;
    LPARAM GetItemData(int nRow, int nCol) const;
    UINT GetItemState(int nRow, int nCol) const;
    BOOL IsCellEditable(const CCellID& cell) const;
    BOOL IsCellSelected(int nRow, int nCol) const;
    BOOL IsCellSelected(const CCellID& cell) const { return IsCellSelected(cell.row, cell.col); }

    // The default cell for a kind of cell: normal, fixed column, fixed row or the fixed corner.
    CGridDefaultCell* GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol);
    void SetupDefaultCells();

    // ---- Modified flags --------------------------------------------------------------------------------------
    // With a cell, marks it (and, when TRUE, the grid); without one, sets the grid's flag. Clearing the grid's
    // flag clears every cell's mark.
    void SetModified(BOOL bModified = TRUE, int nRow = -1, int nCol = -1);
    BOOL GetModified() const { return m_modified; }

    // ---- Settings --------------------------------------------------------------------------------------------
    BOOL IsEditable() const { return m_editable; }
    void SetEditable(BOOL bEditable = TRUE) { m_editable = bEditable; }
    BOOL GetTitleTips() const { return m_titleTips; }
    void EnableTitleTips(BOOL bEnable = TRUE) { m_titleTips = bEnable; }
    // Whether the fixed cells of the focus cell's row and column are drawn sunken, and the focus cell framed.
    BOOL GetTrackFocusCell() const { return m_trackFocusCell; }
    BOOL GetFrameFocusCell() const { return m_frameFocusCell; }

    // ---- Focus and selection ---------------------------------------------------------------------------------
    CCellID GetFocusCell() const { return m_focusCell; }
    // Returns the previous focus cell. A row or column inside the fixed area moves to the first non-fixed one.
    CCellID SetFocusCell(int nRow, int nCol);
    CCellID SetFocusCell(const CCellID& cell) { return SetFocusCell(cell.row, cell.col); }
    // The block that bounds every selected cell; with none, {row count, column count, -1, -1}, which is not valid.
    CCellRange GetSelectedCellRange() const;
    // How many cells are selected.
    size_t GetSelectedCount() const { return m_selection.Count(); }
    // With bSelectCells the selection becomes the previous selection plus the block; without, the block is
    // deselected. A negative first row only clears.
    void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint = FALSE,
                          BOOL bSelectCells = TRUE);
    // Empties both selections and the focus.
    void ResetSelectedRange();
    // The block from the anchor to a non-fixed cell.
    void SelectCells(CCellID currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    // Whole rows (all non-fixed columns) from the anchor's row to the cell's.
    void SelectRows(CCellID currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    // Whole columns (all non-fixed rows) from the anchor's column to the cell's.
    void SelectColumns(CCellID currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    void SelectAllCells();
    // Extends the selection to a cell as the mouse mode says.
    void OnSelecting(const CCellID& currentCell);
    // A click in a fixed row selects columns (everything in the corner); in a fixed column, rows.
    virtual void OnFixedRowClick(CCellID& cell);
    virtual void OnFixedColumnClick(CCellID& cell);

    // ---- Notifications ---------------------------------------------------------------------------------------
    // Sends WM_NOTIFY with a GridNotifyInfo to the owner, else the parent; returns its answer (0 without one).
    LRESULT SendMessageToParent(int nRow, int nCol, UINT nMessage);

    // ---- Drawing and scrolling -------------------------------------------------------------------------------
    // The whole drawing pass: background, the fixed corner, fixed columns, fixed rows, cells, then grid lines.
    virtual void OnDraw(CDC* pDC);
    // Paints the client area outside the cells and under the cells the clip box touches.
    void EraseBkgnd(CDC* pDC);
    // Draws one cell at once (on the window's DC when pDC is null).
    BOOL RedrawCell(int nRow, int nCol, CDC* pDC = nullptr);
    BOOL RedrawCell(const CCellID& cell, CDC* pDC = nullptr) { return RedrawCell(cell.row, cell.col, pDC); }
    // Repaints the whole window, background included, when it exists and drawing is on.
    void Refresh();
    // Shows the bars the cells need, with ranges and pages in pixels of the non-fixed area.
    void ResetScrollBars();
    // Shows or hides bars (SB_HORZ, SB_VERT, SB_BOTH).
    void EnableScrollBars(int nBar, BOOL bEnable = TRUE);
    BOOL SetScrollPos32(int nBar, int nPos, BOOL bRedraw = TRUE);
    // Scrolls until the cell lies inside the client area.
    void EnsureVisible(int nRow, int nCol);
    void EnsureVisible(const CCellID& cell) { EnsureVisible(cell.row, cell.col); }
    // Lines per wheel notch from the system; -1 scrolls a page.
    static int GetMouseScrollLines();

    // ---- In-place editing ------------------------------------------------------------------------------------
    // Ends the edit of the focus cell, if one runs.
    virtual void EndEditing();
    // Opens the editor on an editable cell (after making it visible), unless the owner vetoes GN_BEGINLABELEDIT.
    // nChar is the character that started the edit, VK_LBUTTON for the mouse and F2.
    virtual void OnEditCell(int nRow, int nCol, CPoint point, UINT nChar);
    // Takes an editor's text: a changed text is kept when the cell and the owner accept it, else the cell
    // stays as it was, text and modified marks alike.
    virtual void OnEndEditCell(int nRow, int nCol, CString str);
    virtual BOOL ValidateEdit(int nRow, int nCol, LPCTSTR str);
    // Writes a text into a cell as an edit would, with the owner's say through both label-edit notifications.
    void ValidateAndModifyCellContents(int nRow, int nCol, LPCTSTR strText);

    // ---- Clipboard and drag and drop of cell text --------------------------------------------------------------
    // The selected block as CF_TEXT (tabs between cells, CR LF between rows, hidden rows and columns left out),
    // or null for an empty selection. The caller owns the result.
    virtual COleDataSource* CopyTextFromGrid();
    // Empties the selected cells that a copy takes (hidden ones keep their text).
    virtual void CutSelectedText();
    // Writes text from (nRow, nCol) on: lines to rows, tab- or comma-separated fields to cells, each through the
    // checks of an edit. FALSE when nothing can be pasted there.
    virtual BOOL PasteTextToGrid(int nRow, int nCol, COleDataObject* pDataObject, BOOL bSelectPastedCells = TRUE);
    virtual void OnBeginDrag();
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll();
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnUpdateEditCut(CCmdUI* pCmdUI);
    void OnUpdateEditPaste(CCmdUI* pCmdUI);
    void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    // A picture of the focus cell for a derived grid's drag feedback; the hot spot is its size. The caller owns
    // the list; null without a visible focus cell.
    virtual CImageList* CreateDragImage(CPoint* pHotSpot);
    BOOL GetDragAndDrop() const { return m_allowDragAndDrop; }
    void EnableDragAndDrop(BOOL bAllow = TRUE) { m_allowDragAndDrop = bAllow; }

    // ---- Sorting -----------------------------------------------------------------------------------------------
    // Sorts the non-fixed rows by a column with the grid's compare function (the cells' texts when it has none);
    // FALSE when nothing could be sorted.
    BOOL SortItems(int nCol, BOOL bAscending, LPARAM data = 0);
    BOOL SortItemsWith(GridCompareFunction pfnCompare, int nCol, BOOL bAscending, LPARAM data = 0);
    // Sorts rows nLow to nHigh (-1: the last row) in place; whole rows move, fixed columns and heights included.
    BOOL SortRange(GridCompareFunction pfnCompare, int nCol, BOOL bAscending, LPARAM data, int nLow, int nHigh);
    // The cells' texts compared as the runtime's multibyte comparison does (a GBK character counts as one code).
    static int CompareCellText(CGridCellBase* pCell1, CGridCellBase* pCell2, LPARAM data);
    // Puts a cell object at a position without deleting the one that was there.
    BOOL SetCell(int nRow, int nCol, CGridCellBase* pCell);
    int GetSortColumn() const { return m_sortColumn; }
    BOOL GetSortAscending() const { return m_sortAscending; }
    // Whether a click on a fixed row's cell sorts by its column.
    void SetHeaderSort(BOOL bSortOnClick = TRUE) { m_sortOnFixedRowClick = bSortOnClick; }
    BOOL GetHeaderSort() const { return m_sortOnFixedRowClick; }
    void SetCompareFunction(GridCompareFunction pfnCompare) { m_compareFunction = pfnCompare; }

    // ---- Printing ----------------------------------------------------------------------------------------------
    // An owner view forwards its printing steps here: the layout and page count first, then each page, then
    // the clean-up.
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // One row of heading cells, columns nStartColumn to nStopColumn - 1, continuing rect to the right.
    virtual void PrintFixedRowCells(int nStartColumn, int nStopColumn, int& row, CRect& rect, CDC* pDC, BOOL& bFirst);
    virtual void PrintColumnHeadings(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintHeader(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintFooter(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintRowButtons(CDC* pDC, CPrintInfo* pInfo);
    // Fixed scale prints at the screen's size over as many pages across as the columns need; otherwise the whole
    // width is scaled onto one page.
    void SetFixedScalePrinting(BOOL bFixedScale = TRUE) { m_fixedScalePrinting = bFixedScale; }
    BOOL GetFixedScalePrinting() const { return m_fixedScalePrinting; }
    // Whether cells print their colours, or black text on no background.
    void SetPrintColours(BOOL bColours = TRUE) { m_printColours = bColours; }
    BOOL GetPrintColours() const { return m_printColours; }
    int GetGridLines() const { return m_gridLines; }

    // ---- Window messages -------------------------------------------------------------------------------------
    void OnPaint() override;
    // A grid holding the keyboard's focus shows it with a dotted frame inside its cells' edge, whichever cell
    // has the focus frame (if any).
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    // The background is painted with the cells: erasing does nothing.
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    void OnSysColorChange() override;
    LRESULT OnSetFont(WPARAM hFont, LPARAM lParam);
    LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnRButtonUp(UINT nFlags, CPoint point) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnCaptureChanged(CWnd* pWnd) override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    LRESULT OnImeChar(WPARAM wCharCode, LPARAM lParam);
    UINT OnGetDlgCode() override;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // Whether a point lies in the fixed rows within the capture range of a column divider, or in the fixed
    // columns within the range of a row divider.
    BOOL MouseOverColumnResizeArea(const CPoint& point);
    BOOL MouseOverRowResizeArea(const CPoint& point);
    BOOL MouseOverResizeArea(int nBar, const CPoint& point);

    using CellRow = std::vector<CGridCellBase*>;

    // Makes the cell for a position through the cell class, marked fixed where it lies in the fixed area;
    // null when the class cannot make one.
    virtual CGridCellBase* CreateCell(int nRow, int nCol);
    // Deselects and deletes the cell at a position, leaving the position empty.
    virtual void DestroyCell(int nRow, int nCol);

    // Subclassed windows get the client edge and show it.
    void Initialise();
    // The position of a scroll bar (its track position while dragging), 0 without one.
    int GetScrollPos32(int nBar, BOOL bGetTrackPos = FALSE);
    // The sort column returns to none (and its heading cell is repainted without its mark).
    void ForgetSortColumn();

    // Colours.
    COLORREF m_backgroundColour;
    COLORREF m_gridLineColour = RGB(0xC0, 0xC0, 0xC0);
    COLORREF m_windowTextColour;
    COLORREF m_windowColour;
    COLORREF m_faceColour;
    COLORREF m_shadowColour;
    COLORREF m_titleTipBackColour = CLR_DEFAULT;
    COLORREF m_titleTipTextColour = CLR_DEFAULT;

    // Settings.
    int m_gridLines = kGridLinesBoth;
    BOOL m_editable = TRUE;
    BOOL m_modified = FALSE;
    BOOL m_allowDragAndDrop = FALSE;
    BOOL m_allowDraw = TRUE;
    BOOL m_enableSelection = TRUE;
    BOOL m_fixedColumnSelection = TRUE;
    BOOL m_fixedRowSelection = TRUE;
    BOOL m_handleTab = TRUE;
    BOOL m_doubleBuffer = TRUE;
    BOOL m_titleTips = TRUE;
    UINT m_shownBars = 0;
    BOOL m_trackFocusCell = TRUE;
    BOOL m_frameFocusCell = TRUE;
    UINT m_autoSizeStyle = 3;

    // Shape and sizes.
    int m_rowCount = 0;
    int m_fixedRowCount = 0;
    int m_columnCount = 0;
    int m_fixedColumnCount = 0;
    std::vector<UINT> m_rowHeights;
    mutable int m_virtualHeight = -1; // the sum of the row heights, -1 until asked for after they changed
    std::vector<UINT> m_columnWidths;

    // Cells.
    CRuntimeClass* m_cellClass;
    CGridDefaultCell m_defaultCell;
    CGridDefaultCell m_defaultFixedColumnCell;
    CGridDefaultCell m_defaultFixedRowCell;
    CGridDefaultCell m_defaultCornerCell;
    std::vector<CellRow> m_rows;

    CCellID m_focusCell;
    CCellID m_topLeftCell;
    // Scroll maxima: 0 while a bar is hidden, else the non-fixed extent less one pixel.
    int m_hScrollMax = 0;
    int m_vScrollMax = 0;

    // The mouse.
    int m_mouseMode = GMS_IDLE;
    BOOL m_lButtonDown = FALSE;
    CPoint m_leftClickDownPoint;
    CPoint m_lastMousePoint;
    CCellID m_leftClickDownCell;
    // The corner that stays put when a selection is extended.
    CCellID m_selectionStartCell;
    UINT_PTR m_timerId = 0;
    UINT m_timerPeriod = 25;
    int m_resizeCaptureRange = 3;
    BOOL m_allowRowResize = TRUE;
    BOOL m_allowColumnResize = TRUE;
    int m_wheelScrollLines;
    // The selected cells, and the selection a Ctrl-click started from. A whole block is held as one entry, so the
    // selected bit of a cell object is brought in line with the selection when the grid hands the cell out or
    // draws it (see GetCell), not when the block is selected.
    CCellSelection m_selection;
    CCellSelection m_previousSelection;
    CCellID m_dropHighlightedCell;

    CTitleTip m_titleTip;
    CGridDropTarget m_dropTarget;

    // Sorting.
    BOOL m_sortOnFixedRowClick = FALSE;
    BOOL m_sortAscending = TRUE;
    // The column whose heading shows the sort mark; -1 for none.
    int m_sortColumn = -1;
    GridCompareFunction m_compareFunction = nullptr;

    // Printing: the layout OnBeginPrinting computes, in the grid's own pixels (logical units) unless noted.
    CFont m_printerFont;
    CSize m_charSize;
    int m_pageHeight = 0;
    CSize m_logicalPageSize;
    CSize m_paperSize; // printer pixels
    int m_pageWidth = 0;
    int m_currentPrintColumn = 0;
    int m_currentPrintRow = 0;
    int m_pageCount = 0;
    int m_pagesAcross = 1;
    int m_headerHeight = 2; // lines
    int m_footerHeight = 2; // lines
    int m_leftMargin = 4;   // characters
    int m_rightMargin = 4;  // characters
    int m_gap = 1;          // lines
    BOOL m_fixedScalePrinting = FALSE;
    BOOL m_printColours = TRUE;
    // The ends (exclusive) of the rows and the columns of the page being printed.
    int m_printRowEnd = 0;
    int m_printColumnEnd = 0;

private:
    // The cell object at a position as it is stored, its selected bit not brought in line.
    CGridCellBase* CellAt(int nRow, int nCol) const {
        if (nRow < 0 || nRow >= m_rowCount || nCol < 0 || nCol >= m_columnCount)
            return nullptr;
        const CellRow& row = m_rows[static_cast<size_t>(nRow)];
        return static_cast<size_t>(nCol) < row.size() ? row[static_cast<size_t>(nCol)] : nullptr;
    }
    // The dotted frame of the keyboard's focus, while the grid has it; within a rectangle just drawn over, that
    // part of it alone.
    void DrawFocusMark(CDC* pDC, const RECT* within = nullptr);
    // Where that frame lies (empty when there is no room for it), and its lines alone repainted.
    CRect FocusMarkRect();
    void InvalidateFocusMark();
    // Gives a cell object the selected bit the selection holds for its position.
    void ShowSelection(CGridCellBase* cell, int nRow, int nCol) const;
    // SetItemState and SetModified(TRUE, nRow, nCol) for the cell object at that position, already in hand.
    void SetCellState(CGridCellBase* cell, int nRow, int nCol, UINT state);
    void MarkModified(CGridCellBase* cell, int nRow, int nCol);
    // A cell object was stored at a position (null: none). Positions without a cell, and cells that do not keep
    // the selected bit they are given, make the selection ask every cell it touches (see SetSelectedRange).
    void NoteStoredCell(CGridCellBase* cell) {
        if (!cell || typeid(*cell) != typeid(CGridCell)) // the grid's own cells keep every state they are given
            NoteOtherCell(cell);
    }
    void NoteOtherCell(CGridCellBase* cell);
    // After the selection changed from `before`: cells that refuse the selected bit as told keep what they hold,
    // and the selection follows them, as it did when every cell was told one by one.
    void AskCellsAbout(const CCellSelection& before);

    // Geometry helpers: the left edge of a column and the top edge of a row, summed as the cell origin sums them.
    int ColumnLeft(int nCol, const CCellID& topLeft) const;
    int RowTop(int nRow, const CCellID& topLeft) const;
    // Whether a position is scrolled out of view (left of or above the top-left non-fixed cell).
    bool IsScrolledOut(int nRow, int nCol, const CCellID& topLeft) const;
    // Cells of the block [firstRow, endRow) x [firstCol, endCol) enter or leave the fixed rows (areaBit
    // GCS_FIXEDROW) or columns (GCS_FIXEDCOL), taking the default colours; a cell that leaves one area but lies in
    // the other stays fixed and keeps its colours.
    void ChangeFixedArea(int firstRow, int endRow, int firstCol, int endCol, DWORD areaBit, bool entering);
    // Drops the cells of the columns from nCol on, in every row.
    void DropColumnsFrom(int nCol);
    // The cells of the focus cell's row and column headings change look when the focus moves.
    void RedrawFocusHeadings(const CCellID& cell, const CCellID& other);
    // One scroll handler for both bars.
    void Scroll(int nBar, UINT nSBCode);
    // A divider drag (SB_HORZ sizes a column, SB_VERT a row): starts it at a button down, or ends it at the
    // button up (FALSE when the sized row or column is out of view).
    void BeginResize(int nBar, CPoint point);
    BOOL EndResize(int nBar, CPoint point);
    // Inverts the tracking line of a divider drag at a client x (columns) or y (rows).
    void InvertTrackingLine(int nBar, int at);
    // A double click on a divider fits the row or column to its contents; FALSE when none is found.
    BOOL AutoSizeAtDivider(int nBar, const CCellID& cell, CPoint point);
    // Whether a point in a cell lies inside the cell's text rectangle.
    BOOL IsPointInCellText(const CCellID& cell, CPoint point);

    // The end of an editor's work (GN_ENDLABELEDIT from IDC_INPLACE_CONTROL): the text goes into the cell, and a
    // Tab or navigation key moves on to edit the next cell.
    void OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult);
    // Sets a cell's changed text and asks the cell and the owner to accept it; a refusal puts back the text, the
    // modified marks and the sort column as they were. TRUE when accepted.
    BOOL CommitCellText(int nRow, int nCol, LPCTSTR newText, const CString& oldText);
    // The selected cells a copy takes: those in rows and columns that are not hidden, row by row.
    std::vector<CCellID> CopiedCells() const;
    // Empties cells through the checks of an edit.
    void EmptyCells(const std::vector<CCellID>& cells);
    // The edit commands and their update handlers, by command id.
    void RegisterEditCommands();
    // After a sort swapped two rows: the selection and the focus follow the cells.
    void FollowSwappedRows(int nRow1, int nRow2);
    // Two rows change places, with their cells, heights, selection and focus.
    void SwapRows(int nRow1, int nRow2);
    // What a sort sorts: the rows themselves, or the beginnings of the texts of the grid's own cells beside them.
    struct SortedRows;
    struct SortedTexts;
    // Where a page that starts at row (column) `first` ends (exclusive): its first row always, then the rows
    // that keep the sum of heights within `extent`. Page breaks, the page count and what each page prints all
    // come from this, so no row is printed twice or lost.
    static int PrintPageEnd(const std::vector<UINT>& sizes, int first, int extent);
    // The grid lines of one printed cell: along its bottom from the line left of it (its own left edge in column
    // 0) and along its right edge from `top`; with lineAbove also a line at aboveY, with lineLeft one at leftX.
    void PrintCellLines(CDC* pDC, const CRect& rect, int col, bool lineAbove, int aboveY, int top, bool lineLeft,
                        int leftX);
    // The first row (column) of the page with the given index (from 0) down (across).
    static int PrintPageStart(const std::vector<UINT>& sizes, int firstNonFixed, int pageIndex, int extent);

    // The block the last paste wrote (empty before any), so that a move inside the grid does not empty it.
    CCellRange m_lastPastedRange;

    // Whether some position holds no cell or a cell that does not keep the selected bit as given (set once seen,
    // cleared when the grid is emptied), and the last cell class found to keep it.
    bool m_irregularCells = false;
    bool m_onlyOwnCells = true; // every cell stored is a CGridCell itself, whose SetCoords does nothing
    CRuntimeClass* m_regularCellClass = nullptr;
    // Whether the selection has changed for cells it did not tell (a block selected or cleared, rows swapped), so
    // that a cell's selected bit must be brought in line before the cell is handed out or drawn.
    bool m_selectionAhead = false;
    // The last cell class found to derive from CGridCellBase.
    CRuntimeClass* m_cellClassChecked = nullptr;
};
