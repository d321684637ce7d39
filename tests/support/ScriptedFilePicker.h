#pragma once

#include "projects/FilePicker.h"

#include <QList>
#include <QQueue>
#include <QString>

// A file picker for tests: answers from a script (a file, or nothing for a
// cancel; a cancel once the script is used up) and records each call.
class ScriptedFilePicker : public FilePicker {
public:
    struct Call {
        QString title;
        QString filter;
    };

    std::optional<QString> PickFile(const QString& title, const QString& filter) override
    {
        calls_.append({title, filter});
        return answers_.isEmpty() ? std::nullopt : answers_.dequeue();
    }

    void QueueFile(const QString& file) { answers_.enqueue(file); }
    void QueueCancel() { answers_.enqueue(std::nullopt); }
    const QList<Call>& Calls() const { return calls_; }

private:
    QQueue<std::optional<QString>> answers_;
    QList<Call> calls_;
};
