// The dong and surname scans: paging, restarts, the surname stop, cancellation, progress
// texts, and the same answers with and without the auxiliary files.
#include <cstdio>
#include <cstring>
#include <random>

#include "EngineFixture.h"
#include "index/Nodix.h"

namespace zendari::test {
namespace {

// Seoul names in key order: 가 (2 records), 김 (1), 김철수 (2), 나 (1), 박 (1).
std::vector<Row> scan_rows() {
    return {
        {.name = "가", .dong = "10010101", .detail = "g1"},
        {.name = "가", .dong = "10010102", .detail = "g2"},
        {.name = "김", .dong = "10010101", .detail = "k1"},
        {.name = "김철수", .dong = "10010101", .detail = "k2"},
        {.name = "김철수", .dong = "10020101", .detail = "k3"},
        {.name = "나", .dong = "10010101", .detail = "n1"},
        {.name = "박", .dong = "10010102", .detail = "p1"},
    };
}

std::string item(std::string_view name, std::string_view dong, std::string_view detail) {
    return cp949(std::string(name) + ":" + std::string(dong) +
                 "::02:123-4567:100011:" + std::string(detail) + "\n|");
}

const std::string kDong1 = "(110-011) 서울 종로구 청운동";
const std::string kDong2 = "(110-012) 서울 종로구 신교동";

class Scans : public EngineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        build_rows(scan_rows());
        if (!GetParam()) {
            remove_auxiliary_files();
            restart();
        }
        init_and_select();
    }
};

TEST_P(Scans, PagesContinueAndRestart) {
    EXPECT_EQ(core_->get_loc_next("10010101", 2),
              item("가", kDong1, "g1") + item("김", kDong1, "k1"));
    EXPECT_TRUE(core_->set_result(1, -1));  // a window that cannot exist harms no later scan
    EXPECT_EQ(core_->get_result(), "");
    EXPECT_EQ(core_->get_loc_next("10010101", 2),
              item("김철수", kDong1, "k2") + item("나", kDong1, "n1"));
    EXPECT_EQ(core_->get_loc_next("10010101", 2), "");  // 박, then the sentinel
    EXPECT_EQ(core_->get_loc_next("10010101", 2), "");  // on the sentinel already
    // Another location starts from the first name again.
    EXPECT_EQ(core_->get_loc_next("10010102", 1), item("가", kDong2, "g2"));
    EXPECT_EQ(core_->get_loc_next("10010101", 1), item("가", kDong1, "g1"));
    // A 6-digit location: every dong code that begins with it.
    EXPECT_EQ(core_->get_loc_next("100101", 1),
              item("가", kDong1, "g1") + item("가", kDong2, "g2"));
    // A name lookup in between moves the shared cursor; the next page goes on from there.
    EXPECT_TRUE(core_->find_key(cp949("나")));
    EXPECT_EQ(core_->get_loc_next("100101", 5),
              item("나", kDong1, "n1") + item("박", kDong2, "p1"));
    EXPECT_TRUE(host_->messages.empty());
}

TEST_P(Scans, SurnameScanStopsAfterTheSurname) {
    EXPECT_EQ(core_->get_loc_sung("10010101", 100, cp949("김")),
              item("김", kDong1, "k1") + item("김철수", kDong1, "k2"));
    ASSERT_EQ(host_->scan_titles.size(), 1u);
    EXPECT_LE(host_->step_texts.size(), 3u);  // 김, 김철수, then 나 stops the scan
    EXPECT_EQ(utf8(host_->step_texts[0]),
              "인명가입자 약1천2백만명중 김씨성을 \n\n 1 번째를 검색하고 있습니다.");
    EXPECT_EQ(utf8(host_->scan_texts[0]),
              "인명 성별 검색 중입니다.\n\n검색을 멈추시려면 취소버튼을 눌러주십시요.");
    // After a surname scan the dong scan starts from the first name.
    EXPECT_EQ(core_->get_loc_next("10010101", 1), item("가", kDong1, "g1"));
    EXPECT_EQ(core_->get_loc_sung("10010101", 1, cp949("가")), item("가", kDong1, "g1"));
    EXPECT_EQ(core_->get_loc_sung("10010101", 10, cp949("다")), "");  // the first name after is 박
}

TEST_P(Scans, ProgressAndCancellation) {
    host_->cancel_at = 2;
    EXPECT_EQ(core_->get_loc_next("10010101", 10),
              item("가", kDong1, "g1") + item("김", kDong1, "k1"));
    EXPECT_EQ(host_->step_texts.size(), 2u);  // cancelled during the second name, which completes
    EXPECT_EQ(utf8(host_->scan_titles[0]), "인명검색");
    EXPECT_EQ(utf8(host_->scan_texts[0]),
              "인명 동별검색 중입니다.\n\n검색을 멈추시려면 취소버튼을 눌러주십시요.");
    EXPECT_EQ(host_->totals[0], 10);
    EXPECT_EQ(utf8(host_->step_texts[1]),
              "인명가입자 약1천2백만명중 \n\n 2 번째를 검색하고 있습니다.");
    EXPECT_EQ(host_->ends, 1);
    host_->cancel_at = -1;
    EXPECT_EQ(core_->get_loc_next("10010101", 1),
              item("김철수", kDong1, "k2"));  // goes on after 김

    EXPECT_EQ(core_->get_loc_next("10010102", 0), "");  // cnt 0: a window shown and closed
    EXPECT_EQ(host_->ends, 3);
    EXPECT_EQ(core_->get_loc_next("10010102", 1),
              item("가", kDong2, "g2"));  // cursor on the first name
}

INSTANTIATE_TEST_SUITE_P(AuxiliaryFiles, Scans, ::testing::Bool(), [](const auto& info) {
    return info.param ? "WithPostings" : "PlainWalk";
});

// A random directory scanned with and without the auxiliary files: the same strings.
TEST_F(EngineTest, PostingsAnswerExactlyAsTheWalk) {
    std::mt19937 rng(9);
    const std::vector<std::string> dongs = {"10010101", "10010102", "10020101"};
    const std::vector<std::string> names = {"가", "가나", "김", "김민수", "김철수", "나",
                                            "박", "이",   "최", "A",      "B"};
    std::string body;
    for (int i = 0; i < 3000; ++i) {
        body += listing_line({.name = names[rng() % names.size()],
                              .dong = dongs[rng() % dongs.size()],
                              .line = std::to_string(i % 9999),
                              .detail = "row " + std::to_string(i)});
    }
    build_cd(body);
    auto run_all = [&] {
        init_and_select();
        std::vector<std::string> out;
        for (const char* loc : {"10010101", "100101", "10020101", "100201", "99999999"}) {
            for (int page = 0; page < 4; ++page) out.push_back(core_->get_loc_next(loc, 3));
            out.push_back(core_->get_loc_sung(loc, 50, cp949("김")));
            out.push_back(core_->get_loc_sung(loc, 2, cp949("가")));
        }
        return out;
    };
    const std::vector<std::string> fast = run_all();
    remove_auxiliary_files();
    restart();
    const std::vector<std::string> walk = run_all();
    EXPECT_EQ(fast, walk);
    EXPECT_NE(fast[0], "");
    EXPECT_TRUE(host_->messages.empty());
}

// A host like the control's own: it takes a run of names at once when the engine offers it,
// and cancels during name `cancel_at`.
class BatchHost : public RecordingHost {
public:
    std::int32_t batches = 0;
    std::int32_t scan_steps(std::int32_t first, std::int32_t last,
                            const std::function<std::string_view(std::int32_t)>& text_of) override {
        ++batches;
        step_texts.emplace_back(text_of(last));
        return cancel_at >= first && cancel_at <= last ? cancel_at : 0;
    }
};

// Thousands of names, so dong pages span several runs of names: the page jump, the
// per-name use of the postings and the plain walk give the same strings and leave the
// cursor in the same place, cancelled or not.
TEST_F(EngineTest, PageJumpsAnswerExactlyAsTheWalk) {
    std::mt19937 rng(21);
    const std::vector<std::string> dongs = {"10010101", "10010102", "10020101"};
    std::string body;
    for (int i = 0; i < 30000; ++i) {
        const int n = static_cast<int>(rng() % 9000);
        body += listing_line({.name = (n % 3 == 0   ? "가"
                                       : n % 3 == 1 ? "김"
                                                    : "A") +
                                      std::to_string(n),
                              .dong = dongs[rng() % dongs.size()],
                              .detail = "row " + std::to_string(i)});
    }
    build_cd(body);
    auto run_all = [&](bool batch) {
        restart();
        BatchHost batch_host;
        RecordingHost plain_host;
        ControlHost& host = batch ? static_cast<ControlHost&>(batch_host) : plain_host;
        ZendariCore core(host);
        core.set_init_db(1);
        core.set_local(10);
        std::vector<std::string> out;
        for (const char* loc : {"10010101", "100101"}) {
            for (int page = 0; page < 3; ++page) out.push_back(core.get_loc_next(loc, 5000));
            out.push_back(core.get_loc_next(loc, 0));
            out.push_back(core.get_loc_sung(loc, 4000, cp949("김")));
        }
        for (std::int32_t cancel_at : {1, 4095, 4096, 4097, 7000}) {
            batch_host.cancel_at = plain_host.cancel_at = cancel_at;
            out.push_back(core.get_loc_next("10020101", 9000));
            batch_host.cancel_at = plain_host.cancel_at = -1;
            out.push_back(core.get_loc_next("10020101", 300));  // goes on after the cancelled name
            core.get_loc_next("10010101", 0);                   // and back to the first name
        }
        EXPECT_TRUE(batch_host.messages.empty());
        EXPECT_TRUE(plain_host.messages.empty());
        if (batch) {  // runs of names, not one call per name
            EXPECT_GT(batch_host.batches, 0);
            EXPECT_LT(batch_host.batches, 200);
        }
        return out;
    };
    const std::vector<std::string> jumped = run_all(true);
    const std::vector<std::string> stepped = run_all(false);  // jumps reported name by name
    remove_auxiliary_files();
    const std::vector<std::string> walked = run_all(false);
    EXPECT_EQ(jumped, walked);
    EXPECT_EQ(stepped, walked);
    EXPECT_GT(walked[0].size(), 1000u);
}

// A dong table that gives no text for one dong makes the walk give up on the rest of each
// name at its first record of that dong, retrying the lookup (and its message) once per
// remaining record. The page jump must give up alike: same strings, same messages.
TEST_F(EngineTest, PageJumpsGiveUpAsTheWalk) {
    std::mt19937 rng(5);
    const std::vector<std::string> dongs = {"10010101", "10010102", "10020101"};
    std::string body;
    for (int i = 0; i < 12000; ++i) {
        const int n = static_cast<int>(rng() % 3000);
        body += listing_line({.name = (n % 2 == 0 ? "이" : "B") + std::to_string(n),
                              .dong = dongs[rng() % dongs.size()],
                              .detail = "row " + std::to_string(i)});
    }
    build_cd(body);
    {  // entry n of the table runs from offset n - 1 to offset n: make 10010102's empty
        IndexHandle kwd{};
        ASSERT_NE(open_index((cd() + "/index/dong.kwd").c_str(), kwd), 0);
        IndexKey key{};
        std::snprintf(key.text, sizeof key.text, "10010102");
        ASSERT_NE(find_key(key, kwd), 0);
        close_index(kwd);
        std::string offsets = read_file(cd() + "/index/dong.idx");
        const auto n = static_cast<std::size_t>(key.value);
        ASSERT_LT(n * 4 + 4, offsets.size() + 1);
        std::memcpy(offsets.data() + 4 * n, offsets.data() + 4 * (n - 1), 4);
        write_file(cd() + "/index/dong.idx", offsets);
    }
    auto run_all = [&](bool batch) {
        restart();
        BatchHost batch_host;
        RecordingHost plain_host;
        RecordingHost& host = batch ? batch_host : plain_host;
        ZendariCore core(host);
        core.set_init_db(1);
        core.set_local(10);
        std::vector<std::string> out;
        for (int page = 0; page < 3; ++page) out.push_back(core.get_loc_next("100101", 1200));
        out.push_back(core.get_loc_sung("100101", 900, cp949("이")));
        for (const auto& m : host.messages) out.push_back(m.caption + "|" + m.text);
        return out;
    };
    const std::vector<std::string> jumped = run_all(true);
    const std::vector<std::string> stepped = run_all(false);
    remove_auxiliary_files();
    const std::vector<std::string> walked = run_all(false);
    EXPECT_EQ(jumped, walked);
    EXPECT_EQ(stepped, walked);
    ASSERT_GT(walked.size(), 4u);  // the lookups that gave up showed their messages
    EXPECT_EQ(walked[4], "CODE ERROR !|" + cp949("동코드가 리턴되지 않음 !"));
    EXPECT_GT(walked[0].size(), 1000u);
}

}  // namespace
}  // namespace zendari::test

namespace zendari::test {
namespace {

// Surname scans answered from the posting lists against the plain walk, on thousands of names
// under one- and two-syllable surnames: every surname of the CD, one it lacks, the region's
// last one, pages short and long, and cancellations; the strings, the progress, the cursor
// left behind (what GetNext and the next page read) and ScanEnded must all agree.
TEST_F(EngineTest, SurnameJumpsAnswerExactlyAsTheWalk) {
    std::mt19937 rng(33);
    const std::vector<std::string> surnames = {"가", "김", "남", "남궁", "박", "이", "힣"};
    const std::vector<std::string> dongs = {"10010101", "10010102", "10020101"};
    std::string body;
    for (int i = 0; i < 20000; ++i) {
        const int n = static_cast<int>(rng() % 6000);
        body += listing_line(
            {.name = surnames[static_cast<std::size_t>(n) % surnames.size()] + std::to_string(n),
             .dong = dongs[rng() % dongs.size()],
             .detail = "row " + std::to_string(i)});
    }
    build_cd(body);
    auto run_all = [&](bool batch) {
        restart();
        BatchHost batch_host;
        RecordingHost plain_host;
        RecordingHost& host = batch ? batch_host : plain_host;
        ZendariCore core(host);
        core.set_init_db(1);
        core.set_local(10);
        std::vector<std::string> out;
        auto note = [&](std::string page) {
            out.push_back(std::move(page));
            out.push_back(core.scan_ended() ? "ended" : "more");
            out.push_back(core.get_next());  // where the scan left the shared cursor
        };
        for (const char* sung : {"가", "김", "남", "남궁", "다", "박", "이", "힣", "A"}) {
            for (const std::int32_t cnt : {0, 1, 700, 5000}) {
                note(core.get_loc_sung("100101", cnt, cp949(sung)));
                note(core.get_loc_sung("10020101", cnt, cp949(sung)));
            }
        }
        for (const std::int32_t cancel_at : {1, 2, 600, 4096}) {
            batch_host.cancel_at = plain_host.cancel_at = cancel_at;
            note(core.get_loc_sung("100101", 5000, cp949("김")));
            batch_host.cancel_at = plain_host.cancel_at = -1;
            note(core.get_loc_next("100101", 300));  // a dong page after a surname starts over
        }
        out.push_back(std::to_string(host.step_texts.size() > 0));
        EXPECT_TRUE(host.messages.empty());
        return out;
    };
    const std::vector<std::string> jumped = run_all(true);
    const std::vector<std::string> stepped = run_all(false);
    remove_auxiliary_files();
    const std::vector<std::string> walked = run_all(false);
    ASSERT_EQ(jumped.size(), walked.size());
    for (std::size_t k = 0; k < walked.size(); ++k) {
        EXPECT_EQ(jumped[k], walked[k]) << "answer " << k;
        EXPECT_EQ(stepped[k], walked[k]) << "answer " << k;
    }
    // The scans reached what they test: matches, the region's end, an empty surname.
    EXPECT_GT(walked[24 + 3 * 6].size(), 1000u);  // 김, 5,000 names, 100101
    EXPECT_NE(std::find(walked.begin(), walked.end(), "ended"), walked.end());
}

}  // namespace
}  // namespace zendari::test
