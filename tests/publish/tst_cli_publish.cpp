// tarnwell-cli upload-installer and import run as real processes against
// the test FTP server: exit codes, messages, what lands where and what the
// settings file keeps afterwards.
#include "ProgramRun.h"
#include "PublishFixture.h"
#include "RecordingPrompts.h"
#include "projects/ProjectStore.h"
#include "settings/StoreSetup.h"

#include <QFile>
#include <QProcess>
#include <QTest>

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
    void Commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<int>("stamps"); // entries of "ULF-Demo-A" in the saved file

        const QStringList import{"import",       "Demo",      "--account",    "A",
                                 "--local-root", "<tmp>/imp", "--local-home", "<tmp>/imp/public_html"};
        QTest::newRow("installer sent") << QStringList{"upload-installer", "Demo"} << "built" << 0
                                        << "Moving /BRTempUploadFolder" + InstallerTarget + "...Success"
                                        << "" << 3;
        QTest::newRow("installer not built") << QStringList{"upload-installer", "Demo"} << "" << 1 << ""
                                             << "Tarnwell: You have not built the Installer" << 0;
        QTest::newRow("unknown project") << QStringList{"upload-installer", "Nobody"} << "" << 2 << ""
                                         << "unknown project \"Nobody\"" << 0;
        QTest::newRow("site imported") << import << "" << 0 << "Import Complete 2 filles imported"
                                       << "" << 2;
        QTest::newRow("import with a file refused")
            << import << "refuse RETR once" << 1
            << "Import finished: 1 files imported, 1 could not be imported"
            << "" << 1;
        // A local page edited since: refused unless --overwrite, and left as it was.
        QTest::newRow("import over an edited page")
            << import << "edited" << 2 << "Import stopped: no local file was changed"
            << "1 files in <tmp>/imp differ from the server's copies and would be replaced." << 0;
        QTest::newRow("import over an edited page, --overwrite")
            << (QStringList(import) << "--overwrite") << "edited" << 0 << "Import Complete 2 filles imported"
            << "" << 2;
        QTest::newRow("import from an unknown account")
            << QStringList{"import", "Demo", "--account", "Z", "--local-root", "/x", "--local-home", "/x/y"}
            << "" << 2 << ""
            << "unknown account \"Z\"" << 0;
    }
    void Commands()
    {
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
        FtpTestServer server(options);
        QVERIFY2(server.IsRunning(), qPrintable(server.Error()));
        server.PutFile("/public_html/index.html", "<p>home</p>");
        server.PutFile("/.htaccess", "deny from none");

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
            StoreAccount(store, "A", server);
            store.Save();
        }
        arguments.replaceInStrings("<tmp>", local.Path());
        err.replace("<tmp>", local.Path());
        const QString page = local.FilePath("imp/public_html/index.html");
        if (setup == "edited")
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
            QCOMPARE(server.FileBytes(InstallerTarget),
                     ReadFileBytes(local.FilePath("site/public_html/downloads/MyApp-1-2-3-4.exe")));
        if (arguments.first() == "import" && exitCode != 2) {
            QCOMPARE(ReadFileBytes(page), QByteArray("<p>home</p>"));
            // The import folders become the project's, as in the window.
            QCOMPARE(LoadProject(store, "Demo").LocalHome, local.FilePath("imp/public_html"));
        }
        if (setup == "edited" && exitCode == 2) {
            QCOMPARE(ReadFileBytes(page), QByteArray("<p>mine</p>"));
            QVERIFY(!QFile::exists(local.FilePath("imp/.htaccess")));
        }
    }
};

QTEST_GUILESS_MAIN(CliPublishTest)
#include "tst_cli_publish.moc"
