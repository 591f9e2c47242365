// The consonant index: the initial-consonant rule on CP949 text, the file the builder writes
// (order and positioning against brute force over every block size), and the reader's refusal
// of damaged, stale and forged files.
#include "index/ChosungIndex.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "common/ByteOrder.h"
#include "common/Checksum.h"
#include "data/Cp949.h"
#include "index/Chosung.h"
#include "index/ChosungWriter.h"
#include "index/IndexFile.h"
#include "index/IndexWriter.h"
#include "index/chosung_format.h"
#include "index/index_format.h"

namespace zendari {
namespace {

std::string cp949(std::string_view utf8) {
    return utf8_to_cp949(utf8).value();
}

TEST(Chosung, ConsonantStringsKeepTheNamesLengthAndOtherCharacters) {
    const struct {
        const char* name;
        const char* consonants;
    } cases[] = {
        {"김영수", "ㄱㅇㅅ"}, {"까치", "ㄲㅊ"},    // double consonants are their own
        {"똠방뷁", "ㄸㅂㅂ"},                      // 똠 and 뷁 lie in CP949's extension area
        {"남궁민", "ㄴㄱㅁ"}, {"Kim영", "Kimㅇ"},  // other characters stay as they are
        {"ㄱ김ㅏ", "ㄱㄱㅏ"},  // a consonant jamo is its own initial; a vowel stays
        {"金영", "金ㅇ"},
    };
    for (const auto& c : cases) {
        const std::string name = cp949(c.name);
        EXPECT_EQ(chosung::consonants(name), cp949(c.consonants)) << c.name;
        EXPECT_EQ(chosung::consonants(name).size(), name.size()) << c.name;
    }
    // All 11,172 syllables: the initial of the formula, wherever CP949 puts the syllable.
    static constexpr char16_t kInitials[] = u"ㄱㄲㄴㄷㄸㄹㅁㅂㅃㅅㅆㅇㅈㅉㅊㅋㅌㅍㅎ";
    for (char16_t s = 0xAC00; s <= 0xD7A3; ++s) {
        const std::string syllable = utf16_to_cp949(std::u16string(1, s)).value();
        const std::string jamo =
            utf16_to_cp949(std::u16string(1, kInitials[(s - 0xAC00) / (21 * 28)])).value();
        ASSERT_EQ(chosung::consonants(syllable), jamo) << std::hex << int(s);
    }
}

TEST(Chosung, CompareAgreesWithTheBuiltString) {
    std::mt19937 rng(3);
    const std::vector<std::string> parts = {cp949("김"), cp949("ㄱ"), cp949("고"),
                                            cp949("똠"), cp949("ㄸ"), cp949("ㅇ"),
                                            "a",         "Z",         cp949("이")};
    auto random_text = [&] {
        std::string s;
        for (int n = static_cast<int>(rng() % 4); n > 0; --n) s += parts[rng() % parts.size()];
        return s;
    };
    for (int i = 0; i < 5000; ++i) {
        const std::string name = random_text();
        const std::string c = chosung::consonants(random_text());
        const int expected = chosung::consonants(name).compare(c);
        EXPECT_EQ(chosung::compare_consonants(name, c) < 0, expected < 0) << i;
        EXPECT_EQ(chosung::compare_consonants(name, c) == 0, expected == 0) << i;
        EXPECT_EQ(chosung::has_consonant_prefix(name, c), chosung::consonants(name).starts_with(c));
    }
}

TEST(Chosung, QueriesMatchConsonantsByInitialAndEverythingElseExactly) {
    const struct {
        const char* typed;
        const char* name;
        bool match;
    } cases[] = {
        {"ㄱㅇㅅ", "김영수", true},  {"ㄱㅇㅅ", "고은숙", true},  {"ㄱㅇㅅ", "김영", false},
        {"김ㅇㅅ", "김영수", true},  {"김ㅇㅅ", "고영수", false}, {"ㄱ영ㅅ", "고영식", true},
        {"ㄱ영ㅅ", "고용식", false}, {"ㄲ", "까치", true},        {"ㄲ", "가치", false},
        {"ㄱ", "까치", false},       {"ㄸㅂ", "똠방", true},      {"ㄳ", "김선", true},
        {"ㄳ", "김정", false},       {"ㅄ", "박수", true},        {"ㄱ", "ㄱ자", true},
        {"", "아무", true},          {"a", "a김", true},          {"a", "b김", false},
        {"김영수", "김영수", true},  {"김영수", "김영숙", false},
    };
    for (const auto& c : cases) {
        const chosung::ChosungQuery q(cp949(c.typed));
        const std::string name = cp949(c.name);
        EXPECT_EQ(chosung::has_consonant_prefix(name, q.prefix()) && q.matches(name), c.match)
            << c.typed << " / " << c.name;
    }
    EXPECT_EQ(chosung::ChosungQuery(cp949("ㄳㅇ")).prefix(), cp949("ㄱㅅㅇ"));
}

// A name index and its consonant index in a folder, from names with record counts.
struct RegionFiles {
    std::vector<std::string> names;  // key order
    std::vector<std::uint32_t> counts;
    std::string index_path, cho_path;
};

RegionFiles write_region(const test::TempDir& dir, std::vector<std::string> names,
                         std::mt19937& rng, std::uint32_t per_block, const std::string& stem) {
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    RegionFiles f;
    f.names = names;
    IndexWriter writer;
    std::int32_t record = 1;
    for (const std::string& n : names) {
        EXPECT_TRUE(writer.add(n, record));
        f.counts.push_back(1 + rng() % 3);
        record += static_cast<std::int32_t>(f.counts.back());
    }
    EXPECT_TRUE(writer.add(index_format::kEndKey, record));
    f.index_path = dir / (stem + ".ndx");
    EXPECT_TRUE(writer.write(f.index_path));
    const std::vector<std::string_view> views(f.names.begin(), f.names.end());
    f.cho_path = chosung_path(f.index_path);
    test::write_file(f.cho_path, chosung_index_image(views, f.counts, per_block));
    return f;
}

std::vector<std::string> random_names(std::mt19937& rng, int n) {
    const std::vector<std::string> syllables = {
        cp949("김"), cp949("고"), cp949("강"), cp949("까"), cp949("영"), cp949("용"), cp949("수"),
        cp949("숙"), cp949("쑤"), cp949("똠"), cp949("뷁"), cp949("이"), "A"};
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
        std::string s;
        for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k)
            s += syllables[rng() % syllables.size()];
        names.push_back(s);
    }
    return names;
}

class ChosungRoundTrip : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(ChosungRoundTrip, OrderAndPositioningAgreeWithBruteForce) {
    test::TempDir dir;
    std::mt19937 rng(GetParam());
    const RegionFiles f = write_region(dir, random_names(rng, 400), rng, GetParam(), "r");
    const auto index = ChosungIndex::load(f.cho_path, IndexFile::load(f.index_path));
    ASSERT_NE(index, nullptr);
    ASSERT_EQ(index->entry_count(), f.names.size());

    // The model: every name by consonant string, more records first, then by name.
    std::vector<std::uint32_t> model(f.names.size());
    for (std::uint32_t k = 0; k < model.size(); ++k) model[k] = k;
    std::sort(model.begin(), model.end(), [&](std::uint32_t a, std::uint32_t b) {
        const std::string ca = chosung::consonants(f.names[a]);
        const std::string cb = chosung::consonants(f.names[b]);
        if (ca != cb) return ca < cb;
        if (f.counts[a] != f.counts[b]) return f.counts[a] > f.counts[b];
        return f.names[a] < f.names[b];
    });
    std::vector<std::uint64_t> offsets;
    ChosungIndex::Entry e;
    for (std::uint64_t at = index->begin(); at < index->end();) {
        offsets.push_back(at);
        at = index->entry(at, e);
        const std::uint32_t k = model[offsets.size() - 1];
        ASSERT_EQ(e.ordinal, k);
        EXPECT_EQ(e.name, f.names[k]);
        EXPECT_EQ(index->record_count(e.ordinal), static_cast<std::int32_t>(f.counts[k]));
    }
    ASSERT_EQ(offsets.size(), f.names.size());
    offsets.push_back(index->end());

    // Every consonant prefix of every name, and texts between them.
    std::vector<std::string> probes = {"", cp949("ㅎㅎㅎ"), "\x01", "\xFF"};
    for (const std::string& n : f.names) {
        const std::string c = chosung::consonants(n);
        for (std::size_t len = 0; len <= c.size(); ++len) probes.push_back(c.substr(0, len));
        probes.push_back(c + "\x01");
    }
    for (const std::string& p : probes) {
        std::size_t first = 0;  // first entry whose consonant string is >= p
        while (first < model.size() && chosung::consonants(f.names[model[first]]) < p) ++first;
        ASSERT_EQ(index->lower_bound(p), offsets[first]) << "probe of " << p.size() << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ChosungRoundTrip, ::testing::Values(1u, 3u, 16u, 1024u));

// Rewrites both checksums, so that only the reader's checks of the content stand in the way.
void fix_checksums(std::string& bytes) {
    namespace fmt = chosung_format;
    auto* p = reinterpret_cast<std::byte*>(bytes.data());
    const std::span<const std::byte> all(p, bytes.size());
    store_le(p + fmt::kBodyChecksumAt, checksum64(all.subspan(fmt::kHeaderSize)));
    store_le(p + fmt::kHeaderChecksumAt, checksum64(all.first(fmt::kHeaderChecksumAt)));
}

TEST(ChosungIndex, RefusesDamagedStaleAndForgedFiles) {
    test::TempDir dir;
    std::mt19937 rng(9);
    const RegionFiles f = write_region(dir, random_names(rng, 24), rng, 4, "a");
    const std::shared_ptr<const IndexFile> names = IndexFile::load(f.index_path);
    ASSERT_NE(ChosungIndex::load(f.cho_path, names), nullptr);
    EXPECT_EQ(ChosungIndex::load(dir / "missing.cho", names), nullptr);
    EXPECT_EQ(ChosungIndex::load(f.cho_path, nullptr), nullptr);

    const std::string good = test::read_file(f.cho_path);
    int files = 0;  // each case a file of its own: rewriting one costs more on some disks
    const auto refused = [&](const std::string& bytes) {
        const std::string path = dir / ("damaged" + std::to_string(++files) + ".cho");
        test::write_file(path, bytes);
        return ChosungIndex::load(path, names) == nullptr;
    };
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_TRUE(refused(good.substr(0, n))) << "truncated to " << n;
    EXPECT_TRUE(refused(good + "x"));

    // The file of another region: same shape, other names.
    const RegionFiles other = write_region(dir, random_names(rng, 24), rng, 4, "b");
    EXPECT_EQ(ChosungIndex::load(other.cho_path, names), nullptr);
    // Forged with right checksums: two entries' ordinals swapped, two entries swapped, a name
    // changed, an ordinal past the names.
    ChosungIndex::Entry e;
    const auto index = ChosungIndex::load(f.cho_path, names);
    const std::uint64_t first = index->begin();
    const std::uint64_t second = index->entry(first, e);
    const std::uint64_t third = index->entry(second, e);
    {
        std::string bytes = good;
        const std::size_t o1 = second - 4, o2 = third - 4;
        for (int i = 0; i < 4; ++i) std::swap(bytes[o1 + i], bytes[o2 + i]);
        fix_checksums(bytes);
        EXPECT_TRUE(refused(bytes)) << "ordinals swapped";
    }
    {
        std::string bytes = good;
        const std::string a = good.substr(first, second - first);
        const std::string b = good.substr(second, third - second);
        bytes.replace(first, third - first, b + a);
        fix_checksums(bytes);
        EXPECT_TRUE(refused(bytes)) << "entries swapped";
    }
    {
        std::string bytes = good;
        bytes[first + 1] ^= 1;
        fix_checksums(bytes);
        EXPECT_TRUE(refused(bytes)) << "a name changed";
    }
    {
        std::string bytes = good;
        store_le(reinterpret_cast<std::byte*>(bytes.data()) + second - 4,
                 static_cast<std::uint32_t>(f.names.size()));
        fix_checksums(bytes);
        EXPECT_TRUE(refused(bytes)) << "ordinal of the end key";
    }
    // Random damage, half of it with the checksums made right: refused, or (damage the checks
    // let through, such as the reserved field) read exactly as the good file.
    const auto walk = [](const ChosungIndex& x) {
        std::vector<std::pair<std::string, std::uint32_t>> out;
        ChosungIndex::Entry en;
        for (std::uint64_t at = x.begin(); at < x.end();) {
            at = x.entry(at, en);
            out.emplace_back(en.name, en.ordinal);
        }
        return out;
    };
    const auto expected = walk(*index);
    int loaded = 0;
    for (int round = 0; round < 1000; ++round) {
        std::string bytes = good;
        for (int flips = 1 + static_cast<int>(rng() % 3); flips > 0; --flips)
            bytes[rng() % bytes.size()] ^= static_cast<char>(1 + rng() % 255);
        if (rng() % 2 == 0) fix_checksums(bytes);
        const std::string path = dir / ("random" + std::to_string(round) + ".cho");
        test::write_file(path, bytes);
        const auto damaged = ChosungIndex::load(path, names);
        if (!damaged) continue;
        ++loaded;
        EXPECT_EQ(walk(*damaged), expected) << "round " << round;
    }
    EXPECT_LT(loaded, 50);
}

}  // namespace
}  // namespace zendari
