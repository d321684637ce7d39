#include "CliCertificateDecision.h"

#include "projects/AccountStore.h"
#include "util/Prompts.h"

namespace {

const QString Option = QStringLiteral("--trust-fingerprint");

} // namespace

QString TakeTrustFingerprint(QStringList& arguments, QString& fingerprint)
{
    bool found = false;
    for (qsizetype i = 0; i < arguments.size();) {
        if (arguments[i] != Option) {
            ++i;
            continue;
        }
        if (found)
            return Option + QStringLiteral(" given twice");
        if (i + 1 >= arguments.size() || ParseFingerprint(arguments[i + 1]).isEmpty())
            return Option + QStringLiteral(" needs the certificate's SHA-256 fingerprint (64 hex digits)");
        fingerprint = arguments[i + 1];
        arguments.remove(i, 2);
        found = true;
    }
    return QString();
}

bool CliCertificateDecision::Trust(const ServerCertificate& certificate)
{
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
