// The result-list commands: sorting, select-all, the print source, dialling, the web call.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeView>

#include "MainWindowFixture.h"
#include "startup/ProgramGlobals.h"

namespace {

class ResultCommandsTest : public MainWindowFixture {
protected:
    // A name search with several rows on show in lvResult.
    void searchSeveral() {
        ASSERT_TRUE(start());
        // A name with several subscribers in Seoul proper (the first region's first node).
        QHash<QString, int> counts;
        QString name;
        for (const SampleListing& l : sampleListings()) {
            if (l.dong.startsWith("10") && ++counts[l.name] == 3) {
                name = l.name;
                break;
            }
        }
        ASSERT_FALSE(name.isEmpty());
        child<QLineEdit>("txtSearch")->setText(name);
        window().searchCommand();
        ASSERT_GE(window().resultModel()->rowCount(), 2);
    }
    QTreeView* results() { return child<QTreeView>("lvResult"); }
    void selectRow(int row) {
        results()->selectionModel()->select(
            window().resultModel()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        results()->setCurrentIndex(window().resultModel()->index(row, 0));
    }
};

TEST_F(ResultCommandsTest, EachHeaderClickFlipsTheListsOrder) {
    searchSeveral();
    QHeaderView* header = results()->header();
    auto column = [&](int c) {
        QStringList v;
        for (int r = 0; r < window().resultModel()->rowCount(); ++r) {
            v << window().resultModel()->cell(r, c);
        }
        return v;
    };
    auto ascending = [](QStringList v) {
        std::stable_sort(v.begin(), v.end(),
                         [](auto& a, auto& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        return v;
    };
    emit header->sectionClicked(1);
    EXPECT_EQ(column(1), ascending(column(1)));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    emit header->sectionClicked(1);
    QStringList down = ascending(column(1));
    std::reverse(down.begin(), down.end());
    EXPECT_EQ(column(1), down);
    emit header->sectionClicked(2);  // another column: the order flips again, to ascending
    EXPECT_EQ(column(2), ascending(column(2)));
    EXPECT_EQ(header->sortIndicatorSection(), 2);
}

TEST_F(ResultCommandsTest, SelectAllTogglesAndRenamesItsMenuItem) {
    searchSeveral();
    QAction* item = child<QAction>("popupSelectAll");
    const int n = window().resultModel()->rowCount();
    window().selectAll();
    EXPECT_EQ(results()->selectionModel()->selectedRows().size(), n);
    EXPECT_EQ(item->text(), "전체 선택 해제");
    QTest::keyClicks(results(), "*");  // the same command from the keyboard
    EXPECT_EQ(results()->selectionModel()->selectedRows().size(), 0);
    EXPECT_EQ(item->text(), "전체 선택");
}

TEST_F(ResultCommandsTest, PrintSourceFollowsTheListOnShow) {
    searchSeveral();
    strPrintSource = "메모창:인명";
    EXPECT_EQ(window().printCommand(), "결과창:인명");
    EXPECT_EQ(strPrintSource, "결과창:인명");
}

TEST_F(ResultCommandsTest, BackFromTheDongKindThePrintSourceIsTheNameResults) {
    ASSERT_TRUE(start());
    auto* kind = child<QComboBox>("cmbSearchKind");
    clickNode("#10010101");
    kind->setCurrentIndex(1);
    window().setUpSearchKind();
    window().cmdNextClick();
    ASSERT_GT(window().dongModel()->rowCount(), 0);
    EXPECT_EQ(window().printCommand(), "동결과:인명");

    // The name kind empties the dong list: a name search's rows are what is on show.
    kind->setCurrentIndex(0);
    window().setUpSearchKind();
    EXPECT_EQ(window().dongModel()->rowCount(), 0);
    QString name;
    for (const SampleListing& l : sampleListings()) {
        if (l.dong == "10010101" && l.name != QStringLiteral("홍길동")) name = l.name;
    }
    ASSERT_FALSE(name.isEmpty());
    child<QLineEdit>("txtSearch")->setText(name);
    window().searchCommand();
    ASSERT_GT(window().resultModel()->rowCount(), 0);
    EXPECT_FALSE(window().blnDongResult());
    EXPECT_EQ(window().printCommand(), "결과창:인명");
}

TEST_F(ResultCommandsTest, DialWithoutAPortAsksToSetItUp) {
    searchSeveral();
    m_prompt.queueAnswer(PromptAnswer::No);
    EXPECT_FALSE(window().dialCommand().has_value());
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].text,
              "전화걸기관련 환경이 설정되지 않았습니다.\r\n\r\n지금 설정하시겠습니까?");
    EXPECT_EQ(m_prompt.messages()[0].title, "확인");
    EXPECT_EQ(m_prompt.messages()[0].buttons, PromptButtons::YesNo);
    EXPECT_TRUE(m_prompt.messages()[0].beep);
}

TEST_F(ResultCommandsTest, DialTakesTheSelectedRowsValues) {
    saveSetting("Option", "ComPort", "1");
    searchSeveral();
    selectRow(1);
    const auto values = window().dialCommand();
    ASSERT_TRUE(values.has_value());
    const QString tel = window().resultModel()->cell(1, 1);  // "(02)735-1234"
    EXPECT_EQ(values->name, window().resultModel()->cell(1, 0));
    EXPECT_EQ(values->areaCode, tel.mid(1, tel.indexOf(')') - 1));
    EXPECT_EQ(values->number, tel.mid(tel.indexOf(')') + 1));
    EXPECT_TRUE(values->department.isEmpty());  // the name search kind has none
}

TEST_F(ResultCommandsTest, WebCallSendsTheSelectedDigitsOrTheTypedNumber) {
    searchSeveral();
    selectRow(0);
    const QString address = window().webCall();
    QString digits;
    for (QChar c : window().resultModel()->cell(0, 1)) {
        if (c.isDigit()) digits += c;
    }
    EXPECT_TRUE(address.endsWith("voip.jsp?phonenum=" + digits)) << address.toStdString();
    ASSERT_EQ(m_shell.targets().size(), 1);
    EXPECT_EQ(m_shell.targets()[0], address);

    clickToolbar("First");  // results no longer on show: the number is asked for
    // The box asks for digits only; the dashes typed do not reach the address.
    m_prompt.queueInput(QString("02-1234-5678"));
    EXPECT_TRUE(window().webCall().endsWith("voip.jsp?phonenum=0212345678"));
    ASSERT_EQ(m_prompt.inputs().size(), 1u);
    EXPECT_EQ(m_prompt.inputs()[0].title, "Callora(한국통신 인터넷 폰)");
    EXPECT_EQ(m_prompt.inputs()[0].prompt,
              "\r\n  전화번호를 먼저 입력해야 합니다.\r\n\r\n  숫자로만 입력하세요\r\n\r\n  "
              "(예)0212345678");
    m_prompt.queueInput(std::nullopt);
    EXPECT_TRUE(window().webCall().isEmpty());
    EXPECT_EQ(m_shell.targets().size(), 2);
}

TEST_F(ResultCommandsTest, BeforeAnySearchTheResultCommandsAreOffAndTheWebCallAsks) {
    ASSERT_TRUE(start());
    EXPECT_FALSE(toolbarAction("Print")->isEnabled());
    EXPECT_FALSE(toolbarAction("SelectAll")->isEnabled());
    for (const char* item : {"popupMemo2", "mnuPrint", "mnuPrintDM"}) {
        EXPECT_FALSE(child<QAction>(item)->isEnabled()) << item;
    }
    // No results on show: the number is asked for, not taken from a list that is empty.
    m_prompt.queueInput(QString("0212345678"));
    EXPECT_TRUE(window().webCall().endsWith("voip.jsp?phonenum=0212345678"));
    EXPECT_EQ(m_prompt.inputs().size(), 1u);
}

TEST_F(ResultCommandsTest, PopupMenuShowsItsItems) {
    searchSeveral();
    QMenu* popup = child<QMenu>("mnuPopUp");
    QTest::mouseClick(results()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(popup->isVisible());
    for (const char* name : {"popupFront", "popupSelectAll", "popupPhone", "popupMemo"}) {
        EXPECT_TRUE(child<QAction>(name)->isVisible()) << name;
    }
    popup->hide();
    child<QAction>("popupFront")->trigger();  // back to the input
    EXPECT_FALSE(child<QWidget>("vsSearch")->isHidden());
}

TEST_F(ResultCommandsTest, CompanionProgramsStartFromTheProgramsFolder) {
    ASSERT_TRUE(start());
    // A stand-in companion program that writes down how it was started.
    const QString log = m_tmp.filePath("started.txt");
    QDir().mkpath(strBinPath);
    QFile script(strBinPath + "additionInfo2");
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\necho \"$*\" > '" + log + "'\n").toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    child<QAction>("popupAddInfo2_2")->trigger();
    QFile written(log);
    for (int waited = 0; waited < 10000 && written.size() == 0; waited += 50) QTest::qWait(50);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << "the program was not started";
    EXPECT_EQ(written.readAll().trimmed(), "3");
    // A program that is not there is named, not silently skipped.
    m_prompt.queueAnswer(PromptAnswer::Ok);
    child<QAction>("popupAddInfo_0")->trigger();
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].title, "오류 (F0003)");
    EXPECT_EQ(m_prompt.messages()[0].text,
              "프로그램을 찾을 수 없습니다.\r\n\r\n" + strBinPath + "additionInfo");
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::Error);
}

}  // namespace
