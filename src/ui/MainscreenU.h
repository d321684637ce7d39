#pragma once

#include "projects/WorkingState.h"
#include "settings/StoredLists.h"
#include "site/SiteLists.h"
#include "ui/ShellServices.h"

#include <QMainWindow>

#include <memory>

class AccountActions;
class AccountsPage;
class AppListActions;
class AppsPanel;
class BrokenLinksPage;
class BuildActions;
class BuilderPage;
class HelpActions;
class ImportActions;
class WebLinkActions;
class ImportPage;
class LocalFilesPage;
class LogActions;
class LocalFoldersPage;
class MaintenancePage;
class ProjectActions;
class ProjectBar;
class ProjectSitesActions;
class QTabWidget;
class SelectAccountsPage;
class SelectFilesPage;
class SettingsLock;
class SiteActions;
class SiteUploadActions;
class SiteUploadPage;
class TAppData;
class TCancelForm;
class TScanner;
class TimeServersPage;
class ToolActions;
class UpdateActions;
class UploadInstallerPage;
class UtilitiesPage;

// The main window: a mediator that builds the bands and pages, wires them,
// and runs the window's start-up and shut-down. The pages hold their own
// controls; every control's objectName is its name in the program.
class TMainScreen : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 746;
    static constexpr int DesignHeight = 655;
    static constexpr int PageControlHeight = 377;
    static constexpr int FontPixelSize = 16;

    explicit TMainScreen(const ShellServices& services, QWidget* parent = nullptr);
    ~TMainScreen() override;
    TMainScreen(const TMainScreen&) = delete;
    TMainScreen& operator=(const TMainScreen&) = delete;

    // Bands, top to bottom.
    ProjectBar* pnlTop;
    AppsPanel* pnlApps;
    QTabWidget* PageControl1;

    // Pages of PageControl1, in tab order.
    BuilderPage* TabResources;
    UploadInstallerPage* TabUpload;
    MaintenancePage* TabMaintenance;
    AccountsPage* TabAccounts;
    UtilitiesPage* TabPrograms;
    TimeServersPage* tabTimeServers;
    ImportPage* TabImport;

    // TabFolders and its pages (owned by TabMaintenance), for the wiring.
    QTabWidget* TabFolders;
    SelectFilesPage* TabSelectLocalFiles;
    LocalFilesPage* TabLocalFiles;
    LocalFoldersPage* TabLocalFolders;
    BrokenLinksPage* TabBrokenLinks;
    SelectAccountsPage* TabInternet;
    SiteUploadPage* TabSiteUpload;

    // What the operations share while the program runs.
    WorkingState State;
    // clbxFiles, lbxLocalFiles, lbxLocalFolders and lbxBrokenLinks: the one
    // copy that the list widgets show.
    TSiteLists SiteLists;
    // The page last brought to front by the program; context help counts a
    // control as visible only on it.
    QWidget* CurrentTabSheet = nullptr;
    // The scan window and the cancel window, made before the actions that
    // use them and owned by this window (their own top-level windows).
    TScanner* Scanner() const { return scanner.get(); }
    TCancelForm* CancelForm() const { return cancelForm.get(); }
    // The settings store; null when its set-up failed or after the close.
    std::unique_ptr<TAppData> AppData;

    Prompts& UserPrompts() const { return services.prompts; }
    ShellServices& Services() { return services; }
    // False when the settings file could not be set up: the program ends
    // without showing the window and without writing any setting.
    bool StoreReady() const { return AppData != nullptr; }

    // The "Enable Editing" lock over its fixed list of controls.
    void SetEditingEnabled(bool enabled);
    void chkEnableClick();

    // Records sheet as the page in front and marks its caption.
    void MarkActivePage(QWidget* sheet);
    void MarkActiveSubPage(QWidget* sheet);

    // The software-release switch and the height that follows from it.
    void ShowSoftwareOptions(bool visible);
    void FitWindowHeight();

    // Start-up and shut-down. FormCreate runs in the constructor, FormShow
    // when the window is first shown, FormClose when it closes.
    void FormCreate();
    void FormShow();
    void FormClose();
    void LoadStoredLists();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // The window's handlers, one object per group of pages.
    ProjectActions* Projects = nullptr;
    AccountActions* Accounts = nullptr;
    ProjectSitesActions* ProjectSites = nullptr;
    AppListActions* AppList = nullptr;
    LogActions* Logs = nullptr;
    ToolActions* Tools = nullptr;
    BuildActions* Build = nullptr;
    SiteActions* Site = nullptr;
    SiteUploadActions* SiteUpload = nullptr;
    ImportActions* Import = nullptr;
    WebLinkActions* WebLinks = nullptr;
    HelpActions* Help = nullptr;
    UpdateActions* Update = nullptr;

private:
    void BuildBands();
    void WirePages();
    void CreateActions();
    void ShowStoredLists();
    void PageControl1Change(int index);
    void TabFoldersChange(int index);

    ShellServices services;
    std::unique_ptr<TScanner> scanner;
    std::unique_ptr<TCancelForm> cancelForm;
    // Held from the store's set-up to after its last save.
    std::unique_ptr<SettingsLock> settingsLock;
    // What FormShow read of the stored lists; FormClose writes back only
    // these, so a start that failed half-way loses nothing.
    TStoredLists loadedLists;
    bool shown = false;
    bool closed = false;
    // The user agreed to close once the running operation has ended.
    bool closeAfterOperation = false;
};
