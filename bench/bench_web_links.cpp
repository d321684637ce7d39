// Web link check speed: a generated site whose pages hold 500 different web
// addresses on local test servers that answer each request after 50 ms,
// checked with tarnwell-cli scan --web and, when it is installed, with
// linkinator (npm install -g linkinator) on the same pages. Run once with
// every address on one server and once spread over several: a server is
// asked at most two at a time.
//   bench_web_links [--addresses N] [--hosts N] [--delay-ms N]
#include "WebTestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int PerPage = 10;

int Option(const QStringList& args, const QString& name, int fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? qMax(1, args.at(at + 1).toInt()) : fallback;
}

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Every page holds PerPage addresses, one in fifty of them dead; the index
// links every page. Returns the number of dead addresses.
int GenerateSite(const QString& home, const std::vector<std::unique_ptr<WebTestServer>>& servers,
                 int addresses)
{
    int dead = 0;
    QByteArray index = "<!DOCTYPE html>\n<html><body>\n";
    const int pages = (addresses + PerPage - 1) / PerPage;
    for (int p = 0; p < pages; ++p) {
        const QByteArray name = "p" + QByteArray::number(p) + ".html";
        index += "<a href=\"" + name + "\">Page</a>\n";
        QByteArray page = "<!DOCTYPE html>\n<html><body>\n";
        for (int k = p * PerPage; k < addresses && k < (p + 1) * PerPage; ++k) {
            const bool gone = k % 50 == 7;
            dead += gone ? 1 : 0;
            const QString path =
                (gone ? QStringLiteral("/missing/") : QStringLiteral("/ok/")) + QString::number(k);
            page += "<p><a href=\"" + servers[size_t(k) % servers.size()]->Address(path).toUtf8() +
                    "\">x</a></p>\n";
        }
        Write(home + "/" + QString::fromLatin1(name), page + "</body></html>\n");
    }
    Write(home + "/index.html", index + "</body></html>\n");
    return dead;
}

struct Timed {
    double seconds = 0;
    int exitCode = -1;
    QByteArray out;
};

Timed RunTimed(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.closeWriteChannel();
    if (!process.waitForStarted(10000))
        return {};
    process.waitForFinished(-1);
    Timed timed;
    timed.seconds = double(timer.nsecsElapsed()) / 1e9;
    timed.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    timed.out = process.readAllStandardOutput();
    return timed;
}

void RunLayout(int hosts, int addresses, int delayMs)
{
    std::vector<std::unique_ptr<WebTestServer>> servers;
    for (int h = 0; h < hosts; ++h) {
        servers.push_back(std::make_unique<WebTestServer>(delayMs));
        if (!servers.back()->IsRunning())
            qFatal("no test server: %s", qPrintable(servers.back()->Error()));
    }
    QTemporaryDir temporary;
    const QString root = temporary.filePath(QStringLiteral("site"));
    const QString home = root + QStringLiteral("/www");
    const int dead = GenerateSite(home, servers, addresses);
    std::printf("%d addresses on %d server(s), %d dead, each answer after %d ms\n", addresses, hosts, dead,
                delayMs);

    const Timed scan =
        RunTimed(QStringLiteral(TARNWELL_CLI), {"scan", "--web", "--local-root", root, "--local-home", home});
    const qsizetype reported = scan.out.count("web link failed");
    std::printf("  tarnwell-cli scan --web: %.3f s, exit %d, %lld dead web links%s\n", scan.seconds,
                scan.exitCode, static_cast<long long>(reported),
                reported == dead ? "" : "  << UNEXPECTED COUNT");

    const QString other = QStandardPaths::findExecutable(QStringLiteral("linkinator"));
    if (other.isEmpty()) {
        std::printf("  linkinator: not installed, skipped (npm install -g linkinator)\n");
        return;
    }
    const Timed theirs = RunTimed(other, {home, "--recurse", "--format", "csv"});
    const qsizetype broken = theirs.out.count(",404,");
    std::printf("  linkinator: %.3f s, exit %d, %lld links answered 404\n", theirs.seconds, theirs.exitCode,
                static_cast<long long>(broken));
    std::printf("  ratio: tarnwell-cli takes %.2f times linkinator's time\n", scan.seconds / theirs.seconds);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int addresses = Option(args, QStringLiteral("--addresses"), 500);
    const int hosts = Option(args, QStringLiteral("--hosts"), 25);
    const int delayMs = Option(args, QStringLiteral("--delay-ms"), 50);
    RunLayout(1, addresses, delayMs);
    if (hosts > 1)
        RunLayout(hosts, addresses, delayMs);
    return 0;
}
