// Publishing speed: a generated site of small and larger files sent with
// "Entire Site" to a local test FTP server, timed beside lftp's "mirror -R"
// of the same folder, with one connection and with four (when lftp is
// installed), each to a server of its own; then an "Updated" run when
// nothing changed, over many files and several accounts.
//   bench_publish [--small N] [--large N] [--large-kb N] [--delay-ms N]
//                 [--updated-files N] [--updated-accounts N] [--connections N]
//                 [--accounts N] [--accounts-files N]
// --delay-ms makes every server wait that long before each command, as a
// server far away seems; the account has its default connections unless
// --connections says otherwise. --accounts times "All Checked" of a small
// site to that many accounts, each on a server of its own, served one after
// another and then at the same time.
#include "FtpTestServer.h"
#include "RecordingPrompts.h"
#include "TestFolder.h"
#include "TestStore.h"
#include "projects/AccountStore.h"
#include "projects/OperationContext.h"
#include "projects/ProjectStore.h"
#include "projects/WorkingState.h"
#include "publish/SiteUpload.h"
#include "publish/UploadSelection.h"
#include "settings/SettingsSchema.h"
#include "site/SiteLists.h"
#include "util/OperationHost.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// The log and bars go nowhere: the benchmark times the transfers alone.
class QuietHost : public OperationHost {
public:
    void Log(const QString&) override {}
    void AppendToLastLine(const QString&) override {}
    void SetFileProgress(qint64, qint64) override {}
    void SetOverallProgress(qint64, qint64) override {}
    bool Cancelled() override { return false; }
};

int Option(const QStringList& args, const QString& name, int fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}

void Print(const QString& text)
{
    std::puts(text.toLocal8Bit().constData());
    std::fflush(stdout);
}

QString Seconds(qint64 ms)
{
    return QString::number(ms / 1000.0, 'f', 2) + QStringLiteral(" s");
}

// A generated site under `home`, every file dated a minute back so that
// the stamps of a run are all recorded.
struct Site {
    QString root;
    QString home;
    TSiteLists lists;
    qint64 bytes = 0;
    int files = 0;

    void Write(const QString& relative, const QByteArray& contents)
    {
        const QString path = home + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write %s", qPrintable(path));
        file.close();
        SetFileModified(path, QDateTime::currentDateTime().addSecs(-60));
        lists.AppendFile(path, true);
        lists.AddLocalFile(path);
        bytes += contents.size();
        ++files;
    }
};

void MakeSite(Site& site, const QString& root, int small, int large, int largeKb)
{
    site.root = root;
    site.home = root + QStringLiteral("/www");
    for (int i = 0; i < small; ++i)
        site.Write(QStringLiteral("pages/%1/page%2.html").arg(i / 100).arg(i),
                   QByteArray("<p>page ") + QByteArray::number(i) + QByteArray(900, 'x') + "</p>\n");
    for (int i = 0; i < large; ++i)
        site.Write(QStringLiteral("files/big%1.bin").arg(i), QByteArray(largeKb * 1024, char('a' + i % 26)));
}

void AddAccount(TAppData& store, const QString& name, const QString& host,
                int connections = DefaultConnections)
{
    TAccountFields account;
    account.Connections = connections;
    account.Name = name;
    account.Host = host;
    account.User = FtpTestServer::User();
    account.Pass = FtpTestServer::Password();
    account.InstallerPath = account.PhpPath = account.LinkUploadPath = QStringLiteral("/");
    account.ServerHome = account.ServerRoot = QStringLiteral("/");
    SaveAccount(store, account);
}

void AddProject(TAppData& store, const QString& name, const Site& site, const QStringList& accounts)
{
    TProjectFields fields;
    fields.LocalRoot = site.root;
    fields.LocalHome = site.home;
    fields.Sites = accounts;
    SaveProject(store, name, fields);
}

// lftp's mirror of the site to a server of its own; its time in ms.
qint64 Mirror(const QString& lftp, const Site& site, const FtpTestServer::Options& options, int parallel,
              qint64* commands)
{
    FtpTestServer theirs(options);
    QProcess mirror;
    mirror.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString script =
        QStringLiteral("set ftp:passive-mode on; set net:max-retries 1; set ftp:ssl-allow no; "
                       "mirror -R --no-perms %1 \"%2\" /; quit")
            .arg(parallel > 1 ? QStringLiteral("--parallel=%1").arg(parallel) : QString(), site.home);
    QElapsedTimer timer;
    timer.start();
    mirror.start(lftp,
                 {QStringLiteral("-u"), FtpTestServer::User() + QLatin1Char(',') + FtpTestServer::Password(),
                  QStringLiteral("-p"), QString::number(theirs.Port()), QStringLiteral("-e"), script,
                  QStringLiteral("127.0.0.1")});
    if (!mirror.waitForFinished(30 * 60 * 1000) || mirror.exitCode() != 0)
        qFatal("lftp failed");
    const qint64 ms = timer.elapsed();
    *commands = theirs.Commands().size();
    return ms;
}

// "Updated" with nothing changed, over `files` files and `accounts` accounts
// whose every stamp is recorded; the accounts point at a port nobody
// listens on, so a connection would fail the run.
void TimeNothingToSend(const QString& root, int files, int accounts)
{
    Site site;
    MakeSite(site, root, files, 0, 0);
    TestStore store;
    QStringList names;
    for (int i = 1; i <= accounts; ++i) {
        names.append(QStringLiteral("Account%1").arg(i));
        AddAccount(*store, names.last(), QStringLiteral("127.0.0.1:1"));
        const QString section = Schema::UploadRecordSection(QStringLiteral("Still"), names.last());
        RecordStamps(*store, section,
                     FilesToSend(UploadMode::AllChecked, *store, section, site.lists.LocalFiles(),
                                 PathStyle::Native()));
    }
    AddProject(*store, QStringLiteral("Still"), site, names);
    WorkingState state;
    QuietHost host;
    RecordingPrompts prompts;
    prompts.SetDefaultAnswer(IDYES);
    QElapsedTimer timer;
    timer.start();
    const SiteUploadOutcome outcome =
        DoUpload({UploadMode::Changed, QStringLiteral("Still"), site.root, site.home, names}, site.lists,
                 {&*store, state, host, prompts}, {});
    const qint64 ms = timer.elapsed();
    if (!outcome.Succeeded())
        qFatal("the Updated run connected or failed");
    Print(QStringLiteral("tarnwell Updated, nothing to send, %1 files, %2 accounts: %3 (goal: under 1 s, "
                         "no connection)")
              .arg(files)
              .arg(accounts)
              .arg(QString::number(ms / 1000.0, 'f', 3) + QStringLiteral(" s")));
}

// "All Checked" of `files` small files to `accounts` accounts, each on a
// fresh server of its own, served `atOnce` at a time; its time in ms.
qint64 TimeAccounts(const Site& site, const FtpTestServer::Options& options, int accounts, int atOnce)
{
    std::vector<std::unique_ptr<FtpTestServer>> servers;
    TestStore store;
    QStringList names;
    for (int i = 1; i <= accounts; ++i) {
        servers.push_back(std::make_unique<FtpTestServer>(options));
        if (!servers.back()->IsRunning())
            qFatal("the test FTP server did not start");
        names.append(QStringLiteral("Account%1").arg(i));
        AddAccount(*store, names.last(), servers.back()->HostText());
    }
    AddProject(*store, QStringLiteral("Many"), site, names);
    WorkingState state;
    QuietHost host;
    RecordingPrompts prompts;
    prompts.SetDefaultAnswer(IDYES);
    SiteUploadInputs inputs{UploadMode::AllChecked, QStringLiteral("Many"), site.root, site.home, names};
    inputs.AccountsAtOnce = atOnce;
    QElapsedTimer timer;
    timer.start();
    const SiteUploadOutcome outcome = DoUpload(inputs, site.lists, {&*store, state, host, prompts}, {});
    const qint64 ms = timer.elapsed();
    if (!outcome.Succeeded())
        qFatal("the All Checked run to several accounts failed");
    return ms;
}

void TimeManyAccounts(const QString& root, const FtpTestServer::Options& options, int files, int accounts)
{
    Site site;
    MakeSite(site, root, files, 0, 0);
    const qint64 inTurn = TimeAccounts(site, options, accounts, 1);
    const qint64 atOnce = TimeAccounts(site, options, accounts, DefaultAccountsAtOnce);
    Print(QStringLiteral("tarnwell All Checked, %1 files to %2 accounts (server delay %3 ms): one after "
                         "another %4, %5 at once %6")
              .arg(files)
              .arg(accounts)
              .arg(options.DelayMs)
              .arg(Seconds(inTurn))
              .arg(DefaultAccountsAtOnce)
              .arg(Seconds(atOnce)));
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir root;
    // Never the user's own settings: a data folder of the run's own.
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath(QStringLiteral("data"))));
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int small = Option(args, QStringLiteral("--small"), 1000);
    const int large = Option(args, QStringLiteral("--large"), 50);
    const int largeKb = Option(args, QStringLiteral("--large-kb"), 1024);
    FtpTestServer::Options options;
    options.DelayMs = Option(args, QStringLiteral("--delay-ms"), 0);

    Site site;
    MakeSite(site, root.filePath(QStringLiteral("site")), small, large, largeKb);
    Print(QStringLiteral("site: %1 files, %2 MB; server delay %3 ms a command")
              .arg(site.files)
              .arg(double(site.bytes) / (1024 * 1024), 0, 'f', 1)
              .arg(options.DelayMs));

    FtpTestServer ours(options);
    if (!ours.IsRunning())
        qFatal("the test FTP server did not start: %s", qPrintable(ours.Error()));
    TestStore store;
    AddAccount(*store, QStringLiteral("Bench"), ours.HostText(),
               Option(args, QStringLiteral("--connections"), DefaultConnections));
    AddProject(*store, QStringLiteral("Bench"), site, {QStringLiteral("Bench")});
    const int connections = ReadAccountSettings(*store, QStringLiteral("Bench")).Connections;

    WorkingState state;
    QuietHost host;
    RecordingPrompts prompts;
    prompts.SetDefaultAnswer(IDYES);
    const SiteUploadInputs entire{
        UploadMode::EntireSite, QStringLiteral("Bench"), site.root, site.home, {QStringLiteral("Bench")}};
    QElapsedTimer timer;
    timer.start();
    const SiteUploadOutcome sent = DoUpload(entire, site.lists, {&*store, state, host, prompts}, {});
    const qint64 oursMs = timer.elapsed();
    if (!sent.Succeeded())
        qFatal("the Entire Site run failed");
    const double perFile = double(ours.Commands().size()) / site.files;
    Print(QStringLiteral("tarnwell Entire Site (%1 connections): %2, %3 commands a file")
              .arg(connections)
              .arg(Seconds(oursMs))
              .arg(perFile, 0, 'f', 1));
    QMap<QString, int> verbs;
    for (const QString& command : ours.Commands())
        ++verbs[command.section(QLatin1Char(' '), 0, 0)];
    QStringList counts;
    for (auto it = verbs.cbegin(); it != verbs.cend(); ++it)
        counts.append(QStringLiteral("%1 %2").arg(it.key()).arg(it.value()));
    Print(QStringLiteral("  commands: ") + counts.join(QStringLiteral(", ")));

    SiteUploadInputs updated = entire;
    updated.Mode = UploadMode::Changed;
    timer.restart();
    DoUpload(updated, site.lists, {&*store, state, host, prompts}, {});
    Print(QStringLiteral("tarnwell Updated, nothing changed: %1 s").arg(timer.elapsed() / 1000.0, 0, 'f', 3));

    TimeNothingToSend(root.filePath(QStringLiteral("still")),
                      Option(args, QStringLiteral("--updated-files"), 10000),
                      Option(args, QStringLiteral("--updated-accounts"), 3));
    TimeManyAccounts(root.filePath(QStringLiteral("many")), options,
                     Option(args, QStringLiteral("--accounts-files"), 20),
                     Option(args, QStringLiteral("--accounts"), 3));

    const QString lftp = QStandardPaths::findExecutable(QStringLiteral("lftp"));
    if (lftp.isEmpty()) {
        Print(QStringLiteral("lftp: not installed, skipped (apt-get install lftp)"));
        return 0;
    }
    for (const int parallel : {1, 4}) {
        qint64 commands = 0;
        const qint64 ms = Mirror(lftp, site, options, parallel, &commands);
        Print(QStringLiteral("lftp mirror -R%1: %2, %3 commands a file; tarnwell/lftp %4")
                  .arg(parallel > 1 ? QStringLiteral(" --parallel=%1").arg(parallel) : QString())
                  .arg(Seconds(ms))
                  .arg(double(commands) / site.files, 0, 'f', 1)
                  .arg(double(oursMs) / qMax<qint64>(ms, 1), 0, 'f', 2));
    }
    return 0;
}
