#pragma once

#include "util/PathStyle.h"

#include <QList>
#include <QString>
#include <QStringList>

class OperationHost;
class RemoteClient;

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

// What a listing leaves out and whether it names each entry in the log.
struct RemoteTreeOptions {
    bool LogFound = true;    // "Folder found: " and "File found: " lines
    bool EnterHidden = true; // folders whose names begin with "."
    QStringList Leave;       // full paths of folders neither entered nor listed
};

// Lists from top (empty for the account's "/") down, logging "Folder found: "
// and "File found: " for each new entry. Links and other kinds of entry are
// passed over. A name that is not a plain name ("..", "a/b", ...) is logged
// and skipped. The cancel flag is read before each folder; a cancel leaves
// the lists as far as they got.
void ListRemoteTree(RemoteClient& remote, OperationHost& host, const QString& top, RemoteTree& tree,
                    const RemoteTreeOptions& options = {}, const PathStyle& style = PathStyle::Native());
