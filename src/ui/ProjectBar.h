#pragma once

#include <QFrame>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The top band (pnlTop): the project list and its buttons, the loaded
// project's name, the software and editing switches, help and update.
class ProjectBar : public QFrame {
    Q_OBJECT
public:
    static constexpr int DesignHeight = 122;

    explicit ProjectBar(QWidget* parent = nullptr);

    QLabel* lblSelectProject;
    QListWidget* Projects;
    QLineEdit* edtNewProject;
    QPushButton* bbtnNew;
    QPushButton* bbtnSelectProject;
    QPushButton* bbtnDeleteProject;
    QPushButton* btnSave;
    QPushButton* btnAbandon;
    QLabel* lblEditingProject;
    QCheckBox* chkSoftWare;
    QCheckBox* chkEnable;
    QPushButton* bbtnHelp;
    QPushButton* btnUpdate;
};
