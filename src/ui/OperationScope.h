#pragma once

#include <QPointer>
#include <QString>

class QWidget;
class TCancelForm;

// For the life of a long operation: the main window is disabled and the
// cancel window, captioned for the operation, stands centred over it as
// its transient (above it, no task-bar entry of its own). Both are undone
// on every way out of the scope, a thrown error included.
//
// The operation runs on a worker thread while the window thread goes on with
// its events, so a close of the main window can arrive in the middle of it. The
// window then asks (CloseQuestion) and, when the user agrees, cancels the
// operation and closes once the scope has ended (CancelAndClose).
class OperationScope {
public:
    OperationScope(QWidget& mainWindow, TCancelForm& cancelForm, const QString& caption);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    // The operation that runs over mainWindow, or null.
    static OperationScope* RunningOver(const QWidget& mainWindow);
    // Some operation runs over some window.
    static bool AnyRunning();

    // "An upload is in progress. Cancel it and close Tarnwell?", or the same
    // for a build or an import.
    QString CloseQuestion() const;
    // Sets the cancel flag, which the operation reads at its next check
    // point, and closes the main window once the scope has ended.
    void CancelAndClose();

private:
    QPointer<QWidget> mainWindow_;
    QPointer<TCancelForm> cancelForm_;
    QString caption_;
    bool closeAfter_ = false;
};
