#include "TestFolder.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"
#include "util/SingleInstance.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QThread>

// The real program started twice: the second copy ends at once, without a
// window and without touching the settings file of the first.
class SecondInstance : public QObject {
    Q_OBJECT
private slots:
    void SecondStartEndsAtOnceAndTouchesNothing()
    {
        TestFolder folder(true);
        const QString runtime = folder.MakeFolder(QStringLiteral("runtime"));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        // A settings file from an earlier run.
        QString settingsPath;
        {
            TAppData store;
            const TStoreNames names = StoreNames();
            QVERIFY(store.SetConfigFile(names.Company, names.Product, names.FileName, names.Passphrase));
            store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, {"Alpha"});
            store.Save();
            settingsPath = store.FilePath();
        }
        const QByteArray before = ReadFileBytes(settingsPath);
        const QDateTime stampBefore = QFileInfo(settingsPath).lastModified();
        QVERIFY(!before.isEmpty());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), folder.FilePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(QStringLiteral(TARNWELL_PROGRAM), {});
        QVERIFY(first.waitForStarted());
        // The first copy holds the lock once it runs.
        const QString lockPath = SingleInstanceGuard(runtime).LockFilePath();
        QDeadlineTimer deadline(30000);
        while (!QFile::exists(lockPath) && !deadline.hasExpired())
            QThread::msleep(20);
        QVERIFY(QFile::exists(lockPath));
        QCOMPARE(first.state(), QProcess::Running);

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(TARNWELL_PROGRAM), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        // Silent: nothing said on either stream.
        QCOMPARE(second.readAllStandardOutput(), QByteArray());
        QCOMPARE(second.readAllStandardError(), QByteArray());

        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(ReadFileBytes(settingsPath), before);
        QCOMPARE(QFileInfo(settingsPath).lastModified(), stampBefore);

        first.kill();
        QVERIFY(first.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(SecondInstance)
#include "tst_second_instance.moc"
