#include "SiteUpload.h"

#include "CertificateTrust.h"
#include "ConnectionPool.h"
#include "FolderMoves.h"
#include "HeldHost.h"
#include "KnownFolders.h"
#include "RemoteClientFactory.h"
#include "RemoteFolders.h"
#include "RemotePaths.h"
#include "ServerOrphans.h"
#include "UploadSelection.h"
#include "projects/AccountStore.h"
#include "projects/OperationContext.h"
#include "projects/WorkingState.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "site/SiteLists.h"
#include "util/Clock.h"
#include "util/MyFileOpsU.h"
#include "util/OperationHost.h"
#include "util/Prompts.h"
#include "util/TarnwellError.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Account names are shown in capitals in the summary; only A-Z change.
QString UpperAscii(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return result;
}

void Call(const std::function<void()>& command)
{
    if (command)
        command();
}

// A certificate decision asked by one account at a time: the window's asks
// the user and writes the store.
class OneAtATime : public CertificateDecision {
public:
    OneAtATime(CertificateDecision& decision, std::mutex& mutex) : decision_(decision), mutex_(mutex) {}
    bool Trust(const ServerCertificate& certificate) override
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return decision_.Trust(certificate);
    }

private:
    CertificateDecision& decision_;
    std::mutex& mutex_;
};

// What the accounts of one run share.
struct SharedRun {
    const SiteUploadInputs& in;
    TAppData& store;
    WorkingState& state;
    OperationHost& host;
    const SiteUploadWindow& window;
    const PathStyle& style;
    const Clock* clock;
    // Taken for every use of the store and every certificate decision once
    // accounts are served at the same time.
    std::mutex storeMutex;
    std::unique_ptr<OneAtATime> decision;
    CertificateDecision* certificates = nullptr;
    // Set before the first account with files is served (and before any
    // thread of an account starts); never cleared.
    bool begun = false;
    // With DeleteOrphans: the orphans the user agreed to delete, by account.
    QHash<QString, OrphanListing> orphans;

    SharedRun(const OperationContext& context, const SiteUploadInputs& inputs,
              const SiteUploadWindow& window_, const PathStyle& style_)
        : in(inputs), store(context.Store()), state(context.state), host(context.host), window(window_),
          style(style_), clock(context.clock)
    {
        if (context.certificates) {
            decision = std::make_unique<OneAtATime>(*context.certificates, storeMutex);
            certificates = decision.get();
        }
    }
};

// What serving one account works with: the run's shared part and its own
// log, settings, connection and summary lines.
struct UploadRun {
    SharedRun& shared;
    const SiteUploadInputs& in;
    TAppData& store;
    const PathStyle& style;
    const QHash<QString, OrphanListing>& orphans;
    OperationHost& host; // the run's, or the account's held lines
    // The settings of the account being served.
    TConnectionSettings account;
    // The connection to the account being served, of its protocol.
    std::unique_ptr<RemoteClient> remote;
    QStringList summary; // this account's lines of the run's summary

    UploadRun(SharedRun& run, OperationHost& host_)
        : shared(run), in(run.in), store(run.store), style(run.style), orphans(run.orphans), host(host_)
    {
    }

    // A flag the cancel window kept from an earlier run is not this run's.
    bool Cancelled() const { return shared.begun && host.Cancelled(); }

    std::unique_lock<std::mutex> LockStore() { return std::unique_lock<std::mutex>(shared.storeMutex); }

    // A client for the account, not connected yet; the one before goes.
    RemoteClient& ClientFor(const TConnectionSettings& settings)
    {
        remote = MakeRemoteClient(settings, host, in.Timeouts);
        remote->SetCertificateDecision(shared.certificates);
        return *remote;
    }
};

// The state of one account while it is served.
struct AccountRun {
    QString name; // as listed for the project
    QList<PendingFile> sends;
    QList<UploadPaths> moves;
    QList<qint64> sizes; // of each file sent, parallel to moves
    KnownFolders folders;
    TempListings tempListings; // read by the size check
    FolderMoves folderMoves;   // new target folders moved whole
    // Several connections at once (more than one wanted and more than one
    // file); made once the first connection is logged in.
    std::unique_ptr<ConnectionPool> pool;
    qint64 bytes = 0; // of the files to send
    // Live files the moves left aside on the server (kept in the store
    // until they are put back or deleted).
    QStringList asides;
    bool keptAside = false;     // a move of this run left one
    bool lostWithAside = false; // ... and the connection was lost with it
    bool connected = true;
    bool loggedIn = false; // the connection and the login succeeded
    bool allOk = true;
    int sent = 0;    // files that arrived in the temporary folder
    int moved = 0;   // files moved into place
    qint64 done = 0; // steps of the overall bar: one per file sent, one per file moved
    qint64 total = 0;

    void Step(OperationHost& host)
    {
        ++done;
        host.SetOverallProgress(done, total);
    }
};

bool Ask(Prompts& prompts, const QString& question, Question kind = Question::Other)
{
    return prompts.AskAbout(kind, ProductCaption, question, MB_YESNO) == IDYES;
}

// A failed send ends the account's phases; nothing of it moves.
void SendingFailed(UploadRun& run, AccountRun& account, const QString& error)
{
    run.host.Log(QStringLiteral("Sending failed"));
    run.host.Log(error);
    run.summary.append(QStringLiteral("--- Sending failed"));
    account.connected = false;
    account.allOk = false;
}

// What sending one file came to.
struct SendResult {
    bool reached = false; // its temporary folder exists
    RemoteResult sent;
};

SendResult SendOne(RemoteClient& client, KnownFolders& folders, const QString& localPath,
                   const UploadPaths& remote)
{
    SendResult result;
    result.reached = folders.Ensure(client, remote.TempFolder);
    if (result.reached)
        result.sent = client.Send(localPath, remote.TempPath);
    return result;
}

UploadPaths RemotePathsOf(const UploadRun& run, const PendingFile& file)
{
    const TConnectionSettings& settings = run.account;
    return UploadPathsOf(file.Path, run.in.LocalHome, run.in.LocalRoot, settings.HomePath, settings.RootPath,
                         run.style, TempUploadRoot(settings));
}

// The lines before a file is sent; it joins the move list.
void SendStarts(UploadRun& run, AccountRun& account, const PendingFile& file, const UploadPaths& remote)
{
    run.host.Log(QStringLiteral("Sending ") + file.Path);
    account.moves.append(remote);
    account.sizes.append(QFileInfo(file.Path).size());
    run.host.Log(QStringLiteral("to: ") + remote.TempPath);
}

// The lines once it was sent (or not), and the cancel read after each file;
// false ends the send phase.
bool SendEnded(UploadRun& run, AccountRun& account, const SendResult& result, bool* failed)
{
    OperationHost& host = run.host;
    if (!result.reached) {
        host.Log(QStringLiteral("Couldn't reach ") + account.moves.last().TempFolder);
        account.allOk = false;
    } else if (!result.sent.Ok) {
        SendingFailed(run, account, result.sent.Error);
        *failed = true;
        return false;
    } else {
        host.AppendToLastLine(QStringLiteral("... Success"));
        host.Log(QString());
        ++account.sent;
        account.Step(host);
    }
    if (run.Cancelled()) {
        run.summary.append(QStringLiteral("--- you cancelled during upload"));
        account.allOk = false;
        return false;
    }
    return true;
}

void LogPoolNote(UploadRun& run, AccountRun& account)
{
    const QString note = account.pool->TakeRefusalNote();
    if (!note.isEmpty())
        run.host.Log(note);
}

// While the connections work: the file bar shows the bytes of the account,
// and a cancel stops them taking further files.
bool PoolWaiting(UploadRun& run, AccountRun& account, bool sending)
{
    LogPoolNote(run, account);
    if (sending)
        run.host.SetFileProgress(account.pool->BytesSent(), account.bytes);
    return !run.Cancelled();
}

// The sends spread over the account's connections, logged file by file in
// list order as one connection would.
bool SendOverPool(UploadRun& run, AccountRun& account)
{
    // The connections' threads read these lists only.
    const QList<PendingFile>& sends = account.sends;
    const int count = int(sends.size());
    QList<UploadPaths> paths;
    for (const PendingFile& file : sends)
        paths.append(RemotePathsOf(run, file));
    const QList<UploadPaths>& remote = paths;
    std::vector<SendResult> results(static_cast<size_t>(count));
    bool failed = false;
    bool stopped = false;
    ConnectionPool::Work work;
    work.Do = [&](ConnectionPool::Connection& connection, int i) {
        connection.Remote().SetProgressSwitch(0);
        results[size_t(i)] = SendOne(connection.Remote(), account.folders, sends[i].Path, remote[i]);
        connection.Sent(results[size_t(i)].sent.Ok ? QFileInfo(sends[i].Path).size() : 0);
    };
    work.Deliver = [&](int i) {
        LogPoolNote(run, account);
        SendStarts(run, account, sends[i], remote[i]);
        stopped = !SendEnded(run, account, results[size_t(i)], &failed);
        run.host.SetFileProgress(account.pool->BytesSent(), account.bytes);
        return !stopped;
    };
    work.Waiting = [&] { return PoolWaiting(run, account, true); };
    const int delivered = account.pool->Run(count, work);
    // A cancel seen while no file was ready to be logged.
    if (!stopped && delivered < count && run.Cancelled()) {
        run.summary.append(QStringLiteral("--- you cancelled during upload"));
        account.allOk = false;
    }
    return !failed;
}

// The send phase; false when a transfer failed, which ends the account.
bool SendFiles(UploadRun& run, AccountRun& account)
{
    if (account.pool)
        return SendOverPool(run, account);
    for (const PendingFile& file : std::as_const(account.sends)) {
        const UploadPaths remote = RemotePathsOf(run, file);
        SendStarts(run, account, file, remote);
        bool failed = false;
        const bool goOn =
            SendEnded(run, account, SendOne(*run.remote, account.folders, file.Path, remote), &failed);
        if (failed)
            return false;
        if (!goOn)
            break;
    }
    return true;
}

// Whether the server holds every file sent whole: a server may keep part
// of a file and still report the transfer complete. One listing per
// temporary folder.
bool SizesMatch(UploadRun& run, AccountRun& account)
{
    QHash<QString, QHash<QString, qint64>> held; // by folder, by name
    account.tempListings.clear();
    for (qsizetype i = 0; i < account.moves.size(); ++i) {
        const UploadPaths& remote = account.moves[i];
        if (!held.contains(remote.TempFolder)) {
            const RemoteListing listing = run.remote->List(remote.TempFolder);
            if (!listing.Result.Ok) {
                SendingFailed(run, account, listing.Result.Error);
                return false;
            }
            account.tempListings.insert(remote.TempFolder, listing.Entries);
            QHash<QString, qint64>& sizes = held[remote.TempFolder];
            for (const FtpEntry& entry : listing.Entries)
                if (entry.Kind == FtpEntryKind::File)
                    sizes.insert(entry.Name, entry.Size);
        }
        const QString name = remote.TempPath.mid(remote.TempPath.lastIndexOf(QLatin1Char('/')) + 1);
        qint64 size = held[remote.TempFolder].value(name, -1);
        // Some listings carry no size (0 then); the server's own answer has
        // the last word.
        if (size == 0 && account.sizes[i] != 0) {
            const RemoteSize asked = run.remote->Size(remote.TempPath);
            size = asked.Result.Ok ? asked.Size : 0;
        }
        if (size != account.sizes[i]) {
            SendingFailed(run, account,
                          size < 0 ? remote.TempPath + QStringLiteral(" is not on the server.")
                                   : QStringLiteral("The server holds %1 of the %2 bytes of %3.")
                                         .arg(size)
                                         .arg(account.sizes[i])
                                         .arg(remote.TempPath));
            return false;
        }
    }
    return true;
}

void KeepAsides(UploadRun& run, const AccountRun& account)
{
    const auto lock = run.LockStore();
    run.store.WriteList(Schema::AccountSection(account.name), Schema::KeyAsideFiles, account.asides);
}

// Puts back, or deletes once the move is done, the live files that moves
// left aside on this account, this run or an earlier one. False when any
// stays aside.
bool SettleAsides(UploadRun& run, AccountRun& account)
{
    if (account.asides.isEmpty())
        return true;
    QStringList kept;
    for (const QString& aside : std::as_const(account.asides)) {
        const AsideFate fate = SettleAside(*run.remote, aside);
        const QString live = LivePathOfAside(aside);
        switch (fate) {
        case AsideFate::Gone:
            break;
        case AsideFate::PutBack:
        case AsideFate::PutBackFailed:
            run.host.Log(QStringLiteral("Putting back ") + live + QStringLiteral("...") +
                         (fate == AsideFate::PutBack ? QStringLiteral("Success") : QStringLiteral("Failed")));
            break;
        case AsideFate::Removed:
        case AsideFate::RemoveFailed:
            run.host.Log(QStringLiteral("Removing ") + aside + QStringLiteral("...") +
                         (fate == AsideFate::Removed ? QStringLiteral("Success") : QStringLiteral("Failed")));
            break;
        case AsideFate::Unknown:
            run.host.Log(QStringLiteral("Checking ") + aside + QStringLiteral("...Failed"));
            break;
        }
        if (fate == AsideFate::PutBackFailed || fate == AsideFate::RemoveFailed || fate == AsideFate::Unknown)
            kept.append(aside);
    }
    account.asides = kept;
    KeepAsides(run, account);
    return kept.isEmpty();
}

// What moving one file came to.
struct MoveResult {
    bool moved = false;
    QString aside;     // a live file it left aside
    bool lost = false; // the connection was lost by then
};

// Moves item i of the account's moves: with its new folder when one carries
// it, otherwise alone. `ensure` makes sure of its target folder first.
MoveResult MoveOne(RemoteClient& client, AccountRun& account, int i, bool ensure)
{
    const UploadPaths& remote = account.moves[i];
    MoveResult result;
    const int folder = account.folderMoves.FolderOf(i);
    const FolderMoves::Outcome outcome =
        folder < 0 ? FolderMoves::Outcome::Refused : account.folderMoves.Move(client, folder);
    if (outcome == FolderMoves::Outcome::Refused) {
        if (ensure)
            account.folders.Ensure(client, RemoteFolderOf(remote.TargetPath));
        result.moved = MoveRemoteFile(client, remote.TempPath, remote.TargetPath, &result.aside);
    } else {
        result.moved = outcome == FolderMoves::Outcome::Moved;
    }
    result.lost = !client.IsLoggedIn();
    return result;
}

// The moves before which a cancel is not read: once a folder rename made
// its files live, the cancel waits for the line of its last file.
struct LinesOwed {
    int upTo = -1;
    void Moved(const AccountRun& account, int i, const MoveResult& result)
    {
        const int folder = account.folderMoves.FolderOf(i);
        if (result.moved && folder >= 0)
            upTo = std::max(upTo, account.folderMoves.LastItemOf(folder));
    }
};

// The lines once a file was moved (or not), and the cancel read after each
// move (unless `readCancel` is false); false ends the move phase.
bool MoveEnded(UploadRun& run, AccountRun& account, const MoveResult& result, bool readCancel = true)
{
    OperationHost& host = run.host;
    if (result.moved) {
        host.AppendToLastLine(QStringLiteral("Success"));
        ++account.moved;
        account.Step(host);
    } else {
        // The other files are still moved; the account gets no stamps.
        host.AppendToLastLine(QStringLiteral("Failed"));
        account.allOk = false;
    }
    if (!result.aside.isEmpty()) {
        host.Log(QStringLiteral("Old file kept as ") + result.aside);
        account.asides.append(result.aside);
        account.keptAside = true;
        account.lostWithAside = account.lostWithAside || result.lost;
        KeepAsides(run, account);
    }
    if (readCancel && run.Cancelled()) {
        account.connected = false;
        run.summary.append(QStringLiteral("--- you cancelled during file move"));
        account.allOk = false;
        return false;
    }
    return true;
}

void MovingLine(UploadRun& run, const UploadPaths& remote)
{
    run.host.Log(QStringLiteral("Moving ") + remote.TempPath + QStringLiteral("..."));
}

// The moves spread over the account's connections. With several at work,
// a target folder is made sure of before the first move into it, so that
// two connections never race to make it.
void MoveOverPool(UploadRun& run, AccountRun& account)
{
    const QList<UploadPaths>& moves = account.moves; // read by the connections' threads
    const int count = int(moves.size());
    std::vector<MoveResult> results(static_cast<size_t>(count));
    bool stopped = false;
    LinesOwed owed;
    int delivered = -1;
    ConnectionPool::Work work;
    work.Do = [&](ConnectionPool::Connection& connection, int i) {
        connection.Remote().SetProgressSwitch(-1);
        results[size_t(i)] = MoveOne(connection.Remote(), account, i, true);
    };
    work.Deliver = [&](int i) {
        LogPoolNote(run, account);
        MovingLine(run, moves[i]);
        const MoveResult& result = results[size_t(i)];
        owed.Moved(account, i, result);
        delivered = i;
        stopped = !MoveEnded(run, account, result, i >= owed.upTo);
        return !stopped;
    };
    work.Waiting = [&] { return PoolWaiting(run, account, false) || delivered < owed.upTo; };
    if (account.pool->Run(count, work) < count && !stopped && run.Cancelled()) {
        account.connected = false;
        run.summary.append(QStringLiteral("--- you cancelled during file move"));
        account.allOk = false;
    }
}

void MoveFiles(UploadRun& run, AccountRun& account)
{
    if (account.pool) {
        MoveOverPool(run, account);
        return;
    }
    LinesOwed owed;
    for (int i = 0; i < int(account.moves.size()); ++i) {
        MovingLine(run, account.moves[i]);
        const MoveResult result = MoveOne(*run.remote, account, i, false);
        owed.Moved(account, i, result);
        if (!MoveEnded(run, account, result, i >= owed.upTo))
            break;
    }
}

void SendAndMove(UploadRun& run, AccountRun& account)
{
    const TConnectionSettings& settings = run.account;
    if (!SendFiles(run, account))
        return;
    if (!run.Cancelled() && account.allOk && !SizesMatch(run, account))
        return;
    if (!run.Cancelled() && account.allOk) {
        run.host.Log(QStringLiteral("Sending files to ") + settings.AccountName +
                     QStringLiteral(" completed"));
        run.summary.append(QStringLiteral("--- All files uploaded"));
    }
    // The listings of the moves must not move the file bar.
    run.remote->SetProgressSwitch(-1);
    if (!run.Cancelled() && account.allOk) {
        account.folderMoves.Plan(*run.remote, account.folders, account.moves, account.tempListings,
                                 TempUploadRoot(settings));
        MoveFiles(run, account);
    }
    if (account.allOk)
        run.summary.append(QStringLiteral("--- All files moved to their target locations"));
}

// The connection failed in the middle of a move: the live file is put back
// at once if the server lets us in again.
void SettleAfterLostConnection(UploadRun& run, AccountRun& account)
{
    const TConnectionSettings& settings = run.account;
    run.remote->Disconnect();
    run.host.Log(QStringLiteral("Trying to connect to ") + ConnectionName(settings));
    const RemoteResult again = run.remote->Connect(settings);
    if (again.Ok) {
        SettleAsides(run, account);
    } else {
        run.host.Log(QStringLiteral("Could not connect"));
        run.host.Log(again.Error);
    }
}

// Connects, sends, moves and records one account that has files to send.
// True when it was served without any failure.
bool ServeAccount(UploadRun& run, AccountRun& account, const QString& section)
{
    OperationHost& host = run.host;
    const TConnectionSettings& settings = run.account;
    const QString name = UpperAscii(settings.AccountName);
    account.total = 2 * qint64(account.sends.size());
    host.SetOverallProgress(0, account.total);
    for (const PendingFile& file : std::as_const(account.sends))
        account.bytes += QFileInfo(file.Path).size();

    host.Log(QStringLiteral("Trying to connect to ") + ConnectionName(settings));
    const RemoteResult connection = run.ClientFor(settings).Connect(settings);
    if (!connection.Ok) {
        host.Log(QStringLiteral("Could not connect"));
        host.Log(connection.Error);
        run.summary.append(QStringLiteral("Could not connect to: ") + name +
                           QStringLiteral(" no files uploaded"));
        account.connected = false;
    }
    account.loggedIn = connection.Ok;
    if (account.connected && !run.Cancelled()) {
        run.summary.append(QStringLiteral("Connected: ") + name + QStringLiteral(" - ") +
                           QString::number(account.sends.size()) + QStringLiteral(" files to send"));
        // What an earlier run left aside is settled before anything moves.
        if (!SettleAsides(run, account))
            account.allOk = false;
        if (settings.Connections > 1 && account.sends.size() > 1)
            account.pool = std::make_unique<ConnectionPool>(*run.remote, settings, run.in.Timeouts,
                                                            settings.Connections);
        SendAndMove(run, account);
        run.remote->SetProgressSwitch(0);
        account.pool.reset();
    }
    if (account.keptAside && !run.remote->IsLoggedIn())
        SettleAfterLostConnection(run, account);
    else if (account.lostWithAside)
        SettleAsides(run, account); // left by a further connection, lost since

    const bool served = account.connected && account.allOk && !run.Cancelled();
    if (served) {
        const auto lock = run.LockStore();
        RecordStamps(run.store, section, account.sends);
    }
    return served;
}

// Deletes the orphans agreed to for an account whose site went live; false
// when any stays (or the listing before the run was not complete).
bool DeleteAccountOrphans(UploadRun& run, const QString& accountName)
{
    const OrphanListing listing = run.orphans.value(accountName);
    const OrphanDeletion deletion = DeleteOrphanFiles(*run.remote, run.host, listing.Files);
    if (listing.Files.isEmpty())
        run.summary.append(QStringLiteral("--- No orphans to delete"));
    else
        run.summary.append(
            QStringLiteral("--- Orphans deleted: %1 of %2").arg(deletion.Deleted).arg(listing.Files.size()));
    if (deletion.Cancelled)
        run.summary.append(QStringLiteral("--- you cancelled while deleting orphans"));
    if (!listing.Complete())
        run.summary.append(QStringLiteral("--- Orphans not all listed: ") + listing.Error);
    return deletion.Deleted == listing.Files.size() && listing.Complete();
}

// One account of the run, from its file list to its disconnection.
struct AccountJob {
    AccountJob(SharedRun& shared, const QString& accountName, bool held)
        : name(accountName), section(Schema::UploadRecordSection(shared.in.Project, accountName)),
          lines(held ? std::make_unique<HeldHost>(shared.host) : nullptr),
          run(std::make_unique<UploadRun>(shared, lines ? *lines : shared.host))
    {
        account.name = accountName;
        tally.Account = accountName;
    }

    QString name;
    QString section;
    // The server the account publishes to ("ftp://host:port" as set), so
    // that two accounts on one server are never served at once.
    QString server;
    std::unique_ptr<HeldHost> lines; // while accounts are served at once
    std::unique_ptr<UploadRun> run;
    AccountRun account;
    AccountTally tally;
    bool settingsRead = false; // run->account holds its settings
    bool served = false;       // without a failure, or nothing to send
    // At once: the account's thread, whether it is done (under the run's
    // lock) and an error it could not handle, passed on once all are done.
    std::thread thread;
    bool finished = false;
    std::exception_ptr error;
};

// Reads what the account is sent and its settings; true when it has files
// to send. An account with none (or whose stamps cannot be read) is logged
// and done.
bool PrepareAccount(SharedRun& shared, AccountJob& job, const QStringList& files)
{
    UploadRun& run = *job.run;
    {
        const auto lock = run.LockStore();
        job.account.asides = run.store.ReadList(Schema::AccountSection(job.name), Schema::KeyAsideFiles);
    }
    try {
        const auto lock = run.LockStore();
        job.account.sends = FilesToSend(run.in.Mode, run.store, job.section, files, run.style,
                                        shared.clock ? shared.clock->Now() : QDateTime::currentDateTime());
        ReadAccountSettings(run.store, job.name, run.account);
        job.settingsRead = true;
    } catch (const TarnwellError& error) {
        // A damaged stamp or the like: this account fails, the next one is tried.
        run.host.Log(error.Message());
        run.summary.append(QStringLiteral("--- ") + job.name + QStringLiteral(": ") + error.Message());
        return false;
    }
    if (!job.account.sends.isEmpty())
        return true;
    const QString line =
        run.in.Project + QStringLiteral(" >>> ") + job.name + QStringLiteral(" No files need to be sent");
    run.host.Log(line);
    run.summary.append(line);
    job.served = true;
    return false;
}

// Connects, sends, moves, records and disconnects an account with files to send.
void ServeJob(AccountJob& job)
{
    UploadRun& run = *job.run;
    AccountRun& account = job.account;
    try {
        job.served = ServeAccount(run, account, job.section);
        // The orphans were listed before the run only when they are to go.
        if (job.served && run.orphans.contains(job.name))
            job.served = DeleteAccountOrphans(run, job.name);
    } catch (const TarnwellError& error) {
        // A damaged stamp or the like: this account fails, the next one is tried.
        run.host.Log(error.Message());
        run.summary.append(QStringLiteral("--- ") + job.name + QStringLiteral(": ") + error.Message());
        if (run.remote)
            run.remote->SetProgressSwitch(0);
    }
    if (run.remote)
        run.remote->Disconnect();
    run.remote.reset();
}

void Begin(SharedRun& shared)
{
    if (shared.begun)
        return;
    Call(shared.window.BeginOperation);
    shared.begun = true;
}

// The accounts one after another, on the calling thread.
void ServeInTurn(SharedRun& shared, std::vector<std::unique_ptr<AccountJob>>& jobs, const QStringList& files)
{
    for (const std::unique_ptr<AccountJob>& job : jobs) {
        if (!PrepareAccount(shared, *job, files))
            continue;
        Begin(shared);
        ServeJob(*job);
    }
}

// The server an account publishes to, as its settings name it; its own name
// when they cannot be read (it then fails on its own).
QString ServerOf(SharedRun& shared, const QString& accountName)
{
    try {
        const std::lock_guard<std::mutex> lock(shared.storeMutex);
        const TConnectionSettings settings = ReadAccountSettings(shared.store, accountName);
        const QString scheme =
            settings.Protocol == TRemoteProtocol::Sftp ? QStringLiteral("sftp://") : QStringLiteral("ftp://");
        return scheme + settings.Host.trimmed().toLower();
    } catch (const TarnwellError&) {
        return QStringLiteral("account:") + accountName;
    }
}

// Up to `atOnce` accounts with files to send served at the same time, each
// on a thread of its own, started in list order. The first account that is
// not finished writes to the run's host; the lines of those after it are
// held until it is their turn. The calling thread reads the store for the
// next account and calls BeginOperation, as in turn.
void ServeAtOnce(SharedRun& shared, std::vector<std::unique_ptr<AccountJob>>& jobs, const QStringList& files,
                 int atOnce)
{
    if (jobs.empty())
        return;
    std::mutex mutex;
    std::condition_variable ended;
    const size_t count = jobs.size();
    size_t next = 0;  // the next account to start
    size_t front = 0; // the first account not finished: its lines are written
    int running = 0;
    const auto finished = [&](size_t i) {
        const std::lock_guard<std::mutex> lock(mutex);
        return jobs[i]->finished;
    };
    const auto advance = [&] {
        while (front < count && finished(front))
            if (++front < count)
                jobs[front]->lines->Release();
    };
    // An account listed twice, or two accounts on one server, are not
    // served at the same time: they could share a temporary folder, and the
    // moves of one would take the other's files live half-sent.
    for (const std::unique_ptr<AccountJob>& job : jobs)
        job->server = ServerOf(shared, job->name);
    const auto busy = [&](size_t i) {
        for (size_t j = 0; j < i; ++j)
            if ((jobs[j]->name == jobs[i]->name || jobs[j]->server == jobs[i]->server) && !finished(j))
                return true;
        return false;
    };
    // Whatever ends the loop below (an error among it), every thread is
    // joined before the accounts' state goes.
    struct Joined {
        std::vector<std::unique_ptr<AccountJob>>& jobs;
        ~Joined()
        {
            for (const std::unique_ptr<AccountJob>& job : jobs)
                if (job->thread.joinable())
                    job->thread.join();
        }
    } joined{jobs};

    jobs.front()->lines->Release();
    while (front < count) {
        while (next < count && running < atOnce && !busy(next)) {
            AccountJob& job = *jobs[next++];
            if (!PrepareAccount(shared, job, files)) {
                const std::lock_guard<std::mutex> lock(mutex);
                job.finished = true;
                continue;
            }
            // The accounts before the first with files are all logged by now.
            advance();
            Begin(shared);
            ++running;
            job.thread = std::thread([&job, &mutex, &ended] {
                try {
                    ServeJob(job);
                } catch (...) {
                    job.error = std::current_exception();
                }
                {
                    const std::lock_guard<std::mutex> lock(mutex);
                    job.finished = true;
                }
                ended.notify_all();
            });
        }
        advance();
        if (front >= count)
            break;
        std::unique_lock<std::mutex> lock(mutex);
        const auto ending = [&] {
            for (const std::unique_ptr<AccountJob>& job : jobs)
                if (job->finished && job->thread.joinable())
                    return true;
            return running == 0;
        };
        ended.wait(lock, ending);
        for (const std::unique_ptr<AccountJob>& job : jobs)
            if (job->finished && job->thread.joinable()) {
                job->thread.join();
                --running;
            }
    }
    for (const std::unique_ptr<AccountJob>& job : jobs)
        if (job->error)
            std::rethrow_exception(job->error);
}

// The checks of a site mode before anything is sent; Ran when the user
// confirmed.
UploadStop CheckSiteRun(const SiteUploadInputs& in, const TSiteLists& lists, WorkingState& state,
                        Prompts& prompts, const SiteUploadWindow& window, const PathStyle& style)
{
    const auto show = [&window](UploadPage page) {
        if (window.ShowPage)
            window.ShowPage(page);
    };
    if (state.SelectionChanged && Ask(prompts, RescanQuestion)) {
        // The user starts the upload again once the lists are fresh.
        Call(window.Rescan);
        return UploadStop::Rescanned;
    }
    if (!lists.BrokenLinks().isEmpty() && !Ask(prompts, BrokenLinksQuestion, Question::BrokenLinks)) {
        show(UploadPage::BrokenLinks);
        return UploadStop::BrokenLinks;
    }
    if (!AllFilesExist(FilesOfMode(in.Mode, lists, state), style)) {
        prompts.ShowInfo(ProductCaption, FilesMissingText);
        show(UploadPage::SelectFiles);
        return UploadStop::FilesMissing;
    }
    Call(window.ClearLog);
    if (in.Accounts.isEmpty()) {
        prompts.ShowInfo(ProductCaption, NoAccountsText);
        show(UploadPage::SelectAccounts);
        return UploadStop::NoAccounts;
    }
    if (!Ask(prompts, UploadConfirmation(in.Mode, in.Accounts)))
        return UploadStop::NotConfirmed;
    return UploadStop::Ran;
}

// Before an Entire Site run that deletes orphans: each account's orphans
// are listed and the user agrees to their count, before anything is sent.
// A cancel here ends the run before any account is served.
UploadStop SurveyOrphans(SharedRun& shared, const QStringList& siteFiles, Prompts& prompts)
{
    Begin(shared);
    UploadRun run(shared, shared.host);
    const OrphanSite site{siteFiles, run.in.LocalHome, run.in.LocalRoot};
    QList<OrphanListing> listings;
    qsizetype total = 0;
    for (const QString& accountName : run.in.Accounts) {
        if (run.Cancelled())
            return UploadStop::Ran;
        OrphanListing listing;
        try {
            const TConnectionSettings account = ReadAccountSettings(run.store, accountName);
            listing = FindOrphans(run.ClientFor(account), run.host, site, account, run.style);
        } catch (const TarnwellError& error) {
            run.host.Log(error.Message());
            listing.Error = error.Message();
        }
        run.host.Log(QStringLiteral("Found on ") + accountName + QStringLiteral(": ") +
                     OrphanCount(listing.Files.size()));
        total += listing.Files.size();
        shared.orphans.insert(accountName, listing);
        listings.append(listing);
    }
    if (run.Cancelled() || total == 0)
        return UploadStop::Ran;
    return Ask(prompts, DeleteOrphansQuestion(run.in.Accounts, listings)) ? UploadStop::Ran
                                                                          : UploadStop::NotConfirmed;
}

} // namespace

QString UploadModeText(UploadMode mode)
{
    switch (mode) {
    case UploadMode::Changed:
        return QStringLiteral("All Checked files that have been changed since last upload");
    case UploadMode::AllChecked:
        return QStringLiteral("All Checked files");
    case UploadMode::EntireSite:
        return QStringLiteral("Entire site");
    case UploadMode::Software:
        break;
    }
    return QString();
}

QString UploadConfirmation(UploadMode mode, const QStringList& accounts)
{
    QString text = UploadModeText(mode) + QStringLiteral("\rWill be uploaded to the following account");
    if (accounts.size() > 1)
        text += QLatin1Char('s');
    text += QStringLiteral("\r\r");
    for (const QString& account : accounts)
        text += account + QLatin1Char('\r');
    return text + QStringLiteral("\rGo ahead?");
}

SiteUploadOutcome DoUpload(const SiteUploadInputs& inputs, const TSiteLists& lists,
                           const OperationContext& context, const SiteUploadWindow& window,
                           const PathStyle& style)
{
    context.Store(); // throws without a store, before any check
    WorkingState& state = context.state;
    OperationHost& host = context.host;
    Prompts& prompts = context.prompts;
    SiteUploadOutcome outcome;
    if (inputs.Project.isEmpty()) {
        prompts.ShowInfo(ProductCaption, NoProjectOpenText);
        outcome.Stop = UploadStop::NoProject;
        return outcome;
    }
    const bool software = inputs.Mode == UploadMode::Software;
    if (!software) {
        outcome.Stop = CheckSiteRun(inputs, lists, state, prompts, window, style);
        if (outcome.Stop != UploadStop::Ran)
            return outcome;
    }

    SharedRun shared(context, inputs, window, style);
    QStringList summary{QString(), software ? QStringLiteral("Summary of software site update operations")
                                            : QStringLiteral("Summary of site update operations")};
    if (!software)
        summary.append(UploadModeText(inputs.Mode));
    const QStringList files = FilesOfMode(inputs.Mode, lists, state);
    // A site without files goes live nowhere, so nothing would be deleted.
    bool cancelledBefore = false;
    if (inputs.DeleteOrphans && inputs.Mode == UploadMode::EntireSite && !files.isEmpty()) {
        outcome.Stop = SurveyOrphans(shared, files, prompts);
        if (outcome.Stop != UploadStop::Ran) {
            Call(window.EndOperation);
            return outcome;
        }
        cancelledBefore = host.Cancelled();
    }
    const int atOnce = std::min(inputs.AccountsAtOnce, int(inputs.Accounts.size()));
    std::vector<std::unique_ptr<AccountJob>> jobs;
    if (!cancelledBefore)
        for (const QString& account : inputs.Accounts)
            jobs.push_back(std::make_unique<AccountJob>(shared, account, atOnce > 1));
    if (atOnce > 1)
        ServeAtOnce(shared, jobs, files, atOnce);
    else
        ServeInTurn(shared, jobs, files);
    for (const std::unique_ptr<AccountJob>& job : jobs) {
        AccountTally& tally = job->tally;
        tally.ToSend = int(job->account.sends.size());
        tally.Sent = job->account.sent;
        tally.Moved = job->account.moved;
        tally.Connected = job->account.loggedIn;
        tally.Served = job->served;
        if (!job->served)
            outcome.FailedAccounts.append(job->name);
        outcome.Accounts.append(tally);
        summary.append(job->run->summary);
        if (job->settingsRead)
            state.CurrentAccount = job->run->account;
    }

    outcome.Cancelled = shared.begun && host.Cancelled();
    if (outcome.Cancelled)
        host.Log(QStringLiteral("You cancelled"));
    Call(window.EndOperation);
    for (const QString& line : std::as_const(summary))
        host.Log(line);
    host.Log(QStringLiteral("End of summary"));
    return outcome;
}
