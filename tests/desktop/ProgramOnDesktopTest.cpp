// The built program as a new operator meets it on a desktop with a window manager: the whole main window, title
// bar included, on the screen, and its menu bar drawn as active once the window has the focus.
#include "XProbe.h"

#include "tests/support/TempDir.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

#ifndef VELTRANO_PROGRAM
#error "VELTRANO_PROGRAM must name the built program"
#endif

TEST(ProgramOnDesktop, TheMainWindowWithItsTitleBarLiesOnTheScreenAndItsMenuBarShowsItActive) {
    TempDir work, config;
    for (const char* name : {"command.xml", "system.xml", "matrix.xml"})
        std::filesystem::copy_file(std::string(VELTRANO_SOURCE_DIR) + "/res/" + name, work.File(name));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.Path()));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(QString::fromStdString(work.Path()));
    // The pointer stays away from the menu bar: passing over it would repaint it.
    MovePointer(1270, 1010);
    program.start(QStringLiteral(VELTRANO_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    const std::string found =
        RunTool("timeout 20 xdotool search --sync --onlyvisible --classname veltrano 2>/dev/null");
    ASSERT_FALSE(found.empty()) << "no window; the program said: " << program.readAllStandardError().toStdString()
                                << (program.waitForFinished(20000), program.readAllStandardOutput().toStdString());
    const WId window = std::stoul(found);

    // 1024 wide on a screen wider than that; as high as the screen less its caption and 10; centred. The frame,
    // title bar and borders, is that rectangle.
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    const int height = screen.height() - 18 - 10;
    const QRect expected((screen.width() - 1024) / 2, (screen.height() - height) / 2, 1024, height);
    EXPECT_TRUE(WaitUntil([&] { return !FrameExtents(window).isNull() && FrameOnScreen(window) == expected; }, 10000))
        << "the frame stands at " << FrameOnScreen(window).x() << ", " << FrameOnScreen(window).y() << ", "
        << FrameOnScreen(window).width() << " x " << FrameOnScreen(window).height();
    EXPECT_GE(FrameOnScreen(window).top(), 0);
    EXPECT_LE(FrameOnScreen(window).bottom(), screen.height() - 1);

    // The window manager gave the new window the focus: "File" on the bar is black, not grey. It turns grey while
    // another window has the focus, and black again when the operator comes back, the pointer nowhere near it.
    const QPoint client = ClientOnScreen(window).topLeft();
    const auto darkText = [&] {
        const QImage bar = QGuiApplication::primaryScreen()->grabWindow(0, client.x(), client.y(), 60, 18).toImage();
        int dark = 0;
        for (int y = 0; y < bar.height(); ++y)
            for (int x = 0; x < bar.width(); ++x)
                dark += qGray(bar.pixel(x, y)) < 64;
        return dark;
    };
    EXPECT_TRUE(WaitUntil([&] { return darkText() > 10; }, 3000)) << "the menu bar is drawn inactive";
    QWidget other;
    other.setWindowTitle("Another program");
    other.setGeometry(client.x() + 300, client.y() + 300, 300, 200);
    other.show();
    ASSERT_TRUE(WaitUntil([&] { return !FrameExtents(other.winId()).isNull(); }));
    ActivateWindow(other.winId());
    EXPECT_TRUE(WaitUntil([&] { return darkText() == 0; }, 3000)) << "the menu bar is drawn active";
    ActivateWindow(window);
    EXPECT_TRUE(WaitUntil([&] { return darkText() > 10; }, 3000)) << "the menu bar is drawn inactive";

    // Nothing the operator did here ends the program.
    EXPECT_EQ(program.state(), QProcess::Running)
        << "the program said: " << program.readAllStandardError().toStdString();
    program.kill();
    program.waitForFinished(5000);
}
