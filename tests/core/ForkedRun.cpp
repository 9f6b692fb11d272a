#include "ForkedRun.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

std::string ForkedOutcome::Describe() const {
    if (timedOut)
        return "did not finish in time";
    if (signal != 0)
        return std::string("ended by signal ") + strsignal(signal);
    return "exited with " + std::to_string(exitCode);
}

ForkedOutcome RunForked(const std::function<int()>& body, unsigned timeLimitSeconds) {
    std::fflush(stdout);
    std::fflush(stderr);
    ForkedOutcome outcome;
    const pid_t child = fork();
    if (child < 0) {
        outcome.exitCode = -1;
        return outcome;
    }
    if (child == 0) {
        signal(SIGALRM, SIG_DFL);
        alarm(timeLimitSeconds);
        int code = 125;
        try {
            code = body();
        } catch (...) {
            code = 124;
        }
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(code);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            outcome.exitCode = -1;
            return outcome;
        }
    }
    if (WIFSIGNALED(status)) {
        outcome.signal = WTERMSIG(status);
        outcome.timedOut = outcome.signal == SIGALRM;
    } else {
        outcome.exitCode = WEXITSTATUS(status);
    }
    return outcome;
}
