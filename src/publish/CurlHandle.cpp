#include "CurlHandle.h"

#include "FtpTransport.h"
#include "util/NetworkLibrary.h"
#include "util/TarnwellError.h"

#include <QElapsedTimer>
#include <QIODevice>
#include <algorithm>

namespace {

size_t OnWrite(char* buffer, size_t size, size_t count, void* data)
{
    auto* sink = static_cast<QIODevice*>(data);
    const qint64 length = static_cast<qint64>(size * count);
    if (!sink || sink->write(buffer, length) != length)
        return 0; // the library stops with a write error
    return size * count;
}

size_t OnRead(char* buffer, size_t size, size_t count, void* data)
{
    auto* source = static_cast<QIODevice*>(data);
    const qint64 read = source->read(buffer, static_cast<qint64>(size * count));
    if (read < 0)
        return CURL_READFUNC_ABORT;
    return static_cast<size_t>(read);
}

} // namespace

CurlHandle::CurlHandle()
{
    InitialiseNetworkLibrary();
}

CurlHandle::~CurlHandle()
{
    Close();
}

void CurlHandle::Open()
{
    Close();
    easy_.reset(curl_easy_init());
    multi_.reset(curl_multi_init());
    if (!easy_ || !multi_) {
        Close();
        throw TarnwellError(QStringLiteral("The network library could not make a connection handle."));
    }
}

void CurlHandle::Close()
{
    multi_.reset();
    easy_.reset();
    commands_.reset();
}

void CurlHandle::ApplyCommonOptions(const char* protocol, const QByteArray& user, const FtpTimeouts& timeouts)
{
    CURL* h = Easy();
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, protocol);
    curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(h, CURLOPT_IPRESOLVE, static_cast<long>(CURL_IPRESOLVE_V4));
    // No proxy, whatever the environment says.
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(h, CURLOPT_TCP_KEEPALIVE, 0L);
    curl_easy_setopt(h, CURLOPT_MAXCONNECTS, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(timeouts.ConnectSeconds));
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(timeouts.ReplySeconds));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeouts.StallSeconds));
}

void CurlHandle::StartRequest(const QByteArray& url, curl_xferinfo_callback onProgress,
                              curl_opensocket_callback onOpenSocket, void* call)
{
    CURL* h = Easy();
    // A reset clears the previous request's options but keeps the
    // connection it left open.
    curl_easy_reset(h);
    commands_.reset();
    std::fill(std::begin(errorText_), std::end(errorText_), '\0');
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText_);
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, call);
    curl_easy_setopt(h, CURLOPT_OPENSOCKETFUNCTION, onOpenSocket);
    curl_easy_setopt(h, CURLOPT_OPENSOCKETDATA, call);
}

void CurlHandle::SetCommands(const QList<QByteArray>& commands, const QByteArray& prefix,
                             const QString& outOfMemory)
{
    for (const QByteArray& command : commands) {
        curl_slist* list = curl_slist_append(commands_.get(), QByteArray(prefix + command).constData());
        if (!list)
            throw TarnwellError(outOfMemory);
        (void)commands_.release();
        commands_.reset(list);
    }
    if (commands_)
        curl_easy_setopt(Easy(), CURLOPT_QUOTE, commands_.get());
}

void CurlHandle::WriteTo(QIODevice* sink)
{
    curl_easy_setopt(Easy(), CURLOPT_WRITEFUNCTION, OnWrite);
    curl_easy_setopt(Easy(), CURLOPT_WRITEDATA, sink);
}

void CurlHandle::ReadFrom(QIODevice* source, qint64 size)
{
    CURL* h = Easy();
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, OnRead);
    curl_easy_setopt(h, CURLOPT_READDATA, source);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
}

// The loop waits for the sockets at most a few milliseconds at a time: the
// easy interface's own loop could sleep a whole second before opening an
// FTP data connection, which made every few transfers a second slower. The
// quiet limit is there because the SSH commands have no reply time-out of
// their own in the library's multi interface.
CurlHandle::Ran CurlHandle::Run(QElapsedTimer* sinceActivity, qint64 quietLimitMs)
{
    constexpr int MaxWaitMs = 10;
    CURL* easy = Easy();
    CURLM* multi = Multi();
    Ran ran;
    if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
        ran.Code = CURLE_FAILED_INIT;
        return ran;
    }
    if (sinceActivity)
        sinceActivity->start();
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            ran.Code = CURLE_FAILED_INIT;
            break;
        }
        if (!running)
            break;
        if (sinceActivity && quietLimitMs > 0 && sinceActivity->elapsed() > quietLimitMs) {
            ran.GaveUp = true;
            ran.Code = CURLE_OPERATION_TIMEDOUT;
            break;
        }
        long wait = -1;
        curl_multi_timeout(multi, &wait);
        if (wait < 0 || wait > MaxWaitMs)
            wait = MaxWaitMs;
        curl_multi_poll(multi, nullptr, 0, static_cast<int>(wait), nullptr);
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
            ran.Code = message->data.result;
    }
    // Asked while the handle still belongs to the multi handle, which holds
    // the connection between requests. A request given up half-way leaves
    // its connection unusable; removing the handle closes it.
    curl_socket_t socket = CURL_SOCKET_BAD;
    ran.ConnectionAlive = !ran.GaveUp &&
                          curl_easy_getinfo(easy, CURLINFO_ACTIVESOCKET, &socket) == CURLE_OK &&
                          socket != CURL_SOCKET_BAD;
    curl_multi_remove_handle(multi, easy);
    return ran;
}

QString CurlHandle::ErrorText(CURLcode code) const
{
    return errorText_[0] ? QString::fromUtf8(errorText_) : QString::fromUtf8(curl_easy_strerror(code));
}

int PassProgress(const std::function<void(qint64, qint64)>& progress, qint64 done, qint64 total,
                 std::exception_ptr& failure)
{
    try {
        progress(done, total);
    } catch (...) {
        failure = std::current_exception();
        return 1;
    }
    return 0;
}
