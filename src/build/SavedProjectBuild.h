#pragma once

#include "BuildRelease.h"

#include <QString>

class TAppData;
struct WorkingState;

// A build without a window, of a project as it was saved: the inputs read
// from the store as the window shows them once the project is loaded (its
// fields, the tool locations, the time servers with the defaults when none
// are stored, the attempts, and whether the stored signing tool is there).
// The project's primary application becomes state's, its version read from
// the file as loading it in the window does. Throws TarnwellError when a
// stored number is not a number.
BuildInputs SavedProjectBuildInputs(const TAppData& store, const QString& project, WorkingState& state);

// Gives state its build script file in the store's Temp folder, emptied as
// at the window's start. Throws TarnwellError when it cannot be made.
void PrepareBuildScript(const TAppData& store, WorkingState& state);
