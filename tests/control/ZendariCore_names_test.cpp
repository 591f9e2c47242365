// The engine's name lookup, record strings and initialisation on small CDs.
#include <filesystem>

#include "EngineFixture.h"

namespace zendari::test {
namespace {

// Seoul: A x3 (records 1-3), B x5 (records 4-8); Busan: one name.
std::vector<Row> names_ab() {
    std::vector<Row> rows;
    for (int i = 0; i < 3; ++i) rows.push_back({.name = "A", .dong = "10010101"});
    for (int i = 0; i < 5; ++i) rows.push_back({.name = "B", .dong = "10010102"});
    rows.push_back({.name = "C", .dong = "11020103"});
    return rows;
}

using Names = EngineTest;

TEST_F(Names, EntryStringsPositioningAndTheSentinel) {
    build_rows(names_ab());
    init_and_select(10);
    EXPECT_TRUE(core_->find_key("A"));
    EXPECT_EQ(core_->get_next(), "A:1:3:");
    EXPECT_EQ(core_->get_next(), "B:4:5:");
    EXPECT_EQ(core_->get_next(), "vbROF");
    EXPECT_EQ(core_->get_next(), "vbROF");  // the cursor stays on the sentinel

    EXPECT_FALSE(core_->find_key("AA"));  // between A and B
    EXPECT_EQ(core_->get_next(), "B:4:5:");
    EXPECT_FALSE(core_->find_key(""));  // the empty text: the first name
    EXPECT_EQ(core_->get_next(), "A:1:3:");
    EXPECT_FALSE(core_->find_key(std::string(300, 'A')));  // longer than the key record
    EXPECT_EQ(core_->get_next(), "B:4:5:");
    EXPECT_FALSE(core_->find_key("\xFD\xFE"));  // sorts after every key
    EXPECT_EQ(core_->get_next(), "vbROF");
    EXPECT_TRUE(host_->messages.empty());

    core_->set_local(7203);  // the same index as 10
    EXPECT_EQ(core_->local(), 7203);
    EXPECT_TRUE(core_->find_key("B"));
    EXPECT_EQ(core_->get_next(), "B:4:5:");
    core_->set_local(11);
    EXPECT_TRUE(core_->find_key("C"));
    EXPECT_EQ(core_->get_next(), "C:9:1:");
}

// Selecting the region already open is free while nothing changed, but an edit of Quenby.INI
// or of the index still shows at the very next selection, as a fresh reading would.
// Before a CD is held every selection reads Quenby.INI and the index again, so every edit is
// seen. Once InitDB holds the CD, the region selected again keeps the index it has open (a
// keystroke costs no system call): opening again could only give that file or refuse a new
// one. A region opened anew follows Quenby.INI as it is then.
TEST_F(Names, ReselectingTheSameRegionSeesEveryEditUntilTheCdIsHeld) {
    build_rows(names_ab());
    const std::string ini = cd() + "/Quenby.INI";
    const std::string text = read_file(ini);
    std::string edited = text;
    const std::size_t at = edited.find("SEOUL=SEOUL.ndx");
    ASSERT_NE(at, std::string::npos);
    edited.replace(at, 15, "SEOUL=PUSAN.ndx");

    core_->set_local(10);  // no InitDB: nothing is held
    ASSERT_EQ(core_->local(), 10);
    EXPECT_TRUE(core_->find_key("A"));
    core_->set_local(10);
    EXPECT_EQ(core_->get_next(), "A:1:3:");  // the cursor keeps its key
    write_file(ini, edited);
    core_->set_local(10);
    EXPECT_TRUE(core_->find_key("C"));
    EXPECT_EQ(core_->get_next(), "C:9:1:");
    write_file(ini, text);
    core_->set_local(10);
    EXPECT_FALSE(core_->find_key("C"));
    const auto seoul = std::filesystem::path(cd()) / "index" / "SEOUL.ndx";
    const std::string index = read_file(seoul.string());
    std::filesystem::remove(seoul);
    core_->set_local(10);
    EXPECT_EQ(core_->local(), -1);
    ASSERT_EQ(host_->messages.size(), 1u);
    EXPECT_EQ(utf8(host_->messages[0].text), "SEOUL 인덱스가 없습니다 !");
    write_file(seoul.string(), index);

    restart();
    init_and_select(10);  // the CD is held from here on
    write_file(ini, edited);
    core_->set_local(10);
    EXPECT_EQ(core_->local(), 10);
    EXPECT_FALSE(core_->find_key("C"));  // still SEOUL.ndx
    EXPECT_TRUE(core_->find_key("B"));
    EXPECT_EQ(core_->get_next(), "B:4:5:");
    core_->set_local(11);  // opened anew: PUSAN.ndx
    core_->set_local(10);  // ...and SEOUL opened anew, as Quenby.INI now names it
    EXPECT_TRUE(core_->find_key("C"));
    EXPECT_TRUE(host_->messages.empty());
}

TEST_F(Names, RegionCodesThatDoNotOpen) {
    build_rows(names_ab());
    init_and_select(10);
    core_->set_local(17);
    EXPECT_EQ(core_->local(), -1);
    ASSERT_EQ(host_->messages.size(), 1u);
    EXPECT_EQ(host_->messages[0].caption, "CODE ERROR !");
    EXPECT_EQ(utf8(host_->messages[0].text), "유효한 인덱스 ID 가 아닙니다!");
    EXPECT_TRUE(core_->find_key("A"));  // the index selected before is still open
    EXPECT_EQ(core_->get_next(), "A:1:3:");

    std::filesystem::remove(std::filesystem::path(cd()) / "index" / "CHEJU.ndx");
    std::filesystem::remove(std::filesystem::path(cd()) / "index" / "PUSAN.ndx");
    core_->set_local(86);
    EXPECT_EQ(core_->local(), -1);
    EXPECT_EQ(host_->messages.back().caption, "ERROR !");
    EXPECT_EQ(utf8(host_->messages.back().text), "인덱스가 없습니다 !");
    core_->set_local(11);
    EXPECT_EQ(utf8(host_->messages.back().text), "PUSAN 인덱스가 없습니다 !");
    EXPECT_FALSE(core_->find_key("A"));  // closed now
    EXPECT_EQ(core_->get_next(), "vbROF");
}

// The name cursor outlives a region selection; what it then yields must be the new index's.
TEST_F(Names, CursorCarriedIntoAnotherRegion) {
    // Seoul: A (1-3), B (4-8); Busan: A (9-10), AB (11), C (12).
    std::vector<Row> rows = names_ab();
    rows.pop_back();
    rows.push_back({.name = "A", .dong = "11020103"});
    rows.push_back({.name = "A", .dong = "11020103"});
    rows.push_back({.name = "AB", .dong = "11020103"});
    rows.push_back({.name = "C", .dong = "11020103"});
    build_rows(rows);
    init_and_select(10);
    // A fresh selection without a lookup: the walk starts at the first name.
    EXPECT_EQ(core_->get_next(), "A:1:3:");
    EXPECT_EQ(core_->get_next(), "B:4:5:");

    ASSERT_FALSE(core_->find_key(""));
    core_->set_local(11);  // the cursor's A is Busan's A, records 9-10
    EXPECT_EQ(core_->get_next(), "A:9:2:");
    core_->set_local(10);
    ASSERT_TRUE(core_->find_key("B"));
    core_->set_local(11);  // Busan has no B: the first name after it
    EXPECT_EQ(core_->get_next(), "C:12:1:");
    EXPECT_EQ(core_->get_next(), "vbROF");
    core_->set_local(10);  // the cursor stands on Busan's sentinel: so it does in Seoul
    EXPECT_EQ(core_->get_next(), "vbROF");
    // A lookup past every key, then the region selected again: still no name.
    EXPECT_FALSE(core_->find_key("\xFD\xFE"));
    core_->set_local(10);
    EXPECT_EQ(core_->get_next(), "vbROF");
    EXPECT_TRUE(host_->messages.empty());
}

// The record reader is shared by the process's controls and by the scans; each result
// cursor must still pair its dong codes with its own records.
TEST_F(Names, ResultCursorsKeepTheirOwnRecords) {
    std::vector<Row> rows = names_ab();
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i].detail = "r" + std::to_string(i + 1);
    build_rows(rows);
    init_and_select(10);
    // The dong code in front and the detail line at the end of a GetResult string.
    const auto code_and_detail = [](const std::string& r) {
        return r.substr(0, r.find(':')) + " " + r.substr(r.rfind(':') + 1);
    };
    RecordingHost other_host;
    ZendariCore other(other_host);  // a second control of the process
    ASSERT_TRUE(core_->set_result(1, 3));
    ASSERT_TRUE(other.set_result(4, 5));
    EXPECT_EQ(code_and_detail(core_->get_result()), "10010101 r1\n");
    EXPECT_EQ(code_and_detail(other.get_result()), "10010102 r4\n");
    EXPECT_EQ(code_and_detail(core_->get_result()), "10010101 r2\n");
    // A dong page in between reads other records through the same reader.
    EXPECT_NE(core_->get_loc_next("10010102", 10), "");
    EXPECT_EQ(code_and_detail(core_->get_result()), "10010101 r3\n");
    EXPECT_EQ(other.get_all_result("10010101"), "");  // record 5 is passed over
    const std::string sixth = other.get_all_result("10010102");
    EXPECT_EQ(sixth.substr(sixth.rfind(':') + 1), "r6\n");
    EXPECT_TRUE(host_->messages.empty());
}

TEST_F(Names, RecordStringsFormatLotTelephoneAndSuffix) {
    build_rows({
        {.name = "A",
         .dong = "10010101",
         .area = "02",
         .exchange = "123",
         .line = "4567",
         .postal = "100011",
         .detail = "Somewhere 1"},
        {.name = "A",
         .dong = "10010102",
         .area = "032",
         .exchange = "700",
         .line = "85",
         .suffix = "12",
         .lot_main = "37",
         .lot_sub = "209",
         .postal = "400100",
         .detail = ""},
        {.name = "A", .dong = "10010101", .lot_sub = "12"},
        {.name = "A", .dong = "10010101", .lot_main = "5"},
    });
    init_and_select();
    ASSERT_TRUE(core_->find_key("A"));
    EXPECT_EQ(core_->get_next(), "A:1:4:");
    EXPECT_TRUE(core_->set_result(1, 4));
    EXPECT_EQ(utf8(core_->get_result()),
              "10010101:(110-011) 서울 종로구 청운동::02:123-4567:100011:Somewhere 1\n");
    EXPECT_EQ(utf8(core_->get_result()),
              "10010102:(110-012) 서울 종로구 신교동:37-209:032:700-85/12:400100:\n");
    EXPECT_EQ(utf8(core_->get_result()),
              "10010101:(110-011) 서울 종로구 청운동:12:02:123-4567:100011:d\n");
    EXPECT_EQ(utf8(core_->get_result()),
              "10010101:(110-011) 서울 종로구 청운동:5:02:123-4567:100011:d\n");
    EXPECT_EQ(core_->get_result(), "");  // past cnt
    // A window in the middle: records 2 and 3 with their own dong codes.
    EXPECT_TRUE(core_->set_result(2, 2));
    EXPECT_EQ(core_->get_result().substr(0, 9), "10010102:");
    EXPECT_EQ(core_->get_result().substr(0, 9), "10010101:");
    // A range beyond the filter file gives nothing, safely.
    EXPECT_TRUE(core_->set_result(3, 10));
    EXPECT_EQ(core_->get_result(), "");
    EXPECT_TRUE(core_->set_result(-5, 2));
    EXPECT_EQ(core_->get_result(), "");
    EXPECT_TRUE(host_->messages.empty());
}

TEST_F(Names, GetAllResultMatchesSixAndEightCharacterLocations) {
    build_rows({{.name = "A", .dong = "10010101", .detail = "one"},
                {.name = "A", .dong = "10010102", .detail = "two"},
                {.name = "A", .dong = "10020101", .detail = "three"},
                {.name = "A", .dong = "10010101", .detail = "four"}});
    init_and_select();
    ASSERT_TRUE(core_->set_result(1, 4));
    EXPECT_EQ(utf8(core_->get_all_result("100101")),
              "(110-011) 서울 종로구 청운동::02:123-4567:100011:one\n");
    EXPECT_EQ(utf8(core_->get_all_result("100101")),
              "(110-012) 서울 종로구 신교동::02:123-4567:100011:two\n");
    EXPECT_EQ(core_->get_all_result("100101"), "");  // 10020101: passed over, position moves
    EXPECT_EQ(utf8(core_->get_all_result("100101")),
              "(110-011) 서울 종로구 청운동::02:123-4567:100011:four\n");
    ASSERT_TRUE(core_->set_result(1, 4));
    EXPECT_EQ(core_->get_all_result("10010102"), "");
    EXPECT_NE(core_->get_all_result("10010102"), "");
    EXPECT_EQ(core_->get_all_result("1001010"), "");  // 7 characters: the whole code must equal it
    EXPECT_EQ(core_->get_all_result("10010101x"), "");
}

TEST_F(Names, RecordsOnBothSidesOfABlockBoundary) {
    std::string body;
    for (int i = 1; i <= 100002; ++i) {
        body += listing_line({.name = "A",
                              .dong = "10010101",
                              .line = std::to_string(i % 10000),
                              .detail = "line " + std::to_string(i)});
    }
    build_cd(body);
    const std::string prefix = cp949("10010101:(110-011) 서울 종로구 청운동:");
    auto tail = [&](const std::string& s) {
        return s.compare(0, prefix.size(), prefix) == 0 ? s.substr(prefix.size()) : "<" + s + ">";
    };
    for (bool auxiliary : {true, false}) {
        SCOPED_TRACE(auxiliary ? "with line offset tables" : "without");
        if (!auxiliary) {
            remove_auxiliary_files();
            restart();
        }
        init_and_select();
        ASSERT_TRUE(core_->set_result(99999, 3));
        EXPECT_EQ(tail(core_->get_result()), ":02:123-9999:100011:line 99999\n");
        EXPECT_EQ(tail(core_->get_result()), ":02:123-0:100011:line 100000\n");
        EXPECT_EQ(tail(core_->get_result()), ":02:123-1:100011:line 100001\n");
        ASSERT_TRUE(core_->set_result(100002, 1));
        EXPECT_EQ(tail(core_->get_result()), ":02:123-2:100011:line 100002\n");
        std::filesystem::remove(std::filesystem::path(cd()) / "data" / "10_2.dll");
        ASSERT_TRUE(core_->set_result(100001, 1));  // a missing block file: no detail line
        EXPECT_EQ(tail(core_->get_result()), ":02:123-1:100011:");
        ASSERT_TRUE(core_->set_result(1, 1));
        EXPECT_EQ(tail(core_->get_result()), ":02:123-1:100011:line 1\n");
        if (auxiliary) build_cd(body);
    }
}

using Init = EngineTest;

TEST_F(Init, OncePerProcess) {
    build_rows(names_ab());
    core_->set_init_db(1);
    EXPECT_EQ(core_->init_db(), 1);
    EXPECT_TRUE(host_->messages.empty());
    ZendariCore second(*host_);  // another control object of the same process
    second.set_init_db(1);
    EXPECT_EQ(second.init_db(), -1);
    ASSERT_EQ(host_->messages.size(), 1u);
    EXPECT_EQ(host_->messages[0].caption, "ERROR !");
    EXPECT_EQ(utf8(host_->messages[0].text), "인명 초기화 실패");
    second.set_local(10);  // the readers are shared
    EXPECT_TRUE(second.find_key("A"));
    EXPECT_TRUE(second.set_result(1, 1));
    EXPECT_NE(second.get_result(), "");
}

TEST_F(Init, OtherValues) {
    build_rows(names_ab());
    core_->set_init_db(2);
    EXPECT_EQ(core_->init_db(), -1);
    core_->set_init_db(3);
    EXPECT_EQ(core_->init_db(), -1);
    ASSERT_EQ(host_->messages.size(), 2u);
    EXPECT_EQ(utf8(host_->messages[0].caption), "초기화");
    EXPECT_EQ(utf8(host_->messages[0].text), "상호");
    EXPECT_EQ(utf8(host_->messages[1].text), "업종");
    core_->set_init_db(5);
    EXPECT_EQ(core_->init_db(), 5);
    EXPECT_EQ(host_->messages.size(), 2u);
    core_->set_init_db(1);  // the notices opened nothing
    EXPECT_EQ(core_->init_db(), 1);
}

TEST_F(Init, MissingMasterFileStillInitialises) {
    build_rows(names_ab());
    std::filesystem::remove(std::filesystem::path(cd()) / "data" / "names.rec");
    core_->set_init_db(1);
    EXPECT_EQ(core_->init_db(), 1);
    ASSERT_EQ(host_->messages.size(), 1u);
    EXPECT_EQ(utf8(host_->messages[0].text), "마스터[??.COD] 파일이 오픈되지 않았습니다.");
    core_->set_local(10);
    EXPECT_TRUE(core_->set_result(1, 3));
    EXPECT_EQ(core_->get_result(), "");  // no records to read
}

TEST_F(Init, MasterFileNotNamedStillInitialises) {
    build_rows(names_ab());
    const std::string ini = cd() + "/Quenby.INI";
    std::string text = read_file(ini);
    const std::size_t at = text.find("인명=");
    ASSERT_NE(at, std::string::npos);
    text.erase(at, text.find('\n', at) + 1 - at);
    write_file(ini, text);
    core_->set_init_db(1);
    EXPECT_EQ(core_->init_db(), 1);
    ASSERT_EQ(host_->messages.size(), 1u);
    EXPECT_EQ(host_->messages[0].caption, "Zendari");
    EXPECT_EQ(utf8(host_->messages[0].text), "Path가 올바르지 않습니다. [CHrec::Init]");
}

TEST_F(Init, MissingFilesFailAndCallsBeforeInitAreSafe) {
    build_rows(names_ab());
    EXPECT_FALSE(core_->find_key("A"));
    EXPECT_EQ(core_->get_next(), "vbROF");
    EXPECT_TRUE(core_->set_result(1, 3));
    EXPECT_EQ(core_->get_result(), "");
    EXPECT_EQ(core_->get_all_result("10010101"), "");
    EXPECT_EQ(core_->get_loc_next("10010101", 10), "");
    EXPECT_EQ(core_->get_loc_sung("10010101", 10, "A"), "");
    EXPECT_TRUE(host_->messages.empty());

    std::filesystem::remove(std::filesystem::path(cd()) / "index" / "dong.cod");
    core_->set_init_db(1);
    EXPECT_EQ(core_->init_db(), -1);
    ASSERT_EQ(host_->messages.size(), 2u);
    EXPECT_EQ(utf8(host_->messages[0].text), "ERROR:DONGDB 동테이블 파일이 없습니다.");
    EXPECT_EQ(utf8(host_->messages[1].text), "인명 초기화 실패");
}

}  // namespace
}  // namespace zendari::test
