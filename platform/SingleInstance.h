// Refuses a second running copy of the program: a lock file held while the program runs.
// The lock goes with the process, so a crashed run never blocks the next start.
#pragma once

#include <QString>
#include <memory>

class QLockFile;

class SingleInstanceGuard {
public:
    // The default lock file: Halvern.lock in the user's runtime folder (XDG_RUNTIME_DIR),
    // else in the temporary folder.
    static QString defaultLockPath();

    explicit SingleInstanceGuard(const QString& lockPath = defaultLockPath());
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True when this is the only running instance; the lock is then held until destruction.
    // Also true (with a warning) when the lock file cannot be made at all: only a lock held
    // by a running copy refuses.
    bool acquire();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
