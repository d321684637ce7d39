#include "site/LinkScanner.h"

#include "site/ScanWindow.h"
#include "site/SiteLists.h"

#include <QFile>

TLinkScanner::TLinkScanner(TSiteLists& lists, const TLinkFolders& folders, ScanWindow& window)
    : lists_(lists), folders_(folders), window_(window), lookup_(lists.Style())
{
}

void TLinkScanner::ScanLinks(int start)
{
    // Files reached are appended behind the ones being read, so one pass to
    // the end of the growing list reads each generation after the one before.
    for (int i = qMax(start, 0); i < lists_.LocalFiles().size(); ++i) {
        const QString path = lists_.LocalFiles().at(i);
        if (IsScannedFile(path, lists_.Style()))
            ScanFile(i, path);
    }
}

void TLinkScanner::ScanFile(int fileIndex, const QString& path)
{
    QFile file(lists_.Style().ToFileSystem(path));
    if (!file.open(QIODevice::ReadOnly)) {
        unreadable_.append(path);
        return;
    }
    const QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        unreadable_.append(path);
        return;
    }
    const QList<QByteArray> lines = SplitLines(contents);
    window_.AddLine(QStringLiteral("Scanning - ") + path);
    SetCommentStyle(FileExtension(path, lists_.Style()), comments_);
    ids_.reset();
    for (int j = 0; j < lines.size(); ++j) {
        QByteArray line = lines[j];
        if (!StripComments(line, comments_))
            continue;
        const QByteArray lowered = line.toLower();
        for (const LinkToken token : LinkTokens())
            CheckLowered(line, lowered, token, fileIndex, j, lines);
    }
}

void TLinkScanner::CheckLinkToken(const QByteArray& line, LinkToken token, int fileIndex, int lineIndex,
                                  const QList<QByteArray>& lines)
{
    CheckLowered(line, line.toLower(), token, fileIndex, lineIndex, lines);
}

void TLinkScanner::CheckLowered(const QByteArray& line, const QByteArray& text, LinkToken token,
                                int fileIndex, int lineIndex, const QList<QByteArray>& lines)
{
    const QByteArray& tokenText = TokenText(token);
    // Windows paths take link values in lower case; POSIX file names keep
    // their case. Lowering keeps every position, so both read the same span.
    const QByteArray& values = lists_.Style().IsWindows() ? text : line;
    qsizetype at = text.indexOf(tokenText);
    while (at >= 0) {
        const qsizetype open = FindQuoteIn(text, at);
        if (open < 0)
            return;
        const qsizetype close = FindQuoteIn(text, open + 1);
        if (close >= 0)
            CheckValue(token, values.mid(open + 1, close - open - 1), text[close], fileIndex, lineIndex,
                       lines);
        // The search goes on just after the opening quote.
        at = text.indexOf(tokenText, open + 1);
    }
}

void TLinkScanner::CheckValue(LinkToken token, const QByteArray& value, char quote, int fileIndex,
                              int lineIndex, const QList<QByteArray>& lines)
{
    const QString& item = lists_.LocalFiles().at(fileIndex);
    if (token == LinkToken::Href && value.startsWith('#')) {
        if (!IdExists(IdOfReference(value), lines))
            lists_.AddBrokenLink(
                item, BrokenLinkDetail(lineIndex + 1, true, token, quote, QString::fromUtf8(value)));
        return;
    }
    const PathStyle& style = lists_.Style();
    if (token != LinkToken::Url) {
        TTarget& target = Target(token, value, item);
        if (!target.Path)
            return;
        if (!target.Exists) {
            lists_.AddBrokenLink(
                item, BrokenLinkDetail(lineIndex + 1, false, token, quote, QString::fromUtf8(value)));
        } else if (!target.Listed) {
            lists_.AddLocalFile(*target.Path);
            target.Listed = true;
        }
        return;
    }
    const std::optional<QString> path =
        LinkTargetOf(token, QString::fromUtf8(value), folders_, FolderOf(item, style), style);
    if (!path)
        return;
    if (lookup_.NamesFile(*path))
        lists_.AddLocalFile(*path);
    else
        lists_.AddBrokenLink(item,
                             BrokenLinkDetail(lineIndex + 1, false, token, quote, QString::fromUtf8(value)));
}

TLinkScanner::TTarget& TLinkScanner::Target(LinkToken token, const QByteArray& value, const QString& item)
{
    // Values that resolve from their file's folder are remembered per folder.
    const bool ownFolder = ResolvesFromOwnFolder(token, folders_);
    const QString folder = ownFolder ? FolderOf(item, lists_.Style()) : QString();
    QHash<QByteArray, TTarget>& targets = ownFolder ? folderTargets_[folder] : targets_;
    const auto known = targets.find(value);
    if (known != targets.end())
        return *known;
    TTarget target;
    target.Path = LinkTargetOf(token, QString::fromUtf8(value), folders_, folder, lists_.Style());
    target.Exists = target.Path && lookup_.NamesFile(*target.Path);
    target.Listed = target.Exists && lists_.HoldsLocalFile(*target.Path);
    // Only files are remembered: a site can hold a million different dead
    // links or web addresses, and they are cheap to resolve again.
    if (!target.Exists) {
        passing_ = target;
        return passing_;
    }
    return *targets.insert(value, target);
}

bool TLinkScanner::IdExists(const QByteArray& id, const QList<QByteArray>& lines)
{
    if (!ids_)
        ids_ = CollectIds(lines);
    return ids_->contains(id.toLower());
}
