#pragma once

#include "util/FolderPicker.h"

#include <QList>
#include <QQueue>
#include <QString>

// A folder picker for tests: answers from a script (a folder, or nothing
// for a cancel; a cancel once the script is used up) and records each call.
class ScriptedFolderPicker : public FolderPicker {
public:
    struct Call {
        QString title;
        QString initialFolder;
        bool allowNewFolder;
    };

    std::optional<QString> PickFolder(const QString& title, const QString& initialFolder,
                                      bool allowNewFolder) override;

    void QueueFolder(const QString& folder) { answers_.enqueue(folder); }
    void QueueCancel() { answers_.enqueue(std::nullopt); }
    const QList<Call>& Calls() const { return calls_; }

private:
    QQueue<std::optional<QString>> answers_;
    QList<Call> calls_;
};
