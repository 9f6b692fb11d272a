// Configuration files an operator's machine may hand over, broken in every way a generator thinks of, and the
// ones it once found: the core must start on each, work and save without a crash, a hang, a sanitizer report,
// a file written over or a check of the drill broken. Each case runs in a process of its own with a time limit.

#include "tests/core/HostileFiles.h"
#include "tests/core/ForkedRun.h"
#include "tests/core/StartUpDrill.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

#ifndef VELTRANO_SOURCE_DIR
#error "VELTRANO_SOURCE_DIR must name the source tree"
#endif

namespace {

constexpr int kShards = 8;
constexpr uint64_t kDefaultSeed = 1011;
// Far above what a case takes even under the sanitizers: only a hang reaches it.
constexpr unsigned kCaseTimeLimitSeconds = 60;

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// Cases make and remove thousands of small files: in memory where the machine offers it, they cost little.
std::string CaseFolderRoot() {
    if (access("/dev/shm", W_OK | X_OK) == 0)
        return "/dev/shm";
    return std::filesystem::temp_directory_path().string();
}

ForkedOutcome RunInFolderOfItsOwn(const std::function<void(const std::string&)>& fill) {
    std::string folder = CaseFolderRoot() + "/veltrano-case-XXXXXX";
    if (!mkdtemp(folder.data())) {
        ForkedOutcome failed;
        failed.exitCode = -1;
        return failed;
    }
    fill(folder);
    const ForkedOutcome outcome = RunForked([&] { return RunStartUpDrill(folder); }, kCaseTimeLimitSeconds);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return outcome;
}

// Keeps the files of a failed case where a developer finds them, as a regression folder: the files that differ
// from the samples, and a note "sparse" of a file to stretch and its size.
std::string KeepFailure(uint64_t seed, uint64_t index, const ConfigurationFiles& files,
                        const ConfigurationFiles& samples) {
    const char* root = std::getenv("VELTRANO_HOSTILE_KEEP");
    const std::string folder = std::string(root && *root ? root : "hostile-failures") + "/seed-" +
                               std::to_string(seed) + "-case-" + std::to_string(index);
    std::filesystem::create_directories(folder);
    const std::pair<const char*, std::pair<const std::string*, const std::string*>> texts[] = {
        {"command.xml", {&files.command, &samples.command}},
        {"system.xml", {&files.system, &samples.system}},
        {"matrix.xml", {&files.matrix, &samples.matrix}}};
    for (const auto& [name, text] : texts)
        if (*text.first != *text.second)
            std::ofstream(folder + "/" + name, std::ios::binary) << *text.first;
    if (!files.sparseFile.empty())
        std::ofstream(folder + "/sparse") << files.sparseFile << " " << files.sparseSize << "\n";
    return std::filesystem::absolute(folder).string();
}

const std::string kFixtures = std::string(VELTRANO_SOURCE_DIR) + "/tests/fixtures/hostile";

std::vector<std::string> FixtureNames() {
    std::vector<std::string> names;
    if (DIR* dir = opendir(kFixtures.c_str())) {
        while (const dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A regression folder holds the files that differ from the samples in res/. A note "missing" lists files that
// are not there at all; a note "sparse" names a file to stretch and its size ("system.xml 209715200").
void CopyFixture(const std::string& name, const std::string& folder) {
    const std::string from = kFixtures + "/" + name;
    WriteConfiguration(folder, SampleConfiguration());
    for (const char* file : {"command.xml", "system.xml", "matrix.xml"})
        if (std::filesystem::exists(from + "/" + file))
            std::filesystem::copy_file(from + "/" + file, folder + "/" + file,
                                       std::filesystem::copy_options::overwrite_existing);
    std::ifstream missing(from + "/missing");
    for (std::string file; missing >> file;)
        std::filesystem::remove(folder + "/" + file);
    std::ifstream sparse(from + "/sparse");
    std::string file;
    long long size = 0;
    if (sparse >> file >> size)
        std::filesystem::resize_file(folder + "/" + file, static_cast<uintmax_t>(size));
}

} // namespace

class HostileFiles : public ::testing::TestWithParam<int> {};

TEST_P(HostileFiles, NeitherCrashNorHangNorLoseAFile) {
    const uint64_t seed = EnvNumber("VELTRANO_HOSTILE_SEED", kDefaultSeed);
    const uint64_t cases = EnvNumber("VELTRANO_HOSTILE_CASES", 2000);
    const ConfigurationFiles samples = SampleConfiguration();
    uint64_t run = 0;
    uint64_t failures = 0;
    for (uint64_t index = static_cast<uint64_t>(GetParam()); index < cases; index += kShards) {
        const ConfigurationFiles files = MakeHostileCase(seed, index, samples);
        const ForkedOutcome outcome =
            RunInFolderOfItsOwn([&](const std::string& folder) { WriteConfiguration(folder, files); });
        ++run;
        if (!outcome.Passed()) {
            ++failures;
            ADD_FAILURE() << "case " << index << " of seed " << seed << " " << outcome.Describe()
                          << "; its files are kept in " << KeepFailure(seed, index, files, samples);
        }
    }
    std::printf("hostile files, seed %llu, shard %d of %d: cases: %llu, failures: %llu\n",
                static_cast<unsigned long long>(seed), GetParam(), kShards, static_cast<unsigned long long>(run),
                static_cast<unsigned long long>(failures));
}

INSTANTIATE_TEST_SUITE_P(Shards, HostileFiles, ::testing::Range(0, kShards));

class FoundHostileFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(FoundHostileFiles, StayHarmless) {
    const ForkedOutcome outcome =
        RunInFolderOfItsOwn([&](const std::string& folder) { CopyFixture(GetParam(), folder); });
    EXPECT_TRUE(outcome.Passed()) << GetParam() << " " << outcome.Describe();
}

INSTANTIATE_TEST_SUITE_P(Regressions, FoundHostileFiles, ::testing::ValuesIn(FixtureNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });
