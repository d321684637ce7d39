#include "SiteUpload.h"

#include "HeldHost.h"
#include "ServerOrphans.h"
#include "UploadRun.h"
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

#include <QHash>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

void Call(const std::function<void()>& command)
{
    if (command)
        command();
}

bool Ask(Prompts& prompts, const QString& question, Question kind = Question::Other)
{
    return prompts.AskAbout(kind, ProductCaption, question, MB_YESNO) == IDYES;
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
