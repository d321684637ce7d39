#pragma once

#include "TransferProgress.h"

#include <QString>

class OperationHost;

// Whether a client's session is open and its login holds, and once the
// connection is gone, why: what the FTP and the SFTP client keep alike, so
// that both tell a lost connection and the calls after it the same way.
class ClientSession {
public:
    // The server answered, even if the login failed or the connection was
    // lost since.
    bool IsOpen() const { return open_; }
    // Logged in and the connection has not been lost.
    bool IsLoggedIn() const { return loggedIn_; }

    // A connect starts; a session still open was ended before.
    void Start();
    void Answered() { open_ = true; }
    void LoggedIn() { loggedIn_ = true; }
    // The connect failed: `result` is lost, and the calls after it repeat
    // its error.
    template <typename Result> void Failed(Result& result)
    {
        result.ConnectionLost = true;
        lostReason_ = result.Error;
    }
    // Disconnect; true when a session had been opened.
    bool End();

    // A request found the connection gone: by our own refusal to open a
    // new one, after a time-out, or for `error` (a server's last words, or
    // the library's account). `result` is lost, and a failure names the
    // reason after what failed.
    template <typename Result>
    void Lose(Result& result, const QString& what, const QString& account, bool refusedByUs, bool timedOut,
              const QString& error)
    {
        loggedIn_ = false;
        lostReason_ = LostReason(account, refusedByUs, timedOut, error);
        result.ConnectionLost = true;
        if (!result.Ok)
            result.Error = what + QStringLiteral(" failed. ") + lostReason_;
    }
    // Runs a request on the transport. A transfer's reports move the file
    // bar, out of `progressTotal` until the library knows the size.
    template <typename Transport, typename Request>
    auto Run(Transport& transport, const Request& request, TransferProgress& progress, OperationHost& host,
             const QString& account, qint64 progressTotal)
    {
        const bool transfer =
            request.What == Request::Kind::Upload || request.What == Request::Kind::Download;
        progress.StartRequest();
        try {
            return transport.Perform(request, [&](qint64 done, qint64 total) {
                progress.Report(host, done, total, transfer, progressTotal);
            });
        } catch (...) {
            Broke(account);
            throw;
        }
    }
    // What a call made without a login comes to; `never` is its error when
    // no connection was lost before.
    template <typename Result> Result NotReady(const QString& never) const
    {
        Result result;
        result.ConnectionLost = true;
        result.Error = lostReason_.isEmpty() ? never : lostReason_;
        return result;
    }

private:
    // The host failed in the middle of a call, and the library dropped the
    // connection.
    void Broke(const QString& account);
    static QString LostReason(const QString& account, bool refusedByUs, bool timedOut, const QString& error);

    bool open_ = false;
    bool loggedIn_ = false;
    QString lostReason_;
};

// Why a connect failed when nothing more particular is known: the login
// refused (with the server's or the library's words), no answer in time, or
// no connection at all.
QString ConnectError(const QString& account, const QString& host, int port, bool loginRefused,
                     const QString& refusal, bool timedOut, const QString& error);
