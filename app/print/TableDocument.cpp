#include "TableDocument.h"

#include <QFontDatabase>

namespace print {

namespace {

constexpr int kHeaderPointSize = 16;
const QColor kTitleShade(255, 255, 0);  // colour 14 of the classic 16-colour palette
const QString kPageNumber = QStringLiteral("Page %d");

}  // namespace

QString longKoreanDate(QDate date) {
    static const char16_t* const kWeekdays[] = {u"월요일", u"화요일", u"수요일", u"목요일",
                                                u"금요일", u"토요일", u"일요일"};
    return QStringLiteral("%1년 %2월 %3일 %4")
        .arg(date.year())
        .arg(date.month())
        .arg(date.day())
        .arg(QString::fromUtf16(kWeekdays[date.dayOfWeek() - 1]));
}

QString halfDayTime(QTime time) {
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? QStringLiteral("오전") : QStringLiteral("오후"));
}

QString defaultPrintFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        // NanumGothic and NanumGothicCoding come last: their blank maps back to U+0001 in
        // the text of a PDF, so a search or a copy from the saved file loses the blanks.
        for (const char* wanted :
             {"굴림체", "GulimChe", "굴림", "Gulim", "NanumBarunGothic", "Noto Sans CJK KR",
              "Noto Sans Mono CJK KR", "D2Coding", "NanumGothicCoding", "NanumGothic"}) {
            const QString name = QString::fromUtf8(wanted);
            if (installed.contains(name, Qt::CaseInsensitive)) return name;
        }
        const QStringList korean = QFontDatabase::families(QFontDatabase::Korean);
        // With nothing Korean installed the name stays, and font fallback finds the glyphs.
        return korean.isEmpty() ? QStringLiteral("굴림체") : korean.front();
    }();
    return family;
}

BodyFont defaultBodyFont() {
    return {QFont(defaultPrintFamily(), 9), Qt::black};
}

TableDocument composeTable(const ComposeInput& input, std::span<const PrintRow> rows) {
    TableDocument doc;
    doc.header = {input.headerText, {}, kPageNumber};
    doc.legacy.headerText = input.headerText + QStringLiteral("||") + kPageNumber;
    doc.footer = {longKoreanDate(input.now.date()), {}, halfDayTime(input.now.time())};
    doc.legacy.footerText = doc.footer.left + QStringLiteral("||") + doc.footer.right;
    doc.headerFont = QFont(defaultPrintFamily(), kHeaderPointSize);
    doc.body = input.body;

    const PrintLayout* layout = printLayout(input.printSource);
    if (!layout) return doc;

    doc.hasTable = true;
    doc.legacy.headerFormat = layout->headerFormat(input.orientation);
    doc.legacy.bodyFormat = layout->bodyFormat(input.orientation);
    doc.legacy.titleRow = layout->titleRow;
    doc.titleColumns = parseTableFormat(doc.legacy.headerFormat);
    doc.bodyColumns = parseTableFormat(doc.legacy.bodyFormat);
    doc.titles = titleCells(layout->titleRow);
    doc.titleShade = kTitleShade;

    int printed = 0;
    for (const PrintRow& row : rows) {
        if (!row.selected) continue;
        if (++printed > kPrintLimit) {
            doc.limitMessage = layout->limitMessage;
            break;
        }
        QStringList cells = entryCells(*layout, row.cells);
        doc.legacy.rows.push_back(legacyEntryRow(*layout, cells));
        doc.rows.push_back(std::move(cells));
    }
    return doc;
}

}  // namespace print
