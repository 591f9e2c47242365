// The business search: records as rows, the region codes, and the search loop through the
// program's binding of a scripted stand-in for the business-directory library.
#include <QAction>
#include <QFile>
#include <QTextStream>

#include "BusinessCommands.h"
#include "BusinessSearch.h"
#include "PhoneFixture.h"
#include "ResultListModel.h"
#include "Varlink.h"

namespace {

using business::SearchStyle;

QStringList cells(const QString& record) {
    return business::rowFromRecord(record).cells;
}

TEST(BusinessRecordTest, FieldsBecomeTheSixColumns) {
    // Category as code "@" name, a bracketed postcode, a blank and the address, an area code
    // of the table at positions 2-5 of field 6 and the local number from position 7.
    EXPECT_EQ(cells("한빛약국:3301@약국:(110-061) 서울 종로구 사직동 12:x:y:T0002-735-1234:약제부"),
              QStringList({"한빛약국", "(02)735-1234", "110-061", "서울 종로구 사직동 12", "약국",
                           "약제부"}));
    // An area code outside the table: the telephone as the record has it.
    EXPECT_EQ(cells("가:나:(123-456) 다:::T0031-45-6789:")[1], "T0031-45-6789");
    EXPECT_EQ(cells("가:나:(123-456) 다:::T0080-123-4567")[1], "(080)123-4567");
    // Only a company name.
    EXPECT_EQ(cells("텔비아상사"), QStringList({"텔비아상사", "", "", "", "", ""}));
    // An empty name, a plain category.
    EXPECT_EQ(cells(":한식"), QStringList({"_", "", "", "", "한식", ""}));
    // Fields 8 onward go with the row, joined again.
    const search::ResultRow row = business::rowFromRecord("a:b:(1234567) c:d:e:T0002-1:g:h:i");
    EXPECT_EQ(row.tag, "h:i");
    EXPECT_TRUE(business::rowFromRecord("a:b:(1234567) c:d:e:T0002-1:g").tag.isEmpty());
}

TEST(BusinessRecordTest, AreaCodeTable) {
    for (const char* code : {"02", "032", "042", "051", "052", "053", "062", "064", "080"}) {
        const QString shown = QString::fromLatin1(code);
        EXPECT_EQ(business::shownAreaCode(shown.rightJustified(4, '0')), shown);
    }
    for (const char* other : {"0031", "0033", "002", "", "00021"}) {
        EXPECT_EQ(business::shownAreaCode(other), "") << other;
    }
}

TEST(BusinessRecordTest, AtMostTenRegionCodes) {
    EXPECT_EQ(business::regionCodes("11"), QStringList({"11"}));
    // The last piece is trimmed.
    EXPECT_EQ(business::regionCodes("11:12: 13 "), QStringList({"11", "12", "13"}));
    EXPECT_EQ(business::regionCodes("1:2:3:4:5:6:7:8:9:10:11:12"),
              QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_TRUE(business::regionCodes("").isEmpty());
}

class BusinessSearchTest : public PhoneFixture {
protected:
    void SetUp() override {
        PhoneFixture::SetUp();
        m_script = m_dir.filePath("script.tsv");
        m_log = m_dir.filePath("calls.tsv");
        qputenv("VARLINK_DOUBLE_SCRIPT", QFile::encodeName(m_script));
        qputenv("VARLINK_DOUBLE_LOG", QFile::encodeName(m_log));
    }
    void script(const QStringList& lines) {
        QFile f(m_script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write((lines.join('\n') + '\n').toUtf8());
    }
    // n records "name i" for a region code.
    static QStringList records(const QString& code, int n) {
        QStringList lines;
        for (int i = 1; i <= n; ++i) {
            lines << QStringLiteral("record\t%1\t상호%1-%2:업종:(110-061) 주소:::T0002-735-%2:")
                         .arg(code)
                         .arg(1000 + i);
        }
        return lines;
    }
    QStringList calls() const {
        QFile f(m_log);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    std::vector<search::ResultRow> search(const QString& company, const QString& codes,
                                          qint32 kindCode = 0,
                                          SearchStyle style = SearchStyle::kStandard) {
        std::vector<search::ResultRow> rows;
        const qint32 n = m_search.run(company, codes, kindCode, style,
                                      [&](search::ResultRow r) { rows.push_back(std::move(r)); });
        EXPECT_EQ(n, static_cast<qint32>(rows.size()));
        return rows;
    }
    void expectLimitBox(int n) {
        ASSERT_EQ(m_prompt.messages().size(), 1u);
        const MessageRequest& box = m_prompt.messages().front();
        EXPECT_EQ(box.text, QStringLiteral("결과가 %1건을 초과합니다.\r\n\r\nTelvia의 결과 출력은 "
                                           "%1건으로 제한되 있습니다.")
                                .arg(n));
        EXPECT_EQ(box.title, "알림");
        EXPECT_EQ(box.icon, PromptIcon::Information);
        EXPECT_EQ(box.buttons, PromptButtons::Ok);
    }

    QString m_script, m_log;
    Varlink m_library{QStringLiteral(TELVIA_VARLINK_DOUBLE)};
    business::BusinessSearch m_search{m_library};
};

TEST_F(BusinessSearchTest, OneQueryPerRegionCodeAndNoMoreThanTen) {
    script(records("11", 2));
    EXPECT_EQ(search("약국", "11").size(), 2u);
    EXPECT_EQ(calls(), QStringList({"comClickSubmit\t약국\t\t11"}));
    QFile::remove(m_log);
    search("약국", "1:2:3:4:5:6:7:8:9:10:11:12");
    const QStringList made = calls();
    ASSERT_EQ(made.size(), 10);
    EXPECT_EQ(made.back(), "comClickSubmit\t약국\t\t10");
}

TEST_F(BusinessSearchTest, RowsComeInTheLibrarysOrderAsParsed) {
    script(
        {"record\t11\t한빛약국:3301@약국:(110-061) 서울 종로구 사직동 12:x:y:T0002-735-1234:약제부 "
         "  ",
         "record\t11\t텔비아상사"});
    const auto rows = search("한빛", "11");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cells, QStringList({"한빛약국", "(02)735-1234", "110-061",
                                          "서울 종로구 사직동 12", "약국", "약제부"}));
    EXPECT_EQ(rows[1].cells, QStringList({"텔비아상사", "", "", "", "", ""}));
}

TEST_F(BusinessSearchTest, TheLimitEndsTheWholeSearchWithOneMessage) {
    saveSetting("Option", "MaxDisplayCount", "3");
    script(records("11", 10) + records("12", 10));
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(search("상호", "11:12").size(), 3u);
    expectLimitBox(3);
    EXPECT_EQ(calls(), QStringList({"comClickSubmit\t상호\t\t11"}));  // 12 is never asked
}

TEST_F(BusinessSearchTest, TheLimitCountsAcrossRegionCodes) {
    saveSetting("Option", "MaxDisplayCount", "3");
    script(records("11", 2) + records("12", 2));
    m_prompt.queueAnswer(PromptAnswer::Ok);
    const auto rows = search("상호", "11:12");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[2].cells[0].startsWith("상호12-"));
    expectLimitBox(3);
}

TEST_F(BusinessSearchTest, NoLimitListsEverything) {
    saveSetting("Option", "MaxDisplayCount", "0");
    script(records("11", 40) + records("12", 5));
    EXPECT_EQ(search("상호", "11:12").size(), 45u);
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(BusinessSearchTest, AfterTheNameSearchKindNothingIsAsked) {
    script(records("11", 4));
    EXPECT_TRUE(search("상호", "11", 2).empty());
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(BusinessSearchTest, TheWordSearchPassesItsStateAndARewrittenNameCarriesOn) {
    script(QStringList({"rename\t약방"}) + records("11", 1) + records("12", 1));
    EXPECT_EQ(search("약국", "11:12", 0, SearchStyle::kWord).size(), 2u);
    EXPECT_EQ(calls(), QStringList({"comRetSubmit\t약국\t\t11", "comRetSubmit\t약방\t\t12"}));
    EXPECT_TRUE(m_search.wordState().isEmpty());  // an empty state leaves the library no room
}

TEST_F(BusinessSearchTest, ALibraryThatRunsOutOfRecordsEndsTheLoop) {
    script(QStringList({"endless", "count\t11\t5"}) + records("11", 2));
    EXPECT_EQ(search("상호", "11").size(), 2u);
    // A count without records and a count of none list nothing.
    script({"count\t11\t3", "count\t12\t0", "record\t12\t숨은상호"});
    EXPECT_TRUE(search("상호", "11:12").empty());
}

TEST_F(BusinessSearchTest, AMissingLibraryFindsNothingAndSaysNothing) {
    Varlink missing(m_dir.filePath("no-Varlink.so"));
    business::BusinessSearch search(missing);
    int rows = 0;
    EXPECT_EQ(search.run("상호", "11:12", 0, SearchStyle::kStandard, [&](auto) { ++rows; }), 0);
    EXPECT_EQ(rows, 0);
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(BusinessSearchTest, TheMenuPairChoosesTheQueryAndRowsGoIntoTheList) {
    qputenv("TELVIA_VARLINK", TELVIA_VARLINK_DOUBLE);
    QAction standard("기본검색"), word("단어검색");
    business::BusinessCommands commands(&standard, &word, nullptr);
    EXPECT_TRUE(standard.isChecked());
    EXPECT_FALSE(word.isChecked());
    word.trigger();
    EXPECT_TRUE(word.isChecked());
    EXPECT_FALSE(standard.isChecked());
    EXPECT_EQ(commands.style(), SearchStyle::kWord);
    standard.trigger();  // a click on the checked item keeps it checked
    standard.trigger();
    EXPECT_EQ(commands.style(), SearchStyle::kStandard);
    word.trigger();
    commands.mnuStandardSearchClick();
    EXPECT_TRUE(standard.isChecked());
    EXPECT_FALSE(word.isChecked());

    script(records("11", 3));
    ResultListModel model;
    model.setHeaders(business::kHeaders);
    EXPECT_EQ(commands.run("상호", "11", 0, model), 3);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.cell(0, 0), "상호11-1001");
    EXPECT_EQ(model.cell(2, 1), "(02)735-1003");
    EXPECT_EQ(calls(), QStringList({"comClickSubmit\t상호\t\t11"}));
    qunsetenv("TELVIA_VARLINK");
}

}  // namespace
