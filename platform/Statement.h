// A compiled SQL statement of one Database, re-run with fresh parameters. Compiling once and
// re-binding is what makes bulk inserts fast (wrap them in one transaction as well).
#pragma once

#include <initializer_list>
#include <memory>
#include <span>
#include <utility>

#include "DbValue.h"
#include "Status.h"

struct sqlite3;
struct sqlite3_stmt;

namespace telvia {

// Closing the Database finalizes its statements; a Statement (or Recordset) left over after
// that reports kMisuse instead of touching freed memory.
class Statement {
public:
    Statement() = default;
    Statement(Statement&& o) noexcept
        : conn_(std::move(o.conn_)), stmt_(std::exchange(o.stmt_, nullptr)) {}
    Statement& operator=(Statement&& o) noexcept {
        if (this != &o) {
            finalize();
            conn_ = std::move(o.conn_);
            stmt_ = std::exchange(o.stmt_, nullptr);
        }
        return *this;
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { finalize(); }

    // False once finalized or once its Database closed.
    bool is_open() const noexcept { return stmt_ != nullptr && !conn_.expired(); }
    // Number of ?-parameters the statement expects.
    int parameter_count() const noexcept;

    // Binds `params` to ?1..?n, runs the statement to its end (rows are dropped) and resets
    // it for the next run. Too few or too many parameters is kMisuse.
    Status execute(std::span<const DbValue> params);
    Status execute(std::initializer_list<DbValue> params) {
        return execute(std::span<const DbValue>(params.begin(), params.size()));
    }

private:
    friend class Database;
    friend class Recordset;
    // The live statement, or nullptr when finalized or its connection is gone.
    sqlite3_stmt* get() const noexcept { return is_open() ? stmt_ : nullptr; }
    void finalize() noexcept;

    std::weak_ptr<sqlite3> conn_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Shared by Statement and Recordset: clears old bindings and binds `params` to ?1..?n.
Status bind_parameters(sqlite3_stmt* stmt, std::span<const DbValue> params);
// The engine's last error on the statement's connection as a Status.
Status statement_error(sqlite3_stmt* stmt, int rc);

}  // namespace telvia
