#include "SftpTransport.h"

#include "util/NetworkLibrary.h"
#include "util/TarnwellError.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QIODevice>
#include <curl/curl.h>
#include <exception>
#include <sys/socket.h>

struct SftpTransport::Call {
    const SftpRequest* Request = nullptr;
    const Progress* OnProgress = nullptr;
    HostKeyCheck* Check = nullptr;
    bool RefusedConnection = false;
    bool HostKeySeen = false;
    // When bytes last moved, for the stall watch of RunRequest.
    QElapsedTimer SinceActivity;
    qint64 LastMoved = -1;
    std::exception_ptr Failure;
};

namespace {

using Call = SftpTransport::Call;

CURL* Handle(const std::unique_ptr<void, FtpTransport::EasyFree>& curl)
{
    return static_cast<CURL*>(curl.get());
}

CURLM* Multi(const std::unique_ptr<void, FtpTransport::MultiFree>& multi)
{
    return static_cast<CURLM*>(multi.get());
}

size_t OnWrite(char* buffer, size_t size, size_t count, void* data)
{
    auto* call = static_cast<Call*>(data);
    const qint64 length = static_cast<qint64>(size * count);
    if (!call->Request->Sink || call->Request->Sink->write(buffer, length) != length)
        return 0; // the library stops with a write error
    return size * count;
}

size_t OnRead(char* buffer, size_t size, size_t count, void* data)
{
    auto* call = static_cast<Call*>(data);
    const qint64 read = call->Request->Source->read(buffer, static_cast<qint64>(size * count));
    if (read < 0)
        return CURL_READFUNC_ABORT;
    return static_cast<size_t>(read);
}

int OnProgress(void* data, curl_off_t downTotal, curl_off_t downNow, curl_off_t upTotal, curl_off_t upNow)
{
    auto* call = static_cast<Call*>(data);
    if (call->Failure)
        return 1;
    const bool upload = call->Request->What == SftpRequest::Kind::Upload;
    const qint64 done = upload ? upNow : downNow;
    const qint64 total = upload ? upTotal : downTotal;
    if (done != call->LastMoved) {
        call->LastMoved = done;
        call->SinceActivity.restart();
    }
    if (call->Request->What != SftpRequest::Kind::Upload &&
        call->Request->What != SftpRequest::Kind::Download)
        return 0;
    // An exception must not unwind through the library: keep it, stop the
    // transfer, and let Perform rethrow it.
    try {
        (*call->OnProgress)(done, total);
    } catch (...) {
        call->Failure = std::current_exception();
        return 1;
    }
    return 0;
}

// SFTP has one connection per session: any socket wanted by a request that
// may not connect would be a new login.
curl_socket_t OnOpenSocket(void* data, curlsocktype, struct curl_sockaddr* address)
{
    auto* call = static_cast<Call*>(data);
    if (!call->Request->MayConnect) {
        call->RefusedConnection = true;
        return CURL_SOCKET_BAD;
    }
    return socket(address->family, address->socktype, address->protocol);
}

// Called once per connection, after the key exchange and before anything
// of the login is sent. The library hands over the host key's blob, whose
// SHA-256 is the fingerprint OpenSSH shows. Only the pinned key passes.
int OnHostKey(void* data, int, const char* key, size_t length)
{
    auto* call = static_cast<Call*>(data);
    call->HostKeySeen = true;
    call->Check->PresentedSha256 = QCryptographicHash::hash(
        QByteArrayView(key, static_cast<qsizetype>(length)), QCryptographicHash::Sha256);
    const bool pinned = !call->Check->Pinned.isEmpty() && call->Check->Pinned == call->Check->PresentedSha256;
    return pinned ? CURLKHMATCH_OK : CURLKHMATCH_MISMATCH;
}

struct SlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// One request on the connection the multi handle keeps. Besides the
// library's own time-outs, a request on which no byte has moved for
// `quietLimitMs` is given up (the SSH commands have no reply time-out of
// their own in the library's multi interface).
CURLcode RunRequest(CURL* easy, CURLM* multi, Call& call, qint64 quietLimitMs, bool& timedOut,
                    bool& connectionAlive)
{
    constexpr int MaxWaitMs = 10;
    timedOut = false;
    if (curl_multi_add_handle(multi, easy) != CURLM_OK)
        return CURLE_FAILED_INIT;
    call.SinceActivity.start();
    CURLcode result = CURLE_OK;
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (!running)
            break;
        if (quietLimitMs > 0 && call.SinceActivity.elapsed() > quietLimitMs) {
            timedOut = true;
            result = CURLE_OPERATION_TIMEDOUT;
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
            result = message->data.result;
    }
    curl_socket_t socket = CURL_SOCKET_BAD;
    // A request given up half-way leaves its connection unusable; removing
    // the handle closes it.
    connectionAlive = !timedOut && curl_easy_getinfo(easy, CURLINFO_ACTIVESOCKET, &socket) == CURLE_OK &&
                      socket != CURL_SOCKET_BAD;
    curl_multi_remove_handle(multi, easy);
    return result;
}

} // namespace

SftpTransport::SftpTransport()
{
    InitialiseNetworkLibrary();
}

SftpTransport::~SftpTransport()
{
    Close();
}

void SftpTransport::Open(const SftpLogin& login, const FtpTimeouts& timeouts)
{
    Close();
    curl_.reset(curl_easy_init());
    multi_.reset(curl_multi_init());
    if (!curl_ || !multi_) {
        Close();
        throw TarnwellError(QStringLiteral("The network library could not make a connection handle."));
    }
    login_ = login;
    user_ = login.UserName.toUtf8();
    password_ = login.Password.toUtf8();
    keyFile_ = login.KeyFile.toLocal8Bit();
    keyPassphrase_ = login.KeyPassphrase.toUtf8();
    timeouts_ = timeouts;
    check_ = HostKeyCheck();
    check_.Pinned = login.PinnedHostKey;
}

void SftpTransport::Close()
{
    // Cleaning up the multi handle ends the SSH session politely.
    multi_.reset();
    curl_.reset();
}

// Every option of the connection itself, in one place.
void SftpTransport::ApplyConnectionOptions()
{
    CURL* h = Handle(curl_);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "sftp");
    curl_easy_setopt(h, CURLOPT_USERNAME, user_.constData());
    curl_easy_setopt(h, CURLOPT_IPRESOLVE, static_cast<long>(CURL_IPRESOLVE_V4));
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(h, CURLOPT_TCP_KEEPALIVE, 0L);
    curl_easy_setopt(h, CURLOPT_MAXCONNECTS, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(timeouts_.ConnectSeconds));
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(timeouts_.ReplySeconds));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeouts_.StallSeconds));

    // Only the chosen way of logging in is offered, so that the library
    // never tries a key of the user's home behind the account's back.
    if (login_.Authentication == TSshAuthentication::KeyFile) {
        curl_easy_setopt(h, CURLOPT_SSH_AUTH_TYPES, static_cast<long>(CURLSSH_AUTH_PUBLICKEY));
        curl_easy_setopt(h, CURLOPT_SSH_PRIVATE_KEYFILE, keyFile_.constData());
        // Empty: the public half is worked out from the private key, not
        // looked for in the home folder.
        curl_easy_setopt(h, CURLOPT_SSH_PUBLIC_KEYFILE, "");
        if (!keyPassphrase_.isEmpty())
            curl_easy_setopt(h, CURLOPT_KEYPASSWD, keyPassphrase_.constData());
    } else {
        curl_easy_setopt(h, CURLOPT_SSH_AUTH_TYPES,
                         static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
        curl_easy_setopt(h, CURLOPT_PASSWORD, password_.constData());
    }
}

SftpOutcome SftpTransport::Perform(const SftpRequest& request, const Progress& progress)
{
    if (!curl_)
        throw TarnwellError(QStringLiteral("An SFTP request was made before the connection was opened."));
    CURL* h = Handle(curl_);
    // A reset clears the previous request's options but keeps the
    // connection it left open.
    curl_easy_reset(h);
    ApplyConnectionOptions();

    Call call;
    call.Request = &request;
    call.OnProgress = &progress;
    call.Check = &check_;
    check_.PresentedSha256.clear();
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(h, CURLOPT_URL, request.Url.constData());
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &call);
    curl_easy_setopt(h, CURLOPT_OPENSOCKETFUNCTION, OnOpenSocket);
    curl_easy_setopt(h, CURLOPT_OPENSOCKETDATA, &call);
    if (curl_easy_setopt(h, CURLOPT_SSH_HOSTKEYFUNCTION, OnHostKey) != CURLE_OK ||
        curl_easy_setopt(h, CURLOPT_SSH_HOSTKEYDATA, &call) != CURLE_OK)
        throw TarnwellError(QStringLiteral("This build's network library cannot check SSH host keys, "
                                           "so SFTP is not available."));

    std::unique_ptr<curl_slist, SlistFree> commands;
    for (const QByteArray& command : request.Commands) {
        curl_slist* list = curl_slist_append(commands.get(), command.constData());
        if (!list)
            throw TarnwellError(QStringLiteral("Out of memory while preparing an SFTP command."));
        (void)commands.release();
        commands.reset(list);
    }
    if (commands)
        curl_easy_setopt(h, CURLOPT_QUOTE, commands.get());

    switch (request.What) {
    case SftpRequest::Kind::Commands:
    case SftpRequest::Kind::Size:
        // Connects (when allowed), runs the commands, and for a file
        // reads its attributes; nothing is transferred.
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
        break;
    case SftpRequest::Kind::Listing:
    case SftpRequest::Kind::Download:
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnWrite);
        curl_easy_setopt(h, CURLOPT_WRITEDATA, &call);
        break;
    case SftpRequest::Kind::Upload:
        curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(h, CURLOPT_READFUNCTION, OnRead);
        curl_easy_setopt(h, CURLOPT_READDATA, &call);
        curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(request.SourceSize));
        break;
    }

    const bool transfer =
        request.What == SftpRequest::Kind::Upload || request.What == SftpRequest::Kind::Download;
    qint64 quietSeconds =
        transfer ? std::max(timeouts_.StallSeconds, timeouts_.ReplySeconds) : timeouts_.ReplySeconds;
    if (request.MayConnect && quietSeconds > 0)
        quietSeconds += std::max(timeouts_.ConnectSeconds, 0);
    bool timedOut = false;
    bool connectionAlive = false;
    const CURLcode code = RunRequest(h, Multi(multi_), call, quietSeconds * 1000, timedOut, connectionAlive);

    SftpOutcome outcome;
    outcome.Ok = code == CURLE_OK;
    outcome.LoginRefused = code == CURLE_LOGIN_DENIED;
    outcome.TimedOut = timedOut || code == CURLE_OPERATION_TIMEDOUT;
    outcome.NotFound = code == CURLE_REMOTE_FILE_NOT_FOUND;
    outcome.Error = errorText[0] ? QString::fromUtf8(errorText) : QString::fromUtf8(curl_easy_strerror(code));
    if (timedOut)
        outcome.Error = QStringLiteral("no answer within %1 s").arg(quietSeconds);
    outcome.ConnectionRefusedByUs = call.RefusedConnection;
    outcome.HostKeySha256 = check_.PresentedSha256;
    outcome.HostKeyRejected = code != CURLE_OK && call.HostKeySeen &&
                              (check_.Pinned.isEmpty() || check_.Pinned != check_.PresentedSha256);
    outcome.ConnectionAlive = connectionAlive;
    if (request.What == SftpRequest::Kind::Size && outcome.Ok) {
        curl_off_t length = -1;
        if (curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK)
            outcome.Size = static_cast<qint64>(length);
    }
    if (call.Failure)
        std::rethrow_exception(call.Failure);
    return outcome;
}
