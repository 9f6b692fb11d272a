// From process start to the final painted frame, and the peak resident memory, for the program on the sample
// configuration beside the same main window written in Qt (bench/PlainMainWindow.cpp) and, as one line more, a bare
// QMainWindow of the same size, all on one X server (Xvfb, 1280 x 1024, a black root, its display number picked by
// the server so that it meets no other). They start in turn, round by round, the program first in one round and
// last in the next, so that whatever else the machine does falls on each alike and each round's starts can be
// compared as a pair. The screen is read from the file the server keeps it in, without asking the server: a frame
// is painted when that changes, and the final one is the last change before the screen stays still for half a
// second. The peak resident memory is read from the process before it is stopped. Pairs are startup/program,
// startup/plain and startup/bare, one repetition a round in the order of the rounds, with the memory as the counter
// peak_rss_mib and the time from the first frame to the final one as first_to_final_ms (a second paint pass shows
// there); scripts/bench-desk.sh prints their ratios, round by round.
//
// Options besides Google Benchmark's: --starts=N (default 21) rounds of starts.

#include "BenchOptions.h"

#include "tests/support/Spawn.h"
#include "tests/support/XServer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
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

namespace {

int gStarts = 21;
std::string gFolder;

using Clock = std::chrono::steady_clock;

// The server's screen, as the file it keeps it in, mapped for reading.
struct Screen {
    const unsigned char* pixels = nullptr; // null when it could not be mapped
    size_t size = 0;
    std::vector<unsigned char> empty; // the screen before any window
};

Screen MapScreen(const std::string& file) {
    Screen screen;
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0) {
        if (fd >= 0)
            close(fd);
        return screen;
    }
    const size_t size = static_cast<size_t>(info.st_size);
    void* mapped = mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    close(fd);
    if (mapped == MAP_FAILED)
        return screen;
    screen.pixels = static_cast<const unsigned char*>(mapped);
    screen.size = size;
    screen.empty.assign(screen.pixels, screen.pixels + size);
    return screen;
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
    double seconds = -1;     // to the final painted frame; negative when the window did not settle within the limit
    double firstSeconds = 0; // to the first change of the screen
    double peakMiB = 0;
};

// Starts a program and follows the screen until it has stayed still for half a second after its first change; the
// program is stopped, and the screen empty again, before it returns.
Start TimeToFinalFrame(const Screen& screen, const std::vector<std::string>& command, const char* folder) {
    constexpr auto kStill = std::chrono::milliseconds(500);
    constexpr auto kLimit = std::chrono::seconds(30);
    Start result;
    std::vector<unsigned char> shown = screen.empty;
    const auto start = Clock::now();
    pid_t pid = Spawn(command, {"/dev/null", folder});
    Clock::time_point firstChange{};
    Clock::time_point lastChange{};
    bool changed = false;
    while (pid > 0) {
        const auto now = Clock::now();
        if (std::memcmp(screen.pixels, shown.data(), screen.size) != 0) {
            std::memcpy(shown.data(), screen.pixels, screen.size);
            if (!changed)
                firstChange = now;
            lastChange = now;
            changed = true;
        } else if (changed && now - lastChange > kStill) {
            result.seconds = std::chrono::duration<double>(lastChange - start).count();
            result.firstSeconds = std::chrono::duration<double>(firstChange - start).count();
            break;
        }
        if (now - start > kLimit || waitpid(pid, nullptr, WNOHANG) == pid)
            break;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (result.seconds >= 0)
        result.peakMiB = PeakResidentMiB(pid);
    StopProcess(pid, 0);
    const auto stopped = Clock::now();
    while (std::memcmp(screen.pixels, screen.empty.data(), screen.size) != 0 && Clock::now() - stopped < kLimit)
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
        state.counters["first_to_final_ms"] = (start.seconds - start.firstSeconds) * 1000;
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
    // The programs' settings and run-time folders stay out of the user's.
    char folder[] = "/tmp/veltrano-startup-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    gFolder = folder;
    for (const char* name : {"command.xml", "system.xml", "matrix.xml"})
        std::filesystem::copy_file(std::string(VELTRANO_SOURCE_DIR) + "/res/" + name, gFolder + "/" + name);
    std::filesystem::create_directory(gFolder + "/runtime");
    std::filesystem::permissions(gFolder + "/runtime", std::filesystem::perms::owner_all);
    const XServer server(XServer::kScreenInFile, {"-br"});
    const Screen screen = server.Display().empty() ? Screen() : MapScreen(server.ScreenFile());
    if (!screen.pixels) {
        std::fprintf(stderr, "Xvfb did not start\n");
        std::filesystem::remove_all(gFolder);
        return 1;
    }
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("XDG_CONFIG_HOME", gFolder.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (gFolder + "/runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    const std::string picture = std::filesystem::path(VELTRANO_PROGRAM).parent_path() / "bmp_logo.bmp";
    std::vector<Peer> peers{{"startup/program", {VELTRANO_PROGRAM}, gFolder.c_str(), {}},
                            {"startup/plain", {VELTRANO_PLAIN_WINDOW, picture}, nullptr, {}},
                            {"startup/bare", {VELTRANO_BARE_WINDOW}, nullptr, {}}};
    for (int round = 0; round < gStarts; ++round) {
        for (size_t i = 0; i < peers.size(); ++i) {
            Peer& peer = peers[round % 2 ? peers.size() - 1 - i : i];
            peer.starts.push_back(TimeToFinalFrame(screen, peer.command, peer.folder));
        }
    }
    for (Peer& peer : peers)
        benchmark::RegisterBenchmark(peer.name, Report, &peer)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(gStarts)
            ->Unit(benchmark::kMillisecond)
            ->ComputeStatistics("min", Minimum);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    munmap(const_cast<unsigned char*>(screen.pixels), screen.size);
    std::filesystem::remove_all(gFolder);
    return 0;
}
