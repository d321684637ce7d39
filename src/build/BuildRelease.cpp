#include "BuildRelease.h"

#include "BuildSteps.h"
#include "HelpBuild.h"
#include "ProcessRunner.h"
#include "projects/AppList.h"
#include "projects/OperationContext.h"
#include "projects/WorkingState.h"
#include "util/PathStyle.h"
#include "util/Prompts.h"
#include "util/TarnwellError.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Runs one step. An error it did not handle fails the build and is logged;
// the build goes on to its end, so the window is never left disabled.
template <typename Step> void Guarded(BuildRun& run, Step step)
{
    try {
        step();
    } catch (const TarnwellError& error) {
        run.Fail(error.Message());
    }
}

void CancelCheck(BuildRun& run)
{
    if (run.host.Cancelled())
        run.BuildOk = false;
}

// The build's scripts may hold the certificate password: they go on every
// way out of the build.
class TemporaryFilesRemover {
public:
    explicit TemporaryFilesRemover(const BuildScriptFile& script) : script_(script) {}
    ~TemporaryFilesRemover() { script_.RemoveTemporaryFiles(); }
    TemporaryFilesRemover(const TemporaryFilesRemover&) = delete;
    TemporaryFilesRemover& operator=(const TemporaryFilesRemover&) = delete;

private:
    const BuildScriptFile& script_;
};

void CheckPrimaryAndTools(BuildRun& run)
{
    const BuildInputs& in = run.in;
    // A project never given a primary shows an empty label: it has none either.
    if (in.PrimaryCaption == NoPrimarySelected || in.PrimaryCaption.isEmpty()) {
        run.prompts.ShowInfo(ProductCaption, NoPrimarySelected);
        run.BuildOk = false;
        return;
    }
    const QString whereCompiler = QStringLiteral("Please set the location of the InnoSetup Compiler in the "
                                                 "utilities tab");
    if (in.InnoCompiler.isEmpty()) {
        run.prompts.ShowInfo(ProductCaption, whereCompiler);
        run.ToolsOk = false;
    } else if (!QFileInfo(in.InnoCompiler).isFile()) {
        run.prompts.ShowInfo(ProductCaption,
                             in.InnoCompiler + QStringLiteral(" does not exist; ") + whereCompiler);
        run.ToolsOk = false;
    }
    if (in.HelpMaker.isEmpty() && !in.HelpProject.isEmpty()) {
        run.prompts.ShowInfo(ProductCaption, QStringLiteral("Please set the location of HelpMaker in the "
                                                            "utilities tab"));
        run.ToolsOk = false;
    }
}

void RunPreBuild(BuildRun& run)
{
    const QString& command = run.in.PreBuild;
    const bool exists = QFileInfo(command).isFile();
    if (exists) {
        run.Log(QStringLiteral("Running ") + command);
    } else {
        run.prompts.ShowInfo(ProductCaption,
                             command +
                                 QStringLiteral(" does not exist; Please set the location of your prebuild "
                                                "batch or command or leave blank if appropriate"));
        run.Log(command + QStringLiteral(" does not exist."));
    }
    // Only the file named is run: a missing one is not looked for elsewhere.
    if (exists && Win32RunWait(command, QString()) == 0)
        run.Log(QStringLiteral("Success"));
    else
        run.Fail(QStringLiteral("Failed"));
}

void StampFiles(BuildRun& run)
{
    VersionStampInput input = run.in.Stamp;
    input.PrimaryVersion = run.state.PrimaryVersion;
    VersionStampResult result = StampVersion(input, run.host);
    WorkingState& state = run.state;
    state.PhpLines = std::move(result.PhpLines);
    state.LinkPageLines = std::move(result.LinkPageLines);
    state.SetupScriptLines = std::move(result.SetupScriptLines);
    if (!result.Ok) {
        run.BuildOk = false;
        return;
    }
    state.ShortVersion = result.ShortVersion;
    state.SetupExeName = result.SetupExeName;
    state.SetupOutputDir = result.SetupOutputDir;
}

void CompileInstaller(BuildRun& run)
{
    const QString& setupScript = run.in.Stamp.InnoSetupFile;
    const QByteArray text = InstallerScript(run.script.Flavour(), run.in.InnoCompiler, setupScript);
    run.Log(QStringLiteral("Buiding Installer"));
    const ScriptRunResult result = run.script.Run(text);
    if (!result.Error.isEmpty())
        run.Log(result.Error);
    if (result.ExitCode == 0) {
        run.Log(QStringLiteral("Installer Built"));
        // Known from here on, so an installer built without signing can
        // still be uploaded.
        run.state.SetupExePath = InstallerPath(run.state.SetupOutputDir, run.state.SetupExeName, setupScript);
    } else {
        run.Fail(QStringLiteral("Installer NOT BUILT"));
    }
}

} // namespace

QString InstallerPath(const QString& outputDir, const QString& setupExeName, const QString& setupScript)
{
    const PathStyle style = PathStyle::Native();
    QString folder = outputDir;
    // The compiler takes a relative output folder from the script's folder,
    // not from wherever this program runs.
    if (QDir::isRelativePath(style.ToFileSystem(folder))) {
        const QString scriptFolder = QDir::toNativeSeparators(QFileInfo(setupScript).absolutePath());
        folder = folder.isEmpty() ? scriptFolder : style.Join(scriptFolder, folder);
    }
    return style.Join(folder, setupExeName);
}

BuildOutcome RunBuild(const BuildInputs& inputs, const OperationContext& context,
                      const std::function<void()>& bringLogForward)
{
    WorkingState& state = context.state;
    OperationHost& host = context.host;
    Prompts& prompts = context.prompts;
    if (!state.BuildBatch)
        throw TarnwellError(QStringLiteral("The build has no script file to write its commands to"));
    BuildRun run{inputs, state, *state.BuildBatch, host, prompts, true, true, SigningSetup{}};
    const TemporaryFilesRemover remover(run.script);
    const bool signing = inputs.SigningAvailable;

    if (signing)
        Guarded(run, [&] { ComposeSigning(run); });
    CancelCheck(run);
    Guarded(run, [&] { CheckPrimaryAndTools(run); });
    CancelCheck(run);
    if (!run.ToolsOk)
        run.BuildOk = false;
    if (bringLogForward)
        bringLogForward();
    if (run.BuildOk && !inputs.PreBuild.isEmpty())
        Guarded(run, [&] { RunPreBuild(run); });
    CancelCheck(run);
    if (run.BuildOk)
        Guarded(run, [&] { StampFiles(run); });
    CancelCheck(run);
    // The help is brought up to date even after a failure or a cancel.
    Guarded(run, [&] {
        if (!BuildHelp({inputs.HelpProject, inputs.HelpMaker, state.PrimaryAppFolder}, run.script, host))
            run.BuildOk = false;
    });
    CancelCheck(run);
    if (run.BuildOk && signing)
        Guarded(run, [&] { SignApps(run); });
    CancelCheck(run);
    if (run.BuildOk && signing && inputs.TimeStamp)
        Guarded(run, [&] { TimestampApps(run); });
    CancelCheck(run);
    if (run.BuildOk)
        Guarded(run, [&] { CompileInstaller(run); });
    CancelCheck(run);
    if (run.BuildOk && signing)
        Guarded(run, [&] { SignInstaller(run); });
    CancelCheck(run);
    if (run.BuildOk && signing && inputs.TimeStamp)
        Guarded(run, [&] { TimestampInstaller(run); });

    BuildOutcome outcome;
    outcome.Cancelled = host.Cancelled();
    if (outcome.Cancelled) {
        run.BuildOk = false;
        host.Log(QStringLiteral("You cancelled"));
    }
    host.Log(QStringLiteral("Waiting...."));
    outcome.BuildOk = run.BuildOk;
    outcome.ToolsOk = run.ToolsOk;
    outcome.StartUpload = run.BuildOk && inputs.AutoUpload;
    return outcome;
}
