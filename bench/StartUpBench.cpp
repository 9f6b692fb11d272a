// From process start to the final painted frame, and the peak resident memory, for the program on the sample
// configuration beside the same main window written in Qt (bench/PlainMainWindow.cpp) and, as one line more, a bare
// QMainWindow of the same size, all on one X server (Xvfb, 1280 x 1024, a black root, its display number picked by
// the server so that it meets no other). They start in turn, round by round, so that whatever else the machine does
// falls on each alike. The screen is read from the file the server keeps it in, without asking the server: a frame
// is painted when that changes, and the final one is the last change before the screen stays still for half a
// second. The peak resident memory is read from the process before it is stopped. Pairs are startup/program,
// startup/plain and startup/bare, with the memory as the counter peak_rss_mib; scripts/bench-desk.sh prints their
// ratios.
//
// Options besides Google Benchmark's: --starts=N (default 11) rounds of starts.

#include "BenchOptions.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#ifndef VELTRANO_PROGRAM
#error "VELTRANO_PROGRAM must name the built program"
#endif

extern char** environ;

namespace {

int gStarts = 11;
std::string gFolder;

using Clock = std::chrono::steady_clock;

pid_t Spawn(const std::vector<std::string>& arguments, const char* folder = nullptr, int closeFd = -1) {
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (closeFd >= 0)
        posix_spawn_file_actions_addclose(&actions, closeFd);
    // The program reads its files from the folder it starts in.
    const std::string previous = std::filesystem::current_path();
    if (folder)
        std::filesystem::current_path(folder);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    if (folder)
        std::filesystem::current_path(previous);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void Stop(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// The X server, and its screen as the file it keeps it in, mapped for reading.
struct Server {
    pid_t pid = -1;
    const unsigned char* screen = nullptr;
    size_t size = 0;
    std::vector<unsigned char> empty; // the screen before any window
};

// Starts Xvfb, points DISPLAY at it and maps its screen; the server's process is -1 when it failed.
Server StartServer(const std::string& screenFolder) {
    Server server;
    int fds[2];
    if (pipe(fds) != 0)
        return server;
    server.pid = Spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp", "-br", "-screen",
                        "0", "1280x1024x24", "-fbdir", screenFolder},
                       nullptr, fds[0]);
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (server.pid > 0 && number.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0) {
        char c[16];
        const ssize_t n = read(fds[0], c, sizeof c);
        if (n <= 0)
            break;
        number.append(c, static_cast<size_t>(n));
    }
    close(fds[0]);
    const int fd = open((screenFolder + "/Xvfb_screen0").c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (number.find('\n') == std::string::npos || fd < 0 || fstat(fd, &info) != 0) {
        if (fd >= 0)
            close(fd);
        Stop(server.pid);
        server.pid = -1;
        return server;
    }
    server.size = static_cast<size_t>(info.st_size);
    void* mapped = mmap(nullptr, server.size, PROT_READ, MAP_SHARED, fd, 0);
    close(fd);
    if (mapped == MAP_FAILED) {
        Stop(server.pid);
        server.pid = -1;
        return server;
    }
    server.screen = static_cast<const unsigned char*>(mapped);
    server.empty.assign(server.screen, server.screen + server.size);
    setenv("DISPLAY", (":" + number.substr(0, number.find('\n'))).c_str(), 1);
    return server;
}

// The peak resident memory of a running process, in MiB; 0 when it cannot be read.
double PeakResidentMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0;
}

struct Start {
    double seconds = -1; // to the final painted frame; negative when the window did not settle within the limit
    double peakMiB = 0;
};

// Starts a program and follows the screen until it has stayed still for half a second after its first change; the
// program is stopped, and the screen empty again, before it returns.
Start TimeToFinalFrame(const Server& server, const std::vector<std::string>& command, const char* folder) {
    constexpr auto kStill = std::chrono::milliseconds(500);
    constexpr auto kLimit = std::chrono::seconds(30);
    Start result;
    std::vector<unsigned char> shown = server.empty;
    const auto start = Clock::now();
    const pid_t pid = Spawn(command, folder);
    Clock::time_point lastChange{};
    bool changed = false;
    while (pid > 0) {
        const auto now = Clock::now();
        if (std::memcmp(server.screen, shown.data(), server.size) != 0) {
            std::memcpy(shown.data(), server.screen, server.size);
            lastChange = now;
            changed = true;
        } else if (changed && now - lastChange > kStill) {
            result.seconds = std::chrono::duration<double>(lastChange - start).count();
            break;
        }
        if (now - start > kLimit || waitpid(pid, nullptr, WNOHANG) == pid)
            break;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (result.seconds >= 0)
        result.peakMiB = PeakResidentMiB(pid);
    Stop(pid);
    const auto stopped = Clock::now();
    while (std::memcmp(server.screen, server.empty.data(), server.size) != 0 && Clock::now() - stopped < kLimit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return result;
}

// Each peer's starts, measured before the benchmarks report them one a repetition.
struct Peer {
    const char* name;
    std::vector<std::string> command;
    const char* folder;
    std::vector<Start> starts;
    size_t reported = 0;
};

void Report(benchmark::State& state, Peer* peer) {
    for (auto _ : state) {
        if (peer->reported >= peer->starts.size() || peer->starts[peer->reported].seconds < 0) {
            state.SkipWithError("no window was painted");
            break;
        }
        const Start& start = peer->starts[peer->reported++];
        state.SetIterationTime(start.seconds);
        state.counters["peak_rss_mib"] = start.peakMiB;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (!TakeCount(argc, argv, "--starts=", 10000, gStarts)) {
        std::fprintf(stderr, "--starts takes a number from 1 to 10000\n");
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    // The programs' settings, run-time folders and the server's screen stay out of the user's.
    char folder[] = "/tmp/veltrano-startup-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    gFolder = folder;
    for (const char* name : {"command.xml", "system.xml", "matrix.xml"})
        std::filesystem::copy_file(std::string(VELTRANO_SOURCE_DIR) + "/res/" + name, gFolder + "/" + name);
    for (const char* sub : {"/runtime", "/screen"}) {
        std::filesystem::create_directory(gFolder + sub);
        std::filesystem::permissions(gFolder + sub, std::filesystem::perms::owner_all);
    }
    const Server server = StartServer(gFolder + "/screen");
    if (server.pid < 0) {
        std::fprintf(stderr, "Xvfb did not start\n");
        std::filesystem::remove_all(gFolder);
        return 1;
    }
    setenv("XDG_CONFIG_HOME", gFolder.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (gFolder + "/runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    const std::string picture = std::filesystem::path(VELTRANO_PROGRAM).parent_path() / "bmp_logo.bmp";
    std::vector<Peer> peers{{"startup/program", {VELTRANO_PROGRAM}, gFolder.c_str(), {}},
                            {"startup/plain", {VELTRANO_PLAIN_WINDOW, picture}, nullptr, {}},
                            {"startup/bare", {VELTRANO_BARE_WINDOW}, nullptr, {}}};
    for (int round = 0; round < gStarts; ++round)
        for (Peer& peer : peers)
            peer.starts.push_back(TimeToFinalFrame(server, peer.command, peer.folder));
    for (Peer& peer : peers)
        benchmark::RegisterBenchmark(peer.name, Report, &peer)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(gStarts)
            ->Unit(benchmark::kMillisecond)
            ->ComputeStatistics("min", Minimum);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    munmap(const_cast<unsigned char*>(server.screen), server.size);
    Stop(server.pid);
    std::filesystem::remove_all(gFolder);
    return 0;
}
