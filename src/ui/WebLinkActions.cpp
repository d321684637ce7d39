#include "ui/WebLinkActions.h"

#include "site/SiteLists.h"
#include "site/WebLinkCheck.h"
#include "ui/CancelFormU.h"
#include "ui/OperationScope.h"
#include "ui/ScannerU.h"
#include "ui/WidgetOperationHost.h"
#include "ui/pages/BrokenLinksPage.h"
#include "util/Prompts.h"
#include "util/TarnwellError.h"

#include <QLabel>
#include <QPushButton>

WebLinkActions::WebLinkActions(const ActionContext& context, TSiteLists& siteLists, const Pages& pages,
                               WindowCommands commands, QObject* parent)
    : QObject(parent), c(context), lists(siteLists), p(pages), window(std::move(commands))
{
    connect(p.brokenLinks->btnCheckWebLinks, &QPushButton::clicked, this,
            &WebLinkActions::btnCheckWebLinksClick);
}

void WebLinkActions::btnCheckWebLinksClick()
{
    TCancelForm* cancelForm = window.cancelForm ? window.cancelForm() : nullptr;
    TScanner* progress = window.progressWindow ? window.progressWindow() : nullptr;
    if (!cancelForm || !progress)
        throw TarnwellError(QStringLiteral("The web link check cannot start without its windows"));
    if (lists.LocalFiles().isEmpty()) {
        c.UserPrompts().ShowInfo(ProductCaption,
                                 QStringLiteral("Scan the site first: no files are selected"));
        return;
    }
    TWebCheckOutcome outcome;
    {
        // The progress window closes on every way out, an error included.
        struct Closer {
            TScanner* window;
            ~Closer() { window->EndScan(); }
        } closer{progress};
        progress->StartScan(QStringLiteral("Tarnwell - Checking Web Links - ") + p.editingProject->text());
        WidgetOperationHost host(progress->memTask, nullptr, progress->ProgressBar1, *cancelForm);
        const OperationScope scope(*p.mainWindow, *cancelForm, QStringLiteral("Cancel Web Link Check"));
        outcome = CheckWebLinks(lists, host);
    }
    if (window.showBrokenLinkState)
        window.showBrokenLinkState(!lists.BrokenLinks().isEmpty());
    if (outcome.Cancelled)
        c.UserPrompts().ShowInfo(ProductCaption, QStringLiteral("The web link check was cancelled; only the "
                                                                "addresses checked before are listed."));
}
