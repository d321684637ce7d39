// tarnwell-cli build PROJECT: the release build of a saved project, as the
// Build button runs it, with the log on standard output.
#include "CliPrompts.h"
#include "CliReport.h"
#include "Commands.h"
#include "ConsoleHost.h"
#include "ProjectSettings.h"
#include "build/BuildRelease.h"
#include "build/SavedProjectBuild.h"
#include "build/SignToolDiscovery.h"
#include "projects/OperationContext.h"
#include "projects/WorkingState.h"
#include "settings/ApplicationDataAPI.h"

#include <QCommandLineParser>

namespace {

int Build(const QString& project, bool json, CliReport& report)
{
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
    ConsoleHost host(json);
    const BuildOutcome outcome = RunBuild(inputs, {&store, state, host, prompts});
    host.Finish();
    store.Save();
    report.Cancelled = outcome.Cancelled;
    return outcome.BuildOk ? ExitOk : ExitFailed;
}

} // namespace

int RunBuildCommand(const QCommandLineParser& parser)
{
    const CliCommand& command = CommandNamed(QStringLiteral("build"));
    const QString project = OneProject(command, parser);
    if (project.isEmpty())
        return ExitUsage;
    const bool json = parser.isSet(QStringLiteral("json"));
    CliReport report(command.Name, project);
    return RunReported(report, json, [&] { return Build(project, json, report); });
}
