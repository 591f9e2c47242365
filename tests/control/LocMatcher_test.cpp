// The location test of the scans, and the code ranges a posting search uses in its place:
// both must accept exactly the same codes.
#include "scan/LocMatcher.h"

#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace zendari {
namespace {

bool in_ranges(const std::vector<LocMatcher::CodeRange>& ranges, std::int32_t code) {
    for (const auto& [low, high] : ranges) {
        if (code >= low && code <= high) return true;
    }
    return false;
}

TEST(LocMatcher, EightDigitsExactSixDigitsPrefix) {
    const LocMatcher exact("10010101"), prefix("100101");
    EXPECT_TRUE(exact.matches(10010101));
    EXPECT_FALSE(exact.matches(10010102));
    EXPECT_FALSE(exact.matches(100101010));
    EXPECT_TRUE(prefix.matches(10010101));
    EXPECT_TRUE(prefix.matches(10010199));
    EXPECT_TRUE(prefix.matches(100101));   // the whole text is the prefix
    EXPECT_TRUE(prefix.matches(1001019));  // 7 digits
    EXPECT_FALSE(prefix.matches(10010201));
    EXPECT_FALSE(prefix.matches(10010));  // shorter than the location
    EXPECT_FALSE(prefix.matches(-10010101));
    EXPECT_FALSE(LocMatcher("").matches(0));
    EXPECT_TRUE(LocMatcher("0").matches(0));
    EXPECT_TRUE(LocMatcher("-5").matches(-5));  // compared as text
    EXPECT_FALSE(LocMatcher("010010101").matches(10010101));
}

// Random codes near the edges of each range and over the whole int32 span.
TEST(LocMatcher, CodeRangesAcceptExactlyWhatMatches) {
    std::mt19937 rng(3);
    const std::vector<std::string> locs = {"10010101",  "100101", "214748", "214747",    "999999",
                                           "123456789", "7",      "0",      "999999999", "1000000"};
    for (const std::string& text : locs) {
        const LocMatcher loc(text);
        std::vector<LocMatcher::CodeRange> ranges;
        ASSERT_TRUE(loc.code_ranges(ranges)) << text;
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            EXPECT_LE(ranges[i].first, ranges[i].second) << text;
            if (i > 0) {
                EXPECT_LT(ranges[i - 1].second, ranges[i].first) << text;
            }
        }
        std::vector<std::int32_t> probes = {0, -1, std::numeric_limits<std::int32_t>::max(),
                                            std::numeric_limits<std::int32_t>::min()};
        for (const auto& [low, high] : ranges) {
            for (std::int32_t d : {-2, -1, 0, 1, 2}) {
                probes.push_back(static_cast<std::int32_t>(std::int64_t{low} + d));
                probes.push_back(static_cast<std::int32_t>(std::min<std::int64_t>(
                    std::int64_t{high} + d, std::numeric_limits<std::int32_t>::max())));
            }
        }
        for (int i = 0; i < 20000; ++i) probes.push_back(static_cast<std::int32_t>(rng()));
        for (std::int32_t code : probes)
            ASSERT_EQ(loc.matches(code), in_ranges(ranges, code)) << text << " " << code;
    }
    // Texts that are not plain decimal are tested code by code.
    for (const char* text : {"", "0100101", "-5", "10a10101", "2147483647"}) {
        std::vector<LocMatcher::CodeRange> ranges;
        EXPECT_FALSE(LocMatcher(text).code_ranges(ranges)) << text;
    }
}

}  // namespace
}  // namespace zendari
