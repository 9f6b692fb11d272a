// The grid control beside what a Qt programmer would use instead, on the same work: QTableWidget, filled with care
// (model signals blocked while filling, rows of fixed height, no word wrap), QTableView over a plain model of
// QStrings (TextTableModel), and QTableView over the compact model an expert writes for a hundred thousand rows
// (CompactTableModel: every text in one byte buffer, an offset per cell). Each table has one row of headings and
// one column of row numbers around rows x columns text cells and shows in a 1000 x 700 window.
//
// The work, each named <work>/<peer>: building the table, destroying it, showing it the first time, a full redraw,
// a page down and back, selecting a 100 x 10 block, selecting everything (the Ctrl+A path) and clearing that
// selection, sorting by the first column, inserting a row at the top and deleting it, setting every text, resizing
// a column (every one of them with the repaint that shows it), and the memory each cell takes: heap bytes (as the
// allocator counts them) and resident bytes. Each work is done once before it is timed, so that what a first time
// costs (a cache filled, a layout made) falls on no work for having run first.
//
// Options besides Google Benchmark's: --peer=grid|qtablewidget|qtableview|compact|all (default all; scripts/bench.sh
// runs each peer in a process of its own), --rows=N (default 10000), --columns=N (default 50), --text=short|long (texts
// of 5 to 9 or of 25 to 29 characters, default short).

#include "BenchOptions.h"
#include "CellTexts.h"
#include "CompactTableModel.h"
#include "HeapCounter.h"
#include "ResidentMemory.h"
#include "TextTableModel.h"

#include "grid/GridCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

int gRows = 10000;
int gColumns = 50;
const CellTexts* gTexts = nullptr;
constexpr int kClientWidth = 1000;
constexpr int kClientHeight = 700;
constexpr int kBlockRows = 100;
constexpr int kBlockColumns = 10;

int DefaultColumnWidth() { return CGridCtrl().GetDefaultCell(FALSE, FALSE)->GetWidth(); }
int DefaultRowHeight() { return CGridCtrl().GetDefaultCell(FALSE, FALSE)->GetHeight(); }

QString Heading(int col) { return QStringLiteral("Column %1").arg(col); }

// Shows what a change made: the events it left (paints, and the layouts and repaints Qt's views put off to a timer)
// are handled until none is left. Every peer shows its changes this way.
void Flush() {
    QApplication::processEvents();
    QApplication::processEvents();
}

// One table under test. Build makes it with its texts (no window); Show puts it in a window and paints it once.
// Every change is followed by the repaint that shows it (Flush).
class Peer {
public:
    virtual ~Peer() = default;
    virtual void Build() = 0;
    virtual void Destroy() = 0;
    virtual void Show() = 0;
    virtual void Redraw() = 0;
    virtual void PageDown() = 0;
    virtual void PageUp() = 0;
    virtual void SelectBlock() = 0;
    virtual void SelectAll() = 0;
    virtual void ClearSelection() = 0;
    virtual void Sort(bool ascending) = 0;
    virtual void InsertRowAtTop() = 0;
    virtual void DeleteRowAtTop() = 0;
    virtual void SetEveryText(int generation) = 0;
    virtual void ResizeColumn(int width) = 0;
    virtual bool Built() const = 0;
    virtual bool Shown() const = 0;
};

// ---- The grid ------------------------------------------------------------------------------------------------

class GridPeer : public Peer {
public:
    void Build() override {
        m_grid = std::make_unique<CGridCtrl>(gRows + 1, gColumns + 1, 1, 1);
        for (int col = 1; col <= gColumns; col++)
            m_grid->SetItemText(0, col, ("Column " + std::to_string(col)).c_str());
        for (int row = 1; row <= gRows; row++) {
            m_grid->SetItemText(row, 0, std::to_string(row).c_str());
            for (int col = 1; col <= gColumns; col++)
                m_grid->SetItemText(row, col, gTexts->Text(0, row - 1, col - 1));
        }
    }
    void Destroy() override { m_grid.reset(); }
    void Show() override {
        // The client edge takes two pixels on every side.
        m_grid->CreateEx(0, kGridWindowClass, "", WS_POPUP | WS_VISIBLE,
                         CRect(0, 0, kClientWidth + 4, kClientHeight + 4), nullptr, 0);
        Flush();
    }
    void Redraw() override {
        m_grid->Invalidate();
        Repaint();
    }
    void PageDown() override {
        m_grid->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
        Repaint();
    }
    void PageUp() override {
        m_grid->SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
        Repaint();
    }
    void SelectBlock() override {
        m_grid->SetSelectedRange(1, 1, kBlockRows, kBlockColumns);
        Repaint();
    }
    void SelectAll() override {
        m_grid->OnEditSelectAll();
        Repaint();
    }
    void ClearSelection() override {
        m_grid->SetSelectedRange(-1, -1, -1, -1);
        Repaint();
    }
    void Sort(bool ascending) override {
        m_grid->SortItems(1, ascending ? TRUE : FALSE);
        Redraw();
    }
    void InsertRowAtTop() override {
        m_grid->InsertRow("0", 1);
        Redraw();
    }
    void DeleteRowAtTop() override {
        m_grid->DeleteRow(1);
        Redraw();
    }
    void SetEveryText(int generation) override {
        for (int row = 1; row <= gRows; row++)
            for (int col = 1; col <= gColumns; col++)
                m_grid->SetItemText(row, col, gTexts->Text(generation, row - 1, col - 1));
        Redraw();
    }
    void ResizeColumn(int width) override {
        m_grid->SetColumnWidth(1, width);
        Redraw();
    }
    bool Built() const override { return m_grid != nullptr; }
    bool Shown() const override { return m_grid && m_grid->GetSafeHwnd(); }

private:
    static void Repaint() { Flush(); }

    std::unique_ptr<CGridCtrl> m_grid;
};

// ---- The Qt views --------------------------------------------------------------------------------------------

// What both views share: the window, the settings a careful programmer gives them, and the repaints.
class ViewPeer : public Peer {
public:
    // A cell's text as the views hold it.
    static QString Text(int generation, int row, int col) {
        return QString::fromLatin1(gTexts->Text(generation, row, col), gTexts->Length(generation, row, col));
    }

    void Destroy() override {
        m_view.reset();
        DestroyData();
    }
    void Show() override {
        m_view->resize(kClientWidth + 4, kClientHeight + 4);
        m_view->show();
        Flush();
    }
    void Redraw() override {
        m_view->viewport()->update();
        m_view->horizontalHeader()->viewport()->update();
        m_view->verticalHeader()->viewport()->update();
        Flush();
    }
    void PageDown() override {
        m_view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        Flush();
    }
    void PageUp() override {
        m_view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        Flush();
    }
    void SelectBlock() override {
        QAbstractItemModel* model = m_view->model();
        m_view->selectionModel()->select(
            QItemSelection(model->index(0, 0), model->index(kBlockRows - 1, kBlockColumns - 1)),
            QItemSelectionModel::ClearAndSelect);
        Flush();
    }
    void SelectAll() override {
        m_view->selectAll();
        Flush();
    }
    void ClearSelection() override {
        m_view->clearSelection();
        Flush();
    }
    void Sort(bool ascending) override {
        m_view->sortByColumn(0, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        Flush();
    }
    void InsertRowAtTop() override {
        m_view->model()->insertRow(0);
        Flush();
    }
    void DeleteRowAtTop() override {
        m_view->model()->removeRow(0);
        Flush();
    }
    void ResizeColumn(int width) override {
        m_view->horizontalHeader()->resizeSection(0, width);
        Flush();
    }
    bool Built() const override { return m_view != nullptr; }
    bool Shown() const override { return m_view && m_view->isVisible(); }

protected:
    virtual void DestroyData() {}
    // Rows of the grid's height that never change it, columns of its width, and no word wrap.
    static void Settle(QTableView& view) {
        view.setWordWrap(false);
        view.horizontalHeader()->setMinimumSectionSize(1);
        view.verticalHeader()->setMinimumSectionSize(1);
        view.horizontalHeader()->setDefaultSectionSize(DefaultColumnWidth());
        view.verticalHeader()->setDefaultSectionSize(DefaultRowHeight());
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    }

    std::unique_ptr<QTableView> m_view;
};

class TableWidgetPeer : public ViewPeer {
public:
    void Build() override {
        auto table = std::make_unique<QTableWidget>(gRows, gColumns);
        Settle(*table);
        QStringList headings;
        for (int col = 1; col <= gColumns; col++)
            headings << Heading(col);
        table->setHorizontalHeaderLabels(headings);
        // The view learns nothing cell by cell while it is filled; it has not painted yet.
        const QSignalBlocker quiet(table->model());
        for (int row = 0; row < gRows; row++)
            for (int col = 0; col < gColumns; col++)
                table->setItem(row, col, new QTableWidgetItem(Text(0, row, col)));
        m_table = table.get();
        m_view = std::move(table);
    }
    void SetEveryText(int generation) override {
        // New items rather than setText on the old ones: an item that changes looks its own row up among the
        // headings' items, one by one, which makes the loop quadratic.
        {
            const QSignalBlocker quiet(m_table->model());
            for (int row = 0; row < gRows; row++)
                for (int col = 0; col < gColumns; col++)
                    m_table->setItem(row, col, new QTableWidgetItem(Text(generation, row, col)));
        }
        Redraw();
    }
    void Sort(bool ascending) override {
        m_table->sortItems(0, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        Flush();
    }

private:
    QTableWidget* m_table = nullptr;
};

class TableViewPeer : public ViewPeer {
public:
    void Build() override {
        m_model = std::make_unique<TextTableModel>(gRows, gColumns);
        for (int col = 0; col < gColumns; col++)
            m_model->SetHeading(col, Heading(col + 1));
        for (int row = 0; row < gRows; row++)
            for (int col = 0; col < gColumns; col++)
                m_model->SetText(row, col, Text(0, row, col));
        m_view = std::make_unique<QTableView>();
        Settle(*m_view);
        m_view->setModel(m_model.get());
    }
    void SetEveryText(int generation) override {
        for (int row = 0; row < gRows; row++)
            for (int col = 0; col < gColumns; col++)
                m_model->SetText(row, col, Text(generation, row, col));
        m_model->TextsChanged();
        Flush();
    }

protected:
    void DestroyData() override { m_model.reset(); }

private:
    std::unique_ptr<TextTableModel> m_model;
};

class CompactViewPeer : public ViewPeer {
public:
    void Build() override {
        m_model = std::make_unique<CompactTableModel>(gRows, gColumns);
        for (int col = 0; col < gColumns; col++)
            m_model->SetHeading(col, Heading(col + 1));
        Fill(0);
        m_view = std::make_unique<QTableView>();
        Settle(*m_view);
        m_view->setModel(m_model.get());
    }
    void SetEveryText(int generation) override {
        Fill(generation);
        m_model->TextsChanged();
        Flush();
    }

protected:
    void DestroyData() override { m_model.reset(); }

private:
    void Fill(int generation) {
        std::size_t bytes = 0;
        for (int row = 0; row < gRows; row++)
            bytes += static_cast<std::size_t>(gTexts->Text(generation, row, gColumns - 1) -
                                              gTexts->Text(generation, row, 0)) +
                     static_cast<std::size_t>(gTexts->Length(generation, row, gColumns - 1)) + 1;
        m_model->StartFilling(bytes);
        for (int row = 0; row < gRows; row++)
            for (int col = 0; col < gColumns; col++)
                m_model->SetText(row, col,
                                 std::string_view(gTexts->Text(generation, row, col),
                                                  static_cast<std::size_t>(gTexts->Length(generation, row, col))));
    }

    std::unique_ptr<CompactTableModel> m_model;
};

// ---- The work ------------------------------------------------------------------------------------------------

Peer& Built(Peer& peer) {
    if (!peer.Built())
        peer.Build();
    return peer;
}

Peer& Shown(Peer& peer) {
    Built(peer);
    if (!peer.Shown())
        peer.Show();
    return peer;
}

double PerCell(std::int64_t bytes) { return static_cast<double>(bytes) / (static_cast<double>(gRows) * gColumns); }

void Memory(benchmark::State& state, Peer& peer) {
    peer.Destroy();
    std::int64_t heap = 0;
    std::int64_t resident = 0;
    for (auto _ : state) {
        const std::int64_t residentBefore = ResidentBytes();
        const std::int64_t heapBefore = HeapBytesInUse();
        peer.Build();
        heap = HeapBytesInUse() - heapBefore;
        resident = ResidentBytes() - residentBefore;
    }
    state.counters["heap_bytes_per_cell"] = PerCell(heap);
    state.counters["resident_bytes_per_cell"] = PerCell(resident);
}

void Build(benchmark::State& state, Peer& peer) {
    peer.Destroy();
    peer.Build();
    for (auto _ : state) {
        state.PauseTiming();
        peer.Destroy();
        state.ResumeTiming();
        peer.Build();
    }
}

void Destroy(benchmark::State& state, Peer& peer) {
    Built(peer).Destroy();
    for (auto _ : state) {
        state.PauseTiming();
        Built(peer);
        state.ResumeTiming();
        peer.Destroy();
    }
}

void FirstShow(benchmark::State& state, Peer& peer) {
    // What the process does once for any table (fonts, glyphs, styles) is done before the timing starts.
    Shown(peer);
    for (auto _ : state) {
        state.PauseTiming();
        peer.Destroy();
        peer.Build();
        state.ResumeTiming();
        peer.Show();
    }
}

void Redraw(benchmark::State& state, Peer& peer) {
    Shown(peer).Redraw();
    for (auto _ : state)
        peer.Redraw();
}

void Page(benchmark::State& state, Peer& peer) {
    Shown(peer).PageDown();
    peer.PageUp();
    for (auto _ : state) {
        peer.PageDown();
        peer.PageUp();
    }
}

void SelectBlock(benchmark::State& state, Peer& peer) {
    Shown(peer).SelectBlock();
    peer.ClearSelection();
    for (auto _ : state) {
        peer.SelectBlock();
        state.PauseTiming();
        peer.ClearSelection();
        state.ResumeTiming();
    }
}

void SelectAll(benchmark::State& state, Peer& peer) {
    Shown(peer).SelectAll();
    peer.ClearSelection();
    for (auto _ : state) {
        peer.SelectAll();
        state.PauseTiming();
        peer.ClearSelection();
        state.ResumeTiming();
    }
}

void ClearAll(benchmark::State& state, Peer& peer) {
    Shown(peer).SelectAll();
    peer.ClearSelection();
    for (auto _ : state) {
        state.PauseTiming();
        peer.SelectAll();
        state.ResumeTiming();
        peer.ClearSelection();
    }
}

void Sort(benchmark::State& state, Peer& peer) {
    Shown(peer).Sort(false);
    bool ascending = true;
    for (auto _ : state) {
        peer.Sort(ascending);
        ascending = !ascending;
    }
}

void InsertAndDelete(benchmark::State& state, Peer& peer) {
    Shown(peer).InsertRowAtTop();
    peer.DeleteRowAtTop();
    for (auto _ : state) {
        peer.InsertRowAtTop();
        peer.DeleteRowAtTop();
    }
}

void SetEveryText(benchmark::State& state, Peer& peer) {
    Shown(peer).SetEveryText(0);
    int generation = 0;
    for (auto _ : state)
        peer.SetEveryText(generation = 1 - generation);
}

void ResizeColumn(benchmark::State& state, Peer& peer) {
    Shown(peer).ResizeColumn(80);
    int step = 0;
    for (auto _ : state)
        peer.ResizeColumn(60 + 40 * (++step % 2));
}

using Work = void (*)(benchmark::State&, Peer&);

struct Named {
    const char* name;
    std::function<std::unique_ptr<Peer>()> make;
};

} // namespace

int main(int argc, char** argv) {
    std::string peerName = "all";
    std::string textName = "short";
    TakeOption(argc, argv, "--peer=", peerName);
    TakeOption(argc, argv, "--text=", textName);
    if (!TakeCount(argc, argv, "--rows=", 1000000, gRows) || !TakeCount(argc, argv, "--columns=", 1000000, gColumns)) {
        std::fprintf(stderr, "--rows and --columns take a number from 1 to 1000000\n");
        return 2;
    }
    if (textName != "short" && textName != "long") {
        std::fprintf(stderr, "--text is short or long\n");
        return 2;
    }
    const CellTexts texts(textName == "long" ? TextLength::Long : TextLength::Short, gRows, gColumns);
    gTexts = &texts;
    // No display is needed: the windows draw into memory.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    const Named peers[] = {
        {"grid", [] { return std::make_unique<GridPeer>(); }},
        {"qtablewidget", [] { return std::make_unique<TableWidgetPeer>(); }},
        {"qtableview", [] { return std::make_unique<TableViewPeer>(); }},
        {"compact", [] { return std::make_unique<CompactViewPeer>(); }},
    };
    std::vector<std::unique_ptr<Peer>> chosen;
    for (const Named& named : peers) {
        if (peerName != "all" && peerName != named.name)
            continue;
        chosen.push_back(named.make());
        Peer* peer = chosen.back().get();
        const std::string suffix = std::string("/") + named.name;
        auto add = [&](const char* work, Work run) {
            return benchmark::RegisterBenchmark((work + suffix).c_str(),
                                                [run, peer](benchmark::State& state) { run(state, *peer); })
                ->Unit(benchmark::kMillisecond);
        };
        // The memory first, while the heap holds nothing else of the table's; the rest on one shown table,
        // except where the work makes or ends the table.
        add("memory", Memory)->Iterations(1);
        add("build", Build)->Iterations(3);
        add("destroy", Destroy)->Iterations(3);
        add("first_show", FirstShow)->Iterations(5);
        add("redraw", Redraw);
        add("page_down_and_back", Page);
        add("select_block", SelectBlock);
        add("select_all", SelectAll);
        add("clear_selection", ClearAll);
        add("sort", Sort)->Iterations(4);
        add("insert_and_delete_at_top", InsertAndDelete);
        add("set_every_text", SetEveryText)->Iterations(3);
        add("resize_column", ResizeColumn);
    }
    if (chosen.empty()) {
        std::fprintf(stderr, "--peer is grid, qtablewidget, qtableview, compact or all\n");
        return 2;
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (auto& peer : chosen)
        peer->Destroy();
    return 0;
}
