// The memo window: its toolbar and menu, the column widths it keeps, the entry commands with
// their limits and questions, and what its prompts do with a pad that has no stored name.
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include "DatabaseFault.h"
#include "MemoWindowFixture.h"
#include "frmMemoAdd.h"
#include "frmMemoOpen.h"

namespace {

using Window = MemoWindowFixture;

// Types into the widget that has the keyboard focus, then presses Enter there.
void typeAndEnter(const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    typeInto(focus, text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

TEST_F(Window, ToolbarAndMenuCarryTheirKeysCaptionsAndTooltips) {
    loadMemo();
    const QList<QAction*> actions = memo().findChild<QToolBar*>("tbToolBar")->actions();
    ASSERT_EQ(actions.size(), 14);
    const QStringList keys = {"new", "load",      "save",   "", "add",  "edit",    "delete",
                              "",    "allselect", "search", "", "dial", "webcall", "print"};
    const QStringList tips = {"새 메모장 만들기",
                              "메모장 열기",
                              "메모장 저장",
                              "",
                              "새 메모 입력",
                              "메모 내용 수정",
                              "선택한 메모 삭제",
                              "",
                              "메모 내용 전체 선택하기",
                              "메모에서 찾기",
                              "",
                              "선택한 항목으로 전화 걸기",
                              "",
                              "선택한 내용을 인쇄"};
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(actions[i]->isSeparator(), keys[i].isEmpty()) << i;
        if (keys[i].isEmpty()) continue;
        EXPECT_EQ(actions[i], memo().toolbarButton(keys[i])) << i;
        if (!tips[i].isEmpty()) {
            EXPECT_EQ(actions[i]->toolTip(), tips[i]) << i;
        }
    }
    EXPECT_EQ(memo().toolbarButton("webcall")->text(), "Callora");
    EXPECT_EQ(memo().toolbarButton("allselect")->text(), "전체선택");

    QStringList captions;
    for (QAction* a : memo().popupMenu()->actions())
        captions << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(captions,
              QStringList({"전체 선택", "찾     기", "-", "편     집", "삭     제", "추     가",
                           "-", "전화 걸기", "라벨  인쇄", "표 인쇄", "-", "취     소"}));
    // Nothing to act on yet: the commands on entries wait.
    memo().refreshCaption();
    EXPECT_EQ(memo().windowTitle(), "Telvia 메모장 : 0건");
    EXPECT_FALSE(memo().toolbarButton("edit")->isEnabled());
    EXPECT_TRUE(memo().toolbarButton("add")->isEnabled());
    EXPECT_TRUE(memo().findChild<QLineEdit*>("txtTitle")->isReadOnly());
}

TEST_F(Window, ADatabaseThatCannotBeCreatedEndsTheLoad) {
    QFile blocker(m_tmp.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    strDatPath = m_tmp.filePath("blocker/dat/");  // under a file: no folder can be made
    m_prompt.queueAnswer(PromptAnswer::Ok);
    frmMemo window(MemoMode::People);
    EXPECT_FALSE(window.loadWindow());
    EXPECT_EQ(lastMessage(),
              "오류 (E0005)|하드디스크 여유 공간이 없거나 하드디스크에 오류가 있습니다.\r\n\r\n"
              "메모장을 생성할 수 없습니다.");
    EXPECT_TRUE(m_prompt.messages().back().beep);
}

TEST_F(Window, HeaderClicksSortOneWayThenTheOther) {
    loadMemo();
    for (const char* name : {"나", "다", "가"}) memo().appendEntry({name, "(02)1-1", "", "", ""});
    memo().setCurloadState(true);
    memo().show();
    QHeaderView* header = list()->header();
    const auto names = [this] {
        QStringList out;
        for (const MemoEntry& e : memo().entries()) out << e[0];
        return out;
    };
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    EXPECT_EQ(names(), QStringList({"가", "나", "다"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    EXPECT_EQ(names(), QStringList({"다", "나", "가"}));
    memo().hide();
}

TEST_F(Window, ColumnWidthsComeBackAsStoredWithTheTrailingColon) {
    loadMemo();
    m_memo->unloadWindow();
    EXPECT_EQ(setting("Memo", "HeaderWidthH"), "1000:1000:1000:3000:1000:");
    EXPECT_FALSE(setting("Memo", "Width").isEmpty());

    // Read back in column order; a short text leaves the other columns at design width.
    saveSetting("Memo", "HeaderWidthC", "2000:1500:");
    loadMemo(MemoMode::Business);
    QHeaderView* header = list()->header();
    EXPECT_EQ(header->sectionSize(0), 2000 / 15);
    EXPECT_EQ(header->sectionSize(1), 1500 / 15);
    EXPECT_EQ(header->sectionSize(5), 5000 / 15);
    header->resizeSection(3, 300);  // the user widens the address
    m_memo->unloadWindow();
    EXPECT_EQ(setting("Memo", "HeaderWidthC"), "2000:1500:1000:4500:2000:5000:1000:");
}

TEST_F(Window, AddingStopsAt3000AndTheDialogBuildsTheTelephone) {
    loadMemo();
    for (const MemoEntry& e : makeEntries(MemoMode::People, 2999, "가")) memo().appendEntry(e);
    memo().setCurloadState(true);
    memo().show();

    // At 2999 the dialog opens; Enter walks name, area code, then the address boxes.
    m_driver.onNext<frmMemoAdd>([](frmMemoAdd& d) {
        EXPECT_EQ(d.windowTitle(), "인명 메모 추가");
        EXPECT_FALSE(d.box(3)->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), d.box(0));
        typeAndEnter("홍길동");
        EXPECT_EQ(QApplication::focusWidget(), d.box(1));
        QTest::keyClicks(d.box(1), "02");
        QTest::keyClicks(d.box(6), "123");
        QTest::keyClicks(d.box(7), "45678901");  // typing stops at seven characters
        QTest::keyClick(d.box(1), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), d.box(2));
        typeAndEnter("서울 종로구");
        EXPECT_EQ(QApplication::focusWidget(), d.box(5));
        QTest::keyClick(d.box(5), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), d.findChild<QPushButton*>("cmdOK"));
        QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    clickButton("add");
    EXPECT_EQ(m_driver.pending(), 0u);
    ASSERT_EQ(list()->topLevelItemCount(), 3000);
    EXPECT_EQ(list()->topLevelItem(2999)->text(0), "홍길동");
    EXPECT_EQ(list()->topLevelItem(2999)->text(1), "(02)123-4567890");
    EXPECT_EQ(list()->topLevelItem(2999)->text(3), "서울 종로구");
    EXPECT_TRUE(memo().isMemoChange());
    EXPECT_EQ(memo().windowTitle(), "Telvia 메모장 : 3000건");

    // At 3000 it is refused.
    m_prompt.queueAnswer(PromptAnswer::Ok);
    clickButton("add");
    EXPECT_EQ(lastMessage(), "알림|메모장은 최대 3000건 까지 메모할 수 있습니다.");
    EXPECT_TRUE(m_prompt.messages().back().beep);
    EXPECT_EQ(list()->topLevelItemCount(), 3000);
    memo().hide();
}

TEST_F(Window, TheEntryDialogRefusesMissingNameOrNumber) {
    m_driver.onNext<frmMemoAdd>([this](frmMemoAdd& d) {
        m_prompt.queueAnswer(PromptAnswer::Ok);
        QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        EXPECT_EQ(lastMessage(), "오류 (A0001)|상호(이름)를 입력하지 않았습니다.");
        EXPECT_EQ(m_prompt.messages().back().icon, PromptIcon::Error);
        typeInto(d.box(0), "(주)한빛");
        QTest::keyClicks(d.box(1), "031");
        QTest::keyClicks(d.box(7), "6789");
        m_prompt.queueAnswer(PromptAnswer::Ok);
        QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        EXPECT_EQ(lastMessage(), "오류 (A0002)|번호를 입력하지 않았습니다.");
        EXPECT_EQ(QApplication::focusWidget(), d.box(1));
        EXPECT_TRUE(d.isVisible());
        // Business entries: Enter goes from the number to the department, then the address.
        QTest::keyClick(d.box(1), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), d.box(4));
        QTest::keyClicks(d.box(6), "45");
        typeInto(d.box(3), "인쇄");
        typeInto(d.box(4), "영업부");
        QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    loadMemo(MemoMode::Business);
    memo().addEntry();
    ASSERT_EQ(list()->topLevelItemCount(), 1);
    EXPECT_EQ(memo().entries().front(),
              MemoEntry({"(주)한빛", "(031)45-6789", "", "", "인쇄", "영업부", ""}));
}

TEST_F(Window, EditingFillsTheBoxesAndKeepsLongCopiedTextWhole) {
    loadMemo();
    const QString longAddress = QString(60, QChar(u'동'));
    memo().appendEntry({"김영희", "(02)123-4567", "110-123", longAddress, "친구"});
    list()->setCurrentItem(list()->topLevelItem(0));
    m_driver.onNext<frmMemoAdd>([&](frmMemoAdd& d) {
        EXPECT_EQ(d.windowTitle(), "인명 메모 편집");
        EXPECT_EQ(d.boxText(1), "02");
        EXPECT_EQ(d.boxText(6), "123");
        EXPECT_EQ(d.boxText(7), "4567");
        EXPECT_EQ(d.boxText(2), longAddress);
        // Typing at the end of a text past its limit does nothing; deleting works.
        auto* address = static_cast<QLineEdit*>(d.box(2));
        address->setFocus();
        address->end(false);
        QTest::keyClicks(address, "x");
        EXPECT_EQ(address->text(), longAddress);
        QTest::keyClick(address, Qt::Key_Backspace);
        EXPECT_EQ(address->text(), longAddress.left(59));
        QTest::keyClicks(address, "y");
        EXPECT_EQ(address->text(), longAddress.left(59));
        QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    memo().editEntry();
    EXPECT_EQ(memo().entries().front(),
              MemoEntry({"김영희", "(02)123-4567", "110-123", longAddress.left(59), "친구"}));
    EXPECT_TRUE(memo().isMemoChange());

    memo().clearList();
    m_prompt.queueAnswer(PromptAnswer::Ok);
    memo().editEntry();
    EXPECT_EQ(lastMessage(), "오류 (E0006)|편집할 내용이 없습니다.");
}

TEST_F(Window, DeletingAsksAndNeedsASelection) {
    loadMemo();
    for (const MemoEntry& e : makeEntries(MemoMode::People, 4, "가")) memo().appendEntry(e);
    memo().setCurloadState(true);
    memo().show();
    list()->setFocus();

    m_prompt.queueAnswer(PromptAnswer::Yes);
    m_prompt.queueAnswer(PromptAnswer::Ok);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(lastMessage(), "알림|삭제할 내용을 선택하세요.");
    EXPECT_EQ(list()->topLevelItemCount(), 4);
    EXPECT_FALSE(memo().isMemoChange());

    clickRow(1);
    clickRow(3, Qt::ControlModifier);
    m_prompt.queueAnswer(PromptAnswer::No);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(list()->topLevelItemCount(), 4);
    m_prompt.queueAnswer(PromptAnswer::Yes);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(m_prompt.messages().back().text, "메모를 삭제할까요?");
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(list()->topLevelItem(1)->text(0), "가3");
    EXPECT_TRUE(memo().isMemoChange());
    EXPECT_EQ(memo().windowTitle(), "Telvia 메모장 : 2건");

    // "*" selects all, and again clears; with all selected the list empties.
    QTest::keyClicks(list(), "*");
    EXPECT_EQ(selectedRows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(memo().popupMenu()->actions().front()->text(), "전체 선택 해제");
    QTest::keyClicks(list(), "*");
    EXPECT_TRUE(selectedRows().empty());
    QTest::keyClicks(list(), "*");
    m_prompt.queueAnswer(PromptAnswer::Yes);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_EQ(memo().popupMenu()->actions().front()->text(), "전체 선택");
    EXPECT_FALSE(memo().toolbarButton("delete")->isEnabled());
    memo().hide();
}

// A stored pad whose every entry was deleted is emptied when the window closes, not deleted.
TEST_F(Window, ClosingAfterDeletingEveryEntryEmptiesTheStoredPad) {
    seedPad("친구", makeEntries(MemoMode::People, 3, "가"));
    loadMemo();
    ASSERT_TRUE(memo().exLoadMemo("친구"));
    list()->selectAll();
    m_prompt.queueAnswer(PromptAnswer::Yes);
    memo().deleteEntries();
    m_prompt.queueAnswer(PromptAnswer::Yes);  // "저장되지 않은 메모장이 있습니다."
    memo().closeHandler();
    EXPECT_EQ(m_prompt.messages().back().text,
              "저장되지 않은 메모장이 있습니다.\r\n지금 저장할까요?");
    EXPECT_EQ(storedPad("친구"), std::vector<MemoEntry>());
    EXPECT_EQ(memo().store().padNames(), QStringList{"친구"});
    EXPECT_EQ(memo().titleText(), "");
    EXPECT_EQ(memo().curMemoNoteName(), "새메모장");
}

// Clearing the list without saving is no change to save: a later "Yes" must not empty the
// stored pad the list used to show.
TEST_F(Window, ALaterYesNeverEmptiesAPadWhoseListWasClearedUnsaved) {
    seedPad("친구", makeEntries(MemoMode::People, 3, "가"));
    loadMemo();
    ASSERT_TRUE(memo().exLoadMemo("친구"));
    list()->setCurrentItem(list()->topLevelItem(0));
    m_prompt.queueAnswer(PromptAnswer::Yes);
    memo().deleteEntries();
    ASSERT_TRUE(memo().isMemoChange());

    m_prompt.queueAnswer(PromptAnswer::No);  // do not save before opening another pad
    m_driver.onNext<frmMemoOpen>([](frmMemoOpen& d) { d.reject(); });
    memo().openPadCommand();
    EXPECT_FALSE(memo().isMemoChange());
    memo().closeHandler();  // asks nothing
    EXPECT_EQ(storedPad("친구"), makeEntries(MemoMode::People, 3, "가"));
}

// A prompt to save a pad that was never stored asks for its name instead of failing.
TEST_F(Window, SavingANewPadFromThePromptAsksForItsName) {
    loadMemo();
    for (const MemoEntry& e : makeEntries(MemoMode::People, 2, "가")) memo().appendEntry(e);
    memo().setMemoChange(true);
    m_prompt.queueAnswer(PromptAnswer::Yes);
    m_driver.onNext<frmMemoOpen>([](frmMemoOpen& d) {
        EXPECT_EQ(d.dialogMode(), 2);
        EXPECT_EQ(d.windowTitle(), "메모장 저장");
        auto* name = d.findChild<QLineEdit*>("txtTableName");
        EXPECT_EQ(name->text(), "새메모장");
        EXPECT_EQ(QApplication::focusWidget(), name);
        name->selectAll();
        typeAndEnter("family");
    });
    memo().closeHandler();
    EXPECT_EQ(storedPad("FAMILY"), makeEntries(MemoMode::People, 2, "가"));
    EXPECT_EQ(list()->topLevelItemCount(), 0);
}

TEST_F(Window, SaveCommandTellsSavedOnlyAfterASaveThatWorked) {
    const auto kept = makeEntries(MemoMode::People, 3, "가");
    seedPad("친구", kept);
    loadMemo();
    ASSERT_TRUE(memo().exLoadMemo("친구"));
    memo().clearList();

    // Every entry deleted, then "save": the pad is emptied, or the failure is shown and the
    // pad stays, whichever call into the engine fails.
    telvia::db_fault::reset();
    memo().setMemoChange(true);
    m_prompt.queueAnswer(PromptAnswer::Ok);
    memo().savePadCommand();
    const std::int64_t points = telvia::db_fault::points();
    ASSERT_GT(points, 5);
    for (std::int64_t k = 1; k <= points; ++k) {
        ASSERT_EQ(memo().store().savePad("친구", kept, true).code, 0);
        memo().setMemoChange(true);
        m_prompt.queueAnswer(PromptAnswer::Ok);
        telvia::db_fault::reset();
        telvia::db_fault::fail_at(k);
        memo().savePadCommand();
        telvia::db_fault::reset();
        if (lastMessage() == "알림|친구로 저장했습니다.") {
            EXPECT_EQ(storedPad("친구"), std::vector<MemoEntry>()) << k;
            EXPECT_FALSE(memo().isMemoChange()) << k;
        } else {
            EXPECT_EQ(lastMessage(), "오류 (E0005)|중복된 메모장을 지울 수 없습니다.") << k;
            EXPECT_EQ(storedPad("친구"), kept) << k;
            EXPECT_TRUE(memo().isMemoChange()) << k;
        }
    }

    memo().setMemoChange(false);
    m_prompt.queueAnswer(PromptAnswer::Ok);
    memo().savePadCommand();
    EXPECT_EQ(lastMessage(), "알림|저장할 내용이 없습니다.");
}

// The window's save and load walked through every call into the engine: each failure is
// shown with its message, the stored pad stays and the list is left as it was.
TEST_F(Window, EveryFailingPointOfASaveOrLoadIsShownAndChangesNothing) {
    const auto kept = makeEntries(MemoMode::People, 3, "가");
    seedPad("친구", kept);
    loadMemo();
    const auto next = makeEntries(MemoMode::People, 4, "나");
    for (const MemoEntry& e : next) memo().appendEntry(e);

    telvia::db_fault::reset();
    ASSERT_EQ(memo().enSaveMemo("친구", true), 0);
    const std::int64_t savePoints = telvia::db_fault::points();
    ASSERT_EQ(memo().store().savePad("친구", kept, true).code, 0);
    for (std::int64_t k = 1; k <= savePoints; ++k) {
        memo().setMemoChange(true);
        telvia::db_fault::reset();
        telvia::db_fault::fail_at(k);
        m_prompt.queueAnswer(PromptAnswer::Ok);
        EXPECT_LT(memo().enSaveMemo("친구", true), 0) << k;
        telvia::db_fault::reset();
        const MessageRequest& shown = m_prompt.messages().back();
        EXPECT_TRUE(shown.title == "오류 (E0005)" || shown.title == "오류 (E0004)") << k;
        EXPECT_EQ(shown.icon, PromptIcon::Error);
        EXPECT_TRUE(shown.beep);
        EXPECT_TRUE(memo().isMemoChange()) << k;
        EXPECT_EQ(memo().entries(), next) << k;
        EXPECT_EQ(storedPad("친구"), kept) << k;
    }

    telvia::db_fault::reset();
    ASSERT_TRUE(memo().exLoadMemo("친구"));
    const std::int64_t loadPoints = telvia::db_fault::points();
    memo().clearList();
    for (const MemoEntry& e : next) memo().appendEntry(e);
    memo().setTitleText("다른것");
    for (std::int64_t k = 1; k <= loadPoints; ++k) {
        telvia::db_fault::reset();
        telvia::db_fault::fail_at(k);
        m_prompt.queueAnswer(PromptAnswer::Ok);
        EXPECT_FALSE(memo().exLoadMemo("친구")) << k;
        telvia::db_fault::reset();
        EXPECT_EQ(lastMessage(), "오류 (E0004)|메모장을 불러올 수 없습니다.") << k;
        EXPECT_EQ(memo().entries(), next) << k;
        EXPECT_EQ(memo().titleText(), "다른것") << k;
    }
}

}  // namespace
