// Changing rows through dynasets, text-field tables and compaction, as the memo pads use them.
#include <filesystem>

#include <gtest/gtest.h>
#include <unistd.h>

#include "Database.h"
#include "JetSql.h"

namespace fs = std::filesystem;
using telvia::Database;
using telvia::DbValue;
using telvia::EditMode;
using telvia::OpenAccess;
using telvia::OpenShare;
using telvia::Recordset;
using Code = telvia::Status::Code;

namespace {

class DatabaseEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("telvia_dbedit_test_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        ASSERT_TRUE(Database::create(dir_ / "CDpm.db2", kSecret, db_).ok());
        const Database::TextField catalogue[] = {{"tableName", 50}};
        ASSERT_TRUE(db_.create_table("MemoTableName", catalogue).ok());
        const Database::TextField pad[] = {{"humName", 255},
                                           {"humPhone", 255},
                                           {"humzip", 255},
                                           {"humAdd", 255},
                                           {"humMemo", 255}};
        ASSERT_TRUE(db_.create_table("친구", pad).ok());
    }
    void TearDown() override {
        db_.close();
        fs::remove_all(dir_);
    }

    static constexpr char kSecret[] = "memo-secret";
    fs::path dir_;
    Database db_;
};

TEST_F(DatabaseEditTest, AddNewThenEditThenRenameAsTheMemoPadsDo) {
    Recordset cat;
    ASSERT_TRUE(db_.open_dynaset("SELECT * FROM MemoTableName;", cat).ok());
    EXPECT_TRUE(cat.eof());
    ASSERT_TRUE(cat.add_new().ok());
    EXPECT_EQ(cat.edit_mode(), EditMode::kAdd);
    ASSERT_TRUE(cat.set_field("TABLENAME", "친구").ok());
    EXPECT_EQ(cat.set_field("nope", "x").code(), Code::kNotFound);
    ASSERT_TRUE(cat.update().ok());
    EXPECT_EQ(cat.edit_mode(), EditMode::kNone);
    EXPECT_EQ(cat.record_count(), 1);

    Recordset pad;
    ASSERT_TRUE(db_.open_dynaset("SELECT * FROM 친구;", pad).ok());
    for (const char* name : {"홍길동", "김철수"}) {
        ASSERT_TRUE(pad.add_new().ok());
        ASSERT_TRUE(pad.set_field("humName", name).ok());
        ASSERT_TRUE(pad.set_field("humPhone", "(02)123-4567").ok());
        ASSERT_TRUE(pad.update().ok());
    }
    // A value longer than its field is refused; the pending row can then be dropped.
    ASSERT_TRUE(pad.add_new().ok());
    ASSERT_TRUE(pad.set_field("humMemo", std::string(256, 'x')).ok());
    EXPECT_FALSE(pad.update().ok());
    EXPECT_EQ(pad.edit_mode(), EditMode::kAdd);
    pad.cancel_update();
    EXPECT_EQ(pad.record_count(), 2);

    // Rename: copy the table, drop the old one, edit the catalogue row.
    ASSERT_TRUE(db_.execute(telvia::translate_jet_sql("SELECT * INTO 동창 FROM 친구;")).ok());
    ASSERT_TRUE(db_.execute("DROP TABLE 친구;").ok());
    Recordset row;
    ASSERT_TRUE(db_.open_dynaset(telvia::translate_jet_sql(
                                     "SELECT * FROM MemoTableName WHERE tableName = \"친구\";"),
                                 row)
                    .ok());
    ASSERT_FALSE(row.eof());
    ASSERT_TRUE(row.edit().ok());
    ASSERT_TRUE(row.set_field("tableName", "동창").ok());
    ASSERT_TRUE(row.update().ok());
    EXPECT_EQ(row.text("tableName"), "동창");

    Recordset check;
    ASSERT_TRUE(db_.open_recordset("SELECT tableName FROM MemoTableName", check).ok());
    EXPECT_EQ(check.record_count(), 1);
    EXPECT_EQ(check.text("tableName"), "동창");
    Recordset moved;
    ASSERT_TRUE(db_.open_recordset("SELECT * FROM 동창", moved).ok());
    EXPECT_EQ(moved.record_count(), 2);
    EXPECT_EQ(moved.text("humName"), "홍길동");
    EXPECT_TRUE(moved.field("humzip")->is_null());  // fields never set stay NULL
}

TEST_F(DatabaseEditTest, OnlySingleTableStarQueriesAreUpdatable) {
    Recordset rs;
    EXPECT_EQ(db_.open_dynaset("SELECT humName FROM 친구", rs).code(), Code::kMisuse);
    ASSERT_TRUE(db_.open_recordset("SELECT * FROM 친구", rs).ok());
    EXPECT_FALSE(rs.updatable());
    EXPECT_EQ(rs.add_new().code(), Code::kMisuse);
    Recordset empty;
    ASSERT_TRUE(db_.open_dynaset("SELECT * FROM 친구", empty).ok());
    EXPECT_EQ(empty.edit().code(), Code::kMisuse);  // no current record
}

TEST_F(DatabaseEditTest, CompactWritesAKeyedCopy) {
    ASSERT_TRUE(db_.execute("INSERT INTO 친구 (humName) VALUES (?)", {"홍길동"}).ok());
    db_.close();
    const fs::path tmp = dir_ / "tmp.tmp";
    const auto compacted = Database::compact(dir_ / "CDpm.db2", kSecret, tmp);
    ASSERT_TRUE(compacted.ok()) << compacted.message();
    EXPECT_EQ(Database::compact(dir_ / "CDpm.db2", kSecret, tmp).code(), Code::kExists);
    EXPECT_EQ(Database::compact(dir_ / "CDpm.db2", "wrong", dir_ / "t2").code(),
              Code::kWrongSecret);
    EXPECT_FALSE(fs::exists(dir_ / "t2"));

    Database copy;
    ASSERT_TRUE(Database::open(tmp, kSecret, OpenShare::kShared, OpenAccess::kReadOnly, copy).ok());
    Recordset rs;
    ASSERT_TRUE(copy.open_recordset("SELECT * FROM 친구", rs).ok());
    EXPECT_EQ(rs.text("humName"), "홍길동");
    Database wrong;
    EXPECT_EQ(Database::open(tmp, "x", OpenShare::kShared, OpenAccess::kReadOnly, wrong).code(),
              Code::kWrongSecret);
}

}  // namespace
