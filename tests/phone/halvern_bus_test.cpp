// The main program's operations on the session bus (a private bus per test, under
// dbus-run-session): called from a shell with gdbus and from another connection, one at a
// time, with the memo window's result as the reply.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include "HalvernBus.h"
#include "PhoneFixture.h"

namespace {

using namespace std::chrono_literals;

class HalvernBusTest : public PhoneFixture {
protected:
    void SetUp() override {
        PhoneFixture::SetUp();
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected())
            << "no session bus: run the test under dbus-run-session";
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        PhoneFixture::TearDown();
    }
    // `gdbus call` on the session bus, as a user would type it; its output, or nullopt when
    // it failed.
    std::optional<QString> gdbus(const QString& path, const QString& method,
                                 const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral("gdbus"),
                QStringList({"call", "--session", "--dest", "org.telvia.Halvern", "--object-path",
                             path, "--method", method}) +
                    args);
        // The program answers from this event loop: keep it running while gdbus waits.
        if (!waitFor([&] { return p.state() == QProcess::NotRunning; }, 10s)) return std::nullopt;
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            ADD_FAILURE() << p.readAllStandardError().toStdString();
            return std::nullopt;
        }
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    // An asynchronous call from another program's connection.
    static QDBusPendingCall call(const char* path, const char* interface, const char* method,
                                 const QVariantList& args) {
        QDBusMessage m =
            QDBusMessage::createMethodCall("org.telvia.Halvern", path, interface, method);
        m.setArguments(args);
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client").asyncCall(m);
    }

    HalvernBus m_bus;
};

TEST_F(HalvernBusTest, AShellRunsTheBusinessSearchInTheRunningProgram) {
    QStringList seen;
    ASSERT_TRUE(m_bus.publishMain(
        {[&](const QString& name, const QString& codes) { seen << name << codes; },
         [&] { seen << "standard"; }}))
        << m_bus.lastError().toStdString();
    EXPECT_EQ(gdbus("/frmMain", "org.telvia.Halvern.frmMain.enSubmitClickMulti", {"약국", "11:12"}),
              "()");
    EXPECT_EQ(gdbus("/frmMain", "org.telvia.Halvern.frmMain.enMnuStandardSearchClick", {}), "()");
    EXPECT_EQ(seen, QStringList({"약국", "11:12", "standard"}));
}

TEST_F(HalvernBusTest, TheMemoWindowsResultIsTheReply) {
    QStringList loaded;
    ASSERT_TRUE(m_bus.publishMemo({[&](const QString& pad) { loaded << pad; },
                                   [&](const QString& pad, bool overwrite) {
                                       return pad == "거래처" && overwrite ? 0 : -3;
                                   }}));
    QDBusPendingReply<int> saved = call("/frmMemo", "org.telvia.Halvern.frmMemo", "enSaveMemo",
                                        {QStringLiteral("거래처"), true});
    QDBusPendingReply<int> refused = call("/frmMemo", "org.telvia.Halvern.frmMemo", "enSaveMemo",
                                          {QStringLiteral("거래처"), false});
    ASSERT_TRUE(waitFor([&] { return saved.isFinished() && refused.isFinished(); }));
    EXPECT_EQ(saved.value(), 0);
    EXPECT_EQ(refused.value(), -3);
    EXPECT_EQ(gdbus("/frmMemo", "org.telvia.Halvern.frmMemo.exLoadMemo", {"친구"}), "()");
    EXPECT_EQ(loaded, QStringList({"친구"}));
    // A memo window loaded anew takes the calls from then on.
    ASSERT_TRUE(m_bus.publishMemo({[&](const QString& pad) { loaded << "new " + pad; }, {}}));
    EXPECT_EQ(gdbus("/frmMemo", "org.telvia.Halvern.frmMemo.exLoadMemo", {"친구"}), "()");
    EXPECT_EQ(loaded.back(), "new 친구");
}

TEST_F(HalvernBusTest, CallsRunOneAfterAnotherEvenWhileAnOperationShowsABox) {
    QStringList order;
    ASSERT_TRUE(m_bus.publishMain({[&](const QString& name, const QString&) {
                                       order << "start " + name;
                                       // A modal box lets the events run meanwhile.
                                       QEventLoop box;
                                       QTimer::singleShot(300, &box, &QEventLoop::quit);
                                       box.exec();
                                       order << "end " + name;
                                   },
                                   {}}));
    QDBusPendingCall first = call("/frmMain", "org.telvia.Halvern.frmMain", "enSubmitClickMulti",
                                  {QStringLiteral("A"), QStringLiteral("11")});
    QTimer::singleShot(100, [&] {
        call("/frmMain", "org.telvia.Halvern.frmMain", "enSubmitClickMulti",
             {QStringLiteral("B"), QStringLiteral("11")});
    });
    ASSERT_TRUE(waitFor([&] { return order.size() == 4; }));
    EXPECT_EQ(order, QStringList({"start A", "end A", "start B", "end B"}));
    EXPECT_TRUE(first.isFinished() && !first.isError());
}

TEST_F(HalvernBusTest, WithoutTheBusOrItsNameTheProgramGoesOnWithoutIt) {
    HalvernBus nowhere(QDBusConnection(QStringLiteral("never-connected")));
    EXPECT_FALSE(nowhere.publishMain({}));
    EXPECT_FALSE(nowhere.lastError().isEmpty());

    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client");
    ASSERT_TRUE(other.registerService("org.telvia.Halvern"));
    EXPECT_FALSE(m_bus.publishMain({}));
    EXPECT_TRUE(m_bus.lastError().contains("org.telvia.Halvern"));
}

}  // namespace
