// The CD as a whole when the control opens it: master and filter files that hold fewer or
// more records than the indexes name are refused, outside data that is not a regular file
// never holds the control, the reasons go to standard error while the boxes keep their
// texts, and a CD rebuilt under a running control is never read beside the one it opened.
#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "EngineFixture.h"

namespace zendari::test {
namespace {

namespace fs = std::filesystem;

std::vector<Row> three_names() {
    std::vector<Row> rows;
    for (int i = 0; i < 3; ++i) rows.push_back({.name = "A", .dong = "10010101"});
    for (int i = 0; i < 2; ++i) rows.push_back({.name = "B", .dong = "10010102"});
    rows.push_back({.name = "C", .dong = "11020103", .area = "051"});
    return rows;
}

class OpenedCd : public EngineTest {
protected:
    fs::path file(const char* relative) const { return fs::path(cd()) / relative; }
    // InitDB = 1 with standard error captured; what it printed.
    std::string init() {
        testing::internal::CaptureStderr();
        core_->set_init_db(1);
        return testing::internal::GetCapturedStderr();
    }
    std::string last_message() const {
        return host_->messages.empty() ? "" : utf8(host_->messages.back().text);
    }
};

TEST_F(OpenedCd, MasterAndFilterMustHoldTheRecordsTheIndexesName) {
    build_rows(three_names());
    const std::string master = read_file(file("data/names.rec"));
    const std::string filter = read_file(file("index/names.flt"));
    ASSERT_EQ(master.size(), 6 * kRecordSize);
    struct Case {
        const char* path;
        std::string bytes;
        const char* said;
    };
    const std::vector<Case> cases = {
        {"data/names.rec", "", "holds 0 records where the region indexes name 6"},
        {"data/names.rec", master.substr(0, 5 * kRecordSize), "holds 5 records"},
        {"data/names.rec", master + master, "holds 12 records"},
        {"data/names.rec", master.substr(0, 90), "90 bytes is not a whole number of 16-byte"},
        {"index/names.flt", "", "holds 0 records"},
        {"index/names.flt", filter.substr(0, 20), "holds 5 records"},
        {"index/names.flt", filter + "x", "25 bytes is not a whole number of 4-byte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + ": " + c.said);
        const std::string intact = read_file(file(c.path));
        write_file(file(c.path).string(), c.bytes);
        restart();
        const std::string err = init();
        EXPECT_EQ(core_->init_db(), -1);
        EXPECT_EQ(last_message(), "인명 초기화 실패");
        EXPECT_NE(err.find(file(c.path).string() + ": " + c.said), std::string::npos) << err;
        write_file(file(c.path).string(), intact);
    }
    // A region index that is missing leaves the others to tell how many records there are
    // at least; the region says so itself when it is selected.
    fs::remove(file("index/PUSAN.ndx"));
    restart();
    const std::string err = init();
    EXPECT_EQ(core_->init_db(), 1);
    EXPECT_EQ(err, "Zendari: " + file("index/PUSAN.ndx").string() +
                       ": missing (the CD's manifest lists it)\n");
}

// Beyond the format, the builder's manifest lists every file's size: a file cut short is
// refused by name, even one the record counts cannot tell (a block file).
TEST_F(OpenedCd, WithAManifestEveryFileMustHaveItsSize) {
    build_rows(three_names());
    const std::string block = read_file(file("data/10_1.dll"));
    write_file(file("data/10_1.dll").string(), block.substr(0, block.size() - 3));
    restart();
    std::string err = init();
    EXPECT_EQ(core_->init_db(), -1);
    EXPECT_EQ(last_message(), "인명 초기화 실패");
    EXPECT_NE(err.find(file("data/10_1.dll").string() + ": " + std::to_string(block.size() - 3) +
                       " bytes where the CD's manifest says " + std::to_string(block.size())),
              std::string::npos)
        << err;

    // An auxiliary file of another size is left to its reader, which does without it.
    write_file(file("data/10_1.dll").string(), block);
    write_file(file("data/10_1.lof").string(), "short");
    restart();
    EXPECT_EQ(init(), "");
    EXPECT_EQ(core_->init_db(), 1);

    // A damaged manifest is said and not used.
    std::string manifest = read_file(file("index/cd.manifest"));
    manifest[manifest.find("names.rec") + 2] ^= 1;
    write_file(file("index/cd.manifest").string(), manifest);
    restart();
    err = init();
    EXPECT_EQ(core_->init_db(), 1);
    EXPECT_NE(err.find("cd.manifest: damaged"), std::string::npos) << err;
}

// Reads outside data in a thread: a reader that waits on a FIFO fails the test instead of
// hanging it (and is let go by opening the FIFO's other end).
template <typename F>
void within_seconds(const std::vector<fs::path>& fifos, F&& work) {
    auto done = std::async(std::launch::async, std::forward<F>(work));
    if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "a reader is still waiting on a FIFO";
        for (int round = 0; round < 50 && done.wait_for(std::chrono::milliseconds(100)) !=
                                              std::future_status::ready;
             ++round) {
            for (const auto& f : fifos) {
                const int fd = ::open(f.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
            }
        }
    }
    done.get();
}

TEST_F(OpenedCd, AFifoInPlaceOfAFileIsRefusedWithoutWaiting) {
    build_rows(three_names());
    for (const char* relative : {"index/names.flt", "index/SEOUL.ndx", "data/10_1.dll",
                                 "data/names.rec", "index/dong.cod", "Quenby.INI"}) {
        SCOPED_TRACE(relative);
        const fs::path path = file(relative);
        const std::string intact = read_file(path.string());
        fs::remove(path);
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        restart();
        std::string err;
        within_seconds({path}, [&] {
            testing::internal::CaptureStderr();
            core_->set_init_db(1);
            core_->set_local(10);
            if (core_->find_key("A") && core_->set_result(1, 1)) (void)core_->get_result();
            err = testing::internal::GetCapturedStderr();
        });
        EXPECT_NE(err.find(path.string() + ": a FIFO"), std::string::npos) << err;
        fs::remove(path);
        write_file(path.string(), intact);
    }
}

TEST_F(OpenedCd, TheReasonGoesToStandardErrorBesideTheBox) {
    build_rows(three_names());
    fs::remove(file("index/names.flt"));
    std::string err = init();
    EXPECT_EQ(core_->init_db(), -1);
    EXPECT_EQ(last_message(), "인명 초기화 실패");  // the box keeps its text
    EXPECT_NE(err.find(file("index/names.flt").string() + ": no such file"), std::string::npos)
        << err;

    // Quenby.INI missing, then a folder in its place: the boxes as before, no crash.
    TempDir windows;
    setenv("WINDIR", windows.path().c_str(), 1);
    restart();
    err = init();
    EXPECT_EQ(core_->init_db(), -1);
    EXPECT_EQ(utf8(host_->messages.front().text), "Path가 올바르지 않습니다. [CHrec::Init]");
    EXPECT_NE(err.find((windows.path() / "Quenby.INI").string() + ": no such file"),
              std::string::npos)
        << err;
    fs::create_directory(windows.path() / "Quenby.INI");
    restart();
    err = init();
    EXPECT_EQ(core_->init_db(), -1);
    EXPECT_NE(err.find("Quenby.INI: a folder"), std::string::npos) << err;
}

// A control that has a CD open goes on with that CD or says it changed; it never answers
// from the new index with the old master file.
TEST_F(OpenedCd, ACdRebuiltUnderTheControlIsNeverMixedWithTheOpenedOne) {
    build_rows(three_names());
    init_and_select(10);
    ASSERT_TRUE(core_->find_key("B"));
    ASSERT_EQ(core_->get_next(), "B:4:2:");
    core_->set_local(10);
    const std::string page = core_->get_loc_next("10010102", 100);
    ASSERT_NE(page.find("B:"), std::string::npos) << page;

    // The same folder rebuilt: other people, other records under the same names.
    std::vector<Row> others;
    for (int i = 0; i < 4; ++i) others.push_back({.name = "AA", .dong = "10010101"});
    others.push_back({.name = "B", .dong = "10010102", .exchange = "999"});
    const std::string body = [&] {
        std::string b;
        for (const Row& r : others) b += listing_line(r);
        return b;
    }();
    write_file(dir_ / "listings.tsv",
               "name\tdong_code\tarea_code\texchange\tline\tsuffix\tlot_main\tlot_sub\tpostal_"
               "code\tdetail\n" +
                   body);
    const std::string command = std::string(ZENDARI_BUILD_EXE) + " --listings " +
                                (dir_ / "listings.tsv") + " --dongs " + (dir_ / "dongs.tsv") +
                                " --out " + cd() + " 2>" + (dir_ / "err");
    ASSERT_EQ(std::system(command.c_str()), 0) << read_file(dir_ / "err");

    testing::internal::CaptureStderr();
    core_->set_local(10);
    std::string seen;
    if (core_->local() == 10 && core_->find_key("B")) {
        seen = core_->get_next();
        if (core_->set_result(4, 1)) seen += core_->get_result();
    }
    // The region selected again keeps answering from the opened CD, without looking at the
    // folders (B is records 4-5 there, exchange 123)...
    ASSERT_EQ(core_->local(), 10);
    EXPECT_EQ(seen.substr(0, 6), "B:4:2:") << seen;
    EXPECT_EQ(seen.find("999"), std::string::npos) << seen;
    // A dong page too, detail lines included: the blocks the scans loaded are the CD's.
    core_->set_local(10);
    (void)core_->get_loc_next("0", 0);  // another place: the dong starts over
    core_->set_local(10);
    EXPECT_EQ(core_->get_loc_next("10010102", 100), page);
    // ...and a region whose index must be opened anew is refused: it is not the CD's.
    core_->set_local(11);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(core_->local(), -1);
    EXPECT_EQ(last_message(), "PUSAN 인덱스가 없습니다 !");
    EXPECT_NE(err.find("the CD changed"), std::string::npos) << err;
    // Started again, the control reads the new CD.
    restart();
    init_and_select(10);
    ASSERT_TRUE(core_->find_key("B"));
    EXPECT_EQ(core_->get_next(), "B:5:1:");
}

}  // namespace
}  // namespace zendari::test
