#include "ui/WidgetOperationHost.h"

#include "ui/CancelFormU.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextCursor>

#include <limits>

WidgetOperationHost::WidgetOperationHost(QPlainTextEdit* log, QProgressBar* fileBar, QProgressBar* overallBar,
                                         const TCancelForm& cancelForm)
    : log_(log), fileBar_(fileBar), overallBar_(overallBar), cancelForm_(cancelForm)
{
}

void WidgetOperationHost::Log(const QString& line)
{
    log_->appendPlainText(line);
}

void WidgetOperationHost::AppendToLastLine(const QString& text)
{
    if (log_->document()->isEmpty()) {
        log_->appendPlainText(text);
        return;
    }
    QTextCursor cursor(log_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
}

void WidgetOperationHost::SetFileProgress(qint64 done, qint64 total)
{
    ShowProgress(fileBar_, done, total);
}

void WidgetOperationHost::SetOverallProgress(qint64 done, qint64 total)
{
    ShowProgress(overallBar_, done, total);
}

void WidgetOperationHost::Refresh()
{
    QCoreApplication::processEvents();
}

bool WidgetOperationHost::Cancelled()
{
    return cancelForm_.Cancelled();
}

void ShowProgress(QProgressBar* bar, qint64 done, qint64 total)
{
    if (!bar)
        return;
    // A bar counts in int; keep large byte counts in range by scaling both.
    qint64 scale = 1;
    while (total / scale > std::numeric_limits<int>::max())
        scale *= 1024;
    bar->setRange(0, int(qMax<qint64>(total / scale, 0)));
    bar->setValue(int(qBound<qint64>(0, done / scale, total / scale)));
}
