#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

class CertificateDecision;
struct ServerCertificate;

// The server identities (TLS certificates, SSH host keys, each by its
// SHA-256) a client's decision accepted during the client's life, by
// account, so that a reconnect with settings read before does not ask
// again.
class AcceptedIdentities {
public:
    bool Holds(const QString& account) const { return accepted_.contains(account); }
    // The one accepted for the account during this life, else `stored`, the
    // one the account's settings hold (empty for none).
    QByteArray Trusted(const QString& account, const QByteArray& stored) const;
    // Asks the decision (none refuses) about an identity the server
    // presents, whose SHA-256 is `presented`; one it trusts is kept for the
    // account.
    bool Ask(CertificateDecision* decision, const ServerCertificate& identity, const QByteArray& presented);

private:
    QHash<QString, QByteArray> accepted_;
};
