#include "platform/os/PortDirectory.h"
#include "tests/support/PortLink.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Sets or clears an environment variable for one test and puts it back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
            m_had = true;
        }
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_had)
            setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

} // namespace

TEST(PortDirectory, TheEnvironmentChoosesTheDirectory) {
    {
        ScopedEnv dir("VELTRANO_PORT_DIR", "/srv/ports");
        ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(PortDirectory(), "/srv/ports");
    }
    {
        ScopedEnv dir("VELTRANO_PORT_DIR", nullptr);
        ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(PortDirectory(), "/cfg/veltrano/ports");
    }
    {
        ScopedEnv dir("VELTRANO_PORT_DIR", nullptr);
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        ScopedEnv home("HOME", "/home/op");
        EXPECT_EQ(PortDirectory(), "/home/op/.config/veltrano/ports");
    }
}

TEST(PortDirectory, AnEntryInTheDirectoryWinsElseComIsTheMatchingTtyS) {
    PortLink link;
    link.Link("COM3", "/dev/ttyUSB0");
    EXPECT_EQ(PortDevicePath("COM3"), link.Directory() + "/COM3");
    EXPECT_EQ(PortDevicePath("\\\\.\\COM3"), link.Directory() + "/COM3");
    EXPECT_EQ(PortDevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(PortDevicePath("\\\\.\\COM255"), "/dev/ttyS254");
}

TEST(PortDirectory, NamesThatAreNoPortGiveNoDevice) {
    PortLink link;
    EXPECT_EQ(PortDevicePath(""), "");
    EXPECT_EQ(PortDevicePath("COM0"), "");
    EXPECT_EQ(PortDevicePath("COM256"), "");
    EXPECT_EQ(PortDevicePath("COM"), "");
    EXPECT_EQ(PortDevicePath("com3"), "");
    EXPECT_EQ(PortDevicePath("COM3x"), "");
}

TEST(PortDirectory, ANameCannotReachOutsideTheDirectory) {
    PortLink link;
    EXPECT_EQ(PortDevicePath("../../dev/sda"), "");
    EXPECT_EQ(PortDevicePath("\\\\.\\/dev/sda"), "");
    EXPECT_EQ(PortDevicePath(".."), "");
    EXPECT_EQ(PortDevicePath("a/b"), "");
}
