#pragma once

#include "util/PathStyle.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// Extensions of the files read for links, each between bars; compared in
// the letter case of the path, so PAGE.HTML is not read.
inline const QString ScannedExtensions = QStringLiteral("|.txt|.htm|.html|.css|.php|");

// The link tokens, in the order they are searched on every line.
enum class LinkToken { Href, Src, IncludeCall, RequireCall, Include, Require, Url };
const QList<LinkToken>& LinkTokens();
// The token's text as it is searched for (lower case) and reported.
const QByteArray& TokenText(LinkToken token);

// The extension of the path's file name from its last dot, as written;
// empty when the name has no dot.
QString FileExtension(const QString& path, const PathStyle& style);
// The path up to its last separator, without it.
QString FolderOf(const QString& path, const PathStyle& style);
bool IsScannedFile(const QString& path, const PathStyle& style);

// The folders that link values are resolved against.
struct TLinkFolders {
    QString LocalHome; // relative values
    QString LocalRoot; // values beginning with a separator
    // "Links relative to their page": href and src values resolve as a
    // browser resolves them, relative ones against their file's folder and
    // "/" ones against Local Home, the server's web root.
    bool PageRelative = false;
};

// Whether a value of the token resolves against the folder of its file.
bool ResolvesFromOwnFolder(LinkToken token, const TLinkFolders& folders);

// The local path a link value leads to; nothing for a value that is a web
// address (a scheme or drive with ":", or "//" before a host), which is
// passed over; an empty path (naming no file) for a relative value when
// there is no folder to resolve it against. Relative values are joined to ownFolder when it is given
// (url() in a style sheet), else to Local Home; "/" values to Local Root.
// Windows paths get "\" for "/"; the query string goes; doubled separators,
// "." and ".." segments are removed. %XX escapes are decoded first (an
// escape that is not one stays as written); a value whose escapes hide a
// separator, a control character or bytes that are not UTF-8 names no file.
std::optional<QString> LinkTarget(const QString& value, const TLinkFolders& folders, const QString& ownFolder,
                                  const PathStyle& style);
// LinkTarget for a value of the token found in a file of the folder
// fileFolder, under the folders' rules.
std::optional<QString> LinkTargetOf(LinkToken token, const QString& value, const TLinkFolders& folders,
                                    const QString& fileFolder, const PathStyle& style);

// 0-based index of the first ' or " at or after from; -1 when there is none.
qsizetype FindQuoteIn(const QByteArray& text, qsizetype from);

// Splits file contents into lines; a line ends at CR, LF or CR LF.
QList<QByteArray> SplitLines(const QByteArray& contents);

// The id values of a file's lines, lower case: of each line its first
// "id=" (also the end of a longer name such as data-id=) with the quoted
// text after it.
QSet<QByteArray> CollectIds(const QList<QByteArray>& lines);

// The detail item of a broken link: "12:file not found:src='a.png'".
QString BrokenLinkDetail(int lineNumber, bool idReference, LinkToken token, char quote, const QString& value);

// The id of an href="#..." value as it is looked up: at most 100 characters
// after the "#", lower case.
QByteArray IdOfReference(const QByteArray& value);
