// The main window's conversations with the outside, end to end on the sample directory with
// real clicks: a found number dialled on a fake modem, the label command reaching a label
// program on the bus, and a business search started over the bus (gdbus) listing the sample
// library's businesses in the running window. Runs under dbus-run-session.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "FakeHayesModem.h"
#include "FakeLabelServer.h"
#include "HalvernBus.h"
#include "LabelLauncher.h"
#include "MainWindowBus.h"
#include "MainWindowFixture.h"
#include "frmDial.h"
#include "frmMemo.h"

namespace {

using namespace std::chrono_literals;

class OutsideWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected())
            << "no session bus: run the test under dbus-run-session";
        // The sample installation's business library: the sample one over the sample listing.
        qputenv("TELVIA_VARLINK", TELVIA_VARLINK_SAMPLE);
        qputenv("VARLINK_SAMPLE_DATA", QFile::encodeName(listingPath()));
    }
    static QString listingPath() { return sampleRoot() + "/program/VarlinkSample.tsv"; }
    // A name search in Seoul that lists rows into lvResult; the first row is selected.
    void searchAName() {
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
        click("cmdSearch");
        ASSERT_GE(window().resultModel()->rowCount(), 1);
        QTreeView* list = child<QTreeView>("lvResult");
        const QRect first = list->visualRect(window().resultModel()->index(0, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    }
    // The businesses of the sample listing whose dong code starts with one of `codes` and
    // whose name `matches`, as company names in ascending order.
    static QStringList sampleCompanies(const QStringList& codes,
                                       const std::function<bool(const QString&)>& matches) {
        QFile f(listingPath());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        QStringList names;
        const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
        for (const QString& line : lines.mid(1)) {
            const QStringList f = line.split('\t');
            for (const QString& code : codes) {
                if (f[7].startsWith(code) && matches(f[0])) names << f[0];
            }
        }
        std::stable_sort(names.begin(), names.end(),
                         [](auto& a, auto& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        return names;
    }
    QStringList listedCompanies() {
        QStringList names;
        for (int r = 0; r < window().resultModel()->rowCount(); ++r) {
            names << window().resultModel()->cell(r, 0);
        }
        return names;
    }
    bool gdbus(const QString& method, const QStringList& args, const QString& window = "frmMain",
               QString* reply = nullptr) {
        QProcess p;
        p.start("gdbus", QStringList({"call", "--session", "--dest", "org.telvia.Halvern",
                                      "--object-path", "/" + window, "--method",
                                      "org.telvia.Halvern." + window + "." + method}) +
                             args);
        const bool ended = waitFor([&] { return p.state() == QProcess::NotRunning; });
        EXPECT_TRUE(ended && p.exitCode() == 0) << p.readAllStandardError().toStdString();
        if (reply) *reply = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        return ended && p.exitCode() == 0;
    }
    template <typename Pred>
    static bool waitFor(Pred done, std::chrono::milliseconds timeout = 10s) {
        return QTest::qWaitFor(done, static_cast<int>(timeout.count()));
    }
};

TEST_F(OutsideWindowTest, AFoundNumberIsDialledOnTheModem) {
    FakeHayesModem modem;
    ASSERT_TRUE(modem.ok());
    saveSetting("Option", "ComPort", "2");
    saveSetting("Serial", "COM2", modem.device());
    ASSERT_TRUE(start());
    searchAName();
    const QString telephone = window().resultModel()->cell(0, 1);  // "(02)735-0001"
    ASSERT_TRUE(telephone.startsWith("(02)")) << telephone.toStdString();
    QString dialogArea, dialogNumber;
    QTimer::singleShot(0, [&] {
        auto* dial = qobject_cast<frmDial*>(QApplication::activeModalWidget());
        ASSERT_NE(dial, nullptr);
        dialogArea = dial->findChild<QLineEdit*>("txtAreaCode")->text();
        dialogNumber = dial->findChild<QLineEdit*>("txtNumber")->text();
        m_prompt.queueAnswer(PromptAnswer::Ok);  // the handset message
        QTest::mouseClick(dial->findChild<QPushButton*>("cmdDial"), Qt::LeftButton);
    });
    clickToolbar("Dail");  // returns when the dial window has closed
    EXPECT_EQ(dialogArea, "02");
    EXPECT_EQ(dialogNumber, telephone.mid(4));
    ASSERT_TRUE(modem.waitForCloses(1, 2s));
    // The own area code is 02: the local number alone.
    EXPECT_EQ(modem.received(), "ATDT" + telephone.mid(4).toLatin1() + ";\rATH\r");
    EXPECT_TRUE(modem.hungUpBeforeClose());
}

TEST_F(OutsideWindowTest, TheLabelCommandReachesTheLabelProgram) {
    FakeLabelServer lablor;
    ASSERT_TRUE(lablor.serve());
    ASSERT_TRUE(start());
    searchAName();
    clickToolbar("LabelPrint");
    ASSERT_TRUE(waitFor([&] { return lablor.calls().size() == 2; }));
    EXPECT_EQ(lablor.calls(), QStringList({"Link Form", "Execute CM:"}));
    // The menu item runs the same command, once the first one has had its answer.
    auto* launcher = window().findChild<LabelLauncher*>();
    ASSERT_NE(launcher, nullptr);
    ASSERT_TRUE(waitFor([&] { return !launcher->isRunning(); }));
    chooseFromMenu(child<QMenu>("mnuFile"), child<QAction>("mnuPrintDM"));
    ASSERT_TRUE(waitFor([&] { return lablor.calls().size() == 4; }));
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(OutsideWindowTest, ABusinessSearchOverTheBusListsTheSampleBusinesses) {
    ASSERT_TRUE(start());
    HalvernBus bus;
    ASSERT_TRUE(publishMainWindow(bus, window())) << bus.lastError().toStdString();
    const QStringList expected =
        sampleCompanies({"10"}, [](const QString& name) { return name.startsWith("한빛"); });
    ASSERT_FALSE(expected.isEmpty());
    ASSERT_TRUE(gdbus("enSubmitClickMulti", {"한빛", "10"}));
    EXPECT_EQ(listedCompanies(), expected);
    EXPECT_EQ(window().paneOnShow(), frmMain::Pane::Result);
    EXPECT_TRUE(child<QTreeView>("lvResult")->isVisible());
    EXPECT_EQ(window().resultModel()->headers(),
              QStringList({"상 호", "전 화", "우편번호", "주 소", "업 종", "부 서"}));
    EXPECT_EQ(window().statusText(3), QString("%1건이 검색되었습니다.").arg(expected.size()));
    EXPECT_EQ(window().searchMode(), SearchMode::Name);
    EXPECT_EQ(child<QTreeView>("lvResult")->currentIndex().row(), 0);
    EXPECT_TRUE(toolbarAction("Print")->isEnabled());
    EXPECT_EQ(window().intSearchKindCode(), 2);  // the name search kind stays set up
    EXPECT_EQ(window().foundCount(), expected.size());
}

TEST_F(OutsideWindowTest, TheMemoWindowsOperationsAnswerOnTheBus) {
    ASSERT_TRUE(start());
    HalvernBus bus;
    ASSERT_TRUE(publishMainWindow(bus, window())) << bus.lastError().toStdString();
    frmMemo* memo = window().memoWindow();
    ASSERT_NE(memo, nullptr);
    memo->appendEntry({"홍길동", "(02)735-1234", "110-011", "서울 종로구 청운동 1", ""});
    memo->appendEntry({"김영희", "(031)45-6789", "423-010", "광명시 철산동 2", "메모"});
    QString reply;
    ASSERT_TRUE(gdbus("enSaveMemo", {"버스메모", "false"}, "frmMemo", &reply));
    EXPECT_EQ(reply, "(0,)") << "saved";
    EXPECT_EQ(memo->titleText(), "버스메모");
    memo->clearList();
    ASSERT_TRUE(gdbus("exLoadMemo", {"버스메모"}, "frmMemo"));
    ASSERT_EQ(memo->entries().size(), 2u);
    EXPECT_EQ(memo->entries()[1].value(0), "김영희");
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(OutsideWindowTest, TheCheckedMenuItemChoosesTheWordSearch) {
    ASSERT_TRUE(start());
    HalvernBus bus;
    ASSERT_TRUE(publishMainWindow(bus, window()));
    auto* standard = child<QAction>("mnuStandardSearch");
    auto* word = child<QAction>("mnuWordSearch");
    EXPECT_TRUE(standard->isChecked());
    chooseFromMenu(child<QMenu>("mnuSearchOption"), word);
    EXPECT_TRUE(word->isChecked());
    EXPECT_FALSE(standard->isChecked());
    ASSERT_TRUE(gdbus("enSubmitClickMulti", {"약국", "10:20"}));
    const QStringList pharmacies =
        sampleCompanies({"10", "20"}, [](const QString& name) { return name.contains("약국"); });
    ASSERT_FALSE(pharmacies.isEmpty());
    EXPECT_EQ(listedCompanies(), pharmacies);
    ASSERT_TRUE(gdbus("enMnuStandardSearchClick", {}));
    EXPECT_TRUE(standard->isChecked());
    EXPECT_FALSE(word->isChecked());
    ASSERT_TRUE(gdbus("enSubmitClickMulti", {"약국", "10:20"}));
    EXPECT_TRUE(listedCompanies().isEmpty());  // no name begins with it
}

TEST_F(OutsideWindowTest, TheWindowsOwnOperationListsNothingOnceTheNameKindIsSetUp) {
    ASSERT_TRUE(start());
    searchAName();
    ASSERT_EQ(window().intSearchKindCode(), 2);
    window().enSubmitClickMulti("한빛", "10");
    EXPECT_EQ(window().resultModel()->rowCount(), 0);
    EXPECT_EQ(window().resultModel()->headers().size(), 6);
    EXPECT_EQ(window().foundCount(), 0);
}

}  // namespace
