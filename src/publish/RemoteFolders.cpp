#include "RemoteFolders.h"

#include <QStringList>

namespace {

const QString AsideMarker = QStringLiteral(".BRAside");
constexpr int AsideAttempts = 9;

// How a rename ended. SourceRefused: the source was refused, so nothing
// changed. Lost: the connection failed on the way, so the server may or may
// not have carried it out.
enum class Renamed { Done, SourceRefused, Refused, Lost };

Renamed Rename(RemoteClient& remote, const QString& from, const QString& to)
{
    const RemoteResult result = remote.Rename(from, to);
    if (result.Ok)
        return Renamed::Done;
    if (result.SourceRefused)
        return Renamed::SourceRefused;
    return result.ConnectionLost ? Renamed::Lost : Renamed::Refused;
}

// A name beside the live file that the server does not hold; empty when
// none is free or the server cannot tell.
QString FreeAsidePath(RemoteClient& remote, const QString& livePath)
{
    for (int attempt = 1; attempt <= AsideAttempts; ++attempt) {
        const QString aside = AsidePathOf(livePath, attempt);
        const RemotePresence presence = remote.Presence(aside);
        if (presence == RemotePresence::Absent)
            return aside;
        if (presence == RemotePresence::Unknown)
            break;
    }
    return {};
}

} // namespace

bool ForceRemoteFolder(RemoteClient& remote, const QString& path)
{
    // Nothing to enter and nothing to create (a bare CWD would take some
    // servers to the login folder and look like success).
    if (path.isEmpty())
        return false;
    if (remote.HasFolder(path))
        return true;

    const QStringList pieces = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString chain;
    bool made = false;
    for (const QString& piece : pieces) {
        chain += QLatin1Char('/') + piece;
        // A folder that exists already is refused; that is no failure here.
        if (remote.MakeFolder(chain).Ok)
            made = true;
    }
    if (pieces.isEmpty())
        return false;
    return remote.HasFolder(chain) && made;
}

QString RemoteFolderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

bool MoveRemoteFile(RemoteClient& remote, const QString& tempPath, const QString& targetPath,
                    QString* keptAside)
{
    QString kept;
    const bool moved = [&] {
        const Renamed straight = Rename(remote, tempPath, targetPath);
        if (straight != Renamed::Refused)
            return straight == Renamed::Done;
        const RemotePresence target = remote.Presence(targetPath);
        if (target == RemotePresence::Absent)
            return ForceRemoteFolder(remote, RemoteFolderOf(targetPath)) &&
                   Rename(remote, tempPath, targetPath) == Renamed::Done;
        if (target == RemotePresence::Unknown)
            return false;

        // The server will not replace the live file: it goes aside under a
        // name the server does not hold, so nothing of anybody else's is hit.
        const QString aside = FreeAsidePath(remote, targetPath);
        if (aside.isEmpty())
            return false;
        const Renamed away = Rename(remote, targetPath, aside);
        if (away == Renamed::Lost)
            kept = aside;
        if (away != Renamed::Done)
            return false;
        const Renamed in = Rename(remote, tempPath, targetPath);
        if (in == Renamed::Done && remote.Delete(aside).Ok)
            return true;
        // Either the new file is live and the old copy waits to be deleted,
        // or the old one goes back (and, if it cannot, waits to).
        if (in == Renamed::Done || in == Renamed::Lost || Rename(remote, aside, targetPath) != Renamed::Done)
            kept = aside;
        return false;
    }();
    if (keptAside)
        *keptAside = kept;
    return moved;
}

QString AsidePathOf(const QString& livePath, int attempt)
{
    return livePath + AsideMarker + (attempt > 1 ? QString::number(attempt) : QString());
}

QString LivePathOfAside(const QString& asidePath)
{
    for (int attempt = 1; attempt <= AsideAttempts; ++attempt) {
        const QString suffix = AsidePathOf(QString(), attempt);
        if (asidePath.endsWith(suffix) && asidePath.size() > suffix.size())
            return asidePath.chopped(suffix.size());
    }
    return {};
}

AsideFate SettleAside(RemoteClient& remote, const QString& asidePath)
{
    const QString live = LivePathOfAside(asidePath);
    const RemotePresence aside = remote.Presence(asidePath);
    if (aside == RemotePresence::Absent)
        return AsideFate::Gone;
    if (aside == RemotePresence::Unknown || live.isEmpty())
        return AsideFate::Unknown;
    const RemotePresence current = remote.Presence(live);
    if (current == RemotePresence::Unknown)
        return AsideFate::Unknown;
    if (current == RemotePresence::Present)
        return remote.Delete(asidePath).Ok ? AsideFate::Removed : AsideFate::RemoveFailed;
    return Rename(remote, asidePath, live) == Renamed::Done ? AsideFate::PutBack : AsideFate::PutBackFailed;
}
