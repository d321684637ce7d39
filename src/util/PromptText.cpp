#include "PromptText.h"

QString PromptDisplayText(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r')) {
            result.append(c);
            continue;
        }
        result.append(QLatin1Char('\n'));
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
    }
    return result;
}
