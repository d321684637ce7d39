// The site import against a real FTP server and a real SSH server: what
// arrives where, which stamps are written, and what failures, hostile
// listings, host keys and a cancel leave behind.
#include "PublishFixture.h"
#include "RecordingHost.h"
#include "RecordingPrompts.h"
#include "TestStore.h"
#include "projects/OperationContext.h"
#include "projects/WorkingState.h"
#include "publish/CertificateTrust.h"
#include "publish/InstallerUpload.h"
#include "publish/SiteImport.h"
#include "site/SiteLists.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTest>

#include <memory>

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
    // Over SFTP the site lies below the account's Server Root, and a file
    // beside that folder is out of the import's reach.
    struct Import {
        TestStore store;
        TestFolder local;
        std::unique_ptr<FtpTestServer> ftp;
        std::unique_ptr<SshTestServer> ssh;
        WorkingState state;
        TSiteLists lists;
        RecordingPrompts prompts;
        AskingCertificateDecision decision{prompts, &*store};
        SiteImportRequest request{
            "Demo", "A", local.FilePath("imp/site/public_html"), local.FilePath("imp/site"), {5, 5, 10}};

        Import(const FtpTestServer::Options& options, const QString& password)
            : ftp(std::make_unique<FtpTestServer>(options))
        {
            for (const auto& [path, bytes] : ServerFiles)
                ftp->PutFile(path, bytes);
            StoreAccount(*store, "A", *ftp, password);
            KeepAnOldUpload();
        }
        // login: "key", "password" or "wrong" (a key with a wrong passphrase).
        Import(const QString& login, bool trusted) : ssh(std::make_unique<SshTestServer>())
        {
            for (const auto& [path, bytes] : ServerFiles)
                ssh->PutFile(Top() + path.mid(1), bytes);
            ssh->PutFile(Top().chopped(5) + "outside.txt", "beside the site");
            StoreSftpAccount(*store, "A", *ssh, login == "password", trusted);
            if (login == "wrong") {
                TAccountFields fields = LoadAccount(*store, "A");
                fields.KeyFile = ssh->PassphraseKeyFile();
                fields.KeyPass = "not it";
                SaveAccount(*store, fields);
            }
            KeepAnOldUpload();
        }
        // The project as an earlier upload left it: one file selected and stamped.
        void KeepAnOldUpload()
        {
            store->WriteInteger(Schema::UploadRecordSection("Demo", "A"), "/old.html", 77);
            store->WriteList("Demo", Schema::KeyFileSelection, {"/old.html"});
            lists.AppendFile("/old.html", true);
        }
        // Empty when the server runs.
        QString Error() const
        {
            if (ssh)
                return ssh->IsRunning() ? QString() : ssh->Error();
            return ftp->IsRunning() ? QString() : ftp->Error();
        }
        // The server folder the site's "/" lies in.
        QString Top() const { return ssh ? ssh->SitePath() : QStringLiteral("/"); }
        SiteImportOutcome Run(RecordingHost& host)
        {
            return ImportSite(request, lists, {&*store, state, host, prompts, &decision});
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
    // and the log's last lines; nothing is written outside the import
    // folders. Over SFTP the account's host key is trusted unless the row
    // says otherwise; an unknown one is asked about.
    void Imports_data()
    {
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("skipped");
        QTest::addColumn<int>("stamps");
        QTest::addColumn<QStringList>("tail");
        QStringList all;
        for (const auto& [path, bytes] : ServerFiles)
            all << path;
        const QStringList notConnected{"Could not connect", "Is the FTP account locked?",
                                       "Do you have an internet connection?", "Disconnected from : A"};
        const QStringList sftpNotConnected{"Could not connect", "Is the SFTP account locked?",
                                           "Do you have an internet connection?",
                                           "Disconnected from (SFTP) : A"};

        QTest::newRow("whole tree") << "FTP"
                                    << "" << QStringList() << 9
                                    << QStringList{"Import Complete 9 filles imported",
                                                   "Disconnected from : A"};
        QTest::newRow("a download refused")
            << "FTP"
            << "refuse" << QStringList{"/.htaccess"} << 8
            << QStringList{"Import finished: 8 files imported, 1 could not be imported",
                           "Disconnected from : A"};
        QTest::newRow("connection dropped")
            << "FTP"
            << "drop" << all << 0
            << QStringList{"The connection is lost; 8 more files were not imported",
                           "Import finished: 0 files imported, 9 could not be imported",
                           "Disconnected from : A"};
        QTest::newRow("hostile names")
            << "FTP"
            << "hostile" << QStringList() << 9
            << QStringList{"Import finished: 9 files imported, 4 could not be imported",
                           "Disconnected from : A"};
        QTest::newRow("login refused")
            << "FTP"
            << "password" << QStringList() << -1
            << QStringList{"Trying to connect to A", "Connected to : A"} + notConnected;
        QTest::newRow("SFTP, whole tree by key")
            << "SFTP"
            << "" << QStringList() << 9
            << QStringList{"Import Complete 9 filles imported", "Disconnected from (SFTP) : A"};
        QTest::newRow("SFTP, whole tree by password")
            << "SFTP"
            << "password login" << QStringList() << 9
            << QStringList{"Import Complete 9 filles imported", "Disconnected from (SFTP) : A"};
        QTest::newRow("SFTP, login refused")
            << "SFTP"
            << "password" << QStringList() << -1
            << QStringList{"Trying to connect to (SFTP) A", "Connected to (SFTP) : A"} + sftpNotConnected;
        QTest::newRow("SFTP, unknown host key answered No")
            << "SFTP"
            << "unknown key" << QStringList() << -1
            << QStringList{"Trying to connect to (SFTP) A", "Connected to (SFTP) : A"} + sftpNotConnected;
        QTest::newRow("SFTP, unknown host key answered Yes")
            << "SFTP"
            << "unknown key, yes" << QStringList() << 9
            << QStringList{"Import Complete 9 filles imported", "Disconnected from (SFTP) : A"};
        all.removeFirst();
        for (const QString& protocol : QStringList{"FTP", "SFTP"})
            QTest::addRow("%s, cancelled during the download", qPrintable(protocol))
                << protocol << "cancel" << all << -1
                << QStringList{"Disconnected from " + QString(protocol == "SFTP" ? "(SFTP) " : "") + ": A",
                               "You cancelled the import"};
    }
    void Imports()
    {
        QFETCH(QString, protocol);
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
        // No login at all: nothing may be written, the project stays as it was.
        const bool refused = change == "password" || change == "unknown key";
        const bool whole = change.isEmpty() || change == "password login" || change == "unknown key, yes";
        const QString login = change == "password login" ? "password"
                              : change == "password"     ? "wrong"
                                                         : "key";
        std::unique_ptr<Import> made =
            protocol == "SFTP" ? std::make_unique<Import>(login, !change.startsWith("unknown key"))
                               : std::make_unique<Import>(
                                     options, change == "password" ? "wrong" : FtpTestServer::Password());
        Import& run = *made;
        QVERIFY2(run.Error().isEmpty(), qPrintable(run.Error()));
        if (login == "password" && !run.ssh->PasswordSkipReason().isEmpty())
            QSKIP(qPrintable(run.ssh->PasswordSkipReason()));
        run.prompts.QueueAnswers({change == "unknown key, yes" ? IDYES : IDNO});
        CancelAtLine host;
        if (change == "cancel")
            host.Line = run.Top() + ".htaccess";

        const SiteImportOutcome outcome = run.Run(host);
        QCOMPARE(outcome.Ok(), whole);
        QCOMPARE(outcome.ReScan(), stamps >= 0);
        const QStringList imported = refused ? QStringList() : run.Imported(skipped);
        // Nothing else was written anywhere in the test's folder: over SFTP
        // nothing from beside the Server Root either.
        QCOMPARE(FilesIn(run.local.Path()).size(), imported.size());
        for (const auto& [path, bytes] : ServerFiles)
            if (imported.contains(run.local.FilePath("imp/site" + path)))
                QCOMPARE(ReadFileBytes(run.local.FilePath("imp/site" + path)), bytes);
        const QStringList lines = host.Lines();
        QCOMPARE(lines.mid(lines.size() - tail.size()), tail);
        QCOMPARE(lines.filter("Skipped, not a plain name: ").size(), change == "hostile" ? 4 : 0);
        // Only a host key the account does not trust yet is asked about,
        // with its fingerprint, and kept on Yes.
        if (run.ssh) {
            const QString key = run.ssh->HostKeyFingerprint();
            const bool asked = change.startsWith("unknown key");
            QCOMPARE(run.prompts.Texts().size(), asked ? 1 : 0);
            QVERIFY(!asked || run.prompts.Texts().first().contains(key));
            QCOMPARE(ReadAccountSettings(*run.store, "A").TrustedHostKey, refused && asked ? QString() : key);
        }

        // The account's old stamps and the saved selection go once connected.
        const QMap<QString, int> written = Stamps(*run.store, "A", run.Imported() << "/old.html");
        if (refused) {
            QCOMPARE(written, (QMap<QString, int>{{"/old.html", 77}}));
            QCOMPARE(run.store->ReadList("Demo", Schema::KeyFileSelection), QStringList{"/old.html"});
        } else {
            QCOMPARE(run.store->ReadList("Demo", Schema::KeyFileSelection), QStringList());
            QCOMPARE(written, stamps > 0 ? Ages(imported) : (QMap<QString, int>()));
        }
        // A failed login writes nothing, so the lists stay.
        QCOMPARE(run.lists.FileCount(), refused ? 1 : 0);
        if (whole)
            QVERIFY(lines.indexOf("File found: " + run.Top() + "public_html/index.html") <
                    lines.indexOf("File found: " + run.Top() + "public_html/img/logo.png"));
        if (whole && run.ftp) {
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
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<QString>("local"); // "same": the server's bytes; "edited": .htaccess edited
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("cancelAt");
        QTest::addColumn<int>("asked");
        QTest::addColumn<bool>("replaced"); // .htaccess ends as the server's copy
        QTest::addColumn<int>("present");
        QTest::newRow("empty local root") << "FTP"
                                          << "" << IDNO << "" << 0 << true << 9;
        QTest::newRow("identical files") << "FTP"
                                         << "same" << IDNO << "" << 0 << true << 9;
        QTest::newRow("differing, answered No") << "FTP"
                                                << "edited" << IDNO << "" << 1 << false << 2;
        QTest::newRow("differing, answered Yes") << "FTP"
                                                 << "edited" << IDYES << "" << 1 << true << 9;
        // Cancelled once the edited file (the first listed) has arrived.
        QTest::newRow("differing, cancelled") << "FTP"
                                              << "edited" << IDYES << "/.htaccess" << 0 << false << 2;
        QTest::newRow("SFTP, identical files") << "SFTP"
                                               << "same" << IDNO << "" << 0 << true << 9;
        QTest::newRow("SFTP, differing, answered No") << "SFTP"
                                                      << "edited" << IDNO << "" << 1 << false << 2;
        QTest::newRow("SFTP, differing, answered Yes") << "SFTP"
                                                       << "edited" << IDYES << "" << 1 << true << 9;
    }
    void LocalFiles()
    {
        QFETCH(QString, protocol);
        QFETCH(QString, local);
        QFETCH(int, answer);
        QFETCH(QString, cancelAt);
        QFETCH(int, asked);
        QFETCH(bool, replaced);
        QFETCH(int, present);
        std::unique_ptr<Import> made =
            protocol == "SFTP"
                ? std::make_unique<Import>("key", true)
                : std::make_unique<Import>(FtpTestServer::Options(), FtpTestServer::Password());
        Import& run = *made;
        QVERIFY2(run.Error().isEmpty(), qPrintable(run.Error()));
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
        if (!cancelAt.isEmpty())
            host.Line = run.Top() + cancelAt.mid(1);

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
        QCOMPARE(run.ftp->Commands(), QStringList());
        QCOMPARE(run.lists.FileCount(), 1);
    }
};

QTEST_GUILESS_MAIN(SiteImportTest)
#include "tst_site_import.moc"
