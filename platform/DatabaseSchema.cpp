// Database operations beyond plain queries: updatable recordsets, table definitions and
// compaction into a new file.
#include <cctype>
#include <fstream>
#include <system_error>

#include <sqlite3.h>

#include "Database.h"
#include "SqlIdentifier.h"

namespace telvia {
namespace {

bool take_keyword(std::string_view& s, std::string_view word) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    if (s.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(s[i])) != word[i]) return false;
    }
    // A keyword ends at a non-word character ("*" needs no such check).
    if (std::isalpha(static_cast<unsigned char>(word.front())) && s.size() > word.size() &&
        (std::isalnum(static_cast<unsigned char>(s[word.size()])) || s[word.size()] == '_')) {
        return false;
    }
    s.remove_prefix(word.size());
    return true;
}

// The table name of "SELECT * FROM <table> ...", as written (bare, "quoted" or [bracketed]).
std::string_view take_table(std::string_view& s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    if (s.empty()) return {};
    std::size_t end = 0;
    if (s.front() == '"' || s.front() == '[' || s.front() == '`') {
        const char close = s.front() == '[' ? ']' : s.front();
        end = s.find(close, 1);
        end = end == std::string_view::npos ? 0 : end + 1;
    } else {
        while (end < s.size() && !std::isspace(static_cast<unsigned char>(s[end])) &&
               s[end] != ';' && s[end] != '(' && s[end] != ',') {
            ++end;
        }
    }
    const std::string_view table = s.substr(0, end);
    s.remove_prefix(end);
    return table;
}

}  // namespace

Status Database::open_dynaset(std::string_view sql, std::span<const DbValue> params,
                              Recordset& out) {
    out = Recordset();
    if (!db_) return {Status::Code::kMisuse, "database is not open"};
    std::string_view rest = sql;
    std::string_view table;
    if (!take_keyword(rest, "SELECT") || !take_keyword(rest, "*") || !take_keyword(rest, "FROM") ||
        (table = take_table(rest)).empty()) {
        return {
            Status::Code::kMisuse,
            "only \"SELECT * FROM <table> ...\" can be opened for changes: " + std::string(sql)};
    }
    out.dynaset_ = true;
    out.table_ = std::string(table);
    out.conn_ = db_;
    const std::string query = "SELECT rowid, * FROM " + out.table_ + std::string(rest);
    if (Status st = open_query(query, params, out); !st.ok()) return st;
    out.fetch_to(INT64_MAX);  // added rows must not show up in a cursor still reading
    return out.status();
}

Status Database::create_table(std::string_view name, std::span<const TextField> fields) {
    if (fields.empty()) return {Status::Code::kMisuse, "a table needs at least one field"};
    std::string sql = "CREATE TABLE " + quote_identifier(name) + " (";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string field = quote_identifier(fields[i].name);
        if (i) sql += ", ";
        sql +=
            field + " TEXT CHECK (length(" + field + ") <= " + std::to_string(fields[i].size) + ")";
    }
    sql += ")";
    return execute_script(sql);
}

Status Database::compact(const std::filesystem::path& source, std::string_view secret,
                         const std::filesystem::path& target) {
    std::error_code ec;
    if (std::filesystem::exists(target, ec)) {
        return {Status::Code::kExists, "compaction target already exists: " + target.string()};
    }
    Database db;
    if (Status st = open(source, secret, OpenShare::kExclusive, OpenAccess::kReadWrite, db);
        !st.ok()) {
        return st;
    }
    {
        // The source connection may not create files, so the target is made first, empty:
        // an empty file takes the key and the cipher settings given at ATTACH, whatever the
        // library's defaults are.
        std::ofstream made(target, std::ios::binary);
        if (!made) {
            return {Status::Code::kIoError,
                    "cannot create the compaction target: " + target.string()};
        }
    }
    const std::string target_name = target.string();
    Status st = db.execute("ATTACH DATABASE ? AS telvia_compact KEY ?",
                           {DbValue(target_name), DbValue(secret)});
    if (st.ok()) st = db.execute_script(cipher_settings_script("telvia_compact"));
    if (st.ok()) st = db.execute("SELECT sqlcipher_export('telvia_compact')");
    const Status detached = db.execute("DETACH DATABASE telvia_compact");
    if (st.ok()) st = detached;
    if (!st.ok()) std::filesystem::remove(target, ec);
    return st;
}

}  // namespace telvia
