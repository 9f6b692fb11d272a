#include "DialogDriver.h"
#include "WallFixture.h"

#include "ui/DlgMonitorCtrl.h"
#include "ui/LcdGridCtrl.h"

#include "core/CommPort.h"
#include "platform/os/Gbk.h"

#include <QLabel>

namespace {

class MonitorDialogTest : public WallFixture {
protected:
    std::string File() const { return wall.dir.Dir().File("system.xml"); }
};

constexpr int kCommandButtons[] = {1108, 1109, 1110, 1111, 1112, 1113, 1114, 1115,
                                   1116, 1117, 1118, 1119, 1120, 1121, 1122, 1123};

std::string Gbk(const char* utf8) { return Utf8ToGbkLiteral(utf8); }

} // namespace

TEST_F(MonitorDialogTest, WithNothingStoredItOpensClosedUnderItsCaptionWithTheTitleRuledInItsColour) {
    std::string settings = SettingsFile(2, 3);
    settings.erase(settings.find("<MONITORCTRL>"), settings.find("<FRAMEEFFECT") - settings.find("<MONITORCTRL>"));
    wall.dir.CopySample("command.xml");
    wall.dir.Write("system.xml", settings);
    CDlgMonitorCtrl dialog;
    RunModal(dialog, [&] {
        CString caption;
        dialog.GetWindowText(caption);
        EXPECT_EQ(caption.Str(), "Monitor controller");
        EXPECT_EQ(
            Text(dialog, 1075) + Text(dialog, 1088) + Text(dialog, 1023) + Text(dialog, 1076) + Text(dialog, 1090), "");
        EXPECT_EQ(Text(dialog, 1105) + " " + Text(dialog, 1031) + "-" + Text(dialog, 1032), "1 1-2");
        EXPECT_TRUE(IsItemChecked(&dialog, 1085));
        EXPECT_FALSE(IsItemChecked(&dialog, 1087));
        auto* ports = dynamic_cast<CComboBox*>(dialog.GetDlgItem(1075));
        CString last;
        ports->GetLBText(ports->GetCount() - 1, last);
        EXPECT_EQ(last.Str(), "COM255");
        for (int id : kCommandButtons)
            EXPECT_FALSE(Enabled(dialog, id)) << id;
        EXPECT_FALSE(Enabled(dialog, 1083));
        // Opening with nothing chosen fails and keeps the closed state.
        Click(dialog, 1082);
        EXPECT_TRUE(Enabled(dialog, 1082));
        EXPECT_FALSE(Enabled(dialog, 1108));

        auto* title = dynamic_cast<QLabel*>(Widget(dialog, 1124));
        EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(46, 90, 69));
        EXPECT_GT(title->font().pixelSize(), 2 * dynamic_cast<QWidget*>(Widget(dialog, 1105))->fontInfo().pixelSize());
        const QImage shown = dialog.GetHostWidget()->grab().toImage();
        EXPECT_EQ(shown.pixelColor(300, 64), QColor(46, 90, 69));
        EXPECT_NE(shown.pixelColor(30, 64), QColor(46, 90, 69));
    });
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Open uart is not success\xA3\xA1");
}

TEST_F(MonitorDialogTest, TheStoredPortIsPreselectedAndEachButtonSendsItsFrameToTheChosenAddresses) {
    BuildWall();
    Parsed expected(File());
    {
        CDlgMonitorCtrl dialog;
        EXPECT_EQ(RunModal(dialog,
                           [&] {
                               EXPECT_EQ(Text(dialog, 1075) + " " + Text(dialog, 1088) + " " + Text(dialog, 1023) +
                                             " " + Text(dialog, 1076) + " " + Text(dialog, 1090),
                                         "COM5 9600 8 1 " + Gbk("无奇偶校验"));
                               Choose(dialog, 1088, "19200");
                               Click(dialog, 1082);
                               EXPECT_FALSE(Enabled(dialog, 1082) || Enabled(dialog, 1088));
                               EXPECT_TRUE(Enabled(dialog, 1083) && Enabled(dialog, 1123));

                               Choose(dialog, 1105, "7");
                               Click(dialog, 1108);
                               Click(dialog, 1110);
                               Click(dialog, 1114);
                               EXPECT_EQ(Sent(), Bytes({0xD5, 7, 7, 0x10, 0x01, 0xAA, 0xD5, 7, 7, 0x20, 0x00, 0xAA,
                                                        0xD5, 7, 7, 0x20, 0x00, 0xAA}));
                               Click(dialog, 1087);
                               Choose(dialog, 1031, "1");
                               Choose(dialog, 1032, "5");
                               Click(dialog, 1116);
                               EXPECT_EQ(Sent(), Bytes({0xD5, 1, 5, 0x24, 0x01, 0xAA}));
                               Choose(dialog, 1031, "10");
                               Choose(dialog, 1032, "3");
                               Click(dialog, 1120);
                               EXPECT_TRUE(Sent().empty());

                               Click(dialog, 1083);
                               EXPECT_TRUE(Enabled(dialog, 1082) && Enabled(dialog, 1088));
                               EXPECT_FALSE(Enabled(dialog, 1108));
                               Click(dialog, 1082);
                               Click(dialog, IDOK);
                           }),
                  IDOK);
    }
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, Gbk("地址范围出错！"));
    expected.At("MONITORCTRL/COMM")->SetAttribute("baudrate", 19200);
    EXPECT_EQ(Parsed(File()).Printed(), expected.Printed());
    // The port went with the dialog: the line is free for another.
    CCommPortSetting again;
    again.SetSettings("COM5", 9600, 8, 0, 0);
    EXPECT_TRUE(wall.Open(&again));
}
