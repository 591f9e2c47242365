// The same directory in SQLite, as a well-indexed relational design would hold it: one table
// of subscribers with indexes on (region, name) and on the dong code, and a dong table. The
// benchmark asks it the three questions it asks the control, so each figure has a yardstick.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <sqlite3.h>

namespace zendari::bench {

class SqliteDirectory {
public:
    // Opens `db_path`, loading it from the listings first when it does not exist yet.
    SqliteDirectory(const std::string& db_path, const std::string& listings_tsv,
                    const std::string& dongs_tsv);
    ~SqliteDirectory();
    SqliteDirectory(const SqliteDirectory&) = delete;
    SqliteDirectory& operator=(const SqliteDirectory&) = delete;

    bool ok() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_; }

    // Up to 30 names >= `typed` in the region, each with its record count.
    std::vector<std::pair<std::string, int>> names_from(int region, std::string_view typed);
    // Every record of one name, formatted as the control's record string.
    std::vector<std::string> records_of(int region, std::string_view name);
    // Every record of one dong in index order (region, name, input order), formatted.
    std::vector<std::string> dong_listing(std::int32_t dong_code);

private:
    void load(const std::string& listings_tsv, const std::string& dongs_tsv);
    sqlite3* db_ = nullptr;
    sqlite3_stmt* names_ = nullptr;
    sqlite3_stmt* records_ = nullptr;
    sqlite3_stmt* dong_ = nullptr;
};

// What the benchmark measures on: the region with the most records, a name of about 200
// records and a dong of about 2,300 in it, and typed texts (prefixes of its names).
struct Workload {
    int region = 0;
    long region_records = 0;
    long region_names = 0;
    std::string name;
    int name_count = 0;
    std::int32_t dong = 0;
    int dong_count = 0;
    std::vector<std::string> typed;
};
Workload pick_workload(SqliteDirectory& db);

// Index region code of a dong code, as the CD builder assigns records to region indexes.
int region_of_dong(std::int32_t dong_code);

}  // namespace zendari::bench
