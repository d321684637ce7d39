#include "WindowFixture.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"

#include <QLabel>
#include <QTabWidget>

using namespace Schema;

// The Accounts and Select Accounts pages in the real window.
class AccountsUi : public QObject
{
    Q_OBJECT
  private slots:
    void init() { fx = std::make_unique<WindowFixture>(); }
    void cleanup() { fx.reset(); }

    void EmptyAddsAnAccountThatIsStoredOnSwitch()
    {
        NewAccount("Main");
        QCOMPARE(fx->Items("lbxAccount"), QStringList{"Main"});
        QCOMPARE(Caption("lblAccountName"), QStringLiteral("Main"));
        QVERIFY(fx->Edit("edtNewAccount")->text().isEmpty());
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.main.test"));
        fx->Edit("lbeServerHomePath")->setText(QStringLiteral("/public_html"));
        NewAccount("Mirror");
        QCOMPARE(Caption("lblAccountName"), QStringLiteral("Mirror"));
        QVERIFY(fx->Edit("lbeFTPHost")->text().isEmpty());
        QVERIFY(fx->Edit("lbeServerHomePath")->text().isEmpty());

        ShowAccount("Main");
        QCOMPARE(Caption("lblAccountName"), QStringLiteral("Main"));
        QCOMPARE(fx->Edit("lbeFTPHost")->text(), QStringLiteral("ftp.main.test"));
        // Stored with the trailing slash, and so shown.
        QCOMPARE(fx->Edit("lbeServerHomePath")->text(), QStringLiteral("/public_html/"));
        QCOMPARE(fx->Edit("lbeUploadPhpPath")->text(), QStringLiteral("/"));
    }

    // Edits other than a server path are not lost when "Empty" replaces
    // the shown account.
    void EmptyKeepsTheShownAccountsEdits()
    {
        NewAccount("Main");
        fx->Edit("lbeFTPUserName")->setText(QStringLiteral("webmaster"));
        NewAccount("Mirror");
        QCOMPARE(Store().ReadString(AccountSection("Main"), KeyFtpUser, {}), QStringLiteral("webmaster"));
    }

    void Refusals_data()
    {
        QTest::addColumn<bool>("copy");
        QTest::addColumn<bool>("showAccount");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("copy with none shown") << true << false << "Other"
                                              << "There's no current account loaded to copy!";
        QTest::newRow("empty name") << false << true << ""
                                    << "You haven't provided a new account name!";
        QTest::newRow("copy empty name") << true << true << ""
                                         << "You haven't provided a new account name!";
        QTest::newRow("tail of existing") << false << true << "SITE"
                                          << "That's not a new account";
        QTest::newRow("same name") << true << true << "MainSite"
                                   << "That's not a new account";
        QTest::newRow("angle bracket") << false << true << "a>b"
                                       << "An account name can't contain \"<\" or \">\".";
        QTest::newRow("too long") << false << true << QString(101, QLatin1Char('n'))
                                  << "An account name can't be longer than 100 characters.";
    }
    void Refusals()
    {
        QFETCH(bool, copy);
        QFETCH(bool, showAccount);
        QFETCH(QString, name);
        QFETCH(QString, text);
        NewAccount("MainSite");
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.main.test"));
        if (!showAccount) {
            fx->List("lbxAccount")->setCurrentRow(-1);
            fx->Find<QLabel>("lblAccountName")->clear();
        }
        fx->prompts.Clear();
        fx->Edit("edtNewAccount")->setText(name);
        fx->Button(copy ? "bbtnAccountCopy" : "btnAccountNew")->click();
        QCOMPARE(fx->prompts.Texts(), QStringList{text});
        QCOMPARE(fx->prompts.AllShown().first().caption, QStringLiteral("Tarnwell"));
        QCOMPARE(fx->Items("lbxAccount"), QStringList{"MainSite"});
        QCOMPARE(fx->Edit("lbeFTPHost")->text(), QStringLiteral("ftp.main.test"));
    }

    void CopyStartsFromTheShownAccount()
    {
        NewAccount("Main");
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.main.test"));
        fx->Edit("lbeFTPPass")->setText(QStringLiteral("s3cret"));
        fx->Edit("lbeServerRootPath")->setText(QStringLiteral("/root/"));
        NewAccount("Mirror"); // stores Main
        ShowAccount("Main");
        fx->Edit("edtNewAccount")->setText(QStringLiteral("Backup"));
        fx->Button("bbtnAccountCopy")->click();
        QCOMPARE(Caption("lblAccountName"), QStringLiteral("Backup"));
        QCOMPARE(fx->Items("lbxAccount"), QStringList({"Main", "Mirror", "Backup"}));
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.backup.test"));
        ShowAccount("Mirror"); // stores Backup
        QCOMPARE(Store().ReadString(AccountSection("Backup"), KeyFtpPass, {}), QStringLiteral("s3cret"));
        QCOMPARE(Store().ReadString(AccountSection("Backup"), KeyServerRoot, {}), QStringLiteral("/root/"));
        QCOMPARE(Store().ReadString(AccountSection("Backup"), KeyFtpHost, {}),
                 QStringLiteral("ftp.backup.test"));
        QCOMPARE(Store().ReadString(AccountSection("Main"), KeyFtpHost, {}), QStringLiteral("ftp.main.test"));
    }

    // Deleting asks with every project that uses the account and takes it
    // out of each project's list, the loaded one's on screen too.
    void DeleteAsksWithItsUsersAndUpdatesThem()
    {
        NewAccount("Main");
        NewAccount("Mirror");
        Store().WriteList(SecSites, QStringLiteral("P1"), {"Main", "Mirror"});
        NewProject("P2");
        ShowSelectAccounts();
        fx->Select("lbxAvailable", {"Main", "Mirror"});
        fx->Button("bbtnAddAccount")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList({"Main", "Mirror"}));
        ShowPage("TabAccounts");
        ShowAccount("Main");

        fx->prompts.QueueAnswers({IDNO});
        fx->Select("lbxAccount", {"Main"});
        fx->Button("bbtnAccountDelete")->click();
        QCOMPARE(fx->prompts.Texts(RecordingPrompts::Kind::Question),
                 QStringList{"Delete account Main\rwhich is used by-\rP1\rP2\r"});
        QCOMPARE(fx->Items("lbxAccount"), QStringList({"Main", "Mirror"}));

        fx->prompts.QueueAnswers({IDYES});
        fx->Button("bbtnAccountDelete")->click();
        QCOMPARE(fx->Items("lbxAccount"), QStringList{"Mirror"});
        QCOMPARE(Caption("lblAccountName"), QString());
        QVERIFY(fx->Edit("lbeFTPHost")->text().isEmpty());
        QCOMPARE(Store().ReadList(SecSites, "P1"), QStringList{"Mirror"});
        QCOMPARE(Store().ReadList(SecSites, "P2"), QStringList{"Mirror"});
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList{"Mirror"});
        QVERIFY(Store().ReadSectionEntries(AccountSection("Main"), {}).isEmpty());
    }

    void DeleteOfAnUnusedAccountAsksNothing()
    {
        NewAccount("Main");
        NewAccount("Spare");
        NewProject("P1");
        // Listed on screen but never stored: it must not come back on save.
        ShowSelectAccounts();
        fx->Button("btnAddAll")->click();
        ShowPage("TabAccounts");
        fx->Select("lbxAccount", {"Spare"});
        fx->Button("bbtnAccountDelete")->click();
        QCOMPARE(fx->prompts.AllShown().size(), 0);
        QCOMPARE(fx->Items("lbxAccount"), QStringList{"Main"});
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList{"Main"});
        fx->Button("btnSave")->click();
        QCOMPARE(Store().ReadList(SecSites, "P1"), QStringList{"Main"});
    }

    // A server path edit is stored when the page is left; other edits wait
    // for the next switch.
    void LeavingThePageStoresAServerPathEdit()
    {
        NewAccount("Main");
        ShowPage("TabAccounts");
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.main.test"));
        ShowPage("TabPrograms");
        QCOMPARE(Store().ReadString(AccountSection("Main"), KeyFtpHost, "unsaved"),
                 QStringLiteral("unsaved"));
        ShowPage("TabAccounts");
        fx->Edit("lbeServerHomePath")->setText(QStringLiteral("/www"));
        ShowPage("TabPrograms");
        QCOMPARE(Store().ReadString(AccountSection("Main"), KeyServerHome, {}), QStringLiteral("/www/"));
        QCOMPARE(Store().ReadString(AccountSection("Main"), KeyFtpHost, {}), QStringLiteral("ftp.main.test"));
    }

    void AddSelected_data()
    {
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QStringList>("result");
        QTest::newRow("two on an empty list")
            << QStringList() << QStringList{"Main", "Mirror"} << QStringList{"Main", "Mirror"};
        QTest::newRow("already listed")
            << QStringList{"Mirror"} << QStringList{"Mirror"} << QStringList{"Mirror"};
        QTest::newRow("contains a listed name")
            << QStringList{"Main"} << QStringList{"MainBackup"} << QStringList{"Main"};
    }
    void AddSelected()
    {
        QFETCH(QStringList, listed);
        QFETCH(QStringList, selected);
        QFETCH(QStringList, result);
        for (const char* name : {"Main", "Mirror", "MainBackup"})
            NewAccount(name);
        NewProject("P1");
        ShowSelectAccounts();
        QCOMPARE(Caption("lblProjectName"), QStringLiteral("P1"));
        QCOMPARE(fx->Items("lbxAvailable"), QStringList({"Main", "Mirror", "MainBackup"}));
        fx->List("lbxUploadSites")->addItems(listed);
        fx->Select("lbxAvailable", selected);
        fx->Button("bbtnAddAccount")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), result);
        QCOMPARE(Store().ReadList(SecSites, "P1"), result);
    }

    // "Add All" and "Remove Selected" change the screen only; the list is
    // stored with the project, at the latest when another one is loaded.
    void AddAllAndRemoveAreStoredWithTheProject()
    {
        NewAccount("Main");
        NewAccount("Mirror");
        NewProject("P1");
        ShowSelectAccounts();
        fx->Button("btnAddAll")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList({"Main", "Mirror"}));
        QVERIFY(Store().ReadList(SecSites, "P1").isEmpty());
        fx->Select("lbxUploadSites", {"Main"});
        fx->Button("bbtnRemoveAccount")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList{"Mirror"});
        NewProject("P2");
        QCOMPARE(Store().ReadList(SecSites, "P1"), QStringList{"Mirror"});
        QVERIFY(fx->Items("lbxUploadSites").isEmpty());
    }

    // With no project loaded there is no list to store, and nothing to reload.
    void NoProjectLoadedStoresNoList()
    {
        NewAccount("Main");
        ShowSelectAccounts();
        fx->Select("lbxAvailable", {"Main"});
        fx->Button("bbtnAddAccount")->click();
        QVERIFY(Store().ReadSectionEntries(SecSites, {}).isEmpty());
        fx->Edit("lbePhpFile")->setText(QStringLiteral("/typed.php"));
        fx->Button("btnAbandon")->click();
        QCOMPARE(fx->Edit("lbePhpFile")->text(), QStringLiteral("/typed.php"));
        QVERIFY(Store().ReadSectionEntries(QString(), {}).isEmpty());
    }

    void AccountsSurviveARestart()
    {
        NewAccount("Main");
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.main.test"));
        fx->Edit("lbeUploadInstallerPath")->setText(QStringLiteral("/downloads"));
        NewProject("P1");
        ShowSelectAccounts();
        fx->Select("lbxAvailable", {"Main"});
        fx->Button("bbtnAddAccount")->click();
        fx->Restart();
        QCOMPARE(fx->Items("lbxAccount"), QStringList{"Main"});
        ShowAccount("Main");
        QCOMPARE(fx->Edit("lbeFTPHost")->text(), QStringLiteral("ftp.main.test"));
        QCOMPARE(fx->Edit("lbeUploadInstallerPath")->text(), QStringLiteral("/downloads/"));
        fx->Select("Projects", {"P1"});
        fx->Button("bbtnSelectProject")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList{"Main"});
    }

  private:
    void NewAccount(const char* name)
    {
        fx->Edit("edtNewAccount")->setText(QString::fromLatin1(name));
        fx->Button("btnAccountNew")->click();
    }
    void ShowAccount(const char* name)
    {
        const QStringList items = fx->Items("lbxAccount");
        fx->List("lbxAccount")->setCurrentRow(int(items.indexOf(QString::fromLatin1(name))));
    }
    void NewProject(const char* name)
    {
        fx->Edit("edtNewProject")->setText(QString::fromLatin1(name));
        fx->Button("bbtnNew")->click();
    }
    void ShowPage(const char* name)
    {
        fx->Find<QTabWidget>("PageControl1")->setCurrentWidget(fx->Find<QWidget>(name));
    }
    void ShowSelectAccounts()
    {
        ShowPage("TabMaintenance");
        fx->Find<QTabWidget>("TabFolders")->setCurrentWidget(fx->Find<QWidget>("TabInternet"));
    }
    QString Caption(const char* label) const { return fx->Find<QLabel>(label)->text(); }
    TAppData& Store() const { return *fx->window->AppData; }

    std::unique_ptr<WindowFixture> fx;
};

QTEST_MAIN(AccountsUi)
#include "tst_accounts_ui.moc"
