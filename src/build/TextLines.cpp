#include "TextLines.h"

QList<QByteArray> SplitTextLines(const QByteArray& contents)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < contents.size()) {
        const char c = contents.at(i);
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.append(contents.mid(start, i - start));
        // CR LF is one break; LF CR is two.
        i += (c == '\r' && i + 1 < contents.size() && contents.at(i + 1) == '\n') ? 2 : 1;
        start = i;
    }
    if (start < contents.size())
        lines.append(contents.mid(start));
    return lines;
}

QByteArray JoinTextLines(const QList<QByteArray>& lines)
{
    QByteArray contents;
    for (const QByteArray& line : lines) {
        contents += line;
        contents += "\r\n";
    }
    return contents;
}
