// The dong search through the control: scan pages, continuing and restarting, the no-match
// question, the full-page question, surname scans, and the mode switches.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "MainWindowFixture.h"
#include "NameSearch.h"

namespace {

class DongScanTest : public MainWindowFixture {
protected:
    ResultListModel& rows() { return *window().dongModel(); }
    static bool excluded(const SampleListing& l) {
        return l.dong == "10010101" && l.detail == QStringLiteral("텔비아 견본 가입자");
    }
    int subscribersOf(const QString& dong, const QString& surname = {}) {
        int n = 0;
        for (const SampleListing& l : sampleListings()) {
            n += l.dong == dong && l.name.startsWith(surname) && !excluded(l) ? 1 : 0;
        }
        return n;
    }
    void enterDongSearch(const QString& dongKey) {
        ASSERT_TRUE(start());
        clickNode(dongKey);
        window().cmdDongSeekClick();
    }
    // The number of names a page asked the control to walk, read from the range of the
    // scan's progress bar while `run` goes; 0 when no scan ran.
    static int namesWalkedBy(const std::function<void()>& run) {
        int names = 0;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (!w->isVisible() || !w->windowTitle().startsWith("인명검색")) continue;
                if (auto* bar = w->findChild<QProgressBar*>())
                    names = std::max(names, bar->maximum());
            }
        });
        probe.start(0);
        run();
        return names;
    }
};

TEST_F(DongScanTest, APageThatReachesTheRegionsEndSaysTheDongIsListed) {
    enterDongSearch("#10010101");
    EXPECT_EQ(window().searchMode(), SearchMode::Dong);
    EXPECT_FALSE(child<QWidget>("vsDong")->isHidden());
    EXPECT_FALSE(child<QWidget>("lblDongCaption")->isHidden());
    EXPECT_TRUE(child<QPushButton>("cmdNext")->isEnabled());
    click("cmdNext");
    // The sample's Seoul index has fewer than 20,000 names: one page walks them all.
    const int expected = subscribersOf("10010101");
    ASSERT_GT(expected, 0);
    EXPECT_EQ(rows().rowCount(), expected);
    EXPECT_EQ(child<QLabel>("vsElastic11")->text(),
              "현재 검색된 건수는 " + QString::number(expected) +
                  "건 입니다. 지정된 동의 자료를 모두 검색하였습니다.");
    EXPECT_EQ(child<QPushButton>("cmdNext")->text(), "다음찾기");
    EXPECT_EQ(rows().headers(), QStringList({"이름", "전화", "우편번호", "주소"}));
    EXPECT_TRUE(window().blnDongResult());
    EXPECT_TRUE(window().isEnabled());  // the scan gave the window back
    for (int r = 0; r < rows().rowCount(); ++r) {
        EXPECT_FALSE(rows().cell(r, 3).contains("텔비아 견본 가입자"));
    }
    // No next page is offered any more: no endless "go on?" at the end of the region.
    EXPECT_FALSE(child<QPushButton>("cmdNext")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("cmdFull")->isEnabled());
    QTest::mouseClick(child<QPushButton>("cmdNext"), Qt::LeftButton);
    EXPECT_TRUE(m_prompt.messages().empty());
    EXPECT_EQ(rows().rowCount(), expected);
    // Another dong is offered its pages again.
    clickNode("#10010201");
    EXPECT_TRUE(child<QPushButton>("cmdNext")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("cmdFull")->isEnabled());
}

TEST_F(DongScanTest, PagesGoOnWhereTheLastStoppedUntilTheDongIsListed) {
    enterDongSearch("#10010101");
    window().setScanPage(400);
    // Empty pages ask whether to go on (Yes); the end says the dong is listed (OK).
    int questions = 0, listedNotices = 0;
    m_prompt.setOnMessage([&](const MessageRequest& m) {
        if (m.buttons == PromptButtons::YesNo) {
            ++questions;
            m_prompt.queueAnswer(PromptAnswer::Yes);
        } else {
            EXPECT_EQ(m.text, "지정된 동의 자료를 모두 검색하였습니다.");
            EXPECT_EQ(m.title, "알림");
            ++listedNotices;
            m_prompt.queueAnswer(PromptAnswer::Ok);
        }
    });
    auto* next = child<QPushButton>("cmdNext");
    int listed = 0, pages = 0;
    while (next->isEnabled() && pages < 1000) {
        click("cmdNext");
        listed += rows().rowCount();
        ++pages;
    }
    EXPECT_GT(pages, 1) << "a page of 400 names does not walk the Seoul index";
    EXPECT_EQ(listed, subscribersOf("10010101"));
    EXPECT_LE(listedNotices, 1);
    EXPECT_TRUE(
        child<QLabel>("vsElastic11")->text().endsWith("지정된 동의 자료를 모두 검색하였습니다."));
    (void)questions;
}

TEST_F(DongScanTest, YesToTheEmptyPageQuestionFetchesTheNextPageAtOnce) {
    ASSERT_TRUE(start());
    // The region's first name, and a dong where nobody bears it: a page of that one name
    // finds nothing there.
    auto& control = window().zendari1();
    control.putLong(zendari::kDispSetLocal, 10);
    const zendari::Variant none[] = {zendari::ZendariClient::text(QString())};
    control.callBool(zendari::kDispFindKey, none);
    const QString first = control.callText(zendari::kDispGetNext).section(':', 0, 0);
    ASSERT_FALSE(first.isEmpty());
    QString dong;
    for (const QString candidate : {"10010101", "10010201", "10010301", "10020101"}) {
        bool bears = false;
        for (const SampleListing& l : sampleListings())
            bears |= l.dong == candidate && l.name == first;
        if (!bears && subscribersOf(candidate) > 0) {
            dong = candidate;
            break;
        }
    }
    ASSERT_FALSE(dong.isEmpty());
    clickNode("#" + dong);
    window().cmdDongSeekClick();
    window().setScanPage(1);

    // No: the page stays empty and the label says so (not "loading" any more).
    m_prompt.queueAnswer(PromptAnswer::No);
    click("cmdNext");
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    const MessageRequest& m = m_prompt.messages()[0];
    EXPECT_EQ(m.text,
              "현재 지정된 범위에는 자료가 없습니다.\r\n\r\n"
              "다음찾기 버튼을 클릭하여 계속하시겠습니까?");
    EXPECT_EQ(m.title, "확인");
    EXPECT_EQ(m.buttons, PromptButtons::YesNo);
    EXPECT_EQ(m.icon, PromptIcon::Question);
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_EQ(child<QLabel>("vsElastic11")->text(), "현재 검색된 건수는 0건 입니다");
    EXPECT_TRUE(window().isEnabled());

    // Yes: the next page runs at once, without another click, until one lists someone.
    m_prompt.setOnMessage([&](const MessageRequest& asked) {
        m_prompt.queueAnswer(asked.buttons == PromptButtons::YesNo ? PromptAnswer::Yes
                                                                   : PromptAnswer::Ok);
    });
    click("cmdNext");
    EXPECT_GT(rows().rowCount(), 0) << "one click, and the pages went on to a match";
    EXPECT_GE(m_prompt.messages().size(), 1u);
}

TEST_F(DongScanTest, SelectingTheRegionAgainBeforeEachPageKeepsTheScanGoing) {
    // The region is written before every page, even another region in between: the pages
    // still go on from where the last one stopped, and together they list the dong once.
    ASSERT_TRUE(start());
    auto& control = window().zendari1();
    QStringList records;
    for (int page = 0; page < 200; ++page) {  // 200,000 names: past the end of the region
        control.putLong(zendari::kDispSetLocal, page == 1 ? 11 : 10);
        control.putLong(zendari::kDispSetLocal, 10);
        const zendari::Variant args[] = {zendari::ZendariClient::text("10010101"),
                                         std::int32_t{1000}};
        const QString result = control.callText(zendari::kDispGetLocNext, args);
        records += result.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    }
    const qsizetype listed = records.size();
    records.removeDuplicates();
    EXPECT_EQ(records.size(), listed) << "no record comes back on a later page";
    // The sample subscriber of this dong is in the control's answer; the window drops it.
    EXPECT_EQ(listed, subscribersOf("10010101") + 1);
}

TEST_F(DongScanTest, AnotherDongStartsTheScanAgain) {
    enterDongSearch("#10010101");
    window().cmdNextClick();
    ASSERT_GT(rows().rowCount(), 0);
    clickNode("#10010201");
    window().cmdNextClick();
    EXPECT_EQ(rows().rowCount(), subscribersOf("10010201"));
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(DongScanTest, WithoutADongTheScanAsksForOne) {
    enterDongSearch("@1001");
    EXPECT_FALSE(child<QPushButton>("cmdNext")->isEnabled());
    m_prompt.queueAnswer(PromptAnswer::Ok);
    window().cmdNextClick();
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].text,
              "지역선택항목에서 검색하고자하는 동을 지정하여 주십시요?");
    EXPECT_EQ(m_prompt.messages()[0].title, "알림");
}

TEST_F(DongScanTest, FullPageAsksFirstAndNoScansNothing) {
    enterDongSearch("#10010201");
    m_prompt.queueAnswer(PromptAnswer::No);
    window().cmdFullClick();
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].text,
              "동별 전체검색은 검색하는데 시스템에 따라 수십분이\r\n"
              "소요될 수 있습니다. 그래도 계속하시겠습니까 ?");
    EXPECT_EQ(rows().rowCount(), 0);
    m_prompt.queueAnswer(PromptAnswer::Yes);
    window().cmdFullClick();
    EXPECT_EQ(rows().rowCount(), subscribersOf("10010201"));
}

TEST_F(DongScanTest, AFullPageThatNeverRanIsNotLeftForTheNextPage) {
    enterDongSearch("#10010101");
    EXPECT_EQ(namesWalkedBy([&] { window().cmdNextClick(); }), search::kScanPage);

    // The dong's name deleted by hand: "전체 찾기" is agreed to, but asks for a dong instead.
    child<QLineEdit>("txtDong")->clear();
    m_prompt.queueAnswer(PromptAnswer::Yes);
    m_prompt.queueAnswer(PromptAnswer::Ok);
    window().cmdFullClick();
    ASSERT_EQ(m_prompt.messages().size(), 2u);
    EXPECT_EQ(m_prompt.messages()[1].text,
              "지역선택항목에서 검색하고자하는 동을 지정하여 주십시요?");
    // The next ordinary page is an ordinary page, not the long one nobody asked for now.
    clickNode("#10010201");
    EXPECT_EQ(namesWalkedBy([&] { window().cmdNextClick(); }), search::kScanPage);

    // The same after a full page agreed to on a dong of the local listing.
    window().selectRegion(7);
    clickNode("#84010101");
    m_prompt.queueAnswer(PromptAnswer::Yes);
    window().cmdFullClick();
    ASSERT_GT(rows().rowCount(), 0);  // the local listing ran
    window().selectRegion(0);
    clickNode("#10010301");
    EXPECT_EQ(namesWalkedBy([&] { window().cmdNextClick(); }), search::kScanPage);
    // A full page still walks its 390,000 names (from the end of the dong here: nothing more).
    EXPECT_EQ(namesWalkedBy([&] {
                  m_prompt.queueAnswer(PromptAnswer::Yes);
                  m_prompt.queueAnswer(PromptAnswer::Ok);  // nothing more: the dong is listed
                  window().cmdFullClick();
              }),
              search::kFullScanPage);
}

TEST_F(DongScanTest, SurnameScanListsOnlyThatSurname) {
    enterDongSearch("#10010201");
    window().cmdDongSungSearchClick();
    EXPECT_EQ(window().searchMode(), SearchMode::Surname);
    EXPECT_FALSE(child<QWidget>("txtSung")->isHidden());
    EXPECT_FALSE(child<QWidget>("cmdSungSearch")->isHidden());
    EXPECT_TRUE(child<QWidget>("cmdNext")->isHidden());
    QString surname;
    for (const SampleListing& l : sampleListings()) {
        if (l.dong == "10010201") {
            surname = l.name.left(1);
            break;
        }
    }
    ASSERT_FALSE(surname.isEmpty());
    child<QLineEdit>("txtSung")->setText(surname);
    window().cmdSungSearchClick();
    EXPECT_EQ(rows().rowCount(), subscribersOf("10010201", surname));
    for (int r = 0; r < rows().rowCount(); ++r) EXPECT_TRUE(rows().cell(r, 0).startsWith(surname));

    child<QLineEdit>("txtSung")->setText("힣");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    window().cmdSungSearchClick();
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].text, "검색된 결과가 없습니다.");
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::Information);
}

TEST_F(DongScanTest, EndLeavesTheDongSearch) {
    enterDongSearch("#10010101");
    window().cmdNextClick();
    window().cmdEndClick();
    EXPECT_TRUE(child<QWidget>("vsDong")->isHidden());
    EXPECT_FALSE(child<QWidget>("vsSearch")->isHidden());
    EXPECT_FALSE(child<QWidget>("txtSearch")->isHidden());
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_FALSE(window().blnDongResult());
    EXPECT_FALSE(toolbarAction("Print")->isEnabled());
    EXPECT_FALSE(toolbarAction("LabelPrint")->isEnabled());

    // The next dong page offers the print buttons again, the label button with them.
    clickNode("#10010201");
    window().cmdDongSeekClick();
    window().cmdNextClick();
    ASSERT_GT(rows().rowCount(), 0);
    EXPECT_TRUE(toolbarAction("Print")->isEnabled());
    EXPECT_TRUE(toolbarAction("LabelPrint")->isEnabled());
}

TEST_F(DongScanTest, EscInTheProgressWindowStopsThePageAndGivesTheWindowBack) {
    enterDongSearch("#10010101");
    // Esc as soon as the scan's progress window is up.
    bool seen = false;
    QTimer esc;
    QObject::connect(&esc, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowTitle().startsWith("인명검색")) {
                seen = true;
                EXPECT_FALSE(window().isEnabled());  // disabled while the scan runs
                QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(w, &key);
                esc.stop();
            }
        }
    });
    esc.start(0);
    m_prompt.setOnMessage([](const MessageRequest&) {});
    m_prompt.queueAnswer(PromptAnswer::No);  // a page cut short may hold nothing
    window().cmdNextClick();
    EXPECT_TRUE(seen);
    EXPECT_LT(rows().rowCount(), subscribersOf("10010101"));
    EXPECT_TRUE(window().isEnabled());
    m_prompt.clear();
}

}  // namespace
