// tarnwell-cli upload-installer and import run as real processes against
// the test FTP server (and the import against the test SSH server too):
// exit codes, messages, what lands where and what the settings file keeps
// afterwards.
#include "ProgramRun.h"
#include "PublishFixture.h"
#include "RecordingPrompts.h"
#include "projects/ProjectStore.h"
#include "settings/StoreSetup.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {

using CliRun = Run;

CliRun RunCli(const QStringList& arguments)
{
    return RunProgram(QStringLiteral(TARNWELL_CLI), arguments);
}

const QString InstallerTarget = QStringLiteral("/public_html/downloads/MyApp-1-2-3-4.exe");

} // namespace

class CliPublishTest : public QObject {
    Q_OBJECT
private slots:
    // Over SFTP the account's host key is not trusted unless setup says
    // "trusted"; "<key>" is the server's host key fingerprint.
    void Commands_data()
    {
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<int>("stamps"); // entries of "ULF-Demo-A" in the saved file

        const QStringList import{"import",       "Demo",      "--account",    "A",
                                 "--local-root", "<tmp>/imp", "--local-home", "<tmp>/imp/public_html"};
        QTest::newRow("installer sent") << "FTP" << QStringList{"upload-installer", "Demo"} << "built" << 0
                                        << "Moving /BRTempUploadFolder" + InstallerTarget + "...Success"
                                        << "" << 3;
        QTest::newRow("installer not built")
            << "FTP" << QStringList{"upload-installer", "Demo"} << "" << 1 << ""
            << "Tarnwell: You have not built the Installer" << 0;
        QTest::newRow("unknown project")
            << "FTP" << QStringList{"upload-installer", "Nobody"} << "" << 2 << ""
            << "unknown project \"Nobody\"" << 0;
        QTest::newRow("site imported") << "FTP" << import << "" << 0 << "Import Complete 2 filles imported"
                                       << "" << 2;
        QTest::newRow("import with a file refused")
            << "FTP" << import << "refuse RETR once" << 1
            << "Import finished: 1 files imported, 1 could not be imported"
            << "" << 1;
        // A local page edited since: refused unless --overwrite, and left as it was.
        QTest::newRow("import over an edited page")
            << "FTP" << import << "edited" << 2 << "Import stopped: no local file was changed"
            << "1 files in <tmp>/imp differ from the server's copies and would be replaced." << 0;
        QTest::newRow("import over an edited page, --overwrite")
            << "FTP" << (QStringList(import) << "--overwrite") << "edited" << 0
            << "Import Complete 2 filles imported"
            << "" << 2;
        QTest::newRow("import from an unknown account")
            << "FTP"
            << QStringList{"import", "Demo", "--account", "Z", "--local-root", "/x", "--local-home", "/x/y"}
            << "" << 2 << ""
            << "unknown account \"Z\"" << 0;
        const QStringList trusting = QStringList(import) << "--trust-fingerprint"
                                                         << "<key>";
        QTest::newRow("SFTP import, host key unknown")
            << "SFTP" << import << "" << 1 << "Could not connect"
            << "is not trusted. To trust it, check that it is your server's and run again with "
               "--trust-fingerprint <key>"
            << 0;
        QTest::newRow("SFTP import, another host key named")
            << "SFTP"
            << (QStringList(import) << "--trust-fingerprint"
                                    << "SHA256:ERERERERERERERERERERERERERERERERERERERERERE")
            << "" << 1 << "Is the SFTP account locked?"
            << "--trust-fingerprint <key>" << 0;
        QTest::newRow("SFTP import by key, --trust-fingerprint")
            << "SFTP" << trusting << "" << 0 << "Import Complete 2 filles imported"
            << "" << 2;
        QTest::newRow("SFTP import by password, host key trusted before")
            << "SFTP" << import << "trusted password" << 0 << "Import Complete 2 filles imported"
            << "" << 2;
        const QStringList installer{"upload-installer", "Demo"};
        QTest::newRow("SFTP installer, host key unknown")
            << "SFTP" << installer << "built" << 1 << "Could not connect to: A no files uploaded"
            << "--trust-fingerprint <key>" << 0;
        QTest::newRow("SFTP installer sent, --trust-fingerprint")
            << "SFTP"
            << (QStringList(installer) << "--trust-fingerprint"
                                       << "<key>")
            << "built" << 0 << "--- All files moved to their target locations"
            << "" << 3;
        QTest::newRow("SFTP import over an edited page")
            << "SFTP" << import << "trusted edited" << 2 << "Import stopped: no local file was changed"
            << "1 files in <tmp>/imp differ from the server's copies and would be replaced." << 0;
    }
    void Commands()
    {
        QFETCH(QString, protocol);
        QFETCH(QStringList, arguments);
        QFETCH(QString, setup);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(int, stamps);
        TestFolder dataHome(true);
        TestFolder local;
        FtpTestServer::Options options;
        if (setup == "refuse RETR once")
            options.RefuseOnce << "RETR";
        std::unique_ptr<FtpTestServer> ftp;
        std::unique_ptr<SshTestServer> ssh;
        if (protocol == "SFTP") {
            ssh = std::make_unique<SshTestServer>();
            QVERIFY2(ssh->IsRunning(), qPrintable(ssh->Error()));
            if (setup.contains("password") && !ssh->PasswordSkipReason().isEmpty())
                QSKIP(qPrintable(ssh->PasswordSkipReason()));
            ssh->PutFile(ssh->SitePath() + "public_html/index.html", "<p>home</p>");
            ssh->PutFile(ssh->SitePath() + ".htaccess", "deny from none");
            arguments.replaceInStrings("<key>", ssh->HostKeyFingerprint());
            err.replace("<key>", ssh->HostKeyFingerprint());
        } else {
            ftp = std::make_unique<FtpTestServer>(options);
            QVERIFY2(ftp->IsRunning(), qPrintable(ftp->Error()));
            ftp->PutFile("/public_html/index.html", "<p>home</p>");
            ftp->PutFile("/.htaccess", "deny from none");
        }

        const QString site = local.MakeFolder("site");
        const QString home = local.MakeFolder("site/public_html");
        local.Write("setup/app.iss", "[Setup]\r\nOutputDir=" + (home + "/downloads").toLocal8Bit() + "\r\n");
        if (setup.contains("built"))
            WriteAged(local, "site/public_html/downloads/MyApp-1-2-3-4.exe", QByteArray(200 * 1024, 'i'));
        {
            RecordingPrompts prompts;
            TAppData store;
            QVERIFY(SetUpStore(store, prompts));
            store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, {"Demo"});
            TProjectFields fields;
            fields.PhpFile = WriteAged(local, "site/inc/version.php", "<?php ?>");
            fields.DownLoadLink = WriteAged(local, "site/public_html/download.html", "<a id=\"dl\">");
            fields.BaseFile = "MyApp";
            fields.InnoSetupFile = local.FilePath("setup/app.iss");
            fields.FullVersion = QStringLiteral(TARNWELL_TEST_DATA "/version/app-1234.exe");
            fields.PrimaryPath = QStringLiteral(TARNWELL_TEST_DATA "/version/");
            fields.LocalRoot = site;
            fields.LocalHome = home;
            fields.Sites = {"A"};
            SaveProject(store, "Demo", fields);
            if (ssh)
                StoreSftpAccount(store, "A", *ssh, setup.contains("password"), setup.contains("trusted"));
            else
                StoreAccount(store, "A", *ftp);
            store.Save();
        }
        arguments.replaceInStrings("<tmp>", local.Path());
        err.replace("<tmp>", local.Path());
        const QString page = local.FilePath("imp/public_html/index.html");
        if (setup.endsWith("edited"))
            local.Write("imp/public_html/index.html", "<p>mine</p>");

        const CliRun run = RunCli(arguments);
        QVERIFY2(run.out.contains(out), qPrintable(run.out));
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        QCOMPARE(run.exitCode, exitCode);

        RecordingPrompts prompts;
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        const QStringList written =
            store.ReadSectionEntries(Schema::UploadRecordSection("Demo", "A"), QString());
        QCOMPARE(written.size(), stamps);
        if (arguments.first() == "upload-installer" && exitCode == 0)
            QCOMPARE(ssh ? ssh->FileBytes(ssh->SitePath() + InstallerTarget.mid(1))
                         : ftp->FileBytes(InstallerTarget),
                     ReadFileBytes(local.FilePath("site/public_html/downloads/MyApp-1-2-3-4.exe")));
        if (ssh && arguments.first() == "upload-installer" && exitCode != 0)
            QCOMPARE(ssh->SiteEntries(), (QStringList{".htaccess", "public_html", "public_html/index.html"}));
        if (arguments.first() == "import" && exitCode != 2 && stamps > 0) {
            QCOMPARE(ReadFileBytes(page), QByteArray("<p>home</p>"));
            // The import folders become the project's, as in the window.
            QCOMPARE(LoadProject(store, "Demo").LocalHome, local.FilePath("imp/public_html"));
        }
        if (ssh) {
            // A host key named on the command line is kept; a refused one
            // leaves no local trace.
            const QString trusted = ReadAccountSettings(store, "A").TrustedHostKey;
            QCOMPARE(trusted, exitCode == 1 ? QString() : ssh->HostKeyFingerprint());
            if (exitCode == 1) {
                QVERIFY(!QFileInfo::exists(local.FilePath("imp")));
                QCOMPARE(LoadProject(store, "Demo").LocalHome, home);
            }
        }
        if (setup.endsWith("edited") && exitCode == 2) {
            QCOMPARE(ReadFileBytes(page), QByteArray("<p>mine</p>"));
            QVERIFY(!QFile::exists(local.FilePath("imp/.htaccess")));
        }
    }
};

QTEST_GUILESS_MAIN(CliPublishTest)
#include "tst_cli_publish.moc"
