#pragma once

#include "util/OperationHost.h"

class QPlainTextEdit;
class QProgressBar;
class TCancelForm;

// The operation host of the window: the log is one of the log views, the
// bars are the page's two progress bars (either may be null), and the
// cancel flag is the cancel window's. Called from the operation's worker
// thread, it posts each change to the window thread, in order; called on
// the window thread, it changes the widgets at once.
class WidgetOperationHost : public OperationHost {
public:
    WidgetOperationHost(QPlainTextEdit* log, QProgressBar* fileBar, QProgressBar* overallBar,
                        const TCancelForm& cancelForm);

    void Log(const QString& line) override;
    void AppendToLastLine(const QString& text) override;
    void SetFileProgress(qint64 done, qint64 total) override;
    void SetOverallProgress(qint64 done, qint64 total) override;
    bool Cancelled() override;

private:
    QPlainTextEdit* log_;
    QProgressBar* fileBar_;
    QProgressBar* overallBar_;
    const TCancelForm& cancelForm_;
};

// Moves a bar to done of total; totals beyond an int are scaled down.
void ShowProgress(QProgressBar* bar, qint64 done, qint64 total);
