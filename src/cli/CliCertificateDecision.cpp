#include "CliCertificateDecision.h"

#include "projects/AccountStore.h"
#include "util/Prompts.h"

namespace {

const QString Option = QStringLiteral("--trust-fingerprint");

} // namespace

QString TakeTrustFingerprint(const QStringList& values, QString& fingerprint)
{
    if (values.size() > 1)
        return Option + QStringLiteral(" given twice");
    if (values.isEmpty())
        return QString();
    if (ParseFingerprint(values.first()).isEmpty() && ParseHostKeyFingerprint(values.first()).isEmpty())
        return Option + QStringLiteral(" needs the certificate's SHA-256 fingerprint (64 hex digits)");
    fingerprint = values.first();
    return QString();
}

bool CliCertificateDecision::Trust(const ServerCertificate& certificate)
{
    if (certificate.HostKey) {
        if (!trustedHostKey_.isEmpty() &&
            trustedHostKey_ == ParseHostKeyFingerprint(certificate.Fingerprint)) {
            if (store_)
                TrustHostKey(*store_, certificate.AccountName, certificate.Fingerprint);
            return true;
        }
        prompts_.ShowInfo(
            ProductCaption,
            QStringLiteral("The host key of %1 (%2) is %3. To trust it, check that it is your "
                           "server's and run again with --trust-fingerprint %4")
                .arg(certificate.AccountName, certificate.Host,
                     certificate.Trusted.isEmpty()
                         ? QStringLiteral("not trusted")
                         : QStringLiteral("not the one trusted before (%1)").arg(certificate.Trusted),
                     certificate.Fingerprint));
        return false;
    }
    if (!trusted_.isEmpty() && trusted_ == ParseFingerprint(certificate.Fingerprint)) {
        if (store_)
            TrustCertificate(*store_, certificate.AccountName, certificate.Fingerprint);
        return true;
    }
    QString text =
        certificate.Trusted.isEmpty()
            ? QStringLiteral("The certificate of %1 (%2) is not trusted.")
                  .arg(certificate.AccountName, certificate.Host)
            : QStringLiteral("The certificate of %1 (%2) is not the one trusted before (SHA-256 %3).")
                  .arg(certificate.AccountName, certificate.Host, certificate.Trusted);
    text += QStringLiteral(" To trust it, check that it is your server's and run again with "
                           "--trust-fingerprint %1")
                .arg(certificate.Fingerprint);
    prompts_.ShowInfo(ProductCaption, text);
    return false;
}
