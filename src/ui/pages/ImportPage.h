#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// "Import" (TabImport): download a whole site from one account into new
// local folders.
class ImportPage : public QWidget {
    Q_OBJECT
public:
    explicit ImportPage(QWidget* parent = nullptr);

    QLabel* lblImportWarning;
    QLabel* Label5;
    QComboBox* comboSite;
    QLineEdit* lbeImportLocalHome;
    QLineEdit* lbeImportLocalRoot;
    QPlainTextEdit* memImportProgress;
    QProgressBar* pbFile;
    QProgressBar* pbFiles;
    QPushButton* btnImportSite;
};
