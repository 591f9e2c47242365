// The flag a host reads to stop offering the next page: set once a scan has walked up to the
// region's last name, cleared by a scan that stops short of it, and the same with and without
// the auxiliary files.
#include "EngineFixture.h"

namespace zendari::test {
namespace {

std::string item_of(std::string_view name, std::string_view detail) {
    return cp949(std::string(name) + ":(110-011) 서울 종로구 청운동::02:123-4567:100011:" +
                 std::string(detail) + "\n|");
}

class ScanEnded : public EngineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        // Seoul names in key order: 가, 김, 나, 박 (one record each).
        build_rows({{.name = "가", .dong = "10010101", .detail = "g"},
                    {.name = "김", .dong = "10010101", .detail = "k"},
                    {.name = "나", .dong = "10010102", .detail = "n"},
                    {.name = "박", .dong = "10010101", .detail = "p"}});
        if (!GetParam()) {
            remove_auxiliary_files();
            restart();
        }
        init_and_select();
    }
};

TEST_P(ScanEnded, FollowsTheDongPagesToTheRegionsEnd) {
    EXPECT_FALSE(core_->scan_ended()) << "no scan yet";
    EXPECT_FALSE(core_->get_loc_next("10010101", 2).empty());
    EXPECT_FALSE(core_->scan_ended()) << "나 and 박 are still ahead";
    (void)core_->get_loc_next("10010101", 2);  // 나, 박: the last names
    EXPECT_TRUE(core_->scan_ended());
    EXPECT_EQ(core_->get_loc_next("10010101", 2), "");
    EXPECT_TRUE(core_->scan_ended()) << "a page on the end stays at the end";
    // Another dong starts over from the first name.
    (void)core_->get_loc_next("10010102", 1);
    EXPECT_FALSE(core_->scan_ended());
    // A page larger than the region walks into the end at once.
    (void)core_->get_loc_next("10010101", 100);
    EXPECT_TRUE(core_->scan_ended());
}

TEST_P(ScanEnded, SurnameScansStopAtTheirSurnameNotAtTheEnd) {
    (void)core_->get_loc_next("10010101", 100);
    ASSERT_TRUE(core_->scan_ended());
    EXPECT_EQ(core_->get_loc_sung("10010101", 100, cp949("김")), item_of("김", "k"));
    EXPECT_FALSE(core_->scan_ended()) << "나 follows 김";
    (void)core_->get_loc_sung("10010101", 100, cp949("박"));
    EXPECT_TRUE(core_->scan_ended()) << "박 is the region's last name";
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutAuxiliaryFiles, ScanEnded, ::testing::Bool());

}  // namespace
}  // namespace zendari::test
