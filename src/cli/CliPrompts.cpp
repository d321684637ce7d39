#include "CliPrompts.h"

#include "Commands.h"

#include <cstdio>
#include <unistd.h>

namespace {

QString Lines(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

} // namespace

void CliPrompts::ShowInfo(const QString& caption, const QString& text)
{
    PrintError(caption + QStringLiteral(": ") + Lines(text));
}

int CliPrompts::AskQuestion(const QString& caption, const QString& text, int buttons)
{
    if (buttons != MB_YESNO) {
        ShowInfo(caption, text);
        return IDOK;
    }
    if (assumeYes_) {
        PrintError(caption + QStringLiteral(": ") + Lines(text) + QStringLiteral(" yes"));
        return IDYES;
    }
    if (!isatty(STDIN_FILENO)) {
        PrintError(caption + QStringLiteral(": ") + Lines(text) + QStringLiteral(" no (no terminal to ask)"));
        return IDNO;
    }
    std::fputs(
        (caption + QStringLiteral(": ") + Lines(text) + QStringLiteral(" [y/N] ")).toLocal8Bit().constData(),
        stderr);
    std::fflush(stderr);
    char answer[64] = {};
    if (!std::fgets(answer, sizeof answer, stdin))
        return IDNO;
    return answer[0] == 'y' || answer[0] == 'Y' ? IDYES : IDNO;
}
