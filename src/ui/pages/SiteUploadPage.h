#pragma once

#include <QWidget>

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
    QPushButton* bbtnSaveUploadLog;
};
