#pragma once

#include <string>
#include <sys/types.h>

// Makes a folder read-only for this process while the object lives. Tests may run as root, who writes into
// read-only folders at will; so the process also sets aside its power to override file permissions meanwhile.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::string& path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    std::string m_path;
    mode_t m_mode;
    bool m_droppedOverride;
};
