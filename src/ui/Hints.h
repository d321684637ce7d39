#pragma once

#include <QString>
#include <span>

class QWidget;

// One control's hint and help context (0 = no specific help).
struct THintRow {
    const char* control;
    int context;
    const char* hint; // null: no hint
};

// How long a hint stays up, in milliseconds.
constexpr int HintHidePause = 5000;
// The help topic the help button opens.
constexpr int MainHelpContext = 30;
// The last line of the hint of every control that has its own help topic.
extern const QString HelpLine;

void SetHelpContext(QWidget* control, int context);
int HelpContext(const QWidget* control);
// Sets the control's hint and switches its display on; a control with a help
// context gets the line "Right click for help" under it (once). "\r" in the
// text is a line break.
void SetControlHint(QWidget* control, const QString& text);
// The hint as last set, with "\r" line breaks.
QString ControlHint(const QWidget* control);

std::span<const THintRow> MainScreenHintRows();
// Help contexts are part of the window's design; hints are set at start-up.
void SetMainScreenHelpContexts(QWidget* root);
void SetMainScreenHints(QWidget* root);
