#pragma once

#include "publish/SiteUpload.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>

// The --json summary of upload, upload-installer, import and build: one
// object on standard output once the run has ended, for CI jobs.
//   {"command": "upload", "project": "Shop", "outcome": "done", "exitCode": 0,
//    "accounts": [{"name": "Live", "sent": 3, "moved": 3, "failed": 0,
//                  "outcome": "served"}]}
// The run's outcome is "done", "failed", "cancelled" or "refused" (exit 2:
// nothing was done). An account's is "served", "nothing to send", "not
// connected", "cancelled", "failed" or "refused"; "failed" counts the
// files it should have received that are not live.
struct CliReport {
    CliReport(const QString& command, const QString& project) : Command(command), Project(project) {}
    QString Command;
    QString Project;
    int ExitCode = 0;
    bool Cancelled = false;
    QList<AccountTally> Accounts;
};

// The import's account as a tally line: "imported" and "failed" count files.
struct ImportTally {
    QString Account;
    QString Outcome;
    int Imported = 0;
    int Failed = 0;
};

QJsonObject ReportObject(const CliReport& report, const QList<ImportTally>& imports = {});
// Prints the object on one line of standard output.
void PrintReport(const CliReport& report, const QList<ImportTally>& imports = {});

// Runs the command's operation for its exit code, which goes into the
// report; with json, prints the report after it, also when the operation
// ended on an error (said on standard error, exit 1).
int RunReported(CliReport& report, bool json, const std::function<int()>& operation,
                const QList<ImportTally>& imports = {});
