#pragma once

#include <QString>

// Every section and key of the settings file, so that no other code spells
// one by hand. Names are case-sensitive and written exactly as stored.
namespace Schema {

// Fixed sections and their keys.
inline const QString SecSettings = QStringLiteral("Settings");
inline const QString KeyUpdateCheck = QStringLiteral("upc");

inline const QString SecProjects = QStringLiteral("Projects");
inline const QString KeyProjectNames = QStringLiteral("ProjectNames");

inline const QString SecAccounts = QStringLiteral("Accounts");
inline const QString KeyAccountNames = QStringLiteral("AccountNames");

inline const QString SecTimeServers = QStringLiteral("TimeServers");
inline const QString KeyServerURLs = QStringLiteral("ServerURLs");
inline const QString KeyAttempts = QStringLiteral("Attempts");
constexpr int DefaultAttempts = 10;

// Tool sections; each holds its location under KeyCommand.
inline const QString SecInnoCompiler = QStringLiteral("InnoCompiler");
inline const QString SecEditor = QStringLiteral("Editor");
inline const QString SecHelpMaker = QStringLiteral("HelpMaker");
inline const QString SecSignTool = QStringLiteral("SignTool");
inline const QString KeyCommand = QStringLiteral("Command");
// Stored under SecSignTool when the signing tool must be searched for.
inline const QString SignToolNeedFind = QStringLiteral("needfind");

// Window geometry, section "Window\" + window name.
inline const QString KeyTop = QStringLiteral("top");
inline const QString KeyLeft = QStringLiteral("left");
inline const QString KeyHeight = QStringLiteral("height");
inline const QString KeyWidth = QStringLiteral("width");
inline QString WindowSection(const QString& windowName)
{
    return QStringLiteral("Window\\") + windowName;
}

// Per-project keys; the section is the project's name. Texts default to
// empty, booleans to true.
inline const QString KeyPhpFile = QStringLiteral("PhpFile");
inline const QString KeyPhpVar = QStringLiteral("PhpVar");
inline const QString KeyDownLoadLink = QStringLiteral("DownLoadLink");
inline const QString KeyDLinkId = QStringLiteral("DLinkId");
inline const QString KeyDLinkText = QStringLiteral("DLinkText");
inline const QString KeyHelpBatch = QStringLiteral("HelpBatch");
inline const QString KeyBaseFile = QStringLiteral("BaseFile");
inline const QString KeyInnoSetupFile = QStringLiteral("InnoSetupFile");
inline const QString KeyPreBuild = QStringLiteral("PreBuild");
inline const QString KeyPFX = QStringLiteral("PFX");
inline const QString KeyPFXPass = QStringLiteral("PFXPass");
inline const QString KeyApps = QStringLiteral("Apps");
inline const QString KeyPrimary = QStringLiteral("Primary");
inline const QString KeyFullVersion = QStringLiteral("FullVersion");
inline const QString KeyPrimaryPath = QStringLiteral("PrimaryPath");
inline const QString KeyLocalRoot = QStringLiteral("LocalRoot");
inline const QString KeyLocalHome = QStringLiteral("LocalHome");
inline const QString KeySoftWareDev = QStringLiteral("SoftWareDev");
inline const QString KeyTimeStamp = QStringLiteral("TimeStamp");
inline const QString KeyAutoUpload = QStringLiteral("AutoUpload");
inline const QString KeyFileSelection = QStringLiteral("LFLS");
// Added after the keys above: "Links relative to their page", stored by its
// box when clicked. Without it a project resolves links from Local Home.
inline const QString KeyPageRelative = QStringLiteral("PageRelative");

// The accounts a project publishes to: section "Sites", key = project name.
inline const QString SecSites = QStringLiteral("Sites");

// Per-account section "Account/" + account name. Texts default to empty.
inline const QString AccountPrefix = QStringLiteral("Account/");
inline QString AccountSection(const QString& accountName)
{
    return AccountPrefix + accountName;
}
inline const QString KeyFtpAccount = QStringLiteral("FtpAccount");
inline const QString KeyFtpHost = QStringLiteral("FtpHost");
inline const QString KeyFtpUser = QStringLiteral("FtpUser");
inline const QString KeyFtpPass = QStringLiteral("FtpPass");
inline const QString KeyULInstall = QStringLiteral("ULInstall");
inline const QString KeyULPhp = QStringLiteral("ULPhp");
inline const QString KeyULLinkUpLoad = QStringLiteral("ULLinkUpLoad");
inline const QString KeyServerHome = QStringLiteral("ServerHome");
inline const QString KeyServerRoot = QStringLiteral("ServerRoot");
inline const QString KeyHTTPHost = QStringLiteral("HTTPHost");
// Added after the keys above, and written after them, so that their order in
// a section stays as it always was. Without it an account is plain FTP.
inline const QString KeyFtpSecurity = QStringLiteral("FtpSecurity");
inline const QString FtpSecurityPlain = QStringLiteral("plain");
inline const QString FtpSecurityTlsIfOffered = QStringLiteral("tls-if-offered");
inline const QString FtpSecurityTlsRequired = QStringLiteral("tls-required");
// The SHA-256 fingerprint of a server certificate the user chose to trust
// for the account although the system does not.
inline const QString KeyFtpCertificate = QStringLiteral("FtpCertificate");
// A list: the server paths of live files an upload moved aside and could
// not yet put back or delete, for the next upload to the account to settle.
inline const QString KeyAsideFiles = QStringLiteral("AsideFiles");
// How many connections an upload opens to the account's server; written
// after the keys above. Without it (or out of range) see ConnectionsFromText.
inline const QString KeyConnections = QStringLiteral("Connections");
// SFTP, added after the keys above and written after them. Without
// "Protocol" an account is FTP; without "SshAuth" it logs in by password.
// The key file's path and passphrase are kept like the password.
inline const QString KeyProtocol = QStringLiteral("Protocol");
inline const QString ProtocolFtp = QStringLiteral("FTP");
inline const QString ProtocolSftp = QStringLiteral("SFTP");
inline const QString KeySshAuth = QStringLiteral("SshAuth");
inline const QString SshAuthPassword = QStringLiteral("password");
inline const QString SshAuthKeyFile = QStringLiteral("key-file");
inline const QString KeySshKeyFile = QStringLiteral("SshKeyFile");
inline const QString KeySshKeyPass = QStringLiteral("SshKeyPass");
// The SHA-256 fingerprint ("SHA256:...") of the SFTP server's host key the
// user trusted for the account.
inline const QString KeySshHostKey = QStringLiteral("SshHostKey");

// Upload records: section "ULF-" + project + "-" + account; each key is the
// full local path of a file, each value its packed last-write stamp.
inline const QString UploadRecordPrefix = QStringLiteral("ULF-");
inline QString UploadRecordSection(const QString& project, const QString& account)
{
    return UploadRecordPrefix + project + QLatin1Char('-') + account;
}

} // namespace Schema
