#pragma once

#include "publish/FtpTransport.h"

#include <QString>
#include <QStringList>

#include <functional>

class CertificateDecision;
class OperationHost;
class Prompts;
class TAppData;
class TSiteLists;
struct WorkingState;

// What the import reads from the Import page.
struct SiteImportRequest {
    QString Project;   // lblEditingProject
    QString Account;   // comboSite
    QString LocalHome; // lbeImportLocalHome
    QString LocalRoot; // lbeImportLocalRoot
    FtpTimeouts Timeouts;
};

struct SiteImportOutcome {
    enum class End {
        NoAccount,    // no account chosen: nothing happened, nothing said
        Refused,      // a check failed and the user was told why
        NotConnected, // the connection or the login failed
        Cancelled,    // files so far stay, no stamps
        Done,         // the tree was fetched (see Failed) and stamped
        Failed,       // an unexpected error ended it (logged); no stamps
    };
    End Ended = End::NoAccount;
    int Imported = 0;
    // Server paths that were not imported: refused or lost downloads, local
    // folders or files that could not be made, names or folders skipped.
    QStringList Failed;

    // The window scans the imported site again (doReScan after an import).
    bool ReScan() const { return Ended == End::Done; }
    bool Ok() const { return Ended == End::Done && Failed.isEmpty(); }
};

// "Import Site": downloads the account's whole tree (all but the upload
// temporary folder) into the import folders, making the local folders,
// and records every downloaded file as uploaded to that account. The site
// lists are emptied at the start; the account's upload stamps and the
// project's saved selection are dropped once the login succeeds. Nothing is
// written outside the import folders. A failed file is logged and the import
// goes on; stamps are written for the files fetched unless the user
// cancelled. beginOperation runs where the long part starts (the window
// disables itself and shows the cancel window there).
SiteImportOutcome ImportSite(const SiteImportRequest& request, TAppData& store, WorkingState& state,
                             TSiteLists& lists, OperationHost& host, Prompts& prompts,
                             const std::function<void()>& beginOperation = {},
                             CertificateDecision* certificates = nullptr);
