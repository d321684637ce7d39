#include "RecordingHost.h"
#include "RecordingPrompts.h"
#include "SshTestServer.h"
#include "TestFolder.h"
#include "TestStore.h"
#include "cli/CliCertificateDecision.h"
#include "projects/AccountStore.h"
#include "publish/CertificateTrust.h"
#include "publish/SftpClient.h"
#include "settings/ApplicationDataAPI.h"

#include <QFileInfo>
#include <QTest>

namespace {

// Answers every host key question the same way and keeps what it was shown.
class RecordingDecision : public CertificateDecision {
public:
    explicit RecordingDecision(bool answer) : answer_(answer) {}
    bool Trust(const ServerCertificate& key) override
    {
        asked.append(key);
        return answer_;
    }
    QList<ServerCertificate> asked;

private:
    bool answer_;
};

bool Logged(const RecordingHost& host, const QString& line)
{
    return host.Lines().contains(line);
}

} // namespace

// The SFTP client against a real OpenSSH server on loopback.
class SftpClientTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        server = std::make_unique<SshTestServer>();
        if (!server->IsRunning())
            QFAIL(qPrintable(server->Error()));
    }
    void cleanup() { server.reset(); }

    // Each way of logging in, right and wrong. The account trusts the host
    // key as OpenSSH's own tool prints it, which also proves the client
    // computes the same fingerprint.
    void Logins_data()
    {
        QTest::addColumn<QString>("way");    // "key", "passphrase key", "password"
        QTest::addColumn<QString>("secret"); // password or passphrase; "-" for the right one
        QTest::addColumn<QString>("error");  // empty: logged in
        QTest::newRow("key") << "key"
                             << "-"
                             << "";
        QTest::newRow("key with its passphrase") << "passphrase key"
                                                 << "-"
                                                 << "";
        QTest::newRow("key with a wrong passphrase") << "passphrase key"
                                                     << "not it"
                                                     << "refused the login";
        QTest::newRow("missing key file") << "missing key"
                                          << "-"
                                          << "The key file of SftpAccount cannot be read";
        QTest::newRow("password") << "password"
                                  << "-"
                                  << "";
        QTest::newRow("wrong password") << "password"
                                        << "not it"
                                        << "refused the login";
    }
    void Logins()
    {
        QFETCH(QString, way);
        QFETCH(QString, secret);
        QFETCH(QString, error);
        TConnectionSettings account;
        if (way == QLatin1String("password")) {
            if (!server->PasswordSkipReason().isEmpty())
                QSKIP(qPrintable(server->PasswordSkipReason()));
            account = server->PasswordAccount();
            if (secret != QLatin1String("-"))
                account.Password = secret;
        } else {
            account = server->KeyAccount();
            if (way == QLatin1String("passphrase key")) {
                account.KeyFile = server->PassphraseKeyFile();
                account.KeyPassphrase =
                    secret == QLatin1String("-") ? SshTestServer::KeyPassphrase() : secret;
            } else if (way == QLatin1String("missing key")) {
                account.KeyFile = server->KeyFile() + QStringLiteral(".gone");
            }
        }
        account.TrustedHostKey = server->HostKeyFingerprint();
        QVERIFY(account.TrustedHostKey.startsWith(QLatin1String("SHA256:")));

        RecordingHost host;
        SftpClient client(host);
        const RemoteResult result = client.Connect(account);
        QCOMPARE(result.Error.contains(error), true);
        QCOMPARE(result.Ok, error.isEmpty());
        QCOMPARE(client.IsLoggedIn(), error.isEmpty());
        QCOMPARE(Logged(host, "Logged in to (SFTP) : SftpAccount"), error.isEmpty());
        if (error.isEmpty()) {
            QVERIFY(Logged(host, "Connected to (SFTP) : SftpAccount"));
            QVERIFY(client.List(server->SitePath()).Result.Ok);
            client.Disconnect();
            QVERIFY(Logged(host, "Disconnected from (SFTP) : SftpAccount"));
            QVERIFY(!client.IsLoggedIn());
        }
    }

    // A host key the account does not trust yet goes to the decision; a
    // refusal, and a key other than the trusted one, end the connection
    // before any login is sent.
    void HostKeyTrust_data()
    {
        QTest::addColumn<QString>("trusted"); // "", "right" or "other"
        QTest::addColumn<int>("decision");    // -1 none, 0 refuses, 1 accepts
        QTest::addColumn<bool>("connects");
        QTest::addColumn<int>("questions");
        QTest::newRow("unknown, no one to ask") << "" << -1 << false << 0;
        QTest::newRow("unknown, refused") << "" << 0 << false << 1;
        QTest::newRow("unknown, accepted") << "" << 1 << true << 1;
        QTest::newRow("trusted before") << "right" << 0 << true << 0;
        QTest::newRow("another key trusted, refused") << "other" << 0 << false << 1;
    }
    void HostKeyTrust()
    {
        QFETCH(QString, trusted);
        QFETCH(int, decision);
        QFETCH(bool, connects);
        QFETCH(int, questions);
        const QString other = HostKeyFingerprintText(QByteArray(32, '\x11'));
        TConnectionSettings account = server->KeyAccount();
        if (trusted == QLatin1String("right"))
            account.TrustedHostKey = server->HostKeyFingerprint();
        else if (trusted == QLatin1String("other"))
            account.TrustedHostKey = other;

        RecordingHost host;
        RecordingDecision asker(decision == 1);
        SftpClient client(host);
        if (decision >= 0)
            client.SetCertificateDecision(&asker);
        const RemoteResult result = client.Connect(account);
        QCOMPARE(result.Ok, connects);
        QCOMPARE(int(asker.asked.size()), questions);
        if (questions > 0) {
            const ServerCertificate& key = asker.asked.first();
            QVERIFY(key.HostKey);
            QCOMPARE(key.Fingerprint, server->HostKeyFingerprint());
            QCOMPARE(key.Host, server->HostText());
            QCOMPARE(key.Trusted, trusted == QLatin1String("other") ? other : QString());
        }
        if (connects) {
            QCOMPARE(server->LoginLines().size(), 1);
            // Accepted once, it is not asked about again in this client's life.
            QVERIFY(client.Connect(account).Ok);
            QCOMPARE(int(asker.asked.size()), questions);
            return;
        }
        QVERIFY(result.ConnectionLost);
        QVERIFY2(server->LoginLines().isEmpty(), qPrintable(server->LoginLines().join('\n')));
        QVERIFY(result.Error.contains(server->HostKeyFingerprint()));
        QVERIFY(result.Error.contains(QLatin1String("No login and no file was sent.")));
        if (trusted == QLatin1String("other"))
            QVERIFY(result.Error.contains(other));
        TestFolder local;
        QVERIFY(!client.Send(local.Write(QStringLiteral("x"), "x"), server->SitePath() + "x").Ok);
        QVERIFY(server->SiteEntries().isEmpty());
    }

    // The command line trusts a host key only when --trust-fingerprint names
    // it, and then keeps it with the account; otherwise it says how.
    void CommandLineTrustsTheNamedHostKey_data()
    {
        QTest::addColumn<QString>("named"); // "right", "other" or "none"
        QTest::addColumn<bool>("connects");
        QTest::newRow("the server's key") << "right" << true;
        QTest::newRow("another key") << "other" << false;
        QTest::newRow("none named") << "none" << false;
    }
    void CommandLineTrustsTheNamedHostKey()
    {
        QFETCH(QString, named);
        QFETCH(bool, connects);
        QString option;
        const QString other = HostKeyFingerprintText(QByteArray(32, '\x22'));
        if (named != QLatin1String("none")) {
            const QString value = named == QLatin1String("right") ? server->HostKeyFingerprint() : other;
            QCOMPARE(TakeTrustFingerprint({value}, option), QString());
        }
        QVERIFY(!TakeTrustFingerprint({"SHA256:short"}, option).isEmpty());
        TestStore fixture;
        RecordingPrompts prompts;
        CliCertificateDecision cli(prompts, fixture.store.get(), option);
        RecordingHost host;
        SftpClient client(host);
        client.SetCertificateDecision(&cli);
        QCOMPARE(client.Connect(server->KeyAccount()).Ok, connects);
        const QString stored =
            ReadAccountSettings(*fixture.store, QStringLiteral("SftpAccount")).TrustedHostKey;
        QCOMPARE(stored, connects ? server->HostKeyFingerprint() : QString());
        QCOMPARE(prompts.Count(RecordingPrompts::Kind::Info), connects ? 0 : 1);
        if (!connects)
            QVERIFY(prompts.Texts().first().contains(QStringLiteral("--trust-fingerprint ") +
                                                     server->HostKeyFingerprint()));
    }

    // A server that comes back with another host key gets no login and no
    // file, even from a client that accepted the old key moments before.
    void ChangedHostKeyIsRefusedWithBothFingerprints()
    {
        TestFolder local;
        const QString file = local.Write(QStringLiteral("a.txt"), "new");
        RecordingHost host;
        RecordingPrompts prompts;
        AskingCertificateDecision asker(prompts, nullptr);
        prompts.QueueAnswers({IDYES});
        SftpClient client(host);
        client.SetCertificateDecision(&asker);
        const TConnectionSettings account = server->KeyAccount();
        QVERIFY(client.Connect(account).Ok);
        QVERIFY(prompts.Texts().first().contains(server->HostKeyFingerprint()));
        const QString before = server->HostKeyFingerprint();

        client.Disconnect();
        QVERIFY(server->Restart(true));
        const int logins = int(server->LoginLines().size());

        const RemoteResult result = client.Connect(account);
        QVERIFY(!result.Ok);
        QVERIFY2(result.Error.contains(before) && result.Error.contains(server->HostKeyFingerprint()),
                 qPrintable(result.Error));
        QCOMPARE(prompts.Count(RecordingPrompts::Kind::Question), 1);
        QCOMPARE(int(server->LoginLines().size()), logins);
        QVERIFY(!client.Send(file, server->SitePath() + QStringLiteral("a.txt")).Ok);
        QVERIFY(server->SiteEntries().isEmpty());
    }

    // The commands on a site holding a.txt, b.txt and sub/c.txt. A refusal
    // changes nothing and leaves the session usable.
    void Commands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("path");   // below the site folder
        QTest::addColumn<QString>("target"); // rename's target
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("after");
        const QStringList start{"a.txt", "b.txt", "sub", "sub/c.txt"};
        QTest::newRow("make folder") << "mkdir"
                                     << "new"
                                     << "" << true
                                     << QStringList{"a.txt", "b.txt", "new", "sub", "sub/c.txt"};
        QTest::newRow("make an existing folder") << "mkdir"
                                                 << "sub"
                                                 << "" << false << start;
        QTest::newRow("make a folder in a missing one") << "mkdir"
                                                        << "none/new"
                                                        << "" << false << start;
        QTest::newRow("rename") << "rename"
                                << "a.txt"
                                << "sub/a b.txt" << true
                                << QStringList{"b.txt", "sub", "sub/a b.txt", "sub/c.txt"};
        QTest::newRow("rename onto an existing file") << "rename"
                                                      << "a.txt"
                                                      << "b.txt" << false << start;
        QTest::newRow("rename a missing file") << "rename"
                                               << "none.txt"
                                               << "d.txt" << false << start;
        QTest::newRow("delete") << "rm"
                                << "sub/c.txt"
                                << "" << true << QStringList{"a.txt", "b.txt", "sub"};
        QTest::newRow("delete a missing file") << "rm"
                                               << "none.txt"
                                               << "" << false << start;
    }
    void Commands()
    {
        QFETCH(QString, command);
        QFETCH(QString, path);
        QFETCH(QString, target);
        QFETCH(bool, ok);
        QFETCH(QStringList, after);
        const QString site = server->SitePath();
        server->PutFile(site + "a.txt", "alpha");
        server->PutFile(site + "b.txt", "bravo");
        server->PutFile(site + "sub/c.txt", "charlie");
        RecordingHost host;
        SftpClient client(host);
        SftpAccountConnect(client);

        RemoteResult result;
        if (command == QLatin1String("mkdir"))
            result = client.MakeFolder(site + path);
        else if (command == QLatin1String("rename"))
            result = client.Rename(site + path, site + target);
        else
            result = client.Delete(site + path);
        QVERIFY2(result.Ok == ok, qPrintable(result.Error));
        QVERIFY(!result.ConnectionLost);
        QCOMPARE(result.Error.isEmpty(), ok);
        QCOMPARE(server->SiteEntries(), after);
        QCOMPARE(server->FileBytes(site + "b.txt"), QByteArray("bravo"));
        QVERIFY(client.IsLoggedIn());
        QVERIFY(client.List(site).Result.Ok);
        QCOMPARE(client.RenameTarget(), RenameOntoExisting::Refuses);
    }

    // Send, list, size and fetch carry a file there and back whole, names
    // with blanks included; a fetch that fails keeps the local file.
    void FilesGoThereAndBack()
    {
        TestFolder local;
        const QByteArray bytes = QByteArray("0123456789").repeated(30000);
        const QString source = local.Write(QStringLiteral("big file.bin"), bytes);
        const QString site = server->SitePath();
        server->PutFile(site + "old.txt", "old");
        RecordingHost host;
        SftpClient client(host);
        SftpAccountConnect(client);

        QVERIFY(client.MakeFolder(site + "in dir").Ok);
        const QString remote = site + QStringLiteral("in dir/big file.bin");
        QVERIFY(client.Send(source, remote).Ok);
        QCOMPARE(server->FileBytes(remote), bytes);
        QVERIFY(client.Send(local.Write(QStringLiteral("small"), "new"), site + "old.txt").Ok);
        QCOMPARE(server->FileBytes(site + "old.txt"), QByteArray("new"));
        const auto bar = host.Progress(RecordingHost::Kind::FileProgress);
        QVERIFY(bar.contains(qMakePair(qint64(bytes.size()), qint64(bytes.size()))));

        const RemoteListing listing = client.List(site);
        QVERIFY(listing.Result.Ok);
        QCOMPARE(listing.Entries.size(), 2);
        for (const FtpEntry& entry : listing.Entries) {
            if (entry.Name == QLatin1String("in dir"))
                QCOMPARE(entry.Kind, FtpEntryKind::Folder);
            else
                QVERIFY(entry.Name == QLatin1String("old.txt") && entry.Kind == FtpEntryKind::File &&
                        entry.Size == 3);
        }
        const RemoteListing inner = client.List(site + "in dir");
        QCOMPARE(inner.Entries.size(), 1);
        QCOMPARE(inner.Entries.first().Name, QStringLiteral("big file.bin"));
        QCOMPARE(inner.Entries.first().Size, qint64(bytes.size()));
        QCOMPARE(client.Size(remote).Size, qint64(bytes.size()));
        const RemoteSize missing = client.Size(site + "none.txt");
        QVERIFY(!missing.Result.Ok && !missing.Result.ConnectionLost);
        QVERIFY(!client.List(site + "none").Result.Ok);

        const QString target = local.Write(QStringLiteral("fetched.bin"), "kept");
        QVERIFY(!client.Fetch(site + "none.bin", target).Ok);
        QCOMPARE(ReadFileBytes(target), QByteArray("kept"));
        QVERIFY(client.Fetch(remote, target, bytes.size()).Ok);
        QCOMPARE(ReadFileBytes(target), bytes);
        // An empty file arrives empty, with or without a size from the
        // listing, and the session goes on.
        server->PutFile(site + "empty.txt", "");
        QCOMPARE(client.Size(site + "empty.txt").Size, qint64(0));
        for (const qint64 listed : {qint64(0), qint64(-1)}) {
            QVERIFY(client.Fetch(site + "empty.txt", target, listed).Ok);
            QVERIFY(QFileInfo::exists(target) && ReadFileBytes(target).isEmpty());
            QVERIFY(client.Fetch(remote, target, bytes.size()).Ok);
            QCOMPARE(ReadFileBytes(target), bytes);
        }
        QVERIFY(!client.Send(source, site + "none/x.bin").Ok);
        QVERIFY(client.IsLoggedIn());
        // A path that is not a full server path is never sent.
        QVERIFY(!client.Delete(QStringLiteral("old.txt")).Ok);
        QVERIFY(server->Exists(site + "old.txt"));
    }

    // Where the host locks the user into a folder whose top is not
    // writable, nothing can be made there.
    void TopOfTheLockedFolderIsNotWritable()
    {
        if (server->SitePath() != QLatin1String("/site/"))
            QSKIP("the server locks the user in only when the tests run as root");
        RecordingHost host;
        SftpClient client(host);
        SftpAccountConnect(client);
        QVERIFY(!client.MakeFolder(QStringLiteral("/top")).Ok);
        QVERIFY(client.MakeFolder(QStringLiteral("/site/top")).Ok);
    }

private:
    void SftpAccountConnect(SftpClient& client)
    {
        TConnectionSettings account = server->KeyAccount();
        account.TrustedHostKey = server->HostKeyFingerprint();
        const RemoteResult result = client.Connect(account);
        QVERIFY2(result.Ok, qPrintable(result.Error));
    }

    std::unique_ptr<SshTestServer> server;
};

QTEST_MAIN(SftpClientTest)
#include "tst_sftp_client.moc"
