// tarnwell-cli upload run as a real process against the test FTP server:
// what it sends, what it records in the settings file, and its exit codes.
#include "ProgramRun.h"
#include "TestCertificates.h"
#include "UploadFixture.h"
#include "settings/StoreSetup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

Run RunCli(const QStringList& arguments)
{
    return RunProgram(QStringLiteral(TARNWELL_CLI), arguments);
}

} // namespace

class CliUploadTest : public QObject {
    Q_OBJECT
private slots:
    void UploadOutcomes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        // "broken" link in the site, "wrongpass" for the account, "orphan" on the server
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<bool>("published"); // the files reached the live site and are recorded

        const QStringList updated{"upload", "Shop", "--mode", "updated"};
        QTest::newRow("updated, confirmed")
            << updated + QStringList{"--yes"} << "" << 0
            << "--- All files moved to their target locations\nEnd of summary\n"
            << "Go ahead? yes" << true;
        QTest::newRow("entire site, confirmed")
            << QStringList{"upload", "Shop", "--yes", "--mode", "entire"} << "" << 0 << "\nEntire site\n"
            << "" << true;
        QTest::newRow("nobody to confirm") << updated << "" << 2 << ""
                                           << "the upload was refused; nothing was sent" << false;
        // Not ignoring them is the No to the window's question about them.
        QTest::newRow("broken links") << updated + QStringList{"--yes"} << "broken" << 2 << ""
                                      << "has broken links" << false;
        QTest::newRow("broken links ignored")
            << updated + QStringList{"--yes", "--ignore-broken-links"} << "broken" << 0 << "End of summary\n"
            << "" << true;
        QTest::newRow("account not served") << updated + QStringList{"--yes"} << "wrongpass" << 1
                                            << "Could not connect to: LIVE no files uploaded\n"
                                            << "the upload did not complete for: Live" << false;
        QTest::newRow("dry run") << QStringList{"upload", "Shop", "--mode", "entire", "--dry-run"} << "" << 0
                                 << "(16 bytes) -> /img/logo.png\n"
                                 << "" << false;
        QTest::newRow("dry run lists orphans")
            << QStringList{"upload", "Shop", "--mode", "updated", "--dry-run"} << "orphan" << 0
            << "Shop >>> Live: 1 orphan on the server (matched by no file of the site)\n"
               "  /public_html/old.html (3 bytes)\n"
            << "" << false;
        QTest::newRow("orphans deleted")
            << QStringList{"upload", "Shop", "--mode", "entire", "--delete-orphans", "--yes"} << "orphan" << 0
            << "Deleting /public_html/old.html...Success\n"
            << "Delete them? yes" << true;
        QTest::newRow("orphans need the entire site")
            << QStringList{"upload", "Shop", "--mode", "all", "--delete-orphans", "--yes"} << "orphan" << 2
            << ""
            << "--delete-orphans goes with --mode entire only" << false;
        QTest::newRow("no mode") << QStringList{"upload", "Shop", "--yes"} << "" << 2 << ""
                                 << "give --mode updated, all or entire" << false;
        QTest::newRow("unknown mode") << QStringList{"upload", "Shop", "--mode", "changed"} << "" << 2 << ""
                                      << "--mode takes updated, all or entire" << false;
        QTest::newRow("unknown project") << QStringList{"upload", "Nobody", "--mode", "all"} << "" << 2 << ""
                                         << "unknown project \"Nobody\"" << false;
    }
    void UploadOutcomes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, setup);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(bool, published);

        TestFolder dataHome(true);
        RecordingPrompts prompts;
        auto store = std::make_unique<TAppData>();
        QVERIFY(SetUpStore(*store, prompts));
        UploadFixture fx(store.get());
        FtpTestServer& live = fx.AddAccount("Live");
        if (setup == "wrongpass")
            fx.PointAccountAt("Live", live, "not the password");
        if (setup == "broken")
            fx.WriteSite("www/a.html", "<a href=\"gone.html\">");
        if (setup == "orphan")
            live.PutFile("/public_html/old.html", "old");
        store->Save();

        const Run run = RunCli(arguments);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains(out), qPrintable(run.out));
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        // Refused: no run, so no summary that could pass for one.
        if (exitCode == 2)
            QVERIFY2(!run.out.contains("End of summary"), qPrintable(run.out));

        // The stamps are in the file the command saved.
        store = std::make_unique<TAppData>();
        QVERIFY(SetUpStore(*store, prompts));
        fx.store = store.get();
        fx.Scan();
        if (setup == "orphan")
            QCOMPARE(live.Exists("/public_html/old.html"),
                     !run.out.contains("Deleting /public_html/old.html...Success"));
        const QStringList files = fx.SelectedFiles();
        QVERIFY(!files.isEmpty());
        for (const QString& file : files) {
            QCOMPARE(live.FileBytes(UploadFixture::Targets[file]),
                     published ? fx.SiteBytes(file) : QByteArray());
            QCOMPARE(fx.Stamp("Live", file), published ? fx.Age(file) : 0);
        }
    }

    // --json: standard output holds one object and nothing else (the log
    // went to standard error), with each account's files sent, moved and
    // failed. Two accounts; "wrongpass" locks the second one out; "all"
    // sends the three checked files.
    void JsonSummary_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("json");
        const QString done = R"({"name":"Live","sent":3,"moved":3,"failed":0,"outcome":"served"})";
        QTest::newRow("both served")
            << QStringList{"--yes"} << "" << 0
            << R"({"command":"upload","project":"Shop","outcome":"done","exitCode":0,"accounts":[)" + done +
                   R"(,{"name":"Backup","sent":3,"moved":3,"failed":0,"outcome":"served"}]})";
        QTest::newRow("second not connected")
            << QStringList{"--yes"} << "wrongpass" << 1
            << R"({"command":"upload","project":"Shop","outcome":"failed","exitCode":1,"accounts":[)" + done +
                   R"(,{"name":"Backup","sent":0,"moved":0,"failed":3,"outcome":"not connected"}]})";
        QTest::newRow("refused")
            << QStringList() << "" << 2
            << R"({"command":"upload","project":"Shop","outcome":"refused","exitCode":2,)"
               R"("accounts":[]})";
    }
    void JsonSummary()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, setup);
        QFETCH(int, exitCode);
        QFETCH(QString, json);

        TestFolder dataHome(true);
        RecordingPrompts prompts;
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        UploadFixture fx(&store);
        fx.AddAccount("Live");
        FtpTestServer& backup = fx.AddAccount("Backup");
        if (setup == "wrongpass")
            fx.PointAccountAt("Backup", backup, "not the password");
        store.Save();

        const Run run = RunCli(QStringList{"upload", "Shop", "--mode", "all", "--json"} + options);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.out + run.err));
        QJsonParseError error;
        const QJsonDocument printed = QJsonDocument::fromJson(run.out.toUtf8(), &error);
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(run.out));
        QCOMPARE(printed, QJsonDocument::fromJson(json.toUtf8()));
        if (exitCode != 2)
            QVERIFY2(run.err.contains("End of summary"), qPrintable(run.err));
    }

    // An account on a server whose certificate is self-signed: refused with
    // nothing sent, unless the command names its fingerprint, which is then
    // kept with the account.
    void UntrustedCertificate_data()
    {
        QTest::addColumn<QString>("trust"); // "self", "other" or none
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        QTest::addColumn<bool>("published");
        QTest::newRow("refused") << "" << 1 << "run again with --trust-fingerprint " << false;
        QTest::newRow("another fingerprint given") << "other" << 1 << "is not trusted" << false;
        QTest::newRow("trusted by the option") << "self" << 0 << "" << true;
    }
    void UntrustedCertificate()
    {
        QFETCH(QString, trust);
        QFETCH(int, exitCode);
        QFETCH(QString, err);
        QFETCH(bool, published);

        TestCertificates certs;
        QVERIFY2(certs.IsReady(), qPrintable(certs.Error()));
        const TestCertificates::Made self = certs.SelfSigned("self", "IP:127.0.0.1");
        const TestCertificates::Made other = certs.SelfSigned("other", "IP:127.0.0.1");
        QVERIFY2(!self.Fingerprint.isEmpty() && !other.Fingerprint.isEmpty(), qPrintable(certs.Error()));

        TestFolder dataHome(true);
        RecordingPrompts prompts;
        auto store = std::make_unique<TAppData>();
        QVERIFY(SetUpStore(*store, prompts));
        UploadFixture fx(store.get());
        FtpTestServer::Options options;
        options.TlsCertificate = self.Certificate;
        options.TlsKey = self.Key;
        FtpTestServer& live = fx.AddAccount("Live", options);
        TAccountFields account = LoadAccount(*store, "Live");
        account.Security = TFtpSecurity::TlsRequired;
        SaveAccount(*store, account);
        store->Save();

        QStringList arguments{"upload", "Shop", "--mode", "entire", "--yes"};
        if (!trust.isEmpty())
            arguments << "--trust-fingerprint" << (trust == "self" ? self.Fingerprint : other.Fingerprint);
        const Run run = RunCli(arguments);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.out + run.err));
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        // A refusal names the certificate the server presented.
        QCOMPARE(run.err.contains(self.Fingerprint), !published);
        bool sent = false;
        for (const QString& command : live.Commands())
            sent = sent || command.startsWith("USER") || command.startsWith("STOR");
        QCOMPARE(sent, published);
        QCOMPARE(fx.LiveFiles(live).size(), published ? UploadFixture::Targets.size() : 0);

        store = std::make_unique<TAppData>();
        QVERIFY(SetUpStore(*store, prompts));
        QCOMPARE(LoadAccount(*store, "Live").TrustedCertificate, published ? self.Fingerprint : QString());
    }
};

QTEST_GUILESS_MAIN(CliUploadTest)
#include "tst_cli_upload.moc"
