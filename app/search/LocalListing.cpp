#include "LocalListing.h"

#include <string>

#include "Database.h"
#include "JetSql.h"

namespace search {
namespace {

using telvia::DbValue;

// The dong codes that begin with `code`, as an index range plus the exact prefix test:
// every text that begins with `code` sorts between it and `code` followed by the highest
// character.
const char kPrefixRange[] = "dongCode >= ?1 AND dongCode < ?2 AND dongCode LIKE ?3 ESCAPE '\\'";

std::vector<DbValue> prefixParams(const QString& code) {
    const std::string c = code.toStdString();
    return {DbValue(c), DbValue(c + "\xF4\x8F\xBF\xBF"),
            DbValue(telvia::jet_like_pattern(c + "*"))};
}

LocalResult run(const QString& file, const std::string& sql, const std::vector<DbValue>& params) {
    LocalResult result;
    telvia::Database db;
    result.status =
        telvia::Database::open(file.toStdString(), kLocalSecret, telvia::OpenShare::kExclusive,
                               telvia::OpenAccess::kReadOnly, db);
    if (!result.status.ok()) return result;
    telvia::Recordset rs;
    result.status = db.open_recordset(sql, params, rs);
    if (!result.status.ok()) return result;
    for (rs.move_first(); !rs.eof(); rs.move_next()) {
        auto text = [&rs](const char* field) { return QString::fromStdString(rs.text(field)); };
        result.rows.push_back(
            rowFromLocal(text("Name"), text("ddd"), text("tel"), text("Zip"), text("address")));
    }
    result.status = rs.status();
    if (!result.status.ok()) result.rows.clear();
    return result;
}

}  // namespace

LocalResult exactNameSearch(const QString& file, const QString& name, const QString& code) {
    const std::string n = name.toStdString();
    if (code.contains(QLatin1Char(':'))) {
        return run(file, "SELECT * FROM inchbuk WHERE Name = ?1", {DbValue(n)});
    }
    if (code.size() < 7) {
        std::vector<DbValue> params = prefixParams(code);
        params.emplace_back(n);
        return run(file,
                   std::string("SELECT * FROM inchbuk WHERE ") + kPrefixRange + " AND Name = ?4",
                   params);
    }
    return run(file, "SELECT * FROM inchbuk WHERE dongCode = ?1 AND Name = ?2",
               {DbValue(code.toStdString()), DbValue(n)});
}

LocalResult dongListing(const QString& file, const QString& code, const QString& surname,
                        bool bySurname) {
    std::vector<DbValue> params = prefixParams(code);
    if (bySurname) {
        params.emplace_back(telvia::jet_like_pattern(surname.toStdString() + "*"));
        return run(file,
                   std::string("SELECT * FROM inchbuk WHERE ") + kPrefixRange +
                       " AND name LIKE ?4 ESCAPE '\\' ORDER BY rowid",
                   params);
    }
    return run(file, std::string("SELECT * FROM inchbuk WHERE ") + kPrefixRange + " ORDER BY name",
               params);
}

}  // namespace search
