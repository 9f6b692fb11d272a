#include "LcdGridCtrl.h"

#include "PipCtrl.h"
#include "PipWindow.h"
#include "SourceCommands.h"

#include "core/ErrorMessage.h"
#include "core/LcdWallLayout.h"
#include "core/MatrixMgr.h"
#include "core/NotifyEvent.h"
#include "core/WallModel.h"
#include "platform/gui/window/Cursor.h"

#include <algorithm>
#include <cstdio>

namespace {

LcdGridCtrl* g_wallView = nullptr;

constexpr COLORREF kPipColour = RGB(219, 230, 11);

} // namespace

LcdGridCtrl* TheWallView() { return g_wallView; }
void PublishWallView(LcdGridCtrl* wallView) { g_wallView = wallView; }

LcdGridCtrl::LcdGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols)
    : CGridCtrl(nRows, nCols, nFixedRows, nFixedCols), m_selectionEnable(1) {
    SetEditable(FALSE);
    EnableTitleTips(FALSE);

    CWallModel* model = CWallModel::GetInstance();
    m_pipCtrl = std::make_unique<CPipCtrl>(model, this);

    int rows = 0;
    int cols = 0;
    model->GetLcdWallLayout()->GetRowCol(rows, cols);
    SetRowCount(rows);
    SetColumnCount(cols);
    EnableScrollBars(SB_BOTH, FALSE);

    model->Register("ROWCOL-CHANGE", this, &LcdGridCtrl::OnRowColChange);
    for (const char* source : kSourceCommands)
        model->Register(source, this, &LcdGridCtrl::OnSourceChange);
    model->GetMatrixMgr()->Register("MatrixSet", this, &LcdGridCtrl::OnMatrixSet);

    OnCommandId(ID_PIP_OPEN, [this]() { RequestPipOpen(); });
    OnCommandId(ID_PIP_CLOSE, [this]() { RequestPipClose(); });
    OnCommandId(ID_PIP_SOURCE_VIDEO1, [this]() { m_pipCtrl->SetSourceVideo1(GetWallRange()); });
    OnCommandId(ID_PIP_SOURCE_VIDEO2, [this]() { m_pipCtrl->SetSourceVideo2(GetWallRange()); });
    OnCommandId(ID_PIP_SOURCE_VGA, [this]() { m_pipCtrl->SetSourceVga(GetWallRange()); });
    OnCommandId(ID_PIP_SOURCE_HDMI, [this]() { m_pipCtrl->SetSourceHdmi(GetWallRange()); });
    OnCommandId(ID_PIP_SOURCE_DVI, [this]() { m_pipCtrl->SetSourceDvi(GetWallRange()); });
}

// The program's wall view lives as long as the process; one that goes earlier must not hear the hubs again.
LcdGridCtrl::~LcdGridCtrl() {
    ClosePipWindow();
    CWallModel* model = CWallModel::GetInstance();
    model->UnregisterAll(this);
    model->GetMatrixMgr()->UnregisterAll(this);
    if (g_wallView == this)
        g_wallView = nullptr;
}

void LcdGridCtrl::FitToClient() {
    CRect client;
    GetClientRect(&client);
    FitCells(client.Width(), client.Height());
}

void LcdGridCtrl::FitCells(int width, int height) {
    const int rows = GetRowCount();
    const int cols = GetColumnCount();
    if (width == 0 || height == 0 || rows == 0 || cols == 0)
        return;
    // The grid looks at its scroll bars once, when every cell has its size: half fitted, the wall may need a bar,
    // whose room resizes the wall, which fits itself again, without end.
    const BOOL allowDraw = m_allowDraw;
    m_allowDraw = FALSE;
    for (int col = 0; col < cols; ++col)
        SetColumnWidth(col, width / cols);
    for (int row = 0; row < rows; ++row)
        SetRowHeight(row, height / rows);
    m_allowDraw = allowDraw;
    ResetScrollBars();
    // Nothing goes to the wall: it did not change, only its drawing did.
    if (m_pipWindow) {
        m_pipRect = FromWallRect(m_pipWallRect);
        m_pipWindow->MoveWindow(&m_pipRect, TRUE);
    }
}

// The cells take the new size before the grid decides on its scroll bars, so the wall never shows any.
void LcdGridCtrl::OnSize(UINT nType, int cx, int cy) {
    FitCells(cx, cy);
    CGridCtrl::OnSize(nType, cx, cy);
}

int LcdGridCtrl::Refit() {
    FitToClient();
    Invalidate(TRUE);
    return 1;
}

CRect LcdGridCtrl::GetSelectedRange() const {
    const CCellRange range = GetSelectedCellRange();
    return CRect(range.GetMinRow() + 1, range.GetMinCol() + 1, range.GetMaxRow() + 1, range.GetMaxCol() + 1);
}

CRect LcdGridCtrl::GetWallRange() const { return CRect(1, 1, GetColumnCount(), GetRowCount()); }

CRect LcdGridCtrl::GetFirstCellRect() {
    CRect cell;
    GetCellRect(0, 0, &cell);
    return cell;
}

CRect LcdGridCtrl::GetGridRect() {
    CRect first;
    CRect last;
    GetCellRect(0, 0, &first);
    GetCellRect(GetRowCount() - 1, GetColumnCount() - 1, &last);
    return CRect(first.left, first.top, last.right, last.bottom);
}

CRect LcdGridCtrl::RemoveGridLines(RECT r) {
    const CRect cell = GetFirstCellRect();
    const LONG w = cell.Width() + 1;
    const LONG h = cell.Height() + 1;
    // Cells squeezed to no width (or height) have no lines between them to take off.
    const auto lines = [](LONG v, LONG pitch) { return v == 0 || pitch < 1 ? 0 : (v - 1) / pitch; };
    return CRect(r.left - lines(r.left, w), r.top - lines(r.top, h), r.right - lines(r.right, w),
                 r.bottom - lines(r.bottom, h));
}

CRect LcdGridCtrl::ToWallRect(RECT r) { return CLcdWallLayout::CanvasToOutput(GetFirstCellRect(), RemoveGridLines(r)); }

// The grid lines, which the way out took away, put back in front of each edge.
CRect LcdGridCtrl::FromWallRect(RECT wall) {
    const CRect cell = GetFirstCellRect();
    const CRect canvas = CLcdWallLayout::OutputToCanvas(cell, wall);
    const auto withLines = [](LONG v, LONG cellPixels) -> LONG {
        return v <= 0 || cellPixels <= 0 ? v : v + (v - 1) / cellPixels;
    };
    return CRect(withLines(canvas.left, cell.Width()), withLines(canvas.top, cell.Height()),
                 withLines(canvas.right, cell.Width()), withLines(canvas.bottom, cell.Height()));
}

void LcdGridCtrl::ScreenToClientRect(RECT& r) const { ScreenToClient(&r); }

CRect LcdGridCtrl::GetPipWindowRect() const {
    CRect r;
    if (m_pipWindow && m_pipWindow->GetSafeHwnd()) {
        m_pipWindow->GetWindowRect(&r);
        ScreenToClient(&r);
    }
    return r;
}

CSize LcdGridCtrl::LeastPipSize() {
    const CRect cell = GetFirstCellRect();
    return CSize(cell.Width() / 5, cell.Height() / 4);
}

CRect LcdGridCtrl::PipRectAtCursor() {
    const CRect cell = GetFirstCellRect();
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    RECT r{cursor.x, cursor.y, cursor.x + cell.Width() / 2, cursor.y + cell.Height() / 2};
    ScreenToClientRect(r);
    return CPipCtrl::ShiftIntoRect(r, GetGridRect());
}

// The wall view may have shrunk under the window since it was placed, so the window's size is fitted as well.
CRect LcdGridCtrl::PipRectAfterMove() {
    return CPipCtrl::FitIntoGrid(GetPipWindowRect(), GetGridRect(), LeastPipSize());
}

CRect LcdGridCtrl::PipRectAfterResize() {
    const RECT grid = GetGridRect();
    RECT r = CPipCtrl::ClampRect(GetPipWindowRect(), grid, LeastPipSize(), m_pipRect);
    // An edge dragged past the grid's stops at it; the edges the operator did not drag stay where they were.
    r.left = std::max(r.left, grid.left);
    r.top = std::max(r.top, grid.top);
    r.right = std::min(r.right, grid.right);
    r.bottom = std::min(r.bottom, grid.bottom);
    // Little or nothing may be left of a window that lay outside a shrunk wall view: it gets the least size inside.
    return CPipCtrl::FitIntoGrid(r, grid, LeastPipSize());
}

int LcdGridCtrl::RequestPipOpen() {
    if (m_pipWindow)
        return kResultOk;
    const CRect r = PipRectAtCursor();
    const int result = m_pipCtrl->OpenWindow(ToWallRect(r), GetWallRange());
    if (result == kResultOk)
        CreatePipWindow(r, kPipWindowName);
    return result;
}

int LcdGridCtrl::RequestPipPlace(RECT r) {
    return m_pipCtrl->MoveWindow(ToWallRect(r), GetWallRange(),
                                 [&](int result) { MovePipWindow(result == kResultOk ? r : RECT(m_pipRect)); });
}

// A smaller wall may have lost the units the PIP window stood on: the window is moved into the wall, which is told
// so. Where the wall cannot be told, the window's old place is no longer on the wall, so it leaves the screen.
void LcdGridCtrl::KeepPipOnTheWall() {
    if (!m_pipWindow)
        return;
    int index = 0;
    CWallModel::GetInstance()->GetLcdWallLayout()->GetResolution(index);
    const OutputResolution& unit = OutputResolutionTable[index];
    const CRect& w = m_pipWallRect;
    if (w.left >= 0 && w.top >= 0 && w.right <= GetColumnCount() * unit.width &&
        w.bottom <= GetRowCount() * unit.height)
        return;
    const CRect r = PipRectAfterMove();
    m_pipCtrl->MoveWindow(ToWallRect(r), GetWallRange(), [&](int result) {
        if (result == kResultOk)
            MovePipWindow(r);
        else
            ClosePipWindow();
    });
}

int LcdGridCtrl::RequestPipClose() {
    const int result = m_pipCtrl->CloseWindow(GetWallRange());
    if (result == kResultOk)
        ClosePipWindow();
    return result;
}

int LcdGridCtrl::CreatePipWindow(RECT r, CString name) {
    m_pipWindow = std::make_unique<CPipWindow>(kPipColour, name);
    m_pipWindow->Create(r, this, kPipWindowId);
    m_pipWindow->ShowWindow(SW_SHOW);
    m_pipRect = r;
    m_pipWallRect = ToWallRect(r);
    Invalidate(TRUE);
    return 0;
}

void LcdGridCtrl::MovePipWindow(RECT r) {
    if (!m_pipWindow)
        return;
    m_pipWindow->MoveWindow(&r, TRUE);
    if (CRect(r) != m_pipRect)
        m_pipWallRect = ToWallRect(r);
    m_pipRect = r;
}

int LcdGridCtrl::ClosePipWindow() {
    if (m_pipWindow) {
        m_pipWindow->DestroyWindow();
        m_pipWindow.reset();
    }
    return 0;
}

void LcdGridCtrl::OnRowColChange(NotifyEvent* /*event*/) {
    int rows = 0;
    int cols = 0;
    CWallModel::GetInstance()->GetLcdWallLayout()->GetRowCol(rows, cols);
    SetRowCount(rows);
    SetColumnCount(cols);
    FitToClient();
    Invalidate(TRUE);
    KeepPipOnTheWall();
}

void LcdGridCtrl::FollowResolution() {
    FitToClient();
    KeepPipOnTheWall();
}

void LcdGridCtrl::OnSourceChange(NotifyEvent* event) {
    const std::string name = event->GetName();
    const CCellRange range = GetSelectedCellRange();
    for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row)
        for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) {
            const LPARAM input = GetItemData(row, col);
            if (input > 0) {
                char label[128];
                std::snprintf(label, sizeof label, "%s[%d]", name.c_str(), static_cast<int>(input));
                SetItemText(row, col, label);
            } else {
                SetItemText(row, col, name.c_str());
            }
        }
    Refresh();
}

void LcdGridCtrl::OnMatrixSet(NotifyEvent* event) {
    auto* record = dynamic_cast<MatrixSetEvent*>(event);
    const int cols = GetColumnCount();
    if (!record || cols == 0)
        return;
    // By the output's row-major number, not through the output map.
    const int index = record->m_output - 1;
    SetItemData(index / cols, index % cols, record->m_input);
}

void LcdGridCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_selectionEnable)
        CGridCtrl::OnLButtonDown(nFlags, point);
}

// With Ctrl the grid adds blocks to the selection and takes cells out of it, but a command goes to one block, the
// selection's bounding one: that whole block is what the wall view shows selected.
void LcdGridCtrl::SelectBoundingBlock() {
    const CCellRange block = GetSelectedCellRange();
    if (!block.IsValid())
        return;
    const int rows = block.GetMaxRow() - block.GetMinRow() + 1;
    const int cols = block.GetMaxCol() - block.GetMinCol() + 1;
    if (GetSelectedCount() == static_cast<size_t>(rows * cols))
        return;
    SetSelectedRange(block.GetMinRow(), block.GetMinCol(), block.GetMaxRow(), block.GetMaxCol());
}

void LcdGridCtrl::OnRButtonUp(UINT /*nFlags*/, CPoint /*point*/) {
    if (CWallModel::GetInstance()->GetLcdWallLayout()->IsPipEnabled())
        TrackWallMenu(0, this);
}

void LcdGridCtrl::OnContextMenu(CWnd* /*pWnd*/, CPoint pos) {
    if (!CWallModel::GetInstance()->GetLcdWallLayout()->IsPipEnabled())
        return;
    // Asked for from the keyboard, the menu has no point of its own: it opens on the focus cell.
    if (pos.x == -1 && pos.y == -1) {
        CCellID cell = GetFocusCell();
        if (!IsValid(cell))
            cell = CCellID(0, 0);
        CRect rect;
        if (!GetCellRect(cell.row, cell.col, &rect))
            GetClientRect(&rect);
        pos = rect.CenterPoint();
        ClientToScreen(&pos);
    }
    TrackWallMenu(0, this, &pos);
}

// A Tab through the cells would move the selection, the target of every command, on the way to a button.
UINT LcdGridCtrl::OnGetDlgCode() { return CGridCtrl::OnGetDlgCode() & ~DLGC_WANTTAB; }

LRESULT LcdGridCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PIP_MOVED: RequestPipPlace(PipRectAfterMove()); return 0;
    case WM_PIP_RESIZED: RequestPipPlace(PipRectAfterResize()); return 0;
    case WM_PIP_CLOSE: RequestPipClose(); return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_TIMER: {
        const LRESULT result = CGridCtrl::WindowProc(message, wParam, lParam);
        SelectBoundingBlock();
        return result;
    }
    default: return CGridCtrl::WindowProc(message, wParam, lParam);
    }
}
