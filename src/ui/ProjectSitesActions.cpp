#include "ui/ProjectSitesActions.h"

#include "projects/ProjectSites.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "ui/Controls.h"
#include "ui/SlotGuard.h"
#include "ui/pages/SelectAccountsPage.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

ProjectSitesActions::ProjectSitesActions(const ActionContext& context, const Pages& pages, QObject* parent)
    : QObject(parent), context_(context), pages_(pages)
{
    SelectAccountsPage* page = pages_.selectAccounts;
    connect(page->bbtnAddAccount, &QPushButton::clicked, this,
            Guarded(this, &ProjectSitesActions::btnAddSiteClick));
    connect(page->btnAddAll, &QPushButton::clicked, this,
            Guarded(this, &ProjectSitesActions::btnAddAllClick));
    connect(page->bbtnRemoveAccount, &QPushButton::clicked, this,
            Guarded(this, &ProjectSitesActions::btnDeleteSiteClick));
    page->installEventFilter(this);
}

bool ProjectSitesActions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pages_.selectAccounts && event->type() == QEvent::Show)
        RunGuarded([this] { TabInternetShow(); });
    return QObject::eventFilter(watched, event);
}

void ProjectSitesActions::TabInternetShow()
{
    FillAvailableAccounts();
}

void ProjectSitesActions::FillAvailableAccounts()
{
    ShowItems(pages_.selectAccounts->lbxAvailable, ListItems(pages_.accounts));
    pages_.selectAccounts->lblProjectName->setText(pages_.editingProject->text());
}

void ProjectSitesActions::btnAddSiteClick()
{
    if (!context_.Store())
        return;
    TAppData& appData = *context_.Store();
    SelectAccountsPage* page = pages_.selectAccounts;
    const QStringList sites =
        AddSelectedAccounts(ListItems(page->lbxUploadSites), ListItems(page->lbxAvailable, true));
    ShowItems(page->lbxUploadSites, sites);
    // With no project loaded there is nobody to store the list for.
    const QString project = pages_.editingProject->text();
    if (!project.isEmpty())
        appData.WriteList(Schema::SecSites, project, sites);
}

void ProjectSitesActions::btnAddAllClick()
{
    ShowItems(pages_.selectAccounts->lbxUploadSites, ListItems(pages_.selectAccounts->lbxAvailable));
}

void ProjectSitesActions::btnDeleteSiteClick()
{
    QListWidget* sites = pages_.selectAccounts->lbxUploadSites;
    for (int i = sites->count() - 1; i >= 0; --i)
        if (sites->item(i)->isSelected())
            delete sites->takeItem(i);
}
