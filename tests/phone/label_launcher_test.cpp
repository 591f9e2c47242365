// The label command against a label program on a private session bus (the test runs under
// dbus-run-session): a program already answering, one started by the command from a program
// folder with blanks in its name, one that never answers, and none at all.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>

#include "FakeLabelServer.h"
#include "LabelLauncher.h"
#include "PhoneFixture.h"

namespace {

using namespace std::chrono_literals;
using Outcome = LabelLauncher::Outcome;

class LabelLauncherTest : public PhoneFixture {
protected:
    void SetUp() override {
        PhoneFixture::SetUp();
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected())
            << "no session bus: run the test under dbus-run-session";
        m_folder = m_dir.filePath("Program Files/Telvia 2000/");
        ASSERT_TRUE(QDir().mkpath(m_folder));
        m_log = m_dir.filePath("lablor.log");
        qputenv("FAKE_LABLOR_LOG", QFile::encodeName(m_log));
        m_launcher.setProgramFolder(m_folder);
    }
    // Puts the fake label program into the program folder as "Lablor".
    void installFakeLablor() {
        ASSERT_TRUE(QFile::copy(QStringLiteral(TELVIA_FAKE_LABLOR), m_folder + "Lablor"));
    }
    // A "Lablor" that starts, notes its arguments and ends without answering.
    void installSilentLablor() {
        QFile script(m_folder + "Lablor");
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"start $*\" >> \"$FAKE_LABLOR_LOG\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    QStringList log() const {
        QFile f(m_log);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    // Runs the command and returns its outcome.
    std::optional<Outcome> run(std::chrono::milliseconds timeout = 8s) {
        QSignalSpy finished(&m_launcher, &LabelLauncher::finished);
        EXPECT_TRUE(m_launcher.labelCommand());
        if (!waitFor([&] { return finished.count() > 0; }, timeout)) return std::nullopt;
        return finished.front().front().value<Outcome>();
    }

    QString m_folder;
    QString m_log;
    LabelLauncher m_launcher;
};

TEST_F(LabelLauncherTest, ARunningLabelProgramGetsCmOnceAndNothingIsStarted) {
    installFakeLablor();
    FakeLabelServer partner;
    ASSERT_TRUE(partner.serve());
    EXPECT_EQ(run(), Outcome::kTakenOver);
    EXPECT_EQ(partner.calls(), QStringList({"Link Form", "Execute CM:"}));
    EXPECT_TRUE(log().isEmpty());
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(LabelLauncherTest, AnAbsentProgramIsReportedAndNotRetried) {
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(run(), Outcome::kProgramMissing);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    const MessageRequest& box = m_prompt.messages().front();
    EXPECT_EQ(box.text, "라벨 인쇄 프로그램이 없습니다. ");  // with its trailing blank
    EXPECT_EQ(box.title, QApplication::applicationDisplayName());
    EXPECT_EQ(box.icon, PromptIcon::Error);
    EXPECT_EQ(box.buttons, PromptButtons::Ok);
    EXPECT_FALSE(m_launcher.isRunning());
}

TEST_F(LabelLauncherTest, APartnerThatAppearsLaterIsReachedByTheNextCommand) {
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(run(), Outcome::kProgramMissing);
    FakeLabelServer partner;
    ASSERT_TRUE(partner.serve());
    EXPECT_EQ(run(), Outcome::kTakenOver);
    EXPECT_EQ(partner.calls(), QStringList({"Link Form", "Execute CM:"}));
}

TEST_F(LabelLauncherTest, TheProgramIsStartedWithNoLoadAndAskedTwoSecondsLater) {
    installFakeLablor();
    QElapsedTimer clock;
    clock.start();
    int ticksDuringWait = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticksDuringWait; });
    ticker.start(100);
    QSignalSpy finished(&m_launcher, &LabelLauncher::finished);
    ASSERT_TRUE(m_launcher.labelCommand());
    // The window stays live and the command does not start again meanwhile.
    ASSERT_TRUE(waitFor([&] { return ticksDuringWait >= 5; }));
    EXPECT_TRUE(m_launcher.isRunning());
    EXPECT_FALSE(m_launcher.labelCommand());
    ASSERT_TRUE(waitFor([&] { return finished.count() > 0; }, 8s));
    EXPECT_EQ(finished.front().front().value<Outcome>(), Outcome::kTakenOver);
    EXPECT_GE(clock.elapsed(), 2000);
    EXPECT_EQ(log(), QStringList({"start /NoLoad", "Link Form", "Execute CM:"}));
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(LabelLauncherTest, AStartedProgramThatNeverAnswersEndsTheCommandSilently) {
    installSilentLablor();
    m_launcher.setStartWait(200ms);
    EXPECT_EQ(run(), Outcome::kNoAnswer);
    EXPECT_EQ(log(), QStringList({"start /NoLoad"}));
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(LabelLauncherTest, AnyOtherFailureIsRetriedOnceWithoutStartingTheProgram) {
    installSilentLablor();
    FakeLabelServer partner;
    ASSERT_TRUE(partner.serve());
    partner.refuseExecutes(1);
    EXPECT_EQ(run(), Outcome::kTakenOver);
    EXPECT_EQ(partner.calls(),
              QStringList({"Link Form", "Execute CM:", "Link Form", "Execute CM:"}));
    partner.refuseExecutes(2);
    EXPECT_EQ(run(), Outcome::kNoAnswer);
    EXPECT_TRUE(log().isEmpty());
    EXPECT_TRUE(m_prompt.messages().empty());
}

}  // namespace
