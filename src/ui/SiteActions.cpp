#include "ui/SiteActions.h"

#include "site/EditorLaunch.h"
#include "site/FileSelection.h"
#include "site/ScanWindow.h"
#include "site/SiteLists.h"
#include "site/SiteScan.h"
#include "ui/Controls.h"
#include "ui/SlotGuard.h"
#include "ui/WorkerScan.h"
#include "ui/pages/BrokenLinksPage.h"
#include "ui/pages/LocalFilesPage.h"
#include "ui/pages/LocalFoldersPage.h"
#include "ui/pages/SelectFilesPage.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

SiteActions::SiteActions(const ActionContext& context, TSiteLists& siteLists, const Pages& pages,
                         WindowCommands commands, QObject* parent)
    : QObject(parent), context_(context), lists(siteLists), pages_(pages), commands_(std::move(commands))
{
    connect(&lists, &TSiteLists::FilesChanged, this, Guarded(this, &SiteActions::ShowFiles));
    connect(&lists, &TSiteLists::FileCheckChanged, this, Guarded(this, &SiteActions::ShowCheck));
    connect(&lists, &TSiteLists::LocalFilesChanged, this,
            Guarded([this] { ShowItems(pages_.localFiles->lbxLocalFiles, lists.LocalFiles()); }));
    connect(&lists, &TSiteLists::LocalFoldersChanged, this,
            Guarded([this] { ShowItems(pages_.localFolders->lbxLocalFolders, lists.LocalFolders()); }));
    connect(&lists, &TSiteLists::BrokenLinksChanged, this,
            Guarded([this] { ShowItems(pages_.brokenLinks->lbxBrokenLinks, lists.BrokenLinks()); }));

    connect(pages_.selectFiles->bbtnUpdateFiles, &QPushButton::clicked, this,
            Guarded(this, &SiteActions::UpdateFilesAndFolders));
    connect(pages_.brokenLinks->btnReScan, &QPushButton::clicked, this, Guarded([this] { doReScan(); }));
    connect(pages_.brokenLinks->bbtnAgain, &QPushButton::clicked, this, Guarded([this] { doReScan(); }));
    connect(pages_.selectFiles->clbxFiles, &QListWidget::itemChanged, this,
            Guarded(this, &SiteActions::clbxFilesClickCheck));

    connect(pages_.localFiles->bbtnedit, &QPushButton::clicked, this,
            Guarded([this] { btnEditClick(EditSender::LocalFiles); }));
    connect(pages_.brokenLinks->bbtnEditBroken, &QPushButton::clicked, this,
            Guarded([this] { btnEditClick(EditSender::BrokenLinks); }));
    // A double-click on an item opens it; on an empty place it does nothing.
    connect(pages_.localFiles->lbxLocalFiles, &QListWidget::itemDoubleClicked, this,
            Guarded([this] { btnEditClick(EditSender::LocalFiles); }));
    connect(pages_.selectFiles->clbxFiles, &QListWidget::itemDoubleClicked, this,
            Guarded([this] { btnEditClick(EditSender::AllFiles); }));
    connect(pages_.brokenLinks->lbxBrokenLinks, &QListWidget::itemDoubleClicked, this,
            Guarded([this] { btnEditClick(EditSender::BrokenLinks); }));
}

TSiteScanContext SiteActions::Context(ScanWindow& scanWindow) const
{
    TSiteScanContext context{lists,
                             scanWindow,
                             context_.UserPrompts(),
                             context_.Store(),
                             pages_.editingProject->text(),
                             pages_.selectFiles->lbeLocalRoot->text(),
                             pages_.selectFiles->lbeLocalHome->text()};
    context.PageRelative = pages_.selectFiles->chkPageRelative->isChecked();
    return context;
}

void SiteActions::UpdateFilesAndFolders()
{
    bool& changed = context_.state.SelectionChanged;
    Follow(Scan(
        [&changed](const TSiteScanContext& context) { return ::UpdateFilesAndFolders(context, changed); }));
}

void SiteActions::doReScan(bool afterImport)
{
    bool& changed = context_.state.SelectionChanged;
    Follow(Scan([afterImport, &changed](const TSiteScanContext& context) {
        return ::doReScan(context, afterImport, changed);
    }));
}

void SiteActions::ScanSite()
{
    Follow(Scan([](const TSiteScanContext& context) { return ::ScanSite(context); }));
}

TScanOutcome SiteActions::Scan(const std::function<TScanOutcome(const TSiteScanContext&)>& scan)
{
    SilentScanWindow silent;
    ScanWindow* scanWindow = commands_.scanWindow;
    return ScanOnWorker(Context(scanWindow ? *scanWindow : silent), scan);
}

void SiteActions::SaveFileSelection()
{
    ::SaveFileSelection(context_.Store(), pages_.editingProject->text(), lists);
}

void SiteActions::Follow(const TScanOutcome& outcome)
{
    if (outcome.ShowBrokenLinkState)
        ShowBrokenLinkState(outcome.BrokenLinks);
}

void SiteActions::ShowBrokenLinkState(bool brokenLinks)
{
    pages_.brokenLinks->pnlBrokenFound->setVisible(brokenLinks);
    pages_.brokenLinks->pnlBrokenNotFound->setVisible(!brokenLinks);
    if (brokenLinks && commands_.showBrokenLinksPage)
        commands_.showBrokenLinksPage();
}

void SiteActions::clbxFilesClickCheck(QListWidgetItem* item)
{
    TCheckListBox* files = pages_.selectFiles->clbxFiles;
    const int row = files->row(item);
    if (row < 0)
        return;
    const bool controlDown = QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
    // The model answers with the check each row must show, the refused
    // click's old one included.
    ::clbxFilesClickCheck(lists, row, files->Checked(row), pages_.chkEnable->isChecked(), controlDown,
                          context_.state.SelectionChanged);
}

void SiteActions::ShowFiles()
{
    TCheckListBox* files = pages_.selectFiles->clbxFiles;
    const QSignalBlocker quiet(files);
    files->clear();
    for (int row = 0; row < lists.FileCount(); ++row)
        files->AddItem(lists.File(row), lists.Checked(row));
}

void SiteActions::ShowCheck(int row, bool checked)
{
    TCheckListBox* files = pages_.selectFiles->clbxFiles;
    const QSignalBlocker quiet(files);
    if (row >= 0 && row < files->count())
        files->SetChecked(row, checked);
}

int SiteActions::SelectedRow(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->row(item) : -1;
}

void SiteActions::btnEditClick(EditSender sender)
{
    TEditTarget target;
    switch (sender) {
    case EditSender::LocalFiles:
        target = EditTargetFromFiles(lists.LocalFiles(), SelectedRow(pages_.localFiles->lbxLocalFiles));
        break;
    case EditSender::AllFiles:
        target = EditTargetFromFiles(lists.Files(), SelectedRow(pages_.selectFiles->clbxFiles));
        break;
    case EditSender::BrokenLinks:
        target =
            EditTargetFromBrokenLinks(lists.BrokenLinks(), SelectedRow(pages_.brokenLinks->lbxBrokenLinks));
        break;
    }
    ::btnEditClick(pages_.editor->text(), target, context_.state.TextFileExtensions, context_.UserPrompts());
}
