#include "app/HelpLocation.h"
#include "app/WindowGeometry.h"
#include "build/SavedProjectBuild.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsLock.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"
#include "settings/StoredLists.h"
#include "ui/AccountActions.h"
#include "ui/BuildActions.h"
#include "ui/CancelFormU.h"
#include "ui/Controls.h"
#include "ui/HelpActions.h"
#include "ui/Hints.h"
#include "ui/MainscreenU.h"
#include "ui/ProjectActions.h"
#include "ui/ProjectBar.h"
#include "ui/ProjectSitesActions.h"
#include "ui/ScannerU.h"
#include "ui/UpdateActions.h"
#include "ui/pages/AccountsPage.h"
#include "ui/pages/BuilderPage.h"
#include "ui/pages/MaintenancePage.h"
#include "ui/pages/SelectFilesPage.h"
#include "ui/pages/TimeServersPage.h"
#include "ui/pages/UtilitiesPage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDate>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>

TMainScreen::~TMainScreen() = default;

void TMainScreen::FormCreate()
{
    // The window writes the settings file at its close: like every writer,
    // it holds the file's lock from before the read to after the write.
    settingsLock = std::make_unique<SettingsLock>(StoreFilePath());
    const SettingsLock::Outcome locked = settingsLock->Acquire();
    if (locked == SettingsLock::Outcome::Held) {
        services.prompts.ShowInfo(ProductCaption, settingsLock->InUseText());
        return;
    }
    auto store = std::make_unique<TAppData>(CSIDL_LOCAL_APPDATA);
    store->SetClock(services.clock);
    // A folder that cannot be made is the store's failure, told as such.
    if (!SetUpStore(*store, services.prompts))
        return;
    if (locked == SettingsLock::Outcome::Failed) {
        services.prompts.ShowInfo(ProductCaption, settingsLock->ErrorText());
        return;
    }
    AppData = std::move(store);
}

void TMainScreen::FormShow()
{
    if (!AppData)
        return;
    State.SelectionChanged = false;
    Help->SetHelpFolder(LocateHelpFolder(QCoreApplication::applicationDirPath()));
    LoadStoredLists();
    Build->LocateSignTool(false);
    State.PhpLines.clear();
    State.LinkPageLines.clear();
    State.SetupScriptLines.clear();
    State.InstallerUploadFiles.clear();
    TabPrograms->lbeInnoCompiler->setText(
        AppData->ReadString(Schema::SecInnoCompiler, Schema::KeyCommand, {}));
    TabPrograms->lbeEditor->setText(AppData->ReadString(Schema::SecEditor, Schema::KeyCommand, {}));
    TabPrograms->lbeHelpMaker->setText(AppData->ReadString(Schema::SecHelpMaker, Schema::KeyCommand, {}));
    State.NextUpdateCheck = ReadNextUpdateCheck(*AppData, services.clock.Today());

    // The build writes its commands into this file; start it empty.
    PrepareBuildScript(*AppData, State);

    State.TextFileExtensions = DefaultTextFileExtensions;
    SetEditingEnabled(false);
    PageControl1->setCurrentWidget(TabResources);
    MarkActivePage(TabResources);
    TabFolders->setCurrentWidget(TabSelectLocalFiles);
    // The first start centres the window as designed, before the software
    // switch may shrink it.
    LoadWindowGeometry(*AppData, *this, true, QSize(DesignWidth, DesignHeight));
    ShowSoftwareOptions(pnlTop->chkSoftWare->isChecked());
    SetMainScreenHints(this);
    CurrentTabSheet = TabSelectLocalFiles;
    Update->CheckForUpdate(false);
}

void TMainScreen::LoadStoredLists()
{
    // A list is shown even when a later value stops the start, so that the
    // close writes back what was read, never an empty list in its place.
    try {
        ReadStoredLists(*AppData, loadedLists);
    } catch (...) {
        ShowStoredLists();
        throw;
    }
    ShowStoredLists();
}

void TMainScreen::ShowStoredLists()
{
    if (loadedLists.Count > 0)
        ShowItems(pnlTop->Projects, loadedLists.ProjectNames);
    if (loadedLists.Count > 1)
        ShowItems(TabAccounts->lbxAccount, loadedLists.AccountNames);
    if (loadedLists.Count > 2)
        ShowItems(tabTimeServers->lbxTimeServers, loadedLists.ServerURLs);
    if (loadedLists.Count > 3)
        tabTimeServers->speAttempts->setValue(loadedLists.Attempts);
    ProjectSites->FillAvailableAccounts();
}

void TMainScreen::FormClose()
{
    if (!AppData)
        return;
    Projects->SaveProject();
    Accounts->SaveAccount();
    TStoredLists lists;
    lists.ProjectNames = ListItems(pnlTop->Projects);
    lists.AccountNames = ListItems(TabAccounts->lbxAccount);
    lists.ServerURLs = ListItems(tabTimeServers->lbxTimeServers);
    lists.Attempts = tabTimeServers->speAttempts->value();
    // Only what the start read goes back; the date is empty when it was not read.
    lists.Count = loadedLists.Count;
    WriteStoredLists(*AppData, lists,
                     State.NextUpdateCheck.isEmpty() ? std::nullopt : std::optional(State.NextUpdateCheck));
    SaveWindowGeometry(*AppData, *this, true);
    AppData->Save();
    AppData.reset();
    settingsLock.reset();
    State.PhpLines.clear();
    State.LinkPageLines.clear();
    State.SetupScriptLines.clear();
    State.InstallerUploadFiles.clear();
}
