#pragma once

#include <QString>
#include <optional>

// Lets the user choose an existing file. The shell shows a dialog; tests
// answer from a script.
class FilePicker {
public:
    virtual ~FilePicker() = default;
    // The chosen file, or nothing when the user cancels. The filter is a
    // description, "|", and patterns separated by ";" ("PFX|*.pfx").
    virtual std::optional<QString> PickFile(const QString& title, const QString& filter) = 0;
};

// The same filter in the form Qt's file dialogs take: "PFX (*.pfx)".
QString DialogNameFilter(const QString& filter);
