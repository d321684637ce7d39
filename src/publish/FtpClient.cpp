#include "FtpClient.h"

#include "TransferFiles.h"
#include "util/OperationHost.h"

#include <QBuffer>
#include <algorithm>

namespace {

FtpResult Refused(const QString& error)
{
    FtpResult result;
    result.Error = error;
    return result;
}

QString ReplyText(int code, const QString& text)
{
    return text.isEmpty() ? QString::number(code) : QString::number(code) + QLatin1Char(' ') + text;
}

QString ChangedCertificate(const QString& account, const QByteArray& trusted, const QByteArray& presented)
{
    return QStringLiteral(
               "The certificate of %1 has changed: SHA-256 %2 is trusted, the server presents SHA-256 "
               "%3. No login and no file was sent.")
        .arg(account, FingerprintText(trusted), FingerprintText(presented));
}

} // namespace

bool FtpResult::CodeIn(std::initializer_list<int> codes) const
{
    return std::find(codes.begin(), codes.end(), Code) != codes.end();
}

FtpClient::FtpClient(OperationHost& host) : host_(&host) {}

// The handle closes the connection quietly: the log may be gone by now.
FtpClient::~FtpClient() = default;

void FtpClient::ShareTrustOf(const FtpClient& other)
{
    authorityFile_ = other.authorityFile_;
    acceptedCertificates_ = other.acceptedCertificates_;
}

FtpOutcome FtpClient::Login(const FtpTlsSettings& tls)
{
    transport_.Open(account_.UserName, account_.Password, timeouts_, tls);
    FtpRequest request;
    request.Url = FtpUrl(address_, QString(), false);
    request.Commands = {"FEAT"};
    request.MayConnect = true;
    return Run(request);
}

// Empty when the certificate the system refused may be used (`accepted`
// then holds it), else why not.
QString FtpClient::DecideOnCertificate(const FtpOutcome& outcome, QByteArray& accepted)
{
    const QByteArray presented = outcome.CertificateSha256;
    const QByteArray trusted =
        acceptedCertificates_.Trusted(account_.AccountName, ParseFingerprint(account_.TrustedCertificate));
    if (!trusted.isEmpty() && trusted == presented) {
        accepted = presented;
        return {};
    }
    ServerCertificate certificate;
    certificate.AccountName = account_.AccountName;
    certificate.Host = QStringLiteral("%1:%2").arg(address_.Host).arg(address_.Port);
    certificate.Fingerprint = FingerprintText(presented);
    certificate.Trusted = trusted.isEmpty() ? QString() : FingerprintText(trusted);
    certificate.Problem = outcome.Error;
    if (acceptedCertificates_.Ask(decision_, certificate, presented)) {
        accepted = presented;
        return {};
    }
    if (!trusted.isEmpty())
        return ChangedCertificate(account_.AccountName, trusted, presented);
    return QStringLiteral(
               "The certificate of %1 is not trusted (SHA-256 %2): %3. No login and no file was sent.")
        .arg(account_.AccountName, certificate.Fingerprint, outcome.Error);
}

FtpResult FtpClient::Connect(const TConnectionSettings& account)
{
    if (session_.IsOpen())
        Disconnect();
    account_ = account;
    session_.Start();
    useMlsd_ = false;

    // An SFTP account's login must never go out over FTP, where it would
    // travel in clear to whatever listens on port 21.
    if (account.Protocol == TRemoteProtocol::Sftp)
        return Refused(QStringLiteral("%1 is an SFTP account, which the FTP client does not serve; "
                                      "nothing was sent.")
                           .arg(account.AccountName));

    const std::optional<FtpAddress> address = ParseFtpHost(account.Host);
    if (!address)
        return Refused(
            QStringLiteral("\"%1\" is not a server address (host or host:port).").arg(account.Host));
    address_ = *address;

    // An account that holds a trusted certificate has had TLS from its
    // server: one that stops offering it (or someone between) must not be
    // handed the login in clear, whatever the account's choice.
    const bool holdsTrust =
        acceptedCertificates_.Holds(account.AccountName) || !account.TrustedCertificate.trimmed().isEmpty();
    const bool tlsForTrust = holdsTrust && account.Security != TFtpSecurity::TlsRequired;
    FtpTlsSettings tls;
    tls.Security = holdsTrust ? TFtpSecurity::TlsRequired : account.Security;
    tls.AuthorityFile = authorityFile_;
    FtpOutcome outcome = Login(tls);
    QString refusal;
    if (tls.Security != TFtpSecurity::Plain && outcome.CertificateRejected) {
        QByteArray accepted;
        refusal = DecideOnCertificate(outcome, accepted);
        if (refusal.isEmpty()) {
            tls.PinnedSha256 = accepted;
            outcome = Login(tls);
            if (outcome.CertificateRejected) // replaced since the first look
                refusal = ChangedCertificate(account.AccountName, accepted, outcome.CertificateSha256);
        }
    }
    const QList<FtpServerReply> replies = SplitReplies(outcome.ReplyLines);

    FtpResult result;
    if (!replies.isEmpty()) {
        result.Code = replies.last().Code;
        result.Text = replies.last().Text;
    }
    if (outcome.Greeted) {
        session_.Answered();
        host_->Log(QStringLiteral("Connected to : ") + account.AccountName);
    }
    if (!outcome.Ok) {
        if (outcome.TlsRefused && tlsForTrust)
            host_->Log(QStringLiteral("TLS not offered by : %1 (the account holds a trusted certificate; "
                                      "no login was sent)")
                           .arg(account.AccountName));
        if (!refusal.isEmpty())
            result.Error = refusal;
        else if (outcome.TlsRefused && tlsForTrust)
            result.Error = QStringLiteral("%1 does not offer TLS, which the account requires since it holds "
                                          "a trusted certificate. No login and no file was sent.")
                               .arg(account.AccountName);
        else if (outcome.TlsRefused)
            result.Error =
                QStringLiteral("%1 does not offer TLS, which the account requires. No login and no "
                               "file was sent.")
                    .arg(account.AccountName);
        else
            result.Error =
                ConnectError(account.AccountName, address_.Host, address_.Port, outcome.LoginRefused,
                             ReplyText(result.Code, result.Text), outcome.TimedOut, outcome.Error);
        session_.Failed(result);
        transport_.Close();
        return result;
    }

    session_.LoggedIn();
    host_->Log(QStringLiteral("Logged in to : ") + account.AccountName);
    const bool secured = std::any_of(replies.begin(), replies.end(),
                                     [](const FtpServerReply& reply) { return reply.Code == 234; });
    if (tls.Security == TFtpSecurity::TlsIfOffered && !secured)
        host_->Log(QStringLiteral("TLS not offered by : ") + account.AccountName);
    useMlsd_ = !replies.isEmpty() && OffersMlsd(replies.last());
    result.Ok = true;
    for (const FtpServerReply& reply : replies)
        if (reply.Code == 230) {
            result.Code = reply.Code;
            result.Text = reply.Text;
        }
    return result;
}

void FtpClient::Disconnect()
{
    transport_.Close();
    const bool wasOpen = session_.End();
    useMlsd_ = false;
    if (wasOpen)
        host_->Log(QStringLiteral("Disconnected from : ") + account_.AccountName);
}

FtpResult FtpClient::NotReady() const
{
    return session_.NotReady<FtpResult>(QStringLiteral("Not connected to an FTP server."));
}

// Reads what the library reported into a result, and notices when the
// control connection went down with it.
FtpResult FtpClient::Judge(const FtpOutcome& outcome, const QString& what)
{
    FtpResult result;
    const QList<FtpServerReply> replies = SplitReplies(outcome.ReplyLines);
    if (!replies.isEmpty()) {
        result.Code = replies.last().Code;
        result.Text = replies.last().Text;
    }
    result.Ok = outcome.Ok;
    // A failure is told by its refusal; a positive reply that came before
    // the failure (TYPE, SIZE, ...) says nothing about it.
    if (!result.Ok && result.Code < 400) {
        result.Code = 0;
        result.Text.clear();
    }
    if (!outcome.ConnectionAlive) {
        // A server that closes says why, and that is the reason, time-out
        // or not.
        const bool closedSaying = !outcome.ConnectionRefusedByUs && result.Code == 421;
        session_.Lose(result, what, account_.AccountName, outcome.ConnectionRefusedByUs,
                      outcome.TimedOut && !closedSaying,
                      closedSaying ? ReplyText(result.Code, result.Text) : outcome.Error);
        return result;
    }
    if (!result.Ok)
        result.Error = result.Code >= 400
                           ? what + QStringLiteral(" was refused: ") + ReplyText(result.Code, result.Text)
                           : what + QStringLiteral(" failed: ") + outcome.Error;
    return result;
}

FtpOutcome FtpClient::Run(const FtpRequest& request, qint64 progressTotal)
{
    return session_.Run(transport_, request, progress_, *host_, account_.AccountName, progressTotal);
}

FtpResult FtpClient::Command(const QString& commandLine)
{
    if (!IsSafeCommandArgument(commandLine))
        return Refused(QStringLiteral("A command with a line break was not sent."));
    if (!session_.IsLoggedIn())
        return NotReady();
    FtpRequest request;
    request.Url = FtpUrl(address_, QString(), false);
    request.Commands = {commandLine.toUtf8()};
    FtpResult result = Judge(Run(request), commandLine.section(QLatin1Char(' '), 0, 0));
    if (result.Code > 0) {
        // The library finished, but only the reply says whether the server
        // did what was asked.
        result.Ok = result.Code < 400;
        if (result.Ok)
            result.Error.clear();
        else if (result.Error.isEmpty())
            result.Error = commandLine.section(QLatin1Char(' '), 0, 0) + QStringLiteral(" was refused: ") +
                           ReplyText(result.Code, result.Text);
    } else {
        result.Ok = false;
    }
    return result;
}

FtpResult FtpClient::Pwd(QString* folder)
{
    FtpResult result = Command(QStringLiteral("PWD"));
    if (folder)
        *folder = result.Code == 257 ? PwdFolder(result.Text) : QString();
    return result;
}

FtpListingResult FtpClient::List(const QString& path, bool forceList)
{
    if (!IsSafeCommandArgument(path))
        return {Refused(QStringLiteral("A path with a line break was not listed.")), {}};
    if (!session_.IsLoggedIn())
        return {NotReady(), {}};
    const bool mlsd = useMlsd_ && !forceList;
    FtpListingResult listing = ListWith(path, mlsd);
    // A server that offered MLSD but does not know it after all: fall back
    // to LIST for the rest of the session.
    if (mlsd && !listing.Result.Ok && !listing.Result.ConnectionLost &&
        listing.Result.CodeIn({500, 502, 504})) {
        useMlsd_ = false;
        listing = ListWith(path, false);
    }
    return listing;
}

FtpListingResult FtpClient::ListWith(const QString& path, bool mlsd)
{
    QBuffer data;
    data.open(QIODevice::WriteOnly);
    FtpRequest request;
    request.What = FtpRequest::Kind::Listing;
    request.Url = FtpUrl(address_, path, true);
    request.ListCommand = mlsd ? QByteArrayLiteral("MLSD") : QByteArray();
    request.Sink = &data;
    FtpListingResult listing;
    listing.Result =
        Judge(Run(request), QStringLiteral("Listing ") + (path.isEmpty() ? QStringLiteral(".") : path));
    if (listing.Result.Ok)
        listing.Entries = ParseListing(data.data(), mlsd);
    return listing;
}

FtpResult FtpClient::Upload(const QString& localPath, const QString& remotePath)
{
    if (!IsSafeCommandArgument(remotePath))
        return Refused(QStringLiteral("A path with a line break was not sent."));
    if (!session_.IsLoggedIn())
        return NotReady();
    return SendFile<FtpRequest>(localPath, FtpUrl(address_, remotePath, false), progress_, *host_,
                                [&](const FtpRequest& request, qint64 size) {
                                    return Judge(Run(request, size), QStringLiteral("Sending ") + remotePath);
                                });
}

FtpResult FtpClient::Download(const QString& remotePath, const QString& localPath, qint64 expectedSize)
{
    if (!IsSafeCommandArgument(remotePath))
        return Refused(QStringLiteral("A path with a line break was not fetched."));
    if (!session_.IsLoggedIn())
        return NotReady();
    return FetchFile<FtpRequest>(
        FtpUrl(address_, remotePath, false), localPath, std::max<qint64>(expectedSize, 0), progress_, *host_,
        [&](const FtpRequest& request, qint64 total) {
            return Judge(Run(request, total), QStringLiteral("Fetching ") + remotePath);
        });
}
