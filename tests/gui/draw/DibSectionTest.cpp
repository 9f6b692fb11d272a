#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/SysColor.h"
#include "tests/support/TempDir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace {

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// A header with a colour table behind it, laid out in one block as a caller builds it.
struct DibInfo {
    DibInfo(LONG width, LONG height, WORD bits, std::vector<RGBQUAD> colors = {})
        : block(sizeof(BITMAPINFOHEADER) + colors.size() * sizeof(RGBQUAD) + sizeof(RGBQUAD)) {
        BITMAPINFOHEADER h{};
        h.biSize = sizeof(BITMAPINFOHEADER);
        h.biWidth = width;
        h.biHeight = height;
        h.biPlanes = 1;
        h.biBitCount = bits;
        h.biCompression = BI_RGB;
        h.biClrUsed = static_cast<DWORD>(colors.size()); // a short table; the rest of the indexes are black
        std::memcpy(block.data(), &h, sizeof h);
        if (!colors.empty())
            std::memcpy(block.data() + sizeof h, colors.data(), colors.size() * sizeof(RGBQUAD));
    }
    BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(block.data()); }
    std::vector<unsigned char> block;
};

// Draws the whole section through a memory DC onto a fresh image, as a caller shows its bitmap.
QImage Show(HBITMAP section, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    CDC target;
    target.AttachImage(&image);
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(memory, section);
    EXPECT_TRUE(BitBlt(target, 0, 0, w, h, memory, 0, 0, SRCCOPY));
    SelectObject(memory, old);
    DeleteDC(memory);
    return image;
}

const RGBQUAD kRed{0, 0, 255, 0};
const RGBQUAD kBlue{255, 0, 0, 0};
const RGBQUAD kGreen{0, 255, 0, 0};

} // namespace

TEST(DibSection, BottomUpRowsShowTheLastRowOnTopAndFollowLaterWrites) {
    DibInfo info(3, 2, 8, {kRed, kGreen, kBlue});
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    auto* rows = static_cast<unsigned char*>(bits);
    // Rows are 4 bytes (3 padded); the first row in memory is the bottom one.
    const unsigned char memory[8] = {0, 1, 2, 0xEE, 2, 2, 2, 0xEE};
    std::memcpy(rows, memory, sizeof memory);

    QImage shown = Show(section, 3, 2);
    EXPECT_EQ(Pixel(shown, 0, 1), 0xFF0000u);
    EXPECT_EQ(Pixel(shown, 1, 1), 0x00FF00u);
    EXPECT_EQ(Pixel(shown, 2, 1), 0x0000FFu);
    EXPECT_EQ(Pixel(shown, 0, 0), 0x0000FFu);

    // The caller writes again between draws; the next draw shows it.
    rows[4] = 1;
    shown = Show(section, 3, 2);
    EXPECT_EQ(Pixel(shown, 0, 0), 0x00FF00u);

    BITMAP bm{};
    ASSERT_EQ(GetObject(section, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmBits, bits);
    EXPECT_EQ(bm.bmWidthBytes, 4);
    EXPECT_EQ(bm.bmBitsPixel, 8);
    DeleteObject(section);
}

TEST(DibSection, TopDownAndDirectColourLayouts) {
    // 24 bits, top-down: rows of 2 * 3 bytes padded to 8, blue first.
    DibInfo info(2, -2, 24);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    const unsigned char memory[16] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0, 0, 0xAA, 0xBB, 0xCC, 0, 0, 0, 0, 0};
    std::memcpy(bits, memory, sizeof memory);
    const QImage shown = Show(section, 2, 2);
    EXPECT_EQ(Pixel(shown, 0, 0), 0x332211u);
    EXPECT_EQ(Pixel(shown, 1, 0), 0x665544u);
    EXPECT_EQ(Pixel(shown, 0, 1), 0xCCBBAAu);
    EXPECT_EQ(Pixel(shown, 1, 1), 0x000000u);
    DeleteObject(section);

    // 16 bits are 5-5-5: full red and a mid blue.
    DibInfo info16(2, 1, 16);
    HBITMAP section16 = CreateDIBSection(nullptr, info16.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section16, nullptr);
    const unsigned char memory16[4] = {0x00, 0x7C, 0x10, 0x00};
    std::memcpy(bits, memory16, sizeof memory16);
    const QImage shown16 = Show(section16, 2, 1);
    EXPECT_EQ(Pixel(shown16, 0, 0), 0xFF0000u);
    EXPECT_EQ(Pixel(shown16, 1, 0), 0x000084u);
    DeleteObject(section16);
}

TEST(DibSection, OneBitTakesItsColourTableNotTheTextColours) {
    // 10 pixels a row: two bytes of bits, padded to 4; bit 7 of the first byte is the leftmost pixel.
    DibInfo info(10, 1, 1, {kRed, kBlue});
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    auto* row = static_cast<unsigned char*>(bits);
    row[0] = 0x81;
    row[1] = 0x40;
    QImage image(10, 1, QImage::Format_RGB32);
    CDC target;
    target.AttachImage(&image);
    target.SetTextColor(RGB(0, 255, 0));
    target.SetBkColor(RGB(255, 255, 0));
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(target, 0, 0, 10, 1, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    const QRgb expected[10] = {0x0000FF, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000,
                               0xFF0000, 0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF};
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(Pixel(image, x, 0), expected[x]) << "pixel " << x;
    DeleteObject(section);
}

TEST(DibSection, DrawingOnTheSectionReachesItsMemory) {
    DibInfo info(4, 2, 8, {kRed, kGreen, kBlue});
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    const auto* rows = static_cast<const unsigned char*>(bits);
    EXPECT_EQ(rows[0], 0); // zeroed at first

    CDC dc;
    dc.Attach(CreateCompatibleDC(nullptr));
    HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(section));
    // The top row of the picture is the second row in memory; a near-blue rounds to the blue entry.
    dc.FillSolidRect(0, 0, 4, 1, RGB(10, 20, 240));
    EXPECT_EQ(rows[4], 2);
    EXPECT_EQ(rows[7], 2);
    EXPECT_EQ(rows[0], 0);
    EXPECT_EQ(dc.SetPixel(1, 1, RGB(30, 200, 30)), RGB(0, 255, 0));
    EXPECT_EQ(rows[1], 1);
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(0, 255, 0));
    dc.SelectObject(old);
    dc.DeleteDC();
    DeleteObject(section);

    DibInfo info32(2, 1, 32);
    HBITMAP section32 = CreateDIBSection(nullptr, info32.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section32, nullptr);
    dc.Attach(CreateCompatibleDC(nullptr));
    old = dc.SelectObject(static_cast<HGDIOBJ>(section32));
    dc.SetPixel(1, 0, RGB(0x12, 0x34, 0x56));
    const auto* px = static_cast<const unsigned char*>(bits);
    EXPECT_EQ(px[4], 0x56);
    EXPECT_EQ(px[5], 0x34);
    EXPECT_EQ(px[6], 0x12);
    dc.SelectObject(old);
    DeleteObject(section32);
}

TEST(DibSection, BadRequestsGiveNoBitmapAndNoBits) {
    struct Case {
        LONG width, height;
        WORD bits;
    } bad[] = {{0, 4, 8}, {4, 0, 8},     {-4, 4, 8},      {4, 4, 7},
               {4, 4, 0}, {40000, 1, 8}, {1, INT_MIN, 8}, {20000, 20000, 32}};
    for (const Case& c : bad) {
        DibInfo info(c.width, c.height, c.bits);
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(nullptr, info.Info(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr)
            << c.width << " x " << c.height << " at " << c.bits;
        EXPECT_EQ(bits, nullptr);
    }
    DibInfo good(4, 4, 8);
    EXPECT_EQ(CreateDIBSection(nullptr, good.Info(), DIB_PAL_COLORS, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, good.Info(), DIB_RGB_COLORS, nullptr, INVALID_HANDLE_VALUE, 0), nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    good.Info()->bmiHeader.biCompression = BI_RLE8;
    EXPECT_EQ(CreateDIBSection(nullptr, good.Info(), DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

TEST(BitmapResources, LoadByIdAndMapTheClassicColoursToTheSystemOnes) {
    QImage picture(5, 1, QImage::Format_RGB32);
    const QRgb classic[5] = {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(192, 192, 192), qRgb(255, 255, 255),
                             qRgb(10, 200, 30)};
    for (int x = 0; x < 5; ++x)
        picture.setPixel(x, 0, classic[x]);
    RegisterBitmapResource(7301, picture);

    CBitmap plain;
    ASSERT_TRUE(plain.LoadBitmap(7301));
    EXPECT_FALSE(plain.LoadBitmap(7301)); // holds one already
    EXPECT_EQ(plain.GetImage().pixel(1, 0), qRgb(128, 128, 128));
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(7302));
    EXPECT_EQ(LoadBitmap(nullptr, "named"), nullptr);

    HBITMAP mapped = AfxLoadSysColorBitmap(nullptr, MAKEINTRESOURCE(7301));
    ASSERT_NE(mapped, nullptr);
    const QImage image = CBitmap::FromHandle(mapped)->GetImage();
    const int to[4] = {COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
    for (int x = 0; x < 4; ++x) {
        const COLORREF c = GetSysColor(to[x]);
        EXPECT_EQ(image.pixel(x, 0), qRgb(GetRValue(c), GetGValue(c), GetBValue(c))) << "colour " << x;
    }
    EXPECT_EQ(image.pixel(4, 0), classic[4]);
    DeleteObject(mapped);

    // Each load is a bitmap of its own: changing one leaves the resource alone.
    HBITMAP wide = LoadBitmapW(nullptr, reinterpret_cast<LPCWSTR>(uintptr_t(7301)));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(CBitmap::FromHandle(wide)->GetImage().pixel(0, 0), qRgb(0, 0, 0));
    DeleteObject(wide);
}

TEST(BitmapResources, LoadImageWithAnInstanceTakesResourcesAndFiles) {
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    RegisterBitmapResource(7311, picture);
    auto bitmap = static_cast<HBITMAP>(
        static_cast<GdiHandle*>(LoadImageA(nullptr, MAKEINTRESOURCE(7311), IMAGE_BITMAP, 8, 4, 0)));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(CBitmap::FromHandle(bitmap)->GetImage().size(), QSize(8, 4));
    DeleteObject(bitmap);

    TempDir dir;
    QImage file(3, 3, QImage::Format_RGB32);
    file.fill(qRgb(9, 8, 7));
    ASSERT_TRUE(file.save(QString::fromStdString(dir.File("logo.bmp")), "BMP"));
    HANDLE loaded = LoadImageA(nullptr, dir.File("logo.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(CBitmap::FromHandle(static_cast<HBITMAP>(static_cast<GdiHandle*>(loaded)))->GetImage().pixel(2, 2),
              qRgb(9, 8, 7));
    DeleteObject(static_cast<HGDIOBJ>(loaded));
    EXPECT_EQ(LoadImageA(nullptr, dir.File("none.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCE(7312), IMAGE_BITMAP, 0, 0, 0), nullptr);
}

TEST(DrawingByHandle, WideTextMeasuresAsItsGbkForm) {
    HDC dc = GetScreenDC();
    SIZE wide{}, narrow{};
    ASSERT_TRUE(GetTextExtentPoint32W(dc, u"Wall \u5899", 6, &wide));
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "Wall \xC7\xBD", 7, &narrow));
    EXPECT_EQ(wide.cx, narrow.cx);
    EXPECT_EQ(wide.cy, narrow.cy);
    EXPECT_GT(wide.cx, 0);
    ASSERT_TRUE(GetTextExtentPoint32W(dc, u"Wall", 0, &wide));
    EXPECT_EQ(wide.cx, 0);
    EXPECT_FALSE(GetTextExtentPoint32W(dc, u"Wall", -1, &wide));
    EXPECT_FALSE(GetTextExtentPoint32W(dc, nullptr, 3, &wide));
    ReleaseScreenDC(dc);
    EXPECT_FALSE(GetTextExtentPoint32W(dc, u"Wall", 4, &wide)); // released
}

TEST(DrawingByHandle, ClippingAndCompatibleBitmapsOnRawHandles) {
    QImage image(20, 10, QImage::Format_RGB32);
    CDC target;
    target.AttachImage(&image);
    HDC memory = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, 20, 10);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT box{};
    EXPECT_EQ(GetClipBox(memory, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 20);
    EXPECT_EQ(box.bottom, 10);
    // The band above and to the left of a rectangle, as a buffered DC leaves out.
    EXPECT_EQ(ExcludeClipRect(memory, 0, 0, 20, 4), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(memory, 0, 4, 5, 10), SIMPLEREGION);
    EXPECT_EQ(GetClipBox(memory, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 4);
    SetPixel(memory, 2, 2, RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 2, 2), CLR_INVALID);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);

    EXPECT_EQ(CreateCompatibleBitmap(memory, 4, 4), nullptr); // deleted DC
    EXPECT_EQ(GetClipBox(memory, &box), ERROR);
    EXPECT_EQ(ExcludeClipRect(memory, 0, 0, 1, 1), ERROR);
}
