#pragma once

#include "tests/support/PortLink.h"
#include "tests/support/Pty.h"
#include "tests/support/WorkingDir.h"

#include "ui/app/VeltranoApp.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <utility>

class CCtrlBanner;
class CMainFrame;
class CWnd;

// The whole program in this process, started as the operator starts it: in a folder of its own on the sample
// configuration, its wall port COM1 a pseudo-terminal and opened from the banner. Pauses are skipped, message boxes
// go to standard error and the screen is 1280 x 1024, so that a benchmark times only the work itself.
class ProgramInProcess {
public:
    // Files written in place of the samples, by name ("system.xml" ...).
    bool Start(const std::map<std::string, std::string>& files);

    CMainFrame* Frame() const { return m_frame; }
    CCtrlBanner* Banner() const { return m_banner; }
    Pty& Wall() { return m_wall; }
    const WorkingDir& Folder() const { return m_folder; }

    // A left click on the control of a window.
    static void Click(CWnd* window, int id);

private:
    WorkingDir m_folder;
    Pty m_wall;
    PortLink m_link;
    CVeltranoApp m_app;
    CMainFrame* m_frame = nullptr;
    CCtrlBanner* m_banner = nullptr;
    char m_name[9] = "veltrano";
    char* m_argv[2] = {m_name, nullptr};
};

// A benchmark's program (a ProgramInProcess with a Start of its own), started on its first use and kept to the end
// of the process; the run ends when it does not start.
template <class Program> Program& StartedOnce() {
    static auto* program = [] {
        auto* p = new Program;
        if (!p->Start()) {
            std::fprintf(stderr, "The program did not start\n");
            std::exit(1);
        }
        return p;
    }();
    return *program;
}

// The work timed in the program ("work/program") beside the same work as a Qt programmer would write it
// ("work/plain"), in that order.
std::pair<benchmark::internal::Benchmark*, benchmark::internal::Benchmark*>
RegisterPair(const char* work, void (*program)(benchmark::State&), void (*plain)(benchmark::State&));

// Runs the benchmarks that registerAll registers, in memory without a display; the program's windows go before the
// application object. The process's exit code: 2 for an argument the benchmark library does not know.
int RunInProcess(int argc, char** argv, const std::function<void()>& registerAll);
