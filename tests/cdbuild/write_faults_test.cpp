// zendari-build when the disk fails or the process is killed at each change it makes in turn:
// a failed build says why and leaves DIR (and the folder around it) as it was; a build that
// got past the switch leaves the whole new CD; at no instant does DIR hold anything else, and
// the next build removes what a killed one left.
#include <filesystem>
#include <map>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Build.h"
#include "Disk.h"
#include "OutputFolder.h"
#include "TestFiles.h"
#include "data/OpenedCd.h"
#include "data/TelEnvironment.h"

namespace zendari::build {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHeader =
    "name\tdong_code\tarea_code\texchange\tline\tsuffix\tlot_main\tlot_sub\tpostal_code\tdetail\n";
constexpr const char* kDongs =
    "dong_code\tpostal_code\tname\n"
    "10010101\t110011\t서울 종로구 청운동\n"
    "11020103\t612020\t부산 해운대구 우동\n";

// Hundreds of builds: in memory where the system offers a folder there, since each build
// syncs Quenby.INI to the disk before the rename that makes it DIR's.
std::filesystem::path fast_folder() {
    return ::access("/dev/shm", W_OK) == 0 ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
}

// Every entry under `dir` (hidden ones too) with its bytes; folders as "<folder>".
using Tree = std::map<std::string, std::string>;
Tree tree_of(const fs::path& dir) {
    Tree tree;
    if (!fs::exists(dir)) return tree;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const std::string name = fs::relative(e.path(), dir).string();
        tree[name] = e.is_directory() ? "<folder>" : test::read_file(e.path().string());
    }
    return tree;
}

class WriteFaults : public ::testing::Test {
protected:
    void SetUp() override {
        test::write_file(dir_ / "dongs.tsv", kDongs);
        test::write_file(dir_ / "old.tsv", std::string(kHeader) +
                                               "가\t10010101\t02\t1\t1\t0\t0\t0\t110011\told\n"
                                               "나\t11020103\t051\t2\t2\t0\t0\t0\t612020\t\n");
        test::write_file(dir_ / "new.tsv", std::string(kHeader) +
                                               "다\t10010101\t02\t3\t3\t0\t0\t0\t110011\tnew\n"
                                               "라\t10010101\t02\t4\t4\t0\t0\t0\t110011\t\n"
                                               "마\t11020103\t051\t5\t5\t0\t0\t0\t612020\tx\n");
    }
    void TearDown() override { disk_fault_at(0); }

    fs::path root() const { return dir_.path() / "cd"; }

    BuildRun build(const char* listings) {
        OutputFolder folder(root());
        std::string why;
        if (!folder.usable(why)) {
            BuildRun refused;
            refused.result = BuildResult::kNotWritten;
            refused.message = why;
            return refused;
        }
        folder.remove_leftovers();
        return build_cd(dir_ / listings, dir_ / "dongs.tsv", folder, root(), false);
    }

    // The master file of the CD that DIR's Quenby.INI names, after checking that every file
    // of that CD is whole (the manifest's sizes and checksums); "" when DIR holds no CD.
    std::string whole_cd_master() {
        const fs::path profile = root() / "Quenby.INI";
        if (!fs::exists(profile)) return "";
        const TelEnvironment env(profile.string());
        const CdVerification v = verify_cd(env);
        EXPECT_TRUE(v.manifest_usable);
        EXPECT_TRUE(v.problems.empty()) << v.problems.front();
        return test::read_file(env.data_file_path("인명"));
    }

    test::TempDir dir_{fast_folder()};
};

// A full disk at every change of three builds: of a new DIR, into an empty DIR, and over an
// earlier CD.
TEST_F(WriteFaults, AFullDiskAtAnyWriteLeavesDirAsItWas) {
    enum Start { kNoFolder, kEmptyFolder, kEarlierCd };
    for (const Start start : {kNoFolder, kEmptyFolder, kEarlierCd}) {
        SCOPED_TRACE(start);
        fs::remove_all(root());
        if (start == kEmptyFolder) fs::create_directory(root());
        std::string old_master;
        if (start == kEarlierCd) {
            ASSERT_EQ(build("old.tsv").result, BuildResult::kDone);
            old_master = whole_cd_master();
            ASSERT_FALSE(old_master.empty());
        }
        const Tree before = tree_of(dir_.path());
        // The changes a whole build makes (counted on a copy, so DIR stays as it was), then
        // each of them failing in turn.
        disk_fault_at(0);
        std::uint64_t total = 0;
        {
            test::TempDir counting(fast_folder());
            fs::copy(dir_.path(), counting.path(), fs::copy_options::recursive);
            OutputFolder folder(counting.path() / "cd");
            std::string why;
            ASSERT_TRUE(folder.usable(why)) << why;
            ASSERT_EQ(build_cd(counting / "new.tsv", counting / "dongs.tsv", folder,
                               counting.path() / "cd", false)
                          .result,
                      BuildResult::kDone);
            total = disk_changes();
        }
        ASSERT_GT(total, 20u);
        std::string new_master;
        for (std::uint64_t n = 1; n <= total; ++n) {
            SCOPED_TRACE("change " + std::to_string(n) + " of " + std::to_string(total));
            disk_fault_at(n);
            const BuildRun run = build("new.tsv");
            disk_fault_at(0);
            if (run.result == BuildResult::kNotWritten) {
                EXPECT_NE(run.message.find("No space left on device"), std::string::npos)
                    << run.message;
                EXPECT_EQ(tree_of(dir_.path()), before);
                continue;
            }
            // Past the switch: the new CD is whole, perhaps under its generation name.
            ASSERT_EQ(run.result, BuildResult::kDone) << run.message;
            const std::string master = whole_cd_master();
            EXPECT_NE(master, old_master);
            if (new_master.empty()) new_master = master;
            EXPECT_EQ(master, new_master);
            // A clean build afterwards tidies up: DIR as a build without faults leaves it.
            const BuildRun clean = build("new.tsv");
            ASSERT_EQ(clean.result, BuildResult::kDone) << clean.message;
            std::vector<std::string> top;
            for (const auto& e : fs::directory_iterator(root()))
                top.push_back(e.path().filename().string());
            std::sort(top.begin(), top.end());
            EXPECT_EQ(top, (std::vector<std::string>{"Quenby.INI", "data", "index"}));
            for (const char* sub : {"data", "index"})
                for (const auto& e : fs::directory_iterator(root() / sub))
                    EXPECT_FALSE(e.path().filename().string().starts_with(".")) << e.path();
            // Back to the starting point for the next change.
            fs::remove_all(root());
            if (start == kEmptyFolder) fs::create_directory(root());
            if (start == kEarlierCd) {
                ASSERT_EQ(build("old.tsv").result, BuildResult::kDone);
            }
            ASSERT_EQ(whole_cd_master(), old_master);
        }
    }
}

// kill -9 at every change of a build over an earlier CD, in a child process: DIR holds the
// whole earlier CD or the whole new one, and the next build succeeds and leaves nothing
// hidden behind.
TEST_F(WriteFaults, AKillAtAnyInstantLeavesOneWholeCd) {
    ASSERT_EQ(build("old.tsv").result, BuildResult::kDone);
    const std::string old_master = whole_cd_master();
    disk_fault_at(0);
    std::uint64_t total = 0;
    {
        test::TempDir counting(fast_folder());
        fs::copy(dir_.path(), counting.path(), fs::copy_options::recursive);
        OutputFolder folder(counting.path() / "cd");
        (void)build_cd(counting / "new.tsv", counting / "dongs.tsv", folder, counting.path() / "cd",
                       false);
        total = disk_changes();
    }
    std::string new_master;
    for (std::uint64_t n = 1; n <= total + 1; ++n) {
        SCOPED_TRACE("killed at change " + std::to_string(n));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            disk_fault_at(n, DiskFault::kKilled);
            const BuildRun run = build("new.tsv");
            ::_exit(run.result == BuildResult::kDone ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        EXPECT_TRUE(killed || (n > total && WIFEXITED(status) && WEXITSTATUS(status) == 0));

        const std::string master = whole_cd_master();
        if (master != old_master) {
            if (new_master.empty()) new_master = master;
            EXPECT_EQ(master, new_master);
        }
        // The next build finds what the killed one left, removes it and succeeds.
        const BuildRun again = build("old.tsv");
        ASSERT_EQ(again.result, BuildResult::kDone) << again.message;
        EXPECT_EQ(whole_cd_master(), old_master);
        for (const auto& e : fs::recursive_directory_iterator(dir_.path()))
            EXPECT_FALSE(e.path().filename().string().starts_with(".")) << e.path();
    }
    EXPECT_FALSE(new_master.empty()) << "no build got past the switch";
}

}  // namespace
}  // namespace zendari::build
