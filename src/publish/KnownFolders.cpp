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

bool KnownFolders::Ensure(FtpClient& ftp, const QString& folder)
{
    const QString path = Normal(folder);
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!path.isEmpty() && known_.contains(path))
        return true;
    if (!ForceRemoteFolder(ftp, folder))
        return false;
    Remember(path);
    return true;
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
