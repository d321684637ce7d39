#include "util/MyFileOpsU.h"

#include "ScriptedFolderPicker.h"
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>

namespace {

void SetModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

void Link(const QString& target, const QString& linkPath)
{
    QVERIFY(QFile::link(target, linkPath));
}

// A small site: files in two letter cases, a file without extension, a
// hidden file, a hidden folder and nested sub-folders.
void MakeSite(const TestFolder& root)
{
    for (const char* name :
         {"site/index.html", "site/b.html", "site/A.css", "site/README", "site/.htaccess", "site/img/x.png",
          "site/img/deep/y.gif", "site/css/s.css", "site/.git/config", "site/.git/hooks/h.html"})
        root.Write(name, "x");
}

QStringList Prefixed(const QString& prefix, const QStringList& names)
{
    QStringList result;
    for (const QString& name : names)
        result.append(prefix + name);
    return result;
}

} // namespace

class TestFileOps : public QObject {
    Q_OBJECT

private slots:
    void AgePacksLocalTime_data();
    void AgePacksLocalTime();
    void DateTextLeavesOffMidnight();
    void MissingFileTouchesOnlyAge_data();
    void MissingFileTouchesOnlyAge();
    void Attributes();
    void StoredNameCase();
    void Listing_data();
    void Listing();
    void PathsAlreadyListedAreNotRepeated_data();
    void PathsAlreadyListedAreNotRepeated();
    void MissingFolderAddsNothing();
    void LinkLoopsEnd();
    void FindLastMatchDepthFirst();
    void FindNeedsExactExtension_data();
    void FindNeedsExactExtension();
    void FindWithoutRecurseOrMatchKeepsFound();
    void FindEndsOnLinkLoops();
    void AllFilesExistCases();
    void BrowseForFolderAnswers();
};

void TestFileOps::AgePacksLocalTime_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<qint32>("age");

    auto local = [](int y, int mo, int d, int h, int mi, int s) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
    };
    QTest::newRow("afternoon, odd seconds")
        << local(2021, 3, 14, 15, 9, 27)
        << qint32((41u << 25) | (3u << 21) | (14u << 16) | (15u << 11) | (9u << 5) | 13u);
    QTest::newRow("first moment of 1980") << local(1980, 1, 1, 0, 0, 0) << qint32((1u << 21) | (1u << 16));
    QTest::newRow("end of a year") << local(1999, 12, 31, 23, 59, 59)
                                   << qint32((19u << 25) | (12u << 21) | (31u << 16) | (23u << 11) |
                                             (59u << 5) | 29u);
    QTest::newRow("2044 sets the sign bit")
        << local(2044, 6, 1, 12, 0, 0)
        << qint32(quint32((64u << 25) | (6u << 21) | (1u << 16) | (12u << 11)));
    QTest::newRow("before 1980") << local(1979, 12, 31, 23, 59, 58) << qint32(-1);
}

void TestFileOps::AgePacksLocalTime()
{
    QFETCH(QDateTime, time);
    QFETCH(qint32, age);
    TestFolder folder;
    const QString path = folder.Write("a.html", "x");
    SetModified(path, time);
    TFileOpsSettings info;
    GetFileInfo(path, info);
    QCOMPARE(info.Age, age);
    QCOMPARE(PackDosDateTime(time), age);
    QCOMPARE(info.Name, QString("a.html"));
}

void TestFileOps::DateTextLeavesOffMidnight()
{
    TestFolder folder;
    const QString path = folder.Write("a.html", "x");
    const QLocale locale = QLocale::system();
    const QDate date(2022, 7, 5);
    const QString dateText = locale.toString(date, locale.dateFormat(QLocale::ShortFormat));
    TFileOpsSettings info;

    SetModified(path, QDateTime(date, QTime(0, 0)));
    GetFileInfo(path, info);
    QCOMPARE(info.DateText, dateText);

    SetModified(path, QDateTime(date, QTime(0, 0, 1)));
    GetFileInfo(path, info);
    QVERIFY2(info.DateText.startsWith(dateText + ' '), qPrintable(info.DateText));
    QVERIFY(info.DateText.size() > dateText.size() + 1);
}

void TestFileOps::MissingFileTouchesOnlyAge_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing file") << "none.html";
    QTest::newRow("a folder") << "sub";
    QTest::newRow("missing folder") << "nowhere/none.html";
}

void TestFileOps::MissingFileTouchesOnlyAge()
{
    QFETCH(QString, relative);
    TestFolder folder;
    folder.MakeFolder("sub");
    for (const PathStyle& style : {PathStyle::Posix(), PathStyle::Windows()}) {
        TFileOpsSettings info{"date", true, true, true, true, 1234, "old.html"};
        GetFileInfo(folder.FilePath(relative), info, style);
        QCOMPARE(info.Age, -1);
        QCOMPARE(info.DateText, QString("date"));
        QVERIFY(info.Archive && info.Hidden && info.SysFile && info.ReadOnly);
        QCOMPARE(info.Name, QString("old.html"));
    }
    TFileOpsSettings info;
    info.Age = 5;
    GetFileInfo(QString(), info);
    QCOMPARE(info.Age, -1);
}

void TestFileOps::Attributes()
{
    TestFolder folder;
    const QString plain = folder.Write("plain.html", "x");
    const QString hidden = folder.Write(".htaccess", "x");
    const QString locked = folder.Write("locked.html", "x");
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

    TFileOpsSettings info{"", true, true, true, true, -1, ""};
    GetFileInfo(plain, info);
    QVERIFY(!info.Hidden && !info.ReadOnly && !info.SysFile && !info.Archive);
    GetFileInfo(hidden, info);
    QVERIFY(info.Hidden && !info.ReadOnly);
    QCOMPARE(info.Name, QString(".htaccess"));
    GetFileInfo(locked, info);
    QVERIFY(!info.Hidden && info.ReadOnly);
}

void TestFileOps::StoredNameCase()
{
    TestFolder folder;
    folder.Write("site/index.html", "x");
    folder.Write("site/Page.html", "x");
    folder.Write("site/page.html", "x");
    const QString base = folder.FilePath("site");

    TFileOpsSettings info;
    info.Name = "old";
    GetFileInfo(base + "\\INDEX.HTML", info, PathStyle::Windows());
    QVERIFY(info.Age != -1);
    QCOMPARE(info.Name, QString("index.html"));
    // Two names in different case: the exact one wins.
    GetFileInfo(base + "\\page.html", info, PathStyle::Windows());
    QCOMPARE(info.Name, QString("page.html"));
    GetFileInfo(base + "\\Page.html", info, PathStyle::Windows());
    QCOMPARE(info.Name, QString("Page.html"));

    info.Name = "old";
    GetFileInfo(base + "/INDEX.HTML", info, PathStyle::Posix());
    QCOMPARE(info.Age, -1);
    QCOMPARE(info.Name, QString("old"));
}

void TestFileOps::Listing_data()
{
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("recurse");
    QTest::addColumn<QStringList>("relative");

    // A folder's own files first, then each sub-folder's whole tree, all in
    // name order; hidden files listed, the hidden folder never entered.
    QTest::newRow("posix") << false << "*.*" << true
                           << QStringList{".htaccess",  "A.css",     "README",    "b.html",
                                          "index.html", "css/s.css", "img/x.png", "img/deep/y.gif"};
    QTest::newRow("windows") << true << "*.*" << true
                             << QStringList{".htaccess", "A.css",      "b.html",     "index.html",
                                            "README",    "css\\s.css", "img\\x.png", "img\\deep\\y.gif"};
    QTest::newRow("top folder only") << false << "*.*" << false
                                     << QStringList{".htaccess", "A.css", "README", "b.html", "index.html"};
    // The mask follows the file system's letter case.
    QTest::newRow("mask, windows") << true << "*.HTML" << true << QStringList{"b.html", "index.html"};
    QTest::newRow("mask, posix") << false << "*.HTML" << true << QStringList{};
}

void TestFileOps::Listing()
{
    QFETCH(bool, windows);
    QFETCH(QString, mask);
    QFETCH(bool, recurse);
    QFETCH(QStringList, relative);
    TestFolder folder;
    MakeSite(folder);
    const PathStyle style = windows ? PathStyle::Windows() : PathStyle::Posix();
    const QString site = folder.Path() + style.Separator() + "site";
    QStringList list;
    AddFilesRecursively(site, mask, recurse, list, style);
    QCOMPARE(list, Prefixed(site + style.Separator(), relative));
    // Named with a trailing separator the folder gives the very same paths.
    QStringList trailing;
    AddFilesRecursively(site + style.Separator(), mask, recurse, trailing, style);
    QCOMPARE(trailing, list);
}

void TestFileOps::PathsAlreadyListedAreNotRepeated_data()
{
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("held");
    QTest::addColumn<int>("added");

    QTest::newRow("windows, same case") << true << "index.html" << 4;
    QTest::newRow("windows, other case") << true << "INDEX.HTML" << 4;
    QTest::newRow("posix, same case") << false << "index.html" << 4;
    QTest::newRow("posix, other case") << false << "INDEX.HTML" << 5;
}

void TestFileOps::PathsAlreadyListedAreNotRepeated()
{
    QFETCH(bool, windows);
    QFETCH(QString, held);
    QFETCH(int, added);
    TestFolder folder;
    MakeSite(folder);
    const PathStyle style = windows ? PathStyle::Windows() : PathStyle::Posix();
    const QString site = folder.FilePath("site") + style.Separator();
    QStringList list{site + held};
    AddFilesRecursively(site, "*.*", false, list, style);
    QCOMPARE(list.size(), 1 + added);
    QCOMPARE(list.first(), site + held);
    // Adding the same folder again adds nothing.
    AddFilesRecursively(site, "*.*", false, list, style);
    QCOMPARE(list.size(), 1 + added);
}

void TestFileOps::MissingFolderAddsNothing()
{
    TestFolder folder;
    QStringList list{"kept"};
    AddFilesRecursively(folder.FilePath("missing"), "*.*", true, list, PathStyle::Posix());
    QCOMPARE(list, QStringList{"kept"});
    // An empty folder text is no folder, never the file system's root.
    AddFilesRecursively(QString(), "*.*", false, list, PathStyle::Posix());
    QCOMPARE(list, QStringList{"kept"});
}

void TestFileOps::LinkLoopsEnd()
{
    TestFolder folder;
    MakeSite(folder);
    const QString site = folder.FilePath("site");
    QStringList expected;
    AddFilesRecursively(site, "*.*", true, expected, PathStyle::Posix());

    Link(site, site + "/img/deep/up");        // back to an ancestor
    Link(site + "/img", site + "/img/again"); // back to the parent
    Link(".", site + "/css/self");            // to itself
    QStringList list;
    AddFilesRecursively(site, "*.*", true, list, PathStyle::Posix());
    QCOMPARE(list, expected);

    // A second way into a folder is no loop: its files are listed under both.
    Link(site + "/img", site + "/zlink");
    QStringList twice;
    AddFilesRecursively(site, "*.*", true, twice, PathStyle::Posix());
    for (const QString& path : QStringList(expected))
        if (path.startsWith(site + "/img/"))
            expected.append(site + "/zlink/" + path.mid(site.size() + 5));
    QCOMPARE(twice, expected);
}

void TestFileOps::FindLastMatchDepthFirst()
{
    TestFolder folder;
    folder.Write("pf/Kits/10/bin/signtool.chm", "x");
    folder.Write("pf/Kits/10/bin/x64/signtool.exe", "x");
    folder.Write("pf/Kits/8.1/bin/signtool.exe", "x");
    folder.Write("pf/Kits/8.1/bin/signtool.exe.config", "x");
    folder.Write("pf/other/.cache/signtool.exe", "x"); // hidden: never searched
    folder.Write("pf/other/signtoolx.exe", "x");
    QString found;
    FindFileRecursive(folder.FilePath("pf"), "signtool", ".exe", found, true, PathStyle::Posix());
    QCOMPARE(found, folder.FilePath("pf/Kits/8.1/bin/signtool.exe"));
    // The folder named with a trailing separator gives the same path.
    found.clear();
    FindFileRecursive(folder.FilePath("pf") + '/', "signtool", ".exe", found, true, PathStyle::Posix());
    QCOMPARE(found, folder.FilePath("pf/Kits/8.1/bin/signtool.exe"));
}

void TestFileOps::FindNeedsExactExtension_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("windows");
    QTest::addColumn<bool>("taken");

    QTest::newRow("capital extension, windows") << "signtool.EXE" << true << false;
    QTest::newRow("capital extension, posix") << "signtool.EXE" << false << false;
    QTest::newRow("capital name, windows") << "SignTool.exe" << true << true;
    QTest::newRow("capital name, posix") << "SignTool.exe" << false << false;
    QTest::newRow("no extension") << "signtool" << false << false;
    QTest::newRow("longer name") << "signtool2.exe" << true << false;
}

void TestFileOps::FindNeedsExactExtension()
{
    QFETCH(QString, file);
    QFETCH(bool, windows);
    QFETCH(bool, taken);
    TestFolder folder;
    folder.Write("bin/" + file, "x");
    const PathStyle style = windows ? PathStyle::Windows() : PathStyle::Posix();
    const QString bin = folder.FilePath("bin");
    QString found;
    FindFileRecursive(bin, "signtool", ".exe", found, false, style);
    QCOMPARE(found, taken ? bin + style.Separator() + file : QString());
}

void TestFileOps::FindWithoutRecurseOrMatchKeepsFound()
{
    TestFolder folder;
    folder.Write("pf/sub/signtool.exe", "x");
    QString found = "previous";
    FindFileRecursive(folder.FilePath("pf"), "signtool", ".exe", found, false, PathStyle::Posix());
    QCOMPARE(found, QString("previous"));
    FindFileRecursive(folder.FilePath("pf"), "makecert", ".exe", found, true, PathStyle::Posix());
    QCOMPARE(found, QString("previous"));
    FindFileRecursive(folder.FilePath("missing"), "signtool", ".exe", found, true, PathStyle::Posix());
    QCOMPARE(found, QString("previous"));
    FindFileRecursive(QString(), "signtool", ".exe", found, false, PathStyle::Posix());
    QCOMPARE(found, QString("previous"));
}

void TestFileOps::FindEndsOnLinkLoops()
{
    TestFolder folder;
    folder.Write("pf/a/signtool.exe", "x");
    folder.Write("pf/b/signtool.exe", "x");
    Link(folder.FilePath("pf"), folder.FilePath("pf/a/loop"));
    Link(folder.FilePath("pf/a"), folder.FilePath("pf/c"));
    QString found;
    FindFileRecursive(folder.FilePath("pf"), "signtool", ".exe", found, true, PathStyle::Posix());
    // The loop is cut; the second way into pf/a is searched, and comes last.
    QCOMPARE(found, folder.FilePath("pf/c/signtool.exe"));
}

void TestFileOps::AllFilesExistCases()
{
    TestFolder folder;
    const QString a = folder.Write("a.html", "x");
    const QString b = folder.Write("sub/b.html", "x");
    const QString sub = folder.FilePath("sub");
    const PathStyle posix = PathStyle::Posix();
    QVERIFY(AllFilesExist({}, posix));
    QVERIFY(AllFilesExist({a, b}, posix));
    QVERIFY(!AllFilesExist({sub}, posix));
    QVERIFY(!AllFilesExist({a, folder.FilePath("gone.html"), b}, posix));
    QVERIFY(!AllFilesExist({a, QString()}, posix));
    QVERIFY(AllFilesExist({folder.Path() + "\\sub\\b.html"}, PathStyle::Windows()));
}

void TestFileOps::BrowseForFolderAnswers()
{
    TestFolder folder;
    const QString chosen = folder.MakeFolder("site/www");
    const QString file = folder.Write("file.txt", "x");
    ScriptedFolderPicker picker;
    picker.QueueCancel();
    picker.QueueFolder(chosen + '/');
    picker.QueueFolder("/");
    picker.QueueFolder(file);
    picker.QueueFolder(folder.FilePath("missing"));
    picker.QueueFolder(QString());

    QString path = "unchanged";
    QVERIFY(!BrowseForFolder(picker, "Local Home", QString(), false, path));
    QCOMPARE(path, QString("unchanged"));
    QVERIFY(BrowseForFolder(picker, "Local Home", folder.Path(), true, path));
    QCOMPARE(path, QDir::toNativeSeparators(chosen));
    QVERIFY(BrowseForFolder(picker, "Root", QString(), false, path));
    QCOMPARE(path, QDir::toNativeSeparators("/"));
    path = "unchanged";
    QVERIFY(!BrowseForFolder(picker, "t", QString(), false, path));
    QVERIFY(!BrowseForFolder(picker, "t", QString(), false, path));
    QVERIFY(!BrowseForFolder(picker, "t", QString(), false, path));
    QVERIFY(!BrowseForFolder(picker, "t", QString(), false, path)); // script used up: a cancel
    QCOMPARE(path, QString("unchanged"));

    QCOMPARE(picker.Calls().size(), 7);
    QCOMPARE(picker.Calls().at(1).title, QString("Local Home"));
    QCOMPARE(picker.Calls().at(1).initialFolder, folder.Path());
    QVERIFY(picker.Calls().at(1).allowNewFolder);
    QVERIFY(!picker.Calls().at(0).allowNewFolder);
}

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
