#pragma once

#include <QString>

class TAppData;
struct WorkingState;

// The installer that a build of the saved project makes, found without
// building: the setup script's OutputDir (taken against the script's folder
// when relative) and the base file name with the primary application's
// version, as the build names them. state receives the primary application,
// SetupExeName, SetupOutputDir and ShortVersion, and SetupExePath only when
// that installer exists; the result is SetupExePath (empty: none built).
QString FindBuiltInstaller(const TAppData& store, const QString& project, WorkingState& state);
