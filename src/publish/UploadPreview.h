#pragma once

#include "publish/SiteUpload.h"
#include "util/PathStyle.h"

#include <QList>
#include <QString>

class OperationHost;
class Prompts;
class TAppData;
class TSiteLists;
struct WorkingState;

// One file a run would send, and where it would end on the server.
struct PreviewFile {
    QString LocalPath;
    qint64 Size = -1; // -1: the file is gone (the run would refuse to start)
    QString TargetPath;
};

struct PreviewAccount {
    QString Account;
    QList<PreviewFile> Files;
    qint64 Bytes = 0;
    QString Error; // the account could not be read; nothing listed
};

struct UploadPreview {
    UploadStop Stop = UploadStop::Ran; // Ran, NoProject or NoAccounts
    QList<PreviewAccount> Accounts;    // in the order a run serves them
    qint64 Files = 0;
    qint64 Bytes = 0;
};

// What the run of `inputs` would send to each account, chosen by the same
// code the run uses, so that the next run sends exactly these files. Nothing
// connects to a server and no stamp changes; nothing is asked either (the
// run's own questions come when it runs). The lines go to `host`'s log;
// a missing project or no accounts are told through `prompts` as the run
// tells them.
UploadPreview PreviewUpload(const SiteUploadInputs& inputs, const TSiteLists& lists, const TAppData& store,
                            const WorkingState& state, OperationHost& host, Prompts& prompts,
                            const PathStyle& style = PathStyle::Native());
