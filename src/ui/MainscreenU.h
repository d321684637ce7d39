#pragma once

#include "app/WorkingState.h"

#include <QMainWindow>

class AccountsPage;
class AppsPanel;
class BrokenLinksPage;
class BuilderPage;
class ImportPage;
class LocalFilesPage;
class LocalFoldersPage;
class MaintenancePage;
class ProjectBar;
class Prompts;
class QTabWidget;
class SelectAccountsPage;
class SelectFilesPage;
class SiteUploadPage;
class TimeServersPage;
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

    explicit TMainScreen(Prompts& prompts, QWidget* parent = nullptr);
    ~TMainScreen() override;

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

    Prompts& UserPrompts() const { return prompts; }

    // The "Enable Editing" lock over its fixed list of controls.
    void SetEditingEnabled(bool enabled);
    void chkEnableClick();

    // Records sheet as the page in front and marks its caption.
    void MarkActivePage(QWidget* sheet);
    void MarkActiveSubPage(QWidget* sheet);

    // The software-release switch and the height that follows from it.
    void ShowSoftwareOptions(bool visible);
    void FitWindowHeight();

    void FormShow();
    void FormClose();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildBands();
    void WirePages();
    void PageControl1Change(int index);
    void TabFoldersChange(int index);

    Prompts& prompts;
    bool shown = false;
    bool closed = false;
};
