#pragma once

#include "site/SiteScan.h"

#include <QList>
#include <QString>
#include <QStringList>

// Exit codes of every command.
constexpr int ExitOk = 0;     // done, nothing failed
constexpr int ExitFailed = 1; // the operation ran and failed (scan: broken links found)
// Nothing was done: wrong usage, an unknown project, a site folder that is
// not there, or refused (a No to a question, broken links not ignored, the
// window program running).
constexpr int ExitUsage = 2;

// One command of tarnwell-cli: its name, its usage line (after the program
// name) and what runs it with the arguments that follow the name.
struct CliCommand {
    QString Name;
    QString Usage;
    int (*Run)(const QStringList& arguments);
};

// Every command, in the order the help lists them.
const QList<CliCommand>& Commands();

// Writes a line to standard error / standard output.
void PrintError(const QString& text);
void PrintOut(const QString& text);
// Reports a usage error of the command and returns ExitUsage.
int UsageError(const CliCommand& command, const QString& problem);
const CliCommand& CommandNamed(const QString& name);
// Says which site folder the scan could not work from and returns ExitUsage.
int SiteFolderError(TSiteFolder folder, const QString& project, const QString& localRoot,
                    const QString& localHome);

// The commands, each in its own file.
int RunScan(const QStringList& arguments);
int RunBuildCommand(const QStringList& arguments);
int RunUpload(const QStringList& arguments);
int RunUploadInstaller(const QStringList& arguments);
int RunImport(const QStringList& arguments);
