// The scan's progress window on its own: the title's percentage, what it does to the main
// window, the cancel gestures, and the position it keeps in the control's profile.
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ProgressWindow.h"
#include "QtPrinters.h"
#include "Registration.h"

using zendari::ProgressWindow;

namespace {

class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("WINDIR", QFile::encodeName(dir.path()));
        mainWindow.show();
    }
    QSettings profile() const {
        return QSettings(ProgressWindow::profilePath(), QSettings::IniFormat);
    }

    QTemporaryDir dir;
    QWidget mainWindow;
};

TEST_F(ProgressWindowTest, TitleShowsTheWholePercentageOnlyWhenItChanges) {
    ProgressWindow w(QStringLiteral("인명검색"), true, nullptr, &mainWindow);
    w.setRange(0, 200);
    w.stepIt();
    EXPECT_EQ(w.windowTitle(), "인명검색") << "0% leaves the plain title";
    w.stepIt();
    EXPECT_EQ(w.windowTitle(), "인명검색 [1%]");
    w.stepBy(198);
    EXPECT_EQ(w.windowTitle(), "인명검색 [100%]");
    EXPECT_EQ(w.position(), 200);

    ProgressWindow empty(QStringLiteral("인명검색"), true, nullptr, nullptr);
    empty.setRange(0, 0);
    empty.stepBy(5);
    EXPECT_EQ(empty.windowTitle(), "인명검색") << "an empty range stays at 0%";
}

TEST_F(ProgressWindowTest, DisablesTheMainWindowForItsLifetime) {
    {
        ProgressWindow w(QStringLiteral("인명검색"), true, nullptr, &mainWindow);
        EXPECT_FALSE(mainWindow.isEnabled());
        EXPECT_TRUE(w.isEnabled());
        EXPECT_TRUE(w.isVisible());
    }
    EXPECT_TRUE(mainWindow.isEnabled());
}

TEST_F(ProgressWindowTest, CancelButtonAndEscBothCancel) {
    ProgressWindow byButton(QStringLiteral("인명검색"), true, nullptr, &mainWindow);
    auto* button = byButton.findChild<QPushButton*>(QStringLiteral("cancelButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), " 취소 ");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(byButton.isCancelled());
    EXPECT_FALSE(byButton.isVisible());
    EXPECT_FALSE(mainWindow.isEnabled()) << "the main window comes back when the scan ends";

    ProgressWindow byKey(QStringLiteral("인명검색"), true, nullptr, &mainWindow);
    EXPECT_FALSE(byKey.pump());
    QTest::keyClick(&byKey, Qt::Key_Escape);
    EXPECT_TRUE(byKey.pump());
}

TEST_F(ProgressWindowTest, KeepsItsPositionInTheControlsProfile) {
    {
        QSettings p = profile();
        p.setValue("Settings/X", 40);
        p.setValue("Settings/Y", 30);
    }
    {
        ProgressWindow w(QStringLiteral("인명검색"), true, nullptr, nullptr);
        EXPECT_EQ(w.pos(), QPoint(40, 30));
        w.move(55, 66);
    }
    EXPECT_EQ(profile().value("Settings/X").toInt(), 55);
    EXPECT_EQ(profile().value("Settings/Y").toInt(), 66);
}

TEST_F(ProgressWindowTest, APositionOffTheScreenCentresTheWindow) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    for (const QPoint saved :
         {QPoint(-1, 10), QPoint(10, screen.height()), QPoint(screen.width(), 0)}) {
        {
            QSettings p = profile();
            p.setValue("Settings/X", saved.x());
            p.setValue("Settings/Y", saved.y());
        }
        ProgressWindow w(QStringLiteral("인명검색"), true, nullptr, nullptr);
        EXPECT_EQ(w.pos(),
                  QPoint((screen.width() - w.width()) / 2, (screen.height() - w.height()) / 2))
            << saved.x() << "," << saved.y();
    }
}

// A FIFO in the profile's place is passed over: the window opens centred at once and the
// FIFO is neither waited on nor replaced.
TEST_F(ProgressWindowTest, AProfileThatIsAFifoIsPassedOver) {
    const QByteArray fifo = QFile::encodeName(ProgressWindow::profilePath());
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    std::atomic<bool> done{false}, waited{false};
    std::thread unblock([&] {  // lets a reader that waits on the FIFO go, and tells
        for (int i = 0; i < 200 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        while (!done) {
            const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                waited = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        ProgressWindow w(QStringLiteral("인명검색"), true, nullptr, nullptr);
        EXPECT_EQ(w.pos(),
                  QPoint((screen.width() - w.width()) / 2, (screen.height() - w.height()) / 2));
        w.move(55, 66);
    }
    done = true;
    unblock.join();
    EXPECT_FALSE(waited) << "the window waited on the FIFO";
    struct stat st {};
    ASSERT_EQ(::stat(fifo.constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(Registration, WritesAndRemovesTheControlsRecord) {
    QTemporaryDir dir;
    const QString file = dir.filePath("registry.ini");
    ASSERT_EQ(zendari::registerControl({file, QStringLiteral("/opt/telvia/Zendari20.so")}), 0);
    {
        QSettings reg(file, QSettings::IniFormat);
        const QStringList groups = reg.childGroups();
        const QString cls = QStringLiteral("CLSID %1").arg(QLatin1String(zendari::kClassId));
        ASSERT_TRUE(groups.contains(cls)) << groups.join(',').toStdString();
        EXPECT_EQ(reg.value(cls + "/ProgID").toString(), "Zendari.ZendariCtrl.1");
        EXPECT_EQ(reg.value(cls + "/InprocServer").toString(), "/opt/telvia/Zendari20.so");
        EXPECT_EQ(reg.value(cls + "/ThreadingModel").toString(), "Apartment");
        const QString lib = QStringLiteral("TypeLib %1").arg(QLatin1String(zendari::kTypeLibId));
        EXPECT_EQ(reg.value(lib + "/Name").toString(), "ZendariLib");
        EXPECT_EQ(reg.value(lib + "/HelpString").toString(), "Zendari ActiveX Control module");
        EXPECT_EQ(reg.value(QStringLiteral("ProgID Zendari.ZendariCtrl.1/CLSID")).toString(),
                  zendari::kClassId);
        reg.setValue("Other/Kept", 1);  // somebody else's record
    }
    ASSERT_EQ(zendari::unregisterControl(file), 0);
    QSettings reg(file, QSettings::IniFormat);
    EXPECT_EQ(reg.childGroups(), QStringList{"Other"});
}

}  // namespace
