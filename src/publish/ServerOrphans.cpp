#include "ServerOrphans.h"

#include "RemoteClient.h"
#include "RemoteClientFactory.h"
#include "RemoteFolders.h"
#include "RemotePaths.h"
#include "RemoteTree.h"
#include "util/OperationHost.h"

#include <QSet>

namespace {

QString AsFolder(QString path)
{
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    if (!path.endsWith(QLatin1Char('/')))
        path.append(QLatin1Char('/'));
    return path;
}

bool IsWithin(const QString& path, const QString& folder)
{
    return path.startsWith(folder);
}

// Where the site's files go on the server, in one letter case: a server
// that ignores case holds a mapped file under any of its spellings.
QSet<QString> MappedPaths(const OrphanSite& site, const TConnectionSettings& account, const PathStyle& style)
{
    QSet<QString> mapped;
    for (const QString& file : site.Files)
        mapped.insert(
            UploadPathsOf(file, site.LocalHome, site.LocalRoot, account.HomePath, account.RootPath, style)
                .TargetPath.toCaseFolded());
    return mapped;
}

bool IsOurs(const QString& path)
{
    return !LivePathOfAside(path).isEmpty();
}

} // namespace

QStringList OrphanFolders(const TConnectionSettings& account)
{
    const QString temp = AsFolder(TempUploadRoot(account));
    QStringList folders;
    for (const QString& path : {account.HomePath, account.RootPath}) {
        if (path.trimmed().isEmpty())
            continue;
        const QString folder = AsFolder(path);
        if (!IsWithin(folder, temp) && !folders.contains(folder))
            folders.append(folder);
    }
    if (folders.size() == 2) {
        if (IsWithin(folders[1], folders[0]))
            folders.removeLast();
        else if (IsWithin(folders[0], folders[1]))
            folders.removeFirst();
    }
    return folders;
}

OrphanListing ListOrphans(RemoteClient& remote, OperationHost& host, const OrphanSite& site,
                          const TConnectionSettings& account, const PathStyle& style)
{
    RemoteTreeOptions options;
    options.LogFound = false;
    options.EnterHidden = false;
    options.Leave = QStringList{TempUploadRoot(account)};
    RemoteTree tree;
    for (const QString& folder : OrphanFolders(account)) {
        // A folder the first upload has yet to make holds no orphans.
        if (remote.Presence(folder) != RemotePresence::Absent)
            ListRemoteTree(remote, host, folder, tree, options, style);
    }

    OrphanListing listing;
    const QSet<QString> mapped = MappedPaths(site, account, style);
    for (qsizetype i = 0; i < tree.Files.size(); ++i) {
        const QString& path = tree.Files[i];
        const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        if (name.startsWith(QLatin1Char('.')) || IsOurs(path) || mapped.contains(path.toCaseFolded()))
            continue;
        listing.Files.append({path, tree.Sizes.value(i)});
    }
    if (host.Cancelled())
        listing.Error = QStringLiteral("cancelled");
    else if (!tree.Unlisted.isEmpty())
        listing.Error = QStringLiteral("Couldn't list ") + tree.Unlisted.join(QStringLiteral(", "));
    return listing;
}

OrphanListing FindOrphans(RemoteClient& remote, OperationHost& host, const OrphanSite& site,
                          const TConnectionSettings& account, const PathStyle& style)
{
    host.Log(QStringLiteral("Trying to connect to ") + ConnectionName(account));
    const RemoteResult connection = remote.Connect(account);
    OrphanListing listing;
    if (connection.Ok) {
        listing = ListOrphans(remote, host, site, account, style);
    } else {
        host.Log(QStringLiteral("Could not connect"));
        host.Log(connection.Error);
        listing.Error = QStringLiteral("Could not connect");
    }
    remote.Disconnect();
    return listing;
}

QString OrphanCount(qsizetype count)
{
    return QString::number(count) + (count == 1 ? QStringLiteral(" orphan") : QStringLiteral(" orphans"));
}

OrphanDeletion DeleteOrphanFiles(RemoteClient& remote, OperationHost& host, const QList<OrphanFile>& files)
{
    OrphanDeletion deletion;
    for (const OrphanFile& file : files) {
        host.Log(QStringLiteral("Deleting ") + file.Path + QStringLiteral("..."));
        const RemoteResult deleted = remote.Delete(file.Path);
        host.AppendToLastLine(deleted.Ok ? QStringLiteral("Success") : QStringLiteral("Failed"));
        if (deleted.Ok)
            ++deletion.Deleted;
        else if (!deleted.Error.isEmpty())
            host.Log(deleted.Error);
        if (deleted.ConnectionLost)
            break;
        if (host.Cancelled()) {
            deletion.Cancelled = true;
            break;
        }
    }
    return deletion;
}

QString DeleteOrphansQuestion(const QStringList& accounts, const QList<OrphanListing>& listings)
{
    QString text = QStringLiteral("Delete orphans: these files on the server are not part of the site any "
                                  "more and will be deleted once the site is live\r\r");
    for (qsizetype i = 0; i < accounts.size() && i < listings.size(); ++i) {
        text += accounts[i] + QStringLiteral(": ") + OrphanCount(listings[i].Files.size());
        if (!listings[i].Complete())
            text += QStringLiteral(" (not all listed: ") + listings[i].Error + QLatin1Char(')');
        text += QLatin1Char('\r');
    }
    return text + QStringLiteral("\rDelete them?");
}
