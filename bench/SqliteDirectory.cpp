#include "SqliteDirectory.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "data/Cp949.h"
#include "data/regions.h"
#include "index/Chosung.h"

namespace zendari::bench {
namespace {

std::vector<std::string_view> split_tabs(std::string_view line) {
    std::vector<std::string_view> f;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = line.find('\t', from);
        f.push_back(line.substr(from, at == std::string_view::npos ? at : at - from));
        if (at == std::string_view::npos) return f;
        from = at + 1;
    }
}

void exec(sqlite3* db, const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::cerr << "sqlite: " << (err ? err : "?") << " in " << sql << "\n";
        sqlite3_free(err);
    }
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK)
        std::cerr << "sqlite: " << sqlite3_errmsg(db) << "\n";
    return s;
}

std::string_view column_text(sqlite3_stmt* s, int i) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(s, i)))
             : std::string_view();
}

// The record string of the control, built from the row's columns 0..9
// (dong, dong name, lot main, lot sub, area, exchange, line, suffix, postal, detail).
std::string format_row(sqlite3_stmt* s) {
    std::string r;
    r.reserve(128);
    r += std::to_string(sqlite3_column_int(s, 0));
    r += ':';
    r += column_text(s, 1);
    r += ':';
    const int main = sqlite3_column_int(s, 2), sub = sqlite3_column_int(s, 3);
    if (main && sub)
        r += std::to_string(main) + "-" + std::to_string(sub);
    else if (main)
        r += std::to_string(main);
    else if (sub)
        r += std::to_string(sub);
    r += ':';
    r += column_text(s, 4);
    r += ':';
    r += std::to_string(sqlite3_column_int(s, 5));
    r += '-';
    r += std::to_string(sqlite3_column_int(s, 6));
    if (const int suffix = sqlite3_column_int(s, 7)) r += "/" + std::to_string(suffix);
    r += ':';
    r += std::to_string(sqlite3_column_int(s, 8));
    r += ':';
    r += column_text(s, 9);
    r += '\n';
    return r;
}

// The leading `chars` UTF-8 characters of `s`.
std::string utf8_prefix(const std::string& s, int chars) {
    std::size_t i = 0;
    for (int c = 0; c < chars && i < s.size(); ++c) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    }
    return s.substr(0, i);
}

// initials_match(name_key, typed): whether the CP949 name matches what was typed by initials,
// the parsed query kept with the statement while `typed` stays the same.
void initials_match(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* query = static_cast<chosung::ChosungQuery*>(sqlite3_get_auxdata(ctx, 1));
    if (query == nullptr) {
        const auto* typed = static_cast<const char*>(sqlite3_value_blob(argv[1]));
        query = new chosung::ChosungQuery(std::string_view(
            typed ? typed : "", static_cast<std::size_t>(sqlite3_value_bytes(argv[1]))));
        sqlite3_set_auxdata(ctx, 1, query,
                            [](void* p) { delete static_cast<chosung::ChosungQuery*>(p); });
    }
    const auto* name = static_cast<const char*>(sqlite3_value_blob(argv[0]));
    const std::string_view n(name ? name : "",
                             static_cast<std::size_t>(sqlite3_value_bytes(argv[0])));
    sqlite3_result_int(ctx, chosung::has_consonant_prefix(n, query->prefix()) && query->matches(n));
}

constexpr const char* kRowColumns =
    "s.dong, d.name, s.lot_main, s.lot_sub, s.area, s.exchange, s.line, s.suffix, s.postal, "
    "s.detail";

}  // namespace

int region_of_dong(std::int32_t code) {
    // The region codes SetLocal takes, in the order of the region indexes.
    static constexpr int kCodes[16] = {10, 11, 12, 13, 14, 15, 16, 70,
                                       72, 74, 76, 78, 80, 82, 84, 86};
    const int region = region_of_dong_code(code);
    return region < 0 ? 0 : kCodes[region];
}

SqliteDirectory::SqliteDirectory(const std::string& db_path, const std::string& listings_tsv,
                                 const std::string& dongs_tsv) {
    const bool fresh = !std::ifstream(db_path).good();
    if (sqlite3_open(db_path.c_str(), &db_) != SQLITE_OK) {
        std::cerr << "sqlite: cannot open " << db_path << "\n";
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    if (fresh) load(listings_tsv, dongs_tsv);
    bool have_names = false;
    {
        sqlite3_stmt* q =
            prepare(db_, "SELECT 1 FROM sqlite_master WHERE type='table' AND name='names'");
        have_names = q && sqlite3_step(q) == SQLITE_ROW;
        sqlite3_finalize(q);
    }
    if (!have_names) load_names();
    exec(db_, "PRAGMA cache_size=-262144");
    sqlite3_create_function(db_, "initials_match", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            initials_match, nullptr, nullptr);
    initials_ = prepare(db_,
                        "SELECT name_key, n FROM names WHERE region=?1 AND cons>=?2 AND cons<?3 "
                        "ORDER BY cons, n DESC, name_key LIMIT 30");
    initials_exact_ =
        prepare(db_,
                "SELECT name_key, n FROM names WHERE region=?1 AND cons>=?2 AND cons<?3 "
                "AND initials_match(name_key, ?4) ORDER BY cons, n DESC, name_key LIMIT 30");
    names_ = prepare(db_,
                     "SELECT name, COUNT(*) FROM subscribers WHERE region=?1 AND name>=?2 "
                     "GROUP BY name ORDER BY name LIMIT 30");
    records_ = prepare(db_, (std::string("SELECT ") + kRowColumns +
                             " FROM subscribers s JOIN dongs d ON d.code=s.dong "
                             "WHERE s.region=?1 AND s.name=?2 ORDER BY s.id")
                                .c_str());
    dong_ = prepare(db_, (std::string("SELECT ") + kRowColumns +
                          ", s.name FROM subscribers s INDEXED BY subscribers_dong "
                          "JOIN dongs d ON d.code=s.dong WHERE s.dong=?1 ORDER BY s.id")
                             .c_str());
    surname_ = prepare(db_, (std::string("SELECT ") + kRowColumns +
                             ", s.name FROM subscribers s INDEXED BY subscribers_dong "
                             "JOIN dongs d ON d.code=s.dong "
                             "WHERE s.dong=?1 AND substr(s.name, 1, 1)=?2 ORDER BY s.id")
                                .c_str());
}

SqliteDirectory::~SqliteDirectory() {
    sqlite3_finalize(names_);
    sqlite3_finalize(records_);
    sqlite3_finalize(dong_);
    sqlite3_finalize(surname_);
    sqlite3_finalize(initials_);
    sqlite3_finalize(initials_exact_);
    if (db_) sqlite3_close(db_);
}

void SqliteDirectory::load(const std::string& listings_tsv, const std::string& dongs_tsv) {
    std::cerr << "loading the listings into SQLite (once; cached beside the sample)...\n";
    exec(db_, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
    exec(db_, "CREATE TABLE dongs(code INTEGER PRIMARY KEY, name TEXT)");
    // id follows the CD's record order (region, name, input order), so ORDER BY id is the
    // index order the control walks in.
    exec(db_,
         "CREATE TABLE subscribers(id INTEGER PRIMARY KEY, region INTEGER, name TEXT, "
         "dong INTEGER, area TEXT, exchange INTEGER, line INTEGER, suffix INTEGER, "
         "lot_main INTEGER, lot_sub INTEGER, postal INTEGER, detail TEXT)");
    exec(db_,
         "CREATE TEMP TABLE raw(seq INTEGER PRIMARY KEY, region INTEGER, name TEXT, dong "
         "INTEGER, area TEXT, exchange INTEGER, line INTEGER, suffix INTEGER, lot_main "
         "INTEGER, lot_sub INTEGER, postal INTEGER, detail TEXT)");
    exec(db_, "BEGIN");
    {
        std::ifstream in(dongs_tsv);
        std::string line;
        std::getline(in, line);
        sqlite3_stmt* ins = prepare(db_, "INSERT INTO dongs VALUES(?1, ?2)");
        while (std::getline(in, line)) {
            const auto f = split_tabs(line);
            if (f.size() < 3) continue;
            const std::string postal(f[1]);
            const std::string name =
                "(" + postal.substr(0, 3) + "-" + postal.substr(3) + ") " + std::string(f[2]);
            sqlite3_bind_int(ins, 1, std::stoi(std::string(f[0])));
            sqlite3_bind_text(ins, 2, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
            sqlite3_step(ins);
            sqlite3_reset(ins);
        }
        sqlite3_finalize(ins);
    }
    {
        std::ifstream in(listings_tsv);
        std::string line;
        std::getline(in, line);
        sqlite3_stmt* ins =
            prepare(db_, "INSERT INTO raw VALUES(NULL,?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11)");
        long n = 0;
        while (std::getline(in, line)) {
            const auto f = split_tabs(line);
            if (f.size() < 10) continue;
            const int dong = std::stoi(std::string(f[1]));
            sqlite3_bind_int(ins, 1, region_of_dong(dong));
            sqlite3_bind_text(ins, 2, f[0].data(), static_cast<int>(f[0].size()), SQLITE_STATIC);
            sqlite3_bind_int(ins, 3, dong);
            sqlite3_bind_text(ins, 4, f[2].data(), static_cast<int>(f[2].size()), SQLITE_STATIC);
            for (int i = 3; i <= 8; ++i) sqlite3_bind_int(ins, i + 2, std::stoi(std::string(f[i])));
            sqlite3_bind_text(ins, 11, f[9].data(), static_cast<int>(f[9].size()), SQLITE_STATIC);
            sqlite3_step(ins);
            sqlite3_reset(ins);
            if (++n % 1000000 == 0) std::cerr << "  " << n << " rows\n";
        }
        sqlite3_finalize(ins);
    }
    // The CD's region order, then the name's bytes, then input order.
    exec(db_,
         "INSERT INTO subscribers SELECT NULL, region, name, dong, area, exchange, line, suffix, "
         "lot_main, lot_sub, postal, detail FROM raw ORDER BY CASE region "
         "WHEN 10 THEN 0 WHEN 11 THEN 1 WHEN 12 THEN 2 WHEN 13 THEN 3 WHEN 14 THEN 4 "
         "WHEN 15 THEN 5 WHEN 16 THEN 6 WHEN 70 THEN 7 WHEN 72 THEN 8 WHEN 74 THEN 9 "
         "WHEN 76 THEN 10 WHEN 78 THEN 11 WHEN 80 THEN 12 WHEN 82 THEN 13 WHEN 84 THEN 14 "
         "ELSE 15 END, CAST(name AS BLOB), seq");
    exec(db_, "DROP TABLE raw");
    exec(db_, "COMMIT");
    exec(db_, "CREATE INDEX subscribers_region_name ON subscribers(region, name)");
    exec(db_, "CREATE INDEX subscribers_dong ON subscribers(dong)");
    exec(db_, "ANALYZE");
}

void SqliteDirectory::load_names() {
    std::cerr << "adding the names with their consonant strings to SQLite (once)...\n";
    exec(db_, "BEGIN");
    exec(db_, "CREATE TABLE names(region INTEGER, cons BLOB, n INTEGER, name_key BLOB, name TEXT)");
    sqlite3_stmt* all =
        prepare(db_, "SELECT region, name, COUNT(*) FROM subscribers GROUP BY region, name");
    sqlite3_stmt* ins = prepare(db_, "INSERT INTO names VALUES(?1, ?2, ?3, ?4, ?5)");
    TextConverter to_cp949(TextConverter::Direction::kUtf8ToCp949);
    std::string key, cons;
    while (sqlite3_step(all) == SQLITE_ROW) {
        const std::string_view name = column_text(all, 1);
        key.clear();
        if (!to_cp949.convert(name, key)) continue;
        cons = chosung::consonants(key);
        sqlite3_bind_int(ins, 1, sqlite3_column_int(all, 0));
        sqlite3_bind_blob(ins, 2, cons.data(), static_cast<int>(cons.size()), SQLITE_STATIC);
        sqlite3_bind_int(ins, 3, sqlite3_column_int(all, 2));
        sqlite3_bind_blob(ins, 4, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        sqlite3_bind_text(ins, 5, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
        sqlite3_step(ins);
        sqlite3_reset(ins);
    }
    sqlite3_finalize(all);
    sqlite3_finalize(ins);
    exec(db_, "CREATE INDEX names_initials ON names(region, cons, n DESC, name_key)");
    exec(db_, "COMMIT");
    exec(db_, "ANALYZE names");
}

std::vector<std::pair<std::string, int>> SqliteDirectory::names_by_initials(
    int region, std::string_view typed) {
    const chosung::ChosungQuery query(typed);
    const std::string& low = query.prefix();
    // Every consonant string that begins with `low` sorts below `high`.
    std::string high = low;
    while (!high.empty() && static_cast<unsigned char>(high.back()) == 0xFF) high.pop_back();
    if (high.empty()) {
        high = "\xFF";
    } else {
        high.back() = static_cast<char>(static_cast<unsigned char>(high.back()) + 1);
    }
    sqlite3_stmt* s = low == typed ? initials_ : initials_exact_;
    sqlite3_bind_int(s, 1, region);
    sqlite3_bind_blob(s, 2, low.data(), static_cast<int>(low.size()), SQLITE_STATIC);
    sqlite3_bind_blob(s, 3, high.data(), static_cast<int>(high.size()), SQLITE_STATIC);
    if (s == initials_exact_)
        sqlite3_bind_blob(s, 4, typed.data(), static_cast<int>(typed.size()), SQLITE_STATIC);
    std::vector<std::pair<std::string, int>> out;
    while (sqlite3_step(s) == SQLITE_ROW) {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(s, 0));
        out.emplace_back(std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s, 0))),
                         sqlite3_column_int(s, 1));
    }
    sqlite3_reset(s);
    return out;
}

std::vector<std::pair<std::string, int>> SqliteDirectory::names_from(int region,
                                                                     std::string_view typed) {
    std::vector<std::pair<std::string, int>> out;
    sqlite3_bind_int(names_, 1, region);
    sqlite3_bind_text(names_, 2, typed.data(), static_cast<int>(typed.size()), SQLITE_STATIC);
    while (sqlite3_step(names_) == SQLITE_ROW)
        out.emplace_back(std::string(column_text(names_, 0)), sqlite3_column_int(names_, 1));
    sqlite3_reset(names_);
    return out;
}

std::vector<std::string> SqliteDirectory::records_of(int region, std::string_view name) {
    std::vector<std::string> out;
    sqlite3_bind_int(records_, 1, region);
    sqlite3_bind_text(records_, 2, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    while (sqlite3_step(records_) == SQLITE_ROW) out.push_back(format_row(records_));
    sqlite3_reset(records_);
    return out;
}

namespace {
// The scan's items "name:dong name:record|" of a statement whose column 10 is the name.
std::vector<std::string> scan_items(sqlite3_stmt* s) {
    std::vector<std::string> out;
    while (sqlite3_step(s) == SQLITE_ROW) {
        std::string item(column_text(s, 10));
        item += ':';
        std::string rec = format_row(s);
        item += rec.substr(rec.find(':') + 1);  // name form: the dong code gives way to the name
        item += '|';
        out.push_back(std::move(item));
    }
    sqlite3_reset(s);
    return out;
}
}  // namespace

std::vector<std::string> SqliteDirectory::dong_listing(std::int32_t dong_code) {
    sqlite3_bind_int(dong_, 1, dong_code);
    return scan_items(dong_);
}

std::vector<std::string> SqliteDirectory::surname_listing(std::int32_t dong_code,
                                                          std::string_view surname) {
    sqlite3_bind_int(surname_, 1, dong_code);
    sqlite3_bind_text(surname_, 2, surname.data(), static_cast<int>(surname.size()), SQLITE_STATIC);
    return scan_items(surname_);
}

Workload pick_workload(SqliteDirectory& db) {
    Workload w;
    sqlite3* h = db.handle();
    auto each = [&](const std::string& sql, auto&& row) {
        sqlite3_stmt* s = prepare(h, sql.c_str());
        while (s && sqlite3_step(s) == SQLITE_ROW) row(s);
        sqlite3_finalize(s);
    };
    each("SELECT region, COUNT(*) FROM subscribers GROUP BY region ORDER BY 2 DESC LIMIT 1",
         [&](sqlite3_stmt* s) {
             w.largest_region = sqlite3_column_int(s, 0);
             w.region_records = sqlite3_column_int64(s, 1);
         });
    each("SELECT COUNT(DISTINCT name) FROM subscribers WHERE region=" +
             std::to_string(w.largest_region),
         [&](sqlite3_stmt* s) { w.region_names = sqlite3_column_int64(s, 0); });
    // Every keystroke of typing 25 listings of each region, spread over its records.
    each(
        "SELECT region, name FROM (SELECT region, name, ROW_NUMBER() OVER (PARTITION BY region "
        "ORDER BY (id * 2654435761) % 4294967291) AS k FROM subscribers) WHERE k <= 25",
        [&](sqlite3_stmt* s) {
            const int region = sqlite3_column_int(s, 0);
            const std::string name(column_text(s, 1));
            w.listed.push_back({region, name});
            for (int k = 1;; ++k) {
                std::string p = utf8_prefix(name, k);
                w.typed.push_back({region, p});
                if (p.size() == name.size()) break;
            }
        });
    // Names of 150 to 250 records: the one nearest 200 in each of eight regions.
    each(
        "SELECT region, name, n FROM (SELECT region, name, n, ROW_NUMBER() OVER (PARTITION BY "
        "region ORDER BY ABS(n - 200)) AS k FROM (SELECT region, name, COUNT(*) AS n FROM "
        "subscribers GROUP BY region, name)) WHERE k = 1 AND n BETWEEN 150 AND 250 "
        "ORDER BY region LIMIT 8",
        [&](sqlite3_stmt* s) {
            w.names.push_back({sqlite3_column_int(s, 0), std::string(column_text(s, 1)),
                               sqlite3_column_int(s, 2)});
        });
    // Dongs at the 5th, 25th, 50th, 75th and 95th percentile of size, and the largest.
    std::vector<Workload::Dong> all;
    each("SELECT dong, COUNT(*) AS n FROM subscribers GROUP BY dong ORDER BY n, dong",
         [&](sqlite3_stmt* s) {
             const std::int32_t code = sqlite3_column_int(s, 0);
             all.push_back({region_of_dong(code), code, sqlite3_column_int(s, 1)});
         });
    if (!all.empty()) {
        for (const int pct : {5, 25, 50, 75, 95}) w.dongs.push_back(all[all.size() * pct / 100]);
        w.dongs.push_back(all.back());
        w.surname_dong = *std::min_element(all.begin(), all.end(), [](auto& a, auto& b) {
            return std::abs(a.count - 2200) < std::abs(b.count - 2200);
        });
    }
    return w;
}

}  // namespace zendari::bench
