#include "RecordingPrompts.h"
#include "TestFolder.h"
#include "TestServices.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"
#include "ui/MainscreenU.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTest>

// Closing the window when the settings file cannot be written: the user is
// asked, "No" keeps the window and everything in it, and a later close that
// can write saves it all.
class CloseSaveFailure : public QObject {
    Q_OBJECT
private slots:
    void RefusedCloseKeepsTheWindowUntilTheSaveWorks()
    {
        TestFolder folder(true);
        TestServices services;
        RecordingPrompts& prompts = services.prompts;
        TMainScreen window(services.Services());
        QVERIFY(window.StoreReady());
        const QString settingsPath = window.AppData->FilePath();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.findChild<QListWidget*>(QStringLiteral("Projects"))->addItem(QStringLiteral("Kept"));

        // A folder where the save puts its temporary file makes every write fail, even as root.
        const QString blocker = settingsPath + QStringLiteral(".saving");
        QVERIFY(QDir().mkpath(blocker + QStringLiteral("/x")));
        prompts.QueueAnswers({IDNO});
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(window.StoreReady());
        QCOMPARE(prompts.Count(RecordingPrompts::Kind::Question), 1);
        QVERIFY(prompts.Texts().first().startsWith(QStringLiteral("The settings could not be saved:")));
        QVERIFY(!QFile::exists(settingsPath));

        QVERIFY(QDir(blocker).removeRecursively());
        QVERIFY(window.close());
        QVERIFY(QFile::exists(settingsPath));
        QCOMPARE(prompts.Count(RecordingPrompts::Kind::Question), 1);

        TAppData store;
        QVERIFY(SetUpStore(store, prompts));
        QCOMPARE(store.ReadList(Schema::SecProjects, Schema::KeyProjectNames), QStringList{"Kept"});
    }

    void AcceptedCloseLeavesThePreviousFileIntact()
    {
        TestFolder folder(true);
        TestServices services;
        RecordingPrompts& prompts = services.prompts;
        QString settingsPath;
        {
            TMainScreen first(services.Services());
            settingsPath = first.AppData->FilePath();
            first.show();
            QVERIFY(QTest::qWaitForWindowExposed(&first));
            QVERIFY(first.close());
        }
        QFile file(settingsPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        TMainScreen window(services.Services());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.findChild<QListWidget*>(QStringLiteral("Projects"))->addItem(QStringLiteral("Lost"));
        QVERIFY(QDir().mkpath(settingsPath + QStringLiteral(".saving/x")));
        prompts.QueueAnswers({IDYES});
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
};

QTEST_MAIN(CloseSaveFailure)
#include "tst_close_save_failure.moc"
