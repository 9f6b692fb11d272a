#include "platform/gui/window/WindowDC.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/PaintDC.h"
#include "platform/gui/window/WindowStyles.h"
#include "platform/gui/window/Wnd.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// A window that paints its whole client red through a paint DC and remembers what the DC let it touch.
class RedWindow : public CWnd {
public:
    void OnPaint() override {
        CPaintDC dc(this);
        ++paints;
        dc.GetClipBox(&clipBox);
        paintRect = dc.m_ps.rcPaint;
        CRect client;
        GetClientRect(&client);
        CBrush red(kRed);
        dc.FillRect(&client, &red);
    }
    int paints = 0;
    CRect clipBox;
    CRect paintRect;
};

QRgb Pixel(const QImage* image, int x, int y) { return image->pixel(x, y) & 0xFFFFFF; }

TEST(WindowDC, ClientDCDrawsOnTheRetainedImageAtAnyTime) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "client", WS_POPUP | WS_VISIBLE, CRect(0, 0, 40, 30), nullptr, 0));
    {
        CClientDC dc(&wnd);
        ASSERT_NE(dc.m_hDC, nullptr);
        EXPECT_EQ(dc.GetWindow(), &wnd);
        CRect box;
        dc.GetClipBox(&box);
        CRect client;
        wnd.GetClientRect(&client);
        EXPECT_EQ(box, client);
        dc.FillSolidRect(2, 3, 4, 5, RGB(0, 0, 255));
    }
    QImage* image = wnd.GetClientImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->format(), QImage::Format_RGB32);
    EXPECT_EQ(Pixel(image, 2, 3), 0x0000FFu);
    EXPECT_EQ(Pixel(image, 6, 3), 0xFFFFFFu);
    // What the DC drew reaches the screen.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QImage shown = wnd.GetHostWidget()->grab().toImage();
        return (shown.pixel(3, 4) & 0xFFFFFF) == 0x0000FFu;
    }));
    wnd.DestroyWindow();
}

TEST(WindowDC, PaintDCIsClippedToTheRectangleBeingPainted) {
    RedWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "paint", WS_POPUP | WS_VISIBLE, CRect(0, 0, 40, 30), nullptr, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.paints > 0; }));
    {
        CClientDC dc(&wnd);
        dc.FillSolidRect(0, 0, 40, 30, RGB(255, 255, 255));
    }
    const int before = wnd.paints;
    CRect part(5, 6, 15, 12);
    wnd.InvalidateRect(&part, FALSE);
    wnd.UpdateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.paints > before; }));
    EXPECT_EQ(wnd.paintRect, part);
    EXPECT_EQ(wnd.clipBox, part);
    QImage* image = wnd.GetClientImage();
    EXPECT_EQ(Pixel(image, 5, 6), 0xFF0000u);
    EXPECT_EQ(Pixel(image, 14, 11), 0xFF0000u);
    EXPECT_EQ(Pixel(image, 15, 11), 0xFFFFFFu);
    EXPECT_EQ(Pixel(image, 4, 6), 0xFFFFFFu);

    // Outside a paint the paint DC covers the whole client.
    {
        CPaintDC dc(&wnd);
        CRect box;
        dc.GetClipBox(&box);
        CRect client;
        wnd.GetClientRect(&client);
        EXPECT_EQ(box, client);
    }
    wnd.DestroyWindow();
}

TEST(WindowDC, XorLineDrawnTwiceOnAWindowLeavesItAsItWas) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "xor", WS_POPUP | WS_VISIBLE, CRect(0, 0, 30, 20), nullptr, 0));
    {
        CClientDC dc(&wnd);
        dc.FillSolidRect(0, 0, 30, 20, RGB(0x40, 0x80, 0xC0));
    }
    const QImage before = wnd.GetClientImage()->copy();
    CRect line(10, 0, 12, 20);
    {
        CClientDC dc(&wnd);
        dc.InvertRect(&line);
    }
    EXPECT_EQ(Pixel(wnd.GetClientImage(), 10, 5), 0xBF7F3Fu);
    {
        CClientDC dc(&wnd);
        dc.InvertRect(&line);
    }
    EXPECT_EQ(*wnd.GetClientImage(), before);
    wnd.DestroyWindow();
}

TEST(WindowDC, DcOfAGoneWindowOrOfNoWindow) {
    auto* wnd = new CWnd;
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, "gone", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    {
        CClientDC dc(wnd);
        wnd->DestroyWindow();
        dc.FillSolidRect(0, 0, 5, 5, kRed); // nothing to draw on any more, and no crash
        EXPECT_EQ(dc.GetPixel(1, 1), CLR_INVALID);
    }
    delete wnd;

    // No window: the screen, which measures text and reports its size.
    CWindowDC screen(nullptr);
    ASSERT_NE(screen.m_hDC, nullptr);
    EXPECT_GT(screen.GetDeviceCaps(HORZRES), 0);
    EXPECT_GT(screen.GetTextExtent("XX", 2).cx, 0);
    CClientDC none(nullptr);
    TEXTMETRIC tm{};
    EXPECT_TRUE(none.GetTextMetrics(&tm));
}

} // namespace
