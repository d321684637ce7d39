#include "publish/UploadPaths.h"

#include <QTest>

// Where a local file lands on the server, in both path styles. Local Home
// lies inside Local Root; the account maps them to /public_html/ and /.
class UploadPathsTest : public QObject {
    Q_OBJECT
private slots:
    void MapsLocalFilesToServerPaths_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("localHome");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("tempPath"); // under /BRTempUploadFolder
        QTest::addColumn<QString>("target");

        const QString home = "C:\\Web\\site\\public_html";
        const auto row = [](const char* name, bool windows, const QString& localHome, const char* file,
                            const char* target) {
            QTest::newRow(name) << windows << localHome << file << QString("/BRTempUploadFolder") + target
                                << QString(target);
        };
        row("windows: under Local Home", true, home, "C:\\Web\\site\\public_html\\img\\a.png",
            "/public_html/img/a.png");
        row("windows: under Local Root only", true, home, "C:\\Web\\site\\cgi-bin\\x.pl", "/cgi-bin/x.pl");
        row("windows: outside both keeps the drive", true, home, "D:\\Out\\setup.exe", "/D:/Out/setup.exe");
        row("windows: letter case must match", true, home, "c:\\web\\site\\x.pl", "/c:/web/site/x.pl");
        row("windows: Local Home typed with its separator", true, home + "\\",
            "C:\\Web\\site\\public_html\\index.html", "/public_html/index.html");
        row("windows: no Local Home maps only the root", true, "", "C:\\Web\\site\\public_html\\index.html",
            "/public_html/index.html");
        const QString posixHome = "/web/site/public_html";
        row("posix: under Local Home", false, posixHome, "/web/site/public_html/img/a.png",
            "/public_html/img/a.png");
        row("posix: under Local Root only", false, posixHome, "/web/site/cgi-bin/x.pl", "/cgi-bin/x.pl");
        row("posix: outside both keeps its path", false, posixHome, "/out/setup.exe", "/out/setup.exe");
        row("posix: a folder that only begins like Local Home", false, posixHome, "/web/site/public_html2/a",
            "/public_html2/a");
    }
    void MapsLocalFilesToServerPaths()
    {
        QFETCH(bool, windows);
        QFETCH(QString, localHome);
        QFETCH(QString, file);
        QFETCH(QString, tempPath);
        QFETCH(QString, target);
        const QString localRoot = windows ? "C:\\Web\\site" : "/web/site";
        const RemoteUploadPath remote = MapUploadPath(file, {localHome, localRoot, "/public_html/", "/"},
                                                      windows ? PathStyle::Windows() : PathStyle::Posix());
        QCOMPARE(remote.TempPath, tempPath);
        QCOMPARE(remote.TempFolder, tempPath.left(tempPath.lastIndexOf('/')));
        QCOMPARE(remote.TargetPath, target);
    }
};

QTEST_GUILESS_MAIN(UploadPathsTest)
#include "tst_upload_paths.moc"
