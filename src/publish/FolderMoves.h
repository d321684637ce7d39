#pragma once

#include "FtpListing.h"
#include "RemotePaths.h"

#include <QHash>
#include <QList>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <vector>

class RemoteClient;
class KnownFolders;

// The listings of an account's temporary folders, by folder, as the size
// check read them.
using TempListings = QHash<QString, QList<FtpEntry>>;

// The target folders of an account's moves that the server does not hold
// yet, each published with one rename of its temporary folder instead of one
// per file (the new folder then appears whole, at once). A folder qualifies
// when the server says it is absent, its parent exists, and its temporary
// folder holds exactly the files this run sent to it and below (nothing an
// earlier run left there).
class FolderMoves {
public:
    enum class Outcome { Moved, Refused, Lost };

    // Finds the folders over `remote` (one question per target folder the
    // server holds, one listing per parent of a missing one); the moves'
    // temporary paths lie below tempRoot. Present folders are remembered in
    // `known`.
    void Plan(RemoteClient& remote, KnownFolders& known, const QList<UploadPaths>& moves,
              const TempListings& listings, const QString& tempRoot);

    // The folder that carries move `item`; -1 for a file moved on its own.
    int FolderOf(int item) const;
    // The last move a folder carries.
    int LastItemOf(int folder) const { return folders_[size_t(folder)].lastItem; }
    QString TargetOf(int folder) const { return folders_[size_t(folder)].Target; }

    // On any connection's thread: the first caller renames the folder, the
    // others wait for and get its outcome. Refused leaves the temporary
    // folder whole (its files then move one by one); Lost means the server
    // may or may not have renamed it, so none of its files may move alone.
    Outcome Move(RemoteClient& remote, int folder);

private:
    struct Folder {
        QString Temp;
        QString Target;
        int lastItem = -1;
        bool tried = false;
        bool done = false;
        Outcome outcome = Outcome::Refused;
    };
    std::vector<Folder> folders_;
    std::vector<int> of_; // by item
    std::mutex mutex_;
    std::condition_variable settled_;
};
