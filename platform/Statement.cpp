#include "Statement.h"

#include <string>

#include <sqlite3.h>

#include "DatabaseFault.h"

namespace telvia {

void Statement::finalize() noexcept {
    // After the connection closed, its statements are already finalized.
    if (stmt_ && !conn_.expired()) sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    conn_.reset();
}

int Statement::parameter_count() const noexcept {
    return get() ? sqlite3_bind_parameter_count(get()) : 0;
}

Status statement_error(sqlite3_stmt* stmt, int rc) {
    sqlite3* db = stmt ? sqlite3_db_handle(stmt) : nullptr;
    std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    switch (rc & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return {Status::Code::kBusy, msg};
        case SQLITE_READONLY:
            return {Status::Code::kReadOnly, msg};
        case SQLITE_NOTADB:
            return {Status::Code::kWrongSecret, msg};
        case SQLITE_IOERR:
        case SQLITE_FULL:
            return {Status::Code::kIoError, msg};
        case SQLITE_MISUSE:
        case SQLITE_RANGE:
            return {Status::Code::kMisuse, msg};
        default:
            return {Status::Code::kSqlError, msg};
    }
}

Status bind_parameters(sqlite3_stmt* stmt, std::span<const DbValue> params) {
    if (!stmt) return {Status::Code::kMisuse, "statement is not prepared or its database closed"};
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (static_cast<std::size_t>(expected) != params.size()) {
        return {Status::Code::kMisuse, "statement expects " + std::to_string(expected) +
                                           " parameters, got " + std::to_string(params.size())};
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const auto& raw = params[i].raw();
        int rc = SQLITE_OK;
        if (const auto* s = std::get_if<std::string>(&raw)) {
            rc = sqlite3_bind_text(stmt, n, s->data(), static_cast<int>(s->size()),
                                   SQLITE_TRANSIENT);
        } else if (const auto* v = std::get_if<std::int64_t>(&raw)) {
            rc = sqlite3_bind_int64(stmt, n, *v);
        } else if (const auto* d = std::get_if<double>(&raw)) {
            rc = sqlite3_bind_double(stmt, n, *d);
        } else {
            rc = sqlite3_bind_null(stmt, n);
        }
        if (rc != SQLITE_OK) return statement_error(stmt, rc);
    }
    return Status::Ok();
}

Status Statement::execute(std::span<const DbValue> params) {
    sqlite3_stmt* s = get();
    if (Status st = bind_parameters(s, params); !st.ok()) return st;
    Status result;
    for (;;) {
        if (result = db_fault::pass_point("step"); !result.ok()) break;
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_ROW) continue;
        if (rc != SQLITE_DONE) result = statement_error(s, rc);
        break;
    }
    sqlite3_reset(s);
    return result;
}

}  // namespace telvia
