#include "core/SystemConfig.h"
#include "core/LcdWallLayout.h"
#include "core/WallModel.h"
#include "core/XmlSave.h"
#include "tests/core/ReadOnlyFolder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WorkingDir.h"

#include <climits>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <sys/file.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <tinyxml.h>
#include <unistd.h>

namespace {

const char kSettings[] = ".\\system.xml";

std::string Settings(const std::string& body) { return "<?xml version=\"1.0\" ?>\n<SYSTEM>\n" + body + "</SYSTEM>\n"; }

// Each test runs in its own process, so the holder loads this test's file.
class SettingsFile : public ::testing::Test {
protected:
    CSystemConfig* Load(const std::string& content) {
        dir.Write("system.xml", content);
        CSystemConfig* config = CSystemConfig::GetInstance();
        config->Load(kSettings);
        return config;
    }
    // The written file, parsed back.
    TiXmlElement* Reread(const char* section) {
        reread.Clear();
        EXPECT_TRUE(reread.LoadFile(dir.Dir().File("system.xml").c_str(), TIXML_ENCODING_LEGACY));
        TiXmlElement* root = reread.RootElement();
        return root ? root->FirstChildElement(section) : nullptr;
    }

    WorkingDir dir;
    TiXmlDocument reread;
};

} // namespace

TEST_F(SettingsFile, ReadsEverySection) {
    CSystemConfig* config = Load(Settings(
        "<COMM port=\"COM4\" baudrate=\"19200\" databit=\"7\" stopbit=\"2\" parity=\"3\"/>"
        "<MONITORCTRL><COMM port=\"COM9\" baudrate=\"4800\" databit=\"8\" stopbit=\"0\" parity=\"1\"/></MONITORCTRL>"
        "<FRAMEEFFECT enable=\"True\" horizontal=\"12\" vertical=\"300\"/>"
        "<MATRIXPAGE itemX1=\"2\" item02=\"5\" item12=\"-1\" item22=\"3\" item32=\"0\"/>"
        "<LCDWALL row=\"3\" col=\"4\" pixel=\"6\"/>"
        "<SYSTEMINFO name=\"n\" version=\"2.1\" company=\"\xC7\xBD\" title=\"T\"/>"));

    std::string port;
    int baud = 0, bits = 0, stop = 0, parity = 0;
    EXPECT_EQ(config->LoadComm(port, baud, bits, stop, parity), 1);
    EXPECT_EQ(port, "COM4");
    EXPECT_EQ(std::vector<int>({baud, bits, stop, parity}), std::vector<int>({19200, 7, 2, 3}));
    EXPECT_EQ(config->LoadMonitorComm(port, baud, bits, stop, parity), 1);
    EXPECT_EQ(port, "COM9");
    EXPECT_EQ(std::vector<int>({baud, bits, stop, parity}), std::vector<int>({4800, 8, 0, 1}));

    BOOL enabled = FALSE;
    BYTE h = 0, v = 0;
    config->LoadFrameEffect(enabled, h, v);
    EXPECT_TRUE(enabled); // "True" lower-cased is "true"
    EXPECT_EQ(h, 12);
    EXPECT_EQ(v, 44); // kept as a byte

    int x1 = 9, i0 = 9, i1 = 9, i2 = 9, i3 = 9;
    EXPECT_EQ(config->LoadMatrixPage(x1, i0, i1, i2, i3), 1);
    EXPECT_EQ(std::vector<int>({x1, i0, i1, i2, i3}), std::vector<int>({2, 5, -1, 3, 0}));

    int rows = 0, cols = 0, pixel = -1;
    config->LoadRowCol(rows, cols);
    config->LoadPixel(pixel);
    EXPECT_EQ(std::vector<int>({rows, cols, pixel}), std::vector<int>({3, 4, 6}));

    std::string name, version, company, title;
    config->LoadSystemInfo(name, version, company, title);
    EXPECT_EQ(company, "\xC7\xBD");
    EXPECT_EQ(version, "2.1");
}

TEST_F(SettingsFile, PipNeedsExactlyTrueWhileTheFrameEffectIgnoresCase) {
    CSystemConfig* config =
        Load(Settings("<FRAMEEFFECT enable=\"TRUE\"/><COMPONENT><PIP enable=\"TRUE\"/></COMPONENT>"));
    BOOL enabled = FALSE;
    BYTE h = 7, v = 7;
    config->LoadFrameEffect(enabled, h, v);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(h, 0); // a missing value starts at 0
    EXPECT_FALSE(config->IsPipEnabled());
}

TEST_F(SettingsFile, MissingSectionsAndNumbersLeaveTheCallersValues) {
    CSystemConfig* config = Load(Settings("<COMM port=\"COM2\" baudrate=\"fast\"/><LCDWALL row=\"5\"/>"));
    std::string port = "x";
    int baud = 1200, bits = 7, stop = 1, parity = 2;
    EXPECT_EQ(config->LoadComm(port, baud, bits, stop, parity), 1);
    EXPECT_EQ(port, "COM2");
    EXPECT_EQ(std::vector<int>({baud, bits, stop, parity}), std::vector<int>({1200, 7, 1, 2}));
    EXPECT_EQ(config->LoadMonitorComm(port, baud, bits, stop, parity), 0);
    EXPECT_EQ(port, "COM2");

    int rows = 1, cols = 8, pixel = 5;
    config->LoadRowCol(rows, cols);
    config->LoadPixel(pixel);
    EXPECT_EQ(std::vector<int>({rows, cols, pixel}), std::vector<int>({5, 8, 0}));

    BOOL enabled = TRUE;
    BYTE h = 3, v = 4;
    config->LoadFrameEffect(enabled, h, v);
    EXPECT_EQ(std::vector<int>({enabled, h, v}), std::vector<int>({TRUE, 3, 4}));
    EXPECT_FALSE(config->IsPipEnabled());
}

TEST_F(SettingsFile, AMissingOrBrokenFileIsNeverWrittenOverAndEachSaveSaysSo) {
    const std::string broken = Settings("<COMM port=\"COM1\"><LCDWALL row=\"2\"></COMM>");
    CSystemConfig* config = Load(broken);
    std::string port = "keep";
    int n = 0;
    EXPECT_EQ(config->LoadComm(port, n, n, n, n), 0);
    EXPECT_EQ(port, "keep");
    MessageBoxRecorder boxes;
    testing::internal::CaptureStderr();
    EXPECT_EQ(config->SaveComm("COM5", 9600, 8, 0, 0), 0);
    EXPECT_EQ(config->SaveMonitorComm("COM5", 9600, 8, 0, 0), -1);
    EXPECT_EQ(config->SaveRowCol(3, 3), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(dir.Read("system.xml"), broken);
    ASSERT_EQ(boxes.Boxes().size(), 3u);
    const std::string expected =
        "Could not save \"" + dir.Dir().File("system.xml") + "\": it is not valid XML at line 3";
    EXPECT_EQ(boxes.Boxes()[0].text.substr(0, expected.size()), expected);
    // The same words go to standard error, once for each box.
    EXPECT_EQ(said.substr(0, expected.size()), expected);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3);
    EXPECT_EQ(boxes.Boxes()[0].type, MB_ICONERROR);
}

TEST_F(SettingsFile, WithoutAFileEverySaveSaysSoAndWritesNothing) {
    CSystemConfig* config = CSystemConfig::GetInstance();
    config->Load(kSettings);
    MessageBoxRecorder boxes;
    EXPECT_EQ(config->SaveFrameEffect(TRUE, 1, 2), 0);
    EXPECT_EQ(config->SaveMatrixPage(1, 2, 3, 4, 5), 1);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_NE(boxes.Boxes()[1].text.find("system.xml\": it is missing."), std::string::npos);
    EXPECT_FALSE(dir.Exists("system.xml"));
}

TEST_F(SettingsFile, ASectionTheFileLacksIsNamedAndNothingIsWritten) {
    const std::string original = Settings("<COMM port=\"COM1\"/><SCENE><ITEM id=\"1\" name=\"A\"/></SCENE>");
    CSystemConfig* config = Load(original);
    CLcdWallLayout* layout = CWallModel::GetInstance()->GetLcdWallLayout();
    MessageBoxRecorder boxes;
    EXPECT_EQ(config->SaveFrameEffect(TRUE, 1, 2), 0);
    EXPECT_EQ(config->SavePixel(3), 1);
    EXPECT_EQ(config->SaveOutputMapping(layout), 0);
    EXPECT_EQ(config->SaveRowColAndMapping(layout), 0);
    EXPECT_EQ(config->SaveMonitorComm("COM2", 9600, 8, 0, 0), -1);
    std::vector<std::string> reasons;
    for (const auto& box : boxes.Boxes())
        reasons.push_back(box.text.substr(box.text.find(": ") + 2,
                                          box.text.find('.', box.text.find(": ")) - box.text.find(": ") - 2));
    EXPECT_EQ(reasons, std::vector<std::string>({"it has no FRAMEEFFECT section", "it has no LCDWALL section",
                                                 "it has no LCDWALL section", "it has no LCDWALL section",
                                                 "it has no MONITORCTRL section"}));
    // A scene that is not there is the caller's to report, by its result.
    EXPECT_EQ(config->RenameScene("B", "C"), -1);
    EXPECT_EQ(boxes.Boxes().size(), 5u);
    EXPECT_EQ(dir.Read("system.xml"), original);
}

TEST_F(SettingsFile, AReadOnlyFolderIsToldOnceNamingTheFileAndTheChangeHolds) {
    const std::string original = Settings("<COMM port=\"COM1\" baudrate=\"9600\"/>");
    CSystemConfig* config = Load(original);
    MessageBoxRecorder boxes;
    {
        ReadOnlyFolder readOnly(dir.Dir().Path());
        EXPECT_EQ(config->SaveComm("COM7", 19200, 8, 0, 0), 0);
    }
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Could not save \"" + dir.Dir().File("system.xml") +
                                         "\": Permission denied. The change holds until the program ends.");
    EXPECT_EQ(dir.Read("system.xml"), original);
    std::string port;
    int baud = 0, n = 0;
    config->LoadComm(port, baud, n, n, n);
    EXPECT_EQ(port + " " + std::to_string(baud), "COM7 19200");
}

TEST_F(SettingsFile, PortNumbersNoPortCanBeOpenedWithAreReadAsMissing) {
    CSystemConfig* config =
        Load(Settings("<COMM port=\"COM1\" baudrate=\"-1\" databit=\"264\" stopbit=\"3\" parity=\"5\"/>"
                      "<MONITORCTRL><COMM port=\"COM2\" baudrate=\"1\" databit=\"5\" stopbit=\"2\" parity=\"4\"/>"
                      "</MONITORCTRL>"));
    std::string port;
    int baud = 9600, bits = 8, stop = 0, parity = 0;
    config->LoadComm(port, baud, bits, stop, parity);
    EXPECT_EQ(std::vector<int>({baud, bits, stop, parity}), std::vector<int>({9600, 8, 0, 0}));
    config->LoadMonitorComm(port, baud, bits, stop, parity);
    EXPECT_EQ(std::vector<int>({baud, bits, stop, parity}), std::vector<int>({1, 5, 2, 4})); // the edges hold
    // One number at a time that no port takes, the others good: only that one reads as missing.
    const std::vector<int> good = {9600, 8, 0, 0};
    const std::vector<int> callers = {1200, 7, 1, 2};
    const std::vector<std::vector<int>> bad = {{0, INT_MIN}, {4, 9}, {-1, 3}, {-1, 5}};
    for (size_t field = 0; field < 4; ++field) {
        for (int value : bad[field]) {
            std::vector<int> numbers = good;
            numbers[field] = value;
            config->SaveComm("COM1", numbers[0], numbers[1], numbers[2], numbers[3]);
            std::vector<int> read = callers;
            config->LoadComm(port, read[0], read[1], read[2], read[3]);
            std::vector<int> expected = good;
            expected[field] = callers[field];
            EXPECT_EQ(read, expected) << "field " << field << " holding " << value;
        }
    }
}

TEST_F(SettingsFile, WritingKeepsUnknownContentAndGbkTextsByteForByte) {
    const std::string gbkTitle = "\xB4\xF3\xC6\xC1\xC4\xBB\xC6\xB4\xBD\xD3"; // 大屏幕拼接
    CSystemConfig* config = Load(Settings("<!-- operator's note -->\n"
                                          "<SYSTEMINFO title=\"" +
                                          gbkTitle +
                                          "\" extra=\"1\"/>\n"
                                          "<VENDOR_TUNING gamma=\"2.2\"><CURVE p=\"\xC7\xBD\"/></VENDOR_TUNING>\n"
                                          "<COMM port=\"COM1\" baudrate=\"9600\" databit=\"8\" stopbit=\"0\" "
                                          "parity=\"0\" flow=\"none\"/>\n"));
    config->SaveComm("COM3", 38400, 8, 0, 2);

    TiXmlElement* comm = Reread("COMM");
    ASSERT_NE(comm, nullptr);
    EXPECT_STREQ(comm->Attribute("port"), "COM3");
    EXPECT_STREQ(comm->Attribute("baudrate"), "38400");
    EXPECT_STREQ(comm->Attribute("parity"), "2");
    EXPECT_STREQ(comm->Attribute("flow"), "none");
    EXPECT_STREQ(Reread("SYSTEMINFO")->Attribute("title"), gbkTitle.c_str());
    TiXmlElement* tuning = Reread("VENDOR_TUNING");
    ASSERT_NE(tuning, nullptr);
    EXPECT_STREQ(tuning->FirstChildElement("CURVE")->Attribute("p"), "\xC7\xBD");
    EXPECT_NE(dir.Read("system.xml").find("operator's note"), std::string::npos);

    // The holder still reads what it wrote.
    std::string title, a, b, c;
    config->LoadSystemInfo(a, b, c, title);
    EXPECT_EQ(title, gbkTitle);
}

TEST_F(SettingsFile, OutputMapOfATwoByThreeWallReplacesWhatWasThereInOrder) {
    CSystemConfig* config = Load(Settings("<LCDWALL row=\"2\" col=\"3\"><OUTPUT_MAPPING>"
                                          "<ITEM row=\"9\" col=\"9\" output=\"9\"/><NOTE/>"
                                          "</OUTPUT_MAPPING></LCDWALL>"));
    CLcdWallLayout* layout = CWallModel::GetInstance()->GetLcdWallLayout();
    layout->SetOutput(1, 2, 6);
    layout->SetOutput(2, 3, 2);
    EXPECT_EQ(config->SaveOutputMapping(layout), 0);

    TiXmlElement* mapping = Reread("LCDWALL")->FirstChildElement("OUTPUT_MAPPING");
    std::vector<std::vector<int>> items;
    for (TiXmlNode* n = mapping->FirstChild(); n; n = n->NextSibling()) {
        TiXmlElement* item = n->ToElement();
        ASSERT_NE(item, nullptr);
        ASSERT_EQ(std::string(item->Value()), "ITEM");
        int r = 0, c = 0, o = 0;
        item->QueryIntAttribute("row", &r);
        item->QueryIntAttribute("col", &c);
        item->QueryIntAttribute("output", &o);
        items.push_back({r, c, o});
    }
    const std::vector<std::vector<int>> expected = {{1, 1, 1}, {1, 2, 6}, {1, 3, 3}, {2, 1, 4}, {2, 2, 5}, {2, 3, 2}};
    EXPECT_EQ(items, expected);
    EXPECT_EQ(config->SaveOutputMapping(nullptr), 64);
}

TEST_F(SettingsFile, OutputMapIsCreatedWhenMissingAndNotWithoutLcdWall) {
    CSystemConfig* config = Load(Settings("<LCDWALL row=\"1\" col=\"2\"/>"));
    CLcdWallLayout* layout = CWallModel::GetInstance()->GetLcdWallLayout();
    EXPECT_EQ(config->SaveOutputMapping(layout), 0);
    TiXmlElement* mapping = Reread("LCDWALL")->FirstChildElement("OUTPUT_MAPPING");
    ASSERT_NE(mapping, nullptr);
    EXPECT_NE(mapping->FirstChildElement("ITEM")->NextSiblingElement("ITEM"), nullptr);
}

TEST_F(SettingsFile, RenamingFindsTheFirstOfEqualNamesAndAnUnknownNameChangesNothing) {
    const std::string original = Settings("<SCENE><ITEM id=\"1\" name=\"A\"/><ITEM id=\"2\"/>"
                                          "<ITEM id=\"3\" name=\"B\"/><ITEM id=\"4\" name=\"B\"/></SCENE>");
    CSystemConfig* config = Load(original);
    EXPECT_EQ(config->RenameScene("C", "D"), -1);
    EXPECT_EQ(dir.Read("system.xml"), original);
    EXPECT_EQ(config->FindSceneItem(""), nullptr); // an item without a name never matches

    EXPECT_EQ(config->RenameScene("B", "\xC7\xBD"), 0);
    TiXmlElement* item = Reread("SCENE")->FirstChildElement("ITEM");
    std::vector<std::string> names;
    for (; item; item = item->NextSiblingElement("ITEM"))
        names.push_back(item->Attribute("name") ? item->Attribute("name") : "-");
    EXPECT_EQ(names, std::vector<std::string>({"A", "-", "\xC7\xBD", "B"}));
}

TEST_F(SettingsFile, AWriteThatFailsPartWayLeavesThePreviousFileWhole) {
    std::string padding(4000, ' ');
    const std::string original = Settings("<COMM port=\"COM1\" baudrate=\"9600\" databit=\"8\" stopbit=\"0\" "
                                          "parity=\"0\"/>\n<MATRIXPAGE/>\n<PAD text=\"" +
                                          padding + "\"/>\n");
    CSystemConfig* config = Load(original);
    chmod(dir.Dir().File("system.xml").c_str(), 0640);

    // The file system refuses anything past 1 KiB: the new file cannot be completed.
    signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit{1024, previous.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    MessageBoxRecorder boxes;
    EXPECT_EQ(config->SaveComm("COM7", 115200, 8, 0, 0), 0);
    EXPECT_EQ(dir.Read("system.xml"), original);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find("system.xml\": File too large."), std::string::npos);

    // Nothing half-written is left beside it.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Dir().Path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1);

    // The change stays in memory, and the next write that can complete carries it.
    setrlimit(RLIMIT_FSIZE, &previous);
    config->SaveMatrixPage(1, 2, 3, 4, 5);
    EXPECT_STREQ(Reread("COMM")->Attribute("port"), "COM7");
    struct stat st {};
    stat(dir.Dir().File("system.xml").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // the operator's permissions survive the replacement
}

namespace {

// What a child process asks of the disk while it does the work, watched through ptrace: "rename", and "fsync" with
// the path of what it syncs.
std::vector<std::string> DiskCalls(const std::function<void()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
        work();
        _exit(0);
    }
    std::vector<std::string> calls;
    int status = 0;
    waitpid(child, &status, 0);
    ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int signal = 0;
    while (ptrace(PTRACE_SYSCALL, child, nullptr, signal) == 0 && waitpid(child, &status, 0) == child &&
           WIFSTOPPED(status)) {
        signal = WSTOPSIG(status) == (SIGTRAP | 0x80) ? 0 : WSTOPSIG(status);
        __ptrace_syscall_info info{};
        if (signal || ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info) <= 0 ||
            info.op != PTRACE_SYSCALL_INFO_ENTRY)
            continue;
        const long call = static_cast<long>(info.entry.nr);
        if (call == SYS_fsync || call == SYS_fdatasync) {
            char path[PATH_MAX] = {};
            const std::string fd = "/proc/" + std::to_string(child) + "/fd/" + std::to_string(info.entry.args[0]);
            calls.push_back("fsync " +
                            std::string(path, std::max<ssize_t>(readlink(fd.c_str(), path, sizeof path), 0)));
        } else if (call == SYS_renameat || call == SYS_renameat2 || call == SYS_rename) {
            calls.push_back("rename");
        }
    }
    waitpid(child, &status, 0);
    return calls;
}

} // namespace

TEST_F(SettingsFile, ASaveReachesTheDiskWithItsFolderSoThatAPowerCutCannotBringBackTheOldFile) {
    CSystemConfig* config = Load(Settings("<COMM port=\"COM1\"/>"));
    const std::vector<std::string> calls = DiskCalls([&] { config->SaveComm("COM2", 9600, 8, 0, 0); });
    const std::string folder = std::filesystem::canonical(dir.Dir().Path()).string();
    // The new file, whole on disk under its own name; then its new name, on disk with the folder.
    ASSERT_EQ(calls.size(), 3u) << testing::PrintToString(calls);
    EXPECT_EQ(calls[0].substr(0, calls[0].size() - 6), "fsync " + folder + "/.system.xml.save-");
    EXPECT_EQ(calls[1], "rename");
    EXPECT_EQ(calls[2], "fsync " + folder);
}

TEST_F(SettingsFile, ASettingsFileThatIsALinkStaysALink) {
    dir.Write("real.xml", Settings("<COMM port=\"COM1\"/>"));
    ASSERT_EQ(symlink("real.xml", dir.Dir().File("system.xml").c_str()), 0);
    CSystemConfig* config = CSystemConfig::GetInstance();
    config->Load(kSettings);
    config->SaveComm("COM2", 9600, 8, 0, 0);
    struct stat st {};
    ASSERT_EQ(lstat(dir.Dir().File("system.xml").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_NE(dir.Read("real.xml").find("port=\"COM2\""), std::string::npos);
}

TEST_F(SettingsFile, ASaveClearsTheTemporaryFilesOfKilledSavesOfThatFileOnly) {
    CSystemConfig* config = Load(Settings("<COMM port=\"COM1\"/>"));
    const std::vector<std::string> stale = {".system.xml.save-Ab12Cd", ".save-Zz9Yy8"};
    const std::vector<std::string> kept = {".matrix.xml.save-Ab12Cd", ".system.xml.save-Ab12Cde", ".system.xml.bak",
                                           "system.xml.save-Ab12Cd", ".system.xml.save-InUse1"};
    for (const std::string& name : stale)
        dir.Write(name, "<half");
    for (const std::string& name : kept)
        dir.Write(name, "<half");
    // A save in progress in another program holds its file locked.
    const int inUse = open(dir.Dir().File(".system.xml.save-InUse1").c_str(), O_RDONLY);
    ASSERT_EQ(flock(inUse, LOCK_EX), 0);

    MessageBoxRecorder boxes;
    config->SaveComm("COM2", 9600, 8, 0, 0);
    close(inUse);
    EXPECT_TRUE(boxes.Boxes().empty());
    for (const std::string& name : stale)
        EXPECT_FALSE(dir.Exists(name)) << name;
    for (const std::string& name : kept)
        EXPECT_TRUE(dir.Exists(name)) << name;
    EXPECT_NE(dir.Read("system.xml").find("COM2"), std::string::npos);
    EXPECT_EQ(SaveTemporaryPattern("system.xml"), ".system.xml.save-XXXXXX");
}

TEST_F(SettingsFile, ASaveTellsWhatBecameOfTheFileWhenItsModeOrItsFolderCannotBeSet) {
    const std::string original = Settings("<COMM port=\"COM1\"/>");
    CSystemConfig* config = Load(original);
    const std::string path = dir.Dir().File("system.xml");
    chmod(path.c_str(), 0640);
    MessageBoxRecorder boxes;
    SaveStep failing = SaveStep::kSetMode;
    SetSaveFaultHandler([&failing](SaveStep step) { return step == failing ? EIO : 0; });

    // Without its mode the new file would not be the old one: it does not take the old one's place.
    config->SaveComm("COM2", 9600, 8, 0, 0);
    EXPECT_EQ(dir.Read("system.xml"), original);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Could not save \"" + path +
                                         "\": the new file could not be given the old one's permissions "
                                         "(Input/output error). The change holds until the program ends.");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Dir().Path()), {}), 1);

    // The new file is in place before the folder is synced: saved, only not sure to survive a power cut.
    failing = SaveStep::kSyncFolder;
    config->SaveComm("COM3", 9600, 8, 0, 0);
    SetSaveFaultHandler({});
    EXPECT_STREQ(Reread("COMM")->Attribute("port"), "COM3");
    struct stat st {};
    stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, "Saved \"" + path +
                                         "\", but its folder could not be synced (Input/output error): the change "
                                         "may not survive a power cut.");
    EXPECT_EQ(boxes.Boxes()[1].type, MB_ICONWARNING);
}

TEST_F(SettingsFile, ASaveKeepsTheOwnerAndGroupOfTheFileAndIsRefusedWhereItCannot) {
    if (geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user takes root";
    CSystemConfig* config = Load(Settings("<COMM port=\"COM1\"/>"));
    const std::string path = dir.Dir().File("system.xml");
    ASSERT_EQ(chown(path.c_str(), 12345, 23456), 0);
    config->SaveComm("COM2", 9600, 8, 0, 0);
    struct stat st {};
    stat(path.c_str(), &st);
    EXPECT_EQ(std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid), "12345:23456");
    EXPECT_STREQ(Reread("COMM")->Attribute("port"), "COM2");

    // Another user who may write the file and its folder may not give a file away.
    const std::string saved = dir.Read("system.xml");
    chmod(path.c_str(), 0666);
    chmod(dir.Dir().Path().c_str(), 0777);
    int told[2];
    ASSERT_EQ(pipe(told), 0);
    const pid_t child = fork();
    if (child == 0) {
        MessageBoxRecorder boxes;
        if (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0)
            config->SaveComm("COM3", 9600, 8, 0, 0);
        const std::string text = boxes.Boxes().empty() ? "no box" : boxes.Boxes()[0].text;
        _exit(write(told[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    close(told[1]);
    char text[512] = {};
    const ssize_t length = read(told[0], text, sizeof text);
    close(told[0]);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(std::string(text, std::max<ssize_t>(length, 0)),
              "Could not save \"" + path +
                  "\": the new file could not be given the old one's owner and group (Operation not permitted). The "
                  "change holds until the program ends.");
    EXPECT_EQ(dir.Read("system.xml"), saved);
    stat(path.c_str(), &st);
    EXPECT_EQ(std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid), "12345:23456");
}
