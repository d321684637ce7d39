// The link rules, each shown on a small real site scanned from its index
// page: which files are selected and which links are reported, in order.
#include "RecordingPrompts.h"
#include "SiteFixture.h"

#include <QTest>

namespace {

struct ScanResult {
    QStringList files;
    QStringList broken;
};

ScanResult ScanFromIndex(const SiteFixture& site, bool pageRelative = false)
{
    TSiteLists lists(site.Style());
    RecordingScanWindow window;
    RecordingPrompts prompts;
    TSiteScanContext context{
        lists, window, prompts, nullptr, QStringLiteral("T"), site.Local("site"), site.Local("site/www")};
    context.PageRelative = pageRelative;
    ScanSite(context);
    return {site.Relative(lists.LocalFiles()), site.Relative(lists.BrokenLinks())};
}

void AddColumns()
{
    QTest::addColumn<QStringList>("site");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("broken");
}

} // namespace

class TestLinkRules : public QObject {
    Q_OBJECT

private slots:
    void PosixRules_data();
    void PosixRules();
    void WindowsRules_data();
    void WindowsRules();
    void CommentsEndWithTheirFile();
    void PageRelative_data();
    void PageRelative();
};

void TestLinkRules::PosixRules_data()
{
    AddColumns();
    const QString index = QStringLiteral("site/www/index.html: ");

    QTest::newRow("only lower-case scanned extensions are read")
        << QStringList{index + "<a href=\"PAGE.HTML\"><a href=\"b.shtml\"><a href=\"c.phtml\">",
                       "site/www/PAGE.HTML: <a href=\"gone1.html\">",
                       "site/www/b.shtml: <a href=\"gone2.html\">",
                       "site/www/c.phtml: <a href=\"gone3.html\">"}
        << QStringList{"site/www/index.html", "site/www/PAGE.HTML", "site/www/b.shtml", "site/www/c.phtml"}
        << QStringList{};

    QTest::newRow("relative values start at Local Home, whatever the page's folder")
        << QStringList{index + "<a href=\"sub/a.html\">",
                       "site/www/sub/a.html: <a href=\"b.html\">\n<a href=\"c.html\">",
                       "site/www/sub/b.html: x", "site/www/c.html: x"}
        << QStringList{"site/www/index.html", "site/www/sub/a.html", "site/www/c.html"}
        << QStringList{"site/www/sub/a.html", "1:file not found:href=\"b.html\""};

    QTest::newRow("a leading slash starts at Local Root")
        << QStringList{index + "<link href=\"/shared/s.css\"><a href=\"/page.html\">", "site/shared/s.css: x",
                       "site/www/page.html: x"}
        << QStringList{"site/www/index.html", "site/shared/s.css"}
        << QStringList{"site/www/index.html", "1:file not found:href=\"/page.html\""};

    QTest::newRow("// ends the line in pages and PHP")
        << QStringList{index + "<a href=\"http://example.test/\">x</a> <a href=\"after.html\">\n"
                               "<a href=\"p.php\">",
                       "site/www/after.html: x",
                       "site/www/p.php: <?php include(\"a.php\"); // include(\"b.php\");",
                       "site/www/a.php: x", "site/www/b.php: x"}
        << QStringList{"site/www/index.html", "site/www/p.php", "site/www/a.php"} << QStringList{};

    QTest::newRow("folders and empty values name no file")
        << QStringList{index + "<a href=\"about/\"><a href=\"/\"><a href=\"\">",
                       "site/www/about/index.html: x"}
        << QStringList{"site/www/index.html"}
        << QStringList{"site/www/index.html", "1:file not found:href=\"about/\"",
                       "site/www/index.html", "1:file not found:href=\"/\"",
                       "site/www/index.html", "1:file not found:href=\"\""};

    QTest::newRow("the query string goes, the fragment stays")
        << QStringList{index + "<a href=\"page.html?x=1\">\n<a href=\"page.html#part\">",
                       "site/www/page.html: x"}
        << QStringList{"site/www/index.html", "site/www/page.html"}
        << QStringList{"site/www/index.html", "2:file not found:href=\"page.html#part\""};

    QTest::newRow("url() starts at its style sheet's folder")
        << QStringList{index + "<link href='css/s.css'>",
                       "site/www/css/s.css: a { background: url(\"../img/a.png\") }\n"
                       "b { background: url('./b.png') }\nc { background: url(\"img.png?v=2\") }\n"
                       "d { background: url(plain.png) }\n"
                       "@import url(\"https://fonts.example.test/css\"); e { background: "
                       "url(\"//cdn.test/x.png\") }",
                       "site/www/img/a.png: x",
                       "site/www/css/b.png: x",
                       "site/www/css/img.png: x",
                       "site/www/css/plain.png: x"}
        << QStringList{"site/www/index.html", "site/www/css/s.css", "site/www/img/a.png",
                       "site/www/css/b.png", "site/www/css/img.png"}
        << QStringList{};

    QTest::newRow("one file under one path however it is written")
        << QStringList{index +
                           "<img src=\"./img/a.png\"><img src=\"img/../img/a.png\"><img src=\"img//a.png\">",
                       "site/www/img/a.png: x"}
        << QStringList{"site/www/index.html", "site/www/img/a.png"} << QStringList{};

    QTest::newRow("PHP includes")
        << QStringList{"site/www/index.html: <a href='p.php'>",
                       "site/www/p.php: <?php include_once(\"once.php\"); require_once('ronce.php');\n"
                       "include \"inc.php\"; require ('req.php'); include('call.php'); "
                       "require(\"rcall.php\");",
                       "site/www/once.php: x",
                       "site/www/ronce.php: x",
                       "site/www/inc.php: x",
                       "site/www/req.php: x",
                       "site/www/call.php: x",
                       "site/www/rcall.php: x"}
        << QStringList{"site/www/index.html", "site/www/p.php",   "site/www/call.php",
                       "site/www/rcall.php",  "site/www/inc.php", "site/www/req.php"}
        << QStringList{};

    QTest::newRow("a value needs both quotes on its line")
        << QStringList{index + "<a href=plain.html>\n<a href=\"open.html\nx\">\n<a href=\"last.html\"",
                       "site/www/plain.html: x", "site/www/open.html: x", "site/www/last.html: x"}
        << QStringList{"site/www/index.html", "site/www/last.html"} << QStringList{};

    QTest::newRow("ids")
        << QStringList{index +
                       "<h1 ID=\"Top\">\n<a name=\"old\"></a>\n<div data-id=\"d1\">\n"
                       "<a href=\"#TOP\"><a href=\"#old\"><a href=\"#d1\"><a href=\"#\"><a href=\"#gone\">"}
        << QStringList{"site/www/index.html"}
        << QStringList{"site/www/index.html", "4:id not found:href=\"#old\"",
                       "site/www/index.html", "4:id not found:href=\"#\"",
                       "site/www/index.html", "4:id not found:href=\"#gone\""};

    QTest::newRow("an empty id matches href=\"#\"") << QStringList{index + "<a href=\"#\">\n<p id=\"\">"}
                                                    << QStringList{"site/www/index.html"} << QStringList{};

    QTest::newRow("dead links by line, then by token, then along the line")
        << QStringList{index + "<a href=\"dead.html\">\n<img src=\"x.png\"><a href=\"dead.html\">\n"
                               "<a href=\"dead.html\"><a href=\"more.html\">"}
        << QStringList{"site/www/index.html"}
        << QStringList{"site/www/index.html", "1:file not found:href=\"dead.html\"",
                       "site/www/index.html", "2:file not found:href=\"dead.html\"",
                       "site/www/index.html", "2:file not found:src=\"x.png\"",
                       "site/www/index.html", "3:file not found:href=\"dead.html\"",
                       "site/www/index.html", "3:file not found:href=\"more.html\""};

    QTest::newRow("block comments over several lines")
        << QStringList{index +
                           "<!-- <a href=\"c1.html\">\n<a href=\"c2.html\">\n--> <a href=\"after.html\">\n"
                           "<p>x</p> <!-- <a href=\"c3.html\"> --> <a href='same.html'>",
                       "site/www/c1.html: x", "site/www/c2.html: x", "site/www/c3.html: x",
                       "site/www/same.html: x"}
        << QStringList{"site/www/index.html", "site/www/same.html"}
        << QStringList{"site/www/index.html", "3:file not found:href=\"after.html\""};

    QTest::newRow("a comment closes only after it opens")
        << QStringList{index + "<a href='a.html'> --> <a href='b.html'> <!-- <a href='c.html'>\n<a "
                               "href='d.html'> -->",
                       "site/www/a.html: x", "site/www/b.html: x", "site/www/c.html: x", "site/www/d.html: x"}
        << QStringList{"site/www/index.html", "site/www/a.html", "site/www/b.html"} << QStringList{};

    QTest::newRow("style sheets have block comments only, text files none")
        << QStringList{index + "<link href=\"s.css\"><a href=\"t.txt\">",
                       "site/www/s.css: /* url(\"c.png\") */ a { background: url(\"a.png\") } // "
                       "url(\"b.png\")",
                       "site/www/t.txt: <!-- see href=\"t.html\" --> // src=\"u.png\"",
                       "site/www/a.png: x",
                       "site/www/b.png: x",
                       "site/www/c.png: x",
                       "site/www/t.html: x",
                       "site/www/u.png: x"}
        << QStringList{"site/www/index.html", "site/www/s.css",  "site/www/t.txt", "site/www/a.png",
                       "site/www/b.png",      "site/www/t.html", "site/www/u.png"}
        << QStringList{};

    QTest::newRow("letter case is kept and must match")
        << QStringList{index + "<img src='Images/Logo.png'>\n<img src='images/logo.png'>",
                       "site/www/Images/Logo.png: x"}
        << QStringList{"site/www/index.html", "site/www/Images/Logo.png"}
        << QStringList{"site/www/index.html", "2:file not found:src='images/logo.png'"};

    QTest::newRow("escapes are decoded before the file is looked up")
        << QStringList{index +
                           "<a href=\"with%20space.html\"><img src=\"caf%C3%A9.png\"><a href=\"100%zz.html\">"
                           "<a href=\"50%.html\">\n<a href=\"%2e%2e/up.html\"><a href=\"../up.html\">"
                           "<a href=\".%2E/up.html\">\n<a href=\"sub%2Fb.html\"><a href=\"bad%FF.html\">"
                           "<a href=\"nul%00.html\"><a href=\"q%3Fx=1\">",
                       "site/www/with space.html: x",
                       "site/www/café.png: x",
                       "site/www/100%zz.html: x",
                       "site/www/50%.html: x",
                       "site/up.html: x",
                       "site/www/sub/b.html: x",
                       "site/www/q: x"} // On a line, href= values come before src= values.
        << QStringList{"site/www/index.html", "site/www/with space.html", "site/www/100%zz.html",
                       "site/www/50%.html",   "site/www/café.png",        "site/up.html"}
        << QStringList{"site/www/index.html", "3:file not found:href=\"sub%2Fb.html\"",
                       "site/www/index.html", "3:file not found:href=\"bad%FF.html\"",
                       "site/www/index.html", "3:file not found:href=\"nul%00.html\"",
                       "site/www/index.html", "3:file not found:href=\"q%3Fx=1\""};

    QTest::newRow("a long line is read to its end")
        << QStringList{index + "<p>" + QString(5000, QLatin1Char('x')) + "</p><a href=\"far.html\">",
                       "site/www/far.html: x"}
        << QStringList{"site/www/index.html", "site/www/far.html"} << QStringList{};
}

void TestLinkRules::PosixRules()
{
    QFETCH(QStringList, site);
    QFETCH(QStringList, files);
    QFETCH(QStringList, broken);
    SiteFixture fixture(PathStyle::Posix());
    fixture.Write(site);
    const ScanResult result = ScanFromIndex(fixture);
    QCOMPARE(result.files, files);
    QCOMPARE(result.broken, broken);
}

void TestLinkRules::WindowsRules_data()
{
    AddColumns();
    QTest::newRow("values are lowered and found without regard to case")
        << QStringList{"site/www/index.html: <img src='Images/Logo.png'><img src=\"IMAGES/LOGO.PNG\">\n"
                       "<img src='Images/Missing.png'>",
                       "site/www/Images/Logo.png: x"}
        << QStringList{"site/www/index.html", "site/www/images/logo.png"}
        << QStringList{"site/www/index.html", "2:file not found:src='images/missing.png'"};
    QTest::newRow("pages found in another case are read")
        << QStringList{"site/www/index.html: <a href=\"Sub/Page.HTML\">",
                       "site/www/sub/page.html: <a href=\"gone.htm\">"}
        << QStringList{"site/www/index.html", "site/www/sub/page.html"}
        << QStringList{"site/www/sub/page.html", "1:file not found:href=\"gone.htm\""};
    QTest::newRow("escapes are decoded, escaped letters lowered")
        << QStringList{"site/www/index.html: <img src=\"With%20Space.PNG\"><img src=\"%41.png\">"
                       "<a href=\"%2E%2E/Up.html\">\n<a href=\"sub%5Cb.html\"><a href=\"x%3Ay.html\">",
                       "site/www/With Space.png: x", "site/www/A.png: x", "site/up.html: x",
                       "site/www/sub/b.html: x"}
        << QStringList{"site/www/index.html", "site/up.html", "site/www/with space.png", "site/www/a.png"}
        << QStringList{"site/www/index.html", "2:file not found:href=\"sub%5cb.html\"", "site/www/index.html",
                       "2:file not found:href=\"x%3ay.html\""};
    QTest::newRow("a leading slash starts at Local Root")
        << QStringList{"site/www/index.html: <link href=\"/Shared/S.css\">", "site/shared/s.css: x"}
        << QStringList{"site/www/index.html", "site/shared/s.css"} << QStringList{};
}

void TestLinkRules::WindowsRules()
{
    QFETCH(QStringList, site);
    QFETCH(QStringList, files);
    QFETCH(QStringList, broken);
    SiteFixture fixture(PathStyle::Windows());
    fixture.Write(site);
    const ScanResult result = ScanFromIndex(fixture);
    QCOMPARE(result.files, files);
    QCOMPARE(result.broken, broken);
}

// A page that ends inside a block comment does not hide the links of the
// file read after it.
void TestLinkRules::CommentsEndWithTheirFile()
{
    SiteFixture fixture;
    fixture.Write({"site/www/index.html: <a href=\"a.html\"><a href=\"b.php\">", "site/www/a.html: <!-- open",
                   "site/www/b.php: <?php include('c.php');", "site/www/c.php: x"});
    QCOMPARE(ScanFromIndex(fixture).files,
             (QStringList{"site/www/index.html", "site/www/a.html", "site/www/b.php", "site/www/c.php"}));
}

void TestLinkRules::PageRelative_data()
{
    // Each row scanned both ways: links from Local Home (the default) and
    // links relative to their page.
    QTest::addColumn<QStringList>("site");
    QTest::addColumn<QStringList>("filesOff");
    QTest::addColumn<QStringList>("brokenOff");
    QTest::addColumn<QStringList>("filesOn");
    QTest::addColumn<QStringList>("brokenOn");
    const QString index = QStringLiteral("site/www/index.html: ");
    const QStringList none;

    QTest::newRow("a sibling in a sub-folder")
        << QStringList{index + "<a href=\"docs/a.html\">", "site/www/docs/a.html: <a href=\"b.html\">",
                       "site/www/docs/b.html: x"}
        << QStringList{"site/www/index.html", "site/www/docs/a.html"}
        << QStringList{"site/www/docs/a.html", "1:file not found:href=\"b.html\""}
        << QStringList{"site/www/index.html", "site/www/docs/a.html", "site/www/docs/b.html"} << none;
    QTest::newRow("a climb out of the sub-folder")
        << QStringList{index + "<a href=\"docs/a.html\">", "site/www/docs/a.html: <img src=\"../img/x.png\">",
                       "site/www/img/x.png: x"}
        << QStringList{"site/www/index.html", "site/www/docs/a.html"}
        << QStringList{"site/www/docs/a.html", "1:file not found:src=\"../img/x.png\""}
        << QStringList{"site/www/index.html", "site/www/docs/a.html", "site/www/img/x.png"} << none;
    QTest::newRow("a leading slash: Local Root, or Local Home as the web root")
        << QStringList{index + "<link href=\"/s.css\">", "site/s.css: x", "site/www/s.css: x"}
        << QStringList{"site/www/index.html", "site/s.css"} << none
        << QStringList{"site/www/index.html", "site/www/s.css"} << none;
    QTest::newRow("one value, two folders, two files")
        << QStringList{index + "<a href=\"a.html\"><a href=\"docs/x.html\">",
                       "site/www/docs/x.html: <a href=\"a.html\">", "site/www/a.html: x",
                       "site/www/docs/a.html: x"}
        << QStringList{"site/www/index.html", "site/www/a.html", "site/www/docs/x.html"} << none
        << QStringList{"site/www/index.html", "site/www/a.html", "site/www/docs/x.html",
                       "site/www/docs/a.html"}
        << none;
    QTest::newRow("include stays with Local Home, url() with its file")
        << QStringList{index + "<a href=\"docs/p.php\"><link href=\"docs/s.css\">",
                       "site/www/docs/p.php: <?php include(\"lib.php\"); ?>",
                       "site/www/lib.php: x",
                       "site/www/docs/lib.php: x",
                       "site/www/docs/s.css: a { background: url(\"i.png\") }",
                       "site/www/docs/i.png: x"}
        << QStringList{"site/www/index.html", "site/www/docs/p.php", "site/www/docs/s.css",
                       "site/www/lib.php", "site/www/docs/i.png"}
        << none
        << QStringList{"site/www/index.html", "site/www/docs/p.php", "site/www/docs/s.css",
                       "site/www/lib.php", "site/www/docs/i.png"}
        << none;
}

void TestLinkRules::PageRelative()
{
    QFETCH(QStringList, site);
    QFETCH(QStringList, filesOff);
    QFETCH(QStringList, brokenOff);
    QFETCH(QStringList, filesOn);
    QFETCH(QStringList, brokenOn);
    SiteFixture fixture;
    fixture.Write(site);
    const ScanResult off = ScanFromIndex(fixture, false);
    QCOMPARE(off.files, filesOff);
    QCOMPARE(off.broken, brokenOff);
    const ScanResult on = ScanFromIndex(fixture, true);
    QCOMPARE(on.files, filesOn);
    QCOMPARE(on.broken, brokenOn);
}

QTEST_GUILESS_MAIN(TestLinkRules)
#include "tst_link_rules.moc"
