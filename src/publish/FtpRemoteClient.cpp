#include "FtpRemoteClient.h"

namespace {

RemoteResult Converted(const FtpResult& reply)
{
    RemoteResult result;
    result.Ok = reply.Ok;
    result.Error = reply.Ok ? QString() : reply.Error;
    result.ConnectionLost = reply.ConnectionLost;
    return result;
}

// A reply that is not the one wanted, even when positive.
RemoteResult Refusal(const FtpResult& reply, const QString& what)
{
    RemoteResult result = Converted(reply);
    result.Ok = false;
    if (result.Error.isEmpty())
        result.Error = QStringLiteral("%1 failed: %2 %3").arg(what).arg(reply.Code).arg(reply.Text);
    return result;
}

bool Lost(const FtpResult& reply)
{
    return reply.ConnectionLost || reply.Code == 421 || reply.Code == 0;
}

RemoteResult NoSize(const QString& path)
{
    RemoteResult result;
    result.Error = QStringLiteral("Size of %1 failed: the server did not tell it.").arg(path);
    return result;
}

} // namespace

FtpRemoteClient::FtpRemoteClient(OperationHost& host)
    : own_(std::make_unique<FtpClient>(host)), ftp_(own_.get())
{
}

FtpRemoteClient::FtpRemoteClient(FtpClient& ftp) : ftp_(&ftp) {}

RemoteResult FtpRemoteClient::Connect(const TConnectionSettings& account)
{
    return Converted(ftp_->Connect(account));
}

RemoteResult FtpRemoteClient::MakeFolder(const QString& path)
{
    return Converted(ftp_->Mkd(path));
}

RemoteListing FtpRemoteClient::List(const QString& folder)
{
    FtpListingResult listing = ftp_->List(folder);
    return {Converted(listing.Result), std::move(listing.Entries)};
}

RemoteResult FtpRemoteClient::Send(const QString& localPath, const QString& remotePath)
{
    return Converted(ftp_->Upload(localPath, remotePath));
}

RemoteResult FtpRemoteClient::Fetch(const QString& remotePath, const QString& localPath, qint64 expectedSize)
{
    return Converted(ftp_->Download(remotePath, localPath, expectedSize));
}

// Only 350 lets RNTO follow, and only 250 says the file was renamed; a
// connection that died before RNTO was answered may or may not have done it.
RemoteResult FtpRemoteClient::Rename(const QString& from, const QString& to)
{
    const FtpResult source = ftp_->Rnfr(from);
    if (source.Code != 350) {
        RemoteResult result = Refusal(source, QStringLiteral("Renaming ") + from);
        result.SourceRefused = true;
        return result;
    }
    const FtpResult reply = ftp_->Rnto(to);
    if (reply.Code == 250)
        return Converted(reply);
    RemoteResult result = Refusal(reply, QStringLiteral("Renaming %1 to %2").arg(from, to));
    result.ConnectionLost = Lost(reply);
    return result;
}

RemoteResult FtpRemoteClient::Delete(const QString& path)
{
    return Converted(ftp_->Dele(path));
}

RemoteSize FtpRemoteClient::Size(const QString& path)
{
    RemoteSize size;
    // Servers refuse SIZE in ASCII type, which a listing leaves behind.
    const FtpResult type = ftp_->Command(QStringLiteral("TYPE I"));
    if (type.ConnectionLost) {
        size.Result = Converted(type);
        return size;
    }
    const FtpResult reply = ftp_->Command(QStringLiteral("SIZE ") + path);
    bool number = false;
    const qint64 value = reply.Text.trimmed().toLongLong(&number);
    if (reply.Code == 213 && number && value >= 0) {
        size.Result.Ok = true;
        size.Size = value;
        return size;
    }
    // A server without SIZE (or one that answers it without a number) may
    // still list the file.
    if (!reply.ConnectionLost && (reply.Code == 213 || reply.CodeIn({500, 502, 504})))
        return ListedSize(path);
    size.Result = reply.Ok ? NoSize(path) : Converted(reply);
    return size;
}

RemoteSize FtpRemoteClient::ListedSize(const QString& path)
{
    RemoteSize size;
    const FtpListingResult listing = ftp_->List(path, true);
    if (!listing.Result.Ok) {
        size.Result = Converted(listing.Result);
        return size;
    }
    // A file's listing is that one file, named as given or by its name.
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    for (const FtpEntry& entry : listing.Entries) {
        if (entry.Kind == FtpEntryKind::File && (entry.Name == name || entry.Name == path) &&
            entry.Size >= 0) {
            size.Result.Ok = true;
            size.Size = entry.Size;
            return size;
        }
    }
    size.Result = NoSize(path);
    return size;
}

RemotePresence FtpRemoteClient::Presence(const QString& path)
{
    if (ftp_->UsesMlsd()) {
        const FtpResult reply = ftp_->Command(QStringLiteral("MLST ") + path);
        if (reply.Code == 250)
            return RemotePresence::Present;
        if (reply.Code == 550 || reply.Code == 450)
            return RemotePresence::Absent;
        if (Lost(reply))
            return RemotePresence::Unknown;
    }
    const FtpListingResult listing = ftp_->List(path, true);
    if (listing.Result.Ok)
        return listing.Entries.isEmpty() ? RemotePresence::Absent : RemotePresence::Present;
    if (!Lost(listing.Result) && listing.Result.CodeIn({450, 550}))
        return RemotePresence::Absent;
    return RemotePresence::Unknown;
}

bool FtpRemoteClient::HasFolder(const QString& path)
{
    return ftp_->IsLoggedIn() && ftp_->Cwd(path).CodeIn({200, 250, 257});
}

void FtpRemoteClient::ShareTrustOf(const RemoteClient& other)
{
    if (const auto* ftp = dynamic_cast<const FtpRemoteClient*>(&other))
        ftp_->ShareTrustOf(*ftp->ftp_);
}
