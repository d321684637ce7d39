#include "TransferProgress.h"

#include "util/OperationHost.h"

namespace {

// The file bar moves at most this often while a transfer runs.
constexpr qint64 ProgressIntervalMs = 50;

} // namespace

void TransferProgress::Begin(OperationHost& host, qint64 total)
{
    lastDone_ = 0;
    if (switch_ == 0)
        host.SetFileProgress(0, total);
}

void TransferProgress::Report(OperationHost& host, qint64 done, qint64 total, bool transfer,
                              qint64 fallbackTotal)
{
    if (sinceReport_.elapsed() < ProgressIntervalMs)
        return;
    sinceReport_.restart();
    if (transfer && switch_ == 0 && done != lastDone_) {
        host.SetFileProgress(done, total > 0 ? total : fallbackTotal);
        lastDone_ = done;
    }
}

void TransferProgress::Finish(OperationHost& host, qint64 size)
{
    if (switch_ == 0 && lastDone_ != size)
        host.SetFileProgress(size, size);
}
