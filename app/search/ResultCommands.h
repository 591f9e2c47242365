// What the result-list commands hand to the windows they open, decided without widgets: the
// print source, the dial window's boxes, the web-call number and address, and the command
// lines of the companion programs.
#pragma once

#include <QString>
#include <QStringList>

#include "SearchMode.h"

namespace search {

// The print source for the print window: "동결과:인명" or "결과창:인명" once the name search
// kind was set up (kind code 2), "결과창:상호" in search mode 1 before that, else `previous`.
QString printSource(int searchKindCode, SearchMode searchMode, bool dongResult,
                    const QString& previous);

// The dial window's boxes for one result row.
struct DialValues {
    QString name;
    QString areaCode;
    QString number;
    QString department;
};

// `cells` is the selected row (empty when none). The department comes from the fifth column,
// and only for rows of lvResult outside the name search kind.
DialValues dialValues(const QStringList& cells, bool fromResultList, int searchKindCode);

// Only the digits of a telephone column: "(02)735-1234" gives "027351234".
QString webCallDigits(const QString& telephone);

// The web-telephone page for a number: the configured address (setting "Option"/"WebCallUrl",
// for installations that use another host) followed by "?phonenum=" and the number, encoded
// as a query value.
QString webCallAddress(const QString& number);

// Companion-program command lines after the program folder, by menu and item index; "" for
// an index the menu does not have. Menus: 1 "additionInfo", 2 "additionInfo2", 3 the third.
QString companionCommandLine(int menu, int index);

// A command line split into the program and its arguments (blank-separated).
QStringList splitCommandLine(const QString& line);

}  // namespace search
