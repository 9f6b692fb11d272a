#include "DialogDriver.h"
#include "tests/ui/WallFixture.h"

#include "ui/setup/DlgMatrixSetting.h"
#include "ui/wall/LcdGridCtrl.h"

#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/NotifyEvent.h"
#include "core/WallModel.h"
#include "core/XmlLoad.h"

#include <QTreeWidget>
#include <tinyxml.h>

namespace {

class MatrixSettingDialogTest : public WallFixture {
protected:
    static CMatrixMgr* Manager() { return CWallModel::GetInstance()->GetMatrixMgr(); }
    // The files without the wall view, which the dialog does not need.
    void WriteFiles(const std::string& matrices) {
        wall.dir.CopySample("command.xml");
        wall.dir.Write("system.xml", SettingsFile(2, 3));
        wall.dir.Write("matrix.xml", "<MATRIXLIST>" + matrices + "</MATRIXLIST>");
    }
    // The list's rows (columns split by spaces, rows ended by slashes), then the fields: name, type, channel count,
    // the port check box and the serial combos, + for enabled.
    static std::string Shown(const CDlgMatrixSetting& dialog) {
        std::string shown;
        for (int r = 0; r < dialog.m_list.GetItemCount(); ++r)
            for (int c = 0; c < 5; ++c)
                shown += dialog.m_list.GetItemText(r, c).Str() + (c < 4 ? " " : "/");
        shown += " " + Text(dialog, 1103) + " " + Text(dialog, 1075) + " " + Text(dialog, 1029) +
                 (dialog.UseIndependentPort() ? " own" : " wall");
        for (int id = 1031; id <= 1035; ++id)
            shown += (Enabled(dialog, id) ? " +" : " -") + Text(dialog, id);
        return shown;
    }
    static void ClickRow(const CDlgMatrixSetting& dialog, int row) {
        auto* list = static_cast<QTreeWidget*>(dialog.m_list.GetHostWidget());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
    }
};

const char kWallPort[] = "-COM5 -9600 -8 -1 -No Parity";

} // namespace

TEST_F(MatrixSettingDialogTest, TheFirstMatrixIsShownWhenTheDialogOpensAndAClickedRowShowsItsOwn) {
    BuildWall();
    CDlgMatrixSetting dialog;
    RunModal(dialog, [&] {
        EXPECT_EQ(Shown(dialog), std::string("1 M1 VGA 45 N/2 Quiet AV 0 N/ M1 VGA 45 wall ") + kWallPort);
        EXPECT_EQ(dialog.m_grid.GetRowCount(), 46);
        EXPECT_EQ(dialog.m_grid.GetItemText(0, 0) + dialog.m_grid.GetItemText(0, 1) + dialog.m_grid.GetItemText(45, 1),
                  "CHANNEL NUMNAME45");
        // Each channel row is appended under its number, as high as that heading needs.
        EXPECT_EQ(dialog.m_grid.GetRowHeight(45), dialog.m_grid.GetCell(45, 0)->GetTextExtent("45").cy);
        ClickRow(dialog, 1);
        EXPECT_EQ(Shown(dialog), std::string("1 M1 VGA 45 N/2 Quiet AV 0 N/ Quiet AV 0 wall ") + kWallPort);
        EXPECT_EQ(dialog.m_grid.GetRowCount(), 1);
    });
}

TEST_F(MatrixSettingDialogTest, SetRenamesTheMatrixInPlaceAndWritesItsChannelNamesAndPortAfterItsMessages) {
    BuildWall();
    wall.Listen(Manager(), {"MATRIX-CHANGE"});
    std::string expected = MatrixFile();
    expected.replace(expected.find("\"M1\""), 4, "\"Main\"")
        .replace(expected.find("<CHANNEL count=\"45\" />"), 22,
                 "<CHANNEL count=\"45\"><ITEM id=\"4\" name=\"Camera\"/></CHANNEL>");
    CDlgMatrixSetting dialog;
    RunModal(dialog, [&] {
        dialog.SetDlgItemText(1103, "Main");
        dialog.m_grid.SetItemText(3, 1, "3");
        dialog.m_grid.SetItemText(4, 1, "Camera");
        Click(dialog, 1082);
        EXPECT_EQ(Shown(dialog), std::string("1 Main VGA 45 N/2 Quiet AV 0 N/ Main VGA 45 wall ") + kWallPort);
        EXPECT_EQ(wall.Events(), std::vector<std::string>{"MATRIX-CHANGE"});
        EXPECT_EQ(Printed(wall.dir.Read("matrix.xml")), Printed(expected));

        // A port of its own, then back to the wall's.
        Click(dialog, 1104);
        Choose(dialog, 1031, "COM7");
        Click(dialog, 1082);
        EXPECT_EQ(Shown(dialog), "1 Main VGA 45 Y/2 Quiet AV 0 N/ Main VGA 45 own +COM7 +9600 +8 +1 +No Parity");
        EXPECT_NE(wall.dir.Read("matrix.xml")
                      .find("<COMM indep=\"true\" port=\"COM7\" baudrate=\"9600\" "
                            "stopbit=\"0\" databit=\"8\" parity=\"0\" />"),
                  std::string::npos);
        Click(dialog, 1104);
        Click(dialog, 1082);
        EXPECT_EQ(Shown(dialog), std::string("1 Main VGA 45 N/2 Quiet AV 0 N/ Main VGA 45 wall ") + kWallPort);
        EXPECT_EQ(Printed(wall.dir.Read("matrix.xml")), Printed(expected));
    });
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MatrixSettingDialogTest, ANameThatIsEmptyOrAnothersOrAChannelCountNoListCanShowIsRefusedAndNothingWritten) {
    BuildWall();
    CDlgMatrixSetting dialog;
    RunModal(dialog, [&] {
        for (auto [name, count] : {std::pair{"", "45"}, {"Quiet", "45"}, {"M1", "10000"}, {"M1", "-1"}}) {
            dialog.SetDlgItemText(1103, name);
            dialog.SetDlgItemText(1029, count);
            dialog.m_grid.SetItemText(1, 1, "Camera");
            Click(dialog, 1082);
        }
    });
    ASSERT_EQ(boxes.Boxes().size(), 4u);
    EXPECT_EQ(boxes.Boxes()[3].text, "\xB2\xCE\xCA\xFD\xB7\xC7\xB7\xA8\xA3\xA1"); // the parameter error
    EXPECT_EQ(wall.dir.Read("matrix.xml"), MatrixFile());
    CMatrix* matrix = Manager()->GetAt(Manager()->Begin());
    EXPECT_EQ(matrix->GetName() + " " + matrix->GetChannelTable()->GetName(1), "M1 1");
}

TEST_F(MatrixSettingDialogTest, AChangeThatWouldTakeTheFileOverItsLimitLeavesFileMatrixAndFieldsAsTheyWere) {
    // 299,997 attributes: "Set" gives M1 its COMM and one named channel, up to the limit, then one more, past it.
    std::string matrices = "<MATRIX name=\"M1\" type=\"VGA\"><CHANNEL count=\"45\"/></MATRIX>";
    for (int m = 1; m <= 15; ++m) {
        matrices += (m < 15 ? "<MATRIX name=\"B" + std::to_string(m) + "\" type=\"VGA\">" : "<MATRIX name=\"Rest\">") +
                    std::string("<CHANNEL count=\"9999\">");
        for (int c = 1; c <= (m < 15 ? 9999 : 9989); ++c)
            matrices += "<ITEM id=\"" + std::to_string(c) + "\" name=\"c" + std::to_string(c) + "\"/>";
        matrices += "</CHANNEL></MATRIX>";
    }
    WriteFiles(matrices);
    wall.Listen(Manager(), {"MATRIX-CHANGE"});
    CDlgMatrixSetting dialog;
    RunModal(dialog, [&] {
        dialog.m_grid.SetItemText(4, 1, "Camera");
        Click(dialog, 1082);
        const std::string saved = wall.dir.Read("matrix.xml");
        dialog.m_grid.SetItemText(5, 1, "Door");
        Click(dialog, 1082);
        EXPECT_TRUE(wall.dir.Read("matrix.xml") == saved);
        EXPECT_EQ(dialog.m_grid.GetItemText(5, 1), "Door");
    });
    EXPECT_EQ(wall.Events(), std::vector<std::string>{"MATRIX-CHANGE"});
    CChannelTable* channels = Manager()->GetAt(0)->GetChannelTable();
    EXPECT_EQ(channels->GetName(4) + " " + channels->GetName(5), "Camera 5");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Could not save \"" + wall.dir.Dir().File("matrix.xml") +
                                         "\": with this change it holds more than 300,000 attributes, over the "
                                         "limit. The change is not saved, and the file stays as it was.");
    TiXmlDocument document;
    EXPECT_TRUE(LoadXmlFile(document, wall.dir.Dir().File("matrix.xml")));
}

TEST_F(MatrixSettingDialogTest, AStoredBaudRateNoEntryBeginsLeavesItsComboAsItWas) {
    WriteFiles("<MATRIX name=\"A\" type=\"HDMI\"><COMM indep=\"true\" port=\"COM3\" baudrate=\"9600\" stopbit=\"2\" "
               "databit=\"7\" parity=\"1\"/></MATRIX><MATRIX name=\"B\"><COMM indep=\"true\" port=\"COM4\" "
               "baudrate=\"1200\" stopbit=\"0\" databit=\"8\" parity=\"4\"/></MATRIX>");
    CDlgMatrixSetting dialog;
    RunModal(dialog, [&] {
        EXPECT_EQ(Shown(dialog), "1 A HDMI 0 Y/2 B AV 0 Y/ A HDMI 0 own +COM3 +9600 +7 +2 +Odd check");
        ClickRow(dialog, 1);
        EXPECT_EQ(Shown(dialog), "1 A HDMI 0 Y/2 B AV 0 Y/ B AV 0 own +COM4 +9600 +8 +1 +NONE");
    });
}

TEST_F(MatrixSettingDialogTest, WithNoMatrixSetDoesNothingAndAClosedDialogHearsNoMoreChanges) {
    WriteFiles("");
    {
        CDlgMatrixSetting dialog;
        RunModal(dialog, [&] {
            EXPECT_EQ(Shown(dialog), "    wall - - - - -");
            Click(dialog, 1082);
        });
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(wall.dir.Read("matrix.xml"), "<MATRIXLIST></MATRIXLIST>");
    // Nobody is left to tell of a change.
    CMatrix stray("S", 0);
    MatrixChangeEvent change("MATRIX-CHANGE");
    change.m_matrix = &stray;
    EXPECT_EQ(Manager()->Notify(&change), -1);
}
