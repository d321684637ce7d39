#include "ui/UpdateActions.h"

#include "ui/Hints.h"
#include "ui/SlotGuard.h"
#include "ui/WorkerRun.h"
#include "update/UpdateCheck.h"
#include "util/ExtraCode.h"

#include <QDesktopServices>
#include <QPushButton>
#include <QUrl>
#include <QWidget>

UpdateActions::UpdateActions(const ActionContext& context, const Pages& pages, QObject* parent)
    : QObject(parent), c(context), p(pages)
{
    connect(p.bbtnUpdateCheck, &QPushButton::clicked, this,
            Guarded(this, &UpdateActions::bbtnUpdateCheckClick));
    connect(p.btnUpdate, &QPushButton::clicked, this, Guarded(this, &UpdateActions::btnUpdateClick));
}

void UpdateActions::CheckForUpdate(bool forced)
{
    const TUpdateRequest request{forced, c.services.clock.Today(), GetVersionString({}, VersionFormat),
                                 UpdateServiceAddress()};
    const TUpdateOutcome outcome = ::CheckForUpdate(request, c.state, [this](const QString& address) {
        // The request runs on a worker thread; the caption says why meanwhile.
        const QString caption = p.window->windowTitle();
        p.window->setWindowTitle(QStringLiteral("Checking updates"));
        TUpdateReply reply;
        try {
            RunOnWorker([&] { reply = PostUpdateQuery(address, UpdateProductCode); });
        } catch (...) {
            p.window->setWindowTitle(caption);
            throw;
        }
        p.window->setWindowTitle(caption);
        return reply;
    });
    if (outcome.Result == TUpdateResult::NewerRelease) {
        p.btnUpdate->setText(UpdateTexts().ButtonCaption);
        p.btnUpdate->setVisible(true);
        p.btnUpdate->setEnabled(true);
        SetControlHint(p.btnUpdate, UpdateButtonHint(c.state.UpdateFileName));
    }
    if (!outcome.Message.isEmpty())
        c.UserPrompts().ShowInfo(ProductCaption, outcome.Message);
}

void UpdateActions::bbtnUpdateCheckClick()
{
    CheckForUpdate(true);
}

void UpdateActions::btnUpdateClick()
{
    const QString question = QStringLiteral(
        "Do you want to go to the web site and download the latest version of Tarnwell?\r\r"
        "If you click yes, Tarnwell will close and the download will start in your browser once "
        "the download is complete just install it!");
    if (c.UserPrompts().AskQuestion(ProductCaption, question, MB_YESNO) != IDYES)
        return;
    // The address is written without a scheme; the browser gets it whole.
    QDesktopServices::openUrl(QUrl(QStringLiteral("https://") + DownloadAddress(c.state.UpdateFileName)));
    p.window->close();
}
