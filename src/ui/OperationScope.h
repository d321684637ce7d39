#pragma once

#include <QPointer>
#include <QString>

class QWidget;
class TCancelForm;

// For the life of a long operation: the main window is disabled and the
// cancel window, captioned for the operation, stands centred over it as
// its transient (above it, no task-bar entry of its own). Both are undone
// on every way out of the scope, a thrown error included.
class OperationScope {
public:
    OperationScope(QWidget& mainWindow, TCancelForm& cancelForm, const QString& caption);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

private:
    QPointer<QWidget> mainWindow_;
    QPointer<TCancelForm> cancelForm_;
};
