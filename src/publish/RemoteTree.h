#pragma once

#include "util/PathStyle.h"

#include <QList>
#include <QString>
#include <QStringList>

class FtpClient;
class OperationHost;

// An account's whole tree as the import lists it: full server paths, each
// folder before its subfolders and a folder's files before theirs.
struct RemoteTree {
    QStringList Files;
    QList<qint64> Sizes; // parallel to Files, in bytes
    QStringList Folders;
    // Entries left out because their names could reach outside the folder
    // they were listed in, and folders that could not be entered or listed.
    QStringList Skipped;
    QStringList Unlisted;
};

// Lists from top (empty for the account's "/") down, logging "Folder found: "
// and "File found: " for each new entry. Links and other kinds of entry are
// passed over. A name that is not a plain name ("..", "a/b", ...) is logged
// and skipped. The cancel flag is read before each folder; a cancel leaves
// the lists as far as they got.
void ListRemoteTree(FtpClient& ftp, OperationHost& host, const QString& top, RemoteTree& tree,
                    const PathStyle& style = PathStyle::Native());
