#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/draw/Pen.h"
#include "platform/gui/draw/Rgn.h"

#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

TEST(DrawingObjects, SelectObjectHandsBackThePreviousObject) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    CPen* stock = dc.SelectObject(&red);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(stock->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc.SelectObject(&blue), &red);
    EXPECT_EQ(dc.SelectObject(stock), &blue);
    EXPECT_EQ(dc.GetCurrentPen(), stock);

    // The same handle always gives the same lasting wrapper.
    EXPECT_EQ(CPen::FromHandle(reinterpret_cast<HPEN>(GetStockObject(BLACK_PEN))), stock);
    EXPECT_EQ(CGdiObject::FromHandle(nullptr), nullptr);
}

TEST(DrawingObjects, AnObjectDeletedWhileSelectedKeepsDrawingUntilDeselected) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    {
        auto pen = std::make_unique<CPen>(PS_SOLID, 1, RGB(0, 128, 0));
        dc.SelectObject(pen.get());
    } // the pen's wrapper is gone, its handle still selected
    dc.MoveTo(0, 0);
    dc.LineTo(8, 0);
    EXPECT_EQ(Pixel(image, 3, 0), 0x008000u);
    // Selecting something else frees it; it cannot be handed back.
    EXPECT_EQ(dc.SelectStockObject(BLACK_PEN), nullptr);
    dc.MoveTo(0, 1);
    dc.LineTo(8, 1);
    EXPECT_EQ(Pixel(image, 3, 1), 0x000000u);
}

TEST(DrawingObjects, StockObjectsSurviveDeletion) {
    HGDIOBJ black = GetStockObject(BLACK_BRUSH);
    EXPECT_TRUE(DeleteObject(black));
    LOGBRUSH lb{};
    EXPECT_EQ(GetObject(black, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
    EXPECT_EQ(lb.lbColor, RGB(0, 0, 0));
    EXPECT_EQ(GetStockObject(99), nullptr);
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_PEN)), static_cast<DWORD>(OBJ_PEN));
}

TEST(DrawingObjects, RecordsReadBackAndBadHandlesAreRefused) {
    CPen pen(PS_DOT, 3, RGB(1, 2, 3));
    LOGPEN lp{};
    EXPECT_EQ(pen.GetLogPen(&lp), static_cast<int>(sizeof(lp)));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DOT));
    EXPECT_EQ(lp.lopnWidth.x, 3);
    EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
    EXPECT_EQ(GetObject(pen, 0, nullptr), static_cast<int>(sizeof(LOGPEN)));

    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 7, 5));
    BITMAP bm{};
    bitmap.GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 7);
    EXPECT_EQ(bm.bmHeight, 5);
    EXPECT_EQ(bm.bmBitsPixel, 32);

    HGDIOBJ stale = pen.m_hObject;
    EXPECT_TRUE(pen.DeleteObject());
    EXPECT_EQ(pen.m_hObject, nullptr);
    EXPECT_EQ(GetObject(stale, sizeof(lp), &lp), 0);
    EXPECT_FALSE(DeleteObject(stale));
    EXPECT_FALSE(CPen().CreatePen(42, 1, 0));
    EXPECT_FALSE(CBitmap().CreateBitmap(-1, 4, 1, 32, nullptr));
    EXPECT_FALSE(CBitmap().CreateBitmap(100000, 4, 1, 32, nullptr));
}

TEST(DrawingObjects, CallsOnADeadOrEmptyDcDoNothing) {
    CDC empty;
    RECT r{0, 0, 4, 4};
    CBrush brush(RGB(1, 1, 1));
    empty.FillRect(&r, &brush);
    EXPECT_FALSE(empty.LineTo(3, 3));
    EXPECT_EQ(empty.GetPixel(0, 0), CLR_INVALID);
    EXPECT_EQ(empty.DrawText("x", -1, &r, 0), 0);
    EXPECT_EQ(empty.SelectObject(&brush), nullptr);
    EXPECT_EQ(empty.GetClipBox(&r), ERROR);

    QImage image(4, 4, QImage::Format_Indexed8);
    EXPECT_FALSE(empty.AttachImage(&image)); // no painter draws on palette images
    EXPECT_FALSE(empty.AttachImage(nullptr));
}

TEST(DrawingObjects, RegionsCombineAndClip) {
    CRgn a, b, c;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 5, 15, 15);
    c.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    CRect box;
    c.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(5, 5, 10, 10));
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(c.PtInRegion(14, 14));
    EXPECT_FALSE(c.PtInRegion(14, 0));
    EXPECT_EQ(c.CombineRgn(&a, nullptr, RGN_AND), ERROR);

    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    EXPECT_EQ(dc.SelectClipRgn(&b), SIMPLEREGION);
    dc.FillSolidRect(0, 0, 20, 20, RGB(0, 0, 255));
    EXPECT_EQ(Pixel(image, 4, 4), 0xFFFFFFu);
    EXPECT_EQ(Pixel(image, 5, 5), 0x0000FFu);
    EXPECT_EQ(Pixel(image, 15, 15), 0xFFFFFFu);
}

TEST(DrawingObjects, BrushesFillWithTheirKind) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);

    // A monochrome pattern takes the text colour for its black and the background colour for its white.
    const unsigned char checker[] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
    CBitmap pattern;
    ASSERT_TRUE(pattern.CreateBitmap(8, 8, 1, 1, checker));
    CBrush patterned(&pattern);
    dc.SetTextColor(RGB(255, 0, 0));
    dc.SetBkColor(RGB(0, 0, 255));
    const RECT all{0, 0, 8, 8};
    dc.FillRect(&all, &patterned);
    EXPECT_EQ(Pixel(image, 0, 0), 0x0000FFu); // bit set: background colour
    EXPECT_EQ(Pixel(image, 1, 0), 0xFF0000u);
    EXPECT_EQ(Pixel(image, 0, 1), 0xFF0000u);

    CBrush hollow;
    hollow.CreateStockObject(NULL_BRUSH);
    image.fill(Qt::white);
    dc.FillRect(&all, &hollow);
    EXPECT_EQ(Pixel(image, 3, 3), 0xFFFFFFu);
}

TEST(DrawingObjects, LastingWrappersOutliveTheirHandleUntilTheEventLoopRuns) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    auto* brush = new CBrush;
    brush->Attach(CreateSolidBrush(RGB(9, 9, 9)));
    HGDIOBJ handle = brush->Detach(); // now owned by nobody
    delete brush;
    CBrush* lasting = CBrush::FromHandle(reinterpret_cast<HBRUSH>(handle));
    ASSERT_NE(lasting, nullptr);
    DeleteObject(handle);
    EXPECT_EQ(lasting->m_hObject, nullptr); // still a valid object to read
    EXPECT_EQ(dc.SelectObject(lasting), nullptr);
    QCoreApplication::processEvents();
}

} // namespace
