#pragma once

#include "util/OperationHost.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

// The operation host of the command line. The log goes to standard output a
// line at a time, each line once it is complete (a line that the operation
// may still extend is held until the next line starts or the run ends).
// When standard error is a terminal, a progress line is kept there: files
// done of total, bytes and rate. The first Ctrl-C asks the operation to
// cancel at its next check point; a second one ends the program at once.
// With logToError the log goes to standard error instead (--json keeps
// standard output for its object).
class ConsoleHost : public OperationHost {
public:
    explicit ConsoleHost(bool logToError = false);
    ~ConsoleHost() override;
    ConsoleHost(const ConsoleHost&) = delete;
    ConsoleHost& operator=(const ConsoleHost&) = delete;

    void Log(const QString& line) override;
    void AppendToLastLine(const QString& text) override;
    void SetFileProgress(qint64 done, qint64 total) override;
    void SetOverallProgress(qint64 done, qint64 total) override;
    bool Cancelled() override;

    // Prints the held line; call when the operation has ended.
    void Finish();

private:
    void FlushLine();
    void DrawProgress(bool force);
    void ClearProgress();

    QString pending_;
    bool hasPending_ = false;
    bool progressShown_ = false;
    bool terminal_ = false;
    std::FILE* log_ = stdout;
    qint64 filesDone_ = 0;
    qint64 filesTotal_ = 0;
    qint64 bytesBefore_ = 0; // bytes of the files finished before this one
    qint64 fileBytes_ = 0;
    QElapsedTimer started_;
    QElapsedTimer lastDraw_;
};
