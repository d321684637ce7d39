// tarnwell-cli upload-installer: sends the installer the last build of a
// saved project made, with its download page and PHP file, to every account
// of the project, as the Upload button does after a build.
#include "CliCertificateDecision.h"
#include "CliPrompts.h"
#include "CliReport.h"
#include "Commands.h"
#include "ConsoleHost.h"
#include "ProjectSettings.h"
#include "projects/OperationContext.h"

#include "build/SavedInstaller.h"
#include "projects/ProjectStore.h"
#include "projects/WorkingState.h"
#include "publish/InstallerUpload.h"
#include "settings/ApplicationDataAPI.h"

#include <QCommandLineParser>

namespace {

int UploadBuiltInstaller(const QString& project, const QString& trust, bool json, CliReport& report)
{
    CliPrompts prompts;
    CliSettings settings;
    const int opened = OpenProjectSettings(project, prompts, true, settings);
    if (opened != ExitOk)
        return opened;
    TAppData& store = *settings.store;
    CliCertificateDecision certs(prompts, settings.store.get(), trust);

    // The installer a build of the saved project names; the upload says
    // "You have not built the Installer" when it is not there.
    WorkingState state;
    FindBuiltInstaller(store, project, state);
    const TProjectFields fields = LoadProject(store, project);
    InstallerUploadRequest request;
    request.Project = project;
    request.LinkPageFile = fields.DownLoadLink;
    request.PhpFile = fields.PhpFile;
    request.LocalHome = fields.LocalHome;
    request.LocalRoot = fields.LocalRoot;
    request.Accounts = fields.Sites;
    request.AccountsAtOnce = DefaultAccountsAtOnce;

    InstallerUploadOutcome outcome;
    {
        ConsoleHost host(json);
        outcome = UploadInstaller(request, {&store, state, host, prompts, &certs});
        host.Finish();
    }
    // The stamps of the accounts served, and a certificate trusted with
    // --trust-fingerprint.
    store.Save();
    report.Cancelled = outcome.Cancelled;
    report.Accounts = outcome.Accounts;
    return outcome.Ok() ? ExitOk : ExitFailed;
}

} // namespace

int RunUploadInstaller(const QCommandLineParser& parser)
{
    const CliCommand& command = CommandNamed(QStringLiteral("upload-installer"));
    const QString project = OneProject(command, parser);
    if (project.isEmpty())
        return ExitUsage;
    QString trust;
    const QString problem = TakeTrustFingerprint(parser.values(QStringLiteral("trust-fingerprint")), trust);
    if (!problem.isEmpty())
        return UsageError(command, problem);
    const bool json = parser.isSet(QStringLiteral("json"));
    CliReport report(command.Name, project);
    return RunReported(report, json, [&] { return UploadBuiltInstaller(project, trust, json, report); });
}
