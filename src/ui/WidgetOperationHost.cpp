#include "ui/WidgetOperationHost.h"

#include "ui/CancelFormU.h"

#include <QMetaObject>
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

namespace {

// Runs show on the widget's thread: at once when called there, else posted
// behind what was posted before. Nothing runs once the widget is gone.
template <typename Show> void ShowOn(QWidget* widget, Show show)
{
    if (widget)
        QMetaObject::invokeMethod(widget, std::move(show), Qt::AutoConnection);
}

void AppendText(QPlainTextEdit* log, const QString& text)
{
    if (log->document()->isEmpty()) {
        log->appendPlainText(text);
        return;
    }
    QTextCursor cursor(log->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
}

} // namespace

void WidgetOperationHost::Log(const QString& line)
{
    ShowOn(log_, [log = log_, line] { log->appendPlainText(line); });
}

void WidgetOperationHost::AppendToLastLine(const QString& text)
{
    ShowOn(log_, [log = log_, text] { AppendText(log, text); });
}

void WidgetOperationHost::SetFileProgress(qint64 done, qint64 total)
{
    ShowOn(fileBar_, [bar = fileBar_, done, total] { ShowProgress(bar, done, total); });
}

void WidgetOperationHost::SetOverallProgress(qint64 done, qint64 total)
{
    ShowOn(overallBar_, [bar = overallBar_, done, total] { ShowProgress(bar, done, total); });
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
