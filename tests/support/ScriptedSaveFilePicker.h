#pragma once

#include "util/SaveFilePicker.h"

#include <QList>
#include <QQueue>
#include <QString>

// A save picker for tests: answers from a script (a path, or nothing for a
// cancel; a cancel once the script is used up) and records each call.
class ScriptedSaveFilePicker : public SaveFilePicker {
public:
    struct Call {
        QString title;
        QString proposedName;
        QString filter;
    };

    std::optional<QString> PickSaveFile(const QString& title, const QString& proposedName,
                                        const QString& filter) override
    {
        calls_.append({title, proposedName, filter});
        return answers_.isEmpty() ? std::nullopt : answers_.dequeue();
    }

    void QueuePath(const QString& path) { answers_.enqueue(path); }
    void QueueCancel() { answers_.enqueue(std::nullopt); }
    const QList<Call>& Calls() const { return calls_; }

private:
    QQueue<std::optional<QString>> answers_;
    QList<Call> calls_;
};
