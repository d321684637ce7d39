#include "SiteImport.h"

#include "ImportStaging.h"
#include "RemoteClientFactory.h"
#include "RemotePaths.h"
#include "RemoteTree.h"
#include "projects/AccountStore.h"
#include "projects/OperationContext.h"
#include "projects/WorkingState.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "site/SiteLists.h"
#include "util/MyFileOpsU.h"
#include "util/OperationHost.h"
#include "util/Prompts.h"
#include "util/TarnwellError.h"

#include <QDir>

#include <memory>
#include <vector>

namespace {

using End = SiteImportOutcome::End;

// Drops every entry under the upload temporary folder (an upload that was
// cut short leaves its files there), with the sizes that go with them.
void DropTemporaryUploads(QStringList& paths, QList<qint64>* sizes)
{
    for (qsizetype i = paths.size() - 1; i >= 0; --i) {
        if (paths[i].contains(TempUploadFolder)) {
            paths.removeAt(i);
            if (sizes)
                sizes->removeAt(i);
        }
    }
}

// Where the import lists from: "/" over FTP; over SFTP the Server Root,
// the top of what the account may reach, since server paths there are the
// server's own absolute paths.
QString ImportTop(const TConnectionSettings& account)
{
    if (account.Protocol != TRemoteProtocol::Sftp || account.RootPath.isEmpty())
        return QStringLiteral("/");
    return account.RootPath.endsWith(QLatin1Char('/')) ? account.RootPath
                                                       : account.RootPath + QLatin1Char('/');
}

// A server path as seen from the top the import lists from, so that the
// top's own folders land directly under Local Root.
QString FromTop(const QString& path, const QString& top)
{
    if (top == QLatin1String("/"))
        return path;
    if (path.startsWith(top))
        return QLatin1Char('/') + path.mid(top.size());
    if (path == top.chopped(1))
        return QStringLiteral("/");
    return path;
}

// A download waiting in the staging folder for its local path.
struct Fetched {
    QString Remote;
    QString Local;
    QString Staged;
    LocalCopy Copy = LocalCopy::Missing;
};

class ImportRun {
public:
    ImportRun(const SiteImportRequest& request, TAppData& store, WorkingState& state, OperationHost& host,
              Prompts& prompts, CertificateDecision* certificates)
        : r_(request), store_(store), account_(state.CurrentAccount), host_(host), prompts_(prompts),
          remote_(MakeRemoteClient(account_, host, request.Timeouts)), top_(ImportTop(account_)),
          section_(Schema::UploadRecordSection(request.Project, request.Account))
    {
        remote_->SetCertificateDecision(certificates);
    }

    SiteImportOutcome Run(TSiteLists& lists, const std::function<void()>& beginOperation);

private:
    bool Connect();
    void Import(TSiteLists& lists);
    // Each server folder with the local folder it maps to.
    QList<QPair<QString, QString>> LocalFolders(const RemoteTree& tree);
    void MakeFolders(const QList<QPair<QString, QString>>& folders);
    void Download(const RemoteTree& tree, const ImportStaging& staging);
    bool MayReplace(qsizetype differing);
    void Place(bool replaceDiffering);
    QString LocalPathOf(const QString& remote, bool isFolder) const
    {
        return ImportLocalPath(FromTop(remote, top_), isFolder, FromTop(account_.HomePath, top_),
                               r_.LocalHome, r_.LocalRoot);
    }
    void Fail(const QString& remote, const QString& line)
    {
        host_.Log(line);
        outcome_.Failed << remote;
    }
    void Log(const QString& line) { host_.Log(line); }

    const SiteImportRequest& r_;
    TAppData& store_;
    const TConnectionSettings& account_;
    OperationHost& host_;
    Prompts& prompts_;
    const std::unique_ptr<RemoteClient> remote_;
    const QString top_;
    const QString section_;
    SiteImportOutcome outcome_;
    std::vector<Fetched> fetched_;
    // The stamps of the files written or found identical, written once the
    // import was not cancelled.
    QList<QPair<QString, qint32>> stamps_;
};

SiteImportOutcome ImportRun::Run(TSiteLists& lists, const std::function<void()>& beginOperation)
{
    if (beginOperation)
        beginOperation();
    try {
        if (Connect())
            Import(lists);
        else
            outcome_.Ended = End::NotConnected;
    } catch (const TarnwellError& error) {
        // Ends in order: disconnected, the window enabled by the caller.
        Log(error.Message());
        outcome_.Ended = End::Failed;
    }
    remote_->Disconnect();
    remote_->SetProgressSwitch(0);
    if (outcome_.Ended == End::Cancelled)
        Log(QStringLiteral("You cancelled the import"));
    return outcome_;
}

void ImportRun::Import(TSiteLists& lists)
{
    remote_->SetProgressSwitch(-1);
    Log(QStringLiteral("Gathering info from server, this could take a while"));
    RemoteTree tree;
    ListRemoteTree(*remote_, host_, top_, tree);
    outcome_.Failed << tree.Skipped << tree.Unlisted;
    QList<QPair<QString, QString>> folders;
    if (!host_.Cancelled()) {
        DropTemporaryUploads(tree.Files, &tree.Sizes);
        host_.SetOverallProgress(0, tree.Files.size());
        host_.SetFileProgress(0, 0);
        Log(QStringLiteral("Creating required folders"));
        DropTemporaryUploads(tree.Folders, nullptr);
        // Made only once the import may write: a No leaves no trace.
        folders = LocalFolders(tree);
    }
    Log(QStringLiteral("Downloading Site"));
    const ImportStaging staging(r_.LocalRoot);
    Download(tree, staging);

    const bool cancelled = host_.Cancelled();
    for (Fetched& file : fetched_) {
        file.Copy = CompareWithLocal(file.Staged, file.Local);
        outcome_.Differing += file.Copy == LocalCopy::Differs ? 1 : 0;
    }
    if (!cancelled && outcome_.Differing > 0 && !MayReplace(outcome_.Differing)) {
        Log(QStringLiteral("Import stopped: no local file was changed"));
        outcome_.Ended = End::Declined;
        return;
    }
    // From here on the import writes: what it replaces goes now.
    lists.Clear();
    store_.DeleteSection(section_);
    store_.DeleteKey(r_.Project, Schema::KeyFileSelection);
    MakeFolders(folders);
    // A cancel is no consent: only new files are written then.
    Place(!cancelled);
    if (cancelled) {
        outcome_.Ended = End::Cancelled;
        return;
    }
    for (const auto& [path, age] : stamps_)
        store_.WriteInteger(section_, path, age);
    if (outcome_.Failed.isEmpty())
        Log(QStringLiteral("Import Complete ") + QString::number(outcome_.Imported) +
            QStringLiteral(" filles imported"));
    else
        Log(QStringLiteral("Import finished: %1 files imported, %2 could not be imported")
                .arg(outcome_.Imported)
                .arg(outcome_.Failed.size()));
    outcome_.Ended = End::Done;
}

bool ImportRun::Connect()
{
    Log(QStringLiteral("Trying to connect to ") + ConnectionName(account_));
    if (remote_->Connect(account_).Ok)
        return true;
    Log(QStringLiteral("Could not connect"));
    Log(account_.Protocol == TRemoteProtocol::Sftp ? QStringLiteral("Is the SFTP account locked?")
                                                   : QStringLiteral("Is the FTP account locked?"));
    Log(QStringLiteral("Do you have an internet connection?"));
    return false;
}

QList<QPair<QString, QString>> ImportRun::LocalFolders(const RemoteTree& tree)
{
    QList<QPair<QString, QString>> folders;
    for (const QString& remote : tree.Folders) {
        const QString local = LocalPathOf(remote, true);
        if (local.isEmpty())
            Fail(remote, QStringLiteral("Skipped, outside the import folders: ") + remote);
        else
            folders.append({remote, local});
    }
    return folders;
}

void ImportRun::MakeFolders(const QList<QPair<QString, QString>>& folders)
{
    for (const auto& [remote, local] : folders) {
        if (!QDir().mkpath(PathStyle::Native().ToFileSystem(local)))
            Fail(remote, QStringLiteral("Couldn't create the folder ") + local);
    }
}

void ImportRun::Download(const RemoteTree& tree, const ImportStaging& staging)
{
    const qint64 total = tree.Files.size();
    qint64 done = 0;
    for (qsizetype i = 0; i < tree.Files.size(); ++i) {
        if (host_.Cancelled())
            return;
        const QString& remote = tree.Files[i];
        Log(remote);
        const QString local = LocalPathOf(remote, false);
        if (local.isEmpty()) {
            Fail(remote, QStringLiteral("Skipped, outside the import folders: ") + remote);
            continue;
        }
        host_.SetFileProgress(0, tree.Sizes[i]);
        remote_->SetProgressSwitch(0);
        // Whole or not at all: a file that does not arrive leaves nothing.
        const QString staged = staging.PathFor(i);
        const RemoteResult result = remote_->Fetch(remote, staged, tree.Sizes[i]);
        remote_->SetProgressSwitch(-1);
        if (!result.Ok) {
            Fail(remote, QStringLiteral("Couldn't download ") + remote + QStringLiteral(": ") + result.Error);
            if (result.ConnectionLost) {
                const qsizetype left = tree.Files.size() - i - 1;
                for (qsizetype j = i + 1; j < tree.Files.size(); ++j)
                    outcome_.Failed << tree.Files[j];
                Log(QStringLiteral("The connection is lost; %1 more files were not imported").arg(left));
                return;
            }
            continue;
        }
        fetched_.push_back({remote, local, staged});
        host_.SetOverallProgress(++done, total);
    }
}

bool ImportRun::MayReplace(qsizetype differing)
{
    switch (r_.Replace) {
    case ReplaceDiffering::Yes:
        return true;
    case ReplaceDiffering::No:
        return false;
    case ReplaceDiffering::Ask:
        break;
    }
    const QString question = DifferingFilesText(differing, r_.LocalRoot) + QStringLiteral(" Replace them?");
    return prompts_.AskQuestion(ProductCaption, question, MB_YESNO) == IDYES;
}

void ImportRun::Place(bool replaceDiffering)
{
    for (const Fetched& file : fetched_) {
        if (file.Copy == LocalCopy::Differs && !replaceDiffering)
            continue;
        if (file.Copy != LocalCopy::Same) {
            const QString problem = PlaceFile(file.Staged, file.Local);
            if (!problem.isEmpty()) {
                Fail(file.Remote,
                     QStringLiteral("Couldn't write ") + file.Local + QStringLiteral(": ") + problem);
                continue;
            }
        }
        TFileOpsSettings info;
        GetFileInfo(file.Local, info);
        stamps_.append({file.Local, info.Age});
        ++outcome_.Imported;
    }
}

// An import needs its two folders given in full: a relative one would land
// wherever the program happens to run.
bool FoldersUsable(const SiteImportRequest& request)
{
    return IsAbsoluteLocalPath(request.LocalHome) && IsAbsoluteLocalPath(request.LocalRoot);
}

} // namespace

QString DifferingFilesText(qsizetype count, const QString& localRoot)
{
    return QStringLiteral("%1 files in %2 differ from the server's copies and would be replaced.")
        .arg(count)
        .arg(localRoot);
}

SiteImportOutcome ImportSite(const SiteImportRequest& request, TSiteLists& lists,
                             const OperationContext& context, const std::function<void()>& beginOperation)
{
    TAppData& store = context.Store();
    WorkingState& state = context.state;
    Prompts& prompts = context.prompts;
    SiteImportOutcome outcome;
    if (request.Account.isEmpty())
        return outcome;
    // The stamps and the saved selection belong to a project.
    if (request.Project.isEmpty()) {
        prompts.ShowInfo(ProductCaption, QStringLiteral("No project open!"));
        outcome.Ended = End::Refused;
        return outcome;
    }
    ReadAccountSettings(store, request.Account, state.CurrentAccount);
    const TConnectionSettings& account = state.CurrentAccount;
    const bool pathsSet = account.LinkPageDir.size() >= 2 && account.PhpDir.size() >= 2 &&
                          account.InstallerDir.size() >= 2 && account.HomePath.size() >= 2;
    outcome.Ended = End::Refused;
    if (!pathsSet) {
        prompts.ShowInfo(ProductCaption,
                         account.AccountName +
                             QStringLiteral(" you don't appear to have set the server paths"));
        return outcome;
    }
    if (!FoldersUsable(request)) {
        prompts.ShowInfo(ProductCaption, QStringLiteral("Please give the full paths of the Local Home and "
                                                        "Local Root folders to import into"));
        return outcome;
    }
    return ImportRun(request, store, state, context.host, prompts, context.certificates)
        .Run(lists, beginOperation);
}
