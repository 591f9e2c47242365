// The whole way of a memo through the program, by keys and clicks on the real windows:
// search, select rows, "메모하기", name the pad; close the program, start it again, open the
// pad in the memo window and find the rows in it. The two runs of the program are two
// processes, as they are for a user: the test runs its own binary once for each half.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <map>

#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "SingleInstance.h"
#include "frmMemo.h"
#include "frmMemoOpen.h"
#include "frmMemoSearch.h"

namespace {

// The sample's program folder copied, so this test's memo databases are its own.
QString copyProgramFolder(const QString& to) {
    const QString from = sampleRoot() + "/program";
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
    return to;
}

constexpr char kSharedDir[] = "TELVIA_MEMO_FLOW_DIR";

// One half of the flow, in a process of its own; skipped unless the flow test runs it.
class MemoFlowHalf : public MainWindowFixture {
protected:
    void SetUp() override {
        m_shared = qEnvironmentVariable(kSharedDir);
        if (m_shared.isEmpty()) GTEST_SKIP() << "a half of MemoFlow.SavedPadIsThereAfterARestart";
        MainWindowFixture::SetUp();
        // Settings and program folder outlive this process: the next run finds them.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_shared + "/settings");
        m_program = m_shared + "/program";
        if (!QFile::exists(m_program)) copyProgramFolder(m_program);
    }

    // Picks `item` of the menu `menu` with the mouse, the menu opened from the menu bar.
    void chooseMenuItem(const char* menu, const char* item) {
        auto* bar = window().menuBar();
        auto* m = child<QMenu>(menu);
        auto* action = child<QAction>(item);
        ASSERT_TRUE(m && action);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(m->menuAction()).center());
        ASSERT_TRUE(m->isVisible());
        QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(action).center());
    }
    void clickResultRow(QTreeView* list, int row, Qt::KeyboardModifiers modifier) {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifier, r.center());
    }
    // A name with at least three records in Seoul.
    static QString nameWithThreeRecords() {
        std::map<QString, int> counts;  // ordered: the same pick every run
        for (const SampleListing& l : sampleListings()) {
            if (l.dong.startsWith("10")) ++counts[l.name];
        }
        for (const auto& [name, count] : counts) {
            if (count >= 3) return name;
        }
        return {};
    }

    // The rows saved into the pad, handed from the first run to the second.
    void writeChosen(const std::vector<MemoEntry>& rows) {
        QFile f(m_shared + "/chosen.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (const MemoEntry& e : rows) f.write((e.join('\t') + '\n').toUtf8());
    }
    std::vector<MemoEntry> readChosen() {
        std::vector<MemoEntry> rows;
        QFile f(m_shared + "/chosen.txt");
        if (!f.open(QIODevice::ReadOnly)) return rows;
        for (const QByteArray& line : f.readAll().split('\n')) {
            if (!line.isEmpty()) rows.push_back(QString::fromUtf8(line).split('\t'));
        }
        return rows;
    }

    QString m_shared;
    QString m_program;
    ModalDriver m_driver;
};

TEST_F(MemoFlowHalf, SaveResultsIntoAPad) {
    ASSERT_TRUE(start(m_program));
    const QString name = nameWithThreeRecords();
    ASSERT_FALSE(name.isEmpty());

    // Search: Seoul, the name typed, Enter.
    clickNode("!10");
    auto* text = child<QLineEdit>("txtSearch");
    text->clear();
    text->setFocus();
    typeText(text, name);
    QTest::keyClick(text, Qt::Key_Return);
    auto* results = child<QTreeView>("lvResult");
    ASSERT_GE(results->model()->rowCount(), 3);

    // Rows 1 and 3 picked with the mouse (Ctrl for the second).
    clickResultRow(results, 0, Qt::NoModifier);
    clickResultRow(results, 2, Qt::ControlModifier);
    std::vector<MemoEntry> chosen;
    for (int row : {0, 2}) {
        MemoEntry e;
        for (int c = 0; c < 4; ++c) e << results->model()->index(row, c).data().toString();
        chosen.push_back(e << QString());
    }
    writeChosen(chosen);

    // "메모하기": the pad chooser in its main-window mode; the pad is named 거래처.
    m_driver.onNext<frmMemoOpen>([this](frmMemoOpen& d) {
        EXPECT_EQ(d.dialogMode(), 3);
        auto* box = d.findChild<QLineEdit*>("txtTableName");
        EXPECT_EQ(QApplication::focusWidget(), box);
        box->selectAll();
        typeText(box, "거래처");
        m_prompt.queueAnswer(PromptAnswer::Ok);  // "2건이 메모되었습니다"
        QTest::keyClick(box, Qt::Key_Return);
    });
    chooseMenuItem("mnuMemo", "popupMemo2");
    EXPECT_EQ(m_driver.pending(), 0u);
    ASSERT_FALSE(m_prompt.messages().empty());
    EXPECT_EQ(m_prompt.messages().back().text,
              "2건이 메모되었습니다\r\n메모장에는 2건의 메모가 있습니다.");
    EXPECT_FALSE(results->selectionModel()->hasSelection());

    // The program ends.
    m_prompt.queueAnswer(PromptAnswer::Yes);  // "…종료하시겠습니까?"
    EXPECT_TRUE(window().close());
}

TEST_F(MemoFlowHalf, ReopenThePadAndFindARow) {
    ASSERT_TRUE(start(m_program));
    const std::vector<MemoEntry> chosen = readChosen();
    ASSERT_EQ(chosen.size(), 2u);

    // "메모보기": the memo window opens on the chooser; Enter opens the pad; a find by the
    // second row's telephone selects it.
    const QString telephone = chosen[1][1];
    m_driver.onNext<frmMemoOpen>([](frmMemoOpen& d) {
        EXPECT_EQ(d.dialogMode(), 1);
        auto* pads = d.findChild<QListWidget*>("lvMemoNoteName");
        ASSERT_EQ(pads->count(), 1);
        EXPECT_EQ(pads->item(0)->text(), "거래처");
        pads->setFocus();
        QTest::keyClick(pads, Qt::Key_Return);
    });
    m_driver.onNext<frmMemo>([&](frmMemo& memo) {
        EXPECT_EQ(memo.titleText(), "거래처");
        EXPECT_EQ(memo.entries(), chosen);
        EXPECT_EQ(memo.windowTitle(), "Telvia 메모장 : 2건");
        QToolBar* bar = memo.findChild<QToolBar*>("tbToolBar");
        QTest::mouseClick(bar->widgetForAction(memo.toolbarButton("search")), Qt::LeftButton);
        QTreeWidget* list = memo.memoList();
        int found = 0;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (!list->topLevelItem(i)->isSelected()) continue;
            ++found;
            EXPECT_EQ(list->topLevelItem(i)->text(1), telephone);
        }
        EXPECT_EQ(found, 1);
        QTest::keyClick(&memo, Qt::Key_Escape);
    });
    m_driver.onNext<frmMemoSearch>([&telephone](frmMemoSearch& d) {
        QTest::mouseClick(d.findChild<QRadioButton*>("optSearch_1"), Qt::LeftButton);
        auto* box = d.findChild<QLineEdit*>("txtSearch");
        QTest::keyClicks(box, telephone);
        QTest::keyClick(box, Qt::Key_Return);
    });
    chooseMenuItem("mnuMemo", "popupMemoNote");
    EXPECT_EQ(m_driver.pending(), 0u);
    EXPECT_FALSE(window().memoWindow()->isVisible());
}

// The control keeps its readers for the life of its process, so the program is started again
// the way a user starts it: in a new process.
TEST(MemoFlow, SavedPadIsThereAfterARestart) {
    QTemporaryDir shared;
    ASSERT_TRUE(shared.isValid());
    for (const char* half : {"SaveResultsIntoAPad", "ReopenThePadAndFindARow"}) {
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kSharedDir, shared.path());
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_filter=MemoFlowHalf.") + half});
        ASSERT_TRUE(run.waitForFinished(240000)) << half;
        const QString output = QString::fromUtf8(run.readAll());
        EXPECT_EQ(run.exitCode(), 0) << half << ":\n" << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << half << ":\n"
                                                            << output.toStdString();
    }
}

}  // namespace
