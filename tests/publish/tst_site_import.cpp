// The site import against a real FTP server: what arrives where, which
// stamps are written, and what failures, hostile listings and a cancel
// leave behind.
#include "PublishFixture.h"
#include "RecordingHost.h"
#include "RecordingPrompts.h"
#include "TestStore.h"
#include "projects/OperationContext.h"
#include "projects/WorkingState.h"
#include "publish/InstallerUpload.h"
#include "publish/SiteImport.h"
#include "site/SiteLists.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTest>

namespace {

// Nested folders, an empty file, a few hundred KB, a file at the top, and
// what an interrupted upload left behind (never imported).
const QList<QPair<QString, QByteArray>> ServerFiles{
    {"/.htaccess", "deny from none"},
    {"/public_html/index.html", "<a href=\"sub/deep/page.html\">"},
    {"/public_html/empty.txt", ""},
    {"/public_html/img/logo.png", QByteArray(400 * 1024, 'p')},
    {"/public_html/sub/deep/page.html", "deep"},
    {"/public_html/download.html", "<a id=\"dl\">"},
    {"/public_html/downloads/MyApp-2-1.exe", "MZ installer"},
    {"/inc/version.php", "<?php ?>"},
    {"/cgi-bin/x.pl", "#!/usr/bin/perl"},
    {"/BRTempUploadFolder/public_html/index.html", "half-done upload"},
};

// Every file below a folder, relative to it, sorted.
QStringList FilesIn(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// Cancels once exactly this line is logged.
struct CancelAtLine : RecordingHost {
    QString Line;
    void Log(const QString& line) override
    {
        RecordingHost::Log(line);
        if (line == Line)
            CancelNow();
    }
};

} // namespace

class SiteImportTest : public QObject {
    Q_OBJECT

    // The project had an old stamp, a saved selection and a listed file.
    struct Import {
        TestStore store;
        TestFolder local;
        FtpTestServer server;
        WorkingState state;
        TSiteLists lists;
        RecordingPrompts prompts;
        SiteImportRequest request{
            "Demo", "A", local.FilePath("imp/site/public_html"), local.FilePath("imp/site"), {5, 5, 10}};

        Import(const FtpTestServer::Options& options, const QString& password) : server(options)
        {
            for (const auto& [path, bytes] : ServerFiles)
                server.PutFile(path, bytes);
            StoreAccount(*store, "A", server, password);
            store->WriteInteger(Schema::UploadRecordSection("Demo", "A"), "/old.html", 77);
            store->WriteList("Demo", Schema::KeyFileSelection, {"/old.html"});
            lists.AppendFile("/old.html", true);
        }
        SiteImportOutcome Run(RecordingHost& host)
        {
            return ImportSite(request, lists, {&*store, state, host, prompts});
        }
        // The local paths of the imported files (less the skipped ones).
        QStringList Imported(const QStringList& skip = {}) const
        {
            QStringList files;
            for (const auto& [path, bytes] : ServerFiles)
                if (!path.startsWith("/BRTempUploadFolder") && !skip.contains(path))
                    files << local.FilePath("imp/site" + path);
            return files;
        }
    };

private slots:
    // What arrives, how many files are stamped (-1: none, and no re-scan),
    // and the log's last lines; nothing is written outside the import folders.
    void Imports_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("skipped");
        QTest::addColumn<int>("stamps");
        QTest::addColumn<QStringList>("tail");
        QStringList all;
        for (const auto& [path, bytes] : ServerFiles)
            all << path;

        QTest::newRow("whole tree") << "" << QStringList() << 9
                                    << QStringList{"Import Complete 9 filles imported",
                                                   "Disconnected from : A"};
        QTest::newRow("a download refused")
            << "refuse" << QStringList{"/.htaccess"} << 8
            << QStringList{"Import finished: 8 files imported, 1 could not be imported",
                           "Disconnected from : A"};
        QTest::newRow("connection dropped")
            << "drop" << all << 0
            << QStringList{"The connection is lost; 8 more files were not imported",
                           "Import finished: 0 files imported, 9 could not be imported",
                           "Disconnected from : A"};
        QTest::newRow("hostile names")
            << "hostile" << QStringList() << 9
            << QStringList{"Import finished: 9 files imported, 4 could not be imported",
                           "Disconnected from : A"};
        all.removeFirst();
        QTest::newRow("cancelled during the download")
            << "cancel" << all << -1
            << QStringList{"/.htaccess", "Disconnected from : A", "You cancelled the import"};
        QTest::newRow("login refused") << "password" << QStringList() << -1
                                       << QStringList{"Trying to connect to A",
                                                      "Connected to : A",
                                                      "Could not connect",
                                                      "Is the FTP account locked?",
                                                      "Do you have an internet connection?",
                                                      "Disconnected from : A"};
    }
    void Imports()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, skipped);
        QFETCH(int, stamps);
        QFETCH(QStringList, tail);
        FtpTestServer::Options options;
        if (change == "refuse")
            options.RefuseOnce << "RETR";
        if (change == "drop")
            options.DropOn << "RETR";
        if (change == "hostile")
            options.FakeEntries << "file:../escaped.txt"
                                << "file:/abs.txt"
                                << "dir:../up"
                                << "file:a\\b";
        Import run(options, change == "password" ? "wrong" : FtpTestServer::Password());
        CancelAtLine host;
        if (change == "cancel")
            host.Line = "/.htaccess";

        const SiteImportOutcome outcome = run.Run(host);
        QCOMPARE(outcome.Ok(), change.isEmpty());
        QCOMPARE(outcome.ReScan(), stamps >= 0);
        const QStringList imported = change == "password" ? QStringList() : run.Imported(skipped);
        // Nothing else was written anywhere in the test's folder.
        QCOMPARE(FilesIn(run.local.Path()).size(), imported.size());
        for (const auto& [path, bytes] : ServerFiles)
            if (imported.contains(run.local.FilePath("imp/site" + path)))
                QCOMPARE(ReadFileBytes(run.local.FilePath("imp/site" + path)), bytes);
        const QStringList lines = host.Lines();
        QCOMPARE(lines.mid(lines.size() - tail.size()), tail);
        QCOMPARE(lines.filter("Skipped, not a plain name: ").size(), change == "hostile" ? 4 : 0);

        // The account's old stamps and the saved selection go once connected.
        const QMap<QString, int> written = Stamps(*run.store, "A", run.Imported() << "/old.html");
        if (change == "password") {
            QCOMPARE(written, (QMap<QString, int>{{"/old.html", 77}}));
            QCOMPARE(run.store->ReadList("Demo", Schema::KeyFileSelection), QStringList{"/old.html"});
        } else {
            QCOMPARE(run.store->ReadList("Demo", Schema::KeyFileSelection), QStringList());
            QCOMPARE(written, stamps > 0 ? Ages(imported) : (QMap<QString, int>()));
        }
        // A failed login writes nothing, so the lists stay.
        QCOMPARE(run.lists.FileCount(), change == "password" ? 1 : 0);
        if (change.isEmpty()) {
            QVERIFY(lines.indexOf("File found: /public_html/index.html") <
                    lines.indexOf("File found: /public_html/img/logo.png"));
            // A release upload of the imported files right after has nothing to send.
            const QString home = run.request.LocalHome;
            run.state.SetupExePath = home + "/downloads/MyApp-2-1.exe";
            RecordingHost upload;
            UploadInstaller({"Demo",
                             home + "/download.html",
                             run.request.LocalRoot + "/inc/version.php",
                             home,
                             run.request.LocalRoot,
                             {"A"},
                             {}},
                            {&*run.store, run.state, upload, run.prompts});
            QCOMPARE(upload.Lines().first(), "Demo >>> A No files need to be sent");
        }
    }

    // Local files in the way: only those whose bytes differ from the
    // server's are asked about, once, and replaced only on Yes; identical
    // ones stay untouched. asked is the count the question names (0: none);
    // present the files in the import folders afterwards.
    void LocalFiles_data()
    {
        QTest::addColumn<QString>("local"); // "same": the server's bytes; "edited": .htaccess edited
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("cancelAt");
        QTest::addColumn<int>("asked");
        QTest::addColumn<bool>("replaced"); // .htaccess ends as the server's copy
        QTest::addColumn<int>("present");
        QTest::newRow("empty local root") << "" << IDNO << "" << 0 << true << 9;
        QTest::newRow("identical files") << "same" << IDNO << "" << 0 << true << 9;
        QTest::newRow("differing, answered No") << "edited" << IDNO << "" << 1 << false << 2;
        QTest::newRow("differing, answered Yes") << "edited" << IDYES << "" << 1 << true << 9;
        // Cancelled once the edited file (the first listed) has arrived.
        QTest::newRow("differing, cancelled") << "edited" << IDYES << "/.htaccess" << 0 << false << 2;
    }
    void LocalFiles()
    {
        QFETCH(QString, local);
        QFETCH(int, answer);
        QFETCH(QString, cancelAt);
        QFETCH(int, asked);
        QFETCH(bool, replaced);
        QFETCH(int, present);
        Import run({}, FtpTestServer::Password());
        const QDateTime old(QDate(2020, 1, 2), QTime(3, 4, 5));
        // The local files that hold the server's bytes already.
        QStringList same;
        QStringList before;
        for (const auto& [path, bytes] : ServerFiles) {
            if (path.startsWith("/BRTempUploadFolder"))
                continue;
            const bool edited = local == "edited" && path == "/.htaccess";
            if (local == "same" || edited || (local == "edited" && path == "/public_html/img/logo.png")) {
                before << run.local.Write("imp/site" + path, edited ? "my edit" : bytes);
                if (!edited)
                    same << before.last();
            }
        }
        for (const QString& file : before) {
            QFile touch(file);
            QVERIFY(touch.open(QIODevice::ReadWrite));
            QVERIFY(touch.setFileTime(old, QFileDevice::FileModificationTime));
        }
        run.prompts.QueueAnswers({answer});
        CancelAtLine host;
        host.Line = cancelAt;

        const SiteImportOutcome outcome = run.Run(host);
        const QString root = run.request.LocalRoot;
        QCOMPARE(run.prompts.Texts(),
                 asked ? QStringList{QString::number(asked) + " files in " + root +
                                     " differ from the server's copies and would be replaced. Replace them?"}
                       : QStringList());
        // Nothing is left of the downloads' waiting room.
        QCOMPARE(FilesIn(run.local.Path()).size(), present);
        QCOMPARE(QDir(root).entryList({".tarnwell-import-*"}, QDir::AllEntries | QDir::Hidden),
                 QStringList());
        QCOMPARE(ReadFileBytes(root + "/.htaccess"),
                 replaced ? ServerFiles[0].second : QByteArray("my edit"));
        // Files that already held the server's bytes were not rewritten.
        for (const QString& file : same)
            QCOMPARE(QFileInfo(file).lastModified(), old);

        const QMap<QString, int> written = Stamps(*run.store, "A", run.Imported() << "/old.html");
        if (answer == IDNO && asked) {
            QCOMPARE(outcome.Ended, SiteImportOutcome::End::Declined);
            QCOMPARE(host.Lines().filter("Import stopped: no local file was changed").size(), 1);
            // The project is as it was: stamps, saved selection, site lists.
            QCOMPARE(written, (QMap<QString, int>{{"/old.html", 77}}));
            QCOMPARE(run.store->ReadList("Demo", Schema::KeyFileSelection), QStringList{"/old.html"});
            QCOMPARE(run.lists.FileCount(), 1);
        } else {
            QCOMPARE(outcome.ReScan(), cancelAt.isEmpty());
            QCOMPARE(written, (cancelAt.isEmpty() ? Ages(run.Imported()) : QMap<QString, int>()));
        }
    }

    // Refused before anything happens: the box, no connection, lists kept.
    void Checks_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("box");
        QTest::newRow("no account") << "account" << QString();
        QTest::newRow("server path not set") << "paths"
                                             << "A you don't appear to have set the server paths";
        QTest::newRow("relative folder")
            << "folder"
            << "Please give the full paths of the Local Home and Local Root folders to import into";
        QTest::newRow("no project") << "project"
                                    << "No project open!";
    }
    void Checks()
    {
        QFETCH(QString, change);
        QFETCH(QString, box);
        Import run({}, FtpTestServer::Password());
        if (change == "account")
            run.request.Account.clear();
        if (change == "project")
            run.request.Project.clear();
        if (change == "paths")
            run.store->WriteString(Schema::AccountSection("A"), Schema::KeyULPhp, "/");
        if (change == "folder")
            run.request.LocalRoot = "imp";
        RecordingHost host;

        QVERIFY(!run.Run(host).ReScan());
        QCOMPARE(run.prompts.Texts(), box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(host.Lines(), QStringList());
        QCOMPARE(run.server.Commands(), QStringList());
        QCOMPARE(run.lists.FileCount(), 1);
    }
};

QTEST_GUILESS_MAIN(SiteImportTest)
#include "tst_site_import.moc"
