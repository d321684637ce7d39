#pragma once

#include <QString>
#include <QtGlobal>

// What a long operation (build, upload, import) needs from whoever runs it:
// a log that grows line by line, two progress bars and the cancel flag. The
// window implements it over its log view, bars and cancel window (the calls
// come from the operation's worker thread); tests record it; the command
// line prints it.
class OperationHost {
public:
    virtual ~OperationHost() = default;
    // Adds a line at the end of the log.
    virtual void Log(const QString& line) = 0;
    // Extends the last line of the log (a new line when the log is empty).
    virtual void AppendToLastLine(const QString& text) = 0;
    // The bar of the file in transfer, and the bar of the whole run.
    virtual void SetFileProgress(qint64 done, qint64 total) = 0;
    virtual void SetOverallProgress(qint64 done, qint64 total) = 0;
    // True once the user asked to cancel; read at the operation's check points.
    virtual bool Cancelled() = 0;
};
