#pragma once

#include "projects/TConnectionSettings.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real OpenSSH server for a test (/usr/sbin/sshd, SFTP only) on a free
// 127.0.0.1 port, with its own host key, configuration and authorized keys
// in a temporary folder, started in the constructor and stopped when the
// object goes.
//
// Run as root, it logs in the test user that scripts/bootstrap makes (with a
// password the tests know), or root itself where that user is missing, and
// locks the session into the temporary folder: its top is not writable, as
// on many hosts, and SitePath() below it is. Run as another user, it can
// only log in that user, by key, and serves the real paths of its folder.
class SshTestServer {
public:
    SshTestServer();
    ~SshTestServer();
    SshTestServer(const SshTestServer&) = delete;
    SshTestServer& operator=(const SshTestServer&) = delete;

    // False when the server did not start; Error() says why.
    bool IsRunning() const { return port_ != 0 && process_.state() == QProcess::Running; }
    QString Error() const { return error_; }
    quint16 Port() const { return port_; }
    // "127.0.0.1:port", as an account's Host holds it.
    QString HostText() const;
    QString User() const { return user_; }
    // Empty when a password log-in can be tested; otherwise why not.
    QString PasswordSkipReason() const;
    static QString Password() { return QStringLiteral("Tarnwell-Test-9"); }
    // Private keys the server accepts: one without and one with a passphrase.
    QString KeyFile() const;
    QString PassphraseKeyFile() const;
    static QString KeyPassphrase() { return QStringLiteral("open sesame"); }
    // The server's host key as OpenSSH's own ssh-keygen prints it ("SHA256:...").
    QString HostKeyFingerprint() const;

    // SFTP accounts that reach this server, by key file (without a
    // passphrase) or by password; Server Root and Home are SitePath().
    TConnectionSettings KeyAccount(const QString& name = QStringLiteral("SftpAccount")) const;
    TConnectionSettings PasswordAccount(const QString& name = QStringLiteral("SftpAccount")) const;

    // The server path of the folder the user may write, ending in "/".
    QString SitePath() const;
    // The local path of a server path, and direct access to the files.
    QString LocalPath(const QString& serverPath) const;
    void PutFile(const QString& serverPath, const QByteArray& bytes) const;
    QByteArray FileBytes(const QString& serverPath) const;
    bool Exists(const QString& serverPath) const;
    // Every file and folder below SitePath(), relative to it, sorted.
    QStringList SiteEntries() const;

    // The lines of the server's log that tell of a login attempt
    // ("Accepted ..." and "Failed ...").
    QStringList LoginLines() const;

    // Stops the server and starts it again on the same port, with a new host
    // key when asked. False when it did not come back.
    bool Restart(bool newHostKey);

private:
    bool MakeHostKey();
    bool Start(quint16 port);
    void Stop();
    QString Jail() const;
    QString ReadLog() const;

    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    QString user_;
    bool asRoot_ = false;
    bool testUser_ = false;
    QString error_;
};
