// Installing the program: `cmake --install` into a temporary prefix puts the
// programs, the help pages, the menu entry and the icon where a desktop looks
// for them, and the installed program finds its help there, not in the
// build tree. The Debian package holds the same files.
#include "TarnwellVersion.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class InstallTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(prefix.isValid());
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(TARNWELL_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(TARNWELL_BUILD_DIR),
                       QStringLiteral("--prefix"), prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    }

    void InstalledFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("program");
        QTest::newRow("window program") << "bin/tarnwell" << true;
        QTest::newRow("command line") << "bin/tarnwell-cli" << true;
        QTest::newRow("main help topic") << "share/tarnwell/help/30.html" << false;
        QTest::newRow("a control's topic") << "share/tarnwell/help/560.html" << false;
        QTest::newRow("help style") << "share/tarnwell/help/help.css" << false;
        QTest::newRow("menu entry") << "share/applications/tarnwell.desktop" << false;
        QTest::newRow("scalable icon") << "share/icons/hicolor/scalable/apps/tarnwell.svg" << false;
        QTest::newRow("small icon") << "share/icons/hicolor/48x48/apps/tarnwell.png" << false;
        QTest::newRow("large icon") << "share/icons/hicolor/256x256/apps/tarnwell.png" << false;
        QTest::newRow("metainfo") << "share/metainfo/example.tarnwell.Tarnwell.metainfo.xml" << false;
        QTest::newRow("window's manual page") << "share/man/man1/tarnwell.1.gz" << false;
        QTest::newRow("command line's manual page") << "share/man/man1/tarnwell-cli.1.gz" << false;
        QTest::newRow("cipher tool's manual page") << "share/man/man1/tarnwell-cipher.1.gz" << false;
        QTest::newRow("copyright") << "share/doc/tarnwell/copyright" << false;
        QTest::newRow("completion") << "share/bash-completion/completions/tarnwell-cli" << false;
    }
    void InstalledFiles()
    {
        QFETCH(QString, path);
        QFETCH(bool, program);
        const QFileInfo file(QDir(prefix.path()).filePath(path));
        QVERIFY2(file.isFile(), qPrintable(file.filePath()));
        QCOMPARE(file.isExecutable(), program);
    }

    void MenuEntryStartsTheProgram()
    {
        QFile entry(QDir(prefix.path()).filePath(QStringLiteral("share/applications/tarnwell.desktop")));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), QStringLiteral("[Desktop Entry]"));
        for (const char* line : {"Type=Application", "Name=Tarnwell", "Exec=tarnwell", "Icon=tarnwell"})
            QVERIFY2(lines.contains(QString::fromLatin1(line)), line);
        const QStringList categories = lines.filter(QStringLiteral("Categories="))
                                           .value(0)
                                           .mid(11)
                                           .split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QVERIFY(categories.contains(QStringLiteral("Development")));
    }

    // What software centres and menus read, as their own checkers see it.
    void MetadataValidates_data()
    {
        QTest::addColumn<QString>("checker");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path");
        QTest::newRow("metainfo") << "appstreamcli" << QStringList{"validate", "--no-net"}
                                  << "share/metainfo/example.tarnwell.Tarnwell.metainfo.xml";
        QTest::newRow("menu entry") << "desktop-file-validate" << QStringList()
                                    << "share/applications/tarnwell.desktop";
    }
    void MetadataValidates()
    {
        QFETCH(QString, checker);
        QFETCH(QStringList, arguments);
        QFETCH(QString, path);
        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        check.start(checker, arguments << QDir(prefix.path()).filePath(path));
        QVERIFY2(check.waitForFinished(60000), qPrintable(checker + QStringLiteral(" did not run")));
        QVERIFY2(check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0,
                 check.readAll().constData());
    }

    // Both programs name themselves and the version on one line.
    void Version_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("window program") << "tarnwell";
        QTest::newRow("command line") << "tarnwell-cli";
    }
    void Version()
    {
        QFETCH(QString, program);
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(QDir(prefix.path()).filePath(QStringLiteral("bin/") + program),
                  {QStringLiteral("--version")});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(run.readAllStandardOutput()),
                 program + QStringLiteral(" " TARNWELL_VERSION_TEXT "\n"));
        // Nothing was made: no settings, no single-instance lock taken.
        QVERIFY(QDir(home.path()).isEmpty());
    }

    void InstalledProgramFindsItsHelp()
    {
        // Nothing from the build tree or the system's data folders.
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_DIRS"), home.filePath(QStringLiteral("none")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QDir(prefix.path()).filePath(QStringLiteral("bin/tarnwell")),
                      {QStringLiteral("--help-folder")});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()).trimmed(),
                 QDir(prefix.path()).filePath(QStringLiteral("share/tarnwell/help")));
    }

    void PackageHoldsTheSameAndDeclaresWhatItNeeds()
    {
        QTemporaryDir out;
        QVERIFY(out.isValid());
        QProcess cpack;
        cpack.setWorkingDirectory(QStringLiteral(TARNWELL_BUILD_DIR));
        cpack.setProcessChannelMode(QProcess::MergedChannels);
        cpack.start(QStringLiteral(TARNWELL_CPACK),
                    {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), out.path()});
        QVERIFY(cpack.waitForFinished(240000));
        QVERIFY2(cpack.exitCode() == 0, cpack.readAll().constData());
        const QStringList debs = QDir(out.path()).entryList({QStringLiteral("*.deb")});
        QCOMPARE(debs.size(), 1);
        const QString deb = QDir(out.path()).filePath(debs.first());

        const QString depends = DebOutput({QStringLiteral("-f"), deb, QStringLiteral("Depends")});
        for (const char* package :
             {"libqt6widgets6", "libqt6core6", "libcurl4", "libssl3", "qt6-qpa-plugins"})
            QVERIFY2(depends.contains(QString::fromLatin1(package)), package);

        QStringList packaged;
        for (const QString& line :
             DebOutput({QStringLiteral("-c"), deb}).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (!line.startsWith(QLatin1Char('d')))
                packaged << line.section(QStringLiteral("./usr/"), 1);
        QStringList installed;
        QDirIterator it(prefix.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            installed << QDir(prefix.path()).relativeFilePath(it.next());
        packaged.sort();
        installed.sort();
        QCOMPARE(packaged, installed);
    }

private:
    static QString DebOutput(const QStringList& arguments)
    {
        QProcess dpkg;
        dpkg.start(QStringLiteral("dpkg-deb"), arguments);
        dpkg.waitForFinished(60000);
        return QString::fromUtf8(dpkg.readAllStandardOutput());
    }

    QTemporaryDir prefix;
};

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
