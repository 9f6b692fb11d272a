// Printing through an owner view's printing steps: the layout of rows and columns on pages, a header with titles,
// the column and row headings on every page, the cells, and a footer with the date and the page number.

#include "GridCtrl.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/PrintInfo.h"
#include "platform/gui/frame/FrameworkIds.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/os/System.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace {

constexpr UINT kHeaderTextFormat = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER;

// A bold copy of a font, for the header and the footer.
void CreateBoldFont(CFont& bold, const CFont& font) {
    LOGFONT logFont{};
    font.GetLogFont(&logFont);
    logFont.lfWeight = FW_BOLD;
    bold.CreateFontIndirect(&logFont);
}

} // namespace

int CGridCtrl::PrintPageEnd(const std::vector<UINT>& sizes, int first, int extent) {
    const int count = static_cast<int>(sizes.size());
    long long sum = 0;
    int end = first;
    for (; end < count; end++) {
        sum += sizes[static_cast<size_t>(end)];
        // A row taller than the page still gets a page of its own rather than none.
        if (sum > extent && end > first)
            break;
    }
    return end;
}

int CGridCtrl::PrintPageStart(const std::vector<UINT>& sizes, int firstNonFixed, int pageIndex, int extent) {
    int start = firstNonFixed;
    for (int page = 0; page < pageIndex && start < static_cast<int>(sizes.size()); page++)
        start = PrintPageEnd(sizes, start, extent);
    return start;
}

void CGridCtrl::PrintCellLines(CDC* pDC, const CRect& rect, int col, bool lineAbove, int aboveY, int top, bool lineLeft,
                               int leftX) {
    if (m_gridLines & kGridLinesHorizontal) {
        const int left = col == 0 ? rect.left : rect.left - 1;
        pDC->MoveTo(left, rect.bottom);
        pDC->LineTo(rect.right, rect.bottom);
        if (lineAbove) {
            pDC->MoveTo(left, aboveY);
            pDC->LineTo(rect.right, aboveY);
        }
    }
    if (m_gridLines & kGridLinesVertical) {
        pDC->MoveTo(rect.right, top);
        pDC->LineTo(rect.right, rect.bottom);
        if (lineLeft) {
            pDC->MoveTo(leftX, top);
            pDC->LineTo(leftX, rect.bottom);
        }
    }
}

void CGridCtrl::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
    if (!pDC || !pInfo)
        return;
    CDC* screenDC = GetDC();
    if (!screenDC)
        return;

    const CSize paperPixelsPerInch(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
    const CSize screenPixelsPerInch(screenDC->GetDeviceCaps(LOGPIXELSX), screenDC->GetDeviceCaps(LOGPIXELSY));

    m_printerFont.DeleteObject();
    m_printerFont.CreateFont(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                             CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    CFont* oldFont = pDC->SelectObject(&m_printerFont);

    // The average character of the alphabet.
    const char* alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const CSize extent = pDC->GetTextExtent(alphabet, 52);
    m_charSize = CSize(extent.cx / 52, extent.cy);

    m_paperSize = CSize(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
    const int margins = (m_leftMargin + m_rightMargin) * m_charSize.cx;
    if (m_fixedScalePrinting && paperPixelsPerInch.cx > 0 && paperPixelsPerInch.cy > 0) {
        m_logicalPageSize.cx = m_paperSize.cx * screenPixelsPerInch.cx / paperPixelsPerInch.cx * 3 / 4;
        m_logicalPageSize.cy = m_paperSize.cy * screenPixelsPerInch.cy / paperPixelsPerInch.cy * 3 / 4;
    } else {
        // The whole width on the page, keeping the paper's shape.
        m_logicalPageSize.cx = GetVirtualWidth() + margins;
        m_logicalPageSize.cy = MulDiv(m_logicalPageSize.cx, m_paperSize.cy, m_paperSize.cx);
    }

    m_pageHeight =
        m_logicalPageSize.cy - (m_headerHeight + m_footerHeight + 2 * m_gap) * m_charSize.cy - GetFixedRowHeight();
    m_pageWidth = m_logicalPageSize.cx - GetFixedColumnWidth() - margins;

    int pagesDown = 0;
    for (int row = m_fixedRowCount; row < m_rowCount; row = PrintPageEnd(m_rowHeights, row, m_pageHeight))
        pagesDown++;
    m_pagesAcross = 1;
    if (m_fixedScalePrinting) {
        m_pagesAcross = 0;
        for (int col = m_fixedColumnCount; col < m_columnCount; col = PrintPageEnd(m_columnWidths, col, m_pageWidth))
            m_pagesAcross++;
        m_pagesAcross = std::max(1, m_pagesAcross);
    }
    m_pageCount = std::max(1, pagesDown) * m_pagesAcross;

    pInfo->SetMaxPage(static_cast<UINT>(m_pageCount));
    pInfo->m_nCurPage = 1;
    ReleaseDC(screenDC);
    pDC->SelectObject(oldFont);
}

void CGridCtrl::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    if (!pDC || !pInfo)
        return;
    CFont* oldFont = pDC->SelectObject(&m_printerFont);
    const int margins = (m_leftMargin + m_rightMargin) * m_charSize.cx;
    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColumnWidth = GetFixedColumnWidth();

    // Logical units are the grid's own pixels, scaled onto the paper.
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_logicalPageSize);
    pDC->SetViewportExt(m_paperSize);
    pDC->SetWindowOrg(-m_leftMargin * m_charSize.cx, 0);

    pInfo->m_rectDraw.SetRect(0, 0, m_logicalPageSize.cx - margins, m_headerHeight * m_charSize.cy);
    PrintHeader(pDC, pInfo);
    pDC->OffsetWindowOrg(0, -m_headerHeight * m_charSize.cy);
    pDC->OffsetWindowOrg(0, -m_gap * m_charSize.cy);
    pDC->OffsetWindowOrg(0, -fixedRowHeight);

    // Pages run across first, then down.
    const int page = static_cast<int>(pInfo->m_nCurPage);
    const int across = std::max(1, m_pagesAcross);
    const int pageRow = page / across + (page % across ? 1 : 0);
    const int pageColumn = page % across ? page % across : across;
    m_currentPrintRow = PrintPageStart(m_rowHeights, m_fixedRowCount, pageRow - 1, m_pageHeight);
    m_printRowEnd =
        m_currentPrintRow < m_rowCount ? PrintPageEnd(m_rowHeights, m_currentPrintRow, m_pageHeight) : m_rowCount;
    if (m_fixedScalePrinting) {
        m_currentPrintColumn = PrintPageStart(m_columnWidths, m_fixedColumnCount, pageColumn - 1, m_pageWidth);
        m_printColumnEnd = m_currentPrintColumn < m_columnCount
                               ? PrintPageEnd(m_columnWidths, m_currentPrintColumn, m_pageWidth)
                               : m_columnCount;
    } else {
        m_currentPrintColumn = m_fixedColumnCount;
        m_printColumnEnd = m_columnCount;
    }

    PrintRowButtons(pDC, pInfo);

    // The headings go right under the header and the gap; on the first page across the corner prints in line
    // with them.
    pDC->OffsetWindowOrg(0, fixedRowHeight);
    m_pageWidth += fixedColumnWidth;
    if (m_currentPrintColumn == m_fixedColumnCount) {
        const int firstColumn = m_currentPrintColumn;
        m_currentPrintColumn = 0;
        PrintColumnHeadings(pDC, pInfo);
        m_currentPrintColumn = firstColumn;
    } else {
        PrintColumnHeadings(pDC, pInfo);
    }
    m_pageWidth -= fixedColumnWidth;

    // Logical (0, 0) is now the top-left corner of the page's first cell.
    pDC->OffsetWindowOrg(-fixedColumnWidth, -fixedRowHeight);

    if (m_currentPrintRow < m_rowCount) {
        const int firstRow = m_currentPrintRow;
        CRect rect;
        rect.bottom = -1;
        for (; m_currentPrintRow < m_printRowEnd; m_currentPrintRow++) {
            const int row = m_currentPrintRow;
            rect.top = rect.bottom + 1;
            rect.bottom = rect.top + GetRowHeight(row) - 1;
            rect.right = -1;
            for (int col = m_currentPrintColumn; col < m_printColumnEnd; col++) {
                rect.left = rect.right + 1;
                rect.right = rect.left + GetColumnWidth(col) - 1;
                if (CGridCellBase* cell = GetCell(row, col))
                    cell->PrintCell(pDC, row, col, rect);
                PrintCellLines(pDC, rect, col, row == 0, rect.top, row == firstRow ? rect.top : rect.top - 1, col == 0,
                               rect.left);
            }
        }
    }

    // The footer sits at the bottom of the page.
    pInfo->m_rectDraw.bottom = m_footerHeight * m_charSize.cy;
    pDC->SetWindowOrg(-m_leftMargin * m_charSize.cx, m_footerHeight * m_charSize.cy - m_logicalPageSize.cy);
    PrintFooter(pDC, pInfo);
    pDC->SetWindowOrg(0, 0);
    pDC->SelectObject(oldFont);
}

void CGridCtrl::OnEndPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) { m_printerFont.DeleteObject(); }

void CGridCtrl::PrintColumnHeadings(CDC* pDC, CPrintInfo* /*pInfo*/) {
    CFont* oldFont = pDC->SelectObject(&m_printerFont);
    CRect rect;
    rect.bottom = -1;
    BOOL first = TRUE;
    for (int row = 0; row < m_fixedRowCount; row++) {
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        rect.right = -1;
        // On a later page across the fixed columns' headings come first.
        if (m_currentPrintColumn >= m_fixedColumnCount) {
            const BOOL wasFirst = first;
            PrintFixedRowCells(0, m_fixedColumnCount, row, rect, pDC, first);
            first = wasFirst;
        }
        PrintFixedRowCells(m_currentPrintColumn, m_printColumnEnd, row, rect, pDC, first);
    }
    pDC->SelectObject(oldFont);
}

void CGridCtrl::PrintFixedRowCells(int nStartColumn, int nStopColumn, int& row, CRect& rect, CDC* pDC, BOOL& bFirst) {
    for (int col = nStartColumn; col < nStopColumn && col < m_columnCount; col++) {
        rect.left = rect.right + 1;
        rect.right = rect.left + GetColumnWidth(col) - 1;
        if (CGridCellBase* cell = GetCell(row, col))
            cell->PrintCell(pDC, row, col, rect);
        PrintCellLines(pDC, rect, col, row == 0, rect.top, row == 0 ? rect.top : rect.top - 1, bFirst != FALSE,
                       rect.left - 1);
        if (m_gridLines & kGridLinesVertical)
            bFirst = FALSE;
    }
}

void CGridCtrl::PrintRowButtons(CDC* pDC, CPrintInfo* /*pInfo*/) {
    if (m_fixedColumnCount == 0)
        return;
    CFont* oldFont = pDC->SelectObject(&m_printerFont);
    CRect rect;
    rect.right = -1;
    bool first = true;
    for (int col = 0; col < m_fixedColumnCount; col++) {
        rect.left = rect.right + 1;
        rect.right = rect.left + GetColumnWidth(col) - 1;
        rect.bottom = -1;
        for (int row = m_currentPrintRow; row < m_printRowEnd; row++) {
            rect.top = rect.bottom + 1;
            rect.bottom = rect.top + GetRowHeight(row) - 1;
            if (CGridCellBase* cell = GetCell(row, col))
                cell->PrintCell(pDC, row, col, rect);
            // Once, above the first row printed.
            PrintCellLines(pDC, rect, col, first, rect.top - 1, row == 0 ? rect.top : rect.top - 1, col == 0,
                           rect.left);
            if (m_gridLines & kGridLinesHorizontal)
                first = false;
        }
    }
    pDC->SelectObject(oldFont);
}

void CGridCtrl::PrintHeader(CDC* pDC, CPrintInfo* pInfo) {
    CString rightText;
    AfxLoadString(AFX_IDS_APP_TITLE, rightText);
    // The title of the nearest window above the grid that has one.
    CString centreText;
    for (CWnd* parent = GetParent(); parent && centreText.IsEmpty(); parent = parent->GetParent())
        parent->GetWindowText(centreText);

    CFont bold;
    CreateBoldFont(bold, m_printerFont);
    CFont* normalFont = pDC->SelectObject(&bold);
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    CRect rect(pInfo->m_rectDraw);
    if (!centreText.IsEmpty())
        pDC->DrawText(centreText, &rect, DT_CENTER | kHeaderTextFormat);
    if (!rightText.IsEmpty())
        pDC->DrawText(rightText, &rect, DT_RIGHT | kHeaderTextFormat);
    pDC->SetBkMode(oldBkMode);
    pDC->SelectObject(normalFont);
    bold.DeleteObject();

    pDC->SelectStockObject(BLACK_PEN);
    pDC->MoveTo(rect.left, rect.bottom);
    pDC->LineTo(rect.right, rect.bottom);
}

void CGridCtrl::PrintFooter(CDC* pDC, CPrintInfo* pInfo) {
    CString rightText;
    rightText.Format("Page %d of %d", static_cast<int>(pInfo->m_nCurPage), static_cast<int>(pInfo->GetMaxPage()));
    char when[128] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local))
        std::strftime(when, sizeof when, "%c", &local);
    const CString leftText(when);

    CRect rect(pInfo->m_rectDraw);
    pDC->SelectStockObject(BLACK_PEN);
    pDC->MoveTo(rect.left, rect.top);
    pDC->LineTo(rect.right, rect.top);

    CFont bold;
    CreateBoldFont(bold, m_printerFont);
    CFont* normalFont = pDC->SelectObject(&bold);
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    if (!leftText.IsEmpty())
        pDC->DrawText(leftText, &rect, DT_LEFT | kHeaderTextFormat);
    if (!rightText.IsEmpty())
        pDC->DrawText(rightText, &rect, DT_RIGHT | kHeaderTextFormat);
    pDC->SetBkMode(oldBkMode);
    pDC->SelectObject(normalFont);
    bold.DeleteObject();
}
