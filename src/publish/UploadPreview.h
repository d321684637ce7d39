#pragma once

#include "publish/ServerOrphans.h"
#include "publish/SiteUpload.h"
#include "util/PathStyle.h"

#include <QList>
#include <QString>

class CertificateDecision;
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
    QString Error;       // the account could not be read; nothing listed
    int Connections = 0; // the upload would send over this many at once
    // What the server holds that no file of the site maps to.
    OrphanListing Orphans;
};

struct UploadPreview {
    UploadStop Stop = UploadStop::Ran; // Ran, NoProject or NoAccounts
    QList<PreviewAccount> Accounts;    // in the order a run serves them
    qint64 Files = 0;
    qint64 Bytes = 0;
    qint64 Orphans = 0;

    // Every account was read and its server listed in full.
    bool Complete() const;
};

// What the run of `inputs` would send to each account, chosen by the same
// code the run uses, so that the next run sends exactly these files, and the
// orphans each account's server holds (in every mode; only an Entire Site
// run deletes them). The servers are only listed: nothing is sent or
// deleted and no stamp changes; nothing is asked either (the run's own
// questions come when it runs). The lines go to `host`'s log; a missing
// project or no accounts are told through `prompts` as the run tells them.
// `window` begins the operation before the first connection and ends it.
UploadPreview PreviewUpload(const SiteUploadInputs& inputs, const TSiteLists& lists, const TAppData& store,
                            const WorkingState& state, OperationHost& host, Prompts& prompts,
                            const SiteUploadWindow& window = {}, CertificateDecision* certificates = nullptr,
                            const PathStyle& style = PathStyle::Native());
