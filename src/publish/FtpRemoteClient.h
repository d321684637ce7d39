#pragma once

#include "FtpClient.h"
#include "RemoteClient.h"

#include <memory>

// The FTP client behind the remote-side interface. Every call goes to an
// FtpClient, its own or one the caller keeps, and the reply becomes a
// RemoteResult whose Error carries the server's refusal. The status lines
// are the FTP client's ("Connected to : " + account, ...).
//
// Rename is RNFR then RNTO; whether RNTO replaces an existing target is the
// server's to say (RenameTarget() is ServerDecides). Size asks SIZE in
// binary type and falls back to the file's own listing on a server that
// does not know SIZE.
class FtpRemoteClient : public RemoteClient {
public:
    // With a client of its own.
    explicit FtpRemoteClient(OperationHost& host);
    // Over a client the caller keeps, and which must outlive this one.
    explicit FtpRemoteClient(FtpClient& ftp);
    FtpRemoteClient(const FtpRemoteClient&) = delete;
    FtpRemoteClient& operator=(const FtpRemoteClient&) = delete;

    // The FTP client underneath, for what only FTP has (TLS authorities,
    // raw commands).
    FtpClient& Ftp() { return *ftp_; }
    void SetTimeouts(const FtpTimeouts& timeouts) { ftp_->SetTimeouts(timeouts); }

    void SetHost(OperationHost& host) override { ftp_->SetHost(host); }
    void SetCertificateDecision(CertificateDecision* decision) override
    {
        ftp_->SetCertificateDecision(decision);
    }
    void SetProgressSwitch(int value) override { ftp_->SetProgressSwitch(value); }

    RemoteResult Connect(const TConnectionSettings& account) override;
    void Disconnect() override { ftp_->Disconnect(); }
    bool IsLoggedIn() const override { return ftp_->IsLoggedIn(); }

    RemoteResult MakeFolder(const QString& path) override;
    RemoteListing List(const QString& folder) override;
    RemoteResult Send(const QString& localPath, const QString& remotePath) override;
    RemoteResult Fetch(const QString& remotePath, const QString& localPath,
                       qint64 expectedSize = -1) override;
    RemoteResult Rename(const QString& from, const QString& to) override;
    RenameOntoExisting RenameTarget() const override { return RenameOntoExisting::ServerDecides; }
    RemoteResult Delete(const QString& path) override;
    RemoteSize Size(const QString& path) override;

    OperationHost& Host() const override { return ftp_->Host(); }
    // MLST on a server that offers the machine listings, else a listing of
    // the path itself.
    RemotePresence Presence(const QString& path) override;
    // Enters the folder.
    bool HasFolder(const QString& path) override;
    // Takes over the authorities and certificates `other` (an FTP client)
    // trusts.
    void ShareTrustOf(const RemoteClient& other) override;

private:
    RemoteSize ListedSize(const QString& path);

    std::unique_ptr<FtpClient> own_;
    FtpClient* ftp_;
};
