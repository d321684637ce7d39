#pragma once

#include <QString>
#include <QTemporaryDir>

// Server certificates for TLS tests, made with the openssl command line in a
// temporary folder that goes with the object: self-signed ones, and ones
// issued by a test authority whose certificate a client can be told to
// trust.
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

private:
    bool Run(const QStringList& arguments);
    QString Path(const QString& name) const { return dir_.filePath(name); }
    Made Finish(const QString& name);

    QTemporaryDir dir_;
    QString error_;
};
