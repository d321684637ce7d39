#include "InstallerUpload.h"

#include "FtpClient.h"
#include "RemoteFolders.h"
#include "RemotePaths.h"
#include "projects/AccountStore.h"
#include "projects/WorkingState.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "util/MyFileOpsU.h"
#include "util/OperationHost.h"
#include "util/Prompts.h"
#include "util/TarnwellError.h"

namespace {

// One file due for an account: where it is and the stamp it had when the
// run looked at it (written after a fully served account).
struct DueFile {
    QString LocalPath;
    QString StampKey;
    qint32 Age = -1;
    UploadPaths Remote;
};

class SoftwareUploadRun {
public:
    SoftwareUploadRun(const InstallerUploadRequest& request, TAppData& store, WorkingState& state,
                      OperationHost& host, CertificateDecision* certificates)
        : r_(request), store_(store), state_(state), host_(host), ftp_(host)
    {
        ftp_.SetTimeouts(request.Timeouts);
        ftp_.SetCertificateDecision(certificates);
    }

    InstallerUploadOutcome Run();

private:
    void ServeAccount(const QString& account);
    QList<DueFile> FilesDue(const QString& section) const;
    // The send phase, then (when every file arrived) the move phase.
    void SendAndMove(QList<DueFile>& due, bool& connected, bool& allOk);
    void Log(const QString& line) { host_.Log(line); }
    bool Cancelled() { return host_.Cancelled(); }
    void Advance(qint64 total)
    {
        ++done_;
        host_.SetOverallProgress(done_, total);
    }

    const InstallerUploadRequest& r_;
    TAppData& store_;
    WorkingState& state_;
    OperationHost& host_;
    FtpClient ftp_;
    QStringList summary_;
    InstallerUploadOutcome outcome_;
    qint64 done_ = 0;
};

InstallerUploadOutcome SoftwareUploadRun::Run()
{
    outcome_.Started = InstallerUploadOutcome::Start::Ran;
    summary_ << QString() << QStringLiteral("Summary of software site update operations");
    for (const QString& account : r_.Accounts)
        ServeAccount(account);
    outcome_.Cancelled = Cancelled();
    if (outcome_.Cancelled)
        Log(QStringLiteral("You cancelled"));
    for (const QString& line : summary_)
        Log(line);
    Log(QStringLiteral("End of summary"));
    return outcome_;
}

QList<DueFile> SoftwareUploadRun::FilesDue(const QString& section) const
{
    QList<DueFile> due;
    TFileOpsSettings info;
    const TConnectionSettings& account = state_.CurrentAccount;
    for (const QString& file : state_.InstallerUploadFiles) {
        info.Age = -1;
        GetFileInfo(file, info);
        // One key for reading and writing, so a path with blanks at either
        // end does not count as changed for ever.
        const QString key = file.trimmed();
        // A missing file (-1) differs from a missing stamp (0): it is tried
        // and fails, so nothing half-released is moved into place.
        if (info.Age != store_.ReadInteger(section, key, 0))
            due.append({file, key, info.Age,
                        UploadPathsOf(file, r_.LocalHome, r_.LocalRoot, account.HomePath, account.RootPath)});
    }
    return due;
}

void SoftwareUploadRun::ServeAccount(const QString& accountName)
{
    const QString section = Schema::UploadRecordSection(r_.Project, accountName);
    bool connected = true;
    bool allOk = true;
    try {
        ReadAccountSettings(store_, accountName, state_.CurrentAccount);
        QList<DueFile> due = FilesDue(section);
        const TConnectionSettings& account = state_.CurrentAccount;
        if (due.isEmpty()) {
            const QString line = r_.Project + QStringLiteral(" >>> ") + accountName +
                                 QStringLiteral(" No files need to be sent");
            Log(line);
            summary_ << line;
            return;
        }
        done_ = 0;
        host_.SetOverallProgress(0, 2 * due.size());
        Log(QStringLiteral("Trying to connect to ") + account.AccountName);
        if (!ftp_.Connect(account).Ok) {
            Log(QStringLiteral("Could not connect"));
            summary_ << QStringLiteral("Could not connect to: ") + account.AccountName.toUpper() +
                            QStringLiteral(" no files uploaded");
            connected = false;
            allOk = false;
        }
        host_.Refresh();
        if (connected && !Cancelled()) {
            summary_ << QStringLiteral("Connected: ") + account.AccountName.toUpper() +
                            QStringLiteral(" - ") + QString::number(due.size()) +
                            QStringLiteral(" files to send");
            SendAndMove(due, connected, allOk);
        }
        host_.Refresh();
        if (connected && allOk && !Cancelled()) {
            for (const DueFile& file : due)
                store_.WriteInteger(section, file.StampKey, file.Age);
        }
    } catch (const TarnwellError& error) {
        // Nothing of this account is stamped; the next account still runs.
        Log(error.Message());
        allOk = false;
    }
    if (!connected || !allOk || Cancelled())
        outcome_.FailedAccounts << accountName;
    ftp_.SetProgressSwitch(0);
    if (ftp_.IsConnected())
        ftp_.Disconnect();
}

void SoftwareUploadRun::SendAndMove(QList<DueFile>& due, bool& connected, bool& allOk)
{
    const qint64 total = 2 * due.size();
    for (const DueFile& file : due) {
        Log(QStringLiteral("Sending ") + file.LocalPath);
        Log(QStringLiteral("to: ") + file.Remote.TempPath);
        if (ForceRemoteFolder(ftp_, file.Remote.TempFolder)) {
            const FtpResult sent = ftp_.Upload(file.LocalPath, file.Remote.TempPath);
            if (!sent.Ok) {
                // A failed transfer ends both phases for this account: the
                // live site keeps every file it had.
                Log(QStringLiteral("Sending failed"));
                Log(sent.Error);
                summary_ << QStringLiteral("--- Sending failed");
                connected = false;
                allOk = false;
                return;
            }
            host_.AppendToLastLine(QStringLiteral("... Success"));
            Log(QString());
            Advance(total);
        } else {
            Log(QStringLiteral("Couldn't reach ") + file.Remote.TempFolder);
            allOk = false;
        }
        host_.Refresh();
        if (Cancelled()) {
            summary_ << QStringLiteral("--- you cancelled during upload");
            allOk = false;
            break;
        }
    }
    const TConnectionSettings& account = state_.CurrentAccount;
    if (!Cancelled() && allOk) {
        Log(QStringLiteral("Sending files to ") + account.AccountName + QStringLiteral(" completed"));
        summary_ << QStringLiteral("--- All files uploaded");
    }
    ftp_.SetProgressSwitch(-1);
    if (!Cancelled() && allOk) {
        for (const DueFile& file : due) {
            Log(QStringLiteral("Moving ") + file.Remote.TempPath + QStringLiteral("..."));
            if (MoveRemoteFile(ftp_, file.Remote.TempPath, file.Remote.TargetPath)) {
                host_.AppendToLastLine(QStringLiteral("Success"));
                Advance(total);
            } else {
                host_.AppendToLastLine(QStringLiteral("Failed"));
                allOk = false;
            }
            host_.Refresh();
            if (Cancelled()) {
                connected = false;
                summary_ << QStringLiteral("--- you cancelled during file move");
                allOk = false;
                break;
            }
        }
        if (allOk)
            summary_ << QStringLiteral("--- All files moved to their target locations");
    }
    ftp_.SetProgressSwitch(0);
}

} // namespace

InstallerUploadOutcome UploadInstaller(const InstallerUploadRequest& request, TAppData& store,
                                       WorkingState& state, OperationHost& host, Prompts& prompts,
                                       const std::function<void()>& beginOperation,
                                       CertificateDecision* certificates)
{
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
    return SoftwareUploadRun(request, store, state, host, certificates).Run();
}
