// From process start to the first painted main window, for the program on the sample configuration beside a bare Qt
// program showing a QMainWindow of the same size, both on the same X server (Xvfb, 1280 x 1024, a black root) in the
// same run. A window counts as painted once the middle of the screen, which both windows cover, is no longer the
// root's black, as read from the server. Pairs are startup/program and startup/plain; scripts/bench-desk.sh prints
// their ratio.
//
// Options besides Google Benchmark's: --starts=N (default 10) starts of each a measurement.

#include "BenchOptions.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#ifndef VELTRANO_PROGRAM
#error "VELTRANO_PROGRAM must name the built program"
#endif

extern char** environ;

namespace {

int gStarts = 10;
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

// Starts Xvfb and points DISPLAY at it; its process, or -1.
pid_t StartServer() {
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t server = Spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp", "-br",
                                "-screen", "0", "1280x1024x24"},
                               nullptr, fds[0]);
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (server > 0 && number.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0) {
        char c[16];
        const ssize_t n = read(fds[0], c, sizeof c);
        if (n <= 0)
            break;
        number.append(c, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        Stop(server);
        return -1;
    }
    setenv("DISPLAY", (":" + number.substr(0, number.find('\n'))).c_str(), 1);
    return server;
}

bool MiddlePainted() {
    const QImage pixel = QGuiApplication::primaryScreen()->grabWindow(0, 640, 512, 1, 1).toImage();
    return !pixel.isNull() && (pixel.pixel(0, 0) & 0xFFFFFF) != 0;
}

// Starts the program, and answers the seconds until its window is painted; negative when it was not within 30 s.
// The program is stopped again, and its window gone, before it returns.
double TimeToPaint(const std::vector<std::string>& command, const char* folder) {
    const auto start = Clock::now();
    const pid_t pid = Spawn(command, folder);
    double seconds = -1;
    while (pid > 0 && Clock::now() - start < std::chrono::seconds(30)) {
        if (MiddlePainted()) {
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
            break;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return -1;
    }
    Stop(pid);
    while (MiddlePainted())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return seconds;
}

void Measure(benchmark::State& state, const std::vector<std::string>& command, const char* folder) {
    for (auto _ : state) {
        const double seconds = TimeToPaint(command, folder);
        if (seconds < 0) {
            state.SkipWithError("no window was painted");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void StartProgram(benchmark::State& state) { Measure(state, {VELTRANO_PROGRAM}, gFolder.c_str()); }
void StartPlain(benchmark::State& state) { Measure(state, {VELTRANO_BARE_WINDOW}, nullptr); }

} // namespace

int main(int argc, char** argv) {
    if (!TakeCount(argc, argv, "--starts=", 10000, gStarts)) {
        std::fprintf(stderr, "--starts takes a number from 1 to 10000\n");
        return 2;
    }
    const pid_t server = StartServer();
    if (server < 0) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    // The programs' settings and run-time folders stay out of the user's.
    char folder[] = "/tmp/veltrano-startup-XXXXXX";
    if (!mkdtemp(folder)) {
        Stop(server);
        return 1;
    }
    gFolder = folder;
    for (const char* name : {"command.xml", "system.xml", "matrix.xml"})
        std::filesystem::copy_file(std::string(VELTRANO_SOURCE_DIR) + "/res/" + name, gFolder + "/" + name);
    std::filesystem::create_directory(gFolder + "/runtime");
    std::filesystem::permissions(gFolder + "/runtime", std::filesystem::perms::owner_all);
    setenv("XDG_CONFIG_HOME", gFolder.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (gFolder + "/runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    int result = 0;
    {
        QGuiApplication app(argc, argv);
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
            result = 2;
        } else {
            for (auto* b : {benchmark::RegisterBenchmark("startup/program", StartProgram),
                            benchmark::RegisterBenchmark("startup/plain", StartPlain)})
                b->UseManualTime()
                    ->Iterations(gStarts)
                    ->Unit(benchmark::kMillisecond)
                    ->ComputeStatistics("min", Minimum);
            benchmark::RunSpecifiedBenchmarks();
            benchmark::Shutdown();
        }
    }
    Stop(server);
    std::filesystem::remove_all(gFolder);
    return result;
}
