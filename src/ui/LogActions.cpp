#include "ui/LogActions.h"

#include "publish/LogFile.h"
#include "ui/SlotGuard.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

LogActions::LogActions(const ActionContext& context, const Pages& pages, QObject* parent)
    : QObject(parent), c(context), p(pages)
{
    connect(p.bbtnSaveSoftUploadLog, &QPushButton::clicked, this,
            Guarded([this] { SaveLog(p.bbtnSaveSoftUploadLog); }));
    connect(p.bbtnSaveUploadLog, &QPushButton::clicked, this,
            Guarded([this] { SaveLog(p.bbtnSaveUploadLog); }));
}

void LogActions::SaveLog(QPushButton* sender)
{
    const bool site = sender == p.bbtnSaveUploadLog;
    const QString title = site ? QStringLiteral("Save site upload log file")
                               : QStringLiteral("Save software update upload log file");
    const QString proposed = p.editingProject->text() +
                             (site ? QStringLiteral("-SiteUpload.txt") : QStringLiteral("-SoftUpload.txt"));
    const QPlainTextEdit* log = site ? p.SiteUploadProgress : p.ProgressPane;
    const std::optional<QString> chosen =
        c.services.saveFiles.PickSaveFile(title, proposed, QStringLiteral("Text Files|*.txt"));
    if (chosen) {
        const QString error = SaveLogFile(*chosen, log->toPlainText().split(QLatin1Char('\n')));
        if (!error.isEmpty())
            c.UserPrompts().ShowInfo(ProductCaption, error);
    }
    sender->setEnabled(false);
}
