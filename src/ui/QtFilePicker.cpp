#include "QtFilePicker.h"

#include <QApplication>
#include <QFileDialog>

std::optional<QString> QtFilePicker::PickFile(const QString& title, const QString& filter)
{
    const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(),
                                                        DialogNameFilter(filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}
