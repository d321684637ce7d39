#include "FtpTestServer.h"
#include "RecordingHost.h"
#include "publish/FolderMoves.h"
#include "publish/FtpRemoteClient.h"
#include "publish/KnownFolders.h"
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
        FtpRemoteClient remote(ftp);
        const qsizetype loginCommands = server.Commands().size();

        QCOMPARE(ForceRemoteFolder(remote, path), result);
        QCOMPARE(server.Commands().mid(loginCommands), commands);
        QCOMPARE(recorder.Lines().size(), 2); // only the connect lines
        if (result) {
            // The folder asked for is the current one now.
            QString folder;
            ftp.Pwd(&folder);
            QCOMPARE(folder, QLatin1Char('/') + path.split(QLatin1Char('/'), Qt::SkipEmptyParts).join('/'));
        }
    }

    // Where the file ends up, what is left where, and the commands of the move.
    void MovesRemoteFiles_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("server"); // words: old (a live file), mine (a user's file
                                             // target.BRAside), windows (no rename onto a
                                             // file), nolist (no MLSD)
        QTest::addColumn<QStringList>("refuse");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("live"); // the target's bytes afterwards
        QTest::addColumn<QString>("kept"); // the aside copy left, by name
        QTest::addColumn<QStringList>("commands");

        const QString a = "/site/a.html";
        const QString temp = "/BRTempUploadFolder/site/a.html";
        const QStringList oneStep{"RNFR " + temp, "RNTO " + a};
        const QStringList refused = oneStep + QStringList{"MLST " + a, "MLST " + a + ".BRAside"};
        const QStringList aside = refused + QStringList{"RNFR " + a, "RNTO " + a + ".BRAside", "RNFR " + temp,
                                                        "RNTO " + a, "DELE " + a + ".BRAside"};
        QTest::newRow("into an existing folder") << a << "" << QStringList() << true << "new"
                                                 << "" << oneStep;
        QTest::newRow("over an existing file: one rename") << a << "old" << QStringList() << true << "new"
                                                           << "" << oneStep;
        QTest::newRow("into folders still missing")
            << "/site/new/deep/a.html"
            << "" << QStringList() << true << "new"
            << ""
            << QStringList{"RNFR /BRTempUploadFolder/site/new/deep/a.html",
                           "RNTO /site/new/deep/a.html",
                           "MLST /site/new/deep/a.html",
                           "CWD /site/new/deep/",
                           "MKD /site",
                           "MKD /site/new",
                           "MKD /site/new/deep",
                           "CWD /site/new/deep",
                           "RNFR /BRTempUploadFolder/site/new/deep/a.html",
                           "RNTO /site/new/deep/a.html"};
        QTest::newRow("rename refused") << a << "" << QStringList{"RNFR"} << false << ""
                                        << "" << QStringList{"RNFR " + temp};
        QTest::newRow("server that will not replace: the old file goes aside")
            << a << "old windows" << QStringList() << true << "new"
            << "" << aside;
        QTest::newRow("aside under a name the server does not hold")
            << a << "old windows mine" << QStringList() << true << "new"
            << "" << refused + QStringList{"MLST " + a + ".BRAside2",
                                           "RNFR " + a,
                                           "RNTO " + a + ".BRAside2",
                                           "RNFR " + temp,
                                           "RNTO " + a,
                                           "DELE " + a + ".BRAside2"};
        QTest::newRow("aside asked by LIST") << a << "old windows nolist" << QStringList() << true << "new"
                                             << "" << QStringList();
        QTest::newRow("renames refused over an existing file: the old one stays")
            << a << "old" << QStringList{"RNTO"} << false << "old"
            << "" << refused + QStringList{"RNFR " + a, "RNTO " + a + ".BRAside"};
        QTest::newRow("aside copy cannot be deleted: it is kept")
            << a << "old windows" << QStringList{"DELE"} << false << "new"
            << ".BRAside" << aside;
    }
    void MovesRemoteFiles()
    {
        QFETCH(QString, target);
        QFETCH(QString, server);
        QFETCH(QStringList, refuse);
        QFETCH(bool, result);
        QFETCH(QString, live);
        QFETCH(QString, kept);
        QFETCH(QStringList, commands);

        FtpTestServer::Options options;
        options.Refuse = refuse;
        options.NoReplace = server.contains("windows");
        options.Mlsd = !server.contains("nolist");
        FtpTestServer ftpServer(options);
        QVERIFY2(ftpServer.IsRunning(), qPrintable(ftpServer.Error()));
        const QString temp = QStringLiteral("/BRTempUploadFolder") + target;
        ftpServer.PutFile(temp, "new");
        ftpServer.PutFile(QStringLiteral("/site/other.html"), "other");
        if (server.contains("old"))
            ftpServer.PutFile(target, "old");
        if (server.contains("mine"))
            ftpServer.PutFile(target + ".BRAside", "mine");
        RecordingHost recorder;
        FtpClient ftp(recorder);
        QVERIFY(ftp.Connect(ftpServer.Account()).Ok);
        FtpRemoteClient remote(ftp);
        const qsizetype loginCommands = ftpServer.Commands().size();

        QString aside = "unset";
        QCOMPARE(MoveRemoteFile(remote, temp, target, &aside), result);
        QCOMPARE(ftpServer.FileBytes(target), live.toUtf8());
        QCOMPARE(ftpServer.Exists(temp), !result && live != "new");
        QCOMPARE(aside, kept.isEmpty() ? QString() : target + kept);
        if (!kept.isEmpty())
            QCOMPARE(ftpServer.FileBytes(aside), "old");
        QCOMPARE(ftpServer.Exists(target + ".BRAside"), server.contains("mine") || kept == ".BRAside");
        if (server.contains("mine"))
            QCOMPARE(ftpServer.FileBytes(target + ".BRAside"), "mine");
        QCOMPARE(ftpServer.FileBytes(QStringLiteral("/site/other.html")), QByteArray("other"));
        if (!commands.isEmpty())
            QCOMPARE(ftpServer.Commands().mid(loginCommands), commands);
        QCOMPARE(recorder.Lines().size(), 2); // only the connect lines
    }

    // Which moves a folder rename carries ("" for a file moved alone). "T"
    // in a server file stands for the temporary folder.
    void PlansFolderMoves_data()
    {
        QTest::addColumn<QStringList>("serverFiles");
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<QStringList>("carriedBy");

        const QStringList two{"/p/a.html", "/p/sub/c.html"};
        QTest::newRow("new folder holding exactly the run's files")
            << QStringList{"T/p/a.html", "T/p/sub/c.html"} << two << QStringList{"/p", "/p"};
        QTest::newRow("existing folder, new sub-folder")
            << QStringList{"/p/x.html", "T/p/a.html", "T/p/sub/c.html"} << two << QStringList{"", "/p/sub"};
        QTest::newRow("a leftover file in the temporary folder")
            << QStringList{"T/p/a.html", "T/p/sub/c.html", "T/p/old.html"} << two << QStringList{"", ""};
        QTest::newRow("a leftover sub-folder")
            << QStringList{"T/p/a.html", "T/p/sub/c.html", "T/p/old/x.html"} << two << QStringList{"", ""};
        QTest::newRow("a leftover below, an existing folder above")
            << QStringList{"/p/x.html", "T/p/a.html", "T/p/sub/c.html", "T/p/sub/d.html"} << two
            << QStringList{"", ""};
        QTest::newRow("a file where the folder would go")
            << QStringList{"/p", "T/p/a.html", "T/p/sub/c.html"} << two << QStringList{"", ""};
        QTest::newRow("a file at the top")
            << QStringList{"T/top.html"} << QStringList{"/top.html"} << QStringList{""};
    }
    void PlansFolderMoves()
    {
        QFETCH(QStringList, serverFiles);
        QFETCH(QStringList, targets);
        QFETCH(QStringList, carriedBy);
        FtpTestServer server;
        QVERIFY2(server.IsRunning(), qPrintable(server.Error()));
        for (QString file : serverFiles)
            server.PutFile(file.replace(QRegularExpression("^T/"), TempUploadFolder + "/"), "x");
        RecordingHost recorder;
        FtpClient ftp(recorder);
        QVERIFY(ftp.Connect(server.Account()).Ok);
        FtpRemoteClient remote(ftp);
        QList<UploadPaths> moves;
        for (const QString& target : targets) {
            const QString temp = TempUploadFolder + target;
            moves.append({temp.left(temp.lastIndexOf('/')), temp, target});
        }
        KnownFolders known;
        FolderMoves folders;
        folders.Plan(remote, known, moves, {}, TempUploadFolder);
        QStringList carried;
        for (int i = 0; i < int(moves.size()); ++i)
            carried.append(folders.FolderOf(i) < 0 ? QString() : folders.TargetOf(folders.FolderOf(i)));
        QCOMPARE(carried, carriedBy);
    }
};

QTEST_GUILESS_MAIN(RemoteFoldersTest)
#include "tst_remote_folders.moc"
