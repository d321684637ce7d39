#include "ui/LogActions.h"

#include "publish/LogFile.h"
#include "ui/SlotGuard.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

LogActions::LogActions(const ActionContext& context, const Pages& pages, QObject* parent)
    : QObject(parent), context_(context), pages_(pages)
{
    connect(pages_.bbtnSaveSoftUploadLog, &QPushButton::clicked, this,
            Guarded([this] { SaveLog(pages_.bbtnSaveSoftUploadLog); }));
    connect(pages_.bbtnSaveUploadLog, &QPushButton::clicked, this,
            Guarded([this] { SaveLog(pages_.bbtnSaveUploadLog); }));
}

void LogActions::SaveLog(QPushButton* sender)
{
    const bool site = sender == pages_.bbtnSaveUploadLog;
    const QString title = site ? QStringLiteral("Save site upload log file")
                               : QStringLiteral("Save software update upload log file");
    const QString proposed = pages_.editingProject->text() +
                             (site ? QStringLiteral("-SiteUpload.txt") : QStringLiteral("-SoftUpload.txt"));
    const QPlainTextEdit* log = site ? pages_.SiteUploadProgress : pages_.ProgressPane;
    const std::optional<QString> chosen =
        context_.services.saveFiles.PickSaveFile(title, proposed, QStringLiteral("Text Files|*.txt"));
    if (chosen) {
        const QString error = SaveLogFile(*chosen, log->toPlainText().split(QLatin1Char('\n')));
        if (!error.isEmpty())
            context_.UserPrompts().ShowInfo(ProductCaption, error);
    }
    sender->setEnabled(false);
}
