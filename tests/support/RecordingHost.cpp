#include "RecordingHost.h"

void RecordingHost::Log(const QString& line)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    lines_.append(line);
    events_.append({Kind::Log, line});
    if (!cancelWhenLogged_.isEmpty() && line.contains(cancelWhenLogged_))
        cancelled_ = true;
}

void RecordingHost::AppendToLastLine(const QString& text)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (lines_.isEmpty())
        lines_.append(text);
    else
        lines_.last() += text;
    events_.append({Kind::Append, text});
}

void RecordingHost::SetFileProgress(qint64 done, qint64 total)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    events_.append({Kind::FileProgress, {}, done, total});
}

void RecordingHost::SetOverallProgress(qint64 done, qint64 total)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    events_.append({Kind::OverallProgress, {}, done, total});
}

bool RecordingHost::Cancelled()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    events_.append({Kind::CancelCheck, {}});
    return cancelled_;
}

QList<QPair<qint64, qint64>> RecordingHost::Progress(Kind bar) const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    QList<QPair<qint64, qint64>> values;
    for (const Event& event : events_)
        if (event.kind == bar)
            values.append({event.done, event.total});
    return values;
}

void RecordingHost::CancelWhenLogged(const QString& text)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    cancelWhenLogged_ = text;
}

void RecordingHost::CancelNow()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
}
