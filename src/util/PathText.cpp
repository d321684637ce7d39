// Separator conversions and the removal of ".." segments.
#include "MyFileOpsU.h"

void BackslashesToSlashes(QString& text)
{
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

void SlashesToBackslashes(QString& text)
{
    text.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString IncludeTrailingSlash(const QString& text)
{
    return text.endsWith(QLatin1Char('/')) ? text : text + QLatin1Char('/');
}

void ResolveDotDot(QString& path, const PathStyle& style)
{
    const QChar sep = style.Separator();
    const QString dotDot = sep + QLatin1String("..") + sep;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = path.indexOf(dotDot, from);
        if (at < 0)
            return;
        const qsizetype parent = at > 0 ? path.lastIndexOf(sep, at - 1) : -1;
        // Without a separator before it there is no parent segment to drop,
        // and a parent that is itself ".." cannot be dropped either: step
        // over it, so the loop always ends.
        if (parent < 0 || QStringView(path).sliced(parent + 1, at - parent - 1) == QLatin1String("..")) {
            from = at + 1;
            continue;
        }
        path.remove(parent + 1, at + dotDot.size() - parent - 1);
        // Nothing before the parent's separator changed.
        from = parent;
    }
}
