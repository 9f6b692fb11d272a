#include "skin/MenuShadow.h"
#include "skin/WinVersionXP.h"

#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/window/Wnd.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

constexpr QRgb kUntouched = 0xFF00FF00;

// The shadow over a 20 x 12 rectangle, from a flat source onto a marked destination: every pixel it writes,
// with the percent it darkened the source by.
std::map<std::pair<int, int>, int> ShadowOf20x12(QImage& destination) {
    QImage source(20, 12, QImage::Format_RGB32);
    source.fill(QColor(200, 100, 50));
    destination = QImage(20, 12, QImage::Format_RGB32);
    destination.fill(kUntouched);
    CDC src;
    CDC dst;
    src.AttachImage(&source);
    dst.AttachImage(&destination);
    const CRect rect(2, 2, 20, 12);
    DrawMenuShadow(src.m_hDC, dst.m_hDC, &rect);
    std::map<std::pair<int, int>, int> changed;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb p = destination.pixel(x, y);
            if (p == kUntouched)
                continue;
            // 200 x percent / 100, truncated, tells the percent; the other channels must agree.
            int percent = -1;
            for (int f : {93, 88, 83, 78})
                if (qRed(p) == 200 * f / 100 && qGreen(p) == 100 * f / 100 && qBlue(p) == 50 * f / 100)
                    percent = f;
            changed[{x, y}] = percent;
        }
    return changed;
}

TEST(MenuShadowTest, ShadowDarkensExactlyTheTaperedBandsOfAFlatImage) {
    QImage destination;
    const auto changed = ShadowOf20x12(destination);
    EXPECT_EQ(71u, changed.size());
    for (const auto& [point, percent] : changed) {
        EXPECT_TRUE(point.first >= 16 || point.second >= 8) << point.first << "," << point.second;
        EXPECT_NE(-1, percent) << point.first << "," << point.second;
    }
    // Bottom band, rows 11 (outermost) to 8: the left end tapers over its first three columns.
    const std::map<std::pair<int, int>, int> expected = {
        {{4, 9}, 93},
        {{4, 8}, 93},
        {{5, 10}, 93},
        {{5, 9}, 88},
        {{5, 8}, 88},
        {{6, 11}, 93},
        {{6, 10}, 88},
        {{6, 9}, 83},
        {{6, 8}, 83},
        {{7, 11}, 93},
        {{7, 10}, 88},
        {{7, 9}, 83},
        {{7, 8}, 78},
        {{12, 8}, 78},
        {{16, 11}, 93},
        {{16, 8}, 78},
        {{17, 11}, 93},
        {{17, 10}, 88},
        {{17, 9}, 83},
        {{18, 10}, 88},
        // Right band, columns 19 (outermost) to 16: the top end tapers over its first three rows.
        {{19, 6}, 93},
        {{19, 9}, 93},
        {{18, 5}, 93},
        {{18, 6}, 88},
        {{18, 9}, 88},
        {{17, 4}, 93},
        {{17, 5}, 88},
        {{17, 6}, 83},
        {{17, 8}, 83},
        {{16, 4}, 93},
        {{16, 5}, 88},
        {{16, 6}, 83},
        {{16, 7}, 78}};
    for (const auto& [point, percent] : expected) {
        auto it = changed.find(point);
        ASSERT_NE(changed.end(), it) << point.first << "," << point.second;
        EXPECT_EQ(percent, it->second) << point.first << "," << point.second;
    }
    // The corners are left to the screen behind: nothing above row 4 on the right, nothing left of column 4
    // below, and the outer bottom-right corner.
    const std::pair<int, int> corners[] = {{19, 5}, {19, 10}, {19, 11}, {18, 4}, {18, 11},
                                           {17, 3}, {3, 11},  {4, 10},  {4, 11}, {5, 11}};
    for (const auto& point : corners)
        EXPECT_EQ(0u, changed.count(point)) << point.first << "," << point.second;
}

TEST(MenuShadowTest, StepsDeepenTowardsTheMenuAfterTheTaper) {
    EXPECT_EQ(0, ShadowStep(0, 3));
    EXPECT_EQ(0, ShadowStep(1, 1));
    EXPECT_EQ(1, ShadowStep(1, 2));
    EXPECT_EQ(2, ShadowStep(2, 3));
    EXPECT_EQ(1, ShadowStep(2, 1));
    EXPECT_EQ(3, ShadowStep(3, 3));
    EXPECT_EQ(0, ShadowStep(40, 0));
}

TEST(MenuShadowTest, CaptureCopiesTheScreenUnderAWindow) {
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(30, 60, 90));
    window.setPalette(palette);
    window.setGeometry(100, 120, 80, 60);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const CRect rect(110, 130, 150, 150);
    HBITMAP bitmap = CaptureScreenRect(&rect);
    ASSERT_NE(nullptr, bitmap);
    const QImage image = CBitmap::FromHandle(bitmap)->GetImage();
    EXPECT_EQ(QSize(40, 20), image.size());
    EXPECT_EQ(QColor(30, 60, 90), image.pixelColor(0, 0));
    EXPECT_EQ(QColor(30, 60, 90), image.pixelColor(39, 19));
    DeleteObject(bitmap);
    EXPECT_EQ(nullptr, CaptureScreenRect(nullptr));
}

TEST(MenuShadowTest, EveryVersionAfterTheFirstWithItsOwnShadowGetsOurs) {
    const auto code = [](DWORD platform, DWORD major, DWORD minor) {
        OSVERSIONINFOA info{};
        info.dwPlatformId = platform;
        info.dwMajorVersion = major;
        info.dwMinorVersion = minor;
        return WinVersionCodeXP(info);
    };
    EXPECT_EQ(1, code(VER_PLATFORM_WIN32s, 3, 10));
    EXPECT_EQ(2, code(VER_PLATFORM_WIN32_WINDOWS, 4, 0));
    EXPECT_EQ(3, code(VER_PLATFORM_WIN32_WINDOWS, 4, 10));
    EXPECT_EQ(4, code(VER_PLATFORM_WIN32_WINDOWS, 4, 90));
    EXPECT_EQ(6, code(VER_PLATFORM_WIN32_NT, 4, 0));
    EXPECT_EQ(7, code(VER_PLATFORM_WIN32_NT, 5, 0));
    EXPECT_EQ(8, code(VER_PLATFORM_WIN32_NT, 5, 1));
    EXPECT_EQ(5, code(VER_PLATFORM_WIN32_NT, 5, 2));
    EXPECT_EQ(5, code(VER_PLATFORM_WIN32_NT, 6, 1));
    EXPECT_EQ(5, code(VER_PLATFORM_WIN32_NT, 3, 51));
    // The system here reports a version after 5.1, so menus draw their own shadow.
    EXPECT_EQ(5, GetWinVersionXP());
    EXPECT_EQ(5, GetWinVersionXP());
}

} // namespace
