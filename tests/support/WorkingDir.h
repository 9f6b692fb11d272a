#pragma once

#include "TempDir.h"

#include <string>

// Makes a fresh folder the current directory for the length of a test, as the program runs in the folder
// that holds its settings; the previous directory comes back afterwards.
class WorkingDir {
public:
    WorkingDir();
    ~WorkingDir();
    WorkingDir(const WorkingDir&) = delete;
    WorkingDir& operator=(const WorkingDir&) = delete;

    const TempDir& Dir() const { return m_dir; }
    void Write(const std::string& name, const std::string& bytes) const { m_dir.Write(name, bytes); }
    std::string Read(const std::string& name) const { return m_dir.Read(name); }
    bool Exists(const std::string& name) const;
    // Copies a file of the sample configuration in res/ into the folder.
    void CopySample(const std::string& name) const;

private:
    TempDir m_dir;
    std::string m_previous;
};
