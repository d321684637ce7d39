#include "RecordingPrompts.h"

void RecordingPrompts::ShowInfo(const QString& caption, const QString& text)
{
    shown_.append({Kind::Info, caption, text, MB_OK});
}

int RecordingPrompts::AskQuestion(const QString& caption, const QString& text, int buttons)
{
    shown_.append({Kind::Question, caption, text, buttons});
    return answers_.isEmpty() ? defaultAnswer_ : answers_.dequeue();
}

void RecordingPrompts::QueueAnswers(const QList<int>& answers)
{
    for (int answer : answers)
        answers_.enqueue(answer);
}

QStringList RecordingPrompts::Texts() const
{
    QStringList texts;
    for (const Shown& box : shown_)
        texts.append(box.text);
    return texts;
}

QStringList RecordingPrompts::Texts(Kind kind) const
{
    QStringList texts;
    for (const Shown& box : shown_) {
        if (box.kind == kind)
            texts.append(box.text);
    }
    return texts;
}

int RecordingPrompts::Count(Kind kind) const
{
    return int(Texts(kind).size());
}
