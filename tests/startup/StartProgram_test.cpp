// The start routine's decisions and the main window's load and exit, against throw-away
// installations, with every message asserted through the scripted prompt.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "ProgramGlobals.h"
#include "Registry.h"
#include "SingleInstance.h"
#include "StartupFixture.h"
#include "frmMain.h"
#include "frmSplash.h"

using modLoadProgram::StartProgram;
using modLoadProgram::StartResult;

namespace {

const QString kCdMissingTail =
    " )에 번호부 CD가 들어있지 않습니다.\r\n\r\n계속 하시려면 번호부 CD를 삽입하신 후 "
    "\"재시도\"를 누르십시오";

class StartProgramTest : public StartupFixture {};

TEST_F(StartProgramTest, NoCdRomDriveEndsEvenWithAConfiguredCd) {
    const QString cd = makeCd("cd", true);
    writeHalvernIni("[INSTALL]\nSRCDISK=" + cd + "\n");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    modLoadProgram::ProgramSession session;
    EXPECT_EQ(StartProgram(session, options()), StartResult::kEnded);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    const MessageRequest& m = m_prompt.messages()[0];
    EXPECT_EQ(m.title, "확인");
    EXPECT_EQ(m.text,
              "이 시스템에는 CD-ROM 드라이브가 없습니다.\r\n"
              "CD-ROM 드라이브가 없는 시스템에서는 프로그램을 실행할 수 없습니다.\r\n\r\n"
              "프로그램 실행을 취소하겠습니다.");
    EXPECT_EQ(m.icon, PromptIcon::Error);
    EXPECT_EQ(m.buttons, PromptButtons::Ok);
    EXPECT_EQ(session.mainWindow, nullptr);
}

TEST_F(StartProgramTest, WithoutSrcDiskTheCdIsExpectedInTheFirstDriveAndCancelEnds) {
    const QString first = makeCd("d", false);
    const QString second = makeCd("e", true);  // the CD is in the second drive: not looked at
    listDrives({first, second});
    m_prompt.queueAnswer(PromptAnswer::Cancel);
    modLoadProgram::ProgramSession session;
    EXPECT_EQ(StartProgram(session, options()), StartResult::kEnded);
    EXPECT_EQ(strCdDrive, first);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    const MessageRequest& m = m_prompt.messages()[0];
    EXPECT_EQ(m.title, "오류 (L0001)");
    EXPECT_EQ(m.text, "CD-ROM 드라이브( " + path("d") + kCdMissingTail);
    EXPECT_EQ(m.buttons, PromptButtons::RetryCancel);
    EXPECT_EQ(m.icon, PromptIcon::Error);
    EXPECT_TRUE(m.beep);
    EXPECT_EQ(session.mainWindow, nullptr);
}

TEST_F(StartProgramTest, SrcDiskWinsOverTheDrivesAndLosesItsTrailingBlanks) {
    listDrives({makeCd("d", false)});
    const QString cd = makeCd("cd", true);
    // No separator at the end and three blanks after it: the root still comes out right.
    writeHalvernIni("[INSTALL]\r\nSRCDISK=" + path("cd") + "   \r\n");
    makeDocs(frmMain::kDocsSecret);
    modLoadProgram::ProgramSession session;
    EXPECT_EQ(StartProgram(session, options()), StartResult::kRunning);
    EXPECT_EQ(strCdDrive, cd);
    EXPECT_TRUE(m_prompt.messages().empty());
    EXPECT_EQ(strDocsPath, path("program/Pro/Docs/"));
    EXPECT_EQ(strBinPath, path("program/Pro/Bin/"));
    EXPECT_EQ(strDatPath, path("program/dat/"));
    ASSERT_NE(session.mainWindow, nullptr);
    EXPECT_TRUE(session.mainWindow->isVisible());
    EXPECT_TRUE(session.mainWindow->dbDocs().is_open());
    EXPECT_FALSE(session.splash->isVisible());
}

// An installed program folder is read-only: the paths lead into the user's data folder, the
// start fills it from the program folder, and the program folder stays as it was.
TEST_F(StartProgramTest, AnInstalledProgramKeepsItsFilesInTheUsersDataFolder) {
    listDrives({makeCd("d", true)});
    makeDocs(frmMain::kDocsSecret);
    QFile marker(path("program/Halvern.userdata"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    const QStringList before = folderListing(path("program"));
    modLoadProgram::StartOptions o = options();
    o.userDataDirectory = path("home/.local/share/telvia");

    modLoadProgram::ProgramSession session;
    ASSERT_EQ(StartProgram(session, o), StartResult::kRunning);
    EXPECT_TRUE(m_prompt.messages().empty());
    EXPECT_EQ(strDocsPath, path("home/.local/share/telvia/Pro/Docs/"));
    EXPECT_EQ(strBinPath, path("home/.local/share/telvia/Pro/Bin/"));
    EXPECT_EQ(strDatPath, path("home/.local/share/telvia/dat/"));
    EXPECT_TRUE(session.mainWindow->dbDocs().is_open());
    EXPECT_TRUE(QFileInfo(strDatPath).isDir());
    EXPECT_EQ(folderListing(path("program")), before);
}

TEST_F(StartProgramTest, RetryAfterTheCdAppearsGoesOnWithoutAnotherPrompt) {
    const QString cd = makeCd("d", false);
    listDrives({cd});
    makeDocs(frmMain::kDocsSecret);
    m_prompt.queueAnswer(PromptAnswer::Retry);
    m_prompt.setOnMessage([&](const MessageRequest&) {
        QFile f(cd + "data/human.cod");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    });
    modLoadProgram::ProgramSession session;
    EXPECT_EQ(StartProgram(session, options()), StartResult::kRunning);
    EXPECT_EQ(m_prompt.messages().size(), 1u);
}

TEST_F(StartProgramTest, RetryWithoutTheCdAsksAgain) {
    listDrives({makeCd("d", false)});
    m_prompt.queueAnswer(PromptAnswer::Retry);
    m_prompt.queueAnswer(PromptAnswer::Retry);
    m_prompt.queueAnswer(PromptAnswer::Cancel);
    modLoadProgram::ProgramSession session;
    EXPECT_EQ(StartProgram(session, options()), StartResult::kEnded);
    EXPECT_EQ(m_prompt.messages().size(), 3u);
}

TEST_F(StartProgramTest, ASecondInstanceIsRefused) {
    listDrives({makeCd("d", true)});
    SingleInstanceGuard running(options().instanceLockPath);
    ASSERT_TRUE(running.acquire());
    m_prompt.queueAnswer(PromptAnswer::Ok);
    modLoadProgram::ProgramSession session;
    EXPECT_EQ(StartProgram(session, options()), StartResult::kEnded);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].title, "오류 (L0003)");
    EXPECT_EQ(m_prompt.messages()[0].text,
              "Telvia 프로그램이 이미 실행 중 입니다.\r\n\r\n프로그램 실행을 취소하겠습니다.");
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::Error);
    EXPECT_EQ(m_prompt.messages()[0].buttons, PromptButtons::Ok);
}

void expectM0008(const ScriptedPrompt& prompt) {
    ASSERT_EQ(prompt.messages().size(), 1u);
    const MessageRequest& m = prompt.messages()[0];
    EXPECT_EQ(m.title, "오류 (M0008)");
    EXPECT_EQ(m.text, "보조 데이터 파일을 찾을 수 없습니다.");
    EXPECT_EQ(m.icon, PromptIcon::Error);
    EXPECT_EQ(m.buttons, PromptButtons::Ok);
    EXPECT_TRUE(m.beep);
}

TEST_F(StartProgramTest, MissingAuxiliaryDatabaseStopsTheLoad) {
    listDrives({makeCd("d", true)});
    m_prompt.queueAnswer(PromptAnswer::Ok);
    modLoadProgram::ProgramSession session;
    EXPECT_EQ(StartProgram(session, options()), StartResult::kEnded);
    expectM0008(m_prompt);
    EXPECT_FALSE(session.mainWindow->isVisible());
}

TEST_F(StartProgramTest, AuxiliaryDatabaseWithAnotherSecretStopsTheLoad) {
    listDrives({makeCd("d", true)});
    makeDocs("not-the-secret");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    modLoadProgram::ProgramSession session;
    EXPECT_EQ(StartProgram(session, options()), StartResult::kEnded);
    expectM0008(m_prompt);
}

TEST_F(StartProgramTest, DisplayScaleComesFromThePhysicalDpi) {
    listDrives({makeCd("d", true)});
    makeDocs(frmMain::kDocsSecret);
    RegistryDpiOverride dpi(QStringLiteral("120"));
    modLoadProgram::ProgramSession session;
    ASSERT_EQ(StartProgram(session, options()), StartResult::kRunning);
    EXPECT_FLOAT_EQ(sngDisplayScale, 0.8f);
}

// A second start in the same process would meet the control already initialised (its data
// stays open until the library unloads), so the missing value gets a process of its own.
TEST_F(StartProgramTest, DisplayScaleIsOneWithoutThePhysicalDpi) {
    listDrives({makeCd("d", true)});
    makeDocs(frmMain::kDocsSecret);
    RegistryDpiOverride missing(std::nullopt);
    modLoadProgram::ProgramSession session;
    ASSERT_EQ(StartProgram(session, options()), StartResult::kRunning);
    EXPECT_FLOAT_EQ(sngDisplayScale, 1.0f);
}

TEST(DisplayScaleTest, NinetySixIsOneAndUnusableValuesFallBackToOne) {
    EXPECT_EQ(modLoadProgram::displayScale("96"), 1.0f);
    EXPECT_FLOAT_EQ(modLoadProgram::displayScale("120"), 0.8f);
    EXPECT_FLOAT_EQ(modLoadProgram::displayScale("72.5"), 96.0f / 72.5f);
    for (const char* unusable : {"", "0", "abc", "-96", "0.0"}) {
        EXPECT_EQ(modLoadProgram::displayScale(unusable), 1.0f) << unusable;
    }
}

class ExitTest : public StartupFixture {
protected:
    void SetUp() override {
        StartupFixture::SetUp();
        listDrives({makeCd("d", true)});
        makeDocs(frmMain::kDocsSecret);
        ASSERT_EQ(StartProgram(m_session, options()), StartResult::kRunning);
        m_results = m_session.mainWindow->resultModel();
        ASSERT_NE(m_results, nullptr);
        for (const char* name : {"홍길동", "김철수"}) {
            m_results->appendRow({{QString::fromUtf8(name)}, {}});
        }
    }
    void expectQuestion(const MessageRequest& m) {
        EXPECT_EQ(m.title, "확인");
        EXPECT_EQ(m.text, "전국판 인명 Telvia2002을 종료하시겠습니까?");
        EXPECT_EQ(m.icon, PromptIcon::Question);
        EXPECT_EQ(m.buttons, PromptButtons::YesNo);
    }

    modLoadProgram::ProgramSession m_session;
    ResultListModel* m_results = nullptr;
};

TEST_F(ExitTest, NoLeavesEverythingAsItWas) {
    m_prompt.queueAnswer(PromptAnswer::No);
    EXPECT_FALSE(m_session.mainWindow->close());
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    expectQuestion(m_prompt.messages()[0]);
    EXPECT_TRUE(m_session.mainWindow->isVisible());
    EXPECT_EQ(m_results->rowCount(), 2);
    EXPECT_TRUE(m_session.mainWindow->dbDocs().is_open());

    // The menu item asks the same question; Yes empties the list and closes dbDocs.
    m_prompt.queueAnswer(PromptAnswer::Yes);
    m_session.mainWindow->findChild<QAction*>("mnuEnd")->trigger();
    ASSERT_EQ(m_prompt.messages().size(), 2u);
    expectQuestion(m_prompt.messages()[1]);
    EXPECT_FALSE(m_session.mainWindow->isVisible());
    EXPECT_EQ(m_results->rowCount(), 0);
    EXPECT_FALSE(m_session.mainWindow->dbDocs().is_open());
}

TEST_F(StartProgramTest, CurrentAreaIsReadAndMinusOneBecomesZero) {
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Telvia", "Orvello")
        .setValue("Main/CurrentArea", "-1");
    EXPECT_EQ(frmMain().intCurrentArea(), 0);
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Telvia", "Orvello")
        .setValue("Main/CurrentArea", "7");
    frmMain window;
    EXPECT_EQ(window.intCurrentArea(), 7);
    EXPECT_EQ(window.intLoadedArea(), -1);
}

}  // namespace
