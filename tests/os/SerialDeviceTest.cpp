#include "platform/os/SerialDevice.h"
#include "tests/support/PortLink.h"
#include "tests/support/Pty.h"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(SerialDevice, AHolderKilledWhileItHoldsAPseudoTerminalLeavesItFreeForTheNextUser) {
    Pty pty;
    PortLink link;
    link.Link("COM7", pty.SlavePath());
    const pid_t holder = fork();
    if (holder == 0) {
        OpenPort("COM7");
        _exit(0); // as a kill ends it: nothing closes the port in order
    }
    ASSERT_EQ(waitpid(holder, nullptr, 0), holder);
    // Root is let in anyway: what a normal user's next program meets is whether the line is kept for one opener.
    const int fd = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    int kept = -1;
    EXPECT_EQ(ioctl(fd, TIOCGEXCL, &kept), 0);
    EXPECT_EQ(kept, 0);
    close(fd);
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
