// The window's pieces without widgets: result rows from the control's strings and from the
// local listing, region codes and the region filter, the typed-name rule, the region-tree
// parent rules, the command hand-offs, and the result model under QAbstractItemModelTester.
#include <QAbstractItemModelTester>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "NameSearch.h"
#include "Orvello.h"
#include "RegionTree.h"
#include "ResultCommands.h"
#include "ResultListModel.h"
#include "ResultRows.h"

namespace {

using namespace search;

TEST(ResultRowsTest, RecordStringBecomesNameTelephonePostalCodeAndAddress) {
    const QString s =
        "11020103:(612-020) 부산광역시 해운대구 우동:37-209:032:123-45/2:612020:"
        "해운대아파트 101동\n";
    const ResultRow row = rowFromRecord(s, "김철수");
    EXPECT_EQ(row.cells, QStringList({"김철수", "(032)123-0045/2", "612-020",
                                      "부산광역시 해운대구 우동 37-209 해운대아파트 101동"}));
    // A scan string names its subscriber in field 1; no lot, no suffix, no detail line.
    const ResultRow scan =
        rowFromRecord("홍길동:(100-010) 서울 종로구 청운동::02:735-1234:100010:\n");
    EXPECT_EQ(scan.cells,
              QStringList({"홍길동", "(02)735-1234", "100-010", "서울 종로구 청운동  "}));
    // An empty name shows as "_".
    EXPECT_EQ(rowFromRecord(":(100-010) 서울:1:02:1-2:100010:x\n").cells[0], "_");
}

TEST(ResultRowsTest, TelephoneLineIsPrintedWithFourDigitsAndTheSuffixKept) {
    EXPECT_EQ(formatTelephone("02", "123-45"), "(02)123-0045");
    EXPECT_EQ(formatTelephone("032", "123-45/2"), "(032)123-0045/2");
    EXPECT_EQ(formatTelephone("051", "742-9999"), "(051)742-9999");
    EXPECT_EQ(formatTelephone("02", "742-7"), "(02)742-0007");
}

TEST(ResultRowsTest, PostalCodesOfAnyLengthShowTheirFirstAndLastThreeCharacters) {
    EXPECT_EQ(formatPostalCode("612020"), "612-020");
    EXPECT_EQ(formatPostalCode("03187"), "031-187");  // five digits: the middle one twice
    EXPECT_EQ(formatPostalCode("1234567"), "123-567");
    EXPECT_EQ(formatPostalCode("12"), "12-12");
    EXPECT_EQ(formatPostalCode(""), "-");
}

TEST(ResultRowsTest, OnlyThePlacesOfTheLocalListingAreServedByIt) {
    for (const char* code : {"84", "8401", "84010101", "65", "650101", "65:84"}) {
        EXPECT_TRUE(servedByLocalListing(code)) << code;
    }
    for (const char* code : {"72", "7203:7204", "6", "8", "10", "40:74", ""}) {
        EXPECT_FALSE(servedByLocalListing(code)) << code;
    }
}

TEST(NameSearchRowsTest, ASurnameOfTwoSyllablesKeepsOnlyItsOwnNames) {
    std::vector<ResultRow> rows = {{{"남궁민", "", "", ""}, {}},
                                   {{"남궁", "", "", ""}, {}},
                                   {{"남민수", "", "", ""}, {}},
                                   {{"남", "", "", ""}, {}}};
    keepSurname(rows, "남궁");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cells[0], "남궁민");
    EXPECT_EQ(rows[1].cells[0], "남궁");
    keepSurname(rows, "");
    EXPECT_EQ(rows.size(), 2u);
}

TEST(ResultRowsTest, LocalRowsCarryTheAreaCodeWithItsZero) {
    EXPECT_EQ(rowFromLocal("김철수", "32", "123-4567", "362010", "청주시 중앙동 1").cells,
              QStringList({"김철수", "(032)123-4567", "362-010", "청주시 중앙동 1"}));
    EXPECT_EQ(rowFromLocal("김철수", "", "123-4567", "362010", "x").cells[1], "(00)123-4567");
    EXPECT_EQ(rowFromLocal("김철수", "043", "1-2", "362010", "x").cells[1], "(043)1-2");
}

TEST(RegionCodesTest, IndexRegionOfEveryKindOfAreaCode) {
    EXPECT_EQ(indexRegionCode("7203:7204"), 10);
    EXPECT_EQ(indexRegionCode("72040101"), 10);
    EXPECT_EQ(indexRegionCode("1102"), 11);
    EXPECT_EQ(indexRegionCode("20:21:22:23:24:72"), 72);
    EXPECT_EQ(indexRegionCode("2301"), 72);
    EXPECT_EQ(indexRegionCode("40:74"), 74);
    EXPECT_EQ(indexRegionCode("45:76"), 76);
    EXPECT_EQ(indexRegionCode("55:80"), 80);
    EXPECT_EQ(indexRegionCode("65:84"), 84);
    EXPECT_EQ(indexRegionCode("650101"), 84);
    EXPECT_EQ(indexRegionCode("86"), 86);
}

TEST(RegionCodesTest, RegionFilterPassesOnlyTheAreasRecords) {
    struct Case {
        const char* area;
        const char* dong;
        bool passes;
    };
    const Case cases[] = {
        {"7203:7204", "72030101", true},
        {"7203:7204", "72040102", true},
        {"7203:7204", "72050101", false},
        {"1102", "11020103", true},
        {"1102", "11030101", false},
        {"20:21:22:23:24:72", "23010101", true},
        {"20:21:22:23:24:72", "72010101", true},
        {"20:21:22:23:24:72", "25010101", false},
        {"40:74", "40010101", true},
        {"45:76", "76010101", true},
        {"55:80", "55010101", true},
        {"65:84", "84010101", true},
        {"65:84", "70010101", false},
        {"10:11", "10010101", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(passesRegionFilter(QString(c.dong), c.area), c.passes) << c.area << " " << c.dong;
    }
}

TEST(NameLookupTest, ParenthesisedAreaCodeIsDroppedUnlessNothingFollows) {
    EXPECT_EQ(nameForLookup("(02)홍길동"), "홍길동");
    EXPECT_EQ(nameForLookup("(02)"), "(02)");
    EXPECT_EQ(nameForLookup("(0"), "(0");
    EXPECT_EQ(nameForLookup("홍길동"), "홍길동");
    Candidate c;
    ASSERT_TRUE(parseCandidate("김철수:3:5:", c));
    EXPECT_EQ(c.name, "김철수");
    EXPECT_EQ(c.tag, "3:5");
    EXPECT_FALSE(parseCandidate("vbROF", c));
}

TEST(NameLookupTest, ConsonantsTypedAskForNamesByTheirInitials) {
    for (const char* yes : {"ㄱ", "ㄱㅇㅅ", "김ㅇㅅ", "ㄲㄸ", "ㄳ", "ㅎ김"}) {
        EXPECT_TRUE(isInitialsLookup(QString::fromUtf8(yes))) << yes;
    }
    // Syllables alone, a vowel, Latin letters, digits, blanks, the empty text: a plain lookup.
    for (const char* no : {"김영수", "ㅏ", "ㄱㅏ", "ㄱA", "ㄱ1", "ㄱ ㅇ", "", "(02)"}) {
        EXPECT_FALSE(isInitialsLookup(QString::fromUtf8(no))) << no;
    }
}

TEST(RegionTreeTest, ParentRulesKeysAndPictures) {
    RegionTreeBuilder b;
    auto key = [](const std::optional<RegionNode>& n) { return n ? n->key : QString("-"); };
    const auto seoul = b.add(1, "서울특별시", "02:10");
    EXPECT_EQ(key(seoul), "!10");
    EXPECT_TRUE(seoul->parentKey.isEmpty());
    const auto city = b.add(2, "청주시", "65");
    EXPECT_EQ(city->parentKey, "!10");
    const auto district = b.add(3, "상당구", "6501");  // 4 characters: "more", a parent
    EXPECT_TRUE(district->hasChildren);
    EXPECT_EQ(district->parentKey, "@65");
    const auto dong = b.add(4, "중앙동", "65010101");
    EXPECT_EQ(dong->key, "$65010101");
    EXPECT_EQ(dong->parentKey, "#6501");
    EXPECT_FALSE(dong->hasChildren);
    const auto leaf = b.add(3, "청운동", "65019");  // 5 characters: "one", no parent
    EXPECT_FALSE(leaf->hasChildren);
    EXPECT_EQ(b.add(4, "성안동", "65010201")->parentKey, "#6501");
    EXPECT_FALSE(b.add(5, "x", "1").has_value());
    EXPECT_EQ(key(b.add(1, "충청북도", "043:65:84")), "!65:84");
    EXPECT_EQ(key(b.add(1, "충청북도", "65")), "!65");
    RegionTreeBuilder empty;
    EXPECT_FALSE(empty.add(2, "orphan", "11").has_value());
}

TEST(ResultCommandsTest, PrintSourceTable) {
    EXPECT_EQ(printSource(2, SearchMode::Name, true, "x"), "동결과:인명");
    EXPECT_EQ(printSource(2, SearchMode::Dong, false, "x"), "결과창:인명");
    EXPECT_EQ(printSource(0, SearchMode::Name, false, "x"), "결과창:상호");
    EXPECT_EQ(printSource(0, SearchMode::Dong, true, "메모창:인명"), "메모창:인명");
}

TEST(ResultCommandsTest, DialValuesFromARow) {
    const QStringList row = {"김철수", "(031)123-4567", "612-020", "주소", "영업부"};
    DialValues v = dialValues(row, true, 0);
    EXPECT_EQ(v.name, "김철수");
    EXPECT_EQ(v.areaCode, "031");
    EXPECT_EQ(v.number, "123-4567");
    EXPECT_EQ(v.department, "영업부");
    EXPECT_TRUE(dialValues(row, true, 2).department.isEmpty());
    EXPECT_TRUE(dialValues(row, false, 0).department.isEmpty());
    EXPECT_TRUE(dialValues({}, true, 2).name.isEmpty());
    // Without a closing bracket there is no area code: what follows the first character is
    // the number, and the area-code box stays empty.
    v = dialValues({"이영희", "(7351234"}, true, 2);
    EXPECT_TRUE(v.areaCode.isEmpty());
    EXPECT_EQ(v.number, "7351234");
}

TEST(ResultCommandsTest, WebCallAndCompanionCommandLines) {
    EXPECT_EQ(webCallDigits("(02)735-1234/2"),
              "027351234"
              "2");
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    EXPECT_TRUE(webCallAddress("0212").endsWith("voip.jsp?phonenum=0212"));
    Orvello::Save("Option", "WebCallUrl", "http://voip.local/call/voip.jsp");
    EXPECT_EQ(webCallAddress("02-12"), "http://voip.local/call/voip.jsp?phonenum=02-12");
    // A number is a query value: what could end it or start another is encoded.
    EXPECT_EQ(webCallAddress("02&x=1 #"),
              "http://voip.local/call/voip.jsp?phonenum=02%26x%3D1%20%23");
    EXPECT_EQ(companionCommandLine(1, 0), "additionInfo 1");
    EXPECT_EQ(companionCommandLine(1, 2), "additionInfo 3");
    EXPECT_EQ(companionCommandLine(2, 1), "additionInfo2 2");
    EXPECT_EQ(companionCommandLine(3, 0), "Graphview 1 ../Image/");
    EXPECT_EQ(companionCommandLine(3, 1), "additionInfo3 1");
    EXPECT_TRUE(companionCommandLine(1, 3).isEmpty());
    EXPECT_TRUE(companionCommandLine(3, 2).isEmpty());
}

std::vector<ResultRow> rowsOf(std::initializer_list<QStringList> cells) {
    std::vector<ResultRow> rows;
    for (const QStringList& c : cells) rows.push_back({c, {}});
    return rows;
}

TEST(ResultListModelTest, PassesTheModelTesterThroughFillSortAndClear) {
    ResultListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setHeaders({"이름", "전화", "우편번호", "주소"});
    model.appendRows(rowsOf({{"박", "2"}, {"김", "1"}, {"이", "3", "x", "y"}}));
    model.appendRow({{"김"}, "1:2"});
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), "주소");
    EXPECT_EQ(model.data(model.index(3, 0), ResultListModel::kTagRole).toString(), "1:2");
    EXPECT_EQ(model.data(model.index(0, 3)).toString(), "");  // a short row
    model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(model.cell(0, 0), "김");
    EXPECT_EQ(model.cell(0, 1), "1");  // equal names keep their order
    EXPECT_EQ(model.cell(1, 0), "김");
    EXPECT_EQ(model.row(1).tag, "1:2");
    model.sort(1, Qt::DescendingOrder);
    EXPECT_EQ(model.cell(0, 1), "3");
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 4);
}

TEST(ResultListModelTest, SortingKeepsPersistentIndexesOnTheirRows) {
    ResultListModel model;
    model.setHeaders({"a"});
    model.appendRows(rowsOf({{"다"}, {"가"}, {"나"}}));
    const QPersistentModelIndex da(model.index(0, 0));
    model.sort(0, Qt::AscendingOrder);
    ASSERT_TRUE(da.isValid());
    EXPECT_EQ(da.row(), 2);
    EXPECT_EQ(da.data().toString(), "다");
}

TEST(ResultListModelTest, ALargePageGoesInAsOneInsertion) {
    ResultListModel model;
    model.setHeaders({"a", "b"});
    int inserts = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    std::vector<ResultRow> rows(50000, ResultRow{{"홍길동", "(02)735-1234"}, {}});
    model.appendRows(std::move(rows));
    EXPECT_EQ(inserts, 1);
    EXPECT_EQ(model.rowCount(), 50000);
}

}  // namespace
