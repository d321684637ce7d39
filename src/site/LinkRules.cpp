#include "site/LinkRules.h"

#include "util/ExtraCode.h"
#include "util/MyFileOpsU.h"

#include <QStringDecoder>

const QList<LinkToken>& LinkTokens()
{
    static const QList<LinkToken> tokens{LinkToken::Href,        LinkToken::Src,     LinkToken::IncludeCall,
                                         LinkToken::RequireCall, LinkToken::Include, LinkToken::Require,
                                         LinkToken::Url};
    return tokens;
}

const QByteArray& TokenText(LinkToken token)
{
    static const QByteArray texts[] = {"href=",    "src=",     "include(", "require(",
                                       "include ", "require ", "url("};
    return texts[static_cast<int>(token)];
}

QString FileExtension(const QString& path, const PathStyle& style)
{
    const qsizetype nameStart = path.lastIndexOf(style.Separator()) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot >= nameStart ? path.mid(dot) : QString();
}

QString FolderOf(const QString& path, const PathStyle& style)
{
    const qsizetype sep = path.lastIndexOf(style.Separator());
    return sep >= 0 ? path.left(sep) : QString();
}

bool IsScannedFile(const QString& path, const PathStyle& style)
{
    const QString ext = FileExtension(path, style);
    return !ext.isEmpty() && ScannedExtensions.contains(QLatin1Char('|') + ext + QLatin1Char('|'));
}

namespace {

// Doubled separators become one; a leading pair (a network share) stays.
void CollapseSeparators(QString& path, QChar sep)
{
    const QString doubled = QString(sep) + sep;
    const qsizetype from = path.startsWith(doubled) ? 1 : 0;
    for (qsizetype at = path.indexOf(doubled, from); at >= 0; at = path.indexOf(doubled, at))
        path.remove(at, 1);
}

// "a/./b" is "a/b": one file, one path.
void DropDotSegments(QString& path, QChar sep)
{
    const QString dot = sep + QLatin1Char('.') + sep;
    for (qsizetype at = path.indexOf(dot); at >= 0; at = path.indexOf(dot, at))
        path.remove(at, 2);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The value with its %XX escapes decoded as UTF-8, a "%" without two hex
// digits kept; nothing when an escape gives a separator, a control
// character (or, for Windows paths, ":"), or the bytes are not UTF-8.
std::optional<QString> DecodeEscapes(const QString& value, const PathStyle& style)
{
    if (!value.contains(QLatin1Char('%')))
        return value;
    const QByteArray bytes = value.toUtf8();
    QByteArray decoded;
    decoded.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int high = bytes[i] == '%' && i + 2 < bytes.size() ? HexDigit(bytes[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(bytes[i + 2]) : -1;
        if (low < 0) {
            decoded.append(bytes[i]); // not an escape: the "%" is part of the name
            continue;
        }
        const char c = static_cast<char>(high * 16 + low);
        // An escaped separator would open a folder the checks never saw;
        // control characters and a Windows ":" (a stream) name no file.
        const bool unsafe = c == '/' || c == '\\' || (static_cast<unsigned char>(c) < 0x20) ||
                            (c == ':' && style.IsWindows());
        if (unsafe)
            return std::nullopt;
        decoded.append(c);
        i += 2;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(decoded);
    if (utf8.hasError())
        return std::nullopt;
    // Windows link values are taken in lower case, escaped letters too.
    return style.IsWindows() ? LowerAscii(text) : text;
}

} // namespace

bool ResolvesFromOwnFolder(LinkToken token, const TLinkFolders& folders)
{
    return token == LinkToken::Url ||
           (folders.PageRelative && (token == LinkToken::Href || token == LinkToken::Src));
}

std::optional<QString> LinkTargetOf(LinkToken token, const QString& value, const TLinkFolders& folders,
                                    const QString& fileFolder, const PathStyle& style)
{
    if (!folders.PageRelative || (token != LinkToken::Href && token != LinkToken::Src))
        return LinkTarget(value, folders, token == LinkToken::Url ? fileFolder : QString(), style);
    // The web root of a page's "/" links is Local Home. A file outside any
    // folder has nothing to resolve against but Local Home either.
    TLinkFolders browser = folders;
    browser.LocalRoot = folders.LocalHome;
    return LinkTarget(value, browser, fileFolder.isEmpty() ? folders.LocalHome : fileFolder, style);
}

std::optional<QString> LinkTarget(const QString& value, const TLinkFolders& folders, const QString& ownFolder,
                                  const PathStyle& style)
{
    if (value.contains(QLatin1Char(':')) || value.startsWith(QLatin1String("//")))
        return std::nullopt;
    const QChar sep = style.Separator();
    QString relative = value;
    if (style.IsWindows())
        SlashesToBackslashes(relative);
    const qsizetype query = relative.indexOf(QLatin1Char('?'));
    if (query >= 0)
        relative.truncate(query);
    // The server decodes %XX before it looks for the file; decoded here
    // before the separators and dot segments are dealt with, so an escaped
    // ".." is resolved like a written one.
    const std::optional<QString> decoded = DecodeEscapes(relative, style);
    if (!decoded)
        return QString();
    relative = *decoded;
    QString path;
    if (relative.startsWith(sep)) {
        path = folders.LocalRoot + relative;
    } else {
        const QString& base = ownFolder.isEmpty() ? folders.LocalHome : ownFolder;
        // Without a folder to start from, a relative value would be taken
        // from the top of the file system.
        if (base.isEmpty())
            return QString();
        path = base + sep + relative;
    }
    CollapseSeparators(path, sep);
    DropDotSegments(path, sep);
    ResolveDotDot(path, style);
    return path;
}

QList<QByteArray> SplitLines(const QByteArray& contents)
{
    QList<QByteArray> lines;
    const qsizetype size = contents.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && contents[end] != '\r' && contents[end] != '\n')
            ++end;
        lines.append(contents.mid(start, end - start));
        if (end < size && contents[end] == '\r' && end + 1 < size && contents[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

qsizetype FindQuoteIn(const QByteArray& text, qsizetype from)
{
    const qsizetype size = text.size();
    for (qsizetype i = from; i < size; ++i) {
        if (text[i] == '\'' || text[i] == '"')
            return i;
    }
    return -1;
}

QSet<QByteArray> CollectIds(const QList<QByteArray>& lines)
{
    QSet<QByteArray> ids;
    for (const QByteArray& line : lines) {
        // Most lines hold no "id=" in any letter case: skip them cheaply.
        if (line.indexOf("d=") < 0 && line.indexOf("D=") < 0)
            continue;
        const QByteArray lower = line.toLower();
        const qsizetype idAt = lower.indexOf("id=");
        if (idAt < 0)
            continue;
        const qsizetype open = FindQuoteIn(lower, idAt);
        if (open < 0)
            continue;
        const qsizetype close = FindQuoteIn(lower, open + 1);
        if (close >= 0)
            ids.insert(lower.mid(open + 1, close - open - 1));
    }
    return ids;
}

QString BrokenLinkDetail(int lineNumber, bool idReference, LinkToken token, char quote, const QString& value)
{
    const QString kind = idReference ? QStringLiteral(":id not found:") : QStringLiteral(":file not found:");
    const QChar q = QLatin1Char(quote);
    return QString::number(lineNumber) + kind + QString::fromLatin1(TokenText(token)) + q + value + q;
}

QByteArray IdOfReference(const QByteArray& value)
{
    return value.mid(1, 100).toLower();
}
