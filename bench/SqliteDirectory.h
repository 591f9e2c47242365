// The same directory in SQLite, as a well-indexed relational design would hold it: one table
// of subscribers with indexes on (region, name) and on the dong code, and a dong table. The
// benchmark asks it the questions it asks the control, so each figure has a yardstick. Names by
// their initials come from a table of names with a consonant-string column, indexed on
// (region, consonants, records, name).
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
    // The records of one dong whose name begins with `surname` (one character), as above.
    std::vector<std::string> surname_listing(std::int32_t dong_code, std::string_view surname);
    // Up to 30 names of the region whose initial consonants match `typed` (CP949: ㄱㅇㅅ, or
    // 김ㅇㅅ with the syllable exact), in the consonant index's order (consonant string, more
    // records first, name), each as its CP949 bytes with its record count.
    std::vector<std::pair<std::string, int>> names_by_initials(int region, std::string_view typed);

private:
    void load(const std::string& listings_tsv, const std::string& dongs_tsv);
    // The table of names with their consonant strings (added to a database of an older bench).
    void load_names();
    sqlite3* db_ = nullptr;
    sqlite3_stmt* names_ = nullptr;
    sqlite3_stmt* records_ = nullptr;
    sqlite3_stmt* dong_ = nullptr;
    sqlite3_stmt* surname_ = nullptr;
    sqlite3_stmt* initials_ = nullptr;        // consonants only
    sqlite3_stmt* initials_exact_ = nullptr;  // with syllables to match exactly
};

// What the benchmark measures on, drawn from the whole directory (UTF-8 texts):
struct Workload {
    int largest_region = 0;  // the region with the most records
    long region_records = 0;
    long region_names = 0;
    struct Typed {  // one keystroke: the region and the text typed so far
        int region;
        std::string text;
    };
    std::vector<Typed> typed;  // every prefix of random listings of every region
    struct Name {
        int region;
        std::string name;
        int count;
    };
    std::vector<Name> names;    // names of 150 to 250 records in several regions
    std::vector<Typed> listed;  // the listings the keystrokes type, whole
    struct Dong {
        int region;
        std::int32_t code;
        int count;
    };
    std::vector<Dong> dongs;  // dongs of rising size, the largest last
    Dong surname_dong{};      // a dong of about 2,200 records for the surname scans
};
Workload pick_workload(SqliteDirectory& db);

// Index region code of a dong code, as the CD builder assigns records to region indexes.
int region_of_dong(std::int32_t dong_code);

}  // namespace zendari::bench
