#include "RemoteFolders.h"

#include "FtpClient.h"

#include <QStringList>

namespace {

const QString AsideMarker = QStringLiteral(".BRAside");
constexpr int AsideAttempts = 9;

bool Entered(const FtpResult& reply)
{
    return reply.CodeIn({200, 250, 257});
}

// How a rename ended. SourceRefused: RNFR was refused, so nothing changed.
// Lost: the connection failed at RNTO, so the server may or may not have
// carried it out.
enum class Renamed { Done, SourceRefused, Refused, Lost };

bool Lost(const FtpResult& reply)
{
    return reply.ConnectionLost || reply.Code == 421 || reply.Code == 0;
}

Renamed Rename(FtpClient& ftp, const QString& from, const QString& to)
{
    if (ftp.Rnfr(from).Code != 350)
        return Renamed::SourceRefused;
    const FtpResult reply = ftp.Rnto(to);
    if (reply.Code == 250)
        return Renamed::Done;
    return Lost(reply) ? Renamed::Lost : Renamed::Refused;
}

// A name beside the live file that the server does not hold; empty when
// none is free or the server cannot tell.
QString FreeAsidePath(FtpClient& ftp, const QString& livePath)
{
    for (int attempt = 1; attempt <= AsideAttempts; ++attempt) {
        const QString aside = AsidePathOf(livePath, attempt);
        const RemotePresence presence = RemotePathPresence(ftp, aside);
        if (presence == RemotePresence::Absent)
            return aside;
        if (presence == RemotePresence::Unknown)
            break;
    }
    return {};
}

} // namespace

bool ForceRemoteFolder(FtpClient& ftp, const QString& path)
{
    // Nothing to enter and nothing to create (a bare CWD would take some
    // servers to the login folder and look like success).
    if (path.isEmpty())
        return false;
    if (Entered(ftp.Cwd(path)))
        return true;

    const QStringList pieces = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString chain;
    bool made = false;
    for (const QString& piece : pieces) {
        chain += QLatin1Char('/') + piece;
        // A folder that exists already refuses MKD; that is no failure here.
        if (ftp.Mkd(chain).Code == 257)
            made = true;
    }
    if (pieces.isEmpty())
        return false;
    return Entered(ftp.Cwd(chain)) && made;
}

QString RemoteFolderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

// A server that offers the machine listings answers MLST on the control
// connection, which spares a data connection per question; otherwise, or
// when it does not understand MLST after all, a listing of the path itself
// tells: an entry means present, an empty listing or a refusal absent.
RemotePresence RemotePathPresence(FtpClient& ftp, const QString& path)
{
    if (ftp.UsesMlsd()) {
        const FtpResult reply = ftp.Command(QStringLiteral("MLST ") + path);
        if (reply.Code == 250)
            return RemotePresence::Present;
        if (reply.Code == 550 || reply.Code == 450)
            return RemotePresence::Absent;
        if (Lost(reply))
            return RemotePresence::Unknown;
    }
    const FtpListingResult listing = ftp.List(path, true);
    if (listing.Result.Ok)
        return listing.Entries.isEmpty() ? RemotePresence::Absent : RemotePresence::Present;
    if (!Lost(listing.Result) && listing.Result.CodeIn({450, 550}))
        return RemotePresence::Absent;
    return RemotePresence::Unknown;
}

bool MoveRemoteFile(FtpClient& ftp, const QString& tempPath, const QString& targetPath, QString* keptAside)
{
    QString kept;
    const bool moved = [&] {
        const Renamed straight = Rename(ftp, tempPath, targetPath);
        if (straight != Renamed::Refused)
            return straight == Renamed::Done;
        const RemotePresence target = RemotePathPresence(ftp, targetPath);
        if (target == RemotePresence::Absent)
            return ForceRemoteFolder(ftp, RemoteFolderOf(targetPath)) &&
                   Rename(ftp, tempPath, targetPath) == Renamed::Done;
        if (target == RemotePresence::Unknown)
            return false;

        // The server will not replace the live file: it goes aside under a
        // name the server does not hold, so nothing of anybody else's is hit.
        const QString aside = FreeAsidePath(ftp, targetPath);
        if (aside.isEmpty())
            return false;
        const Renamed away = Rename(ftp, targetPath, aside);
        if (away == Renamed::Lost)
            kept = aside;
        if (away != Renamed::Done)
            return false;
        const Renamed in = Rename(ftp, tempPath, targetPath);
        if (in == Renamed::Done && ftp.Dele(aside).CodeIn({200, 250, 257}))
            return true;
        // Either the new file is live and the old copy waits to be deleted,
        // or the old one goes back (and, if it cannot, waits to).
        if (in == Renamed::Done || in == Renamed::Lost || Rename(ftp, aside, targetPath) != Renamed::Done)
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

AsideFate SettleAside(FtpClient& ftp, const QString& asidePath)
{
    const QString live = LivePathOfAside(asidePath);
    const RemotePresence aside = RemotePathPresence(ftp, asidePath);
    if (aside == RemotePresence::Absent)
        return AsideFate::Gone;
    if (aside == RemotePresence::Unknown || live.isEmpty())
        return AsideFate::Unknown;
    const RemotePresence current = RemotePathPresence(ftp, live);
    if (current == RemotePresence::Unknown)
        return AsideFate::Unknown;
    if (current == RemotePresence::Present)
        return ftp.Dele(asidePath).CodeIn({200, 250, 257}) ? AsideFate::Removed : AsideFate::RemoveFailed;
    return Rename(ftp, asidePath, live) == Renamed::Done ? AsideFate::PutBack : AsideFate::PutBackFailed;
}
