#include "Database.h"

#include <system_error>

#include <sqlite3.h>

#include "DatabaseFault.h"

namespace telvia {
namespace {

// The key goes into the PRAGMA as an SQL string literal, quotes doubled.
std::string key_pragma(std::string_view secret) {
    std::string sql = "PRAGMA key = '";
    for (char c : secret) {
        if (c == '\'') sql += '\'';
        sql += c;
    }
    sql += "'";
    return sql;
}

Status connection_error(sqlite3* db, int rc) {
    std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    switch (rc & 0xff) {
        case SQLITE_NOTADB:
            return {Status::Code::kWrongSecret,
                    "the database secret is wrong or the file is not a database"};
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return {Status::Code::kBusy, "the database is in use by another user: " + msg};
        case SQLITE_READONLY:
            return {Status::Code::kReadOnly, msg};
        case SQLITE_CANTOPEN:
            return {Status::Code::kNotFound, "cannot open the database file: " + msg};
        case SQLITE_IOERR:
        case SQLITE_FULL:
            return {Status::Code::kIoError, msg};
        default:
            return {Status::Code::kSqlError, msg};
    }
}

Status run_script(sqlite3* db, const std::string& sql) {
    if (Status st = db_fault::pass_point("script"); !st.ok()) return st;
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
    sqlite3_free(err);
    return rc == SQLITE_OK ? Status::Ok() : connection_error(db, rc);
}

}  // namespace

std::string cipher_settings_script(std::string_view schema) {
    const std::string p = "PRAGMA " + std::string(schema) + ".";
    // SQLCipher 3 knows neither algorithm PRAGMA and ignores them (its algorithms are these
    // two); later versions need them to read a file written by SQLCipher 3.
    return p + "cipher_page_size = " + std::to_string(kCipherSettings.page_size) + "; " + p +
           "kdf_iter = " + std::to_string(kCipherSettings.kdf_iterations) + "; " + p +
           "cipher_hmac_algorithm = " + kCipherSettings.hmac_algorithm + "; " + p +
           "cipher_kdf_algorithm = " + kCipherSettings.kdf_algorithm;
}

void Database::close_connection(sqlite3* db) noexcept {
    if (!db) return;
    while (sqlite3_stmt* s = sqlite3_next_stmt(db, nullptr)) sqlite3_finalize(s);
    sqlite3_close(db);
}

Status Database::open(const std::filesystem::path& file, std::string_view secret, OpenShare share,
                      OpenAccess access, Database& out) {
    out = Database();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        return {Status::Code::kNotFound, "database file not found: " + file.string()};
    }
    const bool ro = access == OpenAccess::kReadOnly;
    const int flags = (ro ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &raw, flags, nullptr);
    std::shared_ptr<sqlite3> db(raw, &Database::close_connection);
    if (rc != SQLITE_OK) return connection_error(raw, rc);
    sqlite3_extended_result_codes(raw, 0);

    if (Status st = run_script(raw, key_pragma(secret)); !st.ok()) return st;
    if (Status st = run_script(raw, cipher_settings_script()); !st.ok()) return st;
    if (share == OpenShare::kExclusive) {
        if (Status st = run_script(raw, "PRAGMA locking_mode = EXCLUSIVE"); !st.ok()) return st;
    }
    // The key is only tried when a page is read: reading the schema proves it (and, in
    // exclusive mode, takes the shared lock that is then kept).
    if (Status st = run_script(raw, "SELECT count(*) FROM sqlite_master"); !st.ok()) return st;
    if (share == OpenShare::kExclusive && !ro) {
        // An empty write transaction raises the kept lock to exclusive.
        if (Status st = run_script(raw, "BEGIN EXCLUSIVE; COMMIT"); !st.ok()) return st;
    }
    out.db_ = std::move(db);
    out.path_ = file;
    out.read_only_ = ro;
    return Status::Ok();
}

Status Database::create(const std::filesystem::path& file, std::string_view secret, Database& out) {
    out = Database();
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        return {Status::Code::kExists, "database file already exists: " + file.string()};
    }
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(file.c_str(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::shared_ptr<sqlite3> db(raw, &Database::close_connection);
    if (rc != SQLITE_OK) return connection_error(raw, rc);
    Status keyed = run_script(raw, key_pragma(secret));
    if (keyed.ok()) keyed = run_script(raw, cipher_settings_script());
    if (!keyed.ok()) {
        db.reset();
        std::filesystem::remove(file, ec);
        return keyed;
    }
    // The engine writes nothing until the first change; make the file exist, keyed, now.
    if (Status st = run_script(raw,
                               "PRAGMA user_version = 0; BEGIN; "
                               "CREATE TABLE telvia_created(x); DROP TABLE telvia_created; "
                               "COMMIT");
        !st.ok()) {
        db.reset();
        std::filesystem::remove(file, ec);
        return st;
    }
    out.db_ = std::move(db);
    out.path_ = file;
    out.read_only_ = false;
    return Status::Ok();
}

Status Database::execute(std::string_view sql, std::span<const DbValue> params) {
    Statement stmt;
    if (Status st = prepare(sql, stmt); !st.ok()) return st;
    return stmt.execute(params);
}

Status Database::execute_script(std::string_view sql) {
    if (!db_) return {Status::Code::kMisuse, "database is not open"};
    return run_script(db_.get(), std::string(sql));
}

Status Database::prepare(std::string_view sql, Statement& out) {
    out = Statement();
    if (!db_) return {Status::Code::kMisuse, "database is not open"};
    if (Status st = db_fault::pass_point("prepare"); !st.ok()) return st;
    sqlite3_stmt* raw = nullptr;
    const int rc =
        sqlite3_prepare_v2(db_.get(), sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(raw);
        return connection_error(db_.get(), rc);
    }
    if (!raw) return {Status::Code::kSqlError, "empty SQL statement"};
    out.conn_ = db_;
    out.stmt_ = raw;
    return Status::Ok();
}

Status Database::open_recordset(std::string_view sql, std::span<const DbValue> params,
                                Recordset& out) {
    out = Recordset();
    return open_query(sql, params, out);
}

Status Database::open_query(std::string_view sql, std::span<const DbValue> params, Recordset& out) {
    Statement stmt;
    if (Status st = prepare(sql, stmt); !st.ok()) return st;
    if (Status st = bind_parameters(stmt.get(), params); !st.ok()) return st;
    sqlite3_stmt* s = stmt.get();
    const int n = sqlite3_column_count(s);
    out.names_.reserve(static_cast<std::size_t>(n));
    for (int i = out.dynaset_ ? 1 : 0; i < n; ++i) {
        const char* name = sqlite3_column_name(s, i);
        out.names_.emplace_back(name ? name : "");
    }
    out.stmt_ = std::move(stmt);
    out.open_ = true;
    // Read the first row now so a failing query reports here, not on the first move.
    out.fetch_to(0);
    if (!out.status_.ok()) {
        Status st = out.status_;
        out = Recordset();
        return st;
    }
    return Status::Ok();
}

bool Database::in_transaction() const noexcept {
    return db_ && sqlite3_get_autocommit(db_.get()) == 0;
}

Transaction::Transaction(Database& db) : db_(db) {
    begun_ = db_.execute_script("BEGIN IMMEDIATE");
    open_ = begun_.ok();
}

Transaction::~Transaction() {
    if (!open_) return;
    // A rollback that fails (a full disk, an injected fault) is tried once more: a transaction
    // left open would swallow the connection's later work.
    if (!db_.rollback().ok() && db_.in_transaction()) (void)db_.rollback();
}

Status Transaction::commit() {
    if (!open_) return {Status::Code::kMisuse, "the transaction was not begun"};
    Status st = db_.commit();
    if (st.ok() || !db_.in_transaction()) open_ = false;
    return st;
}

std::int64_t Database::changes() const noexcept {
    return db_ ? sqlite3_changes(db_.get()) : 0;
}

std::int64_t Database::last_insert_rowid() const noexcept {
    return db_ ? sqlite3_last_insert_rowid(db_.get()) : 0;
}

}  // namespace telvia
