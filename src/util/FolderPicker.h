#pragma once

#include <QString>
#include <optional>

// Lets the user choose a folder. The shell shows a dialog; tests answer from
// a script.
class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // The chosen folder, or nothing when the user cancels. allowNewFolder
    // says whether the picker may offer to make a new folder.
    virtual std::optional<QString> PickFolder(const QString& title, const QString& initialFolder,
                                              bool allowNewFolder) = 0;
};
