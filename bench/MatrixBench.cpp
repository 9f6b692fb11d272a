// What the operator does with the matrices, on as many of them as matrix.xml may hold, each beside what a plain Qt
// program does for the same result, in the same run. The whole program runs in this process as it starts for the
// operator, its wall port open on a pseudo-terminal, on a matrix.xml of N matrices (--matrices, default the limit),
// each with as many messages as one may have and named channels as the worst accepted file gives it:
//   matrix_page_show   the operator picks the next matrix on the Matrix page (its type, port, commands and first
//                      twenty channels), beside refilling a QComboBox with its command names and twenty button labels
//   matrix_dialog      "Matrix..." from the Config menu until the dialog stands shown with its list of the matrices
//                      and the first one's 9,999 channels, and closed again, beside a QDialog with a QTreeWidget of
//                      the same rows and a QTableWidget of the same channels
//   matrix_rename      "Set" in that dialog with a new name: matrix.xml written and the page and the dialog showing
//                      the change, beside renaming the list row and the combo entry and writing the same bytes with a
//                      QSaveFile
// Pairs are named <work>/program and <work>/plain; the program's carry the memory it holds afterwards (resident_MB).
// scripts/bench.sh prints their ratios.
//
// Options besides Google Benchmark's: --matrices=N (1 to the limit).

#include "BenchOptions.h"
#include "ProgramInProcess.h"
#include "ResidentMemory.h"

#include "ui/app/MainFrame.h"
#include "ui/banner/CtrlBanner.h"

#include "core/MatrixMgr.h"
#include "core/WallModel.h"
#include "core/XmlLoad.h"
#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/dialogs/PropertySheet.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

int gMatrices = kMaxMatrices;
constexpr int kMatrixPage = 5;
constexpr int kMatrixCombo = 1086;
constexpr int kNameEdit = 1103;
constexpr int kSetButton = 1082;
constexpr int kChannelCount = 9999;
constexpr int kButtons = 20;
// What the file's elements leave each matrix for named channels, the list and the declaration aside.
constexpr int kNamedChannels =
    static_cast<int>((kMatrixFileLimits.elements - 2) / kMaxMatrices) - 4 - kMaxMatrixMessages;

std::string MatrixName(int m) { return "VGA matrix " + std::to_string(m); }
std::string MessageName(int i) { return "switch " + std::to_string(i); }
std::string ChannelName(int c) { return "camera " + std::to_string(c); }

std::string Matrices() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<MATRIXLIST>\n";
    for (int m = 0; m < gMatrices; ++m) {
        xml += "<MATRIX name=\"" + MatrixName(m) + "\" type=\"VGA\">\n";
        for (int i = 0; i < kMaxMatrixMessages; ++i)
            xml += "<MESSAGE name=\"" + MessageName(i) + "\"/>\n";
        xml += "<SIGNAL type=\"VGA\" grow_type=\"VGA\"/><COMM indep=\"false\"/><CHANNEL count=\"" +
               std::to_string(kChannelCount) + "\">\n";
        for (int c = 1; c <= kNamedChannels; ++c)
            xml += "<ITEM id=\"" + std::to_string(c) + "\" name=\"" + ChannelName(c) + "\"/>\n";
        xml += "</CHANNEL></MATRIX>\n";
    }
    return xml + "</MATRIXLIST>\n";
}

// The program as the operator starts it, with its wall port open and the Matrix page shown.
struct Program : ProgramInProcess {
    CWnd* page = nullptr;

    bool Start() {
        if (!ProgramInProcess::Start({{"matrix.xml", Matrices()}}))
            return false;
        Banner()->GetSheet().SetActivePage(kMatrixPage);
        page = Banner()->GetSheet().GetPage(kMatrixPage);
        return page && page->GetSafeHwnd() &&
               CWallModel::GetInstance()->GetMatrixMgr()->End() == static_cast<size_t>(gMatrices);
    }
};

Program& TheProgram() { return StartedOnce<Program>(); }

void Resident(benchmark::State& state) { state.counters["resident_MB"] = double(ResidentBytes()) / 1e6; }

// ---- The Matrix page ------------------------------------------------------------------------------------------

void PageProgram(benchmark::State& state) {
    QWidget* combo = TheProgram().page->GetDlgItem(kMatrixCombo)->GetHostWidget();
    bool down = true;
    for (auto _ : state) {
        // The next matrix, then back, as the arrow keys choose them.
        QTest::keyClick(combo, down ? Qt::Key_Down : Qt::Key_Up);
        down = !down;
    }
    Resident(state);
}

void PagePlain(benchmark::State& state) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* matrices = new QComboBox;
    auto* commands = new QComboBox;
    layout->addWidget(matrices);
    layout->addWidget(commands);
    for (int m = 0; m < gMatrices; ++m)
        matrices->addItem(QString::fromStdString(MatrixName(m)));
    std::vector<QPushButton*> buttons;
    for (int b = 0; b < kButtons; ++b)
        layout->addWidget(buttons.emplace_back(new QPushButton));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("the plain page does not show");
    QObject::connect(matrices, &QComboBox::activated, [&](int) {
        commands->clear();
        for (int i = 0; i < kMaxMatrixMessages; ++i)
            commands->addItem(QString::fromStdString(MessageName(i)));
        for (int b = 0; b < kButtons; ++b)
            buttons[size_t(b)]->setText(QString::fromStdString(ChannelName(b + 1)));
    });
    bool down = true;
    for (auto _ : state) {
        QTest::keyClick(matrices, down ? Qt::Key_Down : Qt::Key_Up);
        down = !down;
    }
}

// ---- The matrix dialog ----------------------------------------------------------------------------------------

void DialogProgram(benchmark::State& state) {
    Program& p = TheProgram();
    const ModalLoop previous = CDialog::SetModalLoop([](CDialog& dialog) {
        if (!QTest::qWaitForWindowExposed(dialog.GetHostWidget()))
            std::fprintf(stderr, "the matrix dialog does not show\n");
    });
    for (auto _ : state)
        p.Frame()->SendMessage(WM_COMMAND, ID_MATRIX_SETTING, 0);
    CDialog::SetModalLoop(previous);
    Resident(state);
}

void DialogPlain(benchmark::State& state) {
    for (auto _ : state) {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* list = new QTreeWidget;
        list->setHeaderLabels({"NUM", "NAME", "TYPE", "CHANNEL NUM", "SERIAL PORT"});
        for (int m = 0; m < gMatrices; ++m)
            new QTreeWidgetItem(list, {QString::number(m + 1), QString::fromStdString(MatrixName(m)), "VGA",
                                       QString::number(kChannelCount), "N"});
        auto* grid = new QTableWidget(kChannelCount, 2);
        for (int c = 1; c <= kChannelCount; ++c)
            grid->setItem(
                c - 1, 1,
                new QTableWidgetItem(QString::fromStdString(c <= kNamedChannels ? ChannelName(c) : std::to_string(c))));
        layout->addWidget(list);
        layout->addWidget(grid);
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog))
            state.SkipWithError("the plain dialog does not show");
    }
}

// ---- A rename with "Set" --------------------------------------------------------------------------------------

void RenameProgram(benchmark::State& state) {
    Program& p = TheProgram();
    const ModalLoop previous = CDialog::SetModalLoop([&state](CDialog& dialog) {
        QWidget* set = dialog.GetDlgItem(kSetButton)->GetHostWidget();
        bool first = true;
        for (auto _ : state) {
            dialog.SetDlgItemText(kNameEdit, first ? "Renamed" : MatrixName(0).c_str());
            QTest::mouseClick(set, Qt::LeftButton);
            first = !first;
        }
    });
    p.Frame()->SendMessage(WM_COMMAND, ID_MATRIX_SETTING, 0);
    CDialog::SetModalLoop(previous);
    Resident(state);
}

void RenamePlain(benchmark::State& state) {
    QTreeWidget list;
    QComboBox combo;
    for (int m = 0; m < gMatrices; ++m) {
        new QTreeWidgetItem(&list, {QString::number(m + 1), QString::fromStdString(MatrixName(m))});
        combo.addItem(QString::fromStdString(MatrixName(m)));
    }
    const QByteArray bytes = QByteArray::fromStdString(TheProgram().Folder().Read("matrix.xml"));
    const QString path = QString::fromStdString(TheProgram().Folder().Dir().File("plain.xml"));
    bool first = true;
    for (auto _ : state) {
        const QString name = first ? "Renamed" : QString::fromStdString(MatrixName(0));
        list.topLevelItem(0)->setText(1, name);
        combo.setItemText(0, name);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            state.SkipWithError("the plain file was not written");
        first = !first;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (!TakeCount(argc, argv, "--matrices=", kMaxMatrices, gMatrices)) {
        std::fprintf(stderr, "--matrices takes a number from 1 to %d\n", kMaxMatrices);
        return 2;
    }
    return RunInProcess(argc, argv, [] {
        for (auto pair : {RegisterPair("matrix_page_show", PageProgram, PagePlain),
                          RegisterPair("matrix_dialog", DialogProgram, DialogPlain),
                          RegisterPair("matrix_rename", RenameProgram, RenamePlain)})
            for (auto* b : {pair.first, pair.second})
                b->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Minimum);
    });
}
