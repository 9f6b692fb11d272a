#include "DialogDriver.h"
#include "WallFixture.h"

#include "ui/DlgCommSetting.h"
#include "ui/DlgWallSetting.h"
#include "ui/LcdGridCtrl.h"

#include "core/CommPort.h"
#include "core/LcdWallLayout.h"
#include "core/WallModel.h"

#include <climits>

namespace {

class WallSetupDialogTest : public WallFixture {
protected:
    std::string File() const { return wall.dir.Dir().File("system.xml"); }
    // The map as the grid shows it, headings included: cells split by commas, rows by slashes.
    static std::string Map(const CGridCtrl& grid) {
        std::string shown;
        for (int r = 0; r < grid.GetRowCount(); ++r) {
            for (int c = 0; c < grid.GetColumnCount(); ++c)
                shown += grid.GetItemText(r, c).Str() + (c + 1 < grid.GetColumnCount() ? "," : "");
            shown += "/";
        }
        return shown;
    }
    // The map items of the file: row, col and output of each, in order.
    std::string StoredMap() {
        Parsed settings(File());
        std::string items;
        for (TiXmlElement* e = settings.At("LCDWALL/OUTPUT_MAPPING/ITEM"); e; e = e->NextSiblingElement("ITEM"))
            items += std::string(e->Attribute("row")) + e->Attribute("col") + ":" + e->Attribute("output") + " ";
        return items;
    }
};

} // namespace

TEST_F(WallSetupDialogTest, TheSerialDialogShowsTheStoredSettingsAndOkStoresTheChosenOnesOnly) {
    BuildWall();
    Parsed expected(File());
    CDlgCommSetting cancelled;
    EXPECT_EQ(RunModal(cancelled,
                       [&] {
                           EXPECT_EQ(Text(cancelled, 1028) + Text(cancelled, 1024) + Text(cancelled, 1025) + "|" +
                                         Text(cancelled, 1026) + "|" + Text(cancelled, 1027),
                                     "COM596008|No Parity|1");
                           Choose(cancelled, 1028, "COM7");
                           Click(cancelled, IDCANCEL);
                       }),
              IDCANCEL);
    EXPECT_EQ(Parsed(File()).Printed(), expected.Printed());

    CDlgCommSetting dialog;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           Choose(dialog, 1028, "COM32");
                           Choose(dialog, 1024, "921600");
                           Choose(dialog, 1025, "5");
                           Choose(dialog, 1026, "SIGN");
                           Choose(dialog, 1027, "1.5");
                           Click(dialog, IDOK);
                       }),
              IDOK);
    TiXmlElement* comm = expected.At("COMM");
    for (auto [name, value] :
         {std::pair{"port", "COM32"}, {"baudrate", "921600"}, {"databit", "5"}, {"stopbit", "1"}, {"parity", "3"}})
        comm->SetAttribute(name, value);
    EXPECT_EQ(Parsed(File()).Printed(), expected.Printed());
    // They are the settings of the next opening; the port stays closed.
    const CCommPortSetting* port = CWallModel::GetInstance()->GetCommPort();
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->m_portName + " " + std::to_string(port->m_baudRate) + " " + std::to_string(port->m_parity),
              "COM32 921600 3");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(WallSetupDialogTest, WhileTheWallPortIsOpenTheSerialDialogSaysSoAndDoesNotOpen) {
    BuildWall();
    OpenPort();
    const std::string settings = wall.dir.Read("system.xml");
    bool shown = false;
    CDlgCommSetting dialog;
    EXPECT_EQ(RunModal(dialog, [&] { shown = true; }), IDCANCEL);
    EXPECT_FALSE(shown);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "please close the serial port first.");
    EXPECT_EQ(boxes.Boxes()[0].type, MB_OK);
    EXPECT_EQ(wall.dir.Read("system.xml"), settings);
}

TEST_F(WallSetupDialogTest, AFourByThreeWallShowsItsMapWithUnitsWithoutAnOutputEmptyAndCloseWritesNothing) {
    BuildWall(4, 3);
    CLcdWallLayout* layout = CWallModel::GetInstance()->GetLcdWallLayout();
    layout->SetOutput(1, 1, 12);
    layout->SetOutput(2, 2, -3);
    layout->SetOutput(4, 3, 1);
    const std::string settings = wall.dir.Read("system.xml");
    CDlgWallSetting dialog;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           EXPECT_EQ(Text(dialog, 1029), "Test");
                           EXPECT_EQ(Text(dialog, 1030) + "x" + Text(dialog, 1031), "4x3");
                           EXPECT_EQ(Text(dialog, 1105), "1920X1080");
                           EXPECT_EQ(Map(dialog.m_grid), ",1,2,3/1,12,2,3/2,4,,6/3,7,8,9/4,10,11,1/");
                           Click(dialog, 1083);
                       }),
              IDOK);
    EXPECT_EQ(wall.dir.Read("system.xml"), settings);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(WallSetupDialogTest, SetKeepsTheSavedMapAtTheSameSizeRebuildsItForANewOneAndEnterDoesWhatSetDoes) {
    BuildWall(3, 3);
    wall.Listen(CWallModel::GetInstance(), {"WALLMAP-CHANGE", "ROWCOL-CHANGE"});
    CDlgWallSetting dialog;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           // Unit (1, 1) edited in place to output 9: Enter ends the edit, not the dialog or the size.
                           ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.GetHostWidget()));
                           dialog.m_grid.SetFocus();
                           dialog.m_grid.SetFocusCell(1, 1);
                           TypeAndEnter("9");
                           EXPECT_TRUE(wall.Events().empty());
                           Click(dialog, 1107);
                           EXPECT_EQ(StoredMap(), "11:9 12:2 13:3 21:4 22:5 23:6 31:7 32:8 33:9 ");

                           Click(dialog, IDOK);
                           EXPECT_EQ(StoredMap(), "11:9 12:2 13:3 21:4 22:5 23:6 31:7 32:8 33:9 ");
                           EXPECT_EQ(Map(dialog.m_grid), ",1,2,3/1,9,2,3/2,4,5,6/3,7,8,9/");

                           Choose(dialog, 1030, "2");
                           Choose(dialog, 1031, "2");
                           QTest::keyClick(Widget(dialog, 1031), Qt::Key_Return);
                           EXPECT_EQ(Map(dialog.m_grid), ",1,2/1,1,2/2,3,4/");
                           EXPECT_EQ(view->GetRowCount(), 2);
                           EXPECT_EQ(view->GetColumnCount(), 2);

                           // No size chosen reads as 0 rows: nothing is stored and the map stays.
                           Choose(dialog, 1030, "none");
                           Click(dialog, IDOK);
                           EXPECT_EQ(Map(dialog.m_grid), ",1,2/1,1,2/2,3,4/");
                           EXPECT_TRUE(dialog.IsWindowVisible());
                       }),
              IDCANCEL);
    Parsed settings(File());
    EXPECT_EQ(std::string(settings.At("LCDWALL")->Attribute("row")) + settings.At("LCDWALL")->Attribute("col"), "22");
    EXPECT_EQ(StoredMap(), "11:1 12:2 21:3 22:4 ");
    EXPECT_EQ(wall.Events(), (std::vector<std::string>{"WALLMAP-CHANGE", "WALLMAP-CHANGE", "ROWCOL-CHANGE",
                                                       "WALLMAP-CHANGE", "ROWCOL-CHANGE"}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(WallSetupDialogTest, SaveMapTakesCellsWithoutANumberOrWithANegativeOneAsTheUnitsOwnOutput) {
    BuildWall(2, 3);
    Parsed expected(File());
    CDlgWallSetting dialog;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           const char* typed[] = {"", "abc", "-4", "12abc", " 7", "99999999999"};
                           for (int i = 0; i < 6; ++i)
                               dialog.m_grid.SetItemText(1 + i / 3, 1 + i % 3, typed[i]);
                           EXPECT_EQ(dialog.GetMapCellValue(1, 3), 0);
                           EXPECT_EQ(dialog.GetMapCellValue(2, 3), INT_MAX);
                           Click(dialog, 1107);
                           Choose(dialog, 1105, "1280X720");
                           Click(dialog, 1087);
                       }),
              IDCANCEL);
    expected.At("LCDWALL")->SetAttribute("pixel", 1);
    auto* map = new TiXmlElement("OUTPUT_MAPPING");
    const int outputs[] = {1, 2, 3, 12, 7, INT_MAX};
    for (int i = 0; i < 6; ++i) {
        auto* item = new TiXmlElement("ITEM");
        item->SetAttribute("row", 1 + i / 3);
        item->SetAttribute("col", 1 + i % 3);
        item->SetAttribute("output", outputs[i]);
        map->LinkEndChild(item);
    }
    expected.At("LCDWALL")->LinkEndChild(map);
    EXPECT_EQ(Parsed(File()).Printed(), expected.Printed());
}
