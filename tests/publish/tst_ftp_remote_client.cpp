// The FTP client behind the remote-side interface, against the test FTP
// server: what a call does to the server's files and how a refusal or a
// lost connection comes back.
#include "FtpTestServer.h"
#include "RecordingHost.h"
#include "publish/RemoteClientFactory.h"

#include <QTest>

class FtpRemoteClientTest : public QObject {
    Q_OBJECT
private slots:
    // On a server holding /a.txt, /b.txt and /sub/c.txt.
    void Calls_data()
    {
        QTest::addColumn<QString>("server");   // "", "no replace" or "drop"
        QTest::addColumn<QStringList>("call"); // the call and its paths
        QTest::addColumn<QString>("error");    // empty: it succeeds; else a part of its Error
        QTest::addColumn<qint64>("size");      // what Size told
        QTest::addColumn<QStringList>("gone"); // server paths no longer there
        const QStringList none;
        QTest::newRow("size") << QString() << QStringList{"size", "/sub/c.txt"} << QString() << qint64(7)
                              << none;
        QTest::newRow("size of a missing file")
            << QString() << QStringList{"size", "/none.txt"} << "SIZE was refused: 550" << qint64(-1) << none;
        QTest::newRow("size, connection dropped")
            << "drop" << QStringList{"size", "/a.txt"} << "lost" << qint64(-1) << none;
        QTest::newRow("rename onto an existing file, replaced")
            << QString() << QStringList{"rename", "/a.txt", "/b.txt"} << QString() << qint64(-1)
            << QStringList{"/a.txt"};
        QTest::newRow("rename onto an existing file, refused")
            << "no replace" << QStringList{"rename", "/a.txt", "/b.txt"} << "RNTO was refused" << qint64(-1)
            << none;
        QTest::newRow("rename a missing file") << QString() << QStringList{"rename", "/none.txt", "/b.txt"}
                                               << "RNFR was refused" << qint64(-1) << none;
        QTest::newRow("make an existing folder")
            << QString() << QStringList{"mkdir", "/sub"} << "MKD was refused" << qint64(-1) << none;
        QTest::newRow("delete") << QString() << QStringList{"delete", "/sub/c.txt"} << QString() << qint64(-1)
                                << QStringList{"/sub/c.txt"};
    }
    void Calls()
    {
        QFETCH(QString, server);
        QFETCH(QStringList, call);
        QFETCH(QString, error);
        QFETCH(qint64, size);
        QFETCH(QStringList, gone);
        FtpTestServer::Options options;
        options.NoReplace = server == "no replace";
        if (server == "drop")
            options.DropOn << "SIZE";
        FtpTestServer ftp(options);
        QVERIFY2(ftp.IsRunning(), qPrintable(ftp.Error()));
        ftp.PutFile("/a.txt", "alpha");
        ftp.PutFile("/b.txt", "bravo");
        ftp.PutFile("/sub/c.txt", "charlie");
        RecordingHost host;
        const TConnectionSettings account = ftp.Account("Shop");
        const std::unique_ptr<RemoteClient> remote = MakeRemoteClient(account, host, {2, 2, 5});
        QVERIFY(remote->Connect(account).Ok);
        QCOMPARE(remote->RenameTarget(), RenameOntoExisting::ServerDecides);

        RemoteSize told;
        if (call[0] == "size")
            told = remote->Size(call[1]);
        else if (call[0] == "rename")
            told.Result = remote->Rename(call[1], call[2]);
        else if (call[0] == "mkdir")
            told.Result = remote->MakeFolder(call[1]);
        else
            told.Result = remote->Delete(call[1]);
        QVERIFY2(told.Result.Error.contains(error), qPrintable(told.Result.Error));
        QCOMPARE(told.Result.Ok, error.isEmpty());
        QCOMPARE(told.Result.ConnectionLost, server == "drop");
        QCOMPARE(told.Size, size);
        for (const QString& file : QStringList{"/a.txt", "/b.txt", "/sub/c.txt"})
            QCOMPARE(ftp.Exists(file), !gone.contains(file));
        // A refused rename leaves the target as it was.
        if (call[0] == "rename")
            QCOMPARE(ftp.FileBytes("/b.txt"), QByteArray(told.Result.Ok ? "alpha" : "bravo"));
        remote->Disconnect();
        QCOMPARE(host.Lines().last(), "Disconnected from : Shop");
    }
};

QTEST_GUILESS_MAIN(FtpRemoteClientTest)
#include "tst_ftp_remote_client.moc"
