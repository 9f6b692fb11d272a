#include "SaveCatcher.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <poll.h>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Waits until the process stands stopped; false when it does not within a second (it ended, or never stops).
bool Stopped(pid_t pid) {
    for (int look = 0; look < 1000; ++look) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        const size_t state = line.rfind(')');
        if (state == std::string::npos || state + 2 >= line.size())
            return false;
        if (line[state + 2] == 'T' || line[state + 2] == 't')
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

} // namespace

SaveCatcher::SaveCatcher(const std::string& folder, uint64_t seed)
    : m_folder(folder), m_watch(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), m_random(seed) {
    inotify_add_watch(m_watch, folder.c_str(), IN_CREATE);
}

SaveCatcher::~SaveCatcher() { close(m_watch); }

std::string SaveCatcher::NextNewFile(const std::string& file, int64_t deadlineMs) {
    const std::string prefix = "." + file + (file.empty() ? "" : ".save-");
    alignas(inotify_event) char buffer[4096];
    while (NowMs() < deadlineMs) {
        pollfd ready{m_watch, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(deadlineMs - NowMs())) <= 0)
            continue;
        const ssize_t n = read(m_watch, buffer, sizeof buffer);
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const std::string name = event->len ? event->name : "";
            if (name.compare(0, prefix.size(), prefix) == 0 && name.find(".save-") != std::string::npos)
                return name; // a later one in the same read is a later save; this one is caught first
        }
    }
    return {};
}

bool SaveCatcher::StopInsideASave(pid_t pid, const std::string& file, int timeoutMs) {
    const int64_t deadline = NowMs() + timeoutMs;
    // What appeared before is over.
    alignas(inotify_event) char stale[4096];
    while (read(m_watch, stale, sizeof stale) > 0) {
    }
    while (true) {
        const std::string name = NextNewFile(file, deadline);
        if (name.empty())
            return false;
        const int64_t waitUs = std::uniform_int_distribution<int64_t>(0, m_longestWaitUs)(m_random);
        std::this_thread::sleep_for(std::chrono::microseconds(waitUs));
        kill(pid, SIGSTOP);
        if (!Stopped(pid))
            return false;
        if (access((m_folder + "/" + name).c_str(), F_OK) == 0)
            return true;
        // The save was over: later waits stay below this one.
        m_longestWaitUs = std::max<int64_t>(waitUs, 1);
        kill(pid, SIGCONT);
    }
}
