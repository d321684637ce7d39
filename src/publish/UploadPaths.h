#pragma once

#include "util/PathStyle.h"

#include <QString>

// The server folder every upload fills first; files are moved out of it
// into place only once all of an account's files have arrived.
inline const QString TempUploadFolder = QStringLiteral("/BRTempUploadFolder");

// Where one local file goes on the server.
struct RemoteUploadPath {
    QString TempFolder; // the folder inside TempUploadFolder, without a trailing "/"
    QString TempPath;   // the file inside TempUploadFolder
    QString TargetPath; // the file's place in the live site
};

// The local folders and the account's server folders a path is mapped
// between: a file under Local Home goes under the Server Home Path, one
// under Local Root under the Server Root Path (Local Home wins when it lies
// inside Local Root), and any other file keeps its whole local path. The
// local prefixes compare exactly, letter case included; an empty local
// folder maps nothing.
struct UploadPathMap {
    QString LocalHome;
    QString LocalRoot;
    QString HomePath; // the account's server folders, ending in "/"
    QString RootPath;
};

RemoteUploadPath MapUploadPath(const QString& localPath, const UploadPathMap& map,
                               const PathStyle& style = PathStyle::Native());
