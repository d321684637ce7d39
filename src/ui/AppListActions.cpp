#include "ui/AppListActions.h"

#include "projects/AppList.h"
#include "projects/FilePicker.h"
#include "ui/AppsPanel.h"
#include "ui/Controls.h"
#include "ui/MainscreenU.h"
#include "ui/QtFilePicker.h"
#include "util/ExtraCode.h"
#include "util/Prompts.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

AppListActions::AppListActions(TMainScreen& window)
    : QObject(&window), w(window), dialogPicker(std::make_unique<QtFilePicker>()), picker(dialogPicker.get())
{
    AppsPanel* panel = w.pnlApps;
    connect(panel->bbtnAddApp, &QPushButton::clicked, this, &AppListActions::AddAppClick);
    connect(panel->bbtnDeleteApp, &QPushButton::clicked, this, &AppListActions::btnDeleteAppClick);
    connect(panel->chkProjectApps, &QListWidget::itemChanged, this,
            &AppListActions::chkProjectAppsClickCheck);
}

AppListActions::~AppListActions() = default;

void AppListActions::AddAppClick()
{
    const std::optional<QString> chosen =
        picker->PickFile(QStringLiteral("Find an application to digitally sign"),
                         QStringLiteral("Application Files|*.exe;*.ocx;*.dll"));
    if (!chosen)
        return;
    TCheckListBox* apps = w.pnlApps->chkProjectApps;
    const QSignalBlocker quiet(apps);
    apps->AddItem(*chosen, false);
}

void AppListActions::btnDeleteAppClick()
{
    TCheckListBox* apps = w.pnlApps->chkProjectApps;
    const QListWidgetItem* item = apps->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString path = item->text();
    const QString primary = w.pnlApps->lblPrimaryApp->text();
    if (w.UserPrompts().AskQuestion(ProductCaption, RemoveAppQuestion(path, primary), MB_YESNO) != IDYES)
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
    w.pnlApps->lblPrimaryApp->setText(NoPrimarySelected);
    w.pnlApps->lblVersion->clear();
    w.pnlApps->lblVersion->hide();
    w.State.PrimaryAppFile.clear();
    w.State.PrimaryAppFolder.clear();
    w.State.PrimaryVersion.clear();
}

void AppListActions::chkProjectAppsClickCheck(QListWidgetItem* item)
{
    TCheckListBox* apps = w.pnlApps->chkProjectApps;
    if (!item)
        return;
    const int clicked = apps->row(item);
    if (apps->Checked(clicked)) {
        const QString path = item->text();
        w.pnlApps->lblPrimaryApp->setText(AppDisplayName(path));
        w.State.PrimaryVersion = GetVersionString(path, VersionFormat);
        w.pnlApps->lblVersion->setText(VersionCaption(w.State.PrimaryVersion));
        w.pnlApps->lblVersion->show();
        w.State.PrimaryAppFile = path;
        w.State.PrimaryAppFolder = AppFolder(path);
    } else {
        ClearPrimary();
    }
    // At most one entry is the primary.
    const QSignalBlocker quiet(apps);
    for (int row = 0; row < apps->count(); ++row)
        if (row != clicked)
            apps->SetChecked(row, false);
}
