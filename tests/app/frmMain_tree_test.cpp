// The region tree on a crafted "areaCode": parent rules, keys, pictures, skipped rows, a
// failing query, and the load time of a region with thousands of places.
#include <QDir>
#include <QLineEdit>
#include <QTreeWidget>

#include "Database.h"
#include "MainWindowFixture.h"

namespace {

class RegionTreeTest : public MainWindowFixture {
protected:
    struct Row {
        int area, level;
        const char* name;
        const char* code;
    };
    // A program folder whose adDocs.cad holds `rows` (or no areaCode table at all).
    QString craftedProgram(const std::vector<Row>& rows, bool withTable = true) {
        const QString dir = m_tmp.filePath("program");
        QDir().mkpath(dir + "/Pro/Docs");
        telvia::Database db;
        EXPECT_TRUE(telvia::Database::create((dir + "/Pro/Docs/adDocs.cad").toStdString(),
                                             frmMain::kDocsSecret, db)
                        .ok());
        if (!withTable) {
            EXPECT_TRUE(db.execute_script("CREATE TABLE other (x TEXT)").ok());
            return dir;
        }
        EXPECT_TRUE(db.execute_script("CREATE TABLE areaCode (areaNumber INTEGER, areaLevel "
                                      "INTEGER, areaName TEXT, AreaCode TEXT)")
                        .ok());
        // One transaction: thousands of rows, one write to the disk.
        EXPECT_TRUE(db.execute_script("BEGIN").ok());
        for (const Row& r : rows) {
            EXPECT_TRUE(db.execute("INSERT INTO areaCode VALUES (?1, ?2, ?3, ?4)",
                                   {r.area, r.level, r.name, r.code})
                            .ok());
        }
        EXPECT_TRUE(db.execute_script("COMMIT").ok());
        return dir;
    }
    QString parentKey(const QString& key) {
        QTreeWidgetItem* n = node(key);
        return n && n->parent() ? n->parent()->data(0, Qt::UserRole).toString() : QString();
    }
};

TEST_F(RegionTreeTest, ParentRulesOnACraftedTable) {
    const QString program = craftedProgram({
        {0, 1, "서울특별시", "02:10"},
        {0, 2, "종로구", "1001"},
        {0, 3, "창신동", "1001"},  // 4 characters: a parent
        {0, 4, "창신1동", "10010101"},
        {0, 3, "청운동", "10010"},      // 5 characters: a leaf
        {0, 4, "창신2동", "10010102"},  // hangs under the last short level-3 node
        {0, 7, "이상한 행", "99"},      // another level: skipped
        {0, 1, "과천/광명", "02:7203:7204"},
        {0, 1, "충청북도", "65"},
        {1, 1, "부산광역시", "051:11"},  // another area
    });
    ASSERT_TRUE(start(program));
    EXPECT_TRUE(m_prompt.messages().empty());
    ASSERT_EQ(tree()->topLevelItemCount(), 3);
    EXPECT_EQ(parentKey("@1001"), "!10");
    EXPECT_EQ(parentKey("#1001"), "@1001");
    EXPECT_EQ(parentKey("$10010101"), "#1001");
    EXPECT_EQ(parentKey("#10010"), "@1001");
    EXPECT_EQ(parentKey("$10010102"), "#1001");
    EXPECT_EQ(node("#10010")->childCount(), 0);
    EXPECT_NE(node("!7203:7204"), nullptr);
    EXPECT_NE(node("!65"), nullptr);
    EXPECT_EQ(node("!11"), nullptr);
    // "more" and "one": the short level-3 code and the leaf show different pictures.
    EXPECT_NE(node("#1001")->icon(0).cacheKey(), node("#10010")->icon(0).cacheKey());
    EXPECT_EQ(node("#10010")->icon(0).cacheKey(), node("$10010101")->icon(0).cacheKey());
    int count = 0;
    for (QTreeWidgetItemIterator it(tree()); *it; ++it) ++count;
    EXPECT_EQ(count, 8);
}

TEST_F(RegionTreeTest, AFailingQueryShowsM0001AndLeavesTheTreeEmpty) {
    m_prompt.queueAnswer(PromptAnswer::Ok);
    ASSERT_TRUE(start(craftedProgram({}, false)));
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].title, "오류 (M0001)");
    EXPECT_EQ(m_prompt.messages()[0].text, "보조 데이터 파일을 찾을 수 없습니다");
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::Error);
    EXPECT_TRUE(m_prompt.messages()[0].beep);
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_EQ(window().intLoadedArea(), 0);
    // No region: typing asks the control nothing and lists nothing.
    child<QLineEdit>("txtSearch")->setText("김");
    EXPECT_EQ(window().searchModel()->rowCount(), 0);
    // The window's own requests do not repeat the failure, but the user choosing the region
    // again tries again (the table is still missing: a second message, still no tree).
    window().setUpSearchKind();
    EXPECT_EQ(m_prompt.messages().size(), 1u);
    m_prompt.queueAnswer(PromptAnswer::Ok);
    window().selectRegion(0);  // the same region chosen again: tried again
    ASSERT_EQ(m_prompt.messages().size(), 2u);
    EXPECT_EQ(m_prompt.messages()[1].title, "오류 (M0001)");
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
}

TEST_F(RegionTreeTest, AFiveThousandPlaceRegionIsBuiltWhole) {
    std::vector<Row> rows = {{0, 1, "서울특별시", "02:10"}};
    std::vector<std::string> codes;
    for (int d = 0; d < 50; ++d) {
        codes.push_back(QString("%1").arg(1000 + d).toStdString());
        for (int g = 0; g < 100; ++g) {
            codes.push_back(QString("%1%2").arg(1000 + d).arg(g + 1001).toStdString());
        }
    }
    for (const std::string& c : codes) {
        rows.push_back({0, c.size() == 4 ? 2 : 3, c.size() == 4 ? "구" : "동", c.c_str()});
    }
    ASSERT_TRUE(start(craftedProgram(rows)));
    int count = 0;
    for (QTreeWidgetItemIterator it(tree()); *it; ++it) ++count;
    EXPECT_EQ(count, 1 + 50 + 5000);
}

}  // namespace
