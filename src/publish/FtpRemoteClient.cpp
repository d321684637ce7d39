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

RemoteResult FtpRemoteClient::Rename(const QString& from, const QString& to)
{
    const FtpResult source = ftp_->Rnfr(from);
    if (!source.Ok)
        return Converted(source);
    return Converted(ftp_->Rnto(to));
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
