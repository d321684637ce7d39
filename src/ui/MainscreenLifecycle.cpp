#include "app/WindowGeometry.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "settings/StoreSetup.h"
#include "settings/StoredLists.h"
#include "ui/Controls.h"
#include "ui/Hints.h"
#include "ui/MainscreenU.h"
#include "ui/ProjectBar.h"
#include "ui/ProjectWiring.h"
#include "ui/pages/AccountsPage.h"
#include "ui/pages/BuilderPage.h"
#include "ui/pages/MaintenancePage.h"
#include "ui/pages/SelectFilesPage.h"
#include "ui/pages/TimeServersPage.h"
#include "ui/pages/UtilitiesPage.h"
#include "util/TarnwellError.h"

#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>

TMainScreen::~TMainScreen() = default;

void TMainScreen::FormCreate()
{
    auto store = std::make_unique<TAppData>(CSIDL_LOCAL_APPDATA);
    if (SetUpStore(*store, prompts))
        AppData = std::move(store);
}

void TMainScreen::FormShow()
{
    if (!AppData)
        return;
    State.SelectionChanged = false;
    // The help file and its viewer join with the context help.
    LoadStoredLists();
    // LocateSignTool(false) joins here with the signing tool discovery.
    State.PhpLines.clear();
    State.LinkPageLines.clear();
    State.SetupScriptLines.clear();
    State.InstallerUploadFiles.clear();
    TabPrograms->lbeInnoCompiler->setText(
        AppData->ReadString(Schema::SecInnoCompiler, Schema::KeyCommand, {}));
    TabPrograms->lbeEditor->setText(AppData->ReadString(Schema::SecEditor, Schema::KeyCommand, {}));
    TabPrograms->lbeHelpMaker->setText(AppData->ReadString(Schema::SecHelpMaker, Schema::KeyCommand, {}));
    State.BuildBatchPath = AppData->TempFolder() + QStringLiteral("/buildrelease.bat");
    State.NextUpdateCheck = ReadNextUpdateCheck(*AppData, QDate::currentDate());

    // The build writes its commands into this file; start it empty.
    QFile::remove(State.BuildBatchPath);
    auto batch = std::make_unique<QFile>(State.BuildBatchPath);
    if (!batch->open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw TarnwellError(
            QStringLiteral("Couldn't create %1: %2").arg(State.BuildBatchPath, batch->errorString()));
    batch->setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    State.BuildBatch = std::move(batch);

    State.TextFileExtensions = DefaultTextFileExtensions;
    SetEditingEnabled(false);
    PageControl1->setCurrentWidget(TabResources);
    MarkActivePage(TabResources);
    TabFolders->setCurrentWidget(TabSelectLocalFiles);
    LoadWindowGeometry(*AppData, *this, true);
    ShowSoftwareOptions(pnlTop->chkSoftWare->isChecked());
    SetMainScreenHints(this);
    State.CurrentTabSheet = TabSelectLocalFiles;
    // CheckForUpdate(false) joins here with the update check.
}

void TMainScreen::LoadStoredLists()
{
    const TStoredLists lists = ReadStoredLists(*AppData);
    ShowItems(pnlTop->Projects, lists.ProjectNames);
    ShowItems(TabAccounts->lbxAccount, lists.AccountNames);
    ShowItems(tabTimeServers->lbxTimeServers, lists.ServerURLs);
    tabTimeServers->speAttempts->setValue(lists.Attempts);
    FillAvailableAccounts(*this);
}

void TMainScreen::FormClose()
{
    if (!AppData)
        return;
    SaveLoadedProject(*this);
    SaveShownAccount(*this);
    TStoredLists lists;
    lists.ProjectNames = ListItems(pnlTop->Projects);
    lists.AccountNames = ListItems(TabAccounts->lbxAccount);
    lists.ServerURLs = ListItems(tabTimeServers->lbxTimeServers);
    lists.Attempts = tabTimeServers->speAttempts->value();
    WriteStoredLists(*AppData, lists, State.NextUpdateCheck);
    SaveWindowGeometry(*AppData, *this, true);
    AppData->Save();
    AppData.reset();
    State.PhpLines.clear();
    State.LinkPageLines.clear();
    State.SetupScriptLines.clear();
    State.InstallerUploadFiles.clear();
}
