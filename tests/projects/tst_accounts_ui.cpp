#include "WindowFixture.h"
#include "settings/SettingsSchema.h"
#include "ui/ActionContext.h"

#include <QComboBox>
#include <QSpinBox>

using namespace Schema;

// The Accounts and Select Accounts pages in the real window.
class AccountsUi : public QObject {
    Q_OBJECT
private slots:
    void init() { fx = std::make_unique<WindowFixture>(); }
    void cleanup() { fx.reset(); }

    void EmptyAddsAnAccountThatIsStoredOnSwitch()
    {
        fx->NewAccount("Main");
        QCOMPARE(fx->Items("lbxAccount"), QStringList{"Main"});
        QCOMPARE(fx->Caption("lblAccountName"), QStringLiteral("Main"));
        QVERIFY(fx->Edit("edtNewAccount")->text().isEmpty());
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.main.test"));
        fx->Edit("lbeServerHomePath")->setText(QStringLiteral("/public_html"));
        fx->NewAccount("Mirror");
        QCOMPARE(fx->Caption("lblAccountName"), QStringLiteral("Mirror"));
        QVERIFY(fx->Edit("lbeFTPHost")->text().isEmpty());
        QVERIFY(fx->Edit("lbeServerHomePath")->text().isEmpty());

        ShowAccount("Main");
        QCOMPARE(fx->Caption("lblAccountName"), QStringLiteral("Main"));
        QCOMPARE(fx->Edit("lbeFTPHost")->text(), QStringLiteral("ftp.main.test"));
        // Stored with the trailing slash, and so shown.
        QCOMPARE(fx->Edit("lbeServerHomePath")->text(), QStringLiteral("/public_html/"));
        QCOMPARE(fx->Edit("lbeUploadPhpPath")->text(), QStringLiteral("/"));
    }

    // Edits other than a server path are not lost when "Empty" replaces
    // the shown account.
    void EmptyKeepsTheShownAccountsEdits()
    {
        fx->NewAccount("Main");
        fx->Edit("lbeFTPUserName")->setText(QStringLiteral("webmaster"));
        fx->NewAccount("Mirror");
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyFtpUser, {}), QStringLiteral("webmaster"));
    }

    // Each refusal text is checked against the name rules in
    // tst_account_store; here only the ways the window reaches them.
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
        QTest::newRow("same name") << true << true << "MainSite"
                                   << "That's not a new account";
    }
    void Refusals()
    {
        QFETCH(bool, copy);
        QFETCH(bool, showAccount);
        QFETCH(QString, name);
        QFETCH(QString, text);
        fx->NewAccount("MainSite");
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
        fx->NewAccount("Main");
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.main.test"));
        fx->Edit("lbeFTPPass")->setText(QStringLiteral("s3cret"));
        fx->Edit("lbeServerRootPath")->setText(QStringLiteral("/root/"));
        fx->NewAccount("Mirror"); // stores Main
        ShowAccount("Main");
        fx->Edit("edtNewAccount")->setText(QStringLiteral("Backup"));
        fx->Button("bbtnAccountCopy")->click();
        QCOMPARE(fx->Caption("lblAccountName"), QStringLiteral("Backup"));
        QCOMPARE(fx->Items("lbxAccount"), QStringList({"Main", "Mirror", "Backup"}));
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.backup.test"));
        ShowAccount("Mirror"); // stores Backup
        QCOMPARE(fx->Store().ReadString(AccountSection("Backup"), KeyFtpPass, {}), QStringLiteral("s3cret"));
        QCOMPARE(fx->Store().ReadString(AccountSection("Backup"), KeyServerRoot, {}),
                 QStringLiteral("/root/"));
        QCOMPARE(fx->Store().ReadString(AccountSection("Backup"), KeyFtpHost, {}),
                 QStringLiteral("ftp.backup.test"));
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyFtpHost, {}),
                 QStringLiteral("ftp.main.test"));
    }

    // Deleting asks with every project that uses the account and takes it
    // out of each project's list, the loaded one's on screen too.
    void DeleteAsksWithItsUsersAndUpdatesThem()
    {
        fx->NewAccount("Main");
        fx->NewAccount("Mirror");
        fx->Store().WriteList(SecSites, QStringLiteral("P1"), {"Main", "Mirror"});
        fx->NewProject("P2");
        ShowSelectAccounts();
        fx->Select("lbxAvailable", {"Main", "Mirror"});
        fx->Button("bbtnAddAccount")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList({"Main", "Mirror"}));
        fx->ShowPage("TabAccounts");
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
        QCOMPARE(fx->Caption("lblAccountName"), QString());
        QVERIFY(fx->Edit("lbeFTPHost")->text().isEmpty());
        QCOMPARE(fx->Store().ReadList(SecSites, "P1"), QStringList{"Mirror"});
        QCOMPARE(fx->Store().ReadList(SecSites, "P2"), QStringList{"Mirror"});
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList{"Mirror"});
        QVERIFY(fx->Store().ReadSectionEntries(AccountSection("Main"), {}).isEmpty());
    }

    void DeleteOfAnUnusedAccountAsksNothing()
    {
        fx->NewAccount("Main");
        fx->NewAccount("Spare");
        fx->NewProject("P1");
        // Listed on screen but never stored: it must not come back on save.
        ShowSelectAccounts();
        fx->Button("btnAddAll")->click();
        fx->ShowPage("TabAccounts");
        fx->Select("lbxAccount", {"Spare"});
        fx->Button("bbtnAccountDelete")->click();
        QCOMPARE(fx->prompts.AllShown().size(), 0);
        QCOMPARE(fx->Items("lbxAccount"), QStringList{"Main"});
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList{"Main"});
        fx->Button("btnSave")->click();
        QCOMPARE(fx->Store().ReadList(SecSites, "P1"), QStringList{"Main"});
    }

    // A server path edit is stored when the page is left; other edits wait
    // for the next switch.
    void LeavingThePageStoresAServerPathEdit()
    {
        fx->NewAccount("Main");
        fx->ShowPage("TabAccounts");
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.main.test"));
        fx->ShowPage("TabPrograms");
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyFtpHost, "unsaved"),
                 QStringLiteral("unsaved"));
        fx->ShowPage("TabAccounts");
        fx->Edit("lbeServerHomePath")->setText(QStringLiteral("/www"));
        fx->ShowPage("TabPrograms");
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyServerHome, {}), QStringLiteral("/www/"));
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyFtpHost, {}),
                 QStringLiteral("ftp.main.test"));
    }

    // Focus makes a row current without selecting it; nothing is loaded
    // until the user selects an account.
    void FocusAloneLoadsNoAccount()
    {
        fx->NewAccount("Main");
        fx->Restart();
        fx->ShowPage("TabAccounts");
        QListWidget* accounts = fx->List("lbxAccount");
        QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(accounts, &focus);
        QCOMPARE(accounts->currentRow(), 0);
        QCOMPARE(fx->Caption("lblAccountName"), QString());
        ShowAccount("Main");
        QCOMPARE(fx->Caption("lblAccountName"), QStringLiteral("Main"));
    }

    // Loading an account fills its server paths, which marks it changed;
    // entering the page starts afresh, so leaving it stores only real edits.
    void EnteringThePageForgetsEarlierChanges()
    {
        fx->NewAccount("Main");
        fx->NewAccount("Mirror");
        fx->ShowPage("TabPrograms");
        ShowAccount("Main");
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.main.test"));
        fx->ShowPage("TabAccounts");
        fx->ShowPage("TabPrograms");
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyFtpHost, {}), QString());
    }

    // A server path edit is stored before Copy looks at the new name, even
    // when it refuses the name.
    void CopyStoresAPathEditFirst()
    {
        fx->NewAccount("Main");
        fx->ShowPage("TabAccounts");
        fx->Edit("lbeServerRootPath")->setText(QStringLiteral("/root"));
        fx->Edit("edtNewAccount")->setText(QStringLiteral("Main"));
        fx->Button("bbtnAccountCopy")->click();
        QCOMPARE(fx->prompts.Count(RecordingPrompts::Kind::Info), 1);
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyServerRoot, {}), QStringLiteral("/root/"));
    }

    // After a deletion the loaded project's list is read back from the
    // store: an unsaved removal on screen is dropped with it.
    void DeleteReloadsTheLoadedProjectsList()
    {
        fx->NewAccount("Main");
        fx->NewAccount("Mirror");
        fx->NewProject("P1");
        ShowSelectAccounts();
        fx->Select("lbxAvailable", {"Main", "Mirror"});
        fx->Button("bbtnAddAccount")->click();
        fx->Select("lbxUploadSites", {"Mirror"});
        fx->Button("bbtnRemoveAccount")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList{"Main"});
        fx->ShowPage("TabAccounts");
        fx->prompts.QueueAnswers({IDYES});
        fx->Select("lbxAccount", {"Main"});
        fx->Button("bbtnAccountDelete")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList{"Mirror"});
    }

    // Only what is not listed yet is added (the full rules are in
    // tst_project_sites), and the list is stored at once.
    void AddSelectedStoresTheList()
    {
        for (const char* name : {"Main", "Mirror", "MainBackup"})
            fx->NewAccount(name);
        fx->NewProject("P1");
        ShowSelectAccounts();
        QCOMPARE(fx->Caption("lblProjectName"), QStringLiteral("P1"));
        QCOMPARE(fx->Items("lbxAvailable"), QStringList({"Main", "Mirror", "MainBackup"}));
        fx->List("lbxUploadSites")->addItem(QStringLiteral("Main"));
        fx->Select("lbxAvailable", {"MainBackup", "Mirror"});
        fx->Button("bbtnAddAccount")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList({"Main", "Mirror"}));
        QCOMPARE(fx->Store().ReadList(SecSites, "P1"), QStringList({"Main", "Mirror"}));
    }

    // "Add All" and "Remove Selected" change the screen only; the list is
    // stored with the project, at the latest when another one is loaded.
    void AddAllAndRemoveAreStoredWithTheProject()
    {
        fx->NewAccount("Main");
        fx->NewAccount("Mirror");
        fx->NewProject("P1");
        ShowSelectAccounts();
        fx->Button("btnAddAll")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList({"Main", "Mirror"}));
        QVERIFY(fx->Store().ReadList(SecSites, "P1").isEmpty());
        fx->Select("lbxUploadSites", {"Main"});
        fx->Button("bbtnRemoveAccount")->click();
        QCOMPARE(fx->Items("lbxUploadSites"), QStringList{"Mirror"});
        fx->NewProject("P2");
        QCOMPARE(fx->Store().ReadList(SecSites, "P1"), QStringList{"Mirror"});
        QVERIFY(fx->Items("lbxUploadSites").isEmpty());
    }

    // With no project loaded there is no list to store, and nothing to reload.
    void NoProjectLoadedStoresNoList()
    {
        fx->NewAccount("Main");
        ShowSelectAccounts();
        fx->Select("lbxAvailable", {"Main"});
        fx->Button("bbtnAddAccount")->click();
        QVERIFY(fx->Store().ReadSectionEntries(SecSites, {}).isEmpty());
        fx->Edit("lbePhpFile")->setText(QStringLiteral("/typed.php"));
        fx->Button("btnAbandon")->click();
        QCOMPARE(fx->Edit("lbePhpFile")->text(), QStringLiteral("/typed.php"));
        QVERIFY(fx->Store().ReadSectionEntries(QString(), {}).isEmpty());
    }

    // The security choice is kept per account like the other fields, and a
    // choice made with the keyboard or mouse is stored when the page is left.
    void SecurityChoiceIsKeptPerAccount()
    {
        auto* security = fx->Find<QComboBox>("cbxFtpSecurity");
        QCOMPARE(security->count(), 3);
        QCOMPARE(security->itemText(0), QStringLiteral("Plain FTP"));
        QCOMPARE(security->itemText(1), QStringLiteral("TLS when the server offers it"));
        QCOMPARE(security->itemText(2), QStringLiteral("TLS required"));
        fx->NewAccount("Main");
        fx->ShowPage("TabAccounts");
        QCOMPARE(security->currentIndex(), 0);
        security->setFocus();
        QTest::keyClick(security, Qt::Key_Down);
        QTest::keyClick(security, Qt::Key_Down);
        QCOMPARE(security->currentText(), QStringLiteral("TLS required"));
        fx->ShowPage("TabPrograms");
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyFtpSecurity, {}),
                 QStringLiteral("tls-required"));
        fx->NewAccount("Mirror");
        QCOMPARE(security->currentIndex(), 0);
        ShowAccount("Main");
        QCOMPARE(security->currentText(), QStringLiteral("TLS required"));
    }

    // So is the number of connections.
    void ConnectionsAreKeptPerAccount()
    {
        auto* connections = fx->Find<QSpinBox>("speConnections");
        QCOMPARE(connections->minimum(), 1);
        QCOMPARE(connections->maximum(), 8);
        fx->NewAccount("Main");
        fx->ShowPage("TabAccounts");
        QCOMPARE(connections->value(), 4);
        connections->setValue(2);
        fx->ShowPage("TabPrograms");
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyConnections, {}), QStringLiteral("2"));
        fx->NewAccount("Mirror");
        QCOMPARE(connections->value(), 4);
        ShowAccount("Main");
        QCOMPARE(connections->value(), 2);
    }

    // The window's decision on a certificate: a question with its
    // fingerprint, Yes keeps it with the account (shown on the page when it
    // is entered), a changed one is refused without a question, and Forget
    // Certificate drops the trust.
    void CertificateQuestionAndForget()
    {
        fx->NewAccount("Main");
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("127.0.0.1:2121"));
        fx->NewAccount("Mirror");
        ShowAccount("Main");
        const QString print = QStringLiteral("0F:").repeated(31) + QStringLiteral("A1");
        ServerCertificate certificate{"Main", "127.0.0.1:2121", print, "", "self-signed certificate"};
        AskingCertificateDecision decision =
            ActionContext{fx->window->AppData, fx->window->State, fx->window->Services()}
                .CertificateQuestions();
        fx->prompts.Clear();
        fx->prompts.QueueAnswers({IDYES});
        QVERIFY(decision.Trust(certificate));
        QCOMPARE(fx->prompts.Count(RecordingPrompts::Kind::Question), 1);
        QVERIFY(fx->prompts.Texts().first().contains(print));
        QVERIFY(fx->prompts.Texts().first().contains(QLatin1String("self-signed certificate")));
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyFtpCertificate, {}), print);

        fx->ShowPage("TabPrograms");
        fx->ShowPage("TabAccounts");
        auto* shown = fx->Find<QLabel>("lblTrustedCertificate");
        QCOMPARE(shown->text(), QStringLiteral("Trusted: 0F:0F\u20260F:A1"));
        QCOMPARE(shown->toolTip(), QStringLiteral("SHA-256 ") + print);

        certificate.Trusted = print;
        certificate.Fingerprint = QStringLiteral("AA:").repeated(31) + QStringLiteral("AA");
        QVERIFY(!decision.Trust(certificate));
        QCOMPARE(fx->prompts.Count(RecordingPrompts::Kind::Question), 1);

        fx->Button("bbtnForgetCertificate")->click();
        QVERIFY(shown->text().isEmpty());
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyFtpCertificate, "none"),
                 QStringLiteral("none"));
    }

    // Each protocol and way of logging in enables the fields it uses, and
    // the choices are kept per account.
    void SftpFieldsFollowTheChoices_data()
    {
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QStringList>("enabled"); // of the five fields below
        QTest::newRow("FTP") << "FTP"
                             << "Password" << QStringList{"cbxFtpSecurity", "lbeFTPPass"};
        QTest::newRow("FTP, key chosen before")
            << "FTP"
            << "Private key file" << QStringList{"cbxFtpSecurity", "lbeFTPPass"};
        QTest::newRow("SFTP by password") << "SFTP"
                                          << "Password" << QStringList{"lbeFTPPass", "cbxSshAuth"};
        QTest::newRow("SFTP by key file")
            << "SFTP"
            << "Private key file" << QStringList{"cbxSshAuth", "lbeSshKeyFile", "lbeSshKeyPass"};
    }
    void SftpFieldsFollowTheChoices()
    {
        QFETCH(QString, protocol);
        QFETCH(QString, login);
        QFETCH(QStringList, enabled);
        fx->NewAccount("Main");
        fx->ShowPage("TabAccounts");
        fx->Find<QComboBox>("cbxProtocol")->setCurrentText(protocol);
        fx->Find<QComboBox>("cbxSshAuth")->setCurrentText(login);
        fx->Edit("lbeSshKeyFile")->setText(QStringLiteral("/keys/id main"));
        fx->Edit("lbeSshKeyPass")->setText(QStringLiteral("phrase"));
        for (const char* name :
             {"cbxFtpSecurity", "lbeFTPPass", "cbxSshAuth", "lbeSshKeyFile", "lbeSshKeyPass"})
            QVERIFY2(fx->Find<QWidget>(name)->isEnabled() == enabled.contains(QLatin1String(name)), name);
        // The lock still closes every one of them.
        fx->Find<QCheckBox>("chkEnable")->click();
        for (const char* name :
             {"cbxFtpSecurity", "lbeFTPPass", "cbxSshAuth", "lbeSshKeyFile", "lbeSshKeyPass"})
            QVERIFY2(!fx->Find<QWidget>(name)->isEnabled(), name);
        fx->Find<QCheckBox>("chkEnable")->click();

        fx->NewAccount("Mirror");
        QCOMPARE(fx->Find<QComboBox>("cbxProtocol")->currentText(), QStringLiteral("FTP"));
        QVERIFY(fx->Edit("lbeSshKeyFile")->text().isEmpty());
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyProtocol, {}), protocol);
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeySshKeyPass, {}), QStringLiteral("phrase"));
        ShowAccount("Main");
        QCOMPARE(fx->Find<QComboBox>("cbxProtocol")->currentText(), protocol);
        QCOMPARE(fx->Find<QComboBox>("cbxSshAuth")->currentText(), login);
        QCOMPARE(fx->Edit("lbeSshKeyFile")->text(), QStringLiteral("/keys/id main"));
        for (const char* name :
             {"cbxFtpSecurity", "lbeFTPPass", "cbxSshAuth", "lbeSshKeyFile", "lbeSshKeyPass"})
            QVERIFY2(fx->Find<QWidget>(name)->isEnabled() == enabled.contains(QLatin1String(name)), name);
    }

    // The key file is picked like the other file fields, and a choice of
    // protocol made on the page is stored when the page is left.
    void KeyFilePickerAndProtocolChoice()
    {
        fx->NewAccount("Main");
        fx->ShowPage("TabAccounts");
        auto* protocol = fx->Find<QComboBox>("cbxProtocol");
        protocol->setFocus();
        QTest::keyClick(protocol, Qt::Key_Down);
        QCOMPARE(protocol->currentText(), QStringLiteral("SFTP"));
        fx->Find<QComboBox>("cbxSshAuth")->setCurrentIndex(1);
        QLineEdit* key = fx->Edit("lbeSshKeyFile");
        fx->services.files.QueueCancel();
        fx->services.files.QueueFile(QStringLiteral("/home/me/.ssh/id_ed25519"));
        QTest::mouseDClick(key, Qt::LeftButton);
        QVERIFY(key->text().isEmpty());
        QTest::mouseDClick(key, Qt::LeftButton);
        QCOMPARE(key->text(), QStringLiteral("/home/me/.ssh/id_ed25519"));
        QCOMPARE(fx->services.files.Calls().size(), 2);
        QCOMPARE(fx->services.files.Calls().first().title,
                 QStringLiteral("Find the private key for this account"));
        fx->ShowPage("TabPrograms");
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyProtocol, {}), QStringLiteral("SFTP"));
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeySshKeyFile, {}),
                 QStringLiteral("/home/me/.ssh/id_ed25519"));
    }

    // A host key trusted for an SFTP account is shown on the page and
    // "Forget Certificate" forgets it too.
    void ForgetCertificateAlsoForgetsAHostKey()
    {
        fx->NewAccount("Main");
        fx->Find<QComboBox>("cbxProtocol")->setCurrentText(QStringLiteral("SFTP"));
        fx->NewAccount("Mirror");
        const QString print = QStringLiteral("SHA256:") + QString(43, QLatin1Char('Q'));
        ServerCertificate key{"Main", "127.0.0.1:2222", print, "", "", true};
        AskingCertificateDecision decision =
            ActionContext{fx->window->AppData, fx->window->State, fx->window->Services()}
                .CertificateQuestions();
        fx->prompts.Clear();
        fx->prompts.QueueAnswers({IDYES});
        QVERIFY(decision.Trust(key));
        QVERIFY(fx->prompts.Texts().first().contains(print));
        QVERIFY(fx->prompts.Texts().first().contains(QLatin1String("host key")));
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeySshHostKey, {}), print);
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeyFtpCertificate, "none"),
                 QStringLiteral("none"));

        ShowAccount("Main");
        auto* shown = fx->Find<QLabel>("lblTrustedCertificate");
        QCOMPARE(shown->toolTip(), print);
        fx->Button("bbtnForgetCertificate")->click();
        QVERIFY(shown->text().isEmpty());
        QCOMPARE(fx->Store().ReadString(AccountSection("Main"), KeySshHostKey, "none"),
                 QStringLiteral("none"));
    }

    void AccountsSurviveARestart()
    {
        fx->NewAccount("Main");
        fx->Edit("lbeFTPHost")->setText(QStringLiteral("ftp.main.test"));
        fx->Edit("lbeUploadInstallerPath")->setText(QStringLiteral("/downloads"));
        fx->NewProject("P1");
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
    void ShowAccount(const char* name)
    {
        const QStringList items = fx->Items("lbxAccount");
        fx->List("lbxAccount")->setCurrentRow(int(items.indexOf(QString::fromLatin1(name))));
    }
    void ShowSelectAccounts()
    {
        fx->ShowPage("TabMaintenance");
        fx->Find<QTabWidget>("TabFolders")->setCurrentWidget(fx->Find<QWidget>("TabInternet"));
    }

    std::unique_ptr<WindowFixture> fx;
};

QTEST_MAIN(AccountsUi)
#include "tst_accounts_ui.moc"
