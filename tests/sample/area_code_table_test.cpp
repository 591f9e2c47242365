// The region tree table as the main program reads it back from adDocs.cad: every row must
// find its parent by the tree's rules, and every dong must live in the region index that the
// tree's codes select.
#include <memory>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Database.h"
#include "Geography.h"
#include "SampleDatabases.h"
#include "TempDir.h"

using telvia::test::TempDir;

namespace {

using namespace zendari::sample;

struct Row {
    int area = 0;
    int level = 0;
    std::string name;
    std::string code;
};

std::vector<Row> read_back(const std::filesystem::path& file) {
    telvia::Database db;
    EXPECT_TRUE(telvia::Database::open(file, kDocsSecret, telvia::OpenShare::kExclusive,
                                       telvia::OpenAccess::kReadOnly, db)
                    .ok());
    std::vector<Row> rows;
    for (int area = 0; area < 10; ++area) {
        telvia::Recordset rs;
        EXPECT_TRUE(
            db.open_recordset(
                  "SELECT * FROM areaCode WHERE (areaNumber = " + std::to_string(area) + ");", rs)
                .ok());
        for (rs.move_first(); !rs.eof(); rs.move_next())
            rows.push_back({static_cast<int>(rs.integer("areaNumber")),
                            static_cast<int>(rs.integer("areaLevel")), rs.text("areaName"),
                            rs.text("AreaCode")});
    }
    return rows;
}

// The main program's region filter for name results: does a record of `dong` pass when
// the selected node has `area_code`?
bool passes(const std::string& area_code, const std::string& dong) {
    static const std::map<std::string, std::vector<std::string>> lists{
        {"7203:7204", {"7203", "7204"}},
        {"20:21:22:23:24:72", {"72", "20", "21", "22", "23", "24"}},
        {"40:74", {"74", "40"}},
        {"45:76", {"76", "45"}},
        {"55:80", {"80", "55"}},
        {"65:84", {"84", "65"}}};
    if (area_code.find(':') == std::string::npos) return dong.starts_with(area_code);
    auto it = lists.find(area_code);
    if (it == lists.end()) return false;
    for (const auto& p : it->second)
        if (dong.starts_with(p)) return true;
    return false;
}

class AreaCodeTable : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>();
        geo_ = std::make_unique<Geography>(build_geography());
        ASSERT_TRUE(write_area_codes(*geo_, dir_->path() / "adDocs.cad").ok());
        rows_ = std::make_unique<std::vector<Row>>(read_back(dir_->path() / "adDocs.cad"));
    }
    static void TearDownTestSuite() {
        rows_.reset();
        geo_.reset();
        dir_.reset();
    }
    inline static std::unique_ptr<TempDir> dir_;
    inline static std::unique_ptr<Geography> geo_;
    inline static std::unique_ptr<std::vector<Row>> rows_;
};

TEST_F(AreaCodeTable, StoresEveryRowInTreeOrder) {
    ASSERT_EQ(rows_->size(), geo_->rows.size());
    for (std::size_t i = 0; i < rows_->size(); ++i) {
        EXPECT_EQ((*rows_)[i].code, geo_->rows[i].code);
        EXPECT_EQ((*rows_)[i].name, geo_->rows[i].name);
    }
}

// Builds the tree the way the main program does and checks that every row lands under the
// parent it belongs to, that codes narrow down the tree and that every dong is reachable
// through the index region its top node selects.
TEST_F(AreaCodeTable, EveryRowFollowsTheParentRules) {
    std::set<int> areas;
    std::set<std::string> keys;
    std::string top_key, level2, level3_short;
    int leaf_dongs = 0, groups = 0, short_level3 = 0, level4 = 0;
    int last_area = -1;
    for (const Row& r : *rows_) {
        SCOPED_TRACE(r.name + " " + r.code);
        if (r.area != last_area) {
            ASSERT_EQ(r.level, 1) << "a region must start with its top row";
            last_area = r.area;
        }
        areas.insert(r.area);
        ASSERT_FALSE(r.name.empty());
        EXPECT_EQ(r.name.find_first_of(":|"), std::string::npos);
        switch (r.level) {
            case 1: {
                const auto colon = r.code.find(':');
                ASSERT_NE(colon, std::string::npos) << "top codes carry a prefix and ':'";
                top_key = r.code.substr(colon + 1);
                level2.clear();
                level3_short.clear();
                EXPECT_TRUE(keys.insert("!" + top_key).second) << "duplicate key";
                break;
            }
            case 2:
                ASSERT_FALSE(top_key.empty());
                EXPECT_TRUE(r.code.size() == 2 || r.code.size() == 4);
                EXPECT_TRUE(passes(top_key, r.code + "000000"));
                level2 = r.code;
                level3_short.clear();
                EXPECT_TRUE(keys.insert("@" + r.code).second) << "duplicate key";
                break;
            case 3:
                ASSERT_FALSE(level2.empty()) << "level 3 without a level-2 parent";
                EXPECT_TRUE(r.code.starts_with(level2));
                EXPECT_TRUE(r.code.size() == 4 || r.code.size() == 6 || r.code.size() == 8);
                if (r.code.size() <= 4) {
                    level3_short = r.code;
                    ++short_level3;
                } else {
                    level3_short.clear();
                }
                EXPECT_TRUE(keys.insert("#" + r.code).second) << "duplicate key";
                break;
            case 4:
                ASSERT_FALSE(level3_short.empty()) << "level 4 without a short level-3 parent";
                EXPECT_TRUE(r.code.starts_with(level3_short));
                EXPECT_TRUE(r.code.size() == 6 || r.code.size() == 8);
                ++level4;
                EXPECT_TRUE(keys.insert("$" + r.code).second) << "duplicate key";
                break;
            default:
                ADD_FAILURE() << "level " << r.level;
        }
        if (r.level >= 3 && r.code.size() == 8) {
            ++leaf_dongs;
            const int index = index_region_of_dong(static_cast<std::uint32_t>(std::stoul(r.code)));
            EXPECT_NE(index, 0) << "no region index holds this dong";
            EXPECT_EQ(index, index_region_of_area_code(top_key));
            EXPECT_EQ(index, index_region_of_area_code(level2));
            EXPECT_TRUE(passes(top_key, r.code));
            EXPECT_TRUE(passes(level2, r.code));
        }
        if (r.level >= 3 && r.code.size() == 6) ++groups;
    }
    EXPECT_EQ(areas.size(), 10u);
    EXPECT_EQ(leaf_dongs, static_cast<int>(geo_->dongs.size()));
    EXPECT_GT(groups, 100);
    EXPECT_GT(short_level3, 10);
    EXPECT_GT(level4, 100);
}

TEST_F(AreaCodeTable, GroupsAreFollowedByTheirDongs) {
    for (std::size_t i = 0; i < rows_->size(); ++i) {
        const Row& r = (*rows_)[i];
        if (r.level < 3 || r.code.size() != 6) continue;
        ASSERT_LT(i + 1, rows_->size());
        EXPECT_TRUE((*rows_)[i + 1].code.starts_with(r.code)) << r.name;
        EXPECT_EQ((*rows_)[i + 1].level, r.level) << r.name;
    }
}

TEST_F(AreaCodeTable, TopRowsCoverEveryIndexAndTheListCodes) {
    std::map<std::string, int> top_keys;
    for (const Row& r : *rows_)
        if (r.level == 1) top_keys[r.code.substr(r.code.find(':') + 1)] = r.area;
    for (const char* list : {"7203:7204", "20:21:22:23:24:72", "40:74", "45:76", "55:80", "65:84"})
        EXPECT_TRUE(top_keys.contains(list)) << list;
    EXPECT_EQ(top_keys.at("7203:7204"), 0) << "과천/광명 belong to the Seoul tree";
    EXPECT_EQ(top_keys.at("10"), 0);
    EXPECT_EQ(top_keys.at("65:84"), 7);
    EXPECT_EQ(top_keys.at("86"), 9);
    std::set<int> indexes;
    for (const auto& [key, area] : top_keys) indexes.insert(index_region_of_area_code(key));
    EXPECT_EQ(indexes,
              (std::set<int>{10, 11, 12, 13, 14, 15, 16, 70, 72, 74, 76, 78, 80, 82, 84, 86}));
}

TEST(Geography, TelephoneAndPostalCodesMatchTheRegions) {
    const Geography geo = build_geography();
    const std::map<int, std::string> phone_of_index{
        {10, "02"},  {11, "051"}, {12, "032"}, {13, "062"}, {14, "053"}, {15, "042"},
        {16, "052"}, {70, "033"}, {72, "031"}, {74, "055"}, {76, "054"}, {78, "061"},
        {80, "063"}, {82, "041"}, {84, "043"}, {86, "064"}};
    std::set<std::uint32_t> codes;
    for (const DongInfo& d : geo.dongs) {
        SCOPED_TRACE(d.address);
        EXPECT_TRUE(codes.insert(d.code).second) << "dong code used twice";
        EXPECT_EQ(geo.tops[d.top].phone, phone_of_index.at(index_region_of_dong(d.code)));
        EXPECT_GE(d.postal, 100000u);
        EXPECT_LE(d.postal, 999999u);
        EXPECT_EQ(d.address.find_first_of(":|"), std::string::npos);
        EXPECT_TRUE(d.address.ends_with(d.name));
    }
    EXPECT_GT(geo.dongs.size(), 3000u);
}

TEST(Geography, IndexRegionOfAreaCodes) {
    EXPECT_EQ(index_region_of_area_code("7203:7204"), 10);
    EXPECT_EQ(index_region_of_area_code("7204"), 10);
    EXPECT_EQ(index_region_of_area_code("1102"), 11);
    EXPECT_EQ(index_region_of_area_code("20:21:22:23:24:72"), 72);
    EXPECT_EQ(index_region_of_area_code("2301"), 72);
    EXPECT_EQ(index_region_of_area_code("40:74"), 74);
    EXPECT_EQ(index_region_of_area_code("45:76"), 76);
    EXPECT_EQ(index_region_of_area_code("55:80"), 80);
    EXPECT_EQ(index_region_of_area_code("65:84"), 84);
    EXPECT_EQ(index_region_of_dong(72030101), 10);
    EXPECT_EQ(index_region_of_dong(72050101), 72);
    EXPECT_EQ(index_region_of_dong(65010101), 84);
    EXPECT_EQ(index_region_of_dong(17010101), 0);
}

}  // namespace
