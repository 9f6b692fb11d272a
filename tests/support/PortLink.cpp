#include "PortLink.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

PortLink::PortLink() : m_hadPrevious(false) {
    m_directory = m_dir.File("ports");
    std::filesystem::create_directories(m_directory);
    if (const char* previous = std::getenv("VELTRANO_PORT_DIR")) {
        m_previous = previous;
        m_hadPrevious = true;
    }
    setenv("VELTRANO_PORT_DIR", m_directory.c_str(), 1);
}

PortLink::~PortLink() {
    if (m_hadPrevious)
        setenv("VELTRANO_PORT_DIR", m_previous.c_str(), 1);
    else
        unsetenv("VELTRANO_PORT_DIR");
}

void PortLink::Link(const std::string& portName, const std::string& devicePath) {
    std::string entry = m_directory + "/" + portName;
    ::unlink(entry.c_str());
    std::filesystem::create_symlink(devicePath, entry);
}
