#include "Recordset.h"

#include <algorithm>

#include <sqlite3.h>

#include "DatabaseFault.h"

namespace telvia {
namespace {

bool iequals(std::string_view a, std::string_view b) noexcept {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

DbValue column_value(sqlite3_stmt* s, int i) {
    switch (sqlite3_column_type(s, i)) {
        case SQLITE_INTEGER:
            return DbValue(static_cast<std::int64_t>(sqlite3_column_int64(s, i)));
        case SQLITE_FLOAT:
            return DbValue(sqlite3_column_double(s, i));
        case SQLITE_NULL:
            return DbValue();
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
            return DbValue(
                std::string(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(s, i))));
        }
    }
}

}  // namespace

void Recordset::close() noexcept {
    *this = Recordset();
}

bool Recordset::fetch_to(std::int64_t index) {
    while (!done_ && static_cast<std::int64_t>(rows_.size()) <= index) {
        sqlite3_stmt* s = stmt_.get();
        if (!s) {
            status_ = {Status::Code::kMisuse, "the recordset's database was closed"};
            done_ = true;
            break;
        }
        if (Status st = db_fault::pass_point("row"); !st.ok()) {
            status_ = std::move(st);
            done_ = true;
            stmt_ = Statement();
            break;
        }
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_ROW) {
            // A dynaset's query carries the rowid in front of the fields.
            const int skip = dynaset_ ? 1 : 0;
            if (dynaset_) rowids_.push_back(sqlite3_column_int64(s, 0));
            std::vector<DbValue> row;
            row.reserve(names_.size());
            for (int i = 0; i < static_cast<int>(names_.size()); ++i) {
                row.push_back(column_value(s, i + skip));
            }
            rows_.push_back(std::move(row));
            continue;
        }
        if (rc != SQLITE_DONE) status_ = statement_error(s, rc);
        done_ = true;
        stmt_ = Statement();  // frees the engine's read lock as soon as the rows are in
    }
    return index >= 0 && index < static_cast<std::int64_t>(rows_.size());
}

bool Recordset::eof() {
    return !open_ || (position_ >= 0 && !fetch_to(position_));
}

void Recordset::move_first() {
    position_ = 0;
}

void Recordset::move_last() {
    fetch_to(INT64_MAX);
    position_ = rows_.empty() ? 0 : static_cast<std::int64_t>(rows_.size()) - 1;
}

void Recordset::move_next() {
    if (!eof()) ++position_;
}

void Recordset::move_previous() {
    if (position_ >= 0) --position_;
}

std::int64_t Recordset::record_count() {
    fetch_to(INT64_MAX);
    return static_cast<std::int64_t>(rows_.size());
}

double Recordset::percent_position() {
    const std::int64_t n = record_count();
    if (n == 0 || position_ < 0 || position_ >= n) return 0.0;
    return static_cast<double>(position_) * 100.0 / static_cast<double>(n);
}

int Recordset::field_index(std::string_view name) const noexcept {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (iequals(names_[i], name)) return static_cast<int>(i);
    }
    return -1;
}

const DbValue* Recordset::field(std::string_view name) {
    const int i = field_index(name);
    if (i < 0 || position_ < 0 || !fetch_to(position_)) return nullptr;
    return &rows_[static_cast<std::size_t>(position_)][static_cast<std::size_t>(i)];
}

std::string Recordset::text(std::string_view name) {
    const DbValue* v = field(name);
    return v ? v->text() : std::string();
}

std::int64_t Recordset::integer(std::string_view name) {
    const DbValue* v = field(name);
    return v ? v->integer() : 0;
}

}  // namespace telvia
