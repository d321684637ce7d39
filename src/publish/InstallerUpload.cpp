#include "InstallerUpload.h"

#include "SiteUpload.h"
#include "projects/OperationContext.h"
#include "projects/WorkingState.h"
#include "site/SiteLists.h"
#include "util/Prompts.h"

InstallerUploadOutcome UploadInstaller(const InstallerUploadRequest& request, const OperationContext& context,
                                       const std::function<void()>& beginOperation)
{
    WorkingState& state = context.state;
    Prompts& prompts = context.prompts;
    InstallerUploadOutcome outcome;
    state.InstallerUploadFiles.clear();
    if (state.SetupExePath.isEmpty()) {
        prompts.ShowInfo(ProductCaption, QStringLiteral("You have not built the Installer"));
        return outcome;
    }
    // The build's full path: an output folder the setup script gives
    // relative to itself is already resolved there.
    state.InstallerUploadFiles << state.SetupExePath << request.LinkPageFile << request.PhpFile;
    if (request.Project.isEmpty()) {
        prompts.ShowInfo(ProductCaption, QStringLiteral("No project open!"));
        outcome.Started = InstallerUploadOutcome::Start::NoProject;
        return outcome;
    }
    if (beginOperation)
        beginOperation();
    // The site upload's run in its Software mode: the same temporary folder,
    // moves, stamps and summary.
    SiteUploadInputs inputs;
    inputs.Mode = UploadMode::Software;
    inputs.Project = request.Project;
    inputs.LocalRoot = request.LocalRoot;
    inputs.LocalHome = request.LocalHome;
    inputs.Accounts = request.Accounts;
    inputs.Timeouts = request.Timeouts;
    inputs.AccountsAtOnce = request.AccountsAtOnce;
    const TSiteLists noLists;
    const SiteUploadOutcome run = DoUpload(inputs, noLists, context, SiteUploadWindow());
    outcome.Started = InstallerUploadOutcome::Start::Ran;
    outcome.Cancelled = run.Cancelled;
    outcome.FailedAccounts = run.FailedAccounts;
    outcome.Accounts = run.Accounts;
    return outcome;
}
