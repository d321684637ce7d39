// Times the site scan on a synthetic site of 10,000 pages: tarnwell-cli scan
// --json against Debian's linkchecker on the same files, when it is
// installed. Run from a Release build; writes only below a temporary folder.
// --dead-links N adds pages holding N dead links in all (1,000 a page, each
// a different missing file) and prints the scan's peak memory as well.
//
//   bench_scan [--pages N] [--dead-links N] [--keep DIR]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int Images = 200;
constexpr int StyleSheets = 20;

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray PageName(int i)
{
    return QByteArray("p") + QByteArray::number(i).rightJustified(5, '0') + ".html";
}

// Pages all live in the home folder, so a relative link means the same file
// to a browser (from the page's folder) and to the scan (from Local Home).
// Every page links to the next, so the index reaches all of them; one page
// in a hundred holds a dead link and a missing id, one in ten links a PHP
// page whose includes the scan follows.
struct Counts {
    int deadLinks = 0;
    int files = 0;
};

Counts GenerateSite(const QString& root, int pages, int deadLinks)
{
    QRandomGenerator random(20240601);
    Counts counts;
    QSet<int> imagesUsed;
    const QString home = root + QStringLiteral("/www");
    QByteArray index = "<!DOCTYPE html>\n<html><head><title>Home</title>\n"
                       "<link href=\"css/style0.css\" rel=\"stylesheet\"></head>\n<body id=\"top\">\n";
    for (int i = 0; i < 50 && i < pages; ++i)
        index += "<a href=\"" + PageName(i) + "\">Page " + QByteArray::number(i) + "</a><br>\n";
    constexpr int deadPerPage = 1000;
    const int deadPages = (deadLinks + deadPerPage - 1) / deadPerPage;
    for (int d = 0; d < deadPages; ++d) {
        const QByteArray name = "dead" + QByteArray::number(d) + ".html";
        index += "<a href=\"" + name + "\">Dead " + QByteArray::number(d) + "</a><br>\n";
        QByteArray page = "<!DOCTYPE html>\n<html><body>\n";
        for (int k = 0; k < deadPerPage && d * deadPerPage + k < deadLinks; ++k)
            page += "<p><a href=\"gone" + QByteArray::number(d) + "-" + QByteArray::number(k) +
                    ".html\">x</a></p>\n";
        page += "</body></html>\n";
        Write(home + "/" + QString::fromLatin1(name), page);
        counts.deadLinks += qMin(deadPerPage, deadLinks - d * deadPerPage);
        ++counts.files;
    }
    index += "</body></html>\n";
    Write(home + "/index.html", index);

    for (int i = 0; i < pages; ++i) {
        QByteArray page = "<!DOCTYPE html>\n<html><head><title>Page " + QByteArray::number(i) + "</title>\n";
        page +=
            "<link href=\"css/style" + QByteArray::number(i % StyleSheets) + ".css\" rel=\"stylesheet\">\n";
        page += "<script src=\"js/app.js\"></script>\n</head><body>\n<h1 id=\"top\">Page " +
                QByteArray::number(i) + "</h1>\n";
        page += "<nav><a href=\"index.html\">Home</a> <a href=\"" + PageName((i + 1) % pages) +
                "\">Next</a> <a href=\"" + PageName((i + pages - 1) % pages) + "\">Previous</a></nav>\n";
        page += "<!-- navigation ends\n     <a href=\"old-nav.html\">old</a>\n-->\n";
        for (int s = 1; s <= 8; ++s) {
            page +=
                "<h2 id=\"sec" + QByteArray::number(s) + "\">Section " + QByteArray::number(s) + "</h2>\n";
            page += "<p>Some text about this part of the product, with a link to <a href=\"" +
                    PageName(int(random.bounded(pages))) + "\">a related page</a> and a picture ";
            const int image = int(random.bounded(Images));
            imagesUsed.insert(image);
            page += "<img src=\"img/i" + QByteArray::number(image) + ".png\" alt=\"\">.</p>\n";
        }
        page += "<p><a href=\"#sec3\">Section 3</a> <a href=\"#top\">Top</a></p>\n";
        if (i % 10 == 0)
            page += "<p><a href=\"tools" + QByteArray::number(i / 10) + ".php\">Tools</a></p>\n";
        if (i % 100 == 7) {
            page += "<p><a href=\"missing" + QByteArray::number(i) +
                    ".html\">Gone</a> <a href=\"#nowhere\">x</a></p>\n";
            counts.deadLinks += 2;
        }
        page += "</body></html>\n";
        Write(home + "/" + QString::fromLatin1(PageName(i)), page);
        if (i % 10 == 0) {
            Write(home + "/tools" + QString::number(i / 10) + ".php",
                  "<?php include(\"inc/header.php\"); require 'inc/lib.php'; ?>\n<p>Tools</p>\n");
        }
    }
    Write(home + "/inc/header.php", "<?php // header\n$title = 'Tools'; ?>\n");
    Write(home + "/inc/lib.php", "<?php\n/* helpers */\nfunction f() { return 1; }\n");
    Write(home + "/js/app.js", "// app\n");
    for (int s = 0; s < StyleSheets; ++s) {
        const bool reached = s < pages;
        if (reached)
            imagesUsed.insert(s);
        QByteArray css = "/* style " + QByteArray::number(s) + " */\nbody { background: url(\"../img/i" +
                         QByteArray::number(s) + ".png\") }\n";
        if (s == 3) {
            css += "h1 { background: url(\"../img/none.png\") }\n";
            counts.deadLinks += reached ? 1 : 0;
        }
        Write(home + "/css/style" + QString::number(s) + ".css", css);
    }
    for (int k = 0; k < Images; ++k)
        Write(home + "/img/i" + QString::number(k) + ".png", QByteArray(64, 'x'));
    // Files nothing links to: listed, never selected.
    for (int k = 0; k < 100; ++k)
        Write(root + "/drafts/d" + QString::number(k) + ".html", "<a href=\"x.html\">\n");
    const int toolPages = (pages + 9) / 10;
    counts.files += 1 + pages + toolPages + 2 + 1 + qMin(pages, StyleSheets) + int(imagesUsed.size());
    return counts;
}

struct Timed {
    double seconds = 0;
    // The largest resident size of any child so far. A child's count starts
    // from this program's own size when it was forked, so the lists are
    // read from a file, after the runs, never held here while one starts.
    long peakKb = 0;
    double cpuSeconds = 0; // the child's user and system time, all threads
    int exitCode = -1;
    QByteArray out;
};

// Processor time of the children this process has waited for: on a machine
// busy with other work it shows what each program itself costs.
double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Timed RunTimed(const QString& program, const QStringList& arguments, const QString& outFile = QString())
{
    QProcess process;
    if (!outFile.isEmpty())
        process.setStandardOutputFile(outFile);
    const double cpuBefore = ChildrenCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.closeWriteChannel();
    if (!process.waitForStarted(10000)) {
        std::printf("cannot start %s\n", qPrintable(program));
        return {};
    }
    process.waitForFinished(-1);
    Timed timed;
    timed.seconds = double(timer.nsecsElapsed()) / 1e9;
    timed.cpuSeconds = ChildrenCpuSeconds() - cpuBefore;
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    timed.peakKb = usage.ru_maxrss;
    timed.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    timed.out = process.readAllStandardOutput();
    return timed;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int pages = 10000;
    int deadLinks = 0;
    QString keep;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--pages"))
            pages = qMax(2, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--dead-links"))
            deadLinks = qMax(0, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--keep"))
            keep = args[i + 1];
    }
    QTemporaryDir temporary;
    // linkchecker started as root drops to user nobody, who must be able to
    // read the site.
    QFile::setPermissions(temporary.path(), QFile::permissions(temporary.path()) | QFile::ReadOther |
                                                QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    const QString base = keep.isEmpty() ? temporary.path() : keep;
    const QString root = base + QStringLiteral("/site");
    QDir(root).removeRecursively();

    QElapsedTimer timer;
    timer.start();
    const Counts counts = GenerateSite(root, pages, deadLinks);
    std::printf("site: %d pages, %d files reached, %d dead links, made in %.1f s (%s)\n", pages, counts.files,
                counts.deadLinks, double(timer.elapsed()) / 1000.0, qPrintable(root));

    const QString cli = QStringLiteral(TARNWELL_CLI);
    const QStringList scanArgs{"scan", "--json", "--local-root", root, "--local-home", root + "/www"};
    if (deadLinks > 0) {
        // First, while it is the only child: the children's peak is the largest so far.
        QStringList plainArgs = scanArgs;
        plainArgs.removeOne(QStringLiteral("--json"));
        const Timed plain = RunTimed(cli, plainArgs, QProcess::nullDevice());
        std::printf("tarnwell-cli scan without --json: %.3f s, peak memory %.0f MB, exit %d\n", plain.seconds,
                    double(plain.peakKb) / 1024.0, plain.exitCode);
    }
    Timed best;
    Timed scan;
    for (int run = 0; run < 3; ++run) {
        scan = RunTimed(cli, scanArgs, base + QStringLiteral("/scan.json"));
        if (run == 0 || scan.seconds < best.seconds)
            best = scan;
    }
    QFile json(base + QStringLiteral("/scan.json"));
    if (!json.open(QIODevice::ReadOnly))
        qFatal("no output of the scan");
    const QJsonObject result = QJsonDocument::fromJson(json.readAll()).object();
    const qsizetype files = result.value(QStringLiteral("files")).toArray().size();
    const qsizetype broken = result.value(QStringLiteral("broken")).toArray().size();
    std::printf(
        "tarnwell-cli scan: %.3f s (best of 3; cpu %.3f s), peak memory %.0f MB, exit %d, %lld files, "
        "%lld broken links%s\n",
        best.seconds, best.cpuSeconds, double(scan.peakKb) / 1024.0, scan.exitCode,
        static_cast<long long>(files), static_cast<long long>(broken),
        files == counts.files && broken == counts.deadLinks ? "" : "  << UNEXPECTED COUNTS");

    const QString checker = QStandardPaths::findExecutable(QStringLiteral("linkchecker"));
    if (checker.isEmpty()) {
        std::printf("linkchecker: not installed, skipped (apt-get install linkchecker)\n");
        return 0;
    }
    const Timed other = RunTimed(checker, {"--no-warnings", "--no-status", root + "/www/index.html"});
    // Its closing line says how much it checked: "That's it. N links in M URLs checked. ..."
    const QList<QByteArray> lines = other.out.trimmed().split('\n');
    QByteArray summary;
    for (const QByteArray& line : lines) {
        if (line.startsWith("That's it."))
            summary = line;
    }
    std::printf("linkchecker: %.3f s (cpu %.3f s), exit %d: %s\n", other.seconds, other.cpuSeconds,
                other.exitCode, summary.constData());
    std::printf("ratio: tarnwell-cli is %.1f times faster (cpu %.1f times)\n", other.seconds / best.seconds,
                other.cpuSeconds / best.cpuSeconds);
    return 0;
}
