#include "DialogDriver.h"
#include "WallFixture.h"

#include "ui/DlgMatrixSetting.h"
#include "ui/LcdGridCtrl.h"

#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/NotifyEvent.h"
#include "core/WallModel.h"

#include <QTreeWidget>

namespace {

class MatrixSettingDialogTest : public WallFixture {
protected:
    std::string File() const { return wall.dir.Dir().File("matrix.xml"); }
    static CMatrixMgr* Manager() { return CWallModel::GetInstance()->GetMatrixMgr(); }
    // Only the files: the dialog needs no wall view.
    void WriteFiles(const std::string& matrices) {
        wall.dir.CopySample("command.xml");
        wall.dir.Write("system.xml", SettingsFile(2, 3));
        wall.dir.Write("matrix.xml",
                       "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<MATRIXLIST>" + matrices + "</MATRIXLIST>\n");
    }
    // The list's rows, columns split by spaces, rows by slashes.
    static std::string Rows(const CDlgMatrixSetting& dialog) {
        std::string rows;
        for (int r = 0; r < dialog.m_list.GetItemCount(); ++r)
            for (int c = 0; c < 5; ++c)
                rows += dialog.m_list.GetItemText(r, c).Str() + (c < 4 ? " " : "/");
        return rows;
    }
    // Name, type, channel count, the port check box and the serial combos.
    static std::string Fields(const CDlgMatrixSetting& dialog) {
        std::string fields = Text(dialog, 1103) + " " + Text(dialog, 1075) + " " + Text(dialog, 1029) + " " +
                             (dialog.UseIndependentPort() ? "own" : "wall");
        for (int id = 1031; id <= 1035; ++id)
            fields += std::string(Enabled(dialog, id) ? " +" : " -") + Text(dialog, id);
        return fields;
    }
    static void ClickRow(const CDlgMatrixSetting& dialog, int row) {
        auto* list = dynamic_cast<QTreeWidget*>(dialog.m_list.GetHostWidget());
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
};

} // namespace

TEST_F(MatrixSettingDialogTest, TheFirstMatrixIsShownWhenTheDialogOpensAndAClickedRowShowsItsOwn) {
    BuildWall();
    CDlgMatrixSetting dialog;
    RunModal(dialog, [&] {
        EXPECT_EQ(Rows(dialog), "1 M1 VGA 45 N/2 Quiet AV 0 N/");
        EXPECT_EQ(Fields(dialog), "M1 VGA 45 wall -COM5 -9600 -8 -1 -No Parity");
        EXPECT_EQ(dialog.m_grid.GetRowCount(), 46);
        EXPECT_EQ(dialog.m_grid.GetItemText(0, 0) + "|" + dialog.m_grid.GetItemText(0, 1), "CHANNEL NUM|NAME");
        EXPECT_EQ(dialog.m_grid.GetItemText(45, 0) + "|" + dialog.m_grid.GetItemText(45, 1), "45|45");
        ClickRow(dialog, 1);
        EXPECT_EQ(Fields(dialog), "Quiet AV 0 wall -COM5 -9600 -8 -1 -No Parity");
        EXPECT_EQ(dialog.m_grid.GetRowCount(), 1);
        EXPECT_EQ(dialog.GetCurrentMatrixName(), "Quiet");
    });
}

TEST_F(MatrixSettingDialogTest, SetRenamesTheMatrixInPlaceStoresItsChannelNamesAndPortAndKeepsTheRestOfTheFile) {
    BuildWall();
    wall.Listen(Manager(), {"MATRIX-CHANGE"});
    Parsed expected(File());
    CDlgMatrixSetting dialog;
    RunModal(dialog, [&] {
        dialog.SetDlgItemText(1103, "Main");
        dialog.m_grid.SetItemText(3, 1, "3");
        dialog.m_grid.SetItemText(4, 1, "Camera");
        Click(dialog, 1082);
        EXPECT_EQ(Rows(dialog), "1 Main VGA 45 N/2 Quiet AV 0 N/");
        EXPECT_EQ(Fields(dialog), "Main VGA 45 wall -COM5 -9600 -8 -1 -No Parity");
        EXPECT_EQ(dialog.m_grid.GetItemText(4, 1), "Camera");
        EXPECT_EQ(wall.Events(), std::vector<std::string>{"MATRIX-CHANGE"});

        TiXmlElement* matrix = expected.At("MATRIX");
        matrix->SetAttribute("name", "Main");
        matrix->RemoveChild(matrix->FirstChildElement("COMM"));
        matrix->RemoveChild(matrix->FirstChildElement("CHANNEL"));
        TiXmlElement comm("COMM");
        comm.SetAttribute("indep", "false");
        matrix->InsertEndChild(comm);
        TiXmlElement channel("CHANNEL");
        channel.SetAttribute("count", 45);
        TiXmlElement item("ITEM");
        item.SetAttribute("id", 4);
        item.SetAttribute("name", "Camera");
        channel.InsertEndChild(item);
        matrix->InsertEndChild(channel);
        EXPECT_EQ(Parsed(File()).Printed(), expected.Printed());

        // A port of its own, then back to the wall's.
        Click(dialog, 1104);
        EXPECT_EQ(Fields(dialog), "Main VGA 45 own +COM5 +9600 +8 +1 +No Parity");
        Choose(dialog, 1031, "COM7");
        Choose(dialog, 1032, "19200");
        Click(dialog, 1082);
        EXPECT_EQ(Rows(dialog), "1 Main VGA 45 Y/2 Quiet AV 0 N/");
        EXPECT_EQ(
            PrintedElement(Parsed(File()).At("MATRIX/COMM")),
            "<COMM indep=\"true\" port=\"COM7\" baudrate=\"19200\" stopbit=\"0\" databit=\"8\" parity=\"0\" />\n");
        Click(dialog, 1104);
        Click(dialog, 1082);
        EXPECT_EQ(Rows(dialog), "1 Main VGA 45 N/2 Quiet AV 0 N/");
        EXPECT_EQ(Parsed(File()).Printed(), expected.Printed());
        Click(dialog, 1083);
    });
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MatrixSettingDialogTest, ANameThatIsEmptyOrAnothersOrAnUnlistableChannelCountIsRefusedAndNothingWritten) {
    BuildWall();
    const std::string file = wall.dir.Read("matrix.xml");
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
    EXPECT_EQ(boxes.Boxes()[3].text, "\xB2\xCE\xCA\xFD\xB7\xC7\xB7\xA8\xA3\xA1"); // "参数非法！"
    EXPECT_EQ(wall.dir.Read("matrix.xml"), file);
    CMatrix* matrix = Manager()->GetAt(Manager()->Begin());
    EXPECT_EQ(matrix->GetName() + " " + matrix->GetChannelTable()->GetName(1), "M1 1");
}

TEST_F(MatrixSettingDialogTest, AStoredValueNoEntryBeginsLeavesItsComboAsItWas) {
    WriteFiles("<MATRIX name=\"A\" type=\"HDMI\"><COMM indep=\"true\" port=\"COM3\" baudrate=\"9600\" stopbit=\"2\" "
               "databit=\"7\" parity=\"1\"/></MATRIX><MATRIX name=\"B\" type=\"DVI\"><COMM indep=\"true\" "
               "port=\"COM4\" baudrate=\"1200\" stopbit=\"0\" databit=\"8\" parity=\"4\"/></MATRIX>");
    CDlgMatrixSetting dialog;
    RunModal(dialog, [&] {
        EXPECT_EQ(Rows(dialog), "1 A HDMI 0 Y/2 B DVI 0 Y/");
        EXPECT_EQ(Fields(dialog), "A HDMI 0 own +COM3 +9600 +7 +2 +Odd check");
        ClickRow(dialog, 1);
        EXPECT_EQ(Fields(dialog), "B DVI 0 own +COM4 +9600 +8 +1 +NONE");
    });
}

TEST_F(MatrixSettingDialogTest, WithNoMatrixTheFieldsStayEmptyAndSetDoesNothing) {
    WriteFiles("");
    CDlgMatrixSetting dialog;
    RunModal(dialog, [&] {
        EXPECT_EQ(Rows(dialog), "");
        EXPECT_EQ(Text(dialog, 1103) + Text(dialog, 1029), "");
        Click(dialog, 1082);
    });
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(wall.dir.Read("matrix.xml"), "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<MATRIXLIST></MATRIXLIST>\n");
}

TEST_F(MatrixSettingDialogTest, AClosedDialogNoLongerFollowsMatrixChanges) {
    BuildWall();
    {
        CDlgMatrixSetting first;
        RunModal(first, [&] { Click(first, 1083); });
    }
    {
        CDlgMatrixSetting second;
        RunModal(second, [&] {
            second.SetDlgItemText(1103, "Main");
            Click(second, 1082);
            EXPECT_EQ(Rows(second), "1 Main VGA 45 N/2 Quiet AV 0 N/");
        });
    }
    // Nobody is left to tell.
    MatrixChangeEvent change("MATRIX-CHANGE");
    change.m_matrix = Manager()->GetAt(Manager()->Begin());
    EXPECT_EQ(Manager()->Notify(&change), -1);
}
