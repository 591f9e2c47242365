// The main window worked the way a user works it: keys typed where the focus is, clicks on
// the real buttons, boxes, lists, menus and toolbar. A button wired to the wrong slot, a
// command left on or off, or a focus that goes nowhere fails here.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <map>

#include "KoreanClock.h"
#include "MainWindowFixture.h"
#include "search/ResultRows.h"

namespace {

class GuiFlowTest : public MainWindowFixture {
protected:
    QLineEdit* searchBox() { return child<QLineEdit>("txtSearch"); }
    QTreeView* list(const char* name) { return child<QTreeView>(name); }
    bool shown(const char* name) { return !child<QWidget>(name)->isHidden(); }
    // The panes on show, by name.
    QStringList panes() {
        QStringList on;
        for (const char* p : {"vsSearch", "vsResult", "vsDong"}) {
            if (shown(p)) on << p;
        }
        return on;
    }
    // Every command on results, with whether it is enabled: toolbar, menus and pop-up.
    std::map<QString, bool> resultCommands() {
        std::map<QString, bool> state;
        for (const char* key : {"Print", "LabelPrint", "SelectAll"}) {
            state[QString("Toolbar1_") + key] = toolbarAction(key)->isEnabled();
        }
        for (const char* item : {"mnuPrint", "mnuPrintDM", "popupMemo2", "popupMemo", "popupPrint",
                                 "popupSelectAll"}) {
            state[item] = child<QAction>(item)->isEnabled();
        }
        return state;
    }
    ::testing::AssertionResult allResultCommands(bool enabled) {
        for (const auto& [name, on] : resultCommands()) {
            if (on != enabled) {
                return ::testing::AssertionFailure()
                       << name.toStdString() << " is " << (on ? "enabled" : "disabled");
            }
        }
        return ::testing::AssertionSuccess();
    }
    // Types into the widget that has the keyboard focus, as the keyboard would.
    void typeHere(const QString& text) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "nothing has the keyboard focus";
        typeText(focus, text);
    }
    void key(Qt::Key k) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "nothing has the keyboard focus";
        QTest::keyClick(focus, k);
    }
    // A sample name of Seoul with at least `records` records there, the same every run.
    QString seoulName(int records) {
        std::map<QString, int> counts;
        for (const SampleListing& l : sampleListings()) {
            if (l.dong.startsWith("10")) ++counts[l.name];
        }
        for (const auto& [name, n] : counts) {
            if (n >= records) return name;
        }
        return {};
    }
};

TEST_F(GuiFlowTest, TypingAtStartReplacesTheSavedNameAndTheKeysReachTheCandidates) {
    saveSetting("CurrentSearch", "Human", "박");
    ASSERT_TRUE(start());
    // The search box has the focus, its text selected: typing replaces it.
    EXPECT_EQ(QApplication::focusWidget(), searchBox());
    EXPECT_EQ(searchBox()->selectedText(), "박");
    const QString name = seoulName(2);
    ASSERT_FALSE(name.isEmpty());
    typeHere(name.left(1));
    EXPECT_EQ(searchBox()->text(), name.left(1));
    ASSERT_GE(window().searchModel()->rowCount(), 2);
    EXPECT_TRUE(window().searchModel()->cell(0, 0).startsWith(name.left(1)));

    // Down goes into the candidates, Down again to the second, Enter searches that one.
    key(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), list("lvSearch"));
    EXPECT_EQ(list("lvSearch")->currentIndex().row(), 0);
    key(Qt::Key_Down);
    const QString second = window().searchModel()->cell(1, 0);
    key(Qt::Key_Return);
    EXPECT_EQ(panes(), QStringList{"vsResult"});
    ASSERT_GT(window().resultModel()->rowCount(), 0);
    EXPECT_EQ(window().resultModel()->cell(0, 0), second);
    EXPECT_TRUE(allResultCommands(true));
    EXPECT_TRUE(window().statusText(3).endsWith("건이 검색되었습니다."));

    // A click into the search box goes back to the input, its text selected for the next name.
    QTest::mouseClick(searchBox(), Qt::LeftButton);
    QTest::qWait(1);  // the selection follows the click's own handling
    EXPECT_EQ(searchBox()->selectedText(), searchBox()->text());
    EXPECT_EQ(panes(), QStringList{"vsSearch"});
    EXPECT_TRUE(allResultCommands(false));
    typeHere(name);
    EXPECT_EQ(searchBox()->text(), name);
    click("cmdSearch");
    EXPECT_EQ(window().resultModel()->cell(0, 0), name);
    EXPECT_FALSE(child<QPushButton>("cmdSearch")->isEnabled());
}

TEST_F(GuiFlowTest, ADoubleClickOnACandidateSearchesIt) {
    ASSERT_TRUE(start());
    searchBox()->setFocus();
    typeHere(QStringLiteral("김"));
    ASSERT_GE(window().searchModel()->rowCount(), 3);
    const QString third = window().searchModel()->cell(2, 0);
    QTreeView* candidates = list("lvSearch");
    const QRect where = candidates->visualRect(window().searchModel()->index(2, 0));
    QTest::mouseClick(candidates->viewport(), Qt::LeftButton, {}, where.center());
    EXPECT_EQ(searchBox()->text(), third);  // a click copies the name
    QTest::mouseDClick(candidates->viewport(), Qt::LeftButton, {}, where.center());
    ASSERT_GT(window().resultModel()->rowCount(), 0);
    EXPECT_EQ(window().resultModel()->cell(0, 0), third);
}

TEST_F(GuiFlowTest, TheSearchKindBoxSwitchesKindsFromTheKeyboard) {
    ASSERT_TRUE(start());
    auto* kind = child<QComboBox>("cmbSearchKind");
    kind->setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(kind->currentText(), "동별검색");
    EXPECT_EQ(window().searchMode(), SearchMode::Dong);
    EXPECT_EQ(panes(), QStringList{"vsDong"});
    EXPECT_FALSE(toolbarAction("First")->isEnabled());
    EXPECT_FALSE(toolbarAction("Next")->isEnabled());
    EXPECT_TRUE(shown("lblDongCaption"));
    EXPECT_FALSE(shown("txtSearch"));
    EXPECT_FALSE(child<QPushButton>("cmdNext")->isEnabled()) << "no dong chosen yet";
    key(Qt::Key_Up);
    EXPECT_EQ(window().searchMode(), SearchMode::Name);
    EXPECT_EQ(panes(), QStringList{"vsSearch"});
    EXPECT_TRUE(toolbarAction("First")->isEnabled());
    EXPECT_TRUE(shown("txtSearch"));
    EXPECT_FALSE(shown("lblDongCaption"));
}

TEST_F(GuiFlowTest, TheRegionBoxBuildsTheNewTreeAndANewSearchClearsTheOldCount) {
    ASSERT_TRUE(start());
    // A local exact-name search leaves its count above the lists.
    child<QComboBox>("cmbArea")->setFocus();
    for (int i = 0; i < 7; ++i) key(Qt::Key_Down);  // 충북 (84/65, the local listing)
    ASSERT_EQ(window().intLoadedArea(), 7);
    clickNode("#84010101");
    QString local;
    for (const SampleListing& l : sampleListings()) {
        if (l.dong.startsWith("84010101")) local = l.name;
    }
    ASSERT_FALSE(local.isEmpty());
    searchBox()->setFocus();
    typeHere(local);
    key(Qt::Key_Return);  // Enter takes the route of the search button: the local listing
    const int viaEnter = window().resultModel()->rowCount();
    ASSERT_GT(viaEnter, 0);
    EXPECT_TRUE(child<QLabel>("vsElastic3")->text().endsWith("건이 검색되었습니다"));
    QTest::mouseClick(searchBox(), Qt::LeftButton);
    click("cmdSearch");
    EXPECT_EQ(window().resultModel()->rowCount(), viaEnter);

    // Another region and another name: the old count is gone.
    child<QComboBox>("cmbArea")->setFocus();
    key(Qt::Key_Up);
    EXPECT_EQ(window().intLoadedArea(), 6);
    EXPECT_TRUE(child<QLineEdit>("txtDong")->text().isEmpty());
    QTest::mouseClick(searchBox(), Qt::LeftButton);
    typeHere(QStringLiteral("이"));
    EXPECT_TRUE(child<QLabel>("vsElastic3")->text().isEmpty());
}

TEST_F(GuiFlowTest, DongPagesByTheButtonsAndEndTurnsEveryResultCommandOff) {
    ASSERT_TRUE(start());
    // Name results on show first: the dong pane hides them, and their commands go with them.
    QString seoul;  // a name listed in the region the window selects at start
    for (const SampleListing& l : sampleListings()) {
        if (l.dong.startsWith("10")) seoul = l.name;
    }
    ASSERT_FALSE(seoul.isEmpty());
    searchBox()->setFocus();
    typeHere(seoul);
    key(Qt::Key_Return);
    ASSERT_GT(window().resultModel()->rowCount(), 0);
    ASSERT_TRUE(allResultCommands(true));
    click("cmdDongSeek");
    EXPECT_EQ(panes(), QStringList{"vsDong"});
    EXPECT_TRUE(allResultCommands(false));
    EXPECT_EQ(window().searchMode(), SearchMode::Dong);
    clickNode("#10010101");
    EXPECT_EQ(panes(), QStringList{"vsDong"}) << "picking the dong keeps the dong pane";
    click("cmdNext");
    EXPECT_GT(window().dongModel()->rowCount(), 0);
    EXPECT_TRUE(allResultCommands(true));

    // The pop-up of the list selects all, and "*" clears them again.
    QTreeView* dong = list("lvDongResult");
    QTest::mouseClick(dong->viewport(), Qt::RightButton, {}, QPoint(20, 10));
    auto* popup = child<QMenu>("mnuPopUp");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    const QRect item = popup->actionGeometry(child<QAction>("popupSelectAll"));
    QTest::mouseClick(popup, Qt::LeftButton, {}, item.center());
    EXPECT_EQ(dong->selectionModel()->selectedRows().size(), window().dongModel()->rowCount());
    dong->setFocus();
    QTest::keyClicks(dong, "*");
    EXPECT_TRUE(dong->selectionModel()->selectedRows().isEmpty());

    click("cmdEnd");
    EXPECT_EQ(panes(), QStringList{"vsSearch"});
    EXPECT_TRUE(allResultCommands(false));
    EXPECT_EQ(window().dongModel()->rowCount(), 0);
    EXPECT_FALSE(window().blnDongResult());
    EXPECT_EQ(window().searchMode(), SearchMode::Name);
}

TEST_F(GuiFlowTest, ASurnameOfTwoSyllablesListsItsOwnPeopleOnly) {
    ASSERT_TRUE(start());
    // The Seoul dong with the most people of a two-syllable surname.
    std::map<QString, int> perDong;
    QString surname;
    for (const QString s : {"남궁", "황보", "제갈", "선우"}) {
        for (const SampleListing& l : sampleListings()) {
            if (l.name.startsWith(s) && l.dong.startsWith("10")) ++perDong[s + "|" + l.dong];
        }
    }
    QString best;
    for (const auto& [key, n] : perDong) {
        if (best.isEmpty() || n > perDong[best]) best = key;
    }
    ASSERT_FALSE(best.isEmpty()) << "no two-syllable surname in the sample";
    surname = best.section('|', 0, 0);
    const QString dong = best.section('|', 1, 1);
    int expected = 0;
    for (const SampleListing& l : sampleListings()) {
        expected += l.dong == dong && l.name.startsWith(surname) &&
                    l.detail != QStringLiteral("텔비아 견본 가입자");
    }
    click("cmdDongSungSearch");
    ASSERT_EQ(window().searchMode(), SearchMode::Surname);
    clickNode("#" + dong);
    auto* sung = child<QLineEdit>("txtSung");
    QTest::mouseClick(sung, Qt::LeftButton);
    typeText(sung, surname);
    click("cmdSungSearch");
    ASSERT_EQ(window().dongModel()->rowCount(), expected);
    for (int r = 0; r < expected; ++r) {
        EXPECT_TRUE(window().dongModel()->cell(r, 0).startsWith(surname))
            << window().dongModel()->cell(r, 0).toStdString();
    }
}

TEST_F(GuiFlowTest, FullPageAsksAndTheWindowNeverChangesItsWidth) {
    ASSERT_TRUE(start());
    // As narrow as the window lets itself be: a label that needs room would widen it.
    window().resize(window().minimumSizeHint().width(), window().height());
    QCoreApplication::processEvents();
    const int width = window().width();
    click("cmdDongSeek");
    clickNode("#10010201");
    m_prompt.queueAnswer(PromptAnswer::Yes);
    click("cmdFull");
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].title, "확인");
    EXPECT_GT(window().dongModel()->rowCount(), 0);
    // A wide listing scrolled sideways; leaving it and coming back shows a list at home.
    QScrollBar* across = list("lvDongResult")->horizontalScrollBar();
    list("lvDongResult")->header()->resizeSection(3, 4000);
    across->setValue(across->maximum());
    const int minimumBefore = window().centralWidget()->minimumSizeHint().width();
    click("cmdEnd");  // the prompt label comes back beside the search box
    EXPECT_EQ(window().width(), width);
    EXPECT_EQ(window().centralWidget()->minimumSizeHint().width(), minimumBefore)
        << "the room the window needs grew with the label";
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window(), 1000))
        << "the scan gave the window back, active";
    auto* kind = child<QComboBox>("cmbSearchKind");
    kind->setFocus();
    key(Qt::Key_Down);  // the dong kind shows its own label
    EXPECT_EQ(window().width(), width);
    EXPECT_EQ(across->value(), 0);
    key(Qt::Key_Up);
    EXPECT_EQ(window().width(), width);
}

TEST_F(GuiFlowTest, SelectAllFollowsWhatTheListShows) {
    ASSERT_TRUE(start());
    const QString name = seoulName(3);
    ASSERT_FALSE(name.isEmpty());
    searchBox()->setFocus();
    typeHere(name);
    key(Qt::Key_Return);
    QTreeView* results = list("lvResult");
    const int rows = window().resultModel()->rowCount();
    ASSERT_GE(rows, 3);
    clickToolbar("SelectAll");
    EXPECT_EQ(results->selectionModel()->selectedRows().size(), rows);
    // One row clicked: not all are selected any more, so the next select-all selects again.
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                      results->visualRect(window().resultModel()->index(1, 0)).center());
    ASSERT_EQ(results->selectionModel()->selectedRows().size(), 1);
    clickToolbar("SelectAll");
    EXPECT_EQ(results->selectionModel()->selectedRows().size(), rows);
    EXPECT_EQ(child<QAction>("popupSelectAll")->text(), "전체 선택 해제");
    // A new search lists rows nobody selected: select-all selects them.
    clickToolbar("Next");
    EXPECT_TRUE(results->selectionModel()->selectedRows().isEmpty());
    clickToolbar("SelectAll");
    EXPECT_EQ(results->selectionModel()->selectedRows().size(), window().resultModel()->rowCount());
}

// The initial consonants of a name, by the syllable formula (other characters as they are).
QString initialsOf(const QString& name) {
    static const QString kInitials = QStringLiteral("ㄱㄲㄴㄷㄸㄹㅁㅂㅃㅅㅆㅇㅈㅉㅊㅋㅌㅍㅎ");
    QString out;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        out += u >= 0xAC00 && u <= 0xD7A3 ? kInitials[(u - 0xAC00) / (21 * 28)] : c;
    }
    return out;
}

TEST_F(GuiFlowTest, ConsonantsTypedListFullNamesByTheirInitials) {
    // A 김영수 of 인천/경기 (the fourth area) in a region index where no more than 29 names of
    // the same initials come before it (more records first, then by name): it must be listed.
    std::map<int, std::map<QString, int>> counts;  // region -> name -> records
    for (const SampleListing& l : sampleListings())
        ++counts[search::indexRegionCode(l.dong)][l.name];
    QString dong;
    for (const SampleListing& l : sampleListings()) {
        const int region = search::indexRegionCode(l.dong);
        if (l.name != QStringLiteral("김영수") || (region != 12 && region != 72)) continue;
        const int mine = counts[region][l.name];
        int before = 0;
        for (const auto& [name, n] : counts[region])
            before += initialsOf(name) == QStringLiteral("ㄱㅇㅅ") &&
                      (n > mine || (n == mine && name < l.name));
        if (before < 30) dong = l.dong;
    }
    ASSERT_FALSE(dong.isEmpty()) << "the sample holds no 김영수 that the first page would list";
    const int region = search::indexRegionCode(dong);
    int matching = 0;
    for (const auto& [name, n] : counts[region]) matching += initialsOf(name).startsWith("ㄱㅇㅅ");

    ASSERT_TRUE(start());
    child<QComboBox>("cmbArea")->setFocus();
    for (int i = 0; i < 3; ++i) key(Qt::Key_Down);
    ASSERT_EQ(window().intLoadedArea(), 3);
    clickNode("#" + dong);
    QTest::mouseClick(searchBox(), Qt::LeftButton);
    QTest::keyClick(searchBox(), Qt::Key_A, Qt::ControlModifier);  // over whatever it held
    typeHere(QStringLiteral("ㄱㅇㅅ"));
    EXPECT_EQ(searchBox()->text(), "ㄱㅇㅅ");
    QStringList candidates;
    for (int r = 0; r < window().searchModel()->rowCount(); ++r)
        candidates << window().searchModel()->cell(r, 0);
    EXPECT_TRUE(candidates.contains(QStringLiteral("김영수")))
        << candidates.join(' ').toStdString();
    EXPECT_EQ(candidates.size(), std::min(matching, 30));
    for (const QString& c : candidates)
        EXPECT_TRUE(initialsOf(c).startsWith("ㄱㅇㅅ")) << c.toStdString();

    // The surname typed whole, the rest as consonants: only that surname's names.
    QTest::keyClick(searchBox(), Qt::Key_A, Qt::ControlModifier);
    typeHere(QStringLiteral("김ㅇㅅ"));
    ASSERT_GT(window().searchModel()->rowCount(), 0);
    for (int r = 0; r < window().searchModel()->rowCount(); ++r) {
        const QString c = window().searchModel()->cell(r, 0);
        EXPECT_TRUE(c.startsWith("김") && initialsOf(c).startsWith("ㄱㅇㅅ")) << c.toStdString();
    }
    // 김영수 chosen lists its records in the dong, as after any other lookup.
    int row = 0;
    while (row < window().searchModel()->rowCount() &&
           window().searchModel()->cell(row, 0) != QStringLiteral("김영수"))
        ++row;
    ASSERT_LT(row, window().searchModel()->rowCount());
    for (int i = 0; i <= row; ++i) key(Qt::Key_Down);
    key(Qt::Key_Return);
    ASSERT_GT(window().resultModel()->rowCount(), 0);
    EXPECT_EQ(window().resultModel()->cell(0, 0), "김영수");
}

TEST_F(GuiFlowTest, TheLoadBuildsOneTreeAndTheToolbarIsOneSetOfIcons) {
    saveSetting("Main", "CurrentArea", "7");
    ASSERT_TRUE(start());
    EXPECT_EQ(window().treeLoads(), 1) << "the stored area's tree, then area 0's";
    auto* bar = child<QToolBar>("Toolbar1");
    const QSize size = bar->iconSize();
    EXPECT_EQ(size, QSize(24, 24));
    QList<qint64> images;
    for (QAction* a : bar->actions()) {
        const QPixmap pix = a->icon().pixmap(size);
        EXPECT_EQ(pix.size(), size) << a->text().toStdString();
        images << pix.toImage().cacheKey();
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    }
    EXPECT_EQ(images.size(), 9);
    // The clock reads as a Korean desktop shows it.
    EXPECT_TRUE(QRegularExpression("^(오전|오후) \\d{1,2}:\\d{2}$")
                    .match(window().statusText(1))
                    .hasMatch())
        << window().statusText(1).toStdString();
    EXPECT_EQ(koreanClock(QTime(0, 5)), "오전 12:05");
    EXPECT_EQ(koreanClock(QTime(9, 30)), "오전 9:30");
    EXPECT_EQ(koreanClock(QTime(12, 0)), "오후 12:00");
    EXPECT_EQ(koreanClock(QTime(23, 59)), "오후 11:59");
}

}  // namespace
