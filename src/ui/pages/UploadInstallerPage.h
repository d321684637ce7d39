#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// "Upload Installer" (TabUpload): the build log, which the installer upload
// continues, its progress bars and buttons.
class UploadInstallerPage : public QWidget {
    Q_OBJECT
public:
    explicit UploadInstallerPage(QWidget* parent = nullptr);

    QPlainTextEdit* ProgressPane;
    QProgressBar* pBarInstallerFile;
    QProgressBar* pBarInstallerFiles;
    QLabel* Label7;
    QPushButton* bbtnUpload;
    QPushButton* bbtnSaveSoftUploadLog;
};
