#include "QtFolderPicker.h"

#include <QApplication>
#include <QFileDialog>

std::optional<QString> QtFolderPicker::PickFolder(const QString& title, const QString& initialFolder,
                                                  bool allowNewFolder)
{
    QFileDialog::Options options = QFileDialog::ShowDirsOnly;
    // A read-only dialog offers no button for a new folder.
    if (!allowNewFolder)
        options |= QFileDialog::ReadOnly;
    const QString chosen =
        QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, initialFolder, options);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}
