#pragma once

#include <QString>
#include <optional>

// Lets the user choose where to save a file. The shell shows a dialog; tests
// answer from a script.
class SaveFilePicker {
public:
    virtual ~SaveFilePicker() = default;
    // The chosen path, or nothing when the user cancels. The filter has the
    // form of FilePicker's ("Text files|*.txt").
    virtual std::optional<QString> PickSaveFile(const QString& title, const QString& proposedName,
                                                const QString& filter) = 0;
};
