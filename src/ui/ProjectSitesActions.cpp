#include "ui/ProjectSitesActions.h"

#include "projects/ProjectSites.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "ui/Controls.h"
#include "ui/MainscreenU.h"
#include "ui/ProjectBar.h"
#include "ui/pages/AccountsPage.h"
#include "ui/pages/SelectAccountsPage.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

ProjectSitesActions::ProjectSitesActions(TMainScreen& window) : QObject(&window), w(window)
{
    SelectAccountsPage* page = w.TabInternet;
    connect(page->bbtnAddAccount, &QPushButton::clicked, this, &ProjectSitesActions::btnAddSiteClick);
    connect(page->btnAddAll, &QPushButton::clicked, this, &ProjectSitesActions::btnAddAllClick);
    connect(page->bbtnRemoveAccount, &QPushButton::clicked, this, &ProjectSitesActions::btnDeleteSiteClick);
    page->installEventFilter(this);
}

bool ProjectSitesActions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == w.TabInternet && event->type() == QEvent::Show)
        TabInternetShow();
    return QObject::eventFilter(watched, event);
}

void ProjectSitesActions::TabInternetShow()
{
    FillAvailableAccounts();
}

void ProjectSitesActions::FillAvailableAccounts()
{
    ShowItems(w.TabInternet->lbxAvailable, ListItems(w.TabAccounts->lbxAccount));
    w.TabInternet->lblProjectName->setText(w.pnlTop->lblEditingProject->text());
}

void ProjectSitesActions::btnAddSiteClick()
{
    if (!w.AppData)
        return;
    TAppData& appData = *w.AppData;
    SelectAccountsPage* page = w.TabInternet;
    const QStringList sites =
        AddSelectedAccounts(ListItems(page->lbxUploadSites), ListItems(page->lbxAvailable, true));
    ShowItems(page->lbxUploadSites, sites);
    // With no project loaded there is nobody to store the list for.
    const QString project = w.pnlTop->lblEditingProject->text();
    if (!project.isEmpty())
        appData.WriteList(Schema::SecSites, project, sites);
}

void ProjectSitesActions::btnAddAllClick()
{
    ShowItems(w.TabInternet->lbxUploadSites, ListItems(w.TabInternet->lbxAvailable));
}

void ProjectSitesActions::btnDeleteSiteClick()
{
    QListWidget* sites = w.TabInternet->lbxUploadSites;
    for (int i = sites->count() - 1; i >= 0; --i)
        if (sites->item(i)->isSelected())
            delete sites->takeItem(i);
}
