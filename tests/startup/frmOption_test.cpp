// The options dialog against a private settings store.
#include "frmOption.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "Orvello.h"

namespace {

class frmOptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }
    template <typename T>
    static T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QTemporaryDir m_dir;
};

TEST_F(frmOptionTest, CaptionsAndListsAreTheProgramsOwn) {
    frmOption dlg;
    EXPECT_EQ(dlg.windowTitle(), "  Telvia 환경설정");
    EXPECT_EQ(child<QWidget>(dlg, "fraPhone")->property("title").toString(), "전화 설정");
    EXPECT_EQ(child<QWidget>(dlg, "fraCount")->property("title").toString(), "결과 출력 제한");
    EXPECT_EQ(child<QLabel>(dlg, "lblComPort")->text(), "통신 포트");
    EXPECT_EQ(child<QLabel>(dlg, "lblArea")->text(), "DDD 번호");
    EXPECT_EQ(child<QLabel>(dlg, "lblPreFix")->text(), "구내 번호");
    EXPECT_EQ(child<QLabel>(dlg, "lblDisplayMax")->text(), "결과 출력 제한 건수");
    EXPECT_EQ(child<QLabel>(dlg, "txtDisplay")->text(),
              "검색된 데이터를 화면에 표시하는 개수 입니다. 제한을 하지 않을 경우는 \"0\" 을 "
              "입력합니다.");
    EXPECT_EQ(child<QPushButton>(dlg, "cmdOK")->text(), "확  인");
    EXPECT_EQ(child<QPushButton>(dlg, "Command1")->text(), "취  소");
    QStringList ports, prefixes;
    auto* com = child<QComboBox>(dlg, "cboComPort");
    for (int i = 0; i < com->count(); ++i) ports << com->itemText(i);
    auto* pre = child<QComboBox>(dlg, "cboPreFix");
    for (int i = 0; i < pre->count(); ++i) prefixes << pre->itemText(i);
    EXPECT_EQ(ports, QStringList({"COM1", "COM2", "COM3", "COM4"}));
    EXPECT_EQ(prefixes, QStringList({"없슴", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}));
}

TEST_F(frmOptionTest, EmptyStoreShowsTheDefaults) {
    frmOption dlg;
    EXPECT_EQ(child<QComboBox>(dlg, "cboComPort")->currentText(), "COM3");
    EXPECT_EQ(child<QLineEdit>(dlg, "txtArea")->text(), "02");
    EXPECT_EQ(child<QComboBox>(dlg, "cboPreFix")->currentText(), "없슴");
    EXPECT_EQ(child<QLineEdit>(dlg, "txtDisplayMax")->text(), "0");
}

TEST_F(frmOptionTest, OkSavesEveryValueAndTheDialogReadsThemBack) {
    {
        frmOption dlg;
        child<QComboBox>(dlg, "cboComPort")->setCurrentIndex(0);  // COM1
        child<QComboBox>(dlg, "cboPreFix")->setCurrentIndex(10);  // "0"
        auto* area = child<QLineEdit>(dlg, "txtArea");
        area->clear();
        QTest::keyClicks(area, " 031x");  // stored as typed, not validated
        child<QLineEdit>(dlg, "txtDisplayMax")->setText("500");
        QTest::mouseClick(child<QPushButton>(dlg, "cmdOK"), Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Orvello::Read("Option", "ComPort", ""), "1");
    EXPECT_EQ(Orvello::Read("Option", "PreFix", ""), "10");
    EXPECT_EQ(Orvello::Read("Option", "AreaCode", ""), " 031x");
    EXPECT_EQ(Orvello::Read("Option", "MaxDisplayCount", ""), "500");

    frmOption again;
    EXPECT_EQ(child<QComboBox>(again, "cboComPort")->currentText(), "COM1");
    EXPECT_EQ(child<QComboBox>(again, "cboPreFix")->currentText(), "0");
    EXPECT_EQ(child<QLineEdit>(again, "txtArea")->text(), " 031x");
    EXPECT_EQ(child<QLineEdit>(again, "txtDisplayMax")->text(), "500");

    child<QComboBox>(again, "cboPreFix")->setCurrentIndex(9);  // "9"
    QTest::mouseClick(child<QPushButton>(again, "cmdOK"), Qt::LeftButton);
    EXPECT_EQ(Orvello::Read("Option", "PreFix", ""), "9");
}

TEST_F(frmOptionTest, CancelAndEscLeaveTheStoreUnchanged) {
    Orvello::Save("Option", "ComPort", "2");
    Orvello::Save("Option", "AreaCode", "051");
    for (bool useEsc : {false, true}) {
        frmOption dlg;
        dlg.show();
        child<QComboBox>(dlg, "cboComPort")->setCurrentIndex(3);
        child<QLineEdit>(dlg, "txtArea")->setText("064");
        child<QComboBox>(dlg, "cboPreFix")->setCurrentIndex(5);
        child<QLineEdit>(dlg, "txtDisplayMax")->setText("9");
        if (useEsc) {
            QTest::keyClick(&dlg, Qt::Key_Escape);
        } else {
            QTest::mouseClick(child<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        }
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(Orvello::Read("Option", "ComPort", "-"), "2");
        EXPECT_EQ(Orvello::Read("Option", "AreaCode", "-"), "051");
        EXPECT_EQ(Orvello::Read("Option", "PreFix", "-"), "-");
        EXPECT_EQ(Orvello::Read("Option", "MaxDisplayCount", "-"), "-");
    }
}

TEST_F(frmOptionTest, HandEditedValuesOutsideTheListsFallBackToTheDefaults) {
    Orvello::Save("Option", "ComPort", "9");
    Orvello::Save("Option", "PreFix", "abc");
    frmOption dlg;
    EXPECT_EQ(child<QComboBox>(dlg, "cboComPort")->currentText(), "COM3");
    EXPECT_EQ(child<QComboBox>(dlg, "cboPreFix")->currentText(), "없슴");
}

TEST_F(frmOptionTest, StoreKeepsTextUnchanged) {
    const QString texts[] = {
        "이곳에 이름을 입력하세요", "1000:1000:1000:3000:2000", "a, b", "  padded  ", "-1", ""};
    for (const QString& t : texts) {
        Orvello::Save("CurrentSearch", "Human", t);
        EXPECT_EQ(Orvello::Read("CurrentSearch", "Human", "default"), t);
    }
    EXPECT_EQ(Orvello::Read("Memo", "HeaderWidthH", "1000:1000:1000:3000:1000"),
              "1000:1000:1000:3000:1000");
}

}  // namespace
