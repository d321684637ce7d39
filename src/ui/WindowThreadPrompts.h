#pragma once

#include "util/Prompts.h"

// The window's message boxes for an operation on a worker thread: each box
// is shown on the window thread while the operation waits for the answer.
class WindowThreadPrompts : public Prompts {
public:
    explicit WindowThreadPrompts(Prompts& prompts) : prompts_(prompts) {}

    void ShowInfo(const QString& caption, const QString& text) override;
    int AskQuestion(const QString& caption, const QString& text, int buttons) override;

private:
    Prompts& prompts_;
};
