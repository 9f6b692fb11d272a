#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/PrintInfo.h"
#include "platform/gui/draw/PrinterDC.h"
#include "platform/gui/frame/View.h"
#include "tests/support/PdfText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Prints as the grid does: the page count fixed in OnBeginPrinting, each page mapped onto the paper.
class PagedView : public CView {
public:
    explicit PagedView(int pages) : m_pages(pages) {}

    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override {
        caps = {pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES)};
        printing = pDC->IsPrinting();
        if (m_pages > 0)
            pInfo->SetMaxPage(static_cast<UINT>(m_pages));
        steps.push_back("begin");
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
        pages.push_back(pInfo->m_nCurPage);
        drawRects.push_back(pInfo->m_rectDraw);
        mapModes.push_back(pDC->GetMapMode());
        // A page in logical units of a tenth of the page width, as the grid maps its screen pixels.
        pDC->SetMapMode(MM_ANISOTROPIC);
        pDC->SetWindowExt(100, 141);
        pDC->SetViewportExt(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
        CString text;
        text.Format("Page %u", pInfo->m_nCurPage);
        pDC->TextOut(10, 10, text);
        pDC->MoveTo(0, 140);
        pDC->LineTo(100, 140);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { steps.push_back("end"); }

    std::vector<int> caps;
    bool printing = false;
    std::vector<UINT> pages;
    std::vector<CRect> drawRects;
    std::vector<int> mapModes;
    std::vector<std::string> steps;

private:
    int m_pages;
};

} // namespace

TEST(Printing, APrintedPdfHasThePagesThePrintInfoAskedFor) {
    TempDir dir;
    PagedView view(4);
    ASSERT_TRUE(view.PrintToPdf(dir.File("grid.pdf").c_str(), 300));
    EXPECT_EQ(PdfPages(dir.Read("grid.pdf")), 4);
    EXPECT_EQ(view.pages, (std::vector<UINT>{1, 2, 3, 4}));
    EXPECT_EQ(view.steps, (std::vector<std::string>{"begin", "end"}));
    EXPECT_TRUE(view.printing);
    // A4 at 300 dots per inch.
    ASSERT_EQ(view.caps.size(), 3u);
    EXPECT_EQ(view.caps[0], 300);
    EXPECT_NEAR(view.caps[1], 2480, 2);
    EXPECT_NEAR(view.caps[2], 3508, 2);
    // Every page starts from the device's own mapping, whatever the page before set.
    EXPECT_EQ(view.mapModes, (std::vector<int>{MM_TEXT, MM_TEXT, MM_TEXT, MM_TEXT}));
    EXPECT_EQ(view.drawRects[3], CRect(0, 0, view.caps[1], view.caps[2]));
}

TEST(Printing, WithoutAPageCountOnlyTheFirstPageIsPrinted) {
    TempDir dir;
    PagedView view(0);
    ASSERT_TRUE(view.PrintToPdf(dir.File("one.pdf").c_str()));
    EXPECT_EQ(view.pages, std::vector<UINT>{1});
    EXPECT_EQ(PdfPages(dir.Read("one.pdf")), 1);
}

TEST(Printing, AFileThatCannotBeWrittenFailsBeforeAnythingIsPrinted) {
    TempDir dir;
    PagedView view(2);
    EXPECT_FALSE(view.PrintToPdf(dir.File("missing/folder/x.pdf").c_str()));
    EXPECT_TRUE(view.steps.empty());
    EXPECT_FALSE(view.PrintToPdf(""));
}

TEST(Printing, AnAbandonedJobLeavesNoFile) {
    TempDir dir;
    const std::string path = dir.File("aborted.pdf");
    {
        CPrinterDC dc;
        ASSERT_TRUE(dc.CreatePdf(path.c_str(), 150));
        ASSERT_GT(dc.StartDoc("job"), 0);
        dc.StartPage();
        dc.TextOut(0, 0, CString("x"));
        dc.EndPage();
        EXPECT_EQ(dc.GetPageCount(), 1);
        dc.AbortDoc();
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(file, nullptr);
    if (file)
        std::fclose(file);

    // A printer DC answers a two-colour device when told so, as a test of a monochrome printer needs.
    CPrinterDC mono;
    ASSERT_TRUE(mono.CreatePdf(path.c_str()));
    ASSERT_GT(mono.StartDoc("mono"), 0);
    mono.OverrideDeviceCaps(NUMCOLORS, 2);
    EXPECT_EQ(mono.GetDeviceCaps(NUMCOLORS), 2);
    EXPECT_GT(mono.EndDoc(), 0);
}

TEST(Printing, TheGridsMappingScalesItsLogicalPageOntoThePaper) {
    TempDir dir;
    CPrinterDC dc;
    ASSERT_TRUE(dc.CreatePdf(dir.File("map.pdf").c_str(), 600));
    ASSERT_GT(dc.StartDoc("map"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    const int horz = dc.GetDeviceCaps(HORZRES), vert = dc.GetDeviceCaps(VERTRES);
    // A logical page a fraction of the paper's size, with a left margin of 40 units, as the grid sets it.
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(horz / 10, vert / 10);
    dc.SetViewportExt(horz, vert);
    dc.SetWindowOrg(-40, 0);
    POINT points[2] = {{0, 0}, {horz / 10 - 40, vert / 10}};
    dc.LPtoDP(points, 2);
    EXPECT_EQ(points[0].x, std::lround(40.0 * horz / (horz / 10)));
    EXPECT_EQ(points[0].y, 0);
    EXPECT_NEAR(points[1].x, horz, 10);
    EXPECT_NEAR(points[1].y, vert, 10);
    dc.OffsetWindowOrg(0, -30); // later output lands lower on the page
    POINT origin{0, 0};
    dc.LPtoDP(&origin, 1);
    EXPECT_EQ(origin.y, std::lround(30.0 * vert / (vert / 10)));
    dc.EndPage();
    ASSERT_GT(dc.StartPage(), 0);
    EXPECT_EQ(dc.GetMapMode(), MM_TEXT); // the next page starts unmapped
    EXPECT_GT(dc.EndDoc(), 0);
}
