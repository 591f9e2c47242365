// The rows of one query, walked the way the program's Jet code walks them: move first, last,
// next, previous; EOF; record count; percent position; fields by name (case-insensitive).
//
// Rows are read from the engine on demand and kept, so moving back is cheap and the cursor
// never re-runs the query. record_count() and move_last() read to the end, as Jet needs a
// MoveLast before RecordCount is complete.
//
// A recordset opened with Database::open_dynaset is updatable: add_new() or edit(), then
// set_field() for each change and update() to write (or cancel_update() to drop). It reads
// all its rows at open and keeps each row's rowid; added rows go to its end, and the
// current record stays where it was, as in Jet.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DbValue.h"
#include "Statement.h"
#include "Status.h"

struct sqlite3;

namespace telvia {

enum class EditMode { kNone, kEdit, kAdd };

class Recordset {
public:
    Recordset() = default;
    Recordset(Recordset&&) noexcept = default;
    Recordset& operator=(Recordset&&) noexcept = default;
    ~Recordset() = default;

    bool is_open() const noexcept { return open_; }
    void close() noexcept;

    // True when there is no current record: empty result, or moved past the last row.
    bool eof();
    // True when moved before the first row (move_previous on the first).
    bool bof() const noexcept { return position_ < 0; }

    void move_first();
    void move_last();
    void move_next();
    void move_previous();

    // All rows of the query (reads to the end once).
    std::int64_t record_count();
    // Current position as percent of record_count(): first row 0, the i-th (0-based) i*100/n.
    // 0 when there is no current record.
    double percent_position();
    // 0-based index of the current row (-1 before the first).
    std::int64_t absolute_position() const noexcept { return position_; }

    int field_count() const noexcept { return static_cast<int>(names_.size()); }
    const std::string& field_name(int i) const { return names_.at(static_cast<std::size_t>(i)); }
    bool has_field(std::string_view name) const noexcept { return field_index(name) >= 0; }
    // The current row's value; nullptr when the field is unknown or there is no current row.
    const DbValue* field(std::string_view name);
    // Text and integer forms of field(); "" and 0 when the field is NULL, unknown or absent.
    std::string text(std::string_view name);
    std::int64_t integer(std::string_view name);

    // The first engine error met while reading rows (reading stops there); ok otherwise.
    const Status& status() const noexcept { return status_; }

    // Changing rows (dynasets only; kMisuse otherwise). add_new starts a row of NULLs,
    // edit starts from the current row; set_field changes the pending row by field name
    // (kNotFound for an unknown name); update writes it and leaves edit mode, or returns
    // the engine's error and stays in edit mode so the caller can cancel_update().
    bool updatable() const noexcept { return dynaset_; }
    EditMode edit_mode() const noexcept { return mode_; }
    Status add_new();
    Status edit();
    Status set_field(std::string_view name, DbValue value);
    Status update();
    void cancel_update() noexcept;

private:
    friend class Database;
    int field_index(std::string_view name) const noexcept;
    // Reads rows until row `index` is cached or the query ends; true when it is cached.
    bool fetch_to(std::int64_t index);

    Statement stmt_;
    bool open_ = false;
    bool done_ = false;
    std::vector<std::string> names_;
    std::vector<std::vector<DbValue>> rows_;
    std::int64_t position_ = 0;
    Status status_;

    // Dynaset state: the table as written in the query, each row's rowid, the pending row.
    bool dynaset_ = false;
    std::string table_;
    std::weak_ptr<sqlite3> conn_;
    std::vector<std::int64_t> rowids_;
    EditMode mode_ = EditMode::kNone;
    std::vector<DbValue> pending_;
    std::vector<bool> changed_;
};

}  // namespace telvia
