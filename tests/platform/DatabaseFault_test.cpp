// The fault seam, transactions and the fixed cipher settings of the SQLCipher layer.
#include "DatabaseFault.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "Database.h"
#include "TempDir.h"

namespace fs = std::filesystem;
using telvia::Database;
using telvia::DbValue;
using telvia::OpenAccess;
using telvia::OpenShare;
using telvia::Recordset;
using telvia::Transaction;
using Code = telvia::Status::Code;
namespace db_fault = telvia::db_fault;

namespace {

constexpr char kSecret[] = "vrozt4817Kelp";

// Runs `sql` on a raw connection to `file` keyed with kSecret, after `settings` (PRAGMAs);
// the engine's result code of the last statement.
int rawExec(const fs::path& file, const std::string& settings, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    int rc = sqlite3_exec(db, ("PRAGMA key = '" + std::string(kSecret) + "'").c_str(), nullptr,
                          nullptr, nullptr);
    if (rc == SQLITE_OK && !settings.empty()) {
        rc = sqlite3_exec(db, settings.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc;
}

// Process-wide SQLCipher defaults changed for the life of the object, as a later library
// with other defaults would have them.
class OtherLibraryDefaults {
public:
    OtherLibraryDefaults() {
        set("PRAGMA cipher_default_kdf_iter = 4000; PRAGMA cipher_default_page_size = 4096");
    }
    ~OtherLibraryDefaults() {
        set("PRAGMA cipher_default_kdf_iter = 64000; PRAGMA cipher_default_page_size = 1024");
    }

private:
    static void set(const char* sql) {
        sqlite3* db = nullptr;
        sqlite3_open(":memory:", &db);
        sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

class DatabaseFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = dir_.path() / "CDpm.db2";
        ASSERT_TRUE(Database::create(file_, kSecret, db_).ok());
        ASSERT_TRUE(db_.execute_script("CREATE TABLE pad(name TEXT)").ok());
        ASSERT_TRUE(db_.execute("INSERT INTO pad VALUES (?)", {"김영희"}).ok());
        db_fault::reset();
    }
    void TearDown() override { db_fault::reset(); }

    std::int64_t rows() {
        Recordset rs;
        EXPECT_TRUE(db_.open_recordset("SELECT count(*) AS n FROM pad", rs).ok());
        return rs.integer("n");
    }

    telvia::test::TempDir dir_;
    fs::path file_;
    Database db_;
};

TEST_F(DatabaseFaultTest, EveryCallIntoTheEngineIsOneNumberedPoint) {
    // A statement: compile, one step. A recordset: compile, one step per row and the end.
    ASSERT_TRUE(db_.execute("INSERT INTO pad VALUES (?)", {"이철수"}).ok());
    EXPECT_EQ(db_fault::points(), 2);
    Recordset rs;
    ASSERT_TRUE(db_.open_recordset("SELECT * FROM pad", rs).ok());
    EXPECT_EQ(rs.record_count(), 2);
    EXPECT_EQ(db_fault::points(), 2 + 1 + 3);
    ASSERT_TRUE(db_.execute_script("SELECT 1").ok());
    EXPECT_EQ(db_fault::points(), 7);
    db_fault::reset();
    EXPECT_EQ(db_fault::points(), 0);
}

TEST_F(DatabaseFaultTest, TheArmedPointFailsOnceAndWritesNothing) {
    for (int k : {1, 2}) {
        db_fault::fail_at(k);
        const telvia::Status st = db_.execute("INSERT INTO pad VALUES (?)", {"이철수"});
        EXPECT_EQ(st.code(), Code::kIoError) << k;
        EXPECT_NE(st.message().find("injected database fault"), std::string::npos);
        EXPECT_EQ(rows(), 1) << "point " << k << " wrote the row";
    }
    // Fired once: the next run goes through.
    EXPECT_TRUE(db_.execute("INSERT INTO pad VALUES (?)", {"이철수"}).ok());
    EXPECT_EQ(rows(), 2);
}

TEST_F(DatabaseFaultTest, AFailedRowEndsTheRecordsetWithTheError) {
    ASSERT_TRUE(db_.execute("INSERT INTO pad VALUES (?)", {"이철수"}).ok());
    Recordset rs;
    ASSERT_TRUE(db_.open_recordset("SELECT * FROM pad", rs).ok());  // reads the first row
    db_fault::fail_at(1);
    rs.move_next();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.status().code(), Code::kIoError);
    db_fault::fail_at(2);  // compile passes, the first row fails: the open reports it
    EXPECT_EQ(db_.open_recordset("SELECT * FROM pad", rs).code(), Code::kIoError);
}

TEST_F(DatabaseFaultTest, TheObserverSeesEveryPointInOrder) {
    std::vector<std::int64_t> seen;
    db_fault::set_observer([&seen](std::int64_t n) { seen.push_back(n); });
    ASSERT_TRUE(db_.execute("DELETE FROM pad").ok());
    EXPECT_EQ(seen, (std::vector<std::int64_t>{1, 2}));
}

TEST_F(DatabaseFaultTest, ATransactionRollsBackUnlessCommitted) {
    {
        Transaction tx(db_);
        ASSERT_TRUE(tx.begun().ok());
        ASSERT_TRUE(db_.execute("DELETE FROM pad").ok());
    }
    EXPECT_EQ(rows(), 1);
    EXPECT_FALSE(db_.in_transaction());

    // A commit that fails leaves the work undone, and the connection usable.
    {
        Transaction tx(db_);
        ASSERT_TRUE(db_.execute("DELETE FROM pad").ok());
        db_fault::fail_at(1);
        EXPECT_FALSE(tx.commit().ok());
    }
    EXPECT_FALSE(db_.in_transaction());
    EXPECT_EQ(rows(), 1);

    // So does a rollback that fails the first time.
    {
        Transaction tx(db_);
        ASSERT_TRUE(db_.execute("DELETE FROM pad").ok());
        db_fault::fail_at(1);
    }
    EXPECT_FALSE(db_.in_transaction());
    EXPECT_EQ(rows(), 1);

    {
        Transaction tx(db_);
        ASSERT_TRUE(db_.execute("DELETE FROM pad").ok());
        ASSERT_TRUE(tx.commit().ok());
    }
    EXPECT_EQ(rows(), 0);
}

// The files are written with fixed cipher settings: a connection that states them opens a new
// file, one with other page size or key derivation does not, and nothing depends on the
// library's defaults.
TEST(CipherSettings, AFileIsWrittenAndReadWithTheFixedSettingsWhateverTheDefaults) {
    telvia::test::TempDir dir;
    const fs::path before = dir.path() / "before.db";
    {
        Database db;
        ASSERT_TRUE(Database::create(before, kSecret, db).ok());
        ASSERT_TRUE(db.execute_script("CREATE TABLE t(x); INSERT INTO t VALUES (1)").ok());
    }
    const std::string fixed = telvia::cipher_settings_script();
    const std::string read = "SELECT count(*) FROM t";
    EXPECT_EQ(rawExec(before, fixed, read), SQLITE_OK);
    EXPECT_EQ(rawExec(before, "PRAGMA kdf_iter = 4000", read), SQLITE_NOTADB);
    EXPECT_EQ(rawExec(before, "PRAGMA cipher_page_size = 4096", read), SQLITE_NOTADB);

    OtherLibraryDefaults later;
    EXPECT_EQ(rawExec(before, "", read), SQLITE_NOTADB) << "the defaults did not change";
    Database db;
    ASSERT_TRUE(
        Database::open(before, kSecret, OpenShare::kShared, OpenAccess::kReadWrite, db).ok());
    Recordset rs;
    ASSERT_TRUE(db.open_recordset("SELECT x FROM t", rs).ok());
    EXPECT_EQ(rs.integer("x"), 1);
    db.close();

    const fs::path after = dir.path() / "after.db";
    ASSERT_TRUE(Database::create(after, kSecret, db).ok());
    ASSERT_TRUE(db.execute_script("CREATE TABLE t(x)").ok());
    db.close();
    EXPECT_EQ(rawExec(after, fixed, read), SQLITE_OK);

    const fs::path compacted = dir.path() / "tmp.tmp";
    ASSERT_TRUE(Database::compact(before, kSecret, compacted).ok());
    EXPECT_EQ(rawExec(compacted, fixed, read), SQLITE_OK);
}

}  // namespace
