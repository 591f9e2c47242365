#include "HalvernBus.h"

#include <QDBusConnectionInterface>
#include <QTimer>

#include "HalvernBusObjects.h"

HalvernBus::HalvernBus(const QDBusConnection& bus, QObject* parent) : QObject(parent), m_bus(bus) {}

HalvernBus::~HalvernBus() {
    if (m_main) m_bus.unregisterObject(QString::fromLatin1(halvern_bus::kMainPath));
    if (m_memo) m_bus.unregisterObject(QString::fromLatin1(halvern_bus::kMemoPath));
    if (m_ownsName) m_bus.unregisterService(QString::fromLatin1(halvern_bus::kService));
}

bool HalvernBus::publishMain(MainOperations operations) {
    return publish(halvern_bus::kMainPath, m_main, std::move(operations));
}

bool HalvernBus::publishMemo(MemoOperations operations) {
    return publish(halvern_bus::kMemoPath, m_memo, std::move(operations));
}

template <typename Object, typename Operations>
bool HalvernBus::publish(const char* path, Object*& object, Operations operations) {
    if (object) {
        object->setOperations(std::move(operations));
        return true;
    }
    const QString objectPath = QString::fromLatin1(path);
    if (!m_bus.isConnected()) {
        m_lastError = QStringLiteral("no session bus: ") + m_bus.lastError().message();
        return false;
    }
    auto exported = std::make_unique<Object>(*this, std::move(operations));
    if (!m_bus.registerObject(objectPath, exported.get(), QDBusConnection::ExportAllSlots)) {
        m_lastError =
            QStringLiteral("cannot export %1: %2").arg(objectPath, m_bus.lastError().message());
        return false;
    }
    object = exported.release();  // owned by this object, its parent
    if (!m_ownsName) {
        m_ownsName = m_bus.registerService(QString::fromLatin1(halvern_bus::kService));
        if (!m_ownsName) {
            m_lastError =
                QStringLiteral("cannot take the bus name %1: %2")
                    .arg(QString::fromLatin1(halvern_bus::kService), m_bus.lastError().message());
            return false;
        }
    }
    return true;
}

void HalvernBus::enqueue(const QDBusMessage& call, std::function<QVariantList()> operation) {
    m_queue.push_back({call, std::move(operation)});
    QTimer::singleShot(0, this, &HalvernBus::runQueue);
}

void HalvernBus::runQueue() {
    if (m_running) return;  // called again from a box an operation shows: the loop below goes on
    m_running = true;
    while (!m_queue.empty()) {
        Job job = std::move(m_queue.front());
        m_queue.pop_front();
        const QVariantList result = job.operation();
        m_bus.send(job.call.createReply(result));
    }
    m_running = false;
}

void MainWindowBusObject::enSubmitClickMulti(const QString& comName, const QString& DongCode) {
    setDelayedReply(true);
    m_bus.enqueue(message(), [this, comName, DongCode] {
        if (m_operations.enSubmitClickMulti) m_operations.enSubmitClickMulti(comName, DongCode);
        return QVariantList();
    });
}

void MainWindowBusObject::enMnuStandardSearchClick() {
    setDelayedReply(true);
    m_bus.enqueue(message(), [this] {
        if (m_operations.enMnuStandardSearchClick) m_operations.enMnuStandardSearchClick();
        return QVariantList();
    });
}

void MemoWindowBusObject::exLoadMemo(const QString& eTableName) {
    setDelayedReply(true);
    m_bus.enqueue(message(), [this, eTableName] {
        if (m_operations.exLoadMemo) m_operations.exLoadMemo(eTableName);
        return QVariantList();
    });
}

int MemoWindowBusObject::enSaveMemo(const QString& eTableName, bool flgDup) {
    setDelayedReply(true);
    m_bus.enqueue(message(), [this, eTableName, flgDup] {
        const int result =
            m_operations.enSaveMemo ? m_operations.enSaveMemo(eTableName, flgDup) : -1;
        return QVariantList{result};
    });
    return 0;  // the delayed reply carries the result
}
