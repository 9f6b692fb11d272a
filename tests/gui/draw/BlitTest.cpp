#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// A memory DC holding a new colour bitmap filled with one colour.
struct MemoryDC {
    MemoryDC(int w, int h, COLORREF fill) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, w, h);
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, fill);
    }
    ~MemoryDC() { dc.SelectObject(old); }
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
};

TEST(Blit, CopiesWithTheRasterOperationsInUse) {
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(QColor(0x0F, 0xF0, 0x33));
    CDC dc;
    dc.AttachImage(&image);
    MemoryDC src(4, 4, RGB(0xF0, 0x3C, 0x11));

    EXPECT_TRUE(dc.BitBlt(0, 0, 2, 2, &src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(Pixel(image, 1, 1), 0xF03C11u);
    EXPECT_EQ(Pixel(image, 2, 2), 0x0FF033u); // right and bottom left out

    EXPECT_TRUE(dc.BitBlt(3, 0, 2, 2, &src.dc, 0, 0, SRCAND));
    EXPECT_EQ(Pixel(image, 3, 0), 0x003011u);
    EXPECT_TRUE(dc.BitBlt(6, 0, 2, 2, &src.dc, 0, 0, SRCPAINT));
    EXPECT_EQ(Pixel(image, 6, 0), 0xFFFC33u);
    EXPECT_TRUE(dc.BitBlt(0, 3, 2, 2, &src.dc, 0, 0, SRCINVERT));
    EXPECT_EQ(Pixel(image, 0, 3), 0xFFCC22u);
    EXPECT_TRUE(dc.BitBlt(3, 3, 2, 2, &src.dc, 0, 0, NOTSRCCOPY));
    EXPECT_EQ(Pixel(image, 3, 3), 0x0FC3EEu);

    // Raster operations without a source.
    CBrush blue(RGB(0, 0, 0xFF));
    dc.SelectObject(&blue);
    EXPECT_TRUE(dc.PatBlt(6, 3, 2, 2, PATCOPY));
    EXPECT_EQ(Pixel(image, 7, 4), 0x0000FFu);
    EXPECT_TRUE(dc.BitBlt(6, 6, 2, 2, nullptr, 0, 0, WHITENESS));
    EXPECT_EQ(Pixel(image, 6, 6), 0xFFFFFFu);
    EXPECT_TRUE(dc.PatBlt(6, 6, 2, 2, DSTINVERT));
    EXPECT_EQ(Pixel(image, 6, 6), 0x000000u);

    // Unknown operations and missing sources are refused, not guessed.
    EXPECT_FALSE(dc.BitBlt(0, 0, 2, 2, &src.dc, 0, 0, 0x00123456));
    EXPECT_FALSE(dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
}

TEST(Blit, ReadsOnlyWhatTheSourceHas) {
    QImage image(6, 6, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    MemoryDC src(2, 2, RGB(0, 0, 0));
    EXPECT_TRUE(dc.BitBlt(0, 0, 6, 6, &src.dc, -1, -1, SRCCOPY));
    EXPECT_EQ(Pixel(image, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Pixel(image, 1, 1), 0x000000u);
    EXPECT_EQ(Pixel(image, 2, 2), 0x000000u);
    EXPECT_EQ(Pixel(image, 3, 3), 0xFFFFFFu);
}

TEST(Blit, MemoryDCWithAWindowOriginBuffersInTheTargetsCoordinates) {
    // The pattern of a double buffer: draw in target coordinates into a bitmap of the clip box, copy back.
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC target;
    target.AttachImage(&image);
    target.IntersectClipRect(5, 5, 15, 12);
    CRect box;
    target.GetClipBox(&box);

    CDC memory;
    memory.CreateCompatibleDC(&target);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&target, box.Width(), box.Height());
    CBitmap* old = memory.SelectObject(&bitmap);
    memory.SetWindowOrg(box.left, box.top);
    memory.FillSolidRect(&box, RGB(0, 0, 255));
    memory.FillSolidRect(6, 6, 2, 2, RGB(255, 0, 0));
    target.BitBlt(box.left, box.top, box.Width(), box.Height(), &memory, box.left, box.top, SRCCOPY);
    memory.SelectObject(old);

    EXPECT_EQ(Pixel(image, 6, 6), 0xFF0000u);
    EXPECT_EQ(Pixel(image, 5, 5), 0x0000FFu);
    EXPECT_EQ(Pixel(image, 14, 11), 0x0000FFu);
    EXPECT_EQ(Pixel(image, 15, 11), 0xFFFFFFu);
    EXPECT_EQ(Pixel(image, 4, 5), 0xFFFFFFu);
}

TEST(Blit, MonochromeBitmapsMapThroughTextAndBackgroundColours) {
    QImage image(8, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    dc.SetTextColor(RGB(255, 0, 0));
    dc.SetBkColor(RGB(0, 255, 0));

    const unsigned char bits[] = {0xF0, 0x00};
    CBitmap mono;
    ASSERT_TRUE(mono.CreateBitmap(8, 1, 1, 1, bits));
    CDC src;
    src.CreateCompatibleDC(&dc);
    CBitmap* old = src.SelectObject(&mono);
    EXPECT_EQ(src.GetDeviceCaps(BITSPIXEL), 1);
    EXPECT_EQ(src.GetDeviceCaps(NUMCOLORS), 2);
    dc.BitBlt(0, 0, 8, 1, &src, 0, 0, SRCCOPY);
    EXPECT_EQ(Pixel(image, 0, 0), 0x00FF00u); // set bit: background colour
    EXPECT_EQ(Pixel(image, 7, 0), 0xFF0000u); // clear bit: text colour

    // Colour into monochrome: the source's background colour becomes white, all else black.
    MemoryDC colour(8, 1, RGB(10, 20, 30));
    colour.dc.SetPixel(2, 0, RGB(1, 2, 3));
    colour.dc.SetBkColor(RGB(10, 20, 30));
    src.BitBlt(0, 0, 8, 1, &colour.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(src.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(src.GetPixel(2, 0), RGB(0, 0, 0));
    src.SelectObject(old);
}

TEST(Blit, StretchBltScalesAndMirrors) {
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    MemoryDC src(2, 1, RGB(255, 0, 0));
    src.dc.SetPixel(1, 0, RGB(0, 0, 255));
    EXPECT_TRUE(dc.StretchBlt(0, 0, 8, 2, &src.dc, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(Pixel(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(Pixel(image, 3, 1), 0xFF0000u);
    EXPECT_EQ(Pixel(image, 4, 1), 0x0000FFu);
    EXPECT_EQ(Pixel(image, 0, 2), 0xFFFFFFu);
    EXPECT_TRUE(dc.StretchBlt(8, 2, -8, 2, &src.dc, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(Pixel(image, 0, 3), 0x0000FFu);
    EXPECT_EQ(Pixel(image, 7, 3), 0xFF0000u);
}

TEST(Blit, BitmapsKeepTheirPixelsAcrossSelections) {
    CBitmap bitmap;
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(QColor(20, 40, 60));
    picture.setPixel(0, 0, qRgba(255, 255, 255, 0)); // transparency is dropped onto black
    ASSERT_TRUE(bitmap.CreateFromImage(picture));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(20, 40, 60));
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 0));
    dc.SetPixel(2, 1, RGB(7, 8, 9));
    dc.SelectObject(old);
    EXPECT_EQ(bitmap.GetImage().pixel(2, 1) & 0xFFFFFF, 0x070809u);
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 0)); // the 1 x 1 stock bitmap again
    EXPECT_EQ(dc.GetPixel(1, 0), CLR_INVALID);

    // Drawing on a fresh memory DC never changes the stock bitmap every other memory DC starts with.
    CDC fresh;
    fresh.CreateCompatibleDC(nullptr);
    fresh.SetPixel(0, 0, RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 0));

    // A bitmap goes only into a memory DC.
    QImage image(2, 2, QImage::Format_RGB32);
    CDC imageDC;
    imageDC.AttachImage(&image);
    EXPECT_EQ(imageDC.SelectObject(&bitmap), nullptr);
}

} // namespace
