#include "util/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

SingleInstanceGuard::SingleInstanceGuard(const QString& folder)
    : path_(QDir(folder).filePath(QString::fromLatin1(InstanceGuid) + QStringLiteral(".lock"))),
      lock_(std::make_unique<QLockFile>(path_))
{
    // A lock is stale only when the process that holds it is gone. Staleness
    // by age would let a second copy in beside one that has run for a while
    // wherever the file system offers no native lock to stop it.
    lock_->setStaleLockTime(0);
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

SingleInstanceGuard::Outcome SingleInstanceGuard::Acquire()
{
    if (lock_->isLocked())
        return Outcome::Acquired;
    if (lock_->tryLock(0)) {
        errorText_.clear();
        return Outcome::Acquired;
    }
    switch (lock_->error()) {
    case QLockFile::LockFailedError:
        errorText_.clear();
        return Outcome::AnotherRuns;
    case QLockFile::PermissionError:
        errorText_ = QStringLiteral("Access denied: %1").arg(QDir::toNativeSeparators(path_));
        return Outcome::Failed;
    default:
        errorText_ = QStringLiteral("Cannot create %1").arg(QDir::toNativeSeparators(path_));
        return Outcome::Failed;
    }
}

void SingleInstanceGuard::Release()
{
    if (lock_->isLocked())
        lock_->unlock();
}

bool SingleInstanceGuard::IsHeld() const
{
    return lock_->isLocked();
}

QString SingleInstanceGuard::DefaultFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    return QDir::tempPath();
}
