#include "WindowFixture.h"
#include "ui/Controls.h"
#include "ui/MainscreenU.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

// Every control the program's documents name: its kind, caption and the band
// or page it sits on. Later work finds the controls by these names.
class MainScreenLayout : public QObject {
    Q_OBJECT
private slots:
    void init() { fx = std::make_unique<WindowFixture>(false); }
    void cleanup() { fx.reset(); }

    void WindowIsTheDesignedOne()
    {
        QCOMPARE(fx->window->objectName(), QStringLiteral("MainScreen"));
        QCOMPARE(fx->window->windowTitle(), QStringLiteral("Tarnwell"));
        QCOMPARE(fx->window->minimumWidth(), 746);
        QCOMPARE(fx->window->width(), 746);
        QCOMPARE(fx->window->font().pixelSize(), 16);
        QCOMPARE(fx->window->font().family(), QStringLiteral("Arial"));
    }

    void BandsStackInOrder()
    {
        auto* top = fx->Find<QWidget>("pnlTop");
        auto* apps = fx->Find<QWidget>("pnlApps");
        auto* pages = fx->Find<QTabWidget>("PageControl1");
        fx->window->ShowSoftwareOptions(true);
        QCOMPARE(top->height(), 122);
        QCOMPARE(apps->height(), 125);
        QCOMPARE(pages->height(), 377);
        QCOMPARE(apps->y(), top->y() + 122);
        QCOMPARE(pages->y(), apps->y() + 125);
        QCOMPARE(fx->window->height(), 122 + 125 + 377);
        // Without the software options the window loses exactly the band.
        fx->window->ShowSoftwareOptions(false);
        QCOMPARE(fx->window->height(), 122 + 377);
    }

    void PagesInTabOrder_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("PageControl1")
            << QStringLiteral("PageControl1")
            << QStringList{"TabResources", "TabUpload",      "TabMaintenance", "TabAccounts",
                           "TabPrograms",  "tabTimeServers", "TabImport"}
            << QStringList{"Builder",  "Upload Installer", "Site Maintenance",
                           "Accounts", "Utilities",        "Time Servers",
                           "Import"};
        QTest::newRow("TabFolders") << QStringLiteral("TabFolders")
                                    << QStringList{"TabSelectLocalFiles", "TabLocalFiles", "TabLocalFolders",
                                                   "TabBrokenLinks",      "TabInternet",   "TabSiteUpload"}
                                    << QStringList{"Select Files", "Files",           "Folders",
                                                   "Broken Links", "Select Accounts", "Site Upload"};
    }
    void PagesInTabOrder()
    {
        QFETCH(QString, control);
        QFETCH(QStringList, names);
        QFETCH(QStringList, captions);
        auto* pages = fx->window->findChild<QTabWidget*>(control);
        QVERIFY(pages);
        QCOMPARE(pages->count(), names.size());
        for (int i = 0; i < pages->count(); ++i) {
            QCOMPARE(pages->widget(i)->objectName(), names[i]);
            QCOMPARE(pages->tabText(i).trimmed(), captions[i]);
        }
        QVERIFY(fx->Find<QWidget>("TabMaintenance")->isAncestorOf(fx->Find<QWidget>("TabFolders")));
    }

    void ControlExists_data();
    void ControlExists();

    void StartStates()
    {
        // Hidden until something calls for them.
        for (const char* name : {"btnNoSignTool", "btnUpdate", "pnlBrokenFound", "pnlBrokenNotFound"})
            QVERIFY2(fx->Find<QWidget>(name)->isHidden(), name);
        QVERIFY(!fx->Find<QWidget>("bbtnSaveUploadLog")->isEnabled());
        QVERIFY(!fx->Find<QCheckBox>("chkEnable")->isChecked());
        QVERIFY(!fx->Find<QCheckBox>("chkSoftWare")->isChecked());
        auto* attempts = fx->Find<QSpinBox>("speAttempts");
        QCOMPARE(attempts->minimum(), 1);
        QCOMPARE(attempts->maximum(), 300);
        QCOMPARE(fx->Edit("lbePFXPass")->echoMode(), QLineEdit::Password);
        QVERIFY(fx->Find<QComboBox>("comboSite")->isEditable());
        for (const char* memo : {"ProgressPane", "SiteUploadProgress", "memImportProgress"})
            QVERIFY2(fx->Find<QPlainTextEdit>(memo)->isReadOnly(), memo);
    }

private:
    std::unique_ptr<WindowFixture> fx;
};

void MainScreenLayout::ControlExists_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("holder");
    struct Row {
        const char* name;
        const char* kind;
        const char* caption;
        const char* holder;
    };
    const Row rows[] = {
        {"Projects", "list", "", "pnlTop"},
        {"edtNewProject", "edit", "", "pnlTop"},
        {"bbtnNew", "button", "New", "pnlTop"},
        {"bbtnSelectProject", "button", "Load Selected", "pnlTop"},
        {"bbtnDeleteProject", "button", "Delete Selected", "pnlTop"},
        {"btnSave", "button", "Save Changes", "pnlTop"},
        {"btnAbandon", "button", "Re-load Original", "pnlTop"},
        {"lblEditingProject", "label", "", "pnlTop"},
        {"chkSoftWare", "check", "Sofware Dev", "pnlTop"},
        {"chkEnable", "check", "Enable Editing", "pnlTop"},
        {"bbtnHelp", "button", "", "pnlTop"},
        {"btnUpdate", "button", "", "pnlTop"},
        {"chkProjectApps", "checklist", "", "pnlApps"},
        {"bbtnAddApp", "button", "App", "pnlApps"},
        {"bbtnDeleteApp", "button", "App", "pnlApps"},
        {"lblPrimaryApp", "label", "No Primary Selected", "pnlApps"},
        {"lblVersion", "label", "", "pnlApps"},
        {"lbePhpFile", "labelled", "PHP File", "TabResources"},
        {"lbePHPVar", "labelled", "Version Variable Name", "TabResources"},
        {"lbeDownLoadLinkFile", "labelled", "Download Link Page", "TabResources"},
        {"lbeDownLoadLinkId", "labelled", "Link ID", "TabResources"},
        {"lbeDownLoadLinkText", "labelled", "Link Text", "TabResources"},
        {"lbeHelpBuilderBatch", "labelled", "HelpMaker  File", "Panel3"},
        {"lbeBaseFileName", "labelled", "Setup Base filename", "Panel4"},
        {"lbeInnoSetupFile", "labelled", "InnoSetup File", "Panel4"},
        {"lbePrebuild", "labelled", "Pre-Build Command or batch  (must return 0 on success)", "Panel6"},
        {"lbePFX", "labelled", "PFX File", "TabResources"},
        {"lbePFXPass", "labelled", "Password", "TabResources"},
        {"pfxShowPass", "check", "Show", "TabResources"},
        {"btnNoSignTool", "button",
         "SignTool not found Please click here when you have installed the Windows SDK", "TabResources"},
        {"cbxtimeStamp", "check", "Time Stamp", "TabResources"},
        {"bbtnTimeStamp", "button", "", "TabResources"},
        {"cbxAutoUpload", "check", "Auto Upload", "TabResources"},
        {"bbtnAutoUpload", "button", "", "TabResources"},
        {"bbtnGetItDone", "button", "Build", "TabResources"},
        {"ProgressPane", "memo", "Waiting", "TabUpload"},
        {"pBarInstallerFile", "progress", "", "TabUpload"},
        {"pBarInstallerFiles", "progress", "", "TabUpload"},
        {"Label7", "label", "Click upload when you are ready to upload your software update to site(s)",
         "TabUpload"},
        {"bbtnUpload", "button", "Upload", "TabUpload"},
        {"bbtnSaveSoftUploadLog", "button", "Save Log", "TabUpload"},
        {"clbxFiles", "checklist", "", "TabSelectLocalFiles"},
        {"lbeLocalHome", "labelled", "Local Home", "TabSelectLocalFiles"},
        {"lbeLocalRoot", "labelled", "Local Root", "TabSelectLocalFiles"},
        {"bbtnUpdateFiles", "button", "Scan Files", "TabSelectLocalFiles"},
        {"lbxLocalFiles", "list", "", "TabLocalFiles"},
        {"bbtnedit", "button", "Edit", "TabLocalFiles"},
        {"lbxLocalFolders", "list", "", "TabLocalFolders"},
        {"lbxBrokenLinks", "list", "", "TabBrokenLinks"},
        {"pnlBrokenFound", "panel", "", "TabBrokenLinks"},
        {"lblFilesNotFound", "label", "These items show references to files or IDs that cannot be found",
         "pnlBrokenFound"},
        {"bbtnEditBroken", "button", "Edit", "pnlBrokenFound"},
        {"btnReScan", "button", "Re-Scan", "pnlBrokenFound"},
        {"pnlBrokenNotFound", "panel", "", "TabBrokenLinks"},
        {"lblNoBroken", "label", "No broken links detected", "pnlBrokenNotFound"},
        {"bbtnAgain", "button", "Re-Scan", "pnlBrokenNotFound"},
        {"lblProjectName", "label", "", "TabInternet"},
        {"lbxUploadSites", "list", "", "TabInternet"},
        {"lbxAvailable", "list", "", "TabInternet"},
        {"bbtnRemoveAccount", "button", "Remove Selected", "TabInternet"},
        {"bbtnAddAccount", "button", "Add Selected", "TabInternet"},
        {"btnAddAll", "button", "Add All", "TabInternet"},
        {"Label6", "label", "Choose the sites (accounts) that you want the current project to maintain",
         "TabInternet"},
        {"SiteUploadProgress", "memo", "Waiting", "TabSiteUpload"},
        {"pBarSiteFile", "progress", "", "TabSiteUpload"},
        {"pBarSiteFiles", "progress", "", "TabSiteUpload"},
        {"bbtnUploadSite", "button", "Updated", "TabSiteUpload"},
        {"bbtnUploadAll", "button", "ALL", "TabSiteUpload"},
        {"bbtnEntire", "button", "Entire Site", "TabSiteUpload"},
        {"chkDeleteOrphans", "check", "Delete orphans", "TabSiteUpload"},
        {"bbtnPreview", "button", "Preview", "TabSiteUpload"},
        {"bbtnSaveUploadLog", "button", "Save Log", "TabSiteUpload"},
        {"lbxAccount", "list", "", "TabAccounts"},
        {"lblAccountName", "label", "", "TabAccounts"},
        {"edtNewAccount", "edit", "", "TabAccounts"},
        {"btnAccountNew", "button", "Empty", "TabAccounts"},
        {"bbtnAccountCopy", "button", "Copy", "TabAccounts"},
        {"bbtnAccountDelete", "button", "Delete", "TabAccounts"},
        {"lbeFTPUserName", "labelled", "User name FTP", "TabAccounts"},
        {"lbeFTPPass", "labelled", "User Pass FTP", "TabAccounts"},
        {"lbeFTPHost", "labelled", "Host FTP", "TabAccounts"},
        {"lbeLinkUploadURL", "labelled", "Server Link Page Path", "TabAccounts"},
        {"lbeUploadPhpPath", "labelled", "Server Php Path", "TabAccounts"},
        {"lbeUploadInstallerPath", "labelled", "Server Installer Path", "TabAccounts"},
        {"lbeServerHomePath", "labelled", "Server Home Path", "TabAccounts"},
        {"lbeServerRootPath", "labelled", "Server Root Path", "TabAccounts"},
        {"lblFtpSecurity", "label", "FTP Security", "TabAccounts"},
        {"cbxFtpSecurity", "combo", "", "TabAccounts"},
        {"lblTrustedCertificate", "label", "", "TabAccounts"},
        {"bbtnForgetCertificate", "button", "Forget Certificate", "TabAccounts"},
        {"lblConnections", "label", "Connections", "TabAccounts"},
        {"speConnections", "spin", "", "TabAccounts"},
        {"pnlInnoSetup", "panel", "", "TabPrograms"},
        {"lbeInnoCompiler", "labelled", "Inno Setup Compiler", "pnlInnoSetup"},
        {"pnlEditor", "panel", "", "TabPrograms"},
        {"lbeEditor", "labelled", "Text Editor", "pnlEditor"},
        {"lbeHelpMaker", "labelled", "HelpMaker", "TabPrograms"},
        {"lbeSignTool", "labelled", "Signing Tool", "TabPrograms"},
        {"bbtnUpdateCheck", "button", "Check for Update", "TabPrograms"},
        {"lbxTimeServers", "list", "", "tabTimeServers"},
        {"lbeNewTimeServer", "labelled", "New Time Stamp Server", "tabTimeServers"},
        {"bbtnAddTimeServer", "button", "Add", "tabTimeServers"},
        {"bbtnDeleteTimeServer", "button", "Delete", "tabTimeServers"},
        {"bbtnUp", "button", "Move", "tabTimeServers"},
        {"bbtnDown", "button", "Move", "tabTimeServers"},
        {"speAttempts", "spin", "", "tabTimeServers"},
        {"Label5", "label", "Connection", "TabImport"},
        {"comboSite", "combo", "", "TabImport"},
        {"lbeImportLocalHome", "labelled", "Local Home", "TabImport"},
        {"lbeImportLocalRoot", "labelled", "Local Root", "TabImport"},
        {"memImportProgress", "memo", "", "TabImport"},
        {"pbFile", "progress", "", "TabImport"},
        {"pbFiles", "progress", "", "TabImport"},
        {"btnImportSite", "button", "Import Site", "TabImport"},
    };
    for (const Row& row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.kind) << QString::fromLatin1(row.caption)
                                << QString::fromLatin1(row.holder);
}

void MainScreenLayout::ControlExists()
{
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QString, holder);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QList<QWidget*> found = fx->window->findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1);
    QWidget* control = found.first();
    auto* holderWidget = fx->window->findChild<QWidget*>(holder);
    QVERIFY2(holderWidget && holderWidget->isAncestorOf(control), qPrintable(holder));

    QString shown;
    if (kind == QLatin1String("button")) {
        auto* button = qobject_cast<QPushButton*>(control);
        QVERIFY(button);
        shown = button->text();
    } else if (kind == QLatin1String("check")) {
        auto* box = qobject_cast<QCheckBox*>(control);
        QVERIFY(box);
        shown = box->text();
    } else if (kind == QLatin1String("label")) {
        auto* label = qobject_cast<QLabel*>(control);
        QVERIFY(label);
        shown = label->text();
    } else if (kind == QLatin1String("labelled")) {
        auto* edit = qobject_cast<QLineEdit*>(control);
        QVERIFY(edit);
        QLabel* label = EditLabel(edit);
        QVERIFY(label);
        QCOMPARE(label->buddy(), control);
        shown = label->text();
    } else if (kind == QLatin1String("edit")) {
        QVERIFY(qobject_cast<QLineEdit*>(control));
    } else if (kind == QLatin1String("list")) {
        QVERIFY(qobject_cast<QListWidget*>(control));
        QVERIFY(!qobject_cast<TCheckListBox*>(control));
    } else if (kind == QLatin1String("checklist")) {
        auto* list = qobject_cast<TCheckListBox*>(control);
        QVERIFY(list);
        // Items added to a check list can be checked by the user.
        QListWidgetItem* item = list->AddItem(QStringLiteral("C:\\site\\index.html"));
        QVERIFY(item->flags() & Qt::ItemIsUserCheckable);
        QVERIFY(!list->Checked(0));
        list->SetChecked(0, true);
        QVERIFY(list->Checked(0));
    } else if (kind == QLatin1String("memo")) {
        auto* memo = qobject_cast<QPlainTextEdit*>(control);
        QVERIFY(memo);
        shown = memo->toPlainText();
    } else if (kind == QLatin1String("progress")) {
        QVERIFY(qobject_cast<QProgressBar*>(control));
    } else if (kind == QLatin1String("spin")) {
        QVERIFY(qobject_cast<QSpinBox*>(control));
    } else if (kind == QLatin1String("combo")) {
        QVERIFY(qobject_cast<QComboBox*>(control));
    } else if (kind == QLatin1String("panel")) {
        QVERIFY(!control->findChildren<QWidget*>().isEmpty());
    } else {
        QFAIL("unknown kind in the table");
    }
    QCOMPARE(shown, caption);
}

QTEST_MAIN(MainScreenLayout)
#include "tst_mainscreen_layout.moc"
