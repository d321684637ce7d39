#include "ReleaseProject.h"

#include "build/ScriptFile.h"
#include "projects/ProjectStore.h"
#include "projects/WorkingState.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"

#include <QFile>

const QByteArray ReleaseProject::Php = "<?php\r\n$latest = 'old.exe';\r\n?>\r\n";
const QByteArray ReleaseProject::Page =
    "<p>\r\n<a id=\"dl\" href=\"files/old-setup.exe\">Download 1.0</a>\r\n</p>\r\n";
const QByteArray ReleaseProject::Script =
    "[Setup]\r\nAppName=My App\r\nAppVersion=My App 1.0\r\nAppVerName=My App 1.0\r\n"
    "OutputBaseFilename=MyAppSetup-1-0\r\nOutputDir=Output\r\n\r\n[Files]\r\n";

ReleaseProject::ReleaseProject()
{
    folder.Write(QStringLiteral("site/inc/version.php"), Php);
    folder.Write(QStringLiteral("site/download.html"), Page);
    folder.Write(QStringLiteral("setup/app.iss"), Script);
    for (const char* app : {"bin/Editor.exe", "bin/Help Viewer.exe", "bin/Tools.dll"})
        Apps << folder.Write(QString::fromLatin1(app), "MZ");
    Pfx = folder.Write(QStringLiteral("certs/code.pfx"), "certificate");
    tools.RequirePfxPassword(Password);
    PreBuild = WritePreBuild("exit 0\n");
    HelpProject = folder.Write(QStringLiteral("help/MyHelp.sh6"), "help project");
    TempFolder = folder.MakeFolder(QStringLiteral("Temp"));
    Installer = Path(QStringLiteral("setup/Output/MyAppSetup-2-1-0-7.exe"));
}

QString ReleaseProject::WritePreBuild(const QByteArray& shellText) const
{
    const QString path = folder.Write(QStringLiteral("prebuild.sh"), "#!/bin/sh\n" + shellText);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList ReleaseProject::Expand(const QStringList& texts) const
{
    QStringList expanded;
    for (const QString& text : texts)
        expanded << QString(text).replace(QStringLiteral("{root}"), folder.Path());
    return expanded;
}

BuildInputs ReleaseProject::Inputs() const
{
    BuildInputs in;
    in.Stamp = {
        Path("site/inc/version.php"), "$latest", Path("site/download.html"), "dl", "Download", "MyAppSetup",
        Path("setup/app.iss"),        QString()};
    in.PreBuild = PreBuild;
    in.HelpProject = HelpProject;
    in.PfxFile = Pfx;
    in.PfxPassword = Password;
    in.Apps = Apps;
    in.PrimaryCaption = QStringLiteral("Editor.exe");
    in.TimeStamp = true;
    in.AutoUpload = true;
    in.InnoCompiler = StandInTool(QStringLiteral("inno-compiler"));
    in.HelpMaker = StandInTool(QStringLiteral("helpmaker"));
    in.SignTool = QLatin1Char('"') + StandInTool(QStringLiteral("signtool")) + QLatin1Char('"');
    in.SigningAvailable = true;
    in.TimeServers = Servers;
    in.Attempts = 2;
    return in;
}

void ReleaseProject::Prepare(WorkingState& state) const
{
    state.PrimaryAppFile = Apps.first();
    state.PrimaryAppFolder = Path(QStringLiteral("bin/"));
    state.PrimaryVersion = QStringLiteral("2.1.0.7");
    state.BuildBatch = std::make_unique<BuildScriptFile>(BuildScriptFile::PathIn(TempFolder));
    state.BuildBatch->Reset();
}

QStringList ReleaseProject::Calls() const
{
    QStringList calls;
    for (const StandInCall& call : tools.Calls())
        calls << (QStringList{call.Tool} + call.Args).join(QLatin1Char(' '));
    return calls;
}

void ReleaseProject::SaveTo(TAppData& store, const QString& name) const
{
    const BuildInputs typed = Inputs();
    TProjectFields fields;
    fields.PhpFile = typed.Stamp.PhpFile;
    fields.PhpVar = typed.Stamp.PhpVar;
    fields.DownLoadLink = typed.Stamp.DownLoadLinkFile;
    fields.DLinkId = typed.Stamp.DownLoadLinkId;
    fields.DLinkText = typed.Stamp.DownLoadLinkText;
    fields.BaseFile = typed.Stamp.BaseFileName;
    fields.InnoSetupFile = typed.Stamp.InnoSetupFile;
    fields.HelpBatch = typed.HelpProject;
    fields.PreBuild = typed.PreBuild;
    fields.PFX = typed.PfxFile;
    fields.PFXPass = typed.PfxPassword;
    fields.Apps = typed.Apps;
    fields.Primary = typed.PrimaryCaption;
    fields.FullVersion = Apps.first();
    fields.PrimaryPath = Path(QStringLiteral("bin/"));
    SaveProject(store, name, fields);
    store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, {name});
    store.WriteString(Schema::SecInnoCompiler, Schema::KeyCommand, typed.InnoCompiler);
    store.WriteString(Schema::SecHelpMaker, Schema::KeyCommand, typed.HelpMaker);
    store.WriteString(Schema::SecSignTool, Schema::KeyCommand, typed.SignTool);
    store.WriteList(Schema::SecTimeServers, Schema::KeyServerURLs, Servers);
    store.WriteInteger(Schema::SecTimeServers, Schema::KeyAttempts, 1);
}
