// The exit codes of tarnwell-cli as the README's table gives them, one
// situation a row, run as a real process on a project with one account.
#include "ProgramRun.h"
#include "UploadFixture.h"
#include "settings/StoreSetup.h"

class CliExitCodesTest : public QObject {
    Q_OBJECT
private slots:
    void ExitCodeOfEachSituation_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("setup"); // "broken" link, "wrongpass", "nohome": no Local Home folder
        QTest::addColumn<int>("exitCode");

        const QStringList scan{"scan", "Shop"};
        const QStringList upload{"upload", "Shop", "--mode", "all", "--yes"};
        QTest::newRow("0 done: scan of a sound site") << scan << "" << 0;
        QTest::newRow("0 done: upload") << upload << "" << 0;
        QTest::newRow("1 failed: scan found broken links") << scan << "broken" << 1;
        QTest::newRow("1 failed: an account not served") << upload << "wrongpass" << 1;
        QTest::newRow("2 wrong usage") << QStringList{"upload", "Shop", "--yes"} << "" << 2;
        QTest::newRow("2 an unknown project") << QStringList{"scan", "Nobody"} << "" << 2;
        QTest::newRow("2 scan without its Local Home folder") << scan << "nohome" << 2;
        QTest::newRow("2 upload without its Local Home folder") << upload << "nohome" << 2;
        QTest::newRow("2 refused: nobody answers \"Go ahead?\"")
            << QStringList{"upload", "Shop", "--mode", "all"} << "" << 2;
        QTest::newRow("2 refused: broken links not ignored") << upload << "broken" << 2;
    }
    void ExitCodeOfEachSituation()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, setup);
        QFETCH(int, exitCode);

        TestFolder dataHome(true);
        RecordingPrompts prompts;
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        UploadFixture fx(&store);
        FtpTestServer& live = fx.AddAccount("Live");
        if (setup == "wrongpass")
            fx.PointAccountAt("Live", live, "not the password");
        if (setup == "broken")
            fx.WriteSite("www/a.html", "<a href=\"gone.html\">");
        if (setup == "nohome") {
            TProjectFields fields = LoadProject(store, UploadFixture::Project);
            fields.LocalHome = fx.Local("site/gone");
            SaveProject(store, UploadFixture::Project, fields);
        }
        store.Save();

        const Run run = RunProgram(QStringLiteral(TARNWELL_CLI), arguments);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.out + run.err));
        // A refusal says why on standard error.
        if (exitCode == 2)
            QVERIFY2(run.err.contains("tarnwell-cli: "), qPrintable(run.err));
        if (setup == "nohome")
            QVERIFY2(run.err.contains("the Local Home folder " + fx.Local("site/gone") + " does not exist"),
                     qPrintable(run.err));
        if (arguments.first() == "upload")
            QCOMPARE(fx.LiveFiles(live).isEmpty(), exitCode != 0);
    }
};

QTEST_GUILESS_MAIN(CliExitCodesTest)
#include "tst_cli_exit_codes.moc"
