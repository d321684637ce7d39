#include "FtpTestServer.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "publish/FtpClient.h"
#include "util/TarnwellError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const FtpTimeouts ShortTimeouts{2, 1, 5};

// The (done, total) pairs given to the file bar from event number `from` on.
QList<QPair<qint64, qint64>> FileProgressSince(const RecordingHost& host, qsizetype from)
{
    QList<QPair<qint64, qint64>> values;
    for (qsizetype i = from; i < host.Events().size(); ++i)
        if (host.Events()[i].kind == RecordingHost::Kind::FileProgress)
            values.append({host.Events()[i].done, host.Events()[i].total});
    return values;
}

// A listening socket on loopback that never accepts and never answers.
class SilentListener {
public:
    SilentListener()
    {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd_, 4) != 0 ||
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
    }
    ~SilentListener()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    // Closes the socket: the port is then free and nothing answers there.
    void StopListening()
    {
        close(fd_);
        fd_ = -1;
    }
    quint16 Port() const { return port_; }

private:
    int fd_ = -1;
    quint16 port_ = 0;
};

// One control connection to a fresh test server, with short time-outs.
struct Session {
    explicit Session(const FtpTestServer::Options& options = FtpTestServer::Options())
        : server(options), ftp(host)
    {
        ftp.SetTimeouts(ShortTimeouts);
    }
    bool Connect() { return server.IsRunning() && ftp.Connect(server.Account(QStringLiteral("Shop"))).Ok; }
    FtpTestServer server;
    RecordingHost host;
    FtpClient ftp;
};

} // namespace

class FtpClientTest : public QObject {
    Q_OBJECT
private slots:
    // What the log shows for a connect and the disconnect after it. The
    // disconnect never waits the whole reply time-out for the answer to QUIT.
    void ConnectsAndLogs_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("mute");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("error"); // empty: logged in
        QTest::addColumn<bool>("sftp");     // the account is an SFTP one

        const QStringList loggedIn{"Connected to : Shop", "Logged in to : Shop", "Disconnected from : Shop"};
        QTest::newRow("port in the host")
            << true << FtpTestServer::Password() << QStringList() << loggedIn << "" << false;
        QTest::newRow("wrong password") << true << "wrong" << QStringList()
                                        << QStringList{"Connected to : Shop", "Disconnected from : Shop"}
                                        << "refused the login: 530" << false;
        QTest::newRow("nothing listening") << false << FtpTestServer::Password() << QStringList()
                                           << QStringList() << "Could not connect to Shop" << false;
        QTest::newRow("QUIT never answered")
            << true << FtpTestServer::Password() << QStringList{"QUIT"} << loggedIn << "" << false;
        // Its password would go out in clear: no connection at all.
        QTest::newRow("an SFTP account") << true << FtpTestServer::Password() << QStringList()
                                         << QStringList() << "Shop is an SFTP account" << true;
    }
    void ConnectsAndLogs()
    {
        QFETCH(bool, listening);
        QFETCH(QString, password);
        QFETCH(QStringList, mute);
        QFETCH(QStringList, log);
        QFETCH(QString, error);
        QFETCH(bool, sftp);

        FtpTestServer::Options options;
        options.Mute = mute;
        Session s(options);
        s.ftp.SetTimeouts({5, 60, 60});
        QVERIFY2(s.server.IsRunning(), qPrintable(s.server.Error()));
        TConnectionSettings account = s.server.Account(QStringLiteral("Shop"));
        account.Password = password;
        if (sftp)
            account.Protocol = TRemoteProtocol::Sftp;
        SilentListener closed;
        closed.StopListening();
        if (!listening)
            account.Host = QStringLiteral("127.0.0.1:%1").arg(closed.Port());

        const FtpResult result = s.ftp.Connect(account);
        QCOMPARE(result.Ok, error.isEmpty());
        QCOMPARE(s.ftp.IsLoggedIn(), error.isEmpty());
        QVERIFY2(result.Error.contains(error), qPrintable(result.Error));
        QElapsedTimer clock;
        clock.start();
        s.ftp.Disconnect();
        QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(s.host.Lines(), log);
    }

    void AnswersCommandsWithTheirReplies_data()
    {
        QTest::addColumn<QStringList>("refuse");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QString>("pwd"); // the folder named by the last PWD

        QTest::newRow("CWD absolute and relative")
            << QStringList() << QStringList{"CWD /site", "CWD img", "PWD"} << QList<int>{250, 250, 257}
            << "/site/img";
        QTest::newRow("CWD into a missing folder stays put")
            << QStringList() << QStringList{"CWD /site", "CWD /none", "PWD"} << QList<int>{250, 550, 257}
            << "/site";
        QTest::newRow("MKD new, again, and an old folder")
            << QStringList() << QStringList{"MKD /new", "MKD /new", "MKD /site"} << QList<int>{257, 550, 550}
            << "";
        QTest::newRow("RNFR and RNTO move the file")
            << QStringList()
            << QStringList{"RNFR /site/index.html", "RNTO /site/home.html", "DELE /site/home.html",
                           "DELE /site/index.html"}
            << QList<int>{350, 250, 250, 550} << "";
        QTest::newRow("RNFR of a missing file")
            << QStringList() << QStringList{"RNFR /site/none", "RNTO /site/x"} << QList<int>{550, 503} << "";
        QTest::newRow("quotes and blanks in a name")
            << QStringList() << QStringList{"MKD /say \"hi\" now", "CWD /say \"hi\" now", "PWD"}
            << QList<int>{257, 250, 257} << "/say \"hi\" now";
        QTest::newRow("a refusal keeps the connection")
            << QStringList{"RNFR"} << QStringList{"RNFR /site/index.html", "PWD"} << QList<int>{550, 257}
            << "/";
        QTest::newRow("a line break never reaches the server")
            << QStringList() << QStringList{"DELE /x\r\nDELE /site/index.html", "DELE /site/index.html"}
            << QList<int>{0, 250} << "";
    }
    void AnswersCommandsWithTheirReplies()
    {
        QFETCH(QStringList, refuse);
        QFETCH(QStringList, script);
        QFETCH(QList<int>, codes);
        QFETCH(QString, pwd);

        FtpTestServer::Options options;
        options.Refuse = refuse;
        Session s(options);
        s.server.PutFile(QStringLiteral("/site/index.html"), "x");
        s.server.PutFile(QStringLiteral("/site/img/logo.png"), "y");
        QVERIFY(s.Connect());

        QList<int> got;
        QString folder;
        for (const QString& line : script) {
            const FtpResult result = line == QLatin1String("PWD") ? s.ftp.Pwd(&folder) : s.ftp.Command(line);
            QCOMPARE(result.Ok, result.Code > 0 && result.Code < 400);
            QVERIFY(!result.ConnectionLost);
            got.append(result.Code);
        }
        QCOMPARE(got, codes);
        if (!pwd.isEmpty())
            QCOMPARE(folder, pwd);
    }

    // A file goes up and comes back byte for byte, and the file bar runs
    // from nothing to the whole file without going back.
    void TransfersWholeFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("progressSwitch");

        QByteArray big(3 * 1024 * 1024 + 17, '\0');
        QRandomGenerator random(42);
        for (char& c : big)
            c = static_cast<char>(random.generate() & 0xff);
        QTest::newRow("empty file") << "empty.txt" << QByteArray() << 0;
        QTest::newRow("a few MB") << "setup.exe" << big << 0;
        QTest::newRow("blanks, # and % in the name")
            << QStringLiteral("my #1 100%\u00fc.txt") << QByteArray("a\r\n") << 0;
        QTest::newRow("file bar switched off") << "quiet.bin" << big.left(100000) << -1;
    }
    void TransfersWholeFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, progressSwitch);

        Session s;
        QVERIFY(s.Connect());
        s.ftp.SetProgressSwitch(progressSwitch);
        QVERIFY(s.ftp.Mkd(QStringLiteral("/in")).Ok);
        TestFolder local;
        const QString source = local.Write(QStringLiteral("up/") + name, content);
        const QString target = local.MakeFolder(QStringLiteral("down")) + QLatin1Char('/') + name;
        const QString remote = QStringLiteral("/in/") + name;

        const qsizetype beforeUpload = s.host.Events().size();
        const FtpResult sent = s.ftp.Upload(source, remote);
        QVERIFY2(sent.Ok, qPrintable(sent.Error));
        QCOMPARE(s.server.FileBytes(remote), content);
        const auto upProgress = FileProgressSince(s.host, beforeUpload);
        const qsizetype beforeDownload = s.host.Events().size();
        const FtpResult fetched = s.ftp.Download(remote, target, content.size());
        QVERIFY2(fetched.Ok, qPrintable(fetched.Error));
        QCOMPARE(ReadFileBytes(target), content);
        QCOMPARE(QDir(local.FilePath(QStringLiteral("down"))).entryList(QDir::Files), QStringList{name});

        const qint64 size = content.size();
        for (const auto& progress : {upProgress, FileProgressSince(s.host, beforeDownload)}) {
            if (progressSwitch != 0) {
                QVERIFY(progress.isEmpty());
                continue;
            }
            QVERIFY(!progress.isEmpty());
            QCOMPARE(progress.first(), qMakePair(qint64(0), size));
            QCOMPARE(progress.last(), qMakePair(size, size));
            for (qsizetype i = 1; i < progress.size(); ++i)
                QVERIFY(progress[i].first >= progress[i - 1].first);
        }
    }

    // A transfer that fails says so, leaves no half file behind, and keeps
    // the connection unless the connection itself was the trouble.
    void ReportsFailedTransfers_data()
    {
        QTest::addColumn<bool>("upload");
        QTest::addColumn<QStringList>("refuse");
        QTest::addColumn<QStringList>("dropOn");
        QTest::addColumn<QString>("remote");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("lost");

        const QStringList none;
        QTest::newRow("download of a missing file") << false << none << none << "/none.bin" << 550 << false;
        QTest::newRow("download cut off") << false << none << QStringList{"RETR"} << "/a.bin" << 0 << true;
        QTest::newRow("upload refused") << true << QStringList{"STOR"} << none << "/new.bin" << 550 << false;
        QTest::newRow("upload cut off") << true << none << QStringList{"STOR"} << "/new.bin" << 0 << true;
        QTest::newRow("upload of a missing local file") << true << none << none << "/new.bin" << 0 << false;
    }
    void ReportsFailedTransfers()
    {
        QFETCH(bool, upload);
        QFETCH(QStringList, refuse);
        QFETCH(QStringList, dropOn);
        QFETCH(QString, remote);
        QFETCH(int, code);
        QFETCH(bool, lost);

        FtpTestServer::Options options;
        options.Refuse = refuse;
        options.DropOn = dropOn;
        Session s(options);
        s.server.PutFile(QStringLiteral("/a.bin"), QByteArray(200000, 'n'));
        QVERIFY(s.Connect());
        TestFolder local;
        const QString source = local.Write(QStringLiteral("new.bin"), "new");
        const QString old = local.Write(QStringLiteral("keep/a.bin"), "old");
        const bool localMissing = upload && refuse.isEmpty() && dropOn.isEmpty();

        const FtpResult result = upload ? s.ftp.Upload(localMissing ? source + "-gone" : source, remote)
                                        : s.ftp.Download(remote, old);
        QVERIFY(!result.Ok);
        QVERIFY(!result.Error.isEmpty());
        QCOMPARE(result.Code, code);
        QCOMPARE(result.ConnectionLost, lost);
        QCOMPARE(s.ftp.Pwd().Code, lost ? 0 : 257);
        if (upload)
            QVERIFY(!s.server.Exists(remote));
        QCOMPARE(ReadFileBytes(old), QByteArray("old"));
        QCOMPARE(QDir(local.FilePath(QStringLiteral("keep"))).entryList(QDir::Files), QStringList{"a.bin"});
        if (localMissing)
            QVERIFY(!s.server.Commands().join('\n').contains(QLatin1String("STOR")));
    }

    void ListsFolders_data()
    {
        QTest::addColumn<bool>("mlsd");
        QTest::addColumn<QString>("cwd");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("entries"); // sorted; empty: the listing fails
        QTest::addColumn<QString>("command");

        const QStringList site{"file a.txt 3", "file b c.txt 0", "folder img"};
        QTest::newRow("MLSD of a folder") << true << ""
                                          << "/site" << site << "MLSD /site";
        QTest::newRow("LIST of a folder") << false << ""
                                          << "/site" << site << "LIST /site";
        QTest::newRow("MLSD of the current folder") << true << "/site"
                                                    << "" << site << "MLSD";
        QTest::newRow("LIST of the current folder") << false << "/site/img"
                                                    << "" << QStringList{"file logo.png 1"} << "LIST";
        QTest::newRow("missing folder") << true << ""
                                        << "/none" << QStringList() << "MLSD /none";
    }
    void ListsFolders()
    {
        QFETCH(bool, mlsd);
        QFETCH(QString, cwd);
        QFETCH(QString, path);
        QFETCH(QStringList, entries);
        QFETCH(QString, command);

        FtpTestServer::Options options;
        options.Mlsd = mlsd;
        Session s(options);
        s.server.PutFile(QStringLiteral("/site/a.txt"), "abc");
        s.server.PutFile(QStringLiteral("/site/b c.txt"), "");
        s.server.PutFile(QStringLiteral("/site/img/logo.png"), "p");
        QVERIFY(s.Connect());
        QCOMPARE(s.ftp.UsesMlsd(), mlsd);
        if (!cwd.isEmpty())
            QVERIFY(s.ftp.Cwd(cwd).Ok);

        const FtpListingResult listing = s.ftp.List(path);
        QCOMPARE(listing.Result.Ok, !entries.isEmpty());
        QStringList got;
        for (const FtpEntry& entry : listing.Entries)
            got.append(entry.Kind == FtpEntryKind::Folder
                           ? "folder " + entry.Name
                           : QStringLiteral("file %1 %2").arg(entry.Name).arg(entry.Size));
        got.sort();
        QCOMPARE(got, entries);
        QVERIFY(s.server.Commands().contains(command));
        QVERIFY(s.ftp.IsLoggedIn());
    }

    // A connection that breaks or a server that stops answering is reported
    // promptly; later calls say so at once, and a new connect works.
    void ReportsLostConnections_data()
    {
        QTest::addColumn<QStringList>("dropOn");
        QTest::addColumn<QStringList>("mute");
        QTest::addColumn<double>("idleTimeout"); // negative: closed without a word
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("error");

        const QStringList none;
        QTest::newRow("dropped on a command") << QStringList{"MKD"} << none << 0.0 << "MKD"
                                              << "was lost";
        QTest::newRow("dropped on a listing") << QStringList{"MLSD"} << none << 0.0 << "LIST"
                                              << "was lost";
        QTest::newRow("closed by the server while idle") << none << none << 0.5 << "CWD"
                                                         << "was lost: 421";
        // The library would quietly log in again; the client must not.
        QTest::newRow("closed silently while idle") << none << none << -0.5 << "CWD"
                                                    << "was lost";
        QTest::newRow("command never answered") << none << QStringList{"MKD"} << 0.0 << "MKD"
                                                << "did not answer in time";
    }
    void ReportsLostConnections()
    {
        QFETCH(QStringList, dropOn);
        QFETCH(QStringList, mute);
        QFETCH(double, idleTimeout);
        QFETCH(QString, call);
        QFETCH(QString, error);

        FtpTestServer::Options options;
        options.Mute = mute;
        options.DropOn = dropOn;
        options.IdleTimeout = qAbs(idleTimeout);
        options.IdleSilent = idleTimeout < 0;
        Session s(options);
        QVERIFY(s.Connect());
        if (idleTimeout != 0)
            QTest::qWait(static_cast<int>(qAbs(idleTimeout) * 1000) + 1500);

        QElapsedTimer clock;
        clock.start();
        const FtpResult result = call == QLatin1String("LIST")  ? s.ftp.List(QStringLiteral("/")).Result
                                 : call == QLatin1String("MKD") ? s.ftp.Mkd(QStringLiteral("/x"))
                                                                : s.ftp.Cwd(QStringLiteral("/"));
        QVERIFY(clock.elapsed() < 20000);
        QVERIFY(!result.Ok);
        QVERIFY(result.ConnectionLost);
        QVERIFY2(result.Error.contains(error), qPrintable(result.Error));
        QCOMPARE(s.server.Commands().count(QStringLiteral("USER tester")), 1);

        const qsizetype commandsBefore = s.server.Commands().size();
        const FtpResult next = s.ftp.Pwd();
        QVERIFY(next.ConnectionLost);
        QVERIFY2(next.Error.contains(error), qPrintable(next.Error));
        QCOMPARE(s.server.Commands().size(), commandsBefore);

        QVERIFY(s.ftp.IsConnected());
        s.ftp.Disconnect();
        QCOMPARE(s.host.Lines().last(), QStringLiteral("Disconnected from : Shop"));
        QVERIFY(s.Connect());
    }

    // A listener that takes the connection but never greets: the client
    // gives up after the reply time-out, with nothing in the log.
    void GivesUpOnASilentServer()
    {
        SilentListener silent;
        TConnectionSettings account;
        account.Host = QStringLiteral("127.0.0.1:%1").arg(silent.Port());
        RecordingHost host;
        FtpClient ftp(host);
        ftp.SetTimeouts(ShortTimeouts);

        QElapsedTimer clock;
        clock.start();
        const FtpResult result = ftp.Connect(account);
        QVERIFY(clock.elapsed() < 20000);
        QVERIFY2(result.Error.contains(QLatin1String("did not answer in time")), qPrintable(result.Error));
        QVERIFY(!ftp.IsConnected());
        QVERIFY(host.Lines().isEmpty());
    }
};

QTEST_GUILESS_MAIN(FtpClientTest)
#include "tst_ftp_client.moc"
