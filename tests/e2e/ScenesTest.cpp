// The whole program as an operator meets it on a desktop: every scene driven through the X server alone, its
// bytes read at the far ends of its serial ports, its files parsed back, its windows read from the screen.
#include "RunningProgram.h"
#include "Templates.h"
#include "WallFrames.h"
#include "XDesktop.h"

#include "tests/support/Bytes.h"

#include <QDir>
#include <QThread>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

using ByteList = std::vector<unsigned char>;

ByteList Join(std::initializer_list<ByteList> parts) {
    ByteList all;
    for (const ByteList& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The sample files as the tests find them in res/, and the program's copies parsed back.
TiXmlDocument Parsed(const std::string& path) {
    TiXmlDocument document;
    document.LoadFile(path.c_str(), TIXML_ENCODING_LEGACY);
    return document;
}

std::string Printed(const TiXmlNode* node) {
    if (!node)
        return "(missing)";
    TiXmlPrinter printer;
    node->Accept(&printer);
    return printer.CStr();
}

const TiXmlElement* Child(const TiXmlNode* parent, const char* name) {
    return parent ? parent->FirstChildElement(name) : nullptr;
}

int Number(const TiXmlElement* e, const char* name) {
    int value = -9999;
    if (e)
        e->QueryIntAttribute(name, &value);
    return value;
}

std::string Text(const TiXmlElement* e, const char* name) {
    return e && e->Attribute(name) ? e->Attribute(name) : "(none)";
}

std::string Sample(const std::string& name) {
    std::ifstream in(std::string(VELTRANO_SOURCE_DIR) + "/res/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every top-level section of the settings file but the named ones, as the sample holds them and as the
// program's copy holds them now.
void ExpectSectionsAsInTheSample(const TiXmlDocument& now, std::initializer_list<std::string> changed) {
    const TiXmlDocument sample = Parsed(std::string(VELTRANO_SOURCE_DIR) + "/res/system.xml");
    for (const TiXmlElement* e = sample.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if (std::find(changed.begin(), changed.end(), e->Value()) != changed.end())
            continue;
        EXPECT_EQ(Printed(Child(now.RootElement(), e->Value())), Printed(e)) << e->Value();
    }
}

// The matrix switch message of the first sample matrix: 0xA5, input - 1, output - 1, and their XOR.
ByteList VgaSwitch(int input, int output) {
    const auto in = static_cast<unsigned char>(input - 1), out = static_cast<unsigned char>(output - 1);
    return {0xA5, in, out, static_cast<unsigned char>(0xA5 ^ in ^ out)};
}

QStringList VgaLabels() {
    QStringList labels{"VGA", "DVI", "HDMI", "HDMI2", "DP"};
    for (int input = 1; input <= 32; ++input)
        labels << QString("VGA[%1]").arg(input);
    return labels;
}

// The rectangle the wall receives for a rectangle of the wall view (client pixels, right and bottom outside
// it): the grid lines taken out, then each cell one unit's screen of 1920 x 1080 (the sample's resolution).
QRect OutputRect(const QRect& r, int cellWidth, int cellHeight) {
    const int pitchX = cellWidth + 1, pitchY = cellHeight + 1;
    const auto unlined = [](int v, int pitch) { return v > 0 ? v - (v - 1) / pitch : v; };
    const int left = unlined(r.left(), pitchX), top = unlined(r.top(), pitchY);
    const int right = unlined(r.left() + r.width(), pitchX), bottom = unlined(r.top() + r.height(), pitchY);
    const double sx = 1920.0 / cellWidth, sy = 1080.0 / cellHeight;
    return QRect(QPoint(int(left * sx), int(top * sy)), QPoint(int(right * sx), int(bottom * sy)));
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
    // Chooses an entry of a drop-down list by moving from the current one with the arrow keys.
    void Choose(QPoint combo, const QString& key, int times) {
        const auto known = program.OtherWindows();
        desktop.Click(combo);
        const XDesktop::Window list = program.WaitForNewWindow(known, true);
        // The list takes the keys once it is drawn.
        WaitFor([&] { return !TextLines(desktop.Screen(), list.rect).empty(); });
        QStringList keys;
        for (int i = 0; i < times; ++i)
            keys << key;
        desktop.Keys(keys << "Return");
        WaitFor([&] { return program.OtherWindows().size() == known.size(); });
    }
    bool WaitForFileChange(const std::string& name, const std::string& before) {
        return WaitFor([&] { return program.FileText(name) != before; });
    }
    std::string Path(const std::string& name) const { return program.Folder().File(name); }
    // Config -> LCD WALL...: the rows and the columns each so many entries up their lists, "Set", then "Close";
    // false when the settings file did not change or the dialog stays.
    bool MakeWallSmaller(int fewerRows, int fewerColumns) {
        const std::string before = program.FileText("system.xml");
        const XDesktop::Window dialog = program.ChooseFromMenuBar(1, 1);
        if (dialog.id.isEmpty())
            return false;
        const QPoint origin = dialog.rect.topLeft();
        Choose(origin + ControlCentre(Dialog::kWallSetting, 1030), "Up", fewerRows);
        Choose(origin + ControlCentre(Dialog::kWallSetting, 1031), "Up", fewerColumns);
        desktop.Click(origin + ControlCentre(Dialog::kWallSetting, 1)); // "Set"
        const bool stored = WaitForFileChange("system.xml", before);
        desktop.Click(origin + ControlCentre(Dialog::kWallSetting, 1083)); // "Close"
        return stored && program.WaitForOnlyMainWindow();
    }
    bool WaitForWall(int rows, int columns) {
        return WaitFor([&] {
            return program.ReadLayout() && program.Main().grid.Rows() == rows &&
                   program.Main().grid.Columns() == columns;
        });
    }
    // "Open PIP window", the first of the three items of the wall's context menu opened at a point; the point
    // clicked on it, where the window opens.
    QPoint OpenPipFromMenu(QPoint where) {
        const auto known = program.OtherWindows();
        desktop.Click(where, 3);
        const XDesktop::Window menu = program.WaitForNewWindow(known, true);
        if (menu.id.isEmpty())
            return {};
        const QPoint at(menu.rect.left() + menu.rect.width() / 3, menu.rect.top() + menu.rect.height() / 6);
        desktop.Click(at);
        return at;
    }
    // Waits until two looks a moment apart find the area of the screen the same.
    void WaitForStill(const QRect& area) {
        QImage last;
        WaitFor([&] {
            const QImage now = desktop.Screen().copy(area);
            const bool still = now == last;
            last = now;
            QThread::msleep(still ? 0 : 100);
            return still;
        });
    }
    // Does what changes the main window's size and waits until the window stands at its new size.
    bool Resize(const std::function<void()>& change) {
        const QSize before = program.Main().client.size();
        change();
        return WaitFor([&] { return program.ReadPlace() && program.Main().client.size() != before; });
    }
    // Keeps a picture of a part of the screen for a person to look at.
    QImage Picture(const QRect& rect, const QString& name) {
        const QImage picture = desktop.Screen().copy(rect);
        QDir().mkpath(VELTRANO_SCREENS);
        picture.save(QString(VELTRANO_SCREENS "/%1-%2.png").arg(GetParam() ? "wm" : "bare", name));
        return picture;
    }

    XDesktop desktop{GetParam()};
    RunningProgram program{desktop};
};

TEST_P(Scenes, TheBannerAndThreePagesSendTheirFramesToTheBlockSelectedWithTheMouse) {
    ASSERT_TRUE(program.OpenWallPort());
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
    desktop.ParkPointer();
    const QImage screen = desktop.Screen();
    const QStringList sources{"DP", "HDMI2", "VGA", "HDMI", "DVI"};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column) {
            const bool selected = row <= 1 && column >= 1 && column <= 2;
            EXPECT_EQ(ReadLabel(screen, grid.Cell(row, column).adjusted(2, 2, -2, -2), sources).toStdString(),
                      selected ? "HDMI" : "")
                << "cell " << row << ", " << column;
        }

    // Unit (1, 1), then (3, 3) with Ctrl: the nine units of the block light up, and they get the command.
    desktop.Click(grid.Centre(0, 0));
    desktop.Tool("xdotool", {"keydown", "ctrl"});
    desktop.Click(grid.Centre(2, 2));
    desktop.Tool("xdotool", {"keyup", "ctrl"});
    desktop.ParkPointer();
    const auto lit = [&](int row, int column) {
        return !ColourBox(desktop.Screen(), grid.Cell(row, column).adjusted(2, 2, -2, -2), qRgb(10, 36, 106)).isNull();
    };
    ASSERT_TRUE(WaitFor([&] { return lit(2, 2); }));
    Picture(program.Main().client, "ctrl-click-selection");
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(lit(row, column), column < 3) << "cell " << row << ", " << column;
    desktop.Click(program.BannerPoint(1006));
    EXPECT_EQ(Sent(1, 6), ShortFrame("POWER-ON", {1, 1, 3, 3}));
}

TEST_P(Scenes, AChannelSwitchedOnTheMatrixPageSendsTheSwitchersBytesAndRelabelsTheCells) {
    ASSERT_TRUE(program.OpenWallPort());
    const WallGrid& grid = program.Main().grid;
    // Row 1, columns 1 to 3: outputs 1, 2 and 3 of the sample map.
    desktop.Drag(grid.Centre(0, 0), grid.Centre(0, 2));
    ASSERT_FALSE(program.ShowPage(5).isNull());
    desktop.Click(program.PagePoint(Dialog::kMatrix, 1083)); // " Increase "
    desktop.Click(program.PagePoint(Dialog::kMatrix, 1158)); // channel 4
    // The first sample matrix goes out on the wall's port; its signal command follows the switches.
    EXPECT_EQ(Sent(1, 18, 10000),
              Join({VgaSwitch(4, 1), VgaSwitch(5, 2), VgaSwitch(6, 3), ShortFrame("VGA", {1, 1, 1, 3})}));
    EXPECT_EQ(Rest(1), ByteList{});

    desktop.ParkPointer();
    ASSERT_TRUE(WaitFor([&] { return !ReadLabel(desktop.Screen(), grid.Cell(0, 0), VgaLabels()).isEmpty(); }));
    const QImage screen = desktop.Screen();
    const QString expected[3][4] = {{"VGA[4]", "VGA[5]", "VGA[6]", ""}, {"", "", "", ""}, {"", "", "", ""}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(ReadLabel(screen, grid.Cell(row, column).adjusted(2, 2, -2, -2), VgaLabels()).toStdString(),
                      expected[row][column].toStdString())
                << "cell " << row << ", " << column;

    // The fourth sample matrix has no command chosen: its channels send nothing, and say why.
    Choose(program.PagePoint(Dialog::kMatrix, 1086), "Down", 3);
    const auto known = program.OtherWindows();
    desktop.Click(program.PagePoint(Dialog::kMatrix, 1159)); // channel 5
    const XDesktop::Window box = program.WaitForNewWindow(known, false);
    ASSERT_FALSE(box.id.isEmpty()) << "nothing told";
    program.WaitForFocus(box);
    desktop.Keys({"Return"});
    ASSERT_TRUE(program.WaitForOnlyMainWindow());
    EXPECT_EQ(Rest(1), ByteList{});
}

TEST_P(Scenes, ThePipWindowOpensFromTheWallsMenuSendsEachPlaceItIsDraggedToAndTheMenuOpensFromTheKeysToo) {
    ASSERT_TRUE(program.OpenWallPort());
    const WallGrid grid = program.Main().grid;
    const QRect wall = program.Main().wall;
    const int cellWidth = grid.columnLines[0] - wall.left(), cellHeight = grid.rowLines[0] - wall.top();
    const Area whole{1, 1, 4, 3}; // the window commands' area: columns, then rows
    const QRgb pipColour = qRgb(219, 230, 11);
    const auto placeOnScreen = [&] { return ColourBox(desktop.Screen(), wall, pipColour); };
    // What the wall must receive for the place the window shows.
    const auto frameFor = [&](const char* command, const QRect& shown) {
        return WindowFrame(command, whole, OutputRect(shown.translated(-wall.topLeft()), cellWidth, cellHeight));
    };

    // The window opens where the pointer is on the menu's item.
    const QPoint at = OpenPipFromMenu(grid.Cell(1, 1).topLeft() + QPoint(20, 15));
    ASSERT_FALSE(at.isNull()) << "no context menu";
    const ByteList opened = Sent(1, 15);
    ASSERT_TRUE(WaitFor([&] { return !placeOnScreen().isNull(); })) << "no PIP window";
    const QRect first = placeOnScreen();

    // Half a cell wide and high, its corner at the pointer.
    EXPECT_EQ(first.topLeft(), at);
    EXPECT_EQ(first.width(), cellWidth / 2);
    EXPECT_EQ(first.height(), cellHeight / 2);
    EXPECT_EQ(opened, frameFor("P-OPEN-WINDOW", first));

    // Dragged by its face a cell to the right and a little down.
    const QPoint by(cellWidth, 24);
    desktop.Drag(first.center(), first.center() + by);
    const ByteList moved = Sent(1, 15);
    ASSERT_TRUE(WaitFor([&] { return placeOnScreen() == first.translated(by); })) << "the window did not move";
    EXPECT_EQ(moved, frameFor("P-MOVE-WINDOW", first.translated(by)));

    // Sized by its lower right corner.
    const QRect second = first.translated(by);
    desktop.Drag(second.bottomRight() - QPoint(1, 1), second.bottomRight() + QPoint(39, 29));
    const ByteList sized = Sent(1, 15);
    const QRect third = second.adjusted(0, 0, 40, 30);
    ASSERT_TRUE(WaitFor([&] { return placeOnScreen() == third; })) << "the window did not grow";
    EXPECT_EQ(sized, frameFor("P-MOVE-WINDOW", third));

    // From the keys the wall's menu opens on the focus cell: Shift+F10 gives the window a source, the menu key
    // closes it.
    desktop.Click(grid.Centre(0, 0));
    desktop.ParkPointer();
    for (const auto& [key, items, command] :
         {std::make_tuple("shift+F10", QStringList{"Down", "Down", "Down", "Right", "Return"}, "P-PIP-SOURCE-VIDEO1"),
          std::make_tuple("Menu", QStringList{"Down", "Down", "Return"}, "P-CLOSE-WINDOW")}) {
        const auto known = program.OtherWindows();
        desktop.Keys({key});
        const XDesktop::Window menu = program.WaitForNewWindow(known, true);
        ASSERT_TRUE(grid.Cell(0, 0).contains(menu.rect.topLeft())) << key << " opens no menu on the focus cell";
        desktop.Keys(items);
        EXPECT_EQ(Sent(1, 15), WindowFrame(command, whole, QRect(QPoint(), QPoint())));
        ASSERT_TRUE(program.WaitForOnlyMainWindow());
    }
    EXPECT_TRUE(WaitFor([&] { return placeOnScreen().isNull(); })) << "the PIP window stays";
    EXPECT_EQ(Rest(1), ByteList{});
}

TEST_P(Scenes, ThePipWindowKeepsItsPartOfTheWallAndTheWallFillsTheViewAfterARestoreAShrinkAndAMaximise) {
    ASSERT_TRUE(program.OpenWallPort());
    const QString id = program.MainWindowId();
    const QRgb pipColour = qRgb(219, 230, 11);
    // A window manager maximises and restores on a double click on the title bar, and the operator drags the
    // frame's lower right corner; without one the window is given each size as a manager would give it.
    const auto titleBar = [&] {
        const QRect client = program.Main().client;
        return QPoint(client.center().x(), client.top() - desktop.FrameExtents(id).top() / 2);
    };
    const auto setSize = [&](int width, int height) {
        desktop.Tool("xdotool", {"windowsize", id, QString::number(width), QString::number(height)});
    };
    const auto maximise = [&] { GetParam() ? desktop.DoubleClick(titleBar()) : setSize(1150, 1000); };
    const auto restore = [&] { GetParam() ? desktop.DoubleClick(titleBar()) : setSize(1022, 971); };
    const auto shrink = [&] {
        if (!GetParam())
            return setSize(300, 300);
        // The corner is where the window stands once the manager has done with the restore, not where it stood.
        WaitForStill(desktop.Screen().rect());
        program.ReadPlace();
        const QRect client = program.Main().client;
        const QMargins frame = desktop.FrameExtents(id);
        const QPoint corner = client.bottomRight() + QPoint(frame.right(), frame.bottom() - 1);
        desktop.Drag(corner, corner - QPoint(client.width() - 372, client.height() - 340));
    };
    // Where the PIP window shows whole on the wall (its colour fills its box but for its name, which shows), and
    // whether that is the wall's rectangle to a pixel of the view.
    const auto shown = [&] {
        const QImage screen = desktop.Screen();
        const QRect box = ColourBox(screen, program.Main().wall, pipColour);
        int filled = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                filled += (screen.pixel(x, y) & 0xFFFFFF) == (pipColour & 0xFFFFFF);
        const bool whole = filled * 20 > box.width() * box.height() * 19 && DarkPixels(screen, box) > 10;
        return whole ? box : QRect();
    };
    const auto standsFor = [&](const QRect& wallRect) {
        const RunningProgram::Layout& now = program.Main();
        const int cellWidth = now.grid.columnLines[0] - now.wall.left();
        const int cellHeight = now.grid.rowLines[0] - now.wall.top();
        const QRect seen = OutputRect(shown().translated(-now.wall.topLeft()), cellWidth, cellHeight);
        const int dx = 1920 / cellWidth + 1, dy = 1080 / cellHeight + 1;
        return std::abs(seen.left() - wallRect.left()) <= dx && std::abs(seen.right() - wallRect.right()) <= dx &&
               std::abs(seen.top() - wallRect.top()) <= dy && std::abs(seen.bottom() - wallRect.bottom()) <= dy;
    };

    ASSERT_TRUE(Resize(maximise) && program.WaitForLayout());
    const RunningProgram::Layout maximised = program.Main();
    ASSERT_FALSE(OpenPipFromMenu(maximised.grid.Centre(2, 3)).isNull()) << "no context menu";
    const QRect wallRect = WallRectOf(Sent(1, 15));
    ASSERT_FALSE(wallRect.isNull()) << "no window frame";
    ASSERT_TRUE(WaitFor([&] { return !shown().isNull(); })) << "no PIP window";
    const QRect opened = shown();

    // Restored, the window shows the same part of the wall on the smaller cells.
    ASSERT_TRUE(Resize(restore) && program.WaitForLayout());
    EXPECT_TRUE(WaitFor([&] { return standsFor(wallRect); }))
        << "the PIP window stands at " << shown().x() << ", " << shown().y() << " in the wall at "
        << program.Main().wall.x() << ", " << program.Main().wall.y() << "; the screen is in "
        << desktop.KeepScreen("restored");

    // Shrunk until the upper pane, which gives way before the banner, shows scroll bars, then maximised in one step:
    // the wall and its cells as a plain maximise gave them, the window where it was opened.
    ASSERT_TRUE(Resize(shrink)) << "the window stays at " << program.Main().client.width() << " x "
                                << program.Main().client.height() << "; the screen is in "
                                << desktop.KeepScreen("shrink");
    WaitForStill(program.Main().client);
    ASSERT_TRUE(Resize(maximise) && program.WaitForLayout());
    EXPECT_EQ(program.Main().wall, maximised.wall);
    EXPECT_EQ(program.Main().grid.columnLines, maximised.grid.columnLines);
    EXPECT_EQ(program.Main().grid.rowLines, maximised.grid.rowLines);
    EXPECT_TRUE(WaitFor([&] { return shown() == opened; }))
        << "the PIP window is not drawn whole where it was opened; the screen is in " << desktop.KeepScreen("pip");
    Picture(program.Main().client, "main-shrunk-maximised-pip");
    // The wall did not change: nothing went out.
    EXPECT_EQ(Rest(1), ByteList{});
}

TEST_P(Scenes, ADragHeldFarPastTheWallsRightEdgeSelectsTheRowUpToTheLastUnit) {
    ASSERT_TRUE(program.OpenWallPort());
    const WallGrid& grid = program.Main().grid;
    const QRgb highlight = qRgb(10, 36, 106);
    desktop.Press(grid.Centre(0, 0));
    desktop.MoveTo(QPoint(program.Main().wall.right() + 150, grid.Centre(0, 0).y()));
    // The wall steps on by itself while the button is held out there.
    EXPECT_TRUE(WaitFor([&] { return !ColourBox(desktop.Screen(), grid.Cell(0, 3), highlight).isNull(); }))
        << "the last unit of the row is not selected; the screen is in " << desktop.KeepScreen("drag");
    desktop.Release();
    desktop.Click(program.BannerPoint(1006));
    EXPECT_EQ(Sent(1, 6), ShortFrame("POWER-ON", {1, 1, 1, 4}));
}

TEST_P(Scenes, TabAndShiftTabGoRoundTheLiveControlsEachShowingItsFocusAndEnterPressesTheFocusedButton) {
    const RunningProgram::Layout& main = program.Main();
    const auto banner = [&](int id) { return ControlRect(Dialog::kBanner, id).translated(main.banner.topLeft()); };
    // The key moves the focus to the control named, which shows it: its picture changes. Where it does not, the
    // focus is lost for the steps after it too.
    const auto step = [&](const QString& key, const QRect& next, const std::string& name) {
        const QImage before = desktop.Screen().copy(next);
        desktop.Keys({key});
        const bool shown = WaitFor([&] { return desktop.Screen().copy(next) != before; }, 5000);
        EXPECT_TRUE(shown) << key.toStdString() << " shows no focus on " << name << "; the screen is in "
                           << desktop.KeepScreen("focus");
        return shown;
    };
    // With the port closed only "Open" is live beside the wall. Space opens the port, and the focus goes on from
    // the button that turns grey to the next live one.
    desktop.Click(main.grid.Centre(0, 0));
    desktop.ParkPointer();
    if (!step("Tab", banner(1003), "Open") || !step("Tab", main.wall, "the wall") ||
        !step("shift+Tab", banner(1003), "Open"))
        return;
    desktop.Keys({"space"});
    ASSERT_TRUE(WaitFor([&] { return DarkPixels(desktop.Screen(), banner(1006)) > 20; })) << "the port is not open";
    if (!step("Tab", banner(1006), "Power On"))
        return;

    const QPoint page = program.ShowPage(3);
    ASSERT_FALSE(page.isNull());
    const QRect sheet = ControlRect(Dialog::kBanner, 1051).translated(main.banner.topLeft());
    const std::vector<std::pair<QRect, std::string>> round = {
        {ControlRect(Dialog::kScene, 1069).translated(page), "Save"},
        {ControlRect(Dialog::kScene, 1070).translated(page), "Load"},
        {ControlRect(Dialog::kScene, 1071).translated(page), "Rename"},
        {ControlRect(Dialog::kScene, 1082).translated(page), "Record"},
        {main.wall, "the wall"},
        {banner(1004), "Close"},
        {banner(1006), "Power On"},
        {banner(1005), "Power Off"},
        {banner(1009), "DP"},
        {banner(1011), "HDMI2"},
        {banner(1013), "VGA"},
        {banner(1037), "HDMI"},
        {banner(1038), "DVI"},
        {banner(1039), "Unit"},
        {QRect(sheet.topLeft(), QSize(sheet.width(), 26)), "the tabs"},
        {ControlRect(Dialog::kScene, 1072).translated(page), "the scene combo"},
    };
    desktop.Click(page + ControlCentre(Dialog::kScene, 1072));
    desktop.ParkPointer();
    for (const auto& [rect, name] : round)
        if (!step("Tab", rect, name))
            return;
    // Round again the other way, on to the tabs, whose arrows bring the VIDEO page in front: its picture buttons
    // show the focus too.
    for (size_t n = 1; n <= round.size() + 1; ++n) {
        const auto& [rect, name] = round[(2 * round.size() - 1 - n) % round.size()];
        if (!step("shift+Tab", rect, name))
            return;
    }
    const QRect pageArea = ControlRect(Dialog::kVideo, 1034).translated(page);
    const QImage scene = desktop.Screen().copy(pageArea);
    desktop.Keys({"Left", "Left", "Left"});
    ASSERT_TRUE(WaitFor([&] { return desktop.Screen().copy(pageArea) != scene; })) << "VIDEO is not in front";
    WaitForStill(pageArea);
    if (!step("Tab", pageArea, "the first picture button of VIDEO"))
        return;
    // Enter presses the push button that has the focus, on the selected unit.
    desktop.Keys({"Return"});
    EXPECT_EQ(Sent(1, 6), ShortFrame("VSY-BRIGHTNESS-DOWN", {1, 1, 1, 1}));
}

TEST_P(Scenes, TheWallLayoutDialogChangesRowsAndColumnsInTheFileAndOnTheWall) {
    ASSERT_TRUE(MakeWallSmaller(1, 1)); // 3 rows become 2, 4 columns 3

    const TiXmlDocument settings = Parsed(Path("system.xml"));
    const TiXmlElement* wall = Child(settings.RootElement(), "LCDWALL");
    EXPECT_EQ(Number(wall, "row"), 2);
    EXPECT_EQ(Number(wall, "col"), 3);
    EXPECT_EQ(Number(wall, "pixel"), 6);
    // A new size numbers the units afresh, row by row.
    std::vector<std::vector<int>> map;
    for (const TiXmlElement* item = Child(Child(wall, "OUTPUT_MAPPING"), "ITEM"); item;
         item = item->NextSiblingElement("ITEM"))
        map.push_back({Number(item, "row"), Number(item, "col"), Number(item, "output")});
    EXPECT_EQ(map, (std::vector<std::vector<int>>{{1, 1, 1}, {1, 2, 2}, {1, 3, 3}, {2, 1, 4}, {2, 2, 5}, {2, 3, 6}}));
    ExpectSectionsAsInTheSample(settings, {"LCDWALL"});

    // The wall is drawn anew: two rows of three.
    EXPECT_TRUE(WaitForWall(2, 3)) << "the wall shows " << program.Main().grid.Rows() << " x "
                                   << program.Main().grid.Columns();
}

TEST_P(Scenes, APipWindowOnUnitsAWallMadeSmallerLosesIsTakenOntoItAndTheWallIsToldSo) {
    ASSERT_TRUE(program.OpenWallPort());
    const auto pipOnScreen = [&] { return ColourBox(desktop.Screen(), program.Main().wall, qRgb(219, 230, 11)); };
    // Opened on unit (3, 4), then the wall becomes one unit: the window moves onto its one screen, keeping its
    // size of half a screen, and the wall hears where with its new size.
    ASSERT_FALSE(OpenPipFromMenu(program.Main().grid.Cell(2, 3).center()).isNull()) << "no context menu";
    ASSERT_EQ(Sent(1, 15).size(), 15u);
    ASSERT_TRUE(MakeWallSmaller(2, 3));
    const ByteList moved = Sent(1, 15);
    const QRect placed = WallRectOf(moved), screen(QPoint(0, 0), QPoint(1920, 1080));
    EXPECT_TRUE(screen.contains(placed));
    EXPECT_NEAR(placed.width(), 960, 4);
    EXPECT_EQ(moved, WindowFrame("P-MOVE-WINDOW", {1, 1, 1, 1}, placed));
    ASSERT_TRUE(WaitForWall(1, 1) && WaitFor([&] { return !pipOnScreen().isNull(); })) << desktop.KeepScreen("pip");
    desktop.ParkPointer();
    Picture(program.Main().client, "pip-after-shrink");
    // Within reach: dragged far past the wall's corner, it stops there.
    const QPoint face = pipOnScreen().center();
    desktop.Drag(face, face + QPoint(300, 300));
    EXPECT_TRUE(screen.contains(WallRectOf(Sent(1, 15))));
    EXPECT_EQ(Rest(1), ByteList{});
}

TEST_P(Scenes, TheMatrixSettingDialogRenamesAMatrixAndAChannelInTheFile) {
    const std::string before = program.FileText("matrix.xml");
    const XDesktop::Window dialog = program.ChooseFromMenuBar(1, 2);
    ASSERT_FALSE(dialog.id.isEmpty());
    EXPECT_EQ(dialog.rect.size(), DialogSize(Dialog::kMatrixSetting));
    const QPoint origin = dialog.rect.topLeft();
    desktop.Click(origin + ControlCentre(Dialog::kMatrixSetting, 1103));
    desktop.Keys({"ctrl+a"});
    desktop.Type("Lobby VGA");
    // The channel table: the name of channel 1 just under the heading, then one row down to channel 2. The
    // dialog gives the table a heading row 26 pixels high and a number column 50 wide, the names 120.
    const QRect table = ControlRect(Dialog::kMatrixSetting, 1102).translated(origin);
    desktop.Click(QPoint(table.left() + 50 + 60, table.top() + 26 + 8));
    desktop.Keys({"Down"});
    desktop.Type("Foyer");
    desktop.Keys({"Return"});
    desktop.Click(origin + ControlCentre(Dialog::kMatrixSetting, 1082)); // "Set"
    ASSERT_TRUE(WaitForFileChange("matrix.xml", before));
    desktop.Click(origin + ControlCentre(Dialog::kMatrixSetting, 1083)); // "Close"
    EXPECT_TRUE(program.WaitForOnlyMainWindow());

    const TiXmlDocument now = Parsed(Path("matrix.xml"));
    const TiXmlDocument sample = Parsed(std::string(VELTRANO_SOURCE_DIR) + "/res/matrix.xml");
    const TiXmlElement* matrix = Child(now.RootElement(), "MATRIX");
    const TiXmlElement* was = Child(sample.RootElement(), "MATRIX");
    EXPECT_EQ(Text(matrix, "name"), "Lobby VGA");
    EXPECT_EQ(Text(matrix, "type"), "VGA");
    std::map<int, std::string> channels;
    for (const TiXmlElement* item = Child(Child(matrix, "CHANNEL"), "ITEM"); item; item = item->NextSiblingElement())
        channels[Number(item, "id")] = Text(item, "name");
    EXPECT_EQ(Number(Child(matrix, "CHANNEL"), "count"), 16);
    EXPECT_EQ(channels[2], "Foyer");
    EXPECT_EQ(channels[1], Text(Child(Child(was, "CHANNEL"), "ITEM"), "name"));
    // Its messages and the other matrices stay as they were.
    for (const TiXmlElement *m = Child(matrix, "MESSAGE"), *w = Child(was, "MESSAGE"); m || w;
         m = m ? m->NextSiblingElement("MESSAGE") : nullptr, w = w ? w->NextSiblingElement("MESSAGE") : nullptr)
        EXPECT_EQ(Printed(m), Printed(w));
    for (const TiXmlElement *m = matrix->NextSiblingElement("MATRIX"), *w = was->NextSiblingElement("MATRIX"); m || w;
         m = m ? m->NextSiblingElement("MATRIX") : nullptr, w = w ? w->NextSiblingElement("MATRIX") : nullptr)
        EXPECT_EQ(Printed(m), Printed(w));
}

TEST_P(Scenes, ASceneRecordedAndSavedIsLoadedBackAfterTheWallChanged) {
    ASSERT_TRUE(program.OpenWallPort());
    const WallGrid& grid = program.Main().grid;
    desktop.Drag(grid.Centre(0, 0), grid.Centre(0, 1)); // outputs 1 and 2
    const Area block{1, 1, 1, 2};
    ASSERT_FALSE(program.ShowPage(3).isNull());
    desktop.Click(program.PagePoint(Dialog::kScene, 1082)); // "Record"
    ASSERT_FALSE(program.ShowPage(5).isNull());
    desktop.Click(program.PagePoint(Dialog::kMatrix, 1157)); // channel 3
    EXPECT_EQ(Sent(1, 14, 10000), Join({VgaSwitch(3, 1), VgaSwitch(3, 2), ShortFrame("VGA", block)}));
    ASSERT_FALSE(program.ShowPage(3).isNull());
    desktop.Click(program.PagePoint(Dialog::kScene, 1082)); // "Stop"
    const std::string before = program.FileText("system.xml");
    desktop.Click(program.PagePoint(Dialog::kScene, 1069)); // "Save" under the first scene's name
    EXPECT_EQ(Sent(1, 6), ShortFrame("S-SAVE", block, 1));
    ASSERT_TRUE(WaitForFileChange("system.xml", before));

    const TiXmlDocument settings = Parsed(Path("system.xml"));
    const TiXmlElement* scene = Child(Child(settings.RootElement(), "SCENE"), "ITEM");
    EXPECT_EQ(Number(scene, "id"), 1);
    EXPECT_EQ((std::vector<int>{Number(scene, "left"), Number(scene, "top"), Number(scene, "right"),
                                Number(scene, "bottom")}),
              (std::vector<int>{1, 1, 1, 2}));
    std::vector<std::string> records;
    for (const TiXmlElement* r = Child(scene, "MATRIXREC"); r; r = r->NextSiblingElement("MATRIXREC"))
        records.push_back(Text(r, "msg") + " " + Text(r, "input") + " " + Text(r, "output") + " " + Text(r, "port"));
    const TiXmlDocument sample = Parsed(std::string(VELTRANO_SOURCE_DIR) + "/res/system.xml");
    const TiXmlElement* sampleScene = Child(Child(sample.RootElement(), "SCENE"), "ITEM");
    const std::string message = Text(Child(sampleScene, "MATRIXREC"), "msg");
    EXPECT_EQ(records, (std::vector<std::string>{message + " 3 1 COM1", message + " 3 2 COM1"}));
    EXPECT_EQ(Text(Child(scene, "MATRIXREC"), "matrix"), Text(Child(sampleScene, "MATRIXREC"), "matrix"));
    EXPECT_EQ(Printed(scene->NextSiblingElement()), Printed(sampleScene->NextSiblingElement()));

    // The wall changes: another channel on the same units.
    ASSERT_FALSE(program.ShowPage(5).isNull());
    desktop.Click(program.PagePoint(Dialog::kMatrix, 1159)); // channel 5
    EXPECT_EQ(Sent(1, 14, 10000), Join({VgaSwitch(5, 1), VgaSwitch(5, 2), ShortFrame("VGA", block)}));
    // Loading the scene tells its units and switches back what it recorded, with no pause of its own.
    ASSERT_FALSE(program.ShowPage(3).isNull());
    desktop.Click(program.PagePoint(Dialog::kScene, 1070)); // "Load"
    EXPECT_EQ(Sent(1, 14), Join({ShortFrame("S-LOAD", block, 1), VgaSwitch(3, 1), VgaSwitch(3, 2)}));
    EXPECT_EQ(Rest(1), ByteList{});
}

TEST_P(Scenes, ARenameToAnotherScenesNameIsRefusedAndTheKeyboardComesBackAfterTheBox) {
    ASSERT_TRUE(program.OpenWallPort());
    const QPoint page = program.ShowPage(3);
    ASSERT_FALSE(page.isNull());
    const QRect combo = ControlRect(Dialog::kScene, 1072).translated(page);
    const QPoint arrow(combo.right() - 8, combo.top() + 12), edit = page + ControlCentre(Dialog::kScene, 1072);
    const auto rename = [&](const char* key, const QString& name) {
        Choose(arrow, key, 1); // from the list, by its arrow keys
        desktop.Click(edit);
        desktop.Keys({"ctrl+a"});
        desktop.Type(name);
        desktop.Click(program.PagePoint(Dialog::kScene, 1071)); // "Rename": the edit field loses the focus
    };
    // The second scene becomes "Day".
    const std::string before = program.FileText("system.xml");
    rename("Down", "Day");
    ASSERT_TRUE(WaitForFileChange("system.xml", before));
    const std::string renamed = program.FileText("system.xml");
    const TiXmlDocument settings = Parsed(Path("system.xml"));
    const TiXmlElement* first = Child(Child(settings.RootElement(), "SCENE"), "ITEM");
    EXPECT_EQ(Text(first ? first->NextSiblingElement("ITEM") : nullptr, "name"), "Day");

    // The first scene chosen from the list, the second's name typed: the rename is refused.
    const auto known = program.OtherWindows();
    rename("Up", "Day");
    const XDesktop::Window box = program.WaitForNewWindow(known, false);
    ASSERT_FALSE(box.id.isEmpty()) << "no refusal";
    EXPECT_NE(box.name.toStdString(), "veltrano");
    WaitFor([&] { return ShowsSomething(desktop.Screen().copy(box.rect)); });
    Picture(box.rect.marginsAdded(desktop.FrameExtents(box.id)), "message-box");
    EXPECT_EQ(program.FileText("system.xml"), renamed);

    // Closed with Enter, the box gives the keyboard back to the main window: Alt+E opens the Config menu.
    program.WaitForFocus(box);
    desktop.Keys({"Return"});
    ASSERT_TRUE(program.WaitForOnlyMainWindow());
    program.WaitForFocus({program.MainWindowId(), {}, {}, false});
    desktop.Keys({"alt+e"});
    EXPECT_FALSE(program.WaitForNewWindow(known, true).id.isEmpty()) << "the keys went nowhere";
    desktop.Keys({"Escape"});
    ASSERT_TRUE(program.WaitForOnlyMainWindow());
}

TEST_P(Scenes, TheStatusBarShowsCapAndNumWhileTheirKeysAreLocked) {
    const QRect client = program.Main().client;
    const QRect locks(client.right() - 110, client.bottom() - 18, 110, 16);
    EXPECT_EQ(DarkPixels(desktop.Screen(), locks), 0);
    desktop.Keys({"Caps_Lock", "Num_Lock"});
    EXPECT_TRUE(WaitFor([&] { return DarkPixels(desktop.Screen(), locks) > 20; })) << "no CAP and NUM";
    Picture(locks, "lock-panes");
    desktop.Keys({"Caps_Lock", "Num_Lock"});
    EXPECT_TRUE(WaitFor([&] { return DarkPixels(desktop.Screen(), locks) == 0; }));
}

TEST_P(Scenes, TheMonitorRemoteSendsToOneAddressAndToARangeOnItsOwnPort) {
    const XDesktop::Window dialog = program.ChooseFromMenuBar(1, 3);
    ASSERT_FALSE(dialog.id.isEmpty());
    EXPECT_EQ(dialog.rect.size(), DialogSize(Dialog::kMonitor));
    const QPoint origin = dialog.rect.topLeft();
    // The stored settings name COM3 already: open it.
    desktop.Click(origin + ControlCentre(Dialog::kMonitor, 1082));
    ASSERT_TRUE(program.WaitForPortOpen(3));
    Choose(origin + ControlCentre(Dialog::kMonitor, 1105), "Down", 6); // single address 7
    desktop.Click(origin + ControlCentre(Dialog::kMonitor, 1108));     // power on
    EXPECT_EQ(Sent(3, 6), Bytes({0xD5, 7, 7, 0x10, 0x01, 0xAA}));
    desktop.Click(origin + ControlCentre(Dialog::kMonitor, 1087));     // range, 1 to ...
    Choose(origin + ControlCentre(Dialog::kMonitor, 1032), "Down", 3); // ... 5
    desktop.Click(origin + ControlCentre(Dialog::kMonitor, 1120));     // mute
    EXPECT_EQ(Sent(3, 6), Bytes({0xD5, 1, 5, 0x2B, 0x01, 0xAA}));
    desktop.Click(origin + ControlCentre(Dialog::kMonitor, 1));
    EXPECT_TRUE(program.WaitForOnlyMainWindow());
    EXPECT_EQ(Rest(3), ByteList{});
    EXPECT_EQ(Rest(1), ByteList{});
}

TEST_P(Scenes, APopUpMenuAndATitleTipShowOnTopOfTheirWindows) {
    // The wall's context menu over a white cell: drawn, not left white or black.
    const WallGrid& grid = program.Main().grid;
    auto known = program.OtherWindows();
    desktop.Click(grid.Centre(0, 0), 3);
    const XDesktop::Window menu = program.WaitForNewWindow(known, true);
    ASSERT_FALSE(menu.id.isEmpty());
    EXPECT_TRUE(program.Main().client.contains(menu.rect.topLeft()));
    EXPECT_TRUE(WaitFor([&] {
        const QImage shown = desktop.Screen().copy(menu.rect);
        return ShowsSomething(shown) && DarkPixels(shown, shown.rect()) > 50;
    })) << "the menu is not drawn on the screen";
    Picture(menu.rect, "wall-menu");
    desktop.Keys({"Escape"});
    ASSERT_TRUE(program.WaitForOnlyMainWindow());

    // A channel name longer than its column in the matrix-setting dialog (the table as above): the pointer over
    // it shows it whole, in a tip standing out of the table.
    const XDesktop::Window dialog = program.ChooseFromMenuBar(1, 2);
    ASSERT_FALSE(dialog.id.isEmpty());
    const QRect table = ControlRect(Dialog::kMatrixSetting, 1102).translated(dialog.rect.topLeft());
    const QPoint cell(table.left() + 50 + 60, table.top() + 26 + 8);
    desktop.Click(cell);
    desktop.Type("A channel name far longer than its column");
    desktop.Keys({"Return"});
    known = program.OtherWindows();
    desktop.MoveTo(cell + QPoint(0, 40));
    desktop.MoveTo(cell + QPoint(5, 0));
    const XDesktop::Window tip = program.WaitForNewWindow(known, true);
    ASSERT_FALSE(tip.id.isEmpty()) << "no title tip";
    EXPECT_GT(tip.rect.right(), table.left() + 50 + 120) << "the tip is no wider than the column";
    EXPECT_TRUE(WaitFor([&] {
        const QImage shown = desktop.Screen().copy(tip.rect);
        return ShowsSomething(shown) && DarkPixels(shown, shown.rect()) > 50;
    })) << "the tip is not drawn on the screen";
    Picture(tip.rect.adjusted(-60, -20, 60, 20), "title-tip");
}

TEST_P(Scenes, QuittingFromTheMenuEndsWithZeroAndLeavesTheFilesAsTheyWere) {
    // A setting changed first, so that there is something the exit could write.
    ASSERT_TRUE(program.OpenWallPort());
    ASSERT_FALSE(program.ShowPage(5).isNull());
    desktop.Click(program.PagePoint(Dialog::kMatrix, 1106)); // the first matrix has no port of its own
    const std::map<std::string, std::string> files = {{"system.xml", program.FileText("system.xml")},
                                                      {"matrix.xml", program.FileText("matrix.xml")},
                                                      {"command.xml", program.FileText("command.xml")}};
    // "File", then its one item, "Exit".
    program.ChooseFromMenuBar(0, 0);
    ASSERT_TRUE(program.WaitForExit()) << "the program still runs";
    EXPECT_TRUE(program.ExitedNormally());
    EXPECT_EQ(program.ExitCode(), 0) << program.Said().toStdString();
    for (const auto& [name, text] : files)
        EXPECT_EQ(program.FileText(name), text) << name;
    EXPECT_EQ(program.FileText("command.xml"), Sample("command.xml"));
}

TEST_P(Scenes, PicturesOfTheMainWindowWithEachPageInFrontAndOfEveryDialogShowSomethingAtTheirSize) {
    // The serial-port dialog refuses to open while the wall's port is open: it comes first.
    const struct {
        int item;
        unsigned dialog;
        const char* name;
    } configDialogs[] = {{0, Dialog::kCommSetting, "serial-port"},
                         {1, Dialog::kWallSetting, "wall-layout"},
                         {2, Dialog::kMatrixSetting, "matrix-setting"},
                         {3, Dialog::kMonitor, "monitor-remote"},
                         {4, Dialog::kAdvanced, "advanced-control"}};
    for (const auto& d : configDialogs) {
        const XDesktop::Window dialog = program.ChooseFromMenuBar(1, d.item);
        ASSERT_FALSE(dialog.id.isEmpty()) << d.name;
        EXPECT_NE(dialog.name.toStdString(), "veltrano") << d.name << " is titled with the program's file name";
        const QImage picture = Picture(dialog.rect, QString("dialog-") + d.name);
        EXPECT_EQ(picture.size(), DialogSize(d.dialog)) << d.name;
        EXPECT_TRUE(ShowsSomething(picture)) << d.name;
        desktop.Keys({"Escape"});
        ASSERT_TRUE(program.WaitForOnlyMainWindow()) << d.name << " does not close";
        EXPECT_TRUE(program.WaitForFocus({program.MainWindowId(), {}, {}, false})) << "after " << d.name;
    }

    ASSERT_TRUE(program.OpenWallPort());
    const char* pages[] = {"video", "vga-dvi", "menu", "scene", "other", "matrix"};
    for (int tab = 0; tab < 6; ++tab) {
        ASSERT_FALSE(program.ShowPage(tab).isNull()) << pages[tab];
        const QImage picture = Picture(program.Main().client, QString("main-") + pages[tab]);
        EXPECT_EQ(picture.size(), program.Main().client.size()) << pages[tab];
        // The window is 1024 wide with the frame a window manager draws around it.
        const QMargins frame = desktop.FrameExtents(program.MainWindowId());
        EXPECT_EQ(picture.width() + frame.left() + frame.right(), 1024);
        EXPECT_TRUE(ShowsSomething(picture)) << pages[tab];
    }

    // The VGA/DVI page's two dialogs.
    ASSERT_FALSE(program.ShowPage(1).isNull());
    for (const auto& [control, dialogId, name] :
         {std::make_tuple(1082, Dialog::kAdc, "adc"), std::make_tuple(1087, Dialog::kWhiteBalance, "white-balance")}) {
        const auto known = program.OtherWindows();
        desktop.Click(program.PagePoint(Dialog::kVgaDvi, control));
        const XDesktop::Window dialog = program.WaitForNewWindow(known, false);
        ASSERT_FALSE(dialog.id.isEmpty()) << name;
        EXPECT_NE(dialog.name.toStdString(), "veltrano") << name;
        WaitFor([&] { return ShowsSomething(desktop.Screen().copy(dialog.rect)); });
        const QImage picture = Picture(dialog.rect, QString("dialog-") + name);
        EXPECT_EQ(picture.size(), DialogSize(dialogId)) << name;
        EXPECT_TRUE(ShowsSomething(picture)) << name;
        desktop.Keys({"Escape"});
        ASSERT_TRUE(program.WaitForOnlyMainWindow()) << name << " does not close";
    }

    // A smaller window, as a 1024 x 768 desktop or a bare 800 x 600 screen gives it: the wall gives way, the
    // banner keeps its whole form above the status bar.
    const QSize small = GetParam() ? QSize(1014, 728) : QSize(800, 600);
    const QStringList sizing{"windowsize", program.MainWindowId(), QString::number(small.width()),
                             QString::number(small.height())};
    ASSERT_TRUE(Resize([&] { desktop.Tool("xdotool", sizing); }) && program.WaitForLayout());
    EXPECT_GE(program.Main().banner.height(), DialogSize(Dialog::kBanner).height() + 20);
    Picture(program.Main().client, QString("main-%1x%2").arg(small.width()).arg(small.height()));
}

std::string DesktopName(const testing::TestParamInfo<bool>& info) { return info.param ? "WindowManager" : "Bare"; }

INSTANTIATE_TEST_SUITE_P(Desktop, Scenes, testing::Values(true, false), DesktopName);

} // namespace
