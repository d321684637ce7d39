#include "UploadSelection.h"

#include "projects/WorkingState.h"
#include "settings/ApplicationDataAPI.h"
#include "site/SiteLists.h"
#include "util/MyFileOpsU.h"

QStringList FilesOfMode(UploadMode mode, const TSiteLists& lists, const WorkingState& state)
{
    switch (mode) {
    case UploadMode::Changed:
    case UploadMode::AllChecked:
        return lists.LocalFiles();
    case UploadMode::EntireSite:
        return lists.Files();
    case UploadMode::Software:
        break;
    }
    return state.InstallerUploadFiles;
}

QList<PendingFile> FilesToSend(UploadMode mode, const TAppData& store, const QString& section,
                               const QStringList& files, const PathStyle& style)
{
    const bool sendAll = mode == UploadMode::AllChecked || mode == UploadMode::EntireSite;
    QList<PendingFile> sends;
    for (const QString& file : files) {
        TFileOpsSettings info;
        GetFileInfo(file, info, style);
        // One key for reading and writing, so a path with blanks at either
        // end does not count as changed for ever.
        const QString key = file.trimmed();
        // Any difference counts, not only a newer file: a file restored from
        // an older copy is sent again. A missing file (-1) differs from a
        // missing stamp (0): it is tried and fails, so nothing half-released
        // is moved into place.
        if (sendAll || info.Age != store.ReadInteger(section, key, 0))
            sends.append({file, key, info.Age});
    }
    return sends;
}
