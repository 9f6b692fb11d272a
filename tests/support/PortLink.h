#pragma once

#include "TempDir.h"

#include <string>

// Points port names at devices for the length of a test, through a port directory of its own.
class PortLink {
public:
    PortLink();
    ~PortLink();

    // Makes "COMn" (or any port name) lead to the device path.
    void Link(const std::string& portName, const std::string& devicePath);
    const std::string& Directory() const { return m_directory; }

private:
    TempDir m_dir;
    std::string m_directory;
    std::string m_previous;
    bool m_hadPrevious;
};
