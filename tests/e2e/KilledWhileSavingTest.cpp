// The running program killed while it saves what the operator does in its dialogs: the wall layout's size and
// map, the matrix settings, a scene. Each kill is timed from a save itself, to land between its new file's
// appearing and its rename. After every kill its files must parse and each must be a whole version it wrote (the
// one before the save that was cut or the one after it), and the next save of a file must leave no temporary file
// of it behind. Each round starts the program again on what the last one left, as a restart does.
#include "RunningProgram.h"
#include "Templates.h"
#include "XDesktop.h"

#include "tests/support/SaveCatcher.h"

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdlib>
#include <dirent.h>
#include <random>
#include <set>
#include <sys/stat.h>

namespace {

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

// The file parsed and printed again, with one element (found by a path of names from the root, each the first
// of its name) cut out and printed on its own: what a save of that element may change, and what it must not.
struct Split {
    bool parses = false;
    std::string target; // the element, printed
    std::string rest;   // the file without it, printed
};

Split SplitFile(const std::string& path, std::initializer_list<const char*> names, const char* attribute = nullptr) {
    Split split;
    TiXmlDocument document;
    if (!document.LoadFile(path.c_str(), TIXML_ENCODING_LEGACY) || !document.RootElement())
        return split;
    split.parses = true;
    TiXmlElement* e = document.RootElement();
    for (const char* name : names)
        e = e ? e->FirstChildElement(name) : nullptr;
    if (e && attribute) {
        // Only one attribute is the target: it is taken out of the element.
        split.target = e->Attribute(attribute) ? e->Attribute(attribute) : "(none)";
        e->RemoveAttribute(attribute);
    } else if (e) {
        TiXmlPrinter printer;
        e->Accept(&printer);
        split.target = printer.CStr();
        e->Parent()->RemoveChild(e);
    } else {
        split.target = "(missing)";
    }
    TiXmlPrinter printer;
    document.Accept(&printer);
    split.rest = printer.CStr();
    return split;
}

// A save replaces the file by a new one: its inode number changes.
ino_t Inode(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

int Temporaries(const std::string& folder, const std::string& file) {
    int count = 0;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            count += name.rfind("." + file + ".save-", 0) == 0 || name.rfind(".save-", 0) == 0;
        }
        closedir(dir);
    }
    return count;
}

// A wall layout element as the program writes it for a size whose map is numbered afresh, read back printed.
std::string FreshLayout(const std::string& printedNow, int rows, int cols) {
    TiXmlDocument document;
    document.Parse(printedNow.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    TiXmlElement* wall = document.RootElement();
    if (!wall)
        return "(unreadable)";
    wall->SetAttribute("row", rows);
    wall->SetAttribute("col", cols);
    TiXmlElement* map = wall->FirstChildElement("OUTPUT_MAPPING");
    if (map)
        wall->RemoveChild(map);
    TiXmlElement fresh("OUTPUT_MAPPING");
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c) {
            TiXmlElement item("ITEM");
            item.SetAttribute("row", r);
            item.SetAttribute("col", c);
            item.SetAttribute("output", (r - 1) * cols + c);
            fresh.InsertEndChild(item);
        }
    wall->InsertEndChild(fresh);
    TiXmlPrinter printer;
    wall->Accept(&printer);
    return printer.CStr();
}

int Number(const std::string& printedElement, const char* attribute) {
    TiXmlDocument document;
    document.Parse(printedElement.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    int value = -1;
    if (document.RootElement())
        document.RootElement()->QueryIntAttribute(attribute, &value);
    return value;
}

class KilledWhileSaving : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(desktop.Error().empty()) << desktop.Error(); }

    // Starts xdotool on a list of commands and lets it run while the test goes on.
    void StartBurst(const QStringList& commands) {
        burst.setProcessEnvironment(desktop.Environment());
        burst.start("xdotool", commands);
        burst.waitForStarted(5000);
    }
    void EndBurst() {
        if (burst.state() != QProcess::NotRunning) {
            burst.kill();
            burst.waitForFinished(5000);
        }
        // A burst cut between pressing a key or a button and letting it go leaves it down on the server, where
        // a key would go on repeating into the next round.
        desktop.Tool("xdotool",
                     {"keyup", "Control_L", "Shift_L", "Alt_L", "Return", "Up", "Down", "Escape", "a", "k", "x",
                      "0",     "1",         "2",       "3",     "4",      "5",  "6",    "7",      "8", "9"});
        desktop.Tool("xdotool", {"mouseup", "1"});
        desktop.PointerMovedElsewhere();
    }
    std::string Path(const char* name) const { return program.Folder().File(name); }

    XDesktop desktop{true};
    RunningProgram program{desktop};
    QProcess burst;
};

TEST_F(KilledWhileSaving, TheProgramComesBackToWholeFilesOfOneVersionAndTheNextSaveLeavesNoTemporary) {
    const long kills = EnvNumber("VELTRANO_E2E_KILLS", 100);
    const auto seed = static_cast<unsigned>(EnvNumber("VELTRANO_KILL_SEED", 11));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> moment(0, 500); // milliseconds into the burst of saves
    // The kill is timed from the first save of the file after that moment, to land inside it.
    SaveCatcher catcher(program.Folder().Path(), seed);
    long cutSaves = 0;
    long failures = 0;

    for (long round = 0; round < kills && failures < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(program.Start());
        const int kind = int(round % 3);
        const char* file = kind == 1 ? "matrix.xml" : "system.xml";
        Split confirmed;
        std::set<std::string> versions; // of the target, after any save of the burst
        std::function<Split()> read;
        const ino_t before = Inode(Path(file));
        const auto savedOnce = [&] { return Inode(Path(file)) != before; };

        if (kind == 0) {
            // The wall layout: its map saved and waited for, then sizes set again and again, each writing the
            // size and a map numbered afresh for it in one file.
            read = [&] { return SplitFile(Path("system.xml"), {"LCDWALL"}); };
            const XDesktop::Window dialog = program.ChooseFromMenuBar(1, 1);
            ASSERT_FALSE(dialog.id.isEmpty()) << "the wall-layout dialog does not open";
            const QPoint origin = dialog.rect.topLeft();
            desktop.Click(origin + ControlCentre(Dialog::kWallSetting, 1107)); // "Save Map"
            ASSERT_TRUE(WaitFor(savedOnce)) << "the map was not saved; the screen is in " << desktop.KeepScreen("map");
            confirmed = read();
            const int rows = Number(confirmed.target, "row"), cols = Number(confirmed.target, "col");
            // The keys step the rows by one; whichever count a save caught, its map is numbered afresh for it.
            versions = {confirmed.target};
            for (int r = 1; r <= 16; ++r)
                versions.insert(FreshLayout(confirmed.target, r, cols));
            // The rows box takes the keys: its list dropped down and closed again. The dialog's default button is
            // "Set".
            const auto known = program.OtherWindows();
            desktop.Click(origin + ControlCentre(Dialog::kWallSetting, 1030));
            const XDesktop::Window list = program.WaitForNewWindow(known, true);
            ASSERT_TRUE(WaitFor([&] { return !TextLines(desktop.Screen(), list.rect).empty(); }));
            desktop.Keys({"Escape"});
            ASSERT_TRUE(WaitFor([&] { return program.OtherWindows().size() == known.size(); }));
            QStringList keys{"key", "--delay", "12"};
            for (int i = 0; i < 40; ++i)
                keys << (rows == 16 ? "Up" : "Down") << "Return" << (rows == 16 ? "Down" : "Up") << "Return";
            StartBurst(keys);
        } else if (kind == 1) {
            // The matrix settings: a name set and waited for, then names set one after another.
            read = [&] { return SplitFile(Path("matrix.xml"), {"MATRIX"}, "name"); };
            const XDesktop::Window dialog = program.ChooseFromMenuBar(1, 2);
            ASSERT_FALSE(dialog.id.isEmpty()) << "the matrix-setting dialog does not open";
            const QPoint origin = dialog.rect.topLeft();
            const QPoint name = origin + ControlCentre(Dialog::kMatrixSetting, 1103);
            const QPoint set = origin + ControlCentre(Dialog::kMatrixSetting, 1082);
            const std::string first = "K" + std::to_string(round);
            desktop.Click(name);
            desktop.Keys({"ctrl+a"});
            desktop.Type(QString::fromStdString(first));
            desktop.Click(set);
            ASSERT_TRUE(WaitFor([&] { return savedOnce() && read().target == first; }))
                << "the matrix was not saved; the screen is in " << desktop.KeepScreen("matrix");
            confirmed = read();
            versions = {first};
            QStringList commands;
            for (int i = 0; i < 30; ++i) {
                const QString next = QString("K%1x%2").arg(round).arg(i);
                versions.insert(next.toStdString());
                // The name goes in key by key: "type" would take every word after it for text to type, and "key"
                // stops at the next command.
                commands << "mousemove" << QString::number(name.x()) << QString::number(name.y()) << "click"
                         << "1"
                         << "key"
                         << "ctrl+a"
                         << "key"
                         << "--delay"
                         << "4" << next.split("", Qt::SkipEmptyParts) << "mousemove" << QString::number(set.x())
                         << QString::number(set.y()) << "click"
                         << "1";
            }
            StartBurst(commands);
        } else {
            // A scene: saved for one unit and waited for, then saved for one unit and another in turn.
            read = [&] { return SplitFile(Path("system.xml"), {"SCENE", "ITEM"}); };
            ASSERT_TRUE(program.OpenWallPort()); // for the scene's frame
            ASSERT_FALSE(program.ShowPage(3).isNull());
            const WallGrid& grid = program.Main().grid;
            const QPoint save = program.PagePoint(Dialog::kScene, 1069);
            const auto saveFor = [&](QPoint cell) {
                QStringList commands{"mousemove",
                                     QString::number(cell.x()),
                                     QString::number(cell.y()),
                                     "click",
                                     "1",
                                     "mousemove",
                                     QString::number(save.x()),
                                     QString::number(save.y()),
                                     "click",
                                     "1",
                                     "sleep",
                                     "0.3",
                                     "key",
                                     "Return"};
                return commands;
            };
            // With no switch recorded the program asks before it saves; Return answers OK.
            const auto known = program.OtherWindows();
            desktop.Click(grid.Centre(0, 0));
            desktop.Click(save);
            const XDesktop::Window question = program.WaitForNewWindow(known, false);
            ASSERT_FALSE(question.id.isEmpty()) << "no question before the save";
            ASSERT_TRUE(program.WaitForFocus(question));
            desktop.Keys({"Return"});
            ASSERT_TRUE(WaitFor([&] {
                const std::string item = read().target;
                return savedOnce() && item.find("left=\"1\" top=\"1\" right=\"1\" bottom=\"1\"") != std::string::npos &&
                       item.find("MATRIXREC") == std::string::npos;
            })) << "the scene was not saved: "
                << read().target << "; the screen is in " << desktop.KeepScreen("scene");
            confirmed = read();
            versions = {confirmed.target};
            const std::string one = "left=\"1\" top=\"1\" right=\"1\" bottom=\"1\"";
            std::string other = confirmed.target;
            if (other.find(one) != std::string::npos)
                other.replace(other.find(one), one.size(), "left=\"2\" top=\"2\" right=\"2\" bottom=\"2\"");
            versions.insert(other);
            QStringList commands;
            for (int i = 0; i < 12; ++i)
                commands << saveFor(grid.Centre(1, 1)) << saveFor(grid.Centre(0, 0));
            StartBurst(commands);
        }
        // The save waited for removed whatever an earlier kill left of that file.
        EXPECT_EQ(Temporaries(program.Folder().Path(), file), 0) << "after the first save of " << file;

        QThread::msleep(static_cast<unsigned long>(moment(random)));
        catcher.StopInsideASave(static_cast<pid_t>(program.ProcessId()), file, 10000);
        program.Kill();
        EndBurst();

        const Split now = read();
        cutSaves += Temporaries(program.Folder().Path(), file) > 0;
        const bool whole = now.parses && now.rest == confirmed.rest && versions.count(now.target) == 1;
        EXPECT_TRUE(now.parses) << file << " does not parse after the kill";
        EXPECT_EQ(now.rest, confirmed.rest) << file << " changed where no save of the round wrote";
        EXPECT_EQ(versions.count(now.target), 1u)
            << file << " holds a version no save wrote: " << now.target << "\nthe versions saved:\n"
            << testing::PrintToString(versions);
        failures += whole ? 0 : 1;
    }
    std::printf("kills: %ld, inside a save: %ld, failures: %ld\n", kills, cutSaves, failures);
}

} // namespace
