#pragma once

#include "util/PathStyle.h"

#include <QString>

class BuildScriptFile;
class OperationHost;

// The names the help build works with, for a HelpMaker project file.
struct HelpFileNames {
    // The project's file name with the extension ".chm": MyHelp.sh6 gives MyHelp.chm.
    QString ChmName;
    // Where HelpMaker leaves the compiled help: the project's path with its
    // extension replaced by "_tmphhp", then ChmName.
    QString TempChm;
    // Beside the primary application: its folder followed by ChmName.
    QString DestChm;
};

HelpFileNames HelpNames(const QString& helpProject, const QString& primaryAppFolder,
                        const PathStyle& style = PathStyle::Native());

struct HelpBuildInput {
    QString HelpProject;      // lbeHelpBuilderBatch; empty: the project has no help
    QString HelpMaker;        // lbeHelpMaker
    QString PrimaryAppFolder; // with its trailing separator
};

// Rebuilds the help when the project file is newer than the help beside the
// primary application (file ages have a resolution of two seconds) and
// copies the result there. Runs whatever the rest of the build did; returns
// false when the help could not be brought up to date.
bool BuildHelp(const HelpBuildInput& input, const BuildScriptFile& script, OperationHost& host);
