#pragma once

#include <QWidget>

class QAction;
class QCheckBox;
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
    // Entire Site then deletes what the servers hold beyond the site.
    QCheckBox* chkDeleteOrphans;
    // Its menu chooses the mode to preview.
    QPushButton* bbtnPreview;
    QAction* actPreviewUpdated;
    QAction* actPreviewAll;
    QAction* actPreviewEntire;
    QPushButton* bbtnSaveUploadLog;
};
