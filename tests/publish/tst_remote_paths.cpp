// Where uploads go on a server and where an import puts what a server
// lists, for Windows and POSIX paths.
#include "publish/RemotePaths.h"

#include <QTest>

class RemotePathsTest : public QObject {
    Q_OBJECT
private slots:
    // Local Home lies inside Local Root; the account maps them to
    // /public_html/ and /.
    void UploadPathsFollowTheSiteFolders_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("localHome"); // "-": the usual one
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("target"); // the temporary path is this under /BRTempUploadFolder

        const auto row = [](const char* name, bool windows, const char* home, const char* local,
                            const char* target) {
            QTest::newRow(name) << windows << home << local << target;
        };
        row("under Local Home", true, "-", "C:\\Web\\site\\public_html\\img\\a.png",
            "/public_html/img/a.png");
        row("under Local Root only", true, "-", "C:\\Web\\site\\cgi-bin\\x.pl", "/cgi-bin/x.pl");
        row("outside both keeps its whole path", true, "-", "D:\\Out\\setup.exe", "/D:/Out/setup.exe");
        row("letter case must match", true, "-", "c:\\web\\site\\x.pl", "/c:/web/site/x.pl");
        row("Local Home typed with its separator", true, "C:\\Web\\site\\public_html\\",
            "C:\\Web\\site\\public_html\\index.html", "/public_html/index.html");
        row("no Local Home maps only the root", true, "", "C:\\Web\\site\\public_html\\index.html",
            "/public_html/index.html");
        row("POSIX under Local Home", false, "-", "/srv/site/public_html/img/a.png",
            "/public_html/img/a.png");
        row("POSIX under Local Root only", false, "-", "/srv/site/cgi-bin/x.pl", "/cgi-bin/x.pl");
        row("POSIX outside both keeps its path", false, "-", "/out/setup.exe", "/out/setup.exe");
        row("POSIX a folder that only begins like Local Home", false, "-", "/srv/site/public_html2/a",
            "/public_html2/a");
        // Replacing Local Home gives "/srv/..." again: it must not be
        // taken for Local Root a second time.
        row("POSIX server home that looks like Local Root", false, "-",
            "/srv/site/public_html/srv/site/b.html", "/public_html/srv/site/b.html");
        // Only at the start: the same folder names deeper down stay.
        row("POSIX Local Root inside the path", false, "-", "/mirror/srv/site/a.html",
            "/mirror/srv/site/a.html");
    }
    void UploadPathsFollowTheSiteFolders()
    {
        QFETCH(bool, windows);
        QFETCH(QString, localHome);
        QFETCH(QString, local);
        QFETCH(QString, target);
        const PathStyle style = windows ? PathStyle::Windows() : PathStyle::Posix();
        const QString home = localHome != "-" ? localHome
                             : windows        ? "C:\\Web\\site\\public_html"
                                              : "/srv/site/public_html";
        const QString root = windows ? "C:\\Web\\site" : "/srv/site";

        const UploadPaths paths = UploadPathsOf(local, home, root, "/public_html/", "/", style);
        const QString temp = "/BRTempUploadFolder" + target;
        QCOMPARE(paths.TempPath, temp);
        QCOMPARE(paths.TempFolder, temp.left(temp.lastIndexOf('/')));
        QCOMPARE(paths.TargetPath, target);
    }

    // An SFTP account's uploads wait at the top of its Server Root, however
    // the root is typed; an FTP account's at the server's top.
    void TemporaryFolderOfAnAccount_data()
    {
        QTest::addColumn<bool>("sftp");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("temp");
        QTest::newRow("FTP") << false << "/home/me/"
                             << "/BRTempUploadFolder";
        QTest::newRow("SFTP") << true << "/home/me"
                              << "/home/me/BRTempUploadFolder";
        QTest::newRow("SFTP, root typed with separators") << true << "//home/me//"
                                                          << "/home/me/BRTempUploadFolder";
        QTest::newRow("SFTP, root without its leading separator") << true << "home/me/"
                                                                  << "/home/me/BRTempUploadFolder";
        QTest::newRow("SFTP, root at the top") << true << "/"
                                               << "/BRTempUploadFolder";
        QTest::newRow("SFTP, no root") << true << ""
                                       << "/BRTempUploadFolder";
    }
    void TemporaryFolderOfAnAccount()
    {
        QFETCH(bool, sftp);
        QFETCH(QString, root);
        QFETCH(QString, temp);
        TConnectionSettings account;
        account.Protocol = sftp ? TRemoteProtocol::Sftp : TRemoteProtocol::Ftp;
        account.RootPath = root;
        account.HomePath = root + "public_html";
        QCOMPARE(TempUploadRoot(account), temp);
        // A file's temporary path is its target below that folder.
        const UploadPaths paths =
            UploadPathsOf("/srv/site/public_html/a.html", "/srv/site/public_html", "/srv/site",
                          "/home/me/public_html", "/home/me", PathStyle::Posix(), temp);
        QCOMPARE(paths.TargetPath, QString("/home/me/public_html/a.html"));
        QCOMPARE(paths.TempPath, temp + paths.TargetPath);
        QCOMPARE(paths.TempFolder, temp + "/home/me/public_html");
    }

    // Empty: the entry is not written anywhere.
    void ImportStaysInsideItsFolders_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("remote");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("local");

        QTest::newRow("folder under home")
            << true << "/public_html/img" << true << "C:\\Imp\\site\\public_html\\img";
        QTest::newRow("file under home")
            << true << "/public_html/index.html" << false << "C:\\Imp\\site\\public_html\\index.html";
        QTest::newRow("the home folder itself")
            << true << "/public_html" << true << "C:\\Imp\\site\\public_html";
        QTest::newRow("file beside home")
            << true << "/cgi-bin/x.pl" << false << "C:\\Imp\\site\\cgi-bin\\x.pl";
        QTest::newRow("file at the top") << true << "/.htaccess" << false << "C:\\Imp\\site\\.htaccess";
        QTest::newRow("climbing out") << true << "/public_html/../../../x" << false << QString();
        QTest::newRow("POSIX file under home")
            << false << "/public_html/a/b.css" << false << "/imp/site/public_html/a/b.css";
        QTest::newRow("POSIX climbing out") << false << "/../../etc/passwd" << false << QString();
        QTest::newRow("POSIX Local Home text inside the path")
            << false << "/x/imp/site/public_html/y" << false << QString();
    }
    void ImportStaysInsideItsFolders()
    {
        QFETCH(bool, windows);
        QFETCH(QString, remote);
        QFETCH(bool, folder);
        QFETCH(QString, local);
        const PathStyle style = windows ? PathStyle::Windows() : PathStyle::Posix();
        const QString home = windows ? "C:\\Imp\\site\\public_html" : "/imp/site/public_html";
        const QString root = windows ? "C:\\Imp\\site" : "/imp/site";

        QCOMPARE(ImportLocalPath(remote, folder, "/public_html/", home, root, style), local);
    }
};

QTEST_GUILESS_MAIN(RemotePathsTest)
#include "tst_remote_paths.moc"
