// Running telvia-sample from the build's program folder, and one installed sample shared by
// the tests that read what it wrote.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "TempDir.h"
#include "TextFiles.h"

using telvia::test::TempDir;

namespace sample_test {

namespace fs = std::filesystem;

// Where the build puts its programs: $TELVIA_BIN_DIR when set, else the folder this test
// was configured with.
inline fs::path bin_dir() {
    const char* dir = std::getenv("TELVIA_BIN_DIR");
    return dir && *dir ? fs::path(dir) : fs::path(TELVIA_SAMPLE_BIN_DIR);
}

struct RunResult {
    int status = -1;
    std::string output;  // stdout and stderr together
};

inline std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline RunResult run_sample(const std::vector<std::string>& args) {
    std::string cmd = quote((bin_dir() / "telvia-sample").string());
    for (const auto& a : args) cmd += " " + quote(a);
    cmd += " 2>&1";
    RunResult r;
    std::FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) r.output.append(buf, n);
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

// One run of the program, shared by the tests that read what it installed.
class InstalledSample : public ::testing::Test {
protected:
    static constexpr int kSubscribers = 20000;

    static void SetUpTestSuite() {
        if (!fs::exists(bin_dir() / "zendari-build")) return;
        dir_ = std::make_unique<TempDir>();
        root_ = dir_->path() / "sample";
        result_ =
            std::make_unique<RunResult>(run_sample({"--subscribers", std::to_string(kSubscribers),
                                                    "--seed", "4", "--out", root_.string()}));
    }
    static void TearDownTestSuite() {
        result_.reset();
        dir_.reset();
    }
    void SetUp() override {
        if (!result_) GTEST_SKIP() << "zendari-build is not built";
        ASSERT_EQ(result_->status, 0) << result_->output;
    }
    static const fs::path& root() { return root_; }

private:
    inline static std::unique_ptr<TempDir> dir_;
    inline static fs::path root_;
    inline static std::unique_ptr<RunResult> result_;
};

}  // namespace sample_test
