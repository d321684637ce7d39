#include "ui/MainscreenU.h"

#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsLock.h"
#include "ui/SlotGuard.h"

#include "ui/AccountActions.h"
#include "ui/AppListActions.h"
#include "ui/AppsPanel.h"
#include "ui/BuildActions.h"
#include "ui/CancelFormU.h"
#include "ui/Controls.h"
#include "ui/EditingLock.h"
#include "ui/HelpActions.h"
#include "ui/Hints.h"
#include "ui/ImportActions.h"
#include "ui/LogActions.h"
#include "ui/OperationScope.h"
#include "ui/ProjectActions.h"
#include "ui/ProjectBar.h"
#include "ui/ProjectSitesActions.h"
#include "ui/ScannerU.h"
#include "ui/SiteActions.h"
#include "ui/SiteUploadActions.h"
#include "ui/TabMarker.h"
#include "ui/ToolActions.h"
#include "ui/UpdateActions.h"
#include "ui/WebLinkActions.h"
#include "ui/WorkerRun.h"
#include "ui/pages/AccountsPage.h"
#include "ui/pages/BrokenLinksPage.h"
#include "ui/pages/BuilderPage.h"
#include "ui/pages/ImportPage.h"
#include "ui/pages/LocalFilesPage.h"
#include "ui/pages/LocalFoldersPage.h"
#include "ui/pages/MaintenancePage.h"
#include "ui/pages/SelectAccountsPage.h"
#include "ui/pages/SelectFilesPage.h"
#include "ui/pages/SiteUploadPage.h"
#include "ui/pages/TimeServersPage.h"
#include "ui/pages/UploadInstallerPage.h"
#include "ui/pages/UtilitiesPage.h"
#include "util/Prompts.h"
#include "util/TarnwellError.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

TMainScreen::TMainScreen(const ShellServices& services, QWidget* parent)
    : QMainWindow(parent), services(services), scanner(std::make_unique<TScanner>()),
      cancelForm(std::make_unique<TCancelForm>())
{
    // Nothing was read yet, so a close now writes no list back.
    loadedLists.Count = 0;
    setObjectName(QStringLiteral("MainScreen"));
    setWindowTitle(QStringLiteral("Tarnwell"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(FontPixelSize);
    setFont(arial);
    BuildBands();
    WirePages();
    SetMainScreenHelpContexts(this);
    setMinimumWidth(DesignWidth);
    resize(DesignWidth, pnlTop->height() + pnlApps->height() + PageControl1->height());
    FitWindowHeight();
    FormCreate();
}

void TMainScreen::BuildBands()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("MainScreenClient"));
    auto* bands = new QVBoxLayout(client);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);

    pnlTop = new ProjectBar(client);
    pnlApps = new AppsPanel(client);
    PageControl1 = new QTabWidget(client);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFixedHeight(PageControlHeight);
    // Seven captions, one of them padded by the marker: keep them readable
    // rather than scrolled out of sight.
    QFont tabFont = font();
    tabFont.setPixelSize(FontPixelSize - 4);
    PageControl1->tabBar()->setFont(tabFont);

    TabResources = new BuilderPage(PageControl1);
    TabUpload = new UploadInstallerPage(PageControl1);
    TabMaintenance = new MaintenancePage(PageControl1);
    TabAccounts = new AccountsPage(PageControl1);
    TabPrograms = new UtilitiesPage(PageControl1);
    tabTimeServers = new TimeServersPage(PageControl1);
    TabImport = new ImportPage(PageControl1);
    PageControl1->addTab(TabResources, QStringLiteral("Builder"));
    PageControl1->addTab(TabUpload, QStringLiteral("Upload Installer"));
    PageControl1->addTab(TabMaintenance, QStringLiteral("Site Maintenance"));
    PageControl1->addTab(TabAccounts, QStringLiteral("Accounts"));
    PageControl1->addTab(TabPrograms, QStringLiteral("Utilities"));
    PageControl1->addTab(tabTimeServers, QStringLiteral("Time Servers"));
    PageControl1->addTab(TabImport, QStringLiteral("Import"));

    TabFolders = TabMaintenance->TabFolders;
    TabFolders->tabBar()->setFont(tabFont);
    TabSelectLocalFiles = TabMaintenance->TabSelectLocalFiles;
    TabLocalFiles = TabMaintenance->TabLocalFiles;
    TabLocalFolders = TabMaintenance->TabLocalFolders;
    TabBrokenLinks = TabMaintenance->TabBrokenLinks;
    TabInternet = TabMaintenance->TabInternet;
    TabSiteUpload = TabMaintenance->TabSiteUpload;

    bands->addWidget(pnlTop);
    bands->addWidget(pnlApps);
    bands->addWidget(PageControl1);
    setCentralWidget(client);
}

void TMainScreen::WirePages()
{
    connect(PageControl1, &QTabWidget::currentChanged, this, Guarded(this, &TMainScreen::PageControl1Change));
    connect(TabFolders, &QTabWidget::currentChanged, this, Guarded(this, &TMainScreen::TabFoldersChange));
    // Any change of the box, by the user or by the program, moves the lock.
    connect(pnlTop->chkEnable, &QCheckBox::toggled, this, Guarded(this, &TMainScreen::chkEnableClick));
    CreateActions();
}

void TMainScreen::CreateActions()
{
    const ActionContext context{AppData, State, services};
    Site = new SiteActions(context, SiteLists,
                           {TabSelectLocalFiles, TabLocalFiles, TabLocalFolders, TabBrokenLinks,
                            pnlTop->lblEditingProject, TabPrograms->lbeEditor, pnlTop->chkEnable},
                           {scanner.get(),
                            [this] {
                                PageControl1->setCurrentWidget(TabMaintenance);
                                TabFolders->setCurrentWidget(TabBrokenLinks);
                                MarkActiveSubPage(TabBrokenLinks);
                            }},
                           this);
    Projects = new ProjectActions(context,
                                  {pnlTop, pnlApps, TabResources, TabSelectLocalFiles, TabInternet,
                                   TabAccounts->lbxAccount, &SiteLists},
                                  {[this](bool enabled) { SetEditingEnabled(enabled); },
                                   [this](bool visible) { ShowSoftwareOptions(visible); },
                                   [this] { Site->ScanSite(); }, [this] { Site->SaveFileSelection(); },
                                   [this] { Import->FillFields(); }},
                                  this);
    Accounts = new AccountActions(
        context, {TabAccounts, PageControl1, pnlTop->lblEditingProject, TabInternet->lbxUploadSites}, this);
    ProjectSites = new ProjectSitesActions(
        context, {TabInternet, TabAccounts->lbxAccount, pnlTop->lblEditingProject}, this);
    AppList = new AppListActions(context, pnlApps, this);
    Logs = new LogActions(context,
                          {TabUpload->ProgressPane, TabUpload->bbtnSaveSoftUploadLog,
                           TabSiteUpload->SiteUploadProgress, TabSiteUpload->bbtnSaveUploadLog,
                           pnlTop->lblEditingProject},
                          this);
    Tools = new ToolActions(
        context, {TabPrograms, tabTimeServers, TabResources, TabSelectLocalFiles, TabImport}, this);
    Build = new BuildActions(context,
                             {this, TabResources, TabUpload, pnlApps, TabPrograms, tabTimeServers,
                              pnlTop->lblEditingProject, TabSelectLocalFiles, TabInternet, TabSiteUpload},
                             {cancelForm.get(),
                              [this](QWidget* page) {
                                  PageControl1->setCurrentWidget(page);
                                  MarkActivePage(page);
                              }},
                             this);
    SiteUpload = new SiteUploadActions(
        context, SiteLists,
        {this, TabSiteUpload, TabSelectLocalFiles, TabInternet, TabBrokenLinks, pnlTop->lblEditingProject},
        {cancelForm.get(), [this] { Site->UpdateFilesAndFolders(); },
         [this](QWidget* sheet) {
             PageControl1->setCurrentWidget(TabMaintenance);
             TabFolders->setCurrentWidget(sheet);
             MarkActiveSubPage(sheet);
         }},
        this);
    Import = new ImportActions(
        context, SiteLists,
        {this, TabImport, TabSelectLocalFiles, TabAccounts->lbxAccount, pnlTop->lblEditingProject},
        {cancelForm.get(), [this] { Site->doReScan(true); }}, this);
    WebLinks = new WebLinkActions(context, SiteLists, {this, TabBrokenLinks, pnlTop->lblEditingProject},
                                  {cancelForm.get(), scanner.get(),
                                   [this](bool brokenLinks) { Site->ShowBrokenLinkState(brokenLinks); }},
                                  this);
    Help = new HelpActions(
        context,
        {pnlTop->bbtnHelp, {this, scanner.get(), cancelForm.get()}, [this] { return CurrentTabSheet; }},
        this);
    Update = new UpdateActions(context, {this, pnlTop->btnUpdate, TabPrograms->bbtnUpdateCheck}, this);
}

void TMainScreen::SetEditingEnabled(bool enabled)
{
    SetControlsEnabled(this, EditingControlNames(), enabled);
    TabAccounts->SetEditable(enabled);
}

void TMainScreen::chkEnableClick()
{
    SetEditingEnabled(pnlTop->chkEnable->isChecked());
}

void TMainScreen::MarkActivePage(QWidget* sheet)
{
    CurrentTabSheet = sheet;
    MarkPageCaption(PageControl1, sheet);
    // The page in front of Site Maintenance is the current one, not the holder.
    if (sheet == TabMaintenance)
        TabFoldersChange(TabFolders->currentIndex());
}

void TMainScreen::MarkActiveSubPage(QWidget* sheet)
{
    CurrentTabSheet = sheet;
    MarkPageCaption(TabFolders, sheet);
}

void TMainScreen::PageControl1Change(int index)
{
    QWidget* sheet = PageControl1->widget(index);
    if (!sheet)
        return;
    if (sheet == TabImport)
        Import->TabImportShow();
    MarkActivePage(sheet);
}

void TMainScreen::TabFoldersChange(int index)
{
    // An inner page counts as shown only while Site Maintenance is in front.
    if (PageControl1->currentWidget() != TabMaintenance)
        return;
    QWidget* sheet = TabFolders->widget(index);
    if (!sheet)
        return;
    // TabInternetShow fills the account lists from the page's own show event.
    MarkActiveSubPage(sheet);
}

void TMainScreen::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown && !event->spontaneous()) {
        shown = true;
        RunGuarded([this] { FormShow(); });
    }
}

void TMainScreen::closeEvent(QCloseEvent* event)
{
    // A long operation runs on its worker thread and still uses
    // the store: the close waits for its end, if the user wants it cancelled.
    if (OperationScope* operation = OperationScope::RunningOver(*this)) {
        event->ignore();
        if (closeAfterOperation ||
            services.prompts.AskQuestion(ProductCaption, operation->CloseQuestion(), MB_YESNO) == IDYES) {
            closeAfterOperation = true;
            operation->CancelAndClose();
        }
        return;
    }
    // An operation before or after its span over the window (its checks,
    // its summary) still uses the store: the close comes once it has ended.
    if (WorkerRunning()) {
        event->ignore();
        AfterWorker(this, [this] { close(); });
        return;
    }
    // The settings are written once, and nothing but a failed write stops
    // the close: then the user chooses between keeping the window (to make
    // room or fix the folder and close again) and leaving without this
    // session's changes. The previous file is intact either way.
    event->accept();
    if (closed)
        return;
    try {
        FormClose();
    } catch (const TarnwellError& error) {
        const QString question = QStringLiteral("The settings could not be saved:\r%1\r\r"
                                                "Close anyway and lose the changes of this session?")
                                     .arg(error.Message());
        if (services.prompts.AskQuestion(ProductCaption, question, MB_YESNO) != IDYES) {
            event->ignore();
            return;
        }
    }
    closed = true;
    Help->CloseHelp();
}
