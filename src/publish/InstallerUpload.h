#pragma once

#include "publish/FtpTransport.h"
#include "publish/SiteUpload.h"

#include <QString>
#include <QStringList>

#include <functional>

struct OperationContext;

// What the installer upload reads from the window (or the saved project).
// The installer itself is the working state's SetupExePath.
struct InstallerUploadRequest {
    QString Project;      // lblEditingProject
    QString LinkPageFile; // lbeDownLoadLinkFile
    QString PhpFile;      // lbePhpFile
    QString LocalHome;    // lbeLocalHome
    QString LocalRoot;    // lbeLocalRoot
    QStringList Accounts; // lbxUploadSites, in upload order
    FtpTimeouts Timeouts;
    int AccountsAtOnce = 1; // as SiteUploadInputs::AccountsAtOnce
};

struct InstallerUploadOutcome {
    enum class Start {
        NotBuilt,  // "You have not built the Installer": nothing happened
        NoProject, // "No project open!": nothing sent
        Ran,       // the accounts were served and the summary logged
    };
    Start Started = Start::NotBuilt;
    bool Cancelled = false;
    // Accounts that were not served in full: no connection, a file not
    // sent or not moved. Their stamps were not written.
    QStringList FailedAccounts;
    QList<AccountTally> Accounts; // every account the run came to

    bool Ok() const { return Started == Start::Ran && !Cancelled && FailedAccounts.isEmpty(); }
};

// The Upload button of the installer page: the installer, the download page
// and the PHP file go to every account of the request whose upload stamps
// differ from the files, each through the server's temporary folder and
// then moved into place once all have arrived. Stamps are written per
// account served without any failure. The log continues the build's (it is
// not cleared) and ends with the summary. Refusals go to prompts; the log,
// bars and cancel flag are the host's. beginOperation runs once the checks
// have passed, before the first account (the window disables itself and
// shows the cancel window there). The context's certificate decision
// decides on a server certificate the system does not trust; its store is
// needed.
InstallerUploadOutcome UploadInstaller(const InstallerUploadRequest& request, const OperationContext& context,
                                       const std::function<void()>& beginOperation = {});
