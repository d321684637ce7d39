#include "FolderMoves.h"

#include "KnownFolders.h"
#include "RemoteClient.h"

#include <QMap>
#include <QSet>

namespace {

QString ParentOf(const QString& folder)
{
    const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
    return slash > 0 ? folder.left(slash) : QStringLiteral("/");
}

QString NameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// "/a/b/c.html" gives "/a/b"; a file at the top gives "".
QString TargetFolderOf(const QString& targetPath)
{
    const qsizetype slash = targetPath.lastIndexOf(QLatin1Char('/'));
    return slash > 0 ? targetPath.left(slash) : QString();
}

bool Inside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// What a target folder must hold of this run: file and folder names.
struct Expected {
    QSet<QString> files;
    QSet<QString> folders;
};

class Planner {
public:
    Planner(RemoteClient& remote, const QList<UploadPaths>& moves, const TempListings& listings,
            const QString& tempRoot)
        : remote_(remote), listings_(listings), tempRoot_(tempRoot)
    {
        for (const UploadPaths& move : moves) {
            QString folder = TargetFolderOf(move.TargetPath);
            if (folder.isEmpty())
                continue;
            expected_[folder].files.insert(NameOf(move.TargetPath));
            while (folder.lastIndexOf(QLatin1Char('/')) > 0) {
                const QString parent = ParentOf(folder);
                expected_[parent].folders.insert(NameOf(folder));
                folder = parent;
            }
            expected_[QStringLiteral("/")].folders.insert(NameOf(folder));
        }
    }

    const QMap<QString, Expected>& Folders() const { return expected_; }

    // Whether a listing of the parent (which exists) lacks the folder.
    bool ListedAbsent(const QString& folder)
    {
        const QString parent = ParentOf(folder);
        if (!parentListings_.contains(parent)) {
            const RemoteListing listing = remote_.List(parent);
            if (!listing.Result.Ok)
                return false;
            QSet<QString>& names = parentListings_[parent];
            for (const FtpEntry& entry : listing.Entries)
                names.insert(entry.Name);
        }
        return !parentListings_[parent].contains(NameOf(folder));
    }

    // Whether the temporary folder of `folder` and every one below it hold
    // exactly this run's files and folders.
    bool HoldsOnlyThisRun(const QString& folder)
    {
        for (auto it = expected_.cbegin(); it != expected_.cend(); ++it) {
            if (!Inside(it.key(), folder))
                continue;
            const QString temp = tempRoot_ + it.key();
            if (!listings_.contains(temp)) {
                const RemoteListing listing = remote_.List(temp);
                if (!listing.Result.Ok)
                    return false;
                listings_.insert(temp, listing.Entries);
            }
            Expected held;
            for (const FtpEntry& entry : listings_.value(temp)) {
                if (entry.Kind == FtpEntryKind::File)
                    held.files.insert(entry.Name);
                else if (entry.Kind == FtpEntryKind::Folder)
                    held.folders.insert(entry.Name);
                else
                    return false;
            }
            if (held.files != it->files || held.folders != it->folders)
                return false;
        }
        return true;
    }

private:
    RemoteClient& remote_;
    TempListings listings_;
    QString tempRoot_;
    QMap<QString, Expected> expected_;
    QHash<QString, QSet<QString>> parentListings_;
};

} // namespace

void FolderMoves::Plan(RemoteClient& remote, KnownFolders& known, const QList<UploadPaths>& moves,
                       const TempListings& listings, const QString& tempRoot)
{
    folders_.clear();
    of_.assign(size_t(moves.size()), -1);
    Planner planner(remote, moves, listings, tempRoot);
    // Top down: a folder is asked about only when its parent exists.
    QStringList present{QStringLiteral("/")};
    while (!present.isEmpty() && remote.IsLoggedIn()) {
        const QString parent = present.takeFirst();
        for (const QString& name : planner.Folders().value(parent).folders) {
            const QString folder =
                (parent == QLatin1String("/") ? QString() : parent) + QLatin1Char('/') + name;
            if (known.Knows(folder) || remote.HasFolder(folder)) {
                known.Found(folder);
                present.append(folder);
            } else if (remote.IsLoggedIn() && planner.ListedAbsent(folder) &&
                       planner.HoldsOnlyThisRun(folder)) {
                folders_.push_back(Folder{tempRoot + folder, folder});
            }
        }
    }
    for (qsizetype i = 0; i < moves.size(); ++i) {
        const QString folder = TargetFolderOf(moves[i].TargetPath);
        for (size_t f = 0; f < folders_.size(); ++f)
            if (!folder.isEmpty() && Inside(folder, folders_[f].Target)) {
                of_[size_t(i)] = int(f);
                folders_[f].lastItem = int(i);
            }
    }
}

int FolderMoves::FolderOf(int item) const
{
    return item >= 0 && size_t(item) < of_.size() ? of_[size_t(item)] : -1;
}

FolderMoves::Outcome FolderMoves::Move(RemoteClient& remote, int index)
{
    std::unique_lock<std::mutex> lock(mutex_);
    Folder& folder = folders_[size_t(index)];
    if (folder.tried) {
        settled_.wait(lock, [&] { return folder.done; });
        return folder.outcome;
    }
    folder.tried = true;
    lock.unlock();
    Outcome outcome = Outcome::Refused;
    const RemoteResult renamed = remote.Rename(folder.Temp, folder.Target);
    if (renamed.Ok) {
        outcome = Outcome::Moved;
    } else if (renamed.ConnectionLost && !renamed.SourceRefused) {
        outcome = Outcome::Lost;
    } else if (!remote.IsLoggedIn()) {
        // Nothing was renamed, but nothing can move over this connection
        // either: the folder's files fail as one.
        outcome = Outcome::Lost;
    }
    lock.lock();
    folder.outcome = outcome;
    folder.done = true;
    lock.unlock();
    settled_.notify_all();
    return outcome;
}
