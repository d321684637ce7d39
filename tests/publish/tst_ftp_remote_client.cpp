// The FTP client behind the remote-side interface, against the test FTP
// server: what each call does to the server's files and how a refusal or a
// lost connection comes back.
#include "FtpTestServer.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "publish/FtpRemoteClient.h"
#include "publish/RemoteClientFactory.h"

#include <QTest>

class FtpRemoteClientTest : public QObject {
    Q_OBJECT
private slots:
    // On a server holding /a.txt, /b.txt and /sub/c.txt. error: empty when
    // the call succeeds, else a part of its Error; size: what Size gave.
    void Calls_data()
    {
        QTest::addColumn<QString>("server"); // "", "no replace" or "drop"
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("error");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QStringList>("gone"); // server paths no longer there
        QTest::newRow("size") << ""
                              << "size"
                              << "/sub/c.txt"
                              << ""
                              << "" << qint64(7) << QStringList();
        QTest::newRow("size of a missing file") << ""
                                                << "size"
                                                << "/none.txt"
                                                << ""
                                                << "SIZE was refused: 550" << qint64(-1) << QStringList();
        QTest::newRow("size, connection dropped") << "drop"
                                                  << "size"
                                                  << "/a.txt"
                                                  << ""
                                                  << "lost" << qint64(-1) << QStringList();
        QTest::newRow("rename onto a free name") << ""
                                                 << "rename"
                                                 << "/a.txt"
                                                 << "/sub/d.txt"
                                                 << "" << qint64(-1) << QStringList{"/a.txt"};
        QTest::newRow("rename onto an existing file, replaced") << ""
                                                                << "rename"
                                                                << "/a.txt"
                                                                << "/b.txt"
                                                                << "" << qint64(-1) << QStringList{"/a.txt"};
        QTest::newRow("rename onto an existing file, refused")
            << "no replace"
            << "rename"
            << "/a.txt"
            << "/b.txt"
            << "RNTO was refused" << qint64(-1) << QStringList();
        QTest::newRow("rename a missing file") << ""
                                               << "rename"
                                               << "/none.txt"
                                               << "/d.txt"
                                               << "RNFR was refused" << qint64(-1) << QStringList();
        QTest::newRow("make an existing folder") << ""
                                                 << "mkdir"
                                                 << "/sub"
                                                 << ""
                                                 << "MKD was refused" << qint64(-1) << QStringList();
        QTest::newRow("delete") << ""
                                << "delete"
                                << "/sub/c.txt"
                                << ""
                                << "" << qint64(-1) << QStringList{"/sub/c.txt"};
        QTest::newRow("delete a missing file") << ""
                                               << "delete"
                                               << "/none.txt"
                                               << ""
                                               << "DELE was refused" << qint64(-1) << QStringList();
    }
    void Calls()
    {
        QFETCH(QString, server);
        QFETCH(QString, call);
        QFETCH(QString, path);
        QFETCH(QString, target);
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

        RemoteResult result;
        qint64 told = -1;
        if (call == "size") {
            const RemoteSize reply = remote->Size(path);
            result = reply.Result;
            told = reply.Size;
        } else if (call == "rename") {
            result = remote->Rename(path, target);
        } else if (call == "mkdir") {
            result = remote->MakeFolder(path);
        } else {
            result = remote->Delete(path);
        }
        QVERIFY2(result.Error.contains(error), qPrintable(result.Error));
        QCOMPARE(result.Ok, error.isEmpty());
        QCOMPARE(result.ConnectionLost, server == "drop");
        QCOMPARE(told, size);
        for (const QString& file : QStringList{"/a.txt", "/b.txt", "/sub/c.txt"})
            QCOMPARE(ftp.Exists(file), !gone.contains(file));
        // A rename carries the bytes; a refused one leaves the target alone.
        if (call == "rename")
            QCOMPARE(ftp.FileBytes(target), QByteArray(result.Ok            ? "alpha"
                                                       : target == "/b.txt" ? "bravo"
                                                                            : ""));
        remote->Disconnect();
        QCOMPARE(host.Lines().last(), "Disconnected from : Shop");
    }

    // Send and Fetch carry a file whole both ways; the listing names it.
    void SendsListsAndFetches()
    {
        FtpTestServer ftp;
        QVERIFY2(ftp.IsRunning(), qPrintable(ftp.Error()));
        TestFolder local;
        const QByteArray bytes(200 * 1024, 's');
        const QString file = local.Write("out.bin", bytes);
        RecordingHost host;
        const TConnectionSettings account = ftp.Account("Shop");
        const std::unique_ptr<RemoteClient> remote = MakeRemoteClient(account, host, {2, 2, 5});
        QVERIFY(remote->Connect(account).Ok);
        QVERIFY(remote->MakeFolder("/in").Ok);
        QVERIFY(remote->Send(file, "/in/x.bin").Ok);
        const RemoteListing listing = remote->List("/in");
        QVERIFY(listing.Result.Ok);
        QCOMPARE(listing.Entries.size(), qsizetype(1));
        QCOMPARE(listing.Entries.first().Name, "x.bin");
        QCOMPARE(listing.Entries.first().Size, qint64(bytes.size()));
        QCOMPARE(remote->Size("/in/x.bin").Size, qint64(bytes.size()));
        QVERIFY(remote->Fetch("/in/x.bin", local.FilePath("back.bin"), bytes.size()).Ok);
        QCOMPARE(ReadFileBytes(local.FilePath("back.bin")), bytes);
        // A fetch that fails leaves no file behind.
        QVERIFY(!remote->Fetch("/in/none.bin", local.FilePath("none.bin")).Ok);
        QVERIFY(!QFile::exists(local.FilePath("none.bin")));
    }
};

QTEST_GUILESS_MAIN(FtpRemoteClientTest)
#include "tst_ftp_remote_client.moc"
