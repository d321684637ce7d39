#pragma once

#include "FtpProtocol.h"
#include "projects/TConnectionSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <memory>

class CurlHandle;
class QIODevice;

// How long a call may wait before it gives up, so that no call waits for
// ever on a silent server.
struct FtpTimeouts {
    int ConnectSeconds = 30; // to open the connection and log in
    int ReplySeconds = 60;   // for each reply on the control connection
    int StallSeconds = 60;   // a transfer that moves no byte for this long
};

// How the connection is protected. Plain leaves every TLS option of the
// library unset, so plain FTP works exactly as it did before TLS existed.
struct FtpTlsSettings {
    TFtpSecurity Security = TFtpSecurity::Plain;
    // Empty: the server's certificate must be one the system (or
    // AuthorityFile) trusts, issued for the host name. Otherwise the SHA-256
    // of the one certificate accepted, whoever issued it and whatever name
    // it carries: any other ends the handshake, before anything but AUTH is
    // sent, on the control connection and on every data connection.
    QByteArray PinnedSha256;
    // Certificate authorities (PEM) trusted besides the system's; empty for
    // the system's alone.
    QString AuthorityFile;
};

// One exchange with the server over the transfer library.
struct FtpRequest {
    enum class Kind { Commands, Listing, Upload, Download };
    Kind What = Kind::Commands;
    QByteArray Url;
    // Sent first, in order; a refusal does not stop what follows.
    QList<QByteArray> Commands;
    QByteArray ListCommand;      // "MLSD"; empty for LIST
    QIODevice* Source = nullptr; // Upload
    qint64 SourceSize = 0;       // Upload
    QIODevice* Sink = nullptr;   // Listing, Download
    // Only the call that connects may open a control connection; any other
    // call must find the one it had, so a lost connection is reported
    // instead of being replaced by a new login behind the caller's back.
    bool MayConnect = false;
};

struct FtpOutcome {
    bool Ok = false;           // the library finished without an error
    bool LoginRefused = false; // the server refused the user name or password
    bool TimedOut = false;
    QString Error;                      // the library's account of what went wrong
    QStringList ReplyLines;             // every line received on the control connection
    int LastCode = 0;                   // the last reply code, 0 when none came
    bool Greeted = false;               // a control connection was opened and answered
    bool ConnectionRefusedByUs = false; // a new connection was needed but not allowed
    bool ConnectionAlive = false;       // the control connection is still open
    // TLS was required and the server does not offer it; nothing followed
    // the refused AUTH.
    bool TlsRefused = false;
    // The handshake ended on the server's certificate (not trusted by the
    // system, not issued for the host name, or not the pinned one).
    bool CertificateRejected = false;
    // The SHA-256 of the certificate the server presented in this request's
    // last handshake; empty when there was none.
    QByteArray CertificateSha256;
};

// The transfer library behind the client: one easy handle, which keeps the
// one control connection between calls. Every connection option is set in
// one place (ApplyConnectionOptions in the .cpp), TLS among them.
class FtpTransport {
public:
    // Called while a request runs: bytes moved and expected so far (upload
    // or download, as the request is; 0, 0 otherwise). Whatever it throws is
    // rethrown by Perform once the library has stopped.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    FtpTransport();
    ~FtpTransport();
    FtpTransport(const FtpTransport&) = delete;
    FtpTransport& operator=(const FtpTransport&) = delete;

    // Starts afresh for an account: closes any connection and takes the
    // login and protection to use from now on.
    void Open(const QString& userName, const QString& password, const FtpTimeouts& timeouts,
              const FtpTlsSettings& tls = FtpTlsSettings());
    // Closes the control connection: QUIT when it is still up, waiting at
    // most 5 s for its answer whatever the reply time-out.
    void Close();

    FtpOutcome Perform(const FtpRequest& request, const Progress& progress);

    // The state of one running request, shared with the library's callbacks.
    struct Call;
    // What the certificate check of every handshake on this handle reads
    // and records. It lives as long as the handle, since a connection's TLS
    // state outlives the request that opened it.
    struct CertificateCheck {
        QByteArray Pinned;
        QByteArray PresentedSha256;
        bool Rejected = false;
    };

private:
    void ApplyConnectionOptions();

    // The easy handle, and the multi handle that keeps the control
    // connection between requests: the easy handle joins it for each
    // request and leaves it afterwards.
    std::unique_ptr<CurlHandle> handle_;
    QByteArray user_;
    QByteArray password_;
    FtpTimeouts timeouts_;
    FtpTlsSettings tls_;
    QByteArray authorityFile_;
    CertificateCheck check_;
};
