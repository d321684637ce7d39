// Signing and time stamping of the applications and the installer.
#include "BuildSteps.h"

#include "projects/WorkingState.h"

#include <QFileInfo>

namespace {

// One line at most on why the signing tool may have refused; nothing when
// it chose the certificate itself.
QString SigningDiagnosis(const BuildInputs& in)
{
    if (in.PfxFile.isEmpty())
        return QString();
    if (!QFileInfo(in.PfxFile).isFile())
        return in.PfxFile + QStringLiteral(" does not exist");
    if (!in.PfxPassword.isEmpty())
        return QStringLiteral("is your PFX password correct?");
    return QStringLiteral("is your PFX password protected? there is no password entered");
}

// Runs a signing script and puts the tool's report into the log, whether
// the signing succeeded or not.
void RunSigning(BuildRun& run, const QByteArray& text, const QString& failedLine)
{
    const SigningSetup& setup = run.Signing;
    const ScriptRunResult result = setup.PasswordFile.isEmpty()
                                       ? run.script.Run(text)
                                       : run.script.RunWithPassword(text, setup.PfxPassword);
    if (!result.Error.isEmpty()) {
        run.Log(result.Error);
        run.Fail(failedLine);
        return;
    }
    if (result.ExitCode != 0) {
        run.Fail(failedLine);
        const QString diagnosis = SigningDiagnosis(run.in);
        if (!diagnosis.isEmpty())
            run.Log(diagnosis);
    }
    const std::optional<QStringList> capture = run.script.ReadCapture();
    if (capture) {
        for (const QString& line : *capture)
            run.Log(line);
    } else {
        run.Fail(
            QStringLiteral("The signing tool's report %1 was not written").arg(run.script.CapturePath()));
    }
}

bool ServersListed(BuildRun& run)
{
    if (!run.in.TimeServers.isEmpty())
        return true;
    run.Fail(QStringLiteral("No time stamp server is listed: add one on the Time Servers tab"));
    return false;
}

void TimestampFile(BuildRun& run, const QString& file)
{
    const ScriptRunResult result = run.script.Run(
        TimestampScript(run.script.Flavour(), run.in.SignTool, run.in.TimeServers, run.in.Attempts, file));
    if (!result.Error.isEmpty())
        run.Log(result.Error);
    if (result.ExitCode == 0)
        run.Log(file + QStringLiteral(" Timestamped"));
    else
        run.Fail(file + QStringLiteral(" NOT TIMESTAMPED"));
}

} // namespace

void ComposeSigning(BuildRun& run)
{
    run.Signing = SigningSetup{run.in.SignTool, QString(), QString(), QString()};
    const bool readsPasswordFile = SignToolKindOf(run.in.SignTool) == SignToolKind::Osslsigncode;
    if (run.in.PfxFile.isEmpty()) {
        // Only SignTool picks a certificate by itself.
        if (readsPasswordFile)
            run.Fail(QStringLiteral("osslsigncode needs a certificate: please set the PFX File"));
        return;
    }
    if (!QFileInfo(run.in.PfxFile).isFile()) {
        run.Fail(QStringLiteral("PFX file does not exist"));
        return;
    }
    run.Signing.PfxFile = run.in.PfxFile;
    run.Signing.PfxPassword = run.in.PfxPassword;
    if (readsPasswordFile && !run.in.PfxPassword.isEmpty())
        run.Signing.PasswordFile = run.script.PasswordPath();
}

void SignApps(BuildRun& run)
{
    if (run.in.Apps.isEmpty()) {
        run.Fail(QStringLiteral("No applications are listed to sign"));
        return;
    }
    const QByteArray text =
        SignAppsScript(run.script.Flavour(), run.Signing, run.in.Apps, run.script.CapturePath());
    run.Log(QStringLiteral("signing apps"));
    RunSigning(run, text, QStringLiteral("Signing apps failed"));
}

void TimestampApps(BuildRun& run)
{
    if (!ServersListed(run))
        return;
    run.Log(QStringLiteral("Timestamping files"));
    // Every application gets its try; one failure fails the build afterwards.
    for (const QString& app : run.in.Apps)
        TimestampFile(run, app);
}

void SignInstaller(BuildRun& run)
{
    const QString& installer = run.state.SetupExePath;
    const QByteArray text =
        SignInstallerScript(run.script.Flavour(), run.Signing, installer, run.script.CapturePath());
    run.Log(QStringLiteral("signing Installer"));
    RunSigning(run, text, QStringLiteral("Signing Installer failed"));
}

void TimestampInstaller(BuildRun& run)
{
    if (!ServersListed(run))
        return;
    run.Log(QStringLiteral("Timestamping ") + run.state.SetupExePath);
    TimestampFile(run, run.state.SetupExePath);
}
