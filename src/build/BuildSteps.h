#pragma once

// What the steps of one build share; for the build's own files only.

#include "BuildRelease.h"
#include "BuildScripts.h"
#include "ScriptFile.h"
#include "util/OperationHost.h"

class Prompts;
struct WorkingState;

struct BuildRun {
    const BuildInputs& in;
    WorkingState& state;
    const BuildScriptFile& script;
    OperationHost& host;
    Prompts& prompts;

    bool BuildOk = true;
    bool ToolsOk = true;
    // Composed once signing is known to be available.
    SigningSetup Signing;

    void Log(const QString& line) { host.Log(line); }
    // Logs why the build fails.
    void Fail(const QString& line)
    {
        host.Log(line);
        BuildOk = false;
    }
};

// The signing steps: compose the commands, then sign and time-stamp the
// applications and the installer.
void ComposeSigning(BuildRun& run);
void SignApps(BuildRun& run);
void TimestampApps(BuildRun& run);
void SignInstaller(BuildRun& run);
void TimestampInstaller(BuildRun& run);

// Where the compiler writes the installer: its output folder, taken
// against the setup script's folder when relative, and the file name.
QString InstallerPath(const QString& outputDir, const QString& setupExeName, const QString& setupScript);
