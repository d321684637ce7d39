#pragma once

#include "FtpListing.h"
#include "projects/TConnectionSettings.h"

#include <QList>
#include <QString>

class CertificateDecision;
class OperationHost;

// What a call to the server came to, whatever the protocol. Failures the
// server or the network cause are values here, never exceptions.
struct RemoteResult {
    bool Ok = false;
    QString Error; // for the log when Ok is false
    // The connection is gone; nothing more can be done until Connect is
    // called again.
    bool ConnectionLost = false;
    // A rename whose source the server refused outright, so nothing changed
    // (only FTP tells this apart from a refused target).
    bool SourceRefused = false;
};

struct RemoteListing {
    RemoteResult Result;
    QList<FtpEntry> Entries; // without "." and ".."
};

struct RemoteSize {
    RemoteResult Result;
    qint64 Size = -1; // bytes, when Result.Ok
};

// Whether the server holds a path. Unknown when it could not tell: the
// connection is gone, or the answer says neither.
enum class RemotePresence { Present, Absent, Unknown };

// What Rename does when its target exists.
enum class RenameOntoExisting {
    Replaces,      // the server replaces the target in one step
    Refuses,       // the server refuses; the target must be moved aside first
    ServerDecides, // it depends on the server: try, and fall back on a refusal
};

// The remote side of the uploads and the import: one connection to one
// account at a time. Paths are full server paths ("/a/b.txt"). Every call
// blocks until the server has answered or a time-out has passed; none is
// abandoned half-way for a cancel (the operations read the cancel flag
// between calls). Status lines go to the host's log.
class RemoteClient {
public:
    virtual ~RemoteClient() = default;

    // The log and bars of the operation in progress.
    virtual void SetHost(OperationHost& host) = 0;
    virtual OperationHost& Host() const = 0;
    // Who decides on a server identity (TLS certificate, SSH host key) that
    // is not trusted yet; none refuses every such one. Not owned.
    virtual void SetCertificateDecision(CertificateDecision* decision) = 0;
    // 0: transfers drive the host's file bar; -1: they leave it alone.
    virtual void SetProgressSwitch(int value) = 0;

    // Connects to the account's server and logs in; a session still open is
    // closed first. Ok only when logged in.
    virtual RemoteResult Connect(const TConnectionSettings& account) = 0;
    // Closes the session; nothing when none is open.
    virtual void Disconnect() = 0;
    // Logged in and the connection has not been lost: calls can be made.
    virtual bool IsLoggedIn() const = 0;

    // Makes one folder; its parent must exist. A folder that exists already
    // is a refusal.
    virtual RemoteResult MakeFolder(const QString& path) = 0;
    virtual RemoteListing List(const QString& folder) = 0;
    // Sends a local file whole to the full server path, replacing what is
    // there.
    virtual RemoteResult Send(const QString& localPath, const QString& remotePath) = 0;
    // Fetches a server file whole. The local file is written beside its
    // target and renamed over it only when everything has arrived, so a
    // failed fetch leaves the old file (or none). expectedSize (from the
    // listing) is the progress total until the server tells its own.
    virtual RemoteResult Fetch(const QString& remotePath, const QString& localPath,
                               qint64 expectedSize = -1) = 0;
    // Renames a file; what happens to an existing target is RenameTarget's.
    virtual RemoteResult Rename(const QString& from, const QString& to) = 0;
    virtual RenameOntoExisting RenameTarget() const = 0;
    // Deletes a file.
    virtual RemoteResult Delete(const QString& path) = 0;
    // The size of a file.
    virtual RemoteSize Size(const QString& path) = 0;

    // Whether a file or folder is there.
    virtual RemotePresence Presence(const QString& path) = 0;
    // Whether a folder is there (over FTP it becomes the current folder).
    virtual bool HasFolder(const QString& path) = 0;
    // Trusts the server identities `other`, a client of the same kind,
    // trusts or accepted, so that a further connection to the same account
    // asks nobody again.
    virtual void ShareTrustOf(const RemoteClient& other) = 0;
};
