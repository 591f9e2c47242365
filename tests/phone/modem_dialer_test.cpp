// The modem conversation on a fake Hayes modem: the bytes sent, each answer, the timeout
// counted in ticks, and that every close comes after "ATH" has left.
#include <QSignalSpy>

#include "FakeHayesModem.h"
#include "ModemDialer.h"
#include "PhoneFixture.h"

namespace {

using namespace std::chrono_literals;
using phone::ModemDialer;

const QString kHandset =
    QStringLiteral("전화기를 들고 \"Enter\"키 또는 마우스로 \"확인\" 버튼을 누르십시오.");

class ModemDialerTest : public PhoneFixture {
protected:
    // Dials `number` on `modem` and returns the result once the attempt ends (-100 if it
    // never does).
    int dialAndWait(FakeHayesModem& modem, const QString& number) {
        QSignalSpy finished(&m_dialer, &ModemDialer::finished);
        EXPECT_TRUE(m_dialer.dial(modem.device(), number));
        if (!waitFor([&] { return finished.count() > 0; })) return -100;
        EXPECT_EQ(finished.count(), 1);
        EXPECT_FALSE(m_dialer.isBusy());
        EXPECT_FALSE(m_dialer.isPortOpen());
        return finished.front().front().toInt();
    }

    ModemDialer m_dialer;
};

TEST_F(ModemDialerTest, OkTellsTheUserThenHangsUpBeforeClosing) {
    FakeHayesModem modem;
    ASSERT_TRUE(modem.ok());
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(dialAndWait(modem, "9,031 735-1234"), ModemDialer::kAnswered);
    ASSERT_TRUE(modem.waitForCloses(1, 2s));
    EXPECT_EQ(modem.received(), QByteArray("ATDT9,031 735-1234;\rATH\r"));
    EXPECT_TRUE(modem.hungUpBeforeClose());
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    const MessageRequest& box = m_prompt.messages().front();
    EXPECT_EQ(box.text, kHandset);
    EXPECT_EQ(box.title, "알림");
    EXPECT_EQ(box.icon, PromptIcon::Information);
    EXPECT_EQ(box.buttons, PromptButtons::Ok);
}

TEST_F(ModemDialerTest, AnswersSplitOverTwoReadsAndWithoutEchoAreUnderstood) {
    FakeHayesModem::Script split;
    split.splitAt = 3;  // "\r\nO" then "K\r\n"
    FakeHayesModem splitModem(split);
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(dialAndWait(splitModem, "735-1234"), ModemDialer::kAnswered);

    FakeHayesModem::Script quiet;
    quiet.echo = false;
    quiet.delay = 100ms;
    FakeHayesModem quietModem(quiet);
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(dialAndWait(quietModem, "735-1234"), ModemDialer::kAnswered);
    ASSERT_TRUE(quietModem.waitForCloses(1, 2s));
    EXPECT_TRUE(quietModem.hungUpBeforeClose());
}

TEST_F(ModemDialerTest, NoDialToneAndNoCarrierCloseWithoutHangingUp) {
    const struct {
        QByteArray reply;
        int result;
    } cases[] = {{"\r\nNO DIALTONE\r\n", ModemDialer::kNoDialTone},
                 {"\r\nNO DIAL TONE\r\n", ModemDialer::kNoDialTone},
                 {"\r\nNO CARRIER\r\n", ModemDialer::kNoCarrier}};
    for (const auto& c : cases) {
        FakeHayesModem::Script script;
        script.dialReply = c.reply;
        FakeHayesModem modem(script);
        EXPECT_EQ(dialAndWait(modem, "735-1234"), c.result) << c.reply.constData();
        ASSERT_TRUE(modem.waitForCloses(1, 2s));
        EXPECT_EQ(modem.received(), QByteArray("ATDT735-1234;\r"));
        EXPECT_FALSE(modem.hungUpBeforeClose());
    }
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(ModemDialerTest, SilenceEndsAfterTwentyTicksWithAHangUp) {
    FakeHayesModem::Script script;
    script.dialReply.clear();
    FakeHayesModem modem(script);
    m_dialer.setTickInterval(10ms);
    QSignalSpy ticks(&m_dialer, &ModemDialer::ticked);
    EXPECT_EQ(dialAndWait(modem, "735-1234"), ModemDialer::kNoAnswer);
    ASSERT_EQ(ticks.count(), ModemDialer::kMaxTicks);
    EXPECT_EQ(ticks.front().front().toInt(), 0);  // the first tick shows 0
    EXPECT_EQ(ticks.back().front().toInt(), 19);
    ASSERT_TRUE(modem.waitForCloses(1, 2s));
    EXPECT_EQ(modem.received(), QByteArray("ATDT735-1234;\rATH\r"));
    EXPECT_TRUE(modem.hungUpBeforeClose());
}

TEST_F(ModemDialerTest, APortThatCannotBeOpenedFailsAtOnce) {
    QSignalSpy finished(&m_dialer, &ModemDialer::finished);
    EXPECT_TRUE(m_dialer.dial(std::nullopt, "735-1234"));
    EXPECT_TRUE(m_dialer.dial(m_dir.filePath("no-such-device"), "735-1234"));
    ASSERT_EQ(finished.count(), 2);
    EXPECT_EQ(finished.at(0).front().toInt(), ModemDialer::kPortFailed);
    EXPECT_EQ(finished.at(1).front().toInt(), ModemDialer::kPortFailed);
    EXPECT_FALSE(m_dialer.isBusy());
}

TEST_F(ModemDialerTest, OneAttemptAtATime) {
    FakeHayesModem::Script script;
    script.dialReply = "\r\nNO CARRIER\r\n";
    script.delay = 100ms;
    FakeHayesModem modem(script);
    QSignalSpy finished(&m_dialer, &ModemDialer::finished);
    ASSERT_TRUE(m_dialer.dial(modem.device(), "735-1234"));
    EXPECT_TRUE(m_dialer.isBusy());
    EXPECT_FALSE(m_dialer.dial(modem.device(), "111-2222"));
    ASSERT_TRUE(waitFor([&] { return finished.count() == 1; }));
    EXPECT_EQ(finished.front().front().toInt(), ModemDialer::kNoCarrier);
    EXPECT_EQ(modem.received(), QByteArray("ATDT735-1234;\r"));
}

TEST_F(ModemDialerTest, TheNextAttemptDoesNotSeeTheLastAnswer) {
    FakeHayesModem okModem;
    m_prompt.queueAnswer(PromptAnswer::Ok);
    EXPECT_EQ(dialAndWait(okModem, "735-1234"), ModemDialer::kAnswered);
    FakeHayesModem::Script script;
    script.dialReply = "\r\nNO CARRIER\r\n";
    FakeHayesModem carrierless(script);
    EXPECT_EQ(dialAndWait(carrierless, "735-1234"), ModemDialer::kNoCarrier);
}

TEST_F(ModemDialerTest, DestroyingTheDialerMidCallHangsUpFirst) {
    FakeHayesModem::Script script;
    script.dialReply.clear();
    FakeHayesModem modem(script);
    {
        ModemDialer dialer;
        ASSERT_TRUE(dialer.dial(modem.device(), "735-1234"));
        QTest::qWait(50);
    }
    ASSERT_TRUE(modem.waitForCloses(1, 2s));
    EXPECT_EQ(modem.received(), QByteArray("ATDT735-1234;\rATH\r"));
    EXPECT_TRUE(modem.hungUpBeforeClose());
}

}  // namespace
