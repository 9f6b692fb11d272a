#include "DesktopSession.h"

#include "XProbe.h"

#include "tests/support/Spawn.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <thread>

DesktopSession::~DesktopSession() {
    StopProcess(m_manager, 2000);
    m_server.reset();
    if (!m_home.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_home, ignored);
    }
}

bool DesktopSession::Start(std::string& error) {
    m_server = std::make_unique<XServer>(XServer::kScreenInMemory);
    if (m_server->Display().empty()) {
        error = m_server->Error();
        return false;
    }
    setenv("DISPLAY", m_server->Display().c_str(), 1);

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
        const std::string log = m_home + "/openbox.log";
        m_manager = Spawn({"openbox", "--sm-disable"}, {log.c_str()});
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
        StopProcess(m_manager, 2000);
    }
    error = "openbox did not take the screen: " + ManagerLog();
    return false;
}

std::string DesktopSession::ManagerLog() const {
    return RunTool("cat " + m_home + "/openbox.log " + m_home + "/openbox/openbox.log 2>/dev/null");
}
