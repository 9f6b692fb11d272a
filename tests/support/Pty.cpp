#include "Pty.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

Pty::Pty() : m_master(-1) {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        throw std::runtime_error("cannot open a pseudo-terminal");
    const char* name = ptsname(m_master);
    if (!name)
        throw std::runtime_error("ptsname failed");
    m_slavePath = name;
    struct termios t;
    if (tcgetattr(m_master, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(m_master, TCSANOW, &t);
    }
}

Pty::~Pty() { CloseMaster(); }

void Pty::CloseMaster() {
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void Pty::FillUntilFull() {
    int fd = ::open(m_slavePath.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open the slave");
    // The kernel moves bytes on to the master's side a little later, making room again: full means the
    // line stayed full across several pauses.
    char block[1024] = {};
    for (int quietRounds = 0; quietRounds < 5;) {
        bool tookAny = false;
        while (::write(fd, block, sizeof block) > 0)
            tookAny = true;
        while (::write(fd, block, 1) > 0)
            tookAny = true;
        quietRounds = tookAny ? 0 : quietRounds + 1;
        ::usleep(20000);
    }
    ::close(fd);
}

std::vector<unsigned char> Pty::ReadAvailable(int quietMs) {
    std::vector<unsigned char> out;
    for (;;) {
        struct pollfd pfd {
            m_master, POLLIN, 0
        };
        if (::poll(&pfd, 1, quietMs) <= 0 || !(pfd.revents & POLLIN))
            return out;
        unsigned char buf[4096];
        ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            return out;
        out.insert(out.end(), buf, buf + n);
    }
}

std::vector<unsigned char> Pty::Read(size_t count, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<unsigned char> out;
    while (out.size() < count) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        struct pollfd pfd {
            m_master, POLLIN, 0
        };
        if (::poll(&pfd, 1, static_cast<int>(left)) <= 0 || !(pfd.revents & POLLIN))
            break;
        unsigned char buf[4096];
        size_t want = count - out.size() < sizeof buf ? count - out.size() : sizeof buf;
        ssize_t n = ::read(m_master, buf, want);
        if (n <= 0)
            break;
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}
