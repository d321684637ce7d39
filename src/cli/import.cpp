// tarnwell-cli import: downloads an account's whole site into two local
// folders, records it as uploaded and makes those folders the project's, as
// the Import page does.
#include "CliCertificateDecision.h"
#include "CliPrompts.h"
#include "CliReport.h"
#include "Commands.h"
#include "ConsoleHost.h"
#include "ProjectSettings.h"
#include "projects/OperationContext.h"

#include "projects/WorkingState.h"
#include "publish/SiteImport.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "site/ScanWindow.h"
#include "site/SiteLists.h"
#include "site/SiteScan.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

// Empty when the arguments are sound, else what is wrong with them.
QString Parse(const QCommandLineParser& parser, SiteImportRequest& request)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return QStringLiteral("one project only");
    if (positional.isEmpty() || positional.first().isEmpty())
        return QStringLiteral("give a project");
    request.Project = positional.first();
    // Nobody is asked on the command line: without --overwrite an import
    // that would replace differing local files is refused.
    request.Replace =
        parser.isSet(QStringLiteral("overwrite")) ? ReplaceDiffering::Yes : ReplaceDiffering::No;
    const QString names[] = {QStringLiteral("account"), QStringLiteral("local-root"),
                             QStringLiteral("local-home")};
    for (const QString& name : names) {
        if (!parser.isSet(name))
            return QStringLiteral("--account, --local-root and --local-home are all needed");
        if (parser.value(name).isEmpty())
            return QStringLiteral("--") + name + QStringLiteral(" needs a value");
    }
    request.Account = parser.value(names[0]);
    request.LocalRoot = parser.value(names[1]);
    request.LocalHome = parser.value(names[2]);
    return QString();
}

// The folder in full with the platform's separators and none at the end,
// as the window's folder picker gives it.
QString FolderArgument(const QString& folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::current().absoluteFilePath(folder)));
}

QString ImportOutcome(const SiteImportOutcome& outcome)
{
    switch (outcome.Ended) {
    case SiteImportOutcome::End::Done:
        return outcome.Failed.isEmpty() ? QStringLiteral("served") : QStringLiteral("failed");
    case SiteImportOutcome::End::NotConnected:
        return QStringLiteral("not connected");
    case SiteImportOutcome::End::Cancelled:
        return QStringLiteral("cancelled");
    case SiteImportOutcome::End::NoAccount:
    case SiteImportOutcome::End::Refused:
    case SiteImportOutcome::End::Declined:
        return QStringLiteral("refused");
    case SiteImportOutcome::End::Failed:
        break;
    }
    return QStringLiteral("failed");
}

int Import(SiteImportRequest& request, const QString& trust, bool json, CliReport& report,
           QList<ImportTally>& tallies)
{
    request.LocalRoot = FolderArgument(request.LocalRoot);
    request.LocalHome = FolderArgument(request.LocalHome);

    CliPrompts prompts;
    CliSettings settings;
    const int opened = OpenProjectSettings(request.Project, prompts, true, settings);
    if (opened != ExitOk)
        return opened;
    TAppData& store = *settings.store;
    CliCertificateDecision certs(prompts, settings.store.get(), trust);
    if (!store.ReadList(Schema::SecAccounts, Schema::KeyAccountNames).contains(request.Account)) {
        PrintError(QStringLiteral("tarnwell-cli: unknown account \"") + request.Account + QLatin1Char('"'));
        return ExitUsage;
    }

    WorkingState state;
    TSiteLists lists;
    SiteImportOutcome outcome;
    {
        ConsoleHost host(json);
        outcome = ImportSite(request, lists, {&store, state, host, prompts, &certs});
        host.Finish();
    }
    report.Cancelled = outcome.Ended == SiteImportOutcome::End::Cancelled;
    tallies.append({request.Account, ImportOutcome(outcome), outcome.Imported, int(outcome.Failed.size())});
    if (outcome.Ended == SiteImportOutcome::End::Refused) {
        store.Save(); // a certificate trusted with --trust-fingerprint
        return ExitFailed;
    }
    if (outcome.Ended == SiteImportOutcome::End::Declined) {
        store.Save(); // as above; the project's folders stay as they were
        PrintError(QStringLiteral("tarnwell-cli: ") +
                   DifferingFilesText(outcome.Differing, request.LocalRoot) +
                   QStringLiteral(" Nothing was imported; --overwrite replaces them."));
        return ExitUsage;
    }
    if (outcome.Ended != SiteImportOutcome::End::NotConnected) {
        // The window ties the import folders to the project's; so does this.
        store.WriteString(request.Project, Schema::KeyLocalRoot, request.LocalRoot);
        store.WriteString(request.Project, Schema::KeyLocalHome, request.LocalHome);
    }
    if (outcome.ReScan()) {
        SilentScanWindow window;
        const TSiteScanContext context{
            lists, window, prompts, &store, request.Project, request.LocalRoot, request.LocalHome};
        doReScan(context, true, state.SelectionChanged);
    }
    store.Save();
    return outcome.Ok() ? ExitOk : ExitFailed;
}

} // namespace

int RunImport(const QCommandLineParser& parser)
{
    const CliCommand& command = CommandNamed(QStringLiteral("import"));
    SiteImportRequest request;
    QString trust;
    QString problem = Parse(parser, request);
    if (problem.isEmpty())
        problem = TakeTrustFingerprint(parser.values(QStringLiteral("trust-fingerprint")), trust);
    if (!problem.isEmpty())
        return UsageError(command, problem);
    const bool json = parser.isSet(QStringLiteral("json"));
    CliReport report(command.Name, request.Project);
    QList<ImportTally> tallies;
    return RunReported(
        report, json, [&] { return Import(request, trust, json, report, tallies); }, tallies);
}
