// Publishing speed: a generated site of 1,000 small files and 50 larger
// ones sent with "ALL" to a local test FTP server, timed beside lftp's
// "mirror -R" of the same folder to a second server (when lftp is
// installed), and an "Updated" run when nothing changed.
//   bench_publish [--small N] [--large N] [--large-kb N]
#include "FtpTestServer.h"
#include "RecordingPrompts.h"
#include "TestStore.h"
#include "projects/AccountStore.h"
#include "projects/OperationContext.h"
#include "projects/ProjectStore.h"
#include "projects/WorkingState.h"
#include "publish/SiteUpload.h"
#include "settings/SettingsSchema.h"
#include "site/SiteLists.h"
#include "util/OperationHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

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

    const QString site = root.filePath(QStringLiteral("site"));
    const QString home = site + QStringLiteral("/www");
    TSiteLists lists;
    qint64 bytes = 0;
    const auto write = [&](const QString& relative, const QByteArray& contents) {
        const QString path = home + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write %s", qPrintable(path));
        lists.AppendFile(path, true);
        lists.AddLocalFile(path);
        bytes += contents.size();
    };
    for (int i = 0; i < small; ++i)
        write(QStringLiteral("pages/%1/page%2.html").arg(i / 100).arg(i),
              QByteArray("<p>page ") + QByteArray::number(i) + QByteArray(900, 'x') + "</p>\n");
    for (int i = 0; i < large; ++i)
        write(QStringLiteral("files/big%1.bin").arg(i), QByteArray(largeKb * 1024, char('a' + i % 26)));
    Print(QStringLiteral("site: %1 files, %2 MB")
              .arg(small + large)
              .arg(double(bytes) / (1024 * 1024), 0, 'f', 1));

    FtpTestServer ours;
    if (!ours.IsRunning())
        qFatal("the test FTP server did not start: %s", qPrintable(ours.Error()));
    TestStore store;
    const TConnectionSettings account = ours.Account(QStringLiteral("Bench"));
    TAccountFields accountFields;
    accountFields.Name = QStringLiteral("Bench");
    accountFields.Host = account.Host;
    accountFields.User = account.UserName;
    accountFields.Pass = account.Password;
    accountFields.InstallerPath = accountFields.PhpPath = accountFields.LinkUploadPath = QStringLiteral("/");
    accountFields.ServerHome = accountFields.ServerRoot = QStringLiteral("/");
    SaveAccount(*store, accountFields);
    TProjectFields fields;
    fields.LocalRoot = site;
    fields.LocalHome = home;
    fields.Sites = {QStringLiteral("Bench")};
    SaveProject(*store, QStringLiteral("Bench"), fields);

    WorkingState state;
    QuietHost host;
    RecordingPrompts prompts;
    prompts.SetDefaultAnswer(IDYES);
    const SiteUploadInputs all{UploadMode::AllChecked, QStringLiteral("Bench"), site, home, fields.Sites};
    QElapsedTimer timer;
    timer.start();
    const SiteUploadOutcome sent = DoUpload(all, lists, {&*store, state, host, prompts}, {});
    const qint64 oursMs = timer.elapsed();
    if (!sent.Succeeded())
        qFatal("the ALL run failed");
    Print(QStringLiteral("tarnwell ALL:      %1 s").arg(oursMs / 1000.0, 0, 'f', 2));

    SiteUploadInputs updated = all;
    updated.Mode = UploadMode::Changed;
    timer.restart();
    DoUpload(updated, lists, {&*store, state, host, prompts}, {});
    Print(QStringLiteral("tarnwell Updated, nothing changed: %1 s").arg(timer.elapsed() / 1000.0, 0, 'f', 3));

    const QString lftp = QStandardPaths::findExecutable(QStringLiteral("lftp"));
    if (lftp.isEmpty()) {
        Print(QStringLiteral("lftp: not installed, skipped (apt-get install lftp)"));
        return 0;
    }
    FtpTestServer theirs;
    QProcess mirror;
    mirror.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString script =
        QStringLiteral("set ftp:passive-mode on; set net:max-retries 1; set ftp:ssl-allow no; "
                       "mirror -R --no-perms \"%1\" /; quit")
            .arg(home);
    timer.restart();
    mirror.start(lftp,
                 {QStringLiteral("-u"), FtpTestServer::User() + QLatin1Char(',') + FtpTestServer::Password(),
                  QStringLiteral("-p"), QString::number(theirs.Port()), QStringLiteral("-e"), script,
                  QStringLiteral("127.0.0.1")});
    if (!mirror.waitForFinished(30 * 60 * 1000) || mirror.exitCode() != 0)
        qFatal("lftp failed");
    const qint64 lftpMs = timer.elapsed();
    Print(QStringLiteral("lftp mirror -R:    %1 s").arg(lftpMs / 1000.0, 0, 'f', 2));
    Print(QStringLiteral("ratio tarnwell/lftp: %1 (goal: at most 1.5)")
              .arg(double(oursMs) / qMax<qint64>(lftpMs, 1), 0, 'f', 2));
    return 0;
}
