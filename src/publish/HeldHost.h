#pragma once

#include "util/OperationHost.h"

#include <QString>

#include <mutex>
#include <vector>

// The host of one account while several accounts are served at once, each
// on a thread of its own. Its log lines and bars are held until Release
// (every account before it is finished), then written in the order they
// came, and passed straight on from then; so the log reads as if the
// accounts had been served one after another. The cancel flag is always
// the operation's own, read at once.
class HeldHost : public OperationHost {
public:
    explicit HeldHost(OperationHost& host) : host_(host) {}

    void Log(const QString& line) override;
    void AppendToLastLine(const QString& text) override;
    void SetFileProgress(qint64 done, qint64 total) override;
    void SetOverallProgress(qint64 done, qint64 total) override;
    bool Cancelled() override { return host_.Cancelled(); }

    // Writes what was held; whatever comes after is written at once.
    void Release();

private:
    enum class Kind { Log, Append, FileProgress, OverallProgress };
    struct Call {
        Kind kind;
        QString text;
        qint64 done = 0;
        qint64 total = 0;
    };
    void Take(Call call);
    void Write(const Call& call);

    OperationHost& host_;
    std::mutex mutex_; // one writer at a time, held calls in order
    bool released_ = false;
    std::vector<Call> held_;
};
