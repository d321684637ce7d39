#pragma once

#include <QSet>
#include <QString>

#include <condition_variable>
#include <mutex>

class RemoteClient;

// The server folders of one account that an upload has entered or made, so
// that each is made sure of once rather than before every file. Folders are
// the server's, not a connection's: every connection to the account shares
// one set. A folder is made sure of by one connection at a time (the others
// that need it wait for that one), so that two never race to make it.
class KnownFolders {
public:
    // ForceRemoteFolder on `folder` unless it (or a folder inside it) was
    // entered or made before. False when it could not be: it is tried again
    // the next time.
    bool Ensure(RemoteClient& remote, const QString& folder);

    // Whether `folder` was entered or made before.
    bool Knows(const QString& folder);
    // `folder` exists on the server (found so otherwise than by Ensure).
    void Found(const QString& folder);

private:
    void Remember(const QString& folder);

    std::mutex mutex_;
    std::condition_variable settled_;
    QSet<QString> known_;
    QSet<QString> making_; // being made sure of by a connection now
};
