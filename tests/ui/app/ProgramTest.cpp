// The built program as an operator starts it: on a real X server of its own, in a copy of the sample
// configuration, driven with real pointer events and looked at through screenshots of the whole screen.
#include "tests/support/TempDir.h"
#include "tests/support/XServer.h"
#include "tests/support/XwdImage.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#ifndef VELTRANO_PROGRAM
#error "VELTRANO_PROGRAM must name the built program"
#endif

namespace {

const QRgb kBackground = qRgb(156, 182, 226);

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int LightPixels(const QImage& image, const QRect& area) {
    int light = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            light += qGray(image.pixel(x, y)) > 200;
    return light;
}

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"command.xml", "system.xml", "matrix.xml"})
            std::filesystem::copy_file(std::string(VELTRANO_SOURCE_DIR) + "/res/" + name, work.File(name));
        ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
        env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", QString::fromStdString(server.Display()));
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.Path()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path()));
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }
    // Runs a tool against the server and answers its output; fails the test when it fails.
    QString Tool(const QString& name, const QStringList& arguments, int timeoutMs = 20000) {
        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.start(name, arguments);
        EXPECT_TRUE(tool.waitForFinished(timeoutMs)) << name.toStdString() << " " << arguments.join(' ').toStdString();
        EXPECT_EQ(tool.exitCode(), 0) << name.toStdString() << ": " << tool.readAllStandardError().toStdString();
        return QString::fromLocal8Bit(tool.readAllStandardOutput());
    }
    void Pointer(int x, int y) { Tool("xdotool", {"mousemove", "--sync", QString::number(x), QString::number(y)}); }
    void Click(int x, int y, int button = 1) {
        Pointer(x, y);
        Tool("xdotool", {"click", QString::number(button)});
        QThread::msleep(300);
    }
    // Starts the program in the working folder and waits for its main window; its place is then in left, top,
    // width and height.
    bool Start(const QString& path) {
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(QString::fromStdString(work.Path()));
        program.start(path, {});
        if (!program.waitForStarted(10000))
            return false;
        const QString window =
            Tool("timeout", {"20", "xdotool", "search", "--sync", "--onlyvisible", "--classname", "veltrano"})
                .split('\n')
                .first();
        EXPECT_FALSE(window.isEmpty()) << "no window; the program said: "
                                       << program.readAllStandardError().toStdString();
        if (window.isEmpty())
            return false;
        QThread::msleep(500);
        // The window's place: X, Y, WIDTH and HEIGHT, one a line.
        for (const QString& line : Tool("xdotool", {"getwindowgeometry", "--shell", window}).split('\n')) {
            const QStringList pair = line.split('=');
            if (pair.size() != 2)
                continue;
            const int value = pair[1].toInt();
            if (pair[0] == "X")
                left = value;
            else if (pair[0] == "Y")
                top = value;
            else if (pair[0] == "WIDTH")
                width = value;
            else if (pair[0] == "HEIGHT")
                height = value;
        }
        return true;
    }
    // A copy of the program in a folder of its own (made as deep as it is named), where it looks for its picture.
    static QString InstalledCopy(const std::string& folder) {
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(VELTRANO_PROGRAM, folder + "/veltrano");
        return QString::fromStdString(folder + "/veltrano");
    }
    QImage Screenshot(const QString& keepAs) {
        // Lets the server finish drawing what the last request asked for.
        Tool("xdotool", {"sleep", "0.2"});
        const QImage image = ReadXwdFile(server.ScreenFile());
        // Kept beside the test program for a person to look at.
        image.save(QDir(QStringLiteral(VELTRANO_SCREENSHOT_DIR)).filePath(keepAs));
        return image;
    }

    TempDir work;
    XServer server{XServer::kScreenInFile};
    TempDir config;
    TempDir runtime;
    QProcessEnvironment env;
    QProcess program;
    int left = 0, top = 0, width = 0, height = 0;
};

} // namespace

TEST_F(ProgramTest, StartsShowsTheWallTakesTheOperatorsClicksAndQuitsFromTheMenuWritingNothing) {
    const std::string settings = ReadFile(work.File("system.xml"));
    ASSERT_TRUE(Start(QStringLiteral(VELTRANO_PROGRAM)));
    // The screen is wider than 1024, so the window is 1024 wide, and almost as high as the screen.
    EXPECT_EQ(width, 1024);
    EXPECT_GT(height, 900);

    const QImage started = Screenshot("program-started.png");
    ASSERT_FALSE(started.isNull());
    // The wall view stands in the middle three fifths, over the picture beside the program, never light blue.
    const int wallLeft = left + width / 5 + 8;
    const int wallTop = top + 60;
    EXPECT_EQ(started.pixel(wallLeft + 20, wallTop + 20), qRgb(255, 255, 255));
    EXPECT_NE(started.pixel(left + 20, top + 100), kBackground);
    EXPECT_NE(started.pixel(left + 20, top + 100), qRgb(255, 255, 255));

    // Two cells selected by dragging across them.
    Pointer(wallLeft + 20, wallTop + 20);
    Tool("xdotool", {"mousedown", "1"});
    Pointer(wallLeft + 200, wallTop + 20);
    Tool("xdotool", {"mouseup", "1"});
    QThread::msleep(300);
    const QImage selected = Screenshot("program-selected.png");
    EXPECT_NE(selected.pixel(wallLeft + 20, wallTop + 20), qRgb(255, 255, 255));

    // The PIP menu opens under the pointer, over the dark selected cells, and is drawn: mostly a light face, not an
    // empty black box.
    const QRect underMenu(wallLeft + 45, wallTop + 65, 95, 55);
    EXPECT_LT(LightPixels(selected, underMenu), underMenu.width() * underMenu.height() / 10);
    Click(wallLeft + 40, wallTop + 60, 3);
    const QImage menu = Screenshot("program-pip-menu.png");
    EXPECT_GT(LightPixels(menu, underMenu), underMenu.width() * underMenu.height() / 2);
    Tool("xdotool", {"key", "Escape"});
    QThread::msleep(300);

    // File, then its one item, Exit.
    Click(left + 20, top + 10);
    const QImage fileMenu = Screenshot("program-file-menu.png");
    EXPECT_GT(LightPixels(fileMenu, QRect(left + 30, top + 26, 50, 16)), 50 * 16 / 2);
    Click(left + 40, top + 34);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << "the program said: " << program.readAllStandardError().toStdString();
    EXPECT_EQ(ReadFile(work.File("system.xml")), settings);
}

TEST_F(ProgramTest, InstalledInAFolderDeeperThan260BytesItStillFindsItsBackgroundPicture) {
    TempDir install;
    std::string folder = install.Path();
    while (folder.size() <= 300)
        folder += "/a-folder-deep-in-the-tree";
    const QString copy = InstalledCopy(folder);
    std::filesystem::copy_file(std::filesystem::path(VELTRANO_PROGRAM).parent_path() / "bmp_logo.bmp",
                               folder + "/bmp_logo.bmp");
    ASSERT_TRUE(Start(copy));
    const QImage started = Screenshot("program-installed-deep.png");
    ASSERT_FALSE(started.isNull());
    EXPECT_NE(started.pixel(left + 20, top + 100), kBackground);
    EXPECT_NE(started.pixel(left + 20, top + 100), qRgb(255, 255, 255));
}

TEST_F(ProgramTest, APipeInPlaceOfTheBackgroundPictureIsNoPictureAndDoesNotHoldUpTheStart) {
    TempDir install;
    const QString copy = InstalledCopy(install.Path());
    ASSERT_EQ(mkfifo(install.File("bmp_logo.bmp").c_str(), 0600), 0);
    ASSERT_TRUE(Start(copy));
    const QImage started = Screenshot("program-picture-pipe.png");
    ASSERT_FALSE(started.isNull());
    EXPECT_EQ(started.pixel(left + 20, top + 100), kBackground); // as without a picture
}
