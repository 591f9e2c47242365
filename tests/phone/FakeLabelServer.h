// A label program's side of the conversation on the session bus, for tests: it owns the
// bus name of "Lablor", answers Link and Execute on /frmDesign and records each call as
// "Link Form" or "Execute CM:". It can refuse the next few Execute calls with an error.
// Used in the test process and by the fake label program.
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <functional>

class FakeLabelServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.telvia.Conversation")
public:
    // Serves on a connection of its own to the session bus, as another program would.
    explicit FakeLabelServer(const QString& connectionName = QStringLiteral("fake-label"));
    ~FakeLabelServer() override;

    // Takes the bus name and exports the topic object; false when either fails.
    bool serve();
    void stop();

    void refuseExecutes(int count) { m_refusals = count; }
    const QStringList& calls() const { return m_calls; }
    // Runs after each call is recorded.
    void setOnCall(std::function<void(const QString&)> hook) { m_onCall = std::move(hook); }

public slots:
    void Link(const QString& item);
    void Execute(const QString& command);

private:
    void record(const QString& call);

    QString m_connectionName;
    QDBusConnection m_bus;
    QStringList m_calls;
    int m_refusals = 0;
    std::function<void(const QString&)> m_onCall;
};
