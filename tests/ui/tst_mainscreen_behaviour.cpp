#include "WindowFixture.h"
#include "ui/EditingLock.h"
#include "ui/Hints.h"
#include "ui/TabMarker.h"

#include <QSet>

// The editing lock, the page marker and the hints of the shown main window.
class MainScreenBehaviour : public QObject {
    Q_OBJECT
    // The SFTP log-in fields, which an account shown as FTP (as at start)
    // leaves disabled even when the lock is open.
    static QSet<QString> UnusedByFtp() { return {"cbxSshAuth", "lbeSshKeyFile", "lbeSshKeyPass"}; }

private slots:
    void init() { fx = std::make_unique<WindowFixture>(false); }
    void cleanup() { fx.reset(); }

    // The fifty-eight of the program's documents, the FTP security choice
    // with its Forget Certificate button, the signing tool's field, the
    // account's connections, "Links relative to their page", and the
    // protocol and SFTP log-in fields.
    void LockListHasItsSixtySevenControls()
    {
        const QStringList& names = EditingControlNames();
        QCOMPARE(names.size(), 67);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 67);
        for (const QString& name : names)
            QVERIFY2(fx->window->findChildren<QWidget*>(name).size() == 1, qPrintable(name));
    }

    void WindowStartsLocked()
    {
        QVERIFY(!fx->Find<QCheckBox>("chkEnable")->isChecked());
        for (const QString& name : EditingControlNames())
            QVERIFY2(!fx->window->findChild<QWidget*>(name)->isEnabled(), qPrintable(name));
    }

    void LockTouchesOnlyItsList()
    {
        const QSet<QString> locked(EditingControlNames().begin(), EditingControlNames().end());
        auto* enable = fx->Find<QCheckBox>("chkEnable");
        // Every other named control keeps its state through lock and unlock.
        QHash<QString, bool> before;
        for (QWidget* w : fx->window->findChildren<QWidget*>())
            if (!w->objectName().isEmpty() && !locked.contains(w->objectName()))
                before.insert(w->objectName(), w->isEnabled());
        enable->click();
        QVERIFY(enable->isChecked());
        for (const QString& name : locked)
            QVERIFY2(fx->window->findChild<QWidget*>(name)->isEnabled() != UnusedByFtp().contains(name),
                     qPrintable(name));
        enable->click();
        QVERIFY(!enable->isChecked());
        for (const QString& name : locked)
            QVERIFY2(!fx->window->findChild<QWidget*>(name)->isEnabled(), qPrintable(name));
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(fx->window->findChild<QWidget*>(it.key())->isEnabled() == it.value(),
                     qPrintable(it.key()));
    }

    void CheckingTheBoxByProgramAlsoUnlocks()
    {
        // A new project checks the box itself and expects the window unlocked.
        fx->Find<QCheckBox>("chkEnable")->setChecked(true);
        for (const QString& name : EditingControlNames())
            QVERIFY2(fx->window->findChild<QWidget*>(name)->isEnabled() != UnusedByFtp().contains(name),
                     qPrintable(name));
    }

    void UsableWhileLocked_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name :
             {"bbtnUpdateFiles", "bbtnGetItDone", "bbtnNew", "bbtnSelectProject", "Projects", "edtNewProject",
              "btnReScan", "bbtnAgain", "bbtnedit", "bbtnEditBroken", "bbtnUploadSite", "bbtnUploadAll",
              "bbtnEntire", "bbtnHelp", "lbeServerRootPath", "clbxFiles", "chkEnable"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void UsableWhileLocked()
    {
        QFETCH(QString, name);
        QVERIFY(fx->window->findChild<QWidget*>(name)->isEnabled());
    }

    void FirstVisiblePageIsMarkedAtStart()
    {
        // No project is loaded, so the software tabs are gone and the first
        // page left after the Builder is in front.
        auto* pages = fx->Find<QTabWidget>("PageControl1");
        QVERIFY(!pages->isTabVisible(0));
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabMaintenance"));
        QCOMPARE(pages->tabText(0), QStringLiteral("Builder"));
        QCOMPARE(pages->tabText(2), PageMarker + QStringLiteral("Site Maintenance") + PageMarker);
        QCOMPARE(fx->window->CurrentTabSheet->objectName(), QStringLiteral("TabSelectLocalFiles"));
        QCOMPARE(fx->Find<QTabWidget>("TabFolders")->currentWidget()->objectName(),
                 QStringLiteral("TabSelectLocalFiles"));
    }

    void MarkerMovesWithThePageInFront()
    {
        auto* pages = fx->Find<QTabWidget>("PageControl1");
        pages->setCurrentIndex(3); // Accounts
        QCOMPARE(pages->tabText(0), QStringLiteral("Builder"));
        QCOMPARE(pages->tabText(3), PageMarker + QStringLiteral("Accounts") + PageMarker);
        QCOMPARE(fx->window->CurrentTabSheet->objectName(), QStringLiteral("TabAccounts"));
        pages->setCurrentIndex(0);
        QCOMPARE(pages->tabText(3), QStringLiteral("Accounts"));
        // Marking the page that already has the marker never pads it twice.
        fx->window->MarkActivePage(pages->widget(0));
        QCOMPARE(pages->tabText(0), PageMarker + QStringLiteral("Builder") + PageMarker);
        for (int i = 1; i < pages->count(); ++i)
            QVERIFY(!pages->tabText(i).contains(PageMarker));
    }

    void SiteMaintenanceMarksItsInnerPage()
    {
        auto* pages = fx->Find<QTabWidget>("PageControl1");
        auto* folders = fx->Find<QTabWidget>("TabFolders");
        pages->setCurrentIndex(2);
        QCOMPARE(pages->tabText(2), PageMarker + QStringLiteral("Site Maintenance") + PageMarker);
        QCOMPARE(folders->tabText(0), PageMarker + QStringLiteral("Select Files") + PageMarker);
        QCOMPARE(fx->window->CurrentTabSheet->objectName(), QStringLiteral("TabSelectLocalFiles"));
        folders->setCurrentIndex(3);
        QCOMPARE(folders->tabText(0), QStringLiteral("Select Files"));
        QCOMPARE(folders->tabText(3), PageMarker + QStringLiteral("Broken Links") + PageMarker);
        QCOMPARE(fx->window->CurrentTabSheet->objectName(), QStringLiteral("TabBrokenLinks"));
        // Leaving and coming back: the inner page in front is current again.
        pages->setCurrentIndex(4);
        QCOMPARE(fx->window->CurrentTabSheet->objectName(), QStringLiteral("TabPrograms"));
        pages->setCurrentIndex(2);
        QCOMPARE(fx->window->CurrentTabSheet->objectName(), QStringLiteral("TabBrokenLinks"));
    }

    void UnmarkRemovesEveryMarker_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("plain");
        const QString m = PageMarker;
        QTest::newRow("marked") << m + "Files" + m << "Files";
        QTest::newRow("plain") << "Files"
                               << "Files";
        QTest::newRow("marked twice") << m + m + "Files" + m + m << "Files";
        QTest::newRow("run joined by removal") << QString(7, ' ') + m + QString(7, ' ') + "Files"
                                               << "Files";
    }
    void UnmarkRemovesEveryMarker()
    {
        QFETCH(QString, caption);
        QFETCH(QString, plain);
        QCOMPARE(UnmarkedCaption(caption), plain);
    }

    void HintsOfTheWindow_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("clbxFiles") << QStringList{
            "Check the files that you want included in your site updates",
            "ctrl-click selects/deselects all files in this folder",
            "Any dependencies of index.html will always be automatically selected", "Right click for help"};
        QTest::newRow("bbtnHelp") << QStringList{"Click this to read the help"};
        QTest::newRow("btnAddAll") << QStringList{"Add all the listed accounts to your update list"};
        QTest::newRow("chkSoftWare") << QStringList{"Show or Hide the software project options",
                                                    "this has no effect of your stored data",
                                                    "Right click for help"};
        QTest::newRow("speAttempts") << QStringList{"This is the number of attempts to use each time server",
                                                    "Right click for help"};
        QTest::newRow("lbxBrokenLinks") << QStringList{};
        QTest::newRow("bbtnTimeStamp") << QStringList{};
    }
    void HintsOfTheWindow()
    {
        QFETCH(QStringList, lines);
        QWidget* control = fx->window->findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(control);
        const QString hint = ControlHint(control);
        QCOMPARE(hint.isEmpty() ? QStringList{} : hint.split(QLatin1Char('\r')), lines);
        QCOMPARE(control->toolTip(), lines.join(QLatin1Char('\n')));
    }

    void HelpContextsOfTheDesign()
    {
        QCOMPARE(HelpContext(fx->Find<QWidget>("lbeLocalRoot")), 560);
        QCOMPARE(HelpContext(fx->Find<QWidget>("lbxBrokenLinks")), 640);
        QCOMPARE(HelpContext(fx->Find<QWidget>("btnAddAll")), 0);
        QCOMPARE(HelpContext(fx->Find<QWidget>("btnUpdate")), 0);
    }

    void SetControlHintAddsTheHelpLineOnce_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::newRow("with context") << 560 << "Local root"
                                      << "Local root\rRight click for help";
        QTest::newRow("without context") << 0 << "Local root"
                                         << "Local root";
        QTest::newRow("says so already") << 560 << "Right click me"
                                         << "Right click me";
        QTest::newRow("empty text") << 560 << ""
                                    << "\rRight click for help";
    }
    void SetControlHintAddsTheHelpLineOnce()
    {
        QFETCH(int, context);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        QWidget control;
        SetHelpContext(&control, context);
        SetControlHint(&control, text);
        QCOMPARE(ControlHint(&control), hint);
        // Setting the result again does not add a second line.
        SetControlHint(&control, ControlHint(&control));
        QCOMPARE(ControlHint(&control), hint);
        QCOMPARE(control.toolTipDuration(), 5000);
    }

private:
    std::unique_ptr<WindowFixture> fx;
};

QTEST_MAIN(MainScreenBehaviour)
#include "tst_mainscreen_behaviour.moc"
