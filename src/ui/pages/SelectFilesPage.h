#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TCheckListBox;

// "Select Files" (TabSelectLocalFiles): every local file of the site, checked
// when selected for upload, and the two site folders.
class SelectFilesPage : public QWidget {
    Q_OBJECT
public:
    explicit SelectFilesPage(QWidget* parent = nullptr);

    TCheckListBox* clbxFiles;
    QLineEdit* lbeLocalHome;
    QLineEdit* lbeLocalRoot;
    QPushButton* bbtnUpdateFiles;
    // "Links relative to their page", stored with the project.
    QCheckBox* chkPageRelative;
};
