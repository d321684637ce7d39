#include "ui/WindowThreadPrompts.h"

#include "ui/WorkerRun.h"

void WindowThreadPrompts::ShowInfo(const QString& caption, const QString& text)
{
    OnWindowThread([&] { prompts_.ShowInfo(caption, text); });
}

int WindowThreadPrompts::AskQuestion(const QString& caption, const QString& text, int buttons)
{
    int answer = IDNO;
    OnWindowThread([&] { answer = prompts_.AskQuestion(caption, text, buttons); });
    return answer;
}
