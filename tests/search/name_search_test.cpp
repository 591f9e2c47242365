// Typing a name, the candidate list, and the records of a chosen name in the selected area.
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <map>

#include "MainWindowFixture.h"

namespace {

class NameSearchTest : public MainWindowFixture {
protected:
    QLineEdit* text() { return child<QLineEdit>("txtSearch"); }
    ResultListModel& candidates() { return *window().searchModel(); }
    ResultListModel& results() { return *window().resultModel(); }

    // The rows of lvResult as cell lists, sorted (the master file's order within a name is
    // the builder's).
    std::vector<QStringList> shownRows() {
        std::vector<QStringList> rows;
        for (int r = 0; r < results().rowCount(); ++r) rows.push_back(results().row(r).cells);
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    static std::vector<QStringList> sorted(std::vector<QStringList> rows) {
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // A name with at least `inArea` records passing `area` and at least `outside` records of
    // the same index region outside it.
    QString nameWith(const std::function<bool(const QString&)>& area,
                     const std::function<bool(const QString&)>& region, int inArea,
                     int outside = 0) {
        std::map<QString, std::pair<int, int>> counts;  // ordered: the same name every run
        for (const SampleListing& l : sampleListings()) {
            if (area(l.dong)) {
                ++counts[l.name].first;
            } else if (region(l.dong)) {
                ++counts[l.name].second;
            }
        }
        for (const auto& [candidate, count] : counts) {
            if (count.first >= inArea && count.second >= outside) return candidate;
        }
        return {};
    }
    static bool inSeoulIndex(const QString& dong) {
        return dong.startsWith("10") || dong.startsWith("7203") || dong.startsWith("7204");
    }
    // Types `name` and runs the search from the candidate list (its first entry is the name).
    void search(const QString& name) {
        text()->setText(name);
        ASSERT_GT(candidates().rowCount(), 0);
        ASSERT_EQ(candidates().cell(0, 0), name);
        window().nameSearchFromList();
    }
};

TEST_F(NameSearchTest, TypingListsThirtyCandidatesFromTheTypedName) {
    ASSERT_TRUE(start());
    text()->clear();
    typeText(text(), "김");
    ASSERT_EQ(candidates().rowCount(), 30);
    for (int r = 0; r < 30; ++r) {
        EXPECT_GE(candidates().cell(r, 0), QString("김"));
        const QStringList tag = candidates().row(r).tag.split(':');
        ASSERT_EQ(tag.size(), 2);
        EXPECT_GT(tag[0].toInt(), 0);
        EXPECT_GT(tag[1].toInt(), 0);
        if (r > 0) {
            EXPECT_LT(candidates().cell(r - 1, 0), candidates().cell(r, 0));
        }
    }
    // A blank is never typed into the box.
    QTest::keyClick(text(), Qt::Key_Space);
    EXPECT_EQ(text()->text(), "김");
}

TEST_F(NameSearchTest, TheEndOfTheIndexEndsTheListEarly) {
    ASSERT_TRUE(start());
    QString last;
    for (const SampleListing& l : sampleListings()) {
        if (inSeoulIndex(l.dong) && l.name > last) last = l.name;
    }
    text()->setText(last);
    ASSERT_EQ(candidates().rowCount(), 1);  // the last name, then the end marker
    EXPECT_EQ(candidates().cell(0, 0), last);
    text()->setText("흐흐흐");  // after every name of the sample
    EXPECT_EQ(candidates().rowCount(), 0);
    text()->setText("(02)" + last);  // the area code in front is dropped
    EXPECT_EQ(candidates().rowCount(), 1);
    text()->clear();
    EXPECT_EQ(candidates().rowCount(), 0);
}

TEST_F(NameSearchTest, TheSyllableBeingComposedCountsAsTyped) {
    ASSERT_TRUE(start());
    text()->clear();
    text()->setFocus();
    QInputMethodEvent composing("김", {});
    QCoreApplication::sendEvent(text(), &composing);
    QCoreApplication::processEvents();
    EXPECT_TRUE(text()->text().isEmpty());  // nothing committed yet
    ASSERT_GT(candidates().rowCount(), 0);
    EXPECT_TRUE(candidates().cell(0, 0).startsWith("김"));

    QInputMethodEvent next("이", {});
    next.setCommitString("김");  // 김 is done, 이 is being composed after it
    QCoreApplication::sendEvent(text(), &next);
    QCoreApplication::processEvents();
    EXPECT_EQ(text()->text(), "김");
    ASSERT_GT(candidates().rowCount(), 0);
    EXPECT_GE(candidates().cell(0, 0), QString("김이"));

    QInputMethodEvent done;
    done.setCommitString("이");
    QCoreApplication::sendEvent(text(), &done);
    QCoreApplication::processEvents();
    EXPECT_EQ(text()->text(), "김이");
    EXPECT_GE(candidates().cell(0, 0), QString("김이"));
}

TEST_F(NameSearchTest, ChosenNameListsExactlyItsRecordsInTheDistrict) {
    ASSERT_TRUE(start());
    const auto district = [](const QString& d) { return d.startsWith("1002"); };
    const QString name = nameWith(district, inSeoulIndex, 1, 1);
    ASSERT_FALSE(name.isEmpty());
    clickNode("@1002");
    search(name);
    const auto expected = sorted(expectedNameRows(name, district));
    EXPECT_EQ(shownRows(), expected);
    EXPECT_EQ(window().foundCount(), static_cast<int>(expected.size()));
    EXPECT_EQ(window().statusText(3), QString::number(expected.size()) + "건이 검색되었습니다.");
    EXPECT_EQ(QSettings(QSettings::IniFormat, QSettings::UserScope, "Telvia", "Orvello")
                  .value("CurrentSearch/Human")
                  .toString(),
              name);
    EXPECT_FALSE(child<QWidget>("vsResult")->isHidden());
    EXPECT_TRUE(child<QWidget>("vsSearch")->isHidden());
    EXPECT_EQ(results().headers(), QStringList({"이 름", "전 화", "우편번호", "주 소"}));
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(NameSearchTest, GwacheonListsOnlyItsRecordsOfTheSeoulIndex) {
    ASSERT_TRUE(start());
    const auto gwacheon = [](const QString& d) {
        return d.startsWith("7203") || d.startsWith("7204");
    };
    const QString name = nameWith(gwacheon, inSeoulIndex, 1, 1);
    ASSERT_FALSE(name.isEmpty());
    clickNode("!7203:7204");
    search(name);
    EXPECT_EQ(shownRows(), sorted(expectedNameRows(name, gwacheon)));
}

TEST_F(NameSearchTest, GyeonggiListCodeListsItsPrefixes) {
    ASSERT_TRUE(start());
    window().selectRegion(3);
    const auto gyeonggi = [](const QString& d) {
        for (const char* p : {"72", "20", "21", "22", "23", "24"}) {
            if (d.startsWith(p) && !d.startsWith("7203") && !d.startsWith("7204")) return true;
        }
        return false;
    };
    const auto region72 = [&](const QString& d) { return gyeonggi(d); };
    const QString name = nameWith(gyeonggi, region72, 2);
    ASSERT_FALSE(name.isEmpty());
    clickNode("!20:21:22:23:24:72");
    search(name);
    EXPECT_EQ(shownRows(), sorted(expectedNameRows(name, gyeonggi)));
}

TEST_F(NameSearchTest, TheSampleRecordIsNeverListed) {
    ASSERT_TRUE(start());
    // 홍길동 of Seoul has the excluded sample subscriber among its records.
    const auto expected = sorted(expectedNameRows("홍길동", inSeoulIndex));
    if (expected.empty()) m_prompt.queueAnswer(PromptAnswer::Ok);  // nothing else: no match
    search("홍길동");
    for (int r = 0; r < results().rowCount(); ++r) {
        EXPECT_FALSE(results().cell(r, 3).contains("텔비아 견본 가입자"));
    }
    EXPECT_EQ(shownRows(), expected);
}

TEST_F(NameSearchTest, DisplayLimitStopsAtThreeWithOneNotice) {
    saveSetting("Option", "MaxDisplayCount", "3");
    ASSERT_TRUE(start());
    // The loaded window has Seoul itself selected: code "10", without 과천/광명.
    ASSERT_EQ(window().selectedCode(), "10");
    const auto seoul = [](const QString& d) { return d.startsWith("10"); };
    const QString name = nameWith(seoul, inSeoulIndex, 4);
    ASSERT_FALSE(name.isEmpty());
    m_prompt.queueAnswer(PromptAnswer::Ok);
    search(name);
    EXPECT_EQ(results().rowCount(), 3);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].title, "알림");
    EXPECT_EQ(m_prompt.messages()[0].text,
              "결과가 3건을 초과합니다.\r\n\r\nTelvia의 결과 출력은 3건으로 제한되 있습니다.");
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::Information);

    saveSetting("Option", "MaxDisplayCount", "0");
    clickToolbar("First");
    search(name);
    EXPECT_EQ(shownRows(), sorted(expectedNameRows(name, seoul)));
    EXPECT_EQ(m_prompt.messages().size(), 1u);
}

TEST_F(NameSearchTest, TheLimitNoticeComesOnlyWhenARecordIsLeftOut) {
    ASSERT_TRUE(start());
    const auto seoul = [](const QString& d) { return d.startsWith("10"); };
    const QString name = nameWith(seoul, inSeoulIndex, 2);
    ASSERT_FALSE(name.isEmpty());
    const auto expected = sorted(expectedNameRows(name, seoul));
    // Exactly as many records as the limit: all are listed and nothing is said.
    saveSetting("Option", "MaxDisplayCount", QString::number(expected.size()));
    search(name);
    EXPECT_EQ(shownRows(), expected);
    EXPECT_TRUE(m_prompt.messages().empty());
    // One fewer: one is left out, and the notice says so.
    saveSetting("Option", "MaxDisplayCount", QString::number(expected.size() - 1));
    clickToolbar("First");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    search(name);
    EXPECT_EQ(results().rowCount(), static_cast<int>(expected.size()) - 1);
    EXPECT_EQ(m_prompt.messages().size(), 1u);
}

TEST_F(NameSearchTest, NoMatchInTheAreaTellsAndReturnsToTheInput) {
    ASSERT_TRUE(start());
    const auto district = [](const QString& d) { return d.startsWith("1001"); };
    const QString name =
        nameWith([](const QString& d) { return d.startsWith("1002"); }, inSeoulIndex, 1);
    ASSERT_FALSE(name.isEmpty());
    if (!expectedNameRows(name, district).empty()) GTEST_SKIP() << "the name lives in 1001 too";
    clickNode("@1001");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    search(name);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(
        m_prompt.messages()[0].text,
        "검색지역에는 입력과 일치하는 내용이 없습니다.\r\n다른 지역을 선택하여 검색 하십시오");
    EXPECT_EQ(m_prompt.messages()[0].title, "알림");
    EXPECT_FALSE(child<QWidget>("vsSearch")->isHidden());
    EXPECT_TRUE(child<QWidget>("vsResult")->isHidden());

    tree()->setCurrentItem(nullptr);
    m_prompt.queueAnswer(PromptAnswer::Ok);
    window().nameSearchFromList();
    ASSERT_EQ(m_prompt.messages().size(), 2u);
    EXPECT_EQ(m_prompt.messages()[1].text, "지역을 선택하세요");
}

TEST_F(NameSearchTest, CandidateClickCopiesTheNameWithoutANewLookupAndEnterSearches) {
    ASSERT_TRUE(start());
    text()->setText("김");
    ASSERT_GE(candidates().rowCount(), 3);
    const QString first = candidates().cell(0, 0);
    const QString third = candidates().cell(2, 0);
    auto* list = child<QTreeView>("lvSearch");
    list->setCurrentIndex(candidates().index(2, 0));
    emit list->clicked(candidates().index(2, 0));
    EXPECT_EQ(text()->text(), third);
    EXPECT_EQ(candidates().cell(0, 0), first);  // the list was not looked up again
    // The next change is a lookup again.
    text()->setText(third);
    QTest::keyClick(text(), Qt::Key_Return);  // searches the chosen candidate
    EXPECT_GT(results().rowCount(), 0);
    EXPECT_EQ(results().cell(0, 0), third);
}

}  // namespace
