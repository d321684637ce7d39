// FTP over TLS against the test server run with TLS: the three security
// choices, certificates the system does not trust, the pin, and the
// command line's decision.
#include "CliCertificateDecision.h"
#include "FtpTestServer.h"
#include "RecordingHost.h"
#include "RecordingPrompts.h"
#include "TestCertificates.h"
#include "TestFolder.h"
#include "TestStore.h"
#include "UploadFixture.h"
#include "projects/AccountStore.h"
#include "publish/FtpClient.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"

#include <QTest>

namespace {

const FtpTimeouts ShortTimeouts{5, 5, 10};

bool Sent(const FtpTestServer& server, const QString& command)
{
    for (const QString& line : server.Commands())
        if (line.startsWith(command))
            return true;
    return false;
}

// What a user would notice went to the server: the login or a file.
bool LoginOrFileSent(const FtpTestServer& server)
{
    return Sent(server, QStringLiteral("USER")) || Sent(server, QStringLiteral("PASS")) ||
           Sent(server, QStringLiteral("STOR"));
}

// A decision that must never be reached.
struct NoQuestions : CertificateDecision {
    bool Trust(const ServerCertificate& certificate) override
    {
        asked.append(certificate.Fingerprint);
        return false;
    }
    QStringList asked;
};

} // namespace

class FtpTlsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(certs.IsReady(), qPrintable(certs.Error()));
        issued = certs.Issued(QStringLiteral("issued"), QStringLiteral("IP:127.0.0.1"));
        issuedElsewhere = certs.Issued(QStringLiteral("elsewhere"), QStringLiteral("DNS:elsewhere.test"));
        self = certs.SelfSigned(QStringLiteral("self"), QStringLiteral("IP:127.0.0.1"));
        renewed = certs.SelfSigned(QStringLiteral("renewed"), QStringLiteral("IP:127.0.0.1"));
        QVERIFY2(!renewed.Fingerprint.isEmpty() && !issuedElsewhere.Fingerprint.isEmpty(),
                 qPrintable(certs.Error()));
        QVERIFY(self.Fingerprint != renewed.Fingerprint);
    }

    // Each choice against a server with and without TLS, whose certificate
    // the client's authorities trust: no question, files go both ways, and
    // the data connections are protected whenever TLS was taken.
    void SecurityChoices_data()
    {
        QTest::addColumn<int>("security");
        QTest::addColumn<bool>("tlsServer");
        QTest::addColumn<bool>("authSent");
        QTest::addColumn<bool>("encrypted");
        QTest::addColumn<QStringList>("log"); // empty: the connect fails
        QTest::addColumn<QString>("error");
        const int plain = int(TFtpSecurity::Plain);
        const int offered = int(TFtpSecurity::TlsIfOffered);
        const int required = int(TFtpSecurity::TlsRequired);
        const QStringList loggedIn{"Connected to : Shop", "Logged in to : Shop"};
        QTest::newRow("plain FTP, plain server") << plain << false << false << false << loggedIn << "";
        QTest::newRow("plain FTP, TLS server") << plain << true << false << false << loggedIn << "";
        QTest::newRow("when offered, plain server")
            << offered << false << true << false << (loggedIn + QStringList{"TLS not offered by : Shop"})
            << "";
        QTest::newRow("when offered, TLS server") << offered << true << true << true << loggedIn << "";
        QTest::newRow("required, plain server")
            << required << false << true << false << QStringList()
            << "Shop does not offer TLS, which the account requires. No login and no file was sent.";
        QTest::newRow("required, TLS server") << required << true << true << true << loggedIn << "";
    }
    void SecurityChoices()
    {
        QFETCH(int, security);
        QFETCH(bool, tlsServer);
        QFETCH(bool, authSent);
        QFETCH(bool, encrypted);
        QFETCH(QStringList, log);
        QFETCH(QString, error);

        FtpTestServer::Options options;
        if (tlsServer) {
            options.TlsCertificate = issued.Certificate;
            options.TlsKey = issued.Key;
        }
        FtpTestServer server(options);
        QVERIFY2(server.IsRunning(), qPrintable(server.Error()));
        RecordingHost host;
        FtpClient ftp(host);
        ftp.SetTimeouts(ShortTimeouts);
        ftp.SetCertificateAuthorities(certs.AuthorityFile());
        NoQuestions decision;
        ftp.SetCertificateDecision(&decision);
        TConnectionSettings account = server.Account(QStringLiteral("Shop"));
        account.Security = TFtpSecurity(security);

        const FtpResult connected = ftp.Connect(account);
        QCOMPARE(connected.Error, error);
        QVERIFY(decision.asked.isEmpty());
        QCOMPARE(Sent(server, QStringLiteral("AUTH TLS")), authSent);
        if (log.isEmpty()) {
            QVERIFY(!LoginOrFileSent(server));
            return;
        }
        QCOMPARE(host.Lines(), log);

        TestFolder local;
        const QByteArray bytes = "<html>over the wire</html>\r\n";
        const FtpResult sent =
            ftp.Upload(local.Write(QStringLiteral("index.html"), bytes), QStringLiteral("/index.html"));
        QVERIFY2(sent.Ok, qPrintable(sent.Error));
        const FtpListingResult listing = ftp.List(QStringLiteral("/"));
        QVERIFY2(listing.Result.Ok, qPrintable(listing.Result.Error));
        QCOMPARE(listing.Entries.size(), 1);
        QVERIFY(ftp.Download(QStringLiteral("/index.html"), local.FilePath(QStringLiteral("back.html"))).Ok);
        QCOMPARE(server.FileBytes(QStringLiteral("/index.html")), bytes);
        QCOMPARE(local.Read(QStringLiteral("back.html")), bytes);
        QCOMPARE(Sent(server, QStringLiteral("PROT P")), encrypted);
    }

    // A certificate the system does not trust for the name: the one trusted
    // before goes through without a question, an unknown one is asked
    // about (the window's decision), and one other than the one trusted
    // before is refused. A refusal sends neither the login nor a file, and
    // "when offered" never falls back to plain FTP over it. Once trusted,
    // whatever the account's choice, a plain server that takes the place of
    // the TLS one (same host and port) is never sent the login.
    void UntrustedCertificates_data()
    {
        QTest::addColumn<int>("security");
        QTest::addColumn<QString>("certificate"); // "self", "elsewhere"
        QTest::addColumn<QString>("trustedBefore");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("storedAfter"); // the account's fingerprint afterwards
        QTest::addColumn<bool>("thenPlain");
        const int plain = int(TFtpSecurity::Plain);
        const int offered = int(TFtpSecurity::TlsIfOffered);
        const int required = int(TFtpSecurity::TlsRequired);
        const QString selfPrint = self.Fingerprint;
        const QString bare = selfPrint.toLower().remove(QLatin1Char(':'));
        QTest::newRow("self-signed, Yes") << required << "self"
                                          << "" << IDYES << true << true << selfPrint << false;
        QTest::newRow("self-signed, No") << required << "self"
                                         << "" << IDNO << true << false << "" << false;
        QTest::newRow("when offered, self-signed, No") << offered << "self"
                                                       << "" << IDNO << true << false << "" << false;
        QTest::newRow("issued for another name, Yes")
            << offered << "elsewhere"
            << "" << IDYES << true << true << issuedElsewhere.Fingerprint << false;
        QTest::newRow("trusted before")
            << required << "self" << selfPrint << IDNO << false << true << selfPrint << false;
        QTest::newRow("trusted before, written bare")
            << required << "self" << bare << IDNO << false << true << bare << false;
        QTest::newRow("changed") << required << "self" << renewed.Fingerprint << IDYES << false << false
                                 << renewed.Fingerprint << false;
        QTest::newRow("when offered, Yes, then a plain server")
            << offered << "self"
            << "" << IDYES << true << true << selfPrint << true;
        QTest::newRow("when offered, trusted before, then a plain server")
            << offered << "self" << selfPrint << IDNO << false << true << selfPrint << true;
        QTest::newRow("plain FTP, trusted before, then a plain server")
            << plain << "self" << selfPrint << IDNO << false << true << selfPrint << true;
    }
    void UntrustedCertificates()
    {
        QFETCH(int, security);
        QFETCH(QString, certificate);
        QFETCH(QString, trustedBefore);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, ok);
        QFETCH(QString, storedAfter);
        QFETCH(bool, thenPlain);

        const TestCertificates::Made& made = certificate == QLatin1String("self") ? self : issuedElsewhere;
        FtpTestServer::Options options;
        options.TlsCertificate = made.Certificate;
        options.TlsKey = made.Key;
        auto tlsServer = std::make_unique<FtpTestServer>(options);
        const FtpTestServer& server = *tlsServer;
        QVERIFY2(server.IsRunning(), qPrintable(server.Error()));
        TestStore store;
        TConnectionSettings account = server.Account(QStringLiteral("Shop"));
        account.Security = TFtpSecurity(security);
        account.TrustedCertificate = trustedBefore;
        if (!trustedBefore.isEmpty())
            TrustCertificate(*store, QStringLiteral("Shop"), trustedBefore);
        RecordingPrompts prompts;
        prompts.QueueAnswers({answer});
        AskingCertificateDecision decision(prompts, store.store.get());
        RecordingHost host;
        FtpClient ftp(host);
        ftp.SetTimeouts(ShortTimeouts);
        ftp.SetCertificateAuthorities(certs.AuthorityFile());
        ftp.SetCertificateDecision(&decision);

        const FtpResult connected = ftp.Connect(account);
        QCOMPARE(connected.Ok, ok);
        QCOMPARE(prompts.Count(RecordingPrompts::Kind::Question), asked ? 1 : 0);
        if (asked) {
            QVERIFY(prompts.Texts().first().contains(made.Fingerprint));
            QVERIFY(prompts.Texts().first().contains(QLatin1String("Trust this certificate?")));
        }
        QCOMPARE(store->ReadString(Schema::AccountSection("Shop"), Schema::KeyFtpCertificate, {}),
                 storedAfter);
        if (!ok) {
            QVERIFY2(!LoginOrFileSent(server), qPrintable(server.Commands().join(' ')));
            QVERIFY2(connected.Error.contains(made.Fingerprint), qPrintable(connected.Error));
            if (!trustedBefore.isEmpty())
                QVERIFY2(connected.Error.contains(trustedBefore), qPrintable(connected.Error));
            return;
        }
        QVERIFY(ftp.Command(QStringLiteral("MKD /sent")).Ok);
        QVERIFY(ftp.List(QStringLiteral("/")).Result.Ok);
        QVERIFY(Sent(server, QStringLiteral("PROT P")));
        // Connecting again in the same run asks nothing more.
        ftp.Disconnect();
        QVERIFY(ftp.Connect(account).Ok);
        QCOMPARE(prompts.Count(RecordingPrompts::Kind::Question), asked ? 1 : 0);
        if (!thenPlain)
            return;

        ftp.Disconnect();
        FtpTestServer::Options plainOptions;
        plainOptions.Port = server.Port();
        tlsServer.reset();
        FtpTestServer plainServer(plainOptions);
        QVERIFY2(plainServer.IsRunning(), qPrintable(plainServer.Error()));
        QCOMPARE(plainServer.HostText(), account.Host);
        const FtpResult refused = ftp.Connect(account);
        QVERIFY(!refused.Ok);
        QVERIFY(Sent(plainServer, QStringLiteral("AUTH TLS")));
        QVERIFY2(!LoginOrFileSent(plainServer), qPrintable(plainServer.Commands().join(' ')));
        QCOMPARE(refused.Error,
                 QStringLiteral("Shop does not offer TLS, which the account requires since it "
                                "holds a trusted certificate. No login and no file was sent."));
        QCOMPARE(host.Lines().last(), QStringLiteral("TLS not offered by : Shop (the account holds a "
                                                     "trusted certificate; no login was sent)"));
    }

    // A site upload serves the other accounts and fails the one whose
    // server no longer offers TLS although the account trusted its
    // certificate.
    void SiteUploadWithoutTlsForATrustedAccount_data()
    {
        QTest::addColumn<int>("security");
        QTest::newRow("when offered") << int(TFtpSecurity::TlsIfOffered);
        QTest::newRow("plain FTP") << int(TFtpSecurity::Plain);
    }
    void SiteUploadWithoutTlsForATrustedAccount()
    {
        QFETCH(int, security);
        UploadFixture site;
        FtpTestServer::Options options;
        options.TlsCertificate = self.Certificate;
        options.TlsKey = self.Key;
        site.AddAccount(QStringLiteral("Trusted"), options);
        const FtpTestServer& other = site.AddAccount(QStringLiteral("Other"));
        TAccountFields fields = LoadAccount(*site.store, QStringLiteral("Trusted"));
        fields.Security = TFtpSecurity(security);
        SaveAccount(*site.store, fields);
        TrustCertificate(*site.store, QStringLiteral("Trusted"), self.Fingerprint);
        site.Scan();
        RecordingHost overTls;
        QVERIFY(site.Upload(UploadMode::AllChecked, overTls).Succeeded());
        QVERIFY(Sent(*site.servers.front(), QStringLiteral("PROT P")));

        FtpTestServer::Options plainOptions;
        plainOptions.Port = site.servers.front()->Port();
        site.servers.front().reset();
        site.servers.front() = std::make_unique<FtpTestServer>(plainOptions);
        QVERIFY2(site.servers.front()->IsRunning(), qPrintable(site.servers.front()->Error()));
        RecordingHost host;
        const SiteUploadOutcome outcome = site.Upload(UploadMode::AllChecked, host);
        QCOMPARE(outcome.FailedAccounts, QStringList{"Trusted"});
        QVERIFY(!LoginOrFileSent(*site.servers.front()));
        QVERIFY(host.Lines().contains(QStringLiteral("TLS not offered by : Trusted (the account holds a "
                                                     "trusted certificate; no login was sent)")));
        QVERIFY(host.Lines().contains(QStringLiteral("Could not connect to: TRUSTED no files uploaded")));
        // Served in both runs, each time over three connections (one a file).
        QCOMPARE(other.Commands().count(QStringLiteral("USER tester")), 2 * 3);
    }

    // The pin itself: with it, the handshake accepts that certificate and
    // ends on any other before the login, whatever the system trusts.
    void PinnedCertificate_data()
    {
        QTest::addColumn<QString>("certificate"); // what the server presents
        QTest::addColumn<bool>("ok");
        QTest::newRow("the pinned one") << "self" << true;
        QTest::newRow("another") << "renewed" << false;
        QTest::newRow("another, trusted by the authorities") << "issued" << false;
    }
    void PinnedCertificate()
    {
        QFETCH(QString, certificate);
        QFETCH(bool, ok);
        const TestCertificates::Made& made = certificate == QLatin1String("self")      ? self
                                             : certificate == QLatin1String("renewed") ? renewed
                                                                                       : issued;
        FtpTestServer::Options options;
        options.TlsCertificate = made.Certificate;
        options.TlsKey = made.Key;
        FtpTestServer server(options);
        QVERIFY2(server.IsRunning(), qPrintable(server.Error()));

        FtpTransport transport;
        FtpTlsSettings tls;
        tls.Security = TFtpSecurity::TlsRequired;
        tls.PinnedSha256 = ParseFingerprint(self.Fingerprint);
        tls.AuthorityFile = certs.AuthorityFile();
        transport.Open(FtpTestServer::User(), FtpTestServer::Password(), ShortTimeouts, tls);
        FtpRequest request;
        request.Url = QStringLiteral("ftp://%1/").arg(server.HostText()).toUtf8();
        request.Commands = {"FEAT"};
        request.MayConnect = true;
        const FtpOutcome outcome = transport.Perform(request, [](qint64, qint64) {});
        QCOMPARE(outcome.Ok, ok);
        QCOMPARE(outcome.CertificateRejected, !ok);
        QCOMPARE(FingerprintText(outcome.CertificateSha256), made.Fingerprint);
        QCOMPARE(Sent(server, QStringLiteral("USER")), ok);
    }

    // The values the parser collected for --trust-fingerprint.
    void TakeTrustFingerprint_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("fingerprint");
        QTest::addColumn<QString>("problem");
        const QString hex = QString(64, QLatin1Char('a'));
        const QString pairs = QStringLiteral("AB:").repeated(31) + QStringLiteral("AB");
        const QString needs =
            QStringLiteral("--trust-fingerprint needs the certificate's SHA-256 fingerprint (64 hex digits)");
        QTest::newRow("absent") << QStringList() << ""
                                << "";
        QTest::newRow("in pairs") << QStringList{pairs} << pairs << "";
        QTest::newRow("bare") << QStringList{hex} << hex << "";
        QTest::newRow("empty value") << QStringList{""} << "" << needs;
        QTest::newRow("too short") << QStringList{hex.left(62)} << "" << needs;
        QTest::newRow("not hex") << QStringList{QString(64, QLatin1Char('g'))} << "" << needs;
        QTest::newRow("twice") << QStringList{hex, hex} << ""
                               << "--trust-fingerprint given twice";
    }
    void TakeTrustFingerprint()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, fingerprint);
        QFETCH(QString, problem);
        QString value;
        QCOMPARE(::TakeTrustFingerprint(values, value), problem);
        QCOMPARE(value, fingerprint);
    }

    // The command line never asks: only the fingerprint trusted before or
    // the one named by --trust-fingerprint gets through, and a named one is
    // kept with the account.
    void CommandLineDecision_data()
    {
        QTest::addColumn<QString>("trustedBefore");
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("storedAfter");
        QTest::addColumn<QString>("told"); // on standard error; empty: nothing
        const QString mine = self.Fingerprint;
        const QString other = renewed.Fingerprint;
        const QString hint = QStringLiteral("--trust-fingerprint ") + mine;
        QTest::newRow("unknown, no option") << ""
                                            << "" << false << "" << hint;
        QTest::newRow("unknown, named") << "" << mine.toLower() << true << mine << "";
        QTest::newRow("unknown, another named") << "" << other << false << "" << hint;
        QTest::newRow("trusted before") << mine << "" << true << mine << "";
        QTest::newRow("changed, no option") << other << "" << false << other << other;
        QTest::newRow("changed, the new one named") << other << mine << true << mine << "";
    }
    void CommandLineDecision()
    {
        QFETCH(QString, trustedBefore);
        QFETCH(QString, option);
        QFETCH(bool, ok);
        QFETCH(QString, storedAfter);
        QFETCH(QString, told);

        FtpTestServer::Options options;
        options.TlsCertificate = self.Certificate;
        options.TlsKey = self.Key;
        FtpTestServer server(options);
        QVERIFY2(server.IsRunning(), qPrintable(server.Error()));
        TestStore store;
        if (!trustedBefore.isEmpty())
            TrustCertificate(*store, QStringLiteral("Shop"), trustedBefore);
        TConnectionSettings account = server.Account(QStringLiteral("Shop"));
        account.Security = TFtpSecurity::TlsRequired;
        account.TrustedCertificate = trustedBefore;
        RecordingPrompts prompts;
        CliCertificateDecision decision(prompts, store.store.get(), option);
        RecordingHost host;
        FtpClient ftp(host);
        ftp.SetTimeouts(ShortTimeouts);
        ftp.SetCertificateDecision(&decision);

        QCOMPARE(ftp.Connect(account).Ok, ok);
        QCOMPARE(prompts.Count(RecordingPrompts::Kind::Question), 0);
        QCOMPARE(prompts.Texts().size(), told.isEmpty() ? 0 : 1);
        if (!told.isEmpty())
            QVERIFY2(prompts.Texts().first().contains(told), qPrintable(prompts.Texts().first()));
        QCOMPARE(store->ReadString(Schema::AccountSection("Shop"), Schema::KeyFtpCertificate, {}),
                 storedAfter);
        QCOMPARE(LoginOrFileSent(server), ok);
    }

private:
    TestCertificates certs;
    TestCertificates::Made issued;
    TestCertificates::Made issuedElsewhere;
    TestCertificates::Made self;
    TestCertificates::Made renewed;
};

QTEST_GUILESS_MAIN(FtpTlsTest)
#include "tst_ftp_tls.moc"
