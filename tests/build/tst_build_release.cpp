#include "RecordingHost.h"
#include "RecordingPrompts.h"
#include "ReleaseProject.h"
#include "TestStore.h"
#include "build/BuildRelease.h"
#include "build/HelpBuild.h"
#include "build/SavedProjectBuild.h"
#include "build/ScriptFile.h"
#include "projects/AppList.h"
#include "projects/OperationContext.h"
#include "projects/ProjectStore.h"
#include "projects/WorkingState.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"

#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace {

// What each step of a build of the release project logs; "{root}" is the
// project folder.
const QStringList PreBuildLog{"Running {root}/prebuild.sh", "Success"};
const QStringList StampLog{"Reading {root}/site/inc/version.php", "Reading {root}/site/download.html",
                           "Reading {root}/setup/app.iss",        "All entries found in the above files",
                           "Edited: {root}/site/inc/version.php", "Edited: {root}/setup/app.iss",
                           "Edited: {root}/site/download.html"};
const QStringList HelpLog{"Building Help", "Help file built", "Help file copied to {root}/bin/MyHelp.chm"};
const QStringList SignAppsLog{"signing apps", "Signed: {root}/bin/Editor.exe",
                              "Signed: {root}/bin/Help Viewer.exe", "Signed: {root}/bin/Tools.dll",
                              "Files signed: 3"};
const QStringList StampAppsLog{"Timestamping files", "{root}/bin/Editor.exe Timestamped",
                               "{root}/bin/Help Viewer.exe Timestamped", "{root}/bin/Tools.dll Timestamped"};
const QStringList CompileLog{"Buiding Installer", "Installer Built"};
const QStringList SignInstallerLog{"signing Installer", "Signed: {root}/setup/Output/MyAppSetup-2-1-0-7.exe",
                                   "Files signed: 1"};
const QStringList StampInstallerLog{"Timestamping {root}/setup/Output/MyAppSetup-2-1-0-7.exe",
                                    "{root}/setup/Output/MyAppSetup-2-1-0-7.exe Timestamped"};
const QStringList Cancelled{"You cancelled"};
const QStringList End{"Waiting...."};
const QStringList UpToTheApps = PreBuildLog + StampLog + HelpLog;
const QStringList FullLog =
    UpToTheApps + SignAppsLog + StampAppsLog + CompileLog + SignInstallerLog + StampInstallerLog + End;

// The stand-ins' calls of that build.
const QString AppFiles = "{root}/bin/Editor.exe {root}/bin/Help Viewer.exe {root}/bin/Tools.dll";
const QString SetupExe = "{root}/setup/Output/MyAppSetup-2-1-0-7.exe";
const QString WithPfx = "signtool sign /f {root}/certs/code.pfx /p s3cret ";
const QString FirstServer = "signtool timestamp /t http://127.0.0.1:9/ts-one ";
const QString HelpCall = "helpmaker /ch {root}/help/MyHelp.sh6";
const QString CompileCall = "inno-compiler /cc {root}/setup/app.iss";
const QStringList StampAppCalls{FirstServer + "{root}/bin/Editor.exe",
                                FirstServer + "{root}/bin/Help Viewer.exe",
                                FirstServer + "{root}/bin/Tools.dll"};

const QString SetupFolderBox = " does not exist; Please set the location of the InnoSetup Compiler in the "
                               "utilities tab";
const QDateTime Noon(QDate(2024, 5, 6), QTime(12, 0, 30));

void SetModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

// Lines equal, but an expected line ending in "*" only begins the actual one.
void CompareLog(const QStringList& actual, const QStringList& expected)
{
    QStringList seen = actual;
    for (int i = 0; i < qMin(seen.size(), expected.size()); ++i)
        if (expected[i].endsWith('*') && seen[i].startsWith(expected[i].chopped(1)))
            seen[i] = expected[i];
    QCOMPARE(seen, expected);
}

} // namespace

// The whole build, run for real with the stand-in tools.
class BuildReleaseTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        project = std::make_unique<ReleaseProject>();
        state = std::make_unique<WorkingState>();
        project->Prepare(*state);
        in = project->Inputs();
        host = std::make_unique<RecordingHost>();
    }
    void cleanup()
    {
        state.reset();
        project.reset();
        prompts.Clear();
    }

    void SuccessfulBuild_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("signed and time-stamped")
            << "" << FullLog
            << QStringList{HelpCall, WithPfx + AppFiles} + StampAppCalls +
                   QStringList{CompileCall, WithPfx + SetupExe, FirstServer + SetupExe};
        QTest::newRow("Time Stamp off")
            << "no time stamp" << UpToTheApps + SignAppsLog + CompileLog + SignInstallerLog + End
            << QStringList{HelpCall, WithPfx + AppFiles, CompileCall, WithPfx + SetupExe};
        QTest::newRow("no signing tool")
            << "no signing tool" << UpToTheApps + CompileLog + End << QStringList{HelpCall, CompileCall};
        QTest::newRow("tool picks the certificate")
            << "no certificate" << FullLog
            << QStringList{HelpCall, "signtool sign /a " + AppFiles} + StampAppCalls +
                   QStringList{CompileCall, "signtool sign /a " + SetupExe, FirstServer + SetupExe};
        QTest::newRow("help up to date")
            << "help up to date"
            << QStringList(PreBuildLog + StampLog + QStringList{"Help is up to date"} + SignAppsLog +
                           StampAppsLog + CompileLog + SignInstallerLog + StampInstallerLog + End)
            << QStringList{WithPfx + AppFiles} + StampAppCalls +
                   QStringList{CompileCall, WithPfx + SetupExe, FirstServer + SetupExe};
    }
    void SuccessfulBuild()
    {
        QFETCH(QString, variant);
        QFETCH(QStringList, log);
        QFETCH(QStringList, calls);
        if (variant == "no time stamp") {
            in.TimeStamp = false;
        } else if (variant == "no signing tool") {
            in.SignTool.clear();
            in.SigningAvailable = false;
        } else if (variant == "no certificate") {
            in.PfxFile.clear();
        } else if (variant == "help up to date") {
            SetModified(project->HelpProject, Noon);
            SetModified(project->folder.Write("bin/MyHelp.chm", "help"), Noon.addSecs(60));
        }
        const BuildOutcome outcome = Build();
        QCOMPARE(host->Lines(), project->Expand(log));
        QCOMPARE(project->Calls(), project->Expand(calls));
        QVERIFY(outcome.BuildOk);
        QVERIFY(outcome.StartUpload);
        QCOMPARE(prompts.AllShown().size(), 0);
        // Compiled from the stamped script, and known to the upload even unsigned.
        QCOMPARE(state->SetupExePath, project->Installer);
        QVERIFY(ReadFileBytes(project->Installer).contains("My App My App 2.1.0.7"));
        QCOMPARE(state->SetupExeName, "MyAppSetup-2-1-0-7.exe");
        QVERIFY(ReadFileBytes(project->Path("site/inc/version.php")).contains("'MyAppSetup-2-1-0-7.exe'"));
        TemporaryFilesAreGone();
    }

    void FailedBuild_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("boxes");
        const QStringList none;
        QTest::newRow("pre-build exits with 1")
            << "pre-build exits 1" << QStringList{"Running {root}/prebuild.sh", "Failed"} + HelpLog + End
            << none;
        QTest::newRow("pre-build missing")
            << "pre-build missing" << QStringList{"{root}/gone.sh does not exist.", "Failed"} + HelpLog + End
            << QStringList{"{root}/gone.sh does not exist; Please set the location of your prebuild batch or "
                           "command or leave blank if appropriate"};
        // Only the file named runs: a name that is no file is not looked up on PATH.
        QTest::newRow("pre-build only on PATH")
            << "pre-build on PATH" << QStringList{"true does not exist.", "Failed"} + HelpLog + End
            << QStringList{"true does not exist; Please set the location of your prebuild batch or command "
                           "or leave blank if appropriate"};
        QTest::newRow("entry missing")
            << "entry missing"
            << PreBuildLog + StampLog.mid(0, 3) +
                   QStringList{"One or more entries not found in php,iss or html file"} + HelpLog + End
            << none;
        QTest::newRow("compiler fails") << "compiler fails"
                                        << UpToTheApps + SignAppsLog + StampAppsLog +
                                               QStringList{"Buiding Installer", "Installer NOT BUILT"} + End
                                        << none;
        QTest::newRow("signing fails, tool picks the certificate")
            << "signing fails without certificate"
            << UpToTheApps + QStringList{"signing apps", "Signing apps failed"} + End << none;
        QTest::newRow("signing fails, password given")
            << "wrong password"
            << UpToTheApps +
                   QStringList{"signing apps", "Signing apps failed", "is your PFX password correct?"} + End
            << none;
        QTest::newRow("signing fails, no password")
            << "no password"
            << UpToTheApps +
                   QStringList{"signing apps", "Signing apps failed",
                               "is your PFX password protected? there is no password entered"} +
                   End
            << none;
        QTest::newRow("certificate gone after the start")
            << "certificate removed by the pre-build"
            << UpToTheApps +
                   QStringList{"signing apps", "Signing apps failed",
                               "{root}/certs/code.pfx does not exist"} +
                   End
            << none;
        QTest::newRow("certificate missing at the start")
            << "certificate missing" << QStringList{"PFX file does not exist"} + HelpLog + End << none;
        QTest::newRow("second of three apps not time-stamped")
            << "second app refused"
            << UpToTheApps + SignAppsLog +
                   QStringList{"Timestamping files", "{root}/bin/Editor.exe Timestamped",
                               "{root}/bin/Help Viewer.exe NOT TIMESTAMPED",
                               "{root}/bin/Tools.dll Timestamped"} +
                   End
            << none;
        QTest::newRow("installer signing fails")
            << "installer refused"
            << UpToTheApps + SignAppsLog + StampAppsLog + CompileLog +
                   QStringList{"signing Installer", "Signing Installer failed",
                               "is your PFX password correct?"} +
                   End
            << none;
        QTest::newRow("no primary application")
            << "no primary"
            << QStringList{"Help not built: there is no primary application to put it beside"} + End
            << QStringList{"No Primary Selected"};
        QTest::newRow("never given a primary")
            << "empty primary caption" << HelpLog + End << QStringList{"No Primary Selected"};
        QTest::newRow("compiler location empty")
            << "no compiler" << HelpLog + End
            << QStringList{"Please set the location of the InnoSetup Compiler in the utilities tab"};
        QTest::newRow("compiler missing")
            << "compiler missing" << HelpLog + End << QStringList{"{root}/iscc" + SetupFolderBox};
        QTest::newRow("HelpMaker location empty")
            << "no HelpMaker"
            << QStringList{"Building Help", "There was a problem building the helpfile"} + End
            << QStringList{"Please set the location of HelpMaker in the utilities tab"};
        QTest::newRow("no time stamp server")
            << "no servers"
            << UpToTheApps + SignAppsLog +
                   QStringList{"No time stamp server is listed: add one on the Time Servers tab"} + End
            << none;
        QTest::newRow("no application to sign")
            << "no apps" << UpToTheApps + QStringList{"No applications are listed to sign"} + End << none;
    }
    void FailedBuild()
    {
        QFETCH(QString, fault);
        QFETCH(QStringList, log);
        QFETCH(QStringList, boxes);
        StandInSession& tools = project->tools;
        if (fault == "pre-build exits 1") {
            in.PreBuild = project->WritePreBuild("exit 1\n");
        } else if (fault == "pre-build missing") {
            in.PreBuild = project->Path("gone.sh");
        } else if (fault == "pre-build on PATH") {
            in.PreBuild = "true";
        } else if (fault == "entry missing") {
            QByteArray script = ReleaseProject::Script;
            project->folder.Write("setup/app.iss", script.replace("OutputDir=Output\r\n", ""));
        } else if (fault == "compiler fails") {
            tools.Fail("COMPILER", "always");
        } else if (fault == "signing fails without certificate") {
            in.PfxFile.clear();
            tools.Fail("SIGNTOOL", "always");
        } else if (fault == "wrong password") {
            in.PfxPassword = "guess";
        } else if (fault == "no password") {
            in.PfxPassword.clear();
        } else if (fault == "certificate removed by the pre-build") {
            in.PreBuild = project->WritePreBuild("rm '" + project->Pfx.toLocal8Bit() + "'\n");
        } else if (fault == "certificate missing") {
            in.PfxFile = project->Path("certs/none.pfx");
        } else if (fault == "second app refused") {
            tools.Fail("SIGNTOOL", "file=" + project->Apps[1]);
        } else if (fault == "installer refused") {
            tools.Fail("SIGNTOOL", "sign=" + project->Installer);
        } else if (fault == "no primary") {
            in.PrimaryCaption = NoPrimarySelected;
            state->PrimaryAppFile.clear();
            state->PrimaryAppFolder.clear();
        } else if (fault == "empty primary caption") {
            in.PrimaryCaption.clear();
        } else if (fault == "no compiler") {
            in.InnoCompiler.clear();
        } else if (fault == "compiler missing") {
            in.InnoCompiler = project->Path("iscc");
        } else if (fault == "no HelpMaker") {
            in.HelpMaker.clear();
        } else if (fault == "no servers") {
            in.TimeServers.clear();
        } else if (fault == "no apps") {
            in.Apps.clear();
        }
        const BuildOutcome outcome = Build();
        QCOMPARE(host->Lines(), project->Expand(log));
        QCOMPARE(prompts.Texts(), project->Expand(boxes));
        for (const RecordingPrompts::Shown& box : prompts.AllShown())
            QCOMPARE(box.caption, "Tarnwell");
        QVERIFY(!outcome.BuildOk);
        QVERIFY(!outcome.StartUpload);
        TemporaryFilesAreGone();
    }

    void CancelledBuild_data()
    {
        QTest::addColumn<QString>("loggedLine");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("after the pre-build program") << "Success" << PreBuildLog + HelpLog + Cancelled + End;
        // The help is still brought up to date after a cancel.
        QTest::newRow("while stamping") << "Reading " << UpToTheApps + Cancelled + End;
        QTest::newRow("after signing the apps")
            << "Files signed: 3" << UpToTheApps + SignAppsLog + Cancelled + End;
        QTest::newRow("after compiling")
            << "Installer Built" << UpToTheApps + SignAppsLog + StampAppsLog + CompileLog + Cancelled + End;
    }
    void CancelledBuild()
    {
        QFETCH(QString, loggedLine);
        QFETCH(QStringList, log);
        host->CancelWhenLogged(loggedLine);
        const BuildOutcome outcome = Build();
        QCOMPARE(host->Lines(), project->Expand(log));
        QVERIFY(outcome.Cancelled);
        QVERIFY(!outcome.BuildOk);
        QVERIFY(!outcome.StartUpload);
        QVERIFY(QFile::exists(project->Path("bin/MyHelp.chm")));
        TemporaryFilesAreGone();
    }

    void HelpBuild_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("help"); // bin/MyHelp.chm afterwards; null: none
        const QByteArray compiled = "stand-in compiled help of MyHelp.sh6\n", old = "old help";
        QTest::newRow("no help project") << "no project" << QStringList{} << true << QByteArray();
        // A missing project file has the age -1: never out of date.
        QTest::newRow("help project missing")
            << "project missing" << QStringList{"Help is up to date"} << true << QByteArray();
        QTest::newRow("no help yet") << "" << HelpLog << true << compiled;
        QTest::newRow("help older than the project") << "help older" << HelpLog << true << compiled;
        QTest::newRow("help newer than the project")
            << "help newer" << QStringList{"Help is up to date"} << true << old;
        // File ages count in two seconds.
        QTest::newRow("project saved a second after the help")
            << "same two seconds" << QStringList{"Help is up to date"} << true << old;
        QTest::newRow("HelpMaker fails")
            << "HelpMaker fails" << QStringList{"Building Help", "There was a problem building the helpfile"}
            << false << old;
        QTest::newRow("HelpMaker leaves no help")
            << "no compiled help"
            << QStringList{"Building Help", "Help file built",
                           "{root}/help/MyHelp_tmphhp/MyHelp.chm seems not to have been created"}
            << false << old;
        QTest::newRow("copy fails") << "copy fails"
                                    << QStringList{"Building Help", "Help file built",
                                                   "Help file NOT copied to {root}/gone/MyHelp.chm: *"}
                                    << false << QByteArray();
        QTest::newRow("no primary application")
            << "no primary" << QStringList{"Help not built: there is no primary application to put it beside"}
            << false << QByteArray();
    }
    void HelpBuild()
    {
        QFETCH(QString, situation);
        QFETCH(QStringList, log);
        QFETCH(bool, ok);
        QFETCH(QByteArray, help);
        HelpBuildInput input{project->HelpProject, in.HelpMaker, state->PrimaryAppFolder};
        const QString dest = project->Path("bin/MyHelp.chm");
        const QStringList older{"help older", "HelpMaker fails", "no compiled help"};
        if (older.contains(situation) || situation == "help newer" || situation == "same two seconds") {
            // Noon falls on an even second: Noon and a second later pack alike.
            SetModified(project->HelpProject, situation == "same two seconds" ? Noon.addSecs(1) : Noon);
            project->folder.Write("bin/MyHelp.chm", "old help");
            SetModified(dest, Noon.addSecs(situation == "help newer"         ? 60
                                           : situation == "same two seconds" ? 0
                                                                             : -60));
        }
        if (situation == "no project")
            input.HelpProject.clear();
        else if (situation == "project missing")
            input.HelpProject = project->Path("help/None.sh6");
        else if (situation == "HelpMaker fails")
            project->tools.Fail("HELPMAKER", "always");
        else if (situation == "no compiled help")
            input.HelpMaker = QStandardPaths::findExecutable("true");
        else if (situation == "copy fails")
            input.PrimaryAppFolder = project->Path("gone/");
        else if (situation == "no primary")
            input.PrimaryAppFolder.clear();
        // HelpMaker writes over this file and so keeps its permissions; the
        // help beside the application must be as readable as what it made.
        const QString madeHelp = project->folder.FilePath("help/MyHelp_tmphhp/MyHelp.chm");
        const QFile::Permissions readable =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
        const bool copied = log == HelpLog;
        if (copied) {
            project->folder.Write("help/MyHelp_tmphhp/MyHelp.chm", "");
            QVERIFY(QFile::setPermissions(madeHelp, readable));
        }

        QCOMPARE(BuildHelp(input, *state->BuildBatch, *host), ok);
        CompareLog(host->Lines(), project->Expand(log));
        QCOMPARE(QFile::exists(dest), !help.isNull());
        if (!help.isNull())
            QCOMPARE(ReadFileBytes(dest), help);
        if (copied) {
            QCOMPARE(QFile::permissions(dest), QFile::permissions(madeHelp));
            QVERIFY(QFile::permissions(dest).testFlag(QFile::ReadOther));
        }
    }

    // What a build from a script does: a saved project, no window.
    void SavedProjectBuildsWithoutAWindow()
    {
        TestStore store;
        QVERIFY(QFile::remove(project->Apps.first()));
        QVERIFY(QFile::copy(TARNWELL_TEST_DATA "/version/app-1234.exe", project->Apps.first()));
        project->SaveTo(*store, "Demo");

        WorkingState fresh;
        const BuildInputs saved = SavedProjectBuildInputs(store.Reload(), "Demo", fresh);
        PrepareBuildScript(*store, fresh);
        const BuildOutcome outcome = RunBuild(saved, {&*store, fresh, *host, prompts});
        QVERIFY(outcome.BuildOk);
        QVERIFY(outcome.StartUpload);
        // The version comes from the primary application's own resource.
        QCOMPARE(fresh.PrimaryVersion, "1.2.3.4");
        QStringList log = project->Expand(FullLog);
        log.replaceInStrings("MyAppSetup-2-1-0-7", "MyAppSetup-1-2-3-4");
        QCOMPARE(host->Lines(), log);
        QVERIFY(!QFile::exists(fresh.BuildBatch->Path()));
    }

private:
    BuildOutcome Build() { return RunBuild(in, {nullptr, *state, *host, prompts}); }
    void TemporaryFilesAreGone() const
    {
        const BuildScriptFile& script = *state->BuildBatch;
        for (const QString& path : {script.Path(), script.CapturePath(), script.LeftOverPath()})
            QVERIFY2(!QFile::exists(path), qPrintable(path));
    }

    std::unique_ptr<ReleaseProject> project;
    std::unique_ptr<WorkingState> state;
    std::unique_ptr<RecordingHost> host;
    RecordingPrompts prompts;
    BuildInputs in;
};

QTEST_GUILESS_MAIN(BuildReleaseTest)
#include "tst_build_release.moc"
