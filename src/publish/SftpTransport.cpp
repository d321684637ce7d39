#include "SftpTransport.h"

#include "CurlHandle.h"
#include "util/TarnwellError.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <algorithm>
#include <curl/curl.h>
#include <exception>
#include <sys/socket.h>

struct SftpTransport::Call {
    const SftpRequest* Request = nullptr;
    const Progress* OnProgress = nullptr;
    HostKeyCheck* Check = nullptr;
    bool RefusedConnection = false;
    bool HostKeySeen = false;
    // When bytes last moved, for the quiet limit of the run.
    QElapsedTimer SinceActivity;
    qint64 LastMoved = -1;
    std::exception_ptr Failure;
};

namespace {

using Call = SftpTransport::Call;

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
    return PassProgress(*call->OnProgress, done, total, call->Failure);
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

} // namespace

SftpTransport::SftpTransport() : handle_(std::make_unique<CurlHandle>()) {}

SftpTransport::~SftpTransport()
{
    Close();
}

void SftpTransport::Open(const SftpLogin& login, const FtpTimeouts& timeouts)
{
    Close();
    handle_->Open();
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
    handle_->Close();
}

// Every option of the connection itself, in one place.
void SftpTransport::ApplyConnectionOptions()
{
    handle_->ApplyCommonOptions("sftp", user_, timeouts_);
    CURL* h = handle_->Easy();

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
    if (!handle_->IsOpen())
        throw TarnwellError(QStringLiteral("An SFTP request was made before the connection was opened."));
    Call call;
    call.Request = &request;
    call.OnProgress = &progress;
    call.Check = &check_;
    check_.PresentedSha256.clear();
    handle_->StartRequest(request.Url, OnProgress, OnOpenSocket, &call);
    ApplyConnectionOptions();
    CURL* h = handle_->Easy();
    if (curl_easy_setopt(h, CURLOPT_SSH_HOSTKEYFUNCTION, OnHostKey) != CURLE_OK ||
        curl_easy_setopt(h, CURLOPT_SSH_HOSTKEYDATA, &call) != CURLE_OK)
        throw TarnwellError(QStringLiteral("This build's network library cannot check SSH host keys, "
                                           "so SFTP is not available."));
    handle_->SetCommands(request.Commands, QByteArray(),
                         QStringLiteral("Out of memory while preparing an SFTP command."));

    switch (request.What) {
    case SftpRequest::Kind::Commands:
    case SftpRequest::Kind::Size:
        // Connects (when allowed), runs the commands, and for a file
        // reads its attributes; nothing is transferred.
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
        break;
    case SftpRequest::Kind::Listing:
    case SftpRequest::Kind::Download:
        handle_->WriteTo(request.Sink);
        break;
    case SftpRequest::Kind::Upload:
        handle_->ReadFrom(request.Source, request.SourceSize);
        break;
    }

    // Besides the library's own time-outs, a request on which no byte has
    // moved for this long is given up.
    const bool transfer =
        request.What == SftpRequest::Kind::Upload || request.What == SftpRequest::Kind::Download;
    qint64 quietSeconds =
        transfer ? std::max(timeouts_.StallSeconds, timeouts_.ReplySeconds) : timeouts_.ReplySeconds;
    if (request.MayConnect && quietSeconds > 0)
        quietSeconds += std::max(timeouts_.ConnectSeconds, 0);
    const CurlHandle::Ran ran = handle_->Run(&call.SinceActivity, quietSeconds * 1000);
    const CURLcode code = ran.Code;

    SftpOutcome outcome;
    outcome.Ok = code == CURLE_OK;
    outcome.LoginRefused = code == CURLE_LOGIN_DENIED;
    outcome.TimedOut = ran.GaveUp || code == CURLE_OPERATION_TIMEDOUT;
    outcome.NotFound = code == CURLE_REMOTE_FILE_NOT_FOUND;
    outcome.Error =
        ran.GaveUp ? QStringLiteral("no answer within %1 s").arg(quietSeconds) : handle_->ErrorText(code);
    outcome.ConnectionRefusedByUs = call.RefusedConnection;
    outcome.HostKeySha256 = check_.PresentedSha256;
    outcome.HostKeyRejected = code != CURLE_OK && call.HostKeySeen &&
                              (check_.Pinned.isEmpty() || check_.Pinned != check_.PresentedSha256);
    outcome.ConnectionAlive = ran.ConnectionAlive;
    if (request.What == SftpRequest::Kind::Size && outcome.Ok) {
        curl_off_t length = -1;
        if (curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK)
            outcome.Size = static_cast<qint64>(length);
    }
    if (call.Failure)
        std::rethrow_exception(call.Failure);
    return outcome;
}
