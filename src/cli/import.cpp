// tarnwell-cli import: downloads an account's whole site into two local
// folders, records it as uploaded and makes those folders the project's, as
// the Import page does.
#include "CliCertificateDecision.h"
#include "CliPrompts.h"
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

#include <QDir>

namespace {

// Empty when the arguments are sound, else what is wrong with them.
QString Parse(const QStringList& arguments, SiteImportRequest& request)
{
    // Nobody is asked on the command line: without --overwrite an import
    // that would replace differing local files is refused.
    request.Replace = ReplaceDiffering::No;
    bool account = false;
    bool root = false;
    bool home = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        QString* value = nullptr;
        bool* seen = nullptr;
        if (arg == QLatin1String("--overwrite")) {
            request.Replace = ReplaceDiffering::Yes;
            continue;
        }
        if (arg == QLatin1String("--account")) {
            value = &request.Account;
            seen = &account;
        } else if (arg == QLatin1String("--local-root")) {
            value = &request.LocalRoot;
            seen = &root;
        } else if (arg == QLatin1String("--local-home")) {
            value = &request.LocalHome;
            seen = &home;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option ") + arg;
        } else if (!request.Project.isEmpty()) {
            return QStringLiteral("one project only");
        } else {
            request.Project = arg;
            continue;
        }
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
            return arg + QStringLiteral(" needs a value");
        *value = arguments[++i];
        *seen = true;
    }
    if (request.Project.isEmpty())
        return QStringLiteral("give a project");
    if (!account || !root || !home)
        return QStringLiteral("--account, --local-root and --local-home are all needed");
    return QString();
}

// The folder in full with the platform's separators and none at the end,
// as the window's folder picker gives it.
QString FolderArgument(const QString& folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::current().absoluteFilePath(folder)));
}

} // namespace

int RunImport(const QStringList& arguments)
{
    const CliCommand& command = CommandNamed(QStringLiteral("import"));
    SiteImportRequest request;
    QStringList rest = arguments;
    QString trust;
    QString problem = TakeTrustFingerprint(rest, trust);
    if (problem.isEmpty())
        problem = Parse(rest, request);
    if (!problem.isEmpty())
        return UsageError(command, problem);
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
        ConsoleHost host;
        outcome = ImportSite(request, lists, {&store, state, host, prompts, &certs});
        host.Finish();
    }
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
