#include "grid/GridCell.h"
#include "grid/GridCtrl.h"
#include "grid/GridDefaultCell.h"

#include "GridTestSupport.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/window/SystemParameters.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr DWORD kDefaultFormat = DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;

LOGFONT MessageFont() {
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return metrics.lfMessageFont;
}

LOGFONT FontOfHeight(LONG height, LONG escapement = 0) {
    LOGFONT font = MessageFont();
    font.lfHeight = height;
    font.lfEscapement = escapement;
    return font;
}

} // namespace

TEST(GridCellDefaults, AFreshCellTakesFormatMarginAndFontFromItsDefaultCell) {
    CGridCtrl grid;
    CGridCell cell;
    cell.SetGrid(&grid);
    CGridDefaultCell* normal = grid.GetDefaultCell(FALSE, FALSE);

    EXPECT_EQ(cell.GetImage(), -1);
    EXPECT_EQ(cell.GetData(), 0);
    EXPECT_EQ(cell.GetFormat(), kDefaultFormat);
    EXPECT_EQ(cell.GetMargin(), normal->GetMargin());
    EXPECT_EQ(cell.GetTextClr(), CLR_DEFAULT);
    EXPECT_EQ(cell.GetBackClr(), CLR_DEFAULT);
    EXPECT_TRUE(cell.IsDefaultFont());
    EXPECT_EQ(cell.GetFont(), normal->GetFont());
    EXPECT_EQ(cell.GetFontObject(), normal->GetFontObject());
    ASSERT_NE(cell.GetText(), nullptr);
    EXPECT_STREQ(cell.GetText(), "");

    cell.SetText(nullptr);
    ASSERT_NE(cell.GetText(), nullptr);
    EXPECT_STREQ(cell.GetText(), "");
}

TEST(GridCellDefaults, TheKindOfCellPicksItsDefaultCell) {
    CGridCtrl grid;
    grid.GetDefaultCell(FALSE, FALSE)->SetFormat(DT_LEFT);
    grid.GetDefaultCell(TRUE, FALSE)->SetFormat(DT_CENTER);
    grid.GetDefaultCell(FALSE, TRUE)->SetFormat(DT_RIGHT);
    grid.GetDefaultCell(TRUE, TRUE)->SetFormat(DT_BOTTOM);
    CGridCell cell;
    cell.SetGrid(&grid);

    const struct {
        DWORD state;
        DWORD format;
    } kinds[] = {
        {0, DT_LEFT},
        {GCS_FIXED, DT_LEFT}, // the fixed bit alone does not make a heading
        {GCS_FIXED | GCS_FIXEDROW, DT_CENTER},
        {GCS_FIXED | GCS_FIXEDCOL, DT_RIGHT},
        {GCS_FIXED | GCS_FIXEDROW | GCS_FIXEDCOL, DT_BOTTOM},
    };
    for (const auto& kind : kinds) {
        cell.SetState(kind.state);
        EXPECT_EQ(cell.GetFormat(), kind.format) << "state " << kind.state;
    }

    cell.SetFormat(DT_WORDBREAK); // its own value wins
    EXPECT_EQ(cell.GetFormat(), static_cast<DWORD>(DT_WORDBREAK));
}

TEST(GridCellDefaults, WithoutAGridNothingFallsBackAndNothingDraws) {
    CGridCell cell;
    EXPECT_EQ(cell.GetDefaultCell(), nullptr);
    EXPECT_EQ(cell.GetFormat(), static_cast<DWORD>(-1));
    EXPECT_EQ(cell.GetMargin(), 0u);
    EXPECT_EQ(cell.GetFont(), nullptr);
    EXPECT_EQ(cell.GetFontObject(), nullptr);
    EXPECT_EQ(cell.GetTextExtent("abc").cx, 0); // no DC and no default cell to ask
    CDC dc;
    EXPECT_FALSE(cell.Draw(&dc, 0, 0, CRect(0, 0, 29, 9)));
}

TEST(GridDefaultCell, IgnoresStateAndDataAndIsAlwaysReadOnly) {
    CGridDefaultCell cell;
    cell.SetState(GCS_SELECTED | GCS_FOCUSED);
    cell.SetData(7);
    EXPECT_EQ(cell.GetState(), GCS_READONLY);
    EXPECT_EQ(cell.GetData(), 0);
    EXPECT_TRUE(cell.IsReadOnly());
    EXPECT_EQ(cell.GetFormat(), kDefaultFormat);
}

TEST(GridDefaultCell, ANewFontMeasuresMarginWidthAndHeightAgain) {
    CGridDefaultCell cell;
    const int width = cell.GetWidth(), height = cell.GetHeight();
    const UINT margin = cell.GetMargin();
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);

    cell.SetFont(nullptr); // changes nothing
    EXPECT_EQ(cell.GetWidth(), width);
    EXPECT_EQ(cell.GetHeight(), height);
    EXPECT_EQ(cell.GetMargin(), margin);

    const LOGFONT big = FontOfHeight(-40);
    cell.SetFont(&big);
    const QFontMetrics metrics(QFontFromLogFont(big));
    EXPECT_EQ(cell.GetMargin(), static_cast<UINT>(metrics.horizontalAdvance(" ")));
    EXPECT_EQ(cell.GetWidth(), metrics.horizontalAdvance(" XXXXXXXXXXXX "));
    EXPECT_EQ(cell.GetHeight(), metrics.height() * 3 / 2);
    EXPECT_GT(cell.GetWidth(), width);
    ASSERT_NE(cell.GetFont(), nullptr);
    EXPECT_EQ(cell.GetFont()->lfHeight, -40);
    EXPECT_NE(cell.GetFontObject(), nullptr);
}

TEST(GridCellCopy, CopiesEveryValueAndDropsAnOwnFontWhenTheSourceHasNone) {
    CGridCtrl grid;
    CGridCell source;
    source.SetGrid(&grid);
    source.SetText("text");
    source.SetImage(4);
    source.SetData(99);
    source.SetState(GCS_SELECTED | GCS_READONLY);
    source.SetFormat(DT_RIGHT);
    source.SetTextClr(RGB(1, 2, 3));
    source.SetBackClr(RGB(4, 5, 6));
    const LOGFONT font = FontOfHeight(-17);
    source.SetFont(&font);
    source.SetMargin(9);

    CGridCell copy;
    copy = source;
    EXPECT_EQ(copy.GetGrid(), &grid);
    EXPECT_STREQ(copy.GetText(), "text");
    EXPECT_EQ(copy.GetImage(), 4);
    EXPECT_EQ(copy.GetData(), 99);
    EXPECT_EQ(copy.GetState(), GCS_SELECTED | GCS_READONLY);
    EXPECT_EQ(copy.GetFormat(), static_cast<DWORD>(DT_RIGHT));
    EXPECT_EQ(copy.GetTextClr(), RGB(1, 2, 3));
    EXPECT_EQ(copy.GetBackClr(), RGB(4, 5, 6));
    ASSERT_FALSE(copy.IsDefaultFont());
    EXPECT_NE(copy.GetFont(), source.GetFont()); // a copy of its own
    EXPECT_EQ(copy.GetFont()->lfHeight, -17);
    EXPECT_EQ(copy.GetMargin(), 9u);

    CGridCell plain;
    plain.SetGrid(&grid);
    CGridCellBase& asBase = copy;
    asBase = plain;
    EXPECT_TRUE(copy.IsDefaultFont());
    EXPECT_STREQ(copy.GetText(), "");

    copy.Reset();
    EXPECT_EQ(copy.GetGrid(), nullptr);
    EXPECT_EQ(copy.GetState(), 0u);
    EXPECT_EQ(copy.GetImage(), -1);
}

TEST(GridCellExtent, MeasuresTheTextWithTheMarginOnEverySide) {
    CGridCtrl grid;
    ASSERT_TRUE(CreateGridWindow(grid, 200, 100));
    CGridCell cell;
    cell.SetGrid(&grid);
    const int margin = static_cast<int>(cell.GetMargin());
    const QFontMetrics metrics(QFontFromLogFont(*cell.GetFont()));

    const CSize size = cell.GetTextExtent("Wall 12");
    EXPECT_EQ(size.cx, metrics.horizontalAdvance("Wall 12") + 2 * margin);
    EXPECT_EQ(size.cy, metrics.height() + 2 * margin);

    // No text: the default cell's size, without measuring.
    const CGridDefaultCell* normal = grid.GetDefaultCell(FALSE, FALSE);
    EXPECT_EQ(cell.GetTextExtent(nullptr), CSize(normal->GetWidth(), normal->GetHeight()));

    // Text turned a quarter: width and height change places, and the height gets four more margins.
    const LOGFONT turned = FontOfHeight(-12, 900);
    cell.SetFont(&turned);
    const QFontMetrics turnedMetrics(QFontFromLogFont(turned));
    const CSize upright(turnedMetrics.horizontalAdvance("Wall 12") + 2 * margin, turnedMetrics.height() + 2 * margin);
    EXPECT_EQ(cell.GetTextExtent("Wall 12"), CSize(upright.cy, upright.cx + 4 * margin));
}

TEST(GridCellExtent, WrappedTextIsAsWideAsItsWidestLineAndAsHighAsItsLines) {
    CGridCtrl grid;
    ASSERT_TRUE(CreateGridWindow(grid, 200, 100));
    CGridCell cell;
    cell.SetGrid(&grid);
    cell.SetFormat(DT_CENTER | DT_WORDBREAK);
    const int margin = static_cast<int>(cell.GetMargin());
    const QFontMetrics metrics(QFontFromLogFont(*cell.GetFont()));

    const CSize size = cell.GetTextExtent("12\nlonger line");
    EXPECT_LE(size.cx, metrics.horizontalAdvance("longer line") + 1 + 2 * margin);
    EXPECT_GE(size.cx, metrics.horizontalAdvance("longer line") + 2 * margin);
    EXPECT_GE(size.cy, 2 * metrics.height() + 2 * margin - 2);
}

TEST(GridCellExtent, AFixedCellIsOnePixelLargerEachWay) {
    CGridCtrl grid;
    ASSERT_TRUE(CreateGridWindow(grid, 200, 100));
    CGridCell normal, fixed;
    normal.SetGrid(&grid);
    fixed.SetGrid(&grid);
    normal.SetText("Channel");
    fixed.SetText("Channel");
    fixed.SetState(GCS_FIXED);

    CDC* dc = grid.GetDC();
    ASSERT_NE(dc, nullptr);
    const CSize text = normal.GetTextExtent("Channel", dc);
    EXPECT_EQ(normal.GetCellExtent(dc), CSize(text.cx + 1, text.cy + 1));
    EXPECT_EQ(fixed.GetCellExtent(dc), CSize(text.cx + 2, text.cy + 2));
    grid.ReleaseDC(dc);
}
