#include "FtpListing.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

bool IsMonth(const QString& token)
{
    static const QStringList months{"jan", "feb", "mar", "apr", "may", "jun",
                                    "jul", "aug", "sep", "oct", "nov", "dec"};
    return months.contains(token.toLower());
}

bool IsAllDigits(const QString& token)
{
    if (token.isEmpty())
        return false;
    for (const QChar c : token)
        if (!c.isDigit())
            return false;
    return true;
}

bool IsDay(const QString& token)
{
    bool ok = false;
    const int day = token.toInt(&ok);
    return ok && day >= 1 && day <= 31;
}

bool IsTimeOrYear(const QString& token)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2}:\\d{2}(:\\d{2})?|\\d{4})$"));
    return form.match(token).hasMatch();
}

struct Token {
    QString Text;
    qsizetype End = 0; // index just after the token in the line
};

QList<Token> Tokens(const QString& line)
{
    static const QRegularExpression word(QStringLiteral("\\S+"));
    QList<Token> tokens;
    auto it = word.globalMatch(line);
    while (it.hasNext()) {
        const auto m = it.next();
        tokens.append({m.captured(), m.capturedEnd()});
    }
    return tokens;
}

FtpEntryKind KindFromMode(QChar mode)
{
    switch (mode.toLatin1()) {
    case '-':
        return FtpEntryKind::File;
    case 'd':
        return FtpEntryKind::Folder;
    case 'l':
        return FtpEntryKind::Link;
    default:
        return FtpEntryKind::Other;
    }
}

// Finds where the date ends: the index of its last token, or -1. The size
// stands right before the date, which is either "Mon day time-or-year" or
// the ISO form "yyyy-mm-dd hh:mm".
int DateEnd(const QList<Token>& tokens, int& sizeIndex)
{
    static const QRegularExpression isoDate(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    static const QRegularExpression isoTime(QStringLiteral("^\\d{1,2}:\\d{2}(:\\d{2})?$"));
    for (int i = 2; i + 1 < tokens.size(); ++i) {
        if (!IsAllDigits(tokens[i - 1].Text))
            continue;
        if (i + 2 < tokens.size() && IsMonth(tokens[i].Text) && IsDay(tokens[i + 1].Text) &&
            IsTimeOrYear(tokens[i + 2].Text)) {
            sizeIndex = i - 1;
            return i + 2;
        }
        if (isoDate.match(tokens[i].Text).hasMatch() && isoTime.match(tokens[i + 1].Text).hasMatch()) {
            sizeIndex = i - 1;
            return i + 1;
        }
    }
    return -1;
}

std::optional<FtpEntry> ParseUnixLine(const QString& line)
{
    // Type letter and nine permission letters, optionally flagged with an
    // ACL or extended-attribute mark.
    static const QRegularExpression mode(QStringLiteral("^[-dlbcpsD][-rwxsStTlL?]{9}[.+@]?\\s"));
    if (!mode.match(line).hasMatch())
        return std::nullopt;
    const QList<Token> tokens = Tokens(line);
    int sizeIndex = -1;
    const int dateEnd = DateEnd(tokens, sizeIndex);
    if (dateEnd < 0)
        return std::nullopt;

    // The name is everything after the single blank that ends the date, so
    // names with blanks (even several in a row) come through whole.
    QString name = line.mid(tokens[dateEnd].End + 1);
    FtpEntry entry;
    entry.Kind = KindFromMode(line.at(0));
    entry.Size = tokens[sizeIndex].Text.toLongLong();
    if (entry.Kind == FtpEntryKind::Link) {
        const qsizetype arrow = name.indexOf(QStringLiteral(" -> "));
        if (arrow >= 0)
            name.truncate(arrow);
    }
    if (name.isEmpty())
        return std::nullopt;
    entry.Name = name;
    return entry;
}

std::optional<FtpEntry> ParseDosLine(const QString& line)
{
    static const QRegularExpression form(QStringLiteral("^\\d{1,2}[-/]\\d{1,2}[-/]\\d{2,4}\\s+\\d{1,2}:\\d{2}"
                                                        "\\s*(?:[AP]M)?\\s+(<DIR>|\\d+)\\s+(\\S.*)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = form.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    FtpEntry entry;
    entry.Name = m.captured(2);
    if (m.captured(1).compare(QStringLiteral("<DIR>"), Qt::CaseInsensitive) == 0) {
        entry.Kind = FtpEntryKind::Folder;
    } else {
        entry.Kind = FtpEntryKind::File;
        entry.Size = m.captured(1).toLongLong();
    }
    return entry;
}

} // namespace

std::optional<FtpEntry> ParseMlsdLine(const QString& line)
{
    // "fact=value;fact=value; name": the facts hold no blanks, the first
    // blank ends them and the rest of the line is the name.
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank <= 0 || blank + 1 >= line.size())
        return std::nullopt;
    const QString facts = line.left(blank);
    if (!facts.contains(QLatin1Char('=')))
        return std::nullopt;

    FtpEntry entry;
    entry.Name = line.mid(blank + 1);
    bool typed = false;
    for (const QString& fact : facts.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = fact.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = fact.left(equals).toLower();
        const QString value = fact.mid(equals + 1).toLower();
        if (key == QLatin1String("type")) {
            typed = true;
            if (value == QLatin1String("cdir") || value == QLatin1String("pdir"))
                return std::nullopt;
            if (value == QLatin1String("file"))
                entry.Kind = FtpEntryKind::File;
            else if (value == QLatin1String("dir"))
                entry.Kind = FtpEntryKind::Folder;
            else if (value.startsWith(QLatin1String("os.unix=slink")) ||
                     value.startsWith(QLatin1String("os.unix=symlink")))
                entry.Kind = FtpEntryKind::Link;
            else
                entry.Kind = FtpEntryKind::Other;
        } else if (key == QLatin1String("size") || key == QLatin1String("sizd")) {
            entry.Size = value.toLongLong();
        }
    }
    if (!typed)
        return std::nullopt;
    return entry;
}

std::optional<FtpEntry> ParseListLine(const QString& line)
{
    if (auto entry = ParseUnixLine(line))
        return entry;
    return ParseDosLine(line);
}

QList<FtpEntry> ParseListing(const QByteArray& data, bool mlsd)
{
    QList<FtpEntry> entries;
    for (QByteArray raw : data.split('\n')) {
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString line = QString::fromUtf8(raw);
        const std::optional<FtpEntry> entry = mlsd ? ParseMlsdLine(line) : ParseListLine(line);
        if (!entry || entry->Name == QLatin1String(".") || entry->Name == QLatin1String(".."))
            continue;
        entries.append(*entry);
    }
    return entries;
}
