// The composer: the legacy strings of every print source, the entry rows, the selection, the
// print limit and the header and footer texts.
#include <numeric>

#include <gtest/gtest.h>

#include "PrintTestData.h"
#include "QtPrinters.h"
#include "TableDocument.h"

using namespace print;

namespace {

int widthOf(const std::vector<ColumnFormat>& columns) {
    return std::accumulate(columns.begin(), columns.end(), 0,
                           [](int sum, const ColumnFormat& c) { return sum + c.twips; });
}

struct LegacyCase {
    const char* source;
    const char* portraitHeader;
    const char* portraitBody;
    const char* landscapeHeader;
    const char* landscapeBody;
    const char* titleRow;
    const char* entryRow;  // of listRow(0), with "\r" for the carriage returns
    const char* limitMessage;
};

const char* const kShortLimit = "인쇄가 3000건으로 제한되었습니다.";
const char* const kLongLimit = "한번에 인쇄가능한 건수가 3000건으로 제한되었습니다.";

const LegacyCase kLegacy[] = {
    {"동결과:인명", "^+2500|^+2000|^+6300;", "+<2500|+<2000|+<6300;", "^+3000|^+3000|^+9800;",
     "+<3000|+<3000|+<9800;", "[인   명]|[전화번호]|[주    소];",
     "이름0000|(02)700-0000|서울 종로구 0번지", kShortLimit},
    {"결과창:인명", "^+2000|^+1800|^+7000;", "+<2000|+<1800|+<7000;", "^+3000|^+3000|^+9800;",
     "+<3000|+<3000|+<9800;", "[인   명]|[전화번호]|[주    소];",
     "이름0000|(02)700-0000|서울 종로구 0번지", kLongLimit},
    {"결과창:상호", "^+2000|^+1500|^+1200|^+3000|^+1800|^+1300;",
     "<+2000|<+1500|<+1200|<+3000|<+1800|<+1300;", "^+2500|^+1800|^+1500|^+4500|^+2500|^+3000;",
     "<+2500|<+1800|<+1500|<+4500|<+2500|<+3000;",
     "[상호]|[전화번호]|[우편번호]|[주  소]|[업종]|[부서];",
     "이름0000|(02)700-0000\r|100-000\r|서울 종로구 0번지\r|업종0\r|부서0\r", kLongLimit},
    {"메모창:인명", "^+1500|^+1800|^+5800|^+1700;", "+<1500|+<1800|+<5800|+<1700;",
     "^+2800|^+2000|^+8000|^+3000;", "+<2800|+<2000|+<8000|+<3000;",
     "[인명]|[전화번호]|[주소]|[메모];", "이름0000|(02)700-0000\r|서울 종로구 0번지\r|업종0\r",
     kLongLimit},
    {"메모창:상호", "^+2000|^+1500|^+1200|^+2500|^+1500|^+1100|^+1000;",
     "<+2000|<+1500|<+1200|<+2500|<+1500|<+1100|<+1000;",
     "^+2500|^+1800|^+1200|^+4300|^+2500|^+1500|^+2000;",
     "<+2500|<+1800|<+1200|+4300|<+2500|<+1500|<+2000;",
     "[상호]|[전화번호]|[우편번호]|[주  소]|[업종]|[부서]|[메모];",
     "이름0000|(02)700-0000\r|100-000\r|서울 종로구 0번지\r|업종0\r|부서0\r|메모0\r", kLongLimit},
};

}  // namespace

TEST(PrintLayouts, EverySourceAndOrientationGivesItsLegacyStringsAndExactWidths) {
    for (const LegacyCase& c : kLegacy) {
        const QString source = QString::fromUtf8(c.source);
        SCOPED_TRACE(c.source);
        for (Orientation o : {Orientation::Portrait, Orientation::Landscape}) {
            const bool portrait = o == Orientation::Portrait;
            const TableDocument doc = composeTable(composeInput(source, o), listRows(1));
            ASSERT_TRUE(doc.hasTable);
            EXPECT_EQ(doc.legacy.headerFormat,
                      QString::fromUtf8(portrait ? c.portraitHeader : c.landscapeHeader));
            EXPECT_EQ(doc.legacy.bodyFormat,
                      QString::fromUtf8(portrait ? c.portraitBody : c.landscapeBody));
            EXPECT_EQ(doc.legacy.titleRow, QString::fromUtf8(c.titleRow));
            ASSERT_EQ(doc.legacy.rows.size(), 1u);
            EXPECT_EQ(doc.legacy.rows[0], QString::fromUtf8(c.entryRow));

            const int page = portrait ? 10800 : 15800;
            EXPECT_EQ(widthOf(doc.titleColumns), page);
            EXPECT_EQ(widthOf(doc.bodyColumns), page);
            ASSERT_EQ(doc.titleColumns.size(), static_cast<std::size_t>(doc.titles.size()));
            ASSERT_EQ(doc.bodyColumns.size(), doc.titleColumns.size());
            for (std::size_t i = 0; i < doc.bodyColumns.size(); ++i) {
                EXPECT_EQ(doc.titleColumns[i].alignment, Alignment::Centre);
                EXPECT_EQ(doc.bodyColumns[i].alignment, Alignment::Left);  // "+4300" too
                EXPECT_EQ(doc.bodyColumns[i].twips, doc.titleColumns[i].twips);
            }
            // The structured row holds the same cells without the carriage returns.
            ASSERT_EQ(doc.rows.size(), 1u);
            EXPECT_EQ(doc.rows[0].join(QLatin1Char('|')),
                      QString::fromUtf8(c.entryRow).remove(QLatin1Char('\r')));
        }
    }
}

TEST(PrintLayouts, TitleCellsKeepTheirBlanks) {
    const TableDocument doc = composeTable(composeInput(QStringLiteral("동결과:인명")), {});
    EXPECT_EQ(doc.titles, QStringList({QStringLiteral("[인   명]"), QStringLiteral("[전화번호]"),
                                       QStringLiteral("[주    소]")}));
    EXPECT_EQ(doc.titleShade, QColor(255, 255, 0));
    EXPECT_TRUE(doc.rows.empty());  // no selected entry: the title row alone
}

TEST(PrintLayouts, FormatEntriesWithoutAMarkAreLeftAndBadWidthsAreZero) {
    const std::vector<ColumnFormat> columns = parseTableFormat(u"^+10|+4300|<+x|+<7;");
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0], (ColumnFormat{10, Alignment::Centre}));
    EXPECT_EQ(columns[1], (ColumnFormat{4300, Alignment::Left}));
    EXPECT_EQ(columns[2], (ColumnFormat{0, Alignment::Left}));
    EXPECT_EQ(columns[3], (ColumnFormat{7, Alignment::Left}));
}

TEST(PrintComposer, OnlySelectedRowsPrintInListOrder) {
    const auto rows = listRows(10, [](int i) { return i == 3 || i == 7; });
    const TableDocument doc = composeTable(composeInput(QStringLiteral("결과창:인명")), rows);
    ASSERT_EQ(doc.rows.size(), 2u);
    EXPECT_EQ(doc.rows[0][0], QStringLiteral("이름0003"));
    EXPECT_EQ(doc.rows[1][0], QStringLiteral("이름0007"));
    EXPECT_TRUE(doc.limitMessage.isEmpty());
}

TEST(PrintComposer, TheLimitKeepsTheFirst3000SelectedAndTellsOnce) {
    // Unselected rows between the selected ones do not count towards the limit.
    const auto every = [](int count) {
        return listRows(count * 2, [](int i) { return i % 2 == 1; });
    };
    const TableDocument exact =
        composeTable(composeInput(QStringLiteral("결과창:인명")), every(3000));
    EXPECT_EQ(exact.rows.size(), 3000u);
    EXPECT_TRUE(exact.limitMessage.isEmpty());

    for (const LegacyCase& c : kLegacy) {
        SCOPED_TRACE(c.source);
        const TableDocument over =
            composeTable(composeInput(QString::fromUtf8(c.source)), every(3005));
        ASSERT_EQ(over.rows.size(), 3000u);
        ASSERT_EQ(over.legacy.rows.size(), 3000u);
        EXPECT_EQ(over.rows.back()[0], listRow(5999)[0]);  // the 3000th selected row
        EXPECT_EQ(over.limitMessage, QString::fromUtf8(c.limitMessage));
    }
}

TEST(PrintComposer, BarsAndSemicolonsInANameStayInsideTheirCell) {
    std::vector<PrintRow> rows = listRows(1);
    rows[0].cells[0] = QStringLiteral("김|철;수");
    rows[0].cells[3] = QStringLiteral("서울; 종로구 | 1번지");
    const TableDocument doc = composeTable(composeInput(QStringLiteral("결과창:인명")), rows);
    ASSERT_EQ(doc.rows.size(), 1u);
    EXPECT_EQ(doc.rows[0], QStringList({QStringLiteral("김|철;수"), QStringLiteral("(02)700-0000"),
                                        QStringLiteral("서울; 종로구 | 1번지")}));
    // The legacy text cannot tell them apart: that is why nothing renders from it.
    EXPECT_EQ(doc.legacy.rows[0].count(QLatin1Char('|')), 4);
}

TEST(PrintComposer, ARowWithFewerColumnsGivesEmptyCells) {
    std::vector<PrintRow> rows = {{{QStringLiteral("상호"), QStringLiteral("(02)1-2")}, true}};
    const TableDocument doc = composeTable(composeInput(QStringLiteral("메모창:상호")), rows);
    ASSERT_EQ(doc.rows.size(), 1u);
    EXPECT_EQ(doc.rows[0].size(), 7);
    EXPECT_EQ(doc.legacy.rows[0], QStringLiteral("상호|(02)1-2\r|\r|\r|\r|\r|\r"));
}

TEST(PrintComposer, AnUnknownSourceComposesHeaderAndFooterOnly) {
    for (const char* source : {"", "결과창", "메모창:인명 ", "something"}) {
        const TableDocument doc =
            composeTable(composeInput(QString::fromUtf8(source)), listRows(5));
        EXPECT_FALSE(doc.hasTable) << source;
        EXPECT_TRUE(doc.rows.empty());
        EXPECT_TRUE(doc.limitMessage.isEmpty());
        EXPECT_EQ(doc.legacy.headerText, QStringLiteral("전국판 Telvia 리스트||Page %d"));
    }
}

TEST(PrintComposer, HeaderAndFooterTexts) {
    ComposeInput input = composeInput(QStringLiteral("결과창:인명"));
    input.headerText = QStringLiteral("우리 | 회사");  // a bar typed into the header text
    TableDocument doc = composeTable(input, {});
    EXPECT_EQ(doc.legacy.headerText, QStringLiteral("우리 | 회사||Page %d"));
    EXPECT_EQ(doc.header.left, QStringLiteral("우리 | 회사"));
    EXPECT_EQ(doc.header.right, QStringLiteral("Page %d"));
    EXPECT_EQ(doc.legacy.footerText, QStringLiteral("2024년 3월 5일 화요일||03:04:09 오후"));
    EXPECT_EQ(doc.footer.left, QStringLiteral("2024년 3월 5일 화요일"));
    EXPECT_EQ(doc.footer.right, QStringLiteral("03:04:09 오후"));
    EXPECT_EQ(doc.headerFont.pointSize(), 16);

    input.body.font.setPointSize(14);
    input.body.font.setBold(true);
    input.body.colour = Qt::red;
    doc = composeTable(input, {});
    EXPECT_EQ(doc.headerFont.pointSize(), 16);  // fixed, whatever the body font
    EXPECT_EQ(doc.body.font.pointSize(), 14);
    EXPECT_TRUE(doc.body.font.bold());
    EXPECT_EQ(doc.body.colour, QColor(Qt::red));
}

TEST(PrintComposer, TwelveHourClockAndLongDate) {
    EXPECT_EQ(halfDayTime(QTime(0, 30, 0)), QStringLiteral("12:30:00 오전"));
    EXPECT_EQ(halfDayTime(QTime(11, 59, 59)), QStringLiteral("11:59:59 오전"));
    EXPECT_EQ(halfDayTime(QTime(12, 0, 0)), QStringLiteral("12:00:00 오후"));
    EXPECT_EQ(halfDayTime(QTime(23, 5, 7)), QStringLiteral("11:05:07 오후"));
    EXPECT_EQ(longKoreanDate(QDate(2023, 12, 31)), QStringLiteral("2023년 12월 31일 일요일"));
    EXPECT_EQ(longKoreanDate(QDate(2024, 1, 1)), QStringLiteral("2024년 1월 1일 월요일"));
}

TEST(PrintComposer, TheDefaultBodyFontIsNinePointsOfAnInstalledKoreanFace) {
    const BodyFont body = defaultBodyFont();
    EXPECT_EQ(body.font.pointSize(), 9);
    EXPECT_EQ(body.colour, QColor(Qt::black));
    EXPECT_FALSE(defaultPrintFamily().isEmpty());
}
