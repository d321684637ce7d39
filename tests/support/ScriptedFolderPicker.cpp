#include "ScriptedFolderPicker.h"

std::optional<QString> ScriptedFolderPicker::PickFolder(const QString& title, const QString& initialFolder,
                                                        bool allowNewFolder)
{
    calls_.append({title, initialFolder, allowNewFolder});
    return answers_.isEmpty() ? std::nullopt : answers_.dequeue();
}
