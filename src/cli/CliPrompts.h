#pragma once

#include "util/Prompts.h"

// The message boxes on a terminal: information goes to standard error;
// a question is asked on standard error and answered on standard input
// when that is a terminal (Yes with assumeYes, No when nobody can answer).
class CliPrompts : public Prompts {
public:
    explicit CliPrompts(bool assumeYes = false) : assumeYes_(assumeYes) {}
    void ShowInfo(const QString& caption, const QString& text) override;
    int AskQuestion(const QString& caption, const QString& text, int buttons) override;

private:
    bool assumeYes_;
};
