#include "SerialDevice.h"

#include "PortDirectory.h"
#include "SerialTermios.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

struct SerialHandle {
    int fd = -1;
    std::string name;
    COMMTIMEOUTS timeouts{0, 0, 0, 0, 0};
};

std::vector<std::string>& Trace() {
    static std::vector<std::string> trace;
    return trace;
}

void Record(const std::string& line) { Trace().push_back(line); }

std::string Hex(DWORD value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%02x", static_cast<unsigned>(value));
    return buf;
}

SerialHandle* FromHandle(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return static_cast<SerialHandle*>(handle);
}

DWORD ErrorFromErrno(int err) {
    switch (err) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOTDIR: return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EBUSY: return ERROR_ACCESS_DENIED;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENOTTY: return ERROR_NOT_SUPPORTED;
    default: return ERROR_GEN_FAILURE;
    }
}

// A pseudo-terminal, as programs that bridge a port over the network offer one.
bool IsPseudoTerminal(int fd) {
    struct stat st;
    constexpr unsigned kFirstMajor = 136, kMajorCount = 8; // the kernel's numbers for them
    return ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= kFirstMajor &&
           major(st.st_rdev) < kFirstMajor + kMajorCount;
}

BOOL Fail(int err) {
    SetLastError(ErrorFromErrno(err));
    return FALSE;
}

} // namespace

HANDLE CreateFileA(const char* fileName, DWORD /*desiredAccess*/, DWORD shareMode, void* /*securityAttributes*/,
                   DWORD creationDisposition, DWORD /*flagsAndAttributes*/, HANDLE /*templateFile*/) {
    std::string name = fileName ? fileName : "";
    Record("CreateFile " + name);
    if (creationDisposition != OPEN_EXISTING || shareMode != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string path = PortDevicePath(name);
    if (path.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    // Non-blocking, so that a write can be bounded by the port's timeouts with poll.
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail(errno);
        return INVALID_HANDLE_VALUE;
    }
    // No sharing: the lock keeps out a second open by this or another instance, root's included, and goes with
    // its holder however that ends. TIOCEXCL keeps other programs out (except privileged ones), but a
    // pseudo-terminal keeps that mark after a holder that was killed, against every later open but root's: there
    // the lock alone keeps the port.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (!IsPseudoTerminal(fd))
        ::ioctl(fd, TIOCEXCL);
    SerialHandle* h = new SerialHandle;
    h->fd = fd;
    h->name = name;
    SetLastError(0);
    return h;
}

BOOL CloseHandle(HANDLE handle) {
    SerialHandle* h = FromHandle(handle);
    if (!h)
        return FALSE;
    Record("CloseHandle");
    ::ioctl(h->fd, TIOCNXCL);
    ::close(h->fd);
    delete h;
    return TRUE;
}

BOOL SetCommMask(HANDLE handle, DWORD eventMask) {
    SerialHandle* h = FromHandle(handle);
    if (!h)
        return FALSE;
    Record("SetCommMask " + Hex(eventMask));
    return TRUE; // nothing waits on comm events here: the program never reads
}

BOOL SetupComm(HANDLE handle, DWORD inQueue, DWORD outQueue) {
    SerialHandle* h = FromHandle(handle);
    if (!h)
        return FALSE;
    Record("SetupComm " + std::to_string(inQueue) + " " + std::to_string(outQueue));
    return TRUE; // the kernel sizes a terminal's queues itself
}

BOOL PurgeComm(HANDLE handle, DWORD flags) {
    SerialHandle* h = FromHandle(handle);
    if (!h)
        return FALSE;
    Record("PurgeComm " + Hex(flags));
    bool tx = flags & (PURGE_TXABORT | PURGE_TXCLEAR);
    bool rx = flags & (PURGE_RXABORT | PURGE_RXCLEAR);
    if (!tx && !rx)
        return TRUE;
    int queue = (tx && rx) ? TCIOFLUSH : (tx ? TCOFLUSH : TCIFLUSH);
    return ::tcflush(h->fd, queue) == 0 ? TRUE : Fail(errno);
}

BOOL GetCommState(HANDLE handle, DCB* dcb) {
    SerialHandle* h = FromHandle(handle);
    if (!h || !dcb)
        return FALSE;
    Record("GetCommState");
    struct termios t;
    if (::tcgetattr(h->fd, &t) != 0)
        return Fail(errno);
    TermiosToDcb(t, *dcb);
    return TRUE;
}

BOOL SetCommState(HANDLE handle, DCB* dcb) {
    SerialHandle* h = FromHandle(handle);
    if (!h || !dcb)
        return FALSE;
    Record("SetCommState " + std::to_string(dcb->BaudRate) + " " + std::to_string(dcb->ByteSize) + " " +
           std::to_string(dcb->Parity) + " " + std::to_string(dcb->StopBits));
    struct termios current;
    if (::tcgetattr(h->fd, &current) != 0)
        return Fail(errno);
    TermiosMapping mapping;
    if (!DcbToTermios(*dcb, current, mapping)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (::tcsetattr(h->fd, TCSANOW, &mapping.settings) != 0)
        return Fail(errno);
    if (mapping.customBaud && !SetCustomBaudRate(h->fd, mapping.baudRate))
        return Fail(errno);
    return TRUE;
}

BOOL SetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts) {
    SerialHandle* h = FromHandle(handle);
    if (!h || !timeouts)
        return FALSE;
    Record("SetCommTimeouts " + std::to_string(timeouts->ReadIntervalTimeout) + " " +
           std::to_string(timeouts->ReadTotalTimeoutMultiplier) + " " +
           std::to_string(timeouts->ReadTotalTimeoutConstant) + " " +
           std::to_string(timeouts->WriteTotalTimeoutMultiplier) + " " +
           std::to_string(timeouts->WriteTotalTimeoutConstant));
    h->timeouts = *timeouts;
    return TRUE;
}

BOOL EscapeCommFunction(HANDLE handle, DWORD function) {
    SerialHandle* h = FromHandle(handle);
    if (!h)
        return FALSE;
    int bits = TIOCM_DTR;
    switch (function) {
    case SETDTR: Record("EscapeCommFunction SETDTR"); return ::ioctl(h->fd, TIOCMBIS, &bits) == 0 ? TRUE : Fail(errno);
    case CLRDTR: Record("EscapeCommFunction CLRDTR"); return ::ioctl(h->fd, TIOCMBIC, &bits) == 0 ? TRUE : Fail(errno);
    default:
        Record("EscapeCommFunction " + std::to_string(function));
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, void* /*overlapped*/) {
    SerialHandle* h = FromHandle(handle);
    if (!h)
        return FALSE;
    if (bytesWritten)
        *bytesWritten = 0;
    if (bytesToWrite > 0 && !buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }

    using Clock = std::chrono::steady_clock;
    const uint64_t totalMs = static_cast<uint64_t>(h->timeouts.WriteTotalTimeoutMultiplier) * bytesToWrite +
                             h->timeouts.WriteTotalTimeoutConstant;
    const bool bounded = totalMs > 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(totalMs);

    const char* p = static_cast<const char*>(buffer);
    DWORD done = 0;
    // Whatever the outcome, the caller learns how much went out.
    auto finish = [&](BOOL result) {
        if (bytesWritten)
            *bytesWritten = done;
        return result;
    };
    while (done < bytesToWrite) {
        ssize_t n = ::write(h->fd, p + done, bytesToWrite - done);
        if (n > 0) {
            done += static_cast<DWORD>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return finish(Fail(errno));
        int waitMs = -1;
        if (bounded) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                break; // timed out: the platform reports success with a short count
            waitMs = static_cast<int>(left > 60000 ? 60000 : left);
        }
        struct pollfd pfd {
            h->fd, POLLOUT, 0
        };
        int r = ::poll(&pfd, 1, waitMs);
        if (r < 0 && errno != EINTR)
            return finish(Fail(errno));
        if (r > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) && !(pfd.revents & POLLOUT)) {
            SetLastError(ERROR_GEN_FAILURE);
            return finish(FALSE);
        }
    }
    return finish(TRUE);
}

std::vector<std::string> SerialTrace() { return Trace(); }

void ClearSerialTrace() { Trace().clear(); }
