#include "ui/QtSaveFilePicker.h"

#include "projects/FilePicker.h"

#include <QApplication>
#include <QFileDialog>

std::optional<QString> QtSaveFilePicker::PickSaveFile(const QString& title, const QString& proposedName,
                                                      const QString& filter)
{
    const QString chosen = QFileDialog::getSaveFileName(QApplication::activeWindow(), title, proposedName,
                                                        DialogNameFilter(filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}
