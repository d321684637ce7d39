#include "FtpTransport.h"

#include "CurlHandle.h"
#include "util/TarnwellError.h"

#include <algorithm>
#include <curl/curl.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

struct FtpTransport::Call {
    const FtpRequest* Request = nullptr;
    const Progress* OnProgress = nullptr;
    QStringList Lines;
    bool RefusedConnection = false;
    std::exception_ptr Failure;
};

namespace {

using Call = FtpTransport::Call;

// The longest wait for the answer to QUIT, whatever the reply time-out.
constexpr long QuitReplySeconds = 5;

// Every line the server sends on the control connection arrives here.
size_t OnHeader(char* buffer, size_t size, size_t count, void* data)
{
    auto* call = static_cast<Call*>(data);
    QByteArray line(buffer, static_cast<qsizetype>(size * count));
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    call->Lines.append(QString::fromUtf8(line));
    return size * count;
}

int OnProgress(void* data, curl_off_t downTotal, curl_off_t downNow, curl_off_t upTotal, curl_off_t upNow)
{
    auto* call = static_cast<Call*>(data);
    if (call->Failure)
        return 1;
    qint64 done = 0;
    qint64 total = 0;
    if (call->Request->What == FtpRequest::Kind::Upload) {
        done = upNow;
        total = upTotal;
    } else if (call->Request->What == FtpRequest::Kind::Download) {
        done = downNow;
        total = downTotal;
    }
    return PassProgress(*call->OnProgress, done, total, call->Failure);
}

// Refuses a new control connection when the request may not make one. A
// socket wanted before any reply arrived can only be a control connection;
// later ones are the data connections of listings and transfers.
curl_socket_t OnOpenSocket(void* data, curlsocktype, struct curl_sockaddr* address)
{
    auto* call = static_cast<Call*>(data);
    if (!call->Request->MayConnect && call->Lines.isEmpty()) {
        call->RefusedConnection = true;
        return CURL_SOCKET_BAD;
    }
    return socket(address->family, address->socktype, address->protocol);
}

using Check = FtpTransport::CertificateCheck;

// Takes the place of the TLS library's own chain check in every handshake:
// records the certificate the server presents, then accepts exactly the
// pinned one or, without a pin, what the library's check accepts. A refusal
// here ends the handshake, so nothing else goes over that connection.
int CheckCertificate(X509_STORE_CTX* context, void* data)
{
    auto* check = static_cast<Check*>(data);
    X509* presented = X509_STORE_CTX_get0_cert(context);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!presented || X509_digest(presented, EVP_sha256(), digest, &length) != 1) {
        X509_STORE_CTX_set_error(context, X509_V_ERR_UNSPECIFIED);
        check->Rejected = true;
        return 0;
    }
    check->PresentedSha256 =
        QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length));
    if (check->Pinned.isEmpty()) {
        const bool verified = X509_verify_cert(context) == 1;
        check->Rejected = !verified;
        return verified ? 1 : 0;
    }
    if (check->PresentedSha256 == check->Pinned)
        return 1;
    X509_STORE_CTX_set_error(context, X509_V_ERR_CERT_REJECTED);
    check->Rejected = true;
    return 0;
}

// Called by the library for each new TLS connection, before its handshake.
CURLcode OnSslContext(CURL*, void* sslContext, void* data)
{
    SSL_CTX_set_cert_verify_callback(static_cast<SSL_CTX*>(sslContext), CheckCertificate, data);
    return CURLE_OK;
}

} // namespace

FtpTransport::FtpTransport() : handle_(std::make_unique<CurlHandle>()) {}

FtpTransport::~FtpTransport()
{
    Close();
}

void FtpTransport::Open(const QString& userName, const QString& password, const FtpTimeouts& timeouts,
                        const FtpTlsSettings& tls)
{
    Close();
    handle_->Open();
    user_ = userName.toUtf8();
    password_ = password.toUtf8();
    timeouts_ = timeouts;
    tls_ = tls;
    authorityFile_ = tls.AuthorityFile.toLocal8Bit();
    check_ = CertificateCheck();
    check_.Pinned = tls.PinnedSha256;
}

void FtpTransport::Close()
{
    // Cleaning up the connections sends QUIT on a live one and waits for its
    // answer as long as the reply time-out of the handle last added to the
    // multi handle says. A server that never answers QUIT must not hold up
    // the next account for the whole reply time-out, so the handle is added
    // once more, with the shorter wait, just before.
    if (handle_->IsOpen()) {
        // The last request's callbacks pointed into its own call, which is
        // gone: the QUIT reply must not be handed there.
        CURL* h = handle_->Easy();
        curl_easy_reset(h);
        ApplyConnectionOptions();
        const long quitSeconds = timeouts_.ReplySeconds > 0
                                     ? std::min<long>(QuitReplySeconds, timeouts_.ReplySeconds)
                                     : QuitReplySeconds;
        curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, quitSeconds);
        if (curl_multi_add_handle(handle_->Multi(), h) == CURLM_OK)
            curl_multi_remove_handle(handle_->Multi(), h);
    }
    handle_->Close();
}

// Every option of the connection itself, in one place.
void FtpTransport::ApplyConnectionOptions()
{
    handle_->ApplyCommonOptions("ftp", user_, timeouts_);
    CURL* h = handle_->Easy();
    curl_easy_setopt(h, CURLOPT_PASSWORD, password_.constData());
    // Passive mode: EPSV, which names only a port on the server's own
    // address, and PASV where a server refuses EPSV, with the address in its
    // reply ignored in favour of the server's own (which also works behind
    // address translation). EPSV first also spares a look-up of the host for
    // every data connection, which cost up to a second per file here.
    curl_easy_setopt(h, CURLOPT_FTP_USE_EPSV, 1L);
    curl_easy_setopt(h, CURLOPT_FTP_SKIP_PASV_IP, 1L);
    // Transfers name the full server path and never change folder, so the
    // current folder is only ever what our own CWD left.
    curl_easy_setopt(h, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);

    if (tls_.Security == TFtpSecurity::Plain)
        return;
    // AUTH TLS on the control connection, then PBSZ 0 and PROT P, so that the
    // data connections are protected too.
    curl_easy_setopt(
        h, CURLOPT_USE_SSL,
        static_cast<long>(tls_.Security == TFtpSecurity::TlsRequired ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(h, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
    curl_easy_setopt(h, CURLOPT_FTP_SSL_CCC, static_cast<long>(CURLFTPSSL_CCC_NONE));
    // The peer check stays on even with a pin: it is what makes the TLS
    // library end the handshake when CheckCertificate refuses. The host name
    // is the library's check and only counts without a pin; a pinned
    // certificate is trusted as the certificate of this account's server.
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, tls_.PinnedSha256.isEmpty() ? 2L : 0L);
    if (!authorityFile_.isEmpty())
        curl_easy_setopt(h, CURLOPT_CAINFO, authorityFile_.constData());
    if (curl_easy_setopt(h, CURLOPT_SSL_CTX_FUNCTION, OnSslContext) != CURLE_OK ||
        curl_easy_setopt(h, CURLOPT_SSL_CTX_DATA, &check_) != CURLE_OK)
        throw TarnwellError(QStringLiteral("This build's network library cannot check server certificates, "
                                           "so FTP over TLS is not available."));
}

FtpOutcome FtpTransport::Perform(const FtpRequest& request, const Progress& progress)
{
    if (!handle_->IsOpen())
        throw TarnwellError(QStringLiteral("An FTP request was made before the connection was opened."));
    Call call;
    call.Request = &request;
    call.OnProgress = &progress;
    check_.PresentedSha256.clear();
    check_.Rejected = false;
    handle_->StartRequest(request.Url, OnProgress, OnOpenSocket, &call);
    ApplyConnectionOptions();
    CURL* h = handle_->Easy();
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &call);
    // "*" lets the library go on when the server refuses a command; the
    // caller reads the reply code instead.
    handle_->SetCommands(request.Commands, "*",
                         QStringLiteral("Out of memory while preparing an FTP command."));

    switch (request.What) {
    case FtpRequest::Kind::Commands:
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
        break;
    case FtpRequest::Kind::Listing:
        if (!request.ListCommand.isEmpty())
            curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.ListCommand.constData());
        [[fallthrough]];
    case FtpRequest::Kind::Download:
        handle_->WriteTo(request.Sink);
        break;
    case FtpRequest::Kind::Upload:
        handle_->ReadFrom(request.Source, request.SourceSize);
        break;
    }

    const CurlHandle::Ran ran = handle_->Run();
    const CURLcode code = ran.Code;

    FtpOutcome outcome;
    outcome.Ok = code == CURLE_OK;
    outcome.LoginRefused = code == CURLE_LOGIN_DENIED;
    outcome.TimedOut = code == CURLE_OPERATION_TIMEDOUT;
    outcome.Error = handle_->ErrorText(code);
    outcome.ReplyLines = call.Lines;
    outcome.Greeted = !call.Lines.isEmpty();
    outcome.ConnectionRefusedByUs = call.RefusedConnection;
    outcome.TlsRefused = code == CURLE_USE_SSL_FAILED;
    outcome.CertificateSha256 = check_.PresentedSha256;
    outcome.CertificateRejected = code != CURLE_OK && !check_.PresentedSha256.isEmpty() &&
                                  (code == CURLE_PEER_FAILED_VERIFICATION || check_.Rejected);
    long lastCode = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &lastCode);
    outcome.LastCode = static_cast<int>(lastCode);
    outcome.ConnectionAlive = ran.ConnectionAlive;
    if (call.Failure)
        std::rethrow_exception(call.Failure);
    return outcome;
}
