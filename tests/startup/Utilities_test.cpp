// The shared routines: splitters, trimmers, the shell messages, the percent bar and the
// list/toolbar look.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "CapturingShell.h"
#include "modAdditionalAPI.h"
#include "modCDFind.h"
#include "modProgressBar.h"

using namespace modAdditionalAPI;

namespace {

TEST(SplitFieldsTest, OnlyTheLastFieldIsTrimmedAndATrailingDelimiterAddsNothing) {
    QString colon = ":";
    EXPECT_EQ(SplitFields("12:  34  ", colon), 2);
    EXPECT_EQ(astrFields[1], "12");
    EXPECT_EQ(astrFields[2], "34");
    EXPECT_EQ(SplitFields("  12:34", colon), 2);
    EXPECT_EQ(astrFields[1], "  12");
    EXPECT_EQ(SplitFields("a:b:", colon), 2);
    EXPECT_EQ(astrFields[2], "b");
    EXPECT_EQ(SplitFields(":a", colon), 2);
    EXPECT_EQ(astrFields[1], "");
    EXPECT_EQ(astrFields[2], "a");
    EXPECT_EQ(SplitFields("a::b", colon), 3);
    EXPECT_EQ(astrFields[2], "");
    EXPECT_EQ(SplitFields("", colon), 0);
    EXPECT_EQ(astrFields.count(), 0);
    EXPECT_EQ(astrFields[1], "");  // outside the array reads as "", never out of bounds
}

TEST(SplitFieldsTest, EmptyDelimiterMeansColonAndIsHandedBack) {
    QString none;
    EXPECT_EQ(SplitFields("홍길동:02-123-4567", none), 2);
    EXPECT_EQ(none, ":");
    EXPECT_EQ(astrFields[1], "홍길동");
    QString noBar;
    EXPECT_EQ(SplitBarFields("a:1|b:2", noBar), 2);
    EXPECT_EQ(noBar, "|");
}

TEST(SplitFieldsTest, BarAndColonArraysAreIndependent) {
    QString bar = "|", colon = ":";
    ASSERT_EQ(SplitBarFields("김:02|이:031|", bar), 2);
    QStringList seen;
    for (int i = 1; i <= astrBarFields.count(); ++i) {
        ASSERT_EQ(SplitFields(astrBarFields[i], colon), 2);
        seen << astrFields[1] + "=" + astrFields[2];
    }
    EXPECT_EQ(seen, QStringList({"김=02", "이=031"}));
    EXPECT_EQ(astrBarFields[2], "이:031");
}

TEST(TrimTest, TrailingBlanksAndNuls) {
    const QChar nul(0);
    EXPECT_EQ(TrimTrailingBlanks(QString("E:\\   ")), "E:\\");
    EXPECT_EQ(TrimTrailingBlanks(QString("x ") + nul + " " + nul), "x");
    EXPECT_EQ(TrimTrailingBlanks(QString("  ") + nul), "");
    EXPECT_EQ(TrimTrailingBlanks("  lead"), "  lead");
    EXPECT_EQ(TrimTrailingNuls(QString("D:\\") + nul + nul), "D:\\");
    EXPECT_EQ(TrimTrailingNuls("D:\\ "), "D:\\ ");  // blanks are not NULs
    EXPECT_EQ(TrimTrailingNuls(QString(nul)), "");
}

TEST(DriveListTest, FirstRootAndItsLabel) {
    EXPECT_EQ(modCDFind::firstDriveRoot("/media/cd:rom/:/srv/cd/:"), "/media/cd:rom/");
    EXPECT_EQ(modCDFind::firstDriveRoot(""), "");
    EXPECT_EQ(modCDFind::driveLabel("/media/cdrom/"), "/media/cdrom");
    EXPECT_EQ(modCDFind::driveLabel("/"), "/");
}

TEST(OpenWithShellTest, FailureCodesBecomeTheirMessages) {
    CapturingShell shell;
    ShellInstaller installed(shell);
    EXPECT_EQ(OpenWithShell(nullptr, "http://www.example.invalid/"), "");
    const std::pair<int, const char*> cases[] = {
        {2, "웹브라우저를 찾을 수 없습니다."},
        {3, "파일 패스를 찾을 수 없습니다."},
        {11, "입력 형식이 다릅니다."},
        {31, "알 수 없는 에러입니다."},
        {5, ""},  // any other code: nothing to show
    };
    for (auto [code, text] : cases) {
        shell.setResult(code);
        EXPECT_EQ(OpenWithShell(nullptr, "a.html"), QString::fromUtf8(text)) << code;
    }
    EXPECT_EQ(shell.targets().size(), 6);
    EXPECT_EQ(shell.targets().front(), "http://www.example.invalid/");
}

TEST(PercentBarTest, LabelNeverShowsDoneUnlessExact) {
    using modProgressBar::percentText;
    EXPECT_EQ(percentText(1.0f), "99%");
    EXPECT_EQ(percentText(1.0f, true), "100%");
    EXPECT_EQ(percentText(0.004f), "1%");
    EXPECT_EQ(percentText(0.0f, true), "0%");
    EXPECT_EQ(percentText(0.425f), "43%");
}

TEST(PercentBarTest, BarCoversTheLeftPartAndInvertsTheLabelUnderIt) {
    const QColor back = QApplication::palette("QMenu").color(QPalette::Window);
    QImage box(200, 20, QImage::Format_RGB32);
    box.fill(back);
    modProgressBar::DrawPercentBar(box, 0.25f);
    const QRgb barColour = ~(qRgb(255, 0, 0) ^ back.rgb()) | 0xff000000;
    EXPECT_EQ(box.pixel(2, 10) | 0xff000000, barColour);                  // under the bar
    EXPECT_EQ(box.pixel(190, 10) | 0xff000000, back.rgb() | 0xff000000);  // past it

    // A bar over the whole label shows no pixel of the label in plain red.
    QImage full(200, 20, QImage::Format_RGB32);
    full.fill(back);
    modProgressBar::DrawPercentBar(full, 1.0f);
    int red = 0;
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x) red += (full.pixel(x, y) & 0xffffff) == 0xff0000;
    }
    EXPECT_EQ(red, 0);

    QLabel picture;
    picture.resize(120, 16);
    modProgressBar::DrawPercentBar(&picture, 0.5f);
    EXPECT_EQ(picture.pixmap().size(), QSize(120, 16));
}

TEST(LookTest, FullRowSelectAndFlatToolbar) {
    QTreeWidget list;
    SetFullRowSelect(&list);
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(list.allColumnsShowFocus());
    QToolBar bar;
    bar.addAction("인쇄");
    bar.addAction("메모");
    SetFlatToolbar(&bar);
    const auto buttons = bar.findChildren<QToolButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    for (QToolButton* b : buttons) EXPECT_TRUE(b->autoRaise());
}

}  // namespace
