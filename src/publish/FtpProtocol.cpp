#include "FtpProtocol.h"

#include <QRegularExpression>
#include <QUrl>

std::optional<FtpAddress> ParseFtpHost(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^([A-Za-z0-9._-]+)(?::(\\d{1,5}))?$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    FtpAddress address;
    address.Host = m.captured(1);
    if (address.Host.startsWith(QLatin1Char('.')) || address.Host.startsWith(QLatin1Char('-')))
        return std::nullopt;
    if (m.hasCaptured(2)) {
        address.Port = m.captured(2).toInt();
        if (address.Port < 1 || address.Port > 65535)
            return std::nullopt;
    }
    return address;
}

QByteArray FtpUrl(const FtpAddress& address, const QString& path, bool asFolder)
{
    QByteArray url = "ftp://" + address.Host.toLatin1() + ':' + QByteArray::number(address.Port) + '/';
    if (path.isEmpty())
        return url;
    // A leading "%2F" makes the path absolute on the server; without it the
    // library would take it from the login folder.
    if (path.startsWith(QLatin1Char('/')))
        url += "%2F" + QUrl::toPercentEncoding(path.mid(1), "/");
    else
        url += QUrl::toPercentEncoding(path, "/");
    // A trailing slash asks for a listing; the library passes the path
    // without it to LIST or MLSD.
    if (asFolder && !url.endsWith('/'))
        url += '/';
    return url;
}

bool IsSafeCommandArgument(const QString& text)
{
    return !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')) && !text.contains(QChar(0));
}

QList<FtpServerReply> SplitReplies(const QStringList& lines)
{
    static const QRegularExpression start(QStringLiteral("^(\\d{3})([ -]|$)"));
    QList<FtpServerReply> replies;
    FtpServerReply open; // a multi-line reply waiting for its last line
    for (const QString& line : lines) {
        if (open.Code != 0) {
            open.Lines.append(line);
            if (line.startsWith(QString::number(open.Code)) &&
                (line.size() == 3 || line.at(3) == QLatin1Char(' '))) {
                open.Text = line.mid(4);
                replies.append(open);
                open = FtpServerReply();
            }
            continue;
        }
        const auto m = start.match(line);
        if (!m.hasMatch())
            continue;
        if (m.captured(2) == QLatin1String("-")) {
            open.Code = m.captured(1).toInt();
            open.Lines = QStringList{line};
            continue;
        }
        replies.append({m.captured(1).toInt(), line.mid(4), QStringList{line}});
    }
    return replies;
}

QString PwdFolder(const QString& replyText)
{
    const qsizetype first = replyText.indexOf(QLatin1Char('"'));
    if (first < 0)
        return QString();
    QString folder;
    for (qsizetype i = first + 1; i < replyText.size(); ++i) {
        const QChar c = replyText.at(i);
        if (c != QLatin1Char('"')) {
            folder += c;
            continue;
        }
        // A doubled quote stands for one quote inside the name.
        if (i + 1 < replyText.size() && replyText.at(i + 1) == QLatin1Char('"')) {
            folder += c;
            ++i;
            continue;
        }
        return folder;
    }
    return QString();
}

bool OffersMlsd(const FtpServerReply& featReply)
{
    if (featReply.Code != 211)
        return false;
    for (const QString& line : featReply.Lines) {
        const QString feature = line.trimmed().toUpper();
        if (feature == QLatin1String("MLSD") || feature == QLatin1String("MLST") ||
            feature.startsWith(QLatin1String("MLST ")))
            return true;
    }
    return false;
}
