#include "ConnectionPool.h"

#include "RemoteClientFactory.h"
#include "util/OperationHost.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <thread>

// What a connection's client reports while it works on a thread of its
// own: its status lines go nowhere (the caller logs what the items did),
// the bytes of its transfer in progress are kept for the file bar.
class ConnectionPool::Connection::Host : public OperationHost {
public:
    void Log(const QString&) override {}
    void AppendToLastLine(const QString&) override {}
    void SetFileProgress(qint64 done, qint64) override { inFlight = done; }
    void SetOverallProgress(qint64, qint64) override {}
    bool Cancelled() override { return false; }

    std::atomic<qint64> inFlight{0};
};

ConnectionPool::Connection::Connection(ConnectionPool& pool) : pool_(pool), host_(std::make_unique<Host>()) {}

ConnectionPool::Connection::~Connection() = default;

void ConnectionPool::Connection::Sent(qint64 bytes)
{
    host_->inFlight = 0;
    pool_.sent_ += bytes;
}

ConnectionPool::ConnectionPool(RemoteClient& first, const TConnectionSettings& account,
                               const FtpTimeouts& timeouts, int connections)
    : first_(first), account_(account), timeouts_(timeouts),
      wanted_(std::clamp(connections, MinConnections, MaxConnections))
{
}

ConnectionPool::~ConnectionPool()
{
    for (const std::unique_ptr<Connection>& connection : connections_)
        if (connection->own_)
            connection->own_->Disconnect();
}

qint64 ConnectionPool::BytesSent() const
{
    qint64 bytes = sent_;
    for (const std::unique_ptr<Connection>& connection : connections_)
        bytes += connection->host_->inFlight;
    return bytes;
}

QString ConnectionPool::TakeRefusalNote()
{
    const std::lock_guard<std::mutex> lock(refusalMutex_);
    if (refusalTold_ || untried_ > 0 || refused_ == 0)
        return {};
    refusalTold_ = true;
    const int refused = refused_;
    const int working = int(connections_.size()) - refused;
    return QStringLiteral("%1 refused %2 of %3 connections, going on with %4: %5")
        .arg(account_.AccountName)
        .arg(refused)
        .arg(connections_.size())
        .arg(working)
        .arg(refusal_);
}

// On the connection's own thread, before its first item.
void ConnectionPool::OpenFurther(Connection& connection)
{
    connection.tried_ = true;
    const RemoteResult result = connection.own_->Connect(account_);
    if (!result.Ok) {
        connection.alive_ = false;
        --alive_;
        const std::lock_guard<std::mutex> lock(refusalMutex_);
        if (refused_++ == 0)
            refusal_ = result.Error;
    }
    --untried_;
}

int ConnectionPool::Run(int count, const Work& work)
{
    if (count <= 0)
        return 0;
    if (connections_.empty()) {
        const int opened = std::min(wanted_, count);
        for (int i = 0; i < opened; ++i) {
            auto connection = std::make_unique<Connection>(*this);
            if (i == 0) {
                connection->remote_ = &first_;
                connection->tried_ = true;
            } else {
                connection->own_ = MakeRemoteClient(account_, *connection->host_, timeouts_);
                connection->own_->ShareTrustOf(first_);
                connection->remote_ = connection->own_.get();
            }
            connections_.push_back(std::move(connection));
        }
        untried_ = opened - 1;
        alive_ = opened;
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<char> done(static_cast<size_t>(count), 0);
    int running = int(connections_.size());
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    const auto serve = [&](Connection& connection) {
        if (!connection.tried_ && !stop)
            OpenFurther(connection);
        while (!stop) {
            // A connection that was lost leaves the rest to those that work,
            // while any does.
            if (!connection.alive_ && alive_ > 0)
                break;
            const int item = next++;
            if (item >= count)
                break;
            try {
                work.Do(connection, item);
            } catch (...) {
                // The item's result stays as it was made: a failure.
            }
            if (connection.alive_ && !connection.remote_->IsLoggedIn()) {
                connection.alive_ = false;
                --alive_;
            }
            {
                const std::lock_guard<std::mutex> lock(mutex);
                done[size_t(item)] = 1;
            }
            changed.notify_all();
        }
        {
            const std::lock_guard<std::mutex> lock(mutex);
            --running;
        }
        changed.notify_all();
    };

    // The first connection reports to the caller's host again once its
    // thread has ended (the threads below are joined before this goes).
    struct HostBack {
        RemoteClient& remote;
        OperationHost& host;
        ~HostBack() { remote.SetHost(host); }
    } hostBack{first_, first_.Host()};
    first_.SetHost(*connections_.front()->host_);
    // Whatever ends the wait below (an error of Deliver or Waiting among
    // it), the connections take no further item and their threads are
    // joined before the items' state goes.
    struct Threads {
        std::atomic<bool>& stop;
        std::vector<std::thread> running;
        ~Threads()
        {
            stop = true;
            for (std::thread& thread : running)
                thread.join();
        }
    } threads{stop, {}};
    for (const std::unique_ptr<Connection>& connection : connections_)
        threads.running.emplace_back(serve, std::ref(*connection));

    int delivered = 0;
    QElapsedTimer sinceWaiting;
    sinceWaiting.start();
    std::unique_lock<std::mutex> lock(mutex);
    while (delivered < count) {
        changed.wait_for(lock, std::chrono::milliseconds(50),
                         [&] { return done[size_t(delivered)] || running == 0; });
        bool go = true;
        while (go && delivered < count && done[size_t(delivered)]) {
            lock.unlock();
            go = work.Deliver(delivered);
            lock.lock();
            ++delivered;
        }
        if (!go) {
            stop = true;
            break;
        }
        if (delivered < count && running == 0 && !done[size_t(delivered)])
            break; // stopped, or no connection left to take the rest
        if (sinceWaiting.elapsed() >= 50) {
            lock.unlock();
            if (!work.Waiting())
                stop = true;
            lock.lock();
            sinceWaiting.restart();
        }
    }
    return delivered;
}
