#pragma once

#include "site/FileComments.h"
#include "site/FileLookup.h"
#include "site/LinkRules.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class ScanWindow;
class TSiteLists;

// Follows the links of the files in lbxLocalFiles: every file a link
// reaches is appended there (and read in its turn when it is a page, style
// sheet, text or PHP file), every link that leads nowhere is recorded in
// lbxBrokenLinks. One scanner serves one scan.
class TLinkScanner {
public:
    TLinkScanner(TSiteLists& lists, const TLinkFolders& folders, ScanWindow& window);

    // Reads lbxLocalFiles from item start on, generation by generation: the
    // files there, then the files they reached, until nothing new is added.
    void ScanLinks(int start);

    // Handles every occurrence of the token in one line (after comment
    // removal) of item fileIndex of lbxLocalFiles; lineIndex is 0-based.
    void CheckLinkToken(const QByteArray& line, LinkToken token, int fileIndex, int lineIndex,
                        const QList<QByteArray>& lines);
    // Whether some line of the file gives this id (compared in lower case).
    bool IdExists(const QByteArray& id, const QList<QByteArray>& lines);

    // Selected files that could not be read, in the order they were met.
    const QStringList& UnreadableFiles() const { return unreadable_; }

private:
    void ScanFile(int fileIndex, const QString& path);
    // CheckLinkToken with the line already lowered: every line is searched
    // for seven tokens, so it is lowered once.
    void CheckLowered(const QByteArray& line, const QByteArray& lowered, LinkToken token, int fileIndex,
                      int lineIndex, const QList<QByteArray>& lines);
    // Where a value of a token other than url() leads, whether that names
    // a file and whether it is in lbxLocalFiles yet. The same values recur
    // on thousands of pages, so each is resolved and looked up once a scan
    // (once a folder when it resolves from its file's folder).
    struct TTarget {
        std::optional<QString> Path;
        bool Exists = false;
        bool Listed = false;
    };
    TTarget& Target(LinkToken token, const QByteArray& value, const QString& item);
    void CheckValue(LinkToken token, const QByteArray& value, char quote, int fileIndex, int lineIndex,
                    const QList<QByteArray>& lines);

    TSiteLists& lists_;
    TLinkFolders folders_;
    ScanWindow& window_;
    TFileLookup lookup_;
    TFileComments comments_;
    // The ids of the file being read, gathered at its first id reference.
    std::optional<QSet<QByteArray>> ids_;
    QHash<QByteArray, TTarget> targets_;
    QHash<QString, QHash<QByteArray, TTarget>> folderTargets_;
    TTarget passing_; // the last target that is not remembered
    QStringList unreadable_;
};
