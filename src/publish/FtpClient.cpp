#include "FtpClient.h"

#include "util/OperationHost.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {

// The file bar moves at most this often while a transfer runs.
constexpr qint64 ProgressIntervalMs = 50;

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
    const QByteArray trusted = acceptedCertificates_.contains(account_.AccountName)
                                   ? acceptedCertificates_.value(account_.AccountName)
                                   : ParseFingerprint(account_.TrustedCertificate);
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
    if (decision_ && decision_->Trust(certificate)) {
        acceptedCertificates_.insert(account_.AccountName, presented);
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
    if (sessionOpen_)
        Disconnect();
    account_ = account;
    loggedIn_ = false;
    useMlsd_ = false;
    lostReason_.clear();

    // An SFTP account's login must never go out over FTP, where it would
    // travel in clear to whatever listens on port 21.
    if (account.Protocol == TRemoteProtocol::Sftp)
        return Refused(QStringLiteral("%1 is an SFTP account, which this operation cannot serve yet; "
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
    const bool holdsTrust = acceptedCertificates_.contains(account.AccountName) ||
                            !account.TrustedCertificate.trimmed().isEmpty();
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
        sessionOpen_ = true;
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
        else if (outcome.LoginRefused)
            result.Error = QStringLiteral("%1 refused the login: %2")
                               .arg(account.AccountName, ReplyText(result.Code, result.Text));
        else if (outcome.TimedOut)
            result.Error = QStringLiteral("%1 (%2:%3) did not answer in time.")
                               .arg(account.AccountName, address_.Host)
                               .arg(address_.Port);
        else
            result.Error = QStringLiteral("Could not connect to %1 (%2:%3): %4")
                               .arg(account.AccountName, address_.Host)
                               .arg(address_.Port)
                               .arg(outcome.Error);
        result.ConnectionLost = true;
        lostReason_ = result.Error;
        transport_.Close();
        return result;
    }

    loggedIn_ = true;
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
    const bool wasOpen = sessionOpen_;
    transport_.Close();
    sessionOpen_ = false;
    loggedIn_ = false;
    useMlsd_ = false;
    lostReason_.clear();
    if (wasOpen)
        host_->Log(QStringLiteral("Disconnected from : ") + account_.AccountName);
}

FtpResult FtpClient::NotReady() const
{
    FtpResult result;
    result.ConnectionLost = true;
    result.Error = lostReason_.isEmpty() ? QStringLiteral("Not connected to an FTP server.") : lostReason_;
    return result;
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
        loggedIn_ = false;
        if (outcome.ConnectionRefusedByUs)
            lostReason_ = QStringLiteral("The connection to %1 was lost.").arg(account_.AccountName);
        else if (result.Code == 421) // the server closes, saying why
            lostReason_ = QStringLiteral("The connection to %1 was lost: %2")
                              .arg(account_.AccountName, ReplyText(result.Code, result.Text));
        else if (outcome.TimedOut)
            lostReason_ = QStringLiteral("%1 did not answer in time; the connection was closed.")
                              .arg(account_.AccountName);
        else
            lostReason_ =
                QStringLiteral("The connection to %1 was lost: %2").arg(account_.AccountName, outcome.Error);
        result.ConnectionLost = true;
        if (!result.Ok)
            result.Error = what + QStringLiteral(" failed. ") + lostReason_;
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
    const bool transfer =
        request.What == FtpRequest::Kind::Upload || request.What == FtpRequest::Kind::Download;
    sinceProgress_.start();
    try {
        return transport_.Perform(
            request, [&](qint64 done, qint64 total) { OnProgress(done, total, transfer, progressTotal); });
    } catch (...) {
        // The host failed mid-call; the library has dropped the connection.
        loggedIn_ = false;
        lostReason_ =
            QStringLiteral("The connection to %1 was closed after an error.").arg(account_.AccountName);
        throw;
    }
}

void FtpClient::OnProgress(qint64 done, qint64 total, bool transfer, qint64 fallbackTotal)
{
    if (sinceProgress_.elapsed() < ProgressIntervalMs)
        return;
    sinceProgress_.restart();
    if (transfer && progressSwitch_ == 0 && done != lastDone_) {
        host_->SetFileProgress(done, total > 0 ? total : fallbackTotal);
        lastDone_ = done;
    }
}

FtpResult FtpClient::Command(const QString& commandLine)
{
    if (!IsSafeCommandArgument(commandLine))
        return Refused(QStringLiteral("A command with a line break was not sent."));
    if (!loggedIn_)
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
    if (!loggedIn_)
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
    if (!loggedIn_)
        return NotReady();
    QFile file(localPath);
    if (!QFileInfo(localPath).isFile() || !file.open(QIODevice::ReadOnly))
        return Refused(QStringLiteral("Cannot read %1: %2")
                           .arg(localPath, QFileInfo::exists(localPath) ? file.errorString()
                                                                        : QStringLiteral("no such file")));
    const qint64 size = file.size();
    FtpRequest request;
    request.What = FtpRequest::Kind::Upload;
    request.Url = FtpUrl(address_, remotePath, false);
    request.Source = &file;
    request.SourceSize = size;

    lastDone_ = 0;
    if (progressSwitch_ == 0)
        host_->SetFileProgress(0, size);
    FtpResult result = Judge(Run(request, size), QStringLiteral("Sending ") + remotePath);
    if (result.Ok && progressSwitch_ == 0 && lastDone_ != size)
        host_->SetFileProgress(size, size);
    return result;
}

FtpResult FtpClient::Download(const QString& remotePath, const QString& localPath, qint64 expectedSize)
{
    if (!IsSafeCommandArgument(remotePath))
        return Refused(QStringLiteral("A path with a line break was not fetched."));
    if (!loggedIn_)
        return NotReady();
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly))
        return Refused(QStringLiteral("Cannot write %1: %2").arg(localPath, file.errorString()));
    const qint64 total = std::max<qint64>(expectedSize, 0);
    FtpRequest request;
    request.What = FtpRequest::Kind::Download;
    request.Url = FtpUrl(address_, remotePath, false);
    request.Sink = &file;

    lastDone_ = 0;
    if (progressSwitch_ == 0)
        host_->SetFileProgress(0, total);
    FtpResult result = Judge(Run(request, total), QStringLiteral("Fetching ") + remotePath);
    if (!result.Ok) {
        file.cancelWriting();
        return result;
    }
    const qint64 received = file.size();
    if (!file.commit()) {
        result.Ok = false;
        result.Error = QStringLiteral("Cannot write %1: %2").arg(localPath, file.errorString());
        return result;
    }
    if (progressSwitch_ == 0 && lastDone_ != received)
        host_->SetFileProgress(received, received);
    return result;
}
