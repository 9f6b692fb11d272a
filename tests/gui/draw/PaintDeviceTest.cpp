#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"

#include "tests/support/TempDir.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PaintDevice, PdfWriterAnswersDeviceCapsAndTakesScaledPages) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.File("grid.pdf"));
    {
        QPdfWriter writer(path);
        writer.setResolution(600);
        CDC dc;
        ASSERT_TRUE(dc.AttachPaintDevice(&writer));
        EXPECT_TRUE(dc.IsPrinting());
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
        EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), writer.width());
        EXPECT_EQ(dc.GetDeviceCaps(VERTRES), writer.height());
        EXPECT_NE(dc.GetDeviceCaps(NUMCOLORS), 2);
        dc.OverrideDeviceCaps(NUMCOLORS, 2);
        EXPECT_EQ(dc.GetDeviceCaps(NUMCOLORS), 2);
        EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID);

        // A printer page in scaled logical units, with a printer font.
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(1000, 1400);
        dc.SetViewportExt(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        CFont font;
        font.CreateFont(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
        CFont* old = dc.SelectObject(&font);
        const CSize letters = dc.GetTextExtent("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52);
        EXPECT_GE(letters.cy, 10); // logical units of the font, not device pixels
        EXPECT_LT(letters.cy, 20);
        RECT r{0, 0, 1000, 40};
        dc.DrawText("Page 1 of 2", -1, &r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        dc.MoveTo(0, 40);
        dc.LineTo(1000, 40);
        dc.Rectangle(10, 50, 200, 120);
        EXPECT_TRUE(writer.newPage());
        dc.FillSolidRect(0, 0, 100, 100, RGB(200, 200, 200));
        dc.SelectObject(old);
        dc.DetachPaintDevice();
        EXPECT_FALSE(dc.IsPrinting());
        EXPECT_EQ(dc.m_hDC, nullptr);
    }
    // The file was finished when the painter ended.
    const std::string pdf = dir.Read("grid.pdf");
    ASSERT_GT(pdf.size(), 100u);
    EXPECT_EQ(pdf.compare(0, 5, "%PDF-"), 0);
    size_t pages = 0;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
        pages += pdf.compare(at, 12, "/Type /Pages") != 0;
    EXPECT_EQ(pages, 2u);
}

TEST(PaintDevice, AnImageDeviceIsDrawnLikeAnyImage) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    ASSERT_TRUE(dc.AttachPaintDevice(&image));
    EXPECT_FALSE(dc.IsPrinting());
    EXPECT_EQ(dc.GetPainter(), nullptr);
    dc.FillSolidRect(1, 1, 1, 1, RGB(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 4);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_FALSE(dc.AttachPaintDevice(&image)); // already attached
}

TEST(PaintDevice, AnOpenPainterKeepsItsTransformAndClip) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(5, 4);
    painter.setClipRect(QRect(0, 0, 6, 6));
    {
        CDC dc;
        ASSERT_TRUE(dc.AttachPainter(&painter));
        EXPECT_EQ(dc.GetPainter(), &painter);
        dc.FillSolidRect(0, 0, 10, 10, RGB(255, 0, 0));
        dc.SetROP2(R2_NOT);
        dc.MoveTo(0, 1);
        dc.LineTo(3, 1);
    }
    EXPECT_EQ(painter.transform(), QTransform::fromTranslate(5, 4)); // handed back as it was
    painter.end();
    EXPECT_EQ(image.pixel(5, 4) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(10, 9) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(11, 9) & 0xFFFFFF, 0xFFFFFFu); // the painter's clip holds
    EXPECT_EQ(image.pixel(4, 4) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(6, 5) & 0xFFFFFF, 0x00FFFFu); // inverted by the mix mode on a raster painter
    EXPECT_EQ(image.pixel(8, 5) & 0xFFFFFF, 0xFF0000u);
}

} // namespace
