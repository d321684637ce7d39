#include "ui/ImportActions.h"

#include "projects/OperationContext.h"
#include "publish/CertificateTrust.h"
#include "publish/SiteImport.h"
#include "ui/CancelFormU.h"
#include "ui/Controls.h"
#include "ui/OperationScope.h"
#include "ui/SlotGuard.h"
#include "ui/WidgetOperationHost.h"
#include "ui/WindowThreadPrompts.h"
#include "ui/WorkerRun.h"
#include "ui/pages/ImportPage.h"
#include "ui/pages/SelectFilesPage.h"
#include "util/PathStyle.h"
#include "util/TarnwellError.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <optional>

namespace {

// A field set to the text it holds raises no change.
void SetText(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

ImportActions::ImportActions(const ActionContext& context, TSiteLists& siteLists, const Pages& pages,
                             WindowCommands commands, QObject* parent)
    : QObject(parent), context_(context), lists(siteLists), pages_(pages), commands_(std::move(commands))
{
    ImportPage* page = pages_.import;
    connect(page->lbeImportLocalHome, &QLineEdit::textChanged, this,
            Guarded(this, &ImportActions::lbeImportLocalHomeChange));
    connect(page->lbeImportLocalRoot, &QLineEdit::textChanged, this,
            Guarded(this, &ImportActions::lbeImportLocalRootChange));
    connect(page->btnImportSite, &QPushButton::clicked, this,
            Guarded(this, &ImportActions::btnImportSiteClick));
}

void ImportActions::TabImportShow()
{
    FillFields();
}

void ImportActions::FillFields()
{
    ImportPage* page = pages_.import;
    const QStringList accounts = ListItems(pages_.accounts);
    if (!accounts.isEmpty()) {
        page->comboSite->clear();
        page->comboSite->addItems(accounts);
    }
    // Copied from the project's folders without the ties: merely showing
    // the page must not move the project's Local Root to the parent of its
    // Local Home.
    const QSignalBlocker quietHome(page->lbeImportLocalHome);
    const QSignalBlocker quietRoot(page->lbeImportLocalRoot);
    SetText(page->lbeImportLocalRoot, pages_.selectFiles->lbeLocalRoot->text());
    SetText(page->lbeImportLocalHome, pages_.selectFiles->lbeLocalHome->text());
}

void ImportActions::lbeImportLocalHomeChange(const QString& text)
{
    const qsizetype separator = text.lastIndexOf(PathStyle::Native().Separator());
    SetText(pages_.import->lbeImportLocalRoot, separator >= 0 ? text.left(separator) : text.left(200));
    SetText(pages_.selectFiles->lbeLocalHome, text);
}

void ImportActions::lbeImportLocalRootChange(const QString& text)
{
    SetText(pages_.selectFiles->lbeLocalRoot, text);
}

void ImportActions::btnImportSiteClick()
{
    ImportPage* page = pages_.import;
    if (WorkerRunning())
        return;
    page->memImportProgress->clear();
    TCancelForm* cancelForm = commands_.cancelForm;
    if (!context_.Store())
        return;
    SiteImportRequest request;
    request.Project = pages_.editingProject->text();
    request.Account = page->comboSite->currentText();
    request.LocalHome = page->lbeImportLocalHome->text();
    request.LocalRoot = page->lbeImportLocalRoot->text();

    SiteImportOutcome outcome;
    {
        WidgetOperationHost host(page->memImportProgress, page->pbFile, page->pbFiles, *cancelForm);
        std::optional<OperationScope> scope;
        WindowThreadPrompts prompts(context_.UserPrompts());
        AskingCertificateDecision certs(prompts, context_.Store());
        const std::function<void()> begin = OnWindowThreadLater(
            [&] { scope.emplace(*pages_.mainWindow, *cancelForm, QStringLiteral("Cancel Import")); });
        const OperationContext context{context_.Store(), context_.state, host,
                                       prompts,          &certs,         &context_.services.clock};
        RunOnWorker([&] { outcome = ImportSite(request, lists, context, begin); });
    }
    if (outcome.ReScan() && commands_.reScanAfterImport)
        commands_.reScanAfterImport();
}
