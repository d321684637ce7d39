#pragma once

#include <QApplication>

#include <functional>

// The application object. Our own errors that end an event handler stop at
// the event boundary: they are shown in an error box and the program goes
// on with the next event.
class TarnwellApplication : public QApplication {
    Q_OBJECT
public:
    using ErrorReporter = std::function<void(const QString& message)>;

    TarnwellApplication(int& argc, char** argv);

    // Tests put a recorder here instead of the modal box.
    void SetErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

    bool notify(QObject* receiver, QEvent* event) override;

    // The error box (critical icon, OK) over the active window.
    static void ShowErrorBox(const QString& message);

private:
    ErrorReporter reporter_;
};
