#include "platform/gui/draw/SysColor.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"

#include <QApplication>
#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

namespace {

TEST(SysColor, OneFixedClassicTable) {
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
    // Edges read as edges: light above the face, shadows below it.
    EXPECT_GT(GetGValue(GetSysColor(COLOR_3DHIGHLIGHT)), GetGValue(GetSysColor(COLOR_3DFACE)));
    EXPECT_LT(GetGValue(GetSysColor(COLOR_3DSHADOW)), GetGValue(GetSysColor(COLOR_3DFACE)));
    EXPECT_LT(GetGValue(GetSysColor(COLOR_3DDKSHADOW)), GetGValue(GetSysColor(COLOR_3DSHADOW)));
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(999), 0u);
    EXPECT_EQ(GetSysColorBrush(999), nullptr);
}

TEST(SysColor, PaletteAndBrushesFollowAChangedColour) {
    ApplySysColorPalette();
    EXPECT_EQ(QApplication::palette().color(QPalette::Button), QColor(212, 208, 200));
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), QColor(10, 36, 106));

    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    CBrush own;
    ASSERT_TRUE(own.CreateSysColorBrush(COLOR_BTNFACE));
    ASSERT_TRUE(SetSysColorForTest(COLOR_BTNFACE, RGB(1, 2, 3)));
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), RGB(1, 2, 3));
    EXPECT_EQ(QApplication::palette().color(QPalette::Button), QColor(1, 2, 3));

    QImage image(2, 1, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    const RECT left{0, 0, 1, 1}, right{1, 0, 2, 1};
    dc.FillRect(&left, face);
    dc.FillRect(&right, &own);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x010203u);
    EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, 0x010203u);
    EXPECT_TRUE(DeleteObject(face)); // a system colour brush is never freed
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);

    EXPECT_FALSE(SetSysColorForTest(-3, 0));
    ResetSysColorsForTest();
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
    EXPECT_EQ(QApplication::palette().color(QPalette::Button), QColor(212, 208, 200));
}

} // namespace
