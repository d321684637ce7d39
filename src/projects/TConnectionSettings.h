#pragma once

#include <QString>

// How an account's FTP connection is protected: TLS on the control and data
// connections (explicit, after AUTH TLS) never, when the server offers it,
// or always, refusing a server without it.
enum class TFtpSecurity { Plain, TlsIfOffered, TlsRequired };

// How many connections an upload may open to one account's server.
constexpr int MinConnections = 1;
constexpr int MaxConnections = 8;
constexpr int DefaultConnections = 4;

// How an account reaches its server: FTP (with its security choice) or SFTP
// over SSH.
enum class TRemoteProtocol { Ftp, Sftp };
// How an SFTP account logs in: with its password, or with a private key
// file (and the key's passphrase when it has one).
enum class TSshAuthentication { Password, KeyFile };

// One FTP account as read from its settings section "Account/" + name.
struct TConnectionSettings {
    QString InstallerDir;                        // "ULInstall"
    QString PhpDir;                              // "ULPhp"
    QString LinkPageDir;                         // "ULLinkUpLoad"
    QString Password;                            // "FtpPass"
    QString UserName;                            // "FtpUser"
    QString Host;                                // "FtpHost", may carry ":port"
    QString HomePath;                            // "ServerHome"
    QString RootPath;                            // "ServerRoot"
    QString AccountName;                         // the section name without "Account/"
    QString HttpHost;                            // "HTTPHost", read but not used
    TFtpSecurity Security = TFtpSecurity::Plain; // "FtpSecurity"
    // "FtpCertificate": the SHA-256 fingerprint ("AB:CD:...") of the server
    // certificate the user trusted for this account; empty when none.
    QString TrustedCertificate;
    // "Connections": how many connections an upload opens to the server at
    // once (MinConnections to MaxConnections).
    int Connections = DefaultConnections;
    TRemoteProtocol Protocol = TRemoteProtocol::Ftp;                  // "Protocol"
    TSshAuthentication Authentication = TSshAuthentication::Password; // "SshAuth"
    QString KeyFile;                                                  // "SshKeyFile"
    QString KeyPassphrase;                                            // "SshKeyPass"
    // "SshHostKey": the SHA-256 fingerprint ("SHA256:...", as OpenSSH
    // writes it) of the SFTP server's host key the user trusted; empty when
    // none.
    QString TrustedHostKey;
};
