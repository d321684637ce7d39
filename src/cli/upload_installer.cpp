// tarnwell-cli upload-installer: sends the installer the last build of a
// saved project made, with its download page and PHP file, to every account
// of the project, as the Upload button does after a build.
#include "CliCertificateDecision.h"
#include "CliPrompts.h"
#include "Commands.h"
#include "ConsoleHost.h"
#include "ProjectSettings.h"
#include "projects/OperationContext.h"

#include "build/SavedInstaller.h"
#include "projects/ProjectStore.h"
#include "projects/WorkingState.h"
#include "publish/InstallerUpload.h"
#include "settings/ApplicationDataAPI.h"

int RunUploadInstaller(const QStringList& arguments)
{
    const CliCommand& command = CommandNamed(QStringLiteral("upload-installer"));
    QStringList rest = arguments;
    QString trust;
    const QString problem = TakeTrustFingerprint(rest, trust);
    if (!problem.isEmpty())
        return UsageError(command, problem);
    for (const QString& arg : rest)
        if (arg.startsWith(QLatin1String("--")))
            return UsageError(command, QStringLiteral("unknown option ") + arg);
    if (rest.size() != 1)
        return UsageError(command, rest.isEmpty() ? QStringLiteral("give a project")
                                                  : QStringLiteral("one project only"));
    const QString& project = rest.first();

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

    InstallerUploadOutcome outcome;
    {
        ConsoleHost host;
        outcome = UploadInstaller(request, {&store, state, host, prompts, &certs});
        host.Finish();
    }
    // The stamps of the accounts served, and a certificate trusted with
    // --trust-fingerprint.
    store.Save();
    return outcome.Ok() ? ExitOk : ExitFailed;
}
