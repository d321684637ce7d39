#pragma once

#include "publish/SiteUpload.h"
#include "util/PathStyle.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class TAppData;
class TSiteLists;
struct WorkingState;

// The files a mode considers: the Files list of the scan (Updated, ALL),
// every file it found (Entire Site) or the installer upload's files.
QStringList FilesOfMode(UploadMode mode, const TSiteLists& lists, const WorkingState& state);

// One file an account is to receive, with what its stamp will be.
struct PendingFile {
    QString Path;
    QString Key;     // the stamp's key: the path without surrounding blanks
    qint32 Age = -1; // taken before the file is sent; -1 for a missing file
    // Written in the two-second step of the moment Age was taken (or the
    // next): a change right after the file is read could keep the same Age,
    // so the file gets no stamp and the next Updated run sends it again.
    bool Fresh = false;
};

// The files of `files` an account whose stamps are in `section` receives:
// every one for ALL and Entire Site, else those whose Age differs from the
// stamp. The real run and the preview both ask this, so they agree. `now`
// is the moment the ages are taken.
QList<PendingFile> FilesToSend(UploadMode mode, const TAppData& store, const QString& section,
                               const QStringList& files, const PathStyle& style,
                               const QDateTime& now = QDateTime::currentDateTime());

// Records in `section` the stamps of files an account received: each one's
// Age, or no stamp at all for a fresh file.
void RecordStamps(TAppData& store, const QString& section, const QList<PendingFile>& sent);
