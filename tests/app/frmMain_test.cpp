// The main window from start-up on a sample directory: the loaded window, the search kinds,
// the region tree and its node clicks and typed jumps, and the exit confirmation.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "MainWindowFixture.h"

namespace {

class MainWindowTest : public MainWindowFixture {
protected:
    bool visible(const char* name) { return !child<QWidget>(name)->isHidden(); }
    // The first node in tree order whose key has `length` characters.
    QString keyOfLength(int length) {
        for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
            const QString key = (*it)->data(0, Qt::UserRole).toString();
            if (key.size() == length) return key;
        }
        return {};
    }
};

TEST_F(MainWindowTest, LoadsWithTheControlTheNameSearchKindAndTheFirstRegionsTree) {
    saveSetting("Main", "CurrentArea", "7");  // read, then the first region wins
    ASSERT_TRUE(start());
    EXPECT_TRUE(m_prompt.messages().empty());
    EXPECT_EQ(window().windowTitle(), "Telvia");
    EXPECT_EQ(window().zendari1().getLong(zendari::kDispInitDB), 1);
    EXPECT_NE(window().findChild<QWidget*>("zendari1"), nullptr);
    EXPECT_EQ(window().intCurrentArea(), 0);
    EXPECT_EQ(window().intLoadedArea(), 0);
    EXPECT_EQ(window().searchMode(), SearchMode::Name);
    EXPECT_EQ(window().intSearchKindCode(), 2);
    EXPECT_EQ(child<QComboBox>("cmbSearchKind")->currentText(), "인명검색");
    EXPECT_EQ(child<QComboBox>("cmbArea")->currentText(), "서울(과천/광명)");
    ASSERT_EQ(child<QComboBox>("cmbArea")->count(), 10);
    EXPECT_EQ(child<QComboBox>("cmbArea")->itemText(9), "제주");

    // Seoul and 과천/광명 at the top; the first node is selected and named in txtArea.
    ASSERT_EQ(tree()->topLevelItemCount(), 2);
    EXPECT_EQ(tree()->currentItem(), tree()->topLevelItem(0));
    EXPECT_EQ(child<QLineEdit>("txtArea")->text(), "서울특별시");
    EXPECT_EQ(window().selectedCode(), "10");
    EXPECT_EQ(tree()->topLevelItem(1)->data(0, Qt::UserRole).toString(), "!7203:7204");

    // Only the candidate pane shows; the lists select whole rows.
    EXPECT_TRUE(visible("vsSearch"));
    EXPECT_FALSE(visible("vsResult"));
    EXPECT_FALSE(visible("vsDong"));
    for (const char* list : {"lvSearch", "lvResult", "lvDongResult"}) {
        EXPECT_EQ(child<QTreeView>(list)->selectionBehavior(), QAbstractItemView::SelectRows);
    }
    EXPECT_FALSE(child<QLabel>("picProgress")->isVisible());
    EXPECT_FALSE(window().statusText(1).isEmpty());  // the time
    EXPECT_FALSE(window().statusText(2).isEmpty());  // the date
}

TEST_F(MainWindowTest, AControlThatFailsToInitialiseEndsTheStart) {
    // A Windows folder whose Quenby.INI sends the control to an index folder that is not there.
    const QString windows = m_tmp.filePath("windows");
    QDir().mkpath(windows);
    ASSERT_TRUE(QFile::copy(sampleRoot() + "/windows/Halvern.ini", windows + "/Halvern.ini"));
    QFile in(sampleRoot() + "/windows/Quenby.INI");
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QString ini = QString::fromUtf8(in.readAll());
    ini.replace(QRegularExpression("TelDataPath2=[^\r\n]*"), "TelDataPath2=/nonexistent/index/");
    QFile out(windows + "/Quenby.INI");
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(ini.toUtf8());
    out.close();
    qputenv("WINDIR", windows.toUtf8());
    m_prompt.queueAnswer(PromptAnswer::Ok);
    const auto result = modLoadProgram::StartProgram(
        m_session, sampleStartOptions(sampleRoot(), m_tmp.filePath("Halvern.lock")));
    EXPECT_EQ(result, modLoadProgram::StartResult::kEnded);
    ASSERT_EQ(m_prompt.messages().size(), 1u);  // the control's own, nothing of the window
    EXPECT_EQ(m_prompt.messages()[0].text, "인명 초기화 실패");
}

TEST_F(MainWindowTest, AMissingControlLibraryIsReportedAndEndsTheStart) {
    auto options = sampleStartOptions(sampleRoot(), m_tmp.filePath("Halvern.lock"));
    options.controlLibrary = m_tmp.filePath("Zendari20.so");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(modLoadProgram::StartProgram(m_session, options),
              modLoadProgram::StartResult::kEnded);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].title, "오류 (M0009)");
    EXPECT_TRUE(m_prompt.messages()[0].text.startsWith("인명 검색 컨트롤을 불러올 수 없습니다."));
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::Error);
}

TEST_F(MainWindowTest, WindowPartsCarryTheirCaptions) {
    EXPECT_EQ(frmMain().windowTitle(), "전국판 Telvia 인명편 2002 ");  // before the load
    ASSERT_TRUE(start());
    EXPECT_EQ(child<QPushButton>("cmdSearch")->text(), "검 색");
    EXPECT_EQ(child<QPushButton>("cmdDongSeek")->text(), "동별 검색");
    EXPECT_EQ(child<QPushButton>("cmdDongSungSearch")->text(), "동별성씨검색");
    EXPECT_EQ(child<QPushButton>("cmdSungSearch")->text(), "성씨 검색");
    EXPECT_EQ(child<QPushButton>("cmdFull")->text(), "전체 찾기");
    EXPECT_EQ(child<QPushButton>("cmdEnd")->text(), "종료");
    EXPECT_EQ(child<QLabel>("lblDongCaption")->text(), "검색하고자 하는 동을 반드시 지정하십시오");
    EXPECT_EQ(child<QLabel>("Label5")->text(), "가나다순");
    QStringList toolbar;
    for (QAction* a : child<QToolBar>("Toolbar1")->actions()) {
        toolbar << a->data().toString() + "=" + a->text();
    }
    EXPECT_EQ(toolbar, QStringList({"First=이전", "Next=다음", "Memo=메모", "Print=인쇄",
                                    "LabelPrint=라벨인쇄", "SelectAll=전체선택", "Dail=전화걸기",
                                    "webcall=Callora", "Option=환경설정"}));
    QStringList popup;
    for (QAction* a : child<QMenu>("mnuPopUp")->actions()) {
        popup << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(popup, QStringList({"뒤로", "전체선택", "-", "메모하기", "전화걸기", "-", "표로인쇄",
                                  "-", "취소"}));
    QStringList info;
    for (QAction* a : child<QMenu>("mnuAdditionInfo")->actions()) {
        info << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(info, QStringList({"전국우편번호 안내", "전보이용 약호 및 범례",
                                 "시외자동전화(DDD)/국제전화코드", "-", "도량형 환산",
                                 "음/양력 변환, 연령대조표", "바이오리듬 보기", "-",
                                 "지하철 노선도", "교통정보 안내"}));
    EXPECT_EQ(child<QMenu>("mnuPopup2")->actions().size(), 2);
}

TEST_F(MainWindowTest, NameKindRefillsTheSearchBoxFromTheSavedName) {
    saveSetting("CurrentSearch", "Human", "김철수");
    ASSERT_TRUE(start());
    EXPECT_EQ(child<QLineEdit>("txtSearch")->text(), "김철수");
    EXPECT_GT(window().searchModel()->rowCount(), 0);
    EXPECT_EQ(window().searchModel()->cell(0, 0).left(1), "김");
}

TEST_F(MainWindowTest, DongKindEntersTheDongSearchAndTheNameKindComesBack) {
    ASSERT_TRUE(start());
    auto* kind = child<QComboBox>("cmbSearchKind");
    kind->setCurrentIndex(1);
    window().setUpSearchKind();
    EXPECT_EQ(window().searchMode(), SearchMode::Dong);
    EXPECT_FALSE(toolbarAction("First")->isEnabled());
    EXPECT_FALSE(toolbarAction("Next")->isEnabled());
    EXPECT_TRUE(visible("vsDong"));
    EXPECT_FALSE(visible("vsSearch"));
    EXPECT_FALSE(visible("vsResult"));
    EXPECT_TRUE(visible("lblDongCaption"));
    EXPECT_TRUE(visible("cmdNext"));
    EXPECT_FALSE(visible("txtSearch"));
    EXPECT_FALSE(visible("txtSung"));
    EXPECT_EQ(child<QLabel>("vsElastic11")->text(), "검색하고자 하는 동을 반드시 지정하십시오.");
    EXPECT_EQ(window().windowTitle(), "Telvia");

    kind->setCurrentIndex(0);
    window().setUpSearchKind();
    EXPECT_EQ(window().searchMode(), SearchMode::Name);
    EXPECT_TRUE(toolbarAction("First")->isEnabled());
    EXPECT_TRUE(toolbarAction("Next")->isEnabled());
    EXPECT_TRUE(visible("vsSearch"));
    EXPECT_FALSE(visible("vsDong"));
    EXPECT_FALSE(visible("lblDongCaption"));
    EXPECT_FALSE(visible("Label5"));
    EXPECT_FALSE(visible("cboABCCateSearch"));
    EXPECT_EQ(child<QLineEdit>("txtSearch")->text(), "이곳에 이름을 입력하세요");
}

TEST_F(MainWindowTest, NodeClicksByKeyLength) {
    ASSERT_TRUE(start());
    auto* next = child<QPushButton>("cmdNext");
    auto* full = child<QPushButton>("cmdFull");
    auto* dong = child<QLineEdit>("txtDong");

    const QString district = keyOfLength(5);  // "@" and a 4-digit code
    ASSERT_FALSE(district.isEmpty());
    clickNode(district);
    EXPECT_EQ(next->text(), "찾기");
    EXPECT_FALSE(next->isEnabled());
    EXPECT_FALSE(full->isEnabled());
    EXPECT_TRUE(dong->text().isEmpty());
    EXPECT_EQ(child<QLineEdit>("txtArea")->text(), node(district)->text(0));
    EXPECT_EQ(window().selectedCode(), district.mid(1));

    for (int length : {7, 9}) {
        const QString key = keyOfLength(length);
        ASSERT_FALSE(key.isEmpty()) << length;
        clickNode(key);
        EXPECT_TRUE(next->isEnabled()) << length;
        EXPECT_TRUE(full->isEnabled()) << length;
        EXPECT_EQ(dong->text(), node(key)->text(0));
        EXPECT_EQ(tree()->currentItem(), node(key));  // not an earlier namesake
        EXPECT_TRUE(window().dongChanged());
    }

    // Back to a district: the dong box empties and the buttons are disabled again.
    clickNode(district);
    EXPECT_TRUE(dong->text().isEmpty());
    EXPECT_FALSE(next->isEnabled());
}

TEST_F(MainWindowTest, ClickingARegionNodeListsNamesAgain) {
    ASSERT_TRUE(start());
    child<QLineEdit>("txtSearch")->setText("김");
    clickNode("!7203:7204");
    ASSERT_GT(window().searchModel()->rowCount(), 0);
    // Only 과천/광명's names are in the Seoul index too, so names exist here as well.
    EXPECT_EQ(window().selectedCode(), "7203:7204");
}

TEST_F(MainWindowTest, TypingInTheAreaBoxSelectsTheFirstNodeInTreeOrder) {
    ASSERT_TRUE(start());
    auto* area = child<QLineEdit>("txtArea");
    area->clear();
    typeText(area, "창신");
    ASSERT_NE(tree()->currentItem(), nullptr);
    EXPECT_EQ(tree()->currentItem()->text(0), "창신동");  // before 창신1동 in tree order
    area->clear();
    typeText(area, "중");
    EXPECT_EQ(tree()->currentItem()->text(0), "중구");
    QTreeWidgetItem* before = tree()->currentItem();
    typeText(area, "없는곳");  // no match: the selection stays
    EXPECT_EQ(tree()->currentItem(), before);
    // Enter moves on to the search box; a blank is never typed.
    QTest::keyClick(area, Qt::Key_Space);
    EXPECT_FALSE(area->text().contains(' '));
}

TEST_F(MainWindowTest, ChoosingTheLoadedRegionAgainKeepsTheTree) {
    ASSERT_TRUE(start());
    clickNode(keyOfLength(9));
    QTreeWidgetItem* chosen = tree()->currentItem();
    window().selectRegion(0);
    EXPECT_EQ(tree()->currentItem(), chosen);  // not rebuilt: same node, still selected

    window().selectRegion(3);
    EXPECT_EQ(window().intLoadedArea(), 3);
    EXPECT_EQ(tree()->topLevelItem(0)->text(0), "인천광역시");
    EXPECT_EQ(child<QLineEdit>("txtArea")->text(), "인천광역시");
}

TEST_F(MainWindowTest, ARegionChosenWhileATreeLoadsGivesThatRegionsTreeAlone) {
    ASSERT_TRUE(start());
    auto* area = child<QComboBox>("cmbArea");
    auto keys = [this] {
        QStringList out;
        for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
            out << (*it)->data(0, Qt::UserRole).toString();
        }
        return out;
    };
    // The Down key in the region box waits while region 3 is chosen; the tree load lets it
    // run, which chooses region 4 before region 3's places are read.
    QCoreApplication::postEvent(area,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
    window().selectRegion(3);
    EXPECT_EQ(area->currentIndex(), 4);
    EXPECT_EQ(window().intLoadedArea(), 4);
    const QStringList shown = keys();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(child<QLineEdit>("txtArea")->text(), tree()->topLevelItem(0)->text(0));
    // Region 4's tree as a load of its own builds it: no places of region 3 among them.
    window().selectRegion(0);
    window().selectRegion(4);
    const QStringList fresh = keys();
    EXPECT_EQ(shown.size(), fresh.size());
    EXPECT_TRUE(shown == fresh);
}

TEST_F(MainWindowTest, ADongChosenForASurnameSearchOfTheNameKindKeepsTheDongPane) {
    ASSERT_TRUE(start());
    window().cmdDongSungSearchClick();  // from the name search kind
    ASSERT_TRUE(visible("vsDong"));
    clickNode("#10010201");  // the dong to search: one pane still, the dong pane
    EXPECT_TRUE(visible("vsDong"));
    EXPECT_FALSE(visible("vsSearch"));
    EXPECT_FALSE(visible("vsResult"));
    EXPECT_TRUE(child<QPushButton>("cmdSearch")->isEnabled());  // the input state ran
    // Back in the name search, a click is the input state as ever.
    window().cmdEndClick();
    clickNode("#10010101");
    EXPECT_TRUE(visible("vsSearch"));
    EXPECT_FALSE(visible("vsDong"));
}

TEST_F(MainWindowTest, AnotherRegionsTreeDropsTheDongOfTheLastOne) {
    ASSERT_TRUE(start());
    clickNode("#10010101");
    ASSERT_FALSE(child<QLineEdit>("txtDong")->text().isEmpty());
    window().selectRegion(1);
    EXPECT_TRUE(child<QLineEdit>("txtDong")->text().isEmpty());
    EXPECT_FALSE(child<QPushButton>("cmdNext")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("cmdFull")->isEnabled());
    // A dong page asks for a dong instead of walking the new tree's first node.
    window().cmdDongSeekClick();
    m_prompt.queueAnswer(PromptAnswer::Ok);
    window().cmdNextClick();
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].text,
              "지역선택항목에서 검색하고자하는 동을 지정하여 주십시요?");
    EXPECT_EQ(window().dongModel()->rowCount(), 0);
}

TEST_F(MainWindowTest, TheToolbarFirstAndNextCommands) {
    ASSERT_TRUE(start());
    child<QLineEdit>("txtSearch")->setText("김");
    clickToolbar("Next");  // the search command on the first candidate
    EXPECT_FALSE(child<QPushButton>("cmdSearch")->isEnabled());
    EXPECT_TRUE(toolbarAction("Print")->isEnabled());
    EXPECT_TRUE(toolbarAction("SelectAll")->isEnabled());
    EXPECT_TRUE(visible("vsResult"));
    EXPECT_FALSE(visible("vsSearch"));
    EXPECT_GT(window().resultModel()->rowCount(), 0);

    clickToolbar("First");
    EXPECT_TRUE(child<QPushButton>("cmdSearch")->isEnabled());
    EXPECT_FALSE(toolbarAction("Print")->isEnabled());
    EXPECT_FALSE(window().blnDongResult());
    EXPECT_TRUE(visible("vsSearch"));
    EXPECT_FALSE(visible("vsResult"));
    EXPECT_TRUE(window().statusText(3).isEmpty());
}

TEST_F(MainWindowTest, HomePageAndBannerGoThroughTheShellAndReportFailures) {
    ASSERT_TRUE(start());
    child<QAction>("mnuHomePage")->trigger();
    ASSERT_EQ(m_shell.targets().size(), 1);
    EXPECT_TRUE(m_shell.targets()[0].startsWith("https://"));
    m_shell.setResult(ShellResult::kFileNotFound);
    m_prompt.queueAnswer(PromptAnswer::Ok);
    QTest::mouseClick(child<QLabel>("imgAdTop"), Qt::LeftButton);
    ASSERT_EQ(m_shell.targets().size(), 2);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].title, "오류 (F0002)");
    EXPECT_EQ(m_prompt.messages()[0].text, "웹브라우저를 찾을 수 없습니다.");
}

TEST_F(MainWindowTest, ExitAsksAndNoLeavesTheWindowAsItWas) {
    ASSERT_TRUE(start());
    child<QLineEdit>("txtSearch")->setText("김");
    window().searchCommand();
    const int rows = window().resultModel()->rowCount();
    ASSERT_GT(rows, 0);
    m_prompt.queueAnswer(PromptAnswer::No);
    EXPECT_FALSE(window().close());
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].title, "확인");
    EXPECT_EQ(m_prompt.messages()[0].text, "전국판 인명 Telvia2002을 종료하시겠습니까?");
    EXPECT_EQ(m_prompt.messages()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::Question);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().resultModel()->rowCount(), rows);
    EXPECT_TRUE(window().dbDocs().is_open());

    m_prompt.queueAnswer(PromptAnswer::Yes);
    child<QAction>("mnuEnd")->trigger();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(window().resultModel()->rowCount(), 0);
    EXPECT_FALSE(window().dbDocs().is_open());
}

}  // namespace
