#pragma once

#include "projects/TConnectionSettings.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real FTP server for a test: tests/support/ftp_server.py on 127.0.0.1,
// serving a temporary folder, started in the constructor and stopped when
// the object goes. Switches provoke the faults a client must survive.
class FtpTestServer {
public:
    struct Options {
        bool Mlsd = true;
        QStringList Refuse;      // commands answered with 550 every time
        QStringList RefuseOnce;  // commands answered with 550 the first time
        QStringList Mute;        // commands never answered
        QStringList DelayOnce;   // "CMD:SECONDS": the server's first CMD answered that late
        QStringList DropOn;      // commands that close the control connection
        int DropAfter = 0;       // close the connection at command N+1 (0: never)
        double IdleTimeout = 0;  // close a connection idle this many seconds (0: never)
        bool IdleSilent = false; // ... without the 421 reply that servers send first
        // Entries "file:NAME" or "dir:NAME" that the listings of "/" show
        // although they do not exist ("file:../x"), as a hostile server's.
        QStringList FakeEntries;
        // "KIND:CMD:N": once, at the Nth CMD over all sessions, KIND happens:
        // refuse (550), 421 (and close), drop (close unanswered), lost (carry
        // it out, then close unanswered) or truncate (STOR keeps half the file
        // and answers 226).
        QStringList Faults;
        // RNTO onto an existing name is refused, as by some Windows servers.
        bool NoReplace = false;
        // Listings carry no size fact, as some servers' do.
        bool NoSizeFact = false;
        // With both: the server offers explicit TLS (AUTH TLS) with this
        // certificate and key (PEM files, see TestCertificates).
        QString TlsCertificate;
        QString TlsKey;
        // Listen on this port, as a server that took the place of another
        // (0: any free one).
        quint16 Port = 0;
        // Control connections beyond this many open ones are answered 421
        // and closed (0: no limit).
        int MaxConnections = 0;
        // Each command waits this long before it is handled, as on a
        // server far away (0: none); each connection gets a thread.
        int DelayMs = 0;
        // A file that several servers of a test append each command to, as
        // "<port> <command>": the order in which they arrived over all of them.
        QString SharedLog;
    };

    FtpTestServer();
    explicit FtpTestServer(const Options& options);
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer&) = delete;
    FtpTestServer& operator=(const FtpTestServer&) = delete;

    // False when the server did not start; Error() says why.
    bool IsRunning() const { return port_ != 0; }
    QString Error() const { return error_; }
    quint16 Port() const { return port_; }
    // "127.0.0.1:port", as an account's Host holds it.
    QString HostText() const;
    static QString User() { return QStringLiteral("tester"); }
    static QString Password() { return QStringLiteral("secret"); }
    // An account that reaches this server with the right login.
    TConnectionSettings Account(const QString& name = QStringLiteral("TestAccount")) const;

    // The folder served as "/", and a local path for a server path in it.
    QString Root() const;
    QString LocalPath(const QString& serverPath) const;
    // Puts a file on the server side directly (folders made as needed).
    void PutFile(const QString& serverPath, const QByteArray& bytes) const;
    QByteArray FileBytes(const QString& serverPath) const;
    bool Exists(const QString& serverPath) const;

    // Every command the server received, in order ("PASS ******" masked).
    QStringList Commands() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    QString error_;
};
