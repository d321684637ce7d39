// tarnwell-cli scan run as a real process: over a saved project of the
// settings file and over two folders, its output, exit codes and the
// settings file left as it was.
#include "ProgramRun.h"
#include "RecordingPrompts.h"
#include "SiteFixture.h"
#include "TarnwellVersion.h"
#include "WebTestServer.h"
#include "projects/ProjectStore.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

Run RunCli(const QStringList& arguments)
{
    return RunProgram(QStringLiteral(TARNWELL_CLI), arguments);
}

QString SettingsFile()
{
    const TStoreNames names = StoreNames();
    return QDir(qEnvironmentVariable("XDG_DATA_HOME"))
        .filePath(names.Company + "/" + names.Product + "/" + names.FileName);
}

} // namespace

class TestCliScan : public QObject {
    Q_OBJECT

private slots:
    void ScanOutcomes_data();
    void ScanOutcomes();
    void SavedProjectIsScannedAndLeftAlone();
    void JsonHoldsTheFourLists();
    void VersionAndHelp();
};

void TestCliScan::ScanOutcomes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QStringList folders{"scan", "--local-root", "<tmp>/site", "--local-home", "<tmp>/site/www"};
    QTest::newRow("broken links") << folders << 1
                                  << "Broken links:\n  <tmp>/site/www/index.html\n"
                                     "    2:file not found:href=\"gone.html\"\n"
                                  << "";
    QTest::newRow("no broken links")
        << QStringList{"scan", "--local-home", "<tmp>/site/clean", "--local-root", "<tmp>/site"} << 0
        << "Files:\n  <tmp>/site/clean/index.html\nFolders:\n  <tmp>/site/clean\nNo broken links detected\n"
        << "";
    // The home folder is there: the scan goes on with what it has, as in the window.
    QTest::newRow("a home folder without an index page: the box goes to standard error")
        << QStringList{"scan", "--local-root", "<tmp>/site", "--local-home", "<tmp>/site/img"} << 0
        << "Files:\n"
        << "Tarnwell: There is no index page in your home folder\n";
    QTest::newRow("a missing home folder lists nothing")
        << QStringList{"scan", "--local-root", "<tmp>/site", "--local-home", "<tmp>/site/none"} << 2 << ""
        << "Tarnwell: Your local home folder <tmp>/site/none does not exist\n"
           "tarnwell-cli: the Local Home folder <tmp>/site/none does not exist\n";
    QTest::newRow("links from Local Home")
        << QStringList{"scan", "--local-root", "<tmp>/site", "--local-home", "<tmp>/site/rel"} << 1
        << "    1:file not found:href=\"b.html\"\n"
        << "";
    QTest::newRow("--page-relative: links from their page")
        << QStringList{"scan",       "--page-relative", "--local-root",
                       "<tmp>/site", "--local-home",    "<tmp>/site/rel"}
        << 0 << "  <tmp>/site/rel/docs/b.html\nFolders:"
        << "";
    QTest::newRow("--page-relative with a project")
        << QStringList{"scan", "Shop", "--page-relative"} << 2 << ""
        << "--page-relative goes with the two folders; a project follows its own option";
    QTest::newRow("--web reports a dead web link")
        << QStringList{"scan", "--web", "--local-root", "<tmp>/site", "--local-home", "<tmp>/site/web"} << 1
        << "Broken links:\n  <tmp>/site/web/index.html\n    1:web link failed "
           "(404):href=\"<web>/missing/a\"\n"
        << "";
    QTest::newRow("without --web nothing is asked")
        << QStringList{"scan", "--local-root", "<tmp>/site", "--local-home", "<tmp>/site/web"} << 0
        << "No broken links detected\n"
        << "";
    QTest::newRow("unknown project") << QStringList{"scan", "Nobody"} << 2 << ""
                                     << "tarnwell-cli: unknown project \"Nobody\"\n";
    QTest::newRow("nothing to scan") << QStringList{"scan"} << 2 << ""
                                     << "give a project or the two folders";
    QTest::newRow("project and folders")
        << QStringList{"scan", "Shop", "--local-root", "a", "--local-home", "b"} << 2 << ""
        << "not both";
    QTest::newRow("a missing root folder")
        << QStringList{"scan", "--local-root", "<tmp>/none", "--local-home", "<tmp>"} << 2 << ""
        << "tarnwell-cli: the Local Root folder <tmp>/none does not exist\n";
    QTest::newRow("unknown command") << QStringList{"scram"} << 2 << ""
                                     << "unknown command \"scram\"";
}

void TestCliScan::ScanOutcomes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    WebTestServer web;
    QVERIFY2(web.IsRunning(), qPrintable(web.Error()));
    SiteFixture site;
    site.Write({"site/www/index.html: <img src=\"../img/a.png\">\n<a href=\"gone.html\">",
                "site/img/a.png: x", "site/clean/index.html: x",
                "site/rel/index.html: <a href=\"docs/a.html\">", "site/rel/docs/a.html: <a href=\"b.html\">",
                "site/rel/docs/b.html: x",
                "site/web/index.html: <a href=\"" + web.Address("/missing/a") + "\">"});
    const QString tmp = site.Local(QString()).chopped(1);
    arguments.replaceInStrings("<tmp>", tmp);
    out.replace("<tmp>", tmp);
    out.replace("<web>", web.Address(QString()));
    err.replace("<tmp>", tmp);
    const Run run = RunCli(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.out.contains(out), qPrintable(run.out));
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
    // Nothing was scanned: no lists that would pass for a clean site.
    if (exitCode == 2)
        QCOMPARE(run.out, QString());
    if (err.isEmpty())
        QCOMPARE(run.err, QString());
    // Only --web asks, and only for the addresses of the site it scans.
    QCOMPARE(web.Requests().size(), arguments.contains("--web") ? 1 : 0);
}

void TestCliScan::SavedProjectIsScannedAndLeftAlone()
{
    TestFolder dataHome(true);
    SiteFixture site;
    site.Write({"site/www/index.html: <a href=\"a.html\">", "site/www/a.html: x", "site/www/saved.html: x",
                "site/www/other.html: x", "site/rel/index.html: <a href=\"docs/a.html\">",
                "site/rel/docs/a.html: <a href=\"b.html\">", "site/rel/docs/b.html: x"});
    {
        RecordingPrompts prompts;
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, {"Shop", "Empty", "Pages"});
        TProjectFields fields;
        fields.LocalRoot = site.Local("site");
        fields.LocalHome = site.Local("site/www");
        SaveProject(store, "Shop", fields);
        SaveProject(store, "Empty", TProjectFields());
        fields.LocalHome = site.Local("site/rel");
        SaveProject(store, "Pages", fields);
        store.WriteBool("Pages", Schema::KeyPageRelative, true);
        store.WriteList("Shop", Schema::KeyFileSelection, {site.Local("site/www/saved.html")});
        store.Save();
    }
    const QByteArray before = ReadFileBytes(SettingsFile());
    QVERIFY(!before.isEmpty());

    const Run run = RunCli({"scan", "Shop"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.section("Folders:", 0, 0).trimmed().split('\n'),
             (QStringList{"Files:", "  " + site.Local("site/www/index.html"),
                          "  " + site.Local("site/www/saved.html"), "  " + site.Local("site/www/a.html")}));

    // The project's own option: links relative to their page.
    const Run pages = RunCli({"scan", "Pages"});
    QCOMPARE(pages.exitCode, 0);
    QVERIFY2(pages.out.contains(site.Local("site/rel/docs/b.html")), qPrintable(pages.out));

    const Run empty = RunCli({"scan", "Empty"});
    QCOMPARE(empty.exitCode, 2);
    QVERIFY(empty.err.contains("has no Local Root"));
    QCOMPARE(ReadFileBytes(SettingsFile()), before);
}

void TestCliScan::JsonHoldsTheFourLists()
{
    SiteFixture site;
    // Written as a stream: quotes, backslashes, control characters and
    // letters beyond ASCII must come out as JSON.
    site.Write({"site/www/index.html: <a href=\"a.html\"><a href=\"#x\">\n<a href='c\\\u00e9\t.html'>",
                "site/www/a.html: x", "site/www/b.html: x"});
    const Run run = RunCli(
        {"scan", "--json", "--local-root", site.Local("site"), "--local-home", site.Local("site/www")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.startsWith("{\"all\":"));
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const auto item = [&](const char* relative, bool checked) {
        return QJsonArray{site.Local(relative), checked};
    };
    QCOMPARE(object.value("all").toArray(),
             (QJsonArray{item("site/www/a.html", true), item("site/www/b.html", false),
                         item("site/www/index.html", true)}));
    QCOMPARE(object.value("files").toArray(),
             (QJsonArray{site.Local("site/www/index.html"), site.Local("site/www/a.html")}));
    QCOMPARE(object.value("folders").toArray(), QJsonArray{site.Local("site/www")});
    QCOMPARE(object.value("broken").toArray(),
             (QJsonArray{QJsonArray{site.Local("site/www/index.html"), "1:id not found:href=\"#x\""},
                         QJsonArray{site.Local("site/www/index.html"),
                                    QString::fromUtf8("2:file not found:href='c\\\u00e9\t.html'")}}));
}

void TestCliScan::VersionAndHelp()
{
    const Run version = RunCli({"--version"});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QStringLiteral("tarnwell-cli " TARNWELL_VERSION_TEXT "\n"));
    const Run help = RunCli({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("tarnwell-cli scan (PROJECT | --local-root DIR --local-home DIR "
                              "[--page-relative]) [--json] [--web]"));
}

QTEST_GUILESS_MAIN(TestCliScan)
#include "tst_cli_scan.moc"
