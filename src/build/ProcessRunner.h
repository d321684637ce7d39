#pragma once

#include <QString>

// Starts program with commandLine as its arguments, waits until it ends and
// returns its exit code; -1 when it cannot be started (missing, not a
// program, not allowed). program names a file, relative to the current
// folder or absolute; it is never looked up on PATH.
// The wait has no time limit once the program runs and lets no window
// events run meanwhile; only the start itself is given a time limit, so a
// start that never completes cannot hold the caller.
// On Windows the command line reaches the program unchanged; elsewhere it
// is split into arguments at blanks, double quotes grouping.
// The program inherits this process's environment and current folder, gets
// no input, and writes to this process's own output streams.
int Win32RunWait(const QString& program, const QString& commandLine = QString());
