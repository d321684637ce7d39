#pragma once

#include "util/PathStyle.h"

#include <QHash>
#include <QString>

// Tells whether a path names a file, remembering each answer for the life
// of the object (one scan), so a link written on thousands of pages costs
// one look at the disk. With the Windows path style the look-up ignores
// letter case even where the file system does not.
class TFileLookup {
public:
    explicit TFileLookup(const PathStyle& style) : style_(style) {}

    bool NamesFile(const QString& path);
    bool NamesFolder(const QString& path);

private:
    enum class Kind { None, File, Folder };
    Kind KindOf(const QString& path);
    Kind CaseBlindKind(const QString& fsPath);
    // Lower-cased entry name -> stored name, for one folder.
    const QHash<QString, QString>& Entries(const QString& folder);

    PathStyle style_;
    QHash<QString, Kind> kinds_;
    QHash<QString, QHash<QString, QString>> folders_;
};
