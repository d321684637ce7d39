#include "site/WebLinkProbe.h"

#include "util/NetworkLibrary.h"
#include "util/OperationHost.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QUrl>

#include <curl/curl.h>

#include <memory>
#include <unordered_map>

namespace {

struct EasyFree {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct MultiFree {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};

// A GET after a refused HEAD needs the status only: the body is refused at
// its first bytes, which ends the transfer.
size_t RefuseBody(char*, size_t, size_t, void*)
{
    return 0;
}

struct Transfer {
    qsizetype Index = 0;
    QString Host;
    QByteArray Url;
    std::unique_ptr<CURL, EasyFree> Handle;
    QElapsedTimer Started;
    bool Get = false;
};

// Servers are told apart by name and port, as the connections to them are.
QString HostKey(const QUrl& url)
{
    const int port = url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
    return url.host().toLower() + QLatin1Char(':') + QString::number(port);
}

QString FailureText(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("no such host");
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("time-out");
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("no connection");
    case CURLE_TOO_MANY_REDIRECTS:
        return QStringLiteral("too many redirects");
    default:
        return QString::fromUtf8(curl_easy_strerror(code));
    }
}

// Sets a handle up for one request of the transfer; false when no time is left.
bool Prepare(Transfer& t, const TWebProbeLimits& limits)
{
    const qint64 left = limits.TimeoutMs - (t.Started.isValid() ? t.Started.elapsed() : 0);
    if (left <= 0)
        return false;
    CURL* h = t.Handle.get();
    curl_easy_setopt(h, CURLOPT_URL, t.Url.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, static_cast<long>(limits.MaxRedirects));
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Mozilla/5.0 (compatible; Tarnwell link check)");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(left));
    // The user's proxy settings apply, but never to this machine itself.
    curl_easy_setopt(h, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, RefuseBody);
    if (t.Get)
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    else
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    return true;
}

class Prober {
public:
    Prober(const QStringList& addresses, OperationHost& host, const TWebProbeLimits& limits)
        : addresses_(addresses), host_(host), limits_(limits), results_(addresses.size())
    {
    }
    ~Prober()
    {
        // Every handle leaves the multi handle before either is freed.
        for (const auto& entry : active_)
            curl_multi_remove_handle(multi_.get(), entry.first);
        active_.clear();
    }
    Prober(const Prober&) = delete;
    Prober& operator=(const Prober&) = delete;

    QList<TWebProbeResult> Run()
    {
        InitialiseNetworkLibrary();
        multi_.reset(curl_multi_init());
        curl_multi_setopt(multi_.get(), CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(limits_.MaxPerHost));
        curl_multi_setopt(multi_.get(), CURLMOPT_MAX_TOTAL_CONNECTIONS,
                          static_cast<long>(limits_.MaxTransfers));
        for (qsizetype i = 0; i < addresses_.size(); ++i) {
            const QUrl url(addresses_[i], QUrl::StrictMode);
            const QString scheme = url.scheme().toLower();
            if (!url.isValid() || url.host().isEmpty() ||
                (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
                Finish(i, false, QStringLiteral("bad address"));
                continue;
            }
            const QString key = HostKey(url);
            queued_[key].append(i);
            MarkReady(key);
        }
        host_.SetOverallProgress(done_, addresses_.size());
        while (!active_.empty() || !ready_.isEmpty()) {
            if (host_.Cancelled())
                break;
            StartWhatMay();
            int running = 0;
            curl_multi_perform(multi_.get(), &running);
            TakeFinished();
            if (!active_.empty())
                curl_multi_poll(multi_.get(), nullptr, 0, 100, nullptr);
        }
        return results_;
    }

private:
    void MarkReady(const QString& key)
    {
        if (!readySet_.contains(key)) {
            readySet_.insert(key);
            ready_.append(key);
        }
    }

    // Hosts take turns, so one host with many addresses holds up no other.
    void StartWhatMay()
    {
        while (active_.size() < static_cast<size_t>(limits_.MaxTransfers) && !ready_.isEmpty()) {
            const QString key = ready_.takeFirst();
            readySet_.remove(key);
            QList<qsizetype>& queue = queued_[key];
            int& busy = perHost_[key];
            if (queue.isEmpty() || busy >= limits_.MaxPerHost)
                continue;
            ++busy;
            Start(queue.takeFirst(), key);
            if (!queue.isEmpty() && busy < limits_.MaxPerHost)
                MarkReady(key);
        }
    }

    void Start(qsizetype index, const QString& key)
    {
        auto t = std::make_unique<Transfer>();
        t->Index = index;
        t->Host = key;
        t->Url = addresses_[index].toUtf8();
        t->Handle.reset(curl_easy_init());
        t->Started.start();
        if (!t->Handle || !Prepare(*t, limits_)) {
            Done(*t, false, QStringLiteral("no connection"));
            return;
        }
        CURL* h = t->Handle.get();
        curl_multi_add_handle(multi_.get(), h);
        active_.emplace(h, std::move(t));
    }

    void TakeFinished()
    {
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            CURL* h = message->easy_handle;
            const CURLcode code = message->data.result;
            curl_multi_remove_handle(multi_.get(), h);
            const auto found = active_.find(h);
            std::unique_ptr<Transfer> t = std::move(found->second);
            active_.erase(found);
            long status = 0;
            curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
            // A GET is ended by refusing its body once the status is known.
            const bool answered = code == CURLE_OK || (t->Get && code == CURLE_WRITE_ERROR && status > 0);
            if (answered && !t->Get && status >= 400 && status != 404 && status != 410) {
                // Some servers refuse HEAD, or answer it wrongly: ask again with GET.
                t->Get = true;
                if (Prepare(*t, limits_)) {
                    curl_multi_add_handle(multi_.get(), h);
                    active_.emplace(h, std::move(t));
                    continue;
                }
                Done(*t, false, FailureText(CURLE_OPERATION_TIMEDOUT));
                continue;
            }
            if (!answered)
                Done(*t, false, FailureText(code));
            else if (status >= 400)
                Done(*t, false, QString::number(status));
            else
                Done(*t, true, QString());
        }
    }

    void Done(const Transfer& t, bool alive, const QString& failure)
    {
        int& busy = perHost_[t.Host];
        --busy;
        if (!queued_[t.Host].isEmpty())
            MarkReady(t.Host);
        Finish(t.Index, alive, failure);
    }

    void Finish(qsizetype index, bool alive, const QString& failure)
    {
        TWebProbeResult& result = results_[index];
        result.Checked = true;
        result.Alive = alive;
        result.Failure = failure;
        host_.SetOverallProgress(++done_, addresses_.size());
    }

    const QStringList& addresses_;
    OperationHost& host_;
    TWebProbeLimits limits_;
    QList<TWebProbeResult> results_;
    std::unique_ptr<CURLM, MultiFree> multi_;
    QHash<QString, QList<qsizetype>> queued_;
    QHash<QString, int> perHost_;
    QList<QString> ready_;
    QSet<QString> readySet_;
    std::unordered_map<CURL*, std::unique_ptr<Transfer>> active_;
    qsizetype done_ = 0;
};

} // namespace

QList<TWebProbeResult> ProbeWebAddresses(const QStringList& addresses, OperationHost& host,
                                         const TWebProbeLimits& limits)
{
    return Prober(addresses, host, limits).Run();
}
