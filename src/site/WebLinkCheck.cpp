#include "site/WebLinkCheck.h"

#include "site/SiteLists.h"
#include "site/WebLinkList.h"
#include "util/OperationHost.h"

namespace {

const QString FailedMark = QStringLiteral(":web link failed (");

} // namespace

QString WebLinkDetail(int lineNumber, const QString& failure, LinkToken token, char quote,
                      const QString& value)
{
    const QChar q = QLatin1Char(quote);
    return QString::number(lineNumber) + FailedMark + failure + QStringLiteral("):") +
           QString::fromLatin1(TokenText(token)) + q + value + q;
}

bool IsWebLinkDetail(const QString& detail)
{
    // The line number comes first, so the mark follows the first ":".
    const qsizetype colon = detail.indexOf(QLatin1Char(':'));
    return colon >= 0 && QStringView(detail).mid(colon).startsWith(FailedMark);
}

TWebCheckFindings ProbeWebLinks(const TSiteLists& lists, OperationHost& host, const TWebProbeLimits& limits)
{
    TWebCheckFindings findings;
    findings.Links = CollectWebLinks(lists);
    for (const QString& file : findings.Links.UnreadableFiles)
        host.Log(QStringLiteral("Could not read ") + file);
    host.Log(QStringLiteral("Checking %1 web addresses").arg(findings.Links.Addresses.size()));
    findings.Results = ProbeWebAddresses(findings.Links.Addresses, host, limits);
    return findings;
}

TWebCheckOutcome RecordWebLinks(TSiteLists& lists, const TWebCheckFindings& findings, OperationHost& host)
{
    const TWebLinks& links = findings.Links;
    const QList<TWebProbeResult>& results = findings.Results;
    TWebCheckOutcome outcome;
    outcome.UnreadableFiles = links.UnreadableFiles;
    outcome.Addresses = links.Addresses.size();

    const TSiteLists::UpdateBatch batch(lists);
    lists.RemoveBrokenLinksIf(IsWebLinkDetail);
    qsizetype checked = 0;
    for (qsizetype i = 0; i < results.size(); ++i) {
        if (!results[i].Checked)
            continue;
        ++checked;
        if (!results[i].Alive) {
            ++outcome.Dead;
            host.Log(links.Addresses[i] + QStringLiteral(" failed (") + results[i].Failure +
                     QLatin1Char(')'));
        }
    }
    outcome.Cancelled = checked < results.size();
    for (const TWebLinkUse& use : links.Uses) {
        const TWebProbeResult& result = results[use.Address];
        if (result.Checked && !result.Alive)
            lists.AddBrokenLink(lists.LocalFiles().at(use.FileIndex),
                                WebLinkDetail(use.Line, result.Failure, use.Token, use.Quote, use.Value));
    }
    if (outcome.Cancelled)
        host.Log(QStringLiteral("Web link check cancelled: %1 of %2 addresses checked, %3 dead")
                     .arg(checked)
                     .arg(outcome.Addresses)
                     .arg(outcome.Dead));
    else
        host.Log(
            QStringLiteral("%1 web addresses checked, %2 dead").arg(outcome.Addresses).arg(outcome.Dead));
    return outcome;
}

TWebCheckOutcome CheckWebLinks(TSiteLists& lists, OperationHost& host, const TWebProbeLimits& limits)
{
    return RecordWebLinks(lists, ProbeWebLinks(lists, host, limits), host);
}
