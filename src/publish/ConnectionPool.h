#pragma once

#include "FtpTransport.h"
#include "projects/TConnectionSettings.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class RemoteClient;

// Several connections to one account's server, each working on a thread of
// its own through the items of a list, the next free one taking the next
// item. The thread that calls Run (the operation's) is the only one that
// talks to the operation's host: it receives each item back in list order,
// once that item and every one before it is done.
class ConnectionPool {
public:
    // One connection as the work on an item sees it.
    class Connection;
    struct Work {
        // On a connection's thread: does item `index`, keeping its result
        // where deliver finds it. Must not throw.
        std::function<void(Connection&, int index)> Do;
        // On the calling thread, in list order; false stops the run: no
        // further item is taken, and the items in progress are finished and
        // not delivered.
        std::function<bool(int index)> Deliver;
        // On the calling thread while it waits (at least every 100 ms);
        // false stops the run as above.
        std::function<bool()> Waiting;
    };

    // `first` is logged in to `account` and stays the caller's; up to
    // `connections` - 1 further ones (of the account's protocol) are opened
    // when the first run starts, trusting the server identity `first`
    // accepted without asking anybody.
    ConnectionPool(RemoteClient& first, const TConnectionSettings& account, const FtpTimeouts& timeouts,
                   int connections);
    // Closes the further connections (quietly: they log nothing).
    ~ConnectionPool();
    ConnectionPool(const ConnectionPool&) = delete;
    ConnectionPool& operator=(const ConnectionPool&) = delete;

    // Runs items 0 .. count-1 over the connections (never more connections
    // than items); returns how many were delivered. first's host is the
    // pool's own while it runs.
    int Run(int count, const Work& work);

    // Bytes of the transfers in progress, and of those ended (Connection::Sent)
    // since the pool was made.
    qint64 BytesSent() const;

    // A line for the log when the server refused some of the further
    // connections (once, when all of them were tried); empty otherwise.
    QString TakeRefusalNote();

private:
    void OpenFurther(Connection& connection);

    RemoteClient& first_;
    TConnectionSettings account_;
    FtpTimeouts timeouts_;
    int wanted_;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::atomic<qint64> sent_{0};
    std::atomic<int> refused_{0};
    std::atomic<int> untried_{0};
    std::atomic<int> alive_{0}; // connections logged in
    std::mutex refusalMutex_;
    QString refusal_; // why the first further connection was refused
    bool refusalTold_ = false;
};

class ConnectionPool::Connection {
public:
    explicit Connection(ConnectionPool& pool);
    ~Connection();
    RemoteClient& Remote() { return *remote_; }
    // A transfer ended: its bytes count as sent (0 for one that failed).
    void Sent(qint64 bytes);

private:
    friend class ConnectionPool;
    class Host;
    ConnectionPool& pool_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<RemoteClient> own_; // none for the first connection
    RemoteClient* remote_ = nullptr;
    bool tried_ = false;
    bool alive_ = true; // counted in the pool's alive_
};
