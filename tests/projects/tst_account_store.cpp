#include "TestStore.h"
#include "projects/AccountStore.h"
#include "projects/ProjectSites.h"
#include "projects/ProjectStore.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"

#include <QTest>

using namespace Schema;

namespace {

TAccountFields SampleAccount()
{
    TAccountFields f;
    f.Name = QStringLiteral("Main");
    f.Host = QStringLiteral("ftp.example.test:2121");
    f.User = QStringLiteral("webmaster");
    f.Pass = QStringLiteral("s3cret");
    f.InstallerPath = QStringLiteral("/downloads");
    f.PhpPath = QStringLiteral("/inc/");
    f.LinkUploadPath = QString();
    f.ServerHome = QStringLiteral("/public_html");
    f.ServerRoot = QStringLiteral("/");
    return f;
}

} // namespace

class AccountStoreTest : public QObject {
    Q_OBJECT
private slots:
    void init() { fixture_ = std::make_unique<TestStore>(); }
    void cleanup() { fixture_.reset(); }

    // Key order of a first save, with every server folder closed by "/"
    // and the security choice and the connections after the keys that were
    // there before them.
    // Key order of a first save, with every server folder closed by "/",
    // the security choice after the keys that were there before it, and the
    // SFTP choices after that.
    void SaveWritesKeysInOrderWithTrailingSlashes()
    {
        TAppData& store = *fixture_->store;
        SaveAccount(store, SampleAccount());
        const QStringList expected{"<ULInstall>/downloads/",
                                   "<ULPhp>/inc/",
                                   "<ULLinkUpLoad>/",
                                   "<FtpPass>s3cret",
                                   "<FtpUser>webmaster",
                                   "<FtpHost>ftp.example.test:2121",
                                   "<FtpAccount>Main",
                                   "<ServerHome>/public_html/",
                                   "<ServerRoot>/",
                                   "<FtpSecurity>plain",
                                   "<Connections>4",
                                   "<Protocol>FTP",
                                   "<SshAuth>password",
                                   "<SshKeyFile>",
                                   "<SshKeyPass>"};
        QCOMPARE(store.ReadSectionEntries(AccountSection("Main"), QString()), expected);
    }

    // What the stored text of the choice reads as, for the Accounts page and
    // for the connection. An account saved before the choice existed has no
    // text and stays plain FTP; a text this program does not know never
    // lets the password go out in the clear.
    void SecurityChoiceIsReadBack_data()
    {
        QTest::addColumn<QString>("stored"); // "-": no key at all
        QTest::addColumn<int>("security");
        QTest::newRow("no key (an older file)") << "-" << int(TFtpSecurity::Plain);
        QTest::newRow("empty") << "" << int(TFtpSecurity::Plain);
        QTest::newRow("plain") << "plain" << int(TFtpSecurity::Plain);
        QTest::newRow("when offered") << "tls-if-offered" << int(TFtpSecurity::TlsIfOffered);
        QTest::newRow("required") << "tls-required" << int(TFtpSecurity::TlsRequired);
        QTest::newRow("unknown") << "tls-implicit" << int(TFtpSecurity::TlsRequired);
    }
    void SecurityChoiceIsReadBack()
    {
        QFETCH(QString, stored);
        QFETCH(int, security);
        TAppData& store = *fixture_->store;
        const QString s = AccountSection("Main");
        store.WriteString(s, KeyFtpHost, QStringLiteral("ftp.example.test"));
        store.WriteString(s, KeyFtpAccount, QStringLiteral("Main"));
        if (stored != QLatin1String("-"))
            store.WriteString(s, KeyFtpSecurity, stored);
        QCOMPARE(int(LoadAccount(store, QStringLiteral("Main")).Security), security);
        QCOMPARE(int(ReadAccountSettings(store, QStringLiteral("Main")).Security), security);
        // Saving what was read writes the choice as it reads.
        SaveAccount(store, LoadAccount(store, QStringLiteral("Main")));
        QCOMPARE(int(FtpSecurityFromText(store.ReadString(s, KeyFtpSecurity, {}))), security);
        QCOMPARE(FtpSecurityChoices().size(), 3);
    }

    // The connections an upload opens: four for an account saved before the
    // setting existed, and never fewer than one or more than eight, whatever
    // the file holds.
    void ConnectionsAreReadBack_data()
    {
        QTest::addColumn<QString>("stored"); // "-": no key at all
        QTest::addColumn<int>("connections");
        QTest::newRow("no key (an older file)") << "-" << 4;
        QTest::newRow("one") << "1" << 1;
        QTest::newRow("eight") << "8" << 8;
        QTest::newRow("none") << "0" << 1;
        QTest::newRow("too many") << "64" << 8;
        QTest::newRow("negative") << "-3" << 1;
        QTest::newRow("no number") << "many" << 4;
    }
    void ConnectionsAreReadBack()
    {
        QFETCH(QString, stored);
        QFETCH(int, connections);
        TAppData& store = *fixture_->store;
        const QString s = AccountSection("Main");
        store.WriteString(s, KeyFtpAccount, QStringLiteral("Main"));
        if (stored != QLatin1String("-"))
            store.WriteString(s, KeyConnections, stored);
        QCOMPARE(LoadAccount(store, QStringLiteral("Main")).Connections, connections);
        QCOMPARE(ReadAccountSettings(store, QStringLiteral("Main")).Connections, connections);
        SaveAccount(store, LoadAccount(store, QStringLiteral("Main")));
        QCOMPARE(store.ReadString(s, KeyConnections, {}), QString::number(connections));
    }

    // What the stored protocol and log-in texts read as. An account saved
    // before SFTP existed is FTP with a password; a protocol this program
    // does not know is never taken for plain FTP.
    void ProtocolChoiceIsReadBack_data()
    {
        QTest::addColumn<QString>("protocol"); // "-": no key at all
        QTest::addColumn<QString>("auth");
        QTest::addColumn<int>("readProtocol");
        QTest::addColumn<int>("readAuth");
        const int ftp = int(TRemoteProtocol::Ftp);
        const int sftp = int(TRemoteProtocol::Sftp);
        const int password = int(TSshAuthentication::Password);
        const int key = int(TSshAuthentication::KeyFile);
        QTest::newRow("no keys (an older file)") << "-"
                                                 << "-" << ftp << password;
        QTest::newRow("FTP") << "FTP"
                             << "password" << ftp << password;
        QTest::newRow("SFTP by password") << "SFTP"
                                          << "password" << sftp << password;
        QTest::newRow("SFTP by key file") << "SFTP"
                                          << "key-file" << sftp << key;
        QTest::newRow("unknown protocol") << "FTPS"
                                          << "" << sftp << password;
        QTest::newRow("unknown log-in") << "SFTP"
                                        << "agent" << sftp << password;
    }
    void ProtocolChoiceIsReadBack()
    {
        QFETCH(QString, protocol);
        QFETCH(QString, auth);
        QFETCH(int, readProtocol);
        QFETCH(int, readAuth);
        TAppData& store = *fixture_->store;
        const QString s = AccountSection("Main");
        store.WriteString(s, KeyFtpAccount, QStringLiteral("Main"));
        if (protocol != QLatin1String("-"))
            store.WriteString(s, KeyProtocol, protocol);
        if (auth != QLatin1String("-"))
            store.WriteString(s, KeySshAuth, auth);
        QCOMPARE(int(LoadAccount(store, QStringLiteral("Main")).Protocol), readProtocol);
        QCOMPARE(int(ReadAccountSettings(store, QStringLiteral("Main")).Protocol), readProtocol);
        QCOMPARE(int(LoadAccount(store, QStringLiteral("Main")).Authentication), readAuth);
        QCOMPARE(int(ReadAccountSettings(store, QStringLiteral("Main")).Authentication), readAuth);
        SaveAccount(store, LoadAccount(store, QStringLiteral("Main")));
        QCOMPARE(int(RemoteProtocolFromText(store.ReadString(s, KeyProtocol, {}))), readProtocol);
        QCOMPARE(RemoteProtocolChoices(), QStringList({"FTP", "SFTP"}));
        QCOMPARE(SshAuthenticationChoices(), QStringList({"Password", "Private key file"}));
    }

    // The key file and its passphrase are kept like the password and reach
    // the connection as typed.
    void SftpFieldsReachTheConnection()
    {
        TAppData& store = *fixture_->store;
        TAccountFields f = SampleAccount();
        f.Protocol = TRemoteProtocol::Sftp;
        f.Authentication = TSshAuthentication::KeyFile;
        f.KeyFile = QStringLiteral("/home/me/.ssh/id ed25519");
        f.KeyPass = QStringLiteral("p\u00e4ss phrase");
        SaveAccount(store, f);
        const TAccountFields read = LoadAccount(store, QStringLiteral("Main"));
        QCOMPARE(read.KeyFile, f.KeyFile);
        QCOMPARE(read.KeyPass, f.KeyPass);
        const TConnectionSettings c = ReadAccountSettings(store, QStringLiteral("Main"));
        QCOMPARE(int(c.Protocol), int(TRemoteProtocol::Sftp));
        QCOMPARE(int(c.Authentication), int(TSshAuthentication::KeyFile));
        QCOMPARE(c.KeyFile, f.KeyFile);
        QCOMPARE(c.KeyPassphrase, f.KeyPass);
        QCOMPARE(c.Password, QStringLiteral("s3cret"));
    }

    // The trusted certificate is kept through saves of the page, goes with
    // a new host, and only the trust functions change it otherwise. The
    // files an upload left aside on the server go with a new host too.
    void TrustedCertificateBelongsToTheHost_data()
    {
        QTest::addColumn<QString>("newHost");
        QTest::addColumn<QString>("after");
        QTest::newRow("same host") << "ftp.example.test:2121"
                                   << "AB:CD";
        QTest::newRow("new host") << "ftp.other.test"
                                  << "";
    }
    void TrustedCertificateBelongsToTheHost()
    {
        QFETCH(QString, newHost);
        QFETCH(QString, after);
        TAppData& store = *fixture_->store;
        TAccountFields f = SampleAccount();
        f.Security = TFtpSecurity::TlsRequired;
        SaveAccount(store, f);
        TrustCertificate(store, QStringLiteral("Main"), QStringLiteral("AB:CD"));
        QCOMPARE(ReadAccountSettings(store, QStringLiteral("Main")).TrustedCertificate,
                 QStringLiteral("AB:CD"));

        QCOMPARE(store.ReadSectionEntries(AccountSection("Main"), QString()).last(),
                 QStringLiteral("<FtpCertificate>AB:CD"));
        // A host key is kept and forgotten the same way, alongside.
        const QString hostKey = after.isEmpty() ? QString() : QStringLiteral("SHA256:abc");
        TrustHostKey(store, QStringLiteral("Main"), QStringLiteral("SHA256:abc"));
        QCOMPARE(LoadAccount(store, QStringLiteral("Main")).TrustedHostKey, QStringLiteral("SHA256:abc"));
        f = LoadAccount(store, QStringLiteral("Main"));
        QCOMPARE(f.TrustedCertificate, QStringLiteral("AB:CD"));
        f.TrustedCertificate.clear(); // what the page holds does not count
        f.Host = newHost;
        store.WriteList(AccountSection("Main"), KeyAsideFiles, {"/a.html.BRAside"});
        SaveAccount(store, f);
        QCOMPARE(ReadAccountSettings(store, QStringLiteral("Main")).TrustedCertificate, after);
        QCOMPARE(ReadAccountSettings(store, QStringLiteral("Main")).TrustedHostKey, hostKey);
        QCOMPARE(store.ReadList(AccountSection("Main"), KeyAsideFiles).isEmpty(), after.isEmpty());
        ForgetHostKey(store, QStringLiteral("Main"));
        QVERIFY(ReadAccountSettings(store, QStringLiteral("Main")).TrustedHostKey.isEmpty());
        ForgetCertificate(store, QStringLiteral("Main"));
        QVERIFY(ReadAccountSettings(store, QStringLiteral("Main")).TrustedCertificate.isEmpty());
        QCOMPARE(int(ReadAccountSettings(store, QStringLiteral("Main")).Security),
                 int(TFtpSecurity::TlsRequired));
    }

    void SaveWithoutANameWritesNothing()
    {
        TAppData& store = *fixture_->store;
        TAccountFields f = SampleAccount();
        f.Name.clear();
        SaveAccount(store, f);
        QVERIFY(store.ReadSectionEntries(AccountSection(QString()), QString()).isEmpty());
    }

    void LoadShowsTheStoredFields()
    {
        TAppData& store = *fixture_->store;
        SaveAccount(store, SampleAccount());
        const TAccountFields f = LoadAccount(store, QStringLiteral("Main"));
        QCOMPARE(f.Name, QStringLiteral("Main"));
        QCOMPARE(f.Host, QStringLiteral("ftp.example.test:2121"));
        QCOMPARE(f.User, QStringLiteral("webmaster"));
        QCOMPARE(f.Pass, QStringLiteral("s3cret"));
        QCOMPARE(f.InstallerPath, QStringLiteral("/downloads/"));
        QCOMPARE(f.PhpPath, QStringLiteral("/inc/"));
        QCOMPARE(f.LinkUploadPath, QStringLiteral("/"));
        QCOMPARE(f.ServerHome, QStringLiteral("/public_html/"));
        QCOMPARE(f.ServerRoot, QStringLiteral("/"));
    }

    // An account added to the list but never stored keeps its name, so what
    // the user types into it is saved rather than dropped.
    void NeverStoredAccountKeepsItsName()
    {
        TAppData& store = *fixture_->store;
        TAccountFields f = LoadAccount(store, QStringLiteral("Fresh"));
        QCOMPARE(f.Name, QStringLiteral("Fresh"));
        QVERIFY(f.Host.isEmpty() && f.ServerHome.isEmpty());
        f.Host = QStringLiteral("ftp.fresh.test");
        SaveAccount(store, f);
        QCOMPARE(LoadAccount(store, QStringLiteral("Fresh")).Host, QStringLiteral("ftp.fresh.test"));
    }

    // Each stored key lands in its own field of the record.
    void ReadAccountSettingsFillsEveryField()
    {
        TAppData& store = *fixture_->store;
        SaveAccount(store, SampleAccount());
        store.WriteString(AccountSection("Main"), KeyHTTPHost, QStringLiteral("www.example.test"));
        const TConnectionSettings c = ReadAccountSettings(store, QStringLiteral("Main"));
        QCOMPARE(c.InstallerDir, QStringLiteral("/downloads/"));
        QCOMPARE(c.PhpDir, QStringLiteral("/inc/"));
        QCOMPARE(c.LinkPageDir, QStringLiteral("/"));
        QCOMPARE(c.Password, QStringLiteral("s3cret"));
        QCOMPARE(c.UserName, QStringLiteral("webmaster"));
        QCOMPARE(c.Host, QStringLiteral("ftp.example.test:2121"));
        QCOMPARE(c.HomePath, QStringLiteral("/public_html/"));
        QCOMPARE(c.RootPath, QStringLiteral("/"));
        QCOMPARE(c.AccountName, QStringLiteral("Main"));
        QCOMPARE(c.HttpHost, QStringLiteral("www.example.test"));

        const TConnectionSettings unknown = ReadAccountSettings(store, QStringLiteral("Nobody"));
        QCOMPARE(unknown.AccountName, QStringLiteral("Nobody"));
        QVERIFY(unknown.Host.isEmpty() && unknown.InstallerDir.isEmpty());
    }

    void NewAccountNameRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");
        const QString notNew = QStringLiteral("That's not a new account");
        QTest::newRow("new") << "Backup" << QString();
        QTest::newRow("empty") << ""
                               << "You haven't provided a new account name!";
        QTest::newRow("same") << "MainSite" << notNew;
        QTest::newRow("tail other case") << "SITE" << notNew;
        QTest::newRow("head") << "main" << notNew;
        QTest::newRow("contains existing") << "MainSite2" << QString();
        QTest::newRow("open angle") << "a<b"
                                    << "An account name can't contain \"<\" or \">\".";
        QTest::newRow("close angle") << "a>b"
                                     << "An account name can't contain \"<\" or \">\".";
        QTest::newRow("100 characters") << QString(100, QLatin1Char('x')) << QString();
        QTest::newRow("101 characters")
            << QString(101, QLatin1Char('x')) << "An account name can't be longer than 100 characters.";
    }
    void NewAccountNameRefusals()
    {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        QCOMPARE(NewAccountNameRefusal(name, {QStringLiteral("MainSite"), QStringLiteral("Mirror")}),
                 refusal);
    }

    void CopyNeedsAShownAccount()
    {
        QCOMPARE(CopyAccountRefusal(QString()), QStringLiteral("There's no current account loaded to copy!"));
        QCOMPARE(CopyAccountRefusal(QStringLiteral("Main")), QString());
    }

    // Deleting an account takes it out of every project that lists it and
    // nothing else out of any list.
    void DeleteRemovesTheAccountFromEveryProject()
    {
        TAppData& store = *fixture_->store;
        SaveAccount(store, SampleAccount());
        TAccountFields other = SampleAccount();
        other.Name = QStringLiteral("main");
        SaveAccount(store, other);
        store.WriteList(SecSites, QStringLiteral("P1"), {"Mirror", "Main"});
        store.WriteList(SecSites, QStringLiteral("P2"), {"main", "Main", "Backup"});
        store.WriteList(SecSites, QStringLiteral("P3"), {"Mirror", "MainX"});
        store.WriteList(SecSites, QStringLiteral("P4"), {"Main", "Main"});

        const QStringList users = ProjectsUsingAccount(store, QStringLiteral("Main"));
        QCOMPARE(users, QStringList({"P1", "P2", "P4"}));
        QCOMPARE(DeleteAccountQuestion(QStringLiteral("Main"), users),
                 QStringLiteral("Delete account Main\rwhich is used by-\rP1\rP2\rP4\r"));

        DeleteAccount(store, QStringLiteral("Main"), users);
        QVERIFY(store.ReadSectionEntries(AccountSection("Main"), QString()).isEmpty());
        QCOMPARE(LoadAccount(store, QStringLiteral("main")).Host, other.Host);
        QCOMPARE(store.ReadList(SecSites, "P1"), QStringList({"Mirror"}));
        QCOMPARE(store.ReadList(SecSites, "P2"), QStringList({"main", "Backup"}));
        QCOMPARE(store.ReadList(SecSites, "P3"), QStringList({"Mirror", "MainX"}));
        QVERIFY(store.ReadList(SecSites, "P4").isEmpty());
        QVERIFY(ProjectsUsingAccount(store, QStringLiteral("Main")).isEmpty());
    }

    void UnusedAccountHasNoUsers()
    {
        TAppData& store = *fixture_->store;
        store.WriteList(SecSites, QStringLiteral("P1"), {"Mirror"});
        QVERIFY(ProjectsUsingAccount(store, QStringLiteral("Mirr")).isEmpty());
        QVERIFY(ProjectsUsingAccount(store, QStringLiteral("Main")).isEmpty());
    }

private:
    std::unique_ptr<TestStore> fixture_;
};

QTEST_GUILESS_MAIN(AccountStoreTest)
#include "tst_account_store.moc"
