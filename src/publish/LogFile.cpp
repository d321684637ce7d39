#include "publish/LogFile.h"

#include "settings/AtomicFile.h"
#include "util/TarnwellError.h"

#include <QFileInfo>

QString LogFileName(const QString& chosen)
{
    const QFileInfo info(chosen);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // A leading dot names a hidden file; it is no extension.
    if (dot <= 0)
        return chosen + QStringLiteral(".txt");
    return chosen.left(chosen.size() - (name.size() - dot)) + QStringLiteral(".txt");
}

QString SaveLogFile(const QString& chosen, const QStringList& lines)
{
    QByteArray contents;
    for (const QString& line : lines)
        contents += line.toLocal8Bit() + "\r\n";
    const QString path = LogFileName(chosen);
    try {
        WriteFileAtomically(path, contents);
    } catch (const TarnwellError& error) {
        return error.Message();
    }
    return {};
}
