#pragma once

#include "projects/FilePicker.h"

// The file picker as Qt's open-file dialog over the active window; the
// starting folder is left to the dialog.
class QtFilePicker : public FilePicker {
public:
    std::optional<QString> PickFile(const QString& title, const QString& filter) override;
};
