#include "SftpClient.h"

#include "CertificateTrust.h"
#include "FtpProtocol.h"
#include "TransferFiles.h"
#include "util/OperationHost.h"

#include <QBuffer>
#include <QFileInfo>
#include <QUrl>

namespace {

constexpr int SshPort = 22;

RemoteResult Refused(const QString& error)
{
    RemoteResult result;
    result.Error = error;
    return result;
}

QString ChangedHostKey(const QString& account, const QByteArray& trusted, const QByteArray& presented)
{
    return QStringLiteral("The host key of %1 has changed: %2 is trusted, the server presents %3. No login "
                          "and no file was sent.")
        .arg(account, HostKeyFingerprintText(trusted), HostKeyFingerprintText(presented));
}

// A path as the library's SFTP commands read it: in double quotes, with
// quotes and backslashes escaped.
QByteArray QuotedPath(const QString& path)
{
    QByteArray quoted = "\"";
    for (const char c : path.toUtf8()) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// Paths go into command lines and addresses: no line breaks, and absolute.
QString PathRefusal(const QString& path)
{
    if (!IsSafeCommandArgument(path))
        return QStringLiteral("A path with a line break was not sent.");
    if (!path.startsWith(QLatin1Char('/')))
        return QStringLiteral("\"%1\" is not a full server path.").arg(path);
    return {};
}

} // namespace

SftpClient::SftpClient(OperationHost& host) : host_(&host) {}

// The handle closes the connection quietly: the log may be gone by now.
SftpClient::~SftpClient() = default;

QByteArray SftpClient::Url(const QString& path, bool asFolder) const
{
    QByteArray url = "sftp://" + login_.Host.toLatin1() + ':' + QByteArray::number(login_.Port);
    url += QUrl::toPercentEncoding(path.isEmpty() ? QStringLiteral("/") : path, "/");
    // A trailing slash asks for a listing; without it the path is a file.
    if (asFolder && !url.endsWith('/'))
        url += '/';
    return url;
}

SftpOutcome SftpClient::Login(const QByteArray& pinned)
{
    login_.PinnedHostKey = pinned;
    transport_.Open(login_, timeouts_);
    SftpRequest request;
    request.Url = Url(QStringLiteral("/"), true);
    request.MayConnect = true;
    return Run(request);
}

// Empty when the host key may be used (`accepted` then holds it), else why
// not.
QString SftpClient::DecideOnHostKey(const QByteArray& presented, QByteArray& accepted)
{
    const QByteArray trusted =
        acceptedKeys_.Trusted(account_.AccountName, ParseHostKeyFingerprint(account_.TrustedHostKey));
    ServerCertificate key;
    key.AccountName = account_.AccountName;
    key.Host = QStringLiteral("%1:%2").arg(login_.Host).arg(login_.Port);
    key.Fingerprint = HostKeyFingerprintText(presented);
    key.Trusted = trusted.isEmpty() ? QString() : HostKeyFingerprintText(trusted);
    key.HostKey = true;
    if (acceptedKeys_.Ask(decision_, key, presented)) {
        accepted = presented;
        return {};
    }
    if (!trusted.isEmpty())
        return ChangedHostKey(account_.AccountName, trusted, presented);
    return QStringLiteral("The host key of %1 is not trusted (%2). No login and no file was sent.")
        .arg(account_.AccountName, key.Fingerprint);
}

RemoteResult SftpClient::Connect(const TConnectionSettings& account)
{
    if (session_.IsOpen())
        Disconnect();
    account_ = account;
    session_.Start();

    const std::optional<FtpAddress> address = ParseFtpHost(account.Host);
    if (!address)
        return Refused(
            QStringLiteral("\"%1\" is not a server address (host or host:port).").arg(account.Host));
    login_ = SftpLogin();
    login_.Host = address->Host;
    login_.Port = account.Host.contains(QLatin1Char(':')) ? address->Port : SshPort;
    login_.UserName = account.UserName;
    login_.Authentication = account.Authentication;
    login_.Password = account.Password;
    login_.KeyFile = account.KeyFile;
    login_.KeyPassphrase = account.KeyPassphrase;
    if (account.Authentication == TSshAuthentication::KeyFile && !QFileInfo(account.KeyFile).isFile())
        return Refused(QStringLiteral("The key file of %1 cannot be read: %2")
                           .arg(account.AccountName,
                                account.KeyFile.isEmpty() ? QStringLiteral("none is set") : account.KeyFile));

    const QByteArray trusted =
        acceptedKeys_.Trusted(account.AccountName, ParseHostKeyFingerprint(account.TrustedHostKey));
    SftpOutcome outcome = Login(trusted);
    QString refusal;
    if (outcome.HostKeyRejected) {
        QByteArray accepted;
        refusal = DecideOnHostKey(outcome.HostKeySha256, accepted);
        if (refusal.isEmpty()) {
            outcome = Login(accepted);
            if (outcome.HostKeyRejected) // replaced since the first look
                refusal = ChangedHostKey(account.AccountName, accepted, outcome.HostKeySha256);
        }
    }

    if (!outcome.HostKeySha256.isEmpty()) {
        session_.Answered();
        host_->Log(QStringLiteral("Connected to (SFTP) : ") + account.AccountName);
    }
    if (!outcome.Ok) {
        RemoteResult result;
        if (!refusal.isEmpty())
            result.Error = refusal;
        else
            result.Error = ConnectError(account.AccountName, login_.Host, login_.Port, outcome.LoginRefused,
                                        outcome.Error, outcome.TimedOut, outcome.Error);
        session_.Failed(result);
        transport_.Close();
        return result;
    }
    session_.LoggedIn();
    host_->Log(QStringLiteral("Logged in to (SFTP) : ") + account.AccountName);
    RemoteResult result;
    result.Ok = true;
    return result;
}

void SftpClient::Disconnect()
{
    transport_.Close();
    if (session_.End())
        host_->Log(QStringLiteral("Disconnected from (SFTP) : ") + account_.AccountName);
}

RemoteResult SftpClient::NotReady() const
{
    return session_.NotReady<RemoteResult>(QStringLiteral("Not connected to an SFTP server."));
}

// Reads what the library reported into a result, and notices when the
// connection went down with it.
RemoteResult SftpClient::Judge(const SftpOutcome& outcome, const QString& what)
{
    RemoteResult result;
    result.Ok = outcome.Ok;
    if (!outcome.ConnectionAlive) {
        session_.Lose(result, what, account_.AccountName, outcome.ConnectionRefusedByUs, outcome.TimedOut,
                      outcome.Error);
        return result;
    }
    if (!result.Ok)
        result.Error = what + QStringLiteral(" failed: ") + outcome.Error;
    return result;
}

SftpOutcome SftpClient::Run(const SftpRequest& request, qint64 progressTotal)
{
    return session_.Run(transport_, request, progress_, *host_, account_.AccountName, progressTotal);
}

RemoteResult SftpClient::RunCommand(const QByteArray& command, const QString& what)
{
    if (!session_.IsLoggedIn())
        return NotReady();
    SftpRequest request;
    request.Url = Url(QStringLiteral("/"), true);
    request.Commands = {command};
    return Judge(Run(request), what);
}

RemoteResult SftpClient::MakeFolder(const QString& path)
{
    const QString refusal = PathRefusal(path);
    if (!refusal.isEmpty())
        return Refused(refusal);
    return RunCommand("mkdir " + QuotedPath(path), QStringLiteral("Making folder ") + path);
}

RemoteResult SftpClient::Rename(const QString& from, const QString& to)
{
    for (const QString& path : {from, to}) {
        const QString refusal = PathRefusal(path);
        if (!refusal.isEmpty())
            return Refused(refusal);
    }
    return RunCommand("rename " + QuotedPath(from) + ' ' + QuotedPath(to),
                      QStringLiteral("Renaming %1 to %2").arg(from, to));
}

RemoteResult SftpClient::Delete(const QString& path)
{
    const QString refusal = PathRefusal(path);
    if (!refusal.isEmpty())
        return Refused(refusal);
    return RunCommand("rm " + QuotedPath(path), QStringLiteral("Deleting ") + path);
}

RemoteSize SftpClient::Size(const QString& path)
{
    RemoteSize size;
    const QString refusal = PathRefusal(path);
    if (!refusal.isEmpty()) {
        size.Result = Refused(refusal);
        return size;
    }
    if (!session_.IsLoggedIn()) {
        size.Result = NotReady();
        return size;
    }
    SftpRequest request;
    request.What = SftpRequest::Kind::Size;
    request.Url = Url(path, false);
    const SftpOutcome outcome = Run(request);
    size.Result = Judge(outcome, QStringLiteral("Size of ") + path);
    // The library tells no size for an empty file (nor for a server that
    // keeps it to itself); the file's folder lists it with its size.
    if (size.Result.Ok && outcome.Size < 0)
        return ListedSize(path);
    if (size.Result.Ok)
        size.Size = outcome.Size;
    return size;
}

RemoteSize SftpClient::ListedSize(const QString& path)
{
    RemoteSize size;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    const RemoteListing listing = List(path.left(slash + 1));
    size.Result = listing.Result;
    if (!size.Result.Ok)
        return size;
    for (const FtpEntry& entry : listing.Entries) {
        if (entry.Name == name && entry.Kind == FtpEntryKind::File) {
            size.Size = entry.Size;
            return size;
        }
    }
    size.Result.Ok = false;
    size.Result.Error = QStringLiteral("Size of %1 failed: the server did not tell it.").arg(path);
    return size;
}

RemoteListing SftpClient::List(const QString& folder)
{
    RemoteListing listing;
    const QString refusal = PathRefusal(folder);
    if (!refusal.isEmpty()) {
        listing.Result = Refused(refusal);
        return listing;
    }
    if (!session_.IsLoggedIn()) {
        listing.Result = NotReady();
        return listing;
    }
    QBuffer data;
    data.open(QIODevice::WriteOnly);
    SftpRequest request;
    request.What = SftpRequest::Kind::Listing;
    request.Url = Url(folder, true);
    request.Sink = &data;
    listing.Result = Judge(Run(request), QStringLiteral("Listing ") + folder);
    // The library writes the server's own long form of each entry, which
    // OpenSSH gives as "ls -l" lines.
    if (listing.Result.Ok)
        listing.Entries = ParseListing(data.data(), false);
    return listing;
}

RemoteResult SftpClient::Send(const QString& localPath, const QString& remotePath)
{
    const QString refusal = PathRefusal(remotePath);
    if (!refusal.isEmpty())
        return Refused(refusal);
    if (!session_.IsLoggedIn())
        return NotReady();
    return SendFile<SftpRequest>(
        localPath, Url(remotePath, false), progress_, *host_, [&](const SftpRequest& request, qint64 size) {
            return Judge(Run(request, size), QStringLiteral("Sending ") + remotePath);
        });
}

RemoteResult SftpClient::Fetch(const QString& remotePath, const QString& localPath, qint64 expectedSize)
{
    const QString refusal = PathRefusal(remotePath);
    if (!refusal.isEmpty())
        return Refused(refusal);
    if (!session_.IsLoggedIn())
        return NotReady();
    // The library takes a download that brings no byte over the session's
    // connection for a connection that died meanwhile, and reconnects,
    // which ends the session. So a file that may be empty is asked its size
    // first, and an empty one is made here without a download.
    qint64 total = expectedSize;
    if (total <= 0) {
        const RemoteSize size = Size(remotePath);
        if (!size.Result.Ok)
            return size.Result;
        total = size.Size;
    }
    if (total == 0) {
        QSaveFile file(localPath);
        RemoteResult result;
        result.Error = OpenToFetch(file, localPath);
        if (result.Error.isEmpty()) {
            progress_.Begin(*host_, 0);
            result.Error = PlaceFetched(file, localPath);
        }
        result.Ok = result.Error.isEmpty();
        return result;
    }
    return FetchFile<SftpRequest>(Url(remotePath, false), localPath, total, progress_, *host_,
                                  [&](const SftpRequest& request, qint64 size) {
                                      return Judge(Run(request, size),
                                                   QStringLiteral("Fetching ") + remotePath);
                                  });
}

RemotePresence SftpClient::Presence(const QString& path)
{
    if (!PathRefusal(path).isEmpty() || !session_.IsLoggedIn())
        return RemotePresence::Unknown;
    SftpRequest request;
    request.What = SftpRequest::Kind::Size;
    request.Url = Url(path, false);
    const SftpOutcome outcome = Run(request);
    const RemoteResult result = Judge(outcome, QStringLiteral("Looking for ") + path);
    if (result.Ok)
        return RemotePresence::Present;
    return outcome.NotFound && !result.ConnectionLost ? RemotePresence::Absent : RemotePresence::Unknown;
}

bool SftpClient::HasFolder(const QString& path)
{
    return Presence(path) == RemotePresence::Present;
}

void SftpClient::ShareTrustOf(const RemoteClient& other)
{
    if (const auto* sftp = dynamic_cast<const SftpClient*>(&other))
        acceptedKeys_ = sftp->acceptedKeys_;
}
