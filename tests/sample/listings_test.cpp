// The listings the CD builder reads: reproducible from the seed, inside the builder's input
// contract, with the real surname shares and the sample subscriber in front.
#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Geography.h"
#include "ListingsWriter.h"
#include "Names.h"
#include "Population.h"
#include "SampleSubscriber.h"
#include "TempDir.h"
#include "TextFiles.h"

using telvia::test::TempDir;

namespace {

using namespace zendari::sample;
using sample_test::slurp;
using sample_test::split;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

ListingsRequest request_in(const std::filesystem::path& dir, std::uint64_t n, std::uint64_t seed) {
    ListingsRequest r;
    r.listings = dir / "LISTINGS.tsv";
    r.dongs = dir / "DONGS.tsv";
    r.subscribers = n;
    r.seed = seed;
    return r;
}

TEST(Listings, SameSeedGivesTheSameBytesAndAnotherSeedDoesNot) {
    const Geography geo = build_geography();
    TempDir a, b, c;
    ASSERT_TRUE(write_listings(geo, request_in(a.path(), 30000, 7)).ok());
    ASSERT_TRUE(write_listings(geo, request_in(b.path(), 30000, 7)).ok());
    ASSERT_TRUE(write_listings(geo, request_in(c.path(), 30000, 8)).ok());
    const std::string first = slurp(a.path() / "LISTINGS.tsv");
    EXPECT_GT(first.size(), 30000u * 30);
    EXPECT_EQ(first, slurp(b.path() / "LISTINGS.tsv"));
    EXPECT_EQ(slurp(a.path() / "DONGS.tsv"), slurp(b.path() / "DONGS.tsv"));
    EXPECT_NE(first, slurp(c.path() / "LISTINGS.tsv"));
}

bool is_number_in(const std::string& s, long lo, long hi) {
    long v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && ec == std::errc{} && p == s.data() + s.size() && v >= lo && v <= hi;
}

// Every line meets the builder's input rules, the telephone area code belongs to the dong's
// region, and the counts add up.
TEST(Listings, EveryLineMeetsTheBuilderContract) {
    const Geography geo = build_geography();
    TempDir dir;
    ASSERT_TRUE(write_listings(geo, request_in(dir.path(), 50000, 3)).ok());

    const auto dong_lines = lines_of(slurp(dir.path() / "DONGS.tsv"));
    ASSERT_EQ(dong_lines.front() + "\n", kDongsHeader);
    std::map<std::string, std::string> postal_of;  // dong code -> postal code
    for (std::size_t i = 1; i < dong_lines.size(); ++i) {
        const auto f = split(dong_lines[i], '\t');
        ASSERT_EQ(f.size(), 3u) << dong_lines[i];
        EXPECT_TRUE(is_number_in(f[0], 10000000, 99999999));
        EXPECT_TRUE(is_number_in(f[1], 100000, 999999));
        EXPECT_TRUE(postal_of.emplace(f[0], f[1]).second) << "dong listed twice: " << f[0];
    }
    EXPECT_EQ(postal_of.size(), geo.dongs.size());
    std::map<std::uint32_t, std::string> phone_of;
    for (const auto& d : geo.dongs) phone_of[d.code] = geo.tops[d.top].phone;

    const auto lines = lines_of(slurp(dir.path() / "LISTINGS.tsv"));
    ASSERT_EQ(lines.size(), 50001u);
    ASSERT_EQ(lines.front() + "\n", kListingsHeader);
    int below_1000 = 0, suffixes = 0, with_sub = 0, no_lot = 0, with_detail = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto f = split(lines[i], '\t');
        ASSERT_EQ(f.size(), 10u) << "line " << i + 1;
        SCOPED_TRACE(lines[i]);
        EXPECT_FALSE(f[0].empty());
        EXPECT_LE(f[0].size() / 3 * 2, 127u);  // UTF-8 Hangul is 3 bytes, CP949 2
        EXPECT_LT(static_cast<unsigned char>(f[0][0]), 0xF9);
        ASSERT_TRUE(postal_of.contains(f[1]));
        EXPECT_EQ(f[2], phone_of.at(static_cast<std::uint32_t>(std::stoul(f[1]))));
        for (int k = 3; k <= 7; ++k) EXPECT_TRUE(is_number_in(f[k], 0, 32767)) << k;
        EXPECT_TRUE(is_number_in(f[3], 1, 32767));
        EXPECT_EQ(f[8], postal_of.at(f[1]));
        for (int k : {0, 9}) EXPECT_EQ(f[k].find_first_of(":|"), std::string::npos);
        below_1000 += std::stoi(f[4]) < 1000;
        suffixes += f[5] != "0";
        with_sub += f[7] != "0";
        no_lot += f[6] == "0" && f[7] == "0";
        with_detail += !f[9].empty();
    }
    // The mix the result lists need to show every display case.
    EXPECT_GT(below_1000, 2000);
    EXPECT_GT(suffixes, 500);
    EXPECT_GT(with_sub, 10000);
    EXPECT_GT(no_lot, 100);
    EXPECT_GT(with_detail, 20000);
    EXPECT_LT(with_detail, 48000);
}

TEST(Listings, SurnamesFollowTheirRealShares) {
    const Geography geo = build_geography();
    TempDir dir;
    constexpr int kN = 200000;
    ASSERT_TRUE(write_listings(geo, request_in(dir.path(), kN, 11)).ok());
    std::map<std::string, int> count;
    const auto lines = lines_of(slurp(dir.path() / "LISTINGS.tsv"));
    // Longest surname first, so 남궁 is not counted as 남.
    std::vector<std::string> surnames;
    for (const auto& s : surname_shares()) surnames.emplace_back(s.surname);
    std::sort(surnames.begin(), surnames.end(),
              [](const auto& a, const auto& b) { return a.size() > b.size(); });
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string name = lines[i].substr(0, lines[i].find('\t'));
        for (const auto& s : surnames) {
            if (name.starts_with(s) && name.size() > s.size()) {
                ++count[s];
                break;
            }
        }
    }
    // Shares within half a percentage point for the big five and a quarter point for the
    // rest of the top twenty; the sampling error at this size is about a tenth of that.
    int checked = 0;
    for (const auto& s : surname_shares()) {
        if (checked++ == 20) break;
        const double expected = static_cast<double>(s.per_million) / surname_share_total();
        const double seen = static_cast<double>(count[std::string(s.surname)]) / kN;
        EXPECT_NEAR(seen, expected, checked <= 5 ? 0.005 : 0.0025) << s.surname;
    }
    // And the table itself keeps 김 at about a fifth, 이 and 박 after it.
    EXPECT_NEAR(static_cast<double>(count["김"]) / kN, 0.215, 0.01);
    EXPECT_NEAR(static_cast<double>(count["이"]) / kN, 0.148, 0.01);
    EXPECT_NEAR(static_cast<double>(count["박"]) / kN, 0.085, 0.006);
}

TEST(Listings, NamesRepeatLikeARealDirectory) {
    const Geography geo = build_geography();
    TempDir dir;
    ASSERT_TRUE(write_listings(geo, request_in(dir.path(), 400000, 5)).ok());
    std::map<std::string, int> seoul;
    const auto lines = lines_of(slurp(dir.path() / "LISTINGS.tsv"));
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto f = split(lines[i], '\t');
        if (f[1].starts_with("10")) ++seoul[f[0]];
    }
    int singles = 0, top = 0;
    for (const auto& [name, n] : seoul) {
        singles += n == 1;
        top = std::max(top, n);
    }
    // About 86,000 Seoul subscribers: the commonest name dozens of times, thousands of
    // names once.
    EXPECT_GT(top, 25);
    EXPECT_GT(singles, 2000);
}

// The name-diverse pool: the same subscribers otherwise, but most names rare.
TEST(Listings, DiverseNamesAreMostlyRare) {
    const Geography geo = build_geography();
    auto distinct = [&](NamePool pool) {
        TempDir dir;
        ListingsRequest request = request_in(dir.path(), 100000, 5);
        request.names = pool;
        EXPECT_TRUE(write_listings(geo, request).ok());
        std::set<std::string> names;
        const auto lines = lines_of(slurp(dir.path() / "LISTINGS.tsv"));
        for (std::size_t i = 1; i < lines.size(); ++i) names.insert(split(lines[i], '\t')[0]);
        return names.size();
    };
    const std::size_t common = distinct(NamePool::kCommon);
    const std::size_t diverse = distinct(NamePool::kDiverse);
    EXPECT_GT(diverse, common * 3 / 2);
    EXPECT_GT(diverse, 85000u);  // of 100,000 subscribers
}

TEST(Population, DongSizesVaryWidelyAndAddUp) {
    const Geography geo = build_geography();
    const auto counts = allocate_subscribers(geo, 11'900'000, 1);
    std::uint64_t sum = 0;
    for (auto c : counts) sum += c;
    EXPECT_EQ(sum, 11'900'000u);
    std::vector<std::uint32_t> sorted(counts.begin(), counts.end());
    std::sort(sorted.begin(), sorted.end());
    const std::uint32_t median = sorted[sorted.size() / 2];
    EXPECT_GE(sorted.back(), 20000u) << "a few dongs of tens of thousands";
    EXPECT_LT(sorted.front(), median / 5) << "and many small ones";
    EXPECT_GT(sorted.back(), median * 8);
}

TEST(Population, LargestRemainderSplitIsExact) {
    EXPECT_EQ(split_by_weight(10, {1, 1, 1}), (std::vector<std::uint64_t>{4, 3, 3}));
    EXPECT_EQ(split_by_weight(1, {0, 5}), (std::vector<std::uint64_t>{0, 1}));
    EXPECT_EQ(split_by_weight(7, {0, 0}), (std::vector<std::uint64_t>{0, 0}));
    EXPECT_EQ(split_by_weight(0, {3, 4}), (std::vector<std::uint64_t>{0, 0}));
}

TEST(SampleSubscriber, IsTheFirstListingAndItsTextsHaveBothForms) {
    const Geography geo = build_geography();
    TempDir dir;
    ASSERT_TRUE(write_listings(geo, request_in(dir.path(), 1, 1)).ok());
    const auto lines = lines_of(slurp(dir.path() / "LISTINGS.tsv"));
    ASSERT_EQ(lines.size(), 2u) << "one subscriber: the sample one";
    const SampleSubscriber s = sample_subscriber(geo);
    const auto f = split(lines[1], '\t');
    EXPECT_EQ(f[0], s.listing.name);
    EXPECT_EQ(f[1], std::to_string(s.listing.dong_code));

    const std::string by_code = excluded_record_text(s, geo);
    const std::string by_name = excluded_scan_record_text(s, geo);
    const auto a = split(by_code, ':');
    const auto b = split(by_name, ':');
    ASSERT_EQ(a.size(), 7u) << by_code;
    ASSERT_EQ(b.size(), 7u) << by_name;
    EXPECT_EQ(a[0], f[1]);
    EXPECT_EQ(b[0], f[0]);
    for (int k = 1; k < 7; ++k) EXPECT_EQ(a[k], b[k]);
    const std::string postal = f[8];
    EXPECT_TRUE(a[1].starts_with("(" + postal.substr(0, 3) + "-" + postal.substr(3) + ") "));
    EXPECT_EQ(a[2], f[6] + "-" + f[7]);
    EXPECT_EQ(a[3], f[2]);
    EXPECT_EQ(a[4], f[3] + "-" + f[4]);
    EXPECT_EQ(a[5], postal);
    EXPECT_EQ(a[6], f[9]);
}

TEST(Listings, RefusesZeroSubscribersAndAnUnwritableFile) {
    const Geography geo = build_geography();
    TempDir dir;
    EXPECT_FALSE(write_listings(geo, request_in(dir.path(), 0, 1)).ok());
    const auto status = write_listings(geo, request_in(dir.path() / "missing" / "x", 10, 1));
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("missing"), std::string::npos) << status.message();
}

}  // namespace
