#include "UploadPaths.h"

namespace {

// Replaces a local folder prefix wherever it occurs. An empty folder would
// turn every separator into a server folder, so it maps nothing.
void ReplaceFolder(QString& path, const QString& folder, const QString& serverFolder, const PathStyle& style)
{
    if (folder.isEmpty())
        return;
    path.replace(style.WithTrailingSeparator(folder), serverFolder, Qt::CaseSensitive);
}

} // namespace

RemoteUploadPath MapUploadPath(const QString& localPath, const UploadPathMap& map, const PathStyle& style)
{
    const QChar separator = style.Separator();
    QString path = localPath;
    ReplaceFolder(path, map.LocalHome, map.HomePath, style);
    ReplaceFolder(path, map.LocalRoot, map.RootPath, style);
    // Server and local separators are mixed now: make them one kind, so that
    // a doubled one where a server folder meets the rest of the path folds.
    path.replace(QLatin1Char('/'), separator);
    path = TempUploadFolder + separator + path;
    path.replace(QString(2, separator), QString(separator));

    RemoteUploadPath remote;
    const qsizetype lastSeparator = path.lastIndexOf(separator);
    remote.TempFolder = path.left(lastSeparator);
    remote.TempPath = path;
    remote.TempFolder.replace(separator, QLatin1Char('/'));
    remote.TempPath.replace(separator, QLatin1Char('/'));
    remote.TargetPath = remote.TempPath;
    remote.TargetPath.remove(TempUploadFolder, Qt::CaseSensitive);
    return remote;
}
