#include "platform/gui/draw/DC.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The columns that hold ink, as [first, last]; (-1, -1) when nothing was drawn.
std::pair<int, int> InkColumns(const QImage& image) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

} // namespace

// Glyph shapes differ from the original platform: only where the ink lands is checked.
TEST(DrawTextEllipsis, AShortenedLineIsAlignedByItsShortenedWidth) {
    const char* text = "A long cell text that cannot fit in sixty pixels";
    for (UINT align : {DT_RIGHT, DT_CENTER}) {
        QImage image(200, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        CDC dc;
        ASSERT_TRUE(dc.AttachImage(&image));
        dc.SetBkMode(TRANSPARENT);
        CRect r(70, 0, 130, 20);
        dc.DrawText(text, -1, &r, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOCLIP | DT_NOPREFIX);
        const auto [first, last] = InkColumns(image);
        // The text with its dots fills the rectangle and stays inside it (a glyph may overhang by a pixel).
        EXPECT_GE(first, 69) << align;
        EXPECT_LE(last, 130) << align;
        EXPECT_GT(last - first, 40) << align;
        dc.DetachImage();
    }
}

namespace {

// What the platform keeps of a line that does not fit: the most characters that still fit with "...".
std::string Shortened(const CDC& dc, const std::string& text, int width) {
    if (dc.GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx <= width)
        return text;
    // Where characters end: a GBK character with a lead byte from 0x81 on is two bytes, never cut in half.
    std::vector<size_t> ends{0};
    for (size_t at = 0; at < text.size();)
        ends.push_back(at += static_cast<unsigned char>(text[at]) >= 0x81 ? 2 : 1);
    for (size_t i = ends.size() - 1; i > 0; i--) {
        const std::string tried = text.substr(0, ends[i]) + "...";
        if (dc.GetTextExtent(tried.c_str(), static_cast<int>(tried.size())).cx <= width)
            return tried;
    }
    return "...";
}

QImage Drawn(const std::string& text, int width, UINT format) {
    QImage image(220, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    dc.SetBkMode(TRANSPARENT);
    CRect r(2, 0, 2 + width, 20);
    dc.DrawText(text.c_str(), -1, &r, format);
    dc.DetachImage();
    return image;
}

} // namespace

TEST(DrawTextEllipsis, EveryWidthKeepsTheMostCharactersThatFitBeforeTheDots) {
    QImage probe(1, 1, QImage::Format_RGB32);
    CDC measure;
    measure.AttachImage(&probe);
    const std::string texts[] = {
        "A long cell text that cannot fit",
        "AVAVAV To Ta Yo WAW LT", // pairs that fonts kern
        "R100000C50",
        "\xC7\xBD\xC3\xE6 A \xB4\xAE\xBF\xDA \xC7\xBD\xC3\xE6", // Chinese and ASCII
        "iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii",
    };
    for (const std::string& text : texts) {
        const int full = measure.GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx;
        for (int width = 0; width <= full + 2; width++) {
            for (UINT align : {DT_LEFT, DT_RIGHT}) {
                const UINT plain = align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
                const QImage elided = Drawn(text, width, plain | DT_END_ELLIPSIS);
                const QImage expected = Drawn(Shortened(measure, text, width), width, plain);
                ASSERT_EQ(elided, expected) << text << " in " << width << " pixels, alignment " << align;
            }
        }
    }
    measure.DetachImage();
}
