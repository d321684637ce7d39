// The server's orphans on the test FTP (and SSH) server: what the preview lists, and
// what an Entire Site run with "Delete orphans" deletes, and when it must not.
#include "UploadFixture.h"
#include "publish/UploadPreview.h"

namespace {

// Beside the site's own files, on every server. Which of them are orphans
// depends on the account's folders; the rest are never offered.
const QStringList ServerExtras{
    "/public_html/old.html",
    "/img/old.png",
    "/site/public_html/old.html",
    "/site/img/old.png",
    "/public_html/.htaccess",                     // hidden: the host's as often as the site's
    "/.hidden/x.html",                            // in a folder the scan never enters
    "/public_html/a.html.BRAside",                // a copy a move leaves aside
    "/BRTempUploadFolder/public_html/stale.html", // the upload's own folder
    "/public_html/A.HTML",                        // a.html to a server that ignores case
};

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

QStringList Paths(const QList<OrphanFile>& files)
{
    QStringList paths;
    for (const OrphanFile& file : files)
        paths << file.Path;
    return Sorted(paths);
}

} // namespace

class ServerOrphansTest : public QObject {
    Q_OBJECT
private slots:
    void OrphansListedAndDeleted_data()
    {
        // The account's Server Root (Server Home below it); "sftp": an SFTP
        // account laid out as "/" is, below its server's site folder.
        QTest::addColumn<QString>("root");
        QTest::addColumn<QStringList>("faults"); // the server's fault switches
        QTest::addColumn<bool>("deleteOrphans");
        QTest::addColumn<int>("answer"); // to the question about the orphans
        QTest::addColumn<QStringList>("orphans");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<bool>("live"); // the account was served: its stamps were recorded
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<QString>("cancelAt"); // the log line the user cancels at

        const QStringList underRoot{"/img/old.png", "/public_html/old.html", "/site/img/old.png",
                                    "/site/public_html/old.html"};
        const QStringList underSite{"/site/img/old.png", "/site/public_html/old.html"};
        QTest::newRow("listed, kept without the box")
            << "/" << QStringList() << false << 0 << underRoot << 0 << true << true << QString();
        QTest::newRow("deleted once live")
            << "/" << QStringList() << true << int(IDYES) << underRoot << 4 << true << true << QString();
        QTest::newRow("deleted once live, over SFTP")
            << "sftp" << QStringList() << true << int(IDYES) << underRoot << 4 << true << true << QString();
        QTest::newRow("only under the mapped folders")
            << "/site/" << QStringList() << true << int(IDYES) << underSite << 2 << true << true << QString();
        QTest::newRow("a first upload") << "/new/" << QStringList() << true << int(IDYES) << QStringList()
                                        << 0 << true << true << QString();
        QTest::newRow("a move failed") << "/" << QStringList{"refuse:RNFR:2"} << true << int(IDYES)
                                       << underRoot << 0 << false << false << QString();
        QTest::newRow("an upload failed") << "/" << QStringList{"truncate:STOR:1"} << true << int(IDYES)
                                          << underRoot << 0 << false << false << QString();
        QTest::newRow("a delete refused") << "/" << QStringList{"refuse:DELE:1"} << true << int(IDYES)
                                          << underRoot << 3 << true << false << QString();
        QTest::newRow("No to deleting them")
            << "/" << QStringList() << true << int(IDNO) << underRoot << 0 << false << false << QString();
        QTest::newRow("cancelled while deleting")
            << "/" << QStringList() << true << int(IDYES) << underRoot << 1 << true << false << "Deleting ";
    }
    void OrphansListedAndDeleted()
    {
        QFETCH(QString, root);
        QFETCH(QStringList, faults);
        QFETCH(bool, deleteOrphans);
        QFETCH(int, answer);
        QFETCH(QStringList, orphans);
        QFETCH(int, deleted);
        QFETCH(bool, live);
        QFETCH(bool, succeeded);
        QFETCH(QString, cancelAt);

        UploadFixture fx;
        FtpTestServer::Options options;
        options.Faults = faults;
        const bool sftp = root == "sftp";
        SshTestServer* ssh = sftp ? &fx.AddSftpAccount("Live") : nullptr;
        FtpTestServer* ftp = sftp ? nullptr : &fx.AddAccount("Live", options);
        if (sftp) {
            root = "/";
        } else {
            TAccountFields account = LoadAccount(*fx.store, "Live");
            account.ServerRoot = root;
            account.ServerHome = root + "public_html/";
            SaveAccount(*fx.store, account);
        }
        const auto at = [&](const QString& path) {
            return sftp ? UploadFixture::SftpPath(*ssh, path) : path;
        };
        const auto exists = [&](const QString& path) {
            return sftp ? ssh->Exists(at(path)) : ftp->Exists(path);
        };
        const auto changes = [&] {
            return sftp ? ssh->SiteEntries() : UploadFixture::ChangingCommands(*ftp);
        };
        for (const QString& path : ServerExtras)
            sftp ? ssh->PutFile(at(path), "extra") : ftp->PutFile(path, "extra");
        orphans.replaceInStrings(QRegularExpression("^"), sftp ? ssh->SitePath().chopped(1) : QString());
        fx.Scan();
        const QStringList before = changes();

        const SiteUploadInputs preview{
            UploadMode::EntireSite, UploadFixture::Project, fx.Local("site"), fx.Local("site/www"), {"Live"}};
        RecordingHost previewHost;
        RecordingPrompts quiet;
        const UploadPreview planned =
            PreviewUpload(preview, fx.lists, *fx.store, fx.state, previewHost, quiet);
        QVERIFY2(planned.Complete(), qPrintable(previewHost.Lines().join('\n')));
        QCOMPARE(Paths(planned.Accounts.value(0).Orphans.Files), orphans);
        if (!orphans.isEmpty())
            QVERIFY(previewHost.Lines().contains(QString("  %1 (5 bytes)").arg(orphans.first())));
        // The preview only looks.
        QCOMPARE(changes(), before);

        SiteUploadInputs inputs = preview;
        inputs.DeleteOrphans = deleteOrphans;
        RecordingHost host;
        if (!cancelAt.isEmpty())
            host.CancelWhenLogged(cancelAt);
        fx.prompts.QueueAnswers({IDYES, answer});
        const SiteUploadOutcome outcome =
            DoUpload(inputs, fx.lists, {fx.store, fx.state, host, fx.prompts}, {});
        QVERIFY2(outcome.Succeeded() == succeeded, qPrintable(host.Lines().join('\n')));
        if (deleteOrphans && !orphans.isEmpty())
            QVERIFY(fx.prompts.Texts(RecordingPrompts::Kind::Question)
                        .last()
                        .contains(QString("Live: %1 orphans\r").arg(orphans.size())));
        else
            QCOMPARE(fx.prompts.Texts(RecordingPrompts::Kind::Question).size(), 1);

        // Only orphans go, and only as many as the run could delete.
        int gone = 0;
        for (const QString& path : ServerExtras) {
            if (!exists(path)) {
                QVERIFY2(orphans.contains(at(path)), qPrintable(path));
                ++gone;
            }
        }
        QCOMPARE(gone, deleted);
        if (deleted > 0)
            QVERIFY(host.Lines().contains(
                QString("--- Orphans deleted: %1 of %2").arg(deleted).arg(orphans.size())));
        // A No comes before anything is sent.
        const bool refused = outcome.Stop == UploadStop::NotConfirmed;
        QCOMPARE(refused, answer == IDNO);
        if (refused)
            QVERIFY(!exists(root + "public_html/b.html"));
        QCOMPARE(fx.Stamp("Live", "www/index.html"), live ? fx.Age("www/index.html") : 0);
    }
};

QTEST_GUILESS_MAIN(ServerOrphansTest)
#include "tst_server_orphans.moc"
