#include "HeldHost.h"

void HeldHost::Log(const QString& line)
{
    Take({Kind::Log, line});
}

void HeldHost::AppendToLastLine(const QString& text)
{
    Take({Kind::Append, text});
}

void HeldHost::SetFileProgress(qint64 done, qint64 total)
{
    Take({Kind::FileProgress, {}, done, total});
}

void HeldHost::SetOverallProgress(qint64 done, qint64 total)
{
    Take({Kind::OverallProgress, {}, done, total});
}

void HeldHost::Release()
{
    // Under the lock: a call of the account's thread waits until what it
    // follows is written.
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const Call& call : held_)
        Write(call);
    held_.clear();
    released_ = true;
}

void HeldHost::Take(Call call)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (released_)
        Write(call);
    else
        held_.push_back(std::move(call));
}

void HeldHost::Write(const Call& call)
{
    switch (call.kind) {
    case Kind::Log:
        host_.Log(call.text);
        break;
    case Kind::Append:
        host_.AppendToLastLine(call.text);
        break;
    case Kind::FileProgress:
        host_.SetFileProgress(call.done, call.total);
        break;
    case Kind::OverallProgress:
        host_.SetOverallProgress(call.done, call.total);
        break;
    }
}
