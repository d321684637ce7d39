#include "ui/BuildActions.h"

#include "build/SignToolDiscovery.h"
#include "projects/OperationContext.h"
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
    : QObject(parent), c(context), p(pages), window(std::move(commands))
{
    BuilderPage* b = p.builder;
    connect(b->bbtnGetItDone, &QPushButton::clicked, this, Guarded(this, &BuildActions::btnGetItDoneClick));
    connect(b->bbtnTimeStamp, &QPushButton::clicked, this, Guarded(this, &BuildActions::bbtnTimeStampClick));
    connect(b->bbtnAutoUpload, &QPushButton::clicked, this,
            Guarded(this, &BuildActions::bbtnAutoUploadClick));
    connect(b->btnNoSignTool, &QPushButton::clicked, this, Guarded(this, &BuildActions::btnNoSignToolClick));
    connect(p.upload->bbtnUpload, &QPushButton::clicked, this, Guarded(this, &BuildActions::bbtnUploadClick));
    // Escape presses the Time Stamp button while the Builder page is in
    // front: a shortcut is live only while its page is shown and enabled.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), b);
    escape->setObjectName(QStringLiteral("EscapeTimeStamp"));
    connect(escape, &QShortcut::activated, b->bbtnTimeStamp, &QPushButton::click);
}

BuildInputs BuildActions::GatherInputs() const
{
    const BuilderPage* b = p.builder;
    BuildInputs in;
    in.Stamp = {b->lbePhpFile->text(),        b->lbePHPVar->text(),           b->lbeDownLoadLinkFile->text(),
                b->lbeDownLoadLinkId->text(), b->lbeDownLoadLinkText->text(), b->lbeBaseFileName->text(),
                b->lbeInnoSetupFile->text(),  c.state.PrimaryVersion};
    in.PreBuild = b->lbePrebuild->text();
    in.HelpProject = b->lbeHelpBuilderBatch->text();
    in.PfxFile = b->lbePFX->text();
    in.PfxPassword = b->lbePFXPass->text();
    in.Apps = p.apps->chkProjectApps->Items();
    in.PrimaryCaption = p.apps->lblPrimaryApp->text();
    in.TimeStamp = b->cbxtimeStamp->isChecked();
    in.AutoUpload = b->cbxAutoUpload->isChecked();
    in.InnoCompiler = p.utilities->lbeInnoCompiler->text();
    in.HelpMaker = p.utilities->lbeHelpMaker->text();
    if (c.Store())
        in.SignTool = c.Store()->ReadString(Schema::SecSignTool, Schema::KeyCommand, QString());
    in.SigningAvailable = b->btnNoSignTool->isHidden();
    in.TimeServers = ListItems(p.timeServers->lbxTimeServers);
    in.Attempts = p.timeServers->speAttempts->value();
    return in;
}

void BuildActions::btnGetItDoneClick()
{
    TCancelForm* cancelForm = window.cancelForm;
    if (WorkerRunning())
        return;
    const BuildInputs inputs = GatherInputs();
    UploadInstallerPage* upload = p.upload;
    BuildOutcome outcome;
    {
        const OperationScope scope(*p.mainWindow, *cancelForm, QStringLiteral("Cancel Build"));
        upload->bbtnUpload->setEnabled(false);
        upload->ProgressPane->clear();
        WidgetOperationHost host(upload->ProgressPane, upload->pBarInstallerFile, upload->pBarInstallerFiles,
                                 *cancelForm);
        WindowThreadPrompts prompts(c.UserPrompts());
        const std::function<void()> bringLogForward =
            OnWindowThreadLater([this] { window.showPage(p.upload); });
        const OperationContext context{c.Store(), c.state, host, prompts, nullptr, &c.services.clock};
        RunOnWorker([&] { outcome = RunBuild(inputs, context, bringLogForward); });
        p.mainWindow->raise();
        p.mainWindow->activateWindow();
        upload->bbtnSaveSoftUploadLog->setEnabled(true);
        upload->bbtnUpload->setEnabled(outcome.BuildOk);
    }
    if (outcome.StartUpload)
        upload->bbtnUpload->click();
}

void BuildActions::bbtnTimeStampClick()
{
    Invert(p.builder->cbxtimeStamp);
}

void BuildActions::bbtnAutoUploadClick()
{
    Invert(p.builder->cbxAutoUpload);
}

void BuildActions::btnNoSignToolClick()
{
    QPushButton* button = p.builder->btnNoSignTool;
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
    TCancelForm* cancelForm = window.cancelForm;
    if (!c.Store() || WorkerRunning())
        return;
    InstallerUploadRequest request;
    request.Project = p.editingProject->text();
    request.LinkPageFile = p.builder->lbeDownLoadLinkFile->text();
    request.PhpFile = p.builder->lbePhpFile->text();
    request.LocalHome = p.selectFiles->lbeLocalHome->text();
    request.LocalRoot = p.selectFiles->lbeLocalRoot->text();
    request.Accounts = ListItems(p.selectAccounts->lbxUploadSites);

    UploadInstallerPage* upload = p.upload;
    QPushButton* saveSiteLog = p.siteUpload->bbtnSaveUploadLog;
    InstallerUploadOutcome outcome;
    {
        // The build's log goes on: it is not cleared.
        WidgetOperationHost host(upload->ProgressPane, upload->pBarInstallerFile, upload->pBarInstallerFiles,
                                 *cancelForm);
        std::optional<OperationScope> scope;
        WindowThreadPrompts prompts(c.UserPrompts());
        AskingCertificateDecision certs(prompts, c.Store());
        const std::function<void()> begin = OnWindowThreadLater([&] {
            saveSiteLog->setEnabled(false);
            scope.emplace(*p.mainWindow, *cancelForm, QStringLiteral("Cancel Upload"));
        });
        const OperationContext context{c.Store(), c.state, host, prompts, &certs, &c.services.clock};
        RunOnWorker([&] { outcome = UploadInstaller(request, context, begin); });
    }
    if (outcome.Started == InstallerUploadOutcome::Start::NoProject)
        saveSiteLog->setEnabled(false);
    else if (outcome.Started == InstallerUploadOutcome::Start::Ran)
        saveSiteLog->setEnabled(true);
}

void BuildActions::LocateSignTool(bool force)
{
    if (!c.Store())
        return;
    const bool available = ::LocateSignTool(*c.Store(), force, c.UserPrompts());
    p.builder->SetSigningAvailable(available);
}
