// The memo store on real SQLCipher files: creation, saves and their failure codes, names that
// are SQL words, the fault seam over every step of a save, a load, a rename and a compaction.
#include "MemoStore.h"

#include <QFile>

#include <sys/stat.h>

#include "DatabaseFault.h"
#include "MemoFixture.h"
#include "MemoNames.h"

namespace db_fault = telvia::db_fault;

namespace {

class MemoStoreTest : public MemoFixture {
protected:
    void SetUp() override {
        MemoFixture::SetUp();
        db_fault::reset();
    }
    void TearDown() override {
        db_fault::reset();
        MemoFixture::TearDown();
    }

    // A store of the mode, opened (and so created) in the data folder.
    std::unique_ptr<MemoStore> openStore(MemoMode mode = MemoMode::People) {
        auto store = std::make_unique<MemoStore>(mode);
        EXPECT_EQ(store->open(), MemoStore::OpenResult::Opened);
        return store;
    }
    QByteArray fileBytes(MemoMode mode = MemoMode::People) const {
        QFile f(datPath() + memo::databaseFileName(mode));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    ino_t inode(MemoMode mode = MemoMode::People) const {
        struct stat st {};
        ::stat((datPath() + memo::databaseFileName(mode)).toLocal8Bit().constData(), &st);
        return st.st_ino;
    }
};

TEST_F(MemoStoreTest, TheFirstOpenCreatesTheModesFileWithAnEmptyCatalogue) {
    for (MemoMode mode : {MemoMode::People, MemoMode::Business}) {
        auto store = openStore(mode);
        EXPECT_TRUE(QFile::exists(datPath() + memo::databaseFileName(mode)));
        EXPECT_EQ(store->padNames(), QStringList());
        EXPECT_EQ(setting("Memo", memo::compactCounterKey(mode)), "1");
    }
    // The names are exact: the file system tells "CDpc.db" from "cdpc.db".
    EXPECT_TRUE(QFile::exists(datPath() + "CDpm.db2"));
    EXPECT_TRUE(QFile::exists(datPath() + "CDpc.db"));
    EXPECT_FALSE(QFile::exists(datPath() + "CDpm.db2.new"));
}

TEST_F(MemoStoreTest, SavesNewOverwritesAndEmptiesKeepingOrderAndEmptyCells) {
    for (MemoMode mode : {MemoMode::People, MemoMode::Business}) {
        auto store = openStore(mode);
        const auto first = makeEntries(mode, 7, "가");
        EXPECT_EQ(store->savePad("친구", first, false).code, 0);
        EXPECT_EQ(store->loadPad("친구"), first);

        // The overwrite stores the list as it is now, in its order.
        auto second = makeEntries(mode, 4, "나");
        std::swap(second[0], second[3]);
        EXPECT_EQ(store->savePad("친구", second, true).code, 0);
        EXPECT_EQ(store->loadPad("친구"), second);

        // An empty list saves nothing; emptying keeps the pad and its place.
        EXPECT_EQ(store->savePad("친구", {}, true).code, 0);
        EXPECT_EQ(store->loadPad("친구"), second);
        EXPECT_EQ(store->savePad("동료", first, false).code, 0);
        EXPECT_TRUE(store->emptyPad("친구"));
        EXPECT_EQ(store->loadPad("친구"), std::vector<MemoEntry>());
        EXPECT_EQ(store->padNames(), QStringList({"친구", "동료"}));
    }
}

TEST_F(MemoStoreTest, EachFailingStepHasItsCodeAndMessageAndLeavesThePad) {
    auto people = openStore(MemoMode::People);
    auto business = openStore(MemoMode::Business);
    const auto kept = makeEntries(MemoMode::People, 3, "가");
    ASSERT_EQ(people->savePad("친구", kept, false).code, 0);

    // Overwriting a pad that is not there fails at the delete; people E0005, business E0001.
    auto r = people->savePad("없는것", kept, true);
    EXPECT_EQ(r.code, -2);
    EXPECT_EQ(r.message.title, "오류 (E0005)");
    EXPECT_EQ(r.message.text, "중복된 메모장을 지울 수 없습니다.");
    r = business->savePad("없는것", makeEntries(MemoMode::Business, 1, "x"), true);
    EXPECT_EQ(r.code, -2);
    EXPECT_EQ(r.message.title, "오류 (E0001)");

    // Creating a pad whose table exists fails with E0002 and adds no catalogue row.
    r = people->savePad("친구", makeEntries(MemoMode::People, 2, "나"), false);
    EXPECT_EQ(r.code, -1);
    EXPECT_EQ(r.message.title, "오류 (E0002)");
    EXPECT_TRUE(r.message.text.startsWith("메모장을 만들 수 없습니다.\r\n이유는"));
    EXPECT_EQ(people->padNames(), QStringList({"친구"}));

    // A cell longer than a field holds fails the insert; nothing of the new list stays.
    auto tooLong = makeEntries(MemoMode::People, 5, "다");
    tooLong[3][3] = QString(256, QChar(u'가'));
    r = people->savePad("친구", tooLong, true);
    EXPECT_EQ(r.code, -3);
    EXPECT_EQ(r.message.title, "오류 (E0004)");
    EXPECT_EQ(r.message.text, "메모장에 내용을 삽입할 수 없습니다.");
    EXPECT_EQ(people->loadPad("친구"), kept);
    r = people->savePad("새것", tooLong, false);
    EXPECT_EQ(r.code, -3);
    EXPECT_EQ(people->padNames(), QStringList({"친구"}));
    EXPECT_EQ(people->loadPad("새것"), std::nullopt);
}

// Every call into the engine that a save makes is failed in turn: each time the save
// refuses with the code and message of its step, and the stored pads stay as they were.
TEST_F(MemoStoreTest, ASaveFailingAtAnyPointLeavesTheStoredPadsUnchanged) {
    auto store = openStore();
    const auto kept = makeEntries(MemoMode::People, 3, "가");
    const auto next = makeEntries(MemoMode::People, 5, "나");
    ASSERT_EQ(store->savePad("친구", kept, false).code, 0);
    const QMap<int, QString> titles = {
        {-1, "오류 (E0002)"}, {-2, "오류 (E0005)"}, {-3, "오류 (E0004)"}, {-4, "오류 (E0004)"}};

    for (bool overwrite : {true, false}) {
        const QString name = overwrite ? "친구" : "동료";
        db_fault::reset();
        ASSERT_EQ(store->savePad(name, next, overwrite).code, 0);
        const std::int64_t points = db_fault::points();
        ASSERT_GT(points, 8);
        // Back to the state before the save.
        if (overwrite) {
            ASSERT_EQ(store->savePad(name, kept, true).code, 0);
        } else {
            ASSERT_TRUE(store->deletePad(name));
        }
        QList<int> codes;
        for (std::int64_t k = 1; k <= points; ++k) {
            db_fault::reset();
            db_fault::fail_at(k);
            const auto r = store->savePad(name, next, overwrite);
            db_fault::reset();
            ASSERT_NE(r.code, 0) << "point " << k << " of " << points;
            EXPECT_EQ(r.message.title, titles.value(r.code)) << k;
            codes << r.code;
            EXPECT_EQ(store->padNames(), QStringList{"친구"}) << k;
            EXPECT_EQ(store->loadPad("친구"), kept) << "point " << k;
            EXPECT_EQ(store->loadPad("동료"), std::nullopt) << "point " << k;
        }
        // The steps come in order: clear or create, open the table, insert.
        EXPECT_EQ(codes.front(), overwrite ? -2 : -1);
        EXPECT_TRUE(codes.contains(-4));
        EXPECT_EQ(codes.back(), -3);
    }
}

TEST_F(MemoStoreTest, ALoadFailingAtAnyPointGivesNothingRatherThanPartOfThePad) {
    auto store = openStore();
    const auto kept = makeEntries(MemoMode::People, 4, "가");
    ASSERT_EQ(store->savePad("친구", kept, false).code, 0);
    db_fault::reset();
    ASSERT_EQ(store->loadPad("친구"), kept);
    const std::int64_t points = db_fault::points();
    ASSERT_GE(points, 5);  // compile, a step per row, the end
    for (std::int64_t k = 1; k <= points; ++k) {
        db_fault::reset();
        db_fault::fail_at(k);
        EXPECT_EQ(store->loadPad("친구"), std::nullopt) << "point " << k;
    }
}

TEST_F(MemoStoreTest, NamesThatAreSqlWordsAreOrdinaryPads) {
    auto store = openStore();
    const QStringList names = {"TABLENAME", "ORDER", "2024_A", "SELECT", "친구_1"};
    int i = 0;
    for (const QString& name : names) {
        ASSERT_EQ(store->savePad(name, makeEntries(MemoMode::People, ++i, name), false).code, 0)
            << name.toStdString();
    }
    EXPECT_EQ(store->padNames(), names);
    // Deleting the pad named after the catalogue's column deletes that pad alone.
    EXPECT_TRUE(store->deletePad("TABLENAME"));
    EXPECT_EQ(store->padNames(), names.mid(1));
    EXPECT_EQ(store->loadPad("ORDER"), makeEntries(MemoMode::People, 2, "ORDER"));

    // The catalogue's own name and names the rule refuses never reach SQL.
    for (const QString& name :
         QStringList{"MEMOTABLENAME", "MemoTableName", "sqlite_x", "A B", "A-.B",
                     "A\"; DROP TABLE ORDER; --", QString(21, 'A'), QString()}) {
        EXPECT_EQ(store->savePad(name, makeEntries(MemoMode::People, 1, "x"), false).code, -1)
            << name.toStdString();
        EXPECT_FALSE(store->emptyPad(name));
        EXPECT_FALSE(store->deletePad(name));
        EXPECT_EQ(store->loadPad(name), std::nullopt);
    }
    EXPECT_EQ(store->padNames(), names.mid(1));
}

TEST_F(MemoStoreTest, TheNameRuleFollowsCodePage949) {
    EXPECT_EQ(memo::findBadNameChars("친구_2024_ab"), "");
    EXPECT_EQ(memo::findBadNameChars("A B"), " ");
    EXPECT_EQ(memo::findBadNameChars("A-.B"), "-,.");
    EXPECT_EQ(memo::findBadNameChars("中國"), "");   // double-byte Hanja of the code page
    EXPECT_EQ(memo::findBadNameChars("Ā😀"), "Ā,😀");  // characters it cannot write
    EXPECT_TRUE(memo::isStorablePadName(QString(20, QChar(u'가'))));
    EXPECT_FALSE(memo::isStorablePadName(QString(21, QChar(u'가'))));
}

TEST_F(MemoStoreTest, AHundredPadsComeBackInTheOrderTheyWereMade) {
    auto store = openStore();
    QStringList names;
    const auto one = makeEntries(MemoMode::People, 1, "x");
    for (int i = 100; i >= 1; --i) {
        names << QStringLiteral("P%1").arg(i);
        ASSERT_EQ(store->savePad(names.back(), one, false).code, 0);
    }
    EXPECT_EQ(store->padNames(), names);
}

TEST_F(MemoStoreTest, RenameMovesThePadInPlaceAndIsAllOrNothing) {
    auto store = openStore();
    const auto a = makeEntries(MemoMode::People, 3, "가");
    const auto b = makeEntries(MemoMode::People, 2, "나");
    ASSERT_EQ(store->savePad("하나", a, false).code, 0);
    ASSERT_EQ(store->savePad("둘", b, false).code, 0);

    EXPECT_EQ(store->renamePad("하나", "둘"), MemoStore::RenameResult::CopyFailed);
    EXPECT_EQ(store->padNames(), QStringList({"하나", "둘"}));
    EXPECT_EQ(store->loadPad("하나"), a);

    db_fault::reset();
    ASSERT_EQ(store->renamePad("하나", "셋"), MemoStore::RenameResult::Renamed);
    const std::int64_t points = db_fault::points();
    EXPECT_EQ(store->padNames(), QStringList({"셋", "둘"}));
    EXPECT_EQ(store->loadPad("셋"), a);
    EXPECT_EQ(store->loadPad("하나"), std::nullopt);

    for (std::int64_t k = 1; k <= points; ++k) {
        db_fault::reset();
        db_fault::fail_at(k);
        EXPECT_NE(store->renamePad("셋", "넷"), MemoStore::RenameResult::Renamed) << k;
        db_fault::reset();
        EXPECT_EQ(store->padNames(), QStringList({"셋", "둘"})) << k;
        EXPECT_EQ(store->loadPad("셋"), a) << k;
    }
}

TEST_F(MemoStoreTest, DeleteRemovesTheCatalogueRowEvenWhenTheTableIsGone) {
    auto store = openStore();
    const auto a = makeEntries(MemoMode::People, 2, "가");
    ASSERT_EQ(store->savePad("하나", a, false).code, 0);
    ASSERT_EQ(store->savePad("둘", a, false).code, 0);
    ASSERT_TRUE(store->dbDB().execute_script("DROP TABLE \"하나\"").ok());
    EXPECT_TRUE(store->deletePad("하나"));
    EXPECT_EQ(store->padNames(), QStringList({"둘"}));
    EXPECT_EQ(store->loadPad("둘"), a);
}

TEST_F(MemoStoreTest, CompactionRunsOnTheLoadAfterTheCounterPassed500) {
    {
        auto store = openStore();
        ASSERT_EQ(store->savePad("친구", makeEntries(MemoMode::People, 50, "가"), false).code, 0);
        ASSERT_EQ(store->savePad("큰것", makeEntries(MemoMode::People, 2000, "나"), false).code, 0);
        ASSERT_TRUE(store->deletePad("큰것"));
    }
    const ino_t before = inode();
    const qint64 sizeBefore = fileBytes().size();

    saveSetting("Memo", "previousCompactH", "500");
    openStore().reset();
    EXPECT_EQ(setting("Memo", "previousCompactH"), "501");
    EXPECT_EQ(inode(), before);

    openStore().reset();
    EXPECT_EQ(setting("Memo", "previousCompactH"), "0");
    EXPECT_NE(inode(), before) << "the file was not replaced by its compacted copy";
    EXPECT_LT(fileBytes().size(), sizeBefore);
    EXPECT_FALSE(QFile::exists(datPath() + "tmp.tmp"));
    auto store = openStore();
    EXPECT_EQ(store->padNames(), QStringList({"친구"}));
    EXPECT_EQ(store->loadPad("친구"), makeEntries(MemoMode::People, 50, "가"));
}

TEST_F(MemoStoreTest, AFailedCompactionKeepsTheFileAndResetsTheCounter) {
    {
        auto store = openStore();
        ASSERT_EQ(store->savePad("친구", makeEntries(MemoMode::People, 5, "가"), false).code, 0);
    }
    const QByteArray bytes = fileBytes();
    const std::filesystem::path file = (datPath() + "CDpm.db2").toStdString();
    const std::filesystem::path scratch = (datPath() + "tmp.tmp").toStdString();

    // A "tmp.tmp" that cannot be removed stops it before anything is written.
    std::filesystem::create_directories(scratch / "busy");
    saveSetting("Memo", "previousCompactH", "501");
    openStore().reset();
    EXPECT_EQ(setting("Memo", "previousCompactH"), "0");
    EXPECT_EQ(fileBytes(), bytes);
    std::filesystem::remove_all(scratch);

    // So does a failure at any point of the copy or its check.
    db_fault::reset();
    ASSERT_TRUE(memo::compactFile(file, scratch).ok());
    const std::int64_t points = db_fault::points();
    const QByteArray compacted = fileBytes();
    for (std::int64_t k = 1; k <= points; ++k) {
        db_fault::reset();
        db_fault::fail_at(k);
        EXPECT_FALSE(memo::compactFile(file, scratch).ok()) << k;
        db_fault::reset();
        EXPECT_EQ(fileBytes(), compacted) << k;
        EXPECT_FALSE(std::filesystem::exists(scratch)) << k;
    }
    EXPECT_EQ(openStore()->loadPad("친구"), makeEntries(MemoMode::People, 5, "가"));
}

TEST_F(MemoStoreTest, AnUnreadableFileIsReportedAndNeverReplaced) {
    QFile junk(datPath() + "CDpm.db2");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a database at all, but the user's file all the same");
    junk.close();
    const QByteArray bytes = fileBytes();
    MemoStore store(MemoMode::People);
    EXPECT_EQ(store.open(), MemoStore::OpenResult::OpenFailed);
    EXPECT_EQ(fileBytes(), bytes);
}

}  // namespace
