// The index library: lookups, positioning and walking over files made by IndexWriter, and
// refusal of damaged files.
#include "index/Nodix.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "common/ByteOrder.h"
#include "common/Checksum.h"
#include "index/IndexFile.h"
#include "index/IndexWriter.h"
#include "index/index_format.h"

namespace zendari {
namespace {

using Keys = std::map<std::string, std::int32_t>;

void fill(IndexKey& key, std::string_view text) {
    std::memset(key.text, 0, sizeof key.text);
    std::memcpy(key.text, text.data(), std::min<std::size_t>(text.size(), 127));
}

std::string write_index(const test::TempDir& dir, const Keys& keys, std::uint32_t per_block,
                        const std::string& name = "x.ndx") {
    IndexWriter writer(per_block);
    for (const auto& [text, value] : keys) EXPECT_TRUE(writer.add(text, value)) << writer.error();
    const std::string path = dir / name;
    EXPECT_TRUE(writer.write(path));
    return path;
}

Keys sample_keys() {
    Keys keys;
    std::int32_t value = 1;
    for (const char* k : {"a", "ab", "abc", "abd", "b", "ba", "bab", "c"}) keys[k] = value += 3;
    keys[std::string(127, 'z')] = 999;
    keys[std::string(126, 'z')] = 998;
    keys["\xB1\xE8"] = 1000;  // a CP949 syllable sorts above ASCII
    keys["\xB1\xE8\xC3\xB6"] = 1001;
    keys["\xF9\xBB"] = 2000;  // the sentinel
    return keys;
}

class IndexRoundTrip : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(IndexRoundTrip, ExactPositioningAndWalk) {
    test::TempDir dir;
    const Keys keys = sample_keys();
    const std::string path = write_index(dir, keys, GetParam());
    IndexHandle h{};
    ASSERT_NE(open_index(path.c_str(), h, 0, 0), 0);
    IndexKey key{};

    for (const auto& [text, value] : keys) {  // every key is found with its value
        fill(key, text);
        key.value = -5;
        ASSERT_NE(find_key(key, h), 0) << text;
        EXPECT_EQ(key.value, value);
        auto next = keys.upper_bound(text);
        next_key(key, h);
        if (next == keys.end()) {  // on the last key the record stays
            EXPECT_EQ(std::string(key.text), text);
            EXPECT_EQ(key.value, value);
        } else {
            EXPECT_EQ(std::string(key.text), next->first);
            EXPECT_EQ(key.value, next->second);
        }
    }
    // Texts between keys: a miss, then next_key gives the first key after the text.
    for (std::string probe :
         std::vector<std::string>{"", "0", "aa", "abcd", "abz", "bb", "d", std::string(128, 'z'),
                                  std::string("\xB1\xE8\xA0"), std::string("\xF0")}) {
        fill(key, probe);
        key.value = 77;
        const std::string searched = key.text;
        const bool hit = find_key(key, h) != 0;
        EXPECT_EQ(hit, keys.count(searched) == 1) << probe;
        if (hit) continue;
        EXPECT_EQ(key.value, 77);
        next_key(key, h);
        const auto next = keys.upper_bound(searched);
        ASSERT_NE(next, keys.end());
        EXPECT_EQ(std::string(key.text), next->first) << probe;
    }
    // Walk from the empty text to the sentinel and stay there.
    fill(key, "");
    EXPECT_EQ(find_key(key, h), 0);
    std::vector<std::string> walked;
    for (int i = 0; i < 40; ++i) {
        const std::string before = key.text;
        next_key(key, h);
        if (i > 0 && before == key.text) break;
        walked.push_back(key.text);
    }
    ASSERT_EQ(walked.size(), keys.size());
    EXPECT_EQ(walked.front(), "a");
    EXPECT_EQ(walked.back(), "\xF9\xBB");
    EXPECT_EQ(key.value, 2000);
    close_index(h);
    close_index(h);  // twice is harmless
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, IndexRoundTrip, ::testing::Values(1u, 3u, 16u, 1024u));

// Random keys, and the same behind a common head of eight bytes or more, so that every block
// shares its first key's leading bytes with the others and lookups compare whole keys.
class ManyKeys : public ::testing::TestWithParam<std::string> {};

TEST_P(ManyKeys, AgainstAMap) {
    test::TempDir dir;
    std::mt19937 rng(11);
    const std::string head = GetParam();
    auto random_text = [&] {
        std::string k(1 + rng() % 12, ' ');
        for (char& c : k) c = static_cast<char>('a' + rng() % 6);
        return k.size() % 5 == 0 ? k : head + k;
    };
    Keys keys;
    while (keys.size() < 20000) keys[random_text()] = static_cast<std::int32_t>(rng());
    const std::string path = write_index(dir, keys, 16);
    IndexHandle h{};
    ASSERT_NE(open_index(path.c_str(), h), 0);
    IndexKey key{};
    for (int i = 0; i < 5000; ++i) {
        std::string probe = random_text();
        fill(key, probe);
        const bool hit = find_key(key, h) != 0;
        ASSERT_EQ(hit, keys.count(probe) == 1);
        if (hit) {
            ASSERT_EQ(key.value, keys.at(probe));
        }
        auto it = keys.upper_bound(probe);
        for (int step = 0; step < 30 && it != keys.end(); ++step, ++it) {
            next_key(key, h);
            ASSERT_EQ(std::string(key.text), it->first);
            ASSERT_EQ(key.value, it->second);
        }
    }
    close_index(h);
}

INSTANTIATE_TEST_SUITE_P(Heads, ManyKeys, ::testing::Values("", "abcdefgh", "abcdefghij"));

TEST(Index, HandlesThatAreNotOpen) {
    IndexHandle h{};
    close_index(h);  // never opened
    IndexKey key{};
    fill(key, "a");
    key.value = 3;
    EXPECT_EQ(find_key(key, h), 0);
    EXPECT_EQ(next_key(key, h), 0);
    EXPECT_EQ(key.value, 3);
    EXPECT_EQ(open_index("", h), 0);
    EXPECT_EQ(open_index("/nonexistent/x.ndx", h), 0);
    EXPECT_EQ(find_key(key, h), 0);
}

TEST(Index, ReopenOnTheSameHandleAndEmptyIndex) {
    test::TempDir dir;
    const std::string a = write_index(dir, {{"a", 1}, {"b", 2}}, 16, "a.ndx");
    const std::string empty = write_index(dir, {}, 16, "e.ndx");
    IndexHandle h{};
    IndexKey key{};
    ASSERT_NE(open_index(a.c_str(), h), 0);
    ASSERT_NE(open_index(empty.c_str(), h), 0);  // opening over an open handle closes it first
    fill(key, "a");
    EXPECT_EQ(find_key(key, h), 0);
    EXPECT_EQ(next_key(key, h), 0);
    EXPECT_STREQ(key.text, "a");
    close_index(h);
    ASSERT_NE(open_index(a.c_str(), h), 0);
    EXPECT_NE(find_key(key, h), 0);
    EXPECT_EQ(key.value, 1);
    close_index(h);
}

TEST(Index, WriterRefusesBadKeys) {
    IndexWriter w;
    EXPECT_FALSE(w.add("", 1));
    EXPECT_FALSE(w.add(std::string(128, 'a'), 1));
    EXPECT_FALSE(w.add(std::string("a\0b", 3), 1));
    EXPECT_TRUE(w.add(std::string(127, 'a'), 1));
    EXPECT_FALSE(w.add(std::string(127, 'a'), 2));  // not greater
    EXPECT_FALSE(w.add("a", 2));
    EXPECT_EQ(w.key_count(), 1u);
}

TEST(Index, RefusesTruncatedAndForeignFiles) {
    test::TempDir dir;
    const std::string good = write_index(dir, sample_keys(), 3);
    const std::string bytes = test::read_file(good);
    IndexHandle h{};
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const std::string path = dir / ("t" + std::to_string(n));
        test::write_file(path, bytes.substr(0, n));
        EXPECT_EQ(open_index(path.c_str(), h), 0) << "truncated to " << n;
    }
    test::write_file(dir / "long", bytes + "x");
    EXPECT_EQ(open_index((dir / "long").c_str(), h), 0);
    test::write_file(dir / "text",
                     "[TELEPHONE_ENVIRONMENT]\r\nSEOUL=seoul.ndx\r\n" + std::string(80, ' '));
    EXPECT_EQ(open_index((dir / "text").c_str(), h), 0);
    EXPECT_EQ(open_index(dir.path().c_str(), h), 0);  // a folder
}

// Flips random bytes; with the checksums recomputed half the time, so the structural checks
// (and the decoders' bounds) are reached too. Whatever opens must answer without faults.
TEST(Index, RandomCorruptionNeverReadsOutOfBounds) {
    namespace fmt = index_format;
    test::TempDir dir;
    Keys keys = sample_keys();
    for (int i = 0; i < 200; ++i) keys["k" + std::to_string(i * 7919)] = i;
    const std::string good = test::read_file(write_index(dir, keys, 5));
    std::mt19937 rng(5);
    int opened = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f)
            bytes[rng() % bytes.size()] ^= static_cast<char>(1 + rng() % 255);
        if (rng() % 2 == 0) {
            auto* p = reinterpret_cast<std::byte*>(bytes.data());
            std::span<const std::byte> all(p, bytes.size());
            store_le(p + fmt::kBodyChecksumAt, checksum64(all.subspan(fmt::kHeaderSize)));
            store_le(p + fmt::kHeaderChecksumAt, checksum64(all.first(fmt::kHeaderChecksumAt)));
        }
        const std::string path = dir / ("c" + std::to_string(round));
        test::write_file(path, bytes);
        IndexHandle h{};
        if (open_index(path.c_str(), h) == 0) continue;
        ++opened;
        IndexKey key{};
        for (const char* probe : {"", "ab", "k1", "zz", "\xF9\xBB", "\xFF"}) {
            fill(key, probe);
            find_key(key, h);
            for (int i = 0; i < 50; ++i) next_key(key, h);
            EXPECT_LT(std::strlen(key.text), 128u);
        }
        close_index(h);
        std::filesystem::remove(path);
    }
    EXPECT_LT(opened, 3000);  // most damage is caught at opening
}

}  // namespace
}  // namespace zendari

namespace zendari {
namespace {

// The extras a dong scan uses: ordinals, skipping, and the search by value, against
// next_key and a brute-force search.
TEST(IndexExtras, SkipKeysAndValueSearchAgreeWithTheWalk) {
    test::TempDir dir;
    std::vector<std::pair<std::string, std::int32_t>> keys;
    std::int32_t value = 1;
    for (int i = 0; i < 500; ++i) {
        keys.emplace_back("n" + std::to_string(100000 + i * 3), value);
        value += 1 + i % 7;
    }
    for (std::uint32_t per_block : {1u, 5u, 16u}) {
        IndexWriter writer(per_block);
        for (const auto& [k, v] : keys) ASSERT_TRUE(writer.add(k, v));
        const std::string path = dir / ("v" + std::to_string(per_block));
        ASSERT_TRUE(writer.write(path));
        IndexHandle a{}, b{};
        ASSERT_NE(open_index(path.c_str(), a), 0);
        ASSERT_NE(open_index(path.c_str(), b), 0);
        IndexCursor cursor;
        ASSERT_TRUE(index_cursor(a, cursor));
        EXPECT_TRUE(cursor.values_ascending);
        EXPECT_EQ(cursor.next, 0u);
        IndexKey ka{}, kb{};
        fill(ka, keys[37].first);
        ASSERT_NE(find_key(ka, a), 0);
        ASSERT_TRUE(index_cursor(a, cursor));
        EXPECT_EQ(cursor.next, 38u);
        fill(kb, keys[37].first);
        ASSERT_NE(find_key(kb, b), 0);
        for (std::uint32_t steps : {1u, 2u, 15u, 16u, 17u, 100u, 1000u}) {
            const std::uint32_t taken = skip_keys(ka, a, steps);
            for (std::uint32_t i = 0; i < steps; ++i) next_key(kb, b);
            EXPECT_STREQ(ka.text, kb.text);
            EXPECT_EQ(ka.value, kb.value);
            EXPECT_LE(taken, steps);
            // Both cursors continue alike.
            next_key(ka, a);
            next_key(kb, b);
            EXPECT_STREQ(ka.text, kb.text);
        }
        IndexKey at{};
        EXPECT_TRUE(index_key_at(a, 499, at));
        EXPECT_EQ(std::string(at.text), keys[499].first);
        EXPECT_FALSE(index_key_at(a, 500, at));
        for (std::uint32_t o = 0; o < 500; ++o) ASSERT_EQ(index_value_at(a, o), keys[o].second);
        EXPECT_EQ(index_value_at(a, 500), 0);
        for (std::int32_t probe = 0; probe < value + 3; probe += 3) {
            for (auto [lo, hi] :
                 {std::pair{0u, 500u}, std::pair{17u, 40u}, std::pair{250u, 251u},
                  std::pair{3u, 499u}, std::pair{100u, 500u}, std::pair{499u, 500u}}) {
                std::int64_t expected = -1;
                for (std::uint32_t o = lo; o < hi; ++o) {
                    if (keys[o].second <= probe) expected = o;
                }
                IndexKey hit{};
                std::int32_t next = -1;
                ASSERT_EQ(index_last_with_value_at_most(a, probe, lo, hi, &hit, &next), expected)
                    << probe;
                std::int32_t next_only = -1;  // the ordinal alone, without a decode
                ASSERT_EQ(index_last_with_value_at_most(a, probe, lo, hi, nullptr, &next_only),
                          expected);
                if (expected < 0) continue;
                EXPECT_EQ(std::string(hit.text), keys[expected].first);
                EXPECT_EQ(next, expected + 1 < 500 ? keys[expected + 1].second : 0);
                EXPECT_EQ(next_only, next);
            }
        }
        close_index(a);
        close_index(b);
        EXPECT_FALSE(index_cursor(a, cursor));
        EXPECT_EQ(index_value_at(a, 0), 0);
    }
}

// The key reader of a dong page: keys by ordinal in rising order, with repeats, jumps inside
// a block and back, and past the last key, always the key the index holds there.
TEST(IndexExtras, TheKeyReaderGivesTheKeyAtEveryOrdinalInAnyOrder) {
    test::TempDir dir;
    std::vector<std::string> keys;
    // Shared leading bytes of every length, so each key depends on the one before it.
    for (int i = 0; i < 300; ++i) keys.push_back("k" + std::to_string(1000 + i * i % 997) + "x");
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (std::uint32_t per_block : {1u, 4u, 16u}) {
        IndexWriter writer(per_block);
        for (std::size_t k = 0; k < keys.size(); ++k)
            ASSERT_TRUE(writer.add(keys[k], static_cast<std::int32_t>(k + 1)));
        const std::string path = dir / ("r" + std::to_string(per_block));
        ASSERT_TRUE(writer.write(path));
        const auto file = IndexFile::load(path);
        ASSERT_NE(file, nullptr);
        IndexFile::KeyReader reader(*file);
        std::mt19937 rng(per_block);
        std::vector<std::uint32_t> order;
        for (std::uint32_t o = 0; o < keys.size(); o += 1 + rng() % 3) order.push_back(o);
        for (int i = 0; i < 200; ++i) order.push_back(rng() % (keys.size() + 2));  // any order
        for (const std::uint32_t o : order) {
            const IndexEntry* e = reader.at(o);
            if (o >= keys.size()) {
                EXPECT_EQ(e, nullptr);
                continue;
            }
            ASSERT_NE(e, nullptr) << o;
            EXPECT_EQ(e->view(), keys[o]) << o;
            EXPECT_EQ(e->value, static_cast<std::int32_t>(o + 1));
        }
    }
}

// The batched search by value (a dong page's matches) against a brute-force search, over
// ranges that start and end inside and outside strides, and values below, between and above.
TEST(IndexExtras, TheBatchedValueSearchAgreesWithBruteForce) {
    test::TempDir dir;
    IndexWriter writer(16);
    std::vector<std::int32_t> values;
    std::int32_t value = 3;
    for (int i = 0; i < 700; ++i) {
        ASSERT_TRUE(writer.add("n" + std::to_string(100000 + i), value));
        values.push_back(value);
        value += 1 + i % 5;
    }
    const std::string path = dir / "batched";
    ASSERT_TRUE(writer.write(path));
    const auto file = IndexFile::load(path);
    ASSERT_NE(file, nullptr);
    std::vector<std::int32_t> probes;
    for (std::int32_t v = 0; v < value + 20; v += 2) probes.push_back(v);
    std::mt19937 rng(5);
    std::shuffle(probes.begin(), probes.end(), rng);
    for (auto [lo, hi] :
         {std::pair{0u, 700u}, std::pair{0u, 1u}, std::pair{15u, 17u}, std::pair{16u, 33u},
          std::pair{5u, 650u}, std::pair{699u, 800u}, std::pair{300u, 300u}}) {
        for (const std::size_t n :
             {std::size_t{0}, std::size_t{1}, std::size_t{17}, probes.size()}) {
            const std::span<const std::int32_t> some(probes.data(), n);
            std::vector<std::int64_t> out(n, 99);
            file->last_ordinals_with_value_at_most(some, lo, hi, out);
            for (std::size_t k = 0; k < n; ++k) {
                std::int64_t expected = -1;
                for (std::uint32_t o = lo; o < std::min<std::uint32_t>(hi, 700); ++o)
                    if (values[o] <= some[k]) expected = o;
                ASSERT_EQ(out[k], expected) << some[k] << " in [" << lo << ", " << hi << ")";
            }
        }
    }
}

// Values that fall somewhere (a dong code index) have no value table: the value searches
// answer nothing rather than something wrong.
TEST(IndexExtras, ValueSearchNeedsRisingValues) {
    test::TempDir dir;
    IndexWriter writer(4);
    const std::int32_t values[] = {5, 9, 12, 12, 30, 2, 40};
    for (int i = 0; i < 7; ++i) ASSERT_TRUE(writer.add("k" + std::to_string(i), values[i]));
    const std::string path = dir / "falling";
    ASSERT_TRUE(writer.write(path));
    IndexHandle h{};
    ASSERT_NE(open_index(path.c_str(), h), 0);
    IndexCursor cursor;
    ASSERT_TRUE(index_cursor(h, cursor));
    EXPECT_FALSE(cursor.values_ascending);
    EXPECT_EQ(index_value_at(h, 0), 0);
    IndexKey key{};
    EXPECT_EQ(index_last_with_value_at_most(h, 100, 0, 7, &key), -1);
    EXPECT_TRUE(index_key_at(h, 6, key));
    EXPECT_EQ(key.value, 40);
    close_index(h);
}

}  // namespace
}  // namespace zendari
