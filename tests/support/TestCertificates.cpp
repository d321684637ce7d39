#include "TestCertificates.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>

namespace {

// An EC key is made in a moment, unlike RSA.
const QStringList NewKey{QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                         QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};

// The SHA-256 of a PEM certificate's DER bytes, worked out here rather than
// by the code under test.
QString PemFingerprint(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray base64;
    bool inside = false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("-----BEGIN CERTIFICATE"))
            inside = true;
        else if (line.startsWith("-----END CERTIFICATE"))
            break;
        else if (inside)
            base64 += line.trimmed();
    }
    const QByteArray sha256 =
        QCryptographicHash::hash(QByteArray::fromBase64(base64), QCryptographicHash::Sha256);
    return QString::fromLatin1(sha256.toHex(':').toUpper());
}

} // namespace

TestCertificates::TestCertificates()
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    Run(QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + NewKey +
        QStringList{QStringLiteral("-keyout"), Path(QStringLiteral("authority.key")), QStringLiteral("-out"),
                    AuthorityFile(), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                    QStringLiteral("/CN=Tarnwell Test Authority"), QStringLiteral("-addext"),
                    QStringLiteral("basicConstraints=critical,CA:TRUE"), QStringLiteral("-addext"),
                    QStringLiteral("keyUsage=critical,keyCertSign,cRLSign")});
}

QString TestCertificates::AuthorityFile() const
{
    return Path(QStringLiteral("authority.pem"));
}

bool TestCertificates::Run(const QStringList& arguments)
{
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"), arguments);
    if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit ||
        openssl.exitCode() != 0) {
        error_ =
            QStringLiteral("openssl %1 failed: %2")
                .arg(arguments.first(), QString::fromLocal8Bit(openssl.readAll()) + openssl.errorString());
        return false;
    }
    return true;
}

TestCertificates::Made TestCertificates::Finish(const QString& name)
{
    Made made;
    made.Certificate = Path(name + QStringLiteral(".pem"));
    made.Key = Path(name + QStringLiteral(".key"));
    made.Fingerprint = PemFingerprint(made.Certificate);
    return made;
}

TestCertificates::Made TestCertificates::SelfSigned(const QString& name, const QString& address)
{
    if (!Run(QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + NewKey +
             QStringList{QStringLiteral("-keyout"), Path(name + QStringLiteral(".key")),
                         QStringLiteral("-out"), Path(name + QStringLiteral(".pem")), QStringLiteral("-days"),
                         QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=") + name,
                         QStringLiteral("-addext"), QStringLiteral("subjectAltName=") + address}))
        return {};
    return Finish(name);
}

TestCertificates::Made TestCertificates::Issued(const QString& name, const QString& address)
{
    return SignedByAuthority(
        name, QStringLiteral("subjectAltName=%1\nbasicConstraints=CA:FALSE\n").arg(address).toUtf8());
}

QString TestCertificates::CodeSigningPfx(const QString& name, const QString& password)
{
    const Made made =
        SignedByAuthority(name, "basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\n"
                                "extendedKeyUsage=codeSigning\n");
    const QString pfx = Path(name + QStringLiteral(".pfx"));
    if (made.Certificate.isEmpty() ||
        !Run({QStringLiteral("pkcs12"), QStringLiteral("-export"), QStringLiteral("-inkey"), made.Key,
              QStringLiteral("-in"), made.Certificate, QStringLiteral("-certfile"), AuthorityFile(),
              QStringLiteral("-out"), pfx, QStringLiteral("-passout"), QStringLiteral("pass:") + password}))
        return {};
    return pfx;
}

TestCertificates::Made TestCertificates::TimeStamping(const QString& name)
{
    return SignedByAuthority(name, "basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\n"
                                   "extendedKeyUsage=critical,timeStamping\n");
}

TestCertificates::Made TestCertificates::SignedByAuthority(const QString& name,
                                                           const QByteArray& extensionLines)
{
    const QString request = Path(name + QStringLiteral(".csr"));
    const QString extensions = Path(name + QStringLiteral(".ext"));
    QFile ext(extensions);
    if (!ext.open(QIODevice::WriteOnly) || ext.write(extensionLines) < 0) {
        error_ = QStringLiteral("cannot write ") + extensions;
        return {};
    }
    ext.close();
    if (!Run(QStringList{QStringLiteral("req"), QStringLiteral("-new")} + NewKey +
             QStringList{QStringLiteral("-keyout"), Path(name + QStringLiteral(".key")),
                         QStringLiteral("-out"), request, QStringLiteral("-subj"),
                         QStringLiteral("/CN=") + name}) ||
        !Run({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), request,
              QStringLiteral("-CA"), AuthorityFile(), QStringLiteral("-CAkey"),
              Path(QStringLiteral("authority.key")), QStringLiteral("-CAcreateserial"),
              QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-extfile"), extensions,
              QStringLiteral("-out"), Path(name + QStringLiteral(".pem"))}))
        return {};
    return Finish(name);
}
