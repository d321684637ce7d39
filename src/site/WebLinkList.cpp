#include "site/WebLinkList.h"

#include "site/FileComments.h"
#include "site/SiteLists.h"

#include <QFile>
#include <QHash>

QString WebAddressOf(const QString& value)
{
    QString address = value.trimmed();
    if (!address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) &&
        !address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return QString();
    const qsizetype fragment = address.indexOf(QLatin1Char('#'));
    if (fragment >= 0)
        address.truncate(fragment);
    address.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return address;
}

namespace {

void CollectFromLine(const QByteArray& line, qsizetype fileIndex, int lineNumber, TWebLinks& links,
                     QHash<QString, qsizetype>& known)
{
    const QByteArray lowered = line.toLower();
    for (const LinkToken token : {LinkToken::Href, LinkToken::Src}) {
        const QByteArray& tokenText = TokenText(token);
        for (qsizetype at = lowered.indexOf(tokenText); at >= 0;) {
            const qsizetype open = FindQuoteIn(lowered, at);
            if (open < 0)
                break;
            const qsizetype close = FindQuoteIn(lowered, open + 1);
            if (close >= 0) {
                const QString value = QString::fromUtf8(line.mid(open + 1, close - open - 1));
                const QString address = WebAddressOf(value);
                if (!address.isEmpty()) {
                    auto index = known.constFind(address);
                    if (index == known.constEnd()) {
                        index = known.insert(address, links.Addresses.size());
                        links.Addresses.append(address);
                    }
                    links.Uses.append({fileIndex, lineNumber, token, line[close], value, *index});
                }
            }
            at = lowered.indexOf(tokenText, open + 1);
        }
    }
}

} // namespace

TWebLinks CollectWebLinks(const TSiteLists& lists)
{
    TWebLinks links;
    QHash<QString, qsizetype> known;
    const QStringList& files = lists.LocalFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!IsScannedFile(files[i], lists.Style()))
            continue;
        QFile file(lists.Style().ToFileSystem(files[i]));
        if (!file.open(QIODevice::ReadOnly)) {
            links.UnreadableFiles.append(files[i]);
            continue;
        }
        const QList<QByteArray> lines = SplitLines(file.readAll());
        if (file.error() != QFileDevice::NoError) {
            links.UnreadableFiles.append(files[i]);
            continue;
        }
        TFileComments comments;
        SetCommentStyle(FileExtension(files[i], lists.Style()), comments);
        comments.LineMarker.clear();
        for (qsizetype j = 0; j < lines.size(); ++j) {
            QByteArray line = lines[j];
            if (StripComments(line, comments))
                CollectFromLine(line, i, int(j + 1), links, known);
        }
    }
    return links;
}
