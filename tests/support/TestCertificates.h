#pragma once

#include <QString>
#include <QTemporaryDir>

// Server certificates for TLS tests, made with the openssl command line in a
// temporary folder that goes with the object: self-signed ones, and ones
// issued by a test authority whose certificate a client can be told to
// trust; and, from the same authority, certificates to sign program files
// and to time-stamp them.
class TestCertificates {
public:
    struct Made {
        QString Certificate; // PEM file
        QString Key;         // PEM file
        QString Fingerprint; // SHA-256 of the certificate, "AB:CD:..."
    };

    TestCertificates();
    // False when the authority could not be made; Error() says why.
    bool IsReady() const { return error_.isEmpty(); }
    QString Error() const { return error_; }

    // The authority's certificate (PEM), for a client to trust.
    QString AuthorityFile() const;
    // A certificate for `address` ("IP:127.0.0.1" or "DNS:localhost"),
    // self-signed or issued by the authority. Empty paths on failure.
    Made SelfSigned(const QString& name, const QString& address);
    Made Issued(const QString& name, const QString& address);
    // A code-signing certificate and its key in a PFX (PKCS#12) file locked
    // with password; its path, or empty on failure.
    QString CodeSigningPfx(const QString& name, const QString& password);
    // A certificate for a time-stamp service.
    Made TimeStamping(const QString& name);

private:
    bool Run(const QStringList& arguments);
    QString Path(const QString& name) const { return dir_.filePath(name); }
    Made Finish(const QString& name);
    Made SignedByAuthority(const QString& name, const QByteArray& extensionLines);

    QTemporaryDir dir_;
    QString error_;
};
