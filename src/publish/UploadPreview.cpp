#include "UploadPreview.h"

#include "RemoteClientFactory.h"
#include "RemotePaths.h"
#include "UploadSelection.h"
#include "projects/AccountStore.h"
#include "settings/SettingsSchema.h"
#include "site/SiteLists.h"
#include "util/OperationHost.h"
#include "util/Prompts.h"
#include "util/TarnwellError.h"

#include <QFileInfo>

namespace {

QString Count(qint64 files, qint64 bytes)
{
    return QStringLiteral("%1 file%2, %3 bytes").arg(files).arg(files == 1 ? "" : "s").arg(bytes);
}

void Call(const std::function<void()>& command)
{
    if (command)
        command();
}

std::unique_ptr<RemoteClient> ClientFor(const TConnectionSettings& account, const SiteUploadInputs& in,
                                        CertificateDecision* certificates, OperationHost& host)
{
    std::unique_ptr<RemoteClient> remote = MakeRemoteClient(account, host, in.Timeouts);
    remote->SetCertificateDecision(certificates);
    return remote;
}

// What an upload to the account would send, and the orphans its server holds.
PreviewAccount PreviewAccountOf(const SiteUploadInputs& in, const QString& accountName,
                                const QStringList& files, const OrphanSite& site, const TAppData& store,
                                CertificateDecision* certificates, OperationHost& host,
                                const PathStyle& style)
{
    PreviewAccount account{accountName, {}, 0, {}, 0, {}};
    try {
        const TConnectionSettings settings = ReadAccountSettings(store, accountName);
        account.Connections = settings.Connections;
        const QString section = Schema::UploadRecordSection(in.Project, accountName);
        for (const PendingFile& file : FilesToSend(in.Mode, store, section, files, style)) {
            const QFileInfo info(style.ToFileSystem(file.Path));
            const qint64 size = info.isFile() ? info.size() : -1;
            const UploadPaths remote = UploadPathsOf(file.Path, in.LocalHome, in.LocalRoot, settings.HomePath,
                                                     settings.RootPath, style);
            account.Files.append({file.Path, size, remote.TargetPath});
            account.Bytes += qMax<qint64>(size, 0);
        }
        if (host.Cancelled())
            account.Orphans.Error = QStringLiteral("cancelled");
        else
            account.Orphans =
                FindOrphans(*ClientFor(settings, in, certificates, host), host, site, settings, style);
    } catch (const TarnwellError& error) {
        account.Files.clear();
        account.Bytes = 0;
        account.Error = error.Message();
        account.Orphans = {};
    }
    return account;
}

void LogOrphans(const QString& head, const OrphanListing& orphans, OperationHost& host)
{
    if (orphans.Files.isEmpty() && orphans.Complete()) {
        host.Log(head + QStringLiteral(" No orphans on the server"));
        return;
    }
    QString line = head + QStringLiteral(": ") + OrphanCount(orphans.Files.size()) +
                   QStringLiteral(" on the server (matched by no file of the site)");
    if (!orphans.Complete())
        line += QStringLiteral(", not all listed: ") + orphans.Error;
    host.Log(line);
    for (const OrphanFile& file : orphans.Files)
        host.Log(QStringLiteral("  ") + file.Path + QStringLiteral(" (") + QString::number(file.Size) +
                 QStringLiteral(" bytes)"));
}

void LogAccount(const QString& project, const PreviewAccount& account, OperationHost& host)
{
    const QString head = project + QStringLiteral(" >>> ") + account.Account;
    if (!account.Error.isEmpty()) {
        host.Log(head + QStringLiteral(" --- ") + account.Error);
        return;
    }
    if (account.Files.isEmpty()) {
        host.Log(head + QStringLiteral(" No files need to be sent"));
    } else {
        host.Log(head + QStringLiteral(": ") + Count(account.Files.size(), account.Bytes) +
                 QStringLiteral(" over %1 connection%2")
                     .arg(account.Connections)
                     .arg(account.Connections == 1 ? "" : "s"));
        for (const PreviewFile& file : account.Files) {
            const QString size = file.Size < 0 ? QStringLiteral("missing")
                                               : QString::number(file.Size) + QStringLiteral(" bytes");
            host.Log(QStringLiteral("  ") + file.LocalPath + QStringLiteral(" (") + size +
                     QStringLiteral(") -> ") + file.TargetPath);
        }
    }
    LogOrphans(head, account.Orphans, host);
}

} // namespace

bool UploadPreview::Complete() const
{
    for (const PreviewAccount& account : Accounts)
        if (!account.Error.isEmpty() || !account.Orphans.Complete())
            return false;
    return Stop == UploadStop::Ran;
}

UploadPreview PreviewUpload(const SiteUploadInputs& inputs, const TSiteLists& lists, const TAppData& store,
                            const WorkingState& state, OperationHost& host, Prompts& prompts,
                            const SiteUploadWindow& window, CertificateDecision* certificates,
                            const PathStyle& style)
{
    UploadPreview preview;
    if (inputs.Project.isEmpty()) {
        prompts.ShowInfo(ProductCaption, NoProjectOpenText);
        preview.Stop = UploadStop::NoProject;
        return preview;
    }
    if (inputs.Accounts.isEmpty()) {
        prompts.ShowInfo(ProductCaption, NoAccountsText);
        preview.Stop = UploadStop::NoAccounts;
        return preview;
    }
    host.Log(QStringLiteral("Preview: ") + UploadModeText(inputs.Mode));
    host.Log(QStringLiteral("Nothing is sent and no upload record changes"));
    const QStringList files = FilesOfMode(inputs.Mode, lists, state);
    // Orphans are what the whole site lacks, whatever the mode sends.
    const OrphanSite site{lists.Files(), inputs.LocalHome, inputs.LocalRoot};
    // The servers are listed under the cancel window.
    Call(window.BeginOperation);
    for (const QString& accountName : inputs.Accounts) {
        PreviewAccount account =
            PreviewAccountOf(inputs, accountName, files, site, store, certificates, host, style);
        LogAccount(inputs.Project, account, host);
        preview.Files += account.Files.size();
        preview.Bytes += account.Bytes;
        preview.Orphans += account.Orphans.Files.size();
        preview.Accounts.append(std::move(account));
    }
    Call(window.EndOperation);
    const qsizetype accounts = preview.Accounts.size();
    host.Log(QStringLiteral("Total: ") + Count(preview.Files, preview.Bytes) + QStringLiteral(" to ") +
             QString::number(accounts) +
             (accounts == 1 ? QStringLiteral(" account") : QStringLiteral(" accounts")));
    return preview;
}
