#pragma once

#include <QString>

// Button sets and button codes as the message boxes use them.
constexpr int MB_OK = 0;
constexpr int MB_YESNO = 4;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The caption of every message box but the one set-up failure.
inline const QString ProductCaption = QStringLiteral("Tarnwell");

// What a question is about, for a caller that answers some of them itself
// (the command line's --ignore-broken-links): never decided by its text.
enum class Question { Other, BrokenLinks };

// The two message boxes through which the core talks to the user. The shell
// implements them with real boxes; the tests with a recorder.
class Prompts {
public:
    virtual ~Prompts() = default;
    // Information icon and OK. "\r" in the text is a line break.
    virtual void ShowInfo(const QString& caption, const QString& text) = 0;
    // Question icon and the given button set; returns the button code
    // (IDYES for Yes). Only IDYES counts as consent.
    virtual int AskQuestion(const QString& caption, const QString& text, int buttons) = 0;
    // A question of a known kind; the box is the same.
    virtual int AskAbout(Question kind, const QString& caption, const QString& text, int buttons)
    {
        static_cast<void>(kind);
        return AskQuestion(caption, text, buttons);
    }
};
