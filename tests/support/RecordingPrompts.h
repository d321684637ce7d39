#pragma once

#include "util/Prompts.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// Prompts for tests: answers questions from a script and remembers every box
// that was shown, in order.
class RecordingPrompts : public Prompts {
public:
    enum class Kind { Info, Question };
    struct Shown {
        Kind kind;
        QString caption;
        QString text;
        int buttons; // MB_OK for an information box
    };

    void ShowInfo(const QString& caption, const QString& text) override;
    int AskQuestion(const QString& caption, const QString& text, int buttons) override;

    // The next questions are answered with these codes, in order; after
    // them every question gets the default answer (IDNO unless set).
    void QueueAnswers(const QList<int>& answers);
    void SetDefaultAnswer(int answer) { defaultAnswer_ = answer; }
    int PendingAnswers() const { return int(answers_.size()); }

    const QList<Shown>& AllShown() const { return shown_; }
    // The texts of every box, or of one kind only.
    QStringList Texts() const;
    QStringList Texts(Kind kind) const;
    int Count(Kind kind) const;
    void Clear() { shown_.clear(); }

private:
    QList<Shown> shown_;
    QQueue<int> answers_;
    int defaultAnswer_ = IDNO;
};
