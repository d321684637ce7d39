#include "FtpTestServer.h"
#include "RecordingHost.h"
#include "publish/FtpClient.h"
#include "publish/RemoteFolders.h"

#include <QTest>

class RemoteFoldersTest : public QObject {
    Q_OBJECT
private slots:
    // The commands sent, the result, and where the session stands after.
    void ForcesRemoteFolders_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QStringList>("refuse");
        QTest::addColumn<QStringList>("refuseOnce");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("commands");

        QTest::newRow("existing folder: one CWD") << QStringList{"/a/b"} << QStringList() << QStringList()
                                                  << "/a/b" << true << QStringList{"CWD /a/b"};
        QTest::newRow("relative missing path made from the root")
            << QStringList() << QStringList() << QStringList() << "a/b" << true
            << QStringList{"CWD a/b", "MKD /a", "MKD /a/b", "CWD /a/b"};
        QTest::newRow("part of the chain exists")
            << QStringList{"/a"} << QStringList() << QStringList() << "/a/b/c/" << true
            << QStringList{"CWD /a/b/c/", "MKD /a", "MKD /a/b", "MKD /a/b/c", "CWD /a/b/c"};
        QTest::newRow("first CWD refused although all exists")
            << QStringList{"/a/b"} << QStringList() << QStringList{"CWD"} << "/a/b" << false
            << QStringList{"CWD /a/b", "MKD /a", "MKD /a/b", "CWD /a/b"};
        QTest::newRow("MKD refused") << QStringList() << QStringList{"MKD"} << QStringList() << "/a" << false
                                     << QStringList{"CWD /a", "MKD /a", "CWD /a"};
        QTest::newRow("empty path") << QStringList() << QStringList() << QStringList() << "" << false
                                    << QStringList();
    }
    void ForcesRemoteFolders()
    {
        QFETCH(QStringList, existing);
        QFETCH(QStringList, refuse);
        QFETCH(QStringList, refuseOnce);
        QFETCH(QString, path);
        QFETCH(bool, result);
        QFETCH(QStringList, commands);

        FtpTestServer::Options options;
        options.Refuse = refuse;
        options.RefuseOnce = refuseOnce;
        FtpTestServer server(options);
        QVERIFY2(server.IsRunning(), qPrintable(server.Error()));
        for (const QString& folder : existing)
            server.PutFile(folder + QStringLiteral("/.keep"), "");
        RecordingHost recorder;
        FtpClient ftp(recorder);
        QVERIFY(ftp.Connect(server.Account()).Ok);
        const qsizetype loginCommands = server.Commands().size();

        QCOMPARE(ForceRemoteFolder(ftp, path), result);
        QCOMPARE(server.Commands().mid(loginCommands), commands);
        QCOMPARE(recorder.Lines().size(), 2); // only the connect lines
        if (result) {
            // The folder asked for is the current one now.
            QString folder;
            ftp.Pwd(&folder);
            QCOMPARE(folder, QLatin1Char('/') + path.split(QLatin1Char('/'), Qt::SkipEmptyParts).join('/'));
        }
    }

    // Where the file ends up, and what is left where.
    void MovesRemoteFiles_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("targetExists");
        QTest::addColumn<QStringList>("refuse");
        QTest::addColumn<bool>("result");

        QTest::newRow("into an existing folder") << "/site/a.html" << false << QStringList() << true;
        QTest::newRow("over an existing file") << "/site/a.html" << true << QStringList() << true;
        QTest::newRow("into folders still missing")
            << "/site/new/deep/a.html" << false << QStringList() << true;
        QTest::newRow("delete refused: nothing moves")
            << "/site/a.html" << true << QStringList{"DELE"} << false;
        QTest::newRow("rename refused") << "/site/a.html" << false << QStringList{"RNFR"} << false;
        QTest::newRow("rename refused over an existing file: the old one stays")
            << "/site/a.html" << true << QStringList{"RNTO"} << false;
    }
    void MovesRemoteFiles()
    {
        QFETCH(QString, target);
        QFETCH(bool, targetExists);
        QFETCH(QStringList, refuse);
        QFETCH(bool, result);

        FtpTestServer::Options options;
        options.Refuse = refuse;
        FtpTestServer server(options);
        QVERIFY2(server.IsRunning(), qPrintable(server.Error()));
        const QString temp = QStringLiteral("/BRTempUploadFolder") + target;
        server.PutFile(temp, "new");
        server.PutFile(QStringLiteral("/site/other.html"), "other");
        if (targetExists)
            server.PutFile(target, "old");
        RecordingHost recorder;
        FtpClient ftp(recorder);
        QVERIFY(ftp.Connect(server.Account()).Ok);

        QCOMPARE(MoveRemoteFile(ftp, temp, target), result);
        QCOMPARE(server.FileBytes(target), result         ? QByteArray("new")
                                           : targetExists ? QByteArray("old")
                                                          : QByteArray());
        QCOMPARE(server.Exists(temp), !result);
        QVERIFY(!server.Exists(target + QStringLiteral(".uploading")));
        QCOMPARE(server.FileBytes(QStringLiteral("/site/other.html")), QByteArray("other"));
        QCOMPARE(recorder.Lines().size(), 2); // only the connect lines
    }
};

QTEST_GUILESS_MAIN(RemoteFoldersTest)
#include "tst_remote_folders.moc"
