#include "ui/BuildActions.h"

#include "build/SignToolDiscovery.h"
#include "projects/OperationContext.h"
#include "publish/CertificateTrust.h"
#include "publish/InstallerUpload.h"
#include "settings/ApplicationDataAPI.h"
#include "settings/SettingsSchema.h"
#include "ui/AppsPanel.h"
#include "ui/CancelFormU.h"
#include "ui/Controls.h"
#include "ui/OperationScope.h"
#include "ui/SlotGuard.h"
#include "ui/WidgetOperationHost.h"
#include "ui/WindowThreadPrompts.h"
#include "ui/WorkerRun.h"
#include "ui/pages/BuilderPage.h"
#include "ui/pages/SelectAccountsPage.h"
#include "ui/pages/SelectFilesPage.h"
#include "ui/pages/SiteUploadPage.h"
#include "ui/pages/TimeServersPage.h"
#include "ui/pages/UploadInstallerPage.h"
#include "ui/pages/UtilitiesPage.h"
#include "util/TarnwellError.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <optional>

namespace {

// Inverts the box and lets its click handler store the new state.
void Invert(QCheckBox* box)
{
    box->setChecked(!box->isChecked());
    emit box->clicked(box->isChecked());
}

} // namespace

BuildActions::BuildActions(const ActionContext& context, const Pages& pages, WindowCommands commands,
                           QObject* parent)
    : QObject(parent), context_(context), pages_(pages), commands_(std::move(commands))
{
    BuilderPage* b = pages_.builder;
    connect(b->bbtnGetItDone, &QPushButton::clicked, this, Guarded(this, &BuildActions::btnGetItDoneClick));
    connect(b->bbtnTimeStamp, &QPushButton::clicked, this, Guarded(this, &BuildActions::bbtnTimeStampClick));
    connect(b->bbtnAutoUpload, &QPushButton::clicked, this,
            Guarded(this, &BuildActions::bbtnAutoUploadClick));
    connect(b->btnNoSignTool, &QPushButton::clicked, this, Guarded(this, &BuildActions::btnNoSignToolClick));
    connect(pages_.upload->bbtnUpload, &QPushButton::clicked, this,
            Guarded(this, &BuildActions::bbtnUploadClick));
    // Escape presses the Time Stamp button while the Builder page is in
    // front: a shortcut is live only while its page is shown and enabled.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), b);
    escape->setObjectName(QStringLiteral("EscapeTimeStamp"));
    connect(escape, &QShortcut::activated, b->bbtnTimeStamp, &QPushButton::click);
}

BuildInputs BuildActions::GatherInputs() const
{
    const BuilderPage* b = pages_.builder;
    BuildInputs in;
    in.Stamp = {b->lbePhpFile->text(),        b->lbePHPVar->text(),           b->lbeDownLoadLinkFile->text(),
                b->lbeDownLoadLinkId->text(), b->lbeDownLoadLinkText->text(), b->lbeBaseFileName->text(),
                b->lbeInnoSetupFile->text(),  context_.state.PrimaryVersion};
    in.PreBuild = b->lbePrebuild->text();
    in.HelpProject = b->lbeHelpBuilderBatch->text();
    in.PfxFile = b->lbePFX->text();
    in.PfxPassword = b->lbePFXPass->text();
    in.Apps = pages_.apps->chkProjectApps->Items();
    in.PrimaryCaption = pages_.apps->lblPrimaryApp->text();
    in.TimeStamp = b->cbxtimeStamp->isChecked();
    in.AutoUpload = b->cbxAutoUpload->isChecked();
    in.InnoCompiler = pages_.utilities->lbeInnoCompiler->text();
    in.HelpMaker = pages_.utilities->lbeHelpMaker->text();
    if (context_.Store())
        in.SignTool = context_.Store()->ReadString(Schema::SecSignTool, Schema::KeyCommand, QString());
    in.SigningAvailable = b->btnNoSignTool->isHidden();
    in.TimeServers = ListItems(pages_.timeServers->lbxTimeServers);
    in.Attempts = pages_.timeServers->speAttempts->value();
    return in;
}

void BuildActions::btnGetItDoneClick()
{
    TCancelForm* cancelForm = commands_.cancelForm;
    if (WorkerRunning())
        return;
    const BuildInputs inputs = GatherInputs();
    UploadInstallerPage* upload = pages_.upload;
    BuildOutcome outcome;
    {
        const OperationScope scope(*pages_.mainWindow, *cancelForm, QStringLiteral("Cancel Build"));
        upload->bbtnUpload->setEnabled(false);
        upload->ProgressPane->clear();
        WidgetOperationHost host(upload->ProgressPane, upload->pBarInstallerFile, upload->pBarInstallerFiles,
                                 *cancelForm);
        WindowThreadPrompts prompts(context_.UserPrompts());
        const std::function<void()> bringLogForward =
            OnWindowThreadLater([this] { commands_.showPage(pages_.upload); });
        const OperationContext context{context_.Store(), context_.state, host,
                                       prompts,          nullptr,        &context_.services.clock};
        RunOnWorker([&] { outcome = RunBuild(inputs, context, bringLogForward); });
        pages_.mainWindow->raise();
        pages_.mainWindow->activateWindow();
        upload->bbtnSaveSoftUploadLog->setEnabled(true);
        upload->bbtnUpload->setEnabled(outcome.BuildOk);
    }
    if (outcome.StartUpload)
        upload->bbtnUpload->click();
}

void BuildActions::bbtnTimeStampClick()
{
    Invert(pages_.builder->cbxtimeStamp);
}

void BuildActions::bbtnAutoUploadClick()
{
    Invert(pages_.builder->cbxAutoUpload);
}

void BuildActions::btnNoSignToolClick()
{
    QPushButton* button = pages_.builder->btnNoSignTool;
    const QString caption = button->text();
    button->setText(QStringLiteral("Searching for signtool - takes a while..."));
    button->setEnabled(false);
    // The caption comes back however the search ends.
    struct Restore {
        QPushButton* button;
        QString caption;
        ~Restore()
        {
            button->setText(caption);
            button->setEnabled(true);
        }
    } restore{button, caption};
    LocateSignTool(true);
}

void BuildActions::bbtnUploadClick()
{
    TCancelForm* cancelForm = commands_.cancelForm;
    if (!context_.Store() || WorkerRunning())
        return;
    InstallerUploadRequest request;
    request.Project = pages_.editingProject->text();
    request.LinkPageFile = pages_.builder->lbeDownLoadLinkFile->text();
    request.PhpFile = pages_.builder->lbePhpFile->text();
    request.LocalHome = pages_.selectFiles->lbeLocalHome->text();
    request.LocalRoot = pages_.selectFiles->lbeLocalRoot->text();
    request.Accounts = ListItems(pages_.selectAccounts->lbxUploadSites);
    request.AccountsAtOnce = DefaultAccountsAtOnce;

    UploadInstallerPage* upload = pages_.upload;
    QPushButton* saveSiteLog = pages_.siteUpload->bbtnSaveUploadLog;
    InstallerUploadOutcome outcome;
    {
        // The build's log goes on: it is not cleared.
        WidgetOperationHost host(upload->ProgressPane, upload->pBarInstallerFile, upload->pBarInstallerFiles,
                                 *cancelForm);
        std::optional<OperationScope> scope;
        WindowThreadPrompts prompts(context_.UserPrompts());
        AskingCertificateDecision certs(prompts, context_.Store());
        const std::function<void()> begin = OnWindowThreadLater([&] {
            saveSiteLog->setEnabled(false);
            scope.emplace(*pages_.mainWindow, *cancelForm, QStringLiteral("Cancel Upload"));
        });
        const OperationContext context{context_.Store(), context_.state, host,
                                       prompts,          &certs,         &context_.services.clock};
        RunOnWorker([&] { outcome = UploadInstaller(request, context, begin); });
    }
    if (outcome.Started == InstallerUploadOutcome::Start::NoProject)
        saveSiteLog->setEnabled(false);
    else if (outcome.Started == InstallerUploadOutcome::Start::Ran)
        saveSiteLog->setEnabled(true);
}

void BuildActions::LocateSignTool(bool force)
{
    if (!context_.Store())
        return;
    const bool available = ::LocateSignTool(*context_.Store(), force, context_.UserPrompts());
    pages_.builder->SetSigningAvailable(available);
    pages_.utilities->lbeSignTool->setText(
        StoredSignToolPath(context_.Store()->ReadString(Schema::SecSignTool, Schema::KeyCommand, QString())));
}
