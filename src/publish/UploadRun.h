#pragma once

// What the site upload's files share while they serve a run: the run's
// common part, one account's own, and the serving of one account.

#include "CertificateTrust.h"
#include "ConnectionPool.h"
#include "FolderMoves.h"
#include "KnownFolders.h"
#include "RemoteClientFactory.h"
#include "ServerOrphans.h"
#include "SiteUpload.h"
#include "UploadSelection.h"
#include "projects/OperationContext.h"
#include "util/OperationHost.h"

#include <QHash>
#include <QStringList>

#include <memory>
#include <mutex>

class TAppData;
class Clock;
struct WorkingState;

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

// Connects, sends, moves and records one account that has files to send.
// True when it was served without any failure.
bool ServeAccount(UploadRun& run, AccountRun& account, const QString& section);
// Deletes the orphans agreed to for an account whose site went live; false
// when any stays (or the listing before the run was not complete).
bool DeleteAccountOrphans(UploadRun& run, const QString& accountName);
