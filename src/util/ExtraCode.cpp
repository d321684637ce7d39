#include "ExtraCode.h"

void SplitToList(QStringList& list, const QString& text, const QString& separator, int firstPiece)
{
    list.clear();
    if (separator.isEmpty()) {
        // Splitting at nothing would never consume the text.
        if (firstPiece <= 1)
            list.append(text);
        return;
    }
    // Working on text + separator makes every piece end with a separator.
    const QString work = text + separator;
    qsizetype from = 0;
    int piece = 1;
    while (from < work.size()) {
        const qsizetype at = work.indexOf(separator, from);
        if (piece >= firstPiece)
            list.append(work.mid(from, at - from));
        from = at + separator.size();
        ++piece;
    }
}

int LastPos(const QString& sub, const QString& text)
{
    if (sub.isEmpty())
        return int(text.size());
    return int(text.lastIndexOf(sub)) + 1;
}

int FindQuote(int start, const QString& text, QChar& quote)
{
    for (qsizetype i = qMax(start, 1) - 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            return int(i) + 1;
        }
    }
    return 0;
}

int FindQuote(int start, const QString& text)
{
    QChar unused;
    return FindQuote(start, text, unused);
}

QString LowerAscii(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return result;
}

int PosNoCase(const QString& sub, const QString& text)
{
    if (sub.isEmpty())
        return 0;
    return int(LowerAscii(text).indexOf(LowerAscii(sub))) + 1;
}

SplitOutcome SplitLineAroundToken(const QString& token, const QString& line, TSplitLine& parts)
{
    const int tokenAt = PosNoCase(token, line);
    if (tokenAt == 0)
        return SplitOutcome::NoToken;
    const int open = FindQuote(tokenAt, line);
    if (open == 0)
        return SplitOutcome::NoOpeningQuote;
    parts.Head = line.left(open);
    // The closing quote may be of either kind.
    const int close = FindQuote(open + 1, line);
    if (close == 0)
        return SplitOutcome::NoClosingQuote;
    // The rest is kept whole: the joined line is written back into the
    // user's page, so nothing of it may be cut off.
    const QString rest = line.mid(close - 1);
    const bool link = LowerAscii(token) == QLatin1String("href");
    const qsizetype gt = rest.indexOf(QLatin1Char('>'));
    // Without the tag's ">" the link text would start at the closing quote,
    // and replacing it would overwrite the quote and the tag's other
    // attributes.
    if (link && gt < 0)
        return SplitOutcome::NoTagEnd;
    parts.Value = line.mid(open, close - open - 1);
    if (!link) {
        parts.LinkText = rest;
        return SplitOutcome::Split;
    }
    // The link text ends at the first "<" after the tag's ">", so that the
    // parts never overlap and always join back to the line.
    qsizetype lt = rest.indexOf(QLatin1Char('<'), gt + 1);
    if (lt < 0)
        lt = rest.size();
    parts.TagEnd = rest.left(gt + 1);
    parts.LinkText = rest.mid(gt + 1, lt - gt - 1);
    parts.Tail = rest.mid(lt);
    return SplitOutcome::Split;
}

bool SplitAroundToken(const QString& token, const QString& line, TSplitLine& parts)
{
    return SplitLineAroundToken(token, line, parts) == SplitOutcome::Split;
}

QString JoinSplitLine(const TSplitLine& parts)
{
    return parts.Head + parts.Value + parts.TagEnd + parts.LinkText + parts.Tail;
}

bool MoveListItem(QStringList& items, int& selected, QChar direction)
{
    if (items.size() < 2 || selected < 0 || selected >= items.size())
        return false;
    const QChar d = direction.toLower();
    int target = -1;
    if (d == QLatin1Char('u') && selected > 0)
        target = selected - 1;
    else if (d == QLatin1Char('d') && selected < items.size() - 1)
        target = selected + 1;
    if (target < 0)
        return false;
    items.swapItemsAt(selected, target);
    selected = target;
    return true;
}
