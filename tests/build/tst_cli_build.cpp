// tarnwell-cli build: the same build as the window's, from a saved project,
// with the log on standard output and the outcome in the exit code.
#include "RecordingPrompts.h"
#include "ReleaseProject.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/StoreSetup.h"
#include "util/SingleInstance.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

const QStringList SuccessLog{"Running {root}/prebuild.sh",
                             "Success",
                             "Reading {root}/site/inc/version.php",
                             "Reading {root}/site/download.html",
                             "Reading {root}/setup/app.iss",
                             "All entries found in the above files",
                             "Edited: {root}/site/inc/version.php",
                             "Edited: {root}/setup/app.iss",
                             "Edited: {root}/site/download.html",
                             "Building Help",
                             "Help file built",
                             "Help file copied to {root}/bin/MyHelp.chm",
                             "signing apps",
                             "Signed: {root}/bin/Editor.exe",
                             "Signed: {root}/bin/Help Viewer.exe",
                             "Signed: {root}/bin/Tools.dll",
                             "Files signed: 3",
                             "Timestamping files",
                             "{root}/bin/Editor.exe Timestamped",
                             "{root}/bin/Help Viewer.exe Timestamped",
                             "{root}/bin/Tools.dll Timestamped",
                             "Buiding Installer",
                             "Installer Built",
                             "signing Installer",
                             "Signed: {root}/setup/Output/MyAppSetup-1-2-3-4.exe",
                             "Files signed: 1",
                             "Timestamping {root}/setup/Output/MyAppSetup-1-2-3-4.exe",
                             "{root}/setup/Output/MyAppSetup-1-2-3-4.exe Timestamped",
                             "Waiting...."};

} // namespace

class CliBuild : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        settingsFolder = std::make_unique<TestFolder>(true);
        project = std::make_unique<ReleaseProject>();
        // The primary's own version resource gives the version stamped.
        QVERIFY(QFile::remove(project->Apps.first()));
        QVERIFY(QFile::copy(TARNWELL_TEST_DATA "/version/app-1234.exe", project->Apps.first()));
        RecordingPrompts prompts;
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        project->SaveTo(store, "Demo");
        store.Save();
    }
    void cleanup()
    {
        project.reset();
        settingsFolder.reset();
    }

    void BuildsLikeTheWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("failingTool");
        QTest::addColumn<bool>("windowRuns");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("lastLines");
        QTest::newRow("success") << QStringList{"build", "Demo"} << "" << false << 0 << "";
        QTest::newRow("compiler fails")
            << QStringList{"build", "Demo"} << "COMPILER" << false << 1 << "Installer NOT BUILT|Waiting....";
        QTest::newRow("unknown project") << QStringList{"build", "Other"} << "" << false << 2 << "";
        QTest::newRow("no project") << QStringList{"build"} << "" << false << 2 << "";
        QTest::newRow("window runs") << QStringList{"build", "Demo"} << "" << true << 2 << "";
    }
    void BuildsLikeTheWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, failingTool);
        QFETCH(bool, windowRuns);
        QFETCH(int, exitCode);
        QFETCH(QString, lastLines);
        if (!failingTool.isEmpty())
            project->tools.Fail(failingTool, "always");
        SingleInstanceGuard window;
        if (windowRuns)
            QVERIFY(window.TryAcquire());

        QProcess cli;
        cli.start(QStringLiteral(TARNWELL_CLI), arguments);
        cli.closeWriteChannel();
        QVERIFY(cli.waitForFinished(120000));
        const QStringList out =
            QString::fromLocal8Bit(cli.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(cli.exitCode(), exitCode);
        if (exitCode == 0)
            QCOMPARE(out, project->Expand(SuccessLog));
        else if (!lastLines.isEmpty())
            QCOMPARE(out.mid(out.size() - 2), lastLines.split('|'));
        else
            QVERIFY2(out.isEmpty(), qPrintable(out.join('\n')));
    }

private:
    std::unique_ptr<TestFolder> settingsFolder;
    std::unique_ptr<ReleaseProject> project;
};

QTEST_GUILESS_MAIN(CliBuild)
#include "tst_cli_build.moc"
