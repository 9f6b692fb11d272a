#include "GridTestSupport.h"

#include "platform/gui/draw/Font.h"
#include "platform/gui/draw/SysColor.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr COLORREF kGridLine = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kRed = RGB(220, 0, 0);

// Four rows and four columns of 30 x 10 pixels, the first row and column fixed, in a 200 x 100 client area: the
// cells end at (120, 40) and no bar is needed. Cell (1, 1) is (30, 10)-(59, 19) inclusive.
class GridDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        SizeAll(grid, 30, 10);
        ASSERT_TRUE(CreateGridWindow(grid, 200, 100));
        grid.UpdateWindow();
    }
    void TearDown() override { ResetSysColorsForTest(); }

    COLORREF At(int x, int y) { return PixelAt(grid, x, y); }
    void Repaint() {
        grid.Invalidate();
        grid.UpdateWindow();
    }

    TestGrid grid{4, 4, 1, 1};
};

// Thirty rows and ten columns of 40 x 20 pixels, one fixed row and column, in a 200 x 100 window: both bars.
class GridScrolling : public ::testing::Test {
protected:
    void SetUp() override {
        SizeAll(grid, 40, 20);
        ASSERT_TRUE(CreateGridWindow(grid, 200, 100));
    }

    bool Shows(DWORD bar) { return (grid.GetStyle() & bar) != 0; }
    int FirstColumnInView() { return grid.GetCellFromPt(CPoint(45, 25)).col; }
    int FirstRowInView() { return grid.GetTopleftNonFixedCell().row; }
    void Resize(int width, int height) { grid.MoveWindow(0, 0, width + 4, height + 4); }
    void Wheel(int delta) {
        QWidget* widget = grid.GetHostWidget();
        const QPointF at(50, 50);
        QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    }

    TestGrid grid{30, 10, 1, 1};
};

} // namespace

TEST_F(GridDrawing, LinesLieOnTheLastPixelOfEachScrolledRowAndColumn) {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    for (int x : {59, 89, 119})
        for (int y : {10, 25, 39})
            EXPECT_EQ(At(x, y), kGridLine) << x << "," << y;
    for (int y : {19, 29, 39})
        for (int x : {30, 75, 119})
            EXPECT_EQ(At(x, y), kGridLine) << x << "," << y;
    EXPECT_EQ(At(45, 15), window);
    EXPECT_EQ(At(118, 38), window);
    // The fixed cells draw their own raised edges, and no grid line crosses them.
    EXPECT_EQ(At(15, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(45, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(59, 5), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(40, 0), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(At(29, 15), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(15, 19), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(GridDrawing, TheBackgroundColourFillsWhatNoCellCovers) {
    const COLORREF background = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(At(120, 5), background);  // right of the fixed row
    EXPECT_EQ(At(199, 99), background); // the far corner
    EXPECT_EQ(At(15, 40), background);  // below the fixed column
    EXPECT_EQ(At(100, 60), background);

    grid.SetBackgroundColour(kRed);
    grid.SetRowCount(2); // the cells end at y = 20 now
    Repaint();
    EXPECT_EQ(At(15, 20), kRed);
    EXPECT_EQ(At(150, 10), kRed);
    EXPECT_EQ(At(45, 15), GetSysColor(COLOR_WINDOW));
}

TEST_F(GridDrawing, AHiddenColumnTakesNoRoomAndGetsNoLine) {
    grid.SetColumnWidth(2, 0);
    grid.GetCell(1, 3)->SetBackClr(kRed);
    grid.SetItemText(0, 3, "3");
    Repaint();
    // Column 3 follows column 1 at once: (60, 10)-(89, 19).
    EXPECT_EQ(At(65, 15), kRed);
    EXPECT_EQ(At(89, 15), kGridLine);
    EXPECT_EQ(At(89, 5), GetSysColor(COLOR_3DDKSHADOW)); // its heading ends there too
    EXPECT_EQ(At(59, 25), kGridLine);
    EXPECT_EQ(At(119, 25), GetSysColor(COLOR_BTNSHADOW)); // where the last column used to end
    EXPECT_EQ(grid.GetCellFromPt(CPoint(65, 15)), CCellID(1, 3));
}

TEST_F(GridDrawing, ACellRedrawnOutsideAPaintShowsAtOnceWithOrWithoutLines) {
    grid.SetGridLines(kGridLinesNone);
    Repaint();
    EXPECT_EQ(At(59, 15), GetSysColor(COLOR_WINDOW)); // no lines at all
    EXPECT_EQ(At(45, 19), GetSysColor(COLOR_WINDOW));

    // No invalidation: only the immediate redraw can show the new colour.
    grid.GetCell(1, 1)->SetBackClr(kRed);
    ASSERT_TRUE(grid.RedrawCell(1, 1));
    EXPECT_EQ(At(45, 15), kRed);
    EXPECT_EQ(At(59, 15), kRed); // the fill covers the line pixels, and no line comes back
    EXPECT_EQ(At(45, 19), kRed);

    grid.SetGridLines(kGridLinesVertical);
    ASSERT_TRUE(grid.RedrawCell(1, 1));
    EXPECT_EQ(At(59, 15), kGridLine);
    EXPECT_EQ(At(45, 19), kRed);
}

TEST_F(GridDrawing, AFocusedGridShowsADottedFrameInsideItsCellsThatACellRedrawnOutsideAPaintKeeps) {
    QWidget* window = grid.GetHostWidget();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    grid.SetFocus();
    Repaint();
    // Two pixels inside the cells, which end at (120, 40): along the bottom every other pixel is inverted.
    EXPECT_EQ(At(45, 37), RGB(0, 0, 0));
    EXPECT_EQ(At(46, 37), GetSysColor(COLOR_WINDOW));
    ASSERT_TRUE(grid.RedrawCell(3, 1));
    EXPECT_EQ(At(45, 37), RGB(0, 0, 0));
    EXPECT_EQ(At(46, 37), GetSysColor(COLOR_WINDOW));
}

TEST_F(GridDrawing, RedrawingACellOfAHiddenRowOrColumnPaintsNothing) {
    // The first scrolled row and column hidden: their cells lie right against the headings' edges.
    grid.SetRowHeight(1, 0);
    grid.SetColumnWidth(1, 0);
    Repaint();
    const QImage painted = grid.GetClientImage()->copy();
    for (const CCellID& cell : {CCellID(1, 2), CCellID(1, 1), CCellID(2, 1), CCellID(3, 1)})
        EXPECT_FALSE(grid.RedrawCell(cell)) << cell.row << "," << cell.col;
    EXPECT_EQ(At(45, 9), GetSysColor(COLOR_3DDKSHADOW));  // the bottom edge of column 2's heading
    EXPECT_EQ(At(29, 15), GetSysColor(COLOR_3DDKSHADOW)); // the right edge of row 2's heading
    EXPECT_TRUE(*grid.GetClientImage() == painted);
}

TEST_F(GridDrawing, AGridOfFixedCellsOnlyDrawsItsCornerAndShowsNoBars) {
    grid.SetFixedRowCount(4);
    grid.SetFixedColumnCount(4);
    SizeAll(grid, 60, 40); // 240 x 160 would not fit the window
    Repaint();
    EXPECT_EQ(grid.ShownBars(), 0u);
    EXPECT_EQ(At(100, 60), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(119, 60), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(GridDrawing, SystemColoursReplaceOnlyTheColoursThatFollowedThem) {
    const COLORREF ownBack = RGB(10, 20, 30);
    grid.GetDefaultCell(TRUE, FALSE)->SetBackClr(ownBack); // the owner's choice for the fixed row
    SetSysColorForTest(COLOR_WINDOW, RGB(250, 250, 200));
    SetSysColorForTest(COLOR_BTNFACE, RGB(200, 210, 220));
    SetSysColorForTest(COLOR_BTNSHADOW, RGB(90, 90, 90));
    BroadcastSysColorChange();

    EXPECT_EQ(grid.GetDefaultCell(FALSE, FALSE)->GetBackClr(), RGB(250, 250, 200));
    EXPECT_EQ(grid.GetDefaultCell(FALSE, TRUE)->GetBackClr(), RGB(200, 210, 220));
    EXPECT_EQ(grid.GetDefaultCell(TRUE, TRUE)->GetBackClr(), RGB(200, 210, 220));
    EXPECT_EQ(grid.GetDefaultCell(TRUE, FALSE)->GetBackClr(), ownBack);
    EXPECT_EQ(grid.BackgroundColour(), RGB(90, 90, 90));

    // The colours remembered now are the new ones: a second change follows on from them.
    SetSysColorForTest(COLOR_WINDOW, RGB(1, 2, 3));
    BroadcastSysColorChange();
    EXPECT_EQ(grid.GetDefaultCell(FALSE, FALSE)->GetBackClr(), RGB(1, 2, 3));
}

TEST_F(GridDrawing, ANewWindowFontBecomesTheFontOfEveryDefaultCell) {
    LOGFONT logFont{};
    logFont.lfHeight = -30;
    std::strcpy(logFont.lfFaceName, "DejaVu Sans");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&logFont));
    const int oldHeight = grid.GetDefaultCell(FALSE, FALSE)->GetHeight();
    grid.SetFont(&font);
    for (BOOL fixedRow : {FALSE, TRUE})
        for (BOOL fixedCol : {FALSE, TRUE})
            EXPECT_EQ(grid.GetDefaultCell(fixedRow, fixedCol)->GetFont()->lfHeight, -30);
    EXPECT_GT(grid.GetDefaultCell(FALSE, FALSE)->GetHeight(), oldHeight); // measured again
    CFont* reported = grid.GetFont();
    ASSERT_NE(reported, nullptr);
    EXPECT_EQ(reported->m_hObject, grid.GetDefaultCell(FALSE, FALSE)->GetFontObject()->m_hObject);
}

TEST_F(GridScrolling, BarsShowWhileTheCellsOverflowAndVanishWhenTheGridFits) {
    EXPECT_TRUE(Shows(WS_VSCROLL));
    EXPECT_TRUE(Shows(WS_HSCROLL));
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(grid.GetScrollInfo(SB_VERT, &info, SIF_RANGE));
    EXPECT_EQ(info.nMax, 29 * 20 - 1); // the non-fixed rows
    ASSERT_TRUE(grid.GetScrollInfo(SB_HORZ, &info, SIF_RANGE));
    EXPECT_EQ(info.nMax, 9 * 40 - 1);

    grid.SetRowCount(3);
    EXPECT_FALSE(Shows(WS_VSCROLL));
    EXPECT_TRUE(Shows(WS_HSCROLL));
    grid.SetColumnCount(3);
    EXPECT_FALSE(Shows(WS_HSCROLL));
    CRect client;
    grid.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 200, 100));
}

TEST_F(GridScrolling, BarsHiddenForAWindowSmallerThanTheFixedCellsComeBackWhenItGrows) {
    // Below the horizontal bar 2 pixels are left; without the bar it would be 20, the height of the fixed row.
    Resize(200, 19);
    EXPECT_FALSE(Shows(WS_VSCROLL));
    EXPECT_FALSE(Shows(WS_HSCROLL));
    EXPECT_EQ(grid.ShownBars(), 0u);

    Resize(200, 100);
    EXPECT_TRUE(Shows(WS_VSCROLL));
    EXPECT_TRUE(Shows(WS_HSCROLL));
    EXPECT_EQ(grid.ShownBars(), 3u);
    CRect client;
    grid.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 183, 83));
}

TEST(GridSizing, ASizeChangeWhileTheGridHandlesOneIsIgnored) {
    // Every size change the grid takes ends editing first; the bars that appear while it lays itself out resize
    // the window again, inside its own handler.
    class SizeCountingGrid : public TestGrid {
    public:
        using TestGrid::TestGrid;
        int sizeChanges = 0;
        void EndEditing() override {
            ++sizeChanges;
            TestGrid::EndEditing();
        }
    } grid(30, 10, 1, 1);
    SizeAll(grid, 40, 20);
    ASSERT_TRUE(CreateGridWindow(grid, 1000, 1000));
    ASSERT_EQ(grid.ShownBars(), 0u);
    grid.sizeChanges = 0;
    grid.MoveWindow(0, 0, 204, 104);
    EXPECT_EQ(grid.ShownBars(), 3u);
    EXPECT_EQ(grid.sizeChanges, 1);
}

TEST_F(GridScrolling, LineScrollsPassOverAWidthZeroColumn) {
    grid.SetColumnWidth(2, 0);
    EXPECT_EQ(FirstColumnInView(), 1);
    grid.SendMessage(WM_HSCROLL, SB_LINELEFT, 0); // already at the first column
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), 0);

    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(FirstColumnInView(), 3);
    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(FirstColumnInView(), 4);
    grid.SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(FirstColumnInView(), 3);
    grid.SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(FirstColumnInView(), 1);

    // At the end of the range a line to the right moves nothing and repaints nothing.
    grid.SendMessage(WM_HSCROLL, SB_RIGHT, 0);
    const int end = grid.ScrollPos(SB_HORZ);
    grid.ValidateRect(nullptr);
    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), end);
    CRect update;
    grid.GetUpdateRect(&update);
    EXPECT_TRUE(update.IsRectEmpty());
}

TEST_F(GridScrolling, EnsureVisibleBringsACellPastHiddenColumnsFullyIntoView) {
    grid.SetColumnWidth(5, 0);
    grid.EnsureVisible(28, 9);
    CRect rect, client;
    ASSERT_TRUE(grid.GetCellRect(28, 9, &rect));
    grid.GetClientRect(&client);
    EXPECT_LT(rect.right, client.right);
    EXPECT_LT(rect.bottom, client.bottom);
    EXPECT_GE(rect.left, 40);
    EXPECT_GE(rect.top, 20);

    grid.EnsureVisible(1, 1); // and back
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), CCellID(1, 1));
}

TEST_F(GridScrolling, PagesMoveByTheScrollingAreaAndThumbsByTheTrackPosition) {
    grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 83 - 20);
    grid.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 0);
    grid.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(grid.GetVisibleNonFixedCellRange().GetMaxRow(), 29);
    EXPECT_GT(FirstRowInView(), 20);
    grid.SendMessage(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(FirstRowInView(), 1);
}

TEST_F(GridScrolling, TheWheelPostsLinesOrPagesUpAndDownByItsDelta) {
    grid.SetWheelScrollLines(3);
    for (int i = 0; i < 3; i++)
        grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_EQ(FirstRowInView(), 4);

    Wheel(60);                      // 60 * 3 / 120: one line up
    EXPECT_EQ(FirstRowInView(), 4); // posted, not yet handled
    QTest::qWait(0);
    EXPECT_EQ(FirstRowInView(), 3);
    Wheel(-60);
    QTest::qWait(0);
    EXPECT_EQ(FirstRowInView(), 4);
    Wheel(-240); // six lines
    QTest::qWait(0);
    EXPECT_EQ(FirstRowInView(), 10);
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), 0); // never sideways

    grid.SetWheelScrollLines(-1); // a page per notch
    Wheel(100);                   // less than a notch
    QTest::qWait(0);
    EXPECT_EQ(FirstRowInView(), 10);
    const int before = grid.ScrollPos(SB_VERT);
    Wheel(-120);
    QTest::qWait(0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), before + 83 - 20);
}
