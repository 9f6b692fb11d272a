#pragma once

#include "TempDir.h"

#include <string>
#include <sys/types.h>
#include <vector>

// An X server of its own (Xvfb, 1280 x 1024 at 24 bits) on a display the server picks itself and names once it
// takes connections, so that servers started side by side never meet; it stops with this object. It can keep its
// screen in a file as well: what the screen shows, pop-up menus included, read without asking the server, which
// answers a root-window capture with black where a pop-up menu stands.
class XServer {
public:
    enum Screen { kScreenInMemory, kScreenInFile };

    // Starts the server, with Xvfb's further options ("-noreset", "-br") where a caller needs them.
    explicit XServer(Screen screen, const std::vector<std::string>& options = {});
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // ":N"; empty when the server did not start, and Error() then says why.
    const std::string& Display() const { return m_display; }
    const std::string& Error() const { return m_error; }
    // The file the server keeps its screen in, in the X window dump format (tests/support/XwdImage.h reads it).
    std::string ScreenFile() const { return m_folder.File("Xvfb_screen0"); }

private:
    TempDir m_folder; // the screen file and the server's error output
    pid_t m_server = -1;
    std::string m_display;
    std::string m_error;
};
