#pragma once

#include <QWidget>

class QAction;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// "Site Upload" (TabSiteUpload): the three upload modes, the log and progress.
class SiteUploadPage : public QWidget {
    Q_OBJECT
public:
    explicit SiteUploadPage(QWidget* parent = nullptr);

    QPlainTextEdit* SiteUploadProgress;
    QProgressBar* pBarSiteFile;
    QProgressBar* pBarSiteFiles;
    QPushButton* bbtnUploadSite;
    QPushButton* bbtnUploadAll;
    QPushButton* bbtnEntire;
    // Its menu chooses the mode to preview.
    QPushButton* bbtnPreview;
    QAction* actPreviewUpdated;
    QAction* actPreviewAll;
    QAction* actPreviewEntire;
    QPushButton* bbtnSaveUploadLog;
};
