#include "core/LcdWallLayout.h"
#include "core/WallModel.h"
#include "tests/core/ReadOnlyFolder.h"
#include "tests/support/Bytes.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WallOnPty.h"

#include <gtest/gtest.h>
#include <limits>
#include <sys/inotify.h>
#include <tinyxml.h>
#include <unistd.h>

namespace {

std::string Wall(const std::string& lcdwall) {
    return "<SYSTEM><COMPONENT><PIP enable=\"true\"/></COMPONENT>" + lcdwall + "</SYSTEM>";
}

class WallLayout : public ::testing::Test {
protected:
    CLcdWallLayout* Build(const std::string& settings) {
        wall.dir.Write("command.xml", "<C><CMD name=\"P-OPEN-WINDOW\" code=\"176\"/>"
                                      "<CMD name=\"P-CLOSE-WINDOW\" code=\"178\"/></C>");
        wall.dir.Write("system.xml", settings);
        model = CWallModel::GetInstance();
        wall.Listen(model, {"WALLMAP-CHANGE", "ROWCOL-CHANGE", "P-OPEN-WINDOW", "P-CLOSE-WINDOW"});
        return model->GetLcdWallLayout();
    }
    std::vector<int> Map(CLcdWallLayout* layout) {
        int rows = 0, cols = 0;
        layout->GetRowCol(rows, cols);
        std::vector<int> map;
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= cols; ++c)
                map.push_back(layout->GetOutput(r, c));
        return map;
    }

    WallOnPty wall;
    CWallModel* model = nullptr;
};

} // namespace

TEST_F(WallLayout, UnitsOutsideTheWallAndOutputsNoMatrixHasAreRefused) {
    CLcdWallLayout* layout = Build(Wall("<LCDWALL row=\"2\" col=\"3\"/>"));
    EXPECT_EQ(layout->GetOutput(2, 1), 4);
    EXPECT_EQ(layout->SetOutput(2, 1, 9), 0);
    EXPECT_EQ(layout->SetOutput(2, 1, 0), 0);
    EXPECT_EQ(layout->GetOutput(2, 1), 4); // 0 stores the unit's own number
    EXPECT_EQ(layout->SetOutput(3, 1, 7), 64);
    EXPECT_EQ(layout->SetOutput(1, 4, 7), 64);
    EXPECT_EQ(layout->SetOutput(0, 1, 7), 64);
    EXPECT_EQ(layout->GetOutput(1, -1), 64);
    EXPECT_EQ(layout->SetOutput(1, 1, -5), 64);
    EXPECT_EQ(layout->SetOutput(1, 2, 10000), 64);
    EXPECT_EQ(Map(layout), std::vector<int>({1, 2, 3, 4, 5, 6}));
}

TEST_F(WallLayout, TheStoredMapIsAppliedAndItemsThatDoNotFitAreIgnored) {
    CLcdWallLayout* layout = Build(Wall("<LCDWALL row=\"2\" col=\"2\"><OUTPUT_MAPPING>"
                                        "<ITEM row=\"1\" col=\"1\" output=\"4\"/>"
                                        "<ITEM row=\"2\" col=\"2\" output=\"1\"/>"
                                        "<ITEM row=\"3\" col=\"1\" output=\"9\"/>"
                                        "<ITEM row=\"1\" col=\"2\"/>"
                                        "<ITEM row=\"2\" col=\"1\" output=\"x\"/>"
                                        "</OUTPUT_MAPPING></LCDWALL>"));
    EXPECT_EQ(Map(layout), std::vector<int>({4, 2, 3, 1}));
}

TEST_F(WallLayout, SameSizeKeepsTheMapAndAnnouncesTheMapBeforeTheSize) {
    CLcdWallLayout* layout = Build(Wall("<LCDWALL row=\"2\" col=\"3\" pixel=\"1\"/>"));
    layout->SetOutput(1, 1, 6);
    EXPECT_EQ(layout->SetRowCol(2, 3), 0);
    EXPECT_EQ(Map(layout), std::vector<int>({6, 2, 3, 4, 5, 6}));
    EXPECT_EQ(wall.Events(), std::vector<std::string>({"WALLMAP-CHANGE", "ROWCOL-CHANGE"}));
    const std::string file = wall.dir.Read("system.xml");
    EXPECT_NE(file.find("<ITEM row=\"1\" col=\"1\" output=\"6\""), std::string::npos);

    EXPECT_EQ(layout->SetRowCol(3, 3), 0);
    EXPECT_EQ(Map(layout), std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_NE(wall.dir.Read("system.xml").find("row=\"3\" col=\"3\""), std::string::npos);
}

TEST_F(WallLayout, AWallNeverBecomesEmptyOrLargerThanSixteenSquare) {
    CLcdWallLayout* layout = Build(Wall("<LCDWALL row=\"0\" col=\"40\" pixel=\"9\"/>"));
    int rows = 0, cols = 0, index = -1;
    layout->GetRowCol(rows, cols);
    layout->GetResolution(index);
    EXPECT_EQ(std::vector<int>({rows, cols, index}), std::vector<int>({1, 16, 0}));

    const std::string before = wall.dir.Read("system.xml");
    EXPECT_EQ(layout->SetRowCol(0, 3), 64);
    EXPECT_EQ(layout->SetRowCol(3, 17), 64);
    EXPECT_EQ(layout->SetResolution(8), 64);
    EXPECT_EQ(layout->SetResolution(-1), 64);
    EXPECT_EQ(wall.dir.Read("system.xml"), before);
    EXPECT_TRUE(wall.Events().empty());
}

TEST(WallLayoutStart, WithoutLcdWallTheWallIsTwoByTwoAtTheFirstResolution) {
    WorkingDir dir;
    dir.Write("system.xml", "<SYSTEM/>");
    CLcdWallLayout* layout = CWallModel::GetInstance()->GetLcdWallLayout();
    int rows = 0, cols = 0, index = -1;
    layout->GetRowCol(rows, cols);
    layout->GetResolution(index);
    EXPECT_EQ(std::vector<int>({rows, cols, index}), std::vector<int>({2, 2, 0}));
    EXPECT_FALSE(layout->IsPipEnabled());
    EXPECT_EQ(layout->SaveOutputMap(), 0); // nothing to write into, and nothing is created
    EXPECT_EQ(dir.Read("system.xml"), "<SYSTEM/>");
}

TEST_F(WallLayout, CanvasRectanglesScaleToOutputPixels) {
    CLcdWallLayout* layout = Build(Wall("<LCDWALL row=\"2\" col=\"2\" pixel=\"0\"/>"));
    EXPECT_EQ(CLcdWallLayout::CanvasToOutput(CRect(0, 0, 100, 50), CRect(25, 10, 75, 30)), CRect(256, 153, 768, 460));
    EXPECT_EQ(layout->SetResolution(6), 1);
    EXPECT_EQ(CLcdWallLayout::CanvasToOutput(CRect(0, 0, 120, 68), CRect(0, 0, 120, 68)), CRect(0, 0, 1920, 1080));
    EXPECT_NE(wall.dir.Read("system.xml").find("pixel=\"6\""), std::string::npos);

    // A cell of no width or height has no scale: that axis maps to 0 instead of dividing by zero.
    EXPECT_EQ(CLcdWallLayout::CanvasToOutput(CRect(5, 0, 5, 68), CRect(10, 34, 20, 68)), CRect(0, 540, 0, 1080));
    EXPECT_EQ(CLcdWallLayout::CanvasToOutput(CRect(5, 7, 4, 6), CRect(10, 34, 20, 68)), CRect(0, 0, 0, 0));
    // Far beyond the int range stops at its ends.
    const LONG big = std::numeric_limits<LONG>::max();
    EXPECT_EQ(CLcdWallLayout::CanvasToOutput(CRect(0, 0, 1, 1), CRect(-big, 0, big, 1)).right, big);
}

TEST_F(WallLayout, WindowCommandsCarryTheWallRectangleOrNone) {
    CLcdWallLayout* layout = Build(Wall("<LCDWALL row=\"2\" col=\"2\"/>"));
    EXPECT_EQ(layout->CloseWindow(nullptr), 16);
    ASSERT_TRUE(wall.Open(model->GetCommPort()));
    const RECT wallRect{0, 0, 1920, 1080};
    const RECT area{1, 1, 2, 2};
    EXPECT_EQ(layout->OpenWindow(&wallRect, &area), 0);
    EXPECT_EQ(layout->CloseWindow(&area), 0);
    EXPECT_EQ(wall.pty.Read(30), Bytes({0xD5, 0x11, 0x22, 176, 0, 0xAB, 0, 0, 0, 0, 0x07, 0x80, 0x04, 0x38, 0xAA,
                                        0xD5, 0x11, 0x22, 178, 0, 0xAB, 0, 0, 0, 0, 0,    0,    0,    0,    0xAA}));
    EXPECT_EQ(wall.Events(), std::vector<std::string>({"P-OPEN-WINDOW", "P-CLOSE-WINDOW"}));
}

namespace {

// Counts the new files made in a folder while the object lives: every replacement of a file writes one. (The
// renames themselves cannot be counted: the kernel folds repeated events of one name into one.)
class NewFileCounter {
public:
    explicit NewFileCounter(const std::string& folder) : m_fd(inotify_init1(IN_NONBLOCK)) {
        inotify_add_watch(m_fd, folder.c_str(), IN_CREATE);
    }
    ~NewFileCounter() { close(m_fd); }
    int Count() {
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char* p = buffer; p < buffer + n;) {
                auto* event = reinterpret_cast<inotify_event*>(p);
                ++m_count;
                p += sizeof(inotify_event) + event->len;
            }
        }
        return m_count;
    }

private:
    int m_fd;
    int m_count = 0;
};

} // namespace

TEST_F(WallLayout, ANewSizeAndItsMapReachTheFileInOneReplacement) {
    CLcdWallLayout* layout = Build(Wall("<LCDWALL row=\"2\" col=\"2\"><OUTPUT_MAPPING>"
                                        "<ITEM row=\"1\" col=\"1\" output=\"4\"/></OUTPUT_MAPPING></LCDWALL>"));
    NewFileCounter replacements(wall.dir.Dir().Path());
    EXPECT_EQ(layout->SetRowCol(3, 3), 0);
    EXPECT_EQ(replacements.Count(), 1);

    TiXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(wall.dir.Dir().File("system.xml").c_str(), TIXML_ENCODING_LEGACY));
    TiXmlElement* lcd = doc.RootElement()->FirstChildElement("LCDWALL");
    int items = 0;
    for (TiXmlElement* i = lcd->FirstChildElement("OUTPUT_MAPPING")->FirstChildElement("ITEM"); i;
         i = i->NextSiblingElement("ITEM"))
        ++items;
    EXPECT_STREQ(lcd->Attribute("row"), "3");
    EXPECT_STREQ(lcd->Attribute("col"), "3");
    EXPECT_EQ(items, 9);
}

TEST_F(WallLayout, ANewSizeThatCannotBeSavedIsToldOnceAndHoldsInMemory) {
    CLcdWallLayout* layout = Build(Wall("<LCDWALL row=\"2\" col=\"2\"/>"));
    const std::string before = wall.dir.Read("system.xml");
    MessageBoxRecorder boxes;
    {
        ReadOnlyFolder readOnly(wall.dir.Dir().Path());
        EXPECT_EQ(layout->SetRowCol(1, 3), 0);
    }
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(wall.dir.Read("system.xml"), before);
    EXPECT_EQ(Map(layout), std::vector<int>({1, 2, 3}));
    EXPECT_EQ(wall.Events(), std::vector<std::string>({"WALLMAP-CHANGE", "ROWCOL-CHANGE"})); // the view follows
}
