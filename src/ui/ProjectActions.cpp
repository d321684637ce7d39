#include "ui/ProjectActions.h"

#include "projects/AppList.h"
#include "projects/ProjectNames.h"
#include "projects/ProjectStore.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "ui/AppsPanel.h"
#include "ui/Controls.h"
#include "ui/MainscreenU.h"
#include "ui/ProjectBar.h"
#include "ui/pages/AccountsPage.h"
#include "ui/pages/BuilderPage.h"
#include "ui/pages/SelectAccountsPage.h"
#include "ui/pages/SelectFilesPage.h"
#include "util/ExtraCode.h"
#include "util/Prompts.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

ProjectActions::ProjectActions(TMainScreen& window) : QObject(&window), w(window)
{
    ProjectBar* bar = w.pnlTop;
    connect(bar->bbtnNew, &QPushButton::clicked, this, &ProjectActions::btnNewClick);
    connect(bar->bbtnSelectProject, &QPushButton::clicked, this, &ProjectActions::btnSelectProjectClick);
    connect(bar->Projects, &QListWidget::itemDoubleClicked, this, &ProjectActions::btnSelectProjectClick);
    connect(bar->btnSave, &QPushButton::clicked, this, &ProjectActions::btnSaveClick);
    connect(bar->btnAbandon, &QPushButton::clicked, this, &ProjectActions::btnAbandonClick);
    connect(bar->bbtnDeleteProject, &QPushButton::clicked, this, &ProjectActions::btnDeleteProjectClick);
    connect(bar->chkSoftWare, &QCheckBox::clicked, this, &ProjectActions::chkSoftWareClick);
    connect(w.TabResources->cbxtimeStamp, &QCheckBox::clicked, this, &ProjectActions::cbxtimeStampClick);
    connect(w.TabResources->cbxAutoUpload, &QCheckBox::clicked, this, &ProjectActions::cbxAutoUploadClick);
}

QString ProjectActions::EditingProject() const
{
    return w.pnlTop->lblEditingProject->text();
}

QString ProjectActions::SelectedProject() const
{
    const QListWidgetItem* item = w.pnlTop->Projects->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void ProjectActions::btnNewClick()
{
    ProjectBar* bar = w.pnlTop;
    const QString name = bar->edtNewProject->text();
    const QString refusal = NewProjectNameRefusal(name, ListItems(bar->Projects));
    if (!refusal.isEmpty()) {
        w.UserPrompts().ShowInfo(ProductCaption, refusal);
        return;
    }
    SaveProject();
    bar->Projects->addItem(name);
    // A new project starts unlocked.
    bar->chkEnable->setChecked(true);
    w.SetEditingEnabled(true);
    bar->Projects->setCurrentRow(bar->Projects->count() - 1);
    btnSelectProjectClick();
}

void ProjectActions::btnSelectProjectClick()
{
    const QString name = SelectedProject();
    if (name.isEmpty())
        return;
    SaveProject();
    w.pnlTop->lblEditingProject->setText(name);
    ClearSiteLists();
    LoadProject();
    w.TabInternet->lblProjectName->setText(name);
    // An installer built for the previous project is not offered for upload.
    w.State.SetupExeName.clear();
    w.State.SetupExePath.clear();
}

void ProjectActions::btnSaveClick()
{
    SaveProject();
}

void ProjectActions::btnAbandonClick()
{
    // Nothing is loaded: there is nothing to read back.
    if (EditingProject().isEmpty())
        return;
    LoadProject();
}

void ProjectActions::btnDeleteProjectClick()
{
    if (!w.AppData)
        return;
    TAppData& appData = *w.AppData;
    QListWidget* projects = w.pnlTop->Projects;
    const QString name = SelectedProject();
    if (name.isEmpty())
        return;
    const int row = projects->currentRow();
    if (w.UserPrompts().AskQuestion(ProductCaption, QStringLiteral("Delete Project\r") + name, MB_YESNO) !=
        IDYES)
        return;
    if (name == EditingProject()) {
        w.pnlTop->lblEditingProject->clear();
        ClearSiteLists();
    }
    QStringList others = ListItems(projects);
    others.removeAt(row);
    DeleteProjectData(appData, name, ListItems(w.TabAccounts->lbxAccount), others);
    delete projects->takeItem(row);
}

void ProjectActions::chkSoftWareClick()
{
    w.ShowSoftwareOptions(w.pnlTop->chkSoftWare->isChecked());
}

void ProjectActions::cbxtimeStampClick()
{
    const QString project = EditingProject();
    if (w.AppData && !project.isEmpty())
        w.AppData->WriteBool(project, Schema::KeyTimeStamp, w.TabResources->cbxtimeStamp->isChecked());
}

void ProjectActions::cbxAutoUploadClick()
{
    const QString project = EditingProject();
    if (w.AppData && !project.isEmpty())
        w.AppData->WriteBool(project, Schema::KeyAutoUpload, w.TabResources->cbxAutoUpload->isChecked());
}

void ProjectActions::ClearSiteLists()
{
    for (const char* name : {"clbxFiles", "lbxLocalFiles", "lbxLocalFolders", "lbxBrokenLinks"})
        if (auto* list = w.findChild<QListWidget*>(QString::fromLatin1(name)))
            list->clear();
}

TProjectFields ProjectActions::GatherFields() const
{
    const BuilderPage* b = w.TabResources;
    TProjectFields f;
    f.PhpFile = b->lbePhpFile->text();
    f.PhpVar = b->lbePHPVar->text();
    f.DownLoadLink = b->lbeDownLoadLinkFile->text();
    f.DLinkId = b->lbeDownLoadLinkId->text();
    f.DLinkText = b->lbeDownLoadLinkText->text();
    f.HelpBatch = b->lbeHelpBuilderBatch->text();
    f.BaseFile = b->lbeBaseFileName->text();
    f.InnoSetupFile = b->lbeInnoSetupFile->text();
    f.PreBuild = b->lbePrebuild->text();
    f.PFX = b->lbePFX->text();
    f.PFXPass = b->lbePFXPass->text();
    f.TimeStamp = b->cbxtimeStamp->isChecked();
    f.AutoUpload = b->cbxAutoUpload->isChecked();
    f.Apps = w.pnlApps->chkProjectApps->Items();
    f.Primary = w.pnlApps->lblPrimaryApp->text();
    f.FullVersion = w.State.PrimaryAppFile;
    f.PrimaryPath = w.State.PrimaryAppFolder;
    f.LocalRoot = w.TabSelectLocalFiles->lbeLocalRoot->text();
    f.LocalHome = w.TabSelectLocalFiles->lbeLocalHome->text();
    f.SoftWareDev = w.pnlTop->chkSoftWare->isChecked();
    f.Sites = ListItems(w.TabInternet->lbxUploadSites);
    return f;
}

void ProjectActions::SaveProject()
{
    if (!w.AppData)
        return;
    TAppData& appData = *w.AppData;
    const QString project = EditingProject();
    if (project.isEmpty())
        return;
    ::SaveProject(appData, project, GatherFields());
    // The site work stores the file selection ("LFLS") here once it exists.
}

void ProjectActions::ShowFields(const TProjectFields& f)
{
    w.TabInternet->lbxUploadSites->clear();
    w.TabInternet->lbxUploadSites->addItems(f.Sites);
    BuilderPage* b = w.TabResources;
    b->lbePhpFile->setText(f.PhpFile);
    b->lbeHelpBuilderBatch->setText(f.HelpBatch);
    b->lbeInnoSetupFile->setText(f.InnoSetupFile);
    b->lbePHPVar->setText(f.PhpVar);
    b->lbeDownLoadLinkFile->setText(f.DownLoadLink);
    w.pnlApps->lblPrimaryApp->setText(f.Primary);
    TCheckListBox* apps = w.pnlApps->chkProjectApps;
    const QSignalBlocker quiet(apps); // filling is no check click
    apps->clear();
    for (const QString& app : f.Apps)
        apps->AddItem(app, false);
    w.State.PrimaryAppFile = f.FullVersion;
    w.State.PrimaryAppFolder = f.PrimaryPath;
    b->lbeDownLoadLinkId->setText(f.DLinkId);
    b->lbeBaseFileName->setText(f.BaseFile);
    b->lbeDownLoadLinkText->setText(f.DLinkText);
    w.TabSelectLocalFiles->lbeLocalRoot->setText(f.LocalRoot);
    w.TabSelectLocalFiles->lbeLocalHome->setText(f.LocalHome);
    b->lbePFX->setText(f.PFX);
    b->lbePFXPass->setText(f.PFXPass);
    b->lbePrebuild->setText(f.PreBuild);
    b->cbxtimeStamp->setChecked(f.TimeStamp);
    b->cbxAutoUpload->setChecked(f.AutoUpload);
    w.pnlTop->chkSoftWare->setChecked(f.SoftWareDev);
}

void ProjectActions::LoadProject()
{
    if (!w.AppData)
        return;
    TAppData& appData = *w.AppData;
    const TProjectFields fields = ::LoadProject(appData, EditingProject());
    ShowFields(fields);
    QLabel* version = w.pnlApps->lblVersion;
    if (!w.State.PrimaryAppFile.isEmpty()) {
        w.State.PrimaryVersion = GetVersionString(w.State.PrimaryAppFile, VersionFormat);
        version->setText(VersionCaption(w.State.PrimaryVersion));
        version->show();
        TCheckListBox* apps = w.pnlApps->chkProjectApps;
        const QSignalBlocker quiet(apps);
        for (int row = 0; row < apps->count(); ++row)
            if (apps->item(row)->text() == w.State.PrimaryAppFile)
                apps->SetChecked(row, true);
    } else {
        // No primary: the previous project's version must not linger.
        w.State.PrimaryVersion.clear();
        version->clear();
        version->hide();
    }
    // The site scan of the loaded project starts here (site work).
    w.ShowSoftwareOptions(w.pnlTop->chkSoftWare->isChecked());
}
