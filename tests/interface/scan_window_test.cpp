// A scan through the loaded control: its progress window disables the main window, Esc
// cancels after the current name, and the main window is usable again afterwards.
// The control initialises its readers once per process, as a loaded control does: ctest runs
// every test of this file in a process of its own (run one at a time with --gtest_filter).
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "SampleCd.h"
#include "ScriptedPrompt.h"
#include "ZendariClient.h"

using namespace zendari;

namespace {

QWidget* visibleProgressWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("ProgressWindow") && w->isVisible()) return w;
    return nullptr;
}

class ScanWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
        mainWindow.resize(400, 300);
        mainWindow.show();
        ASSERT_TRUE(client.load(QStringLiteral(ZENDARI_LIBRARY_PATH), &mainWindow));
        client.putLong(kDispInitDB, 1);
        ASSERT_EQ(client.getLong(kDispInitDB), 1);
        client.putLong(kDispSetLocal, 11);
    }
    QString scan(const QString& loc, int cnt) {
        const Variant args[2] = {ZendariClient::text(loc), std::int32_t{cnt}};
        return client.callText(kDispGetLocNext, args);
    }

    CdFixture cd{sampleListings(), sampleDongs()};
    ScriptedPrompt prompt;
    PromptInstaller installed{prompt};
    QWidget mainWindow;
    ZendariClient client;
};

TEST_F(ScanWindowTest, EscCancelsAfterTheCurrentNameAndKeepsItsMatches) {
    bool sawWindow = false, mainDisabledDuringScan = false;
    QString title;
    QTimer presser;
    presser.setInterval(0);
    QObject::connect(&presser, &QTimer::timeout, [&] {
        QWidget* progress = visibleProgressWindow();
        if (!progress || sawWindow) return;
        sawWindow = true;
        mainDisabledDuringScan = !mainWindow.isEnabled();
        title = progress->windowTitle();
        QTest::keyClick(progress, Qt::Key_Escape);
    });
    presser.start();
    const QString result = scan(QStringLiteral("11020103"), 20000);
    presser.stop();

    EXPECT_TRUE(sawWindow);
    EXPECT_TRUE(mainDisabledDuringScan);
    EXPECT_TRUE(title.startsWith(QStringLiteral("인명검색"))) << title.toStdString();
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_EQ(visibleProgressWindow(), nullptr);
    // Only the first name (김철수) was walked: its two records in 우동, nothing of 박영희.
    EXPECT_EQ(result, "김철수:" + uDong() +
                          ":37-209:051:742-85:612020:해운대아파트 101동 1203호\n|" +
                          "김철수:" + uDong() + ":8-1:051:746-2:612020:우동 1층\n|");
}

TEST_F(ScanWindowTest, InputAfterEscNeverReachesTheMainWindowWhileTheScanRuns) {
    // Esc and a click on the main window arrive in one batch of events: the click must not
    // run a command of the main window inside the scan that is still finishing its name.
    auto* command = new QPushButton(QStringLiteral("다음 찾기"), &mainWindow);
    command->setGeometry(10, 10, 100, 30);
    command->show();
    bool scanRunning = false, clickedDuringScan = false, pressed = false;
    int clicks = 0;
    QObject::connect(command, &QPushButton::clicked, [&] {
        ++clicks;
        clickedDuringScan |= scanRunning;
    });
    QTimer presser;
    presser.setInterval(0);
    QObject::connect(&presser, &QTimer::timeout, [&] {
        QWidget* progress = visibleProgressWindow();
        if (!progress || pressed) return;
        pressed = true;
        QTest::keyClick(progress, Qt::Key_Escape);
        QTest::mouseClick(command, Qt::LeftButton);
    });
    presser.start();
    scanRunning = true;
    scan(QStringLiteral("11020103"), 20000);
    scanRunning = false;
    presser.stop();

    ASSERT_TRUE(pressed);
    EXPECT_FALSE(clickedDuringScan);
    EXPECT_TRUE(mainWindow.isEnabled());
    const int before = clicks;
    QTest::mouseClick(command, Qt::LeftButton);  // once the scan is over the window answers
    EXPECT_EQ(clicks, before + 1);
}

TEST_F(ScanWindowTest, UncancelledPageWalksToTheEndAndReenablesTheWindow) {
    const QString result = scan(QStringLiteral("11020103"), 20000);
    EXPECT_TRUE(result.contains(QStringLiteral("박영희:") + uDong()));
    EXPECT_EQ(result.count(QLatin1Char('|')), 3);
    EXPECT_TRUE(mainWindow.isEnabled());
    // The page ended on the sentinel: the next page of the same dong is empty at once.
    EXPECT_EQ(scan(QStringLiteral("11020103"), 20000), QString());
}

}  // namespace
