// A damaged directory CD: every file of a small CD is in turn flipped, overwritten, cut short
// or emptied, and the control is driven through all of its searches on it. Nothing may read
// outside a file (the sanitizer build runs this too), two runs on the same damage must answer
// alike, a damaged auxiliary file must be ignored so the answers stay those of the intact CD,
// and the intact CD must answer as before once the file is put back.
#include <cstdio>
#include <map>
#include <random>
#include <sstream>

#include "EngineFixture.h"

namespace zendari::test {
namespace {

const std::string kDongs = std::string(kTestDongs) + "72030101\t427010\t경기 과천시 중앙동\n";

// A few hundred subscribers over the Seoul, Busan and Gwacheon dongs, with names that repeat
// so that names carry several records, and every kind of lot, suffix and detail line.
std::string listings() {
    const char* surnames[] = {"가", "김", "나", "박", "이", "최"};
    const char* given[] = {"", "철수", "영희", "민수", "수"};
    const char* dongs[] = {"10010101", "10010102", "10020101", "11020103", "72030101"};
    std::string body;
    for (int i = 0; i < 400; ++i) {
        Row r;
        r.name = std::string(surnames[i % 6]) + given[(i / 6) % 5];
        r.dong = dongs[(i * 7) % 5];
        r.area = r.dong.starts_with("11") ? "051" : "02";
        r.exchange = std::to_string(100 + i % 900);
        r.line = std::to_string((i * 37) % 10000);
        r.suffix = std::to_string(i % 4 == 0 ? i % 7 : 0);
        r.lot_main = std::to_string(i % 3 == 0 ? 0 : i);
        r.lot_sub = std::to_string(i % 5 == 0 ? i % 11 : 0);
        r.detail = i % 9 == 0 ? "" : "아파트 " + std::to_string(i) + "동";
        body += listing_line(r);
    }
    return body;
}

enum class Damage { FlipBytes, OverwriteWord, CutShort, Empty };

std::string damaged(std::string bytes, Damage how, std::mt19937& random) {
    if (bytes.empty()) return "junk";
    std::uniform_int_distribution<std::size_t> at(0, bytes.size() - 1);
    switch (how) {
        case Damage::FlipBytes:
            for (int k = 0; k < 8; ++k) bytes[at(random)] ^= static_cast<char>(1 + random() % 255);
            return bytes;
        case Damage::OverwriteWord: {
            // A counter, an offset or a record number turned into a large or negative value.
            const std::uint32_t values[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 100001};
            const std::uint32_t v = values[random() % 6];
            const std::size_t p = at(random) & ~std::size_t{3};
            for (std::size_t k = 0; k < 4 && p + k < bytes.size(); ++k)
                bytes[p + k] = static_cast<char>(v >> (8 * k));
            return bytes;
        }
        case Damage::CutShort:
            bytes.resize(at(random));
            return bytes;
        case Damage::Empty:
            return {};
    }
    return bytes;
}

class DamagedCd : public EngineTest {
protected:
    void SetUp() override {
        build_cd(listings(), kDongs);
        for (const auto& e : std::filesystem::recursive_directory_iterator(cd())) {
            if (e.is_regular_file() && e.path().filename() != "Quenby.INI")
                intact_[e.path().string()] = read_file(e.path().string());
        }
    }

    // Every search of the control in one pass, its answers and messages written down.
    std::string transcript() {
        restart();
        std::ostringstream t;
        core_->set_init_db(1);
        t << "init " << core_->init_db() << '\n';
        for (const std::int32_t region : {10, 11, 7203, 17}) {
            core_->set_local(region);
            t << "local " << core_->local() << '\n';
            for (const char* key : {"", "가", "김", "김철", "박수", "힣힣"}) {
                t << "find " << core_->find_key(cp949(key)) << '\n';
                for (int n = 0; n < 12; ++n) {
                    const std::string entry = core_->get_next();
                    t << entry << '\n';
                    if (entry == "vbROF") break;
                    int first = 0, count = 0;
                    if (std::sscanf(entry.c_str(), "%*[^:]:%d:%d:", &first, &count) == 2)
                        list_records(t, first, count);
                }
            }
            // Windows outside the master file and its filter file.
            for (const auto& [rep, cnt] : {std::pair{0, 1}, {-3, 2}, {399, 5}, {100001, 2}})
                list_records(t, rep, cnt);
            for (const char* loc : {"10010101", "100101", "1002", "72030101", "99999999"})
                t << core_->get_all_result(loc) << '\n';
            for (int page = 0; page < 3; ++page) t << core_->get_loc_next("100101", 40) << '\n';
            t << core_->get_loc_next("11020103", 1000) << '\n';
            t << core_->get_loc_sung("10010101", 1000, cp949("김")) << '\n';
        }
        for (const auto& m : host_->messages) t << "message " << m.caption << ' ' << m.text << '\n';
        return t.str();
    }
    void list_records(std::ostringstream& t, int first, int count) {
        t << "result " << core_->set_result(first, count) << '\n';
        for (int k = 0; k <= std::min(count, 30); ++k) t << core_->get_result() << '\n';
    }
    void put_back() {
        for (const auto& [path, bytes] : intact_) write_file(path, bytes);
    }
    static bool auxiliary(const std::string& path) {
        return path.ends_with(".lof") || path.ends_with(".pst");
    }

    std::map<std::string, std::string> intact_;
};

TEST_F(DamagedCd, EveryFileDamagedEveryWay) {
    const std::string baseline = transcript();
    ASSERT_NE(baseline.find("init 1"), std::string::npos);
    ASSERT_EQ(host_->messages.size(), 1u);  // region code 17 has no index
    ASSERT_GE(intact_.size(), 20u);  // the master, filter, block, dong and region index files
    // Every answer string on the intact CD stays as it is: the transcript itself is pinned.
    EXPECT_EQ(baseline.size(), 239841u);
    EXPECT_EQ(digest(baseline), 15712905446454808061u);

    std::mt19937 random(20261208);
    std::map<std::string, int> changed;  // by file: the damages that changed some answer
    for (const Damage how :
         {Damage::FlipBytes, Damage::OverwriteWord, Damage::CutShort, Damage::Empty}) {
        for (int round = 0; round < 3; ++round) {
            for (const auto& [path, bytes] : intact_) {
                SCOPED_TRACE(path + " damage " + std::to_string(static_cast<int>(how)) + " round " +
                             std::to_string(round));
                restart();  // no reader keeps the file mapped while it changes
                write_file(path, damaged(bytes, how, random));
                const std::string first = transcript();
                EXPECT_EQ(transcript(), first);
                if (auxiliary(path)) {
                    EXPECT_EQ(first, baseline);
                }
                if (first != baseline) ++changed[std::filesystem::path(path).filename()];
                restart();
                write_file(path, bytes);
            }
        }
    }
    // The damage reached the readers that every search goes through.
    for (const char* file : {"names.rec", "names.flt", "SEOUL.ndx", "PUSAN.ndx", "10_1.dll",
                             "dong.cod", "dong.idx", "dong.kwd"}) {
        EXPECT_GT(changed[file], 0) << file;
    }
    put_back();
    EXPECT_EQ(transcript(), baseline);
}

}  // namespace
}  // namespace zendari::test
