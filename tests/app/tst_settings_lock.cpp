// Two real processes that write one settings file, each with its own runtime
// and temporary folder (as cron, CI or sudo -E give them): the second refuses
// while the first runs, and a first killed with -9 leaves nothing that blocks.
#include "UploadFixture.h"
#include "settings/StoreSetup.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <functional>

namespace {

QProcessEnvironment EnvironmentIn(const TestFolder& folder, const QString& name)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString runtime = folder.MakeFolder(name + QStringLiteral("/runtime"));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("TMPDIR"), folder.MakeFolder(name + QStringLiteral("/tmp")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// Until `holds` is true, while the process runs.
bool WaitUntil(const QProcess& process, const std::function<bool()>& holds)
{
    QDeadlineTimer deadline(60000);
    while (!holds()) {
        if (deadline.hasExpired() || process.state() != QProcess::Running)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// The lock file beside the settings file names the process.
bool Holding(const QProcess& process)
{
    const QByteArray mark = "(process " + QByteArray::number(process.processId()) + ")";
    return ReadFileBytes(StoreFilePath() + QStringLiteral(".lock")).contains(mark);
}

const QStringList Upload{"upload", "Shop", "--mode", "updated", "--yes"};

} // namespace

class SettingsLockTest : public QObject {
    Q_OBJECT
private slots:
    void SecondWriter_data()
    {
        QTest::addColumn<QString>(
            "first");                     // what runs first: "upload" (stalled at its first file) or "window"
        QTest::addColumn<bool>("killed"); // the first is killed with -9 before the second starts
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        QTest::newRow("upload runs") << "upload" << false << 2 << "is in use by tarnwell-cli (process ";
        QTest::newRow("upload killed") << "upload" << true << 0 << "";
#ifdef TARNWELL_PROGRAM
        QTest::newRow("window runs") << "window" << false << 2 << "is in use by Tarnwell (process ";
        QTest::newRow("window killed") << "window" << true << 0 << "";
#endif
    }
    void SecondWriter()
    {
        QFETCH(QString, first);
        QFETCH(bool, killed);
        QFETCH(int, exitCode);
        QFETCH(QString, err);

        TestFolder dataHome(true);
        RecordingPrompts prompts;
        auto store = std::make_unique<TAppData>();
        QVERIFY(SetUpStore(*store, prompts));
        UploadFixture fx(store.get());
        FtpTestServer::Options stalls;
        stalls.DelayOnce = {QStringLiteral("STOR:60")};
        FtpTestServer& live = fx.AddAccount("Live", first == "upload" ? stalls : FtpTestServer::Options{});
        store->Save();
        store.reset();

        QProcess running;
        running.setProcessEnvironment(EnvironmentIn(dataHome, "first"));
        if (first == "upload")
            running.start(QStringLiteral(TARNWELL_CLI), Upload);
#ifdef TARNWELL_PROGRAM
        else
            running.start(QStringLiteral(TARNWELL_PROGRAM), {});
#endif
        QVERIFY(running.waitForStarted());
        QVERIFY(WaitUntil(running, [&running] { return Holding(running); }));
        // An upload is left at its first file, which the server holds.
        if (first == "upload")
            QVERIFY(WaitUntil(running, [&live] { return live.Commands().join(' ').contains("STOR "); }));
        if (killed) {
            running.kill();
            QVERIFY(running.waitForFinished(10000));
        }

        QProcess second;
        second.setProcessEnvironment(EnvironmentIn(dataHome, "second"));
        second.start(QStringLiteral(TARNWELL_CLI), Upload);
        second.closeWriteChannel();
        QVERIFY(second.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(second.readAllStandardError());
        QVERIFY2(second.exitCode() == exitCode, qPrintable(errors));
        QVERIFY2(errors.contains(err), qPrintable(errors));
        running.kill();
        running.waitForFinished(10000);

        // What the second command sent is recorded; a refused one left the file alone.
        store = std::make_unique<TAppData>();
        QVERIFY(SetUpStore(*store, prompts));
        fx.store = store.get();
        QCOMPARE(fx.Stamp("Live", "www/index.html"), exitCode == 0 ? fx.Age("www/index.html") : 0);
        QCOMPARE(live.Exists("/public_html/index.html"), exitCode == 0);
    }
};

QTEST_GUILESS_MAIN(SettingsLockTest)
#include "tst_settings_lock.moc"
