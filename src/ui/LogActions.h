#pragma once

#include "ui/ActionContext.h"

#include <QObject>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The two "Save Log" buttons: the build and installer-upload log, and the
// site upload log.
class LogActions : public QObject {
    Q_OBJECT
public:
    struct Pages {
        QPlainTextEdit* ProgressPane;
        QPushButton* bbtnSaveSoftUploadLog;
        QPlainTextEdit* SiteUploadProgress;
        QPushButton* bbtnSaveUploadLog;
        QLabel* editingProject;
    };

    LogActions(const ActionContext& context, const Pages& pages, QObject* parent);

    // Offers to save the sender's log; the sender is disabled either way.
    void SaveLog(QPushButton* sender);

private:
    ActionContext context_;
    Pages pages_;
};
