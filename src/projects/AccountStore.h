#pragma once

#include "projects/TConnectionSettings.h"

#include <QString>
#include <QStringList>

class TAppData;

// The fields of the Accounts page, as typed (server folders without the
// trailing slash that storing adds).
struct TAccountFields {
    QString Name; // "FtpAccount"
    QString Host;
    QString User;
    QString Pass;
    QString InstallerPath;  // "ULInstall"
    QString PhpPath;        // "ULPhp"
    QString LinkUploadPath; // "ULLinkUpLoad"
    QString ServerHome;
    QString ServerRoot;
    TFtpSecurity Security = TFtpSecurity::Plain; // "FtpSecurity"
    // Shown only: SaveAccount leaves the stored fingerprint alone, since
    // only TrustCertificate and ForgetCertificate change it.
    QString TrustedCertificate;                                       // "FtpCertificate"
    TRemoteProtocol Protocol = TRemoteProtocol::Ftp;                  // "Protocol"
    TSshAuthentication Authentication = TSshAuthentication::Password; // "SshAuth"
    // Initialised here so that the brace lists which fill the fields
    // before these need not name them.
    QString KeyFile{}; // "SshKeyFile"
    QString KeyPass{}; // "SshKeyPass"
    // Shown only, like the certificate: TrustHostKey and ForgetHostKey
    // change it.
    QString TrustedHostKey{};             // "SshHostKey"
    int Connections = DefaultConnections; // "Connections"
};

// The choices of the Accounts page, in the order of TFtpSecurity.
const QStringList& FtpSecurityChoices();
// The stored text of a choice, and back. No text (an account saved before
// the choice existed) is plain FTP; a text this program does not know is
// read as "TLS required", so a password is never sent in the clear where
// the user may have asked for TLS.
QString FtpSecurityText(TFtpSecurity security);
TFtpSecurity FtpSecurityFromText(const QString& text);

// The stored number of connections: the default when there is none or it
// is no number, otherwise brought into MinConnections..MaxConnections.
int ConnectionsFromText(const QString& text);
// The protocol and SFTP log-in choices of the Accounts page, in the order
// of their enums, and their stored texts. No protocol text (an account
// saved before SFTP existed) is FTP; one this program does not know is read
// as SFTP, so the password never goes to plain FTP where the user may have
// chosen SSH. No or an unknown log-in text is the password.
const QStringList& RemoteProtocolChoices();
QString RemoteProtocolText(TRemoteProtocol protocol);
TRemoteProtocol RemoteProtocolFromText(const QString& text);
const QStringList& SshAuthenticationChoices();
QString SshAuthenticationText(TSshAuthentication authentication);
TSshAuthentication SshAuthenticationFromText(const QString& text);

// Reads an account's fields. The name comes from its stored "FtpAccount"
// entry; an account never stored keeps `accountName`, so edits made to it
// are saved under that name rather than dropped.
TAccountFields LoadAccount(const TAppData& appData, const QString& accountName);

// Writes the account under "Account/" + its name, server folders with a
// trailing "/", the security choice and the connections after the other
// keys. A new host
// forgets the certificate trusted for the old one. Does nothing for an
// empty name.
void SaveAccount(TAppData& appData, const TAccountFields& fields);

// Stores `fingerprint` as the certificate trusted for the account, in place
// of any trusted before; ForgetCertificate removes it.
void TrustCertificate(TAppData& appData, const QString& accountName, const QString& fingerprint);
void ForgetCertificate(TAppData& appData, const QString& accountName);
// The same for the SFTP server's host key ("SHA256:...").
void TrustHostKey(TAppData& appData, const QString& accountName, const QString& fingerprint);
void ForgetHostKey(TAppData& appData, const QString& accountName);

// Fills `settings` from the account's section; texts exactly as stored.
void ReadAccountSettings(const TAppData& appData, const QString& accountName, TConnectionSettings& settings);
TConnectionSettings ReadAccountSettings(const TAppData& appData, const QString& accountName);

// Refusal of "Copy" when no account is shown, or empty.
QString CopyAccountRefusal(const QString& shownAccount);
// Refusal of a new account name, or empty when it may be added.
QString NewAccountNameRefusal(const QString& newName, const QStringList& existingAccounts);

// The question asked before deleting an account that projects use.
QString DeleteAccountQuestion(const QString& account, const QStringList& userProjects);

// Removes the account's section and takes it out of every user project's "Sites" list.
void DeleteAccount(TAppData& appData, const QString& account, const QStringList& userProjects);
