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
    : QObject(parent), context_(context), pages_(pages), commands_(std::move(commands))
{
    ProjectBar* bar = pages_.bar;
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
    connect(pages_.builder->cbxtimeStamp, &QCheckBox::clicked, this,
            Guarded(this, &ProjectActions::cbxtimeStampClick));
    connect(pages_.builder->cbxAutoUpload, &QCheckBox::clicked, this,
            Guarded(this, &ProjectActions::cbxAutoUploadClick));
    connect(pages_.selectFiles->chkPageRelative, &QCheckBox::clicked, this,
            Guarded(this, &ProjectActions::chkPageRelativeClick));
}

QString ProjectActions::EditingProject() const
{
    return pages_.bar->lblEditingProject->text();
}

QString ProjectActions::SelectedProject() const
{
    const QListWidgetItem* item = pages_.bar->Projects->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void ProjectActions::btnNewClick()
{
    ProjectBar* bar = pages_.bar;
    const QString name = bar->edtNewProject->text();
    const QString refusal = NewProjectNameRefusal(name, ListItems(bar->Projects));
    if (!refusal.isEmpty()) {
        context_.UserPrompts().ShowInfo(ProductCaption, refusal);
        return;
    }
    SaveProject();
    bar->Projects->addItem(name);
    // A new project starts unlocked.
    bar->chkEnable->setChecked(true);
    commands_.setEditingEnabled(true);
    bar->Projects->setCurrentRow(bar->Projects->count() - 1);
    btnSelectProjectClick();
}

void ProjectActions::btnSelectProjectClick()
{
    const QString name = SelectedProject();
    if (name.isEmpty())
        return;
    SaveProject();
    pages_.bar->lblEditingProject->setText(name);
    ClearSiteLists();
    LoadProject();
    pages_.selectAccounts->lblProjectName->setText(name);
    // An installer built for the previous project is not offered for upload.
    context_.state.SetupExeName.clear();
    context_.state.SetupExePath.clear();
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
    if (!context_.Store())
        return;
    TAppData& appData = *context_.Store();
    QListWidget* projects = pages_.bar->Projects;
    const QString name = SelectedProject();
    if (name.isEmpty())
        return;
    const int row = projects->currentRow();
    if (context_.UserPrompts().AskQuestion(ProductCaption, QStringLiteral("Delete Project\r") + name,
                                           MB_YESNO) != IDYES)
        return;
    if (name == EditingProject()) {
        pages_.bar->lblEditingProject->clear();
        ClearSiteLists();
        if (commands_.projectChanged)
            commands_.projectChanged();
    }
    QStringList others = ListItems(projects);
    others.removeAt(row);
    DeleteProjectData(appData, name, ListItems(pages_.accounts), others);
    delete projects->takeItem(row);
}

void ProjectActions::chkSoftWareClick()
{
    commands_.showSoftwareOptions(pages_.bar->chkSoftWare->isChecked());
}

void ProjectActions::cbxtimeStampClick()
{
    const QString project = EditingProject();
    if (context_.Store() && !project.isEmpty())
        context_.Store()->WriteBool(project, Schema::KeyTimeStamp, pages_.builder->cbxtimeStamp->isChecked());
}

void ProjectActions::cbxAutoUploadClick()
{
    const QString project = EditingProject();
    if (context_.Store() && !project.isEmpty())
        context_.Store()->WriteBool(project, Schema::KeyAutoUpload,
                                    pages_.builder->cbxAutoUpload->isChecked());
}

void ProjectActions::chkPageRelativeClick()
{
    const QString project = EditingProject();
    if (context_.Store() && !project.isEmpty())
        context_.Store()->WriteBool(project, Schema::KeyPageRelative,
                                    pages_.selectFiles->chkPageRelative->isChecked());
}

void ProjectActions::ClearSiteLists()
{
    pages_.siteLists->Clear();
}

TProjectFields ProjectActions::GatherFields() const
{
    const BuilderPage* b = pages_.builder;
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
    f.Apps = pages_.apps->chkProjectApps->Items();
    f.Primary = pages_.apps->lblPrimaryApp->text();
    f.FullVersion = context_.state.PrimaryAppFile;
    f.PrimaryPath = context_.state.PrimaryAppFolder;
    f.LocalRoot = pages_.selectFiles->lbeLocalRoot->text();
    f.LocalHome = pages_.selectFiles->lbeLocalHome->text();
    f.SoftWareDev = pages_.bar->chkSoftWare->isChecked();
    f.Sites = ListItems(pages_.selectAccounts->lbxUploadSites);
    return f;
}

void ProjectActions::SaveProject()
{
    if (!context_.Store())
        return;
    TAppData& appData = *context_.Store();
    const QString project = EditingProject();
    if (project.isEmpty())
        return;
    ::SaveProject(appData, project, GatherFields());
    if (commands_.saveFileSelection)
        commands_.saveFileSelection();
}

void ProjectActions::ShowFields(const TProjectFields& f)
{
    pages_.selectAccounts->lbxUploadSites->clear();
    pages_.selectAccounts->lbxUploadSites->addItems(f.Sites);
    BuilderPage* b = pages_.builder;
    b->lbePhpFile->setText(f.PhpFile);
    b->lbeHelpBuilderBatch->setText(f.HelpBatch);
    b->lbeInnoSetupFile->setText(f.InnoSetupFile);
    b->lbePHPVar->setText(f.PhpVar);
    b->lbeDownLoadLinkFile->setText(f.DownLoadLink);
    pages_.apps->lblPrimaryApp->setText(f.Primary);
    TCheckListBox* apps = pages_.apps->chkProjectApps;
    const QSignalBlocker quiet(apps); // filling is no check click
    apps->clear();
    for (const QString& app : f.Apps)
        apps->AddItem(app, false);
    b->lbeDownLoadLinkId->setText(f.DLinkId);
    b->lbeBaseFileName->setText(f.BaseFile);
    b->lbeDownLoadLinkText->setText(f.DLinkText);
    pages_.selectFiles->lbeLocalRoot->setText(f.LocalRoot);
    pages_.selectFiles->lbeLocalHome->setText(f.LocalHome);
    pages_.selectFiles->chkPageRelative->setChecked(f.PageRelative);
    b->lbePFX->setText(f.PFX);
    b->lbePFXPass->setText(f.PFXPass);
    b->lbePrebuild->setText(f.PreBuild);
    b->cbxtimeStamp->setChecked(f.TimeStamp);
    b->cbxAutoUpload->setChecked(f.AutoUpload);
    pages_.bar->chkSoftWare->setChecked(f.SoftWareDev);
}

void ProjectActions::LoadProject()
{
    if (!context_.Store())
        return;
    TAppData& appData = *context_.Store();
    const TProjectFields fields = ::LoadProject(appData, EditingProject());
    ShowFields(fields);
    if (commands_.projectChanged)
        commands_.projectChanged();
    SetPrimaryApplication(context_.state, fields.FullVersion, fields.PrimaryPath);
    QLabel* version = pages_.apps->lblVersion;
    if (!context_.state.PrimaryAppFile.isEmpty()) {
        version->setText(VersionCaption(context_.state.PrimaryVersion));
        version->show();
        TCheckListBox* apps = pages_.apps->chkProjectApps;
        const QSignalBlocker quiet(apps);
        for (int row = 0; row < apps->count(); ++row)
            if (apps->item(row)->text() == context_.state.PrimaryAppFile)
                apps->SetChecked(row, true);
    } else {
        // No primary: the previous project's version must not linger.
        version->clear();
        version->hide();
    }
    commands_.showSoftwareOptions(pages_.bar->chkSoftWare->isChecked());
    if (commands_.scanSite)
        commands_.scanSite();
}
