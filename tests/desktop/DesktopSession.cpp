#include "DesktopSession.h"

#include "XProbe.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Starts a program with no input and no output; its errors go to the log. Descriptors made without close-on-exec
// pass to it, but closeFd.
pid_t Spawn(const std::vector<std::string>& arguments, int closeFd = -1, const char* log = "/dev/null") {
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log, O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (closeFd >= 0)
        posix_spawn_file_actions_addclose(&actions, closeFd);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void Stop(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

} // namespace

DesktopSession::~DesktopSession() {
    Stop(m_manager);
    Stop(m_server);
    if (!m_home.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_home, ignored);
    }
}

bool DesktopSession::Start(std::string& error) {
    // The server picks a free display and writes its number once it takes connections.
    int fds[2];
    if (pipe(fds) != 0) {
        error = "no pipe";
        return false;
    }
    m_server = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp", "-screen", "0", "1280x1024x24"},
                     fds[0]);
    close(fds[1]);
    if (m_server < 0) {
        close(fds[0]);
        error = "Xvfb did not start";
        return false;
    }
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (number.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0) {
        char c[16];
        const ssize_t n = read(fds[0], c, sizeof c);
        if (n <= 0)
            break;
        number.append(c, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        error = "Xvfb gave no display";
        return false;
    }
    m_display = ":" + number.substr(0, number.find('\n'));
    setenv("DISPLAY", m_display.c_str(), 1);

    // The window manager reads its settings from the system's files, never from the user's.
    char home[] = "/tmp/veltrano-desktop-XXXXXX";
    if (!mkdtemp(home)) {
        error = "no folder for the window manager";
        return false;
    }
    m_home = home;
    setenv("XDG_CONFIG_HOME", m_home.c_str(), 1);
    setenv("XDG_CACHE_HOME", m_home.c_str(), 1);
    // Under load a manager now and then gives up while it starts; another one is started then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_manager = Spawn({"openbox", "--sm-disable"}, -1, (m_home + "/openbox.log").c_str());
        if (m_manager < 0) {
            error = "openbox did not start";
            return false;
        }
        // A manager that has taken the screen names its check window on the root window.
        for (int i = 0; i < 500; ++i) {
            if (waitpid(m_manager, nullptr, WNOHANG) == m_manager) {
                m_manager = -1;
                break;
            }
            if (RunTool("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        Stop(m_manager);
    }
    error = "openbox did not take the screen: " + ManagerLog();
    return false;
}

std::string DesktopSession::ManagerLog() const {
    return RunTool("cat " + m_home + "/openbox.log " + m_home + "/openbox/openbox.log 2>/dev/null");
}
