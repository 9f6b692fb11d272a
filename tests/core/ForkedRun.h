#pragma once

#include <functional>
#include <string>

// How a child process ended.
struct ForkedOutcome {
    bool timedOut = false;
    int signal = 0;   // the signal that ended it; 0 when it exited
    int exitCode = 0; // its exit status when it exited

    bool Passed() const { return !timedOut && signal == 0 && exitCode == 0; }
    std::string Describe() const;
};

// Runs body in a child process of its own, which ends with body's result; after timeLimitSeconds it is stopped
// and counts as timed out. The process-wide singletons of the child start fresh and die with it.
ForkedOutcome RunForked(const std::function<int()>& body, unsigned timeLimitSeconds);
