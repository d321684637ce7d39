#pragma once

#include "publish/FtpTransport.h"
#include "util/PathStyle.h"

#include <QString>
#include <QStringList>

#include <functional>

class TSiteLists;
struct OperationContext;

// What a run sends to each account: only the files changed since the last
// upload to it (Changed, Software) or every file considered. The site modes
// consider the Files list of the scan (Changed, AllChecked) or every file
// it found (EntireSite); Software sends the installer upload's files.
enum class UploadMode { Changed, AllChecked, EntireSite, Software };

// The texts of the checks before a run.
inline const QString NoProjectOpenText = QStringLiteral("No project open!");
inline const QString RescanQuestion = QStringLiteral(
    "You've made some changes to the files selection, a re-scan is recommended\r\rRe-scan now?");
inline const QString BrokenLinksQuestion =
    QStringLiteral("There seem to be broken links do you want to ignore them?");
inline const QString FilesMissingText = QStringLiteral(
    "One or more files has been deleted, renamed or moved since the list was compiled\rPlease re-scan");
inline const QString NoAccountsText = QStringLiteral("There are no Accounts selected for this project!");

// The line that names the mode in the confirmation and in the summary
// (empty for Software, which asks nothing).
QString UploadModeText(UploadMode mode);
// "Go ahead?" with the mode and the accounts the run would serve.
QString UploadConfirmation(UploadMode mode, const QStringList& accounts);

// What a run reads, as it stands when its button is pressed.
struct SiteUploadInputs {
    UploadMode Mode = UploadMode::Changed;
    QString Project;      // lblEditingProject
    QString LocalRoot;    // lbeLocalRoot
    QString LocalHome;    // lbeLocalHome
    QStringList Accounts; // lbxUploadSites, in the order they are served
    FtpTimeouts Timeouts = {};
    // Entire Site only ("Delete orphans"): the files each server holds that
    // no file of the site maps to are listed before anything is sent and,
    // once the user agreed to their count, deleted from each account whose
    // site went live without any failure.
    bool DeleteOrphans = false;
    // How many accounts with files to send are served at the same time, each
    // on a thread of its own; 1 serves them one after another. The log reads
    // the same either way (see DoUpload).
    int AccountsAtOnce = 1;
};

// What the window and the command line serve at once: servers far away
// keep each account waiting on its answers far longer than on its work.
inline constexpr int DefaultAccountsAtOnce = 4;

// The pages a refused check brings to the front.
enum class UploadPage { BrokenLinks, SelectFiles, SelectAccounts };

// What the run asks of the window (or the command line) that shows it.
// Every member may be empty.
struct SiteUploadWindow {
    // Scan Files: the re-scan the user accepted; the run stops after it.
    std::function<void()> Rescan;
    std::function<void(UploadPage)> ShowPage;
    // Empties the site upload log (the site modes do, once the files check passed).
    std::function<void()> ClearLog;
    // Disables the main window and shows the cancel window "Cancel Upload";
    // called once, when the first account with files to send is served.
    std::function<void()> BeginOperation;
    // Enables the main window and closes the cancel window; called before
    // the summary is logged, whether or not BeginOperation was.
    std::function<void()> EndOperation;
};

// Where a run stopped.
enum class UploadStop {
    Ran,          // served the accounts and logged the summary
    NoProject,    // "No project open!"
    Rescanned,    // the user accepted the re-scan
    BrokenLinks,  // the user would not ignore the broken links
    FilesMissing, // a listed file is gone
    NoAccounts,   // no account selected
    NotConfirmed, // No to "Go ahead?" or to deleting the orphans
};

// What a run did for one account, for the command line's report.
struct AccountTally {
    QString Account;
    int ToSend = 0;         // files the mode chose for it
    int Sent = 0;           // arrived whole in its temporary folder
    int Moved = 0;          // moved into place: live now
    bool Connected = false; // logged in (nothing to send: not tried)
    bool Served = false;    // without any failure, or nothing to send
};

struct SiteUploadOutcome {
    UploadStop Stop = UploadStop::Ran;
    bool Cancelled = false;
    // Accounts that had files to send but were not served without a failure.
    QStringList FailedAccounts;
    // Every account the run came to, in order.
    QList<AccountTally> Accounts;

    // The run reached its summary: Save Log may be used.
    bool ReachedSummary() const { return Stop == UploadStop::Ran; }
    // Every account was served (or needed nothing) and nobody cancelled.
    bool Succeeded() const { return ReachedSummary() && !Cancelled && FailedAccounts.isEmpty(); }
};

// The site upload (and, in mode Software, the installer upload): the checks
// before a run, the confirmation, then each account in turn. An account's
// files go first into TempUploadFolder and are moved into place only when
// all of them arrived whole (the server's sizes match); a failure or a
// cancel before the moves leaves its live site untouched, and a move that
// fails leaves the old file or the new one live (MoveRemoteFile). Live files
// a move left aside are settled first thing by the next connection to the
// account (and at once after a connection lost while moving). The upload stamps ("ULF-" sections, in
// `store`'s memory only: the caller saves) are written for an account served without any failure, with each
// file's Age as it was before it was sent. One account's failure never stops the next one.
//
// With AccountsAtOnce above 1 several accounts are served at the same time.
// The log is still what one after another would write: each account's lines
// together, in the order of Accounts; the lines (and bars) of an account
// are held until every account before it is finished. The store and the
// certificate decisions are used by one account at a time. A cancel stops
// each account where it reads the flag.
//
// `lists` are the scan's lists (read once the re-scan question is past);
// Software mode sends state.InstallerUploadFiles instead. state.CurrentAccount
// holds the last account served once the run ends. The cancel flag is read only once the
// operation has begun (BeginOperation), so a flag left from an earlier run
// counts for nothing. The context's certificate decision decides on a server
// certificate the system does not trust; its store is needed.
SiteUploadOutcome DoUpload(const SiteUploadInputs& inputs, const TSiteLists& lists,
                           const OperationContext& context, const SiteUploadWindow& window,
                           const PathStyle& style = PathStyle::Native());
