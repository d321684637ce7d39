#include "WindowFixture.h"
#include "app/TarnwellApplication.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"
#include "settings/StoredLists.h"
#include "ui/Hints.h"
#include "ui/MainscreenU.h"

#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QSpinBox>
#include <QTest>

namespace {

QStringList reportedErrors;

} // namespace

// The main window's start (store set-up, first show) and its close, with the
// real settings file in a private data folder.
class MainScreenLifecycle : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        reportedErrors.clear();
        prompts.Clear();
        folder = std::make_unique<TestFolder>(true);
    }
    void cleanup() { folder.reset(); }

    void FirstStartShowsDefaultsAndCloseWritesThem()
    {
        QString settingsPath;
        {
            TMainScreen window(services.Services());
            QVERIFY(window.StoreReady());
            settingsPath = window.AppData->FilePath();
            ShowAndWait(window);
            QVERIFY(ListTexts(List(window, "Projects")).isEmpty());
            QVERIFY(ListTexts(List(window, "lbxAccount")).isEmpty());
            QCOMPARE(ListTexts(List(window, "lbxTimeServers")), DefaultTimeServers());
            QCOMPARE(window.findChild<QSpinBox*>(QStringLiteral("speAttempts"))->value(), 10);
            QVERIFY(!QFile::exists(settingsPath));
            window.close();
            QVERIFY(!window.StoreReady());
        }
        QVERIFY(QFile::exists(settingsPath));
        QVERIFY(prompts.AllShown().isEmpty());
        QVERIFY(reportedErrors.isEmpty());

        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        QCOMPARE(store.ReadList(Schema::SecTimeServers, Schema::KeyServerURLs), DefaultTimeServers());
        QCOMPARE(store.ReadString(Schema::SecTimeServers, Schema::KeyAttempts, {}), QStringLiteral("10"));
        QCOMPARE(store.ReadString(Schema::SecSettings, Schema::KeyUpdateCheck, {}),
                 QLocale::system().toString(services.clock.Today(), QLocale::ShortFormat));
        const QString geometry = Schema::WindowSection(QStringLiteral("MainScreen"));
        for (const QString& key : {Schema::KeyTop, Schema::KeyLeft, Schema::KeyHeight, Schema::KeyWidth})
            QVERIFY2(!store.ReadString(geometry, key, {}).isEmpty(), qPrintable(key));
        QCOMPARE(store.ReadInteger(geometry, Schema::KeyWidth, 0), 746);
        // No project or account was opened: no section of either.
        QVERIFY(store.ReadSectionEntries(Schema::SecSites, {}).isEmpty());
    }

    void SecondStartReadsBackWhatTheFirstLeft()
    {
        {
            TMainScreen window(services.Services());
            ShowAndWait(window);
            List(window, "Projects")->addItems({"Alpha", "Beta"});
            List(window, "lbxAccount")->addItem(QStringLiteral("Main host"));
            QListWidget* servers = List(window, "lbxTimeServers");
            servers->clear();
            servers->addItems({"http://ts.example/one", "http://ts.example/two"});
            window.findChild<QSpinBox*>(QStringLiteral("speAttempts"))->setValue(25);
            window.State.NextUpdateCheck = QStringLiteral("01/01/2030");
            window.move(150, 100);
            window.close();
        }
        TMainScreen window(services.Services());
        ShowAndWait(window);
        QCOMPARE(ListTexts(List(window, "Projects")), (QStringList{"Alpha", "Beta"}));
        QCOMPARE(ListTexts(List(window, "lbxAccount")), QStringList{"Main host"});
        QCOMPARE(ListTexts(List(window, "lbxTimeServers")),
                 (QStringList{"http://ts.example/one", "http://ts.example/two"}));
        QCOMPARE(window.findChild<QSpinBox*>(QStringLiteral("speAttempts"))->value(), 25);
        QCOMPARE(window.State.NextUpdateCheck, QStringLiteral("01/01/2030"));
        QCOMPARE(window.pos(), QPoint(150, 100));
        QCOMPARE(window.width(), 746);
        window.close();
    }

    void ToolLocationsAreShownAtStart()
    {
        {
            TAppData store;
            QVERIFY(SetUpStore(store, prompts));
            store.WriteString(Schema::SecInnoCompiler, Schema::KeyCommand, QStringLiteral("/opt/inno/iscc"));
            store.WriteString(Schema::SecEditor, Schema::KeyCommand, QStringLiteral("/usr/bin/editor"));
            store.WriteString(Schema::SecHelpMaker, Schema::KeyCommand, QStringLiteral("/opt/hm/helpmaker"));
            store.Save();
        }
        TMainScreen window(services.Services());
        ShowAndWait(window);
        QCOMPARE(Edit(window, "lbeInnoCompiler")->text(), QStringLiteral("/opt/inno/iscc"));
        QCOMPARE(Edit(window, "lbeEditor")->text(), QStringLiteral("/usr/bin/editor"));
        QCOMPARE(Edit(window, "lbeHelpMaker")->text(), QStringLiteral("/opt/hm/helpmaker"));
        window.close();
    }

    void BuildScriptStartsEmptyAndPrivate()
    {
        TMainScreen window(services.Services());
        const QString path = BuildScriptFile::PathIn(window.AppData->TempFolder());
        QVERIFY(WriteFileBytes(path, "echo left over from the last run\r\n"));
        ShowAndWait(window);
        QVERIFY(window.State.BuildBatch);
        QCOMPARE(window.State.BuildBatch->Path(), path);
        QCOMPARE(QFile(path).size(), 0);
        QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        window.close();
    }

    void SetUpFailureEndsWithoutWritingAnything()
    {
        const QString blocker = folder->Write(QStringLiteral("blocker"), "not a folder");
        qputenv("XDG_DATA_HOME", (blocker + QStringLiteral("/data")).toLocal8Bit());
        TMainScreen window(services.Services());
        QVERIFY(!window.StoreReady());
        QCOMPARE(prompts.Texts(), QStringList{"Couldn't set Configuration file"});
        QCOMPARE(prompts.AllShown().first().caption, StoreNames().FailureCaption);
        window.close();
        QDirIterator files(folder->Path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        QStringList written;
        while (files.hasNext())
            written << files.next();
        QCOMPARE(written, QStringList{blocker});
    }

    void DamagedFileIsReportedOnceAndTheStartGoesOn()
    {
        QString path;
        {
            TMainScreen window(services.Services());
            ShowAndWait(window);
            List(window, "Projects")->addItem(QStringLiteral("Alpha"));
            path = window.AppData->FilePath();
            window.close();
        }
        QVERIFY(WriteFileBytes(path, ReadFileBytes(path) + "bm90IGEgc2V0dGluZ3MgbGluZQ==\r\nAAAA\r\n"));

        TMainScreen window(services.Services());
        ShowAndWait(window);
        QCOMPARE(prompts.Texts(), QStringList{"Invalid data"});
        QCOMPARE(ListTexts(List(window, "Projects")), QStringList{"Alpha"});
        window.close();
    }

    void StoredWindowValueThatIsNoNumberStopsTheStart()
    {
        {
            TAppData store;
            QVERIFY(SetUpStore(store, prompts));
            store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, {"Alpha"});
            store.WriteString(Schema::WindowSection(QStringLiteral("MainScreen")), Schema::KeyTop,
                              QStringLiteral("12x"));
            store.Save();
        }
        TMainScreen window(services.Services());
        ShowAndWait(window);
        QCOMPARE(reportedErrors.size(), 1);
        QVERIFY(reportedErrors.first().contains(QStringLiteral("12x")));
        // The steps before it ran, the ones after it did not.
        QCOMPARE(ListTexts(List(window, "Projects")), QStringList{"Alpha"});
        QVERIFY(ControlHint(window.findChild<QWidget*>(QStringLiteral("chkEnable"))).isEmpty());
        window.close();
    }

    // A stored value that stops the start must not cost the user anything:
    // the close writes back what was read and leaves the rest as it was.
    void FailedStartLosesNoList_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("attempts") << Schema::SecTimeServers << Schema::KeyAttempts;
        QTest::newRow("window top") << Schema::WindowSection(QStringLiteral("MainScreen")) << Schema::KeyTop;
    }
    void FailedStartLosesNoList()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        const auto lists = [](const TAppData& store) {
            return QStringList{store.ReadList(Schema::SecProjects, Schema::KeyProjectNames).join('|'),
                               store.ReadList(Schema::SecAccounts, Schema::KeyAccountNames).join('|'),
                               store.ReadList(Schema::SecTimeServers, Schema::KeyServerURLs).join('|'),
                               store.ReadString(Schema::SecSettings, Schema::KeyUpdateCheck, {})};
        };
        QStringList before;
        {
            TAppData store;
            QVERIFY(SetUpStore(store, prompts));
            store.WriteList(Schema::SecProjects, Schema::KeyProjectNames, {"Alpha", "Beta"});
            store.WriteList(Schema::SecAccounts, Schema::KeyAccountNames, {"Main"});
            store.WriteList(Schema::SecTimeServers, Schema::KeyServerURLs, {"http://ts.test"});
            store.WriteString(Schema::SecSettings, Schema::KeyUpdateCheck, QStringLiteral("01/02/2027"));
            store.WriteString(section, key, QStringLiteral("ten"));
            store.Save();
            before = lists(store);
        }
        {
            TMainScreen window(services.Services());
            ShowAndWait(window);
            QCOMPARE(reportedErrors.size(), 1);
            window.close();
        }
        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        QCOMPARE(lists(store), before);
    }

private:
    static void ShowAndWait(TMainScreen& window)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    static QListWidget* List(TMainScreen& window, const char* name)
    {
        return window.findChild<QListWidget*>(QString::fromLatin1(name));
    }
    static QLineEdit* Edit(TMainScreen& window, const char* name)
    {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    TestServices services;
    RecordingPrompts& prompts = services.prompts;
    std::unique_ptr<TestFolder> folder;
};

int main(int argc, char* argv[])
{
    TarnwellApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    app.SetErrorReporter([](const QString& message) { reportedErrors << message; });
    MainScreenLifecycle test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainscreen_lifecycle.moc"
