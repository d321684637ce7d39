#pragma once

#include "util/OperationHost.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <mutex>

// An operation host for tests: keeps the log as the window would show it,
// records every call in order, and reports a cancel when told to. Its calls
// may come from several threads (the accounts of an upload read the cancel
// flag each on its own); read what it kept once the operation has ended.
class RecordingHost : public OperationHost {
public:
    enum class Kind { Log, Append, FileProgress, OverallProgress, CancelCheck };
    struct Event {
        Kind kind;
        QString text; // Log, Append
        qint64 done = 0;
        qint64 total = 0;
    };

    void Log(const QString& line) override;
    void AppendToLastLine(const QString& text) override;
    void SetFileProgress(qint64 done, qint64 total) override;
    void SetOverallProgress(qint64 done, qint64 total) override;
    bool Cancelled() override;

    // Cancel once a line containing the text was logged; or at once.
    void CancelWhenLogged(const QString& text);
    void CancelNow();

    // The log as the window shows it: appends extend the last line.
    const QStringList& Lines() const { return lines_; }
    const QList<Event>& Events() const { return events_; }
    // The (done, total) pairs given to one bar, in order.
    QList<QPair<qint64, qint64>> Progress(Kind bar) const;

private:
    mutable std::mutex mutex_;
    QStringList lines_;
    QList<Event> events_;
    QString cancelWhenLogged_;
    bool cancelled_ = false;
};
