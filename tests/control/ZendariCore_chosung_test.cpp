// Lookup by initial consonants (FindChosung, GetNextChosung) against a brute-force model over
// random CDs, and how it lives beside the name cursor, the region selection and a CD without
// the consonant index.
#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "EngineFixture.h"

namespace zendari::test {
namespace {

// The model works on UTF-16 with the syllable formula, apart from the control's CP949 table.
constexpr char16_t kInitials[] = u"ㄱㄲㄴㄷㄸㄹㅁㅂㅃㅅㅆㅇㅈㅉㅊㅋㅌㅍㅎ";

bool is_initial(char16_t c) {
    return std::u16string_view(kInitials).find(c) != std::u16string_view::npos;
}
char16_t initial_of(char16_t c) {
    return c >= 0xAC00 && c <= 0xD7A3 ? kInitials[(c - 0xAC00) / (21 * 28)] : c;
}
// An input method's cluster of two consonants typed in a row, split again.
std::u16string split_clusters(std::u16string_view typed) {
    static const std::map<char16_t, std::u16string> kClusters = {
        {u'ㄳ', u"ㄱㅅ"}, {u'ㄵ', u"ㄴㅈ"}, {u'ㄶ', u"ㄴㅎ"}, {u'ㄺ', u"ㄹㄱ"},
        {u'ㄻ', u"ㄹㅁ"}, {u'ㄼ', u"ㄹㅂ"}, {u'ㄽ', u"ㄹㅅ"}, {u'ㄾ', u"ㄹㅌ"},
        {u'ㄿ', u"ㄹㅍ"}, {u'ㅀ', u"ㄹㅎ"}, {u'ㅄ', u"ㅂㅅ"}};
    std::u16string out;
    for (const char16_t c : typed) {
        const auto it = kClusters.find(c);
        out += it == kClusters.end() ? std::u16string(1, c) : it->second;
    }
    return out;
}

struct ModelName {
    std::string name;        // CP949
    std::u16string text;     // the same in UTF-16
    std::string consonants;  // CP949
    std::int64_t count = 0;
    std::string entry;  // "name:first:count:" as GetNext gave it
};

bool model_matches(const ModelName& n, std::u16string_view typed) {
    const std::u16string q = split_clusters(typed);
    if (n.text.size() < q.size()) return false;
    for (std::size_t i = 0; i < q.size(); ++i) {
        if (is_initial(q[i]) ? initial_of(n.text[i]) != q[i] : n.text[i] != q[i]) return false;
    }
    return true;
}

class ChosungTest : public EngineTest {
protected:
    // Every name of the selected region from the name walk, with the model's keys.
    std::vector<ModelName> region_names() {
        std::vector<ModelName> out;
        core_->find_key("");
        for (std::string e; (e = core_->get_next()) != "vbROF";) {
            ModelName n;
            const auto c1 = e.find(':'), c2 = e.find(':', c1 + 1);
            n.name = e.substr(0, c1);
            n.count = std::stoll(e.substr(c2 + 1));
            n.entry = e;
            n.text = cp949_to_utf16(n.name).value();
            std::u16string initials;
            for (const char16_t c : n.text) initials.push_back(initial_of(c));
            n.consonants = utf16_to_cp949(initials).value();
            out.push_back(std::move(n));
        }
        return out;
    }
    // The entries the model expects for `typed`, in the consonant index's order.
    static std::vector<std::string> expected(std::vector<ModelName> names,
                                             std::u16string_view typed) {
        std::erase_if(names, [&](const ModelName& n) { return !model_matches(n, typed); });
        std::sort(names.begin(), names.end(), [](const ModelName& a, const ModelName& b) {
            if (a.consonants != b.consonants) return a.consonants < b.consonants;
            if (a.count != b.count) return a.count > b.count;
            return a.name < b.name;
        });
        std::vector<std::string> out;
        for (const ModelName& n : names) out.push_back(n.entry);
        return out;
    }
    // What the control walks for `typed`: FindChosung's answer and every entry to "vbROF".
    std::pair<bool, std::vector<std::string>> walk(std::u16string_view typed, std::size_t most) {
        const bool found = core_->find_chosung(utf16_to_cp949(typed).value());
        std::vector<std::string> out;
        for (std::string e; out.size() <= most && (e = core_->get_next_chosung()) != "vbROF";)
            out.push_back(e);
        return {found, out};
    }
};

TEST_F(ChosungTest, RandomCdsAgreeWithTheBruteForceModel) {
    // Syllables of common and double initials, 똠 and 뷁 from CP949's extension area, and 김
    // and 영 often, so that consonant strings repeat with several names behind them.
    const std::vector<std::string> syllables = {
        "김", "김", "고", "강", "까", "꼬", "영", "영", "용", "윤", "수", "숙", "쑤", "씨",
        "따", "또", "빠", "뿌", "짜", "쪼", "똠", "뷁", "박", "이", "안", "선", "정", "한"};
    const std::vector<std::string> dongs = {"10010101", "10010102", "11020103"};
    for (const unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 rng(seed);
        std::vector<Row> rows;
        for (int i = 0; i < 500; ++i) {
            Row r;
            for (int k = 1 + static_cast<int>(rng() % 4); k > 0; --k)
                r.name += syllables[rng() % syllables.size()];
            r.dong = dongs[rng() % dongs.size()];
            rows.push_back(r);
        }
        rows.push_back({"ㄱ자집", "10010101"});  // a name that holds a consonant jamo itself
        build_rows(rows);
        init_and_select(10);
        for (const std::int32_t region : {10, 11}) {
            core_->set_local(region);
            const std::vector<ModelName> names = region_names();
            ASSERT_GT(names.size(), 50u);
            std::vector<std::u16string> queries = {
                u"ㄱ",     u"ㄲ",   u"ㄸ",   u"ㅃ",     u"ㅆ", u"ㅉ",       u"ㄱㅇ",
                u"ㄱㅇㅅ", u"ㄲㄲ", u"ㄸㅂ", u"ㅆㅆㅆ", u"ㄳ", u"김ㅇ",     u"김ㅇㅅ",
                u"ㄱ영",   u"똠ㅂ", u"뷁",   u"ㄱ자",   u"ㅎ", u"ㅎㅎㅎㅎ", u"김영수"};
            // Prefixes of 1 to 4 initials of random names, and their first syllable exactly.
            for (int i = 0; i < 60; ++i) {
                const ModelName& n = names[rng() % names.size()];
                std::u16string initials;
                for (const char16_t c : n.text) initials.push_back(initial_of(c));
                const std::size_t len = 1 + rng() % std::min<std::size_t>(4, initials.size());
                queries.push_back(initials.substr(0, len));
                if (len > 1) queries.push_back(n.text.substr(0, 1) + initials.substr(1, len - 1));
            }
            for (const std::u16string& q : queries) {
                const std::vector<std::string> want = expected(names, q);
                const auto [found, got] = walk(q, want.size());
                const std::string what = "region " + std::to_string(region) + ", seed " +
                                         std::to_string(seed) + ", typed " +
                                         utf8(utf16_to_cp949(q).value());
                EXPECT_EQ(found, !want.empty()) << what;
                EXPECT_EQ(got, want) << what;
                EXPECT_EQ(core_->get_next_chosung(), "vbROF") << "the end stays: " << what;
            }
        }
        EXPECT_TRUE(host_->messages.empty());
    }
}

TEST_F(ChosungTest, AWalkLeavesTheNameCursorAndEndsWithAnotherRegion) {
    build_rows({{"김영수", "10010101"},
                {"김영수", "10010102"},
                {"고영식", "10010101"},
                {"이민호", "10010101"},
                {"김영선", "11020103"}});
    init_and_select(10);
    ASSERT_TRUE(core_->find_key(cp949("김영수")));
    EXPECT_TRUE(core_->find_chosung(cp949("ㄱㅇㅅ")));
    EXPECT_EQ(utf8(core_->get_next_chosung()), "김영수:2:2:") << "two records before one";
    // The name walk goes on where FindKey put it, and so does the consonant walk.
    EXPECT_EQ(utf8(core_->get_next()), "김영수:2:2:");
    EXPECT_EQ(utf8(core_->get_next_chosung()), "고영식:1:1:");
    EXPECT_EQ(utf8(core_->get_next()), "이민호:4:1:");
    EXPECT_EQ(core_->get_next_chosung(), "vbROF");

    // Selecting the same region again keeps the walk; another region ends it.
    ASSERT_TRUE(core_->find_chosung(cp949("ㄱㅇ")));
    core_->set_local(10);
    EXPECT_EQ(utf8(core_->get_next_chosung()), "김영수:2:2:");
    core_->set_local(11);
    EXPECT_EQ(core_->get_next_chosung(), "vbROF");
    ASSERT_TRUE(core_->find_chosung(cp949("ㄱㅇㅅ")));
    EXPECT_EQ(utf8(core_->get_next_chosung()), "김영선:5:1:");
    EXPECT_FALSE(core_->find_chosung(cp949("ㅎ")));
    EXPECT_EQ(core_->get_next_chosung(), "vbROF");
    EXPECT_TRUE(host_->messages.empty());
}

TEST_F(ChosungTest, WithoutAUsableConsonantIndexNothingMatchesAndNamesStillDo) {
    build_rows({{"김영수", "10010101"}, {"고영식", "10010101"}, {"박영희", "11020103"}});
    const std::filesystem::path index = std::filesystem::path(cd()) / "index";
    // Pusan's consonant index in Seoul's place: a file of another region's names.
    std::filesystem::copy_file(index / "PUSAN.cho", index / "SEOUL.cho",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(index / "PUSAN.cho");
    init_and_select(10);
    for (const std::int32_t region : {10, 11}) {
        core_->set_local(region);
        EXPECT_FALSE(core_->find_chosung(cp949("ㄱ"))) << region;
        EXPECT_FALSE(core_->find_chosung(cp949("ㅂ"))) << region;
        EXPECT_EQ(core_->get_next_chosung(), "vbROF");
        EXPECT_TRUE(core_->find_key(cp949(region == 10 ? "김영수" : "박영희")));
    }
    EXPECT_TRUE(host_->messages.empty());
    // Before any region is selected there is nothing to walk either.
    restart();
    core_->set_init_db(1);
    EXPECT_FALSE(core_->find_chosung(cp949("ㄱ")));
    EXPECT_EQ(core_->get_next_chosung(), "vbROF");
}

}  // namespace
}  // namespace zendari::test
