#pragma once

#include <QString>
#include <QStringList>

class Prompts;

// The file (and line, for a broken link) the user asked to edit.
struct TEditTarget {
    bool Chosen = false; // false: nothing selected, nothing happens
    QString File;
    QString LineNumber; // empty when no line is known
};

// From lbxLocalFiles or clbxFiles (`bbtnedit`, the double-clicks): the
// selected item; selected < 0 means no selection.
TEditTarget EditTargetFromFiles(const QStringList& items, int selected);
// From lbxBrokenLinks (`bbtnEditBroken`, its double-click): a detail item
// (odd index) gives its line number and the file item above it; a file
// item gives itself and the line number of the detail below it.
TEditTarget EditTargetFromBrokenLinks(const QStringList& items, int selected);

// The editor's start: the program and its arguments, one by one, and the
// same as the one parameter text a Windows shell start takes.
struct TEditorCommand {
    QString Program;
    QStringList Arguments;
    QString Parameters;
};

// The command for the editor at editorPath. Editors whose line option is
// known get it, chosen by the editor's file name in lower case:
// notepad++.exe "-n<line>", mew32.exe "-l<line>" (the option stays when the
// line is unknown), gedit/geany/vim/gvim "+<line>", kate "-l <line>",
// code "-g file:<line>" (these only with a line).
TEditorCommand EditorCommandLine(const QString& editorPath, const QString& file, const QString& lineNumber);

// Whether the file's extension (from its last dot, letter case as written)
// is one of the bar-separated list, such as "|.htm|.html|".
bool IsTextFile(const QString& file, const QString& textFileExtensions);

// What an Edit click comes to: a message to show, or a command to start,
// or nothing (no selection).
struct TEditPlan {
    QString Message;
    bool Start = false;
    TEditorCommand Command;
};
TEditPlan PlanEdit(const QString& editorPath, const TEditTarget& target, const QString& textFileExtensions);

// Starts the editor without waiting for it; false when it cannot start.
bool StartEditor(const TEditorCommand& command);

// btnEditClick: shows the plan's message in an information box or starts
// the editor. Returns whether the editor was started.
bool btnEditClick(const QString& editorPath, const TEditTarget& target, const QString& textFileExtensions,
                  Prompts& prompts);
