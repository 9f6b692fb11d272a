#include "WorkingDir.h"

#include <filesystem>
#include <stdexcept>
#include <unistd.h>

#ifndef VELTRANO_SOURCE_DIR
#error "VELTRANO_SOURCE_DIR must name the source tree"
#endif

WorkingDir::WorkingDir() {
    m_previous = std::filesystem::current_path().string();
    if (chdir(m_dir.Path().c_str()) != 0)
        throw std::runtime_error("cannot enter the test folder");
}

WorkingDir::~WorkingDir() {
    if (chdir(m_previous.c_str()) != 0) {
        // Nothing sensible is left to do in a destructor; the test process ends soon.
    }
}

bool WorkingDir::Exists(const std::string& name) const { return std::filesystem::exists(m_dir.File(name)); }

void WorkingDir::CopySample(const std::string& name) const {
    std::filesystem::copy_file(std::string(VELTRANO_SOURCE_DIR) + "/res/" + name, m_dir.File(name),
                               std::filesystem::copy_options::overwrite_existing);
}
