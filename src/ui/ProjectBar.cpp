#include "ui/ProjectBar.h"

#include "ui/Controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

ProjectBar::ProjectBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlTop"));
    setFrameShape(QFrame::StyledPanel);
    setFixedHeight(DesignHeight);

    lblSelectProject = MakeLabel(this, QStringLiteral("lblSelectProject"), QStringLiteral("Select project"));
    Projects = MakeList(this, QStringLiteral("Projects"));
    edtNewProject = new QLineEdit(this);
    edtNewProject->setObjectName(QStringLiteral("edtNewProject"));
    bbtnNew = MakeButton(this, QStringLiteral("bbtnNew"), QStringLiteral("New"));
    bbtnNew->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    bbtnSelectProject =
        MakeButton(this, QStringLiteral("bbtnSelectProject"), QStringLiteral("Load Selected"));
    bbtnSelectProject->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    bbtnDeleteProject =
        MakeButton(this, QStringLiteral("bbtnDeleteProject"), QStringLiteral("Delete Selected"));
    bbtnDeleteProject->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    btnSave = MakeButton(this, QStringLiteral("btnSave"), QStringLiteral("Save Changes"));
    btnAbandon = MakeButton(this, QStringLiteral("btnAbandon"), QStringLiteral("Re-load Original"));
    lblEditingProject = MakeLabel(this, QStringLiteral("lblEditingProject"), QString());
    QFont big = lblEditingProject->font();
    big.setBold(true);
    lblEditingProject->setFont(big);
    chkSoftWare = MakeCheckBox(this, QStringLiteral("chkSoftWare"), QStringLiteral("Sofware Dev"));
    chkEnable = MakeCheckBox(this, QStringLiteral("chkEnable"), QStringLiteral("Enable Editing"));
    bbtnHelp = MakeButton(this, QStringLiteral("bbtnHelp"), QString());
    bbtnHelp->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    bbtnHelp->setFixedSize(32, 28);
    // Hidden until an update check finds a newer release.
    btnUpdate = MakeButton(this, QStringLiteral("btnUpdate"), QString());
    btnUpdate->hide();

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 3, 6, 3);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->addWidget(lblSelectProject, 0, 0);
    grid->addWidget(Projects, 1, 0, 3, 1);
    grid->addWidget(edtNewProject, 0, 1);
    grid->addWidget(bbtnNew, 0, 2);
    grid->addWidget(bbtnSelectProject, 1, 1);
    grid->addWidget(bbtnDeleteProject, 1, 2);
    grid->addWidget(btnSave, 2, 1);
    grid->addWidget(btnAbandon, 2, 2);
    grid->addWidget(lblEditingProject, 3, 1, 1, 2);
    grid->addWidget(btnUpdate, 0, 4);
    grid->addWidget(bbtnHelp, 0, 5, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(chkSoftWare, 1, 4, 1, 2, Qt::AlignLeft);
    grid->addWidget(chkEnable, 2, 4, 1, 2, Qt::AlignLeft);
    grid->setColumnMinimumWidth(0, 200);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(3, 1);
}
