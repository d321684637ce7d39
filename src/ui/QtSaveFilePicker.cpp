#include "ui/QtSaveFilePicker.h"

#include "projects/FilePicker.h"

#include <QApplication>
#include <QFileDialog>

std::optional<QString> QtSaveFilePicker::PickSaveFile(const QString& title, const QString& proposedName,
                                                      const QString& filter)
{
    // The caller may change the name's extension, so a question about the
    // chosen name would ask about the wrong file.
    const QString chosen =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), title, proposedName,
                                     DialogNameFilter(filter), nullptr, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}
