#pragma once

#include "util/FolderPicker.h"

// The folder picker as Qt's folder dialog over the active window.
class QtFolderPicker : public FolderPicker {
public:
    std::optional<QString> PickFolder(const QString& title, const QString& initialFolder,
                                      bool allowNewFolder) override;
};
