#include "ui/ProjectActions.h"

#include "projects/AppList.h"
#include "projects/ProjectNames.h"
#include "projects/ProjectStore.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "site/SiteLists.h"
#include "ui/AppsPanel.h"
#include "ui/Controls.h"
#include "ui/ProjectBar.h"
#include "ui/SlotGuard.h"
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

ProjectActions::ProjectActions(const ActionContext& context, const Pages& pages, WindowCommands commands,
                               QObject* parent)
    : QObject(parent), c(context), p(pages), window(std::move(commands))
{
    ProjectBar* bar = p.bar;
    connect(bar->bbtnNew, &QPushButton::clicked, this, Guarded(this, &ProjectActions::btnNewClick));
    connect(bar->bbtnSelectProject, &QPushButton::clicked, this,
            Guarded(this, &ProjectActions::btnSelectProjectClick));
    connect(bar->Projects, &QListWidget::itemDoubleClicked, this,
            Guarded(this, &ProjectActions::btnSelectProjectClick));
    connect(bar->btnSave, &QPushButton::clicked, this, Guarded(this, &ProjectActions::btnSaveClick));
    connect(bar->btnAbandon, &QPushButton::clicked, this, Guarded(this, &ProjectActions::btnAbandonClick));
    connect(bar->bbtnDeleteProject, &QPushButton::clicked, this,
            Guarded(this, &ProjectActions::btnDeleteProjectClick));
    connect(bar->chkSoftWare, &QCheckBox::clicked, this, Guarded(this, &ProjectActions::chkSoftWareClick));
    connect(p.builder->cbxtimeStamp, &QCheckBox::clicked, this,
            Guarded(this, &ProjectActions::cbxtimeStampClick));
    connect(p.builder->cbxAutoUpload, &QCheckBox::clicked, this,
            Guarded(this, &ProjectActions::cbxAutoUploadClick));
    connect(p.selectFiles->chkPageRelative, &QCheckBox::clicked, this,
            Guarded(this, &ProjectActions::chkPageRelativeClick));
}

QString ProjectActions::EditingProject() const
{
    return p.bar->lblEditingProject->text();
}

QString ProjectActions::SelectedProject() const
{
    const QListWidgetItem* item = p.bar->Projects->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void ProjectActions::btnNewClick()
{
    ProjectBar* bar = p.bar;
    const QString name = bar->edtNewProject->text();
    const QString refusal = NewProjectNameRefusal(name, ListItems(bar->Projects));
    if (!refusal.isEmpty()) {
        c.UserPrompts().ShowInfo(ProductCaption, refusal);
        return;
    }
    SaveProject();
    bar->Projects->addItem(name);
    // A new project starts unlocked.
    bar->chkEnable->setChecked(true);
    window.setEditingEnabled(true);
    bar->Projects->setCurrentRow(bar->Projects->count() - 1);
    btnSelectProjectClick();
}

void ProjectActions::btnSelectProjectClick()
{
    const QString name = SelectedProject();
    if (name.isEmpty())
        return;
    SaveProject();
    p.bar->lblEditingProject->setText(name);
    ClearSiteLists();
    LoadProject();
    p.selectAccounts->lblProjectName->setText(name);
    // An installer built for the previous project is not offered for upload.
    c.state.SetupExeName.clear();
    c.state.SetupExePath.clear();
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
    if (!c.Store())
        return;
    TAppData& appData = *c.Store();
    QListWidget* projects = p.bar->Projects;
    const QString name = SelectedProject();
    if (name.isEmpty())
        return;
    const int row = projects->currentRow();
    if (c.UserPrompts().AskQuestion(ProductCaption, QStringLiteral("Delete Project\r") + name, MB_YESNO) !=
        IDYES)
        return;
    if (name == EditingProject()) {
        p.bar->lblEditingProject->clear();
        ClearSiteLists();
        if (window.projectChanged)
            window.projectChanged();
    }
    QStringList others = ListItems(projects);
    others.removeAt(row);
    DeleteProjectData(appData, name, ListItems(p.accounts), others);
    delete projects->takeItem(row);
}

void ProjectActions::chkSoftWareClick()
{
    window.showSoftwareOptions(p.bar->chkSoftWare->isChecked());
}

void ProjectActions::cbxtimeStampClick()
{
    const QString project = EditingProject();
    if (c.Store() && !project.isEmpty())
        c.Store()->WriteBool(project, Schema::KeyTimeStamp, p.builder->cbxtimeStamp->isChecked());
}

void ProjectActions::cbxAutoUploadClick()
{
    const QString project = EditingProject();
    if (c.Store() && !project.isEmpty())
        c.Store()->WriteBool(project, Schema::KeyAutoUpload, p.builder->cbxAutoUpload->isChecked());
}

void ProjectActions::chkPageRelativeClick()
{
    const QString project = EditingProject();
    if (c.Store() && !project.isEmpty())
        c.Store()->WriteBool(project, Schema::KeyPageRelative, p.selectFiles->chkPageRelative->isChecked());
}

void ProjectActions::ClearSiteLists()
{
    p.siteLists->Clear();
}

TProjectFields ProjectActions::GatherFields() const
{
    const BuilderPage* b = p.builder;
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
    f.Apps = p.apps->chkProjectApps->Items();
    f.Primary = p.apps->lblPrimaryApp->text();
    f.FullVersion = c.state.PrimaryAppFile;
    f.PrimaryPath = c.state.PrimaryAppFolder;
    f.LocalRoot = p.selectFiles->lbeLocalRoot->text();
    f.LocalHome = p.selectFiles->lbeLocalHome->text();
    f.SoftWareDev = p.bar->chkSoftWare->isChecked();
    f.Sites = ListItems(p.selectAccounts->lbxUploadSites);
    return f;
}

void ProjectActions::SaveProject()
{
    if (!c.Store())
        return;
    TAppData& appData = *c.Store();
    const QString project = EditingProject();
    if (project.isEmpty())
        return;
    ::SaveProject(appData, project, GatherFields());
    if (window.saveFileSelection)
        window.saveFileSelection();
}

void ProjectActions::ShowFields(const TProjectFields& f)
{
    p.selectAccounts->lbxUploadSites->clear();
    p.selectAccounts->lbxUploadSites->addItems(f.Sites);
    BuilderPage* b = p.builder;
    b->lbePhpFile->setText(f.PhpFile);
    b->lbeHelpBuilderBatch->setText(f.HelpBatch);
    b->lbeInnoSetupFile->setText(f.InnoSetupFile);
    b->lbePHPVar->setText(f.PhpVar);
    b->lbeDownLoadLinkFile->setText(f.DownLoadLink);
    p.apps->lblPrimaryApp->setText(f.Primary);
    TCheckListBox* apps = p.apps->chkProjectApps;
    const QSignalBlocker quiet(apps); // filling is no check click
    apps->clear();
    for (const QString& app : f.Apps)
        apps->AddItem(app, false);
    b->lbeDownLoadLinkId->setText(f.DLinkId);
    b->lbeBaseFileName->setText(f.BaseFile);
    b->lbeDownLoadLinkText->setText(f.DLinkText);
    p.selectFiles->lbeLocalRoot->setText(f.LocalRoot);
    p.selectFiles->lbeLocalHome->setText(f.LocalHome);
    p.selectFiles->chkPageRelative->setChecked(f.PageRelative);
    b->lbePFX->setText(f.PFX);
    b->lbePFXPass->setText(f.PFXPass);
    b->lbePrebuild->setText(f.PreBuild);
    b->cbxtimeStamp->setChecked(f.TimeStamp);
    b->cbxAutoUpload->setChecked(f.AutoUpload);
    p.bar->chkSoftWare->setChecked(f.SoftWareDev);
}

void ProjectActions::LoadProject()
{
    if (!c.Store())
        return;
    TAppData& appData = *c.Store();
    const TProjectFields fields = ::LoadProject(appData, EditingProject());
    ShowFields(fields);
    if (window.projectChanged)
        window.projectChanged();
    SetPrimaryApplication(c.state, fields.FullVersion, fields.PrimaryPath);
    QLabel* version = p.apps->lblVersion;
    if (!c.state.PrimaryAppFile.isEmpty()) {
        version->setText(VersionCaption(c.state.PrimaryVersion));
        version->show();
        TCheckListBox* apps = p.apps->chkProjectApps;
        const QSignalBlocker quiet(apps);
        for (int row = 0; row < apps->count(); ++row)
            if (apps->item(row)->text() == c.state.PrimaryAppFile)
                apps->SetChecked(row, true);
    } else {
        // No primary: the previous project's version must not linger.
        version->clear();
        version->hide();
    }
    window.showSoftwareOptions(p.bar->chkSoftWare->isChecked());
    if (window.scanSite)
        window.scanSite();
}
