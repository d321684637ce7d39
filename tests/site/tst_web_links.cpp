// "Check Web Links" against a small web site on 127.0.0.1: which addresses
// count as dead and how they are reported, how the servers are asked, and
// that the plain scan never asks at all.
#include "RecordingHost.h"
#include "RecordingPrompts.h"
#include "SiteFixture.h"
#include "WebTestServer.h"
#include "site/WebLinkCheck.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>

namespace {

// Fast enough for a test; the stall row waits this long.
TWebProbeLimits TestLimits()
{
    TWebProbeLimits limits;
    limits.TimeoutMs = 1500;
    return limits;
}

struct Checked {
    SiteFixture site;
    TSiteLists lists{site.Style()};
    RecordingHost host;
    TWebCheckOutcome outcome;
    TWebProbeLimits limits = TestLimits();

    // Scans the site from its index page, then checks its web links.
    void Run(const QStringList& files, bool check = true)
    {
        site.Write(files);
        RecordingScanWindow window;
        RecordingPrompts prompts;
        ScanSite({lists, window, prompts, nullptr, QString(), site.Local("site"), site.Local("site/www")});
        if (check)
            Check();
    }
    void Check() { outcome = CheckWebLinks(lists, host, limits); }
    QStringList Broken() const { return site.Relative(lists.BrokenLinks()); }
};

// The highest number of requests the server was answering at once.
int PeakInFlight(const QStringList& requests)
{
    int peak = 0;
    for (const QString& request : requests)
        peak = qMax(peak, request.section(QLatin1Char(' '), 2).toInt());
    return peak;
}

} // namespace

class TestWebLinks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void Addresses_data();
    void Addresses();
    void EachAddressOnceTwoAtATimePerHost();
    void CancelStopsAtOnce();
    void ThePlainScanAsksNothing();

private:
    std::unique_ptr<WebTestServer> server_;
};

void TestWebLinks::initTestCase()
{
    server_ = std::make_unique<WebTestServer>();
    QVERIFY2(server_->IsRunning(), qPrintable(server_->Error()));
}

void TestWebLinks::Addresses_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("failure"); // empty: alive

    QTest::newRow("200") << "/ok/a"
                         << "";
    QTest::newRow("404") << "/missing/a"
                         << "404";
    QTest::newRow("500") << "/error/a"
                         << "500";
    QTest::newRow("HEAD refused, GET answered") << "/nohead/a"
                                                << "";
    QTest::newRow("five redirects") << "/chain/5"
                                    << "";
    QTest::newRow("six redirects") << "/chain/6"
                                   << "too many redirects";
    QTest::newRow("a redirect loop") << "/loop"
                                     << "too many redirects";
    QTest::newRow("no answer") << "/stall"
                               << "time-out";
    QTest::newRow("the fragment is not sent") << "/ok/b#part"
                                              << "";
    QTest::newRow("&amp; is read as &") << "/missing/c?a=1&amp;b=2"
                                        << "404";
    // Port 1 of this machine: nobody listens there.
    QTest::newRow("no server") << "http://127.0.0.1:1/x"
                               << "no connection";
}

void TestWebLinks::Addresses()
{
    QFETCH(QString, path);
    QFETCH(QString, failure);
    const QString address = path.startsWith("http") ? path : server_->Address(path);
    Checked checked;
    // Upper-case scheme, on the second line, after a block comment that holds another address.
    checked.Run({"site/www/index.html: <p>\n<!-- <a href=\"" + server_->Address("/missing/hidden") +
                 "\"> --><a class=x HREF='" + address + "'>"});
    QCOMPARE(checked.outcome.Addresses, 1);
    QCOMPARE(checked.outcome.Dead, failure.isEmpty() ? 0 : 1);
    const QStringList expected = failure.isEmpty()
                                     ? QStringList()
                                     : QStringList{"site/www/index.html", "2:web link failed (" + failure +
                                                                              "):href='" + address + "'"};
    QCOMPARE(checked.Broken(), expected);
}

void TestWebLinks::EachAddressOnceTwoAtATimePerHost()
{
    WebTestServer slow(150);
    QVERIFY2(slow.IsRunning(), qPrintable(slow.Error()));
    QString links;
    for (int i = 0; i < 6; ++i)
        links += "<a href=\"" + slow.Address("/ok/" + QString::number(i)) + "\">\n";
    const QString dead = slow.Address("/missing/x");
    Checked checked;
    // The scan stops reading a page's line at "//", so the local link comes first.
    checked.Run({"site/www/index.html: <a href=\"a.html\">\n" + links + "<img src=\"" + dead + "\">",
                 "site/www/a.html: " + links + "<a href=\"" + dead + "\">"});
    QCOMPARE(checked.outcome.Addresses, 7);
    QStringList requests = slow.Requests();
    QCOMPARE(requests.size(), 7);
    QVERIFY2(PeakInFlight(requests) <= 2, qPrintable(requests.join('\n')));
    requests.replaceInStrings(QRegularExpression(" \\d+$"), QString());
    requests.sort();
    QCOMPARE(requests, (QStringList{"HEAD /missing/x", "HEAD /ok/0", "HEAD /ok/1", "HEAD /ok/2", "HEAD /ok/3",
                                    "HEAD /ok/4", "HEAD /ok/5"}));
    const QStringList expected{"site/www/index.html", "8:web link failed (404):src=\"" + dead + "\"",
                               "site/www/a.html", "7:web link failed (404):href=\"" + dead + "\""};
    QCOMPARE(checked.Broken(), expected);
    // A second check replaces the records of the first.
    checked.Check();
    QCOMPARE(checked.Broken(), expected);
}

void TestWebLinks::CancelStopsAtOnce()
{
    Checked checked;
    // A time-out far beyond the test's own pace: only a cancel that works
    // ends the check before it, however loaded the machine is.
    checked.limits.TimeoutMs = 120000;
    checked.host.CancelWhenLogged("web addresses");
    QElapsedTimer timer;
    timer.start();
    checked.Run({"site/www/index.html: <a href=\"" + server_->Address("/stall") + "\">"});
    QVERIFY(timer.elapsed() < checked.limits.TimeoutMs / 2);
    QVERIFY(checked.outcome.Cancelled);
    QCOMPARE(checked.Broken(), QStringList());
}

void TestWebLinks::ThePlainScanAsksNothing()
{
    WebTestServer quiet;
    QVERIFY2(quiet.IsRunning(), qPrintable(quiet.Error()));
    Checked checked;
    checked.Run({"site/www/index.html: <a href=\"" + quiet.Address("/missing/a") + "\">"}, false);
    QCOMPARE(checked.Broken(), QStringList());
    QTest::qWait(200);
    QCOMPARE(quiet.Requests(), QStringList());
}

QTEST_GUILESS_MAIN(TestWebLinks)
#include "tst_web_links.moc"
