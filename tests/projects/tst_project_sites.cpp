#include "projects/AppList.h"
#include "projects/FilePicker.h"
#include "projects/ProjectSites.h"

#include <QTest>

class ProjectSitesTest : public QObject {
    Q_OBJECT
private slots:
    void ParseSitesEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("account");
        QTest::newRow("plain") << "<Alpha>Main"
                               << "Alpha"
                               << "Main";
        QTest::newRow("blanks kept") << "<My Product> Main host "
                                     << "My Product"
                                     << " Main host ";
        QTest::newRow("empty account") << "<Alpha>"
                                       << "Alpha"
                                       << "";
        QTest::newRow("angle in account") << "<Alpha>a>b"
                                          << "Alpha"
                                          << "a>b";
        QTest::newRow("long account cut")
            << "<P>" + QString(120, QLatin1Char('a')) << "P" << QString(100, QLatin1Char('a'));
        QTest::newRow("not an entry") << "Alpha"
                                      << ""
                                      << "";
    }
    void ParseSitesEntry()
    {
        QFETCH(QString, entry);
        QFETCH(QString, project);
        QFETCH(QString, account);
        const TSitesEntry parsed = ::ParseSitesEntry(entry);
        QCOMPARE(parsed.Project, project);
        QCOMPARE(parsed.Account, account);
    }

    void AddSelected_data()
    {
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QStringList>("result");
        QTest::newRow("two on empty list")
            << QStringList() << QStringList{"Main", "Mirror"} << QStringList{"Main", "Mirror"};
        QTest::newRow("already listed") << QStringList{"Main"} << QStringList{"Main"} << QStringList{"Main"};
        QTest::newRow("contains a listed name")
            << QStringList{"Main"} << QStringList{"MainBackup"} << QStringList{"Main"};
        QTest::newRow("part of a listed name")
            << QStringList{"MainBackup"} << QStringList{"Main"} << QStringList{"MainBackup", "Main"};
        QTest::newRow("other letter case")
            << QStringList{"main"} << QStringList{"Main"} << QStringList{"main", "Main"};
        QTest::newRow("covered within the batch")
            << QStringList() << QStringList{"Site", "Site2", "Other"} << QStringList{"Site", "Other"};
        QTest::newRow("nothing selected") << QStringList{"Main"} << QStringList() << QStringList{"Main"};
        QTest::newRow("appended in order")
            << QStringList{"B"} << QStringList{"C", "A"} << QStringList{"B", "C", "A"};
    }
    void AddSelected()
    {
        QFETCH(QStringList, listed);
        QFETCH(QStringList, selected);
        QFETCH(QStringList, result);
        QCOMPARE(AddSelectedAccounts(listed, selected), result);
    }

    void RemoveSelected()
    {
        const QStringList sites{"A", "B", "C", "D"};
        QCOMPARE(RemoveSelectedSites(sites, {1, 3}), QStringList({"A", "C"}));
        QCOMPARE(RemoveSelectedSites(sites, {}), sites);
        QCOMPARE(RemoveSelectedSites(sites, {0, 1, 2, 3}), QStringList());
    }

    void AppDisplayName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << "/opt/app/bin/app.exe"
                               << "app.exe"
                               << "/opt/app/bin/";
        QTest::newRow("bare name") << "app.exe"
                                   << "app.exe"
                                   << "";
        const QString longName = QStringLiteral("a_program_with_a_very_long_file_name_indeed_v2.exe");
        QTest::newRow("cut to 40") << "/bin/" + longName << longName.left(40) << "/bin/";
        QTest::newRow("exactly 40") << "/bin/" + QString(40, QLatin1Char('n'))
                                    << QString(40, QLatin1Char('n')) << "/bin/";
    }
    void AppDisplayName()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QCOMPARE(::AppDisplayName(path), name);
        QCOMPARE(AppFolder(path), folder);
    }

    // Two entries with the same file name in different folders both count as
    // the primary when that name is the primary's.
    void RemoveQuestion()
    {
        QCOMPARE(RemoveAppQuestion(QStringLiteral("/a/app.exe"), QStringLiteral("app.exe")),
                 QStringLiteral("Remove PRIMARY Application from code signing list?\r/a/app.exe"));
        QCOMPARE(RemoveAppQuestion(QStringLiteral("/b/app.exe"), QStringLiteral("app.exe")),
                 QStringLiteral("Remove PRIMARY Application from code signing list?\r/b/app.exe"));
        QCOMPARE(RemoveAppQuestion(QStringLiteral("/a/lib.dll"), QStringLiteral("app.exe")),
                 QStringLiteral("Remove Application from code signing list?\r/a/lib.dll"));
        QCOMPARE(RemoveAppQuestion(QStringLiteral("/a/lib.dll"), NoPrimarySelected),
                 QStringLiteral("Remove Application from code signing list?\r/a/lib.dll"));
        QCOMPARE(VersionCaption(QString()), QStringLiteral("Version "));
    }

    void DialogNameFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("one pattern") << "PFX|*.pfx"
                                     << "PFX (*.pfx)";
        QTest::newRow("three patterns") << "Application Files|*.exe;*.ocx;*.dll"
                                        << "Application Files (*.exe *.ocx *.dll)";
        QTest::newRow("no bar") << "*.iss"
                                << "*.iss";
    }
    void DialogNameFilter()
    {
        QFETCH(QString, filter);
        QFETCH(QString, dialog);
        QCOMPARE(::DialogNameFilter(filter), dialog);
    }
};

QTEST_GUILESS_MAIN(ProjectSitesTest)
#include "tst_project_sites.moc"
