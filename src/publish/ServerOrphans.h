#pragma once

#include "util/PathStyle.h"

#include <QList>
#include <QString>
#include <QStringList>

class RemoteClient;
class OperationHost;
struct TConnectionSettings;

// A file on an account's server that no file of the local site maps to any
// more: a page the vendor deleted stays online until it is deleted there.
struct OrphanFile {
    QString Path; // full server path
    qint64 Size = 0;
};

struct OrphanListing {
    QList<OrphanFile> Files; // in the order listed
    // Why the listing is not complete (no connection, a folder that could
    // not be listed, a cancel); the files found are orphans all the same.
    QString Error;

    bool Complete() const { return Error.isEmpty(); }
};

// The local site as the server should hold it: every file the scan found,
// and the folders that map its paths onto the server.
struct OrphanSite {
    QStringList Files;
    QString LocalHome;
    QString LocalRoot;
};

// The server folders an account's site is mapped into, Server Home and
// Server Root, each ending in "/"; one of two nested folders holds the
// other and is listed alone. A path that is not set gives no folder (never
// "/" in its place).
QStringList OrphanFolders(const TConnectionSettings& account);

// Lists the account's mapped folders over the logged-in `remote` in one
// recursive listing and keeps the files no site file maps to. Never offered:
// anything inside the temporary upload folder, the copies moves leave aside
// (".BRAside" names), names beginning with "." and what hidden folders hold
// (the scan does not see those locally either), and a name that differs from
// a mapped one only in letter case (the same file on a server that ignores
// case). Links are passed over.
OrphanListing ListOrphans(RemoteClient& remote, OperationHost& host, const OrphanSite& site,
                          const TConnectionSettings& account, const PathStyle& style = PathStyle::Native());

// Connects to the account, logging as the upload does, lists its orphans
// and disconnects.
OrphanListing FindOrphans(RemoteClient& remote, OperationHost& host, const OrphanSite& site,
                          const TConnectionSettings& account, const PathStyle& style = PathStyle::Native());

// "1 orphan", "3 orphans".
QString OrphanCount(qsizetype count);

// What DeleteOrphanFiles came to.
struct OrphanDeletion {
    qsizetype Deleted = 0;
    bool Cancelled = false;
};

// Deletes the files over the logged-in `remote`, each logged as "Deleting " +
// path + "..." with "Success" or "Failed" appended; a failure goes on with
// the next file, a lost connection or a cancel ends the deletions.
OrphanDeletion DeleteOrphanFiles(RemoteClient& remote, OperationHost& host, const QList<OrphanFile>& files);

// The question before an upload that deletes orphans: the count on each
// account (by name, in the order served), and whether it was listed whole.
QString DeleteOrphansQuestion(const QStringList& accounts, const QList<OrphanListing>& listings);
