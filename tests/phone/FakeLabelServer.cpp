#include "FakeLabelServer.h"

#include "LabelLauncher.h"

FakeLabelServer::FakeLabelServer(const QString& connectionName)
    : m_connectionName(connectionName),
      m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName)) {}

FakeLabelServer::~FakeLabelServer() {
    stop();
    QDBusConnection::disconnectFromBus(m_connectionName);
}

bool FakeLabelServer::serve() {
    return m_bus.registerObject(QString::fromLatin1(label::kTopicPath), this,
                                QDBusConnection::ExportAllSlots) &&
           m_bus.registerService(QString::fromLatin1(label::kService));
}

void FakeLabelServer::stop() {
    m_bus.unregisterService(QString::fromLatin1(label::kService));
    m_bus.unregisterObject(QString::fromLatin1(label::kTopicPath));
}

void FakeLabelServer::Link(const QString& item) {
    if (item != QLatin1String(label::kItem)) {
        sendErrorReply(QStringLiteral("org.telvia.Conversation.Error.NoSuchItem"), item);
    }
    record(QStringLiteral("Link ") + item);
}

void FakeLabelServer::Execute(const QString& command) {
    if (m_refusals > 0) {
        --m_refusals;
        sendErrorReply(QStringLiteral("org.telvia.Conversation.Error.Busy"), command);
    }
    record(QStringLiteral("Execute ") + command);
}

void FakeLabelServer::record(const QString& call) {
    m_calls << call;
    if (m_onCall) m_onCall(call);
}
