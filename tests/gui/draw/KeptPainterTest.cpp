#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Pen.h"
#include "platform/gui/draw/Rgn.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A memory DC on a new 120 x 60 bitmap, white.
struct Canvas {
    explicit Canvas(bool keep) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, 120, 60);
        old = dc.SelectObject(&bitmap);
        dc.KeepPainterOpen(keep ? TRUE : FALSE);
        dc.FillSolidRect(0, 0, 120, 60, RGB(255, 255, 255));
    }
    ~Canvas() { dc.SelectObject(old); }
    QImage Picture() {
        dc.KeepPainterOpen(FALSE);
        return bitmap.GetImage();
    }
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
};

// A little of everything a cell's paint does, and what it rarely does: state saved and restored, clipping,
// XOR, pixels read and written, and a copy from itself.
void DrawMix(CDC& dc) {
    CPen pen(PS_SOLID, 1, RGB(200, 0, 0));
    CBrush brush(RGB(0, 120, 0));
    const int saved = dc.SaveDC();
    dc.SelectObject(&pen);
    dc.MoveTo(2, 2);
    dc.LineTo(100, 2);
    dc.LineTo(100, 50);
    dc.FillRect(CRect(10, 10, 40, 30), &brush);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 160));
    CRect text(5, 30, 60, 50);
    dc.DrawText("A cell text too long to fit", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    dc.IntersectClipRect(50, 5, 90, 40);
    dc.FillSolidRect(40, 0, 80, 60, RGB(250, 200, 0)); // clipped to the rectangle above
    dc.RestoreDC(saved);
    dc.FillSolidRect(95, 40, 10, 10, RGB(30, 30, 30)); // no clip again
    dc.SetROP2(R2_XORPEN);
    CPen white(PS_SOLID, 1, RGB(255, 255, 255));
    dc.SelectObject(&white);
    dc.MoveTo(0, 20);
    dc.LineTo(120, 20);
    dc.SetROP2(R2_COPYPEN);
    dc.SetPixel(7, 7, dc.GetPixel(12, 12));
    dc.InvertRect(CRect(60, 45, 80, 55));
    dc.BitBlt(0, 40, 30, 20, &dc, 5, 5, SRCCOPY);
    dc.SelectStockObject(BLACK_PEN);
}

} // namespace

TEST(KeptPainter, DrawsExactlyWhatAPainterPerCallDraws) {
    Canvas perCall(false);
    Canvas kept(true);
    DrawMix(perCall.dc);
    DrawMix(kept.dc);
    EXPECT_EQ(kept.Picture(), perCall.Picture());
}

TEST(KeptPainter, AnotherDCOnTheSameBitmapDrawsThroughIt) {
    Canvas canvas(true);
    canvas.dc.FillSolidRect(0, 0, 10, 10, RGB(0, 0, 200)); // the painter is open now
    CDC other;
    other.CreateCompatibleDC(nullptr);
    CBitmap* old = other.SelectObject(&canvas.bitmap);
    other.FillSolidRect(20, 0, 10, 10, RGB(0, 200, 0));
    other.SelectObject(old);
    canvas.dc.FillSolidRect(40, 0, 10, 10, RGB(200, 0, 0));
    const QImage picture = canvas.Picture();
    EXPECT_EQ(QColor(picture.pixel(5, 5)), QColor(0, 0, 200));
    EXPECT_EQ(QColor(picture.pixel(25, 5)), QColor(0, 200, 0));
    EXPECT_EQ(QColor(picture.pixel(45, 5)), QColor(200, 0, 0));
}

TEST(KeptPainter, EndsWithItsBitmapSoTheBitmapCanGo) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.KeepPainterOpen(TRUE);
    auto first = std::make_unique<CBitmap>();
    first->CreateCompatibleBitmap(&dc, 30, 30);
    CBitmap* old = dc.SelectObject(first.get());
    dc.FillSolidRect(0, 0, 30, 30, RGB(10, 20, 30));
    const QImage firstPicture = first->GetImage();

    CBitmap second;
    second.CreateCompatibleBitmap(&dc, 30, 30);
    dc.SelectObject(&second);
    first.reset(); // deleted while the DC goes on drawing
    dc.FillSolidRect(0, 0, 30, 30, RGB(40, 50, 60));
    dc.SelectObject(old);
    EXPECT_EQ(QColor(firstPicture.pixel(3, 3)), QColor(10, 20, 30));
    EXPECT_EQ(QColor(second.GetImage().pixel(3, 3)), QColor(40, 50, 60));

    // Restoring a state with another bitmap lets go as well.
    CBitmap third;
    third.CreateCompatibleBitmap(&dc, 30, 30);
    dc.SelectObject(&second);
    const int saved = dc.SaveDC();
    dc.SelectObject(&third);
    dc.FillSolidRect(0, 0, 30, 30, RGB(70, 80, 90));
    dc.RestoreDC(saved);
    dc.FillSolidRect(0, 0, 10, 10, RGB(100, 110, 120));
    dc.SelectObject(old);
    EXPECT_EQ(QColor(third.GetImage().pixel(3, 3)), QColor(70, 80, 90));
    EXPECT_EQ(QColor(second.GetImage().pixel(3, 3)), QColor(100, 110, 120));
}

TEST(KeptPainter, AClipRegionAndTheRectanglesAroundItTakeTurns) {
    Canvas canvas(true);
    CRgn region;
    region.CreateRectRgn(10, 10, 20, 20);
    CRgn second;
    second.CreateRectRgn(30, 10, 40, 20);
    region.CombineRgn(&region, &second, RGN_OR); // two pieces: not one rectangle
    canvas.dc.SelectClipRgn(&region);
    canvas.dc.FillSolidRect(0, 0, 120, 60, RGB(0, 0, 0));
    canvas.dc.SelectClipRgn(nullptr);
    canvas.dc.FillSolidRect(50, 0, 10, 10, RGB(0, 0, 0));
    canvas.dc.SelectClipRgn(&region);
    canvas.dc.FillSolidRect(0, 0, 120, 60, RGB(200, 0, 0));
    const QImage picture = canvas.Picture();
    EXPECT_EQ(QColor(picture.pixel(15, 15)), QColor(200, 0, 0));
    EXPECT_EQ(QColor(picture.pixel(35, 15)), QColor(200, 0, 0));
    EXPECT_EQ(QColor(picture.pixel(25, 15)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(picture.pixel(55, 5)), QColor(0, 0, 0));
    EXPECT_EQ(QColor(picture.pixel(5, 5)), QColor(255, 255, 255));
}
