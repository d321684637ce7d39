#include "app/TarnwellApplication.h"

TarnwellApplication::TarnwellApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // No display name: X11 would append it to every window title.
    setApplicationName(QStringLiteral("Tarnwell"));
    // Ties the windows to the installed menu entry (and its icon).
    setDesktopFileName(QStringLiteral("tarnwell"));
}
