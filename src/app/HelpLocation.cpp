#include "app/HelpLocation.h"

#include "ui/Hints.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool HoldsHelp(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo::exists(HelpTopicPath(folder, MainHelpContext));
}

} // namespace

QString LocateHelpFolder(const QString& programFolder)
{
    const QDir program(programFolder);
    QStringList candidates{program.filePath(QStringLiteral("help")),
                           program.filePath(QStringLiteral("../share/tarnwell/help"))};
    candidates += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                            QStringLiteral("tarnwell/help"), QStandardPaths::LocateDirectory);
    for (const QString& folder : candidates)
        if (HoldsHelp(folder))
            return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return {};
}

QString HelpTopicPath(const QString& folder, int context)
{
    return QDir(folder).filePath(QString::number(context) + QStringLiteral(".html"));
}
