#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <sys/types.h>

// Catches a process inside a save, so that a kill lands there: from the moment the save's new file
// (".<file>.save-XXXXXX") appears in the folder, after a random part of the time a save takes up to its rename,
// the process is stopped. When the new file still stands, the process stands stopped inside the save; else it
// goes on to its next save. The longest wait shrinks to any wait that came too late, so it follows how long a save
// takes on this machine.
class SaveCatcher {
public:
    SaveCatcher(const std::string& folder, uint64_t seed);
    ~SaveCatcher();
    SaveCatcher(const SaveCatcher&) = delete;
    SaveCatcher& operator=(const SaveCatcher&) = delete;

    // True with the process stopped inside a save of the file (of any file when it is empty); false, with it
    // running on, when no save was caught within the time given.
    bool StopInsideASave(pid_t pid, const std::string& file, int timeoutMs);

private:
    // The name of the next new file of a save of the file that appears; empty when none does before the deadline.
    std::string NextNewFile(const std::string& file, int64_t deadlineMs);

    std::string m_folder;
    int m_watch;
    std::mt19937_64 m_random;
    int64_t m_longestWaitUs = 20000;
};
