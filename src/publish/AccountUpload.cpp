#include "UploadRun.h"

#include "RemoteFolders.h"
#include "RemotePaths.h"
#include "projects/AccountStore.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
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

} // namespace

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
