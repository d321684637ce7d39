#pragma once

#include "projects/TConnectionSettings.h"
#include "util/PathStyle.h"

#include <QString>

// Every upload lands in this server folder first and is moved into place
// once the whole set for the account has arrived.
inline const QString TempUploadFolder = QStringLiteral("/BRTempUploadFolder");

// Where an account's uploads wait: TempUploadFolder at the top of an FTP
// account. An SFTP server shows its whole file system, whose top an account
// can seldom write, so there the folder sits at the top of the Server Root
// Path (and the rename into place stays on one file system).
QString TempUploadRoot(const TConnectionSettings& account);

// Where one local file goes on an account's server.
struct UploadPaths {
    QString TempFolder; // "/BRTempUploadFolder/public_html/img"
    QString TempPath;   // "/BRTempUploadFolder/public_html/img/a.png"
    QString TargetPath; // "/public_html/img/a.png"
};

// The server paths of a local file: a file under Local Home goes below the
// account's Server Home Path, one under Local Root below its Server Root
// Path (Local Home wins when it lies inside Local Root), and any other file
// keeps its whole local path. The folders are compared exactly, letter case
// included, only at the start of the path, with or without a trailing
// separator; an empty folder matches nothing. The temporary path is the
// target path below tempRoot.
UploadPaths UploadPathsOf(const QString& localFile, const QString& localHome, const QString& localRoot,
                          const QString& serverHome, const QString& serverRoot,
                          const PathStyle& style = PathStyle::Native(),
                          const QString& tempRoot = TempUploadFolder);

// The local path an import gives a server path: below Local Home when the
// path begins with the Server Home Path, otherwise below Local Root (unless
// Local Home already shows in it: for a folder at its start, for a file
// anywhere). Empty when the result would lie outside both import folders,
// so that nothing a server lists can be written anywhere else.
QString ImportLocalPath(const QString& remotePath, bool isFolder, const QString& serverHome,
                        const QString& localHome, const QString& localRoot,
                        const PathStyle& style = PathStyle::Native());

// A listing name that is a plain name: not empty, not "." or "..", with no
// separator of either kind and no control character (and, for Windows
// paths, no ":" that would name a drive or a stream).
bool IsPlainEntryName(const QString& name, const PathStyle& style = PathStyle::Native());

// The path is folder itself or lies below it, after "." and ".." are
// resolved, under the style's letter-case rule.
bool IsInsideFolder(const QString& path, const QString& folder, const PathStyle& style = PathStyle::Native());

// A full local path: "/..." for POSIX, "X:\..." or "\\server\..." for Windows.
bool IsAbsoluteLocalPath(const QString& path, const PathStyle& style = PathStyle::Native());
