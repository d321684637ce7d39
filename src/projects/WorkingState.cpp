#include "projects/WorkingState.h"

#include "util/ExtraCode.h"

void SetPrimaryApplication(WorkingState& state, const QString& file, const QString& folder)
{
    state.PrimaryAppFile = file;
    state.PrimaryAppFolder = file.isEmpty() ? QString() : folder;
    state.PrimaryVersion = file.isEmpty() ? QString() : GetVersionString(file, VersionFormat);
}
