#include "RecordingHost.h"
#include "TestFolder.h"
#include "build/VersionStamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

const QByteArray Php = "<?php\r\n$latest = 'old.exe';\r\n?>\r\n";
const QByteArray Page = "<p>\r\n<a id=\"dl\" href=\"files/old-setup.exe\">Download 1.0</a>\r\n</p>\r\n";
const QByteArray Script =
    "; app\r\n[Setup]\r\nAppName=My App\r\nAppVersion=My App 1.0\r\nAppVerName=My App 1.0\r\n"
    "OutputBaseFilename=MyAppSetup-1-0\r\nOutputDir=Output\r\n\r\n[Files]\r\n";
const QByteArray Exe = "MyAppSetup-2-1-0-7.exe";

// A project whose three files are stamped with 2.1.0.7 unless a test says
// otherwise. A null text names a file that is not there.
struct Project {
    TestFolder folder;
    VersionStampInput in;
    RecordingHost host;

    Project(const QByteArray& php = Php, const QByteArray& page = Page, const QByteArray& script = Script)
    {
        in = {Put("www/inc/version.php", php),
              "$latest",
              Put("www/download.html", page),
              "dl",
              "Download",
              "MyAppSetup",
              Put("setup/app.iss", script),
              "2.1.0.7"};
    }
    QString Put(const QString& name, const QByteArray& text)
    {
        return text.isNull() ? folder.FilePath(name) : folder.Write(name, text);
    }
    VersionStampResult Run() { return StampVersion(in, host); }
    QStringList Edited() const { return host.Lines().filter("Edited: "); }
    bool Unchanged() const
    {
        return ReadFileBytes(in.PhpFile) == Php && ReadFileBytes(in.DownLoadLinkFile) == Page &&
               ReadFileBytes(in.InnoSetupFile) == Script;
    }
};

} // namespace

class VersionStampTest : public QObject {
    Q_OBJECT

private slots:
    void StampsEveryFile_data()
    {
        QTest::addColumn<QStringList>("versions"); // primary, dashed, short
        QTest::newRow("four numbers") << QStringList{"2.1.0.7", "2-1-0-7", "2.1"};
        // The short version counts characters, not numbers.
        QTest::newRow("two-digit minor") << QStringList{"1.10.0.0", "1-10-0-0", "1.1"};
        QTest::newRow("two-digit major") << QStringList{"10.2.0.0", "10-2-0-0", "10."};
        QTest::newRow("one dot") << QStringList{"3.5", "3-5", "3"};
        QTest::newRow("no version") << QStringList{"", "", ""};
    }
    void StampsEveryFile()
    {
        QFETCH(QStringList, versions);
        Project p;
        p.in.PrimaryVersion = versions[0];
        const VersionStampResult r = p.Run();
        QVERIFY(r.Ok);
        QCOMPARE(r.FoundMask, 255);
        QCOMPARE(r.ShortVersion, versions[2]);
        QCOMPARE(r.SetupExeName, "MyAppSetup-" + versions[1] + ".exe");
        QCOMPARE(r.SetupOutputDir, "Output");
        const QByteArray exe = "MyAppSetup-" + versions[1].toLatin1(), sv = versions[2].toLatin1();
        QCOMPARE(ReadFileBytes(p.in.PhpFile), "<?php\r\n$latest = '" + exe + ".exe';\r\n?>\r\n");
        QCOMPARE(ReadFileBytes(p.in.DownLoadLinkFile),
                 "<p>\r\n<a id=\"dl\" href=\"files/" + exe + ".exe\">Download " + sv + "</a>\r\n</p>\r\n");
        QCOMPARE(ReadFileBytes(p.in.InnoSetupFile),
                 "; app\r\n[Setup]\r\nAppName=My App\r\nAppVersion=My App " + versions[0].toLatin1() +
                     "\r\nAppVerName=My App " + sv + "\r\nOutputBaseFilename=" + exe +
                     "\r\nOutputDir=Output\r\n\r\n[Files]\r\n");
        const QStringList log{"Reading " + p.in.PhpFile,         "Reading " + p.in.DownLoadLinkFile,
                              "Reading " + p.in.InnoSetupFile,   "All entries found in the above files",
                              "Edited: " + p.in.PhpFile,         "Edited: " + p.in.InnoSetupFile,
                              "Edited: " + p.in.DownLoadLinkFile};
        QCOMPARE(p.host.Lines(), log);
    }

    void RewritesTheLinkLine_data()
    {
        QTest::addColumn<QString>("linkId");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("expected"); // null: the page stays as it was
        QTest::newRow("target in a folder")
            << "dl" << QByteArray("<a id=\"dl\" href=\"a/b/old.exe\">Get</a> <b>")
            << "<a id=\"dl\" href=\"a/b/" + Exe + "\">Download 2.1</a> <b>";
        QTest::newRow("bare target") << "dl" << QByteArray("<a id=\"dl\" href=\"old.exe\">Get</a>")
                                     << "<a id=\"dl\" href=\"" + Exe + "\">Download 2.1</a>";
        QTest::newRow("capitals, apostrophes, any bytes")
            << "dl" << QByteArray("<A id=\"dl\" t='\xe9' HREF='http://x.test/old.exe' c='b'>Old</A> \xff")
            << "<A id=\"dl\" t='\xe9' HREF='http://x.test/" + Exe + "' c='b'>Download 2.1</A> \xff";
        QTest::newRow("no href") << "dl" << QByteArray("<span id=\"dl\">Get</span>") << QByteArray();
        QTest::newRow("empty link id") << "" << QByteArray("<a id=\"\" href=\"old.exe\">Get</a>")
                                       << "<a id=\"\" href=\"" + Exe + "\">Download 2.1</a>";
    }
    void RewritesTheLinkLine()
    {
        QFETCH(QString, linkId);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, expected);
        Project p(Php, "<p id=\"other\">\r\n" + line + "\r\n");
        p.in.DownLoadLinkId = linkId;
        QVERIFY(p.Run().Ok);
        QCOMPARE(ReadFileBytes(p.in.DownLoadLinkFile),
                 "<p id=\"other\">\r\n" + (expected.isNull() ? line : expected) + "\r\n");
        QCOMPARE(p.Edited().contains("Edited: " + p.in.DownLoadLinkFile), !expected.isNull());
    }

    void EditsTheScriptKeys_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("outputDir");
        const QByteArray keys = "AppVerName=\r\nOutputBaseFilename=\r\nOutputDir=O";
        const QByteArray stamped =
            "AppVerName=A 2.1\r\nOutputBaseFilename=MyAppSetup-2-1-0-7\r\nOutputDir=O\r\n";
        QTest::newRow("missing keys inserted below [Setup]")
            << QByteArray("[Setup]\r\nAppName=My App\r\nOutputDir=Out\r\n")
            << QByteArray("[Setup]\r\nOutputBaseFilename=MyAppSetup-2-1-0-7\r\nAppVerName=My App 2.1\r\n"
                          "AppVersion=My App 2.1.0.7\r\nAppName=My App\r\nOutputDir=Out\r\n")
            << "Out";
        QTest::newRow("key in other letter case not found")
            << "[Setup]\r\nAppName=A\r\nappversion=1\r\n" + keys
            << "[Setup]\r\nAppVersion=A 2.1.0.7\r\nAppName=A\r\nappversion=1\r\n" + stamped << "O";
        QTest::newRow("commented-out key taken first")
            << ";AppVersion=x\r\n[Setup]\r\nAppName=A\r\nAppVersion=1\r\n" + keys
            << "AppVersion=A 2.1.0.7\r\n[Setup]\r\nAppName=A\r\nAppVersion=1\r\n" + stamped << "O";
        const QByteArray name = "{#N} \"" + QByteArray(60, 'n'), cut = name.left(50);
        QTest::newRow("values as written, name cut at 50")
            << "AppName=" + name +
                   "\r\nAppVersion=\r\nAppVerName=\r\nOutputBaseFilename=\r\nOutputDir= ..\\o d \r\n[Setup]"
            << "AppName=" + name + "\r\nAppVersion=" + cut + " 2.1.0.7\r\nAppVerName=" + cut +
                   " 2.1\r\nOutputBaseFilename=MyAppSetup-2-1-0-7\r\nOutputDir= ..\\o d \r\n[Setup]\r\n"
            << " ..\\o d ";
    }
    void EditsTheScriptKeys()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, expected);
        QFETCH(QString, outputDir);
        Project p(Php, Page, script);
        const VersionStampResult r = p.Run();
        QVERIFY(r.Ok);
        QCOMPARE(ReadFileBytes(p.in.InnoSetupFile), expected);
        QCOMPARE(r.SetupOutputDir, outputDir);
    }

    // Lines end at CR, LF or CR LF; only the variable's line changes, and
    // every line is written back with CR LF.
    void KeepsOtherBytesOfThePhpFile_data()
    {
        QTest::addColumn<QByteArray>("php");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray line = "$latest = '" + Exe + "';";
        QTest::newRow("LF only") << QByteArray("<?php\n $a = 1;\n  $latest = 'x'; // old\n?>")
                                 << "<?php\r\n $a = 1;\r\n" + line + "\r\n?>\r\n";
        QTest::newRow("CR only, LF CR")
            << QByteArray("<?php\r\n\r$latest = 'x';\r\r") << "<?php\r\n\r\n" + line + "\r\n\r\n";
        QTest::newRow("bytes of any kind")
            << QByteArray("\xff\xfe\x00z\r\n$latest;\r\n\xe9t\xc3\xa9", 20)
            << QByteArray("\xff\xfe\x00z\r\n", 6) + line + "\r\n\xe9t\xc3\xa9\r\n";
        QTest::newRow("first mention, a comment too")
            << QByteArray("// $latest names it\r\n$latest = 'x';\r\n") << line + "\r\n$latest = 'x';\r\n";
    }
    void KeepsOtherBytesOfThePhpFile()
    {
        QFETCH(QByteArray, php);
        QFETCH(QByteArray, expected);
        Project p(php);
        QVERIFY(p.Run().Ok);
        QCOMPARE(ReadFileBytes(p.in.PhpFile), expected);
    }

    void SkipsWhatIsLeftEmpty_data()
    {
        QTest::addColumn<bool>("phpFile");
        QTest::addColumn<bool>("phpVar");
        QTest::addColumn<bool>("page");
        QTest::newRow("no variable name") << true << false << true;
        QTest::newRow("no PHP file") << false << true << true;
        QTest::newRow("no page, no link id") << true << true << false;
    }
    void SkipsWhatIsLeftEmpty()
    {
        QFETCH(bool, phpFile);
        QFETCH(bool, phpVar);
        QFETCH(bool, page);
        Project p;
        const QString php = p.in.PhpFile, pagePath = p.in.DownLoadLinkFile;
        p.in.PhpFile = phpFile ? php : QString();
        p.in.PhpVar = phpVar ? p.in.PhpVar : QString();
        p.in.DownLoadLinkFile = page ? pagePath : QString();
        p.in.DownLoadLinkId = page ? p.in.DownLoadLinkId : QString();
        const VersionStampResult r = p.Run();
        QVERIFY(r.Ok);
        QCOMPARE(r.FoundMask, 255);
        QCOMPARE(ReadFileBytes(php) == Php, !(phpFile && phpVar));
        QCOMPARE(ReadFileBytes(pagePath) == Page, !page);
    }

    void MissingEntryWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("php");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("script"); // "-": none named
        QTest::addColumn<QString>("logged");    // "%1": the missing file
        QTest::addColumn<int>("mask");
        const QByteArray none;
        const QString missing = QStringLiteral("%1 does not exist");
        QTest::newRow("PHP file missing") << none << Page << Script << missing << 254;
        QTest::newRow("no variable line") << QByteArray("<?php\r\n") << Page << Script << QString() << 254;
        QTest::newRow("page missing") << Php << none << Script << missing << 253;
        QTest::newRow("no link id") << Php << QByteArray("<a id=\"d\" href=\"x\">y</a>") << Script
                                    << QString() << 253;
        QTest::newRow("script missing") << Php << Page << none << missing << 3;
        QTest::newRow("script not named")
            << Php << Page << QByteArray("-") << "InnoSetup file not specified" << 3;
        QTest::newRow("no [Setup]") << Php << Page << QByteArray(Script).replace("[Setup]", "") << QString()
                                    << 191;
        QTest::newRow("no OutputDir=")
            << Php << Page << QByteArray(Script).replace("OutputDir", "D") << QString() << 223;
        // Rewriting a link whose tag ends on the next line would overwrite its closing quote.
        QTest::newRow("link tag not ended on its line")
            << Php << QByteArray("<a id=\"dl\" href=\"old.exe\"\r\n class=\"b\">Get</a>\r\n") << Script
            << "%1: the download link's tag does not end on the line of its id" << 253;
        QTest::newRow("no AppName=") << Php << Page << QByteArray(Script).replace("AppName", "N")
                                     << "AppName not found in InnoSetup Script" << 127;
        // The lines inserted in memory must not reach the disk either.
        QTest::newRow("keys missing, no [Setup]")
            << Php << Page << QByteArray("AppName=A\r\n") << QString() << 159;
    }
    void MissingEntryWritesNothing()
    {
        QFETCH(QByteArray, php);
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, script);
        QFETCH(QString, logged);
        QFETCH(int, mask);
        Project p(php, page, script);
        if (script == "-")
            p.in.InnoSetupFile.clear();
        const QString file = php != Php     ? p.in.PhpFile
                             : page != Page ? p.in.DownLoadLinkFile
                                            : p.in.InnoSetupFile;
        const VersionStampResult r = p.Run();
        QVERIFY(!r.Ok);
        QCOMPARE(r.FoundMask, mask);
        QCOMPARE(p.host.Lines().last(), "One or more entries not found in php,iss or html file");
        QVERIFY(logged.isEmpty() || p.host.Lines().contains(logged.arg(file)));
        QVERIFY(p.Edited().isEmpty());
        QCOMPARE(ReadFileBytes(p.in.PhpFile), php);
        QCOMPARE(ReadFileBytes(p.in.DownLoadLinkFile), page);
        QCOMPARE(ReadFileBytes(p.in.InnoSetupFile), script == "-" ? QByteArray() : script);
    }

    // A file that cannot be written fails the build and no file changes: all
    // three are written beside their targets before any replaces its file.
    void WriteFailureChangesNoFile_data()
    {
        QTest::addColumn<int>("file");      // 0 PHP, 1 script, 2 page
        QTest::addColumn<bool>("readOnly"); // otherwise a folder sits where the new file is written
        QTest::newRow("PHP file read-only") << 0 << true;
        QTest::newRow("script read-only") << 1 << true;
        QTest::newRow("page read-only") << 2 << true;
        QTest::newRow("script not writable") << 1 << false;
        QTest::newRow("page not writable") << 2 << false;
    }
    void WriteFailureChangesNoFile()
    {
        QFETCH(int, file);
        QFETCH(bool, readOnly);
        Project p;
        const QStringList paths{p.in.PhpFile, p.in.InnoSetupFile, p.in.DownLoadLinkFile};
        if (readOnly)
            QFile::setPermissions(paths[file], QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        else
            QDir().mkdir(paths[file] + ".saving");
        QVERIFY(!p.Run().Ok);
        QCOMPARE(p.host.Lines().filter("Couldn't write " + paths[file] + ": ").size(), 1);
        QCOMPARE(p.host.Lines().last(), "No file was edited");
        QVERIFY(p.Edited().isEmpty());
        QVERIFY(p.Unchanged());
        for (const QString& path : paths)
            QVERIFY(!QFileInfo(path + ".saving").isFile());
    }

    // One page that holds both the variable and the link gets both edits.
    void PageThatIsThePhpFile()
    {
        Project p("<?php $latest = 'x'; ?>\r\n<a id=\"dl\" href=\"old.exe\">Get</a>\r\n");
        p.in.DownLoadLinkFile = p.in.PhpFile;
        QVERIFY(p.Run().Ok);
        QCOMPARE(ReadFileBytes(p.in.PhpFile),
                 "$latest = '" + Exe + "';\r\n<a id=\"dl\" href=\"" + Exe + "\">Download 2.1</a>\r\n");
    }
};

QTEST_GUILESS_MAIN(VersionStampTest)
#include "tst_version_stamp.moc"
