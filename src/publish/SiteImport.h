#pragma once

#include "publish/FtpTransport.h"

#include <QString>
#include <QStringList>

#include <functional>

class TSiteLists;
struct OperationContext;

// Whether local files that differ from the server's copies are replaced:
// the window asks (Prompts, Yes/No); the command line answers from its
// --overwrite option without asking.
enum class ReplaceDiffering { Ask, Yes, No };

// What the import reads from the Import page.
struct SiteImportRequest {
    QString Project;   // lblEditingProject
    QString Account;   // comboSite
    QString LocalHome; // lbeImportLocalHome
    QString LocalRoot; // lbeImportLocalRoot
    FtpTimeouts Timeouts;
    ReplaceDiffering Replace = ReplaceDiffering::Ask;
};

// "N files in <Local Root> differ from the server's copies and would be
// replaced.", the start of the question and of the command line's refusal.
QString DifferingFilesText(qsizetype count, const QString& localRoot);

struct SiteImportOutcome {
    enum class End {
        NoAccount,    // no account chosen: nothing happened, nothing said
        Refused,      // a check failed and the user was told why
        NotConnected, // the connection or the login failed
        Cancelled,    // new files fetched so far are written, no stamps
        Done,         // the tree was fetched (see Failed) and stamped
        Failed,       // an unexpected error ended it (logged); no stamps
        Declined,     // local files differ and were not to be replaced: nothing written
    };
    End Ended = End::NoAccount;
    int Imported = 0;
    // Local files that differed from the server's copies (asked about).
    qsizetype Differing = 0;
    // Server paths that were not imported: refused or lost downloads, local
    // folders or files that could not be made, names or folders skipped.
    QStringList Failed;

    // The window scans the imported site again (doReScan after an import).
    bool ReScan() const { return Ended == End::Done; }
    bool Ok() const { return Ended == End::Done && Failed.isEmpty(); }
};

// "Import Site": downloads the account's whole tree (all but the upload
// temporary folder) into the import folders, making the local folders,
// and records every file as uploaded to that account. The tree is listed
// over the account's protocol: from "/" over FTP, from the Server Root over
// SFTP (a file there lands in Local Root as one below "/" does over FTP). The downloads wait in
// a staging folder until all have arrived; local files that differ from
// them are replaced only after one question (request.Replace), and No
// leaves everything as it was. Local files with the same bytes are left
// untouched. Only once the import starts writing are the site lists
// emptied and the account's upload stamps and the project's saved selection
// dropped. Nothing is written outside the import folders. A failed file is
// logged and the import goes on; stamps are written for the files written
// or found identical unless the user cancelled (a cancel writes only the
// new files fetched so far). beginOperation runs where the long part starts
// (the window disables itself and shows the cancel window there).
SiteImportOutcome ImportSite(const SiteImportRequest& request, TSiteLists& lists,
                             const OperationContext& context,
                             const std::function<void()>& beginOperation = {});
