#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/ImageList.h"
#include "platform/gui/draw/SysColor.h"

#include "tests/support/TempDir.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// A 16 x 16 icon: a dark 8 x 8 square in the middle, a white pixel in it, transparent around.
QImage IconPicture() {
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            picture.setPixel(x, y, qRgba(40, 40, 120, 255));
    picture.setPixel(6, 6, qRgba(255, 255, 255, 255));
    return picture;
}

struct White {
    White() : image(24, 24, QImage::Format_RGB32) {
        image.fill(Qt::white);
        dc.AttachImage(&image);
    }
    QImage image;
    CDC dc;
};

TEST(Icon, DrawsAtItsOwnSizeThroughItsTransparency) {
    HICON icon = CreateIconFromImage(IconPicture());
    ASSERT_NE(icon, nullptr);
    White w;
    // A larger rectangle does not stretch the icon.
    EXPECT_TRUE(w.dc.DrawState(CPoint(2, 2), CSize(20, 20), icon, DST_ICON | DSS_NORMAL, HBRUSH(nullptr)));
    EXPECT_EQ(Pixel(w.image, 2 + 4, 2 + 4), 0x282878u);
    EXPECT_EQ(Pixel(w.image, 2 + 11, 2 + 11), 0x282878u);
    EXPECT_EQ(Pixel(w.image, 2 + 12, 2 + 12), 0xFFFFFFu);
    EXPECT_EQ(Pixel(w.image, 2 + 3, 2 + 4), 0xFFFFFFu);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(w.dc.DrawIcon(0, 0, icon));
}

TEST(Icon, DisabledStateEmbossesTheDarkShape) {
    HICON icon = CreateIconFromImage(IconPicture());
    White w;
    w.dc.DrawState(CPoint(0, 0), CSize(16, 16), icon, DST_ICON | DSS_DISABLED, HBRUSH(nullptr));
    const QRgb shadow = GetSysColor(COLOR_3DSHADOW);
    const QRgb light = GetSysColor(COLOR_3DHILIGHT);
    auto rgb = [](COLORREF c) { return static_cast<QRgb>(qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0xFFFFFF); };
    EXPECT_EQ(Pixel(w.image, 4, 4), rgb(shadow));
    EXPECT_EQ(Pixel(w.image, 12, 12), rgb(light)); // the highlight shows one pixel right and below
    EXPECT_EQ(Pixel(w.image, 3, 3), 0xFFFFFFu);
    // The white pixel is no part of the shape: the highlight drawn under it shows through.
    EXPECT_EQ(Pixel(w.image, 6, 6), 0xFFFFFFu);
    DestroyIcon(icon);
}

TEST(Icon, MonoStateFillsTheShapeWithTheBrushColour) {
    HICON icon = CreateIconFromImage(IconPicture());
    White w;
    CBrush red(RGB(255, 0, 0));
    w.dc.DrawState(CPoint(0, 0), CSize(0, 0), icon, DST_ICON | DSS_MONO, &red);
    EXPECT_EQ(Pixel(w.image, 6, 6), 0xFF0000u);
    EXPECT_EQ(Pixel(w.image, 5, 5), 0xFF0000u);
    EXPECT_EQ(Pixel(w.image, 3, 3), 0xFFFFFFu);
    DestroyIcon(icon);
}

TEST(Icon, InfoRoundTripsThroughColourAndMaskBitmaps) {
    HICON icon = CreateIconFromImage(IconPicture());
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(info.xHotspot * 2, 16u);
    EXPECT_EQ(info.yHotspot * 2, 16u);
    BITMAP bm{};
    ASSERT_EQ(GetObject(info.hbmColor, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 16);

    // Recolour the colour bitmap pixel by pixel, as the darker-icon copy does, then make a new icon.
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = dc.SelectObject(info.hbmColor);
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 0)); // transparent pixels are black in the colour bitmap
    dc.SetPixel(5, 5, RGB(0, 200, 0));
    dc.SelectObject(old);
    HICON copy = CreateIconIndirect(&info);
    ASSERT_NE(copy, nullptr);
    const QImage image = IconImage(copy);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 200, 0));
    EXPECT_EQ(image.pixel(4, 4), qRgb(40, 40, 120));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(copy);
    DestroyIcon(icon);
    EXPECT_FALSE(GetIconInfo(nullptr, &info));
}

TEST(Icon, ResourceIconsAreSharedAndLoadedImagesTakeTheirSize) {
    RegisterIconResource(9133, IconPicture());
    HICON shared = LoadIcon(9133);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(LoadIcon(9133), shared);
    EXPECT_TRUE(DestroyIcon(shared));
    EXPECT_EQ(IconImage(shared).width(), 16); // still there
    EXPECT_EQ(LoadIcon(424242), nullptr);

    auto sized = static_cast<HICON>(static_cast<void*>(LoadImage(9133u, IMAGE_ICON, 32, 32, 0)));
    ASSERT_NE(sized, nullptr);
    EXPECT_EQ(IconImage(sized).size(), QSize(32, 32));
    DestroyIcon(sized);
    auto own = static_cast<HICON>(static_cast<void*>(LoadImage(9133u, IMAGE_ICON, 0, 0, 0)));
    EXPECT_EQ(IconImage(own).size(), QSize(16, 16));
    DestroyIcon(own);
}

TEST(Icon, BitmapsLoadFromFilesAndMissingFilesGiveNothing) {
    TempDir dir;
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(QColor(156, 182, 226));
    const std::string path = dir.Path() + "/bmp_logo.bmp";
    ASSERT_TRUE(picture.save(QString::fromStdString(path), "BMP"));
    HANDLE h = LoadImage(path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    ASSERT_NE(h, nullptr);
    auto* bitmap = CBitmap::FromHandle(static_cast<HBITMAP>(static_cast<GdiHandle*>(h)));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->GetImage().pixel(4, 2) & 0xFFFFFF, 0x9CB6E2u);
    DeleteObject(static_cast<GdiHandle*>(h));
    EXPECT_EQ(LoadImage((dir.Path() + "/none.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
}

TEST(ImageList, KeepsTransparencyFromMaskColourMaskBitmapAndIcon) {
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLORDDB | ILC_MASK, 1, 1));

    // A strip two images wide, magenta as the mask colour.
    CBitmap strip;
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    picture.setPixel(1, 1, qRgb(0, 0, 255));
    picture.setPixel(5, 1, qRgb(0, 255, 0));
    strip.CreateFromImage(picture);
    EXPECT_EQ(list.Add(&strip, RGB(255, 0, 255)), 0);
    EXPECT_EQ(list.GetImageCount(), 2);

    HICON icon = CreateIconFromImage(IconPicture());
    EXPECT_EQ(list.Add(icon), 2); // scaled to the list's size
    DestroyIcon(icon);

    White w;
    EXPECT_TRUE(list.Draw(&w.dc, 0, CPoint(10, 10), ILD_TRANSPARENT));
    EXPECT_TRUE(list.Draw(&w.dc, 1, CPoint(0, 10), ILD_TRANSPARENT));
    EXPECT_EQ(Pixel(w.image, 11, 11), 0x0000FFu);
    EXPECT_EQ(Pixel(w.image, 10, 10), 0xFFFFFFu);
    EXPECT_EQ(Pixel(w.image, 1, 11), 0x00FF00u);
    EXPECT_FALSE(list.Draw(&w.dc, 7, CPoint(0, 0), ILD_TRANSPARENT));

    HICON extracted = ImageList_GetIcon(list, 0, ILD_NORMAL);
    ASSERT_NE(extracted, nullptr);
    EXPECT_EQ(IconImage(extracted).size(), QSize(4, 4));
    DestroyIcon(extracted);

    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_FALSE(CImageList().Create(0, 4, ILC_MASK, 1, 1));
}

TEST(Icon, CheckMarkBitmapTakesTheDcColours) {
    CBitmap check;
    ASSERT_TRUE(check.LoadOEMBitmap(OBM_CHECK));
    White w;
    w.dc.SetBkColor(RGB(0, 0, 255));
    w.dc.DrawState(CPoint(0, 0), CSize(15, 13), &check, DST_BITMAP, static_cast<CBrush*>(nullptr));
    EXPECT_EQ(Pixel(w.image, 0, 0), 0x0000FFu);  // background colour where the mark is not
    EXPECT_EQ(Pixel(w.image, 14, 0), 0xFFFFFFu); // cut to the bitmap's 13 pixels
    int marks = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
            marks += Pixel(w.image, x, y) == 0;
    EXPECT_GT(marks, 5);
}

} // namespace
