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
    : QObject(parent), c(context), lists(siteLists), p(pages), window(std::move(commands))
{
    connect(&lists, &TSiteLists::FilesChanged, this, Guarded(this, &SiteActions::ShowFiles));
    connect(&lists, &TSiteLists::FileCheckChanged, this, Guarded(this, &SiteActions::ShowCheck));
    connect(&lists, &TSiteLists::LocalFilesChanged, this,
            Guarded([this] { ShowItems(p.localFiles->lbxLocalFiles, lists.LocalFiles()); }));
    connect(&lists, &TSiteLists::LocalFoldersChanged, this,
            Guarded([this] { ShowItems(p.localFolders->lbxLocalFolders, lists.LocalFolders()); }));
    connect(&lists, &TSiteLists::BrokenLinksChanged, this,
            Guarded([this] { ShowItems(p.brokenLinks->lbxBrokenLinks, lists.BrokenLinks()); }));

    connect(p.selectFiles->bbtnUpdateFiles, &QPushButton::clicked, this,
            Guarded(this, &SiteActions::UpdateFilesAndFolders));
    connect(p.brokenLinks->btnReScan, &QPushButton::clicked, this, Guarded([this] { doReScan(); }));
    connect(p.brokenLinks->bbtnAgain, &QPushButton::clicked, this, Guarded([this] { doReScan(); }));
    connect(p.selectFiles->clbxFiles, &QListWidget::itemChanged, this,
            Guarded(this, &SiteActions::clbxFilesClickCheck));

    connect(p.localFiles->bbtnedit, &QPushButton::clicked, this,
            Guarded([this] { btnEditClick(EditSender::LocalFiles); }));
    connect(p.brokenLinks->bbtnEditBroken, &QPushButton::clicked, this,
            Guarded([this] { btnEditClick(EditSender::BrokenLinks); }));
    // A double-click on an item opens it; on an empty place it does nothing.
    connect(p.localFiles->lbxLocalFiles, &QListWidget::itemDoubleClicked, this,
            Guarded([this] { btnEditClick(EditSender::LocalFiles); }));
    connect(p.selectFiles->clbxFiles, &QListWidget::itemDoubleClicked, this,
            Guarded([this] { btnEditClick(EditSender::AllFiles); }));
    connect(p.brokenLinks->lbxBrokenLinks, &QListWidget::itemDoubleClicked, this,
            Guarded([this] { btnEditClick(EditSender::BrokenLinks); }));
}

TSiteScanContext SiteActions::Context(ScanWindow& scanWindow) const
{
    TSiteScanContext context{lists,
                             scanWindow,
                             c.UserPrompts(),
                             c.Store(),
                             p.editingProject->text(),
                             p.selectFiles->lbeLocalRoot->text(),
                             p.selectFiles->lbeLocalHome->text()};
    context.PageRelative = p.selectFiles->chkPageRelative->isChecked();
    return context;
}

void SiteActions::UpdateFilesAndFolders()
{
    bool& changed = c.state.SelectionChanged;
    Follow(Scan(
        [&changed](const TSiteScanContext& context) { return ::UpdateFilesAndFolders(context, changed); }));
}

void SiteActions::doReScan(bool afterImport)
{
    bool& changed = c.state.SelectionChanged;
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
    ScanWindow* scanWindow = window.scanWindow;
    return ScanOnWorker(Context(scanWindow ? *scanWindow : silent), scan);
}

void SiteActions::SaveFileSelection()
{
    ::SaveFileSelection(c.Store(), p.editingProject->text(), lists);
}

void SiteActions::Follow(const TScanOutcome& outcome)
{
    if (outcome.ShowBrokenLinkState)
        ShowBrokenLinkState(outcome.BrokenLinks);
}

void SiteActions::ShowBrokenLinkState(bool brokenLinks)
{
    p.brokenLinks->pnlBrokenFound->setVisible(brokenLinks);
    p.brokenLinks->pnlBrokenNotFound->setVisible(!brokenLinks);
    if (brokenLinks && window.showBrokenLinksPage)
        window.showBrokenLinksPage();
}

void SiteActions::clbxFilesClickCheck(QListWidgetItem* item)
{
    TCheckListBox* files = p.selectFiles->clbxFiles;
    const int row = files->row(item);
    if (row < 0)
        return;
    const bool controlDown = QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
    // The model answers with the check each row must show, the refused
    // click's old one included.
    ::clbxFilesClickCheck(lists, row, files->Checked(row), p.chkEnable->isChecked(), controlDown,
                          c.state.SelectionChanged);
}

void SiteActions::ShowFiles()
{
    TCheckListBox* files = p.selectFiles->clbxFiles;
    const QSignalBlocker quiet(files);
    files->clear();
    for (int row = 0; row < lists.FileCount(); ++row)
        files->AddItem(lists.File(row), lists.Checked(row));
}

void SiteActions::ShowCheck(int row, bool checked)
{
    TCheckListBox* files = p.selectFiles->clbxFiles;
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
        target = EditTargetFromFiles(lists.LocalFiles(), SelectedRow(p.localFiles->lbxLocalFiles));
        break;
    case EditSender::AllFiles:
        target = EditTargetFromFiles(lists.Files(), SelectedRow(p.selectFiles->clbxFiles));
        break;
    case EditSender::BrokenLinks:
        target = EditTargetFromBrokenLinks(lists.BrokenLinks(), SelectedRow(p.brokenLinks->lbxBrokenLinks));
        break;
    }
    ::btnEditClick(p.editor->text(), target, c.state.TextFileExtensions, c.UserPrompts());
}
