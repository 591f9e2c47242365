// The dial window driven by clicks and keys on a fake modem: what reaches the modem, the
// caption and the controls while dialling, the failure message, the refusal to close while
// the modem dials, and F1.
#include "frmDial.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "FakeHayesModem.h"
#include "PhoneFixture.h"
#include "startup/ProgramGlobals.h"

namespace {

using namespace std::chrono_literals;

class frmDialTest : public PhoneFixture {
protected:
    void SetUp() override {
        PhoneFixture::SetUp();
        intMemoPadKind = 0;
    }
    // Points port 3 (the default "ComPort") at the modem and opens a window on the entry.
    std::unique_ptr<frmDial> openWindow(const FakeHayesModem& modem, const QString& area,
                                        const QString& number) {
        saveSetting("Serial", "COM3", modem.device());
        auto window = std::make_unique<frmDial>();
        window->setEntry("김영희", area, number, "영업부");
        window->dialer().setTickInterval(10ms);
        window->show();
        return window;
    }
    template <typename T>
    static T* child(frmDial& w, const char* name) {
        return w.findChild<T*>(QString::fromLatin1(name));
    }
    static void clickDial(frmDial& w) {
        QTest::mouseClick(child<QPushButton>(w, "cmdDial"), Qt::LeftButton);
    }
    static void expectFailureBox(const MessageRequest& box) {
        EXPECT_EQ(box.text, "전화 걸기에 실패했습니다");
        EXPECT_EQ(box.title, "오류 (D0001)");
        EXPECT_EQ(box.icon, PromptIcon::Error);
        EXPECT_EQ(box.buttons, PromptButtons::Ok);
    }
};

TEST_F(frmDialTest, ADialledNumberClosesTheWindowAfterTheHandsetMessage) {
    saveSetting("Option", "PreFix", "9");
    FakeHayesModem modem;
    auto window = openWindow(modem, "031", "735-1234/12");
    EXPECT_EQ(window->windowTitle(), "Telvia 전화걸기");
    QString captionWhileDialling;
    bool controlsDisabled = false;
    m_prompt.setOnMessage([&](const MessageRequest&) {
        captionWhileDialling = window->windowTitle();
        controlsDisabled = !child<QPushButton>(*window, "cmdDial")->isEnabled() &&
                           !child<QPushButton>(*window, "cmdCancel")->isEnabled() &&
                           !child<QLineEdit>(*window, "txtAreaCode")->isEnabled() &&
                           !child<QLineEdit>(*window, "txtNumber")->isEnabled();
    });
    m_prompt.queueAnswer(PromptAnswer::Ok);
    clickDial(*window);
    ASSERT_TRUE(waitFor([&] { return !window->isVisible(); }));
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(captionWhileDialling, "전화를 거는 중 - 9,031 735-1234");
    EXPECT_TRUE(controlsDisabled);
    EXPECT_EQ(window->windowTitle(), "Telvia 전화걸기");
    ASSERT_TRUE(modem.waitForCloses(1, 2s));
    EXPECT_EQ(modem.received(), QByteArray("ATDT9,031 735-1234;\rATH\r"));
    EXPECT_TRUE(modem.hungUpBeforeClose());
}

TEST_F(frmDialTest, TheOwnAreaCodeWithoutPrefixDialsTheNumberAlone) {
    FakeHayesModem modem;
    auto window = openWindow(modem, "02", "735-1234");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    clickDial(*window);
    ASSERT_TRUE(waitFor([&] { return !window->isVisible(); }));
    ASSERT_TRUE(modem.waitForCloses(1, 2s));
    EXPECT_EQ(modem.received(), QByteArray("ATDT735-1234;\rATH\r"));
}

TEST_F(frmDialTest, BothBoxesEmptySendNothingAndSayNothing) {
    FakeHayesModem modem;
    auto window = openWindow(modem, "", "");
    clickDial(*window);
    QTest::qWait(100);
    EXPECT_TRUE(modem.received().isEmpty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isDialling());
    EXPECT_TRUE(child<QPushButton>(*window, "cmdDial")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(*window, "txtNumber")->isEnabled());
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(frmDialTest, AFailedDialSaysSoAndLeavesTheWindowReadyForAnother) {
    FakeHayesModem::Script script;
    script.dialReply = "\r\nNO CARRIER\r\n";
    FakeHayesModem modem(script);
    auto window = openWindow(modem, "02", "735-1234");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    clickDial(*window);
    ASSERT_TRUE(waitFor([&] { return !m_prompt.messages().empty(); }));
    expectFailureBox(m_prompt.messages().front());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isDialling());
    EXPECT_EQ(window->windowTitle(), "Telvia 전화걸기");
    EXPECT_TRUE(child<QPushButton>(*window, "cmdDial")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*window, "cmdCancel")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(*window, "txtAreaCode")->isEnabled());
    // "종료" closes it.
    QTest::mouseClick(child<QPushButton>(*window, "cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(frmDialTest, ThePortSettingThatIsNoNumberFailsWithoutTouchingTheModem) {
    FakeHayesModem modem;
    auto window = openWindow(modem, "02", "735-1234");
    saveSetting("Option", "ComPort", "COM3");
    auto badPort = std::make_unique<frmDial>();
    badPort->setEntry("김영희", "02", "735-1234", "");
    badPort->show();
    m_prompt.queueAnswer(PromptAnswer::Ok);
    clickDial(*badPort);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    expectFailureBox(m_prompt.messages().front());
    QTest::qWait(50);
    EXPECT_TRUE(modem.received().isEmpty());
}

TEST_F(frmDialTest, WhileTheModemDialsTheWindowCannotBeClosed) {
    FakeHayesModem::Script script;
    script.dialReply.clear();
    FakeHayesModem modem(script);
    auto window = openWindow(modem, "02", "735-1234");
    window->dialer().setTickInterval(40ms);
    clickDial(*window);
    ASSERT_TRUE(window->isDialling());
    window->close();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    window->reject();
    EXPECT_TRUE(window->isVisible());
    QLabel* counter = child<QLabel>(*window, "lblDialing");
    ASSERT_TRUE(waitFor([&] { return counter->text() == "2"; }));
    EXPECT_TRUE(counter->autoFillBackground());
    // After 20 silent ticks: "ATH", the failure message, and the window can close again.
    m_prompt.queueAnswer(PromptAnswer::Ok);
    ASSERT_TRUE(waitFor([&] { return !m_prompt.messages().empty(); }));
    expectFailureBox(m_prompt.messages().front());
    EXPECT_TRUE(counter->text().isEmpty());
    EXPECT_FALSE(counter->autoFillBackground());
    ASSERT_TRUE(modem.waitForCloses(1, 2s));
    EXPECT_EQ(modem.received(), QByteArray("ATDT735-1234;\rATH\r"));
    EXPECT_TRUE(modem.hungUpBeforeClose());
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(frmDialTest, F1OpensTheHelpFileAtItsContext) {
    FakeHayesModem modem;
    auto window = openWindow(modem, "02", "735-1234");
    QLineEdit* number = child<QLineEdit>(*window, "txtNumber");
    number->setFocus();
    QTest::keyClick(number, Qt::Key_F1);
    ASSERT_EQ(m_shell.targets().size(), 1);
    EXPECT_TRUE(m_shell.targets().front().startsWith("file:///"))
        << m_shell.targets().front().toStdString();
    EXPECT_TRUE(m_shell.targets().front().endsWith("/Telvia.hlp#710"));
}

TEST_F(frmDialTest, PeoplePadsLeaveNoDepartment) {
    intMemoPadKind = 1;
    frmDial people;
    QLineEdit* dept = child<QLineEdit>(people, "txtDept");
    EXPECT_TRUE(dept->text().isEmpty());
    EXPECT_EQ(dept->palette().color(QPalette::Base), dept->palette().color(QPalette::Button));
    intMemoPadKind = 0;
    frmDial business;
    QLineEdit* dept2 = child<QLineEdit>(business, "txtDept");
    EXPECT_NE(dept2->palette().color(QPalette::Base), dept2->palette().color(QPalette::Button));
}

TEST_F(frmDialTest, DialOpensTheWindowModallyWithTheCallersValues) {
    FakeHayesModem modem;
    saveSetting("Serial", "COM3", modem.device());
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<frmDial*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        for (const char* box : {"txtName", "txtAreaCode", "txtNumber", "txtDept"}) {
            seen << child<QLineEdit>(*window, box)->text();
        }
        m_prompt.queueAnswer(PromptAnswer::Ok);
        clickDial(*window);
    });
    frmDial::dial(nullptr, "(주)텔비아", "031", "45-6789", "총무부");
    EXPECT_EQ(seen, QStringList({"(주)텔비아", "031", "45-6789", "총무부"}));
    ASSERT_TRUE(modem.waitForCloses(1, 2s));
    EXPECT_EQ(modem.received(), QByteArray("ATDT031 45-6789;\rATH\r"));
}

}  // namespace
