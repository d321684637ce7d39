#include "KnownFolders.h"

#include "RemoteFolders.h"

namespace {

// "/a/b/" and "/a/b" are one folder.
QString Normal(const QString& folder)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

bool KnownFolders::Ensure(RemoteClient& remote, const QString& folder)
{
    const QString path = Normal(folder);
    std::unique_lock<std::mutex> lock(mutex_);
    settled_.wait(lock, [&] { return !making_.contains(path); });
    if (!path.isEmpty() && known_.contains(path))
        return true;
    making_.insert(path);
    lock.unlock();
    // Another connection making a folder of the same chain may have made
    // this one's missing folders first: then it is there all the same.
    const bool there = ForceRemoteFolder(remote, folder) || (!path.isEmpty() && remote.HasFolder(path));
    lock.lock();
    making_.remove(path);
    if (there)
        Remember(path);
    lock.unlock();
    settled_.notify_all();
    return there;
}

bool KnownFolders::Knows(const QString& folder)
{
    const QString path = Normal(folder);
    std::lock_guard<std::mutex> lock(mutex_);
    return !path.isEmpty() && known_.contains(path);
}

void KnownFolders::Found(const QString& folder)
{
    const QString path = Normal(folder);
    std::lock_guard<std::mutex> lock(mutex_);
    Remember(path);
}

// A folder that exists holds its parents.
void KnownFolders::Remember(const QString& folder)
{
    QString path = folder;
    while (!path.isEmpty() && !known_.contains(path)) {
        known_.insert(path);
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        path = slash > 0 ? path.left(slash) : QString();
    }
}
