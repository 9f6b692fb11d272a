#include "GridTestSupport.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/PrintInfo.h"
#include "platform/gui/draw/PrinterDC.h"
#include "platform/gui/frame/View.h"
#include "tests/support/PdfText.h"
#include "tests/support/TempDir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// Which page printed which cells.
struct Printed {
    int page;
    int row;
    int col;
};
std::vector<Printed> g_printed;
int g_page = 0;

// A cell that notes every time it prints.
class CRecordingCell : public CGridCell {
    DECLARE_DYNCREATE(CRecordingCell)
public:
    BOOL PrintCell(CDC* pDC, int nRow, int nCol, CRect rect) override {
        g_printed.push_back({g_page, nRow, nCol});
        return CGridCell::PrintCell(pDC, nRow, nCol, rect);
    }
};
IMPLEMENT_DYNCREATE(CRecordingCell, CGridCell)

// A view that prints the grid, as an owner forwards its printing steps.
class GridPrintView : public CView {
public:
    explicit GridPrintView(CGridCtrl& grid) : m_grid(grid) {}
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override { m_grid.OnBeginPrinting(pDC, pInfo); }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
        g_page = static_cast<int>(pInfo->m_nCurPage);
        m_grid.OnPrint(pDC, pInfo);
    }
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override { m_grid.OnEndPrinting(pDC, pInfo); }

private:
    CGridCtrl& m_grid;
};

int Occurrences(const std::string& text, const std::string& word) {
    int count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

// A grid of recording cells: one fixed row of headings "C1", "C2" ... and one fixed column of row labels;
// the cells read "RrrrCcc".
class GridPrinting : public ::testing::Test {
protected:
    void SetUp() override { g_printed.clear(); }

    void Build(int rows, int cols, int height, int width) {
        grid.SetCellClass(RUNTIME_CLASS(CRecordingCell));
        grid.SetRowCount(rows);
        grid.SetColumnCount(cols);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        SizeAll(grid, width, height);
        for (int col = 1; col < cols; col++)
            grid.SetItemText(0, col, ("C" + std::to_string(col)).c_str());
        for (int row = 1; row < rows; row++) {
            char label[32];
            std::snprintf(label, sizeof label, "L%03d", row);
            grid.SetItemText(row, 0, label);
            for (int col = 1; col < cols; col++) {
                std::snprintf(label, sizeof label, "R%03dC%02d", row, col);
                grid.SetItemText(row, col, label);
            }
        }
        ASSERT_TRUE(CreateGridWindow(grid, 400, 300));
    }
    bool Print(const std::string& name) {
        g_printed.clear();
        return view.PrintToPdf(dir.File(name).c_str(), 150) != FALSE;
    }
    // The non-fixed cells each page printed, by page.
    std::map<int, std::vector<Printed>> CellsByPage() {
        std::map<int, std::vector<Printed>> pages;
        for (const Printed& p : g_printed)
            if (p.row >= 1 && p.col >= 1)
                pages[p.page].push_back(p);
        return pages;
    }
    std::set<int> RowsOf(const std::vector<Printed>& cells) {
        std::set<int> rows;
        for (const Printed& p : cells)
            rows.insert(p.row);
        return rows;
    }

    TempDir dir;
    TestGrid grid;
    GridPrintView view{grid};
};

} // namespace

TEST_F(GridPrinting, AGridTooLargeForOnePagePrintsEveryRowOnExactlyOnePage) {
    Build(121, 4, 20, 80);
    ASSERT_TRUE(Print("grid.pdf"));
    const int rowsPerPage = grid.PageHeight() / 20;
    ASSERT_GT(rowsPerPage, 0);
    const int pages = (120 + rowsPerPage - 1) / rowsPerPage;
    ASSERT_GT(pages, 1);
    const std::string path = dir.File("grid.pdf");
    EXPECT_EQ(PdfPages(dir.Read("grid.pdf")), pages);

    std::vector<std::string> text;
    for (int page = 1; page <= pages; page++) {
        text.push_back(PdfPageText(path, page));
        // Headings and footer on every page.
        EXPECT_NE(text.back().find("C3"), std::string::npos) << page;
        EXPECT_NE(text.back().find("Page " + std::to_string(page) + " of " + std::to_string(pages)), std::string::npos);
    }
    for (int row = 1; row <= 120; row++) {
        char label[32];
        std::snprintf(label, sizeof label, "R%03dC02", row);
        int found = 0, on = 0;
        for (int page = 1; page <= pages; page++)
            if (const int n = Occurrences(text[static_cast<size_t>(page - 1)], label); n > 0) {
                found += n;
                on = page;
            }
        EXPECT_EQ(found, 1) << label;
        EXPECT_EQ(on, (row - 1) / rowsPerPage + 1) << label; // page 1 starts at the first non-fixed row
    }
}

TEST_F(GridPrinting, PageBreaksAndThePrintedRowsAgreeAtTheEdgeOfAPage) {
    Build(12, 3, 20, 80);
    ASSERT_TRUE(Print("layout.pdf"));
    const int page = grid.PageHeight();
    ASSERT_GT(page, 60);
    // Rows 1 and 2 fill the page but 5 pixels; row 3 ends one pixel beyond it; row 4 is taller than a page.
    grid.SetRowHeight(1, page - 25);
    grid.SetRowHeight(2, 20);
    grid.SetRowHeight(3, 6);
    grid.SetRowHeight(4, page + 30);
    ASSERT_TRUE(Print("edges.pdf"));
    ASSERT_EQ(grid.PageHeight(), page);

    auto pages = CellsByPage();
    EXPECT_EQ(RowsOf(pages[1]), (std::set<int>{1, 2}));
    EXPECT_EQ(RowsOf(pages[2]), (std::set<int>{3}));
    EXPECT_EQ(RowsOf(pages[3]), (std::set<int>{4}));
    EXPECT_EQ(RowsOf(pages[4]).count(5), 1u);
    std::map<std::pair<int, int>, int> times;
    for (const Printed& p : g_printed)
        if (p.row >= 1 && p.col >= 1)
            times[{p.row, p.col}]++;
    EXPECT_EQ(times.size(), 11u * 2u);
    for (const auto& [cell, n] : times)
        EXPECT_EQ(n, 1) << cell.first << "," << cell.second;
    // The row labels follow their rows; the headings are on every page.
    for (const Printed& p : g_printed) {
        if (p.col == 0 && p.row == 3) {
            EXPECT_EQ(p.page, 2);
        }
    }
    std::set<int> headed;
    for (const Printed& p : g_printed)
        if (p.row == 0 && p.col == 2)
            headed.insert(p.page);
    EXPECT_EQ(headed.size(), pages.size());
}

TEST_F(GridPrinting, AtFixedScaleWideGridsGoAcrossSeveralPagesAndOtherwiseFitOnOne) {
    Build(81, 30, 20, 120);
    ASSERT_TRUE(Print("scaled.pdf"));
    EXPECT_EQ(grid.PagesAcross(), 1);
    auto pages = CellsByPage();
    std::set<int> columns;
    for (const Printed& p : pages[1])
        columns.insert(p.col);
    EXPECT_EQ(columns.size(), 29u);

    grid.SetFixedScalePrinting(TRUE);
    ASSERT_TRUE(Print("across.pdf"));
    const int across = grid.PagesAcross();
    ASSERT_GT(across, 1);
    const int perPage = grid.PageHeight() / 20;
    const int down = (80 + perPage - 1) / perPage;
    EXPECT_EQ(PdfPages(dir.Read("across.pdf")), down * across);

    // Page P prints page row ceil(P / A) and page column ((P - 1) mod A) + 1; every cell once.
    pages = CellsByPage();
    std::map<std::pair<int, int>, int> times;
    std::vector<std::set<int>> columnsOf(static_cast<size_t>(across) + 1);
    for (const auto& [number, cells] : pages) {
        const int pageRow = (number + across - 1) / across;
        const int pageColumn = (number - 1) % across + 1;
        for (const Printed& p : cells) {
            times[{p.row, p.col}]++;
            EXPECT_EQ((p.row - 1) / perPage + 1, pageRow) << number;
            columnsOf[static_cast<size_t>(pageColumn)].insert(p.col);
        }
    }
    EXPECT_EQ(times.size(), 80u * 29u);
    for (const auto& [cell, n] : times)
        ASSERT_EQ(n, 1) << cell.first << "," << cell.second;
    EXPECT_EQ(*columnsOf[1].begin(), 1);
    EXPECT_EQ(*columnsOf[2].begin(), *columnsOf[1].rbegin() + 1);
}

TEST_F(GridPrinting, WithoutADeviceOrPrintInfoNothingHappensAndAPageBeyondTheRowsHasNoCells) {
    Build(6, 3, 20, 80);
    CPrintInfo info;
    grid.OnBeginPrinting(nullptr, &info);
    EXPECT_EQ(info.GetMaxPage(), 0xFFFFu);
    grid.OnPrint(nullptr, &info);
    EXPECT_TRUE(g_printed.empty());

    CPrinterDC dc;
    ASSERT_TRUE(dc.CreatePdf(dir.File("beyond.pdf").c_str(), 150));
    ASSERT_GT(dc.StartDoc("beyond"), 0);
    grid.OnBeginPrinting(&dc, nullptr);
    grid.OnBeginPrinting(&dc, &info);
    EXPECT_EQ(info.GetMaxPage(), 1u);
    dc.StartPage();
    info.m_nCurPage = 2;
    grid.OnPrint(&dc, &info);
    dc.EndPage();
    EXPECT_GT(dc.EndDoc(), 0);
    grid.OnEndPrinting(&dc, &info);
    for (const Printed& p : g_printed)
        EXPECT_EQ(p.row, 0); // the headings only
    EXPECT_FALSE(g_printed.empty());
}

TEST_F(GridPrinting, CellsPrintTheirColoursOrTheirBrightnessOnABlackAndWhitePrinter) {
    Build(3, 3, 20, 80);
    grid.GetCell(1, 1)->SetTextClr(RGB(200, 100, 50));
    grid.GetCell(1, 2)->SetBackClr(RGB(0, 0, 255));
    grid.SetItemText(1, 1, "WWWW");
    QImage page(200, 40, QImage::Format_RGB32);
    auto print = [&](int col, bool blackAndWhite) {
        page.fill(Qt::white);
        CDC dc;
        dc.AttachImage(&page);
        if (blackAndWhite)
            dc.OverrideDeviceCaps(NUMCOLORS, 2);
        grid.GetCell(1, col)->PrintCell(&dc, 1, col, CRect(10, 10, 89, 29));
        dc.DetachImage();
    };
    auto has = [&](COLORREF colour) {
        for (int y = 0; y < page.height(); y++)
            for (int x = 0; x < page.width(); x++)
                if (page.pixel(x, y) == qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour)))
                    return true;
        return false;
    };
    print(1, false);
    EXPECT_TRUE(has(RGB(200, 100, 50)));
    print(1, true);
    EXPECT_TRUE(has(RGB(60, 59, 5)));
    EXPECT_FALSE(has(RGB(200, 100, 50)));
    print(2, false);
    // The rectangle is inclusive: its last column and row are filled, and nothing beyond.
    EXPECT_EQ(page.pixel(89, 29), qRgb(0, 0, 255));
    EXPECT_EQ(page.pixel(90, 29), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(89, 30), qRgb(255, 255, 255));
    grid.SetPrintColours(FALSE);
    print(2, false);
    EXPECT_FALSE(has(RGB(0, 0, 255)));
    print(1, false);
    EXPECT_TRUE(has(RGB(0, 0, 0)));
    EXPECT_FALSE(has(RGB(200, 100, 50)));
}
