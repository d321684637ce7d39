#pragma once

#include "util/Prompts.h"

// The message boxes as Qt dialogs, modal over the active window.
class QtPrompts : public Prompts {
public:
    void ShowInfo(const QString& caption, const QString& text) override;
    // MB_OK gives an OK button (IDOK); any other set Yes and No (IDYES, IDNO).
    int AskQuestion(const QString& caption, const QString& text, int buttons) override;
};
