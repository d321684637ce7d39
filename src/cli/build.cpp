// tarnwell-cli build PROJECT: the release build of a saved project, as the
// Build button runs it, with the log on standard output.
#include "CliPrompts.h"
#include "Commands.h"
#include "ConsoleHost.h"
#include "ProjectSettings.h"
#include "build/BuildRelease.h"
#include "build/SavedProjectBuild.h"
#include "build/SignToolDiscovery.h"
#include "projects/OperationContext.h"
#include "projects/WorkingState.h"
#include "settings/ApplicationDataAPI.h"

int RunBuildCommand(const QStringList& arguments)
{
    const CliCommand& command = CommandNamed(QStringLiteral("build"));
    if (arguments.size() != 1 || arguments.first().startsWith(QLatin1String("--")))
        return UsageError(command, QStringLiteral("give one project"));
    const QString project = arguments.first();

    CliPrompts prompts;
    // The build uses the window's Temp folder and may store where the
    // signing tool is: the window must not run meanwhile.
    CliSettings settings;
    if (const int refused = OpenProjectSettings(project, prompts, true, settings); refused != ExitOk)
        return refused;
    TAppData& store = *settings.store;

    WorkingState state;
    BuildInputs inputs = SavedProjectBuildInputs(store, project, state);
    inputs.SigningAvailable = LocateSignTool(store, false, prompts);
    PrepareBuildScript(store, state);
    ConsoleHost host;
    const BuildOutcome outcome = RunBuild(inputs, {&store, state, host, prompts});
    host.Finish();
    store.Save();
    return outcome.BuildOk ? ExitOk : ExitFailed;
}
