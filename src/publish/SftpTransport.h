#pragma once

#include "FtpTransport.h"
#include "projects/TConnectionSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

class CurlHandle;
class QIODevice;

// Who logs in where, and the one host key accepted.
struct SftpLogin {
    QString Host;
    int Port = 22;
    QString UserName;
    TSshAuthentication Authentication = TSshAuthentication::Password;
    QString Password;
    QString KeyFile;
    QString KeyPassphrase;
    // The SHA-256 of the only host key accepted; empty accepts none (the
    // key presented is still recorded, for the trust decision).
    QByteArray PinnedHostKey;
};

// One exchange with the server over the transfer library.
struct SftpRequest {
    enum class Kind { Commands, Listing, Upload, Download, Size };
    Kind What = Kind::Commands;
    QByteArray Url;
    // SFTP commands of the library ("mkdir", "rename", "rm"), run in order
    // before the request's own work; the first refusal ends the request.
    QList<QByteArray> Commands;
    QIODevice* Source = nullptr; // Upload
    qint64 SourceSize = 0;       // Upload
    QIODevice* Sink = nullptr;   // Listing, Download
    // Only the call that connects may open a connection; any other must
    // find the one it had, so a lost connection is reported instead of
    // being replaced by a new login behind the caller's back.
    bool MayConnect = false;
};

struct SftpOutcome {
    bool Ok = false;
    bool LoginRefused = false;
    bool TimedOut = false;
    bool NotFound = false; // the server has no such file or folder
    // The host key was not the pinned one (or none was pinned): the
    // connection ended before the login.
    bool HostKeyRejected = false;
    bool ConnectionRefusedByUs = false; // a new connection was needed but not allowed
    bool ConnectionAlive = false;
    QString Error; // the library's account of what went wrong
    // The SHA-256 of the host key presented in this request's handshake;
    // empty when there was none.
    QByteArray HostKeySha256;
    qint64 Size = -1; // Size: the file's size
};

// The transfer library behind the SFTP client: one easy handle, which keeps
// the one SSH connection between calls. Every connection option is set in
// one place (ApplyConnectionOptions in the .cpp).
class SftpTransport {
public:
    // Bytes moved and expected so far while a transfer runs. Whatever it
    // throws is rethrown by Perform once the library has stopped.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    SftpTransport();
    ~SftpTransport();
    SftpTransport(const SftpTransport&) = delete;
    SftpTransport& operator=(const SftpTransport&) = delete;

    // Starts afresh: closes any connection and takes the login to use.
    void Open(const SftpLogin& login, const FtpTimeouts& timeouts);
    void Close();

    SftpOutcome Perform(const SftpRequest& request, const Progress& progress);

    // The state of one running request, shared with the library's callbacks.
    struct Call;
    struct HostKeyCheck {
        QByteArray Pinned;
        QByteArray PresentedSha256;
    };

private:
    void ApplyConnectionOptions();

    std::unique_ptr<CurlHandle> handle_;
    SftpLogin login_;
    QByteArray user_;
    QByteArray password_;
    QByteArray keyFile_;
    QByteArray keyPassphrase_;
    FtpTimeouts timeouts_;
    HostKeyCheck check_;
};
