#include "app/TarnwellApplication.h"

#include "util/TarnwellError.h"

#include <QMessageBox>

TarnwellApplication::TarnwellApplication(int& argc, char** argv)
    : QApplication(argc, argv), reporter_(&TarnwellApplication::ShowErrorBox)
{
    // No display name: X11 would append it to every window title.
    setApplicationName(QStringLiteral("Tarnwell"));
    // Ties the windows to the installed menu entry (and its icon).
    setDesktopFileName(QStringLiteral("tarnwell"));
}

bool TarnwellApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const TarnwellError& error) {
        reporter_(error.Message());
        return true;
    }
}

void TarnwellApplication::ShowErrorBox(const QString& message)
{
    QMessageBox::critical(activeWindow(), QStringLiteral("Tarnwell"), message);
}
