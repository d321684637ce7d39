#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <curl/curl.h>
#include <exception>
#include <functional>
#include <memory>

class QElapsedTimer;
class QIODevice;
struct FtpTimeouts;

// The library's side of the FTP and the SFTP transport: one easy handle and
// the multi handle that keeps its one connection between requests, with
// what both protocols set up the same way. Only the transports' sources
// include this, so the library's header stays out of everyone else's.
class CurlHandle {
public:
    CurlHandle();
    ~CurlHandle();
    CurlHandle(const CurlHandle&) = delete;
    CurlHandle& operator=(const CurlHandle&) = delete;

    // Makes both handles afresh (any connection is dropped first); throws
    // when the library cannot.
    void Open();
    // Frees both handles. Cleaning up the multi handle closes the connection
    // it holds, as the protocol ends a session.
    void Close();
    bool IsOpen() const { return easy_ && multi_; }
    CURL* Easy() const { return easy_.get(); }
    CURLM* Multi() const { return multi_.get(); }

    // The options every connection takes, whatever the protocol: no proxy,
    // IPv4, one connection, and the time-outs.
    void ApplyCommonOptions(const char* protocol, const QByteArray& user, const FtpTimeouts& timeouts);

    // Clears the previous request's options (the connection it left open
    // stays) and starts the next: its address, the error text, and the
    // transport's progress and socket callbacks, which receive `call`.
    // The connection options are the caller's to apply after this.
    void StartRequest(const QByteArray& url, curl_xferinfo_callback onProgress,
                      curl_opensocket_callback onOpenSocket, void* call);
    // Commands the library runs before the request's own work, each after
    // `prefix`. They live until the next request.
    void SetCommands(const QList<QByteArray>& commands, const QByteArray& prefix, const QString& outOfMemory);
    // Where a listing's or download's bytes go.
    void WriteTo(QIODevice* sink);
    // Where an upload's bytes come from, and how many there are.
    void ReadFrom(QIODevice* source, qint64 size);

    struct Ran {
        CURLcode Code = CURLE_OK;
        bool ConnectionAlive = false;
        bool GaveUp = false; // nothing moved within the quiet limit
    };
    // Runs the request on the connection the multi handle keeps. With a
    // quiet limit, a request on which nothing has moved (as `sinceActivity`,
    // started here, tells) for that long is given up and its connection
    // closed.
    Ran Run(QElapsedTimer* sinceActivity = nullptr, qint64 quietLimitMs = 0);
    // The library's account of what went wrong in the last request.
    QString ErrorText(CURLcode code) const;

private:
    struct EasyFree {
        void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
    };
    struct MultiFree {
        void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
    };
    struct ListFree {
        void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    };

    // Declared first, so that the handles that point at them go before.
    std::unique_ptr<curl_slist, ListFree> commands_;
    char errorText_[CURL_ERROR_SIZE] = {};
    // Declared before the multi handle, so that the multi handle is cleaned
    // up before it.
    std::unique_ptr<CURL, EasyFree> easy_;
    std::unique_ptr<CURLM, MultiFree> multi_;
};

// Hands a transfer's progress on. An exception must not unwind through the
// library: it is kept in `failure` for the transport to rethrow once the
// library has stopped, and the 1 returned stops the transfer.
int PassProgress(const std::function<void(qint64, qint64)>& progress, qint64 done, qint64 total,
                 std::exception_ptr& failure);
