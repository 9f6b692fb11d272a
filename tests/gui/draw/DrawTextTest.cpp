#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Glyph shapes differ from the original platform, so these tests look only at where ink lands and at
// measured extents, never at glyph pixels.
struct TextCanvas {
    TextCanvas(int w = 200, int h = 60) : image(w, h, QImage::Format_RGB32) {
        image.fill(Qt::white);
        dc.AttachImage(&image);
        dc.SetBkMode(TRANSPARENT);
    }
    // The rectangle covering every non-white pixel; empty when nothing was drawn.
    CRect Ink() const {
        CRect r(image.width(), image.height(), -1, -1);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r.right < 0 ? CRect() : r;
    }
    int LineHeight() const { return dc.GetTextExtent("X", 1).cy; }
    QImage image;
    CDC dc;
};

// Ink of a glyph may overhang its advance by a pixel.
void ExpectInside(const CRect& ink, const CRect& box) {
    EXPECT_GE(ink.left, box.left - 1) << "ink " << ink.left << " box " << box.left;
    EXPECT_LE(ink.right, box.right + 1) << "ink " << ink.right << " box " << box.right;
    EXPECT_GE(ink.top, box.top - 1);
    EXPECT_LE(ink.bottom, box.bottom + 1);
}

TEST(DrawText, AlignsLeftCentreAndRightWithinTheRectangle) {
    const char* text = "HHHH";
    for (UINT align : {DT_LEFT, DT_CENTER, DT_RIGHT}) {
        TextCanvas c;
        const CSize size = c.dc.GetTextExtent(text, -1);
        CRect r(20, 10, 180, 50);
        c.dc.DrawText(text, -1, &r, align | DT_SINGLELINE);
        int left = r.left;
        if (align == DT_CENTER)
            left += (r.Width() - size.cx) / 2;
        if (align == DT_RIGHT)
            left = r.right - size.cx;
        const CRect ink = c.Ink();
        ASSERT_FALSE(ink.IsRectEmpty()) << align;
        ExpectInside(ink, CRect(left, r.top, left + size.cx, r.top + size.cy));
        EXPECT_EQ(r, CRect(20, 10, 180, 50)); // drawing leaves the rectangle alone
    }
}

TEST(DrawText, CentresASingleLineVerticallyOnlyWithSingleLine) {
    TextCanvas c;
    const int h = c.LineHeight();
    CRect r(0, 0, 200, 60);
    const int result = c.dc.DrawText("HHHH", -1, &r, DT_SINGLELINE | DT_VCENTER);
    const int top = (60 - h) / 2;
    EXPECT_EQ(result, top + h);
    ExpectInside(c.Ink(), CRect(0, top, 200, top + h));

    TextCanvas bottom;
    CRect b(0, 0, 200, 60);
    bottom.dc.DrawText("HHHH", -1, &b, DT_SINGLELINE | DT_BOTTOM);
    ExpectInside(bottom.Ink(), CRect(0, 60 - h, 200, 60));

    // Without DT_SINGLELINE the centring flag is ignored and text starts at the top.
    TextCanvas multi;
    CRect m(0, 0, 200, 60);
    EXPECT_EQ(multi.dc.DrawText("HHHH", -1, &m, DT_VCENTER), h);
    ExpectInside(multi.Ink(), CRect(0, 0, 200, h));
}

TEST(DrawText, WordBreakWrapsAtSpacesAndMeasuresTheLines) {
    TextCanvas c;
    const int h = c.LineHeight();
    const int word = c.dc.GetTextExtent("aaa bbb", -1).cx;
    CRect r(0, 0, word + 2, 0);
    const int height = c.dc.DrawText("aaa bbb ccc ddd", -1, &r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(height, 2 * h);
    EXPECT_EQ(r.bottom, 2 * h);
    EXPECT_LE(r.Width(), word + 2);
    EXPECT_EQ(c.Ink(), CRect()); // measuring draws nothing

    // A word wider than the rectangle keeps its line and widens the measured rectangle.
    CRect narrow(0, 0, 5, 0);
    c.dc.DrawText("wide words", -1, &narrow, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(narrow.Height(), 2 * h);
    EXPECT_EQ(narrow.Width(), c.dc.GetTextExtent("words", -1).cx);

    // Drawn, the second line lies below the first.
    CRect drawn(0, 0, word + 2, 60);
    c.dc.DrawText("aaa bbb ccc ddd", -1, &drawn, DT_WORDBREAK);
    const CRect ink = c.Ink();
    EXPECT_GT(ink.bottom, h);
    EXPECT_LE(ink.bottom, 2 * h + 1);

    // Line ends always break, with or without DT_WORDBREAK.
    CRect lines(0, 0, 200, 0);
    c.dc.DrawText("one\r\ntwo\nthree", -1, &lines, DT_CALCRECT);
    EXPECT_EQ(lines.Height(), 3 * h);
    EXPECT_EQ(lines.Width(), c.dc.GetTextExtent("three", -1).cx);
}

TEST(DrawText, CalcRectMeasuresASingleLineFromTheLeftEdge) {
    TextCanvas c;
    const CSize size = c.dc.GetTextExtent("Channel 12", -1);
    CRect r(10, 5, 11, 6);
    EXPECT_EQ(c.dc.DrawText("Channel 12", -1, &r, DT_SINGLELINE | DT_CENTER | DT_CALCRECT), size.cy);
    EXPECT_EQ(r, CRect(10, 5, 10 + size.cx, 5 + size.cy));
    EXPECT_EQ(c.Ink(), CRect());

    // The count limits the text; a count past the terminating zero stops there.
    CRect part(0, 0, 0, 0);
    c.dc.DrawText("Channel 12", 7, &part, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(part.Width(), c.dc.GetTextExtent("Channel", -1).cx);
    CRect past(0, 0, 0, 0);
    c.dc.DrawText("Chan", 400, &past, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(past.Width(), c.dc.GetTextExtent("Chan", -1).cx);
}

TEST(DrawText, EndEllipsisShortensTextThatDoesNotFit) {
    const char* text = "A long cell text that cannot fit";
    TextCanvas c;
    CRect r(10, 0, 70, 20);
    c.dc.DrawText(text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP | DT_NOPREFIX);
    const CRect ink = c.Ink();
    EXPECT_LE(ink.right, 71);
    EXPECT_GT(ink.right, 40); // most of the width is used

    // Without the ellipsis the same text runs past the rectangle when not clipped ...
    TextCanvas run;
    CRect r2 = r;
    run.dc.DrawText(text, -1, &r2, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(run.Ink().right, 100);
    // ... and is cut at its edge when clipped.
    TextCanvas cut;
    CRect r3 = r;
    cut.dc.DrawText(text, -1, &r3, DT_SINGLELINE);
    EXPECT_LE(cut.Ink().right, 70);

    // Text that fits is left whole.
    TextCanvas fits;
    CRect wide(0, 0, 200, 20);
    fits.dc.DrawText("Short", -1, &wide, DT_SINGLELINE | DT_END_ELLIPSIS);
    const CSize size = fits.dc.GetTextExtent("Short", -1);
    ExpectInside(fits.Ink(), CRect(0, 0, size.cx, size.cy));
    EXPECT_GE(fits.Ink().right, size.cx - 2);
}

TEST(DrawText, PrefixesAreRemovedUnlessNoPrefix) {
    TextCanvas c;
    CRect a(0, 0, 0, 0), b(0, 0, 0, 0), d(0, 0, 0, 0);
    c.dc.DrawText("&Open", -1, &a, DT_SINGLELINE | DT_CALCRECT);
    c.dc.DrawText("&Open", -1, &b, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    c.dc.DrawText("A&&B", -1, &d, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(a.Width(), c.dc.GetTextExtent("Open", -1).cx);
    EXPECT_EQ(b.Width(), c.dc.GetTextExtent("&Open", -1).cx);
    EXPECT_EQ(d.Width(), c.dc.GetTextExtent("A&B", -1).cx);
}

TEST(DrawText, OpaqueBackgroundFillsBehindTheTextOnly) {
    TextCanvas c;
    c.dc.SetBkMode(OPAQUE);
    c.dc.SetBkColor(RGB(0, 255, 0));
    const CSize size = c.dc.GetTextExtent("HH", -1);
    CRect r(5, 5, 150, 50);
    c.dc.DrawText("HH", -1, &r, DT_SINGLELINE);
    EXPECT_EQ(c.image.pixel(5, 5) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(c.image.pixel(5 + size.cx, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(c.image.pixel(5, 5 + size.cy) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(DrawText, GbkTextIsMeasuredAndDrawnAsItsCharacters) {
    TextCanvas c;
    const char* gbk = "\xC7\xBD\xC3\xE6"; // two Chinese characters
    const CSize size = c.dc.GetTextExtent(gbk, -1);
    const QFontMetrics fm(QFontFromLogFont(LogFontFromQFont(QGuiApplication::font())));
    EXPECT_EQ(size.cx, fm.horizontalAdvance(QString::fromUtf8("\xE5\xA2\x99\xE9\x9D\xA2")));
    EXPECT_GT(size.cx, c.dc.GetTextExtent("\xC7\xBD", -1).cx);
    EXPECT_EQ(size.cy, c.LineHeight());

    CRect r(10, 10, 190, 50);
    c.dc.DrawText(gbk, -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    const CRect ink = c.Ink();
    ASSERT_FALSE(ink.IsRectEmpty());
    ExpectInside(ink, CRect(10, 10, 10 + size.cx, 10 + size.cy));

    // Wide characters break without spaces between them.
    CRect wrap(0, 0, c.dc.GetTextExtent("\xC7\xBD", -1).cx, 0);
    c.dc.DrawText(gbk, -1, &wrap, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(wrap.Height(), 2 * size.cy);

    // A lone lead byte at the end is drawn as one replacement character, not read past.
    CRect bad(0, 0, 0, 0);
    EXPECT_GT(c.dc.DrawText("ab\xC7", -1, &bad, DT_SINGLELINE | DT_CALCRECT), 0);
    EXPECT_GT(bad.Width(), c.dc.GetTextExtent("ab", -1).cx);
}

TEST(DrawText, TextOutHonoursAlignmentAndUpdatesThePosition) {
    TextCanvas c;
    const CSize size = c.dc.GetTextExtent("HH", -1);
    c.dc.SetTextAlign(TA_RIGHT | TA_TOP);
    c.dc.TextOut(100, 10, "HH", 2);
    ExpectInside(c.Ink(), CRect(100 - size.cx, 10, 100, 10 + size.cy));

    TextCanvas u;
    u.dc.SetTextAlign(TA_UPDATECP);
    u.dc.MoveTo(5, 5);
    u.dc.TextOut(0, 0, "HH", 2);
    EXPECT_EQ(u.dc.GetCurrentPosition(), CPoint(5 + size.cx, 5));
}

TEST(DrawText, MetricsAgreeWithExtentsAndTheSelectedFont) {
    TextCanvas c;
    TEXTMETRIC tm{};
    ASSERT_TRUE(c.dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, c.LineHeight());
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmOverhang, 0);
    EXPECT_EQ(c.dc.GetTextExtent("", 0), CSize(0, tm.tmHeight));

    LOGFONT lf{};
    lf.lfHeight = -24;
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, "DejaVu Sans");
    CFont big;
    ASSERT_TRUE(big.CreateFontIndirect(&lf));
    CFont* old = c.dc.SelectObject(&big);
    ASSERT_NE(old, nullptr);
    TEXTMETRIC bigTm{};
    c.dc.GetTextMetrics(&bigTm);
    EXPECT_GT(bigTm.tmHeight, tm.tmHeight);
    EXPECT_EQ(bigTm.tmWeight, FW_BOLD);
    EXPECT_GT(c.dc.GetTextExtent("HH", -1).cx, 0);
    c.dc.SelectObject(old);
    TEXTMETRIC again{};
    c.dc.GetTextMetrics(&again);
    EXPECT_EQ(again.tmHeight, tm.tmHeight);

    LOGFONT back{};
    EXPECT_EQ(big.GetLogFont(&back), static_cast<int>(sizeof(LOGFONT)));
    EXPECT_EQ(back.lfHeight, -24);
    EXPECT_STREQ(back.lfFaceName, "DejaVu Sans");
}

TEST(DrawText, ANewDcMeasuresWithTheApplicationFont) {
    // The grid sizes its default cells from these two texts.
    TextCanvas c;
    const QFontMetrics fm(QGuiApplication::font());
    EXPECT_EQ(c.dc.GetTextExtent(" ", 1), CSize(fm.horizontalAdvance(" "), fm.height()));
    EXPECT_EQ(c.dc.GetTextExtent(" XXXXXXXXXXXX ", 14).cx, fm.horizontalAdvance(" XXXXXXXXXXXX "));
}

TEST(DrawText, DefaultGuiFontIsTheApplicationFontInPixels) {
    LOGFONT lf{};
    ASSERT_EQ(GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_LT(lf.lfHeight, 0);
    const QFont font = QFontFromLogFont(lf);
    EXPECT_EQ(font.pixelSize(), -lf.lfHeight);
    EXPECT_EQ(LogFontFromQFont(font).lfHeight, lf.lfHeight);
}

} // namespace
