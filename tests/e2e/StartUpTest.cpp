// The program started on what a file or a folder may hold beyond the samples: whatever it is, the program comes up
// and shows it as text, cut where a window could not take it whole, and leaves the file as it was.
#include "RunningProgram.h"
#include "XDesktop.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class StartUp : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(desktop.Error().empty()) << desktop.Error(); }
    XDesktop desktop{false};
};

} // namespace

TEST_F(StartUp, ATitleOfMillionsOfCharactersIsShownCutAndTheFileKeepsIt) {
    RunningProgram program(desktop);
    // The sample's title, 大屏幕拼接控制系统, becomes 4,000,000 times 墙 (GBK C7 BD), as much as the file's text limit
    // allows: 12 MB once made UTF-8.
    std::string settings = program.FileText("system.xml");
    const size_t at = settings.find("title=\"");
    ASSERT_NE(at, std::string::npos);
    const size_t start = at + 7;
    std::string title;
    for (int i = 0; i < 4000000; ++i)
        title += "\xC7\xBD";
    settings.replace(start, settings.find('"', start) - start, title);
    std::ofstream(program.WorkFile("system.xml"), std::ios::binary) << settings;

    ASSERT_TRUE(program.Start(false));
    // The title bar holds the title's beginning, a few hundred characters.
    QString shown;
    EXPECT_TRUE(WaitFor([&] {
        shown = desktop.Tool("xprop", {"-id", program.MainWindowId(), "-notype", "_NET_WM_NAME"});
        return shown.size() > 256;
    })) << shown.toStdString();
    EXPECT_LT(shown.size(), 4096);
    EXPECT_FALSE(program.WaitForExit(500)) << "the program ended: " << program.Said().toStdString();
    EXPECT_EQ(program.FileText("system.xml"), settings);
}

TEST_F(StartUp, AFolderNameThatLooksLikeMarkupShowsAsTextInTheStartUpMessage) {
    // A picture beside the files that the name points at, and no command.xml, so that a message names the folder.
    RunningProgram program(desktop, "h<img src=\"red.png\">x");
    QImage red(64, 64, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(red.save(QString::fromStdString(program.WorkFile("red.png"))));
    std::filesystem::remove(program.WorkFile("command.xml"));

    ASSERT_TRUE(program.Start(false));
    const XDesktop::Window box = program.WaitForNewWindow({}, false);
    ASSERT_FALSE(box.id.isEmpty()) << "no start-up message";
    ASSERT_TRUE(WaitFor([&] { return DarkPixels(desktop.Screen(), box.rect) > 200; })) << "the message is not drawn";
    EXPECT_TRUE(ColourBox(desktop.Screen(), box.rect, qRgb(255, 0, 0)).isNull()) << "the box shows the picture";
    EXPECT_TRUE(WaitFor([&] { return program.Said().contains("h<img src=\"red.png\">x"); }))
        << program.Said().toStdString();
}
