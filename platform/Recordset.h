// The rows of one query, walked the way the program's Jet code walks them: move first, last,
// next, previous; EOF; record count; percent position; fields by name (case-insensitive).
//
// Rows are read from the engine on demand and kept, so moving back is cheap and the cursor
// never re-runs the query. record_count() and move_last() read to the end, as Jet needs a
// MoveLast before RecordCount is complete. Changing rows (add/edit/update/cancel) will come
// as an updatable recordset opened on one table, keeping each row's rowid beside its values;
// the read side below is shared with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DbValue.h"
#include "Statement.h"
#include "Status.h"

namespace telvia {

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
};

}  // namespace telvia
