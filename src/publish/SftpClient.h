#pragma once

#include "AcceptedIdentities.h"
#include "ClientSession.h"
#include "RemoteClient.h"
#include "SftpTransport.h"
#include "TransferProgress.h"

// The SFTP client of the uploads and the import, over SSH to one account at
// a time (port 22 unless the host names one). Server paths are the server's
// own absolute paths.
//
// Status lines name the protocol: "Connected to (SFTP) : " + account when
// the server answers, "Logged in to (SFTP) : " + account when the login is
// accepted, and "Disconnected from (SFTP) : " + account when Disconnect
// closes a session that had answered.
//
// Host keys are trusted like certificates: the key trusted before for the
// account passes without a question; an unknown key, or one other than the
// one trusted before, goes to the certificate decision (as a host key), and
// without its consent Connect fails before the login is sent. Every
// connection accepts exactly one key, the trusted or accepted one, so a
// server that changes its key in between receives nothing either.
//
// Renaming onto an existing file: through the library the client can only
// send SFTP version 3's plain RENAME, which OpenSSH's server carries out as
// link-then-unlink and so refuses when the target exists ("Operation
// failed"). OpenSSH's "posix-rename@openssh.com" extension, which replaces
// in one step, is out of reach: the library's commands never use it, and
// libssh2 1.10 (Debian 12) has no call for it. So RenameTarget() is
// Refuses, and the uploads move a live file aside before renaming the new
// one in (tested against OpenSSH 9.2 with libcurl 7.88).
class SftpClient : public RemoteClient {
public:
    explicit SftpClient(OperationHost& host);
    ~SftpClient() override;
    SftpClient(const SftpClient&) = delete;
    SftpClient& operator=(const SftpClient&) = delete;

    void SetHost(OperationHost& host) override { host_ = &host; }
    void SetCertificateDecision(CertificateDecision* decision) override { decision_ = decision; }
    void SetTimeouts(const FtpTimeouts& timeouts) { timeouts_ = timeouts; }
    // 0: transfers drive the host's file bar; -1: they leave it alone.
    void SetProgressSwitch(int value) override { progress_.SetSwitch(value); }

    RemoteResult Connect(const TConnectionSettings& account) override;
    void Disconnect() override;
    bool IsLoggedIn() const override { return session_.IsLoggedIn(); }

    RemoteResult MakeFolder(const QString& path) override;
    RemoteListing List(const QString& folder) override;
    RemoteResult Send(const QString& localPath, const QString& remotePath) override;
    RemoteResult Fetch(const QString& remotePath, const QString& localPath,
                       qint64 expectedSize = -1) override;
    RemoteResult Rename(const QString& from, const QString& to) override;
    RenameOntoExisting RenameTarget() const override { return RenameOntoExisting::Refuses; }
    RemoteResult Delete(const QString& path) override;
    RemoteSize Size(const QString& path) override;

    OperationHost& Host() const override { return *host_; }
    // Asks the server for the path's attributes.
    RemotePresence Presence(const QString& path) override;
    bool HasFolder(const QString& path) override;
    // Takes over the host keys `other` (an SFTP client) accepted.
    void ShareTrustOf(const RemoteClient& other) override;

private:
    SftpOutcome Login(const QByteArray& pinned);
    QString DecideOnHostKey(const QByteArray& presented, QByteArray& accepted);
    RemoteSize ListedSize(const QString& path);
    RemoteResult NotReady() const;
    RemoteResult Judge(const SftpOutcome& outcome, const QString& what);
    SftpOutcome Run(const SftpRequest& request, qint64 progressTotal = 0);
    RemoteResult RunCommand(const QByteArray& command, const QString& what);
    QByteArray Url(const QString& path, bool asFolder) const;

    OperationHost* host_;
    SftpTransport transport_;
    FtpTimeouts timeouts_;
    CertificateDecision* decision_ = nullptr;
    // Host keys accepted by the decision during this client's life, by
    // account, so that a reconnect with settings read before does not ask
    // again.
    AcceptedIdentities acceptedKeys_;
    TConnectionSettings account_;
    SftpLogin login_;
    ClientSession session_;
    TransferProgress progress_;
};
