#include "StandInTools.h"
#include "TestFolder.h"
#include "build/ScriptFile.h"
#include "util/TarnwellError.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

namespace {

const ScriptFlavour Shell = ScriptFlavour::Shell;
const QFile::Permissions OthersRights = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                        QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;

bool OwnersAlone(const QString& path)
{
    const QFile::Permissions rights = QFile::permissions(path);
    return rights.testFlag(QFile::ReadOwner) && rights.testFlag(QFile::WriteOwner) &&
           !(rights & OthersRights);
}

} // namespace

// The sh scripts run for real, driving the stand-in tools.
class ScriptRunsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        folder_ = std::make_unique<TestFolder>();
        tools_ = std::make_unique<StandInSession>(folder_->Path());
        script_ = std::make_unique<BuildScriptFile>(
            BuildScriptFile::PathIn(folder_->MakeFolder("Temp"), Shell), Shell);
    }
    void cleanup()
    {
        script_.reset();
        tools_.reset();
        folder_.reset();
    }

    void TimestampTriesServersInOrder_data()
    {
        QTest::addColumn<QStringList>("servers");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<QString>("failRules");
        QTest::addColumn<QStringList>("tried");
        QTest::addColumn<int>("exitCode");
        const QString s1 = QStringLiteral("http://127.0.0.1/ts-one"),
                      s2 = QStringLiteral("http://127.0.0.1/ts-two");
        QTest::newRow("never succeeds")
            << QStringList{s1, s2} << 3 << "always" << QStringList{s1, s2, s1, s2, s1, s2} << 1;
        QTest::newRow("first try succeeds") << QStringList{s1, s2} << 3 << "" << QStringList{s1} << 0;
        QTest::newRow("first server refuses")
            << QStringList{s1, s2} << 3 << "server=" + s1 << QStringList{s1, s2} << 0;
        QTest::newRow("fourth run succeeds")
            << QStringList{s1, s2} << 3 << "until=4" << QStringList{s1, s2, s1, s2} << 0;
        QTest::newRow("no servers") << QStringList{} << 3 << "" << QStringList{} << 1;
    }
    void TimestampTriesServersInOrder()
    {
        QFETCH(QStringList, servers);
        QFETCH(int, attempts);
        QFETCH(QString, failRules);
        QFETCH(QStringList, tried);
        QFETCH(int, exitCode);
        tools_->Fail("SIGNTOOL", failRules);
        const QString file = folder_->Write("Build/Help Viewer.exe", "MZ");
        const ScriptRunResult run = script_->Run(
            TimestampScript(Shell, '"' + StandInTool("signtool") + '"', servers, attempts, file));
        QCOMPARE(run.ExitCode, exitCode);
        QStringList triedServers;
        for (const StandInCall& call : tools_->Calls()) {
            QCOMPARE(call.Args, (QStringList{"timestamp", "/t", call.Args.value(2), file}));
            triedServers << call.Args.value(2);
        }
        QCOMPARE(triedServers, tried);
    }

    void SigningPassesValuesAndCapturesOutput_data()
    {
        QTest::addColumn<QString>("pfx");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("required");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("signs");
        const QString special = QStringLiteral("a b 'c' \"d\" & > %PATH% $HOME `id` \\ ;|*");
        const QStringList apps{"Build/Editor.exe", "Build/Help Viewer.exe"};
        QTest::newRow("password the shell would mangle")
            << "my certs/code sign.pfx" << special << special << apps << true;
        QTest::newRow("no password") << "code.pfx"
                                     << "" << QString() << apps << true;
        QTest::newRow("tool chooses the certificate")
            << ""
            << "" << QString() << QStringList{"Setup/it's setup.exe"} << true;
        QTest::newRow("wrong password") << "code.pfx"
                                        << "guess"
                                        << "right" << apps << false;
    }
    void SigningPassesValuesAndCapturesOutput()
    {
        QFETCH(QString, pfx);
        QFETCH(QString, password);
        QFETCH(QString, required);
        QFETCH(QStringList, files);
        QFETCH(bool, signs);
        if (!required.isNull())
            tools_->RequirePfxPassword(required);
        const QString pfxPath = pfx.isEmpty() ? QString() : folder_->Write(pfx, "certificate");
        QStringList paths, expectedArgs{"sign"}, expectedCapture;
        expectedArgs << (pfx.isEmpty() ? QStringList{"/a"} : QStringList{"/f", pfxPath});
        if (!password.isEmpty())
            expectedArgs << "/p" << password;
        for (const QString& file : files) {
            paths << folder_->Write(file, "MZ");
            expectedCapture << "Signed: " + paths.last();
        }
        expectedArgs << paths;
        expectedCapture << QStringLiteral("Files signed: %1").arg(paths.size());
        const SigningSetup setup{'"' + StandInTool("signtool") + '"', pfxPath, password};
        const QByteArray text = paths.size() == 1
                                    ? SignInstallerScript(Shell, setup, paths.first(), script_->CapturePath())
                                    : SignAppsScript(Shell, setup, paths, script_->CapturePath());

        QCOMPARE(script_->Run(text).ExitCode, signs ? 0 : 1);
        QCOMPARE(tools_->Calls().size(), 1);
        QCOMPARE(tools_->Calls().first().Args, expectedArgs);
        // Only the standard output is captured; the tool's notes and errors are not.
        QCOMPARE(script_->ReadCapture(), std::optional(signs ? expectedCapture : QStringList()));
    }

    void ToolScriptsReportTheToolsOutcome_data()
    {
        QTest::addColumn<bool>("help");
        QTest::addColumn<QString>("failRules");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("help built") << true << "" << 0;
        QTest::newRow("help fails") << true << "always" << 1;
        QTest::newRow("installer built") << false << "" << 0;
        QTest::newRow("installer fails") << false << "always" << 1;
    }
    void ToolScriptsReportTheToolsOutcome()
    {
        QFETCH(bool, help);
        QFETCH(QString, failRules);
        QFETCH(int, exitCode);
        tools_->Fail(help ? "HELPMAKER" : "COMPILER", failRules);
        const QString project = folder_->Write("Help Files/My Help.sh6", "project");
        const QString setupScript = folder_->Write(
            "Setup/editor.iss", "[Setup]\r\nAppName=Editor\r\nOutputDir=Output Files\r\n"
                                "OutputBaseFilename=Editor Setup 1.2\r\n[Files]\r\nSource: a.exe\r\n");
        const QString output = help ? folder_->FilePath("Help Files/My Help_tmphhp/My Help.chm")
                                    : folder_->FilePath("Setup/Output Files/Editor Setup 1.2.exe");
        const QByteArray text = help ? HelpScript(Shell, StandInTool("helpmaker"), project)
                                     : InstallerScript(Shell, StandInTool("inno-compiler"), setupScript);
        QCOMPARE(script_->Run(text).ExitCode, exitCode);
        QCOMPARE(QFile::exists(output), exitCode == 0);
    }

    // The file may hold a certificate password: nobody else may read it, and
    // it goes with the capture at the end of the build.
    void ScriptFileLife()
    {
        QVERIFY(WriteFileBytes(script_->Path(), "old script with old password"));
        QFile::setPermissions(script_->Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        script_->Reset();
        QCOMPARE(ReadFileBytes(script_->Path()), QByteArray());
        QVERIFY(OwnersAlone(script_->Path()));

        const SigningSetup setup{StandInTool("signtool"), folder_->Write("code.pfx", "c"), "s3cret"};
        const QByteArray text =
            SignAppsScript(Shell, setup, {folder_->Write("Build/Editor.exe", "MZ")}, script_->CapturePath());
        QCOMPARE(script_->Run(text).ExitCode, 0);
        QCOMPARE(ReadFileBytes(script_->Path()), text);
        QVERIFY(OwnersAlone(script_->Path()));
        QVERIFY(OwnersAlone(script_->CapturePath()));

        // A later script that captures nothing must not leave the old report to be read as its own.
        const QByteArray noCompiler =
            InstallerScript(Shell, QStringLiteral("/nonexistent/compiler"), "x.iss");
        QCOMPARE(script_->Run(noCompiler).ExitCode, 127);
        QVERIFY(!script_->ReadCapture().has_value());

        QVERIFY(WriteFileBytes(script_->LeftOverPath(), "left over"));
        QVERIFY(WriteFileBytes(script_->CapturePath(), "report"));
        script_->RemoveTemporaryFiles();
        for (const QString& path : {script_->Path(), script_->LeftOverPath(), script_->CapturePath()})
            QVERIFY2(!QFile::exists(path), qPrintable(path));
    }

    void MissingTempFolderIsReported()
    {
        const BuildScriptFile lost(folder_->FilePath("gone/Temp/buildrelease.sh"), Shell);
        const ScriptRunResult run = lost.Run(HelpScript(Shell, StandInTool("helpmaker"), "x.sh6"));
        QCOMPARE(run.ExitCode, -1);
        QVERIFY2(run.Error.contains(lost.Path()), qPrintable(run.Error));
        QVERIFY_THROWS_EXCEPTION(TarnwellError, lost.Reset());
        QVERIFY(tools_->Calls().isEmpty());
    }

private:
    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<StandInSession> tools_;
    std::unique_ptr<BuildScriptFile> script_;
};

QTEST_GUILESS_MAIN(ScriptRunsTest)
#include "tst_script_runs.moc"
