#include "core/MonitorModel.h"
#include "core/CommPort.h"
#include "tests/support/Bytes.h"
#include "tests/support/WallOnPty.h"

#include <gtest/gtest.h>

TEST(MonitorFrame, NeedsSixBytesOfRoomAndLeavesAShortBufferAlone) {
    BYTE buffer[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    int length = 5;
    EXPECT_EQ(BuildMonitorFrame(1, 1, 5, buffer, &length), 0);
    EXPECT_EQ(length, 5);
    EXPECT_EQ(buffer[0], 9);

    length = 8;
    EXPECT_EQ(BuildMonitorFrame(16, 3, 4, buffer, &length), 1);
    EXPECT_EQ(length, 6);
    EXPECT_EQ(std::vector<unsigned char>(buffer, buffer + 8), Bytes({0xD5, 3, 4, 0x28, 0x01, 0xAA, 0, 0}));
}

TEST(MonitorRemote, SendsFixedFramesOnItsOwnPort) {
    WallOnPty wall;
    CMonitorModel monitor;
    EXPECT_EQ(monitor.SendMonitorCommand(1, 1, 5), 16); // closed
    ASSERT_TRUE(wall.Open(monitor.GetCommPort()));
    EXPECT_EQ(monitor.SendMonitorCommand(1, 1, 5), 0);
    EXPECT_EQ(monitor.SendMonitorCommand(13, 7, 7), 0);
    EXPECT_EQ(monitor.SendMonitorCommand(0, 2, 9), 0);
    EXPECT_EQ(monitor.SendMonitorCommand(17, 2, 9), 0);
    EXPECT_EQ(wall.pty.Read(24), Bytes({0xD5, 0x01, 0x05, 0x10, 0x01, 0xAA, 0xD5, 0x07, 0x07, 0x2B, 0x01, 0xAA,
                                        0xD5, 0x02, 0x09, 0x00, 0x00, 0xAA, 0xD5, 0x02, 0x09, 0x00, 0x00, 0xAA}));
}

TEST(MonitorRemote, PortSettingsLiveInTheirOwnSection) {
    WorkingDir dir;
    dir.Write("system.xml", "<SYSTEM><COMM port=\"COM1\"/><MONITORCTRL><COMM port=\"COM4\" baudrate=\"4800\"/>"
                            "</MONITORCTRL></SYSTEM>");
    CMonitorModel monitor;
    std::string port;
    int baud = 0, bits = 8, stop = 0, parity = 0;
    EXPECT_EQ(monitor.LoadComm(port, baud, bits, stop, parity), 1);
    EXPECT_EQ(port, "COM4");
    EXPECT_EQ(baud, 4800);
    monitor.GetCommPort()->SetSettings("COM8", 2400, 8, 0, 0);
    EXPECT_EQ(monitor.SaveComm(), 0);
    const std::string file = dir.Read("system.xml");
    EXPECT_NE(file.find("<COMM port=\"COM8\" baudrate=\"2400\""), std::string::npos);
    EXPECT_NE(file.find("<COMM port=\"COM1\""), std::string::npos); // the wall's section is untouched
}

TEST(MonitorRemote, WithoutItsSectionNothingIsReadOrWritten) {
    WorkingDir dir;
    const std::string original = "<SYSTEM><COMM port=\"COM1\"/></SYSTEM>";
    dir.Write("system.xml", original);
    CMonitorModel monitor;
    std::string port = "keep";
    int n = 1;
    EXPECT_EQ(monitor.LoadComm(port, n, n, n, n), 0);
    EXPECT_EQ(port, "keep");
    EXPECT_EQ(monitor.SaveComm(), -1);
    EXPECT_EQ(dir.Read("system.xml"), original);
}
