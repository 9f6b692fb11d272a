#pragma once

#include "grid/GridCtrl.h"

#include <new>
#include <string>
#include <vector>

// A grid that tests can look into (its selection map) and make run out of memory while it makes cells.
class TestGrid : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;

    // TRUE when the selection's count and bounds are those of the cells whose state has GCS_SELECTED, and every
    // cell object handed out carries the bit as the grid reports it.
    bool SelectionAgreesWithStates() const;
    size_t SelectedInMap() const { return GetSelectedCount(); }
    // What a Ctrl-click does before it adds a block: the selection becomes the previous selection.
    void KeepSelectionForCtrl() { m_previousSelection = m_selection; }
    const CCellSelection& Selection() const { return m_selection; }

    // The next cells made succeed this many times, then throw std::bad_alloc; -1 never fails.
    int m_cellsBeforeFailure = -1;
    void SetCellClass(CRuntimeClass* cellClass) { m_cellClass = cellClass; }
    void EnableSelection(BOOL bEnable) { m_enableSelection = bEnable; }
    void SetSortColumn(int nCol) { m_sortColumn = nCol; }
    int GetSortColumn() const { return m_sortColumn; }

    // A cell as the grid would make it for a position; the caller owns it.
    CGridCellBase* MakeCell(int nRow, int nCol) { return CreateCell(nRow, nCol); }

    // TRUE when every position of the grid holds a cell (so no row is shorter than the column count).
    bool EveryPositionHasACell() const;

    // The edits the mouse and the keys asked for, as "row col character"; with openEditors they open too.
    std::vector<std::string> edits;
    bool openEditors = false;
    void OnEditCell(int nRow, int nCol, CPoint point, UINT nChar) override {
        edits.push_back(std::to_string(nRow) + " " + std::to_string(nCol) + " " + std::to_string(nChar));
        if (openEditors)
            CGridCtrl::OnEditCell(nRow, nCol, point, nChar);
    }
    CTitleTip& TitleTip() { return m_titleTip; }
    CGridDropTarget& DropTarget() { return m_dropTarget; }
    int PageHeight() const { return m_pageHeight; }
    int PageWidth() const { return m_pageWidth; }
    int PagesAcross() const { return m_pagesAcross; }

    int MouseMode() const { return m_mouseMode; }
    UINT ShownBars() const { return m_shownBars; }
    void SetGridLines(int lines) { m_gridLines = lines; }
    void SetWheelScrollLines(int lines) { m_wheelScrollLines = lines; }
    COLORREF BackgroundColour() const { return m_backgroundColour; }
    void SetBackgroundColour(COLORREF colour) { m_backgroundColour = colour; }
    int ScrollPos(int nBar) { return GetScrollPos32(nBar); }

protected:
    CGridCellBase* CreateCell(int nRow, int nCol) override {
        if (m_cellsBeforeFailure == 0)
            throw std::bad_alloc();
        if (m_cellsBeforeFailure > 0)
            --m_cellsBeforeFailure;
        return CGridCtrl::CreateCell(nRow, nCol);
    }
};

// Creates the grid as a visible top-level window whose client area is width x height (the grid adds a client
// edge of two pixels on every side when it is created).
bool CreateGridWindow(CGridCtrl& grid, int width, int height);
// Sizes every row and column of the grid.
void SizeAll(CGridCtrl& grid, int width, int height);
// The number of cells whose state has all of the bits.
int CountCellsWith(const CGridCtrl& grid, UINT bits);

// A window that owns a grid and writes down, in order, the notifications (WM_NOTIFY) and commands (WM_COMMAND)
// the grid gives it, as "code row col" and "command id".
class GridOwner : public CWnd {
public:
    std::vector<std::string> seen;
    HWND commandFrom = nullptr;
    // The answers to GN_BEGINLABELEDIT and GN_ENDLABELEDIT (negative vetoes), and the cell they apply to
    // ((-1, -1): every cell).
    LRESULT beginEditAnswer = 0;
    LRESULT endEditAnswer = 0;
    CCellID vetoedCell;

    bool Create();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A pixel of a window's retained client image.
COLORREF PixelAt(CWnd& wnd, int x, int y);

// Bytes and calls of operator new between Start and Stop.
void StartCountingBytes();
struct AllocationCount {
    size_t bytes;
    size_t calls;
};
AllocationCount StopCountingBytes();
