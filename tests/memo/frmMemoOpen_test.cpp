// The pad chooser driven by keys and clicks: opening, the name rule and its message, upper
// case, the 100-pad limit, renaming in place and deleting, and the memo window following.
#include "frmMemoOpen.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include "MemoWindowFixture.h"

namespace {

class Chooser : public MemoWindowFixture {
protected:
    static QListWidget* pads(frmMemoOpen& d) { return d.findChild<QListWidget*>("lvMemoNoteName"); }
    static QLineEdit* nameBox(frmMemoOpen& d) { return d.findChild<QLineEdit*>("txtTableName"); }
    static QStringList labels(frmMemoOpen& d) {
        QStringList out;
        for (int i = 0; i < pads(d)->count(); ++i) out << pads(d)->item(i)->text();
        return out;
    }
    // Edits the label of pad `row` in place: F2, the new text, Enter.
    static void renameInPlace(frmMemoOpen& d, int row, const QString& label) {
        QListWidget* list = pads(d);
        list->setFocus();
        list->setCurrentRow(row);
        QTest::keyClick(list, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        typeInto(editor, label);
        QTest::keyClick(editor, Qt::Key_Return);
        // The edit is committed from the event loop.
        const QPointer<QLineEdit> open = editor;
        EXPECT_TRUE(waitUntil([open] { return open.isNull(); }));
    }
    void fillList(int n = 2) {
        for (const MemoEntry& e : makeEntries(MemoMode::People, n, "가")) memo().appendEntry(e);
        memo().setMemoChange(true);
    }
};

QString nameRuleText(const QString& bad) {
    return "잘못된 이름 입니다\r\n" + bad +
           " 은(는) 사용할 수 없는 문자 입니다.\r\n\r\n메모장 이름은 다음과 같이 지정할 수 "
           "있습니다.\r\n\r\n* 한글/영문/숫자의 조합으로 20자까지 가능합니다.\r\n\r\n* 공백, 특수 "
           "문자는 사용할 수 없습니다(오류가 날 수 있습니다).\r\n   단, \"_\"는 사용 가능합니다.";
}

TEST_F(Chooser, WithNoPadsItSaysSoAndCloses) {
    loadMemo();
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(memo().showPadChooser(PadChooserRequest::Open), QDialog::Rejected);
    EXPECT_EQ(lastMessage(), "알림|저장된 메모장이 없습니다.");
}

TEST_F(Chooser, ADoubleClickedPadOpensInTheMemoWindow) {
    seedPad("하나", makeEntries(MemoMode::People, 2, "가"));
    seedPad("둘", makeEntries(MemoMode::People, 3, "나"));
    loadMemo();
    memo().show();  // empty and shown for the first time: the chooser comes up by itself
    m_driver.onNext<frmMemoOpen>([](frmMemoOpen& d) {
        EXPECT_EQ(d.windowTitle(), "메모장 열기");
        EXPECT_EQ(d.dialogMode(), 1);
        EXPECT_EQ(labels(d), QStringList({"하나", "둘"}));
        EXPECT_EQ(d.findChild<QLabel*>("lblCount")->text(), "메모장 개수 : 2");
        EXPECT_FALSE(nameBox(d)->isVisible());
        const QRect r = pads(d)->visualItemRect(pads(d)->item(1));
        doubleClick(pads(d)->viewport(), r.center());
    });
    EXPECT_TRUE(waitUntil([this] { return list()->topLevelItemCount() == 3; }));
    EXPECT_EQ(m_driver.pending(), 0u);
    EXPECT_EQ(memo().entries(), makeEntries(MemoMode::People, 3, "나"));
    EXPECT_EQ(memo().titleText(), "둘");
    EXPECT_EQ(memo().curMemoNoteName(), "둘");
    EXPECT_FALSE(memo().isMemoChange());
    EXPECT_EQ(memo().windowTitle(), "Telvia 메모장 : 3건");
    memo().hide();
}

TEST_F(Chooser, NamesAreCheckedAndUpperCasedBeforeSaving) {
    seedPad("ABC", makeEntries(MemoMode::People, 1, "x"));
    loadMemo();
    fillList();
    m_driver.onNext<frmMemoOpen>([this](frmMemoOpen& d) {
        QLineEdit* name = nameBox(d);
        EXPECT_EQ(QApplication::focusWidget(), name);
        for (const auto& [typed, bad] : {std::pair{"A B", " "}, std::pair{"A-.B", "-,."}}) {
            name->clear();
            QTest::keyClicks(name, typed);
            m_prompt.queueAnswer(PromptAnswer::Ok);
            QTest::keyClick(name, Qt::Key_Return);
            EXPECT_EQ(lastMessage(), "오류 (O0001)|" + nameRuleText(bad));
            EXPECT_TRUE(d.isVisible());
        }
        name->clear();
        m_prompt.queueAnswer(PromptAnswer::Ok);
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(lastMessage(), "알림|저장할 메모장 이름을 입력하세요.");
        // Typing finds the first pad that starts so; leaving the box upper-cases it.
        QTest::keyClicks(name, "ab");
        EXPECT_EQ(pads(d)->currentItem()->text(), "ABC");
        QTest::keyClick(name, Qt::Key_Tab);
        EXPECT_EQ(name->text(), "AB");
        name->setFocus();
        QTest::keyClicks(name, "c");
        m_prompt.queueAnswer(PromptAnswer::Yes);  // the pad exists: overwrite it
        QTest::keyClick(name, Qt::Key_Return);
    });
    memo().savePadCommand();
    EXPECT_EQ(m_prompt.messages().back().text, "메모장 \"ABC\" 으로 저장하시겠습니까?");
    EXPECT_EQ(storedPad("ABC"), makeEntries(MemoMode::People, 2, "가"));
    EXPECT_EQ(memo().titleText(), "ABC");
    EXPECT_FALSE(memo().isMemoChange());
}

TEST_F(Chooser, AHundredPadsRefuseANewOneButTakeAnOverwrite) {
    {
        MemoStore store(MemoMode::People);
        ASSERT_EQ(store.open(), MemoStore::OpenResult::Opened);
        for (int i = 1; i <= 100; ++i) {
            ASSERT_EQ(store
                          .savePad(QStringLiteral("P%1").arg(i),
                                   makeEntries(MemoMode::People, 1, "x"), false)
                          .code,
                      0);
        }
    }
    loadMemo();
    fillList();
    m_driver.onNext<frmMemoOpen>([this](frmMemoOpen& d) {
        EXPECT_EQ(d.findChild<QLabel*>("lblCount")->text(), "메모장 개수 : 100");
        nameBox(d)->setText("NEW");
        m_prompt.queueAnswer(PromptAnswer::Ok);
        QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        EXPECT_EQ(m_prompt.messages().back().title, "오류 (O0002)");
        EXPECT_TRUE(d.isVisible());
        nameBox(d)->setText("P7");
        m_prompt.queueAnswer(PromptAnswer::Yes);
        QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    EXPECT_EQ(memo().showPadChooser(PadChooserRequest::Save), QDialog::Accepted);
    EXPECT_EQ(storedPad("P7"), makeEntries(MemoMode::People, 2, "가"));
    EXPECT_EQ(storedPad("NEW"), std::nullopt);
}

TEST_F(Chooser, RenamingInPlaceChecksTheLabelAndMovesTheOpenPad) {
    seedPad("하나", makeEntries(MemoMode::People, 2, "가"));
    seedPad("둘", makeEntries(MemoMode::People, 1, "나"));
    loadMemo();
    ASSERT_TRUE(memo().exLoadMemo("하나"));
    m_driver.onNext<frmMemoOpen>([this](frmMemoOpen& d) {
        // Unchanged: nothing said, nothing done.
        renameInPlace(d, 0, "하나");
        EXPECT_TRUE(m_prompt.messages().empty());
        // Another pad's name is refused and the label goes back.
        m_prompt.queueAnswer(PromptAnswer::Ok);
        renameInPlace(d, 0, "둘");
        EXPECT_EQ(lastMessage(), "오류 (O0003)|중복된 이름입니다.");
        EXPECT_EQ(labels(d), QStringList({"하나", "둘"}));
        // 25 characters: asked, then cut to 20.
        m_prompt.queueAnswer(PromptAnswer::Yes);
        renameInPlace(d, 0, "ABCDEFGHIJKLMNOPQRSTUVWXY");
        EXPECT_EQ(m_prompt.messages().back().text,
                  "메모장 이름의 최대길이는 20자 입니다.\r\n\r\n입력하신 이름은 "
                  "\"ABCDEFGHIJKLMNOPQRST\"으로 저장하게 됩니다.\r\n계속 하시겠습니까?");
        EXPECT_EQ(labels(d), QStringList({"ABCDEFGHIJKLMNOPQRST", "둘"}));
        d.reject();
    });
    memo().showPadChooser(PadChooserRequest::Save);
    EXPECT_EQ(memo().store().padNames(), QStringList({"ABCDEFGHIJKLMNOPQRST", "둘"}));
    EXPECT_EQ(storedPad("ABCDEFGHIJKLMNOPQRST"), makeEntries(MemoMode::People, 2, "가"));
    EXPECT_EQ(memo().titleText(), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(memo().curMemoNoteName(), "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(Chooser, DeletingTheOpenPadOrTheLastOneUpdatesTheMemoWindow) {
    seedPad("하나", makeEntries(MemoMode::People, 2, "가"));
    seedPad("둘", makeEntries(MemoMode::People, 1, "나"));
    loadMemo();
    ASSERT_TRUE(memo().exLoadMemo("하나"));
    m_driver.onNext<frmMemoOpen>([this](frmMemoOpen& d) {
        auto* remove = d.findChild<QPushButton*>("cmdDelete");
        nameBox(d)->setFocus();
        EXPECT_FALSE(remove->isEnabled());
        pads(d)->setFocus();
        EXPECT_TRUE(remove->isEnabled());
        pads(d)->setCurrentRow(0);
        m_prompt.queueAnswer(PromptAnswer::No);
        QTest::keyClick(pads(d), Qt::Key_Delete);
        EXPECT_EQ(m_prompt.messages().back().text, "메모장 \"하나\"을(를) 삭제하시겠습니까?");
        EXPECT_EQ(labels(d), QStringList({"하나", "둘"}));
        m_prompt.queueAnswer(PromptAnswer::Yes);
        QTest::keyClick(pads(d), Qt::Key_Delete);
        EXPECT_EQ(labels(d), QStringList({"둘"}));
        EXPECT_EQ(d.findChild<QLabel*>("lblCount")->text(), "메모장 개수 : 1");
        // The list on show is no longer stored anywhere: it is unsaved now.
        EXPECT_EQ(memo().titleText(), "");
        EXPECT_TRUE(memo().isMemoChange());
        pads(d)->setCurrentRow(0);
        m_prompt.queueAnswer(PromptAnswer::Yes);
        QTest::mouseClick(d.findChild<QPushButton*>("cmdDelete"), Qt::LeftButton);
        EXPECT_EQ(memo().titleText(), "새메모장");
        EXPECT_EQ(memo().curMemoNoteName(), "새메모장");
        d.reject();
    });
    memo().showPadChooser(PadChooserRequest::Save);
    EXPECT_EQ(memo().store().padNames(), QStringList());
    EXPECT_EQ(storedPad("하나"), std::nullopt);
}

}  // namespace
