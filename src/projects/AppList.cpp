#include "AppList.h"

#include <QDir>

namespace {

// Index just past the last separator, 0 when there is none.
qsizetype NameStart(const QString& path)
{
    return QDir::fromNativeSeparators(path).lastIndexOf(QLatin1Char('/')) + 1;
}

} // namespace

QString AppDisplayName(const QString& path)
{
    return path.mid(NameStart(path)).left(MaxPrimaryNameLength);
}

QString AppFolder(const QString& path)
{
    return path.left(NameStart(path));
}

QString VersionCaption(const QString& version)
{
    return QStringLiteral("Version ") + version;
}

bool IsPrimaryEntry(const QString& path, const QString& primaryCaption)
{
    return AppDisplayName(path) == primaryCaption;
}

QString RemoveAppQuestion(const QString& path, const QString& primaryCaption)
{
    const QString middle =
        IsPrimaryEntry(path, primaryCaption) ? QStringLiteral(" PRIMARY ") : QStringLiteral(" ");
    return QStringLiteral("Remove") + middle + QStringLiteral("Application from code signing list?\r") + path;
}
