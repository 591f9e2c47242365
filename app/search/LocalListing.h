// Searches of the local listing chb.cad (table "inchbuk"): the exact-name search of a place
// and the listing of one dong, whole or by surname. The file is opened exclusively and
// read-only for one search and closed at its end. User text is bound, never pasted into SQL,
// so a name with a quotation mark searches like any other.
#pragma once

#include <QString>
#include <vector>

#include "ResultRows.h"
#include "Status.h"

namespace search {

inline constexpr char kLocalSecret[] = "mwzkqrtvbnpla";

struct LocalResult {
    telvia::Status status;  // not ok when the file or the query failed
    std::vector<ResultRow> rows;
};

// Entries named exactly `name` in the place `code`: a code with ":" searches the whole
// table, a code shorter than 7 characters every dong code beginning with it, a longer one
// that dong only. Rows in the table's order.
LocalResult exactNameSearch(const QString& file, const QString& name, const QString& code);

// Every entry of the dongs whose code begins with `code`, sorted by name; with a surname,
// only the names beginning with it, in the table's order.
LocalResult dongListing(const QString& file, const QString& code, const QString& surname = {},
                        bool bySurname = false);

}  // namespace search
