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
    : QObject(parent), context_(context), pages_(pages)
{
    connect(pages_.bbtnUpdateCheck, &QPushButton::clicked, this,
            Guarded(this, &UpdateActions::bbtnUpdateCheckClick));
    connect(pages_.btnUpdate, &QPushButton::clicked, this, Guarded(this, &UpdateActions::btnUpdateClick));
}

void UpdateActions::CheckForUpdate(bool forced)
{
    const TUpdateRequest request{forced, context_.services.clock.Today(), GetVersionString({}, VersionFormat),
                                 UpdateServiceAddress()};
    const TUpdateOutcome outcome = ::CheckForUpdate(request, context_.state, [this](const QString& address) {
        // The request runs on a worker thread; the caption says why meanwhile.
        const QString caption = pages_.window->windowTitle();
        pages_.window->setWindowTitle(QStringLiteral("Checking updates"));
        TUpdateReply reply;
        try {
            RunOnWorker([&] { reply = PostUpdateQuery(address, UpdateProductCode); });
        } catch (...) {
            pages_.window->setWindowTitle(caption);
            throw;
        }
        pages_.window->setWindowTitle(caption);
        return reply;
    });
    if (outcome.Result == TUpdateResult::NewerRelease) {
        pages_.btnUpdate->setText(UpdateTexts().ButtonCaption);
        pages_.btnUpdate->setVisible(true);
        pages_.btnUpdate->setEnabled(true);
        SetControlHint(pages_.btnUpdate, UpdateButtonHint(context_.state.UpdateFileName));
    }
    if (!outcome.Message.isEmpty())
        context_.UserPrompts().ShowInfo(ProductCaption, outcome.Message);
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
    if (context_.UserPrompts().AskQuestion(ProductCaption, question, MB_YESNO) != IDYES)
        return;
    // The address is written without a scheme; the browser gets it whole.
    QDesktopServices::openUrl(
        QUrl(QStringLiteral("https://") + DownloadAddress(context_.state.UpdateFileName)));
    pages_.window->close();
}
