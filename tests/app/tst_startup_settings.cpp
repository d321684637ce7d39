#include "RecordingPrompts.h"
#include "TestFolder.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"
#include "settings/StoredLists.h"
#include "util/TarnwellError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

// What the program reads from its settings file at start and writes back at
// close, and how it finds and opens that file.
class StartupSettings : public QObject {
    Q_OBJECT
private slots:
    void FirstStartGetsTheDefaults()
    {
        TestFolder folder(true);
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        const TStoredLists lists = ReadStoredLists(store);
        QVERIFY(lists.ProjectNames.isEmpty());
        QVERIFY(lists.AccountNames.isEmpty());
        QCOMPARE(lists.ServerURLs, DefaultTimeServers());
        QCOMPARE(lists.Attempts, 10);
        const QDate today(2026, 12, 9);
        QCOMPARE(ReadNextUpdateCheck(store, today), QLocale::system().toString(today, QLocale::ShortFormat));
    }

    void DefaultServersAreFourDistinctAddresses()
    {
        const QStringList servers = DefaultTimeServers();
        QCOMPARE(servers.size(), 4);
        QCOMPARE(QSet<QString>(servers.begin(), servers.end()).size(), 4);
        for (const QString& server : servers)
            QVERIFY2(server.startsWith(QLatin1String("http://")), qPrintable(server));
    }

    void ListsSurviveCloseAndRestart_data()
    {
        QTest::addColumn<QStringList>("servers");
        QTest::addColumn<QStringList>("expectedServers");
        QTest::newRow("own servers kept in order")
            << QStringList{"http://ts.example/b", "http://ts.example/a"}
            << QStringList{"http://ts.example/b", "http://ts.example/a"};
        // All servers deleted: the next start puts the defaults back.
        QTest::newRow("empty list replaced") << QStringList{} << DefaultTimeServers();
    }
    void ListsSurviveCloseAndRestart()
    {
        QFETCH(QStringList, servers);
        QFETCH(QStringList, expectedServers);
        TestFolder folder(true);
        TStoredLists lists;
        lists.ProjectNames = {"Beta", "Alpha", "Beta"};
        lists.AccountNames = {"Main host", "Mirror"};
        lists.ServerURLs = servers;
        lists.Attempts = 300;
        {
            TAppData store;
            QVERIFY(SetUpStore(store, prompts));
            WriteStoredLists(store, lists, QStringLiteral("16/12/2026"));
            store.Save();
        }
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        const TStoredLists read = ReadStoredLists(store);
        QCOMPARE(read.ProjectNames, lists.ProjectNames);
        QCOMPARE(read.AccountNames, lists.AccountNames);
        QCOMPARE(read.ServerURLs, expectedServers);
        QCOMPARE(read.Attempts, 300);
        QCOMPARE(ReadNextUpdateCheck(store, QDate(2026, 12, 9)), QStringLiteral("16/12/2026"));
        QVERIFY(prompts.AllShown().isEmpty());
    }

    void AttemptsThatAreNoNumberAreAnError()
    {
        TestFolder folder(true);
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        store.WriteString(Schema::SecTimeServers, Schema::KeyAttempts, QStringLiteral("ten"));
        QVERIFY_THROWS_EXCEPTION(TarnwellError, ReadStoredLists(store));
    }

    void PassphrasesAreBuiltFromTheirPieces()
    {
        const TStoreNames names = StoreNames();
        QCOMPARE(TextPassphrase().size(), 20);
        QCOMPARE(names.Passphrase.size(), 29);
        QVERIFY(names.Passphrase.startsWith(TextPassphrase()));
        for (const QString& name : {names.Company, names.Product, names.FileName, names.FailureCaption}) {
            QVERIFY(!name.trimmed().isEmpty());
            QVERIFY2(!name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')), qPrintable(name));
        }
    }

    void ReadsAFileWrittenByAnEarlierRelease()
    {
        // A line saved by this release. If the folder names, the file name
        // or the passphrase ever change, users' existing settings would no
        // longer open: this must keep reading.
        TestFolder folder(true);
        const QString path = folder.FilePath(QStringLiteral("data/Tarnwell Software/Tarnwell/settings.dat"));
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(WriteFileBytes(
            path, "OhIU1fAiwHGIu0EXjxJFPLfh/TT8IKTqj7X5Gj+lXDZKvnOXqdxm2rUGSD4LGTIEbNQDsfRZ9E986qkrMYJl"
                  "vqZCUxGAziDQEDtNMq5CRBAB59DvwnlcsBu4BY0=\r\n"));
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        QCOMPARE(store.InvalidLineCount(), 0);
        QCOMPARE(store.ReadList(Schema::SecProjects, Schema::KeyProjectNames), QStringList{"Pinned"});
    }

    void FileLivesUnderCompanyAndProduct()
    {
        TestFolder folder(true);
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        const TStoreNames names = StoreNames();
        const QString expected = QDir(folder.FilePath(QStringLiteral("data")))
                                     .filePath(names.Company + QLatin1Char('/') + names.Product +
                                               QLatin1Char('/') + names.FileName);
        QCOMPARE(QDir::cleanPath(store.FilePath()), QDir::cleanPath(expected));
        QVERIFY(prompts.AllShown().isEmpty());
    }

    void SetUpFailureIsReportedAndWritesNothing()
    {
        TestFolder folder(true);
        // The data folder cannot be made below a plain file.
        const QString blocker = folder.Write(QStringLiteral("blocker"), "not a folder");
        qputenv("XDG_DATA_HOME", (blocker + QStringLiteral("/data")).toLocal8Bit());
        TAppData store;
        QVERIFY(!SetUpStore(store, prompts));
        QCOMPARE(prompts.AllShown().size(), 1);
        QCOMPARE(prompts.AllShown().first().caption, StoreNames().FailureCaption);
        QCOMPARE(prompts.AllShown().first().text, QStringLiteral("Couldn't set Configuration file"));
        QCOMPARE(folder.Read(QStringLiteral("blocker")), QByteArray("not a folder"));
    }

    void DamagedFileIsReportedOnce_data()
    {
        QTest::addColumn<int>("badLines");
        QTest::newRow("one bad line") << 1;
        QTest::newRow("three bad lines") << 3;
    }
    void DamagedFileIsReportedOnce()
    {
        QFETCH(int, badLines);
        TestFolder folder(true);
        QString path;
        {
            TAppData store;
            QVERIFY(SetUpStore(store, prompts));
            store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, {"Alpha"});
            store.Save();
            path = store.FilePath();
        }
        const QByteArray badLine = "bm90IGEgc2V0dGluZ3MgbGluZQ==\r\n";
        QVERIFY(WriteFileBytes(path, ReadFileBytes(path) + badLine.repeated(badLines)));

        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        QCOMPARE(prompts.Texts(), QStringList{"Invalid data"});
        QCOMPARE(prompts.AllShown().first().caption, QStringLiteral("Tarnwell"));
        // The readable entries are still there.
        QCOMPARE(ReadStoredLists(store).ProjectNames, QStringList{"Alpha"});
    }

    void cleanup() { prompts.Clear(); }

private:
    RecordingPrompts prompts;
};

QTEST_GUILESS_MAIN(StartupSettings)
#include "tst_startup_settings.moc"
