#include "platform/os/SerialDevice.h"
#include "tests/support/PortLink.h"
#include "tests/support/Pty.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

HANDLE OpenPort(const char* name) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

} // namespace

TEST(SerialDevice, APortIsOpenedForOneUserAtATime) {
    Pty pty;
    PortLink link;
    link.Link("COM4", pty.SlavePath());
    HANDLE first = OpenPort("\\\\.\\COM4");
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenPort("\\\\.\\COM4"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(CloseHandle(first));
    HANDLE again = OpenPort("\\\\.\\COM4");
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
}

TEST(SerialDevice, AMissingDeviceIsNotFound) {
    PortLink link;
    link.Link("COM9", "/nonexistent/tty");
    EXPECT_EQ(OpenPort("\\\\.\\COM9"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenPort("\\\\.\\NOPORT"), INVALID_HANDLE_VALUE);
}

TEST(SerialDevice, AWriteThePeerNeverDrainsReturnsShortWithinItsTimeout) {
    Pty pty;
    PortLink link;
    link.Link("COM5", pty.SlavePath());
    HANDLE h = OpenPort("COM5");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    COMMTIMEOUTS timeouts{0, 0, 0, 1, 100};
    ASSERT_TRUE(SetCommTimeouts(h, &timeouts));
    pty.FillUntilFull();

    const unsigned char frame[6] = {0xD5, 0, 0, 1, 0, 0xAA};
    DWORD written = 99;
    auto start = std::chrono::steady_clock::now();
    BOOL ok = WriteFile(h, frame, sizeof frame, &written, nullptr);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(ok);        // a timeout is not an error to the platform...
    EXPECT_LT(written, 6u); // ...but the count tells
    EXPECT_GE(elapsed, std::chrono::milliseconds(100));
    EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
    CloseHandle(h);
}

TEST(SerialDevice, StateIsRefusedOrAppliedAsThePlatformDoes) {
    Pty pty;
    PortLink link;
    link.Link("COM6", pty.SlavePath());
    HANDLE h = OpenPort("COM6");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(h, &dcb));
    dcb.BaudRate = 19200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONE5STOPBITS;
    EXPECT_FALSE(SetCommState(h, &dcb));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    dcb.StopBits = ONESTOPBIT;
    ASSERT_TRUE(SetCommState(h, &dcb));
    DCB back{};
    ASSERT_TRUE(GetCommState(h, &back));
    EXPECT_EQ(back.BaudRate, 19200u);

    dcb.BaudRate = 14400; // no speed constant: set by number
    EXPECT_TRUE(SetCommState(h, &dcb));
    CloseHandle(h);
}

TEST(SerialDevice, CallsOnAnInvalidHandleFail) {
    DWORD written = 5;
    const char byte = 0;
    EXPECT_FALSE(WriteFile(INVALID_HANDLE_VALUE, &byte, 1, &written, nullptr));
    EXPECT_EQ(written, 5u);
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(EscapeCommFunction(INVALID_HANDLE_VALUE, SETDTR));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}
