// The changing half of Recordset: add_new/edit/set_field/update/cancel_update on a dynaset.
#include <sqlite3.h>

#include "DatabaseFault.h"
#include "Recordset.h"
#include "SqlIdentifier.h"

namespace telvia {

Status Recordset::add_new() {
    if (!dynaset_) return {Status::Code::kMisuse, "the recordset cannot be changed"};
    mode_ = EditMode::kAdd;
    pending_.assign(names_.size(), DbValue());
    changed_.assign(names_.size(), false);
    return Status::Ok();
}

Status Recordset::edit() {
    if (!dynaset_) return {Status::Code::kMisuse, "the recordset cannot be changed"};
    if (position_ < 0 || !fetch_to(position_)) {
        return {Status::Code::kMisuse, "no current record to edit"};
    }
    mode_ = EditMode::kEdit;
    pending_ = rows_[static_cast<std::size_t>(position_)];
    changed_.assign(names_.size(), false);
    return Status::Ok();
}

Status Recordset::set_field(std::string_view name, DbValue value) {
    if (mode_ == EditMode::kNone) return {Status::Code::kMisuse, "not adding or editing"};
    const int i = field_index(name);
    if (i < 0) return {Status::Code::kNotFound, "no field " + std::string(name)};
    pending_[static_cast<std::size_t>(i)] = std::move(value);
    changed_[static_cast<std::size_t>(i)] = true;
    return Status::Ok();
}

void Recordset::cancel_update() noexcept {
    mode_ = EditMode::kNone;
    pending_.clear();
    changed_.clear();
}

Status Recordset::update() {
    if (mode_ == EditMode::kNone) return {Status::Code::kMisuse, "not adding or editing"};
    const std::shared_ptr<sqlite3> db = conn_.lock();
    if (!db) return {Status::Code::kMisuse, "the recordset's database was closed"};

    std::string sql;
    std::vector<DbValue> params;
    params.reserve(names_.size() + 1);
    if (mode_ == EditMode::kAdd) {
        std::string columns, marks;
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (!changed_[i]) continue;
            if (!params.empty()) {
                columns += ", ";
                marks += ", ";
            }
            columns += quote_identifier(names_[i]);
            marks += "?";
            params.push_back(pending_[i]);
        }
        sql = params.empty()
                  ? "INSERT INTO " + table_ + " DEFAULT VALUES"
                  : "INSERT INTO " + table_ + " (" + columns + ") VALUES (" + marks + ")";
    } else {
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (!changed_[i]) continue;
            sql += (params.empty() ? "UPDATE " + table_ + " SET " : std::string(", ")) +
                   quote_identifier(names_[i]) + " = ?";
            params.push_back(pending_[i]);
        }
        if (params.empty()) {
            cancel_update();
            return Status::Ok();
        }
        sql += " WHERE rowid = ?";
        params.emplace_back(rowids_[static_cast<std::size_t>(position_)]);
    }

    if (Status st = db_fault::pass_point("update"); !st.ok()) return st;
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db.get(), sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> stmt(raw, &sqlite3_finalize);
    if (rc != SQLITE_OK) return statement_error(raw, rc);
    if (Status st = bind_parameters(raw, params); !st.ok()) return st;
    rc = sqlite3_step(raw);
    if (rc != SQLITE_DONE) return statement_error(raw, rc);

    if (mode_ == EditMode::kAdd) {
        // The row as stored: fields not set read back as NULL (no defaults are declared).
        rows_.push_back(std::move(pending_));
        rowids_.push_back(sqlite3_last_insert_rowid(db.get()));
    } else {
        rows_[static_cast<std::size_t>(position_)] = std::move(pending_);
    }
    cancel_update();
    return Status::Ok();
}

}  // namespace telvia
