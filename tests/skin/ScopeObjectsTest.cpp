#include "skin/BoldDC.h"
#include "skin/BrushDC.h"
#include "skin/BufferDC.h"
#include "skin/FontDC.h"
#include "skin/PenDC.h"

#include "platform/gui/draw/DC.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

class ScopeObjectsTest : public testing::Test {
protected:
    void SetUp() override {
        m_image.fill(Qt::white);
        ASSERT_TRUE(m_dc.AttachImage(&m_image));
    }

    COLORREF PenColor() const {
        LOGPEN pen{};
        GetObject(GetCurrentObject(m_dc.m_hDC, OBJ_PEN), sizeof(pen), &pen);
        return pen.lopnColor;
    }
    LOGBRUSH Brush() const {
        LOGBRUSH brush{};
        GetObject(GetCurrentObject(m_dc.m_hDC, OBJ_BRUSH), sizeof(brush), &brush);
        return brush;
    }
    LONG FontWeight() const {
        LOGFONT font{};
        GetObject(GetCurrentObject(m_dc.m_hDC, OBJ_FONT), sizeof(font), &font);
        return font.lfWeight;
    }
    COLORREF Pixel(int x, int y) const {
        const QRgb rgb = m_image.pixel(x, y);
        return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }

    QImage m_image{60, 40, QImage::Format_RGB32};
    CDC m_dc;
};

TEST_F(ScopeObjectsTest, NestedPenAndBrushScopesRestoreInReverseOrder) {
    HGDIOBJ outerPen = GetCurrentObject(m_dc.m_hDC, OBJ_PEN);
    HGDIOBJ outerBrush = GetCurrentObject(m_dc.m_hDC, OBJ_BRUSH);
    {
        CPenDC red(m_dc.m_hDC, RGB(255, 0, 0));
        CBrushDC blue(m_dc.m_hDC, RGB(0, 0, 255));
        EXPECT_EQ(RGB(255, 0, 0), PenColor());
        EXPECT_EQ(RGB(255, 0, 0), red.GetColor());
        {
            CPenDC green(m_dc.m_hDC, RGB(0, 255, 0));
            CBrushDC hollow(m_dc.m_hDC, CLR_NONE);
            EXPECT_EQ(RGB(0, 255, 0), PenColor());
            EXPECT_EQ(static_cast<UINT>(BS_NULL), Brush().lbStyle);
            // A hollow brush leaves the inside of a rectangle as it was.
            m_dc.Rectangle(10, 10, 20, 20);
            EXPECT_EQ(RGB(0, 255, 0), Pixel(10, 10));
            EXPECT_EQ(RGB(255, 255, 255), Pixel(15, 15));
        }
        EXPECT_EQ(RGB(255, 0, 0), PenColor());
        EXPECT_EQ(RGB(0, 0, 255), Brush().lbColor);
        red.SetColor(RGB(1, 2, 3));
        blue.SetColor(CLR_NONE);
        EXPECT_EQ(RGB(1, 2, 3), PenColor());
        EXPECT_EQ(RGB(1, 2, 3), red.GetColor());
        EXPECT_EQ(static_cast<UINT>(BS_NULL), Brush().lbStyle);
    }
    // The first selections come back after the colours were changed in between.
    EXPECT_EQ(outerPen, GetCurrentObject(m_dc.m_hDC, OBJ_PEN));
    EXPECT_EQ(outerBrush, GetCurrentObject(m_dc.m_hDC, OBJ_BRUSH));
}

TEST_F(ScopeObjectsTest, BoldScopeChangesOnlyAFontOfTheOtherWeight) {
    LOGFONT log{};
    GetObject(GetCurrentObject(m_dc.m_hDC, OBJ_FONT), sizeof(log), &log);
    log.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirect(&log);
    log.lfWeight = FW_SEMIBOLD;
    HFONT semibold = CreateFontIndirect(&log);

    HGDIOBJ original = SelectObject(m_dc.m_hDC, bold);
    {
        CBoldDC scope(m_dc.m_hDC, true);
        EXPECT_EQ(static_cast<HGDIOBJ>(bold), GetCurrentObject(m_dc.m_hDC, OBJ_FONT));
        {
            CBoldDC normal(m_dc.m_hDC, false);
            EXPECT_EQ(FW_NORMAL, FontWeight());
        }
        EXPECT_EQ(static_cast<HGDIOBJ>(bold), GetCurrentObject(m_dc.m_hDC, OBJ_FONT));
    }
    EXPECT_EQ(static_cast<HGDIOBJ>(bold), GetCurrentObject(m_dc.m_hDC, OBJ_FONT));

    // Any weight but 700 counts as normal.
    SelectObject(m_dc.m_hDC, semibold);
    {
        CBoldDC normal(m_dc.m_hDC, false);
        EXPECT_EQ(static_cast<HGDIOBJ>(semibold), GetCurrentObject(m_dc.m_hDC, OBJ_FONT));
        CBoldDC scope(m_dc.m_hDC, true);
        EXPECT_EQ(FW_BOLD, FontWeight());
    }
    EXPECT_EQ(static_cast<HGDIOBJ>(semibold), GetCurrentObject(m_dc.m_hDC, OBJ_FONT));
    SelectObject(m_dc.m_hDC, original);
    DeleteObject(bold);
    DeleteObject(semibold);
}

TEST_F(ScopeObjectsTest, FontScopeRestoresTheTextColourOnlyWhenItSetOne) {
    HGDIOBJ original = GetCurrentObject(m_dc.m_hDC, OBJ_FONT);
    m_dc.SetTextColor(RGB(9, 8, 7));
    {
        CFontDC font(m_dc.m_hDC, DEFAULT_GUI_FONT, CLR_DEFAULT);
        EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), GetCurrentObject(m_dc.m_hDC, OBJ_FONT));
        EXPECT_EQ(RGB(9, 8, 7), m_dc.GetTextColor());
        // Changed inside the block and not restored: the scope saved nothing.
        m_dc.SetTextColor(RGB(1, 1, 1));
    }
    EXPECT_EQ(original, GetCurrentObject(m_dc.m_hDC, OBJ_FONT));
    EXPECT_EQ(RGB(1, 1, 1), m_dc.GetTextColor());
    {
        CFontDC font(m_dc.m_hDC, DEFAULT_GUI_FONT, RGB(200, 0, 0));
        EXPECT_EQ(RGB(200, 0, 0), m_dc.GetTextColor());
    }
    EXPECT_EQ(RGB(1, 1, 1), m_dc.GetTextColor());
}

TEST_F(ScopeObjectsTest, BufferShowsItsRectangleOnTheTargetOnlyWhenItEnds) {
    const CRect rect(10, 5, 30, 25);
    {
        CBufferDC buffer(m_dc.m_hDC, &rect);
        buffer.FillSolidRect(0, 0, 60, 40, RGB(255, 0, 0));
        EXPECT_EQ(RGB(255, 255, 255), Pixel(15, 10));
        // Drawing uses the target's coordinates.
        buffer.SetPixel(29, 24, RGB(0, 0, 255));
    }
    EXPECT_EQ(RGB(255, 0, 0), Pixel(10, 5));
    EXPECT_EQ(RGB(0, 0, 255), Pixel(29, 24));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(9, 5));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(10, 4));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(30, 10));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(15, 25));
}

TEST_F(ScopeObjectsTest, BufferGivenNoRectangleTakesTheTargetsClipBox) {
    m_dc.IntersectClipRect(0, 0, 40, 30);
    {
        CBufferDC buffer(m_dc.m_hDC, nullptr);
        buffer.FillSolidRect(0, 0, 60, 40, RGB(0, 128, 0));
    }
    EXPECT_EQ(RGB(0, 128, 0), Pixel(0, 0));
    EXPECT_EQ(RGB(0, 128, 0), Pixel(39, 29));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(40, 29));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(39, 30));
    // An empty rectangle counts as none: the whole clip box comes back from the fresh (black) buffer.
    const CRect empty(5, 5, 5, 20);
    {
        CBufferDC buffer(m_dc.m_hDC, &empty);
        buffer.SetPixel(0, 0, RGB(1, 2, 3));
    }
    EXPECT_EQ(RGB(1, 2, 3), Pixel(0, 0));
    EXPECT_EQ(RGB(0, 0, 0), Pixel(39, 29));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(40, 29));
}

} // namespace
