#include "RemoteTree.h"

#include "RemoteClient.h"
#include "RemotePaths.h"
#include "util/OperationHost.h"

#include <QSet>

namespace {

// Deeper than this is taken for a link loop on the server, not a site.
constexpr int MaxDepth = 64;

struct Pending {
    QString Path;
    int Depth;
};

QString Child(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

void ListRemoteTree(RemoteClient& remote, OperationHost& host, const QString& top, RemoteTree& tree,
                    const RemoteTreeOptions& options, const PathStyle& style)
{
    QSet<QString> folders(tree.Folders.cbegin(), tree.Folders.cend());
    QSet<QString> files(tree.Files.cbegin(), tree.Files.cend());
    // Depth first, subfolders in the order found: the order of a recursion,
    // without its stack.
    QList<Pending> stack{{top.isEmpty() ? QStringLiteral("/") : top, 0}};
    while (!stack.isEmpty()) {
        if (host.Cancelled())
            return;
        const Pending folder = stack.takeLast();
        // Paths are built from the folder entered and names checked to be
        // plain, never from what the server says its current folder is.
        const RemoteListing listing = remote.List(folder.Path);
        if (!listing.Result.Ok) {
            host.Log(QStringLiteral("Couldn't list ") + folder.Path);
            tree.Unlisted << folder.Path;
            continue;
        }
        QList<Pending> subfolders;
        for (const FtpEntry& entry : listing.Entries) {
            if (entry.Kind != FtpEntryKind::File && entry.Kind != FtpEntryKind::Folder)
                continue;
            const QString path = Child(folder.Path, entry.Name);
            if (!IsPlainEntryName(entry.Name, style)) {
                host.Log(QStringLiteral("Skipped, not a plain name: ") + path);
                tree.Skipped << path;
                continue;
            }
            if (entry.Kind == FtpEntryKind::Folder) {
                if (folders.contains(path) || options.Leave.contains(path) ||
                    (!options.EnterHidden && entry.Name.startsWith(QLatin1Char('.'))))
                    continue;
                if (folder.Depth + 1 > MaxDepth) {
                    host.Log(QStringLiteral("Skipped, too deep: ") + path);
                    tree.Skipped << path;
                    continue;
                }
                folders.insert(path);
                tree.Folders << path;
                if (options.LogFound)
                    host.Log(QStringLiteral("Folder found: ") + path);
                subfolders.append({path, folder.Depth + 1});
            } else if (!files.contains(path)) {
                files.insert(path);
                tree.Files << path;
                tree.Sizes << entry.Size;
                if (options.LogFound)
                    host.Log(QStringLiteral("File found: ") + path);
            }
        }
        for (auto it = subfolders.crbegin(); it != subfolders.crend(); ++it)
            stack.append(*it);
    }
}
