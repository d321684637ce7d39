#pragma once

#include "ui/SlotGuard.h"

#include <QApplication>

// The application object. Our own errors that end an event handler stop at
// the handler's guard (ui/SlotGuard.h): they are shown in an error box and
// the program goes on with the next event.
class TarnwellApplication : public QApplication {
    Q_OBJECT
public:
    TarnwellApplication(int& argc, char** argv);

    // Tests put a recorder here instead of the modal box.
    void SetErrorReporter(ErrorReporter reporter) { ::SetErrorReporter(std::move(reporter)); }

    // The error box (critical icon, OK) over the active window.
    static void ShowErrorBox(const QString& message) { ::ShowErrorBox(message); }
};
