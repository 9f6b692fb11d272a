#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Pen.h"
#include "platform/gui/draw/SysColor.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A white image and a DC drawing on it.
struct Canvas {
    explicit Canvas(int w = 12, int h = 12) : image(w, h, QImage::Format_RGB32) {
        image.fill(Qt::white);
        dc.AttachImage(&image);
    }
    COLORREF At(int x, int y) const {
        const QRgb p = image.pixel(x, y);
        return RGB(static_cast<BYTE>(qRed(p)), static_cast<BYTE>(qGreen(p)), static_cast<BYTE>(qBlue(p)));
    }
    // Pixels of the given colour as a rectangle (right and bottom exclusive); empty when there are none.
    CRect Extent(COLORREF color) const {
        CRect r(image.width(), image.height(), -1, -1);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (At(x, y) == color) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r.right < 0 ? CRect() : r;
    }
    int Count(COLORREF color) const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += At(x, y) == color;
        return n;
    }
    QImage image;
    CDC dc;
};

TEST(DrawingRules, FillRectLeavesOutRightAndBottomEdges) {
    Canvas c;
    CBrush red(kRed);
    const CRect r(2, 3, 6, 8);
    c.dc.FillRect(&r, &red);
    EXPECT_EQ(c.Extent(kRed), r);
    EXPECT_EQ(c.Count(kRed), 4 * 5);

    // A rectangle turned inside out fills nothing.
    Canvas d;
    const CRect inverted(6, 8, 2, 3);
    d.dc.FillRect(&inverted, &red);
    EXPECT_EQ(d.Count(kRed), 0);
}

TEST(DrawingRules, FillSolidRectAcceptsNegativeSizesAndLeavesTheBackgroundColourSet) {
    Canvas c;
    c.dc.FillSolidRect(8, 2, -3, 4, kBlue);
    EXPECT_EQ(c.Extent(kBlue), CRect(5, 2, 8, 6));
    EXPECT_EQ(c.dc.GetBkColor(), kBlue);
}

TEST(DrawingRules, LineToLeavesOutItsEndPointInEveryDirection) {
    Canvas c;
    c.dc.MoveTo(1, 1);
    c.dc.LineTo(5, 1);
    EXPECT_EQ(c.Extent(kBlack), CRect(1, 1, 5, 2));

    Canvas left;
    left.dc.MoveTo(5, 1);
    left.dc.LineTo(1, 1);
    EXPECT_EQ(left.Extent(kBlack), CRect(2, 1, 6, 2));

    Canvas up;
    up.dc.MoveTo(3, 9);
    up.dc.LineTo(3, 2);
    EXPECT_EQ(up.Extent(kBlack), CRect(3, 3, 4, 10));

    Canvas diagonal;
    diagonal.dc.MoveTo(0, 0);
    diagonal.dc.LineTo(4, 4);
    EXPECT_EQ(diagonal.Count(kBlack), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(diagonal.At(i, i), kBlack) << i;
    EXPECT_EQ(diagonal.At(4, 4), kWhite);
    EXPECT_EQ(diagonal.dc.GetCurrentPosition(), CPoint(4, 4));
}

TEST(DrawingRules, ConnectedLinesDrawEachCornerOnce) {
    // Under XOR a corner drawn twice would vanish.
    Canvas c;
    c.dc.SetROP2(R2_XORPEN);
    CPen white(PS_SOLID, 1, kWhite);
    c.dc.SelectObject(&white);
    c.dc.MoveTo(2, 8);
    c.dc.LineTo(2, 2);
    c.dc.LineTo(8, 2);
    c.dc.LineTo(8, 8);
    EXPECT_EQ(c.At(2, 2), kBlack);
    EXPECT_EQ(c.At(8, 2), kBlack);
    EXPECT_EQ(c.At(8, 8), kWhite);
    EXPECT_EQ(c.Count(kBlack), 6 + 6 + 6);
}

TEST(DrawingRules, RectangleOutlinesInsideItsExtentAndFillsTheInside) {
    Canvas c;
    CBrush red(kRed);
    c.dc.SelectObject(&red);
    c.dc.Rectangle(2, 2, 7, 6);
    EXPECT_EQ(c.Extent(kBlack), CRect(2, 2, 7, 6));
    EXPECT_EQ(c.Extent(kRed), CRect(3, 3, 6, 5));
    EXPECT_EQ(c.Count(kBlack), 5 * 4 - 3 * 2);

    // Without a pen the fill stops one pixel short on the right and below.
    Canvas n;
    n.dc.SelectObject(&red);
    n.dc.SelectStockObject(NULL_PEN);
    n.dc.Rectangle(2, 2, 7, 6);
    EXPECT_EQ(n.Extent(kRed), CRect(2, 2, 6, 5));
    EXPECT_EQ(n.Count(kBlack), 0);

    // A hollow brush leaves the inside alone.
    Canvas h;
    h.dc.SelectStockObject(NULL_BRUSH);
    h.dc.Rectangle(1, 1, 5, 5);
    EXPECT_EQ(h.At(2, 2), kWhite);
    EXPECT_EQ(h.Extent(kBlack), CRect(1, 1, 5, 5));
}

TEST(DrawingRules, FrameRectIsOnePixelInsideTheRectangle) {
    Canvas c;
    CBrush blue(kBlue);
    const CRect r(1, 1, 6, 5);
    c.dc.FrameRect(&r, &blue);
    EXPECT_EQ(c.Extent(kBlue), r);
    EXPECT_EQ(c.Count(kBlue), 5 * 4 - 3 * 2);
    EXPECT_EQ(c.At(2, 2), kWhite);
}

TEST(DrawingRules, Draw3dRectGivesBothOuterCornersToTheBottomRightColour) {
    Canvas c;
    const CRect r(0, 0, 6, 5);
    c.dc.Draw3dRect(&r, kRed, kBlue);
    EXPECT_EQ(c.At(0, 0), kRed);
    EXPECT_EQ(c.At(4, 0), kRed);
    EXPECT_EQ(c.At(0, 3), kRed);
    EXPECT_EQ(c.At(5, 0), kBlue); // top right
    EXPECT_EQ(c.At(0, 4), kBlue); // bottom left
    EXPECT_EQ(c.At(5, 4), kBlue);
    EXPECT_EQ(c.At(1, 1), kWhite);
    EXPECT_EQ(c.Extent(kBlue), CRect(0, 0, 6, 5));
    EXPECT_EQ(c.Count(kRed), 5 + 4 - 1);
}

TEST(DrawingRules, DrawEdgeUsesTheClassicEdgeColours) {
    Canvas c;
    CRect r(1, 1, 9, 9);
    c.dc.DrawEdge(&r, BDR_SUNKENINNER, BF_RECT);
    EXPECT_EQ(c.At(1, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(7, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(8, 1), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(1, 8), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(2, 2), kWhite);
    EXPECT_EQ(c.At(9, 9), kWhite);
    EXPECT_EQ(r, CRect(1, 1, 9, 9)); // unchanged without BF_ADJUST

    Canvas s;
    CRect edge(0, 0, 10, 10);
    s.dc.DrawEdge(&edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(edge, CRect(2, 2, 8, 8));
    EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(s.At(9, 9), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(s.At(1, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(s.At(8, 8), GetSysColor(COLOR_3DLIGHT));

    Canvas raised;
    CRect top(0, 4, 10, 8);
    raised.dc.DrawEdge(&top, EDGE_ETCHED, BF_TOP);
    EXPECT_EQ(raised.At(5, 4), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(raised.At(5, 5), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(raised.At(5, 6), kWhite);
}

TEST(DrawingRules, XorDrawingTwiceRestoresTheImage) {
    Canvas c(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            c.image.setPixel(x, y, qRgb(x * 16, y * 16, (x * y) & 0xFF));
    const QImage before = c.image.copy();

    CPen pen(PS_SOLID, 1, RGB(0x5A, 0xA5, 0x3C));
    CBrush brush(RGB(0x12, 0x34, 0x56));
    c.dc.SelectObject(&pen);
    c.dc.SelectObject(&brush);
    c.dc.SetROP2(R2_XORPEN);
    const CRect band(3, 0, 5, 16);
    const CRect focus(1, 1, 14, 9);
    auto draw = [&] {
        c.dc.MoveTo(0, 15);
        c.dc.LineTo(15, 2);
        c.dc.Rectangle(2, 2, 12, 12);
        c.dc.InvertRect(&band);
        c.dc.DrawFocusRect(&focus);
        c.dc.PatBlt(6, 6, 4, 4, PATINVERT);
    };
    draw();
    EXPECT_NE(c.image, before);
    // One XOR of the pen over a known pixel.
    const QRgb p = before.pixel(7, 2);
    EXPECT_EQ(c.At(7, 2), RGB(static_cast<BYTE>(qRed(p) ^ 0x5A), static_cast<BYTE>(qGreen(p) ^ 0xA5),
                              static_cast<BYTE>(qBlue(p) ^ 0x3C)));
    draw();
    EXPECT_EQ(c.image, before);
}

TEST(DrawingRules, InvertRectInvertsEveryChannel) {
    Canvas c;
    c.image.setPixel(2, 2, qRgb(10, 200, 30));
    const CRect r(2, 2, 3, 3);
    c.dc.InvertRect(&r);
    EXPECT_EQ(c.At(2, 2), RGB(245, 55, 225));
    EXPECT_EQ(qAlpha(c.image.pixel(2, 2)), 255);
}

TEST(DrawingRules, FocusRectangleDotsEveryOtherPixel) {
    Canvas c;
    const CRect r(0, 0, 6, 4);
    c.dc.DrawFocusRect(&r);
    EXPECT_EQ(c.At(0, 0), kBlack);
    EXPECT_EQ(c.At(1, 0), kWhite);
    EXPECT_EQ(c.At(2, 0), kBlack);
    EXPECT_EQ(c.At(1, 1), kWhite); // inside
    EXPECT_EQ(c.Extent(kBlack).right, 6);
    EXPECT_EQ(c.Extent(kBlack).bottom, 4);
}

TEST(DrawingRules, ClippingLimitsEveryDrawingAndGetClipBoxReportsIt) {
    Canvas c(20, 20);
    CRect box;
    EXPECT_EQ(c.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(0, 0, 20, 20));

    c.dc.IntersectClipRect(2, 2, 12, 12);
    EXPECT_EQ(c.dc.ExcludeClipRect(5, 5, 8, 8), COMPLEXREGION);
    EXPECT_EQ(c.dc.GetClipBox(&box), COMPLEXREGION);
    EXPECT_EQ(box, CRect(2, 2, 12, 12));
    c.dc.FillSolidRect(0, 0, 20, 20, kRed);
    EXPECT_EQ(c.Extent(kRed), CRect(2, 2, 12, 12));
    EXPECT_EQ(c.At(6, 6), kWhite);
    EXPECT_EQ(c.dc.GetPixel(6, 6), CLR_INVALID);
    EXPECT_EQ(c.dc.SetPixel(1, 1, kBlue), CLR_INVALID);
    EXPECT_EQ(c.At(1, 1), kWhite);

    c.dc.SelectClipRgn(nullptr);
    c.dc.FillSolidRect(0, 0, 1, 1, kBlue);
    EXPECT_EQ(c.At(0, 0), kBlue);

    // Clipped away entirely.
    c.dc.IntersectClipRect(30, 30, 40, 40);
    EXPECT_EQ(c.dc.GetClipBox(&box), NULLREGION);
    EXPECT_EQ(box, CRect(0, 0, 0, 0));
}

TEST(DrawingRules, SaveDCAndRestoreDCBringBackObjectsColoursClipAndOrigin) {
    Canvas c(20, 20);
    CPen red(PS_SOLID, 1, kRed);
    CPen* original = c.dc.SelectObject(&red);
    ASSERT_NE(original, nullptr);
    const int level = c.dc.SaveDC();
    EXPECT_EQ(level, 1);

    CPen blue(PS_SOLID, 1, kBlue);
    c.dc.SelectObject(&blue);
    c.dc.SetTextColor(kBlue);
    c.dc.SetBkMode(TRANSPARENT);
    c.dc.SetWindowOrg(5, 5);
    c.dc.IntersectClipRect(0, 0, 1, 1);
    EXPECT_EQ(c.dc.SaveDC(), 2);

    EXPECT_TRUE(c.dc.RestoreDC(-1));
    EXPECT_EQ(c.dc.GetWindowOrg(), CPoint(5, 5));
    EXPECT_TRUE(c.dc.RestoreDC(level));
    EXPECT_EQ(c.dc.GetWindowOrg(), CPoint(0, 0));
    EXPECT_EQ(c.dc.GetTextColor(), kBlack);
    EXPECT_EQ(c.dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(c.dc.GetCurrentPen(), &red);
    c.dc.MoveTo(0, 10);
    c.dc.LineTo(20, 10);
    EXPECT_EQ(c.Count(kRed), 20);

    EXPECT_FALSE(c.dc.RestoreDC(1)); // nothing saved any more
    EXPECT_FALSE(c.dc.RestoreDC(0));
}

TEST(DrawingRules, WindowOriginShiftsDrawingAndClipBox) {
    Canvas c(20, 20);
    const CPoint old = c.dc.SetWindowOrg(4, 6);
    EXPECT_EQ(old, CPoint(0, 0));
    c.dc.FillSolidRect(4, 6, 2, 2, kRed);
    EXPECT_EQ(c.Extent(kRed), CRect(0, 0, 2, 2));
    CRect box;
    c.dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(4, 6, 24, 26));
    EXPECT_EQ(c.dc.GetPixel(4, 6), kRed);
}

TEST(DrawingRules, AnisotropicMappingScalesLogicalUnits) {
    Canvas c(40, 40);
    c.dc.SetMapMode(MM_ANISOTROPIC);
    c.dc.SetWindowExt(100, 50);
    c.dc.SetViewportExt(200, 150);
    c.dc.SetViewportOrg(2, 1);
    c.dc.FillSolidRect(0, 0, 10, 10, kRed);
    EXPECT_EQ(c.Extent(kRed), CRect(2, 1, 22, 31));
    CPoint p(10, 10);
    c.dc.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(22, 31));
    c.dc.DPtoLP(&p);
    EXPECT_EQ(p, CPoint(10, 10));

    // Back to one pixel a unit; the extents are forgotten.
    c.dc.SetMapMode(MM_TEXT);
    c.dc.SetWindowExt(7, 7);
    EXPECT_EQ(c.dc.GetWindowExt(), CSize(1, 1));
}

TEST(DrawingRules, PixelsReadBackWhatWasSetAndNothingOutsideTheImage) {
    Canvas c;
    EXPECT_EQ(c.dc.SetPixel(3, 4, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(c.dc.GetPixel(3, 4), RGB(1, 2, 3));
    EXPECT_EQ(c.dc.GetPixel(-1, 0), CLR_INVALID);
    EXPECT_EQ(c.dc.GetPixel(12, 0), CLR_INVALID);
    EXPECT_EQ(c.dc.SetPixel(12, 12, kRed), CLR_INVALID);
}

} // namespace

namespace {

TEST(DrawingRules, AbsurdCoordinatesNeitherCrashNorHang) {
    Canvas c;
    const int big = 2147483647, small = -2147483647 - 1;
    c.dc.MoveTo(small, small);
    c.dc.LineTo(big, big - 7);
    c.dc.MoveTo(small, 5);
    c.dc.LineTo(big, 5);
    EXPECT_EQ(c.At(0, 5), kBlack);
    EXPECT_EQ(c.At(11, 5), kBlack);
    c.dc.Rectangle(small, small, big, big);
    c.dc.Ellipse(small, 0, big, 10);
    const CRect huge(small, small, big, big);
    CBrush red(kRed);
    c.dc.FillRect(&huge, &red);
    EXPECT_EQ(c.Count(kRed), 12 * 12);
    c.dc.SetMapMode(MM_ANISOTROPIC);
    c.dc.SetWindowExt(1, 1);
    c.dc.SetViewportExt(100000, 100000);
    c.dc.FillSolidRect(0, 0, 100000, 100000, kBlue);
    EXPECT_EQ(c.At(11, 11), kBlue);
    RECT text{small, small, big, big};
    c.dc.DrawText("x", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

} // namespace
