#include "SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

QString SingleInstanceGuard::defaultLockPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("Halvern.lock"));
}

SingleInstanceGuard::SingleInstanceGuard(const QString& lockPath)
    : m_lock(std::make_unique<QLockFile>(lockPath)) {
    // Only a lock whose process is gone is stale; never time one out under a live program.
    m_lock->setStaleLockTime(0);
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

bool SingleInstanceGuard::acquire() {
    return m_lock->isLocked() || m_lock->tryLock(0);
}
