// Drawing: the paint handler, the drawing pass, the background, one cell at once, colours and fonts.

#include "GridCtrl.h"

#include "grid/MemDC2.h"

#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/draw/Pen.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/PaintDC.h"

#include <algorithm>

namespace {

bool DrawsHorizontalLines(int gridLines) { return gridLines == kGridLinesHorizontal || gridLines == kGridLinesBoth; }
bool DrawsVerticalLines(int gridLines) { return gridLines == kGridLinesVertical || gridLines == kGridLinesBoth; }

// Where the cells of one pass lie along one axis: the first and last index drawn and the edge before the first.
struct Span {
    int first;
    int last;
    int start; // the first cell's leading edge is start + 1
};

} // namespace

void CGridCtrl::OnPaint() {
    CPaintDC dc(this);
    if (m_doubleBuffer) {
        CMemDC2 memDC(&dc);
        OnDraw(&memDC);
        DrawFocusMark(&memDC);
    } else {
        OnDraw(&dc);
        DrawFocusMark(&dc);
    }
}

// Only the focus frame shows the focus: the cells stay as they are.
void CGridCtrl::OnSetFocus(CWnd* pOldWnd) {
    CWnd::OnSetFocus(pOldWnd);
    InvalidateFocusMark();
}

void CGridCtrl::OnKillFocus(CWnd* pNewWnd) {
    CWnd::OnKillFocus(pNewWnd);
    InvalidateFocusMark();
}

// Two pixels in, the frame stays off the grid lines on the cells' last pixels and off the first row and column.
CRect CGridCtrl::FocusMarkRect() {
    CRect client;
    GetClientRect(&client);
    CRect mark;
    GetVisibleNonFixedCellRange(&mark);
    mark.IntersectRect(&mark, &client);
    mark.DeflateRect(2, 2);
    return mark.Width() > 0 && mark.Height() > 0 ? mark : CRect(0, 0, 0, 0);
}

void CGridCtrl::InvalidateFocusMark() {
    if (!GetSafeHwnd())
        return;
    const CRect mark = FocusMarkRect();
    InvalidateFrame(&mark, TRUE);
}

void CGridCtrl::DrawFocusMark(CDC* pDC, const RECT* within) {
    if (!m_allowDraw || GetFocus() != this)
        return;
    const CRect mark = FocusMarkRect();
    if (mark.IsRectEmpty())
        return;
    if (!within) {
        pDC->DrawFocusRect(&mark);
        return;
    }
    // Only where the frame's lines cross the rectangle; the frame is inverted, so the rest is left alone.
    CRect inside = mark;
    inside.DeflateRect(1, 1);
    CRect crossed;
    if (!crossed.IntersectRect(&mark, within) || (crossed.left >= inside.left && crossed.top >= inside.top &&
                                                  crossed.right <= inside.right && crossed.bottom <= inside.bottom))
        return;
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(within);
    pDC->DrawFocusRect(&mark);
    pDC->RestoreDC(saved);
}

BOOL CGridCtrl::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CGridCtrl::OnDraw(CDC* pDC) {
    if (!m_allowDraw || !pDC)
        return;
    CRect clipRect;
    if (pDC->GetClipBox(&clipRect) == ERROR)
        return;

    EraseBkgnd(pDC);

    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColWidth = GetFixedColumnWidth();
    const CCellID topLeft = GetTopleftNonFixedCell();
    CRect visRect;
    const CCellRange visCells = GetVisibleNonFixedCellRange(&visRect);
    const int maxVisibleRow = visCells.GetMaxRow();
    const int maxVisibleCol = visCells.GetMaxCol();

    // Cells are laid end to end; a hidden row or column takes no room. The corner pass ignores the clip box.
    auto drawPass = [&](Span rows, Span cols, bool clipped) {
        CRect rect;
        rect.bottom = rows.start;
        for (int row = rows.first; row <= rows.last; row++) {
            const int height = GetRowHeight(row);
            if (height <= 0)
                continue;
            rect.top = rect.bottom + 1;
            rect.bottom = rect.top + height - 1;
            if (clipped && rect.top > clipRect.bottom)
                break;
            if (clipped && rect.bottom < clipRect.top)
                continue;
            rect.right = cols.start;
            const CellRow& cells = m_rows[static_cast<size_t>(row)];
            for (int col = cols.first; col <= cols.last; col++) {
                const int width = GetColumnWidth(col);
                if (width <= 0)
                    continue;
                rect.left = rect.right + 1;
                rect.right = rect.left + width - 1;
                if (clipped && rect.left > clipRect.right)
                    break;
                if (clipped && rect.right < clipRect.left)
                    continue;
                CGridCellBase* cell =
                    static_cast<size_t>(col) < cells.size() ? cells[static_cast<size_t>(col)] : nullptr;
                if (!cell)
                    continue;
                cell->SetCoords(row, col);
                ShowSelection(cell, row, col);
                cell->Draw(pDC, row, col, rect, FALSE);
            }
        }
    };
    const Span fixedRows{0, m_fixedRowCount - 1, -1};
    const Span fixedCols{0, m_fixedColumnCount - 1, -1};
    const Span scrolledRows{topLeft.row, maxVisibleRow, fixedRowHeight - 1};
    const Span scrolledCols{topLeft.col, maxVisibleCol, fixedColWidth - 1};
    drawPass(fixedRows, fixedCols, false);
    drawPass(scrolledRows, fixedCols, true);
    drawPass(fixedRows, scrolledCols, true);
    drawPass(scrolledRows, scrolledCols, true);

    // Each line lies on the last pixel of its column or row; the fixed cells draw their own edges.
    CPen pen(PS_SOLID, 0, m_gridLineColour);
    pDC->SelectObject(&pen);
    if (DrawsVerticalLines(m_gridLines)) {
        int x = fixedColWidth;
        for (int col = topLeft.col; col <= maxVisibleCol; col++) {
            const int width = GetColumnWidth(col);
            if (width <= 0)
                continue;
            x += width;
            pDC->MoveTo(x - 1, fixedRowHeight);
            pDC->LineTo(x - 1, visRect.bottom);
        }
    }
    if (DrawsHorizontalLines(m_gridLines)) {
        int y = fixedRowHeight;
        for (int row = topLeft.row; row <= maxVisibleRow; row++) {
            const int height = GetRowHeight(row);
            if (height <= 0)
                continue;
            y += height;
            pDC->MoveTo(fixedColWidth, y - 1);
            pDC->LineTo(visRect.right, y - 1);
        }
    }
    pDC->SelectStockObject(NULL_PEN);
}

void CGridCtrl::EraseBkgnd(CDC* pDC) {
    CRect clip;
    if (!pDC || pDC->GetClipBox(&clip) == ERROR)
        return;
    CRect vis;
    GetVisibleNonFixedCellRange(&vis);
    const int fixedColWidth = GetFixedColumnWidth();
    const int fixedRowHeight = GetFixedRowHeight();

    CBrush fixedBack(m_defaultCornerCell.GetBackClr());
    CBrush fixedRowBack(m_defaultFixedRowCell.GetBackClr());
    CBrush fixedColBack(m_defaultFixedColumnCell.GetBackClr());
    CBrush textBack(m_defaultCell.GetBackClr());
    CBrush background(m_backgroundColour);

    if (clip.left < fixedColWidth && clip.top < fixedRowHeight)
        pDC->FillRect(CRect(clip.left, clip.top, fixedColWidth, fixedRowHeight), &fixedBack);
    if (clip.left < fixedColWidth && clip.top < vis.bottom)
        pDC->FillRect(CRect(clip.left, clip.top, fixedColWidth, vis.bottom), &fixedColBack);
    if (clip.top < fixedRowHeight && clip.right > fixedColWidth && clip.left < vis.right)
        pDC->FillRect(CRect(fixedColWidth - 1, clip.top, vis.right, fixedRowHeight), &fixedRowBack);
    CRect cells;
    if (cells.IntersectRect(&vis, &clip)) {
        const CRect normal(std::max<LONG>(cells.left, fixedColWidth), std::max<LONG>(cells.top, fixedRowHeight),
                           cells.right, cells.bottom);
        pDC->FillRect(normal, &textBack);
    }
    if (vis.right < clip.right)
        pDC->FillRect(CRect(vis.right, clip.top, clip.right, clip.bottom), &background);
    if (vis.bottom < clip.bottom && clip.left < vis.right)
        pDC->FillRect(CRect(clip.left, vis.bottom, vis.right, clip.bottom), &background);
}

BOOL CGridCtrl::RedrawCell(int nRow, int nCol, CDC* pDC) {
    if (!m_allowDraw || !IsCellVisible(nRow, nCol))
        return FALSE;
    CRect rect;
    if (!GetCellRect(nRow, nCol, &rect))
        return FALSE;

    CDC* ownDC = nullptr;
    if (!pDC) {
        pDC = ownDC = GetDC();
        if (!pDC) {
            rect.right++;
            rect.bottom++;
            InvalidateRect(&rect, TRUE);
            return TRUE;
        }
    }

    BOOL result = TRUE;
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (cell)
        result = cell->Draw(pDC, nRow, nCol, rect, TRUE);
    // A cell of a hidden row or column covers no pixel, so it erased no line; its lines would fall on a
    // neighbour, over a heading's edge.
    const bool hidden = rect.right < rect.left || rect.bottom < rect.top;
    if (!hidden && nRow >= m_fixedRowCount && nCol >= m_fixedColumnCount) {
        // The erase covered the cell's own grid lines: draw them again.
        CPen pen(PS_SOLID, 0, m_gridLineColour);
        CPen* oldPen = pDC->SelectObject(&pen);
        if (DrawsHorizontalLines(m_gridLines)) {
            pDC->MoveTo(rect.left, rect.bottom);
            pDC->LineTo(rect.right + 1, rect.bottom);
        }
        if (DrawsVerticalLines(m_gridLines)) {
            pDC->MoveTo(rect.right, rect.top);
            pDC->LineTo(rect.right, rect.bottom + 1);
        }
        pDC->SelectObject(oldPen);
    }
    // The erase took the part of the focus frame that crosses the cell.
    if (!hidden) {
        const CRect drawn(rect.left, rect.top, rect.right + 1, rect.bottom + 1);
        DrawFocusMark(pDC, &drawn);
    }

    if (ownDC)
        ReleaseDC(ownDC);
    return result;
}

void CGridCtrl::Refresh() {
    if (GetSafeHwnd() && m_allowDraw)
        Invalidate();
}

void CGridCtrl::OnSysColorChange() {
    CWnd::OnSysColorChange();
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    // Only colours still following the system change; those the owner set stay.
    for (CGridDefaultCell* cell :
         {&m_defaultCell, &m_defaultFixedRowCell, &m_defaultFixedColumnCell, &m_defaultCornerCell}) {
        if (cell->GetTextClr() == m_windowTextColour)
            cell->SetTextClr(windowText);
        const COLORREF previousBack = cell == &m_defaultCell ? m_windowColour : m_faceColour;
        if (cell->GetBackClr() == previousBack)
            cell->SetBackClr(cell == &m_defaultCell ? window : face);
    }
    if (m_backgroundColour == m_shadowColour)
        m_backgroundColour = shadow;
    m_windowTextColour = windowText;
    m_windowColour = window;
    m_faceColour = face;
    m_shadowColour = shadow;
}

LRESULT CGridCtrl::OnSetFont(WPARAM hFont, LPARAM /*lParam*/) {
    const LRESULT result = Default();
    LOGFONT logFont{};
    CFont* font = CFont::FromHandle(reinterpret_cast<HFONT>(hFont));
    if (font && font->GetLogFont(&logFont)) {
        for (CGridDefaultCell* cell :
             {&m_defaultCell, &m_defaultFixedRowCell, &m_defaultFixedColumnCell, &m_defaultCornerCell})
            cell->SetFont(&logFont);
        if (GetSafeHwnd() && m_allowDraw)
            Invalidate();
    }
    return result;
}

LRESULT CGridCtrl::OnGetFont(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    CFont* font = m_defaultCell.GetFontObject();
    return font ? reinterpret_cast<LRESULT>(font->m_hObject) : 0;
}
