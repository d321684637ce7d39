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
                               const QStringList& files, const PathStyle& style, const QDateTime& now)
{
    const bool sendAll = mode == UploadMode::AllChecked || mode == UploadMode::EntireSite;
    // Ages count in steps of two seconds: a file dated in the step of `now`,
    // or in the next one, may still change without its Age changing.
    const qint32 nowStep = PackDosDateTime(now);
    const qint32 nextStep = PackDosDateTime(now.addSecs(2));
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
        if (sendAll || info.Age != store.ReadInteger(section, key, 0)) {
            const bool fresh = info.Age != -1 && (info.Age == nowStep || info.Age == nextStep);
            sends.append({file, key, info.Age, fresh});
        }
    }
    return sends;
}

void RecordStamps(TAppData& store, const QString& section, const QList<PendingFile>& sent)
{
    for (const PendingFile& file : sent) {
        // A stamp kept from an earlier run could equal the Age as well.
        if (file.Fresh)
            store.DeleteKey(section, file.Key);
        else
            store.WriteInteger(section, file.Key, file.Age);
    }
}
