#pragma once

#include "site/SiteScan.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// Exit codes of every command.
constexpr int ExitOk = 0;     // done, nothing failed
constexpr int ExitFailed = 1; // the operation ran and failed (scan: broken links found)
// Nothing was done: wrong usage, an unknown project, a site folder that is
// not there, or refused (a No to a question, broken links not ignored, the
// window program running).
constexpr int ExitUsage = 2;

// One command of tarnwell-cli: its name, its usage line (after the program
// name), what it does (its --help's first line), its options and
// positional arguments as its parser takes them, and what runs it once
// they are parsed. An option is one line in Commands.cpp and one read in
// the command's file.
struct CliCommand {
    QString Name;
    QString Usage;
    QString Summary;
    QList<QCommandLineOption> Options;
    // Name and description of each positional argument, for --help.
    QList<QPair<QString, QString>> Positionals;
    int (*Run)(const QCommandLineParser& parsed) = nullptr;
};

// Every command, in the order the help lists them.
const QList<CliCommand>& Commands();
// The command of that name; one without Run when there is none.
const CliCommand& CommandNamed(const QString& name);

// Parses the arguments after the command's name with the command's own
// parser and runs it: --help prints the command's help; an unknown option
// or a missing value is a usage error. Errors the operation throws end it
// with ExitFailed.
int RunCommand(const CliCommand& command, const QStringList& arguments);
// The whole command line after the program's name.
int RunCli(const QStringList& arguments);

// Writes a line to standard error / standard output.
void PrintError(const QString& text);
void PrintOut(const QString& text);
// Reports a usage error of the command on one line, with where its help
// is, and returns ExitUsage.
int UsageError(const CliCommand& command, const QString& problem);
// The positional arguments when there is exactly one (the project), else
// empty after reporting the usage error.
QString OneProject(const CliCommand& command, const QCommandLineParser& parsed);
// Says which site folder the scan could not work from and returns ExitUsage.
int SiteFolderError(TSiteFolder folder, const QString& project, const QString& localRoot,
                    const QString& localHome);

// The commands, each in its own file.
int RunScan(const QCommandLineParser& parsed);
int RunBuildCommand(const QCommandLineParser& parsed);
int RunUpload(const QCommandLineParser& parsed);
int RunUploadInstaller(const QCommandLineParser& parsed);
int RunImport(const QCommandLineParser& parsed);
int RunProjects(const QCommandLineParser& parsed);
