// The sample business listing of telvia-sample and the sample library over it, through the
// program's own binding and record parsing: what a user of `make run` sees listed.
#include <QFile>
#include <QStringList>

#include "BusinessListing.h"
#include "BusinessSearch.h"
#include "PhoneFixture.h"
#include "Varlink.h"

namespace {

class VarlinkSampleTest : public PhoneFixture {
protected:
    void SetUp() override {
        PhoneFixture::SetUp();
        m_listing = m_dir.filePath("VarlinkSample.tsv");
        ASSERT_TRUE(
            zendari::sample::write_business_listing(geography(), 1, m_listing.toStdString()).ok());
        // The library reads its listing once per process, at its first query.
        qputenv("VARLINK_SAMPLE_DATA", QFile::encodeName(m_listing));
    }
    static const zendari::sample::Geography& geography() {
        static const zendari::sample::Geography geo = zendari::sample::build_geography();
        return geo;
    }
    QList<QStringList> lines() const {
        QFile f(m_listing);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        QList<QStringList> rows;
        for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts))
            rows << line.split('\t');
        return rows;
    }
    std::vector<search::ResultRow> find(const QString& company, const QString& codes,
                                        business::SearchStyle style) {
        std::vector<search::ResultRow> rows;
        m_search.run(company, codes, 0, style, [&](search::ResultRow r) { rows.push_back(r); });
        return rows;
    }

    QString m_listing;
    Varlink m_library{QStringLiteral(TELVIA_VARLINK_SAMPLE)};
    business::BusinessSearch m_search{m_library};
};

TEST_F(VarlinkSampleTest, TheListingIsFixedBySeedAndWellFormed) {
    const QList<QStringList> rows = lines();
    ASSERT_GT(rows.size(), 100);
    EXPECT_EQ(rows.front().join('\t') + '\n',
              QString::fromUtf8(zendari::sample::kBusinessHeader.data(),
                                zendari::sample::kBusinessHeader.size()));
    for (const QStringList& r : rows.mid(1)) {
        ASSERT_EQ(r.size(), 8) << r.join('|').toStdString();
        EXPECT_EQ(r[2].size(), 7);
        EXPECT_EQ(r[2][3], '-');
        EXPECT_TRUE(r[4].startsWith('0'));
        EXPECT_EQ(r[7].size(), 8);
    }
    const QString again = m_dir.filePath("again.tsv");
    ASSERT_TRUE(zendari::sample::write_business_listing(geography(), 1, again.toStdString()).ok());
    QFile a(m_listing), b(again);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
}

TEST_F(VarlinkSampleTest, AStandardSearchListsTheSampleBusinessesOfARegion) {
    // The first business of Seoul (dong codes 10…) with a telephone area code of the table.
    const QList<QStringList> rows = lines().mid(1);
    const auto seoul = std::find_if(rows.begin(), rows.end(),
                                    [](const QStringList& r) { return r[7].startsWith("10"); });
    ASSERT_NE(seoul, rows.end());
    const QStringList& b = *seoul;
    const QString prefix = b[0].left(2);
    const auto found = find(prefix, QStringLiteral("10"), business::SearchStyle::kStandard);
    const qsizetype expected = std::count_if(rows.begin(), rows.end(), [&](const QStringList& r) {
        return r[7].startsWith("10") && r[0].startsWith(prefix);
    });
    ASSERT_EQ(static_cast<qsizetype>(found.size()), expected);
    const QString category = b[1].contains('@') ? b[1].section('@', 1) : b[1];
    EXPECT_EQ(found.front().cells, QStringList({b[0], "(02)" + b[5], b[2], b[3], category, b[6]}));
    // Another region's code finds none of Seoul's.
    for (const auto& row : find(prefix, QStringLiteral("20"), business::SearchStyle::kStandard))
        EXPECT_FALSE(row.cells[3].startsWith("서울")) << row.cells[3].toStdString();
}

TEST_F(VarlinkSampleTest, TheWordSearchFindsAWordInsideTheName) {
    const auto pharmacies = find("약국", QStringLiteral("10:20:31"), business::SearchStyle::kWord);
    ASSERT_FALSE(pharmacies.empty());
    for (const auto& row : pharmacies) EXPECT_TRUE(row.cells[0].endsWith("약국"));
    EXPECT_TRUE(find("약국", QStringLiteral("10:20:31"), business::SearchStyle::kStandard).empty());
}

}  // namespace
