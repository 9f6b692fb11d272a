// The grid control beside QTableWidget, on the same work in the same run: building a grid of text cells, a full
// redraw of a 1000 x 700 window, a page down and back, a redraw after selecting a 100 x 10 block, and the heap
// bytes each cell holds. Every pair is named <work>/grid and <work>/qtablewidget; scripts/bench.sh prints their
// ratios.
//
// Options besides Google Benchmark's: --rows=N (default 10000) and --columns=N (default 50) set the grid's size.

#include "HeapCounter.h"

#include "grid/GridCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

int gRows = 10000;
int gColumns = 50;
constexpr int kClientWidth = 1000;
constexpr int kClientHeight = 700;
constexpr int kBlockRows = 100;
constexpr int kBlockColumns = 10;

std::string CellText(int row, int col) { return "R" + std::to_string(row) + "C" + std::to_string(col); }

// The grid: one fixed row and one fixed column of headings around the text cells, as the program's dialogs use it.
std::unique_ptr<CGridCtrl> BuildGrid() {
    auto grid = std::make_unique<CGridCtrl>(gRows + 1, gColumns + 1, 1, 1);
    for (int col = 1; col <= gColumns; col++)
        grid->SetItemText(0, col, ("Column " + std::to_string(col)).c_str());
    for (int row = 1; row <= gRows; row++) {
        grid->SetItemText(row, 0, std::to_string(row).c_str());
        for (int col = 1; col <= gColumns; col++)
            grid->SetItemText(row, col, CellText(row, col).c_str());
    }
    return grid;
}

// The table: its header views hold the headings. Its rows and columns take the grid's default sizes, so both
// show the same number of cells.
std::unique_ptr<QTableWidget> BuildTable(int columnWidth, int rowHeight) {
    auto table = std::make_unique<QTableWidget>(gRows, gColumns);
    table->horizontalHeader()->setMinimumSectionSize(1);
    table->verticalHeader()->setMinimumSectionSize(1);
    table->horizontalHeader()->setDefaultSectionSize(columnWidth);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    QStringList headings;
    for (int col = 1; col <= gColumns; col++)
        headings << QStringLiteral("Column %1").arg(col);
    table->setHorizontalHeaderLabels(headings);
    for (int row = 0; row < gRows; row++)
        for (int col = 0; col < gColumns; col++)
            table->setItem(row, col, new QTableWidgetItem(QString::fromStdString(CellText(row + 1, col + 1))));
    return table;
}

int DefaultColumnWidth() { return CGridCtrl().GetDefaultCell(FALSE, FALSE)->GetWidth(); }
int DefaultRowHeight() { return CGridCtrl().GetDefaultCell(FALSE, FALSE)->GetHeight(); }

// The shown pair the drawing benchmarks share, made on first use.
struct Shown {
    std::unique_ptr<CGridCtrl> grid;
    std::unique_ptr<QTableWidget> table;
};
Shown& TheShown() {
    static Shown shown;
    return shown;
}

CGridCtrl& ShownGrid() {
    auto& grid = TheShown().grid;
    if (!grid) {
        grid = BuildGrid();
        // The client edge takes two pixels on every side.
        grid->CreateEx(0, kGridWindowClass, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, kClientWidth + 4, kClientHeight + 4),
                       nullptr, 0);
        grid->UpdateWindow();
        QApplication::processEvents();
    }
    return *grid;
}

QTableWidget& ShownTable() {
    auto& table = TheShown().table;
    if (!table) {
        table = BuildTable(DefaultColumnWidth(), DefaultRowHeight());
        table->resize(kClientWidth + 4, kClientHeight + 4);
        table->show();
        QApplication::processEvents();
    }
    return *table;
}

void RepaintGrid(CGridCtrl& grid) { grid.GetHostWidget()->repaint(); }

// A repaint of the table alone leaves its child widgets (cells, headings) as they are: mark them too.
void RepaintTable(QTableWidget& table, bool everything) {
    if (everything) {
        table.viewport()->update();
        table.horizontalHeader()->viewport()->update();
        table.verticalHeader()->viewport()->update();
    }
    table.repaint();
}

// ---- Building -------------------------------------------------------------------------------------------------

void BuildGridBench(benchmark::State& state) {
    for (auto _ : state) {
        auto grid = BuildGrid();
        benchmark::DoNotOptimize(grid.get());
        state.PauseTiming();
        grid.reset();
        state.ResumeTiming();
    }
}

void BuildTableBench(benchmark::State& state) {
    const int width = DefaultColumnWidth();
    const int height = DefaultRowHeight();
    for (auto _ : state) {
        auto table = BuildTable(width, height);
        benchmark::DoNotOptimize(table.get());
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
}

// ---- Heap bytes per cell --------------------------------------------------------------------------------------

template <class Build> void MemoryBench(benchmark::State& state, Build build) {
    double perCell = 0;
    for (auto _ : state) {
        const std::int64_t before = HeapBytesInUse();
        auto built = build();
        const std::int64_t held = HeapBytesInUse() - before;
        perCell = static_cast<double>(held) / (static_cast<double>(gRows) * gColumns);
        state.PauseTiming();
        built.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_cell"] = perCell;
}

void MemoryGridBench(benchmark::State& state) { MemoryBench(state, BuildGrid); }

void MemoryTableBench(benchmark::State& state) {
    const int width = DefaultColumnWidth();
    const int height = DefaultRowHeight();
    MemoryBench(state, [&] { return BuildTable(width, height); });
}

// ---- Drawing --------------------------------------------------------------------------------------------------

void RedrawGridBench(benchmark::State& state) {
    CGridCtrl& grid = ShownGrid();
    for (auto _ : state) {
        grid.Invalidate();
        RepaintGrid(grid);
    }
}

void RedrawTableBench(benchmark::State& state) {
    QTableWidget& table = ShownTable();
    for (auto _ : state)
        RepaintTable(table, true);
}

void PageGridBench(benchmark::State& state) {
    CGridCtrl& grid = ShownGrid();
    for (auto _ : state) {
        grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
        RepaintGrid(grid);
        grid.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
        RepaintGrid(grid);
    }
}

void PageTableBench(benchmark::State& state) {
    QTableWidget& table = ShownTable();
    for (auto _ : state) {
        table.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        RepaintTable(table, false);
        table.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        RepaintTable(table, false);
    }
}

void SelectGridBench(benchmark::State& state) {
    CGridCtrl& grid = ShownGrid();
    for (auto _ : state) {
        grid.SetSelectedRange(1, 1, kBlockRows, kBlockColumns);
        RepaintGrid(grid);
        state.PauseTiming();
        grid.SetSelectedRange(-1, -1, -1, -1);
        RepaintGrid(grid);
        state.ResumeTiming();
    }
}

void SelectTableBench(benchmark::State& state) {
    QTableWidget& table = ShownTable();
    for (auto _ : state) {
        table.setRangeSelected(QTableWidgetSelectionRange(0, 0, kBlockRows - 1, kBlockColumns - 1), true);
        RepaintTable(table, false);
        state.PauseTiming();
        table.clearSelection();
        RepaintTable(table, false);
        state.ResumeTiming();
    }
}

void Register(const char* work, void (*grid)(benchmark::State&), void (*table)(benchmark::State&)) {
    benchmark::RegisterBenchmark((std::string(work) + "/grid").c_str(), grid)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string(work) + "/qtablewidget").c_str(), table)->Unit(benchmark::kMillisecond);
}

// Takes --name=N out of the arguments; false when it is there but not a positive number.
bool TakeSize(int& argc, char** argv, const char* name, int& value) {
    const size_t length = std::strlen(name);
    for (int i = 1; i < argc; i++) {
        if (std::strncmp(argv[i], name, length) != 0)
            continue;
        char* end = nullptr;
        const long n = std::strtol(argv[i] + length, &end, 10);
        if (*end != '\0' || n <= 0 || n > 1000000)
            return false;
        value = static_cast<int>(n);
        for (int j = i; j + 1 < argc; j++)
            argv[j] = argv[j + 1];
        argc--;
        return true;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (!TakeSize(argc, argv, "--rows=", gRows) || !TakeSize(argc, argv, "--columns=", gColumns)) {
        std::fprintf(stderr, "--rows and --columns take a number from 1 to 1000000\n");
        return 2;
    }
    // No display is needed: the windows draw into memory.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    // The memory is counted first, while no other grid keeps cell blocks that a new grid could take again.
    benchmark::RegisterBenchmark("memory/grid", MemoryGridBench)->Iterations(1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("memory/qtablewidget", MemoryTableBench)->Iterations(1)->Unit(benchmark::kMillisecond);
    Register("build", BuildGridBench, BuildTableBench);
    Register("redraw", RedrawGridBench, RedrawTableBench);
    Register("page_down_and_back", PageGridBench, PageTableBench);
    Register("select_and_redraw", SelectGridBench, SelectTableBench);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheShown().grid.reset();
    TheShown().table.reset();
    return 0;
}
