#include "ui/SiteUploadActions.h"

#include "projects/OperationContext.h"
#include "publish/UploadPreview.h"
#include "ui/CancelFormU.h"
#include "ui/Controls.h"
#include "ui/OperationScope.h"
#include "ui/SlotGuard.h"
#include "ui/WidgetOperationHost.h"
#include "ui/WindowThreadPrompts.h"
#include "ui/WorkerRun.h"
#include "ui/pages/BrokenLinksPage.h"
#include "ui/pages/SelectAccountsPage.h"
#include "ui/pages/SelectFilesPage.h"
#include "ui/pages/SiteUploadPage.h"
#include "util/TarnwellError.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <optional>

SiteUploadActions::SiteUploadActions(const ActionContext& context, const TSiteLists& siteLists,
                                     const Pages& pages, WindowCommands commands, QObject* parent)
    : QObject(parent), c(context), lists(siteLists), p(pages), window(std::move(commands))
{
    SiteUploadPage* page = p.siteUpload;
    connect(page->bbtnUploadSite, &QPushButton::clicked, this,
            Guarded([this] { DoUpload(UploadMode::Changed); }));
    connect(page->bbtnUploadAll, &QPushButton::clicked, this,
            Guarded([this] { DoUpload(UploadMode::AllChecked); }));
    connect(page->bbtnEntire, &QPushButton::clicked, this,
            Guarded([this] { DoUpload(UploadMode::EntireSite); }));
    connect(page->actPreviewUpdated, &QAction::triggered, this,
            Guarded([this] { Preview(UploadMode::Changed); }));
    connect(page->actPreviewAll, &QAction::triggered, this,
            Guarded([this] { Preview(UploadMode::AllChecked); }));
    connect(page->actPreviewEntire, &QAction::triggered, this,
            Guarded([this] { Preview(UploadMode::EntireSite); }));
}

void SiteUploadActions::Preview(UploadMode mode)
{
    SiteUploadPage* page = p.siteUpload;
    TCancelForm* cancelForm = window.cancelForm;
    if (!c.Store())
        return;
    // The log holds a preview now, not a run's summary to save.
    page->bbtnSaveUploadLog->setEnabled(false);
    page->SiteUploadProgress->clear();
    WidgetOperationHost host(page->SiteUploadProgress, page->pBarSiteFile, page->pBarSiteFiles, *cancelForm);
    const UploadPreview preview =
        PreviewUpload(GatherInputs(mode), lists, *c.Store(), c.state, host, c.UserPrompts());
    if (preview.Stop == UploadStop::NoAccounts)
        window.showSubPage(PageOf(UploadPage::SelectAccounts));
}

SiteUploadInputs SiteUploadActions::GatherInputs(UploadMode mode) const
{
    return {mode, p.editingProject->text(), p.selectFiles->lbeLocalRoot->text(),
            p.selectFiles->lbeLocalHome->text(), ListItems(p.selectAccounts->lbxUploadSites)};
}

QWidget* SiteUploadActions::PageOf(UploadPage page) const
{
    switch (page) {
    case UploadPage::BrokenLinks:
        return p.brokenLinks;
    case UploadPage::SelectFiles:
        return p.selectFiles;
    case UploadPage::SelectAccounts:
        break;
    }
    return p.selectAccounts;
}

void SiteUploadActions::DoUpload(UploadMode mode)
{
    SiteUploadPage* page = p.siteUpload;
    if (WorkerRunning())
        return;
    page->bbtnSaveUploadLog->setEnabled(false);
    TCancelForm* cancelForm = window.cancelForm;
    if (!c.Store())
        return;

    // The window is disabled only once an account has files to send, so the
    // checks' boxes and an upload with nothing to send leave it alone.
    std::optional<OperationScope> scope;
    WidgetOperationHost host(page->SiteUploadProgress, page->pBarSiteFile, page->pBarSiteFiles, *cancelForm);
    // The run works on a worker thread; what it asks of the window is done
    // on the window thread while the run waits.
    SiteUploadWindow commands;
    commands.Rescan = OnWindowThreadLater(window.rescan);
    commands.ShowPage = [this](UploadPage shown) {
        OnWindowThread([&] { window.showSubPage(PageOf(shown)); });
    };
    commands.ClearLog = OnWindowThreadLater([page] { page->SiteUploadProgress->clear(); });
    commands.BeginOperation = OnWindowThreadLater(
        [&] { scope.emplace(*p.mainWindow, *cancelForm, QStringLiteral("Cancel Upload")); });
    commands.EndOperation = OnWindowThreadLater([&scope] { scope.reset(); });
    WindowThreadPrompts prompts(c.UserPrompts());
    AskingCertificateDecision certs(prompts, c.Store());
    const SiteUploadInputs inputs = GatherInputs(mode);
    SiteUploadOutcome outcome;
    const OperationContext context{c.Store(), c.state, host, prompts, &certs, &c.services.clock};
    RunOnWorker([&] { outcome = ::DoUpload(inputs, lists, context, commands); });
    page->bbtnSaveUploadLog->setEnabled(outcome.ReachedSummary());
}
