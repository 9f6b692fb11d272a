#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// How a program started with Spawn runs: its error output goes to the log (appended), else nowhere; it starts in
// the folder when one is given, else in ours; closeFd is closed in it.
struct SpawnOptions {
    const char* log = "/dev/null";
    const char* folder = nullptr;
    int closeFd = -1;
};

// Starts a program (looked up on PATH unless named by its path) with no input and no output. Descriptors made
// without close-on-exec pass to it, but the options' closeFd. Its process, or -1 when it could not be started.
pid_t Spawn(const std::vector<std::string>& arguments, const SpawnOptions& options = {});

// Asks the process to end and kills it when it has not within graceMs (at once when that is 0), then reaps it;
// pid is -1 afterwards. Nothing when it is not above 0.
void StopProcess(pid_t& pid, int graceMs);
