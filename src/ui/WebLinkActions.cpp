#include "ui/WebLinkActions.h"

#include "site/SiteLists.h"
#include "site/WebLinkCheck.h"
#include "ui/CancelFormU.h"
#include "ui/OperationScope.h"
#include "ui/ScannerU.h"
#include "ui/SlotGuard.h"
#include "ui/WidgetOperationHost.h"
#include "ui/WorkerRun.h"
#include "ui/pages/BrokenLinksPage.h"
#include "util/Prompts.h"

#include <QLabel>
#include <QPushButton>

WebLinkActions::WebLinkActions(const ActionContext& context, TSiteLists& siteLists, const Pages& pages,
                               WindowCommands commands, QObject* parent)
    : QObject(parent), context_(context), lists_(siteLists), pages_(pages), commands_(std::move(commands))
{
    connect(pages_.brokenLinks->btnCheckWebLinks, &QPushButton::clicked, this,
            Guarded(this, &WebLinkActions::btnCheckWebLinksClick));
}

void WebLinkActions::btnCheckWebLinksClick()
{
    if (WorkerRunning())
        return;
    if (lists_.LocalFiles().isEmpty()) {
        context_.UserPrompts().ShowInfo(ProductCaption,
                                        QStringLiteral("Scan the site first: no files are selected"));
        return;
    }
    TScanner* progress = commands_.progressWindow;
    TWebCheckOutcome outcome;
    {
        // The progress window closes on every way out, an error included.
        struct Closer {
            TScanner* window;
            ~Closer() { window->EndScan(); }
        } closer{progress};
        progress->StartScan(QStringLiteral("Tarnwell - Checking Web Links - ") +
                            pages_.editingProject->text());
        WidgetOperationHost host(progress->memTask, nullptr, progress->ProgressBar1, *commands_.cancelForm);
        const OperationScope scope(*pages_.mainWindow, *commands_.cancelForm,
                                   QStringLiteral("Cancel Web Link Check"));
        // The window leaves the lists alone while the worker reads them.
        TWebCheckFindings findings;
        RunOnWorker([&] { findings = ProbeWebLinks(lists_, host); });
        outcome = RecordWebLinks(lists_, findings, host);
    }
    if (commands_.showBrokenLinkState)
        commands_.showBrokenLinkState(!lists_.BrokenLinks().isEmpty());
    if (outcome.Cancelled)
        context_.UserPrompts().ShowInfo(ProductCaption,
                                        QStringLiteral("The web link check was cancelled; only the "
                                                       "addresses checked before are listed."));
}
