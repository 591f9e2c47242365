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
    : m_path(lockPath), m_lock(std::make_unique<QLockFile>(lockPath)) {
    // Only a lock whose process is gone is stale; never time one out under a live program.
    m_lock->setStaleLockTime(0);
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

bool SingleInstanceGuard::acquire() {
    if (m_lock->isLocked() || m_lock->tryLock(0)) return true;
    // Only a lock that a running copy holds refuses the start. A lock file that cannot be
    // made at all (its folder missing or read-only) says nothing about other copies, and
    // refusing then would keep the program from ever starting.
    if (m_lock->error() != QLockFile::LockFailedError) {
        qWarning("Halvern: no single-instance lock at %s; starting without it",
                 qUtf8Printable(m_path));
        return true;
    }
    return false;
}
