// The table document the print window previews, prints and saves: composed from plain data
// (the rows of one result or memo list with their selection, the print source, the header
// text, the orientation and the body font), never from widgets, so the main window and the
// memo window each hand over their rows through a thin adapter (PrintRows.h).
// Composition has no side effects: the one message it may cause (the print limit) comes back
// in the document for the caller to show once.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>
#include <span>
#include <vector>

#include "PrintLayouts.h"

namespace print {

// At most this many selected entries go into one composition.
inline constexpr int kPrintLimit = 3000;

// One row of a list: its cells (item text, then the sub-items) and whether it is selected.
struct PrintRow {
    QStringList cells;
    bool selected = false;
};

// The body font of the font dialog: name, size, bold, italic (and the other effects) and colour.
struct BodyFont {
    QFont font;
    QColor colour = Qt::black;
};

struct ComposeInput {
    QString printSource;
    QString headerText;
    Orientation orientation = Orientation::Landscape;
    BodyFont body;
    QDateTime now;  // the footer's date and time
};

// A header or footer line: left, centre and right parts. "%d" in a part is the page number.
struct ThreeParts {
    QString left;
    QString centre;
    QString right;
};

struct TableDocument {
    ThreeParts header;  // the header text, nothing, "Page %d"
    ThreeParts footer;  // the long date, nothing, the time
    QFont headerFont;   // header and footer, 16 points whatever the body font
    BodyFont body;
    // False for a print source outside the five: the pages carry the header and footer only.
    bool hasTable = false;
    std::vector<ColumnFormat> titleColumns;
    std::vector<ColumnFormat> bodyColumns;
    QStringList titles;
    QColor titleShade;  // yellow
    std::vector<QStringList> rows;
    // Set when more entries were selected than the limit allows; the caller shows it once.
    QString limitMessage;

    // The original component's texts, kept beside the table for comparison. Nothing is ever
    // rendered from them: a "|" or ";" typed into a name would shift the columns.
    struct Legacy {
        QString headerText;  // the header text + "||Page %d"
        QString footerText;  // date + "||" + time
        QString headerFormat;
        QString bodyFormat;
        QString titleRow;
        std::vector<QString> rows;
    } legacy;
};

// Composes the document: the title row, then one entry row for each selected row, first to
// last, up to kPrintLimit.
TableDocument composeTable(const ComposeInput& input, std::span<const PrintRow> rows);

// "2024년 3월 5일 화요일": the long Korean date.
QString longKoreanDate(QDate date);
// "03:05:07 오후": twelve-hour clock with two-digit fields and the Korean half-day word.
QString halfDayTime(QTime time);

// The font family the tables use by default: 굴림체 when installed, else an installed Korean
// face whose text survives in a PDF, else the first installed Korean face.
QString defaultPrintFamily();
// 9 points of the default family, black.
BodyFont defaultBodyFont();

}  // namespace print
