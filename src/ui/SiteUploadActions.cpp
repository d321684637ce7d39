#include "ui/SiteUploadActions.h"

#include "projects/OperationContext.h"
#include "publish/CertificateTrust.h"
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
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <optional>

SiteUploadActions::SiteUploadActions(const ActionContext& context, const TSiteLists& siteLists,
                                     const Pages& pages, WindowCommands commands, QObject* parent)
    : QObject(parent), context_(context), lists(siteLists), pages_(pages), commands_(std::move(commands))
{
    SiteUploadPage* page = pages_.siteUpload;
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

SiteUploadWindow SiteUploadActions::OperationSpan(std::optional<OperationScope>& scope) const
{
    SiteUploadWindow commands;
    commands.BeginOperation = OnWindowThreadLater([this, &scope] {
        scope.emplace(*pages_.mainWindow, *commands_.cancelForm, QStringLiteral("Cancel Upload"));
    });
    commands.EndOperation = OnWindowThreadLater([&scope] { scope.reset(); });
    return commands;
}

void SiteUploadActions::Preview(UploadMode mode)
{
    SiteUploadPage* page = pages_.siteUpload;
    if (WorkerRunning())
        return;
    TCancelForm* cancelForm = commands_.cancelForm;
    if (!context_.Store())
        return;
    // The log holds a preview now, not a run's summary to save.
    page->bbtnSaveUploadLog->setEnabled(false);
    page->SiteUploadProgress->clear();
    WidgetOperationHost host(page->SiteUploadProgress, page->pBarSiteFile, page->pBarSiteFiles, *cancelForm);
    // The servers are listed on the worker under the cancel window, as an upload runs.
    std::optional<OperationScope> scope;
    SiteUploadWindow commands = OperationSpan(scope);
    WindowThreadPrompts prompts(context_.UserPrompts());
    AskingCertificateDecision certs(prompts, context_.Store());
    const SiteUploadInputs inputs = GatherInputs(mode);
    UploadPreview preview;
    RunOnWorker([&] {
        preview =
            PreviewUpload(inputs, lists, *context_.Store(), context_.state, host, prompts, commands, &certs);
    });
    if (preview.Stop == UploadStop::NoAccounts)
        commands_.showSubPage(PageOf(UploadPage::SelectAccounts));
}

SiteUploadInputs SiteUploadActions::GatherInputs(UploadMode mode) const
{
    SiteUploadInputs inputs{mode, pages_.editingProject->text(), pages_.selectFiles->lbeLocalRoot->text(),
                            pages_.selectFiles->lbeLocalHome->text(),
                            ListItems(pages_.selectAccounts->lbxUploadSites)};
    inputs.DeleteOrphans = mode == UploadMode::EntireSite && pages_.siteUpload->chkDeleteOrphans->isChecked();
    inputs.AccountsAtOnce = DefaultAccountsAtOnce;
    return inputs;
}

QWidget* SiteUploadActions::PageOf(UploadPage page) const
{
    switch (page) {
    case UploadPage::BrokenLinks:
        return pages_.brokenLinks;
    case UploadPage::SelectFiles:
        return pages_.selectFiles;
    case UploadPage::SelectAccounts:
        break;
    }
    return pages_.selectAccounts;
}

void SiteUploadActions::DoUpload(UploadMode mode)
{
    SiteUploadPage* page = pages_.siteUpload;
    if (WorkerRunning())
        return;
    page->bbtnSaveUploadLog->setEnabled(false);
    TCancelForm* cancelForm = commands_.cancelForm;
    if (!context_.Store())
        return;

    // The window is disabled only once an account has files to send, so the
    // checks' boxes and an upload with nothing to send leave it alone.
    std::optional<OperationScope> scope;
    WidgetOperationHost host(page->SiteUploadProgress, page->pBarSiteFile, page->pBarSiteFiles, *cancelForm);
    // The run works on a worker thread; what it asks of the window is done
    // on the window thread while the run waits.
    SiteUploadWindow commands = OperationSpan(scope);
    commands.Rescan = OnWindowThreadLater(commands_.rescan);
    commands.ShowPage = [this](UploadPage shown) {
        OnWindowThread([&] { commands_.showSubPage(PageOf(shown)); });
    };
    commands.ClearLog = OnWindowThreadLater([page] { page->SiteUploadProgress->clear(); });
    WindowThreadPrompts prompts(context_.UserPrompts());
    AskingCertificateDecision certs(prompts, context_.Store());
    const SiteUploadInputs inputs = GatherInputs(mode);
    SiteUploadOutcome outcome;
    const OperationContext context{context_.Store(), context_.state, host,
                                   prompts,          &certs,         &context_.services.clock};
    RunOnWorker([&] { outcome = ::DoUpload(inputs, lists, context, commands); });
    page->bbtnSaveUploadLog->setEnabled(outcome.ReachedSummary());
}
