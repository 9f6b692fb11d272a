#include "DialogDriver.h"
#include "tests/ui/WallFixture.h"

#include "ui/setup/DlgMonitorCtrl.h"
#include "ui/wall/LcdGridCtrl.h"

#include "core/CommPort.h"
#include "platform/os/Gbk.h"

#include <QLabel>

namespace {

using MonitorDialogTest = WallFixture;

// The serial combos, then whether "open", "close" and each command button can be pressed.
std::string Shown(const CDlgMonitorCtrl& dialog) {
    std::string shown = Text(dialog, 1075) + " " + Text(dialog, 1088) + " " + Text(dialog, 1023) + " " +
                        Text(dialog, 1076) + " " + Text(dialog, 1090) + " ";
    for (int id :
         {1082, 1083, 1108, 1109, 1110, 1111, 1112, 1113, 1114, 1115, 1116, 1117, 1118, 1119, 1120, 1121, 1122, 1123})
        shown += Enabled(dialog, id) ? "+" : "-";
    return shown;
}

} // namespace

TEST_F(MonitorDialogTest, WithNothingStoredItStartsClosedUnderItsCaptionWithTheTitleRuledInItsColour) {
    std::string settings = SettingsFile(2, 3);
    settings.erase(settings.find("<MONITORCTRL>"), settings.find("<FRAMEEFFECT") - settings.find("<MONITORCTRL>"));
    wall.dir.CopySample("command.xml");
    wall.dir.Write("system.xml", settings);
    CDlgMonitorCtrl dialog;
    RunModal(dialog, [&] {
        CString caption;
        dialog.GetWindowText(caption);
        EXPECT_EQ(caption.Str(), "Monitor controller");
        EXPECT_EQ(Shown(dialog), "     +-----------------");
        EXPECT_EQ(Text(dialog, 1105) + " " + Text(dialog, 1031) + "-" + Text(dialog, 1032), "1 1-2");
        EXPECT_TRUE(IsItemChecked(&dialog, 1085) && !IsItemChecked(&dialog, 1087));
        // Opening with nothing chosen fails and keeps the closed state.
        Click(dialog, 1082);
        EXPECT_EQ(Shown(dialog), "     +-----------------");

        auto* title = static_cast<QLabel*>(Widget(dialog, 1124));
        EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(46, 90, 69));
        EXPECT_GT(title->font().pixelSize(), 2 * Widget(dialog, 1105)->fontInfo().pixelSize());
        const QImage shown = dialog.GetHostWidget()->grab().toImage();
        EXPECT_EQ(shown.pixelColor(300, 64), QColor(46, 90, 69));
        EXPECT_NE(shown.pixelColor(30, 64), QColor(46, 90, 69));
    });
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Open uart is not success\xA3\xA1");
}

TEST_F(MonitorDialogTest, TheStoredPortIsPreselectedAndEachButtonSendsItsFrameToTheChosenAddresses) {
    BuildWall();
    std::string expected = SettingsFile(2, 3);
    expected.replace(expected.find("9600", expected.find("<MONITORCTRL>")), 4, "19200");
    {
        CDlgMonitorCtrl dialog;
        RunModal(dialog, [&] {
            EXPECT_EQ(Shown(dialog), "COM5 9600 8 1 " + Utf8ToGbkLiteral("无奇偶校验") + " +-----------------");
            Choose(dialog, 1088, "19200");
            Click(dialog, 1082);
            EXPECT_EQ(Shown(dialog).substr(Shown(dialog).size() - 18), "-+++++++++++++++++");
            EXPECT_EQ(Printed(wall.dir.Read("system.xml")), Printed(expected));

            Choose(dialog, 1105, "7");
            for (int id : {1108, 1110, 1114})
                Click(dialog, id);
            EXPECT_EQ(Sent(), Bytes({0xD5, 7, 7, 0x10, 0x01, 0xAA, 0xD5, 7, 7, 0x20, 0x00, 0xAA, 0xD5, 7, 7, 0x20, 0x00,
                                     0xAA}));
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
            EXPECT_EQ(Shown(dialog).substr(Shown(dialog).size() - 18), "+-----------------");
            Click(dialog, 1082);
        });
    }
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, Utf8ToGbkLiteral("地址范围出错！"));
    // The port went with the dialog: the line is free for another.
    CCommPortSetting again;
    again.SetSettings("COM5", 9600, 8, 0, 0);
    EXPECT_TRUE(wall.Open(&again));
}
