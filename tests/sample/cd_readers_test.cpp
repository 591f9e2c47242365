// The sample CD read back through the CD-format readers: the region name indexes hold every
// subscriber once, in the region the dong code names, with the sample subscriber in Seoul.
#include <cstring>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "SampleRun.h"
#include "SampleSubscriber.h"
#include "data/Cp949.h"
#include "data/TelEnvironment.h"
#include "data/regions.h"
#include "index/Nodix.h"

namespace {

using namespace sample_test;
using zendari::IndexHandle;
using zendari::IndexKey;

// Name (UTF-8) -> number of records, walked from the first key to the sentinel.
struct RegionWalk {
    bool opened = false;
    bool ascending = true;
    std::map<std::string, int> counts;
    int total = 0;
};

RegionWalk walk_region(const std::string& index_path) {
    RegionWalk walk;
    IndexHandle handle{};
    if (!zendari::open_index(index_path.c_str(), handle, 0, 0)) return walk;
    walk.opened = true;
    IndexKey key{};
    key.text[0] = '\0';
    if (!zendari::find_key(key, handle)) zendari::next_key(key, handle);
    std::string previous;
    while (!(static_cast<unsigned char>(key.text[0]) == 0xF9 &&
             static_cast<unsigned char>(key.text[1]) == 0xBB)) {
        const std::string name(key.text);
        const std::int32_t first = key.value;
        if (!zendari::next_key(key, handle)) {
            ADD_FAILURE() << "the index ends without its sentinel";
            break;
        }
        if (!previous.empty() && !(previous < name)) walk.ascending = false;
        previous = name;
        const int count = key.value - first;
        walk.counts[zendari::cp949_to_utf8(name).value_or("?")] += count;
        walk.total += count;
    }
    zendari::close_index(handle);
    return walk;
}

// Region index key of a dong code, by the builder's prefixes.
std::string_view region_key_of(const std::string& dong) {
    const int four = std::stoi(dong.substr(0, 4));
    if (four == 7203 || four == 7204) return "SEOUL";
    const int two = std::stoi(dong.substr(0, 2));
    if (two >= 20 && two <= 24) return "KYONGGI";
    const std::map<int, int> into{{40, 74}, {45, 76}, {55, 80}, {65, 84}};
    const int code = into.contains(two) ? into.at(two) : two;
    return zendari::kRegionKeys[static_cast<std::size_t>(zendari::region_of_code(code))];
}

TEST_F(InstalledSample, EveryRegionIndexHoldsItsSubscribers) {
    // Expected name counts per region from the listings that went into the CD.
    std::map<std::string_view, std::map<std::string, int>> expected;
    std::istringstream in(slurp(root() / "listings" / "LISTINGS.tsv"));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const auto f = split(line, '\t');
        ++expected[region_key_of(f[1])][f[0]];
    }
    const zendari::TelEnvironment env((root() / "windows" / "Quenby.INI").string());
    int total = 0;
    for (std::string_view key : zendari::kRegionKeys) {
        SCOPED_TRACE(std::string(key));
        const RegionWalk walk = walk_region(env.index_file_path(key));
        ASSERT_TRUE(walk.opened) << env.index_file_path(key);
        EXPECT_TRUE(walk.ascending);
        EXPECT_EQ(walk.counts, expected[key]);
        EXPECT_GT(walk.total, 0) << "every region has subscribers";
        total += walk.total;
        if (key == "SEOUL") {
            EXPECT_GE(walk.counts.count("홍길동"), 1u) << "the sample subscriber";
        }
    }
    EXPECT_EQ(total, kSubscribers);
}

}  // namespace
