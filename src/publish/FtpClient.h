#pragma once

#include "AcceptedIdentities.h"
#include "CertificateTrust.h"
#include "ClientSession.h"
#include "FtpListing.h"
#include "FtpProtocol.h"
#include "FtpTransport.h"
#include "TransferProgress.h"
#include "projects/TConnectionSettings.h"

#include <QList>
#include <QString>
#include <initializer_list>

class OperationHost;

// What a call to the server came to. Failures the server or the network
// cause are values here, never exceptions.
struct FtpResult {
    // A command: the server answered with a positive code (below 400).
    // A connect, listing or transfer: it completed.
    bool Ok = false;
    int Code = 0;  // the server's last reply code; 0 when none came
    QString Text;  // that reply's text after the code
    QString Error; // for the log when Ok is false
    // The control connection is gone; nothing more can be done on it until
    // Connect is called again.
    bool ConnectionLost = false;

    bool CodeIn(std::initializer_list<int> codes) const;
};

struct FtpListingResult {
    FtpResult Result;
    QList<FtpEntry> Entries; // without "." and ".."
};

// The FTP client of the uploads and the import: one control connection to
// one account at a time, passive, binary, IPv4, no proxy. Every call blocks
// until the server has answered or a time-out has passed (the window runs
// the operation on a worker thread). A call is never abandoned
// half-way for a cancel; the operations read the cancel flag between calls.
//
// Status lines go to the host's log: "Connected to : " + account when the
// server answers, "Logged in to : " + account when the login is accepted,
// and "Disconnected from : " + account when Disconnect closes a connection
// that had answered (also one that refused the login or was lost since).
//
// An account's Security asks for TLS. A certificate the system trusts for
// the host name is accepted silently. Any other is looked up: the one
// trusted before for the account is accepted without a question; an unknown
// one, or one other than the one trusted before, goes to the certificate
// decision, and without its consent Connect fails with nothing sent. A
// certificate accepted that way is pinned: the client connects again and the
// handshake of that connection and of every data connection accepts that
// exact certificate and nothing else, so a server that changes its
// certificate in between receives nothing either. An account that holds a
// trusted certificate (stored, or accepted during this client's life) takes
// TLS as required, whatever its Security: a server that stops offering TLS
// gets no login, and the log says why.
class FtpClient {
public:
    explicit FtpClient(OperationHost& host);
    ~FtpClient();
    FtpClient(const FtpClient&) = delete;
    FtpClient& operator=(const FtpClient&) = delete;

    // The log and bars of the operation in progress.
    void SetHost(OperationHost& host) { host_ = &host; }
    OperationHost& Host() const { return *host_; }
    void SetTimeouts(const FtpTimeouts& timeouts) { timeouts_ = timeouts; }
    // Who decides on a certificate the system does not trust (see above);
    // none refuses every such certificate. Not owned; must outlive the calls.
    void SetCertificateDecision(CertificateDecision* decision) { decision_ = decision; }
    // Certificate authorities (a PEM file) trusted besides the system's;
    // empty for the system's alone.
    void SetCertificateAuthorities(const QString& file) { authorityFile_ = file; }
    // Trusts what `other` trusts: its authorities and the certificates its
    // decision accepted, so that a further connection to the same account
    // is made without asking again.
    void ShareTrustOf(const FtpClient& other);

    // 0: transfers drive the host's file bar; -1: they leave it alone.
    int ProgressSwitch() const { return progress_.Switch(); }
    void SetProgressSwitch(int value) { progress_.SetSwitch(value); }

    // Connects to the account's Host (":port" optional, 21 by default) and
    // logs in with its UserName and Password. A session still open is
    // disconnected first. Ok only when logged in. With TLS, "TLS not offered
    // by : " + account is logged when the account takes it only when offered
    // and the server does not offer it; for an account that holds a trusted
    // certificate the line says so, and the connect fails.
    FtpResult Connect(const TConnectionSettings& account);
    // Closes the session and logs "Disconnected from : "; nothing when no
    // session is open. The answer to QUIT is awaited at most 5 s.
    void Disconnect();
    // A session was opened (the server answered) and not yet disconnected,
    // even if the login failed or the connection was lost since.
    bool IsConnected() const { return session_.IsOpen(); }
    // Logged in and the connection has not been lost: calls can be made.
    bool IsLoggedIn() const { return session_.IsLoggedIn(); }
    // The server offered MLSD at login, so listings use it.
    bool UsesMlsd() const { return useMlsd_; }

    // Commands whose replies the caller judges. Paths are server paths,
    // absolute ("/a/b") or relative to the current folder. Ok is a reply
    // below 400; Code and Text are the reply.
    FtpResult Command(const QString& commandLine);
    FtpResult Cwd(const QString& path) { return Command(QStringLiteral("CWD ") + path); }
    FtpResult Mkd(const QString& path) { return Command(QStringLiteral("MKD ") + path); }
    FtpResult Dele(const QString& path) { return Command(QStringLiteral("DELE ") + path); }
    FtpResult Rnfr(const QString& path) { return Command(QStringLiteral("RNFR ") + path); }
    FtpResult Rnto(const QString& path) { return Command(QStringLiteral("RNTO ") + path); }
    // PWD; folder (when given) receives the folder the reply names.
    FtpResult Pwd(QString* folder = nullptr);

    // Lists a folder (or, with LIST, a single file) by its path; an empty
    // path lists the current folder. MLSD when the server offers it and
    // forceList is false, LIST otherwise.
    FtpListingResult List(const QString& path, bool forceList = false);

    // Sends a local file whole to the full server path, replacing what is
    // there. Progress runs from (0, size) to (size, size).
    FtpResult Upload(const QString& localPath, const QString& remotePath);
    // Fetches a server file whole. The local file is written beside its
    // target and renamed over it only when everything has arrived, so a
    // failed download leaves the old file (or none). expectedSize (from the
    // listing) is the progress total until the server tells its own.
    FtpResult Download(const QString& remotePath, const QString& localPath, qint64 expectedSize = -1);

private:
    FtpOutcome Login(const FtpTlsSettings& tls);
    QString DecideOnCertificate(const FtpOutcome& outcome, QByteArray& accepted);
    FtpResult NotReady() const;
    FtpResult Judge(const FtpOutcome& outcome, const QString& what);
    FtpOutcome Run(const FtpRequest& request, qint64 progressTotal = 0);
    FtpListingResult ListWith(const QString& path, bool mlsd);

    OperationHost* host_;
    FtpTransport transport_;
    FtpTimeouts timeouts_;
    CertificateDecision* decision_ = nullptr;
    QString authorityFile_;
    // Certificates accepted by the decision during this client's life, by
    // account, so that a reconnect with settings read before does not ask
    // again.
    AcceptedIdentities acceptedCertificates_;
    TConnectionSettings account_;
    FtpAddress address_;
    ClientSession session_;
    TransferProgress progress_;
    bool useMlsd_ = false;
};
