#include "TransferFiles.h"

#include <QFile>
#include <QFileInfo>

QString OpenToSend(QFile& file, const QString& localPath)
{
    if (QFileInfo(localPath).isFile() && file.open(QIODevice::ReadOnly))
        return {};
    return QStringLiteral("Cannot read %1: %2")
        .arg(localPath, QFileInfo::exists(localPath) ? file.errorString() : QStringLiteral("no such file"));
}

QString OpenToFetch(QSaveFile& file, const QString& localPath)
{
    if (file.open(QIODevice::WriteOnly))
        return {};
    return QStringLiteral("Cannot write %1: %2").arg(localPath, file.errorString());
}

QString PlaceFetched(QSaveFile& file, const QString& localPath)
{
    if (file.commit())
        return {};
    return QStringLiteral("Cannot write %1: %2").arg(localPath, file.errorString());
}
