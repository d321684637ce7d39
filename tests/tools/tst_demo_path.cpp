// What scripts/demo --cli runs, against the test FTP server: the demo's
// set-up tool, then scan, a preview and the upload through tarnwell-cli.
#include "FtpTestServer.h"
#include "ProgramRun.h"
#include "TestFolder.h"

#include <QProcess>
#include <QTest>

class DemoPathTest : public QObject {
    Q_OBJECT
private slots:
    // Each step in order on one demo: its exit code and a line it prints.
    void DemoRunsToTheEnd_data()
    {
        QTest::addColumn<QStringList>("cli"); // empty: the set-up tool again
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::newRow("scan finds the dead link") << QStringList{"scan", "Demo"} << 1 << "href=\"news.html\"";
        QTest::newRow("preview")
            << QStringList{"upload", "Demo", "--mode", "updated", "--dry-run"} << 0
            << "(46 bytes) -> /mirror/public_html/inc/prices.php\nDemo >>> Mirror No orphans on the server\n"
               "Total: 10 files, 1288 bytes to 2 accounts";
        QTest::newRow("upload") << QStringList{"upload",  "Demo",  "--mode",
                                               "updated", "--yes", "--ignore-broken-links"}
                                << 0 << "--- All files moved to their target locations\nEnd of summary";
        QTest::newRow("nothing left") << QStringList{"upload", "Demo", "--mode", "updated", "--dry-run"} << 0
                                      << "Total: 0 files, 0 bytes to 2 accounts";
        QTest::newRow("the set-up never overwrites settings") << QStringList() << 1 << "";
    }
    void DemoRunsToTheEnd()
    {
        QFETCH(QStringList, cli);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        if (!server) {
            server = std::make_unique<FtpTestServer>();
            QVERIFY2(server->IsRunning(), qPrintable(server->Error()));
            const Run setup = RunProgram(TARNWELL_DEMO_SETUP, {folder.Path(), server->HostText()});
            QVERIFY2(setup.exitCode == 0, qPrintable(setup.err));
        }
        const Run run = cli.isEmpty() ? RunProgram(TARNWELL_DEMO_SETUP, {folder.Path(), server->HostText()})
                                      : RunProgram(TARNWELL_CLI, cli);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains(out), qPrintable(run.out));
        if (QTest::currentDataTag() == QLatin1String("upload")) {
            for (const char* account : {"/live", "/mirror"})
                QCOMPARE(server->FileBytes(QString(account) + "/public_html/inc/prices.php"),
                         folder.Read("site/www/inc/prices.php"));
        }
    }

private:
    TestFolder folder{true};
    std::unique_ptr<FtpTestServer> server;
};

QTEST_GUILESS_MAIN(DemoPathTest)
#include "tst_demo_path.moc"
