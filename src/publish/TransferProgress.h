#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

class OperationHost;

// The file bar of a client's transfers, one at a time: it starts at 0, moves
// at most every 50 ms and only when the count changed, and shows the file
// whole at the end unless it already does. The progress switch turns all of
// it off.
class TransferProgress {
public:
    // 0: transfers drive the host's file bar; -1: they leave it alone.
    int Switch() const { return switch_; }
    void SetSwitch(int value) { switch_ = value; }

    // A transfer of `total` bytes (0 when not known yet) starts.
    void Begin(OperationHost& host, qint64 total);
    // A request starts: the next report may move the bar at once.
    void StartRequest() { sinceReport_.start(); }
    // The library's report while a request runs. Only a transfer's moves the
    // bar, out of `fallbackTotal` until the library knows the total.
    void Report(OperationHost& host, qint64 done, qint64 total, bool transfer, qint64 fallbackTotal);
    // The transfer ended well with `size` bytes.
    void Finish(OperationHost& host, qint64 size);

private:
    int switch_ = 0;
    QElapsedTimer sinceReport_;
    qint64 lastDone_ = -1;
};
