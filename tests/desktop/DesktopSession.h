#pragma once

#include "tests/support/XServer.h"

#include <memory>
#include <string>
#include <sys/types.h>

// An X server of its own (Xvfb, 1280 x 1024) with a real window manager on it (openbox), as an operator's desktop
// has one: the manager reparents top-level windows into frames with a title bar and borders, and decides what
// their title bars offer. Both stop with this object.
class DesktopSession {
public:
    DesktopSession() = default;
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // Starts the server and the window manager, and waits until the manager has taken the screen. DISPLAY then
    // names the server, for this process and the tools it runs, and Display() names it. False with the reason in
    // error.
    bool Start(std::string& error);
    const std::string& Display() const { return m_server->Display(); }
    // What the window manager said on its error output.
    std::string ManagerLog() const;

private:
    std::unique_ptr<XServer> m_server;
    pid_t m_manager = -1;
    std::string m_home;
};
