#include "PortDirectory.h"

#include <cstdlib>
#include <sys/stat.h>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// A port name becomes a file name in the port directory, so it must not be able to leave it.
bool IsSafeEntryName(const std::string& name) {
    if (name.empty() || name[0] == '.')
        return false;
    return name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

// "COM" followed by a decimal number from 1 to 255 in its plain spelling (no leading zero): the number, else 0.
int ComNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 6 || name.compare(0, 3, "COM") != 0 || name[3] == '0')
        return 0;
    int number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        number = number * 10 + (name[i] - '0');
    }
    return (number >= 1 && number <= 255) ? number : 0;
}

} // namespace

std::string PortDirectory() {
    std::string dir = Environment("VELTRANO_PORT_DIR");
    if (!dir.empty())
        return dir;
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty()) {
        std::string home = Environment("HOME");
        if (home.empty())
            return std::string();
        config = home + "/.config";
    }
    return config + "/veltrano/ports";
}

std::string PortDevicePath(const std::string& portName) {
    static const std::string kDevicePrefix = "\\\\.\\";
    std::string name = portName;
    if (name.compare(0, kDevicePrefix.size(), kDevicePrefix) == 0)
        name.erase(0, kDevicePrefix.size());
    // Only "COM1" to "COM255" name a port: "COM001" must not reach COM1's device, nor any other name an entry.
    const int number = ComNumber(name);
    if (number == 0 || !IsSafeEntryName(name))
        return std::string();

    std::string dir = PortDirectory();
    if (!dir.empty()) {
        std::string entry = dir + "/" + name;
        struct stat st;
        // lstat: a link whose target is gone still names this port, and opening it then fails.
        if (lstat(entry.c_str(), &st) == 0)
            return entry;
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}
