#include "CliReport.h"

#include "Commands.h"
#include "util/TarnwellError.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace {

QString RunOutcome(const CliReport& report)
{
    if (report.ExitCode == ExitOk)
        return QStringLiteral("done");
    if (report.ExitCode == ExitUsage)
        return QStringLiteral("refused");
    return report.Cancelled ? QStringLiteral("cancelled") : QStringLiteral("failed");
}

QString AccountOutcome(const AccountTally& tally, bool cancelled)
{
    if (tally.Served)
        return tally.ToSend == 0 ? QStringLiteral("nothing to send") : QStringLiteral("served");
    if (cancelled)
        return QStringLiteral("cancelled");
    return tally.Connected ? QStringLiteral("failed") : QStringLiteral("not connected");
}

} // namespace

QJsonObject ReportObject(const CliReport& report, const QList<ImportTally>& imports)
{
    QJsonArray accounts;
    for (const AccountTally& tally : report.Accounts) {
        accounts.append(QJsonObject{
            {QStringLiteral("name"), tally.Account},
            {QStringLiteral("sent"), tally.Sent},
            {QStringLiteral("moved"), tally.Moved},
            {QStringLiteral("failed"), tally.Served ? 0 : tally.ToSend - tally.Moved},
            {QStringLiteral("outcome"), AccountOutcome(tally, report.Cancelled)},
        });
    }
    for (const ImportTally& tally : imports) {
        accounts.append(QJsonObject{
            {QStringLiteral("name"), tally.Account},
            {QStringLiteral("sent"), 0},
            {QStringLiteral("moved"), 0},
            {QStringLiteral("imported"), tally.Imported},
            {QStringLiteral("failed"), tally.Failed},
            {QStringLiteral("outcome"), tally.Outcome},
        });
    }
    return QJsonObject{
        {QStringLiteral("command"), report.Command},     {QStringLiteral("project"), report.Project},
        {QStringLiteral("outcome"), RunOutcome(report)}, {QStringLiteral("exitCode"), report.ExitCode},
        {QStringLiteral("accounts"), accounts},
    };
}

void PrintReport(const CliReport& report, const QList<ImportTally>& imports)
{
    std::fflush(stderr);
    PrintOut(QString::fromUtf8(QJsonDocument(ReportObject(report, imports)).toJson(QJsonDocument::Compact)));
    std::fflush(stdout);
}

int RunReported(CliReport& report, bool json, const std::function<int()>& operation,
                const QList<ImportTally>& imports)
{
    try {
        report.ExitCode = operation();
    } catch (const TarnwellError& error) {
        PrintError(QStringLiteral("tarnwell-cli: ") + error.Message());
        report.ExitCode = ExitFailed;
    }
    if (json)
        PrintReport(report, imports);
    return report.ExitCode;
}
