// The links of one file followed by the site scan. The first byte picks the
// kind of file (its comment rules) and the path style; the rest is the file.
// It lies in a small site whose other files it may reach.
#include "FuzzSupport.h"
#include "TestFolder.h"
#include "site/LinkScanner.h"
#include "site/ScanWindow.h"
#include "site/SiteLists.h"

#include <QDir>
#include <QFile>

namespace {

const char* const FileNames[] = {"index.html", "index.php", "index.css", "index.txt"};

struct Site {
    QString Root; // Local Root
    QString Home; // Local Home

    Site() : Root(FuzzFolder() + QStringLiteral("/site")), Home(Root + QStringLiteral("/www"))
    {
        QDir().mkpath(Home + QStringLiteral("/img"));
        QDir().mkpath(Home + QStringLiteral("/css"));
        WriteFileBytes(Home + QStringLiteral("/page.html"), "<a href=\"img/a.png\">\n<p id=\"top\">");
        WriteFileBytes(Home + QStringLiteral("/img/a.png"), "x");
        WriteFileBytes(Home + QStringLiteral("/css/s.css"), "a { background: url(\"../img/a.png\") }");
        WriteFileBytes(Root + QStringLiteral("/shared.php"), "<?php include('www/page.html'); ?>");
    }
};

QString InStyle(QString path, const PathStyle& style)
{
    if (style.IsWindows())
        path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const Site site;
    const PathStyle style = (data[0] & 4) ? PathStyle::Windows() : PathStyle::Posix();
    // Only one file of the four is there, so that each input is read alone.
    const int picked = data[0] & 3;
    for (int i = 0; i < 4; ++i)
        QFile::remove(site.Home + QLatin1Char('/') + QLatin1String(FileNames[i]));
    const QString file = site.Home + QLatin1Char('/') + QLatin1String(FileNames[picked]);
    FUZZ_CHECK(WriteFileBytes(file, FuzzBytes(data + 1, size - 1)));

    TSiteLists lists(style);
    lists.AddLocalFile(InStyle(file, style));
    SilentScanWindow window;
    TLinkScanner scanner(lists, {InStyle(site.Home, style), InStyle(site.Root, style)}, window);
    scanner.ScanLinks(0);
    // lbxBrokenLinks holds pairs: the file, then the detail.
    FUZZ_CHECK(lists.BrokenLinks().size() % 2 == 0);
    return 0;
}
