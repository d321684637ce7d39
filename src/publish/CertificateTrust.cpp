#include "CertificateTrust.h"

#include "projects/AccountStore.h"
#include "util/Prompts.h"

QString FingerprintText(const QByteArray& sha256)
{
    return QString::fromLatin1(sha256.toHex(':').toUpper());
}

QByteArray ParseFingerprint(const QString& text)
{
    QByteArray hex;
    for (const QChar c : text) {
        if (c == QLatin1Char(':') || c.isSpace())
            continue;
        const char h = c.unicode() < 0x80 ? c.toLatin1() : '\0';
        if (!((h >= '0' && h <= '9') || (h >= 'a' && h <= 'f') || (h >= 'A' && h <= 'F')))
            return {};
        hex.append(h);
    }
    if (hex.size() != 64)
        return {};
    return QByteArray::fromHex(hex);
}

QString HostKeyFingerprintText(const QByteArray& sha256)
{
    return QStringLiteral("SHA256:") +
           QString::fromLatin1(sha256.toBase64(QByteArray::Base64Encoding | QByteArray::OmitTrailingEquals));
}

QByteArray ParseHostKeyFingerprint(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(QLatin1String("SHA256:")))
        return {};
    const auto decoded = QByteArray::fromBase64Encoding(
        trimmed.mid(7).toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != 32)
        return {};
    return decoded.decoded;
}

QString AskingCertificateDecision::QuestionText(const ServerCertificate& certificate)
{
    if (certificate.HostKey)
        return QStringLiteral("The SFTP server of %1 (%2) presents a host key this program has not seen "
                              "for the account.\r\rFingerprint:\r%3\r\rCompare it with the one your host "
                              "gives you. Trust this host key?")
            .arg(certificate.AccountName, certificate.Host, certificate.Fingerprint);
    QString text = QStringLiteral("The FTP server of %1 (%2) presents a certificate that this computer does "
                                  "not trust")
                       .arg(certificate.AccountName, certificate.Host);
    if (!certificate.Problem.isEmpty())
        text += QStringLiteral(":\r") + certificate.Problem;
    text += QStringLiteral(".\r\rSHA-256 fingerprint:\r") + certificate.Fingerprint +
            QStringLiteral("\r\rCompare it with the one your host gives you. Trust this certificate?");
    return text;
}

bool AskingCertificateDecision::Trust(const ServerCertificate& certificate)
{
    if (!certificate.Trusted.isEmpty())
        return false;
    if (prompts_.AskQuestion(ProductCaption, QuestionText(certificate), MB_YESNO) != IDYES)
        return false;
    if (store_ && certificate.HostKey)
        TrustHostKey(*store_, certificate.AccountName, certificate.Fingerprint);
    else if (store_)
        TrustCertificate(*store_, certificate.AccountName, certificate.Fingerprint);
    return true;
}
