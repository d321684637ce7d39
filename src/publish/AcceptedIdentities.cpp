#include "AcceptedIdentities.h"

#include "CertificateTrust.h"

QByteArray AcceptedIdentities::Trusted(const QString& account, const QByteArray& stored) const
{
    return accepted_.contains(account) ? accepted_.value(account) : stored;
}

bool AcceptedIdentities::Ask(CertificateDecision* decision, const ServerCertificate& identity,
                             const QByteArray& presented)
{
    if (!decision || !decision->Trust(identity))
        return false;
    accepted_.insert(identity.AccountName, presented);
    return true;
}
