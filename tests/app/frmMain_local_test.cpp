// The local listing from the window: the search command on places served by chb.cad, the
// dong listing in the dong search and the surname search, their notices and captions.
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QTreeWidget>

#include "MainWindowFixture.h"

namespace {

class LocalSearchTest : public MainWindowFixture {
protected:
    // Starts and shows the Chungbuk tree (its codes begin with 84 and 65).
    void startInChungbuk() {
        ASSERT_TRUE(start());
        window().selectRegion(7);
        ASSERT_NE(node("!65:84"), nullptr);
    }
    std::size_t localCount(const std::function<bool(const SampleListing&)>& keep) {
        std::size_t n = 0;
        for (const SampleListing& l : sampleListings()) n += keep(l) ? 1 : 0;
        return n;
    }
    // A name with a subscriber in the dong `dong`.
    QString nameIn(const QString& dong) {
        for (const SampleListing& l : sampleListings()) {
            if (l.dong == dong) return l.name;
        }
        return {};
    }
};

TEST_F(LocalSearchTest, SearchCommandOnEightSixAndListCodes) {
    startInChungbuk();
    const QString dong = "84010101";
    const QString name = nameIn(dong);
    ASSERT_FALSE(name.isEmpty());
    auto* text = child<QLineEdit>("txtSearch");

    clickNode("#" + dong);
    text->setText(name);
    window().searchCommand();
    const auto exact = localCount([&](auto& l) { return l.name == name && l.dong == dong; });
    EXPECT_EQ(window().resultModel()->rowCount(), static_cast<int>(exact));
    EXPECT_EQ(window().localCount(), static_cast<int>(exact));
    EXPECT_EQ(child<QLabel>("vsElastic3")->text(), QString::number(exact) + " 건이 검색되었습니다");
    EXPECT_FALSE(child<QWidget>("vsResult")->isHidden());
    EXPECT_TRUE(child<QWidget>("vsSearch")->isHidden());

    clickNode("$650107");  // 6 characters: every dong beginning with it
    const QString name65 = nameIn("65010701");
    ASSERT_FALSE(name65.isEmpty());
    text->setText(name65);
    window().searchCommand();
    EXPECT_EQ(window().resultModel()->rowCount(), static_cast<int>(localCount([&](auto& l) {
                  return l.name == name65 && l.dong.startsWith("650107");
              })));

    clickNode("!65:84");  // the whole table
    text->setText(name);
    window().searchCommand();
    EXPECT_EQ(window().resultModel()->rowCount(), static_cast<int>(localCount([&](auto& l) {
                  return l.name == name && (l.dong.startsWith("84") || l.dong.startsWith("65"));
              })));
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(LocalSearchTest, ANameWithAQuotationMarkSearchesAndFindsNothing) {
    startInChungbuk();
    clickNode("#84010101");
    child<QLineEdit>("txtSearch")->setText("김\"철'수");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    window().searchCommand();
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].text, "검색한 지역에는 자료가 없습니다.");
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::Information);
    EXPECT_EQ(child<QLabel>("vsElastic3")->text(), "0 건이 검색되었습니다");
}

TEST_F(LocalSearchTest, DongListingAndSurnameListingInTheDongSearch) {
    startInChungbuk();
    const QString dong = "84010101";
    clickNode("#" + dong);
    window().cmdDongSeekClick();
    window().cmdNextClick();
    const auto whole = localCount([&](auto& l) { return l.dong.startsWith(dong); });
    ASSERT_EQ(window().dongModel()->rowCount(), static_cast<int>(whole));
    for (int r = 1; r < window().dongModel()->rowCount(); ++r) {
        EXPECT_LE(window().dongModel()->cell(r - 1, 0), window().dongModel()->cell(r, 0));
    }
    EXPECT_EQ(child<QLabel>("vsElastic11")->text(),
              QString::number(whole) + " 건이 검색되었습니다");

    window().cmdDongSungSearchClick();
    EXPECT_EQ(window().searchMode(), SearchMode::Surname);
    EXPECT_FALSE(child<QWidget>("txtSung")->isHidden());
    const QString surname = nameIn(dong).left(1);
    child<QLineEdit>("txtSung")->setText(surname);
    window().cmdSungSearchClick();
    const auto some =
        localCount([&](auto& l) { return l.dong.startsWith(dong) && l.name.startsWith(surname); });
    ASSERT_GT(some, 0u);
    ASSERT_EQ(window().dongModel()->rowCount(), static_cast<int>(some));
    for (int r = 0; r < window().dongModel()->rowCount(); ++r) {
        EXPECT_TRUE(window().dongModel()->cell(r, 0).startsWith(surname));
    }
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(LocalSearchTest, ANameSearchAfterALocalSearchDropsTheLocalCount) {
    startInChungbuk();
    clickNode("#84010101");
    auto* text = child<QLineEdit>("txtSearch");
    text->setText(nameIn("84010101"));
    window().searchCommand();
    auto* caption = child<QLabel>("vsElastic3");
    ASSERT_TRUE(caption->text().endsWith(" 건이 검색되었습니다"));

    // The subscribers of a Seoul name fill the same list: the local count is not theirs.
    window().selectRegion(0);
    QString name;  // a Seoul subscriber's name, not the excluded sample's
    for (const SampleListing& l : sampleListings()) {
        if (l.dong.startsWith("10") && l.name != QStringLiteral("홍길동")) {
            name = l.name;
            break;
        }
    }
    text->setText(name);
    ASSERT_GT(window().searchModel()->rowCount(), 0);
    ASSERT_EQ(window().searchModel()->cell(0, 0), name);
    window().searchCommand();
    ASSERT_GT(window().resultModel()->rowCount(), 0);
    EXPECT_EQ(window().localCount(), 0);
    EXPECT_TRUE(caption->text().isEmpty()) << caption->text().toStdString();
}

TEST_F(LocalSearchTest, DialAfterALocalSearchTakesTheNameResultsRow) {
    saveSetting("Option", "ComPort", "1");
    startInChungbuk();
    const QString dong = "84010101";
    clickNode("#" + dong);
    // A surname listing of the dong from the name search kind, then back out of it.
    window().cmdDongSungSearchClick();
    child<QLineEdit>("txtSung")->setText(nameIn(dong).left(1));
    window().cmdSungSearchClick();
    ASSERT_GT(window().dongModel()->rowCount(), 0);
    window().cmdEndClick();

    child<QLineEdit>("txtSearch")->setText(nameIn(dong));
    window().searchCommand();
    ASSERT_GT(window().resultModel()->rowCount(), 0);
    auto* list = child<QTreeView>("lvResult");
    list->setCurrentIndex(window().resultModel()->index(0, 0));
    list->selectionModel()->select(window().resultModel()->index(0, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const auto values = window().dialCommand();
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->name, window().resultModel()->cell(0, 0));
    EXPECT_EQ("(" + values->areaCode + ")" + values->number, window().resultModel()->cell(0, 1));
}

TEST_F(LocalSearchTest, AMissingLocalListingIsReported) {
    startInChungbuk();
    const QString chb = sampleRoot() + "/program/chb.cad";
    ASSERT_TRUE(QFile::rename(chb, chb + ".away"));
    clickNode("#84010101");
    child<QLineEdit>("txtSearch")->setText("김철수");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    window().searchCommand();
    QFile::rename(chb + ".away", chb);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].title, "오류 (M0010)");
    EXPECT_TRUE(m_prompt.messages()[0].text.contains("chb.cad"));
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::Error);
    EXPECT_EQ(window().resultModel()->rowCount(), 0);
}

}  // namespace
