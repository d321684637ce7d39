#pragma once

#include "RemoteClient.h"

#include <QString>

// The two folder operations the uploads rest on. Neither logs nor throws:
// every refusal and every connection fault comes back as false.

// Makes sure the server holds a folder, creating the missing folders of its
// chain from the root (over FTP it ends as the current folder). True when it
// was there at once; otherwise true only when at least one folder was made
// and the folder is there now. An empty path gives false.
bool ForceRemoteFolder(RemoteClient& remote, const QString& path);

// Moves an uploaded file from tempPath to targetPath so that the live file
// is at every moment its old or its new version, whole. The new file is
// first renamed straight onto the target, which most FTP servers do in one
// step even when the target exists (an SFTP server only when it does not);
// the target's folders are made when that fails because they are missing.
// Only a server that refuses to rename onto an existing file gets the old
// file moved aside, under a name of AsidePathOf that it does not hold yet;
// the new file is then renamed in and the aside copy deleted, and any
// failure puts the aside copy back. Nothing is deleted that the move did not
// put aside itself. False leaves the new file in the temporary folder (or,
// when the connection failed at the last rename, possibly live). When an
// aside copy could not be put back or deleted, or the connection failed
// while it was made, keptAside receives its path (otherwise it is cleared):
// SettleAside sees to it once the server answers again.
bool MoveRemoteFile(RemoteClient& remote, const QString& tempPath, const QString& targetPath,
                    QString* keptAside = nullptr);

// The names a move may give the live file it moves aside: the live path with
// ".BRAside", then ".BRAside2" to ".BRAside9" when those are taken.
QString AsidePathOf(const QString& livePath, int attempt);
// The live path of such a name; empty for any other name.
QString LivePathOfAside(const QString& asidePath);

// What SettleAside did with a copy a move left aside.
enum class AsideFate {
    Gone,          // the server no longer holds it
    PutBack,       // the live name was missing: the copy went back to it
    Removed,       // the live file exists (the move was done): the copy was deleted
    PutBackFailed, // the server refused, or the connection failed
    RemoveFailed,
    Unknown, // the server could not tell whether the copy or the live file is there
};
// Puts an aside copy back or deletes it, as its live name stands. Only for
// copies a move recorded (keptAside), since it deletes what it is given.
AsideFate SettleAside(RemoteClient& remote, const QString& asidePath);

// The folder part of a server path, ending in "/" ("/a/b.txt" gives "/a/").
QString RemoteFolderOf(const QString& path);
