#include "ui/ProjectWiring.h"

#include "ui/AccountActions.h"
#include "ui/AppListActions.h"
#include "ui/MainscreenU.h"
#include "ui/ProjectActions.h"
#include "ui/ProjectSitesActions.h"

void WireProjectHandlers(TMainScreen& window)
{
    new ProjectActions(window);
    new AccountActions(window);
    new ProjectSitesActions(window);
    new AppListActions(window);
}

void SaveLoadedProject(TMainScreen& window)
{
    if (auto* actions = window.findChild<ProjectActions*>(QString(), Qt::FindDirectChildrenOnly))
        actions->SaveProject();
}

void SaveShownAccount(TMainScreen& window)
{
    if (auto* actions = window.findChild<AccountActions*>(QString(), Qt::FindDirectChildrenOnly))
        actions->SaveAccount();
}

void FillAvailableAccounts(TMainScreen& window)
{
    if (auto* actions = window.findChild<ProjectSitesActions*>(QString(), Qt::FindDirectChildrenOnly))
        actions->FillAvailableAccounts();
}

void SetAppFilePicker(TMainScreen& window, FilePicker& picker)
{
    if (auto* actions = window.findChild<AppListActions*>(QString(), Qt::FindDirectChildrenOnly))
        actions->SetFilePicker(picker);
}
