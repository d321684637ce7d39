// The scan as the window runs it: listing, the index page, the saved
// selection, the progress window, the boxes and the selection rules.
#include "RecordingPrompts.h"
#include "SiteFixture.h"
#include "TestStore.h"
#include "settings/SettingsSchema.h"
#include "site/FileSelection.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kProject = QStringLiteral("Shop");

// One project's scans over one fixture, as a window would run them.
struct Scanner {
    SiteFixture site;
    TSiteLists lists{site.Style()};
    RecordingScanWindow window;
    RecordingPrompts prompts;
    TAppData* store = nullptr;
    QString root = site.Local("site");
    QString home = site.Local("site/www");

    TSiteScanContext Context()
    {
        return TSiteScanContext{lists, window, prompts, store, kProject, root, home};
    }
    QStringList Checked() const { return site.Relative(lists.CheckedFiles()); }
    int Row(const QString& relative) const { return lists.FindFile(site.Local(relative)); }
};

} // namespace

class TestSiteScan : public QObject {
    Q_OBJECT

private slots:
    void IndexPage_data();
    void IndexPage();
    void ProgressWindow();
    void EmptyLocalRootScansNothing();
    void SavedSelectionIsRestoredAndStored();
    void LinkedFilesComeBackUnlinkedStayOff();
    void ReScanAfterImportScansTwice();
    void UnreadableFileIsReportedAndTheListsStayUsable();
    void ClickCheck_data();
    void ClickCheck();
    void SignalsFollowTheLists();
};

void TestSiteScan::IndexPage_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("boxes");

    const QStringList none;
    QTest::newRow("index.html") << QStringList{"site/www/index.html", "site/www/index.htm"} << "site/www"
                                << QStringList{"site/www/index.html"} << none;
    QTest::newRow("index.htm alone") << QStringList{"site/www/index.htm"} << "site/www"
                                     << QStringList{"site/www/index.htm"} << none;
    QTest::newRow("home with a trailing separator")
        << QStringList{"site/www/index.html"} << "site/www/" << QStringList{"site/www/index.html"} << none;
    QTest::newRow("no index page") << QStringList{"site/www/home.html"} << "site/www" << none
                                   << QStringList{"There is no index page in your home folder"};
    QTest::newRow("home outside root")
        << QStringList{"site/a.html", "other/index.html"} << "other" << none << none;
    QTest::newRow("home missing") << QStringList{"site/a.html"} << "site/gone" << none
                                  << QStringList{"Your local home folder <tmp>/site/gone does not exist"};
    QTest::newRow("home empty") << QStringList{"site/a.html"} << "" << none
                                << QStringList{"Your local home folder  does not exist"};
}

void TestSiteScan::IndexPage()
{
    QFETCH(QStringList, files);
    QFETCH(QString, home);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, boxes);
    Scanner scan;
    scan.site.Write(files);
    scan.home = home.isEmpty() ? QString() : scan.site.Local(home);
    ScanSite(scan.Context());
    QCOMPARE(scan.Checked(), checked);
    QCOMPARE(scan.site.Relative(scan.lists.LocalFiles()), checked);
    boxes.replaceInStrings(QStringLiteral("<tmp>/"), scan.site.Local(QString()));
    QCOMPARE(scan.prompts.Texts(), boxes);
    // Without a Local Home nothing is listed.
    QCOMPARE(scan.lists.FileCount() == 0, home.isEmpty());
}

void TestSiteScan::ProgressWindow()
{
    Scanner scan;
    scan.site.Write({"site/www/index.html: <a href=\"a.html\"><img src=\"b.png\">", "site/www/a.html: x",
                     "site/www/b.png: x", "site/www/c.html: x"});
    scan.lists.AppendFile(scan.site.Local("site/www/c.html"), true);
    ScanSite(scan.Context());
    ScanSite(scan.Context()); // a second scan clears the lines of the first

    QCOMPARE(scan.window.Caption, QStringLiteral("Tarnwell - Scanning Project - Shop"));
    QCOMPARE(scan.window.Starts, 2);
    QVERIFY(!scan.window.Shown);
    const QString c = scan.site.Local("site/www/c.html");
    const QString index = scan.site.Local("site/www/index.html");
    const QString a = scan.site.Local("site/www/a.html");
    const QString b = scan.site.Local("site/www/b.png");
    // The first scan checked a.html and b.png; images are added, not read.
    QCOMPARE(scan.window.Lines,
             (QStringList{"Loading Local Folders", "Searching Local Sub Folders", "Checking Local Files",
                          "Adding " + c, "Adding " + a, "Adding " + b, "Adding " + index, "Scanning - " + c,
                          "Scanning - " + a, "Scanning - " + index}));
    QCOMPARE(scan.site.Relative(scan.lists.LocalFolders()), QStringList{"site/www"});
}

void TestSiteScan::EmptyLocalRootScansNothing()
{
    Scanner scan;
    TestStore store;
    scan.store = store.store.get();
    scan.lists.AppendFile(QStringLiteral("/kept/a.html"), true);
    scan.root.clear();
    bool selectionChanged = true;

    QCOMPARE(UpdateFilesAndFolders(scan.Context(), selectionChanged).ShowBrokenLinkState, false);
    QVERIFY(selectionChanged);
    QVERIFY(store->ReadList(kProject, Schema::KeyFileSelection).isEmpty());

    const TScanOutcome outcome = doReScan(scan.Context(), false, selectionChanged);
    QVERIFY(outcome.ShowBrokenLinkState && !outcome.BrokenLinks);
    QVERIFY(!selectionChanged);
    QCOMPARE(store->ReadList(kProject, Schema::KeyFileSelection), QStringList{"/kept/a.html"});
    QCOMPARE(scan.window.Starts, 0);
    QCOMPARE(scan.lists.Files(), QStringList{"/kept/a.html"});
    QVERIFY(scan.lists.LocalFiles().isEmpty());
}

void TestSiteScan::SavedSelectionIsRestoredAndStored()
{
    Scanner scan;
    TestStore store;
    scan.store = store.store.get();
    scan.site.Write({"site/www/index.html: x", "site/www/extra.html: <a href=\"dep.html\">",
                     "site/www/dep.html: x", "site/www/other.html: x"});
    store->WriteList(kProject, Schema::KeyFileSelection,
                     {scan.site.Local("site/www/extra.html"), scan.site.Local("site/www/deleted.html")});
    ScanSite(scan.Context());
    QCOMPARE(scan.Checked(),
             (QStringList{"site/www/dep.html", "site/www/extra.html", "site/www/index.html"}));
    QCOMPARE(scan.site.Relative(scan.lists.LocalFiles()),
             (QStringList{"site/www/extra.html", "site/www/index.html", "site/www/dep.html"}));
    // The scan itself stores nothing; the next save stores what it checked.
    QCOMPARE(store->ReadList(kProject, Schema::KeyFileSelection).size(), 2);
    SaveFileSelection(scan.store, kProject, scan.lists);
    QCOMPARE(scan.site.Relative(store->ReadList(kProject, Schema::KeyFileSelection)), scan.Checked());
    // No project, no section of no name.
    SaveFileSelection(scan.store, QString(), scan.lists);
    QVERIFY(store->ReadList(QString(), Schema::KeyFileSelection).isEmpty());
}

void TestSiteScan::LinkedFilesComeBackUnlinkedStayOff()
{
    Scanner scan;
    TestStore store;
    scan.store = store.store.get();
    scan.site.Write(
        {"site/www/index.html: <a href=\"dep.html\">", "site/www/dep.html: x", "site/www/own.html: x"});
    ScanSite(scan.Context());
    scan.lists.SetChecked(scan.Row("site/www/own.html"), true);
    ScanSite(scan.Context());
    QCOMPARE(scan.Checked(), (QStringList{"site/www/dep.html", "site/www/index.html", "site/www/own.html"}));

    bool selectionChanged = false;
    QVERIFY(
        clbxFilesClickCheck(scan.lists, scan.Row("site/www/dep.html"), false, true, false, selectionChanged));
    QVERIFY(
        clbxFilesClickCheck(scan.lists, scan.Row("site/www/own.html"), false, true, false, selectionChanged));
    QVERIFY(selectionChanged);
    const TScanOutcome outcome = UpdateFilesAndFolders(scan.Context(), selectionChanged);
    QVERIFY(outcome.Scanned && !outcome.BrokenLinks);
    QVERIFY(!selectionChanged);
    QCOMPARE(scan.Checked(), (QStringList{"site/www/dep.html", "site/www/index.html"}));
    // What was stored is the selection before the scan re-checked dep.html.
    QCOMPARE(scan.site.Relative(store->ReadList(kProject, Schema::KeyFileSelection)),
             QStringList{"site/www/index.html"});
}

void TestSiteScan::ReScanAfterImportScansTwice()
{
    Scanner scan;
    scan.site.Write({"site/www/index.html: <a href=\"gone.html\">"});
    bool selectionChanged = true;
    const TScanOutcome outcome = doReScan(scan.Context(), true, selectionChanged);
    QCOMPARE(scan.window.Starts, 2);
    QVERIFY(outcome.ShowBrokenLinkState && outcome.BrokenLinks);
    QCOMPARE(scan.lists.BrokenLinks().size(), 2);
    QVERIFY(!selectionChanged);
}

void TestSiteScan::UnreadableFileIsReportedAndTheListsStayUsable()
{
    Scanner scan;
    scan.site.Write(
        {"site/www/index.html: <a href=\"a.html\">", "site/www/a.html: x", "site/www/old.html: x"});
    ScanSite(scan.Context());
    scan.lists.SetChecked(scan.Row("site/www/old.html"), true);
    QVERIFY(QFile::remove(scan.site.Local("site/www/old.html")));

    const TScanOutcome outcome = ScanSite(scan.Context());
    QCOMPARE(scan.site.Relative(outcome.UnreadableFiles), QStringList{"site/www/old.html"});
    QCOMPARE(scan.prompts.Texts(), QStringList{"The selected file " + scan.site.Local("site/www/old.html") +
                                               " could not be read, so its links were not followed."});
    QVERIFY(!scan.window.Shown);
    QCOMPARE(scan.window.Ends, 2);
    QCOMPARE(scan.site.Relative(scan.lists.LocalFiles()),
             (QStringList{"site/www/a.html", "site/www/index.html", "site/www/old.html"}));
    QVERIFY(scan.lists.BrokenLinks().isEmpty());
}

void TestSiteScan::ClickCheck_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("control");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("newState");
    QTest::addColumn<QList<bool>>("checks");
    QTest::addColumn<bool>("changed");

    // Rows: /s/www/a.html (checked), /s/www/sub/b.html, /s/WWW/c.html, /s/www2/d.html
    QTest::newRow("locked: the click is undone")
        << false << false << 1 << true << QList<bool>{true, false, false, false} << false;
    QTest::newRow("locked control-click")
        << false << true << 0 << false << QList<bool>{true, false, false, false} << false;
    QTest::newRow("one item") << true << false << 1 << true << QList<bool>{true, true, false, false} << true;
    QTest::newRow("back to where it was")
        << true << false << 0 << true << QList<bool>{true, false, false, false} << true;
    QTest::newRow("control: the folder and its sub-folders, letter case exact")
        << true << true << 0 << true << QList<bool>{true, true, false, false} << true;
    QTest::newRow("control: unchecking")
        << true << true << 1 << false << QList<bool>{true, false, false, false} << true;
}

void TestSiteScan::ClickCheck()
{
    QFETCH(bool, enabled);
    QFETCH(bool, control);
    QFETCH(int, row);
    QFETCH(bool, newState);
    QFETCH(QList<bool>, checks);
    QFETCH(bool, changed);
    TSiteLists lists(PathStyle::Posix());
    lists.AppendFile(QStringLiteral("/s/www/a.html"), true);
    lists.AppendFile(QStringLiteral("/s/www/sub/b.html"), false);
    lists.AppendFile(QStringLiteral("/s/WWW/c.html"), false);
    lists.AppendFile(QStringLiteral("/s/www2/d.html"), false);
    QSignalSpy told(&lists, &TSiteLists::FileCheckChanged);
    bool selectionChanged = false;
    QCOMPARE(clbxFilesClickCheck(lists, row, newState, enabled, control, selectionChanged), changed);
    QCOMPARE(selectionChanged, changed);
    for (int i = 0; i < checks.size(); ++i)
        QCOMPARE(lists.Checked(i), checks[i]);
    // A refused click tells the widget the check it must show again.
    if (!enabled) {
        QCOMPARE(told.size(), 1);
        QCOMPARE(told.first().at(1).toBool(), !newState);
    }
}

// The widgets follow the model: one signal per touched list for a whole
// scan, and each list cleared by Clear.
void TestSiteScan::SignalsFollowTheLists()
{
    Scanner scan;
    scan.site.Write({"site/www/index.html: <a href=\"a.html\"><a href=\"gone.html\">", "site/www/a.html: x"});
    QSignalSpy files(&scan.lists, &TSiteLists::FilesChanged);
    QSignalSpy local(&scan.lists, &TSiteLists::LocalFilesChanged);
    QSignalSpy folders(&scan.lists, &TSiteLists::LocalFoldersChanged);
    QSignalSpy broken(&scan.lists, &TSiteLists::BrokenLinksChanged);
    ScanSite(scan.Context());
    QCOMPARE(local.size(), 1);
    QCOMPARE(broken.size(), 1);
    QVERIFY(files.size() >= 1 && files.size() <= 2);
    QVERIFY(folders.size() >= 1 && folders.size() <= 2);

    scan.lists.Clear();
    QVERIFY(scan.lists.Files().isEmpty() && scan.lists.LocalFiles().isEmpty() &&
            scan.lists.LocalFolders().isEmpty() && scan.lists.BrokenLinks().isEmpty());
    QCOMPARE(broken.size(), 2);
}

QTEST_GUILESS_MAIN(TestSiteScan)
#include "tst_site_scan.moc"
