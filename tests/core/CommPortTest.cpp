#include "core/CommPort.h"
#include "platform/os/PortDirectory.h"
#include "platform/os/SerialDevice.h"
#include "tests/support/PortLink.h"
#include "tests/support/Pty.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

using Trace = std::vector<std::string>;

const Trace kOpenSequence = {
    "CreateFile \\\\.\\COM3", "SetCommMask 0x21",        "SetupComm 655360 128",          "PurgeComm 0x0f",
    "GetCommState",           "SetCommState 9600 8 0 0", "SetCommTimeouts 0 1 100 1 100", "EscapeCommFunction SETDTR",
};
const Trace kCloseSequence = {"SetCommMask 0x00", "EscapeCommFunction CLRDTR", "PurgeComm 0x0f", "CloseHandle"};

Trace Join(std::initializer_list<Trace> parts) {
    Trace all;
    for (const Trace& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

class CommPortOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        link.Link("COM3", pty.SlavePath());
        link.Link("COM7", "/nonexistent/ttyUSB7"); // a device that was unplugged
        ClearSerialTrace();
    }
    BOOL OpenCom3(CCommPort& port, DWORD baud = 9600, BYTE bits = 8, BYTE stop = 0, BYTE parity = 0) {
        return port.Open("\\\\.\\COM3", baud, bits, stop, parity);
    }

    Pty pty;
    PortLink link;
};

} // namespace

TEST_F(CommPortOnPty, OpensAndClosesInThePlatformsOrder) {
    CCommPort port;
    EXPECT_FALSE(port.IsOpen());
    ASSERT_TRUE(OpenCom3(port));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Close(), 1);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(SerialTrace(), Join({kOpenSequence, kCloseSequence}));
}

TEST_F(CommPortOnPty, ReopeningAnOpenPortClearsDtrAndRaisesItAgain) {
    CCommPort port;
    ASSERT_TRUE(OpenCom3(port));
    ASSERT_TRUE(OpenCom3(port));
    EXPECT_EQ(SerialTrace(), Join({kOpenSequence, kCloseSequence, kOpenSequence}));
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(CommPortOnPty, ClosingAClosedPortDoesNothing) {
    CCommPort port;
    EXPECT_EQ(port.Close(), 1);
    EXPECT_TRUE(SerialTrace().empty());
}

TEST_F(CommPortOnPty, TheDestructorClosesAnOpenPort) {
    {
        CCommPortSetting port;
        ASSERT_TRUE(OpenCom3(port));
    }
    EXPECT_EQ(SerialTrace(), Join({kOpenSequence, kCloseSequence}));
}

TEST_F(CommPortOnPty, AMissingDeviceGivesFalseAndAClosedPort) {
    CCommPort port;
    EXPECT_FALSE(port.Open("\\\\.\\COM7", 9600, 8, 0, 0));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(SerialTrace(), Trace{"CreateFile \\\\.\\COM7"});
}

TEST_F(CommPortOnPty, AFailedReopenLeavesThePortClosed) {
    CCommPort port;
    ASSERT_TRUE(OpenCom3(port));
    ClearSerialTrace();
    EXPECT_FALSE(port.Open("\\\\.\\COM7", 9600, 8, 0, 0));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(SerialTrace(), Join({kCloseSequence, {"CreateFile \\\\.\\COM7"}}));
}

TEST_F(CommPortOnPty, SettingsThePlatformRefusesCloseThePortAgain) {
    CCommPort port;
    EXPECT_FALSE(OpenCom3(port, 9600, 8, 1, 0)); // one and a half stop bits need 5 data bits
    EXPECT_FALSE(port.IsOpen());
    Trace expected(kOpenSequence.begin(), kOpenSequence.begin() + 5);
    expected.push_back("SetCommState 9600 8 0 1");
    expected.insert(expected.end(), kCloseSequence.begin(), kCloseSequence.end());
    EXPECT_EQ(SerialTrace(), expected);
    // The device is free again.
    EXPECT_TRUE(OpenCom3(port));
}

TEST_F(CommPortOnPty, AnEntryThatIsNoTerminalIsNeverWrittenTo) {
    TempDir dir;
    dir.Write("not-a-tty", "keep me");
    link.Link("COM8", dir.File("not-a-tty"));
    CCommPort port;
    EXPECT_FALSE(port.Open("\\\\.\\COM8", 9600, 8, 0, 0));
    EXPECT_FALSE(port.IsOpen());
    const BYTE frame[6] = {0xD5, 0, 0, 1, 0, 0xAA};
    DWORD written = 0;
    EXPECT_FALSE(port.Write(frame, 6, &written));
    EXPECT_EQ(dir.Read("not-a-tty"), "keep me");
}

TEST_F(CommPortOnPty, MarkAndSpaceParityOpen) {
    CCommPort port;
    EXPECT_TRUE(OpenCom3(port, 9600, 8, 0, 3));
    EXPECT_TRUE(OpenCom3(port, 115200, 7, 2, 4));
}

TEST_F(CommPortOnPty, EveryByteValueArrivesUnchanged) {
    CCommPort port;
    ASSERT_TRUE(OpenCom3(port));
    std::vector<BYTE> all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<BYTE>(i);
    DWORD written = 0;
    ASSERT_TRUE(port.Write(all.data(), static_cast<DWORD>(all.size()), &written));
    EXPECT_EQ(written, 256u);
    EXPECT_EQ(pty.Read(256), all);
    EXPECT_TRUE(pty.ReadAvailable(50).empty());
}

TEST_F(CommPortOnPty, AWriteToAClosedPortFailsAndLeavesTheCountAlone) {
    CCommPort port;
    const BYTE frame[6] = {0xD5, 0, 0, 1, 0, 0xAA};
    DWORD written = 12345;
    EXPECT_FALSE(port.Write(frame, 6, &written));
    EXPECT_EQ(written, 12345u);
    EXPECT_TRUE(pty.ReadAvailable(50).empty());
}

TEST_F(CommPortOnPty, AWriteThePeerNeverDrainsFailsWithinTheTimeout) {
    CCommPort port;
    ASSERT_TRUE(OpenCom3(port));
    pty.FillUntilFull();

    const BYTE frame[6] = {0xD5, 0, 0, 1, 0, 0xAA};
    DWORD written = 0;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.Write(frame, 6, &written));
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(written, 6u);
    EXPECT_LT(elapsed, std::chrono::milliseconds(1000)); // 100 ms plus 1 ms a byte, with room for a slow machine
}

TEST_F(CommPortOnPty, AWriteAfterThePeerWentAwayFails) {
    CCommPort port;
    ASSERT_TRUE(OpenCom3(port));
    pty.CloseMaster();
    const BYTE frame[6] = {0xD5, 0, 0, 1, 0, 0xAA};
    DWORD written = 0;
    EXPECT_FALSE(port.Write(frame, 6, &written));
}

TEST(CommPortSetting, StartsClosedWithNineSixHundredEightNOne) {
    CCommPortSetting setting;
    EXPECT_FALSE(setting.IsOpen());
    EXPECT_EQ(setting.m_portName, "");
    EXPECT_EQ(setting.m_baudRate, 9600);
    EXPECT_EQ(setting.m_dataBits, 8);
    EXPECT_EQ(setting.m_stopBits, 0);
    EXPECT_EQ(setting.m_parity, 0);
}

TEST_F(CommPortOnPty, NewSettingsDoNotReopenAnOpenPort) {
    CCommPortSetting setting;
    ASSERT_TRUE(OpenCom3(setting));
    ClearSerialTrace();
    setting.SetSettings("COM9", 115200, 7, 2, 1);
    EXPECT_TRUE(setting.IsOpen());
    EXPECT_TRUE(SerialTrace().empty());
    EXPECT_EQ(setting.m_portName, "COM9");
    EXPECT_EQ(setting.m_baudRate, 115200);
    EXPECT_EQ(setting.m_dataBits, 7);
    EXPECT_EQ(setting.m_stopBits, 2);
    EXPECT_EQ(setting.m_parity, 1);
}

TEST(StopBitsText, ConvertsTheThreeKnownValuesAndDefaultsToOne) {
    EXPECT_EQ(StopBitsToString(0), "1");
    EXPECT_EQ(StopBitsToString(1), "1.5");
    EXPECT_EQ(StopBitsToString(2), "2");
    EXPECT_EQ(StopBitsToString(3), "1");
    EXPECT_EQ(StopBitsToString(-1), "1");
    EXPECT_EQ(StringToStopBits("1"), 0);
    EXPECT_EQ(StringToStopBits("1.5"), 1);
    EXPECT_EQ(StringToStopBits("2"), 2);
    EXPECT_EQ(StringToStopBits(""), 0);
    EXPECT_EQ(StringToStopBits("2 "), 0);
    EXPECT_EQ(StringToStopBits("1,5"), 0);
}

TEST_F(CommPortOnPty, OnlyThePlainSpellingOfAPortNameOpensIt) {
    link.Link("COM1", pty.SlavePath());
    link.Link("COM001", pty.SlavePath()); // an entry by another spelling names nothing
    CCommPort port;
    for (const char* name : {"\\\\.\\COM001", "\\\\.\\COM01", "\\\\.\\COM1 ", "\\\\.\\com1", "\\\\.\\COM+1", "COM0"}) {
        EXPECT_FALSE(port.Open(name, 9600, 8, 0, 0)) << name;
        EXPECT_EQ(PortDevicePath(name), "") << name;
    }
    EXPECT_FALSE(port.IsOpen());
    ASSERT_TRUE(port.Open("\\\\.\\COM1", 9600, 8, 0, 0));
    const BYTE byte = 0x5A;
    DWORD written = 0;
    EXPECT_TRUE(port.Write(&byte, 1, &written));
    EXPECT_EQ(pty.Read(1), std::vector<unsigned char>{0x5A});
}
