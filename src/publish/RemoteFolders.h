#pragma once

#include <QString>

class FtpClient;

// The two folder operations the uploads rest on. Neither logs nor throws:
// every refusal and every connection fault comes back as false.

// Makes path the current server folder, creating the missing folders of its
// chain from the root. True when the first CWD succeeds; otherwise true only
// when at least one MKD succeeded and the final CWD does. An empty path gives
// false.
bool ForceRemoteFolder(FtpClient& ftp, const QString& path);

// Moves an uploaded file from tempPath to targetPath. When the target is
// absent its folder is made and the file renamed into place. A file already
// at the target is deleted and replaced only after the new file has been
// renamed beside it (targetPath + ".uploading"), so a refused rename or a
// refused delete leaves the old file in place. False leaves the new file
// where it was.
bool MoveRemoteFile(FtpClient& ftp, const QString& tempPath, const QString& targetPath);

// The folder part of a server path, ending in "/" ("/a/b.txt" gives "/a/").
QString RemoteFolderOf(const QString& path);
