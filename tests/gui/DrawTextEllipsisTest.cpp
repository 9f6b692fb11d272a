#include "platform/gui/DC.h"

#include <QImage>

#include <gtest/gtest.h>

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
