// A program that is killed while it saves must come back to files that are whole, that are one version it
// wrote (the one before the save or the one after), that agree with themselves, and that have no pile of
// half-written files beside them. A child process saves through the public writers in a loop; the test kills it
// inside a save, timed from the save's new file at a random moment after a random start, and looks at what it
// left, then lets the next child start from there, as a restart would.

#include "core/CommPort.h"
#include "core/LcdWallLayout.h"
#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/WallModel.h"
#include "core/XmlLoad.h"
#include "platform/os/MessageBox.h"
#include "tests/core/CaseRandom.h"
#include "tests/support/SaveCatcher.h"
#include "tests/support/TempDir.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <tinyxml.h>
#include <unistd.h>

namespace {

// What the child tells the test while it runs: the number of the save it began and of the last it completed.
struct SaveProgress {
    std::atomic<long> started;
    std::atomic<long> finished;
    std::atomic<long> boxes;
};

// Save j changes one thing: j % 4 is 0 the wall port's baud rate, 1 the wall size (and so its map), 2 the
// output map, 3 the matrix file. Each save's values follow from j, so the test knows every version.
constexpr long kKinds = 4;
const int kSizes[][2] = {{3, 3}, {2, 4}, {4, 2}, {1, 5}, {5, 5}, {2, 2}}; // one after another, never equal

long LastOfKind(long j, long kind) { return j < kind ? -1 : j - ((j - kind) % kKinds); }
int Output(long j, int row, int col) { return static_cast<int>(1 + (j * 7 + row * 13 + col * 5) % 250); }
int RowsOf(long j) { return kSizes[(j / kKinds) % 6][0]; }
int ColsOf(long j) { return kSizes[(j / kKinds) % 6][1]; }

struct SettingsVersion {
    int baud = 9600;
    int rows = 2;
    int cols = 2;
    std::vector<int> map{1, 2, 3, 4}; // row by row
    bool operator==(const SettingsVersion& o) const {
        return baud == o.baud && rows == o.rows && cols == o.cols && map == o.map;
    }
};

struct MatrixVersion {
    std::string name = "M-1";
    int count = 4;
    bool operator==(const MatrixVersion& o) const { return name == o.name && count == o.count; }
};

// The files as they are after save j (j = -1: as the test wrote them).
SettingsVersion SettingsAfter(long j) {
    SettingsVersion v;
    if (long baudSave = LastOfKind(j, 0); baudSave >= 0)
        v.baud = static_cast<int>(1200 + baudSave);
    const long sizeSave = LastOfKind(j, 1);
    const long mapSave = LastOfKind(j, 2);
    if (sizeSave >= 0) {
        v.rows = RowsOf(sizeSave);
        v.cols = ColsOf(sizeSave);
    }
    v.map.clear();
    for (int r = 1; r <= v.rows; ++r)
        for (int c = 1; c <= v.cols; ++c)
            v.map.push_back(mapSave > sizeSave ? Output(mapSave, r, c) : (r - 1) * v.cols + c);
    return v;
}

MatrixVersion MatrixAfter(long j) {
    MatrixVersion v;
    if (long matrixSave = LastOfKind(j, 3); matrixSave >= 0) {
        v.name = "M" + std::to_string(matrixSave);
        v.count = static_cast<int>(matrixSave % 50);
    }
    return v;
}

const char kSystemInfo[] = "Wall \xC7\xBD";

std::string InitialSettings() {
    return std::string("<?xml version=\"1.0\" encoding=\"GBK\"?>\n<SYSTEM>\n"
                       "<SYSTEMINFO name=\"v\" version=\"1\" company=\"c\" title=\"") +
           kSystemInfo +
           "\"/>\n"
           "<COMM port=\"COM1\" baudrate=\"9600\" databit=\"8\" stopbit=\"0\" parity=\"0\"/>\n"
           "<FRAMEEFFECT enable=\"false\" horizontal=\"1\" vertical=\"2\"/>\n"
           "<LCDWALL row=\"2\" col=\"2\" pixel=\"6\"><OUTPUT_MAPPING>"
           "<ITEM row=\"1\" col=\"1\" output=\"1\"/><ITEM row=\"1\" col=\"2\" output=\"2\"/>"
           "<ITEM row=\"2\" col=\"1\" output=\"3\"/><ITEM row=\"2\" col=\"2\" output=\"4\"/>"
           "</OUTPUT_MAPPING></LCDWALL>\n"
           "<SCENE><ITEM id=\"1\" name=\"A\"><MATRIXREC matrix=\"M-1\" msg=\"sw\" input=\"3\" output=\"4\"/></ITEM>"
           "<ITEM id=\"2\" name=\"B\"/></SCENE>\n</SYSTEM>\n";
}

std::string InitialMatrices() {
    return "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<MATRIXLIST>\n<MATRIX name=\"M-1\" type=\"VGA\">"
           "<MESSAGE name=\"sw\"><BYTES type=\"hex\">A5</BYTES><IN/><OUT/><CHKXOR from=\"0\" to=\"2\"/></MESSAGE>"
           "<MESSAGE name=\"off\"><BYTES type=\"hex\">A6</BYTES></MESSAGE>"
           "<SIGNAL type=\"VGA\" grow_type=\"VGA\"/><COMM indep=\"false\"/><CHANNEL count=\"4\"/></MATRIX>\n"
           "</MATRIXLIST>\n";
}

// The child: starts as the program does from what the files hold, then saves without end (or up to `last`).
[[noreturn]] void SaveForever(const std::string& folder, SaveProgress* progress, long first, long last) {
    if (chdir(folder.c_str()) != 0)
        _exit(2);
    SetMessageBoxHandler([progress](const std::string&, UINT) {
        ++progress->boxes;
        return IDOK;
    });
    CWallModel* model = CWallModel::GetInstance();
    CLcdWallLayout* layout = model->GetLcdWallLayout();
    CMatrixMgr* matrices = model->GetMatrixMgr();
    for (long j = first; last < 0 || j <= last; ++j) {
        progress->started = j;
        switch (j % kKinds) {
        case 0: model->SaveComm("COM1", static_cast<int>(1200 + j), 8, 0, 0); break;
        case 1: layout->SetRowCol(RowsOf(j), ColsOf(j)); break;
        case 2: {
            int rows = 0, cols = 0;
            layout->GetRowCol(rows, cols);
            for (int r = 1; r <= rows; ++r)
                for (int c = 1; c <= cols; ++c)
                    layout->SetOutput(r, c, Output(j, r, c));
            layout->SaveOutputMap();
            break;
        }
        default: {
            CMatrix* matrix = matrices->GetAt(matrices->Begin());
            const std::string oldName = matrix->GetName();
            matrix->SetName("M" + std::to_string(j));
            matrix->GetChannelTable()->SetCount(static_cast<int>(j % 50));
            matrices->SaveMatrix(oldName, matrix);
            break;
        }
        }
        progress->finished = j;
    }
    _exit(0);
}

std::string Describe(const SettingsVersion& v) {
    std::string text = std::to_string(v.baud) + " baud, " + std::to_string(v.rows) + " x " + std::to_string(v.cols) +
                       " units driven by";
    for (int output : v.map)
        text += " " + std::to_string(output);
    return text;
}

int IntAttribute(const TiXmlElement* e, const char* name) {
    int value = -9999;
    if (e)
        e->QueryIntAttribute(name, &value);
    return value;
}

// What a look at the files found wrong; empty when they are whole, one version and consistent.
struct Inspection {
    std::vector<std::string> faults;
    int strays = 0;
};

Inspection Inspect(const std::string& folder, long finished, long started) {
    Inspection found;
    TiXmlDocument settings;
    TiXmlDocument matrices;
    if (!LoadXmlFile(settings, folder + "/system.xml"))
        found.faults.push_back("system.xml does not load");
    if (!LoadXmlFile(matrices, folder + "/matrix.xml"))
        found.faults.push_back("matrix.xml does not load");
    if (!found.faults.empty())
        return found;

    const TiXmlElement* root = settings.RootElement();
    const TiXmlElement* wall = root->FirstChildElement("LCDWALL");
    SettingsVersion now;
    now.baud = IntAttribute(root->FirstChildElement("COMM"), "baudrate");
    now.rows = IntAttribute(wall, "row");
    now.cols = IntAttribute(wall, "col");
    now.map.clear();
    int items = 0;
    bool inOrder = true;
    const TiXmlElement* mapping = wall ? wall->FirstChildElement("OUTPUT_MAPPING") : nullptr;
    for (const TiXmlElement* item = mapping ? mapping->FirstChildElement("ITEM") : nullptr; item;
         item = item->NextSiblingElement("ITEM"), ++items) {
        const int row = IntAttribute(item, "row");
        const int col = IntAttribute(item, "col");
        inOrder = inOrder && row == items / std::max(now.cols, 1) + 1 && col == items % std::max(now.cols, 1) + 1;
        now.map.push_back(IntAttribute(item, "output"));
    }
    if (!inOrder)
        found.faults.push_back("the map's units are out of order or outside the wall");
    if (items != now.rows * now.cols)
        found.faults.push_back("a map of " + std::to_string(items) + " units for a wall of " +
                               std::to_string(now.rows) + " x " + std::to_string(now.cols));
    if (!(now == SettingsAfter(finished)) && !(now == SettingsAfter(started)))
        found.faults.push_back("system.xml holds " + Describe(now) + ", no version that was saved (after save " +
                               std::to_string(finished) + ": " + Describe(SettingsAfter(finished)) + ")");
    const TiXmlElement* info = root->FirstChildElement("SYSTEMINFO");
    const TiXmlElement* scene = root->FirstChildElement("SCENE");
    if (!info || std::string(info->Attribute("title") ? info->Attribute("title") : "") != kSystemInfo || !scene ||
        !scene->FirstChildElement("ITEM") || !scene->FirstChildElement("ITEM")->FirstChildElement("MATRIXREC"))
        found.faults.push_back("system.xml lost what no save touched");

    const TiXmlElement* matrix = matrices.RootElement()->FirstChildElement("MATRIX");
    MatrixVersion m;
    m.name = matrix && matrix->Attribute("name") ? matrix->Attribute("name") : "";
    m.count = matrix ? IntAttribute(matrix->FirstChildElement("CHANNEL"), "count") : -1;
    if (!(m == MatrixAfter(finished)) && !(m == MatrixAfter(started)))
        found.faults.push_back("matrix.xml holds " + m.name + " of " + std::to_string(m.count) +
                               " channels, no version that was saved (after save " + std::to_string(finished) + ": " +
                               MatrixAfter(finished).name + ")");
    if (!matrix || !matrix->FirstChildElement("MESSAGE") ||
        !matrix->FirstChildElement("MESSAGE")->NextSiblingElement("MESSAGE"))
        found.faults.push_back("matrix.xml lost what no save touched");

    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            found.strays += std::string(entry->d_name).find(".save-") != std::string::npos ? 1 : 0;
        closedir(dir);
    }
    return found;
}

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

} // namespace

TEST(KilledWhileSaving, ComesBackToWholeConsistentFilesOfOneVersionWithoutPilesOfTemporaries) {
    const long kills = EnvNumber("VELTRANO_KILLS", 100);
    // Up to 40 ms after the start: the start-up and a few saves of each kind fall in that time.
    const useconds_t latest = static_cast<useconds_t>(EnvNumber("VELTRANO_KILL_WINDOW_US", 40000));
    const auto seed = static_cast<uint64_t>(EnvNumber("VELTRANO_KILL_SEED", 11));
    CaseRandom clock(seed); // the kill moments

    TempDir dir;
    // Each kill is timed from the next save after its moment, to land inside it.
    SaveCatcher catcher(dir.Path(), seed);
    dir.Write("system.xml", InitialSettings());
    dir.Write("matrix.xml", InitialMatrices());
    void* shared = mmap(nullptr, sizeof(SaveProgress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto* progress = new (shared) SaveProgress{};

    long finished = -1;
    long insideASave = 0;
    long insideASizeChange = 0;
    long failures = 0;
    int mostStrays = 0;
    long started = -1;
    for (long round = 0; round < kills; ++round) {
        // The save the last child was killed in may have reached the disk: until this child makes it again, the
        // file may be of either version.
        progress->started = started;
        progress->finished = finished;
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            SaveForever(dir.Path(), progress, finished + 1, -1);
        usleep(static_cast<useconds_t>(clock.Below(latest)));
        catcher.StopInsideASave(child, "", 2000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        started = progress->started;
        finished = progress->finished;
        const Inspection found = Inspect(dir.Path(), finished, started);
        // Inside a save: its new file was written in part or whole, and not yet renamed.
        insideASave += found.strays > 0 ? 1 : 0;
        insideASizeChange += found.strays > 0 && started % kKinds == 1 ? 1 : 0;
        mostStrays = std::max(mostStrays, found.strays);
        if (!found.faults.empty() || found.strays > 1) {
            ++failures;
            ADD_FAILURE() << "after kill " << round << ": " << ::testing::PrintToString(found.faults) << ", "
                          << found.strays << " temporary files";
        }
    }

    // A restart that saves once of each kind, undisturbed, clears what the last kill left.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        SaveForever(dir.Path(), progress, finished + 1, finished + kKinds);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const Inspection last = Inspect(dir.Path(), finished + kKinds, finished + kKinds);
    EXPECT_TRUE(last.faults.empty()) << ::testing::PrintToString(last.faults);
    EXPECT_EQ(last.strays, 0);
    EXPECT_EQ(progress->boxes.load(), 0) << "a save failed";

    std::printf("kills: %ld (%ld inside a save, between its new file and its rename, %ld of them a wall-size change), "
                "failures: %ld, most stray files after a kill: %d, stray files left: %d, saves: %ld\n",
                kills, insideASave, insideASizeChange, failures, mostStrays, last.strays, finished + kKinds + 1);
    munmap(shared, sizeof(SaveProgress));
}
