#include "ui/OperationScope.h"

#include "ui/CancelFormU.h"

#include <QWidget>
#include <QWindow>

OperationScope::OperationScope(QWidget& mainWindow, TCancelForm& cancelForm, const QString& caption)
    : mainWindow_(&mainWindow), cancelForm_(&cancelForm)
{
    mainWindow.setEnabled(false);
    // The native windows must exist before one can be the other's transient.
    cancelForm.winId();
    mainWindow.winId();
    if (QWindow* handle = cancelForm.windowHandle())
        handle->setTransientParent(mainWindow.windowHandle());
    cancelForm.ShowOver(mainWindow, caption);
}

OperationScope::~OperationScope()
{
    if (cancelForm_)
        cancelForm_->hide();
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
        mainWindow_->activateWindow();
    }
}
