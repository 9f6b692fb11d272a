#include "GridTestSupport.h"

#include <QImage>

bool TestGrid::SelectionAgreesWithStates() const {
    size_t selected = 0;
    for (int row = 0; row < GetRowCount(); row++) {
        for (int col = 0; col < GetColumnCount(); col++) {
            const bool inState = (GetItemState(row, col) & GCS_SELECTED) != 0;
            const auto entry = m_selectedCells.find(CellKey(row, col));
            const bool inMap = entry != m_selectedCells.end() && entry->second == CCellID(row, col);
            if (inState != inMap)
                return false;
            selected += inState ? 1 : 0;
        }
    }
    return selected == m_selectedCells.size();
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
