// Jet statements as the memo and listing code write them, in SQLite's dialect.
#include "JetSql.h"

#include <gtest/gtest.h>

using telvia::jet_like_pattern;
using telvia::translate_jet_sql;

namespace {

TEST(JetSqlTest, StatementShapes) {
    const std::pair<const char*, const char*> cases[] = {
        {"DELETE * FROM 친구;", "DELETE FROM 친구;"},
        {"delete  *  from MemoTableName WHERE tableName = \"친구\";",
         "delete from MemoTableName WHERE tableName = '친구';"},
        {"SELECT * INTO 새이름 FROM 친구;", "CREATE TABLE 새이름 AS SELECT * FROM 친구;"},
        {"SELECT a, (SELECT 1) AS b INTO t2 FROM t1",
         "CREATE TABLE t2 AS SELECT a, (SELECT 1) AS b FROM t1"},
        {"DROP TABLE 친구;", "DROP TABLE 친구;"},
        {"SELECT * FROM MemoTableName;", "SELECT * FROM MemoTableName;"},
        {"SELECT * FROM t WHERE n = 'it''s' AND m = \"say \"\"hi\"\"\"",
         "SELECT * FROM t WHERE n = 'it''s' AND m = 'say \"hi\"'"},
        {"SELECT * FROM [my table] WHERE x = 1", "SELECT * FROM [my table] WHERE x = 1"},
    };
    for (auto [jet, sqlite] : cases) EXPECT_EQ(translate_jet_sql(jet), sqlite) << jet;
}

TEST(JetSqlTest, LikePatterns) {
    EXPECT_EQ(translate_jet_sql("SELECT * FROM t WHERE name Like '김*'"),
              "SELECT * FROM t WHERE name Like '김%' ESCAPE '\\'");
    EXPECT_EQ(translate_jet_sql("x LIKE \"?철*\""), "x LIKE '_철%' ESCAPE '\\'");
    EXPECT_EQ(jet_like_pattern("100%_[*]a?"), "100\\%\\_*a_");
    EXPECT_EQ(jet_like_pattern("a\\b"), "a\\\\b");
}

}  // namespace
