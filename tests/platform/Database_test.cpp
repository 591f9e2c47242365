// The SQLCipher layer against real files in a temporary folder.
#include "Database.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
using telvia::Database;
using telvia::DbValue;
using telvia::OpenAccess;
using telvia::OpenShare;
using telvia::Recordset;
using telvia::Statement;
using Code = telvia::Status::Code;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("telvia_db_test_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A keyed file with table areaCode(code, name) holding three rows.
    fs::path makeSample(const std::string& secret = "lanterns") {
        fs::path file = dir_ / "adDocs.cad";
        Database db;
        EXPECT_TRUE(Database::create(file, secret, db).ok());
        EXPECT_TRUE(db.execute_script("CREATE TABLE areaCode(code INTEGER, name TEXT)").ok());
        for (auto [code, name] : {std::pair{2, "서울"}, {31, "경기"}, {51, "부산"}}) {
            EXPECT_TRUE(db.execute("INSERT INTO areaCode VALUES(?, ?)", {code, name}).ok());
        }
        return file;
    }

    fs::path dir_;
};

TEST_F(DatabaseTest, OpensWithTheRightSecretAndRefusesOthers) {
    const fs::path file = makeSample();
    Database db;
    EXPECT_TRUE(
        Database::open(file, "lanterns", OpenShare::kShared, OpenAccess::kReadOnly, db).ok());
    EXPECT_TRUE(db.is_open());

    Database wrong;
    auto st = Database::open(file, "lantern", OpenShare::kShared, OpenAccess::kReadOnly, wrong);
    EXPECT_EQ(st.code(), Code::kWrongSecret);
    EXPECT_FALSE(st.message().empty());
    EXPECT_FALSE(wrong.is_open());

    // The file really is encrypted: no plain SQLite header, no plain text of the rows.
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes.find("SQLite format 3"), std::string::npos);
    EXPECT_EQ(bytes.find("areaCode"), std::string::npos);
}

TEST_F(DatabaseTest, MissingFileIsNotFoundAndNotCreated) {
    Database db;
    const fs::path file = dir_ / "nothing.cad";
    auto st = Database::open(file, "x", OpenShare::kExclusive, OpenAccess::kReadOnly, db);
    EXPECT_EQ(st.code(), Code::kNotFound);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(DatabaseTest, CreateRefusesAnExistingFile) {
    const fs::path file = makeSample();
    Database db;
    EXPECT_EQ(Database::create(file, "x", db).code(), Code::kExists);
}

TEST_F(DatabaseTest, ExclusiveReadWriteLocksOthersOut) {
    const fs::path file = makeSample();
    Database owner;
    ASSERT_TRUE(
        Database::open(file, "lanterns", OpenShare::kExclusive, OpenAccess::kReadWrite, owner)
            .ok());
    Database other;
    EXPECT_EQ(
        Database::open(file, "lanterns", OpenShare::kShared, OpenAccess::kReadOnly, other).code(),
        Code::kBusy);
    owner.close();
    EXPECT_TRUE(
        Database::open(file, "lanterns", OpenShare::kShared, OpenAccess::kReadOnly, other).ok());
}

TEST_F(DatabaseTest, ExclusiveReadOnlyLetsOthersReadButNotWrite) {
    const fs::path file = makeSample();
    Database owner;
    ASSERT_TRUE(
        Database::open(file, "lanterns", OpenShare::kExclusive, OpenAccess::kReadOnly, owner).ok());
    Database reader;
    ASSERT_TRUE(
        Database::open(file, "lanterns", OpenShare::kShared, OpenAccess::kReadWrite, reader).ok());
    EXPECT_EQ(reader.execute("DELETE FROM areaCode").code(), Code::kBusy);
    EXPECT_EQ(owner.execute("DELETE FROM areaCode").code(), Code::kReadOnly);
}

TEST_F(DatabaseTest, RecordsetWalksLikeAJetCursor) {
    const fs::path file = makeSample();
    Database db;
    ASSERT_TRUE(
        Database::open(file, "lanterns", OpenShare::kShared, OpenAccess::kReadOnly, db).ok());
    Recordset rs;
    ASSERT_TRUE(db.open_recordset("SELECT * FROM areaCode ORDER BY code", rs).ok());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.integer("CODE"), 2);  // field names match case-insensitively
    EXPECT_EQ(rs.text("name"), "서울");
    EXPECT_EQ(rs.percent_position(), 0.0);
    rs.move_next();
    EXPECT_EQ(rs.text("code"), "31");
    EXPECT_DOUBLE_EQ(rs.percent_position(), 100.0 / 3);
    rs.move_last();
    EXPECT_EQ(rs.text("name"), "부산");
    EXPECT_EQ(rs.record_count(), 3);
    rs.move_next();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.field("name"), nullptr);
    EXPECT_EQ(rs.text("name"), "");
    rs.move_first();
    EXPECT_EQ(rs.integer("code"), 2);
    EXPECT_EQ(rs.field("no_such_field"), nullptr);
    rs.move_previous();
    EXPECT_TRUE(rs.bof());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.field("code"), nullptr);

    Recordset empty;
    ASSERT_TRUE(db.open_recordset("SELECT * FROM areaCode WHERE code = ?", empty, {99}).ok());
    EXPECT_TRUE(empty.eof());
    EXPECT_EQ(empty.record_count(), 0);
}

TEST_F(DatabaseTest, UserTextIsBoundNeverPasted) {
    const fs::path file = makeSample();
    Database db;
    ASSERT_TRUE(
        Database::open(file, "lanterns", OpenShare::kShared, OpenAccess::kReadWrite, db).ok());
    const std::string hostile = "x'); DROP TABLE areaCode; --";
    ASSERT_TRUE(db.execute("INSERT INTO areaCode VALUES(?, ?)", {7, hostile}).ok());
    Recordset rs;
    ASSERT_TRUE(db.open_recordset("SELECT name FROM areaCode WHERE code = ?", rs, {7}).ok());
    EXPECT_EQ(rs.text("name"), hostile);
    EXPECT_EQ(db.execute("SELECT ?", {1, 2}).code(), Code::kMisuse);
    EXPECT_EQ(db.execute("SELEKT 1").code(), Code::kSqlError);
    Recordset bad;
    EXPECT_FALSE(db.open_recordset("SELECT * FROM no_table", bad).ok());
    EXPECT_FALSE(bad.is_open());
}

TEST_F(DatabaseTest, PreparedBulkInsertInOneTransactionAndRollback) {
    const fs::path file = makeSample();
    Database db;
    ASSERT_TRUE(
        Database::open(file, "lanterns", OpenShare::kExclusive, OpenAccess::kReadWrite, db).ok());
    Statement ins;
    ASSERT_TRUE(db.prepare("INSERT INTO areaCode VALUES(?, ?)", ins).ok());
    EXPECT_EQ(ins.parameter_count(), 2);
    ASSERT_TRUE(db.begin_transaction().ok());
    for (int i = 0; i < 5000; ++i) {
        ASSERT_TRUE(ins.execute({1000 + i, "동" + std::to_string(i)}).ok());
    }
    ASSERT_TRUE(db.commit().ok());

    ASSERT_TRUE(db.begin_transaction().ok());
    ASSERT_TRUE(db.execute("DELETE FROM areaCode").ok());
    EXPECT_EQ(db.changes(), 5003);
    ASSERT_TRUE(db.rollback().ok());

    Recordset rs;
    ASSERT_TRUE(db.open_recordset("SELECT count(*) AS n, max(name) AS m FROM areaCode "
                                  "WHERE code >= 1000",
                                  rs)
                    .ok());
    EXPECT_EQ(rs.integer("n"), 5000);
    // Closing with the statement and an unfinished recordset around releases the lock at
    // once, and the leftovers fail cleanly instead of touching the closed connection.
    Recordset pending;
    ASSERT_TRUE(db.open_recordset("SELECT code FROM areaCode", pending).ok());
    db.close();
    EXPECT_EQ(ins.execute({1, "x"}).code(), Code::kMisuse);
    EXPECT_EQ(pending.record_count(), 1);
    EXPECT_EQ(pending.status().code(), Code::kMisuse);

    // Everything survived closing and reopening with the key.
    Database again;
    ASSERT_TRUE(
        Database::open(file, "lanterns", OpenShare::kShared, OpenAccess::kReadOnly, again).ok());
    Recordset all;
    ASSERT_TRUE(again.open_recordset("SELECT code FROM areaCode", all).ok());
    EXPECT_EQ(all.record_count(), 5003);
}

TEST(DbValueTest, TextAndIntegerForms) {
    EXPECT_EQ(DbValue().text(), "");
    EXPECT_EQ(DbValue(42).text(), "42");
    EXPECT_EQ(DbValue(" 17abc").integer(), 17);
    EXPECT_EQ(DbValue("abc").integer(), 0);
    EXPECT_EQ(DbValue(2.9).integer(), 2);
    EXPECT_EQ(DbValue(-2.9).integer(), -2);
    EXPECT_EQ(DbValue(1e30).integer(), INT64_MAX) << "clamped, not an undefined conversion";
    EXPECT_EQ(DbValue(-1e30).integer(), INT64_MIN);
    EXPECT_EQ(DbValue(std::nan("")).integer(), 0);
    EXPECT_EQ(DbValue(-3).integer(), -3);
}

}  // namespace
