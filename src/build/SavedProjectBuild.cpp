#include "SavedProjectBuild.h"

#include "ScriptFile.h"
#include "SignToolDiscovery.h"
#include "projects/ProjectStore.h"
#include "projects/WorkingState.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/StoredLists.h"

BuildInputs SavedProjectBuildInputs(const TAppData& store, const QString& project, WorkingState& state)
{
    const TProjectFields fields = LoadProject(store, project);
    SetPrimaryApplication(state, fields.FullVersion, fields.PrimaryPath);
    const TStoredLists lists = ReadStoredLists(store);

    BuildInputs in;
    in.Stamp = {fields.PhpFile,   fields.PhpVar,   fields.DownLoadLink,  fields.DLinkId,
                fields.DLinkText, fields.BaseFile, fields.InnoSetupFile, state.PrimaryVersion};
    in.PreBuild = fields.PreBuild;
    in.HelpProject = fields.HelpBatch;
    in.PfxFile = fields.PFX;
    in.PfxPassword = fields.PFXPass;
    in.Apps = fields.Apps;
    in.PrimaryCaption = fields.Primary;
    in.TimeStamp = fields.TimeStamp;
    in.AutoUpload = fields.AutoUpload;
    in.InnoCompiler = store.ReadString(Schema::SecInnoCompiler, Schema::KeyCommand, QString());
    in.HelpMaker = store.ReadString(Schema::SecHelpMaker, Schema::KeyCommand, QString());
    in.SignTool = store.ReadString(Schema::SecSignTool, Schema::KeyCommand, QString());
    in.SigningAvailable = SignToolUsable(in.SignTool);
    in.TimeServers = lists.ServerURLs;
    in.Attempts = lists.Attempts;
    return in;
}

void PrepareBuildScript(const TAppData& store, WorkingState& state)
{
    auto script = std::make_unique<BuildScriptFile>(BuildScriptFile::PathIn(store.TempFolder()));
    script->Reset();
    state.BuildBatch = std::move(script);
}
