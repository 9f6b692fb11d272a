// What the operator feels, each beside what a plain Qt program does for the same result, in the same run. The whole
// program runs in this process as it starts for the operator, on a 16 x 16 wall whose port COM1 is a
// pseudo-terminal:
//   click_to_bytes   a click on "Power On" in the banner until the frame's last byte is read at the line's far end,
//                    beside a click on a QPushButton whose clicked signal writes the same frame to an identical
//                    pseudo-terminal; per click, with the median and the 99th percentile as counters (p50_us, p99_us)
//   wall_redraw      a full redraw of the wall view with every cell labelled, beside a plain QWidget painting 256
//                    labelled rectangles of the same size
//   wall_drag_select selecting all cells by dragging from the first to the last, and the redraw, beside the same
//                    drag on the plain widget, which highlights the rectangles under it
//   matrix_run       a channel button on the Matrix page with Increase, over the whole wall: 256 switches and the
//                    signal command (the pauses set to 0 through the seam), until the last byte is read, and the
//                    cells relabelled; beside 256 plain writes of the same switches and one of the same command, the
//                    plain widget's 256 labels set anew and one repaint
// Pairs are named <work>/program and <work>/plain; scripts/bench-desk.sh prints their ratios.
//
// Options besides Google Benchmark's: --clicks=N (default 2000) clicks, --runs=N (default 20) matrix runs a
// measurement.

#include "BenchOptions.h"
#include "ProgramInProcess.h"
#include "tests/support/Pty.h"

#include "ui/banner/CtrlBanner.h"
#include "ui/wall/LcdGridCtrl.h"

#include "core/WallModel.h"
#include "platform/gui/dialogs/PropertySheet.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

int gClicks = 2000;
int gRuns = 20;
constexpr int kSide = 16;
constexpr int kPowerOn = 1006;
constexpr int kMatrixPage = 5;
constexpr int kIncreaseCheck = 1083;
constexpr int kFirstChannelButton = 1077;

using Clock = std::chrono::steady_clock;

std::string Settings() {
    return "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<SYSTEM>\n"
           "<SYSTEMINFO name=\"Veltrano\" version=\"1.0\" company=\"Bench\" title=\"Wall of 256\" />\n"
           "<COMM port=\"COM1\" baudrate=\"115200\" databit=\"8\" stopbit=\"0\" parity=\"0\" />\n"
           "<MONITORCTRL><COMM port=\"COM3\" baudrate=\"9600\" databit=\"8\" stopbit=\"0\" parity=\"0\" />"
           "</MONITORCTRL>\n<FRAMEEFFECT enable=\"false\" horizontal=\"0\" vertical=\"0\" />\n"
           "<MATRIXPAGE itemX1=\"0\" item02=\"0\" item12=\"-1\" item22=\"-1\" item32=\"-1\" />\n"
           "<COMPONENT><PIP enable=\"true\" /></COMPONENT>\n<LCDWALL row=\"16\" col=\"16\" pixel=\"6\" />\n"
           "</SYSTEM>\n";
}

// A pseudo-terminal's slave opened as the program opens a serial device: raw, read and write.
int OpenRaw(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    struct termios t;
    if (fd >= 0 && tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

// Sixteen by sixteen labelled rectangles with grid lines, the selected ones in the highlight, as a Qt programmer
// would draw a wall; a press and a drag select the rectangles between the press and the pointer.
class PlainWall : public QWidget {
public:
    PlainWall() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        for (int i = 0; i < kSide * kSide; ++i)
            m_labels.push_back(QStringLiteral("VGA[%1]").arg(i + 1));
    }
    void ClearSelection() { m_from = m_to = QPoint(-1, -1); }
    void SetLabel(int cell, const QString& label) { m_labels[static_cast<size_t>(cell)] = label; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect selected = QRect(m_from, m_to).normalized();
        for (int row = 0; row < kSide; ++row)
            for (int col = 0; col < kSide; ++col) {
                const QRect cell = Cell(row, col);
                const bool on = m_from.x() >= 0 && selected.contains(col, row);
                painter.fillRect(cell, on ? palette().highlight() : palette().base());
                painter.setPen(QColor(192, 192, 192));
                painter.drawRect(cell.adjusted(0, 0, -1, -1));
                painter.setPen(on ? palette().highlightedText().color() : palette().text().color());
                painter.drawText(cell, Qt::AlignCenter, m_labels[static_cast<size_t>(row * kSide + col)]);
            }
    }
    void mousePressEvent(QMouseEvent* e) override {
        m_from = m_to = CellAt(e->position().toPoint());
        update();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!(e->buttons() & Qt::LeftButton))
            return;
        const QPoint at = CellAt(e->position().toPoint());
        if (at != m_to) {
            m_to = at;
            update();
        }
    }

private:
    QRect Cell(int row, int col) const {
        const int w = width() / kSide, h = height() / kSide;
        return QRect(col * w, row * h, w, h);
    }
    QPoint CellAt(QPoint p) const {
        return QPoint(std::clamp(p.x() / std::max(1, width() / kSide), 0, kSide - 1),
                      std::clamp(p.y() / std::max(1, height() / kSide), 0, kSide - 1));
    }
    QPoint m_from{-1, -1};
    QPoint m_to{-1, -1};
    std::vector<QString> m_labels;
};

// The program as the operator starts it, with its port open, and the plain peers beside it.
struct Program : ProgramInProcess {
    Pty plainPty;
    int plainFd = -1;
    std::unique_ptr<PlainWall> plainWall;
    std::unique_ptr<QPushButton> plainButton;
    std::vector<unsigned char> runBytes;

    bool Start() {
        plainFd = OpenRaw(plainPty.SlavePath());
        if (!ProgramInProcess::Start({{"system.xml", Settings()}}))
            return false;
        LcdGridCtrl* view = TheWallView();
        for (int row = 0; row < kSide; ++row)
            for (int col = 0; col < kSide; ++col)
                view->SetItemText(row, col, ("VGA[" + std::to_string(row * kSide + col + 1) + "]").c_str());
        CRect client;
        view->GetClientRect(&client);
        plainWall = std::make_unique<PlainWall>();
        plainWall->resize(client.Width(), client.Height());
        plainWall->show();
        // The plain "Power On": a push button whose click writes the frame.
        plainButton = std::make_unique<QPushButton>(QStringLiteral("Power On"));
        QObject::connect(plainButton.get(), &QPushButton::clicked, [fd = plainFd] {
            static const unsigned char frame[6] = {0xD5, 0x00, 0xFF, 0x01, 0x00, 0xAA};
            if (::write(fd, frame, sizeof frame) != sizeof frame)
                std::fprintf(stderr, "the plain write failed\n");
        });
        plainButton->show();
        return QTest::qWaitForWindowExposed(plainWall.get()) && QTest::qWaitForWindowExposed(plainButton.get());
    }

    // A point of the wall view's widget in the middle of a cell.
    static QPoint WallCell(int row, int col) {
        LcdGridCtrl* view = TheWallView();
        CRect cell;
        view->GetCellRect(row, col, &cell);
        CPoint centre = cell.CenterPoint();
        view->ClientToScreen(&centre);
        return view->GetHostWidget()->mapFromGlobal(QPoint(centre.x, centre.y));
    }
};

Program& TheProgram() { return StartedOnce<Program>(); }

// Manual times per iteration, and the median and 99th percentile of them as counters, in microseconds.
void Percentiles(benchmark::State& state, std::vector<double>& seconds) {
    if (seconds.empty())
        return;
    std::sort(seconds.begin(), seconds.end());
    const auto at = [&](double q) { return seconds[std::min(seconds.size() - 1, size_t(q * double(seconds.size())))]; };
    state.counters["p50_us"] = at(0.50) * 1e6;
    state.counters["p99_us"] = at(0.99) * 1e6;
}

// ---- Click to bytes -------------------------------------------------------------------------------------------

void ClickProgram(benchmark::State& state) {
    Program& p = TheProgram();
    p.Wall().ReadAvailable(10);
    std::vector<double> seconds;
    for (auto _ : state) {
        const auto start = Clock::now();
        Program::Click(p.Banner(), kPowerOn);
        const std::vector<unsigned char> frame = p.Wall().Read(6);
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        if (frame.size() != 6) {
            state.SkipWithError("the frame did not arrive");
            break;
        }
        state.SetIterationTime(elapsed);
        seconds.push_back(elapsed);
    }
    Percentiles(state, seconds);
}

void ClickPlain(benchmark::State& state) {
    Program& p = TheProgram();
    std::vector<double> seconds;
    for (auto _ : state) {
        const auto start = Clock::now();
        QTest::mouseClick(p.plainButton.get(), Qt::LeftButton);
        if (p.plainPty.Read(6).size() != 6) {
            state.SkipWithError("the frame did not arrive");
            break;
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(elapsed);
        seconds.push_back(elapsed);
    }
    Percentiles(state, seconds);
}

// ---- The wall drawn -------------------------------------------------------------------------------------------

void RedrawProgram(benchmark::State& state) {
    TheProgram();
    LcdGridCtrl* view = TheWallView();
    for (auto _ : state) {
        view->Invalidate();
        view->GetHostWidget()->repaint();
    }
}

void RedrawPlain(benchmark::State& state) {
    PlainWall& plain = *TheProgram().plainWall;
    for (auto _ : state)
        plain.repaint();
}

// Presses on the first cell, moves cell by cell along the diagonal to the last and lets go; then the redraw.
template <class Point> void Drag(QWidget* widget, Point point) {
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, point(0, 0));
    for (int i = 1; i < kSide; ++i)
        QTest::mouseMove(widget, point(i, i));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, point(kSide - 1, kSide - 1));
    widget->repaint();
}

void DragProgram(benchmark::State& state) {
    TheProgram();
    LcdGridCtrl* view = TheWallView();
    QWidget* widget = view->GetHostWidget();
    for (auto _ : state) {
        Drag(widget, Program::WallCell);
        state.PauseTiming();
        const CCellRange range = view->GetSelectedCellRange();
        if (range.GetMinRow() != 0 || range.GetMaxRow() != kSide - 1 || range.GetMaxCol() != kSide - 1) {
            state.SkipWithError("the drag did not select the wall");
            break;
        }
        view->ResetSelectedRange();
        widget->repaint();
        state.ResumeTiming();
    }
}

void DragPlain(benchmark::State& state) {
    PlainWall& plain = *TheProgram().plainWall;
    const auto point = [&plain](int row, int col) {
        return QPoint((2 * col + 1) * (plain.width() / kSide) / 2, (2 * row + 1) * (plain.height() / kSide) / 2);
    };
    for (auto _ : state) {
        Drag(&plain, point);
        state.PauseTiming();
        plain.ClearSelection();
        plain.repaint();
        state.ResumeTiming();
    }
}

// ---- A matrix run over the wall -------------------------------------------------------------------------------

// One channel button with Increase over the whole wall; the bytes it sent.
std::vector<unsigned char> MatrixRun(Program& p, CWnd* page) {
    Program::Click(page, kFirstChannelButton);
    return p.Wall().Read(256 * 4 + 6);
}

void MatrixProgram(benchmark::State& state) {
    Program& p = TheProgram();
    CPropertySheet& sheet = p.Banner()->GetSheet();
    sheet.SetActivePage(kMatrixPage);
    CWnd* page = sheet.GetPage(kMatrixPage);
    Program::Click(page, kIncreaseCheck);
    TheWallView()->SetSelectedRange(0, 0, kSide - 1, kSide - 1);
    p.Wall().ReadAvailable(10);
    for (auto _ : state) {
        const std::vector<unsigned char> sent = MatrixRun(p, page);
        if (sent.size() != 256 * 4 + 6) {
            state.SkipWithError("the run sent a different number of bytes");
            break;
        }
        p.runBytes = sent;
    }
    Program::Click(page, kIncreaseCheck);
    TheWallView()->ResetSelectedRange();
}

void MatrixPlain(benchmark::State& state) {
    Program& p = TheProgram();
    if (p.runBytes.size() != 256 * 4 + 6) {
        state.SkipWithError("no run of the program to repeat");
        return;
    }
    for (auto _ : state) {
        for (size_t at = 0; at < p.runBytes.size(); at += at < 256 * 4 ? 4 : 6) {
            const size_t n = at < 256 * 4 ? 4 : 6;
            if (::write(p.plainFd, p.runBytes.data() + at, n) != ssize_t(n)) {
                state.SkipWithError("the plain write failed");
                return;
            }
        }
        if (p.plainPty.Read(p.runBytes.size()).size() != p.runBytes.size()) {
            state.SkipWithError("the plain bytes did not arrive");
            return;
        }
        for (int cell = 0; cell < kSide * kSide; ++cell)
            p.plainWall->SetLabel(cell, QStringLiteral("PC%1").arg(cell % 20 + 1));
        p.plainWall->repaint();
    }
}

} // namespace

int main(int argc, char** argv) {
    if (!TakeCount(argc, argv, "--clicks=", 1000000, gClicks) || !TakeCount(argc, argv, "--runs=", 1000000, gRuns)) {
        std::fprintf(stderr, "--clicks and --runs take a number from 1 to 1000000\n");
        return 2;
    }
    return RunInProcess(argc, argv, [] {
        auto clicks = RegisterPair("click_to_bytes", ClickProgram, ClickPlain);
        for (auto* b : {clicks.first, clicks.second})
            b->UseManualTime()->Iterations(gClicks)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Minimum);
        for (auto pair : {RegisterPair("wall_redraw", RedrawProgram, RedrawPlain),
                          RegisterPair("wall_drag_select", DragProgram, DragPlain)})
            for (auto* b : {pair.first, pair.second})
                b->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Minimum);
        // The plain writes repeat the bytes of the program's run, so the run goes first.
        auto runs = RegisterPair("matrix_run", MatrixProgram, MatrixPlain);
        for (auto* b : {runs.first, runs.second})
            b->Iterations(gRuns)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Minimum);
    });
}
