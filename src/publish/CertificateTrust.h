#pragma once

#include <QByteArray>
#include <QString>

class Prompts;
class TAppData;

// A server certificate is told by the SHA-256 of its DER form, written as
// 32 hex pairs joined by ":" ("AB:CD:...").
QString FingerprintText(const QByteArray& sha256);
// The 32 bytes of a fingerprint written in hex, with or without ":" or
// blanks between the pairs, in either case; empty when the text is not one.
QByteArray ParseFingerprint(const QString& text);

// An SSH host key is told by the SHA-256 of its blob, written as OpenSSH
// shows it: "SHA256:" and the base64 of the 32 bytes without "=" padding.
QString HostKeyFingerprintText(const QByteArray& sha256);
// The 32 bytes of such a text; empty when the text is not one.
QByteArray ParseHostKeyFingerprint(const QString& text);

// A certificate the system does not trust for the server's name, as the
// FTP client found it while connecting to an account; or, with HostKey, an
// SFTP server's host key not trusted for the account yet (its fingerprints
// then in the "SHA256:..." form, and no Problem).
struct ServerCertificate {
    QString AccountName;
    QString Host;        // "host:port"
    QString Fingerprint; // the certificate the server presents
    // The fingerprint trusted for the account before, when it is another;
    // empty when none was.
    QString Trusted;
    QString Problem; // why the system refused it, as the TLS library says
    bool HostKey = false;
};

// Decides whether the client may go on with a certificate the system does
// not trust. Asked during the handshake's aftermath, before the login or
// anything else is sent; the client then connects again accepting only that
// exact certificate.
class CertificateDecision {
public:
    virtual ~CertificateDecision() = default;
    // True: trust it (and, as the implementation chooses, store it with the
    // account). False: the account fails with nothing sent.
    virtual bool Trust(const ServerCertificate& certificate) = 0;
};

// The window's decision: a certificate or host key never seen for the
// account is shown with its fingerprint and the user is asked; Yes stores it
// with the account. A certificate other than the one trusted before is refused
// without a question (the client's error names both).
class AskingCertificateDecision : public CertificateDecision {
public:
    AskingCertificateDecision(Prompts& prompts, TAppData* store) : prompts_(prompts), store_(store) {}
    bool Trust(const ServerCertificate& certificate) override;

    // The text of the question.
    static QString QuestionText(const ServerCertificate& certificate);

private:
    Prompts& prompts_;
    TAppData* store_;
};
