// A small directory CD built by zendari-build for each test, and a control engine over it
// with a recording host. The process-wide readers are reset before each test.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "TestFiles.h"
#include "data/Cp949.h"
#include "scan/ProcessReaders.h"
#include "scan/ZendariCore.h"

namespace zendari::test {

inline std::string cp949(std::string_view utf8) {
    return *utf8_to_cp949(utf8);
}
inline std::string utf8(std::string_view cp949_text) {
    return cp949_to_utf8(cp949_text).value_or("<not CP949>");
}

// One listing line; the fields in the builder's column order.
struct Row {
    std::string name, dong, area = "02", exchange = "123", line = "4567", suffix = "0",
                            lot_main = "0", lot_sub = "0", postal = "100011", detail = "d";
};

inline std::string listing_line(const Row& r) {
    return r.name + "\t" + r.dong + "\t" + r.area + "\t" + r.exchange + "\t" + r.line + "\t" +
           r.suffix + "\t" + r.lot_main + "\t" + r.lot_sub + "\t" + r.postal + "\t" + r.detail +
           "\n";
}

inline const char* kTestDongs =
    "dong_code\tpostal_code\tname\n"
    "10010101\t110011\t서울 종로구 청운동\n"
    "10010102\t110012\t서울 종로구 신교동\n"
    "10020101\t110021\t서울 중구 소공동\n"
    "11020103\t612020\t부산 해운대구 우동\n";

class EngineTest : public ::testing::Test {
protected:
    // Builds the CD from `listings` (body lines), points WINDIR at it, resets the readers and
    // makes a fresh engine. Returns false (with a failure) when the builder refuses.
    void build_cd(const std::string& listings, const std::string& dongs = kTestDongs) {
        write_file(dir_ / "listings.tsv",
                   "name\tdong_code\tarea_code\texchange\tline\tsuffix\tlot_main\tlot_sub\tpostal_"
                   "code\tdetail\n" +
                       listings);
        write_file(dir_ / "dongs.tsv", dongs);
        std::filesystem::remove_all(cd());
        const std::string command = std::string(ZENDARI_BUILD_EXE) + " --listings " +
                                    (dir_ / "listings.tsv") + " --dongs " + (dir_ / "dongs.tsv") +
                                    " --out " + cd() + " 2>" + (dir_ / "err");
        ASSERT_EQ(std::system(command.c_str()), 0) << read_file(dir_ / "err");
        setenv("WINDIR", cd().c_str(), 1);
        restart();
    }
    void build_rows(const std::vector<Row>& rows) {
        std::string body;
        for (const Row& r : rows) body += listing_line(r);
        build_cd(body);
    }
    // As if the process started again: fresh readers, a fresh engine and host.
    void restart() {
        reset_process_readers_for_testing();
        core_.reset();
        host_ = std::make_unique<RecordingHost>();
        core_ = std::make_unique<ZendariCore>(*host_);
    }
    void init_and_select(std::int32_t region = 10) {
        core_->set_init_db(1);
        ASSERT_EQ(core_->init_db(), 1);
        core_->set_local(region);
        ASSERT_EQ(core_->local(), region);
    }
    // The CD's auxiliary files removed: the readers must answer the same without them.
    void remove_auxiliary_files() {
        std::vector<std::filesystem::path> doomed;
        for (const auto& e : std::filesystem::recursive_directory_iterator(cd())) {
            if (e.path().extension() == ".lof" || e.path().extension() == ".pst")
                doomed.push_back(e.path());
        }
        for (const auto& p : doomed) std::filesystem::remove(p);
    }
    void TearDown() override {
        core_.reset();
        reset_process_readers_for_testing();
    }
    std::string cd() const { return dir_ / "cd"; }

    TempDir dir_;
    std::unique_ptr<RecordingHost> host_;
    std::unique_ptr<ZendariCore> core_;
};

}  // namespace zendari::test
