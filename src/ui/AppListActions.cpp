#include "ui/AppListActions.h"

#include "projects/AppList.h"
#include "projects/FilePicker.h"
#include "ui/AppsPanel.h"
#include "ui/Controls.h"
#include "ui/SlotGuard.h"
#include "util/ExtraCode.h"
#include "util/Prompts.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

AppListActions::AppListActions(const ActionContext& context, AppsPanel* apps, QObject* parent)
    : QObject(parent), context_(context), apps_(apps)
{
    AppsPanel* panel = apps_;
    connect(panel->bbtnAddApp, &QPushButton::clicked, this, Guarded(this, &AppListActions::AddAppClick));
    connect(panel->bbtnDeleteApp, &QPushButton::clicked, this,
            Guarded(this, &AppListActions::btnDeleteAppClick));
    connect(panel->chkProjectApps, &QListWidget::itemChanged, this,
            Guarded(this, &AppListActions::chkProjectAppsClickCheck));
}

void AppListActions::AddAppClick()
{
    const std::optional<QString> chosen =
        context_.services.files.PickFile(QStringLiteral("Find an application to digitally sign"),
                                         QStringLiteral("Application Files|*.exe;*.ocx;*.dll"));
    if (!chosen)
        return;
    TCheckListBox* apps = apps_->chkProjectApps;
    const QSignalBlocker quiet(apps);
    apps->AddItem(*chosen, false);
}

void AppListActions::btnDeleteAppClick()
{
    TCheckListBox* apps = apps_->chkProjectApps;
    const QListWidgetItem* item = apps->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString path = item->text();
    const QString primary = apps_->lblPrimaryApp->text();
    if (context_.UserPrompts().AskQuestion(ProductCaption, RemoveAppQuestion(path, primary), MB_YESNO) !=
        IDYES)
        return;
    {
        const QSignalBlocker quiet(apps);
        delete apps->takeItem(apps->row(item));
    }
    if (IsPrimaryEntry(path, primary))
        ClearPrimary();
}

void AppListActions::ClearPrimary()
{
    apps_->lblPrimaryApp->setText(NoPrimarySelected);
    apps_->lblVersion->clear();
    apps_->lblVersion->hide();
    SetPrimaryApplication(context_.state, {}, {});
}

void AppListActions::chkProjectAppsClickCheck(QListWidgetItem* item)
{
    TCheckListBox* apps = apps_->chkProjectApps;
    if (!item)
        return;
    const int clicked = apps->row(item);
    if (apps->Checked(clicked)) {
        const QString path = item->text();
        apps_->lblPrimaryApp->setText(AppDisplayName(path));
        SetPrimaryApplication(context_.state, path, AppFolder(path));
        apps_->lblVersion->setText(VersionCaption(context_.state.PrimaryVersion));
        apps_->lblVersion->show();
    } else {
        ClearPrimary();
    }
    // At most one entry is the primary.
    const QSignalBlocker quiet(apps);
    for (int row = 0; row < apps->count(); ++row)
        if (row != clicked)
            apps->SetChecked(row, false);
}
