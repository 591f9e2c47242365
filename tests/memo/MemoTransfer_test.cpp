// Copying selected results into the memo list (loadMemoList) and saving them as a pad from
// the main window's side of the chooser; the find dialog; the dial, web-call and print
// hand-offs.
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTreeView>

#include "CapturingShell.h"
#include "DatabaseFault.h"
#include "MemoHandoffs.h"
#include "MemoWindowFixture.h"
#include "frmDial.h"
#include "frmMemoOpen.h"
#include "frmMemoSearch.h"
#include "frmPrint.h"

namespace {

// Result lists as the main window has them: name, telephone, postcode, address, and for
// businesses category and department.
class Transfer : public MemoWindowFixture {
protected:
    void SetUp() override {
        MemoWindowFixture::SetUp();
        for (QTreeView* view : {&m_result, &m_dong}) {
            auto* model = new QStandardItemModel(0, 6, view);
            view->setModel(model);
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
            view->setSelectionBehavior(QAbstractItemView::SelectRows);
        }
    }
    void addRows(QTreeView& view, const QString& tag, int n) {
        auto* model = static_cast<QStandardItemModel*>(view.model());
        for (int i = 1; i <= n; ++i) {
            QList<QStandardItem*> row;
            for (const QString& cell :
                 {tag + QString::number(i), QStringLiteral("(02)735-%1").arg(1000 + i),
                  QStringLiteral("110-040"), QStringLiteral("종로구 %1").arg(i),
                  QStringLiteral("업종%1").arg(i), QStringLiteral("부서%1").arg(i)}) {
                row << new QStandardItem(cell);
            }
            model->appendRow(row);
        }
    }
    void select(QTreeView& view, std::initializer_list<int> rows) {
        for (int r : rows) {
            view.selectionModel()->select(view.model()->index(r, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    std::vector<int> selected(QTreeView& view) {
        std::vector<int> rows;
        for (int r = 0; r < view.model()->rowCount(); ++r) {
            if (view.selectionModel()->isRowSelected(r, {})) rows.push_back(r);
        }
        return rows;
    }
    MemoTransferSource nameSearch() { return {2, 1, false, &m_result, &m_dong}; }
    MemoTransferResult copy(const MemoTransferSource& source) {
        return loadMemoList(source, memo());
    }

    QTreeView m_result;
    QTreeView m_dong;
};

TEST_F(Transfer, SelectedRowsAreAppendedInListOrderAndDeselected) {
    loadMemo();
    memo().appendEntry({"기존", "(02)1-2", "", "", ""});
    addRows(m_result, "김", 4);
    select(m_result, {3, 1});
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(copy(nameSearch()).added, 2);
    EXPECT_EQ(lastMessage(), "알림|2건이 메모되었습니다\r\n메모장에는 3건의 메모가 있습니다.");
    const auto entries = memo().entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1], MemoEntry({"김2", "(02)735-1002", "110-040", "종로구 2", ""}));
    EXPECT_EQ(entries[2][0], "김4");
    EXPECT_TRUE(selected(m_result).empty());
    EXPECT_TRUE(memo().isMemoChange());

    // The names of a dong-wide search come from lvDongResult.
    addRows(m_dong, "박", 2);
    select(m_dong, {0});
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(copy({2, 2, true, &m_result, &m_dong}).added, 1);
    EXPECT_EQ(memo().entries().back()[0], "박1");
}

TEST_F(Transfer, BusinessPadsTakeCategoryAndDepartmentToo) {
    loadMemo(MemoMode::Business);
    addRows(m_result, "상사", 1);
    select(m_result, {0});
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(copy({0, 1, false, &m_result, &m_dong}).added, 1);
    EXPECT_EQ(memo().entries().front(),
              MemoEntry({"상사1", "(02)735-1001", "110-040", "종로구 1", "업종1", "부서1", ""}));
}

TEST_F(Transfer, NothingSelectedOrNoResultListMeansNothingToCopy) {
    loadMemo();
    addRows(m_result, "김", 2);
    for (const MemoTransferSource& source :
         {nameSearch(), MemoTransferSource{0, 2, false, &m_result, &m_dong}}) {
        if (source.searchKindCode == 0) select(m_result, {0});  // but no list is the source
        m_prompt.queueAnswer(PromptAnswer::Ok);
        EXPECT_EQ(copy(source).added, 0);
        EXPECT_EQ(lastMessage(), "알림|메모할 내용을 선택하세요.");
    }
    EXPECT_EQ(list()->topLevelItemCount(), 0);
}

TEST_F(Transfer, TheLimitOf3000StopsTheCopyWithItsCounts) {
    loadMemo();
    for (const MemoEntry& e : makeEntries(MemoMode::People, 2999, "가")) memo().appendEntry(e);
    addRows(m_result, "김", 3);
    select(m_result, {0, 1, 2});
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(copy(nameSearch()).added, 1);
    ASSERT_EQ(m_prompt.messages().size(), 1u);  // no second message after the limit
    EXPECT_EQ(lastMessage(),
              "알림|메모장은 최대 3000건 까지만 전화번호를 메모할 수 있습니다.\r\n\r\n1건이 "
              "메모되었습니다\r\n메모장에는 3000건의 메모가 있습니다.");
    EXPECT_TRUE(m_prompt.messages().back().beep);
    EXPECT_EQ(selected(m_result), (std::vector<int>{1, 2}));

    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(copy(nameSearch()).added, 0);
    EXPECT_TRUE(lastMessage().contains("0건이 메모되었습니다\r\n메모장에는 3000건의"));
    EXPECT_EQ(m_prompt.messages().size(), 2u);
}

// "메모하기" on the main window's side: a new pad, results appended to an existing pad, and
// a save that fails leaving the results selected for another try.
TEST_F(Transfer, ResultsAreSavedIntoANewOrAnExistingPad) {
    seedPad("친구", makeEntries(MemoMode::People, 2, "가"));
    loadMemo();
    addRows(m_result, "김", 3);
    const auto fromMain = [this] { return copy(nameSearch()); };

    select(m_result, {0, 2});
    m_driver.onNext<frmMemoOpen>([this](frmMemoOpen& d) {
        EXPECT_EQ(d.dialogMode(), 3);
        auto* name = d.findChild<QLineEdit*>("txtTableName");
        name->selectAll();
        typeInto(name, "친구");
        m_prompt.queueAnswer(PromptAnswer::Yes);  // "동일한 이름의 메모장이 존재합니다."
        m_prompt.queueAnswer(PromptAnswer::Ok);  // "2건이 메모되었습니다"
        QTest::keyClick(name, Qt::Key_Return);
    });
    memo().saveFromMain(fromMain);
    EXPECT_EQ(m_prompt.messages().at(0).text,
              "동일한 이름의 메모장이 존재합니다.\r\n추가 해서 쓰시겠습니까?");
    auto expected = makeEntries(MemoMode::People, 2, "가");
    expected.push_back({"김1", "(02)735-1001", "110-040", "종로구 1", ""});
    expected.push_back({"김3", "(02)735-1003", "110-040", "종로구 3", ""});
    EXPECT_EQ(storedPad("친구"), expected);
    EXPECT_EQ(list()->topLevelItemCount(), 0);  // the hidden window's list is emptied
    EXPECT_EQ(memo().curMemoNoteName(), "친구");

    // A failed save keeps the dialog and selects the results again; the pad is unchanged.
    select(m_result, {1});
    m_driver.onNext<frmMemoOpen>([this](frmMemoOpen& d) {
        d.findChild<QLineEdit*>("txtTableName")->setText("친구");
        m_prompt.queueAnswer(PromptAnswer::Yes);
        m_prompt.queueAnswer(PromptAnswer::Ok);  // 1건이 메모되었습니다
        m_prompt.queueAnswer(PromptAnswer::Ok);  // the store's error
        telvia::db_fault::reset();
        // The pad is read first (compile, two rows, the end), then the save begins (begin,
        // delete: compile and step, compile the insert); the first insert fails.
        telvia::db_fault::fail_at(9);
        QTest::keyClick(d.findChild<QLineEdit*>("txtTableName"), Qt::Key_Return);
        telvia::db_fault::reset();
        EXPECT_TRUE(m_prompt.messages().back().title.startsWith("오류 (E000"));
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(selected(m_result), (std::vector<int>{1}));
        d.reject();
    });
    memo().saveFromMain(fromMain);
    EXPECT_EQ(storedPad("친구"), expected);
}

// Appending to a pad that cannot be loaded must not replace it by the results alone.
TEST_F(Transfer, AnExistingPadThatCannotBeLoadedIsNotOverwritten) {
    seedPad("친구", makeEntries(MemoMode::People, 2, "가"));
    loadMemo();
    addRows(m_result, "김", 1);
    select(m_result, {0});
    m_driver.onNext<frmMemoOpen>([this](frmMemoOpen& d) {
        d.findChild<QLineEdit*>("txtTableName")->setText("친구");
        m_prompt.queueAnswer(PromptAnswer::Yes);
        m_prompt.queueAnswer(PromptAnswer::Ok);
        telvia::db_fault::reset();
        telvia::db_fault::fail_at(2);  // the first row of the pad
        QTest::keyClick(d.findChild<QLineEdit*>("txtTableName"), Qt::Key_Return);
        telvia::db_fault::reset();
        EXPECT_EQ(lastMessage(), "오류 (E0004)|메모장을 불러올 수 없습니다.");
        EXPECT_EQ(selected(m_result), (std::vector<int>{0}));
        d.reject();
    });
    memo().saveFromMain([this] { return copy(nameSearch()); });
    EXPECT_EQ(storedPad("친구"), makeEntries(MemoMode::People, 2, "가"));
}

TEST_F(Transfer, FindSelectsByTelephoneDigitsAndSortsByTheOption) {
    loadMemo();
    memo().appendEntry({"다", "(02)123-4567", "", "", ""});
    memo().appendEntry({"가", "(031)45-6789", "", "", ""});
    memo().appendEntry({"나", "(051)4567-0000", "", "", ""});
    m_driver.onNext<frmMemoSearch>([](frmMemoSearch& d) {
        EXPECT_FALSE(d.findChild<QRadioButton*>("optSearch_2")->isEnabled());
        auto* text = d.findChild<QLineEdit*>("txtSearch");
        EXPECT_EQ(QApplication::focusWidget(), text);
        QTest::keyClick(text, Qt::Key_Return);
        EXPECT_EQ(d.windowTitle(), "찾을 단어를 입력하세요.");
        QTest::keyClicks(text, "999");
        QTest::keyClick(text, Qt::Key_Return);
        EXPECT_EQ(d.windowTitle(), "찾는 내용이 존재하지 않습니다.");
        QTest::mouseClick(d.findChild<QRadioButton*>("optSearch_1"), Qt::LeftButton);
        text->selectAll();
        QTest::keyClicks(text, "4567");
        QTest::keyClick(text, Qt::Key_Return);
    });
    memo().findCommand();
    // Sorted by the telephone, the two numbers holding 4567 selected.
    QStringList order;
    for (const MemoEntry& e : memo().entries()) order << e[0];
    EXPECT_EQ(order, QStringList({"다", "가", "나"}));
    EXPECT_EQ(selectedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(list()->currentItem()->text(0), "다");
}

TEST_F(Transfer, FindingByDepartmentComparesTheDepartmentColumn) {
    loadMemo(MemoMode::Business);
    memo().appendEntry({"갑", "(02)1-1", "", "", "나업종", "영업부", ""});
    memo().appendEntry({"을", "(02)1-2", "", "", "가업종", "총무부", ""});
    m_driver.onNext<frmMemoSearch>([](frmMemoSearch& d) {
        QTest::mouseClick(d.findChild<QRadioButton*>("optSearch_2"), Qt::LeftButton);
        typeInto(d.findChild<QLineEdit*>("txtSearch"), "총무");
        QTest::keyClick(d.findChild<QLineEdit*>("txtSearch"), Qt::Key_Return);
    });
    memo().findCommand();
    EXPECT_EQ(memo().entries().front()[0], "을");  // sorted by the category column
    EXPECT_EQ(selectedRows(), (std::vector<int>{0}));
}

TEST_F(Transfer, DialWebCallAndPrintHandOverTheirValues) {
    auto dial = memo::dialValues(MemoMode::People, {"김", "(02)123-4567", "", "", "메모"});
    EXPECT_EQ(dial.name, "김");
    EXPECT_EQ(dial.areaCode, "02");
    EXPECT_EQ(dial.number, "123-4567");
    EXPECT_EQ(dial.department, "");
    dial =
        memo::dialValues(MemoMode::Business, {"상사", "(031)45-6789", "", "", "업종", "부서", ""});
    EXPECT_EQ(dial.areaCode, "031");
    EXPECT_EQ(dial.number, "45-6789");
    EXPECT_EQ(dial.department, "업종");  // the fifth cell, as the dialler has always had it
    EXPECT_EQ(memo::webCallNumber("(02)123-4567"), "021234567");

    loadMemo();
    memo().appendEntry({"김", "(02)123-4567", "", "", ""});
    m_prompt.queueAnswer(PromptAnswer::No);
    memo().dialEntry();
    EXPECT_EQ(lastMessage(), "확인|전화관련 환경이 설정되지 않았습니다.\r\n지금 설정하시겠습니까?");
    saveSetting("Option", "ComPort", "1");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    memo().dialEntry();
    EXPECT_EQ(lastMessage(), "알림|전화걸 대상을 선택하세요");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    memo().printCommand();
    EXPECT_EQ(strPrintSource, "메모창:인명");
    EXPECT_TRUE(lastMessage().startsWith("알림|현재 선택된 건수가 없습니다."));

    // With an entry selected each command opens its window.
    list()->setCurrentItem(list()->topLevelItem(0));
    m_driver.onNext<frmDial>([](frmDial& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("txtName")->text(), "김");
        EXPECT_EQ(d.findChild<QLineEdit*>("txtAreaCode")->text(), "02");
        EXPECT_EQ(d.findChild<QLineEdit*>("txtNumber")->text(), "123-4567");
        d.reject();
    });
    memo().dialEntry();
    EXPECT_EQ(m_driver.pending(), 0u);

    memo().printCommand();  // the print window stays up after the command
    auto* preview = memo().findChild<frmPrint*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    preview->close();

    CapturingShell shell;
    const ShellInstaller installed(shell);
    memo().webCallCommand();
    ASSERT_EQ(shell.targets().size(), 1);
    EXPECT_TRUE(shell.targets().front().endsWith("voip.jsp?phonenum=021234567"))
        << shell.targets().front().toStdString();
}

}  // namespace
