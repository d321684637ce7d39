#pragma once

#include "site/LinkRules.h"
#include "site/WebLinkList.h"
#include "site/WebLinkProbe.h"

#include <QString>
#include <QStringList>

class OperationHost;
class TSiteLists;

struct TWebCheckOutcome {
    qsizetype Addresses = 0; // distinct addresses found
    qsizetype Dead = 0;      // of them
    bool Cancelled = false;
    QStringList UnreadableFiles;
};

// "Check Web Links": asks for every http(s) address of the selected files
// once and records each use of a dead one in lbxBrokenLinks, after the
// records of the last check are dropped. Logs what it does; never part of
// the scan, which sends nothing over the network.
TWebCheckOutcome CheckWebLinks(TSiteLists& lists, OperationHost& host, const TWebProbeLimits& limits = {});

// The two halves of CheckWebLinks, for a window that asks on a worker thread
// and records on its own: the long part only reads the lists.
struct TWebCheckFindings {
    TWebLinks Links;
    QList<TWebProbeResult> Results;
};
TWebCheckFindings ProbeWebLinks(const TSiteLists& lists, OperationHost& host,
                                const TWebProbeLimits& limits = {});
TWebCheckOutcome RecordWebLinks(TSiteLists& lists, const TWebCheckFindings& findings, OperationHost& host);

// The detail item of a dead web link: "12:web link failed (404):href="...".
QString WebLinkDetail(int lineNumber, const QString& failure, LinkToken token, char quote,
                      const QString& value);
bool IsWebLinkDetail(const QString& detail);
