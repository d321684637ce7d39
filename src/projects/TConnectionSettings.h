#pragma once

#include <QString>

// One FTP account as read from its settings section "Account/" + name.
struct TConnectionSettings {
    QString InstallerDir; // "ULInstall"
    QString PhpDir;       // "ULPhp"
    QString LinkPageDir;  // "ULLinkUpLoad"
    QString Password;     // "FtpPass"
    QString UserName;     // "FtpUser"
    QString Host;         // "FtpHost", may carry ":port"
    QString HomePath;     // "ServerHome"
    QString RootPath;     // "ServerRoot"
    QString AccountName;  // the section name without "Account/"
    QString HttpHost;     // "HTTPHost", read but not used
};
