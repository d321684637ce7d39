#include "util/SingleInstance.h"

#include "TestFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <cstdio>

namespace {

const char HelperVariable[] = "TARNWELL_LOCK_HELPER";

// Run as a child of the test: take the lock in the given folder, say so,
// and hold it until killed.
int RunLockHelper(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SingleInstanceGuard guard(qEnvironmentVariable(HelperVariable));
    std::puts(guard.TryAcquire() ? "locked" : "refused");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void LockFileIsNamedAfterTheGuid()
    {
        static const QRegularExpression guidForm(
            QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
        QVERIFY(guidForm.match(QString::fromLatin1(InstanceGuid)).hasMatch());

        TestFolder folder;
        SingleInstanceGuard guard(folder.Path());
        QCOMPARE(QFileInfo(guard.LockFilePath()).fileName(), QString::fromLatin1(InstanceGuid) + ".lock");
        QVERIFY(guard.TryAcquire());
        QVERIFY(QFile::exists(folder.FilePath(QString::fromLatin1(InstanceGuid) + ".lock")));
        guard.Release();
        QVERIFY(!QFile::exists(guard.LockFilePath()));
    }

    void SecondGuardIsRefusedUntilTheFirstLetsGo()
    {
        TestFolder folder;
        SingleInstanceGuard first(folder.Path());
        SingleInstanceGuard second(folder.Path());
        QCOMPARE(first.Acquire(), SingleInstanceGuard::Outcome::Acquired);
        QCOMPARE(second.Acquire(), SingleInstanceGuard::Outcome::AnotherRuns);
        QVERIFY(!second.IsHeld());
        // Asking again changes nothing for either side.
        QCOMPARE(first.Acquire(), SingleInstanceGuard::Outcome::Acquired);
        QCOMPARE(second.Acquire(), SingleInstanceGuard::Outcome::AnotherRuns);

        first.Release();
        QCOMPARE(second.Acquire(), SingleInstanceGuard::Outcome::Acquired);
        QCOMPARE(first.Acquire(), SingleInstanceGuard::Outcome::AnotherRuns);
    }

    void DestroyedGuardLetsTheNextCopyRun()
    {
        TestFolder folder;
        {
            SingleInstanceGuard first(folder.Path());
            QVERIFY(first.TryAcquire());
        }
        SingleInstanceGuard next(folder.Path());
        QVERIFY(next.TryAcquire());
    }

    void LongRunningCopyKeepsItsLock()
    {
        TestFolder folder;
        SingleInstanceGuard first(folder.Path());
        QVERIFY(first.TryAcquire());
        // The first copy has been running for hours: its lock is not stale.
        QFile lockFile(first.LockFilePath());
        QVERIFY(lockFile.open(QIODevice::ReadWrite));
        const QDateTime hoursAgo = QDateTime::currentDateTime().addSecs(-3 * 3600);
        QVERIFY(lockFile.setFileTime(hoursAgo, QFileDevice::FileModificationTime));
        lockFile.close();

        SingleInstanceGuard second(folder.Path());
        QCOMPARE(second.Acquire(), SingleInstanceGuard::Outcome::AnotherRuns);
        QVERIFY(QFile::exists(first.LockFilePath()));
    }

    void LockOfAnotherProcessBlocksUntilThatProcessDies()
    {
        TestFolder folder;
        QProcess helper;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(HelperVariable), folder.Path());
        helper.setProcessEnvironment(env);
        helper.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(helper.waitForStarted());
        QVERIFY(helper.waitForReadyRead(10000));
        QCOMPARE(helper.readLine().trimmed(), QByteArray("locked"));

        SingleInstanceGuard second(folder.Path());
        QCOMPARE(second.Acquire(), SingleInstanceGuard::Outcome::AnotherRuns);

        // A crash leaves the lock file behind; it must not block for ever.
        helper.kill();
        QVERIFY(helper.waitForFinished(10000));
        QVERIFY(QFile::exists(second.LockFilePath()));
        QCOMPARE(second.Acquire(), SingleInstanceGuard::Outcome::Acquired);
    }

    void MissingFolderIsAFailureNotAnotherCopy()
    {
        TestFolder folder;
        SingleInstanceGuard guard(folder.FilePath(QStringLiteral("no/such/folder")));
        QCOMPARE(guard.Acquire(), SingleInstanceGuard::Outcome::Failed);
        QVERIFY(!guard.ErrorText().isEmpty());
    }

    void DefaultFolderIsTheRuntimeFolder()
    {
        TestFolder runtime;
        QFile::setPermissions(runtime.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const bool hadRuntime = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime.Path().toLocal8Bit());
        const QString chosen = SingleInstanceGuard::DefaultFolder();
        if (hadRuntime)
            qputenv("XDG_RUNTIME_DIR", old);
        else
            qunsetenv("XDG_RUNTIME_DIR");
        QCOMPARE(QDir(chosen).canonicalPath(), QDir(runtime.Path()).canonicalPath());
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(HelperVariable))
        return RunLockHelper(argc, argv);
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
