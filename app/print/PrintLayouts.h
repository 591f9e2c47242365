// The table layouts of the five print sources, as the original print component took them:
// format strings (one entry per column joined by "|" and ended by ";"; in an entry the number
// is the width in twips, "<" asks for left and "^" for centred alignment, "+" is a mark of
// that component and means nothing here), the title row, the cells an entry row takes from a
// list row, and the message shown when the print limit cuts the selection.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>
#include <vector>

namespace print {

enum class Orientation { Portrait, Landscape };
enum class Alignment { Left, Centre };

struct ColumnFormat {
    int twips = 0;
    Alignment alignment = Alignment::Left;
    friend bool operator==(const ColumnFormat&, const ColumnFormat&) = default;
};

struct PrintLayout {
    QString source;  // "동결과:인명", "결과창:인명", "결과창:상호", "메모창:인명", "메모창:상호"
    QString portraitHeaderFormat;
    QString portraitBodyFormat;
    QString landscapeHeaderFormat;
    QString landscapeBodyFormat;
    QString titleRow;  // "[인   명]|[전화번호]|[주    소];" (the blanks are part of the titles)
    // The sub-items that follow the item text in an entry row, in order.
    std::vector<int> subItems;
    // The business and memo rows put a carriage return after every sub-item.
    bool returnAfterSubItems = false;
    QString limitMessage;

    const QString& headerFormat(Orientation o) const {
        return o == Orientation::Portrait ? portraitHeaderFormat : landscapeHeaderFormat;
    }
    const QString& bodyFormat(Orientation o) const {
        return o == Orientation::Portrait ? portraitBodyFormat : landscapeBodyFormat;
    }
};

// Every layout, in the order of the sources above.
std::span<const PrintLayout> printLayouts();
// The layout of a print source; nullptr for any other text (which composes nothing).
const PrintLayout* printLayout(const QString& source);

// The columns of a format string. An entry with neither "<" nor "^" is left-aligned; a
// width that is not a number counts as 0.
std::vector<ColumnFormat> parseTableFormat(QStringView format);
// The cells of a title row: "[a]|[b];" gives "[a]", "[b]".
QStringList titleCells(QStringView titleRow);

// The entry row's cells for one list row: the item text, then the layout's sub-items (a
// sub-item the row lacks is empty). Never split again: a "|" or ";" stays inside its cell.
QStringList entryCells(const PrintLayout& layout, const QStringList& listRow);
// An entry row as the original component's text: the entry cells joined by "|", with a
// carriage return after each sub-item where the layout asks for one.
QString legacyEntryRow(const PrintLayout& layout, const QStringList& cells);

}  // namespace print
