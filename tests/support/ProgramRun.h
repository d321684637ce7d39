#pragma once

#include <QString>
#include <QStringList>

// What a program run by a test left: its exit code and its two outputs.
struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program to its end with standard input closed (no terminal
// answers a question); a program that does not end within two minutes
// ends the test run.
Run RunProgram(const QString& program, const QStringList& arguments);
