// The dial string, the settings behind it, the port map and the reading of the modem's
// answers, without a port.
#include <gtest/gtest.h>

#include "DialString.h"
#include "PhoneFixture.h"
#include "SerialPorts.h"

namespace {

using phone::ModemAnswer;

struct DialCase {
    const char* what;
    QString areaCode, number, own, prefix;
    QString expected;
};

TEST(DialStringTest, BuildsCutsAndCleansTheNumber) {
    const DialCase cases[] = {
        {"other area, prefix", "031", "735-1234", "02", "9", "9,031 735-1234"},
        {"other area, no prefix", "031", "735-1234", "02", "", "031 735-1234"},
        {"own area, prefix", "02", "735-1234", "02", "9", "9,735-1234"},
        {"own area, no prefix", "02", "735-1234", "02", "", "735-1234"},
        {"prefix 0 from PreFix 10", "051", "245-0001", "02", "0", "0,051 245-0001"},
        {"the comparison is exact text", "2", "735-1234", "02", "", "2 735-1234"},
        {"extension after /", "02", "735-1234/567", "02", "", "735-1234"},
        {"second number after /", "031", "45-6789/45-6790", "02", "", "031 45-6789"},
        {"both boxes empty", "", "", "02", "", ""},
        {"number that is all extension", "02", "/12", "02", "", ""},
        {"blanks around", "02", "  735-1234  ", "02", "", "735-1234"},
        {"no command can ride along", "02", "735-1234;\rATZ", "02", "", "735-1234"},
        {"letters and brackets dropped", "02", "(대표)735-1234 내선", "02", "", "735-1234"},
        {"star and hash kept", "02", "*23#", "02", "", "*23#"},
    };
    for (const DialCase& c : cases) {
        EXPECT_EQ(phone::dialString(c.areaCode, c.number, c.own, c.prefix), c.expected) << c.what;
    }
}

TEST(DialStringTest, PrefixSettingGivesItsDigits) {
    EXPECT_EQ(phone::prefixText(0), "");
    EXPECT_EQ(phone::prefixText(10), "0");
    EXPECT_EQ(phone::prefixText(9), "9");
    EXPECT_EQ(phone::prefixText(1), "1");
}

TEST(DialStringTest, CommandIsAtdtTheStringSemicolonAndCarriageReturn) {
    EXPECT_EQ(phone::dialCommand("9,031 735-1234"), QByteArray("ATDT9,031 735-1234;\r"));
    EXPECT_EQ(QByteArray(phone::kHangUp), QByteArray("ATH\r"));
}

TEST(DialStringTest, AnswersAreReadFromEverythingReceived) {
    EXPECT_EQ(phone::classifyAnswer(""), ModemAnswer::kNone);
    EXPECT_EQ(phone::classifyAnswer("ATDT735-1234;\r\r\nO"), ModemAnswer::kNone);
    EXPECT_EQ(phone::classifyAnswer("ATDT735-1234;\r\r\nOK\r\n"), ModemAnswer::kOk);
    EXPECT_EQ(phone::classifyAnswer("\r\nNO DIALTONE\r\n"), ModemAnswer::kNoDialTone);
    EXPECT_EQ(phone::classifyAnswer("\r\nNO DIAL TONE\r\n"), ModemAnswer::kNoDialTone);
    EXPECT_EQ(phone::classifyAnswer("\r\nNO CARRIER\r\n"), ModemAnswer::kNoCarrier);
    // "OK" is tested first.
    EXPECT_EQ(phone::classifyAnswer("\r\nNO CARRIER\r\nOK\r\n"), ModemAnswer::kOk);
}

using DialSettingsTest = PhoneFixture;

TEST_F(DialSettingsTest, DefaultsAndStoredValues) {
    phone::DialSettings s = phone::readDialSettings();
    EXPECT_EQ(s.port, "3");
    EXPECT_EQ(s.ownAreaCode, "02");
    EXPECT_EQ(s.prefix, "");
    saveSetting("Option", "ComPort", "1");
    saveSetting("Option", "AreaCode", "031");
    saveSetting("Option", "PreFix", "10");
    s = phone::readDialSettings();
    EXPECT_EQ(s.port, "1");
    EXPECT_EQ(s.ownAreaCode, "031");
    EXPECT_EQ(s.prefix, "0");
}

TEST_F(DialSettingsTest, PortNumbersMapToDevices) {
    EXPECT_EQ(phone::portDevice("1"), QString("/dev/ttyS0"));
    EXPECT_EQ(phone::portDevice(" 3 "), QString("/dev/ttyS2"));
    EXPECT_EQ(phone::portDevice("4"), QString("/dev/ttyS3"));
    saveSetting("Serial", "COM3", "/dev/ttyACM0");
    EXPECT_EQ(phone::portDevice("3"), QString("/dev/ttyACM0"));
    for (const char* bad : {"", "abc", "3x", "0", "-1", "256", "2.5"}) {
        EXPECT_EQ(phone::portDevice(bad), std::nullopt) << bad;
    }
}

}  // namespace
