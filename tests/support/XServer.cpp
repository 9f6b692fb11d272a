#include "XServer.h"

#include "Spawn.h"

#include <poll.h>
#include <unistd.h>

XServer::XServer(Screen screen, const std::vector<std::string>& options) {
    int fds[2];
    if (pipe(fds) != 0) {
        m_error = "no pipe";
        return;
    }
    std::vector<std::string> arguments{"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), {"-screen", "0", "1280x1024x24"});
    if (screen == kScreenInFile)
        arguments.insert(arguments.end(), {"-fbdir", m_folder.Path()});
    const std::string log = m_folder.File("Xvfb.log");
    m_server = Spawn(arguments, {log.c_str(), nullptr, fds[0]});
    close(fds[1]);
    if (m_server < 0) {
        close(fds[0]);
        m_error = "Xvfb did not start";
        return;
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
        StopProcess(m_server, 5000);
        const std::string said = m_folder.Read("Xvfb.log");
        m_error = "Xvfb gave no display" + (said.empty() ? "" : ": " + said);
        return;
    }
    m_display = ":" + number.substr(0, number.find('\n'));
}

XServer::~XServer() { StopProcess(m_server, 5000); }
