#include "PrintLayouts.h"

#include <array>

namespace print {

namespace {

const QString kLimitShort = QStringLiteral("인쇄가 3000건으로 제한되었습니다.");
const QString kLimitLong = QStringLiteral("한번에 인쇄가능한 건수가 3000건으로 제한되었습니다.");
const QString kNameTitles = QStringLiteral("[인   명]|[전화번호]|[주    소];");

const std::array<PrintLayout, 5>& layouts() {
    static const std::array<PrintLayout, 5> all = {{
        {QStringLiteral("동결과:인명"),
         QStringLiteral("^+2500|^+2000|^+6300;"),
         QStringLiteral("+<2500|+<2000|+<6300;"),
         QStringLiteral("^+3000|^+3000|^+9800;"),
         QStringLiteral("+<3000|+<3000|+<9800;"),
         kNameTitles,
         {1, 3},
         false,
         kLimitShort},
        {QStringLiteral("결과창:인명"),
         QStringLiteral("^+2000|^+1800|^+7000;"),
         QStringLiteral("+<2000|+<1800|+<7000;"),
         QStringLiteral("^+3000|^+3000|^+9800;"),
         QStringLiteral("+<3000|+<3000|+<9800;"),
         kNameTitles,
         {1, 3},
         false,
         kLimitLong},
        {QStringLiteral("결과창:상호"),
         QStringLiteral("^+2000|^+1500|^+1200|^+3000|^+1800|^+1300;"),
         QStringLiteral("<+2000|<+1500|<+1200|<+3000|<+1800|<+1300;"),
         QStringLiteral("^+2500|^+1800|^+1500|^+4500|^+2500|^+3000;"),
         QStringLiteral("<+2500|<+1800|<+1500|<+4500|<+2500|<+3000;"),
         QStringLiteral("[상호]|[전화번호]|[우편번호]|[주  소]|[업종]|[부서];"),
         {1, 2, 3, 4, 5},
         true,
         kLimitLong},
        {QStringLiteral("메모창:인명"),
         QStringLiteral("^+1500|^+1800|^+5800|^+1700;"),
         QStringLiteral("+<1500|+<1800|+<5800|+<1700;"),
         QStringLiteral("^+2800|^+2000|^+8000|^+3000;"),
         QStringLiteral("+<2800|+<2000|+<8000|+<3000;"),
         QStringLiteral("[인명]|[전화번호]|[주소]|[메모];"),
         {1, 3, 4},
         true,
         kLimitLong},
        {QStringLiteral("메모창:상호"),
         QStringLiteral("^+2000|^+1500|^+1200|^+2500|^+1500|^+1100|^+1000;"),
         QStringLiteral("<+2000|<+1500|<+1200|<+2500|<+1500|<+1100|<+1000;"),
         QStringLiteral("^+2500|^+1800|^+1200|^+4300|^+2500|^+1500|^+2000;"),
         // The address column of this one format carries no alignment mark.
         QStringLiteral("<+2500|<+1800|<+1200|+4300|<+2500|<+1500|<+2000;"),
         QStringLiteral("[상호]|[전화번호]|[우편번호]|[주  소]|[업종]|[부서]|[메모];"),
         {1, 2, 3, 4, 5, 6},
         true,
         kLimitLong},
    }};
    return all;
}

// A format or title row without its closing ";".
QStringView withoutTerminator(QStringView text) {
    return text.endsWith(u';') ? text.chopped(1) : text;
}

}  // namespace

std::span<const PrintLayout> printLayouts() {
    return layouts();
}

const PrintLayout* printLayout(const QString& source) {
    for (const PrintLayout& layout : layouts()) {
        if (layout.source == source) return &layout;
    }
    return nullptr;
}

std::vector<ColumnFormat> parseTableFormat(QStringView format) {
    std::vector<ColumnFormat> columns;
    for (QStringView entry : withoutTerminator(format).split(u'|')) {
        ColumnFormat column;
        QString digits;
        for (QChar c : entry) {
            if (c == u'^')
                column.alignment = Alignment::Centre;
            else if (c == u'<')
                column.alignment = Alignment::Left;
            else if (c.isDigit())
                digits += c;
        }
        column.twips = digits.toInt();
        columns.push_back(column);
    }
    return columns;
}

QStringList titleCells(QStringView titleRow) {
    QStringList cells;
    for (QStringView cell : withoutTerminator(titleRow).split(u'|')) cells << cell.toString();
    return cells;
}

QStringList entryCells(const PrintLayout& layout, const QStringList& listRow) {
    QStringList cells;
    cells.reserve(static_cast<qsizetype>(layout.subItems.size()) + 1);
    cells << listRow.value(0);
    for (int subItem : layout.subItems) cells << listRow.value(subItem);
    return cells;
}

QString legacyEntryRow(const PrintLayout& layout, const QStringList& cells) {
    QString row = cells.value(0);
    for (qsizetype i = 1; i < cells.size(); ++i) {
        row += u'|';
        row += cells[i];
        if (layout.returnAfterSubItems) row += u'\r';
    }
    return row;
}

}  // namespace print
