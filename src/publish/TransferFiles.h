#pragma once

#include "TransferProgress.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <utility>

class OperationHost;

// The local side of the clients' whole-file transfers, the same for FTP and
// SFTP: the files, the requests' shape and the file bar. The protocol's part
// is `perform`, the client's run of the request, read into its result.

// Opens a local file to send (only a regular file is sent); empty when it
// is open, else why not.
QString OpenToSend(QFile& file, const QString& localPath);
// Opens the file a fetch writes beside its target; empty when it is open,
// else why not.
QString OpenToFetch(QSaveFile& file, const QString& localPath);
// Puts what a fetch wrote in place of its target; empty when it is there,
// else why not.
QString PlaceFetched(QSaveFile& file, const QString& localPath);

// Sends a local file whole to `url`, the file bar going from 0 to its size.
template <typename Request, typename Perform>
auto SendFile(const QString& localPath, const QByteArray& url, TransferProgress& progress,
              OperationHost& host, Perform perform)
{
    using Result = decltype(perform(std::declval<const Request&>(), qint64()));
    QFile file(localPath);
    Result result;
    result.Error = OpenToSend(file, localPath);
    if (!result.Error.isEmpty())
        return result;
    Request request;
    request.What = Request::Kind::Upload;
    request.Url = url;
    request.Source = &file;
    request.SourceSize = file.size();
    progress.Begin(host, request.SourceSize);
    result = perform(request, request.SourceSize);
    if (result.Ok)
        progress.Finish(host, request.SourceSize);
    return result;
}

// Fetches `url` whole into a file beside `localPath` that replaces it only
// once everything has arrived, so a failed fetch leaves the old file (or
// none). The file bar goes from 0 of `total` to what arrived.
template <typename Request, typename Perform>
auto FetchFile(const QByteArray& url, const QString& localPath, qint64 total, TransferProgress& progress,
               OperationHost& host, Perform perform)
{
    using Result = decltype(perform(std::declval<const Request&>(), qint64()));
    QSaveFile file(localPath);
    Result result;
    result.Error = OpenToFetch(file, localPath);
    if (!result.Error.isEmpty())
        return result;
    Request request;
    request.What = Request::Kind::Download;
    request.Url = url;
    request.Sink = &file;
    progress.Begin(host, total);
    result = perform(request, total);
    if (!result.Ok) {
        file.cancelWriting();
        return result;
    }
    const qint64 received = file.size();
    const QString unwritten = PlaceFetched(file, localPath);
    if (!unwritten.isEmpty()) {
        result.Ok = false;
        result.Error = unwritten;
        return result;
    }
    progress.Finish(host, received);
    return result;
}
