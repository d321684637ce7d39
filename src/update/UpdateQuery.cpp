#include "update/UpdateQuery.h"

#include "util/NetworkLibrary.h"
#include "util/TarnwellError.h"

#include <curl/curl.h>

#include <memory>

namespace {

// An installer name is short; a reply beyond this is not one and is not
// read into memory whole.
constexpr qsizetype MaxReplyBytes = 64 * 1024;

size_t OnWrite(char* buffer, size_t size, size_t count, void* data)
{
    auto* body = static_cast<QByteArray*>(data);
    const qsizetype length = static_cast<qsizetype>(size * count);
    if (body->size() + length > MaxReplyBytes)
        return 0; // the library stops with a write error: no answer
    body->append(buffer, length);
    return size * count;
}

struct EasyFree {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct MimeFree {
    void operator()(curl_mime* m) const { curl_mime_free(m); }
};

} // namespace

QString TrimReply(const QByteArray& body)
{
    qsizetype first = 0;
    qsizetype last = body.size();
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7f'; };
    while (first < last && blank(body.at(first)))
        ++first;
    while (last > first && blank(body.at(last - 1)))
        --last;
    return QString::fromUtf8(body.mid(first, last - first));
}

TUpdateReply PostUpdateQuery(const QString& address, const QString& productCode,
                             const TUpdateTimeouts& timeouts)
{
    InitialiseNetworkLibrary();
    // A new client for every request, freed after it.
    std::unique_ptr<CURL, EasyFree> handle(curl_easy_init());
    if (!handle)
        return {};
    CURL* h = handle.get();
    const QByteArray url = address.toUtf8();
    const QByteArray agent = QStringLiteral("Mozilla/3.0 (compatible;%1)").arg(productCode).toUtf8();
    const QByteArray code = productCode.toUtf8();

    std::unique_ptr<curl_mime, MimeFree> form(curl_mime_init(h));
    curl_mimepart* field = curl_mime_addpart(form.get());
    curl_mime_name(field, "App");
    curl_mime_data(field, code.constData(), static_cast<size_t>(code.size()));

    QByteArray body;
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(h, CURLOPT_MIMEPOST, form.get());
    // An error status is no answer, whatever its body says.
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.ConnectMs));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.TotalMs));
    // The user's proxy settings apply, but never to this machine itself.
    curl_easy_setopt(h, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnWrite);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);

    if (curl_easy_perform(h) != CURLE_OK)
        return {};
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        return {};
    return {TrimReply(body)};
}
