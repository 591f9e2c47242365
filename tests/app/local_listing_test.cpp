// Searches of the local listing chb.cad: the sample's table, a table past 32,767 entries of
// one dong, user text with quotation marks, and a file that does not open.
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include <gtest/gtest.h>

#include "Database.h"
#include "LocalListing.h"
#include "MainWindowFixture.h"

namespace {

using search::dongListing;
using search::exactNameSearch;

QString sampleChb() {
    return sampleRoot() + "/program/chb.cad";
}

// The sample's subscribers of dongs beginning with `prefix` (the local table's contents).
std::vector<SampleListing> localListings(const std::function<bool(const SampleListing&)>& keep) {
    std::vector<SampleListing> out;
    for (const SampleListing& l : sampleListings()) {
        if ((l.dong.startsWith("84") || l.dong.startsWith("65")) && keep(l)) out.push_back(l);
    }
    return out;
}

// A name that occurs more than once among the local subscribers of `prefix`.
QString commonLocalName(const QString& prefix) {
    std::map<QString, int> counts;  // ordered: the same name every run
    for (const SampleListing& l :
         localListings([&](auto& l) { return l.dong.startsWith(prefix); })) {
        ++counts[l.name];
    }
    for (const auto& [name, count] : counts) {
        if (count > 1) return name;
    }
    return counts.empty() ? QString() : counts.begin()->first;
}

TEST(LocalListingTest, ExactNameBySixAndEightCharacterCodesAndTheWholeTable) {
    ASSERT_FALSE(sampleRoot().isEmpty());
    const QString name = commonLocalName("8401");
    ASSERT_FALSE(name.isEmpty());
    const auto in = [&](const QString& prefix, bool exact) {
        return localListings([&](const SampleListing& l) {
                   return l.name == name && (exact ? l.dong == prefix : l.dong.startsWith(prefix));
               })
            .size();
    };
    const SampleListing first = localListings([&](auto& l) { return l.name == name; }).front();
    const QString six = first.dong.left(6);
    auto r6 = exactNameSearch(sampleChb(), name, six);
    ASSERT_TRUE(r6.status.ok()) << r6.status.message();
    EXPECT_EQ(r6.rows.size(), in(six, false));
    auto r8 = exactNameSearch(sampleChb(), name, first.dong);
    EXPECT_EQ(r8.rows.size(), in(first.dong, true));
    // "65:84" searches the whole table, whatever the dong.
    auto all = exactNameSearch(sampleChb(), name, "65:84");
    EXPECT_EQ(all.rows.size(), localListings([&](auto& l) { return l.name == name; }).size());
    EXPECT_GE(all.rows.size(), r6.rows.size());
    // The row shows the area code with its 0, the zip with its hyphen.
    ASSERT_FALSE(r8.rows.empty());
    EXPECT_EQ(r8.rows[0].cells[0], name);
    EXPECT_TRUE(r8.rows[0].cells[1].startsWith("(" + first.area + ")"))
        << r8.rows[0].cells[1].toStdString();
    EXPECT_EQ(r8.rows[0].cells[2], first.postal.left(3) + "-" + first.postal.mid(3));
}

TEST(LocalListingTest, NamesWithQuotationMarksAndWildcardsAreSearchedAsText) {
    ASSERT_FALSE(sampleRoot().isEmpty());
    for (const char* odd : {"김\"철수", "O'Brien", "김%", "'; DROP TABLE inchbuk; --"}) {
        auto r = exactNameSearch(sampleChb(), QString::fromUtf8(odd), "8401");
        EXPECT_TRUE(r.status.ok()) << odd << ": " << r.status.message();
        EXPECT_TRUE(r.rows.empty()) << odd;
        auto s = dongListing(sampleChb(), "8401", QString::fromUtf8(odd), true);
        EXPECT_TRUE(s.status.ok()) << odd;
        EXPECT_TRUE(s.rows.empty()) << odd;
    }
    // The table is still whole afterwards.
    EXPECT_FALSE(dongListing(sampleChb(), "84").rows.empty());
}

TEST(LocalListingTest, DongListingSortedByNameOrOneSurnameInTableOrder) {
    ASSERT_FALSE(sampleRoot().isEmpty());
    const QString dong = localListings([](auto&) { return true; }).front().dong;
    auto whole = dongListing(sampleChb(), dong);
    ASSERT_TRUE(whole.status.ok());
    EXPECT_EQ(whole.rows.size(), localListings([&](auto& l) { return l.dong == dong; }).size());
    for (std::size_t i = 1; i < whole.rows.size(); ++i) {
        EXPECT_LE(whole.rows[i - 1].cells[0], whole.rows[i].cells[0]);
    }
    auto kim = dongListing(sampleChb(), dong.left(4), "김", true);
    const auto expected = localListings(
        [&](auto& l) { return l.dong.startsWith(dong.left(4)) && l.name.startsWith("김"); });
    ASSERT_EQ(kim.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(kim.rows[i].cells[0], expected[i].name);  // the table's (listing) order
    }
}

TEST(LocalListingTest, ADongOfMoreThan32767EntriesIsListedInFull) {
    QTemporaryDir dir;
    const QString file = dir.filePath("chb.cad");
    telvia::Database db;
    ASSERT_TRUE(telvia::Database::create(file.toStdString(), search::kLocalSecret, db).ok());
    ASSERT_TRUE(db.execute_script("CREATE TABLE inchbuk (Name TEXT, dongCode TEXT, ddd TEXT, "
                                  "tel TEXT, Zip TEXT, address TEXT)")
                    .ok());
    telvia::Statement insert;
    ASSERT_TRUE(
        db.prepare("INSERT INTO inchbuk VALUES (?1, ?2, '43', ?3, '362010', 'x')", insert).ok());
    ASSERT_TRUE(db.begin_transaction().ok());
    constexpr int kRows = 40000;
    for (int i = 0; i < kRows; ++i) {
        ASSERT_TRUE(
            insert
                .execute(
                    {telvia::DbValue(i % 2 ? "김" + std::to_string(i) : "이" + std::to_string(i)),
                     telvia::DbValue("84010101"), telvia::DbValue("602-" + std::to_string(i))})
                .ok());
    }
    ASSERT_TRUE(db.commit().ok());
    db.close();
    EXPECT_EQ(dongListing(file, "84010101").rows.size(), std::size_t{kRows});
    EXPECT_EQ(dongListing(file, "840101", "김", true).rows.size(), std::size_t{kRows / 2});
}

TEST(LocalListingTest, AFileThatDoesNotOpenIsAnErrorNotAnEmptyList) {
    QTemporaryDir dir;
    auto missing = exactNameSearch(dir.filePath("chb.cad"), "김철수", "8401");
    EXPECT_FALSE(missing.status.ok());
    QFile junk(dir.filePath("junk.cad"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a database at all, not even close to one");
    junk.close();
    EXPECT_FALSE(dongListing(dir.filePath("junk.cad"), "8401").status.ok());
}

}  // namespace
