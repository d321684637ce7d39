#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

// "Files" (TabLocalFiles): the files selected for upload, directly or by links.
class LocalFilesPage : public QWidget {
    Q_OBJECT
public:
    explicit LocalFilesPage(QWidget* parent = nullptr);

    QLabel* lblLocalFiles;
    QListWidget* lbxLocalFiles;
    QPushButton* bbtnedit;
};
