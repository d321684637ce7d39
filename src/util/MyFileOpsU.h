#pragma once

#include "FolderPicker.h"
#include "PathStyle.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// What is known of one local file. Callers reuse one record for many files;
// GetFileInfo leaves every field but Age alone when the file is missing.
struct TFileOpsSettings {
    QString DateText; // short date, blank, long time (no time at midnight)
    bool Archive = false;
    bool Hidden = false;
    bool SysFile = false;
    bool ReadOnly = false;
    // Last-write time in local time packed as a DOS date and time; -1 when
    // the path names no file.
    qint32 Age = -1;
    QString Name; // the file's own name as the file system stores it
};

// Packs a local time as a DOS date and time (seconds halved); -1 when the
// time cannot be packed (before 1980, after 2107, or invalid).
qint32 PackDosDateTime(const QDateTime& localTime);

// Fills info for the file at fileName. A path that names no file sets Age to
// -1 and touches nothing else. With a case-insensitive style the name is
// looked up in its folder, so Name gets the stored letter case.
void GetFileInfo(const QString& fileName, TFileOpsSettings& info,
                 const PathStyle& style = PathStyle::Native());

// Appends folder's files that match mask (Windows wildcards; "*.*" matches
// every name) to list, skipping paths list already holds, then, when
// recurse, the files of each sub-folder depth first. Folders are listed in
// name order; hidden files are listed, hidden folders are not entered, and
// each real folder is entered once (a link back to an ancestor ends there).
// An empty folder text adds nothing (it is not taken as the root).
void AddFilesRecursively(const QString& folder, const QString& mask, bool recurse, QStringList& list,
                         const PathStyle& style = PathStyle::Native());

// Searches folder (and, when recurse, its whole tree in the order of
// AddFilesRecursively) for baseName with exactly the extension given, from
// its last dot on. found is set on every match, so it ends as the last one.
// An empty folder text finds nothing.
void FindFileRecursive(const QString& folder, const QString& baseName, const QString& extension,
                       QString& found, bool recurse, const PathStyle& style = PathStyle::Native());

// Local and server separators.
void BackslashesToSlashes(QString& text);
void SlashesToBackslashes(QString& text);

// text with "/" appended unless it ends with one; "/" for an empty text.
QString IncludeTrailingSlash(const QString& text);

// Removes each parent segment together with the "..\" (or "../") after it.
// A ".." with no separator before it, or whose parent is itself "..", stays.
void ResolveDotDot(QString& path, const PathStyle& style = PathStyle::Native());

// True when every path names a file (not a folder); true for an empty list.
bool AllFilesExist(const QStringList& paths, const PathStyle& style = PathStyle::Native());

// Lets the user pick a folder. False when the user cancels or picks
// something that is not a folder; otherwise path receives the folder with
// native separators and no trailing separator (except for a root).
bool BrowseForFolder(FolderPicker& picker, const QString& title, const QString& initialFolder,
                     bool allowNewFolder, QString& path);
