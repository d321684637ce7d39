#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class OperationHost;

// How a web link check treats the servers it asks.
struct TWebProbeLimits {
    int MaxRedirects = 5;
    int TimeoutMs = 10000; // per address, a GET after a refused HEAD included
    int MaxTransfers = 16; // addresses asked at a time
    int MaxPerHost = 2;    // of them to one host (name and port)
};

// What became of one address.
struct TWebProbeResult {
    bool Checked = false; // false: the check was cancelled before it
    bool Alive = false;
    // Why it is dead: the status ("404"), "no such host", "time-out", "no
    // connection", "too many redirects", "bad address" or the library's text.
    QString Failure;
};

// Asks for every address once: HEAD, then GET where a server refuses HEAD
// (an error status other than 404 and 410), following redirects. A status
// of 400 or above, or no answer, is a dead address. The host's overall bar
// counts addresses done; a cancel stops at once and leaves the rest
// unchecked. Nothing is sent for an address that is not http or https.
QList<TWebProbeResult> ProbeWebAddresses(const QStringList& addresses, OperationHost& host,
                                         const TWebProbeLimits& limits = {});
