#pragma once

#include "util/SaveFilePicker.h"

// The save picker as Qt's save-file dialog over the active window.
class QtSaveFilePicker : public SaveFilePicker {
public:
    std::optional<QString> PickSaveFile(const QString& title, const QString& proposedName,
                                        const QString& filter) override;
};
