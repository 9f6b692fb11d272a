#pragma once

#include "WallMenus.h"

#include "grid/GridCtrl.h"
#include "platform/os/Rect.h"
#include "platform/os/String.h"

#include <memory>

class CPipCtrl;
class CPipWindow;
class NotifyEvent;

// The PIP window's control id in the wall view, and the name it shows.
constexpr UINT kPipWindowId = 0x15E0;
constexpr char kPipWindowName[] = "PIP";

// The drawing of the wall: one cell per display unit, rows and columns of the wall layout. The selection is the
// target of the wall commands; each cell shows the source its unit was last given and, in brackets, the matrix
// input switched to it. Hosts the one PIP window when the settings file enables it.
class LcdGridCtrl : public CGridCtrl {
public:
    // Also the first use of the wall model: the settings and the matrices are read here.
    LcdGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    ~LcdGridCtrl() override;

    // Shares the client area out among the rows and columns.
    void FitToClient();
    int Refit();
    // The units' resolution changed: the PIP window is placed where its wall pixels now stand, and moved into the
    // wall (which is told so) when they no longer fit.
    void FollowResolution();

    // The selection's bounding block, 1-based: {first row, first column, last row, last column}. Nothing selected
    // gives {rows + 1, columns + 1, 0, 0}.
    CRect GetSelectedRange() const;
    // {1, 1, columns, rows}: the whole wall as the PIP commands carry it.
    CRect GetWallRange() const;
    CRect GetFirstCellRect();
    // From the top left of the first cell to the bottom right of the last.
    CRect GetGridRect();
    // Takes away the one-pixel grid lines to the left of and above each coordinate.
    CRect RemoveGridLines(RECT r);
    // A rectangle of the view, grid lines taken out, in the wall's output pixels (one cell is one unit's screen),
    // and back: the view rectangle that shows a wall rectangle at the cells' present size.
    CRect ToWallRect(RECT r);
    CRect FromWallRect(RECT wall);
    void ScreenToClientRect(RECT& r) const;

    BOOL HasPipWindow() const { return m_pipWindow ? TRUE : FALSE; }
    CPipWindow* GetPipWindow() const { return m_pipWindow.get(); }
    CPipCtrl* GetPipCtrl() const { return m_pipCtrl.get(); }
    // The PIP window's rectangle in client coordinates; empty without one.
    CRect GetPipWindowRect() const;
    // The rectangle the wall accepted last, where the window shows it now.
    CRect GetPipRect() const { return m_pipRect; }
    // That rectangle as the wall has it, in output pixels.
    CRect GetPipWallRect() const { return m_pipWallRect; }
    // The least size of a PIP window: a fifth of a cell wide and a quarter high.
    CSize LeastPipSize();
    // Where the PIP window goes: half a cell at the pointer, shifted into the grid; after the operator moved it,
    // its size fitted into the grid; after a resize, the dragged edges kept to the grid and the least size.
    CRect PipRectAtCursor();
    CRect PipRectAfterMove();
    CRect PipRectAfterResize();
    // The PIP menu's and the PIP window's requests: the controller sends them and shows the result, and the window
    // follows it. Open does nothing while there is a window; a refused place puts the window back where it stood.
    int RequestPipOpen();
    int RequestPipPlace(RECT r);
    int RequestPipClose();
    // Only when there is none yet. 0.
    int CreatePipWindow(RECT r, CString name);
    // Back to the rectangle it stood on, the wall's rectangle stays as it was.
    void MovePipWindow(RECT r);
    // Closes the window on the screen only; nothing goes to the wall. 0.
    int ClosePipWindow();

    void OnRowColChange(NotifyEvent* event);
    void OnSourceChange(NotifyEvent* event);
    void OnMatrixSet(NotifyEvent* event);

    void OnSize(UINT nType, int cx, int cy) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    // The PIP menu, when the settings file enables the PIP component.
    void OnRButtonUp(UINT nFlags, CPoint point) override;
    // The same menu asked for from the keyboard, at the focus cell.
    void OnContextMenu(CWnd* pWnd, CPoint pos) override;
    // The arrows move about the wall; Tab goes on to the window's next control.
    UINT OnGetDlgCode() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Every refit of the cells places the PIP window anew on the part of the wall it stands for.
    void FitCells(int width, int height);
    void KeepPipOnTheWall();
    void SelectBoundingBlock();

    int m_selectionEnable;
    std::unique_ptr<CPipWindow> m_pipWindow;
    std::unique_ptr<CPipCtrl> m_pipCtrl;
    CRect m_pipRect;
    CRect m_pipWallRect;
};

// The program's wall view, published once by the main view that builds it; the banner and the frame hand it to
// the pages and dialogs whose controllers work on it.
LcdGridCtrl* TheWallView();
void PublishWallView(LcdGridCtrl* wallView);
