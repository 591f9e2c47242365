// A seeded random sequence of a few thousand calls on an intact small CD, with arguments at
// and beyond every edge: region codes valid, unknown, negative and huge; keys of random bytes
// (invalid CP949, empty, 127 and 300 bytes); record windows outside the master file;
// locations of every length; page sizes zero, negative and huge. Every answer must keep its
// shape, and the same seed must give the same transcript twice.
#include <climits>
#include <random>
#include <sstream>

#include "EngineFixture.h"

namespace zendari::test {
namespace {

const std::string kDongs = std::string(kTestDongs) + "72030101\t427010\t경기 과천시 중앙동\n" +
                           "20010101\t440200\t경기 수원시 파장동\n";
const char* const kDongCodes[] = {"10010101", "10010102", "10020101",
                                  "11020103", "72030101", "20010101"};
constexpr int kListings = 240;
const std::string kLongestName(127, 'K');

std::string listings() {
    const char* surnames[] = {"가", "김", "나", "박", "이", "최", "A", "Zz"};
    const char* given[] = {"", "철수", "영희", "민"};
    std::string body;
    for (int i = 0; i < kListings; ++i) {
        Row r;
        // Every 50th name fills the key record's 127 bytes.
        r.name = i % 50 == 7 ? kLongestName : std::string(surnames[i % 8]) + given[(i / 8) % 4];
        r.dong = kDongCodes[(i * 5) % 6];
        r.exchange = std::to_string(1 + i % 999);
        r.line = std::to_string((i * 41) % 10000);
        r.suffix = std::to_string(i % 6 == 0 ? 1 + i % 5 : 0);
        r.lot_main = std::to_string(i % 4 == 0 ? 0 : i);
        r.lot_sub = std::to_string(i % 3 == 0 ? i % 13 : 0);
        r.detail = i % 7 == 0 ? "" : "상가 " + std::to_string(i) + "호";
        body += listing_line(r);
    }
    return body;
}

std::vector<std::string> split(std::string_view s, char at) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t p; (p = s.find(at, start)) != std::string_view::npos; start = p + 1)
        parts.emplace_back(s.substr(start, p - start));
    parts.emplace_back(s.substr(start));
    return parts;
}

// A subscriber record string with its dong part in front: 7 fields, the last ending in LF.
::testing::AssertionResult is_record(std::string_view s) {
    const auto fields = split(s, ':');
    if (fields.size() != 7 || s.empty() || s.back() != '\n')
        return ::testing::AssertionFailure() << "not 7 fields ending in LF: " << s;
    return ::testing::AssertionSuccess();
}

// The calls and their arguments, drawn from one seeded generator.
class Caller {
public:
    Caller(std::uint32_t seed, ZendariCore& core, RecordingHost& host)
        : random_(seed), core_(core), host_(host) {}

    // One random call; its answer checked and written to the transcript.
    void call(std::ostringstream& t) {
        switch (pick(12)) {
            case 0: {
                const std::int32_t value = pick({1, 1, 2, 3, 5, 0, -1});
                core_.set_init_db(value);
                t << "InitDB=" << value << " -> " << core_.init_db() << '\n';
                EXPECT_TRUE(core_.init_db() == value || core_.init_db() == -1);
                break;
            }
            case 1:
            case 2: {
                const std::int32_t code = region_code();
                core_.set_local(code);
                t << "SetLocal=" << code << " -> " << core_.local() << '\n';
                EXPECT_TRUE(core_.local() == code || core_.local() == -1) << code;
                break;
            }
            case 3: {
                const std::string key = text();
                t << "FindKey(" << key << ") " << core_.find_key(key) << '\n';
                break;
            }
            case 4:
            case 5:
                for (int n = pick(40); n >= 0; --n) {
                    const std::string entry = core_.get_next();
                    t << "GetNext " << entry << '\n';
                    check_entry(entry);
                    if (entry == "vbROF") break;
                }
                break;
            case 6: {
                const std::int32_t rep = record_number(), cnt = count();
                t << "SetResult(" << rep << "," << cnt << ") " << core_.set_result(rep, cnt)
                  << '\n';
                break;
            }
            case 7:
                for (int n = pick(12); n >= 0; --n) {
                    const std::string r = core_.get_result();
                    t << "GetResult " << r;
                    if (!r.empty()) {
                        EXPECT_TRUE(is_record(r));
                    }
                }
                t << '\n';
                break;
            case 8:
                for (int n = pick(12); n >= 0; --n) {
                    const std::string loc = location();
                    const std::string r = core_.get_all_result(loc);
                    t << "GetAllResult(" << loc << ") " << r;
                    // "dong name:record": the record string without its code in front.
                    if (!r.empty()) {
                        EXPECT_TRUE(is_record("0:" + r));
                    }
                }
                t << '\n';
                break;
            case 9:
            case 10: {
                const std::string loc = location();
                const std::int32_t cnt = page_size();
                host_.cancel_at = pick(4) == 0 ? 1 + pick(6) : -1;
                const std::string r = core_.get_loc_next(loc, cnt);
                t << "GetLocNext(" << loc << "," << cnt << ") " << r << '\n';
                check_scan(r);
                break;
            }
            default: {
                const std::string loc = location(), sung = pick(2) ? surname() : text();
                const std::int32_t cnt = page_size();
                host_.cancel_at = pick(4) == 0 ? 1 + pick(6) : -1;
                const std::string r = core_.get_loc_sung(loc, cnt, sung);
                t << "GetLocSung(" << loc << "," << cnt << "," << sung << ") " << r << '\n';
                check_scan(r);
                break;
            }
        }
        for (; messages_seen_ < host_.messages.size(); ++messages_seen_) {
            const auto& m = host_.messages[messages_seen_];
            t << "message " << m.caption << ' ' << m.text << '\n';
        }
    }

private:
    int pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }
    std::int32_t pick(std::initializer_list<std::int32_t> values) {
        return values.begin()[pick(static_cast<int>(values.size()))];
    }

    std::int32_t region_code() {
        switch (pick(4)) {
            case 0:
            case 1:
                return pick(
                    {10, 11, 12, 13, 14, 15, 16, 70, 72, 74, 76, 78, 80, 82, 84, 86, 7203, 7204});
            case 2:
                return pick({0, 1, 9, 17, 71, 100, 7202, 7205, 1010});
            default:
                return pick({-1, -10, INT_MIN, INT_MAX, 1 << 30, 65536 + 10});
        }
    }

    // Key bytes: real surnames, random bytes (invalid CP949 among them), the edges of the
    // key record.
    std::string text() {
        static const std::string kPieces[] = {
            cp949("김"), cp949("이"), cp949("철수"),        "A",         "Zz", "\xF9\xBB",
            "\xB0",      "\x81\x20",  std::string(1, '\0'), kLongestName};
        const int length = pick({0, 1, 2, 3, 4, 6, 126, 127, 128, 300});
        std::string s;
        while (static_cast<int>(s.size()) < length) {
            if (pick(2) == 0) {
                s += kPieces[pick(10)];
            } else {
                s.push_back(static_cast<char>(random_()));
            }
        }
        s.resize(static_cast<std::size_t>(length));
        return s;
    }
    std::string surname() {
        static const std::string kSurnames[] = {cp949("가"), cp949("김"), cp949("박"),
                                                cp949("최"), cp949("힣"), "A"};
        return kSurnames[pick(6)];
    }

    std::int32_t record_number() {
        return pick({0, -1, INT_MIN, 1, 2, kListings - 1, kListings, kListings + 1, INT_MAX,
                     1 + pick(kListings), 100'001});
    }
    std::int32_t count() {
        return pick({0, -1, INT_MIN, 1, 3, kListings, kListings + 1, INT_MAX, INT_MAX / 4 + 1,
                     1 + pick(40)});
    }
    std::int32_t page_size() { return pick({0, -1, INT_MIN, 1, 2, 5, 40, 1000, INT_MAX}); }

    std::string location() {
        const std::string code = kDongCodes[pick(6)];
        switch (pick(7)) {
            case 0:
                return code;
            case 1:
                return code.substr(0, 6);
            case 2:
                return code.substr(0, 5);
            case 3:
                return code + std::to_string(pick(10));  // 9 characters
            case 4:
                return pick({0, 1}) ? std::string() : "00000000";
            case 5: {
                std::string s = code.substr(0, pick({5, 6, 8, 9}) % 9);
                if (!s.empty()) s[static_cast<std::size_t>(pick(static_cast<int>(s.size())))] = 'x';
                return s;
            }
            default:
                return text().substr(0, static_cast<std::size_t>(pick({0, 5, 6, 8, 9})));
        }
    }

    // "vbROF" or name:first:count: with the records inside the master file.
    void check_entry(const std::string& entry) {
        if (entry == "vbROF") return;
        const auto fields = split(entry, ':');
        ASSERT_EQ(fields.size(), 4u) << entry;
        EXPECT_FALSE(fields[0].empty()) << entry;
        EXPECT_TRUE(fields[3].empty()) << entry;
        const long first = std::stol(fields[1]), count = std::stol(fields[2]);
        EXPECT_GE(first, 1) << entry;
        EXPECT_GE(count, 1) << entry;
        EXPECT_LE(first + count - 1, kListings) << entry;
    }

    // Empty, or items "name:dong name:record" each ending in LF and "|".
    void check_scan(const std::string& r) {
        if (r.empty()) return;
        ASSERT_EQ(r.back(), '|') << r;
        const auto items = split(std::string_view(r).substr(0, r.size() - 1), '|');
        for (const std::string& item : items) EXPECT_TRUE(is_record(item));
    }

    std::mt19937 random_;
    ZendariCore& core_;
    RecordingHost& host_;
    std::size_t messages_seen_ = 0;
};

using RandomCalls = EngineTest;

TEST_F(RandomCalls, AnswersKeepTheirShapeAndRepeat) {
    build_cd(listings(), kDongs);
    const auto run = [this](std::uint32_t seed) {
        restart();
        std::ostringstream t;
        Caller caller(seed, *core_, *host_);
        core_->set_init_db(1);
        for (int n = 0; n < 3000 && !::testing::Test::HasFatalFailure(); ++n) caller.call(t);
        return t.str();
    };
    constexpr std::uint32_t seed = 1;
    const std::string first = run(seed);
    EXPECT_EQ(run(seed), first);
    // Without the auxiliary files the scans walk every record: the answers stay the same.
    remove_auxiliary_files();
    EXPECT_EQ(run(seed), first);
    // The sequence reached the answers it checks.
    EXPECT_NE(first.find("GetNext vbROF"), std::string::npos);
    EXPECT_NE(first.find("|\n"), std::string::npos);
    EXPECT_NE(first.find("GetResult 10010101:"), std::string::npos);
    EXPECT_NE(first.find("GetNext " + kLongestName + ":"), std::string::npos);
    // Every answer string stays as it is: the transcript itself is pinned.
    EXPECT_EQ(first.size(), 185660u);
    EXPECT_EQ(digest(first), 4641339709657440744u);
}

}  // namespace
}  // namespace zendari::test
