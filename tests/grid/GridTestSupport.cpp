#include "GridTestSupport.h"

#include <QImage>

#include <algorithm>

bool TestGrid::SelectionAgreesWithStates() const {
    size_t selected = 0;
    CCellRange bounds(GetRowCount(), GetColumnCount(), -1, -1);
    for (int row = 0; row < GetRowCount(); row++) {
        for (int col = 0; col < GetColumnCount(); col++) {
            const bool inState = (GetItemState(row, col) & GCS_SELECTED) != 0;
            const CGridCellBase* cell = GetCell(row, col);
            if (inState != (cell && cell->IsSelected()) || inState != m_selection.Contains(row, col))
                return false;
            if (!inState)
                continue;
            ++selected;
            bounds = CCellRange(std::min(bounds.GetMinRow(), row), std::min(bounds.GetMinCol(), col),
                                std::max(bounds.GetMaxRow(), row), std::max(bounds.GetMaxCol(), col));
        }
    }
    return selected == GetSelectedCount() && bounds == GetSelectedCellRange();
}

bool TestGrid::EveryPositionHasACell() const {
    for (int row = 0; row < GetRowCount(); row++)
        for (int col = 0; col < GetColumnCount(); col++)
            if (!GetCell(row, col))
                return false;
    return static_cast<int>(m_rows.size()) == GetRowCount() && static_cast<int>(m_rowHeights.size()) == GetRowCount() &&
           static_cast<int>(m_columnWidths.size()) == GetColumnCount();
}

bool CreateGridWindow(CGridCtrl& grid, int width, int height) {
    // The client edge takes two pixels on every side.
    return grid.CreateEx(0, kGridWindowClass, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, width + 4, height + 4), nullptr,
                         0) != FALSE;
}

COLORREF PixelAt(CWnd& wnd, int x, int y) {
    const QImage* image = wnd.GetClientImage();
    if (!image || !image->valid(x, y))
        return CLR_INVALID;
    const QRgb rgb = image->pixel(x, y);
    return RGB(static_cast<BYTE>(qRed(rgb)), static_cast<BYTE>(qGreen(rgb)), static_cast<BYTE>(qBlue(rgb)));
}

void SizeAll(CGridCtrl& grid, int width, int height) {
    for (int row = 0; row < grid.GetRowCount(); row++)
        grid.SetRowHeight(row, height);
    for (int col = 0; col < grid.GetColumnCount(); col++)
        grid.SetColumnWidth(col, width);
}

int CountCellsWith(const CGridCtrl& grid, UINT bits) {
    int count = 0;
    for (int row = 0; row < grid.GetRowCount(); row++)
        for (int col = 0; col < grid.GetColumnCount(); col++)
            count += (grid.GetItemState(row, col) & bits) == bits ? 1 : 0;
    return count;
}

bool GridOwner::Create() { return CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0) != FALSE; }

LRESULT GridOwner::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* info = reinterpret_cast<const GridNotifyInfo*>(lParam);
        const UINT code = info->hdr.code;
        const char* name = code == GN_SELCHANGING      ? "selchanging"
                           : code == GN_SELCHANGED     ? "selchanged"
                           : code == NM_CLICK          ? "click"
                           : code == NM_DBLCLK         ? "dblclk"
                           : code == NM_RCLICK         ? "rclick"
                           : code == GN_BEGINLABELEDIT ? "beginedit"
                           : code == GN_ENDLABELEDIT   ? "endedit"
                           : code == GN_BEGINDRAG      ? "begindrag"
                                                       : "other";
        seen.push_back(std::string(name) + " " + std::to_string(info->row) + " " + std::to_string(info->col));
        const bool vetoed = vetoedCell == CCellID() || vetoedCell == CCellID(info->row, info->col);
        if (code == GN_BEGINLABELEDIT && vetoed)
            return beginEditAnswer;
        if (code == GN_ENDLABELEDIT && vetoed)
            return endEditAnswer;
        return 0;
    }
    if (message == WM_COMMAND) {
        seen.push_back("command " + std::to_string(LOWORD(static_cast<DWORD>(wParam))) + " " +
                       std::to_string(HIWORD(static_cast<DWORD>(wParam))));
        commandFrom = reinterpret_cast<HWND>(lParam);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
