#include "ui/pages/SelectFilesPage.h"

#include "ui/Controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

SelectFilesPage::SelectFilesPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSelectLocalFiles"));
    clbxFiles = MakeCheckList(this, QStringLiteral("clbxFiles"));
    const TLabeledEdit home =
        MakeLabeledEdit(this, QStringLiteral("lbeLocalHome"), QStringLiteral("Local Home"));
    const TLabeledEdit root =
        MakeLabeledEdit(this, QStringLiteral("lbeLocalRoot"), QStringLiteral("Local Root"));
    lbeLocalHome = home.edit;
    lbeLocalRoot = root.edit;
    bbtnUpdateFiles = MakeButton(this, QStringLiteral("bbtnUpdateFiles"), QStringLiteral("Scan Files"));
    bbtnUpdateFiles->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    chkPageRelative =
        MakeCheckBox(this, QStringLiteral("chkPageRelative"), QStringLiteral("Links relative to their page"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 2, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->addWidget(clbxFiles, 0, 0, 1, 3);
    grid->addWidget(home.label, 1, 0);
    grid->addWidget(home.edit, 1, 1);
    grid->addWidget(root.label, 2, 0);
    grid->addWidget(root.edit, 2, 1);
    grid->addWidget(bbtnUpdateFiles, 1, 2, 2, 1, Qt::AlignVCenter);
    grid->addWidget(chkPageRelative, 3, 1);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(1, 1);
}
