#include "ui/OperationScope.h"

#include "ui/CancelFormU.h"
#include "ui/WorkerRun.h"

#include <QList>
#include <QWidget>
#include <QWindow>

namespace {

// The scopes alive, innermost last.
QList<OperationScope*>& Running()
{
    static QList<OperationScope*> scopes;
    return scopes;
}

} // namespace

OperationScope::OperationScope(QWidget& mainWindow, TCancelForm& cancelForm, const QString& caption)
    : mainWindow_(&mainWindow), cancelForm_(&cancelForm), caption_(caption)
{
    mainWindow.setEnabled(false);
    // The native windows must exist before one can be the other's transient.
    cancelForm.winId();
    mainWindow.winId();
    if (QWindow* handle = cancelForm.windowHandle())
        handle->setTransientParent(mainWindow.windowHandle());
    cancelForm.ShowOver(mainWindow, caption);
    Running().append(this);
}

OperationScope::~OperationScope()
{
    Running().removeOne(this);
    if (cancelForm_)
        cancelForm_->hide();
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
        mainWindow_->activateWindow();
        // Not at once: the operation (which may still log its summary) and
        // its handler may use what the close frees.
        if (closeAfter_) {
            QWidget* window = mainWindow_;
            AfterWorker(window, [window] { window->close(); });
        }
    }
}

OperationScope* OperationScope::RunningOver(const QWidget& mainWindow)
{
    for (qsizetype i = Running().size() - 1; i >= 0; --i) {
        if (Running().at(i)->mainWindow_ == &mainWindow)
            return Running().at(i);
    }
    return nullptr;
}

bool OperationScope::AnyRunning()
{
    return !Running().isEmpty();
}

QString OperationScope::CloseQuestion() const
{
    QString operation = QStringLiteral("An upload");
    if (caption_ == QLatin1String("Cancel Build"))
        operation = QStringLiteral("A build");
    else if (caption_ == QLatin1String("Cancel Import"))
        operation = QStringLiteral("An import");
    else if (caption_ == QLatin1String("Cancel Web Link Check"))
        operation = QStringLiteral("A web link check");
    return operation + QStringLiteral(" is in progress. Cancel it and close Tarnwell?");
}

void OperationScope::CancelAndClose()
{
    if (cancelForm_)
        cancelForm_->CancelButtonClick();
    closeAfter_ = true;
}
