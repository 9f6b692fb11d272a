// The whole program as an operator meets it on a desktop: every scene driven through the X server alone, its
// bytes read at the far ends of its serial ports, its files parsed back, its windows read from the screen.
#include "RunningProgram.h"
#include "Templates.h"
#include "WallFrames.h"
#include "XDesktop.h"

#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

namespace {

using ByteList = std::vector<unsigned char>;

[[maybe_unused]] ByteList Join(std::initializer_list<ByteList> parts) {
    ByteList all;
    for (const ByteList& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class Scenes : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(desktop.Error().empty()) << desktop.Error();
        ASSERT_TRUE(program.Start());
    }
    // Reads what arrives on the port until it has the expected count of bytes or nothing more comes.
    ByteList Sent(int port, size_t count, int timeoutMs = 5000) { return program.Port(port).Read(count, timeoutMs); }
    ByteList Rest(int port) { return program.Port(port).ReadAvailable(300); }
    void OpenWallPort() { desktop.Click(program.BannerPoint(1003)); }

    XDesktop desktop{GetParam()};
    RunningProgram program{desktop};
};

TEST_P(Scenes, TheBannerAndThreePagesSendTheirFramesToTheBlockSelectedWithTheMouse) {
    OpenWallPort();
    const WallGrid& grid = program.Main().grid;
    ASSERT_EQ(grid.Rows(), 3);
    ASSERT_EQ(grid.Columns(), 4);
    // Rows 1 to 2, columns 2 to 3, dragged across.
    desktop.Drag(grid.Centre(0, 1), grid.Centre(1, 2));
    const Area block{1, 2, 2, 3};

    desktop.Click(program.BannerPoint(1006));
    EXPECT_EQ(Sent(1, 6), ShortFrame("POWER-ON", block));
    desktop.Click(program.BannerPoint(1037));
    EXPECT_EQ(Sent(1, 6), ShortFrame("HDMI", block));

    ASSERT_FALSE(program.ShowPage(0).isNull());
    desktop.Click(program.PagePoint(Dialog::kVideo, 1039));
    EXPECT_EQ(Sent(1, 6), ShortFrame("VSY-CONTRAST-UP", block));
    ASSERT_FALSE(program.ShowPage(1).isNull());
    desktop.Click(program.PagePoint(Dialog::kVgaDvi, 1053));
    EXPECT_EQ(Sent(1, 6), ShortFrame("VD-HORIZONTAL-DOWN", block));
    ASSERT_FALSE(program.ShowPage(2).isNull());
    desktop.Click(program.PagePoint(Dialog::kMenu, 1037));
    EXPECT_EQ(Sent(1, 6), ShortFrame("M-MENU", block));
    desktop.Click(program.PagePoint(Dialog::kMenu, 1038));
    EXPECT_EQ(Sent(1, 6), ShortFrame("M-UP", block));
    EXPECT_EQ(Rest(1), ByteList{});

    // The source went to the selected units: their cells read it, the others nothing.
    const QImage screen = desktop.Screen();
    if (getenv("E2E_DEBUG")) screen.save("/tmp/e2e-labels.png");
    const QStringList sources{"DP", "HDMI2", "VGA", "HDMI", "DVI"};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column) {
            const bool selected = row <= 1 && column >= 1 && column <= 2;
            EXPECT_EQ(ReadLabel(screen, grid.Cell(row, column).adjusted(2, 2, -2, -2), sources).toStdString(),
                      selected ? "HDMI" : "")
                << "cell " << row << ", " << column;
        }
}

std::string DesktopName(const testing::TestParamInfo<bool>& info) { return info.param ? "WindowManager" : "Bare"; }

INSTANTIATE_TEST_SUITE_P(Desktop, Scenes, testing::Values(true, false), DesktopName);

} // namespace
