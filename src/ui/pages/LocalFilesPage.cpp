#include "ui/pages/LocalFilesPage.h"

#include "ui/Controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

LocalFilesPage::LocalFilesPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabLocalFiles"));
    lblLocalFiles = MakeLabel(this, QStringLiteral("lblLocalFiles"),
                              QStringLiteral("These are the files selected for upload to your site(s) "));
    lbxLocalFiles = MakeList(this, QStringLiteral("lbxLocalFiles"));
    bbtnedit = MakeButton(this, QStringLiteral("bbtnedit"), QStringLiteral("Edit"));
    bbtnedit->setIcon(style()->standardIcon(QStyle::SP_FileIcon));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 2, 4);
    grid->setSpacing(3);
    grid->addWidget(lbxLocalFiles, 0, 0, 1, 2);
    grid->addWidget(lblLocalFiles, 1, 0);
    grid->addWidget(bbtnedit, 1, 1);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);
}
