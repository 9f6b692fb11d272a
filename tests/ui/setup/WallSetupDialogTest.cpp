#include "DialogDriver.h"
#include "tests/ui/WallFixture.h"

#include "ui/setup/DlgCommSetting.h"
#include "ui/setup/DlgMatrixSetting.h"
#include "ui/setup/DlgWallSetting.h"
#include "ui/wall/LcdGridCtrl.h"

#include "core/CommPort.h"
#include "core/LcdWallLayout.h"
#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/WallModel.h"

#include <sys/stat.h>

namespace {

class WallSetupDialogTest : public WallFixture {
protected:
    std::string Saved() const { return Printed(wall.dir.Read("system.xml")); }
    // The fixture's settings with the wall port's settings replaced, or with LCDWALL holding the resolution and the
    // map, row by row.
    static std::string WithPort(const std::string& attributes) {
        std::string s = SettingsFile(2, 3);
        const size_t at = s.find("<COMM ");
        return Printed(s.replace(at, s.find("/>", at) - at, "<COMM " + attributes));
    }
    static std::string WithMap(int rows, int cols, int pixel, const std::vector<int>& outputs) {
        std::string items;
        for (size_t i = 0; i < outputs.size(); ++i)
            items += "<ITEM row=\"" + std::to_string(i / cols + 1) + "\" col=\"" + std::to_string(i % cols + 1) +
                     "\" output=\"" + std::to_string(outputs[i]) + "\"/>";
        std::string s = SettingsFile(rows, cols);
        return Printed(s.replace(s.find("pixel=\"6\" />"), 12,
                                 "pixel=\"" + std::to_string(pixel) + "\"><OUTPUT_MAPPING>" + items +
                                     "</OUTPUT_MAPPING></LCDWALL>"));
    }
    // The grid as shown, headings included: cells split by commas, rows ended by slashes.
    static std::string Map(const CGridCtrl& grid) {
        std::string shown;
        for (int r = 0; r < grid.GetRowCount(); ++r)
            for (int c = 0; c < grid.GetColumnCount(); ++c)
                shown += grid.GetItemText(r, c).Str() + (c + 1 < grid.GetColumnCount() ? "," : "/");
        return shown;
    }
};

} // namespace

TEST_F(WallSetupDialogTest, TheSerialDialogRefusesAnOpenPortAndOtherwiseStoresTheChosenSettingsOnly) {
    BuildWall();
    OpenPort();
    CDlgCommSetting refused;
    EXPECT_EQ(RunModal(refused, [] { ADD_FAILURE() << "shown over an open port"; }), IDCANCEL);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text + " " + std::to_string(boxes.Boxes()[0].type),
              "please close the serial port first. 0");

    CWallModel::GetInstance()->GetCommPort()->Close();
    CDlgCommSetting dialog;
    EXPECT_EQ(
        RunModal(dialog,
                 [&] {
                     EXPECT_EQ(Text(dialog, 1028) + Text(dialog, 1024) + Text(dialog, 1025) + Text(dialog, 1026) +
                                   Text(dialog, 1027),
                               "COM596008No Parity1");
                     for (auto [id, entry] :
                          {std::pair{1028, "COM32"}, {1024, "921600"}, {1025, "5"}, {1026, "SIGN"}, {1027, "1.5"}})
                         Choose(dialog, id, entry);
                     Click(dialog, IDOK);
                 }),
        IDOK);
    EXPECT_EQ(Saved(), WithPort("port=\"COM32\" baudrate=\"921600\" databit=\"5\" stopbit=\"1\" parity=\"3\""));
    // They are the settings of the next opening.
    EXPECT_FALSE(CWallModel::GetInstance()->GetCommPort()->IsOpen());
    EXPECT_EQ(CWallModel::GetInstance()->GetCommPort()->m_baudRate, 921600);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(WallSetupDialogTest, WriteProtectedFilesAreNotReplacedAlsoForRootAndEachRefusalNamesItsFile) {
    BuildWall();
    for (const char* name : {"system.xml", "matrix.xml"})
        ASSERT_EQ(chmod(wall.dir.Dir().File(name).c_str(), 0444), 0);
    const std::string settings = wall.dir.Read("system.xml");
    const std::string matrices = wall.dir.Read("matrix.xml");
    CDlgCommSetting comm;
    RunModal(comm, [&] {
        Choose(comm, 1024, "19200");
        Click(comm, IDOK);
    });
    CDlgMatrixSetting matrix;
    RunModal(matrix, [&] {
        matrix.SetDlgItemText(1103, "Main");
        Click(matrix, 1082);
    });
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ(boxes.Boxes()[i].text, "Could not save \"" + wall.dir.Dir().File(i ? "matrix.xml" : "system.xml") +
                                             "\": Permission denied. The change holds until the program ends.");
    EXPECT_EQ(wall.dir.Read("system.xml"), settings);
    EXPECT_EQ(wall.dir.Read("matrix.xml"), matrices);
    struct stat info {};
    ASSERT_EQ(stat(wall.dir.Dir().File("system.xml").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    // The changes hold in memory.
    EXPECT_EQ(CWallModel::GetInstance()->GetCommPort()->m_baudRate, 19200);
    CMatrixMgr* manager = CWallModel::GetInstance()->GetMatrixMgr();
    EXPECT_EQ(manager->GetAt(manager->Begin())->GetName(), "Main");
}

TEST_F(WallSetupDialogTest, AFourByThreeMapShowsItsOutputsAndSaveMapStoresOnlyAMapOfOutputsAndShowsItAsStored) {
    BuildWall(4, 3);
    CWallModel::GetInstance()->GetLcdWallLayout()->SetOutput(1, 1, 12);
    CDlgWallSetting dialog;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           EXPECT_EQ(Text(dialog, 1029) + " " + Text(dialog, 1030) + "x" + Text(dialog, 1031) + " " +
                                         Text(dialog, 1105),
                                     "Test 4x3 1920X1080");
                           EXPECT_EQ(Map(dialog.m_grid), ",1,2,3/1,12,2,3/2,4,5,6/3,7,8,9/4,10,11,12/");
                           const char* typed[] = {"", "abc", "-4", "12abc", " 7", "99999999999"};
                           for (int i = 0; i < 6; ++i)
                               dialog.m_grid.SetItemText(2 + i / 3, 1 + i % 3, typed[i]);
                           // A number no output has refuses the whole map; mended, the map is shown as stored.
                           Click(dialog, 1107);
                           EXPECT_EQ(Saved().find("OUTPUT_MAPPING"), std::string::npos);
                           dialog.m_grid.SetItemText(2, 3, "0");
                           dialog.m_grid.SetItemText(3, 3, "9999");
                           Click(dialog, 1107);
                           EXPECT_EQ(Map(dialog.m_grid), ",1,2,3/1,12,2,3/2,4,5,6/3,12,7,9999/4,10,11,12/");
                           Choose(dialog, 1105, "1280X720");
                           Click(dialog, 1087);
                           Click(dialog, 1083);
                       }),
              IDOK);
    EXPECT_EQ(Saved(), WithMap(4, 3, 1, {12, 2, 3, 4, 5, 6, 12, 7, 9999, 10, 11, 12}));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(WallSetupDialogTest, SetKeepsTheSavedMapAtTheSameSizeRebuildsItForANewOneAndEnterDoesWhatSetDoes) {
    BuildWall(3, 3);
    wall.Listen(CWallModel::GetInstance(), {"WALLMAP-CHANGE", "ROWCOL-CHANGE"});
    CDlgWallSetting dialog;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           // Unit (1, 1) edited in place: Enter ends the edit, not the dialog, and stores nothing.
                           ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.GetHostWidget()));
                           dialog.m_grid.SetFocus();
                           dialog.m_grid.SetFocusCell(1, 1);
                           TypeAndEnter("9");
                           EXPECT_TRUE(wall.Events().empty());
                           Click(dialog, 1107);
                           Click(dialog, IDOK);
                           EXPECT_EQ(Saved(), WithMap(3, 3, 6, {9, 2, 3, 4, 5, 6, 7, 8, 9}));
                           EXPECT_EQ(Map(dialog.m_grid), ",1,2,3/1,9,2,3/2,4,5,6/3,7,8,9/");

                           Choose(dialog, 1030, "2");
                           Choose(dialog, 1031, "2");
                           QTest::keyClick(Widget(dialog, 1031), Qt::Key_Return);
                           EXPECT_EQ(Map(dialog.m_grid), ",1,2/1,1,2/2,3,4/");
                           EXPECT_EQ(view->GetRowCount() * 10 + view->GetColumnCount(), 22);
                           // No size chosen reads as 0 rows: nothing is stored and the map stays.
                           Choose(dialog, 1030, "none");
                           Click(dialog, IDOK);
                           EXPECT_EQ(Map(dialog.m_grid), ",1,2/1,1,2/2,3,4/");
                       }),
              IDCANCEL);
    EXPECT_EQ(Saved(), WithMap(2, 2, 6, {1, 2, 3, 4}));
    EXPECT_EQ(wall.Events(), (std::vector<std::string>{"WALLMAP-CHANGE", "WALLMAP-CHANGE", "ROWCOL-CHANGE",
                                                       "WALLMAP-CHANGE", "ROWCOL-CHANGE"}));
    EXPECT_TRUE(boxes.Boxes().empty());
}
