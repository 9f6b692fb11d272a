// What the operator is told at start-up about configuration files that could not be used: one message, through
// the message-box seam and on standard error, naming each such file, what is wrong with it and what follows.
#include "tests/core/AllocationCounter.h"
#include "tests/core/BadFiles.h"
#include "tests/core/ForkedRun.h"

#include "core/CommandMap.h"
#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/StartUpFaults.h"
#include "core/WallModel.h"
#include "core/XmlLoad.h"
#include "tests/support/LargeFiles.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WorkingDir.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <new>
#include <tinyxml.h>

namespace {

const char* const kFiles[] = {"command.xml", "system.xml", "matrix.xml"};

const std::map<std::string, std::string> kConsequences = {
    {"command.xml", "Without it, no command can be sent correctly."},
    {"system.xml", "The default settings are shown, and changes to the settings are not saved."},
    {"matrix.xml", "No matrix is shown, and changes to the matrices are not saved."}};

// The program's start in a folder of the sample configuration: the wall model with its settings, then the matrix
// manager, as the main view builds them; then the report, with the main window standing.
class StartUp : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kFiles)
            dir.CopySample(name);
    }
    std::map<std::string, std::string> States() const {
        std::map<std::string, std::string> states;
        for (const char* name : kFiles)
            states[name] = FileState(dir.Dir().File(name));
        return states;
    }
    // The boxes shown, and what went to standard error.
    std::string Start() {
        CWallModel::GetInstance()->GetMatrixMgr();
        testing::internal::CaptureStderr();
        ReportStartUpFaults();
        return testing::internal::GetCapturedStderr();
    }

    WorkingDir dir;
    MessageBoxRecorder boxes;
};

class StartUpWithABadFile : public StartUp, public testing::WithParamInterface<std::tuple<const char*, BadFile>> {};

} // namespace

TEST_P(StartUpWithABadFile, NamesTheFileWhatIsWrongAndWhatFollowsOnceAndLeavesTheFileAsItWas) {
    const std::string file = std::get<0>(GetParam());
    const BadFile bad = std::get<1>(GetParam());
    MakeBadFile(dir.Dir().Path(), file, bad.kind);
    const auto before = States();
    const std::string standardError = Start();

    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const std::string& text = boxes.Boxes()[0].text;
    EXPECT_EQ(boxes.Boxes()[0].type, MB_OK | MB_ICONWARNING);
    EXPECT_EQ(text.rfind("Some configuration files in " + dir.Dir().Path() + " could not be used:\n", 0), 0u) << text;
    const size_t told = text.find("\n" + file + " " + bad.told(file));
    ASSERT_NE(told, std::string::npos) << text;
    const size_t end = text.find('\n', told + 1);
    EXPECT_NE(text.substr(told, end - told).find(". " + kConsequences.at(file)), std::string::npos) << text;
    for (const char* other : kFiles) {
        if (other != file) {
            EXPECT_EQ(text.find(std::string("\n") + other), std::string::npos) << text;
        }
    }
    EXPECT_EQ(standardError, text + "\n");
    EXPECT_EQ(States(), before);
}

INSTANTIATE_TEST_SUITE_P(EachFileEachWay, StartUpWithABadFile,
                         testing::Combine(testing::ValuesIn(kFiles), testing::ValuesIn(BadFileKinds())),
                         [](const testing::TestParamInfo<std::tuple<const char*, BadFile>>& info) {
                             std::string file = std::get<0>(info.param);
                             return file.substr(0, file.find('.')) + std::get<1>(info.param).kind;
                         });

TEST_F(StartUp, FilesThatAreFineSayNothing) {
    EXPECT_EQ(Start(), "");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(StartUp, TheLargestInstallationIsReadWhole) {
    const LargeFiles files = LargestInstallation();
    dir.Write("system.xml", files.system);
    dir.Write("matrix.xml", files.matrix);
    EXPECT_EQ(Start(), "");
    EXPECT_TRUE(boxes.Boxes().empty());
    CMatrixMgr* matrices = CWallModel::GetInstance()->GetMatrixMgr();
    EXPECT_EQ(matrices->End(), 64u);
    EXPECT_EQ(matrices->GetAt(63)->GetChannelTable()->GetName(1024), "\xC9\xE3\xCF\xF1\xBB\xFA 1024");
}

TEST_F(StartUp, EveryFileThatCouldNotBeUsedIsInOneMessageInTheOrderTheyAreRead) {
    MakeBadFile(dir.Dir().Path(), "matrix.xml", "Pipe");
    MakeBadFile(dir.Dir().Path(), "system.xml", "Cut");
    MakeBadFile(dir.Dir().Path(), "command.xml", "Missing");
    Start();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const std::string& text = boxes.Boxes()[0].text;
    const size_t command = text.find("\ncommand.xml is missing.");
    const size_t system = text.find("\nsystem.xml is not valid XML at line ");
    const size_t matrix = text.find("\nmatrix.xml is not an ordinary file.");
    EXPECT_LT(command, system);
    EXPECT_LT(system, matrix);
    EXPECT_NE(matrix, std::string::npos);
    EXPECT_EQ(text.substr(text.rfind('\n')), "\nThe files are left as they are.");
}

namespace {

// Runs the reading once for each allocation it makes, that allocation failing as if the memory had run out. The
// check tells whether what came out is sound, and whether the failure was reported; a failure must be reported
// unless it lets the exception through, as the making of the object that reads may. Run in a child process: the
// parser loses what it was building when an allocation fails.
struct Failures {
    int reported = 0;
    int escaped = 0;
    bool sound = true;
};

Failures FailEachAllocationOf(const std::function<void()>& prepare, const std::function<void()>& read,
                              const std::function<bool(bool& reported)>& check) {
    Failures failures;
    // Once first, so that what is made once a process (the settings holder) is not counted.
    prepare();
    read();
    prepare();
    StartCountingAllocations();
    read();
    const int allocations = StopCountingAllocations();
    for (int n = 1; n <= allocations + 1; ++n) {
        prepare();
        FailAllocation(n);
        try {
            read();
        } catch (const std::bad_alloc&) {
            StopCountingAllocations();
            ++failures.escaped;
            continue;
        }
        StopCountingAllocations();
        bool reported = false;
        if (!check(reported)) {
            std::fprintf(stderr, "allocation %d of %d failing: what was read is not sound\n", n, allocations);
            failures.sound = false;
        }
        failures.reported += reported ? 1 : 0;
    }
    std::fprintf(stderr, "%d allocations: %d failures reported, %d let through\n", allocations, failures.reported,
                 failures.escaped);
    failures.sound = failures.sound && failures.reported + failures.escaped == allocations;
    return failures;
}

} // namespace

TEST_F(StartUp, RunningOutOfMemoryWhileAFileIsParsedIsAFailedLoadSaidAsSuch) {
    const ForkedOutcome outcome = RunForked(
        [] {
            TiXmlDocument document;
            XmlLoadStatus status;
            bool loaded = false;
            const Failures failures = FailEachAllocationOf(
                [&] { document.Clear(); }, [&] { loaded = LoadXmlFile(document, "system.xml", &status); },
                [&](bool& reported) {
                    reported = status.fault == XmlLoadFault::kOutOfMemory;
                    if (loaded)
                        return status.fault == XmlLoadFault::kNone && document.RootElement() != nullptr;
                    return reported && !document.FirstChild() &&
                           XmlLoadStatusText(status) == "could not be read: the memory ran out";
                });
            return failures.sound && failures.escaped == 0 ? 0 : 1;
        },
        300);
    EXPECT_TRUE(outcome.Passed()) << outcome.Describe();
}

TEST_F(StartUp, RunningOutOfMemoryWhileTheMatricesAreBuiltLeavesNoneAndWritesNothing) {
    const std::string matrixFile = dir.Read("matrix.xml");
    const ForkedOutcome outcome = RunForked(
        [&] {
            std::unique_ptr<CMatrixMgr> manager;
            const Failures failures = FailEachAllocationOf(
                [&] { manager.reset(); }, [&] { manager = std::make_unique<CMatrixMgr>(nullptr); },
                [&](bool& reported) {
                    reported = manager->GetLoadStatus().fault == XmlLoadFault::kOutOfMemory;
                    if (!reported)
                        return manager->GetLoadStatus().fault == XmlLoadFault::kNone &&
                               manager->Begin() != manager->End();
                    // Nothing half read is worked with, nor written back.
                    CMatrix matrix("M", 0);
                    MessageBoxRecorder refusal;
                    return manager->Begin() == manager->End() && manager->SaveMatrix("M", &matrix) == -1;
                });
            // Only the making of the manager, its reader and its document may let the failure through.
            return failures.sound && failures.escaped <= 3 ? 0 : 1;
        },
        300);
    EXPECT_TRUE(outcome.Passed()) << outcome.Describe();
    EXPECT_EQ(dir.Read("matrix.xml"), matrixFile);
}

TEST_F(StartUp, RunningOutOfMemoryWhileTheCommandsAreReadLeavesTheMapAsItWas) {
    const ForkedOutcome outcome = RunForked(
        [] {
            CCommandMap map;
            const Failures failures = FailEachAllocationOf(
                [&] {
                    map = CCommandMap();
                    map.Add("M-MENU", 99, FALSE, 0);
                },
                [&] { map.Load("command.xml"); },
                [&](bool& reported) {
                    reported = map.GetLoadStatus().fault == XmlLoadFault::kOutOfMemory;
                    const size_t count = map.GetCount();
                    const bool read = map.Lookup("M-MENU").code != 99;
                    return reported ? !read && count == 1 : read && count > 50;
                });
            return failures.sound && failures.escaped == 0 ? 0 : 1;
        },
        300);
    EXPECT_TRUE(outcome.Passed()) << outcome.Describe();
}
