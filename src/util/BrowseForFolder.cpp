#include "MyFileOpsU.h"

#include <QDir>
#include <QFileInfo>

bool BrowseForFolder(FolderPicker& picker, const QString& title, const QString& initialFolder,
                     bool allowNewFolder, QString& path)
{
    const std::optional<QString> chosen = picker.PickFolder(title, initialFolder, allowNewFolder);
    if (!chosen || chosen->isEmpty())
        return false;
    const QFileInfo info(*chosen);
    if (!info.isDir())
        return false;
    // cleanPath drops a trailing separator but keeps a root's.
    path = QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
    return true;
}
