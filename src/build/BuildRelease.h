#pragma once

#include "VersionStamp.h"
#include "settings/SettingsSchema.h"

#include <QString>
#include <QStringList>

#include <functional>

struct OperationContext;

// Everything one build reads, as it stands on the screen when Build is
// pressed (saved or not), or as a saved project holds it.
struct BuildInputs {
    // The stamping fields; the version stamped is the working state's
    // PrimaryVersion, whatever Stamp.PrimaryVersion says.
    VersionStampInput Stamp;
    QString PreBuild;       // lbePrebuild; empty: none
    QString HelpProject;    // lbeHelpBuilderBatch; empty: no help
    QString PfxFile;        // lbePFX; empty: the tool picks a certificate
    QString PfxPassword;    // lbePFXPass
    QStringList Apps;       // chkProjectApps, every entry in list order
    QString PrimaryCaption; // lblPrimaryApp
    bool TimeStamp = true;  // cbxtimeStamp
    bool AutoUpload = true; // cbxAutoUpload

    QString InnoCompiler; // lbeInnoCompiler
    QString HelpMaker;    // lbeHelpMaker
    // The stored signing tool (with its quotes) and whether it is usable
    // (btnNoSignTool hidden). Without it nothing is signed or time-stamped.
    QString SignTool;
    bool SigningAvailable = false;
    QStringList TimeServers; // lbxTimeServers, in the order they are tried
    int Attempts = Schema::DefaultAttempts;
};

// How a build ended and what its window does with that.
struct BuildOutcome {
    // Every step succeeded and nobody cancelled: Upload is enabled.
    bool BuildOk = false;
    // A required tool location was missing.
    bool ToolsOk = true;
    bool Cancelled = false;
    // The installer upload is to start now (Auto Upload on and BuildOk).
    bool StartUpload = false;
};

// The release build of the loaded project, from the pre-build command to
// the time-stamped installer, with "Waiting...." as its last log line.
// A failing step never ends the build: later steps that need the earlier
// ones are skipped, the help is still rebuilt when it is out of date, and
// the build always ends in order with the temporary files deleted. Its own
// errors (a file that cannot be read or written, a script that cannot run)
// are logged as failures; nothing it throws is meant to reach the caller.
//
// The caller has cleared the log and disabled Upload. The context's
// state.BuildBatch must
// hold the script file (throws TarnwellError otherwise). bringLogForward,
// when given, is called once the tool checks are done so that the log is
// in view while the tools run. The build leaves ShortVersion, SetupExeName,
// SetupOutputDir and SetupExePath in state for the installer upload.
BuildOutcome RunBuild(const BuildInputs& inputs, const OperationContext& context,
                      const std::function<void()>& bringLogForward = {});
