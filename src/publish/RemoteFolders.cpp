#include "RemoteFolders.h"

#include "FtpClient.h"

#include <QStringList>

namespace {

bool Entered(const FtpResult& reply)
{
    return reply.CodeIn({200, 250, 257});
}

bool Rename(FtpClient& ftp, const QString& from, const QString& to)
{
    return ftp.Rnfr(from).Code == 350 && ftp.Rnto(to).Code == 250;
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

// Whether the server holds the path. A server that offers the machine
// listings answers MLST on the control connection; otherwise, or when it
// does not understand MLST after all, the path counts as present when a
// listing of its own path shows an entry (an error or an empty listing
// means absent). MLST spares a data connection per file moved.
bool RemotePathExists(FtpClient& ftp, const QString& path)
{
    if (ftp.UsesMlsd()) {
        const FtpResult reply = ftp.Command(QStringLiteral("MLST ") + path);
        if (reply.Code == 250)
            return true;
        if (reply.Code == 550 || reply.Code == 450 || reply.ConnectionLost)
            return false;
    }
    const FtpListingResult listing = ftp.List(path, true);
    return listing.Result.Ok && !listing.Entries.isEmpty();
}

bool MoveRemoteFile(FtpClient& ftp, const QString& tempPath, const QString& targetPath)
{
    const bool exists = RemotePathExists(ftp, targetPath);
    if (!exists)
        return ForceRemoteFolder(ftp, RemoteFolderOf(targetPath)) && Rename(ftp, tempPath, targetPath);

    // The old file is deleted only once the new one has been renamed beside
    // it, so a server that refuses renames never loses the live file; a
    // refused delete sends the new file back to where it was.
    const QString beside = targetPath + QStringLiteral(".uploading");
    if (!Rename(ftp, tempPath, beside))
        return false;
    if (ftp.Dele(targetPath).CodeIn({200, 250, 257}) && Rename(ftp, beside, targetPath))
        return true;
    Rename(ftp, beside, tempPath);
    return false;
}
