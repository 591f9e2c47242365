// A thin RAII layer over one SQLCipher database file: the operations the program's Jet code
// used (open shared or exclusive, read-only or read-write, with the database secret; create;
// execute; transactions; prepared statements; recordsets). UTF-8 text throughout, user text
// always bound as a parameter, every failure returned as a Status.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "DbValue.h"
#include "Recordset.h"
#include "Statement.h"
#include "Status.h"

struct sqlite3;

namespace telvia {

enum class OpenShare { kShared, kExclusive };
enum class OpenAccess { kReadOnly, kReadWrite };

// The SQLCipher parameters every file of the program is written and read with. They are set
// explicitly at create and at open, never left to the library's defaults, so a later SQLCipher
// whose defaults differ still opens the files written today. These are the values SQLCipher
// 3 used by default; changing one makes every existing file unreadable.
struct CipherSettings {
    int page_size;
    int kdf_iterations;
    const char* hmac_algorithm;
    const char* kdf_algorithm;
};
inline constexpr CipherSettings kCipherSettings{1024, 64000, "HMAC_SHA1", "PBKDF2_HMAC_SHA1"};
// The PRAGMAs that apply kCipherSettings to the schema `schema` ("main" or an attached
// name); they must run after the key and before the first page is read.
std::string cipher_settings_script(std::string_view schema = "main");

class Database {
public:
    Database() = default;
    Database(Database&&) noexcept = default;
    Database& operator=(Database&&) noexcept = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    // Closes the connection and releases its locks; statements and recordsets still around
    // are finalized first and report kMisuse from then on.
    ~Database() = default;

    // Opens an existing file with `secret` as its key and proves the key by reading the
    // schema. A missing file gives kNotFound, a wrong secret kWrongSecret; on failure `out`
    // is left closed. Exclusive read-write takes the exclusive lock now and keeps it, so no
    // other connection can read or write; exclusive read-only keeps a shared lock for the
    // connection's life, so others may read but nobody can write.
    static Status open(const std::filesystem::path& file, std::string_view secret, OpenShare share,
                       OpenAccess access, Database& out);
    // Creates a new encrypted file (kExists when something is already there) and leaves it
    // open shared read-write.
    static Status create(const std::filesystem::path& file, std::string_view secret, Database& out);

    bool is_open() const noexcept { return db_ != nullptr; }
    bool read_only() const noexcept { return read_only_; }
    const std::filesystem::path& path() const noexcept { return path_; }
    void close() noexcept { db_.reset(); }

    // One statement with `params` bound to ?1..?n in order; any rows it yields are dropped.
    Status execute(std::string_view sql, std::span<const DbValue> params);
    Status execute(std::string_view sql, std::initializer_list<DbValue> params = {}) {
        return execute(sql, std::span<const DbValue>(params.begin(), params.size()));
    }
    // Several ;-separated statements without parameters (schema scripts).
    Status execute_script(std::string_view sql);

    Status begin_transaction() { return execute_script("BEGIN"); }
    Status commit() { return execute_script("COMMIT"); }
    Status rollback() { return execute_script("ROLLBACK"); }
    // True while a transaction is open on this connection.
    bool in_transaction() const noexcept;

    // A statement compiled once and run many times (bulk inserts). It must not outlive *this.
    Status prepare(std::string_view sql, Statement& out);
    // A recordset over a query. It must not outlive *this.
    Status open_recordset(std::string_view sql, std::span<const DbValue> params, Recordset& out);
    Status open_recordset(std::string_view sql, Recordset& out,
                          std::initializer_list<DbValue> params = {}) {
        return open_recordset(sql, std::span<const DbValue>(params.begin(), params.size()), out);
    }

    // An updatable recordset (see Recordset.h) over "SELECT * FROM <table> [WHERE ...]
    // [ORDER BY ...]"; any other shape of query is kMisuse. All rows are read at open.
    Status open_dynaset(std::string_view sql, std::span<const DbValue> params, Recordset& out);
    Status open_dynaset(std::string_view sql, Recordset& out,
                        std::initializer_list<DbValue> params = {}) {
        return open_dynaset(sql, std::span<const DbValue>(params.begin(), params.size()), out);
    }

    // A table of text fields; each field refuses a value longer than its size in
    // characters, as a Jet text field of that size does.
    struct TextField {
        std::string name;
        int size;
    };
    Status create_table(std::string_view name, std::span<const TextField> fields);

    // Writes a compacted copy of the database `source` (opened with `secret`) to `target`,
    // keyed with the same secret. `target` must not exist yet (kExists).
    static Status compact(const std::filesystem::path& source, std::string_view secret,
                          const std::filesystem::path& target);

    // Rows touched by the last INSERT/UPDATE/DELETE, and the last inserted row id.
    std::int64_t changes() const noexcept;
    std::int64_t last_insert_rowid() const noexcept;

private:
    Status open_query(std::string_view sql, std::span<const DbValue> params, Recordset& out);
    static void close_connection(sqlite3* db) noexcept;
    std::shared_ptr<sqlite3> db_;  // statements hold it weakly
    std::filesystem::path path_;
    bool read_only_ = false;
};

// A write transaction that rolls back unless it is committed: the work between its creation
// and commit() is stored whole or not at all, also when the process dies in between. It takes
// the write lock at once (BEGIN IMMEDIATE), so a busy file refuses before anything is done.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Whether BEGIN succeeded; nothing else may be done when it did not.
    const Status& begun() const noexcept { return begun_; }
    // Makes the work permanent. On failure the transaction stays open and the destructor
    // rolls it back.
    Status commit();

private:
    Database& db_;
    Status begun_;
    bool open_ = false;
};

}  // namespace telvia
