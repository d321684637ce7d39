#pragma once

#include <QWidget>

class QLabel;
class QListWidget;

// "Folders" (TabLocalFolders): the folders of the selected files.
class LocalFoldersPage : public QWidget {
    Q_OBJECT
public:
    explicit LocalFoldersPage(QWidget* parent = nullptr);

    QLabel* lblLocalFolders;
    QListWidget* lbxLocalFolders;
};
